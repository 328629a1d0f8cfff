#include "soil/EarthPressureCoefficients.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "soil/DrivingLoads.h"
#include "dataentry/NumberText.h"

namespace torvex::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) { return degrees * kPi / 180.0; }

std::string Number(double value) {
    return CNumberText(value);
}

[[noreturn]] void Fail(const std::string& message) { throw std::invalid_argument(message); }

void RequireAngles(const char* method, double phi, double delta, double beta) {
    if (!(std::isfinite(phi) && std::isfinite(delta) && std::isfinite(beta)))
        Fail(std::string(method) + " needs finite angles.");
    if (!(phi >= 0 && phi < 90))
        Fail(std::string(method) + " needs a friction angle from 0 up to 90 deg: here phi = " + Number(phi) + " deg.");
}

// Annex C's one validity rule for both sides.
void RequireAnnexC(double phi, double delta, double beta) {
    RequireAngles("EN 1997-1 Annex C", phi, delta, beta);
    const auto rule = [phi] { return "EN 1997-1 Annex C needs |beta| <= phi and delta <= phi: here phi = " + Number(phi); };
    if (!(std::fabs(beta) <= phi)) Fail(rule() + " deg and beta = " + Number(beta) + " deg.");
    if (!(delta <= phi)) Fail(rule() + " deg and delta = " + Number(delta) + " deg.");
    if (!(delta >= 0))
        Fail("EN 1997-1 Annex C is taken here with the wall friction 0 or more: here delta = " + Number(delta) +
             " deg.");
}

// acos of a ratio that rounding may take a hair past 1 where delta = phi or beta = phi.
double SafeAcos(double ratio) { return std::acos(std::clamp(ratio, -1.0, 1.0)); }

}  // namespace

double RankinePassiveCoefficient(double phiDeg, double betaDeg) {
    RequireAngles("Rankine's passive coefficient", phiDeg, 0, betaDeg);
    if (!(std::fabs(betaDeg) <= phiDeg))
        Fail("Rankine's passive coefficient needs |beta| <= phi: here phi = " + Number(phiDeg) + " deg and beta = " +
             Number(betaDeg) + " deg.");
    const double cb = std::cos(Radians(betaDeg)), cp = std::cos(Radians(phiDeg));
    const double root = std::sqrt(std::max(cb * cb - cp * cp, 0.0));
    return cb * (cb + root) / (cb - root) * cb;
}

double CoulombActiveCoefficient(double phiDeg, double deltaDeg, double betaDeg) {
    RequireAngles("Coulomb's active coefficient", phiDeg, deltaDeg, betaDeg);
    if (!(betaDeg <= phiDeg))
        Fail("Coulomb's active coefficient needs beta <= phi: here phi = " + Number(phiDeg) + " deg and beta = " +
             Number(betaDeg) + " deg.");
    const double phi = Radians(phiDeg), delta = Radians(deltaDeg), beta = Radians(betaDeg);
    const double cd = std::cos(delta), cp = std::cos(phi);
    const double term = std::sin(phi + delta) * std::sin(phi - beta) / (cd * std::cos(beta));
    if (!(cd > 0 && term >= 0))
        Fail("Coulomb's active coefficient has no value for phi = " + Number(phiDeg) + " deg, delta = " +
             Number(deltaDeg) + " deg and beta = " + Number(betaDeg) + " deg.");
    const double root = 1 + std::sqrt(term);
    return cp * cp / (cd * root * root) * cd;  // the horizontal component, K cos delta
}

double CoulombPassiveCoefficient(double phiDeg, double deltaDeg, double betaDeg) {
    RequireAngles("Coulomb's passive coefficient", phiDeg, deltaDeg, betaDeg);
    const double phi = Radians(phiDeg), delta = Radians(deltaDeg), beta = Radians(betaDeg);
    const double cd = std::cos(delta), cp = std::cos(phi);
    const double term = std::sin(phi + delta) * std::sin(phi + beta) / (cd * std::cos(beta));
    // A plane wedge with too much friction, or a slope beyond phi, has no finite resistance
    // (and one within rounding of it none worth the name).
    if (!(cd > 0 && term >= 0 && std::sqrt(term) < 1 - 1e-9))
        Fail("Coulomb's passive coefficient has no finite value for phi = " + Number(phiDeg) + " deg, delta = " +
             Number(deltaDeg) + " deg and beta = " + Number(betaDeg) + " deg: choose EC7-AnnexC or less wall "
             "friction.");
    const double root = 1 - std::sqrt(term);
    return cp * cp / (cd * root * root) * cd;
}

