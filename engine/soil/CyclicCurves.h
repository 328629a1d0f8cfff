#pragma once
// The p-y curves for cyclic loading, for y >= 0 (the caller gives them the sign of y).
//
//   Soft clay, Matlock (1970): z_r = 6 c b / (gamma' b + J c), J = 0.5. The static curve
//   0.5 pu (y/y50)^(1/3) up to 0.72 pu, reached at 3 y50 (the static curve's own value there,
//   0.5 x 3^(1/3) = 0.7211, is Matlock's 0.72 before rounding: the curve is held at 0.72 pu
//   over the last 0.5 % of the way, so it is continuous). At or below z_r: 0.72 pu beyond.
//   Above z_r: a straight fall from 0.72 pu at 3 y50 to 0.72 pu z/z_r at 15 y50, then level.
//
//   Stiff clay without free water, Welch and Reese (1972): the static deflection at p is
//   increased by 9.6 y50 (p/pu)^4 log10 N. With the static y = 16 y50 (p/pu)^4 the cyclic
//   deflection is y = F y50 (p/pu)^4, F = 16 + 9.6 log10 N, so p = pu (y / (F y50))^(1/4) up
//   to F y50, pu beyond.
//
//   Sand: the static API curve with A = 0.9 at every depth (worked out in PyCriteria).

namespace torvex::engine {

// Matlock's reference depth z_r (J = 0.5).
double MatlockCyclicDepth(double c, double b, double gammaEff);

struct TCyclicPoint {
    double p = 0, slope = 0;  // the resistance and dp/dy (the branch ending at a join)
};

// Matlock's cyclic curve at depth z with ultimate resistance pu, y50 and z_r.
TCyclicPoint MatlockCyclic(double pu, double y50, double z, double zr, double y);

// Welch and Reese's curve after N cycles: F = 16 + 9.6 log10 N.
double WelchReeseCyclicFactor(double cycles);
TCyclicPoint WelchReeseCyclic(double pu, double y50, double factor, double y);

}  // namespace torvex::engine
