#include "Analysis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <stdexcept>

#include "DrivingLoads.h"
#include "PyCriteria.h"
#include "project/DataFileReader.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

constexpr int kMaxIterations = 1000;

// The soil resistance at one node: a generated criterion, an external curve, or a blend of two
// external curves by depth; none when the node has no soil.
struct TNodeSoil {
    enum class Kind { None, Generated, External, Between } kind = Kind::None;
    TPySoil soil;
    double pm = 1, ym = 1;
    const TExternalCurve* curve = nullptr;
    const TExternalCurve* other = nullptr;
    double fraction = 0;  // weight of `other` for Between

    // Soil resistance p (F/L) for deflection y, in the sign of y.
    double Resistance(double y) const {
        switch (kind) {
            case Kind::None: return 0;
            case Kind::Generated: return PyModified(soil, y, pm, ym);
            case Kind::External: return External(*curve, y);
            case Kind::Between: return (1 - fraction) * External(*curve, y) + fraction * External(*other, y);
        }
        return 0;
    }
    static double External(const TExternalCurve& c, double y) {
        // The table gives p with the sign opposite to y; the resistance acts against y.
        return -c.pMultiplier * Interpolate(c.points, y / c.yMultiplier);
    }
    double InitialSlope() const {
        if (kind == Kind::None) return 0;
        if (kind == Kind::Generated) return pm / ym * PyInitialSlope(soil);
        const double dy = 1e-6;
        return std::max((Resistance(dy) - Resistance(-dy)) / (2 * dy), 0.0);
    }
    double Secant(double y) const {
        // The criteria give their own bounded secant near y = 0 (power-law clays are
        // infinitely steep there).
        if (kind == Kind::Generated) return pm / ym * PySecantModulus(soil, y / ym);
        if (std::fabs(y) < 1e-12) return InitialSlope();
        return std::max(Resistance(y) / y, 0.0);
    }
};

std::vector<SoilLayer> DrivingLayers(const TWallInput& in) {
    std::vector<SoilLayer> layers;
    for (const TSoilLayer& l : in.layers)
        layers.push_back({l.bottom, l.type, l.gamma, l.type >= 6 ? 0.0 : l.c, l.phi});
    return layers;
}

const TSoilLayer* LayerAt(const TWallInput& in, double x) {
    for (const TSoilLayer& layer : in.layers)
        if (x <= layer.bottom) return &layer;
    return in.layers.empty() ? nullptr : &in.layers.back();
}

