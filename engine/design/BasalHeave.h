#pragma once
// Basal heave of an excavation in clay (Bjerrum and Eide, with Skempton's bearing factor): the
// undrained strength at the excavation level against the weight of the soil beside the
// excavation and the surcharge on it,
//   F = Nc cu / (gamma H + q),  Nc = 5 (1 + 0.2 min(H/B, 2.5)) (1 + 0.2 B/L),
// B the excavation's width, L its length (0: a long excavation, B/L = 0), H the excavation
// depth (the free height), cu the undrained strength of the clay at depth H, gamma the mean
// total unit weight over 0..H and q the uniform backfill surcharge. When L is shorter than B,
// the shorter side is B. Any consistent units (in, psi, pci or m, kPa, kN/m^3).

#include <string>

#include "input/WallInput.h"

namespace torvex::engine {

struct TBasalHeave {
    bool applies = false;  // a width is given and the soil at the excavation level is a clay
    double Nc = 0;         // the bearing factor
    double F = 0;          // the factor against basal heave
    double cu = 0;         // the undrained strength at the excavation level
    double gammaMean = 0;  // the mean total unit weight over the excavation depth
    std::string reason;    // why the check does not apply; "" when it does
};

// The check for the case's excavation depth and soils. Raises std::invalid_argument naming the
// key (ExcavationWidth, ExcavationLength) for a width below 0, or a length below 0 when a width
// is given.
TBasalHeave BasalHeave(const TWallInput& input, double width, double length);

}  // namespace torvex::engine
