#include "soil/DrivingLoads.h"

#include "soil/EarthPressureCoefficients.h"
#include "soil/SeismicPressure.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace torvex::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) { return degrees * kPi / 180.0; }
double PositivePart(double value) { return value > 0 ? value : 0; }

std::string Number(double value) {
    std::ostringstream text;
    text << std::setprecision(6) << value;
    return text.str();
}

[[noreturn]] void Fail(const std::string& message) { throw std::invalid_argument(message); }

TSeepage SeepageOf(const DrivingLoadInput& in) {
    TSeepage s;
    s.gradient = in.seepageGradient;
    s.waterBack = in.waterDepthBackfill;
    s.waterFront = in.waterDepthExcavation;
    s.gammaWater = in.waterUnitWeight;
    return s;
}

// The net water pressure at x: hydrostatic on both sides, or with the seepage's pore pressures.
double WaterAt(const DrivingLoadInput& in, double x) {
    if (in.seepageGradient != 0) return SeepageOf(in).NetWater(x);
    return NetWaterPressure(x, in.waterDepthBackfill, in.waterDepthExcavation, in.waterUnitWeight);
}

// The effective vertical stress behind at x without q, with what seepage adds.
double BehindStress(const DrivingLoadInput& in, double x) {
    const double stress = VerticalEffectiveStress(x, in.layers, 0.0, in.waterDepthBackfill, in.waterUnitWeight);
    return in.seepageGradient != 0 ? stress + SeepageOf(in).BehindStressGain(x) : stress;
}

void RequireFinite(double value, const std::string& what) {
    if (!std::isfinite(value)) Fail(what + " is not a finite number.");
}

// For checks on every node or row: the name is made only for a number that fails.
template <typename Name>
void RequireFiniteNamed(double value, Name name) {
    if (!std::isfinite(value)) Fail(name() + " is not a finite number.");
}

const char* CriterionName(int criterion) {
    switch (criterion) {
        case kSoftClay: return "soft clay";
        case kStiffClayWithFreeWater: return "stiff clay with free water";
        case kStiffClayWithoutFreeWater: return "stiff clay without free water";
        case kSand: return "sand";
        case kSilt: return "silt";
        case kStrongRock: return "strong rock";
        case kWeakRock: return "weak rock";
        default: return "unknown soil";
    }
}

bool IsClay(int criterion) {
    return criterion >= kSoftClay && criterion <= kStiffClayWithoutFreeWater;
}
bool IsRock(int criterion) { return criterion == kStrongRock || criterion == kWeakRock; }

std::string LayerLabel(std::size_t index, int criterion) {
    return "Soil layer " + std::to_string(index + 1) + " (" + CriterionName(criterion) + ")";
}

// The constants of a layer's active pressure once its criterion's rules are applied.
struct ActiveLayer {
    bool pushes = false;  // rock puts no active pressure on the wall
    double ka = 0;
    // deg, the slope the pressure takes as cos beta: Rankine's; 0 where phi < |beta| and for
    // Coulomb's and Annex C's coefficients, which are horizontal already.
    double slope = 0;
    double cohesion = 0;
    double seismic = 0;  // Mononobe-Okabe increment Delta K on sigma_v'
};

// How a side's active coefficient is found: the method and delta / phi.
struct ActiveMethod {
    TEarthPressureMethod method = TEarthPressureMethod::Rankine;
    double wallFriction = 0;
};

