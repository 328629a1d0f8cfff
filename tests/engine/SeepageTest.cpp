// Steady seepage under the wall and the hydraulic heave check at the toe, against closed forms
// of the simplified method worked out here.

#include <gtest/gtest.h>

#include <cmath>

#include "Analysis.h"
#include "TextbookWall.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

using torvex::testing::TextbookDataFile;
using torvex::testing::TTextbookWall;

constexpr double kGammaW = 9.81;

TFileAnalysis AnalyzeWall(const TTextbookWall& wall, double targetF, bool seepage) {
    return AnalyzeDataText(TextbookDataFile(wall, targetF), "seepage.tx4d", [seepage](TWorkspace& w, int) {
        w.Project().Options.Seepage = seepage ? 1 : 0;
    });
}

// i and u_toe by the simplified method, written out.
double Gradient(double back, double front, double toe) { return (front - back) / ((toe - back) + (toe - front)); }
double ToePore(double back, double front, double toe) {
    const double d1 = toe - back, d2 = toe - front;
    return 2 * kGammaW * d1 * d2 / (d1 + d2);
}

// Sand, phi 33, gamma 18 above the water and 20 below, water 2 m down behind and at the
// excavation level (6 m) in front, F = 1: 10.146 m with seepage, 10.068 m without (direct
// integration of Rankine's pressures, pivot method).
TEST(Seepage, LimitEquilibriumEmbedmentFollowsTheTrialToe) {
    TTextbookWall wall{33, 18, 20, 2, 6, 12, 0, 360};
    wall.waterFront = 6;
    struct TCheck {
        bool seepage;
        double embedment;
    } const checks[] = {{true, 10.146}, {false, 10.068}};
    for (const TCheck& check : checks) {
        SCOPED_TRACE(check.seepage);
        const TFileAnalysis a = AnalyzeWall(wall, 1.0, check.seepage);
        ASSERT_TRUE(a.error.empty()) << a.error;
        const TLimitEquilibrium& le = a.cases.at(0).le;
        ASSERT_TRUE(le.requiredFound);
        EXPECT_NEAR(le.requiredEmbedment, check.embedment, 0.005 * check.embedment);
        const double toe = 6 + le.requiredEmbedment;
        EXPECT_NEAR(le.requiredSeepageGradient, check.seepage ? Gradient(2, 6, toe) : 0.0, 1e-9);
        EXPECT_NEAR(le.seepageGradient, check.seepage ? Gradient(2, 6, 18) : 0.0, 1e-9);
    }
    // The closed form at the worked toe.
    EXPECT_NEAR(Gradient(2, 6, 16.146), 0.16466, 0.00001);
    EXPECT_NEAR(ToePore(2, 6, 16.146), 115.92, 0.01);
}

}  // namespace
}  // namespace torvex::engine
