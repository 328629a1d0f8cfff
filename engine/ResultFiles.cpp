#include "ResultFiles.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "output/CodeFiles.h"
#include "output/DesignFiles.h"
#include "output/ResultSave.h"
#include "output/TextBuffer.h"
#include "soil/PyCriteria.h"

namespace torvex::engine {
namespace {

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
            ReplaceExtension(dataFile, ".tx4r"), ReplaceExtension(dataFile, kDesignSummaryExtension)};
}

std::string PlotFileText(const TFileAnalysis& analysis) {
    size_t estimate = 256;
    for (const TCaseResult& c : analysis.cases) {
        estimate += 64 * (c.pressures.size() + c.nodes.size()) + 64;
        for (const TPyCurveResult& curve : c.pyCurves) estimate += 40 * curve.points.size() + 32;
    }
    TTextBuffer out(estimate);
    const size_t count = analysis.cases.size();
    for (size_t k = 0; k < count; ++k) {
        const TCaseResult& c = analysis.cases[k];
        out.Int(static_cast<long long>(c.pressures.size())) << "\r\n";
        for (const TPressureRecord& r : c.pressures) {
            out.G(r.depth) << ' ';
            out.G(r.total) << ' ';
            out.G(r.soils) << ' ';
            out.G(r.surcharge) << "\r\n";
        }
        out.Int(c.unitCode) << "\r\n";
        out.Int(static_cast<long long>(c.pyCurves.size())) << "\r\n";
        for (const TPyCurveResult& curve : c.pyCurves) {
            out.G(curve.depth) << "\r\n";
            out.Int(static_cast<long long>(curve.points.size())) << "\r\n";
            for (const TCurvePoint& p : curve.points) {
                out.G(p.x) << ' ';
                out.G(p.y) << "\r\n";
            }
        }
        out.Int(static_cast<long long>(count)) << "\r\n";
        out.Int(static_cast<long long>(c.nodes.size())) << "\r\n";
        out.Int(static_cast<long long>(k + 1)) << "\r\n";
        for (const TNodeResult& node : c.nodes) {
            out.G(node.depth) << ' ';
            out.G(node.y) << ' ';
            out.G(node.moment) << ' ';
            out.G(node.shear) << ' ';
            out.G(node.reaction) << "\r\n";
        }
    }
    return out.Take();
}

