#include "Analysis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <stdexcept>

#include "CodeDesign.h"
#include "input/WorkspacePool.h"
#include "project/DataFileReader.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"
#include "project/WordRead.h"
#include "project/Workspace.h"
#include "soil/DrivingLoads.h"
#include "soil/EarthPressureCoefficients.h"
#include "soil/NodeSoils.h"
#include "soil/PyCriteria.h"
#include "soil/SeismicPressure.h"
#include "soil/Seepage.h"
#include "dataentry/NumberText.h"

namespace torvex::engine {
namespace {

constexpr int kMaxIterations = 1000;

std::vector<SoilLayer> DrivingLayers(const TWallInput& in) {
    std::vector<SoilLayer> layers;
    for (const TSoilLayer& l : in.layers) {
        const bool rock = l.type >= 6;
        layers.push_back({l.bottom, l.type, l.gamma, rock ? 0.0 : l.c, l.phi, l.atBottom.gamma,
                          rock ? 0.0 : l.atBottom.c, l.atBottom.phi});
    }
    return layers;
}

// A wall that no soil, spring or restraint can hold is an input error, not a singular solve.
bool HasSupport(const TWallInput& in, const TNodeSoils& soils) {
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

std::string Text(double value) {
    return CNumberText(value);
}

// A number that is not finite (a mistyped 1e308, an overflow) ends the case with a message
// before it can reach the results.
void RequireFinite(const std::vector<double>& values, const std::string& what) {
    for (size_t i = 0; i < values.size(); ++i)
        if (!std::isfinite(values[i]))
            throw std::invalid_argument("The " + what + " at node " + std::to_string(i) +
                                        " is not a finite number: the input holds a value too large to "
                                        "compute with (check unit weights, strengths, loads and stiffnesses).");
}

void RequireFiniteModel(const TBeamModel& beam) {
    RequireFinite(beam.EI, "flexural stiffness");
    RequireFinite(beam.Q, "axial load");
    RequireFinite(beam.w, "driving line load");
    RequireFinite(beam.P, "concentrated load");
    RequireFinite(beam.Mt, "concentrated moment");
    RequireFinite(beam.kLateral, "lateral spring");
    RequireFinite(beam.kRotation, "rotational spring");
    RequireFinite(beam.springOffset, "spring installation deflection");
    for (size_t i = 0; i < beam.fixedDeflection.size(); ++i)
        if ((beam.fixedDeflection[i] && !std::isfinite(*beam.fixedDeflection[i])) ||
            (beam.fixedSlope[i] && !std::isfinite(*beam.fixedSlope[i])))
            throw std::invalid_argument("The restraint at node " + std::to_string(i) + " is not a finite number.");
}

// Whether every number of a case's results is finite.
bool ResultsFinite(const TCaseResult& result) {
    const auto finite = [](std::initializer_list<double> values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    for (const TNodeResult& n : result.nodes)
        if (!finite({n.depth, n.y, n.slope, n.moment, n.shear, n.reaction, n.EI, n.load})) return false;
    for (const TPressureRecord& p : result.pressures)
        if (!finite({p.depth, p.total, p.soils, p.surcharge})) return false;
    for (const TPyCurveResult& curve : result.pyCurves) {
        if (!finite({curve.depth})) return false;
        for (const TCurvePoint& point : curve.points)
            if (!finite({point.x, point.y})) return false;
    }
    return finite({result.forceResidual, result.momentResidual, result.largestLoad, result.largestMoment});
}

struct TEquilibrium {
    double force = 0, moment = 0, largestLoad = 0, largestMoment = 0;
    double netLoad = 0;  // the loads less the soil reaction: what the supports carry
};

// Forces in +y and moments about the top (a force F at depth x gives F x; a concentrated
// moment enters with its own sign). An axial load N at node j, carried to the tip, turns about
// the top with the lever arm y(j) - y(n); summed, that is the sum of Q (y(i+1) - y(i)).
TEquilibrium Balance(const TBeamModel& beam, const TBeamResult& r, const std::vector<double>& load,
                     const std::vector<double>& reaction) {
    const int n = beam.n;
    const double h = beam.h;
    std::vector<double> loadArm(load), reactionArm(reaction), reactionArmSize(reaction);
    double applied = Trapezoid(load, h), resisted = Trapezoid(reaction, h);
    double momentApplied = 0, momentResisted = 0, largestLoad = std::fabs(applied), largestMoment = 0;
    double springMoment = 0, netLoad = applied - resisted;
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const double x = i * h;
        loadArm[s] *= x;
        reactionArm[s] *= x;
        reactionArmSize[s] = std::fabs(reactionArm[s]);
        const double force = beam.P[s] + r.restraintForce[s];
        const double couple = beam.Mt[s] + r.restraintMoment[s];
        applied += force;
        netLoad += beam.P[s];
        momentApplied += force * x + couple;
        const double spring = beam.kLateral[s] * (r.y[s] - beam.springOffset[s]);
        resisted += spring;
        momentResisted += spring * x + beam.kRotation[s] * r.slope[s];
        springMoment = std::max(springMoment, std::fabs(spring * x));
        if (i < n) momentApplied += beam.Q[s] * (r.y[s + 1] - r.y[s]);
        largestLoad = std::max({largestLoad, std::fabs(beam.P[s]), std::fabs(r.restraintForce[s])});
        largestMoment = std::max({largestMoment, std::fabs(force * x), std::fabs(beam.Mt[s]),
                                  std::fabs(r.restraintMoment[s])});
    }
    momentApplied += Trapezoid(loadArm, h);
    momentResisted += Trapezoid(reactionArm, h);
    // Judged against the moments in play, the soil's and the springs' among them: a pile loaded
    // at its head alone has no applied moment about the top.
    largestMoment = std::max({largestMoment, std::fabs(Trapezoid(loadArm, h)), Trapezoid(reactionArmSize, h),
                              springMoment, 1e-30});
    return {applied - resisted, momentApplied - momentResisted, std::max(largestLoad, 1e-30), largestMoment,
            netLoad};
}

// Said once per case, at the shallowest depth of the run of nodes down to the tip where the
// driving line load passes the ultimate resistance in front.
std::string DrivingBeyondResistanceText(const TWallInput& in, const TDrivingBeyondResistance& beyond) {
    const std::string length = in.english() ? " in" : " m", force = in.english() ? " lbs/in" : " kN/m";
    const bool net = in.soil.netPressureBelowExcavation;
    return "At depth " + Text(beyond.depth) + length + " the " + (net ? "net " : "") + "driving pressure (" +
           Text(beyond.load) + force + ") exceeds the soil's ultimate resistance (" + Text(beyond.resistance) + force +
           ") in front" + (net ? ", and does so down to the tip." : "; consider NetPressureBelowExcavation 1.");
}

std::vector<TPyCurveResult> SampleCurves(const TNodeSoils& soils, double h, double yReach) {
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
        // The curve at the node's depth: a node that carries soil on part of its length
        // shows the whole curve.
        const TNodeSoil& soil = soils[static_cast<size_t>(node)];
        double weight = 0;
        for (const TNodeSoil::TPart& part : soil.parts) weight += part.weight;
        if (!(weight > 0)) weight = 1;
        const int points = 30;
        for (int j = 0; j < points; ++j) {
            const double y = yMax * j / (points - 1);
            curve.points.push_back({y, soil.Resistance(y) / weight});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

}  // namespace

TSoilOptions SoilOptions(const TProjectOptions& options) {
    TSoilOptions soil;
    soil.seismicKh = static_cast<double>(options.SeismicKh);
    soil.seismicKv = static_cast<double>(options.SeismicKv);
    soil.layered = options.LayeredSoil == 1;
    soil.cyclic = options.CyclicLoading == 1;
    soil.cycles = options.CyclicCycles;
    soil.pressureMethod = options.EarthPressureMethod;
    soil.frictionActive = static_cast<double>(options.WallFrictionActive);
    soil.frictionPassive = static_cast<double>(options.WallFrictionPassive);
    soil.netPressureBelowExcavation = options.NetPressureBelowExcavation == 1;
    soil.seepage = options.Seepage == 1;
    return soil;
}

namespace {

// The strength and deflection checks of a solved case against the capacities (0: not checked).
void AddChecks(TCaseResult& result, double momentCapacity, double shearCapacity, double allowableDeflection) {
    if (result.nodes.empty()) return;
    std::vector<double> depth, y, moment, shear;
    for (const TNodeResult& node : result.nodes) {
        depth.push_back(node.depth);
        y.push_back(node.y);
        moment.push_back(node.moment);
        shear.push_back(node.shear);
    }
    result.checks = CheckDesign(depth, y, moment, shear, momentCapacity, shearCapacity, allowableDeflection);
}

}  // namespace

void AddDesignAnswers(TCaseResult& result, const TProjectOptions& options) {
    // Limit equilibrium needs only the input: it is given also where the p-y analysis failed.
    if (result.outcome == TOutcome::InputError) return;
    result.le = AnalyzeLimitEquilibrium(result.input, static_cast<double>(options.TargetSafetyFactor));
    result.heave = HydraulicHeaveCheck(result.input, static_cast<double>(options.GammaHydDst),
                                       static_cast<double>(options.GammaHydStb));
    if (options.ExcavationWidth > 0) {
        try {
            result.basalHeave = BasalHeave(result.input, static_cast<double>(options.ExcavationWidth),
                                           static_cast<double>(options.ExcavationLength));
        } catch (const std::invalid_argument& error) {
            result.warnings.push_back(std::string("Basal heave is not checked: ") + error.what());
        }
    }
    AddChecks(result, static_cast<double>(options.MomentCapacity), static_cast<double>(options.ShearCapacity),
              static_cast<double>(options.AllowableDeflection));
}

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
        driving.nodeDepths.reserve(static_cast<size_t>(n + 1));
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
        driving.seismicKh = input.soil.seismicKh;
        driving.seismicKv = input.soil.seismicKv;
        driving.pressureMethod = input.soil.pressureMethod;
        driving.wallFriction = input.soil.frictionActive;
        driving.netBelowExcavation = input.soil.netPressureBelowExcavation;
        const TSeepage seepage = WallSeepage(input);
        if (input.pressureMode >= kTriangularPressure) driving.seepageGradient = seepage.gradient;
        for (const TCurvePoint& point : input.distributedLoad) driving.distributedLoad.push_back({point.x, point.y});
        for (const TSurcharge& s : input.surcharges) driving.surcharges.push_back({s.type, s.magnitude, s.distance, s.width});
        const DrivingLoads loads = ComputeDrivingLoads(driving);
        if ((driving.seismicKh != 0 || driving.seismicKv != 0) && input.pressureMode >= kTriangularPressure)
            result.models.push_back("Seismic active pressure by Mononobe-Okabe: kh = " + Text(driving.seismicKh) +
                                    ", kv = " + Text(driving.seismicKv) + ", theta = atan(kh / (1 - kv)) = " +
                                    Text(SeismicInertiaAngle(driving.seismicKh, driving.seismicKv)) +
                                    " rad; the increment (1 - kv) K_AE - K_AE(0) is added to the static pressure "
                                    "of each layer with phi > 0.");
        for (const std::string& warning : loads.warnings) result.warnings.push_back(warning);
        if (input.pressureMode >= kTriangularPressure) {
            const TSoilOptions& o = input.soil;
            for (std::string& warning : WallFrictionWarnings(o.pressureMethod, o.frictionActive, o.frictionPassive))
                result.warnings.push_back(std::move(warning));
            if (std::string model = EarthPressureModelText(o.pressureMethod, o.frictionActive, o.frictionPassive);
                !model.empty())
                result.models.push_back(std::move(model));
            if (seepage.Flows())
                result.models.push_back("Steady seepage round the toe (simplified method): gradient i = " +
                                        Text(seepage.gradient) + "; the pore pressure is gamma_w (z - h)(1 - i) "
                                        "behind and gamma_w (z - h)(1 + i) in front.");
            if (o.netPressureBelowExcavation)
                result.models.push_back("Below the excavation level the driving pressure is the retained side's active "
                                        "pressure less the excavation side's own, held at 0 or more "
                                        "(NetPressureBelowExcavation 1).");
        }
        for (int i = 0; i <= n; ++i) beam.w[static_cast<size_t>(i)] = loads.nodeLineLoad[static_cast<size_t>(i)];
        const int step = std::max(1, (n + 500) / 500);  // at most 501 pressure records
        result.pressures.reserve(static_cast<size_t>(n / step + 1));
        for (int i = 0; i <= n; i += step)
            result.pressures.push_back({i * h, loads.lineLoad[static_cast<size_t>(i)],
                                        loads.soilLineLoad[static_cast<size_t>(i)],
                                        loads.surchargeLineLoad[static_cast<size_t>(i)]});

        const TNodeSoils soils = NodeSoils(input, result.warnings, result.models);
        if (const TDrivingBeyondResistance beyond = DrivingBeyondResistance(input, soils, loads.lineLoad); beyond.found)
            result.warnings.push_back(DrivingBeyondResistanceText(input, beyond));
        if (!HasSupport(input, soils))
            throw std::invalid_argument(
                "The wall is not supported: no soil resistance, spring or restraint holds it. Check the "
                "excavation level, the soil layers and the p-y options.");
        RequireFiniteModel(beam);

        // The soil's nonlinearity by iteration: each node's soil force is made linear about the
        // last deflection and the wall solved again, until the deflections stop changing.
        // Newton: the tangent of the curve where it rises (the steps then shrink quadratically);
        // the secant through the origin where the curve softens or is flat, at external curves,
        // for a step after a Newton step that did not reduce the out-of-balance soil force, and
        // for good after three such steps or 200 iterations.
        const size_t count = static_cast<size_t>(n + 1);
        for (size_t s = 0; s < count; ++s) beam.Es[s] = soils[s].InitialSlope();
        beam.soilForce0.assign(count, 0.0);
        std::vector<double> previous(count, 0.0), secants(count, 0.0), tangents(count, 0.0);
        TBeamSolver solver(beam);
        const TBeamResult* solved = nullptr;
        // A wall that has moved more than its own length is past any sound answer, whatever
        // the allowable deflection says.
        const double limit = std::min(input.maxDeflection, n * h);
        double lastResidual = std::numeric_limits<double>::infinity();
        int failedNewtonSteps = 0;
        bool newtonStep = false;
        result.outcome = TOutcome::NotConverged;
        for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
            RequireFinite(beam.Es, "soil modulus");
            const TBeamResult* next = solver.Solve(beam);
            if (!next) {
                if (iteration == 1)
                    throw std::invalid_argument(
                        "The wall's equations cannot be solved: it is not held against movement or rotation, "
                        "or the input holds numbers too large to compute with. Check the soils, springs, "
                        "restraints and loads.");
                // The soil gave way until nothing held the wall any more.
                result.outcome = TOutcome::DeflectionExceeded;
                result.message = "The soil cannot hold the wall: its resistance ran out while the deflection grew.";
                break;
            }
            RequireFinite(next->y, "deflection");
            solved = next;
            result.iterations = iteration;
            double change = 0, largest = 0;
            for (size_t s = 0; s < count; ++s) {
                change = std::max(change, std::fabs(solved->y[s] - previous[s]));
                largest = std::max(largest, std::fabs(solved->y[s]));
            }
            std::copy(solved->y.begin(), solved->y.end(), previous.begin());
            if (largest > limit) {
                result.outcome = TOutcome::DeflectionExceeded;
                result.message = "The largest deflection " + Text(largest) + " exceeds " +
                                 (limit < input.maxDeflection ? "the wall length " : "the maximum allowable ") +
                                 Text(limit) + ".";
                break;
            }
            if (iteration > 1 && change < input.tolerance) {
                result.outcome = TOutcome::Converged;
                break;
            }
            // The curves' forces at the new deflections against the linear forces the solve
            // balanced: what is left out of balance.
            double residual = 0;
            for (size_t s = 0; s < count; ++s) {
                const double y = solved->y[s];
                const TPyCurve::TLinear linear = soils[s].SecantAndTangent(y);
                secants[s] = linear.secant;
                tangents[s] = linear.tangent;
                residual = std::max(residual, std::fabs(secants[s] * y - solved->reaction[s]));
            }
            const bool failed = newtonStep && !(residual < lastResidual);
            if (failed) ++failedNewtonSteps;
            lastResidual = residual;
            newtonStep = !failed && failedNewtonSteps < 3 && iteration < 200;
            // Damped late in a long run so that softening curves settle.
            const double relax = iteration > 200 ? 0.5 : 1.0;
            for (size_t s = 0; s < count; ++s) {
                const double y = solved->y[s];
                if (newtonStep && soils[s].kind == TNodeSoil::Kind::Generated) {
                    const double tangent = tangents[s];
                    if (tangent > 0 && std::isfinite(tangent)) {
                        beam.Es[s] = tangent;
                        beam.soilForce0[s] = (secants[s] - tangent) * y;
                        continue;
                    }
                }
                beam.Es[s] = relax * secants[s] + (1 - relax) * beam.Es[s];
                beam.soilForce0[s] = 0;
            }
            UpdateMomentEI(input, beam, solved->moment);
        }
        for (const auto* column : {&solved->y, &solved->moment, &solved->shear, &solved->reaction,
                                   &solved->restraintForce, &solved->restraintMoment})
            RequireFinite(*column, "solution");

        // Results per node.
        double yReach = 0;
        std::vector<double> reaction(static_cast<size_t>(n + 1)), load(static_cast<size_t>(n + 1));
        result.nodes.reserve(static_cast<size_t>(n + 1));
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
            // between the two visible). It is the node's share: the node at the excavation
            // level carries its lower half segment only.
            node.reaction = solved->reaction[s];
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
            std::string limitText;
            // Only strong rock has a deflection limit to warn of.
            for (const TNodeSoil::TPart& part : node.parts)
                if (limitText.empty() && part.soil.type == TPyCriterion::StrongRock)
                    limitText = PyLimitWarning(part.soil, result.nodes[static_cast<size_t>(i)].y / node.ym);
            if (!limitText.empty()) {
                result.warnings.push_back("Node " + std::to_string(i) + ": " + limitText);
                break;  // once per case is enough to say it
            }
        }
        // A wall that does not move at all has no deflection to measure the tolerance against
        // (a new wall, before earth pressure or loads are switched on, is such a wall).
        if (result.outcome == TOutcome::Converged && yReach == 0)
            result.warnings.push_back("The wall does not move: every deflection is zero. If it should carry loads, check "
                                      "the earth pressure options, the surcharges and the concentrated loads.");
        else if (result.outcome == TOutcome::Converged && input.tolerance > 1e-3 * yReach)
            result.warnings.push_back("The closure tolerance " + Text(input.tolerance) +
                                      " is more than 1/1000 of the largest deflection " + Text(yReach) +
                                      ": it is coarse for this wall and the results may be off by several per cent. "
                                      "Use a tolerance of " + Text(1e-3 * yReach) + " or less.");