ActiveLayer MakeActiveLayer(const SoilLayer& layer, std::size_t index, double slope, bool used,
                            std::vector<std::string>& warnings, double kh = 0, double kv = 0,
                            ActiveMethod how = {}) {
    ActiveLayer active;
    if (IsRock(layer.criterion)) return active;
    const bool clay = IsClay(layer.criterion);
    const double phi = clay ? 0.0 : layer.frictionAngle;
    active.pushes = true;
    active.cohesion = layer.criterion == kSand ? 0.0 : layer.cohesion;
    // Coulomb and Annex C for a layer with friction; a layer without keeps Ka = 1 (Rankine's).
    const bool rankine = how.method == TEarthPressureMethod::Rankine || !(phi > 0);
    active.slope = phi < std::fabs(slope) && rankine ? 0.0 : slope;
    if (rankine) {
        active.ka = RankineActiveCoefficient(phi, active.slope);
    } else {
        try {
            active.ka = ActiveEarthPressureCoefficient(how.method, phi, how.wallFriction * phi, slope);
        } catch (const std::invalid_argument& error) {
            Fail(LayerLabel(index, layer.criterion) + ": " + error.what());
        }
    }
    const bool seismic = kh != 0 || kv != 0;
    if (seismic && phi > 0) {
        try {
            active.seismic = SeismicIncrement(phi, active.slope, kh, kv);
        } catch (const std::invalid_argument& error) {
            Fail(LayerLabel(index, layer.criterion) + ": " + error.what());
        }
    }
    const bool slopeDropped = active.slope != slope;
    if (!rankine) active.slope = 0;
    if (!used) return active;
    if (seismic && !(phi > 0))
        warnings.push_back(LayerLabel(index, layer.criterion) +
                           ": phi = 0, so Mononobe-Okabe gives it no seismic increment; its active "
                           "pressure is the static one.");
    if (clay)
        warnings.push_back(LayerLabel(index, layer.criterion) +
                           ": taken as undrained with phi = 0, so Ka = 1.");
    if (slopeDropped)
        warnings.push_back(LayerLabel(index, layer.criterion) + ": its friction angle " +
                           Number(phi) + " deg is less than the backfill slope " +
                           Number(std::fabs(slope)) +
                           " deg; the slope is taken as 0 for this layer.");
    return active;
}

void ValidateNodes(const std::vector<double>& nodes) {
    if (nodes.size() < 2) Fail("The wall needs at least two nodes (one increment).");
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        RequireFiniteNamed(nodes[i], [i] { return "The depth of node " + std::to_string(i); });
        if (i == 0 ? nodes[i] < 0 : nodes[i] <= nodes[i - 1])
            Fail("Node depths must start at or below the wall top and increase; node " +
                 std::to_string(i) + " is at " + Number(nodes[i]) + ".");
    }
}