// The soils of the excavation side: generated criteria below the excavation level, external
// curves at their nodes.
std::vector<TNodeSoil> NodeSoils(const TWallInput& in, std::vector<std::string>& warnings) {
    const int n = in.beam.n;
    const double h = in.beam.h;
    std::vector<TNodeSoil> soils(static_cast<size_t>(n + 1));
    if (in.resistanceMode >= 2) {
        // Effective stress below the excavation level, with the excavation-side water table.
        std::vector<SoilLayer> below;
        for (const TSoilLayer& l : in.layers)
            if (l.bottom > in.freeHeight) below.push_back({l.bottom, l.type, l.gamma, l.c, l.phi});
        std::vector<bool> warned(in.layers.size(), false);
        for (int i = 0; i <= n; ++i) {
            const double x = i * h;
            if (x < in.freeHeight - 1e-9 * h) continue;
            const TSoilLayer* layer = LayerAt(in, x);
            if (!layer) continue;
            const size_t index = static_cast<size_t>(layer - in.layers.data());
            TNodeSoil& node = soils[static_cast<size_t>(i)];
            node.kind = TNodeSoil::Kind::Generated;
            TPySoil& s = node.soil;
            if (layer->type < 1 || layer->type > 7)
                throw std::invalid_argument("Soil layer " + std::to_string(index + 1) + " has the unknown soil type " +
                                            std::to_string(layer->type) + ".");
            s.type = PyCriterionFromCode(layer->type);
            s.b = in.resistanceWidth;
            s.z = std::max(x - in.freeHeight, 0.0);
            // sigma_v' from the excavation level down: shift the layers up by H.
            std::vector<SoilLayer> shifted = below;
            for (SoilLayer& l : shifted) l.bottom -= in.freeHeight;
            s.sigmaV = VerticalEffectiveStress(s.z, shifted, 0.0, in.waterExcavation - in.freeHeight, in.gammaWater);
            const bool belowWater = x >= in.waterExcavation;
            s.gammaEff = s.z > 0 ? s.sigmaV / s.z : layer->gamma - (belowWater ? in.gammaWater : 0.0);
            s.c = layer->c;
            s.phiDeg = layer->phi;
            s.e50 = layer->e50;
            s.k = layer->k;
            s.qu = layer->c;
            s.krm = layer->krm;
            s.Eir = layer->Eir;
            s.rqd = layer->rqd;
            if (layer->type >= 6) s.c = 0;
            try {
                const auto notes = ApplyPyDefaults(s, in.english(), belowWater);
                if (!warned[index])
                    for (const std::string& note : notes)
                        warnings.push_back("Soil layer " + std::to_string(index + 1) + ": " + note);
                warned[index] = true;
            } catch (const std::invalid_argument& error) {
                throw std::invalid_argument("Soil layer " + std::to_string(index + 1) + ": " + error.what());
            }
            if (!in.pyModifiers.empty()) {
                std::vector<TCurvePoint> pm, ym;
                for (const TPyModifier& mod : in.pyModifiers) {
                    pm.push_back({mod.depth, mod.pMultiplier});
                    ym.push_back({mod.depth, mod.yMultiplier});
                }
                node.pm = Interpolate(pm, x);
                node.ym = Interpolate(ym, x);
                if (!(node.ym > 0)) node.ym = 1;
            }
        }
    }
    // External curves replace the generated curve at their node; with external curves only,
    // the nodes between two curve nodes blend the two curves by depth.
    const auto& curves = in.externalCurves;
    for (size_t c = 0; c < curves.size(); ++c) {
        if (curves[c].points.empty()) continue;
        TNodeSoil& node = soils[static_cast<size_t>(curves[c].node)];
        node.kind = TNodeSoil::Kind::External;
        node.curve = &curves[c];
        if (in.resistanceMode == 1 && c + 1 < curves.size() && !curves[c + 1].points.empty()) {
            const int from = curves[c].node, to = curves[c + 1].node;
            for (int i = from + 1; i < to; ++i) {
                TNodeSoil& between = soils[static_cast<size_t>(i)];
                between.kind = TNodeSoil::Kind::Between;
                between.curve = &curves[c];
                between.other = &curves[c + 1];
                between.fraction = static_cast<double>(i - from) / (to - from);
            }
        }
    }
    return soils;
}

// A wall that no soil, spring or restraint can hold is an input error, not a singular solve.
bool HasSupport(const TWallInput& in, const std::vector<TNodeSoil>& soils) {
    int supports = 0;
    bool rotation = false;
    for (int i = 0; i <= in.beam.n; ++i) {
        const size_t s = static_cast<size_t>(i);
        if (soils[s].kind != TNodeSoil::Kind::None || in.beam.kLateral[s] > 0 || in.beam.fixedDeflection[s]) ++supports;
        if (in.beam.kRotation[s] > 0 || in.beam.fixedSlope[s]) rotation = true;
    }
    return supports >= 2 || (supports >= 1 && rotation);
}

void UpdateMomentEI(const TWallInput& in, TBeamModel& beam, const std::vector<double>& moment) {
    for (const TMomentEICurve& curve : in.momentEICurves)
        for (int i = std::min(curve.fromNode, curve.toNode); i <= std::max(curve.fromNode, curve.toNode); ++i) {
            const double ei = Interpolate(curve.points, std::fabs(moment[static_cast<size_t>(i)]));
            if (ei > 0) beam.EI[static_cast<size_t>(i)] = ei;
        }
}

double Trapezoid(const std::vector<double>& v, double h) {
    double sum = 0;
    for (size_t i = 0; i + 1 < v.size(); ++i) sum += (v[i] + v[i + 1]) * h / 2;
    return sum;
}

