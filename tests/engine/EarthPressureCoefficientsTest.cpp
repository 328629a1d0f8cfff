// Earth-pressure coefficients with wall friction against closed forms and published values:
// Rankine's at delta = 0, Lancellotta's passive closed form, Coulomb's, and the values of
// EN 1997-1 Annex C on level and sloping ground.

#include "soil/EarthPressureCoefficients.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace torvex::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;
double Rad(double degrees) { return degrees * kPi / 180; }

// Lancellotta (2002): Kp = cos d / (1 - sin phi) [cos d + sqrt(sin2 phi - sin2 d)] exp(2 theta tan phi),
// 2 theta = asin(sin d / sin phi) + d.
double Lancellotta(double phi, double delta) {
    const double p = Rad(phi), d = Rad(delta);
    const double twoTheta = std::asin(std::sin(d) / std::sin(p)) + d;
    return std::cos(d) / (1 - std::sin(p)) * (std::cos(d) + std::sqrt(std::pow(std::sin(p), 2) - std::pow(std::sin(d), 2))) *
           std::exp(twoTheta * std::tan(p));
}

double TanSquared(double degrees) { return std::pow(std::tan(Rad(degrees)), 2); }

constexpr auto R = TEarthPressureMethod::Rankine, C = TEarthPressureMethod::Coulomb,
               A = TEarthPressureMethod::EC7AnnexC;

TEST(EarthPressureCoefficients, MatchClosedFormsAndPublishedValues) {
    const double phiD = 29.2561;  // atan(tan 35 / 1.25)
    struct TCheck {
        TEarthPressureMethod method;
        bool passive;
        double phi, delta, beta, expected, tolerance;  // tolerance: relative, or half the last digit given
    } const checks[] = {
        // Without wall friction on level ground every method is Rankine's.
        {R, false, 30, 0, 0, TanSquared(30), 1e-12}, {C, false, 30, 0, 0, TanSquared(30), 1e-12},
        {A, false, 30, 0, 0, TanSquared(30), 1e-12}, {R, true, 30, 0, 0, TanSquared(60), 1e-12},
        {C, true, 30, 0, 0, TanSquared(60), 1e-12},  {A, true, 30, 0, 0, TanSquared(60), 1e-12},
        {A, false, 42, 0, 0, TanSquared(24), 1e-12}, {A, true, 42, 0, 0, TanSquared(66), 1e-12},
        {A, true, 0, 0, 0, 1, 0}, {C, false, 0, 0, 0, 1, 0}, {R, false, 0, 0, 0, 1, 0},
        // Annex C passive on level ground is Lancellotta's closed form: 4.2877 and 5.0262.
        {A, true, 30, 15, 0, Lancellotta(30, 15), 1e-12}, {A, true, 30, 30, 0, Lancellotta(30, 30), 1e-12},
        {A, true, 30, 15, 0, 4.2877, 0.5e-4 / 4.2877}, {A, true, 30, 30, 0, 5.0262, 0.5e-4 / 5.0262},
        {A, true, 36, 24, 0, Lancellotta(36, 24), 1e-12},
        {A, false, 30, 20, 0, 0.2852, 0.5e-4 / 0.2852},
        {C, true, 30, 15, 0, 4.807, 0.5e-3 / 4.807},
        // Sloping ground.
        {A, false, 30, 0, 10, 0.3759, 0.5e-4 / 0.3759}, {C, false, 30, 0, 10, 0.3737, 0.5e-4 / 0.3737},
        {A, true, 30, 0, -15, 1.691, 0.5e-3 / 1.691}, {A, true, 30, 0, 15, 4.288, 0.5e-3 / 4.288},
        // Rankine on a slope is Coulomb with delta = beta, horizontally.
        {R, false, 30, 0, 10, 0.344210, 0.5e-6 / 0.344210}, {C, false, 30, 10, 10, 0.344210, 0.5e-6 / 0.344210},
        // The design angle of DA1-C2 with delta = 2/3 phi behind and phi/2 in front.
        {A, false, phiD, phiD * 2 / 3, 0, 0.29449, 0.5e-5 / 0.29449},
        {A, true, phiD, phiD / 2, 0, 4.10212, 0.5e-5 / 4.10212},
    };
    for (const TCheck& c : checks) {
        const double k = c.passive ? PassiveEarthPressureCoefficient(c.method, c.phi, c.delta, c.beta)
                                   : ActiveEarthPressureCoefficient(c.method, c.phi, c.delta, c.beta);
        EXPECT_NEAR(k, c.expected, c.tolerance * c.expected + 1e-15)
            << EarthPressureMethodName(c.method) << (c.passive ? " passive" : " active") << " phi " << c.phi
            << " delta " << c.delta << " beta " << c.beta;
    }
}

TEST(EarthPressureCoefficients, OutsideTheirRangeTheySayWhy) {
    const struct {
        TEarthPressureMethod method;
        bool passive;
        double phi, delta, beta;
        const char* message;
    } cases[] = {
        {A, false, 25, 0, 30, "EN 1997-1 Annex C needs |beta| <= phi and delta <= phi: here phi = 25 deg and beta = 30 deg."},
        {A, true, 25, 0, -30, "EN 1997-1 Annex C needs |beta| <= phi and delta <= phi: here phi = 25 deg and beta = -30 deg."},
        {A, true, 25, 26, 0, "EN 1997-1 Annex C needs |beta| <= phi and delta <= phi: here phi = 25 deg and delta = 26 deg."},
        {C, false, 20, 0, 25, "Coulomb's active coefficient needs beta <= phi: here phi = 20 deg and beta = 25 deg."},
        {C, true, 45, 45, 0, "Coulomb's passive coefficient has no finite value for phi = 45 deg, delta = 45 deg and "
                             "beta = 0 deg: choose EC7-AnnexC or less wall friction."},
        {R, true, 30, 0, 31, "Rankine's passive coefficient needs |beta| <= phi: here phi = 30 deg and beta = 31 deg."},
    };
    for (const auto& c : cases) {
        try {
            c.passive ? PassiveEarthPressureCoefficient(c.method, c.phi, c.delta, c.beta)
                      : ActiveEarthPressureCoefficient(c.method, c.phi, c.delta, c.beta);
            ADD_FAILURE() << c.message;
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(EarthPressureCoefficients, WallFrictionWarnings) {
    EXPECT_TRUE(WallFrictionWarnings(R, 0, 0).empty());
    EXPECT_TRUE(WallFrictionWarnings(C, 0.667, 0.33).empty());
    EXPECT_TRUE(WallFrictionWarnings(A, 1, 1).empty());
    EXPECT_EQ(WallFrictionWarnings(R, 0, 0.5), std::vector<std::string>{"Wall friction is ignored with Rankine's "
              "coefficients; choose Coulomb or EC7-AnnexC as the EarthPressureMethod to use it."});
    EXPECT_EQ(WallFrictionWarnings(C, 0, 0.5), std::vector<std::string>{"The passive wall friction 0.5 phi exceeds "
              "phi/3: Coulomb's plane failure surfaces then overestimate the passive resistance (EN 1997-1 "
              "9.5.3(2)); choose EC7-AnnexC or WallFrictionPassive 0.333 or less."});
}

}  // namespace
}  // namespace torvex::engine
