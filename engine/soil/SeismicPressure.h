#pragma once
// The seismic increment of the generated active pressure, by Mononobe-Okabe, for a vertical
// wall (psi = 0) without wall friction (delta = 0) behind a backfill sloping at beta.
//
//   theta = atan(kh / (1 - kv))
//   K_AE  = cos^2(phi - theta) / (cos^2 theta [1 + sqrt(sin phi sin(phi - theta - beta)
//                                                    / (cos theta cos beta))]^2)
//   Delta K = (1 - kv) K_AE(theta) - K_AE(0)
//
// kh is the horizontal coefficient, kv the vertical one, positive when the vertical inertia
// force acts upward (it lightens the soil). Delta K multiplies the static vertical effective
// stress and is added to the static active pressure, which stays as it was. On level ground
// K_AE(0) is Rankine's Ka, so the total is (1 - kv) K_AE sigma_v' - 2 c sqrt(Ka).
//
// Angles in degrees where named ...Deg, theta in radians. Bad input throws
// std::invalid_argument with a message for the engineer.

namespace torvex::engine {

// The seismic inertia angle theta (radians); needs kv < 1.
double SeismicInertiaAngle(double kh, double kv);

// K_AE for friction angle phi, inertia angle theta and backfill slope beta. Throws when
// phi - theta - beta < 0: no wedge of the backfill can then stand, and the method has no
// solution.
double MononobeOkabeCoefficient(double phiDeg, double thetaRad, double slopeDeg);

// Delta K = (1 - kv) K_AE(theta) - K_AE(0).
double SeismicIncrement(double phiDeg, double slopeDeg, double kh, double kv);

}  // namespace torvex::engine