std::vector<TPyCurveResult> SampleCurves(const std::vector<TNodeSoil>& soils, double h, double yReach) {
    std::vector<int> nodes;
    for (size_t i = 0; i < soils.size(); ++i)
        if (soils[i].kind != TNodeSoil::Kind::None) nodes.push_back(static_cast<int>(i));
    std::vector<TPyCurveResult> curves;
    if (nodes.empty()) return curves;
    const int count = std::min<int>(10, static_cast<int>(nodes.size()));
    const double yMax = std::max(yReach * 1.5, 1e-6);
    for (int k = 0; k < count; ++k) {
        const int node = nodes[static_cast<size_t>(count == 1 ? 0 : k * (static_cast<int>(nodes.size()) - 1) / (count - 1))];
        TPyCurveResult curve;
        curve.depth = node * h;
        const int points = 30;
        for (int j = 0; j < points; ++j) {
            const double y = yMax * j / (points - 1);
            curve.points.push_back({y, soils[static_cast<size_t>(node)].Resistance(y)});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

}  // namespace

const TNodeResult* TCaseResult::MaxBy(double TNodeResult::*field) const {
    const TNodeResult* best = nullptr;
    for (const TNodeResult& node : nodes)
        if (!best || std::fabs(node.*field) > std::fabs(best->*field)) best = &node;
    return best;
}

const char* OutcomeText(TOutcome outcome) {
    switch (outcome) {
        case TOutcome::Converged: return "converged";
        case TOutcome::NotConverged: return "not converged";
        case TOutcome::DeflectionExceeded: return "deflection exceeded the maximum allowable";
        case TOutcome::InputError: return "input error";
    }
    return "";
}

bool TFileAnalysis::AllConverged() const {
    if (!error.empty() || cases.empty()) return false;
    return std::all_of(cases.begin(), cases.end(),
                       [](const TCaseResult& c) { return c.outcome == TOutcome::Converged; });
}

TCaseResult AnalyzeCase(TWallInput input, const std::string& label) {
    TCaseResult result;
    result.label = label;
    result.unitCode = input.unitCode;
    result.warnings = input.warnings;
    try {
        TBeamModel& beam = input.beam;
        const int n = beam.n;
        const double h = beam.h;

        // Driving loads.
        DrivingLoadInput driving;
        for (int i = 0; i <= n; ++i) driving.nodeDepths.push_back(i * h);
        driving.layers = DrivingLayers(input);
        driving.pressureMode = input.pressureMode;
        driving.freeHeight = input.freeHeight;
        driving.waterDepthBackfill = input.waterBackfill;
        driving.waterDepthExcavation = input.waterExcavation;
        driving.waterUnitWeight = input.gammaWater;
        driving.backfillSurcharge = input.backfillSurcharge;
        driving.backfillSlope = input.backfillSlope;
        driving.pressureFactor = input.pressureFactor;
        driving.activeWidth = input.activeWidth;
        for (const TCurvePoint& point : input.distributedLoad) driving.distributedLoad.push_back({point.x, point.y});
        for (const TSurcharge& s : input.surcharges) driving.surcharges.push_back({s.type, s.magnitude, s.distance, s.width});
        const DrivingLoads loads = ComputeDrivingLoads(driving);
        for (const std::string& warning : loads.warnings) result.warnings.push_back(warning);
        for (int i = 0; i <= n; ++i) beam.w[static_cast<size_t>(i)] = loads.lineLoad[static_cast<size_t>(i)];
        const int step = std::max(1, (n + 500) / 500);  // at most 501 pressure records
        for (int i = 0; i <= n; i += step)
            result.pressures.push_back({i * h, loads.lineLoad[static_cast<size_t>(i)],
                                        loads.soilLineLoad[static_cast<size_t>(i)],
                                        loads.surchargeLineLoad[static_cast<size_t>(i)]});

        const std::vector<TNodeSoil> soils = NodeSoils(input, result.warnings);
        if (!HasSupport(input, soils))
            throw std::invalid_argument(
                "The wall is not supported: no soil resistance, spring or restraint holds it. Check the "
                "excavation level, the soil layers and the p-y options.");

        // Secant iteration on the soil modulus.
        for (int i = 0; i <= n; ++i) beam.Es[static_cast<size_t>(i)] = soils[static_cast<size_t>(i)].InitialSlope();
        std::vector<double> previous(static_cast<size_t>(n + 1), 0.0);
        std::optional<TBeamResult> solved;
        result.outcome = TOutcome::NotConverged;
        for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
            result.iterations = iteration;
            solved = SolveBeam(beam);
            if (!solved)
                throw std::invalid_argument("The wall's equations cannot be solved: it is not held against "
                                            "movement or rotation. Add soil, springs or restraints.");
            double change = 0, largest = 0;
            for (int i = 0; i <= n; ++i) {
                const size_t s = static_cast<size_t>(i);
                change = std::max(change, std::fabs(solved->y[s] - previous[s]));
                largest = std::max(largest, std::fabs(solved->y[s]));
            }
            previous = solved->y;
            if (largest > input.maxDeflection) {
                result.outcome = TOutcome::DeflectionExceeded;
                break;
            }
            if (iteration > 1 && change < input.tolerance) {
                result.outcome = TOutcome::Converged;
                break;
            }
            // New secant moduli; damped late in a long run so that softening curves settle.
            const double relax = iteration > 200 ? 0.5 : 1.0;
            for (int i = 0; i <= n; ++i) {
                const size_t s = static_cast<size_t>(i);
                const double es = soils[s].Secant(solved->y[s]);
                beam.Es[s] = relax * es + (1 - relax) * beam.Es[s];
            }
            UpdateMomentEI(input, beam, solved->moment);
        }

        // Results per node.
        double yReach = 0;
        std::vector<double> reaction(static_cast<size_t>(n + 1)), load(static_cast<size_t>(n + 1));
        for (int i = 0; i <= n; ++i) {
            const size_t s = static_cast<size_t>(i);
            TNodeResult node;
            node.depth = i * h;
            node.y = solved->y[s];
            node.slope = solved->slope[s];
            node.moment = solved->moment[s];
            node.shear = solved->shear[s];
            // The soil force the final solve balanced: within the closure tolerance of p(y),
            // and in exact equilibrium with the loads (stiff rock curves make the difference
            // between the two visible).
            node.reaction = beam.Es[s] * node.y;
            node.EI = beam.EI[s];
            node.load = beam.w[s];
            reaction[s] = node.reaction;
            load[s] = node.load;
            yReach = std::max(yReach, std::fabs(node.y));
            result.nodes.push_back(node);
        }
        result.pyCurves = SampleCurves(soils, h, yReach);
        for (int i = 0; i <= n; ++i) {
            const TNodeSoil& node = soils[static_cast<size_t>(i)];
            if (node.kind != TNodeSoil::Kind::Generated) continue;
            const std::string limit = PyLimitWarning(node.soil, result.nodes[static_cast<size_t>(i)].y / node.ym);
            if (!limit.empty()) {
                result.warnings.push_back("Node " + std::to_string(i) + ": " + limit);
                break;  // once per case is enough to say it
            }
        }

        // Equilibrium of forces and of moments about the top, by the trapezoid rule.
        double applied = Trapezoid(load, h), resisted = Trapezoid(reaction, h);
        std::vector<double> loadArm(load), reactionArm(reaction);
        double momentApplied = 0, momentResisted = 0, largest = 0;
        bool restrained = false;
        for (int i = 0; i <= n; ++i) {
            const size_t s = static_cast<size_t>(i);
            loadArm[s] *= i * h;
            reactionArm[s] *= i * h;
            applied += beam.P[s];
            momentApplied += beam.P[s] * i * h - beam.Mt[s];
            const double spring = beam.kLateral[s] * result.nodes[s].y;
            resisted += spring;
            momentResisted += spring * i * h + beam.kRotation[s] * result.nodes[s].slope;
            largest = std::max(largest, std::fabs(beam.P[s]));
            if (beam.fixedDeflection[s] || beam.fixedSlope[s]) restrained = true;
        }
        momentApplied += Trapezoid(loadArm, h);
        momentResisted += Trapezoid(reactionArm, h);
        largest = std::max({largest, std::fabs(Trapezoid(load, h)), 1e-30});
        result.largestLoad = largest;
        result.forceResidual = applied - resisted;
        result.momentResidual = momentApplied - momentResisted;
        result.equilibriumChecked = !restrained;
        result.input = std::move(input);
    } catch (const std::invalid_argument& error) {
        result.outcome = TOutcome::InputError;
        result.message = error.what();
        result.nodes.clear();
    }
    return result;
}

namespace {

// Reads one block (a data file's first block, or a stage) into a workspace; a read error ends
// the case with its message.
TWallInput ReadBlock(TWorkspace& workspace, std::string_view text, TTerm term) {
    std::string readError;
    workspace.ShowInformation = [&](const std::string& message) { readError = message; };
    ReadStageFileText(workspace, text, "block");
    if (!readError.empty()) {
        std::string message = readError;
        std::replace(message.begin(), message.end(), '\r', ' ');
        throw std::invalid_argument("The data file cannot be read: " + message);
    }
    return BuildWallInput(workspace, term);
}

std::vector<std::string_view> StageParts(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0, pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        const bool last = end >= text.size() || text.find_first_not_of("\r\n \t", end) == std::string_view::npos;
        if (pos > 0 && !last && line.find(kStageMarker) != std::string_view::npos) {
            parts.push_back(text.substr(start, pos - start));
            start = pos;
        }
        pos = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

TFileAnalysis AnalyzeDataText(const std::string& text, const std::string& dataFile) {
    const auto started = std::chrono::steady_clock::now();
    TFileAnalysis file;
    file.dataFile = dataFile;
    TWorkspace workspace;
    try {
        ReadDataFileText(workspace, text, dataFile, 1);
    } catch (const std::exception& error) {
        std::string message = error.what();
        std::replace(message.begin(), message.end(), '\r', ' ');
        file.error = "The data file cannot be read: " + message;
        return file;
    }
    file.title = workspace.Project().Title;
    const int stages = workspace.Project().StageCount;
    const bool longTerm = workspace.Project().LongTermMarker == 9;
    // A lateral spring that first appears in a stage acts on the change of deflection since
    // the stage before: it carries no force for the deflection the wall already had.
    std::vector<double> previousY, previousSprings;
    auto run = [&](std::string_view part, TTerm term, const std::string& label, bool staged) {
        TWorkspace caseSpace;
        try {
            TWallInput input = ReadBlock(caseSpace, part, TTerm::Short);
            if (term == TTerm::Long) input = BuildWallInput(workspace, TTerm::Long);
            const std::vector<double> springs = input.beam.kLateral;
            if (staged && previousY.size() == springs.size())
                for (size_t i = 0; i < springs.size(); ++i)
                    if (springs[i] > 0 && previousSprings[i] == 0)
                        input.beam.P[i] += springs[i] * previousY[i];
            TCaseResult result = AnalyzeCase(std::move(input), label);
            previousY.clear();
            for (const TNodeResult& node : result.nodes) previousY.push_back(node.y);
            previousSprings = springs;
            file.cases.push_back(std::move(result));
        } catch (const std::invalid_argument& error) {
            TCaseResult failed;
            failed.label = label;
            failed.outcome = TOutcome::InputError;
            failed.message = error.what();
            file.cases.push_back(std::move(failed));
        }
    };
    if (stages > 1) {
        const auto parts = StageParts(text);
        for (int k = 1; k <= stages; ++k) {
            if (static_cast<size_t>(k) > parts.size()) {
                TCaseResult missing;
                missing.label = "Stage " + std::to_string(k);
                missing.message = "The data file holds no input for this stage.";
                file.cases.push_back(std::move(missing));
                continue;
            }
            run(parts[static_cast<size_t>(k - 1)], TTerm::Short, "Stage " + std::to_string(k), true);
        }
    } else {
        run(text, TTerm::Short, longTerm ? "Short-Term" : "Analysis", false);
        if (longTerm) run(text, TTerm::Long, "Long-Term", false);
    }
    file.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return file;
}

TFileAnalysis AnalyzeDataFile(const std::string& dataFile) {
    std::string text;
    try {
        text = LoadTextFile(dataFile);
    } catch (const std::exception& error) {
        TFileAnalysis file;
        file.dataFile = dataFile;
        file.error = error.what();
        return file;
    }
    return AnalyzeDataText(text, dataFile);
}

}  // namespace torvex::engine
