#pragma once
// Hydraulic heave at the toe (EN 1997-1 10.3, HYD), with steady seepage round the toe
// (Seepage.h): the pore pressure at the toe in front against the total vertical stress there,
//
//   utilisation = GammaHydDst u_toe / (GammaHydStb sigma_v,toe)
//
// u_toe = gamma_w (toe - h_front)(1 + i), sigma_v,toe the weight of the soil in front from the
// excavation level down to the toe (each layer's total unit weight, linear in depth) plus the
// water standing above the excavation level. It applies only where water flows (i > 0).

#include "input/WallInput.h"

namespace torvex::engine {

struct THydraulicHeave {
    bool applies = false;
    double gradient = 0;         // i
    double toePorePressure = 0;  // u_toe (F/L2)
    double toeTotalStress = 0;   // sigma_v,toe in front (F/L2)
    double utilisation = 0;      // > 1: fails
};

THydraulicHeave HydraulicHeaveCheck(const TWallInput& input, double gammaDestabilising, double gammaStabilising);

}  // namespace torvex::engine