std::string ReportText(const TFileAnalysis& analysis) {
    size_t estimate = 4096;
    for (const TCaseResult& c : analysis.cases) estimate += 110 * c.nodes.size() + 60 * c.pressures.size() + 2048;
    TTextBuffer out(estimate);
    out << "TORVEX 2012 - analysis of a flexible retaining wall\n";
    out << "Run: " << Timestamp() << "\n";
    out << "Data file: " << analysis.dataFile << "\n";
    out << "Title: " << analysis.title << "\n\n";
    if (!analysis.error.empty()) {
        out << "ERROR: " << analysis.error << "\nNo analysis was made.\n";
        return out.Take();
    }
    out << "Sign conventions: depth x positive down from the wall top; deflection y positive toward\n"
           "the excavation; M = EI d2y/dx2; V = dM/dx + Q dy/dx; soil reaction p in the sense that\n"
           "resists y; driving line load w positive toward the excavation.\n\n";
    for (const TCaseResult& c : analysis.cases) {
        const TUnitNames u = UnitNames(c.unitCode);
        out << "==== " << c.label << " ====\n";
        out << "Units: length " << u.length << ", force " << u.force << ", moment " << u.moment << ", EI "
            << u.stiffness << ", line loads " << u.lineLoad << "; depths below in " << u.length << "\n";
        if (c.outcome == TOutcome::InputError) {
            out << "INPUT ERROR: " << c.message << "\n\n";
            continue;
        }
        const TWallInput& in = c.input;
        out << "Wall: ";
        out.Int(in.beam.n) << " increments of ";
        out.G(in.beam.h) << " " << u.length << ", length ";
        out.G(in.beam.n * in.beam.h) << " " << u.length << ", excavation level ";
        out.G(in.freeHeight) << " " << u.length << "\n";
        out << "Earth pressure mode ";
        out.Int(in.pressureMode) << ", soil resistance mode ";
        out.Int(in.resistanceMode) << ", Wa ";
        out.G(in.activeWidth) << ", Wp ";
        out.G(in.resistanceWidth) << "\n";
        if (!in.layers.empty()) {
            out << "Soil layers (bottom depth, type, gamma, c or qu, phi, e50, k):\n";
            for (size_t i = 0; i < in.layers.size(); ++i) {
                const TSoilLayer& l = in.layers[i];
                out << "  ";
                out.Int(static_cast<long long>(i + 1)) << ": ";
                out.G(l.bottom) << "  "
                                << (l.type >= 1 && l.type <= 7 ? PyCriterionName(PyCriterionFromCode(l.type))
                                                               : std::string("?"))
                                << "  ";
                out.G(l.gamma) << "  ";
                out.G(l.c) << "  ";
                out.G(l.phi) << "  ";
                out.G(l.e50) << "  ";
                out.G(l.k) << "\n";
            }
        }
        out << "Water depths: backfill ";
        out.G(in.waterBackfill) << ", excavation ";
        out.G(in.waterExcavation) << "; uniform surcharge ";
        out.G(in.backfillSurcharge) << "; backfill slope ";
        out.G(in.backfillSlope) << " deg; pressure factor ";
        out.G(in.pressureFactor) << "\n";
        out << "Maximum allowable deflection ";
        out.G(in.maxDeflection) << ", closure tolerance ";
        out.G(in.tolerance) << "\n";
        for (size_t i = 0; i < in.beam.springOffset.size(); ++i)
            if (in.beam.kLateral[i] != 0 && in.beam.springOffset[i] != 0) {
                out << "Lateral spring at node ";
                out.Int(static_cast<long long>(i)) << " (";
                out.G(in.beam.kLateral[i]) << " " << u.force << "/" << u.length
                                           << ") installed in an earlier stage at the deflection ";
                out.G(in.beam.springOffset[i]) << " " << u.length << "; it acts on the change since then.\n";
            }
        for (const TSurcharge& s : in.surcharges)
            if (s.magnitude != 0) {
                out << "Surcharge type ";
                out.Int(s.type) << " (1 point, 2 line, 3 strip): magnitude ";
                out.G(s.magnitude) << ", distance ";
                out.G(s.distance) << ", width ";
                out.G(s.width) << "\n";
            }
        if (!c.pressures.empty()) {
            out << "\nDriving line loads (" << u.lineLoad << "):\n";
            out << "      Depth        Total    From soils  From surcharges\n";
            for (const TPressureRecord& r : c.pressures) {
                out.Fixed(r.depth, 11, 6).Fixed(r.total, 13, 6).Fixed(r.soils, 13, 6).Fixed(r.surcharge, 15, 6);
                out << "\n";
            }
        }
        out << "\nOutcome: " << OutcomeText(c.outcome) << " after ";
        out.Int(c.iterations) << " iterations\n";
        if (!c.message.empty()) out << c.message << "\n";
        out << "\n";
        out << "      Depth   Deflection        Slope       Moment        Shear  Soil reaction           EI    Line load\n";
        for (const TNodeResult& n : c.nodes) {
            out.Fixed(n.depth, 11, 6).Fixed(n.y, 13, 6).Fixed(n.slope, 13, 6).Fixed(n.moment, 13, 6);
            out.Fixed(n.shear, 13, 6).Fixed(n.reaction, 15, 6).Fixed(n.EI, 13, 6).Fixed(n.load, 13, 6);
            out << "\n";
        }
        if (const TNodeResult* m = c.MaxBy(&TNodeResult::y)) {
            out << "\nMaximum deflection ";
            out.G(m->y) << " " << u.length << " at depth ";
            out.G(m->depth) << "\n";
        }
        if (const TNodeResult* m = c.MaxBy(&TNodeResult::moment)) {
            out << "Maximum moment ";
            out.G(m->moment) << " " << u.moment << " at depth ";
            out.G(m->depth) << "\n";
        }
        if (const TNodeResult* m = c.MaxBy(&TNodeResult::shear)) {
            out << "Maximum shear ";
            out.G(m->shear) << " " << u.force << " at depth ";
            out.G(m->depth) << "\n";
        }
        if (c.equilibriumChecked) {
            out << "Equilibrium residuals (springs and restraint reactions included): force ";
            out.G(c.forceResidual) << " " << u.force << " (";
            out.G(100 * std::fabs(c.forceResidual) / c.largestLoad) << " % of the largest load), moment ";
            out.G(c.momentResidual) << " " << u.moment << " (";
            out.G(100 * std::fabs(c.momentResidual) / c.largestMoment) << " % of the largest moment about the top)\n";
        }
        out << DesignReportText(c) << CodeReportText(analysis, static_cast<size_t>(&c - analysis.cases.data()));
        if (!c.pyCurves.empty()) {
            out << "\np-y curves (y, p):\n";
            for (const TPyCurveResult& curve : c.pyCurves) {
                out << "  depth ";
                out.G(curve.depth) << ":";
                for (size_t j = 0; j < curve.points.size(); j += 5) {
                    out << "  (";
                    out.G(curve.points[j].x) << ", ";
                    out.G(curve.points[j].y) << ")";
                }
                out << "\n";
            }
        }
        if (!c.models.empty()) {
            out << "\nSoil and pressure models:\n";
            for (const std::string& model : c.models) out << "  " << model << "\n";
        }
        for (const std::string& warning : c.warnings) out << "WARNING: " << warning << "\n";
        out << "\n";
    }
    return out.Take();
}

