// The cyclic p-y curves checked by hand at chosen points: Matlock's soft clay above and below
// z_r, Welch and Reese's stiff clay after N cycles, and the API sand with A = 0.9.

#include <gtest/gtest.h>

#include <cmath>

#include "soil/CyclicCurves.h"
#include "soil/PyCriteria.h"

namespace torvex::engine {
namespace {

// Soft clay c 30 kPa, b 0.6 m, gamma' 8 kN/m3, e50 0.01: y50 = 2.5 x 0.01 x 0.6 = 0.015 m,
// z_r = 6 x 30 x 0.6 / (8 x 0.6 + 0.5 x 30) = 108 / 19.8 = 5.4545 m.
TPySoil SoftClay(double z) {
    TPySoil s;
    s.type = TPyCriterion::SoftClay;
    s.b = 0.6;
    s.z = z;
    s.sigmaV = 8 * z;
    s.gammaEff = 8;
    s.c = 30;
    s.e50 = 0.01;
    s.cyclic = true;
    return s;
}

// At z = 2 m (above z_r): pu = (3 + 16/30 + 0.5 x 2/0.6) x 30 x 0.6 = 93.6 kN/m; 0.72 pu =
// 67.392 at 3 y50; 0.72 pu z/z_r = 67.392 x 2/5.4545 = 24.7104 at 15 y50 and beyond; the
// straight fall between, 46.0512 at 9 y50; the static 0.5 pu = 46.8 at y50.
// At z = 6 m (below z_r): pu = min((3 + 48/30 + 5) x 18, 9 x 18) = 162; 0.72 pu = 116.64 from
// 3 y50 on.
TEST(CyclicCurves, MatlockSoftClayAtChosenPoints) {
    EXPECT_NEAR(MatlockCyclicDepth(30, 0.6, 8), 5.454545, 1e-6);
    const double y50 = 0.015;
    struct TPoint {
        double z, yOverY50, p;
    } const points[] = {
        {2, 1, 46.8},      {2, 3, 67.392},    {2, 9, 46.0512}, {2, 15, 24.7104},
        {2, 30, 24.7104},  {6, 3, 116.64},    {6, 15, 116.64}, {6, 40, 116.64},
        {6, 1, 81.0},
    };
    for (const TPoint& t : points) {
        const double p = PyResistance(SoftClay(t.z), t.yOverY50 * y50);
        EXPECT_NEAR(p, t.p, 1e-3 * t.p) << t.z << " " << t.yOverY50;
        EXPECT_NEAR(PyResistance(SoftClay(t.z), -t.yOverY50 * y50), -p, 1e-12 * t.p);
    }
    // The falling branch has the slope -(67.392 - 24.7104) / (12 y50).
    EXPECT_NEAR(TPyCurve(SoftClay(2)).Tangent(9 * y50), -(67.392 - 24.7104) / (12 * y50), 1e-3 * 237.12);
}

// Stiff clay without free water, c 100 kPa, b 0.6 m, e50 0.005 (y50 = 0.0075 m), z 1 m,
// sigma_v' 10 kPa: pu = (3 + 0.1 + 0.5/0.6) x 60 = 236 kN/m. After N = 100 cycles the
// deflection at p = 0.5 pu is y50 + 9.6 (0.5)^4 y50 log10 100 = 2.2 y50; at 0.8 pu it is
// 16 (0.8)^4 y50 + 9.6 (0.8)^4 x 2 y50 = 14.41792 y50; pu is reached at 16 + 19.2 = 35.2 y50.
// N = 1 is the static curve: 0.5 pu at y50.
TEST(CyclicCurves, WelchReeseAfterNCycles) {
    const double y50 = 0.0075, pu = 236;
    struct TPoint {
        double cycles, yOverY50, p;
    } const points[] = {
        {100, 2.2, 0.5 * pu}, {100, 14.41792, 0.8 * pu}, {100, 35.2, pu}, {100, 50, pu}, {1, 1, 0.5 * pu}, {1, 16, pu},
    };
    for (const TPoint& t : points) {
        TPySoil s;
        s.type = TPyCriterion::StiffClayNoFreeWater;
        s.b = 0.6;
        s.z = 1;
        s.sigmaV = s.gammaEff = 10;
        s.c = 100;
        s.e50 = 0.005;
        s.cyclic = true;
        s.cycles = t.cycles;
        EXPECT_NEAR(PyResistance(s, t.yOverY50 * y50), t.p, 1e-3 * t.p) << t.cycles << " " << t.yOverY50;
    }
    EXPECT_NEAR(WelchReeseCyclicFactor(100), 35.2, 1e-12);
}

// Sand, cyclic: A = 0.9 at every depth. At z = 1 m with b = 0.6 the static A is
// 3 - 0.8/0.6 = 1.6667, so far out on the curves cyclic / static = 0.9 / 1.6667 = 0.54, and
// at small deflection both follow k z y.
TEST(CyclicCurves, SandTakesANinetyPercentOfPu) {
    TPySoil s;
    s.type = TPyCriterion::Sand;
    s.b = 0.6;
    s.z = 1;
    s.sigmaV = s.gammaEff = 10;
    s.phiDeg = 35;
    s.k = 20000;
    TPySoil cyclic = s;
    cyclic.cyclic = true;
    EXPECT_NEAR(PyResistance(cyclic, 1.0) / PyResistance(s, 1.0), 0.54, 1e-3 * 0.54);
    EXPECT_NEAR(PyResistance(cyclic, 1.0), 0.9 * PyUltimateResistance(s), 1e-9 * PyUltimateResistance(s));
    EXPECT_NEAR(PyResistance(cyclic, 1e-9), 20000 * 1 * 1e-9, 1e-3 * 2e-5);
    EXPECT_NEAR(PyResistance(s, 1e-9), 20000 * 1 * 1e-9, 1e-3 * 2e-5);
}

// Criteria without a cyclic form keep their static curve; a bad N is an input error.
TEST(CyclicCurves, OtherSoilsStayStaticAndNMustBeOneOrMore) {
    EXPECT_TRUE(PyHasCyclicForm(TPyCriterion::SoftClay));
    EXPECT_FALSE(PyHasCyclicForm(TPyCriterion::StiffClayFreeWater));
    EXPECT_FALSE(PyHasCyclicForm(TPyCriterion::Silt));
    TPySoil s = SoftClay(2);
    s.type = TPyCriterion::Silt;
    TPySoil statics = s;
    statics.cyclic = false;
    for (const double y : {0.015, 0.2}) EXPECT_EQ(PyResistance(s, y), PyResistance(statics, y)) << y;
    TPySoil bad = SoftClay(2);
    bad.cycles = 0.5;
    EXPECT_THROW(PyResistance(bad, 0.01), std::invalid_argument);
}

}  // namespace
}  // namespace torvex::engine
