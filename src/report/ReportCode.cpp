#include "report/ReportCode.h"

#include "output/CodeFiles.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"

namespace torvex {
namespace {

using engine::TCodeCase;
using engine::TCombination;
using engine::TCombinationResult;

QString Value(long double value) { return Figure(static_cast<double>(value)); }

void DrawFactors(TReportCanvas& canvas, const TProjectOptions& o, const TReportUnits& u) {
    TReportTable table = SettingsTable("Design settings and partial factors in force");
    table.Add({"Design Approach", engine::DesignCodeName(o.DesignCode), ""});
    table.Add({"Unplanned excavation",
               o.UnplannedExcavationAuto ? QString("Auto: 10 % of the clear height, at most 0.5 m")
                                         : Value(o.UnplannedExcavation),
               o.UnplannedExcavationAuto ? "" : u.length});
    table.Add({"Minimum surcharge", Value(o.MinimumSurcharge), u.stress});
    table.Add({"Loads on the wall (Loads table)", o.WallLoadsVariable ? "variable" : "permanent", ""});
    const struct {
        const char* name;
        long double value;
    } factors[] = {{"GammaG (A1, permanent unfavourable)", o.GammaG}, {"GammaQ (A1, variable)", o.GammaQ},
                   {"GammaQ2 (A2, variable)", o.GammaQ2},        {"GammaTanPhi (M2, tan phi')", o.GammaTanPhi},
                   {"GammaCohesion (M2, c')", o.GammaCohesion},  {"GammaUndrained (M2, cu)", o.GammaUndrained},
                   {"GammaUnconfined (M2, qu of rock)", o.GammaUnconfined},
                   {"GammaUnitWeight (M2, unit weight)", o.GammaUnitWeight},
                   {"GammaEarthResistance (R2)", o.GammaEarthResistance}};
    for (const auto& f : factors) table.Add({f.name, Value(f.value), ""});
    DrawTable(canvas, table);
}

QString Governs(const TCombinationResult& c) {
    QString text;
    for (const std::string& what : c.governs) text += (text.isEmpty() ? "" : ", ") + QString::fromStdString(what);
    return text;
}

void DrawCase(TReportCanvas& canvas, const engine::TCaseResult& plain, const TCodeCase& code) {
    const TReportUnits u = ReportUnits(plain.unitCode);
    TReportTable table;
    table.caption = "Combinations of " + QString::fromStdString(plain.label) +
                    " (design values: moments, shears and forces times the effects factor)";
    table.headers = {"Combination",        "Formation (" + u.length + ")", "Deflection (" + u.length + ")",
                     "Moment (" + u.moment + ")", "Shear (" + u.force + ")", "F",
                     "Req. embedment (" + u.length + ")", "Req. toe (" + u.length + ")",
                     "Support (" + u.lineLoad + ")"};
    table.textColumns = {0};
    for (const TCombinationResult& c : code.combinations) {
        const engine::TCaseResult& r = c.result;
        const QString name = engine::CombinationName(c.combination);
        if (!c.applies) {
            table.Add({name, "not applicable", "", "", "", "", "", "", ""});
            continue;
        }
        const bool results = !r.nodes.empty(), le = c.HasLimitEquilibrium();
        const bool required = le && r.le.requiredFound;
        const bool fails = le && (r.le.fState != engine::TLeFactor::Found || r.le.F < 1);
        table.Add({name, Figure(c.formationDepth), results ? Figure(r.checks.maxDeflection) : "",
                   results ? Figure(r.checks.maxMoment) : "", results ? Figure(r.checks.maxShear) : "",
                   le ? (r.le.fState == engine::TLeFactor::Found ? Figure(r.le.F, 4) : QString("unstable")) : "",
                   required ? Figure(r.le.requiredEmbedment) : "", required ? Figure(c.RequiredToeDepth()) : "",
                   required && r.le.method == engine::TLeMethod::FreeEarthSupport
                       ? Figure(r.le.requiredSupportForce)
                       : ""},
                  fails);
    }
    const engine::TCodeEnvelope& env = code.envelope;
    table.Add({"Envelope", "", Figure(env.maxDeflection), env.found ? Figure(env.maxMoment) : "",
               env.found ? Figure(env.maxShear) : "", env.leastFFound ? Figure(env.leastF, 4) : "",
               env.embedmentFound ? Figure(env.requiredEmbedment) : "",
               env.embedmentFound ? Figure(env.requiredToeDepth) : "",
               env.embedmentFound && env.leSupportForce > 0 ? Figure(env.leSupportForce) : ""});
    DrawTable(canvas, table);
    // What each combination governs, the governing one first.
    const TCombination governing = engine::GoverningCombination(code);
    for (const TCombinationResult& c : code.combinations)
        if (!c.governs.empty())
            canvas.Paragraph(QString(engine::CombinationName(c.combination)) + " governs: " + Governs(c) + ".",
                             c.combination == governing);
    const double toe = plain.input.beam.n * plain.input.beam.h;
    if (env.embedmentFound)
        canvas.Paragraph("The wall's toe is at " + Figure(toe) + " " + u.length + "; the combinations need " +
                             Figure(env.requiredToeDepth) + " " + u.length + " (" +
                             engine::CombinationName(env.embedmentBy) + "): " +
                             (toe >= env.requiredToeDepth ? "the embedment suffices." : "the wall is too short."),
                         toe < env.requiredToeDepth, toe < env.requiredToeDepth ? QColor(0xc0, 0, 0) : QColor(Qt::black));
    else if (env.embedmentBy != TCombination::SLS)
        canvas.Paragraph(QString("No embedment searched balances ") + engine::CombinationName(env.embedmentBy) +
                             " on its design values: the embedment fails.",
                         true, QColor(0xc0, 0, 0));
}

}  // namespace

void DrawCodeDesign(TReportCanvas& canvas, const engine::TFileAnalysis& a) {
    if (a.code.empty() || a.cases.empty()) return;
    canvas.Heading("Design to EN 1997-1", 1, true);
    const TReportUnits u = ReportUnits(a.cases.front().unitCode);
    canvas.Paragraph(
        "Each combination is a full p-y analysis with limit equilibrium. DA1-C1 and DA2 analyse characteristic "
        "strengths with the variable loads raised by GammaQ / GammaG and multiply the moments, shears and support "
        "forces by GammaG; DA1-C2 and DA3 analyse design strengths (set M2) with the variable loads times GammaQ2. "
        "Every ultimate combination lowers the formation by the unplanned excavation. Limit equilibrium is on "
        "design values for F = 1 (DA2: passive resistance divided by GammaEarthResistance). The capacity checks "
        "use the envelope of the ultimate combinations; the deflection check uses SLS.");
    DrawFactors(canvas, a.options, u);
    for (size_t i = 0; i < a.code.size() && i < a.cases.size(); ++i) DrawCase(canvas, a.cases[i], a.code[i]);
}

}  // namespace torvex