        // Equilibrium of forces and of moments about the top, by the trapezoid rule, with the
        // springs, the restraint reactions and the axial loads' lever arms.
        const TEquilibrium balance = Balance(beam, *solved, load, reaction);
        result.forceResidual = balance.force;
        result.momentResidual = balance.moment;
        result.largestLoad = balance.largestLoad;
        result.largestMoment = balance.largestMoment;
        result.equilibriumChecked = true;
        result.netLoad = balance.netLoad;
        result.supports = SupportForces(beam, *solved, input.activeWidth);
        result.input = std::move(input);
    } catch (const std::invalid_argument& error) {
        result.outcome = TOutcome::InputError;
        result.message = error.what();
        result.nodes.clear();
    }
    if (result.outcome != TOutcome::InputError && !ResultsFinite(result)) {
        // Never shown as an answer: a number that is not finite is no result.
        result.outcome = TOutcome::NotConverged;
        result.message = "The results hold numbers that are not finite (the computation overflowed), so none "
                         "are given. Check the input for values far outside their usual range.";
        result.nodes.clear();
        result.pressures.clear();
        result.pyCurves.clear();
    }
    return result;
}

namespace {

// Reads one block (a data file's first block, or a stage) into a workspace; a read error ends
// the case with its message.
// `linesBefore` are the lines of the data file before the block, so that a message names the
// line of the whole file.
TWallInput ReadBlock(TWorkspace& workspace, std::string_view text, TTerm term, size_t linesBefore,
                     const std::function<void(TWorkspace&)>& edit) {
    std::string readError;
    CreateEmptyProject(workspace);  // as a new workspace: a stage is read on top of what it holds
    workspace.ShowInformation = [&](const std::string& message) { readError = message; };
    ReadStageFileText(workspace, text, "block", linesBefore);
    workspace.ShowInformation = nullptr;
    if (!readError.empty()) {
        std::string message = readError;
        std::replace(message.begin(), message.end(), '\r', ' ');
        throw std::invalid_argument("The data file cannot be read: " + message);
    }
    if (edit) edit(workspace);
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

// A stage carries the deflections it ends with into the next; in other units they would be
// read wrongly, and the graphs would draw both under one caption.
std::string MixedUnitsMessage(int stageUnits, int fileUnits) {
    const auto name = [](int code) {
        return code == 1 ? std::string("English") : code == 2 ? std::string("SI") : std::string("Other");
    };
    return "This stage is in " + name(stageUnits) + " units and stage 1 in " + name(fileUnits) +
           " units: every stage must be in the same units. Choose the units again in TORVEX "
           "(Options, Units), which converts every stage, or convert the file with torvex-convert.";
}

}  // namespace

namespace {

// A case or stage as read from the file, before it is analysed: its input, or why there is none.
struct TCaseInput {
    std::string label;
    bool staged = false;
    std::optional<TWallInput> input;
    std::string error;
    bool missing = false;  // a stage the file holds no input for
};

// Changes a case's input before it is analysed (raising std::invalid_argument for a case it
// cannot apply to), and adds the answers to its results.
using TPrepare = std::function<void(TWallInput& input, size_t index)>;
using TAnswer = std::function<void(TCaseResult& result, size_t index)>;

// Analyses the cases in order. A lateral spring that first appears in a stage acts on the
// change of deflection since the stage before, in that stage and in every later one while it
// stays: it carries no force for the deflection the wall had when it went in.
std::vector<TCaseResult> RunSequence(std::vector<TCaseInput> inputs, const TProjectOptions& options,
                                     const TPrepare& prepare, const TAnswer& answer) {
    std::vector<TCaseResult> results;
    std::vector<double> previousY, previousSprings, previousOffsets;
    // Every support force of the stages so far, for the largest each support has carried.
    std::vector<TSupportForce> supportHistory;
    for (size_t index = 0; index < inputs.size(); ++index) {
        TCaseInput& in = inputs[index];
        try {
            if (in.missing || !in.input) throw std::invalid_argument(in.error);
            TWallInput input = std::move(*in.input);
            if (prepare) prepare(input, index);
            const std::vector<double> springs = input.beam.kLateral;
            const bool hasSprings = std::any_of(springs.begin(), springs.end(), [](double k) { return k != 0; });
            if (in.staged && previousY.size() == springs.size()) {
                for (size_t i = 0; i < springs.size(); ++i)
                    if (springs[i] != 0)
                        input.beam.springOffset[i] = previousSprings[i] != 0 ? previousOffsets[i] : previousY[i];
            } else if (in.staged && !results.empty() && hasSprings) {
                // Without the deflections of the stage before, a strut of this stage would seem to
                // have been in place from the start: say so rather than pass it over.
                input.warnings.push_back(
                    std::string(previousY.empty() ? "The stage before has no results"
                                                  : "The stage before has another number of nodes") +
                    ": the springs of this stage carry force from zero deflection, as if installed before "
                    "any excavation, not from the deflection the wall had when they went in.");
            }
            input.soil = SoilOptions(options);
            const std::vector<double> offsets = input.beam.springOffset;
            TCaseResult result = AnalyzeCase(std::move(input), in.label);
            answer(result, index);
            if (in.staged) {
                CarryLargestSoFar(result.supports, supportHistory);
                supportHistory.insert(supportHistory.end(), result.supports.begin(), result.supports.end());
            }
            previousY.clear();
            for (const TNodeResult& node : result.nodes) previousY.push_back(node.y);
            previousSprings = springs;
            previousOffsets = offsets;
            results.push_back(std::move(result));
        } catch (const std::invalid_argument& error) {
            // A stage that cannot be read or analysed leaves no deflections for the next one; a
            // stage that is missing altogether leaves those of the stage before.
            if (!in.missing) previousY.clear();
            TCaseResult failed;
            failed.label = in.label;
            failed.outcome = TOutcome::InputError;
            failed.message = error.what();
            results.push_back(std::move(failed));
        }
    }
    return results;
}

// Design effects: moments, shears and support forces times the factor.
void FactorEffects(TCaseResult& result, double factor) {
    if (factor == 1) return;
    for (TNodeResult& node : result.nodes) {
        node.moment *= factor;
        node.shear *= factor;
    }
    for (TSupportForce& support : result.supports) {
        support.force *= factor;
        support.perLength *= factor;
        support.largestSoFar *= factor;
    }
    result.le.supportForce *= factor;
    result.le.requiredSupportForce *= factor;
}

// Every combination of the file's design code, each over the whole sequence of cases; the
// plain cases are the SLS combination.
void AnalyzeCombinations(TFileAnalysis& file, const std::vector<TCaseInput>& inputs) {
    const TProjectOptions& options = file.options;
    file.code.resize(file.cases.size());
    for (const TCombination combination : CombinationsOf(options.DesignCode)) {
        if (combination == TCombination::SLS) {
            for (size_t i = 0; i < file.cases.size(); ++i) {
                TCombinationResult sls;
                sls.combination = combination;
                sls.formationDepth = file.cases[i].input.freeHeight;
                sls.result = file.cases[i];
                sls.applies = sls.result.outcome != TOutcome::InputError;
                file.code[i].combinations.push_back(std::move(sls));
            }
            continue;
        }
        const TCombinationFactors factors = FactorsOf(combination, options);
        std::vector<TCombinationResult> entries(inputs.size());
        const auto prepare = [&](TWallInput& input, size_t index) {
            TCombinationResult& entry = entries[index];
            entry.combination = combination;
            entry.factors = factors;
            std::vector<std::string> notes;
            try {
                input = CombinationInput(std::move(input), combination, options, notes);
            } catch (const std::invalid_argument&) {
                entry.applies = false;
                throw;
            }
            entry.formationDepth = input.freeHeight;
            for (std::string& note : notes) input.warnings.push_back(std::move(note));
        };
        const auto answer = [&](TCaseResult& result, size_t) {
            if (result.outcome == TOutcome::InputError) return;
            result.le = AnalyzeLimitEquilibrium(result.input, 1.0, factors.earthResistance);
            FactorEffects(result, factors.effects);
            AddChecks(result, 0, 0, 0);
        };
        std::vector<TCaseResult> results = RunSequence(inputs, options, prepare, answer);
        for (size_t i = 0; i < results.size() && i < file.code.size(); ++i) {
            entries[i].combination = combination;
            entries[i].factors = factors;
            entries[i].result = std::move(results[i]);
            if (!entries[i].applies)
                entries[i].result.warnings.push_back(std::string(CombinationName(combination)) +
                                                     " does not apply: " + entries[i].result.message);
            file.code[i].combinations.push_back(std::move(entries[i]));
        }
    }
    for (size_t i = 0; i < file.code.size(); ++i) {
        BuildEnvelope(file.code[i]);
        ApplyEnvelopeChecks(file.cases[i], file.code[i].envelope, options);
    }
}

}  // namespace

TFileAnalysis AnalyzeDataText(const std::string& text, const std::string& dataFile, const TInputEdit& edit) {
    const auto started = std::chrono::steady_clock::now();
    TFileAnalysis file;
    file.dataFile = dataFile;
    const TPooledWorkspace pooled;
    TWorkspace& workspace = *pooled;
    try {
        ReadDataFileText(workspace, text, dataFile, 1);
    } catch (const std::exception& error) {
        std::string message = error.what();
        std::replace(message.begin(), message.end(), '\r', ' ');
        file.error = "The data file cannot be read: " + message;
        return file;
    }
    if (edit) {
        try {
            edit(workspace, 0);
        } catch (const std::invalid_argument& error) {
            file.error = error.what();
            return file;
        }
    }
    file.title = workspace.Project().Title;
    file.options = workspace.Project().Options;
    const int stages = workspace.Project().StageCount;
    const int fileUnits = workspace.Project().UnitSystem;  // those of stage 1
    const bool longTerm = workspace.Project().LongTermMarker == 9;

    // Every case's input first: the combinations of a design code each analyse them all.
    std::vector<TCaseInput> inputs;
    const auto read = [&](TCaseInput& in, const std::function<TWallInput()>& build) {
        try {
            in.input = build();
        } catch (const std::invalid_argument& error) {
            in.error = error.what();
        }
    };
    if (stages > 1) {
        const auto parts = StageParts(text);
        for (int k = 1; k <= stages; ++k) {
            TCaseInput& in = inputs.emplace_back();
            in.label = "Stage " + std::to_string(k);
            in.staged = true;
            if (static_cast<size_t>(k) > parts.size()) {
                in.missing = true;
                in.error = "The data file holds no input for this stage.";
                continue;
            }
            const std::string_view part = parts[static_cast<size_t>(k - 1)];
            // A stage is read on its own, and its messages name the line of the whole file.
            read(in, [&] {
                TPooledWorkspace stageSpace;
                TWallInput input = ReadBlock(*stageSpace, part, TTerm::Short,
                                             LinesBefore(text, static_cast<size_t>(part.data() - text.data())),
                                             [&](TWorkspace& stageWorkspace) {
                                                 if (edit) edit(stageWorkspace, k);
                                             });
                if (input.unitCode != fileUnits)
                    throw std::invalid_argument(MixedUnitsMessage(input.unitCode, fileUnits));
                return input;
            });
        }
    } else {
        TCaseInput& first = inputs.emplace_back();
        first.label = longTerm ? "Short-Term" : "Analysis";
        read(first, [&] { return BuildWallInput(workspace, TTerm::Short); });
        if (longTerm) {
            TCaseInput& second = inputs.emplace_back();
            second.label = "Long-Term";
            read(second, [&] { return BuildWallInput(workspace, TTerm::Long); });
        }
    }

    const bool code = file.options.DesignCode != TDesignCode::None;
    const TProjectOptions& options = file.options;
    const auto sls = [&](TWallInput& input, size_t) {
        std::vector<std::string> notes;
        input = CombinationInput(std::move(input), TCombination::SLS, options, notes);
    };
    file.cases = RunSequence(code ? inputs : std::move(inputs), options, code ? TPrepare(sls) : TPrepare(),
                             [&](TCaseResult& result, size_t) { AddDesignAnswers(result, options); });
    if (code) AnalyzeCombinations(file, inputs);
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