double AnnexCActiveCoefficient(double phiDeg, double deltaDeg, double betaDeg) {
    RequireAnnexC(phiDeg, deltaDeg, betaDeg);
    if (phiDeg == 0) return 1;  // then delta = beta = 0
    const double phi = Radians(phiDeg), delta = Radians(deltaDeg), beta = Radians(betaDeg);
    const double sp = std::sin(phi);
    const double mt = (SafeAcos(std::sin(beta) / sp) + phi - beta) / 2;
    const double mw = (SafeAcos(std::sin(delta) / sp) + phi + delta) / 2;
    const double nu = mt + beta - mw;
    const double cb = std::cos(beta);
    return (1 - sp * std::sin(2 * mw - phi)) / (1 + sp * std::sin(2 * mt - phi)) * std::exp(-2 * nu * std::tan(phi)) *
           cb * cb;
}

double AnnexCPassiveCoefficient(double phiDeg, double deltaDeg, double betaDeg) {
    RequireAnnexC(phiDeg, deltaDeg, betaDeg);
    if (phiDeg == 0) return 1;
    const double phi = Radians(phiDeg), delta = Radians(deltaDeg), beta = Radians(betaDeg);
    const double sp = std::sin(phi);
    const double mt = (SafeAcos(-std::sin(beta) / sp) - phi - beta) / 2;
    const double mw = (SafeAcos(std::sin(delta) / sp) - phi - delta) / 2;
    const double nu = mt + beta - mw;
    const double cb = std::cos(beta);
    return (1 + sp * std::sin(2 * mw + phi)) / (1 - sp * std::sin(2 * mt + phi)) * std::exp(2 * nu * std::tan(phi)) *
           cb * cb;
}

double ActiveEarthPressureCoefficient(TEarthPressureMethod method, double phiDeg, double deltaDeg, double betaDeg) {
    switch (method) {
        case TEarthPressureMethod::Rankine:
            return RankineActiveCoefficient(phiDeg, betaDeg) * std::cos(Radians(betaDeg));
        case TEarthPressureMethod::Coulomb: return CoulombActiveCoefficient(phiDeg, deltaDeg, betaDeg);
        case TEarthPressureMethod::EC7AnnexC: return AnnexCActiveCoefficient(phiDeg, deltaDeg, betaDeg);
    }
    Fail("Unknown earth-pressure method " + std::to_string(static_cast<int>(method)) + ".");
}

double PassiveEarthPressureCoefficient(TEarthPressureMethod method, double phiDeg, double deltaDeg, double betaDeg) {
    switch (method) {
        case TEarthPressureMethod::Rankine: return RankinePassiveCoefficient(phiDeg, betaDeg);
        case TEarthPressureMethod::Coulomb: return CoulombPassiveCoefficient(phiDeg, deltaDeg, betaDeg);
        case TEarthPressureMethod::EC7AnnexC: return AnnexCPassiveCoefficient(phiDeg, deltaDeg, betaDeg);
    }
    Fail("Unknown earth-pressure method " + std::to_string(static_cast<int>(method)) + ".");
}

const char* EarthPressureMethodName(TEarthPressureMethod method) {
    switch (method) {
        case TEarthPressureMethod::Rankine: return "Rankine";
        case TEarthPressureMethod::Coulomb: return "Coulomb";
        case TEarthPressureMethod::EC7AnnexC: return "EN 1997-1 Annex C";
    }
    return "";
}

std::vector<std::string> WallFrictionWarnings(TEarthPressureMethod method, double ratioActive, double ratioPassive) {
    std::vector<std::string> warnings;
    if (method == TEarthPressureMethod::Rankine && (ratioActive != 0 || ratioPassive != 0))
        warnings.push_back("Wall friction is ignored with Rankine's coefficients; choose Coulomb or EC7-AnnexC as "
                           "the EarthPressureMethod to use it.");
    if (method == TEarthPressureMethod::Coulomb && ratioPassive * 3 > 1)
        warnings.push_back("The passive wall friction " + Number(ratioPassive) + " phi exceeds phi/3: Coulomb's "
                           "plane failure surfaces then overestimate the passive resistance (EN 1997-1 9.5.3(2)); "
                           "choose EC7-AnnexC or WallFrictionPassive 0.333 or less.");
    return warnings;
}

std::string EarthPressureModelText(TEarthPressureMethod method, double ratioActive, double ratioPassive) {
    if (method == TEarthPressureMethod::Rankine) return {};
    return std::string("Earth-pressure coefficients by ") + EarthPressureMethodName(method) +
           (method == TEarthPressureMethod::Coulomb ? " (plane failure surfaces)" : " (curved failure surfaces)") +
           ", wall friction delta = " + Number(ratioActive) + " phi behind the wall and " + Number(ratioPassive) +
           " phi in front of it; horizontal components.";
}

}  // namespace torvex::engine
