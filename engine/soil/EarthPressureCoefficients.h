#pragma once
// Earth-pressure coefficients of a vertical wall, with wall friction, by one of three methods:
//
//   Rankine     no wall friction; the backfill slope as the driving pressures have always taken
//               it (RankineActiveCoefficient in DrivingLoads.h, whose pressure is Ka sigma_v'
//               cos beta); passive cos b (cos b + r) / (cos b - r), r = sqrt(cos2 b - cos2 phi),
//               tan2(45 + phi/2) on level ground.
//   Coulomb     plane wedges:
//               Ka = cos2 phi / (cos d [1 + sqrt(sin(phi + d) sin(phi - b) / (cos d cos b))]^2),
//               Kp = cos2 phi / (cos d [1 - sqrt(sin(phi + d) sin(phi + b) / (cos d cos b))]^2).
//   EC7-AnnexC  the curved surfaces of EN 1997-1 Annex C.2, the coefficient of the normal
//               (here horizontal) stress K_n cos2 beta for the weight of the soil:
//               passive m_t = (acos(-sin b / sin phi) - phi - b) / 2,
//                       m_w = (acos(sin d / sin phi) - phi - d) / 2, nu = m_t + b - m_w,
//                       Kp = [1 + sin phi sin(2 m_w + phi)] / [1 - sin phi sin(2 m_t + phi)]
//                            exp(2 nu tan phi) cos2 b;
//               active  m_t = (acos(sin b / sin phi) + phi - b) / 2,
//                       m_w = (acos(sin d / sin phi) + phi + d) / 2, nu = m_t + b - m_w,
//                       Ka = [1 - sin phi sin(2 m_w - phi)] / [1 + sin phi sin(2 m_t - phi)]
//                            exp(-2 nu tan phi) cos2 b.
//               Valid for |beta| <= phi and 0 <= delta <= phi. On level ground the passive one
//               is Lancellotta's (2002) closed form.
//
// Every coefficient returned is horizontal and taken on the vertical effective stress:
// sigma_h = K sigma_v' -/+ 2 c sqrt(K). For Coulomb that is K cos delta; for Rankine on a slope
// Ka cos beta. With delta = 0 and level ground all three give tan2(45 -/+ phi/2).
//
// Angles in degrees: phi the friction angle, delta the wall friction (positive: the active
// wedge slides down the wall, the passive one up it), beta the slope of the ground surface on
// the side considered, positive rising away from the wall. phi = 0 (undrained clay) gives
// K = 1 with level ground and no wall friction. Input outside a method's range raises
// std::invalid_argument with a message that says why.

#include <string>
#include <vector>

#include "project/OptionBlock.h"

namespace torvex::engine {

double ActiveEarthPressureCoefficient(TEarthPressureMethod method, double phiDeg, double deltaDeg, double betaDeg);
double PassiveEarthPressureCoefficient(TEarthPressureMethod method, double phiDeg, double deltaDeg, double betaDeg);

// Each method on its own (the Rankine active coefficient is RankineActiveCoefficient).
double RankinePassiveCoefficient(double phiDeg, double betaDeg);
double CoulombActiveCoefficient(double phiDeg, double deltaDeg, double betaDeg);
double CoulombPassiveCoefficient(double phiDeg, double deltaDeg, double betaDeg);
double AnnexCActiveCoefficient(double phiDeg, double deltaDeg, double betaDeg);
double AnnexCPassiveCoefficient(double phiDeg, double deltaDeg, double betaDeg);

// The method's name as the reports say it ("Rankine", "Coulomb", "EN 1997-1 Annex C").
const char* EarthPressureMethodName(TEarthPressureMethod method);

// What a case should be told about its wall friction: that Rankine ignores it, and that
// Coulomb's plane surfaces overestimate Kp when the passive delta exceeds phi/3 (EN 1997-1
// 9.5.3(2)). Ratios are delta / phi behind and in front of the wall.
std::vector<std::string> WallFrictionWarnings(TEarthPressureMethod method, double ratioActive, double ratioPassive);

// One line for the list of models a case used: "" for Rankine.
std::string EarthPressureModelText(TEarthPressureMethod method, double ratioActive, double ratioPassive);

}  // namespace torvex::engine