void ValidateGenerated(const DrivingLoadInput& in) {
    RequireFinite(in.freeHeight, "The free height");
    RequireFinite(in.waterDepthBackfill, "The water depth on the backfill side");
    RequireFinite(in.waterDepthExcavation, "The water depth on the excavation side");
    RequireFinite(in.waterUnitWeight, "The unit weight of water");
    RequireFinite(in.backfillSurcharge, "The backfill surcharge");
    RequireFinite(in.backfillSlope, "The backfill slope");
    RequireFinite(in.pressureFactor, "The modification factor for active earth pressure");
    RequireFinite(in.activeWidth, "The active width");
    RequireFinite(in.seepageGradient, "The seepage gradient");
    if (in.seepageGradient < 0 || in.seepageGradient >= 1)
        Fail("The seepage gradient must lie from 0 up to (not including) 1.");
    if (in.freeHeight < 0) Fail("The free height must not be negative.");
    if (in.waterDepthBackfill < 0 || in.waterDepthExcavation < 0)
        Fail("Water depths are measured down from the wall top and must not be negative.");
    if (in.waterUnitWeight < 0) Fail("The unit weight of water must not be negative.");
    if (in.backfillSurcharge < 0) Fail("The backfill surcharge must not be negative.");
    if (!(std::fabs(in.backfillSlope) < 90))
        Fail("The backfill slope must lie between -90 and 90 deg.");
    if (!(in.pressureFactor > 0))
        Fail("The modification factor for active earth pressure must be positive.");
    if (!(in.activeWidth > 0))
        Fail("The active width must be positive for generated earth pressures.");
    if (in.layers.empty()) Fail("Generated earth pressures need at least one soil layer.");

    const double extent = std::max(in.nodeDepths.back(), in.freeHeight);
    double top = 0;
    for (std::size_t i = 0; i < in.layers.size() * 2; ++i) {
        // Each layer twice: its values at the top, then at the bottom.
        const SoilLayer& given = in.layers[i / 2];
        const SoilLayer layer = i % 2 == 0 ? given : LayerValuesAt(given, top, given.bottom);
        const std::string label = "Soil layer " + std::to_string(i / 2 + 1) + (i % 2 == 0 ? "" : " (bottom)");
        RequireFinite(layer.bottom, label + ": the bottom depth");
        RequireFinite(layer.unitWeight, label + ": the unit weight");
        RequireFinite(layer.cohesion, label + ": the cohesion");
        RequireFinite(layer.frictionAngle, label + ": the friction angle");
        if (layer.criterion < kSoftClay || layer.criterion > kWeakRock)
            Fail(label + ": soil criterion " + std::to_string(layer.criterion) +
                 " is not one of 1 to 7.");
        if (layer.bottom <= top)
            Fail(label + ": its bottom (" + Number(layer.bottom) + ") must lie below its top (" +
                 Number(top) + ").");
        if (!(layer.unitWeight > 0)) Fail(label + ": the unit weight must be positive.");
        // Only the strength parameters the criterion uses are checked.
        const bool usesPhi = layer.criterion == kSand || layer.criterion == kSilt;
        const bool usesC = IsClay(layer.criterion) || layer.criterion == kSilt;
        if (usesC && layer.cohesion < 0) Fail(label + ": the cohesion must not be negative.");
        if (usesPhi && (layer.frictionAngle < 0 || layer.frictionAngle >= 90))
            Fail(label + ": the friction angle must lie from 0 up to 90 deg.");
        // The part of the layer below the water table that matters to the wall.
        const double bottom = i / 2 + 1 == in.layers.size() ? extent : std::min(layer.bottom, extent);
        if (bottom > std::max(top, in.waterDepthBackfill) && layer.unitWeight < in.waterUnitWeight)
            Fail(label + ": its unit weight " + Number(layer.unitWeight) +
                 " is less than that of water (" + Number(in.waterUnitWeight) +
                 ") below the water table, which would make its effective unit weight negative.");
        if (i % 2 == 1) top = layer.bottom;
    }
    for (std::size_t i = 0; i < in.surcharges.size(); ++i) {
        const SurchargeLoad& load = in.surcharges[i];
        const std::string label = "Surcharge load " + std::to_string(i + 1);
        RequireFinite(load.magnitude, label + ": the magnitude");
        RequireFinite(load.distance, label + ": the distance X");
        RequireFinite(load.width, label + ": the width W");
        if (load.type < kPointLoad || load.type > kStripLoad)
            Fail(label + ": load type " + std::to_string(load.type) +
                 " is not 1 (point), 2 (line) or 3 (strip).");
        if (load.distance < 0) Fail(label + ": the distance X from the wall must not be negative.");
        if (load.type == kStripLoad && load.width < 0)
            Fail(label + ": the strip width W must not be negative.");
    }
}

void ValidateUserTable(const std::vector<DistributedLoadPoint>& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto label = [i] { return "Distributed load row " + std::to_string(i + 1); };
        RequireFiniteNamed(table[i].depth, [&] { return label() + ": the depth"; });
        RequireFiniteNamed(table[i].lineLoad, [&] { return label() + ": the line load"; });
        if (i > 0 && table[i].depth < table[i - 1].depth)
            Fail(label() + ": the depths of the distributed load table must not decrease.");
    }
}

// The generated pressures of modes 2 and 3 at any depth.
class GeneratedPressure {
public:
    GeneratedPressure(const DrivingLoadInput& in, std::vector<std::string>& warnings)
        : in_(in),
          how_{in.pressureMethod, in.wallFriction},
          tipDepth_(in.nodeDepths.back()),
          tolerance_(1e-9 * std::max(in.nodeDepths.back(), in.freeHeight)) {
        const double extent = std::max(tipDepth_, in.freeHeight);
        double top = 0;
        for (std::size_t i = 0; i < in.layers.size(); ++i) {
            const SoilLayer& layer = in.layers[i];
            tops_.push_back(top);
            // The warnings from the end with the smaller friction angle.
            const SoilLayer atBottom = LayerValuesAt(layer, top, layer.bottom);
            const SoilLayer& weaker = atBottom.frictionAngle < layer.frictionAngle ? atBottom : layer;
            MakeActiveLayer(weaker, i, in.backfillSlope, top < extent - tolerance_, warnings, in.seismicKh,
                            in.seismicKv, how_);
            active_.push_back(
                MakeActiveLayer(layer, i, in.backfillSlope, false, warnings, in.seismicKh, in.seismicKv, how_));
            // The excavation side's: level ground, static.
            if (in.netBelowExcavation) front_.push_back(MakeActiveLayer(layer, i, 0, false, warnings, 0, 0, how_));
            top = layer.bottom;
        }
        if (in.netBelowExcavation)
            frontBase_ = VerticalEffectiveStress(in.freeHeight, in.layers, 0.0, in.waterDepthExcavation,
                                                 in.waterUnitWeight);
        const bool trapezoid = in.pressureMode == kTrapezoidalPressure;
        if (trapezoid && in.freeHeight > 0)
            apparent_ = ApparentPressure(ActiveResultant(in.freeHeight), in.freeHeight);
        envelope_ = trapezoid && in.freeHeight > 0;
    }

