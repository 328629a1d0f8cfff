#include "ResultFiles.h"

#include <cmath>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "PyCriteria.h"
#include "project/SafeSave.h"

namespace torvex::engine {
namespace {

// Numbers of the result files: "." as the decimal point whatever the locale of the program
// that called the engine (a desktop with a decimal comma sets one), as printf's "%.8g" and
// "%*.*g" would write them in the C locale.
std::string G(double value, int digits = 8) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return error == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string Fixed(double value, int width, int digits) {
    std::string text = G(value, digits);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

struct TUnitNames {
    const char *length, *force, *moment, *stiffness, *lineLoad, *depth;
    double depthScale;  // report depths in ft for English units
};

TUnitNames UnitNames(int unitCode) {
    if (unitCode == 1) return {"in", "lbs", "lbs-in", "lbs-in^2", "lbs/in", "ft", 1.0 / 12};
    return {"m", "kN", "kN-m", "kN-m^2", "kN/m", "m", 1.0};
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return path.substr(0, dot) + extension;
    return path + extension;
}

bool HasResults(const TFileAnalysis& analysis) {
    if (!analysis.error.empty() || analysis.cases.empty()) return false;
    for (const TCaseResult& c : analysis.cases)
        if (c.nodes.empty()) return false;
    return true;
}

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return buffer;
}

}  // namespace

TResultPaths ResultPathsFor(const std::string& dataFile) {
    return {dataFile, ReplaceExtension(dataFile, ".tx4o"), ReplaceExtension(dataFile, ".tx4p"),
            ReplaceExtension(dataFile, ".tx4r")};
}

std::string PlotFileText(const TFileAnalysis& analysis) {
    std::string out;
    const size_t count = analysis.cases.size();
    for (size_t k = 0; k < count; ++k) {
        const TCaseResult& c = analysis.cases[k];
        out += std::to_string(c.pressures.size()) + "\r\n";
        for (const TPressureRecord& r : c.pressures)
            out += G(r.depth) + " " + G(r.total) + " " + G(r.soils) + " " + G(r.surcharge) + "\r\n";
        out += std::to_string(c.unitCode) + "\r\n";
        out += std::to_string(c.pyCurves.size()) + "\r\n";
        for (const TPyCurveResult& curve : c.pyCurves) {
            out += G(curve.depth) + "\r\n" + std::to_string(curve.points.size()) + "\r\n";
            for (const TCurvePoint& p : curve.points) out += G(p.x) + " " + G(p.y) + "\r\n";
        }
        out += std::to_string(count) + "\r\n";
        out += std::to_string(c.nodes.size()) + "\r\n";
        out += std::to_string(k + 1) + "\r\n";
        for (const TNodeResult& node : c.nodes)
            out += G(node.depth) + " " + G(node.y) + " " + G(node.moment) + " " + G(node.shear) + " " +
                   G(node.reaction) + "\r\n";
    }
    return out;
}

std::string ReportText(const TFileAnalysis& analysis) {
    std::string out;
    out += "TORVEX 2012 - analysis of a flexible retaining wall\n";
    out += "Run: " + Timestamp() + "\n";
    out += "Data file: " + analysis.dataFile + "\n";
    out += "Title: " + analysis.title + "\n\n";
    if (!analysis.error.empty()) {
        out += "ERROR: " + analysis.error + "\nNo analysis was made.\n";
        return out;
    }
    out += "Sign conventions: depth x positive down from the wall top; deflection y positive toward\n"
           "the excavation; M = EI d2y/dx2; V = dM/dx + Q dy/dx; soil reaction p in the sense that\n"
           "resists y; driving line load w positive toward the excavation.\n\n";
    for (const TCaseResult& c : analysis.cases) {
        const TUnitNames u = UnitNames(c.unitCode);
        out += "==== " + c.label + " ====\n";
        out += std::string("Units: length ") + u.length + ", force " + u.force + ", moment " + u.moment +
               ", EI " + u.stiffness + ", line loads " + u.lineLoad + "; depths below in " + u.length + "\n";
        if (c.outcome == TOutcome::InputError) {
            out += "INPUT ERROR: " + c.message + "\n\n";
            continue;
        }
        const TWallInput& in = c.input;
        out += "Wall: " + std::to_string(in.beam.n) + " increments of " + G(in.beam.h) + " " + u.length +
               ", length " + G(in.beam.n * in.beam.h) + " " + u.length + ", excavation level " +
               G(in.freeHeight) + " " + u.length + "\n";
        out += "Earth pressure mode " + std::to_string(in.pressureMode) + ", soil resistance mode " +
               std::to_string(in.resistanceMode) + ", Wa " + G(in.activeWidth) + ", Wp " +
               G(in.resistanceWidth) + "\n";
        if (!in.layers.empty()) {
            out += "Soil layers (bottom depth, type, gamma, c or qu, phi, e50, k):\n";
            for (size_t i = 0; i < in.layers.size(); ++i) {
                const TSoilLayer& l = in.layers[i];
                out += "  " + std::to_string(i + 1) + ": " + G(l.bottom) + "  " +
                       (l.type >= 1 && l.type <= 7 ? PyCriterionName(PyCriterionFromCode(l.type)) : std::string("?")) +
                       "  " + G(l.gamma) + "  " + G(l.c) + "  " + G(l.phi) + "  " + G(l.e50) + "  " + G(l.k) + "\n";
            }
        }
        out += "Water depths: backfill " + G(in.waterBackfill) + ", excavation " + G(in.waterExcavation) +
               "; uniform surcharge " + G(in.backfillSurcharge) + "; backfill slope " + G(in.backfillSlope) +
               " deg; pressure factor " + G(in.pressureFactor) + "\n";
        out += "Maximum allowable deflection " + G(in.maxDeflection) + ", closure tolerance " + G(in.tolerance) + "\n";
        for (size_t i = 0; i < in.beam.springOffset.size(); ++i)
            if (in.beam.kLateral[i] != 0 && in.beam.springOffset[i] != 0)
                out += "Lateral spring at node " + std::to_string(i) + " (" + G(in.beam.kLateral[i]) + " " + u.force +
                       "/" + u.length + ") installed in an earlier stage at the deflection " + G(in.beam.springOffset[i]) +
                       " " + u.length + "; it acts on the change since then.\n";
        for (const TSurcharge& s : in.surcharges)
            if (s.magnitude != 0)
                out += "Surcharge type " + std::to_string(s.type) + " (1 point, 2 line, 3 strip): magnitude " +
                       G(s.magnitude) + ", distance " + G(s.distance) + ", width " + G(s.width) + "\n";
        if (!c.pressures.empty()) {
            out += "\nDriving line loads (" + std::string(u.lineLoad) + "):\n";
            out += "      Depth        Total    From soils  From surcharges\n";
            for (const TPressureRecord& r : c.pressures)
                out += Fixed(r.depth, 11, 6) + Fixed(r.total, 13, 6) + Fixed(r.soils, 13, 6) + Fixed(r.surcharge, 15, 6) + "\n";
        }
        out += "\nOutcome: " + std::string(OutcomeText(c.outcome)) + " after " + std::to_string(c.iterations) +
               " iterations\n";
        if (!c.message.empty()) out += c.message + "\n";
        out += "\n";
        out += "      Depth   Deflection        Slope       Moment        Shear  Soil reaction           EI    Line load\n";
        for (const TNodeResult& n : c.nodes)
            out += Fixed(n.depth, 11, 6) + Fixed(n.y, 13, 6) + Fixed(n.slope, 13, 6) + Fixed(n.moment, 13, 6) +
                   Fixed(n.shear, 13, 6) + Fixed(n.reaction, 15, 6) + Fixed(n.EI, 13, 6) + Fixed(n.load, 13, 6) +
                   "\n";
        if (const TNodeResult* m = c.MaxBy(&TNodeResult::y))
            out += "\nMaximum deflection " + G(m->y) + " " + u.length + " at depth " + G(m->depth) + "\n";
        if (const TNodeResult* m = c.MaxBy(&TNodeResult::moment))
            out += "Maximum moment " + G(m->moment) + " " + u.moment + " at depth " + G(m->depth) + "\n";
        if (const TNodeResult* m = c.MaxBy(&TNodeResult::shear))
            out += "Maximum shear " + G(m->shear) + " " + u.force + " at depth " + G(m->depth) + "\n";
        if (c.equilibriumChecked)
            out += "Equilibrium residuals (springs and restraint reactions included): force " + G(c.forceResidual) +
                   " " + u.force + " (" + G(100 * std::fabs(c.forceResidual) / c.largestLoad) +
                   " % of the largest load), moment " + G(c.momentResidual) + " " + u.moment + " (" +
                   G(100 * std::fabs(c.momentResidual) / c.largestMoment) + " % of the largest applied moment)\n";
        if (!c.pyCurves.empty()) {
            out += "\np-y curves (y, p):\n";
            for (const TPyCurveResult& curve : c.pyCurves) {
                out += "  depth " + G(curve.depth) + ":";
                for (size_t j = 0; j < curve.points.size(); j += 5)
                    out += "  (" + G(curve.points[j].x) + ", " + G(curve.points[j].y) + ")";
                out += "\n";
            }
        }
        for (const std::string& warning : c.warnings) out += "WARNING: " + warning + "\n";
        out += "\n";
    }
    return out;
}

std::string RunNotesText(const TFileAnalysis& analysis) {
    std::string out = "TORVEX 2012 engine run, " + Timestamp() + "\n";
    out += "Data file: " + analysis.dataFile + "\n";
    if (!analysis.error.empty()) return out + "ERROR: " + analysis.error + "\n";
    for (const TCaseResult& c : analysis.cases) {
        out += c.label + ": " + OutcomeText(c.outcome);
        if (c.outcome == TOutcome::InputError) out += ": " + c.message;
        else out += " (" + std::to_string(c.iterations) + " iterations)" + (c.message.empty() ? "" : ": " + c.message);
        out += "\n";
        for (const std::string& warning : c.warnings) out += "  warning: " + warning + "\n";
    }
    out += "Time: " + G(analysis.seconds) + " s\n";
    return out;
}

void WriteResultFiles(const TFileAnalysis& analysis, const TResultPaths& paths) {
    std::error_code ignored;
    std::filesystem::remove(paths.plot, ignored);
    SaveTextFile(paths.output, ReportText(analysis));
    SaveTextFile(paths.notes, RunNotesText(analysis));
    if (HasResults(analysis)) SaveTextFile(paths.plot, PlotFileText(analysis));
}

std::string SummaryLines(const TFileAnalysis& analysis) {
    if (!analysis.error.empty()) return analysis.dataFile + ": " + analysis.error + "\n";
    std::string out;
    for (const TCaseResult& c : analysis.cases) {
        const TUnitNames u = UnitNames(c.unitCode);
        out += analysis.dataFile + " [" + c.label + "]: " + OutcomeText(c.outcome);
        if (c.outcome == TOutcome::InputError) {
            out += ": " + c.message + "\n";
            continue;
        }
        const TNodeResult* y = c.MaxBy(&TNodeResult::y);
        const TNodeResult* m = c.MaxBy(&TNodeResult::moment);
        if (y && m)
            out += ", max deflection " + G(y->y) + " " + u.length + " at " + G(y->depth * u.depthScale) + " " +
                   u.depth + ", max moment " + G(m->moment) + " " + u.moment + " at " +
                   G(m->depth * u.depthScale) + " " + u.depth;
        out += ", " + std::to_string(c.iterations) + " iterations\n";
    }
    return out;
}

}  // namespace torvex::engine
