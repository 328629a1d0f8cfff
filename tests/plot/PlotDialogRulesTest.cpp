#include "plot/PlotDialogRules.h"

#include <gtest/gtest.h>

namespace torvex {
namespace {

TEST(PlotDialogRules, BitmapPixelsRoundHalvesToEven) {
    EXPECT_EQ(BitmapPixels(72, 6, 4), std::make_pair(432, 288));  // the dialog's defaults
    EXPECT_EQ(BitmapPixels(10, 2.25, 2.75), std::make_pair(22, 28));
    EXPECT_EQ(BitmapPixels(300, 8.5, 11), std::make_pair(2550, 3300));
    // Beyond any bitmap: 0, which the dialog reports as not enough memory.
    EXPECT_EQ(BitmapPixels(1e9, 6, 4), std::make_pair(0, 0));
}

TEST(PlotDialogRules, CurveStatesToggleAndShow) {
    EXPECT_EQ(ToggledCurveState(" yes : "), " no  : ");
    EXPECT_EQ(ToggledCurveState(" no  : "), " yes : ");
    EXPECT_EQ(ToggledCurveState("anything"), " yes : ");
    EXPECT_EQ(ActiveCurveEntry(" yes : ", "Stage 1"), " yes :    Stage 1");
}

}  // namespace
}  // namespace torvex