    // Unfactored soil pressure (without water and without q) and the increase q causes,
    // taken from just above or just below x.
    std::pair<double, double> At(double x, bool fromAbove) const {
        const std::size_t index = fromAbove ? LayerAbove(x) : LayerBelow(x);
        const ActiveLayer layer = ActiveAt(index, x);
        double soil = 0;
        double fromSurcharge = 0;
        if (layer.pushes) {
            const double stress = BehindStress(in_, x);
            // The seismic increment rides on the static pressure, which keeps its tension cut.
            soil = ActiveHorizontalPressure(layer.ka, layer.slope, stress, layer.cohesion) + layer.seismic * stress;
            fromSurcharge =
                ActiveHorizontalPressure(layer.ka, layer.slope, stress + in_.backfillSurcharge,
                                         layer.cohesion) +
                layer.seismic * (stress + in_.backfillSurcharge) - soil;
        }
        const double level = in_.freeHeight;
        if (envelope_ && (fromAbove ? x <= level + tolerance_ : x < level - tolerance_))
            soil = apparent_ * ApparentEnvelopeShape(x, level);
        if (in_.netBelowExcavation && x > level) {
            // The excavation side's active pressure comes off the whole; the surcharge keeps
            // what it adds to the net, so that the parts still add up.
            const double front = FrontActive(index, x);
            const double net = PositivePart(soil + fromSurcharge - front);
            soil = PositivePart(soil - front);
            fromSurcharge = net - soil;
        }
        return {soil, fromSurcharge};
    }

    double SurchargeLoads(double x) const {
        const double height = in_.freeHeight > 0 ? in_.freeHeight : tipDepth_;
        double pressure = 0;
        for (const SurchargeLoad& load : in_.surcharges) {
            if (load.type == kPointLoad)
                pressure += PointLoadPressure(load.magnitude, load.distance, x, height);
            if (load.type == kLineLoad)
                pressure += LineLoadPressure(load.magnitude, load.distance, x, height);
            if (load.type == kStripLoad)
                pressure += StripLoadPressure(load.magnitude, load.distance, load.width, x);
        }
        return pressure;
    }

private:
    // The constants of layer `index` at depth x: its own unless its parameters vary.
    ActiveLayer ActiveAt(std::size_t index, double x) const {
        const SoilLayer& layer = in_.layers[index];
        if (!LayerVaries(layer)) return active_[index];
        std::vector<std::string> quiet;
        return MakeActiveLayer(LayerValuesAt(layer, tops_[index], x), index, in_.backfillSlope, false, quiet,
                               in_.seismicKh, in_.seismicKv, how_);
    }

    // The excavation side's active pressure at x below the excavation level.
    double FrontActive(std::size_t index, double x) const {
        const SoilLayer& layer = in_.layers[index];
        std::vector<std::string> quiet;
        const ActiveLayer front = LayerVaries(layer)
                                      ? MakeActiveLayer(LayerValuesAt(layer, tops_[index], x), index, 0, false,
                                                        quiet, 0, 0, how_)
                                      : front_[index];
        if (!front.pushes) return 0;
        double stress =
            VerticalEffectiveStress(x, in_.layers, 0.0, in_.waterDepthExcavation, in_.waterUnitWeight) - frontBase_;
        if (in_.seepageGradient != 0)
            stress = PositivePart(stress - SeepageOf(in_).FrontStressLoss(x, in_.freeHeight));
        return ActiveHorizontalPressure(front.ka, front.slope, stress, front.cohesion);
    }

