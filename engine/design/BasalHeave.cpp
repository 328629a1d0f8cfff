#include "design/BasalHeave.h"

#include <algorithm>
#include <stdexcept>

#include "project/OptionBlock.h"

namespace torvex::engine {
namespace {

// H / B counts up to this ratio (Bjerrum and Eide's curve is flat beyond it).
constexpr double kDepthRatioCap = 2.5;

const char* SoilName(int type) {
    switch (type) {
        case 4: return "a sand";
        case 5: return "a silt";
        case 6: return "a strong rock";
        case 7: return "a weak rock";
        default: return "not a clay";
    }
}

bool IsClay(int type) { return type >= 1 && type <= 3; }

// The layer at depth x: the one whose top is at or above x and whose bottom is below it, so
// that at a boundary the lower layer, the excavation's base, counts.
const TSoilLayer* LayerAt(const std::vector<TSoilLayer>& layers, double x) {
    for (const TSoilLayer& layer : layers)
        if (layer.top <= x && x < layer.bottom) return &layer;
    return nullptr;
}

// The unit weight integrated over 0..depth: each layer's linear gamma by the trapezium rule,
// exact for a straight line; depths without soil weigh nothing.
double WeightAbove(const std::vector<TSoilLayer>& layers, double depth) {
    double weight = 0;
    for (const TSoilLayer& layer : layers) {
        const double from = std::max(layer.top, 0.0), to = std::min(layer.bottom, depth);
        if (to > from) weight += 0.5 * (layer.GammaAt(from) + layer.GammaAt(to)) * (to - from);
    }
    return weight;
}

void CheckLength(const char* key, double value) {
    if (const std::string fault = OptionValueFault(key, value); !fault.empty()) throw std::invalid_argument(fault);
}

}  // namespace

TBasalHeave BasalHeave(const TWallInput& input, double width, double length) {
    TBasalHeave result;
    CheckLength("ExcavationWidth", width);
    if (width == 0) {
        result.reason = "No excavation width is given (ExcavationWidth 0): basal heave is not checked.";
        return result;
    }
    CheckLength("ExcavationLength", length);
    const double H = input.freeHeight;
    if (H <= 0) {
        result.reason = "There is no excavation (free height 0): basal heave is not checked.";
        return result;
    }
    const TSoilLayer* base = LayerAt(input.layers, H);
    if (!base) {
        result.reason = "There is no soil at the excavation level: basal heave is not checked.";
        return result;
    }
    if (!IsClay(base->type)) {
        result.reason = std::string("The soil at the excavation level is ") + SoilName(base->type) +
                        ": basal heave is checked in clay only.";
        return result;
    }
    // The shorter side is the width; a long excavation (L = 0) has B/L = 0.
    const double B = length > 0 ? std::min(width, length) : width;
    const double L = length > 0 ? std::max(width, length) : 0;
    const double shape = L > 0 ? B / L : 0;
    result.Nc = 5 * (1 + 0.2 * std::min(H / B, kDepthRatioCap)) * (1 + 0.2 * shape);
    result.cu = base->At(H).c;
    result.gammaMean = WeightAbove(input.layers, H) / H;
    const double load = result.gammaMean * H + input.backfillSurcharge;
    if (load <= 0) {
        result.reason = "Nothing weighs on the excavation's base: basal heave is not checked.";
        return result;
    }
    result.F = result.Nc * result.cu / load;
    result.applies = true;
    return result;
}

}  // namespace torvex::engine
