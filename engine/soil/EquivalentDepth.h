#pragma once
// Layered soils by equivalent depth (Georgiadis 1983). A layer below the first takes the
// p-y curves of a uniform deposit of its own soil, at the depth h_eq where that deposit's
// cumulative ultimate resistance equals the real one above:
//
//   integral from 0 to h_top of pu_layer(s) ds = integral of the real pu from the excavation
//   level to the layer top;  below the top h_eq(z) = h_top + (z - z_top).
//
// h_top is found by bisection on the cumulative integral, itself by three-point Gauss-Legendre
// on slices (exact for the straight and parabolic pieces of the usual pu, close to 1e-6 where
// pu reaches its deep limit inside a slice).

#include <functional>

namespace torvex::engine {

// The integral of pu(s) from `from` to `to` (from <= to).
double CumulativeResistance(const std::function<double(double)>& pu, double from, double to);

// The depth h >= 0 at which the integral of pu from 0 reaches `target` (>= 0). pu must be
// non-negative and not vanish everywhere; throws std::invalid_argument when the integral does
// not reach the target within 1e6 times the first trial depth `scale` (> 0).
double EquivalentTopDepth(const std::function<double(double)>& pu, double target, double scale);

}  // namespace torvex::engine
