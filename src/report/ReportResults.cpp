#include "report/ReportResults.h"

#include "soil/EarthPressureCoefficients.h"

#include <algorithm>
#include <cmath>

#include "Analysis.h"
#include "project/DesignSummary.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"
#include "soil/EarthPressureCoefficients.h"

namespace torvex {
namespace {

using engine::TCaseResult;
using engine::TNodeResult;

void DrawMaxima(TReportCanvas& canvas, const TCaseResult& c, const TReportUnits& u) {
    TReportTable table;
    table.caption = "Maximum values";
    table.headers = {"Quantity", "Maximum", "Unit", "At depth (" + u.length + ")"};
    table.textColumns = {0, 2};
    const struct {
        const char* name;
        double TNodeResult::*field;
        QString unit;
    } rows[] = {{"Deflection", &TNodeResult::y, u.length},
                {"Bending moment", &TNodeResult::moment, u.moment},
                {"Shear", &TNodeResult::shear, u.force},
                {"Soil reaction", &TNodeResult::reaction, u.lineLoad}};
    for (const auto& row : rows)
        if (const TNodeResult* m = c.MaxBy(row.field))
            table.Add({row.name, Figure(m->*row.field), row.unit, Figure(m->depth)});
    DrawTable(canvas, table);
    if (c.equilibriumChecked)
        canvas.Paragraph("Equilibrium residuals (springs and restraint reactions included): force " +
                         Figure(c.forceResidual) + " " + u.force + " (" +
                         Figure(100 * std::fabs(c.forceResidual) / c.largestLoad) + " % of the largest load), moment " +
                         Figure(c.momentResidual) + " " + u.moment + " (" +
                         Figure(100 * std::fabs(c.momentResidual) / c.largestMoment) +
                         " % of the largest moment about the top).");
}

void DrawChecks(TReportCanvas& canvas, const TCaseResult& c, const TSummaryCase& s, const TReportUnits& u) {
    const engine::TDesignCheck& k = c.checks;
    TReportTable table;
    table.caption = "Strength and deflection checks";
    table.headers = {"Check", "Largest", "At depth (" + u.length + ")", "Limit", "Utilisation", "Result"};
    table.textColumns = {0, 5};
    const auto verdict = [](bool checked, bool fails) {
        return !checked ? QString("not checked") : fails ? QString("exceeds") : QString("within");
    };
    table.Add({"Deflection (" + u.length + ")", Figure(k.maxDeflection), Figure(k.deflectionDepth),
               k.deflectionChecked() ? Figure(k.allowableDeflection) : QString(),
               k.deflectionChecked() ? Figure(k.maxDeflection / k.allowableDeflection, 4) : QString(),
               verdict(k.deflectionChecked(), s.DeflectionFails())},
              s.DeflectionFails());
    table.Add({"Moment (" + u.moment + ")", Figure(k.maxMoment), Figure(k.momentDepth),
               k.momentChecked() ? Figure(k.momentCapacity) : QString(),
               k.momentChecked() ? Figure(k.momentUtilisation, 4) : QString(),
               verdict(k.momentChecked(), s.MomentFails())},
              s.MomentFails());
    table.Add({"Shear (" + u.force + ")", Figure(k.maxShear), Figure(k.shearDepth),
               k.shearChecked() ? Figure(k.shearCapacity) : QString(),
               k.shearChecked() ? Figure(k.shearUtilisation, 4) : QString(), verdict(k.shearChecked(), s.ShearFails())},
              s.ShearFails());
    DrawTable(canvas, table);
}

QString FactorText(engine::TLeFactor state, double value) {
    if (state == engine::TLeFactor::Found) return Figure(value, 4);
    return state == engine::TLeFactor::Unstable ? "unstable (does not balance even at 0.5)" : "above 20";
}

// The support's force from limit equilibrium and from the p-y analysis answer two questions;
// a checker who sees two numbers for one support is told which is which.
void ExplainSupportForces(TReportCanvas& canvas, const TCaseResult& c, const TReportUnits& u) {
    const engine::TLimitEquilibrium& le = c.le;
    if (!le.supportFound || c.supports.empty()) return;
    const auto nearest = std::min_element(c.supports.begin(), c.supports.end(), [&](const auto& a, const auto& b) {
        return std::fabs(a.depth - le.supportDepth) < std::fabs(b.depth - le.supportDepth);
    });
    const double py = nearest->perLength;
    if (std::fabs(py - le.supportForce) <= 0.01 * std::max(std::fabs(py), std::fabs(le.supportForce))) return;
    canvas.Paragraph("Two forces for the support at depth " + Figure(nearest->depth) + " " + u.length + ": " +
                     Figure(le.supportForce) + " " + u.force + " per " + u.length +
                     " from limit equilibrium is the force of a collapse mechanism, with the soil's strength "
                     "divided by F on both sides and full active and passive pressures; " + Figure(py) + " " +
                     u.force + " per " + u.length +
                     " from the p-y analysis is the force in the working state, the wall deflecting against "
                     "soil springs. They answer different questions and are not expected to agree.");
}

void DrawLimitEquilibrium(TReportCanvas& canvas, const TCaseResult& c, const TSummaryCase& s,
                          const TReportUnits& u) {
    const engine::TLimitEquilibrium& le = c.le;
    const QString title = QString("Limit equilibrium (") + engine::EarthPressureMethodName(c.input.soil.pressureMethod) +
                          " pressures, beside the p-y analysis)";
    if (le.method == engine::TLeMethod::NotApplicable) {
        canvas.Paragraph(title + ": not applicable: " +
                         QString::fromStdString(le.reason));
        return;
    }
    // The verdicts have a column of their own, never the unit's.
    TReportTable table = SettingsTable(title + ": " + QString(engine::LeMethodText(le.method)));
    table.headers << "Result";
    table.textColumns.push_back(3);
    table.Add({"Embedment below the excavation level", Figure(le.embedment), u.length, ""});
    table.Add({"F (tan phi and c divided on both sides)", FactorText(le.fState, le.F), "",
               s.FactorFails() ? "fails: below the target " + Figure(le.targetF, 4)
                               : "target " + Figure(le.targetF, 4) + " met"},
              s.FactorFails());
    table.Add({"F_p (passive resistance alone)", FactorText(le.fpState, le.Fp), "", ""});
    table.Add({"Required embedment for F = " + Figure(le.targetF),
               le.requiredFound ? Figure(le.requiredEmbedment) : "more than " + Figure(le.searchLimit), u.length,
               s.EmbedmentFails() ? "fails: the wall is too short" : "the wall is long enough"},
              s.EmbedmentFails());
    if (le.pivotFound)
        table.Add({"Pivot at F, below the excavation level", Figure(le.pivotDepth), u.length, ""});
    if (le.supportFound)
        table.Add({"Force of the support at depth " + Figure(le.supportDepth) + " " + u.length + " at F",
                   Figure(le.supportForce), u.force + " per " + u.length, ""});
    DrawTable(canvas, table);
    if (!le.notes.empty()) canvas.Paragraph(QString::fromStdString(le.notes));
    ExplainSupportForces(canvas, c, u);
}

void DrawSupportForces(TReportCanvas& canvas, const TCaseResult& c, const TReportUnits& u) {
    if (c.supports.empty()) {
        canvas.Paragraph("Support forces: none.");
        return;
    }
    TReportTable table;
    table.caption = "Support forces (positive: holding the wall back toward the backfill)";
    table.headers = {"Node", "Depth (" + u.length + ")", "Kind", "Per wall unit", "Per length (per " + u.length + ")",
                     "Largest so far"};
    table.textColumns = {2};
    for (const engine::TSupportForce& s : c.supports)
        table.Add({QString::number(s.node), Figure(s.depth), engine::SupportKindText(s.kind), Figure(s.force),
                   Figure(s.perLength), Figure(s.largestSoFar)});
    DrawTable(canvas, table);
    canvas.Paragraph("Forces in " + u.force + ", moments (slope restraints, rotational springs) in " + u.moment +
                     "; per length: divided by Wa. Sum of the support forces " +
                     Figure(engine::SupportForceSum(c.supports)) + "; the loads less the soil reaction " +
                     Figure(c.netLoad) + ".");
}

// Water under the wall and the base of the excavation: hydraulic heave at the toe with
// seepage, basal heave in clay.
void DrawBaseChecks(TReportCanvas& canvas, const TSummaryCase& s, const TReportUnits& u) {
    TReportTable table = SettingsTable("Water under the wall and the base of the excavation");
    table.headers << "Result";
    table.textColumns.push_back(3);
    if (s.seepage) {
        table.Add({"Seepage gradient i (simplified method)", Figure(s.seepageGradient), "", ""});
        table.Add({"Pore pressure at the toe", Figure(s.toePorePressure), u.stress, ""});
        table.Add({"Hydraulic heave utilisation (HYD)", Figure(s.hydUtilisation, 4), "",
                   s.HydraulicHeaveFails() ? "fails" : "passes"},
                  s.HydraulicHeaveFails());
    }
    if (s.basal) {
        table.Add({"Basal heave Nc", Figure(s.basalNc, 4), "", ""});
        table.Add({"Basal heave factor F", Figure(s.basalF, 4), "",
                   (s.BasalHeaveFails() ? "fails: below " : "passes: at least ") + Figure(s.basalLeastF, 4)},
                  s.BasalHeaveFails());
    }
    DrawTable(canvas, table);
}

}  // namespace

void DrawCaseResults(TReportCanvas& canvas, const TCaseResult& c, const TSummaryCase& s) {
    const TReportUnits u = ReportUnits(c.unitCode);
    QString outcome = "Outcome: " + QString(engine::OutcomeText(c.outcome));
    if (c.outcome != engine::TOutcome::InputError) outcome += QString(" after %1 iterations").arg(c.iterations);
    canvas.Paragraph(outcome + ".", true);
    if (!c.message.empty()) canvas.Paragraph(QString::fromStdString(c.message));
    if (c.outcome != engine::TOutcome::InputError)
        canvas.Paragraph("Design: " + QString::fromStdString(DesignVerdictText(s)), true,
                         s.AnyFails() ? QColor(0xc0, 0, 0) : QColor(Qt::black));
    if (!c.nodes.empty()) {
        DrawMaxima(canvas, c, u);
        DrawChecks(canvas, c, s, u);
        DrawSupportForces(canvas, c, u);
    }
    if (c.outcome != engine::TOutcome::InputError) DrawLimitEquilibrium(canvas, c, s, u);
    if (s.seepage || s.basal) DrawBaseChecks(canvas, s, u);
    if (!c.models.empty()) {
        canvas.Paragraph("Soil and pressure models:", true);
        for (const std::string& model : c.models) canvas.Paragraph(QString::fromStdString(model));
    }
    if (c.warnings.empty()) {
        canvas.Paragraph("Warnings: none.");
    } else {
        canvas.Paragraph("Warnings:", true);
        for (const std::string& warning : c.warnings) canvas.Paragraph("WARNING: " + QString::fromStdString(warning));
    }
}

}  // namespace torvex
