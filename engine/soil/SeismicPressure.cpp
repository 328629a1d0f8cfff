#include "soil/SeismicPressure.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace torvex::engine {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

std::string Number(double value) {
    std::ostringstream out;
    out.precision(6);
    out << value;
    return out.str();
}

}  // namespace

double SeismicInertiaAngle(double kh, double kv) {
    if (!(std::isfinite(kh) && std::isfinite(kv)))
        throw std::invalid_argument("Seismic coefficients: kh and kv must be numbers.");
    if (!(kv < 1))
        throw std::invalid_argument("Seismic coefficients: kv = " + Number(kv) +
                                    " would lift the backfill off its weight; kv must be below 1.");
    return std::atan(kh / (1 - kv));
}

double MononobeOkabeCoefficient(double phiDeg, double thetaRad, double slopeDeg) {
    const double phi = phiDeg * kDegree, beta = slopeDeg * kDegree, theta = thetaRad;
    const double reserve = phi - theta - beta;
    if (reserve < -1e-12)
        throw std::invalid_argument(
            "Mononobe-Okabe has no solution: the friction angle " + Number(phiDeg) +
            " deg is less than the seismic inertia angle theta = atan(kh / (1 - kv)) = " +
            Number(theta / kDegree) + " deg plus the backfill slope " + Number(slopeDeg) +
            " deg, so no wedge of the backfill can stand. Reduce kh or the slope.");
    const double c = std::cos(phi - theta);
    const double root = std::sqrt(std::sin(phi) * std::sin(std::max(reserve, 0.0)) / (std::cos(theta) * std::cos(beta)));
    const double bracket = 1 + root;
    return c * c / (std::cos(theta) * std::cos(theta) * bracket * bracket);
}

double SeismicIncrement(double phiDeg, double slopeDeg, double kh, double kv) {
    const double theta = SeismicInertiaAngle(kh, kv);
    return (1 - kv) * MononobeOkabeCoefficient(phiDeg, theta, slopeDeg) - MononobeOkabeCoefficient(phiDeg, 0, slopeDeg);
}

}  // namespace torvex::engine
