// Supports, restraints and axial loads of the beam-column against closed forms of beam theory:
// end springs in full, slope restraints through a reaction moment, axial loads in conservative
// form.

#include <gtest/gtest.h>

#include <cmath>

#include "beam/BeamColumn.h"

namespace torvex::engine {
namespace {

TBeamModel Wall(int n, double length, double ei) {
    TBeamModel m = TBeamModel::Sized(n, length / n);
    m.EI.assign(static_cast<size_t>(n + 1), ei);
    return m;
}

void Clamp(TBeamModel& m, int node) {
    m.fixedDeflection[static_cast<size_t>(node)] = 0.0;
    m.fixedSlope[static_cast<size_t>(node)] = 0.0;
}

// A cantilever clamped at one end with a spring k and a load P at the other deflects
// P / (k + 3 EI / L^3) there, whichever end is free.
TEST(ExactSupports, EndSpringActsInFullAtEitherEnd) {
    const double L = 240, EI = 2.9e10, P = 1000;
    const double cantilever = 3 * EI / (L * L * L);
    for (const double ratio : {0.5, 1.0, 3.0})
        for (const bool atTop : {true, false}) {
            TBeamModel m = Wall(100, L, EI);
            const int loaded = atTop ? 0 : 100;
            Clamp(m, atTop ? 100 : 0);
            m.P[static_cast<size_t>(loaded)] = P;
            m.kLateral[static_cast<size_t>(loaded)] = ratio * cantilever;
            const auto r = SolveBeam(m);
            ASSERT_TRUE(r);
            const double exact = P / (ratio * cantilever + cantilever);
            EXPECT_NEAR(r->y[static_cast<size_t>(loaded)], exact, 0.005 * exact) << ratio << " " << atTop;
        }
}

// A cantilever clamped at its tip (L = 10, EI = 1000) with a load P = 1 at the top and a
// rotational spring k = 400 at mid-height: the spring's couple C = k theta(a) with
// theta(a) = (P (L^2 - a^2) / 2 - C (L - a)) / EI gives C = 5, theta(a) = 0.0125, M(L) = P L - C
// = 5, and by moment areas y(0) = (P L^3 / 3 - C (L^2 - a^2) / 2) / EI = 0.1458333. The slope,
// the couple and the moments are exact on any mesh; a concentrated moment at the spring's node
// is shared with it.
TEST(ExactSupports, InnerRotationalSpringTakesItsCoupleExactlyOnAnyMesh) {
    const double L = 10, EI = 1000, P = 1, k = 400;
    for (const int n : {10, 40, 160}) {
        TBeamModel m = Wall(n, L, EI);
        Clamp(m, n);
        m.P[0] = P;
        m.kRotation[static_cast<size_t>(n / 2)] = k;
        const auto r = SolveBeam(m);
        ASSERT_TRUE(r);
        EXPECT_NEAR(std::fabs(r->slope[static_cast<size_t>(n / 2)]), 0.0125, 1e-12) << n;
        EXPECT_NEAR(std::fabs(r->restraintMoment[static_cast<size_t>(n)]), 5, 1e-8) << n;
        EXPECT_NEAR(std::fabs(r->moment[static_cast<size_t>(n)]), 5, 1e-8) << n;
        // The shear just below the spring is still the load: its couple makes no force.
        EXPECT_NEAR(std::fabs(r->shear[static_cast<size_t>(n / 2 + 1)]), P, 1e-8) << n;
        EXPECT_NEAR(r->y[0], 0.1458333333, 0.2 / (n * n)) << n;  // second order, as without the spring
    }
    // A couple Mt = 2 at the spring's node as well, turning against the load: the clamped
    // length L - a turns by (Mt - k theta)(L - a) / EI beside the load's -P (L^2 - a^2) / 2EI,
    // so 3 theta = -0.0375 + 0.005 Mt and k |theta| = (15 - 2 Mt) / 3 = 11/3.
    TBeamModel m = Wall(20, L, EI);
    Clamp(m, 20);
    m.P[0] = P;
    m.kRotation[10] = k;
    m.Mt[10] = 2;
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    EXPECT_NEAR(std::fabs(r->slope[10]) * k, 11.0 / 3, 1e-9);
}

// A spring installed at a deflection y0 carries k (y - y0): installed where the wall already
// stands, it changes nothing.
TEST(ExactSupports, SpringOffsetCarriesNoForceAtItsInstallationDeflection) {
    const double L = 240, EI = 2.9e10, P = 1000;
    TBeamModel m = Wall(60, L, EI);
    Clamp(m, 60);
    m.P[0] = P;
    const auto free = SolveBeam(m);
    ASSERT_TRUE(free);
    m.kLateral[0] = 1e6;
    m.springOffset[0] = free->y[0];
    m.kLateral[30] = 5e5;
    m.springOffset[30] = free->y[30];
    const auto strutted = SolveBeam(m);
    ASSERT_TRUE(strutted);
    EXPECT_NEAR(strutted->y[0], free->y[0], 1e-9 * free->y[0]);
    EXPECT_NEAR(strutted->y[30], free->y[30], 1e-9 * free->y[0]);
}

// Clamped at the tip, slope held at 0 at mid-height a = L/2, load P at the top: the upper half
// is a cantilever from the restraint (P a^3 / 3EI), the lower half a guided beam
// (P a^3 / 12EI); y(0) = 5 P a^3 / (12 EI). The moment jumps from P a to -P a / 2: the
// reaction moment is 3 P a / 2, and the shear stays P across the restraint.
TEST(ExactSupports, InnerSlopeRestraintActsThroughAReactionMoment) {
    const double L = 200, EI = 1e9, P = 500, a = L / 2;
    TBeamModel m = Wall(100, L, EI);
    Clamp(m, 100);
    m.fixedSlope[50] = 0.0;
    m.P[0] = P;
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    const double exact = 5 * P * a * a * a / (12 * EI);
    EXPECT_NEAR(r->y[0], exact, 0.005 * exact);
    EXPECT_NEAR(r->slope[50], 0.0, 1e-12);
    EXPECT_NEAR(std::fabs(r->restraintMoment[50]), 1.5 * P * a, 0.005 * 1.5 * P * a);
    EXPECT_NEAR(r->moment[49], P * 49 * 2, 0.005 * P * a);
    EXPECT_NEAR(r->moment[51], -P * a / 2 + P * 2, 0.005 * P * a);
    for (int i : {45, 49, 51, 55}) EXPECT_NEAR(r->shear[static_cast<size_t>(i)], P, 0.005 * P) << i;

    // Deflection and slope held together inside the wall: a clamp there, nothing below.
    TBeamModel c = Wall(100, L, EI);
    Clamp(c, 40);
    c.P[0] = P;
    const auto clamped = SolveBeam(c);
    ASSERT_TRUE(clamped);
    const double arm = 0.4 * L;
    EXPECT_NEAR(clamped->y[0], P * arm * arm * arm / (3 * EI), 0.005 * P * arm * arm * arm / (3 * EI));
    EXPECT_NEAR(clamped->restraintForce[40], -P, 1e-6 * P);
    EXPECT_NEAR(clamped->y[80], 0.0, 1e-9 * clamped->y[0]);
}

// Tip-clamped cantilever, lateral load P at the top, axial compression Q applied at depth d
// (k^2 = Q / EI). Above d: EI y'' = P x. Below: EI y'' + Q (y - y(d)) = P x, so with
// u = y - y(d) and s = x - d: u = A cos ks + B sin ks + P x / Q, u(0) = 0, u'(L - d) = 0,
// y(L) = 0, and the slope continuous at d.
double AxialCantilever(double L, double EI, double P, double Q, double d) {
    const double k = std::sqrt(Q / EI), t = L - d;
    const double A = -P * d / Q;
    const double B = (A * k * std::sin(k * t) - P / Q) / (k * std::cos(k * t));
    const double slopeAtD = B * k + P / Q;                       // u'(0)
    const double a = slopeAtD - P * d * d / (2 * EI);            // y = P x^3 / 6EI + a x + c above d
    const double yd = -(A * std::cos(k * t) + B * std::sin(k * t) + P * L / Q);  // y(L) = 0
    return yd - P * d * d * d / (6 * EI) - a * d;                // y(0) = c
}

TEST(ExactSupports, AxialLoadAtTheTopAndAtMidHeightAgainstTheBeamColumn) {
    const double L = 400, EI = 1e10, P = 2000;
    const double Qcr = M_PI * M_PI * EI / (4 * L * L);
    struct TCase {
        double fraction, depth;
    } cases[] = {{0.3, 0.0}, {0.6, 0.0}, {0.6, 0.5}, {1.5, 0.5}};
    for (const TCase& c : cases) {
        const double Q = c.fraction * Qcr;
        TBeamModel m = Wall(200, L, EI);
        Clamp(m, 200);
        m.P[0] = P;
        const int node = static_cast<int>(std::lround(c.depth * 200));
        for (int i = node; i <= 200; ++i) m.Q[static_cast<size_t>(i)] = Q;
        const auto r = SolveBeam(m);
        ASSERT_TRUE(r);
        const double k = std::sqrt(Q / EI);
        const double exact = c.depth == 0 ? P * (std::tan(k * L) - k * L) / (Q * k)
                                          : AxialCantilever(L, EI, P, Q, c.depth * L);
        EXPECT_NEAR(r->y[0], exact, 0.005 * exact) << c.fraction << " " << c.depth;
        // The shear V = dM/dx + Q y' is P all along: the axial load adds no lateral force.
        EXPECT_NEAR(r->shear[150], P, 0.005 * P);
    }
}

}  // namespace
}  // namespace torvex::engine
