// Design to EN 1997-1: the combinations of a Design Approach against the worked checks, and
// each combination against the plain run of the data file edited into it by hand.

#include <gtest/gtest.h>

#include <cmath>

#include "Analysis.h"
#include "TextbookWall.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

using torvex::testing::TextbookDataFile;
using torvex::testing::TTextbookWall;

const TCombinationResult& Combination(const TFileAnalysis& a, size_t caseIndex, TCombination which) {
    for (const TCombinationResult& c : a.code.at(caseIndex).combinations)
        if (c.combination == which) return c;
    throw std::out_of_range(CombinationName(which));
}

TProjectOptions Code(TDesignCode code) {
    TProjectOptions options;
    options.DesignCode = code;
    return options;
}

TFileAnalysis Analyze(const std::string& text, const TProjectOptions& options) {
    return AnalyzeDataText(text, "w.tx4d", [&](TWorkspace& w, int) { w.Project().Options = options; });
}

// Dry sand, gamma 15.3, phi 35, retained 3.5 m, a cantilever; and an anchored wall in dry sand,
// gamma 18, phi 32, retained 6 m, the anchor 1.5 m down. The unplanned excavation by Auto:
// 0.35 m and 0.45 m. Embedments below the lowered formation, by direct integration of Rankine's
// pressures (pivot method; free earth support).
TEST(CodeDesign, WorkedChecksOfDesignApproach1) {
    const TTextbookWall cantilever{35, 15.3, 15.3, 100, 3.5, 6.0, 0, 950};
    TTextbookWall surcharged = cantilever;
    surcharged.surcharge = 10;
    const TTextbookWall anchored{32, 18, 18, 100, 6.0, 5.0, 1.5, 1100};
    struct TCheck {
        const TTextbookWall* wall;
        TCombination combination;
        double embedment, anchorForce;  // anchorForce 0: a cantilever
    } const checks[] = {
        {&cantilever, TCombination::DA1_C1, 2.9336, 0},
        {&cantilever, TCombination::DA1_C2, 3.9287, 0},
        {&surcharged, TCombination::DA1_C1, 3.4360, 0},
        {&surcharged, TCombination::DA1_C2, 4.7156, 0},
        {&anchored, TCombination::DA1_C1, 2.1527, 93.029},
        {&anchored, TCombination::DA1_C2, 3.0005, 94.993},
    };
    for (const TCheck& c : checks) {
        const TFileAnalysis a = Analyze(TextbookDataFile(*c.wall, 1.0), Code(TDesignCode::EC7_DA1));
        ASSERT_EQ(a.code.size(), 1u) << a.error;
        const TCombinationResult& r = Combination(a, 0, c.combination);
        const double delta = c.wall->anchor > 0 ? 0.45 : 0.35;
        EXPECT_NEAR(r.formationDepth, c.wall->H + delta, 1e-9);
        ASSERT_TRUE(r.result.le.requiredFound) << r.result.le.reason;
        EXPECT_NEAR(r.result.le.requiredEmbedment, c.embedment, 0.005 * c.embedment) << CombinationName(c.combination);
        if (c.anchorForce > 0) {
            EXPECT_NEAR(r.result.le.requiredSupportForce, c.anchorForce, 0.005 * c.anchorForce);
        }
    }
}

}  // namespace
}  // namespace torvex::engine
