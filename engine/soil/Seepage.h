#pragma once
// Steady seepage under the wall by the simplified method: where the water behind stands higher
// than in front, water flows down the back of the wall, round the toe and up the front, and
// the head lost is spread evenly along that path.
//
//   i = (h_front - h_back) / (d1 + d2),  d1 = toe - h_back,  d2 = toe - h_front
//   behind:   u = gamma_w (z - h_back)(1 - i)
//   in front: u = gamma_w (z - h_front)(1 + i)
//   at the toe both give u_toe = 2 gamma_w d1 d2 / (d1 + d2)
//
// h are the water depths below the wall top. The effective vertical stress behind grows by
// i gamma_w per unit depth below the water; in front it falls by i gamma_w per unit depth below
// the water or the excavation level, whichever is the deeper (water standing above the
// excavation level loses no head). Equal levels, water higher in front, or a toe that does not
// reach the water in front: no flow (i = 0), the water is hydrostatic on both sides.
//
// Everything is inline and allocation-free: limit equilibrium evaluates it for every trial toe.

#include "input/WallInput.h"

namespace torvex::engine {

struct TSeepage {
    double gradient = 0;     // i, 0: hydrostatic
    double waterBack = 0;    // h_back (L)
    double waterFront = 0;   // h_front (L)
    double gammaWater = 0;   // gamma_w (F/L3)

    bool Flows() const { return gradient != 0; }

    // Pore pressure behind and in front at depth z (F/L2).
    double PoreBehind(double z) const { return z > waterBack ? gammaWater * (z - waterBack) * (1 - gradient) : 0.0; }
    double PoreFront(double z) const { return z > waterFront ? gammaWater * (z - waterFront) * (1 + gradient) : 0.0; }
    // The net water pressure on the wall, toward the excavation.
    double NetWater(double z) const { return PoreBehind(z) - PoreFront(z); }
    // What the flow adds to the effective vertical stress behind, and takes from that in front
    // below the excavation level H.
    double BehindStressGain(double z) const {
        return z > waterBack ? gradient * gammaWater * (z - waterBack) : 0.0;
    }
    double FrontStressLoss(double z, double excavation) const {
        const double from = waterFront > excavation ? waterFront : excavation;
        return z > from ? gradient * gammaWater * (z - from) : 0.0;
    }
};

// The seepage for a wall with its toe at `toe` (all depths below the wall top).
inline TSeepage SteadySeepage(double waterBack, double waterFront, double toe, double gammaWater) {
    TSeepage s;
    s.waterBack = waterBack;
    s.waterFront = waterFront;
    s.gammaWater = gammaWater;
    if (waterBack < waterFront && toe > waterFront && gammaWater > 0)
        s.gradient = (waterFront - waterBack) / ((toe - waterBack) + (toe - waterFront));
    return s;
}

// The seepage of a case round the wall's own toe (n h below the top); without the seepage
// option the water stays hydrostatic (i = 0).
inline TSeepage WallSeepage(const TWallInput& in) {
    const double toe = in.beam.n * in.beam.h;
    if (!in.soil.seepage) return SteadySeepage(in.waterBackfill, in.waterExcavation, toe, 0.0);
    return SteadySeepage(in.waterBackfill, in.waterExcavation, toe, in.gammaWater);
}

}  // namespace torvex::engine