std::string RunNotesText(const TFileAnalysis& analysis) {
    TTextBuffer out(1024);
    out << "TORVEX 2012 engine run, " << Timestamp() << "\n";
    out << "Data file: " << analysis.dataFile << "\n";
    if (!analysis.error.empty()) {
        out << "ERROR: " << analysis.error << "\n";
        return out.Take();
    }
    for (const TCaseResult& c : analysis.cases) {
        out << c.label << ": " << OutcomeText(c.outcome);
        if (c.outcome == TOutcome::InputError) {
            out << ": " << c.message;
        } else {
            out << " (";
            out.Int(c.iterations) << " iterations)";
            if (!c.message.empty()) out << ": " << c.message;
        }
        out << "\n";
        for (const std::string& model : c.models) out << "  model: " << model << "\n";
        for (const std::string& warning : c.warnings) out << "  warning: " << warning << "\n";
    }
    out << "Time: ";
    out.G(analysis.seconds) << " s\n";
    return out.Take();
}

void WriteResultFiles(const TFileAnalysis& analysis, const TResultPaths& paths) {
    const std::vector<const std::string*> all = {&paths.output, &paths.notes, &paths.plot, &paths.summary};
    for (const std::string* path : all)
        if (!path->empty()) RemoveLeftoverTemporaries(std::filesystem::path(*path).parent_path().string());
    // The four files belong to one run: when any cannot be written, none stays, so that no
    // report, notes or graphs of earlier input sit beside changed input.
    const auto removeAll = [&all] {
        // unlink: a folder of that name is the user's, never removed.
        for (const std::string* path : all)
            if (!path->empty()) ::unlink(path->c_str());
    };
    const bool results = HasResults(analysis);
    try {
        // Everything is written before anything is replaced. The report is the set's mark: it
        // goes first and comes back last, so a run killed between the renames leaves no report,
        // and readers take a set without its report (or with one older than its data file) for
        // no results at all, never for a mix of two runs.
        TStagedFiles files;
        if (results) {
            files.Add(paths.plot, PlotFileText(analysis));
            if (!paths.summary.empty()) files.Add(paths.summary, DesignSummaryFileText(SummaryCases(analysis)));
        }
        files.Add(paths.notes, RunNotesText(analysis));
        files.Add(paths.output, ReportText(analysis));
        ::unlink(paths.output.c_str());
        if (!results) {
            ::unlink(paths.plot.c_str());
            if (!paths.summary.empty()) ::unlink(paths.summary.c_str());
        }
        files.Commit();
    } catch (...) {
        removeAll();
        throw;
    }
}

std::string SummaryLines(const TFileAnalysis& analysis) {
    if (!analysis.error.empty()) return analysis.dataFile + ": " + analysis.error + "\n";
    TTextBuffer out(256);
    for (size_t index = 0; index < analysis.cases.size(); ++index) {
        const TCaseResult& c = analysis.cases[index];
        const TUnitNames u = UnitNames(c.unitCode);
        out << analysis.dataFile << " [" << c.label << "]: " << OutcomeText(c.outcome);
        if (c.outcome == TOutcome::InputError) {
            out << ": " << c.message << "\n";
            continue;
        }
        const TNodeResult* y = c.MaxBy(&TNodeResult::y);
        const TNodeResult* m = c.MaxBy(&TNodeResult::moment);
        if (y && m) {
            out << ", max deflection ";
            out.G(y->y) << " " << u.length << " at ";
            out.G(y->depth * u.depthScale) << " " << u.depth << ", max moment ";
            out.G(m->moment) << " " << u.moment << " at ";
            out.G(m->depth * u.depthScale) << " " << u.depth;
        }
        out << DesignSummaryText(c) << CodeSummaryText(analysis, index, u.length) << ", ";
        out.Int(c.iterations) << " iterations\n";
    }
    return out.Take();
}

}  // namespace torvex::engine
