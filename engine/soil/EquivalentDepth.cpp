#include "soil/EquivalentDepth.h"

#include <cmath>
#include <stdexcept>

namespace torvex::engine {

double CumulativeResistance(const std::function<double(double)>& pu, double from, double to) {
    constexpr int kSlices = 32;
    if (!(to > from)) return 0.0;
    const double g = std::sqrt(0.6), slice = (to - from) / kSlices;
    double sum = 0;
    for (int k = 0; k < kSlices; ++k) {
        const double mid = from + (k + 0.5) * slice, half = 0.5 * slice;
        sum += half * (5.0 / 9.0 * pu(mid - g * half) + 8.0 / 9.0 * pu(mid) + 5.0 / 9.0 * pu(mid + g * half));
    }
    return sum;
}

double EquivalentTopDepth(const std::function<double(double)>& pu, double target, double scale) {
    if (!(target > 0)) return 0.0;
    // Bracket: the integral from 0 to hi reaches the target, pieces added as hi doubles.
    double lo = 0, hi = scale, reached = CumulativeResistance(pu, 0, hi);
    for (int doubling = 0; reached < target; ++doubling) {
        if (doubling > 20 || !std::isfinite(reached))
            throw std::invalid_argument(
                "Equivalent depth: a uniform deposit of the layer's soil does not reach the ultimate resistance of "
                "the layers above it at any reasonable depth.");
        lo = hi;
        reached += CumulativeResistance(pu, hi, 2 * hi);
        hi *= 2;
    }
    double atLo = CumulativeResistance(pu, 0, lo);
    for (int step = 0; step < 60 && hi - lo > 1e-12 * hi; ++step) {
        const double mid = 0.5 * (lo + hi);
        const double atMid = atLo + CumulativeResistance(pu, lo, mid);
        if (atMid < target) {
            lo = mid;
            atLo = atMid;
        } else {
            hi = mid;
        }
    }
    return 0.5 * (lo + hi);
}

}  // namespace torvex::engine
