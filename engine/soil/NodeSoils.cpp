#include "soil/NodeSoils.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "soil/CyclicCurves.h"
#include "soil/EquivalentDepth.h"
#include "dataentry/NumberText.h"

namespace torvex::engine {
namespace {

double External(const TExternalCurve& c, double y) {
    // The table gives p with the sign opposite to y; the resistance acts against y.
    return -c.pMultiplier * Interpolate(c.points, y / c.yMultiplier);
}

// A layer's lower end for the soil below the excavation: the last layer goes on for ever.
double LayerEnd(const TWallInput& in, size_t k) {
    return k + 1 == in.layers.size() ? std::numeric_limits<double>::infinity() : in.layers[k].bottom;
}

// Weak rock under soil: the 1997 criterion measures depth from the rock surface, the top of the
// run of weak-rock layers that holds layer k, or the excavation level when the rock starts above
// it.
double RockSurface(const TWallInput& in, size_t k) {
    while (k > 0 && in.layers[k - 1].type == 7) --k;
    return std::max(in.layers[k].top, in.freeHeight);
}

// The depth from which layer k holds soil on the excavation side.
double SoilTop(const TWallInput& in, size_t k) { return std::max(in.layers[k].top, in.freeHeight); }

bool IsRock(int type) { return type == 6 || type == 7; }

// Layer k's soil at depth x. With a finite equivalent top depth the soil is that of a uniform
// deposit of its own kind, h_eq = equivalentTop + (x - top) deep, under the overburden of its
// own effective unit weight.
TPySoil LayerSoil(const TWallInput& in, const TExcavationSideStress& stress, size_t k, double x,
                  double equivalentTop = std::numeric_limits<double>::quiet_NaN()) {
    const TSoilLayer& layer = in.layers[k];
    const TSoilValues v = layer.At(x);
    TPySoil s;
    if (layer.type < 1 || layer.type > 7)
        throw std::invalid_argument("Soil layer " + std::to_string(k + 1) + " has the unknown soil type " +
                                    std::to_string(layer.type) + ".");
    s.type = PyCriterionFromCode(layer.type);
    s.b = in.resistanceWidth;
    s.z = std::max(x - in.freeHeight, 0.0);
    s.sigmaV = stress.At(x);
    const bool belowWater = x >= in.waterExcavation;
    // The effective unit weight of the soil itself: less gamma_w below the water, and less
    // i gamma_w more where water seeps up through it.
    const double seepageLoss = belowWater ? stress.Seepage().gradient * in.gammaWater : 0.0;
    const double ownGammaEff = std::max(v.gamma - (belowWater ? in.gammaWater : 0.0) - seepageLoss, 0.0);
    s.gammaEff = s.z > 0 ? s.sigmaV / s.z : (seepageLoss != 0 ? ownGammaEff : v.gamma - (belowWater ? in.gammaWater : 0.0));
    s.c = layer.type >= 6 ? 0.0 : v.c;
    s.phiDeg = v.phi;
    s.e50 = v.e50;
    s.k = v.k;
    s.qu = v.c;
    s.krm = v.krm;
    s.Eir = v.Eir;
    s.rqd = v.rqd;
    if (layer.type == 7) s.z = std::max(x - RockSurface(in, k), 0.0);
    if (std::isfinite(equivalentTop)) {
        s.z = equivalentTop + std::max(x - SoilTop(in, k), 0.0);
        s.gammaEff = seepageLoss != 0 ? ownGammaEff : v.gamma - (belowWater ? in.gammaWater : 0.0);
        s.sigmaV = s.gammaEff * s.z;
    }
    s.cyclic = in.soil.cyclic;
    s.cycles = in.soil.cycles;
    return s;
}

std::string Text(double value) {
    return CNumberText(value);
}

std::string LayerName(const TWallInput& in, size_t k) {
    return "Soil layer " + std::to_string(k + 1) + " (" + PyCriterionName(PyCriterionFromCode(in.layers[k].type)) + ")";
}

// The first layer that holds soil below the excavation level.
size_t FirstSoilLayer(const TWallInput& in) {
    size_t k = 0;
    while (k + 1 < in.layers.size() && LayerEnd(in, k) <= in.freeHeight) ++k;
    return k;
}

// Georgiadis' equivalent top depth of each layer below the first (NaN: the layer keeps its
// true depth: the first layer, and rock, whose curves have their own depth rules). The real
// resistance above a layer is that of the layers as analysed, each with its own curves.
std::vector<double> EquivalentTops(const TWallInput& in, const TExcavationSideStress& stress) {
    std::vector<double> tops(in.layers.size(), std::numeric_limits<double>::quiet_NaN());
    if (!in.soil.layered || in.layers.empty()) return tops;
    for (const TSoilLayer& layer : in.layers)
        if (layer.type < 1 || layer.type > 7) return tops;  // NodeSoils names the bad type
    const size_t first = FirstSoilLayer(in);
    double above = 0;
    for (size_t k = first; k < in.layers.size(); ++k) {
        const double from = SoilTop(in, k);
        try {
            if (k > first && !IsRock(in.layers[k].type))
                tops[k] = EquivalentTopDepth(
                    [&](double depth) { return PyUltimateResistance(LayerSoil(in, stress, k, from, depth)); }, above,
                    in.resistanceWidth);
        } catch (const std::invalid_argument& error) {
            throw std::invalid_argument(LayerName(in, k) + ": " + error.what());
        }
        if (k + 1 < in.layers.size())
            above += CumulativeResistance(
                [&](double x) { return PyUltimateResistance(LayerSoil(in, stress, k, x, tops[k])); }, from,
                in.layers[k].bottom);
    }
    return tops;
}

// The lines that name the models used beyond the static curves at true depth, and the warnings
// for layers without a cyclic form.
void DescribeModels(const TWallInput& in, const TExcavationSideStress& stress, const std::vector<double>& tops,
                    std::vector<std::string>& warnings, std::vector<std::string>& models) {
    const std::string unit = in.english() ? " in" : " m";
    const size_t first = FirstSoilLayer(in);
    for (size_t k = first; k < in.layers.size(); ++k) {
        const TSoilLayer& layer = in.layers[k];
        if (layer.type < 1 || layer.type > 7) return;
        const double from = SoilTop(in, k);
        if (in.soil.layered && k > first) {
            if (std::isfinite(tops[k]))
                models.push_back(LayerName(in, k) + ": equivalent depth (Georgiadis 1983), top at " + Text(tops[k]) +
                                 unit + " instead of " + Text(from - in.freeHeight) + unit +
                                 " below the excavation level.");
            else
                models.push_back(LayerName(in, k) + ": rock keeps its true depth (no equivalent depth).");
        }
        if (!in.soil.cyclic) continue;
        const TPyCriterion type = PyCriterionFromCode(layer.type);
        if (type == TPyCriterion::SoftClay) {
            const TPySoil soil = LayerSoil(in, stress, k, from, tops[k]);
            models.push_back(LayerName(in, k) + ": cyclic curves of Matlock (1970), z_r = 6 c b / (gamma' b + 0.5 c) = " +
                             Text(MatlockCyclicDepth(soil.c, soil.b, soil.gammaEff)) + unit + " at the layer top.");
        } else if (type == TPyCriterion::StiffClayNoFreeWater) {
            models.push_back(LayerName(in, k) + ": cyclic curves of Welch and Reese (1972) after N = " +
                             Text(in.soil.cycles) + " cycles.");
        } else if (type == TPyCriterion::Sand) {
            models.push_back(LayerName(in, k) + ": cyclic API sand curves, A = 0.9 at every depth.");
        } else {
            models.push_back(LayerName(in, k) + ": static curves (no cyclic form).");
            warnings.push_back(LayerName(in, k) + ": no cyclic form is offered for this soil" +
                               (type == TPyCriterion::StiffClayFreeWater
                                    ? " (the published constants for stiff clay with free water are given only as charts)"
                                    : std::string()) +
                               "; the static curve is used.");
        }
    }
}

}  // namespace

double TNodeSoil::Resistance(double y) const {
    switch (kind) {
        case Kind::None: return 0;
        case Kind::Generated: {
            double p = 0;
            for (const TPart& part : parts) p += part.weight * (pm * part.curve.Resistance(y / ym));
            return p;
        }
        case Kind::External: return External(*curve, y);
        case Kind::Between: return (1 - fraction) * External(*curve, y) + fraction * External(*other, y);
    }
    return 0;
}

double TNodeSoil::InitialSlope() const {
    if (kind == Kind::None) return 0;
    if (kind == Kind::Generated) {
        double slope = 0;
        for (const TPart& part : parts) slope += part.weight * pm / ym * part.curve.InitialSlope();
        return slope;
    }
    const double dy = 1e-6;
    return std::max((Resistance(dy) - Resistance(-dy)) / (2 * dy), 0.0);
}

double TNodeSoil::Secant(double y) const {
    // The criteria give their own bounded secant near y = 0 (power-law clays are infinitely
    // steep there).
    if (kind == Kind::Generated) {
        double secant = 0;
        for (const TPart& part : parts) secant += part.weight * pm / ym * part.curve.Secant(y / ym);
        return secant;
    }
    if (std::fabs(y) < 1e-12) return InitialSlope();
    return std::max(Resistance(y) / y, 0.0);
}

TPyCurve::TLinear TNodeSoil::SecantAndTangent(double y) const {
    if (kind != Kind::Generated) return {Secant(y), 0.0};
    TPyCurve::TLinear sum;
    for (const TPart& part : parts) {
        const TPyCurve::TLinear one = part.curve.SecantAndTangent(y / ym);
        sum.secant += part.weight * pm / ym * one.secant;
        sum.tangent += part.weight * pm / ym * one.tangent;
    }
    return sum;
}

TExcavationSideStress::TExcavationSideStress(const TWallInput& in) : in_(in), seepage_(WallSeepage(in)) {
    cuts_.push_back(in.freeHeight);
    for (const TSoilLayer& layer : in.layers) cuts_.push_back(layer.bottom);
    cuts_.push_back(in.waterExcavation);
    std::sort(cuts_.begin(), cuts_.end());
}

double TExcavationSideStress::At(double x) const {
    // Pieces between the excavation level, the layer boundaries and the water table, cut at x:
    // the unit weight is linear inside each, so the trapezoid rule is exact.
    const TWallInput& in = in_;
    double stress = 0;
    auto piece = [&](double from, double to) {
        const double a = std::max(from, in.freeHeight), b = std::min(to, x);
        if (!(b > a)) return;
        const double mid = 0.5 * (a + b);
        size_t k = 0;
        while (k + 1 < in.layers.size() && in.layers[k].bottom < mid) ++k;
        const TSoilLayer& layer = in.layers[k];
        const double gamma = 0.5 * (layer.GammaAt(a) + layer.GammaAt(b));
        stress += (gamma - (mid > in.waterExcavation ? in.gammaWater : 0.0)) * (b - a);
    };
    // The cuts in order with x among them; nothing beyond x counts.
    bool first = true;
    double previous = 0;
    for (size_t j = 0;; first = false) {
        const bool atX = j == cuts_.size() || x < cuts_[j];
        const double next = atX ? x : cuts_[j++];
        if (!first) piece(previous, next);
        if (atX) break;
        previous = next;
    }
    if (seepage_.Flows()) return std::max(stress - seepage_.FrontStressLoss(x, in.freeHeight), 0.0);
    return stress;
}

double UltimateNodeResistance(const TWallInput& in, const TNodeSoil& soil) {
    if (soil.kind != TNodeSoil::Kind::Generated) return 0;
    double weight = 0;
    for (const TNodeSoil::TPart& part : soil.parts) weight += part.weight;
    return weight > 0 ? soil.Resistance(1000 * in.resistanceWidth * soil.ym) / weight : 0.0;
}

TDrivingBeyondResistance DrivingBeyondResistance(const TWallInput& in, const TNodeSoils& soils,
                                                 const std::vector<double>& lineLoad) {
    TDrivingBeyondResistance found;
    const double h = in.beam.h, level = in.freeHeight + 1e-9 * h;
    for (size_t i = 0; i < soils.size() && i < lineLoad.size(); ++i) {
        const double x = static_cast<double>(i) * h;
        if (!(x > level) || soils[i].kind != TNodeSoil::Kind::Generated) continue;
        const double resistance = UltimateNodeResistance(in, soils[i]);
        if (lineLoad[i] > resistance) {
            if (!found.found) found = {true, static_cast<int>(i), x, lineLoad[i], resistance};
        } else {
            found = {};
        }
    }
    return found;
}

double ExcavationSideStress(const TWallInput& in, double x) { return TExcavationSideStress(in).At(x); }

TNodeSoils NodeSoils(const TWallInput& in, std::vector<std::string>& warnings) {
    std::vector<std::string> models;
    return NodeSoils(in, warnings, models);
}

TNodeSoils NodeSoils(const TWallInput& in, std::vector<std::string>& warnings, std::vector<std::string>& models) {
    const int n = in.beam.n;
    const double h = in.beam.h;
    const double length = n * h;
    TNodeSoils result;
    std::vector<TNodeSoil>& soils = result.nodes_;
    std::vector<TNodeSoil::TPart>& parts = result.parts_;
    soils.resize(static_cast<size_t>(n + 1));
    // Where each node's parts begin in `parts`; the spans are set once `parts` stops growing.
    std::vector<size_t> firstPart(static_cast<size_t>(n + 2), 0);
    parts.reserve(static_cast<size_t>(n + 1) + in.layers.size());
    if (in.resistanceMode >= 2 && !in.layers.empty()) {
        std::vector<bool> warned(in.layers.size(), false);
        const TExcavationSideStress stress(in);
        const std::vector<double> tops = EquivalentTops(in, stress);
        DescribeModels(in, stress, tops, warnings, models);
        for (int i = 0; i <= n; ++i) {
            firstPart[static_cast<size_t>(i)] = parts.size();
            const double x = i * h;
            const double from = std::max(x - h / 2, 0.0), to = std::min(x + h / 2, length);
            const double soilFrom = std::max(from, in.freeHeight);
            if (to - soilFrom <= 1e-9 * h) continue;
            TNodeSoil& node = soils[static_cast<size_t>(i)];
            for (size_t k = 0; k < in.layers.size(); ++k) {
                const double share = std::min(to, LayerEnd(in, k)) - std::max(soilFrom, in.layers[k].top);
                if (share <= 1e-9 * h) continue;
                TNodeSoil::TPart& part = parts.emplace_back();
                part.layer = k;
                part.weight = share / (to - from);
                part.soil = LayerSoil(in, stress, k, x, tops[k]);
                try {
                    const auto notes = ApplyPyDefaults(part.soil, in.english(), x >= in.waterExcavation, !warned[k]);
                    if (!warned[k])
                        for (const std::string& note : notes)
                            warnings.push_back("Soil layer " + std::to_string(k + 1) + ": " + note);
                    warned[k] = true;
                } catch (const std::invalid_argument& error) {
                    throw std::invalid_argument("Soil layer " + std::to_string(k + 1) + ": " + error.what());
                }
                part.curve.SetChecked(part.soil);
            }
            if (parts.size() == firstPart[static_cast<size_t>(i)]) continue;
            node.kind = TNodeSoil::Kind::Generated;
            if (!in.pyModifiers.empty()) {
                std::vector<TCurvePoint> pm, ym;
                for (const TPyModifier& mod : in.pyModifiers) {
                    pm.push_back({mod.depth, mod.pMultiplier});
                    ym.push_back({mod.depth, mod.yMultiplier});
                }
                node.pm = Interpolate(pm, x);
                node.ym = Interpolate(ym, x);
                if (!(node.ym > 0)) node.ym = 1;
                if (!(std::isfinite(node.pm) && node.pm >= 0))
                    throw std::invalid_argument("p-y modification: the p multiplier must be 0 or more (given " +
                                                std::to_string(node.pm) + ")");
            }
        }
    }
    firstPart[static_cast<size_t>(n + 1)] = parts.size();
    for (size_t s = 0; s < soils.size(); ++s)
        soils[s].parts = std::span<const TNodeSoil::TPart>(parts.data() + firstPart[s], firstPart[s + 1] - firstPart[s]);
    // External curves replace the generated curve at their node; with external curves only,
    // the nodes between two curve nodes blend the two curves by depth.
    const auto& curves = in.externalCurves;
    for (size_t c = 0; c < curves.size(); ++c) {
        if (curves[c].points.empty()) continue;
        TNodeSoil& node = soils[static_cast<size_t>(curves[c].node)];
        node.kind = TNodeSoil::Kind::External;
        node.parts = {};
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
    return result;
}

}  // namespace torvex::engine