    // The layer holding the soil just above x (a layer owns its bottom) or just below x.
    std::size_t LayerAbove(double x) const {
        for (std::size_t i = 0; i < in_.layers.size(); ++i)
            if (in_.layers[i].bottom >= x - tolerance_) return i;
        return in_.layers.size() - 1;
    }
    std::size_t LayerBelow(double x) const {
        for (std::size_t i = 0; i < in_.layers.size(); ++i)
            if (in_.layers[i].bottom > x + tolerance_) return i;
        return in_.layers.size() - 1;
    }

    // R_a: the exact integral over 0..height of the soil pressure without q. Within each piece
    // between layer boundaries and the water table the raw pressure is linear, so only its
    // positive part (the tension cut) needs care.
    double ActiveResultant(double height) const {
        std::vector<double> cuts{0.0, height};
        for (const SoilLayer& layer : in_.layers)
            if (layer.bottom < height) cuts.push_back(layer.bottom);
        if (in_.waterDepthBackfill > 0 && in_.waterDepthBackfill < height)
            cuts.push_back(in_.waterDepthBackfill);
        std::sort(cuts.begin(), cuts.end());
        double resultant = 0;
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double a = cuts[k];
            const double b = cuts[k + 1];
            if (b <= a) continue;
            const std::size_t index = LayerAbove(0.5 * (a + b));
            if (!active_[index].pushes) continue;
            if (LayerVaries(in_.layers[index])) {
                // Unit weight, strength and Ka change with depth: Gauss on 64 slices.
                const double g = std::sqrt(0.6), slice = (b - a) / 64;
                for (int k = 0; k < 64; ++k) {
                    const double mid = a + (k + 0.5) * slice;
                    for (const auto& [offset, weight] : {std::pair{-g, 5.0 / 9}, {0.0, 8.0 / 9}, {g, 5.0 / 9}})
                        resultant += 0.5 * slice * weight * At(mid + offset * 0.5 * slice, true).first;
                }
                continue;
            }
            const ActiveLayer& layer = active_[index];
            const auto raw = [&](double x) {
                const double stress = BehindStress(in_, x);
                return layer.ka * stress * std::cos(Radians(layer.slope)) -
                       2 * layer.cohesion * std::sqrt(layer.ka);
            };
            const double ra = raw(a);
            const double rb = raw(b);
            if (layer.seismic != 0) {
                // The increment is linear in the stress and has no cut.
                const auto stress = [&](double x) { return BehindStress(in_, x); };
                resultant += layer.seismic * 0.5 * (stress(a) + stress(b)) * (b - a);
            }
            if (ra >= 0 && rb >= 0)
                resultant += 0.5 * (ra + rb) * (b - a);
            else if (ra > 0 || rb > 0) {
                const double crossing = ra / (ra - rb);  // fraction of the piece where raw = 0
                resultant +=
                    ra > 0 ? 0.5 * ra * crossing * (b - a) : 0.5 * rb * (1 - crossing) * (b - a);
            }
        }
        return resultant;
    }

    const DrivingLoadInput& in_;
    ActiveMethod how_;
    double tipDepth_;
    double tolerance_;
    std::vector<ActiveLayer> active_;
    std::vector<ActiveLayer> front_;  // the excavation side's, with netBelowExcavation
    double frontBase_ = 0;            // its effective stress at the excavation level
    std::vector<double> tops_;
    bool envelope_ = false;
    double apparent_ = 0;
};

