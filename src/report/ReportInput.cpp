#include "report/ReportInput.h"

#include <cmath>

#include "input/WallInput.h"
#include "project/OptionBlock.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"
#include "soil/PyCriteria.h"

namespace torvex {
namespace {

using engine::TWallInput;

QString NodeText(int node) { return QString::number(node); }

// The modes in words, with the file's number for reference.
QString PressureModeText(int mode) {
    switch (mode) {
        case 0: return "none (no driving load) [0]";
        case 1: return "user-input distributed load [1]";
        case 2: return "triangular: active pressure with water and surcharges [2]";
        case 3: return "trapezoidal: apparent-pressure envelope above the excavation [3]";
        default: return QString::number(mode);
    }
}

QString ResistanceModeText(int mode) {
    switch (mode) {
        case 0: return "none [0]";
        case 1: return "user-input p-y curves [1]";
        case 2: return "p-y curves generated from the soil layers [2]";
        default: return QString::number(mode);
    }
}

void DrawWall(TReportCanvas& canvas, const TWallInput& in, const TReportUnits& u) {
    TReportTable table = SettingsTable("Wall and soil-side settings");
    table.Add({"Increments", QString::number(in.beam.n), ""});
    table.Add({"Increment length", Figure(in.beam.h), u.length});
    table.Add({"Wall length", Figure(in.beam.n * in.beam.h), u.length});
    table.Add({"Excavation level (free height)", Figure(in.freeHeight), u.length});
    table.Add({"Earth pressure", PressureModeText(in.pressureMode), ""});
    table.Add({"Soil resistance", ResistanceModeText(in.resistanceMode), ""});
    table.Add({"Width for active pressure Wa", Figure(in.activeWidth), u.length});
    table.Add({"Width for soil resistance Wp", Figure(in.resistanceWidth), u.length});
    table.Add({"Water depth, backfill", Figure(in.waterBackfill), u.length});
    table.Add({"Water depth, excavation", Figure(in.waterExcavation), u.length});
    table.Add({"Unit weight of water", Figure(in.gammaWater), u.unitWeight});
    table.Add({"Uniform backfill surcharge", Figure(in.backfillSurcharge), u.stress});
    table.Add({"Backfill slope", Figure(in.backfillSlope), "deg"});
    table.Add({"Pressure factor", Figure(in.pressureFactor), ""});
    table.Add({"Deflection limit of the iteration (not a design check)", Figure(in.maxDeflection), u.length});
    table.Add({"Closure tolerance", Figure(in.tolerance), u.length});
    DrawTable(canvas, table);
}

// Runs of nodes with the same value, one row each.
template <typename Row>
void ForRuns(const std::vector<double>& values, Row row) {
    size_t start = 0;
    for (size_t i = 1; i <= values.size(); ++i)
        if (i == values.size() || values[i] != values[start]) {
            row(start, i - 1, values[start]);
            start = i;
        }
}

void DrawStiffness(TReportCanvas& canvas, const TWallInput& in, const TReportUnits& u) {
    TReportTable table;
    table.caption = "Stiffness and axial load";
    table.headers = {"From node", "To node", "From depth (" + u.length + ")", "To depth (" + u.length + ")",
                     "EI (" + u.stiffness + ")"};
    const double h = in.beam.h;
    ForRuns(in.beam.EI, [&](size_t from, size_t to, double value) {
        table.Add({NodeText(static_cast<int>(from)), NodeText(static_cast<int>(to)), Figure(from * h), Figure(to * h),
                   Figure(value)});
    });
    DrawTable(canvas, table);
    bool axial = false;
    for (double q : in.beam.Q) axial = axial || q != 0;
    if (!axial) return;
    TReportTable loads;
    loads.caption = "Axial compression";
    loads.headers = {"From node", "To node", "Q (" + u.force + ")"};
    ForRuns(in.beam.Q, [&](size_t from, size_t to, double value) {
        loads.Add({NodeText(static_cast<int>(from)), NodeText(static_cast<int>(to)), Figure(value)});
    });
    DrawTable(canvas, loads);
}

void DrawLayers(TReportCanvas& canvas, const TWallInput& in, const TReportUnits& u) {
    if (in.layers.empty()) return;
    TReportTable table;
    table.caption = "Soil layers (values at the layer top; at the bottom where they change)";
    table.headers = {"Layer", "Type", "Top (" + u.length + ")", "Bottom (" + u.length + ")",
                     "gamma (" + u.unitWeight + ")", "c or qu (" + u.stress + ")", "phi (deg)", "e50",
                     "k (" + u.unitWeight + ")"};
    table.textColumns = {1};
    bool rock = false;
    for (const engine::TSoilLayer& l : in.layers) rock = rock || l.type == 7;
    if (rock) table.headers << "krm" << "Eir (" + u.stress + ")" << "RQD (%)";
    const auto cell = [](double top, double bottom) {
        return top == bottom ? Figure(top) : Figure(top) + " to " + Figure(bottom);
    };
    // An e50 or k of 0 that the criterion uses is filled by its published default (the note
    // below the table gives the value).
    const auto defaulted = [&](double top, double bottom, bool used) {
        return used && top == 0 && bottom == 0 ? QString("0: default") : cell(top, bottom);
    };
    for (size_t i = 0; i < in.layers.size(); ++i) {
        const engine::TSoilLayer& l = in.layers[i];
        const engine::TSoilValues& b = l.atBottom;
        const QString type = l.type >= 1 && l.type <= 7
                                 ? QString::fromStdString(engine::PyCriterionName(engine::PyCriterionFromCode(l.type)))
                                 : QString("?");
        using engine::TPyCriterion;
        const auto criterion = static_cast<TPyCriterion>(l.type);
        const bool e50Default = criterion == TPyCriterion::SoftClay || criterion == TPyCriterion::StiffClayFreeWater ||
                                criterion == TPyCriterion::StiffClayNoFreeWater || criterion == TPyCriterion::Silt;
        const bool kDefault = criterion == TPyCriterion::StiffClayFreeWater || criterion == TPyCriterion::Sand ||
                              criterion == TPyCriterion::Silt;
        QStringList row = {QString::number(i + 1), type, Figure(l.top), Figure(l.bottom), cell(l.gamma, b.gamma),
                           cell(l.c, b.c), cell(l.phi, b.phi), defaulted(l.e50, b.e50, e50Default),
                           defaulted(l.k, b.k, kDefault)};
        if (rock) row << cell(l.krm, b.krm) << cell(l.Eir, b.Eir) << cell(l.rqd, b.rqd);
        table.Add(row);
    }
    DrawTable(canvas, table);
}

void DrawLoads(TReportCanvas& canvas, const TWallInput& in, const TReportUnits& u) {
    TReportTable table;
    table.caption = "Concentrated loads";
    table.headers = {"Node", "Depth (" + u.length + ")", "Lateral load (" + u.force + ")",
                     "Moment (" + u.moment + ")"};
    for (size_t i = 0; i < in.beam.P.size(); ++i)
        if (in.beam.P[i] != 0 || in.beam.Mt[i] != 0)
            table.Add({NodeText(static_cast<int>(i)), Figure(i * in.beam.h), Figure(in.beam.P[i]), Figure(in.beam.Mt[i])});
    if (!table.rows.empty()) DrawTable(canvas, table);
    if (!in.distributedLoad.empty()) {
        TReportTable line;
        line.caption = "Distributed load";
        line.headers = {"Depth (" + u.length + ")", "Line load (" + u.lineLoad + ")"};
        for (const engine::TCurvePoint& p : in.distributedLoad) line.Add({Figure(p.x), Figure(p.y)});
        DrawTable(canvas, line);
    }
    TReportTable surcharges;
    surcharges.caption = "Surcharges";
    surcharges.headers = {"Type", "Magnitude", "Distance", "Width"};
    surcharges.textColumns = {0};
    for (const engine::TSurcharge& s : in.surcharges)
        if (s.magnitude != 0) {
            const char* kind = s.type == 1 ? "point" : s.type == 2 ? "line" : s.type == 3 ? "strip" : "?";
            surcharges.Add({kind, Figure(s.magnitude), Figure(s.distance), Figure(s.width)});
        }
    if (!surcharges.rows.empty()) DrawTable(canvas, surcharges);
}

void DrawSupports(TReportCanvas& canvas, const TWallInput& in, const TReportUnits& u) {
    TReportTable table;
    table.caption = "Springs and restraints (a spring installed in an earlier stage acts on the deflection since)";
    table.headers = {"Node", "Depth (" + u.length + ")", "Lateral k (" + u.force + "/" + u.length + ")",
                     "Rotational k (" + u.moment + "/rad)", "Fixed y (" + u.length + ")", "Fixed slope",
                     "Installed at y (" + u.length + ")"};
    const engine::TBeamModel& beam = in.beam;
    for (size_t i = 0; i < beam.kLateral.size(); ++i) {
        const bool deflection = i < beam.fixedDeflection.size() && beam.fixedDeflection[i].has_value();
        const bool slope = i < beam.fixedSlope.size() && beam.fixedSlope[i].has_value();
        const double rotation = i < beam.kRotation.size() ? beam.kRotation[i] : 0;
        if (beam.kLateral[i] == 0 && rotation == 0 && !deflection && !slope) continue;
        const double offset = i < beam.springOffset.size() ? beam.springOffset[i] : 0;
        table.Add({NodeText(static_cast<int>(i)), Figure(i * beam.h),
                   beam.kLateral[i] != 0 ? Figure(beam.kLateral[i]) : QString(), rotation != 0 ? Figure(rotation) : QString(),
                   deflection ? Figure(*beam.fixedDeflection[i]) : QString(), slope ? Figure(*beam.fixedSlope[i]) : QString(),
                   beam.kLateral[i] != 0 && offset != 0 ? Figure(offset) : QString()});
    }
    if (table.rows.empty()) canvas.Paragraph("Springs and restraints: none.");
    else DrawTable(canvas, table);
}

void DrawModifiers(TReportCanvas& canvas, const TWallInput& in) {
    if (in.pyModifiers.empty()) return;
    TReportTable table;
    table.caption = "p-y modifiers";
    table.headers = {"Depth", "p multiplier", "y multiplier"};
    for (const engine::TPyModifier& m : in.pyModifiers) table.Add({Figure(m.depth), Figure(m.pMultiplier), Figure(m.yMultiplier)});
    DrawTable(canvas, table);
}

}  // namespace

void DrawCaseInput(TReportCanvas& canvas, const TWallInput& input, const std::vector<std::string>& notes) {
    const TReportUnits u = ReportUnits(input.unitCode);
    DrawWall(canvas, input, u);
    DrawStiffness(canvas, input, u);
    DrawLayers(canvas, input, u);
    bool headed = false;
    for (const std::string& note : notes)
        if (note.find(" not given; ") != std::string::npos) {
            if (!headed) canvas.Paragraph("Values the engine used in place of an entry of 0:", true);
            headed = true;
            canvas.Paragraph(QString::fromStdString(note));
        }
    DrawLoads(canvas, input, u);
    DrawSupports(canvas, input, u);
    DrawModifiers(canvas, input);
    if (!input.externalCurves.empty())
        canvas.Paragraph(QString("p-y curves entered by the user: %1.").arg(input.externalCurves.size()));
    if (!input.momentEICurves.empty())
        canvas.Paragraph(QString("Moment-EI curves: %1.").arg(input.momentEICurves.size()));
}

void DrawProjectOptions(TReportCanvas& canvas, const TProjectOptions& options, int unitCode) {
    const TReportUnits u = ReportUnits(unitCode);
    TReportTable table = SettingsTable("Options");
    const auto checked = [](long double value) {
        return value > 0 ? Figure(static_cast<double>(value)) : QString("not checked");
    };
    table.Add({"Moment capacity of the wall unit", checked(options.MomentCapacity), u.moment});
    table.Add({"Shear capacity of the wall unit", checked(options.ShearCapacity), u.force});
    table.Add({"Allowable deflection (design check)", checked(options.AllowableDeflection), u.length});
    table.Add({"Target factor of safety F", Figure(static_cast<double>(options.TargetSafetyFactor)), ""});
    if (options.SeismicKh != 0 || options.SeismicKv != 0) {
        table.Add({"Seismic coefficient kh (Mononobe-Okabe)", Figure(static_cast<double>(options.SeismicKh)), ""});
        table.Add({"Seismic coefficient kv (Mononobe-Okabe)", Figure(static_cast<double>(options.SeismicKv)), ""});
    }
    if (options.LayeredSoil != 0) table.Add({"Layered soil", "equivalent depths below the first layer", ""});
    if (options.CyclicLoading != 0) {
        table.Add({"Loading", "cyclic p-y curves", ""});
        table.Add({"Number of cycles N", QString::number(options.CyclicCycles), ""});
    }
    DrawTable(canvas, table);
}

}  // namespace torvex
