#include "soil/CyclicCurves.h"

#include <algorithm>
#include <cmath>

namespace torvex::engine {

double MatlockCyclicDepth(double c, double b, double gammaEff) { return 6.0 * c * b / (gammaEff * b + 0.5 * c); }

TCyclicPoint MatlockCyclic(double pu, double y50, double z, double zr, double y) {
    const double plateau = 0.72 * pu;
    if (y <= 3.0 * y50) {
        const double rising = 0.5 * pu * std::cbrt(y / y50);
        if (rising < plateau) return {rising, y > 0 ? rising / (3.0 * y) : 0.0};
        return {plateau, 0.0};
    }
    if (z >= zr) return {plateau, 0.0};
    const double residual = plateau * z / zr;
    if (y >= 15.0 * y50) return {residual, 0.0};
    const double slope = -(plateau - residual) / (12.0 * y50);
    return {plateau + slope * (y - 3.0 * y50), slope};
}

double WelchReeseCyclicFactor(double cycles) { return 16.0 + 9.6 * std::log10(std::max(cycles, 1.0)); }

TCyclicPoint WelchReeseCyclic(double pu, double y50, double factor, double y) {
    if (y >= factor * y50) return {pu, 0.0};
    const double p = pu * std::sqrt(std::sqrt(y / (factor * y50)));
    return {p, y > 0 ? p / (4.0 * y) : 0.0};
}

}  // namespace torvex::engine