void AddGeneratedWarnings(const DrivingLoadInput& in, std::vector<std::string>& warnings) {
    const double tip = in.nodeDepths.back();
    const double tolerance = 1e-9 * std::max(tip, in.freeHeight);
    if (in.layers.back().bottom < tip - tolerance)
        warnings.push_back("The last soil layer ends at depth " + Number(in.layers.back().bottom) +
                           ", above the wall tip at " + Number(tip) +
                           "; it is taken to continue to the tip.");
    if (in.freeHeight > tip + tolerance)
        warnings.push_back("The excavation level H = " + Number(in.freeHeight) +
                           " lies below the wall tip at " + Number(tip) + ".");
    if (in.pressureMode == kTrapezoidalPressure && !(in.freeHeight > 0))
        warnings.push_back(
            "Trapezoidal earth pressure with no free height: the triangular pressure acts "
            "over the whole wall.");
    const bool usesHeight = std::any_of(
        in.surcharges.begin(), in.surcharges.end(),
        [](const SurchargeLoad& s) { return s.type == kPointLoad || s.type == kLineLoad; });
    if (usesHeight && !(in.freeHeight > 0))
        warnings.push_back(
            "No free height: the point and line surcharge loads use the wall length " +
            Number(tip) + " in place of H.");
    for (std::size_t i = 0; i < in.surcharges.size(); ++i) {
        const SurchargeLoad& s = in.surcharges[i];
        if (s.type == kStripLoad && s.width == 0 && s.magnitude != 0)
            warnings.push_back("Surcharge load " + std::to_string(i + 1) +
                               " (strip) has width 0 and puts no pressure on the wall.");
    }
}

DrivingLoads Sized(const std::vector<double>& depths) {
    DrivingLoads out;
    const std::size_t n = depths.size();
    out.depth = depths;
    for (auto* column : {&out.soilPressure, &out.surchargePressure, &out.totalPressure,
                         &out.soilLineLoad, &out.surchargeLineLoad, &out.lineLoad, &out.nodeLineLoad})
        column->assign(n, 0.0);
    return out;
}

// Each node's share of a line load: its mean over the node's half segments, by three-point
// Gauss on the pieces between the depths in `breaks`, inside which the load is smooth.
void NodeShares(const std::vector<double>& depths, const std::vector<double>& breaks,
                const std::function<double(double)>& load, std::vector<double>& shares) {
    const double g = std::sqrt(0.6);
    const std::size_t last = depths.size() - 1;
    for (std::size_t i = 0; i <= last; ++i) {
        const double a = i > 0 ? 0.5 * (depths[i - 1] + depths[i]) : depths[0];
        const double b = i < last ? 0.5 * (depths[i] + depths[i + 1]) : depths[last];
        std::vector<double> cuts{a, b};
        for (double x : breaks)
            if (x > a && x < b) cuts.push_back(x);
        std::sort(cuts.begin(), cuts.end());
        double sum = 0;
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double mid = 0.5 * (cuts[k] + cuts[k + 1]), half = 0.5 * (cuts[k + 1] - cuts[k]);
            if (!(half > 0)) continue;
            sum += half * (5.0 / 9 * load(mid - g * half) + 8.0 / 9 * load(mid) + 5.0 / 9 * load(mid + g * half));
        }
        shares[i] = b > a ? sum / (b - a) : 0.0;
    }
}

void FillUserLoad(const DrivingLoadInput& in, DrivingLoads& out) {
    ValidateUserTable(in.distributedLoad);
    if (in.distributedLoad.empty())
        out.warnings.push_back(
            "The user-input distributed load table is empty: there is no driving load.");
    for (std::size_t i = 0; i < out.depth.size(); ++i) {
        const double w = DistributedLoadAt(in.distributedLoad, out.depth[i]);
        out.soilLineLoad[i] = out.lineLoad[i] = w;
        const double pressure = in.activeWidth > 0 ? w / in.activeWidth : 0.0;
        out.soilPressure[i] = out.totalPressure[i] = pressure;
    }
    std::vector<double> breaks;
    for (const DistributedLoadPoint& row : in.distributedLoad) breaks.push_back(row.depth);
    NodeShares(out.depth, breaks, [&](double x) { return DistributedLoadAt(in.distributedLoad, x); },
               out.nodeLineLoad);
}

