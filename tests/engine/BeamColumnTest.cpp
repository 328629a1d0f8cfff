#include "beam/BeamColumn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "beam/BandSolver.h"

namespace torvex::engine {
namespace {

// A wall of length L fixed at its tip by restraints (deflection and slope 0), free at the top.
TBeamModel FixedTipCantilever(int n, double length, double ei) {
    TBeamModel m = TBeamModel::Sized(n, length / n);
    m.EI.assign(static_cast<size_t>(n + 1), ei);
    m.fixedDeflection[static_cast<size_t>(n)] = 0.0;
    m.fixedSlope[static_cast<size_t>(n)] = 0.0;
    return m;
}

TEST(SolveBeam, CantileverUnderATipLoad) {
    const double L = 240, EI = 2.9e10, P = 1000;
    TBeamModel m = FixedTipCantilever(100, L, EI);
    m.P[0] = P;
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    const double exact = P * L * L * L / (3 * EI);
    EXPECT_NEAR(r->y[0], exact, 0.005 * exact);
    EXPECT_NEAR(r->slope[0], -P * L * L / (2 * EI), 0.005 * P * L * L / (2 * EI));
    // The moment grows linearly to P L at the tip; the shear is P everywhere.
    EXPECT_NEAR(r->moment[0], 0.0, 1e-6 * P * L);
    EXPECT_NEAR(std::fabs(r->moment[100]), P * L, 0.005 * P * L);
    EXPECT_NEAR(r->shear[50], P, 0.005 * P);
}

TEST(SolveBeam, CantileverUnderAUniformLoad) {
    const double L = 300, EI = 1e10, w = 2.0;
    TBeamModel m = FixedTipCantilever(100, L, EI);
    m.w.assign(101, w);
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    const double exact = w * L * L * L * L / (8 * EI);
    EXPECT_NEAR(r->y[0], exact, 0.005 * exact);
    EXPECT_NEAR(std::fabs(r->moment[100]), w * L * L / 2, 0.01 * w * L * L / 2);
}

TEST(SolveBeam, ATopMomentBendsTheWallUniformly) {
    const double L = 100, EI = 1e8, Mt = 5000;
    TBeamModel m = FixedTipCantilever(50, L, EI);
    m.Mt[0] = Mt;
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    // M = -Mt everywhere (the top condition M(0) = k y' - Mt with k = 0).
    EXPECT_NEAR(r->moment[25], -Mt, 1e-6 * Mt);
    EXPECT_NEAR(std::fabs(r->y[0]), Mt * L * L / (2 * EI), 1e-3 * Mt * L * L / (2 * EI));
}

TEST(SolveBeam, LongBeamOnUniformSpringsMatchesHetenyi) {
    // Semi-infinite beam on an elastic foundation, load P at the free end:
    // y(0) = 2 P beta / k, M max = 0.3224 P / beta at x = pi / (4 beta).
    const double EI = 1e9, k = 50.0, P = 1000;
    const double beta = std::pow(k / (4 * EI), 0.25);
    const double L = 8 * M_PI / beta;
    const int n = 400;
    TBeamModel m = TBeamModel::Sized(n, L / n);
    m.EI.assign(n + 1, EI);
    m.Es.assign(n + 1, k);
    m.P[0] = P;
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    const double y0 = 2 * P * beta / k;
    EXPECT_NEAR(r->y[0], y0, 0.01 * y0);
    double maxMoment = 0;
    for (double v : r->moment) maxMoment = std::max(maxMoment, std::fabs(v));
    EXPECT_NEAR(maxMoment, 0.3224 * P / beta, 0.01 * 0.3224 * P / beta);
}

TEST(SolveBeam, AWallThatNothingHoldsIsSingularNotACrash) {
    TBeamModel m = TBeamModel::Sized(20, 10);
    m.EI.assign(21, 1e6);
    m.w.assign(21, 1.0);
    EXPECT_FALSE(SolveBeam(m).has_value());
    EXPECT_THROW(SolveBeam(TBeamModel::Sized(1, 10)), std::invalid_argument);
}

TEST(SolveBeam, SpringsAndRestraintsInsideTheWall) {
    // A simply supported beam (deflection restrained at both ends) under a midspan load.
    const double L = 200, EI = 1e9, P = 500;
    const int n = 100;
    TBeamModel m = TBeamModel::Sized(n, L / n);
    m.EI.assign(n + 1, EI);
    m.fixedDeflection[0] = 0.0;
    m.fixedDeflection[n] = 0.0;
    m.P[50] = P;
    auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    const double exact = P * L * L * L / (48 * EI);
    EXPECT_NEAR(r->y[50], exact, 0.005 * exact);
    // A stiff lateral spring at midspan instead of the load holds the node almost still.
    m.P[50] = 0;
    m.w.assign(n + 1, 1.0);
    m.kLateral[50] = 1e12;
    r = SolveBeam(m);
    ASSERT_TRUE(r);
    EXPECT_LT(std::fabs(r->y[50]), 1e-6 * std::fabs(r->y[25]));
}

TEST(TBandMatrix, SolvesWithRowInterchanges) {
    TBandMatrix a(4, 1, 1);
    // [[0 1 0 0][1 0 1 0][0 1 0 1][0 0 1 1]] x = [1 2 3 4]
    a.Add(0, 1, 1);
    a.Add(1, 0, 1);
    a.Add(1, 2, 1);
    a.Add(2, 1, 1);
    a.Add(2, 3, 1);
    a.Add(3, 2, 1);
    a.Add(3, 3, 1);
    std::vector<double> b = {1, 2, 3, 4};
    ASSERT_TRUE(a.Solve(b));
    EXPECT_NEAR(b[1], 1, 1e-12);                  // row 0
    EXPECT_NEAR(b[0] + b[2], 2, 1e-12);           // row 1
    EXPECT_NEAR(b[1] + b[3], 3, 1e-12);           // row 2
    EXPECT_NEAR(b[2] + b[3], 4, 1e-12);           // row 3
    EXPECT_THROW(a.Add(0, 3, 1), std::out_of_range);
}

// Threshold pivoting keeps the pivot in place unless another row is ten times larger: on
// banded systems of every kind (entries over twelve orders of magnitude, rows reduced to a
// single 1 as a restraint makes them, zero diagonals) the solution still satisfies the
// equations to rounding.
TEST(TBandMatrix, RandomBandedSystemsSolveToRounding) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-6, 6), kind(0, 9);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 30, lower = 4, upper = 4;
        TBandMatrix a(n, lower, upper);
        std::vector<std::vector<double>> dense(n, std::vector<double>(n, 0.0));
        for (int r = 0; r < n; ++r) {
            const int rowKind = kind(random);
            for (int c = std::max(0, r - lower); c <= std::min(n - 1, r + upper); ++c) {
                double v = unit(random) * std::pow(10.0, exponent(random));
                if (rowKind == 0) v = c == r ? 1.0 : 0.0;  // a restraint's row
                if (rowKind == 1 && c == r) v = 0.0;      // nothing on the diagonal
                if (v != 0) a.Add(r, c, v);
                dense[r][c] = v;
            }
        }
        std::vector<double> b(n), x;
        for (double& v : b) v = unit(random);
        x = b;
        if (!a.Solve(x)) continue;  // a singular draw
        double residual = 0, size = 0, solution = 0;
        for (int r = 0; r < n; ++r) {
            double sum = -b[r], rowSize = 0;
            for (int c = 0; c < n; ++c) {
                sum += dense[r][c] * x[c];
                rowSize += std::fabs(dense[r][c]);
            }
            residual = std::max(residual, std::fabs(sum));
            size = std::max(size, rowSize);
            solution = std::max(solution, std::fabs(x[r]));
        }
        EXPECT_LT(residual, 1e-11 * size * solution + 1e-12) << "trial " << trial;
    }
}

}  // namespace
}  // namespace torvex::engine