void FillGenerated(const DrivingLoadInput& in, DrivingLoads& out) {
    ValidateGenerated(in);
    AddGeneratedWarnings(in, out.warnings);
    const GeneratedPressure pressure(in, out.warnings);
    const std::size_t last = out.depth.size() - 1;
    for (std::size_t i = 0; i <= last; ++i) {
        const double x = out.depth[i];
        std::pair<double, double> part;
        if (i == 0)
            part = pressure.At(x, false);
        else if (i == last)
            part = pressure.At(x, true);
        else {
            const auto above = pressure.At(x, true);
            const auto below = pressure.At(x, false);
            part = {0.5 * (above.first + below.first), 0.5 * (above.second + below.second)};
        }
        const double factor = in.pressureFactor;
        const double water = WaterAt(in, x);
        out.soilPressure[i] = factor * part.first + water;
        out.surchargePressure[i] = factor * (part.second + pressure.SurchargeLoads(x));
        out.totalPressure[i] = out.soilPressure[i] + out.surchargePressure[i];
        out.soilLineLoad[i] = out.soilPressure[i] * in.activeWidth;
        out.surchargeLineLoad[i] = out.surchargePressure[i] * in.activeWidth;
        out.lineLoad[i] = out.totalPressure[i] * in.activeWidth;
    }
    std::vector<double> breaks{in.freeHeight, 0.2 * in.freeHeight, 0.8 * in.freeHeight,
                               in.waterDepthBackfill, in.waterDepthExcavation};
    for (const SoilLayer& layer : in.layers) breaks.push_back(layer.bottom);
    const auto total = [&](double x) {
        const auto part = pressure.At(x, false);
        const double water = WaterAt(in, x);
        return in.activeWidth *
               (in.pressureFactor * (part.first + part.second + pressure.SurchargeLoads(x)) + water);
    };
    NodeShares(out.depth, breaks, total, out.nodeLineLoad);
}

}  // namespace

SoilLayer LayerValuesAt(const SoilLayer& layer, double top, double x) {
    const double span = layer.bottom - top;
    const double f = span > 0 ? std::clamp((x - top) / span, 0.0, 1.0) : 0.0;
    const auto mix = [f](double atTop, double atBottom) {
        return std::isnan(atBottom) ? atTop : (1 - f) * atTop + f * atBottom;
    };
    SoilLayer v = layer;
    v.unitWeight = mix(layer.unitWeight, layer.unitWeightAtBottom);
    v.cohesion = mix(layer.cohesion, layer.cohesionAtBottom);
    v.frictionAngle = mix(layer.frictionAngle, layer.frictionAngleAtBottom);
    v.unitWeightAtBottom = v.cohesionAtBottom = v.frictionAngleAtBottom = NAN;
    return v;
}

bool LayerVaries(const SoilLayer& layer) {
    const auto differs = [](double atTop, double atBottom) { return !std::isnan(atBottom) && atBottom != atTop; };
    return differs(layer.unitWeight, layer.unitWeightAtBottom) || differs(layer.cohesion, layer.cohesionAtBottom) ||
           differs(layer.frictionAngle, layer.frictionAngleAtBottom);
}

double RankineActiveCoefficient(double frictionAngleDeg, double slopeDeg) {
    if (!(frictionAngleDeg >= 0 && frictionAngleDeg < 90 &&
          std::fabs(slopeDeg) <= frictionAngleDeg))
        throw std::invalid_argument("Rankine's active coefficient needs |beta| <= phi < 90 deg.");
    const double cb = std::cos(Radians(slopeDeg));
    const double cp = std::cos(Radians(frictionAngleDeg));
    const double root = std::sqrt(PositivePart(cb * cb - cp * cp));
    return cb * (cb - root) / (cb + root);
}

double ActiveHorizontalPressure(double ka, double slopeDeg, double verticalEffectiveStress,
                                double cohesion) {
    return PositivePart(ka * verticalEffectiveStress * std::cos(Radians(slopeDeg)) -
                        2 * cohesion * std::sqrt(ka));
}

double VerticalEffectiveStress(double x, const std::vector<SoilLayer>& layers, double surcharge,
                               double waterDepth, double waterUnitWeight) {
    double stress = surcharge;
    double top = 0;
    for (std::size_t i = 0; i < layers.size() && top < x; ++i) {
        const SoilLayer& layer = layers[i];
        const double bottom = i + 1 == layers.size() ? x : std::min(layer.bottom, x);
        const double submerged = PositivePart(bottom - std::max(top, waterDepth));
        // The unit weight is linear down to the layer bottom and constant below it.
        const double linearEnd = std::min(bottom, layer.bottom);
        const double atTop = layer.unitWeight;
        const double atEnd = LayerValuesAt(layer, top, linearEnd).unitWeight;
        stress += 0.5 * (atTop + atEnd) * PositivePart(linearEnd - top) +
                  LayerValuesAt(layer, top, layer.bottom).unitWeight * PositivePart(bottom - std::max(linearEnd, top)) -
                  waterUnitWeight * submerged;
        top = layer.bottom;
    }
    return stress;
}

double NetWaterPressure(double x, double waterDepthBackfill, double waterDepthExcavation,
                        double waterUnitWeight) {
    return waterUnitWeight *
           (PositivePart(x - waterDepthBackfill) - PositivePart(x - waterDepthExcavation));
}

double PointLoadPressure(double load, double distance, double x, double height) {
    if (!(height > 0))
        throw std::invalid_argument("A point surcharge load needs a positive height H.");
    const double m = distance / height;
    const double n = x / height;
    if (m <= 0.4) return 0.28 * load / (height * height) * n * n / std::pow(0.16 + n * n, 3);
    return 1.77 * load / (height * height) * m * m * n * n / std::pow(m * m + n * n, 3);
}

double LineLoadPressure(double load, double distance, double x, double height) {
    if (!(height > 0))
        throw std::invalid_argument("A line surcharge load needs a positive height H.");
    const double m = distance / height;
    const double n = x / height;
    if (m <= 0.4) return 0.20 * load / height * n / std::pow(0.16 + n * n, 2);
    return 1.28 * load / height * m * m * n / std::pow(m * m + n * n, 2);
}

double StripLoadPressure(double load, double distance, double width, double x) {
    const double nearEdge = std::atan2(distance, x);
    const double farEdge = std::atan2(distance + width, x);
    const double subtended = farEdge - nearEdge;
    const double bisector = 0.5 * (nearEdge + farEdge);
    return 2 * load / kPi * (subtended - std::sin(subtended) * std::cos(2 * bisector));
}

double ApparentPressure(double activeResultant, double freeHeight) {
    if (!(freeHeight > 0))
        throw std::invalid_argument("The apparent pressure needs a positive free height.");
    return 1.6 * activeResultant / freeHeight;
}

double ApparentEnvelopeShape(double x, double freeHeight) {
    if (!(freeHeight > 0) || x <= 0 || x >= freeHeight) return 0;
    const double ramp = 0.2 * freeHeight;
    if (x < ramp) return x / ramp;
    if (x > freeHeight - ramp) return (freeHeight - x) / ramp;
    return 1;
}

double DistributedLoadAt(const std::vector<DistributedLoadPoint>& table, double x) {
    if (table.empty()) return 0;
    const double tolerance =
        1e-9 * std::max(std::fabs(table.front().depth), std::fabs(table.back().depth));
    // Rows at x (within rounding) and the first row below x.
    std::size_t first = table.size();
    std::size_t last = table.size();
    std::size_t below = table.size();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (std::fabs(table[i].depth - x) <= tolerance) {
            if (first == table.size()) first = i;
            last = i;
        } else if (table[i].depth > x && below == table.size()) {
            below = i;
        }
    }
    if (first != table.size()) return 0.5 * (table[first].lineLoad + table[last].lineLoad);
    if (below == 0 || below == table.size()) return 0;
    const DistributedLoadPoint& a = table[below - 1];
    const DistributedLoadPoint& b = table[below];
    return a.lineLoad + (b.lineLoad - a.lineLoad) * (x - a.depth) / (b.depth - a.depth);
}

DrivingLoads ComputeDrivingLoads(const DrivingLoadInput& input) {
    ValidateNodes(input.nodeDepths);
    DrivingLoads out = Sized(input.nodeDepths);
    switch (input.pressureMode) {
        case kNoDrivingLoad: break;
        case kUserDistributedLoad: FillUserLoad(input, out); break;
        case kTriangularPressure:
        case kTrapezoidalPressure: FillGenerated(input, out); break;
        default:
            Fail("Pressure mode " + std::to_string(input.pressureMode) +
                 " is not 0 (none), 1 (user input), 2 (triangular) or 3 (trapezoidal).");
    }
    return out;
}

}  // namespace torvex::engine
