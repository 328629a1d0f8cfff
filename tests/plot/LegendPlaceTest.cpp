// Where a graph's legend goes: the first corner of the plot that no curve crosses, worked
// out by hand on a plot of 100 x 100 pixels and a box of 30 x 20.

#include <gtest/gtest.h>

#include "plot/LegendPlace.h"

namespace torvex {
namespace {

constexpr TPixelRect kPlot{0, 0, 100, 100};

TEST(LegendPlace, TakesTheFirstCornerTheCurvesLeaveFree) {
    const struct {
        const char* what;
        std::vector<TPixelCurve> curves;
        TLegendCorner corner;
        TPixelRect box;
    } cases[] = {
        {"no curve", {}, TLegendCorner::BottomRight, {70, 80, 100, 100}},
        {"a diagonal through the bottom-right and top-left", {{{0, 0}, {100, 100}}},
         TLegendCorner::BottomLeft, {0, 80, 30, 100}},
        // Neither end lies in the box: the segment between them crosses it.
        {"a segment across the corner", {{{60, 100}, {100, 60}}}, TLegendCorner::BottomLeft, {0, 80, 30, 100}},
        {"the bottom taken by two curves", {{{0, 95}, {40, 95}}, {{60, 90}, {100, 90}}}, TLegendCorner::TopRight,
         {70, 0, 100, 20}},
        {"only the top-left free", {{{0, 50}, {100, 85}}, {{10, 70}, {10, 100}}, {{80, 0}, {80, 30}}}, TLegendCorner::TopLeft,
         {0, 0, 30, 20}},
        // A depth curve as the report draws it: from the top right down to zero at the toe.
        {"every corner taken", {{{100, 0}, {50, 50}, {50, 100}}, {{0, 10}, {100, 10}}, {{0, 99}, {100, 99}}},
         TLegendCorner::Outside, {70, 100, 100, 120}},
        {"a point alone in the corner", {{{85, 90}}}, TLegendCorner::BottomLeft, {0, 80, 30, 100}},
        {"a point just outside it", {{{69, 90}}}, TLegendCorner::BottomRight, {70, 80, 100, 100}},
        {"a segment along the box's edge touches it", {{{70, 0}, {70, 100}}}, TLegendCorner::BottomLeft,
         {0, 80, 30, 100}},
    };
    for (const auto& c : cases) {
        const TLegendPlace place = PlaceLegend(kPlot, 30, 20, c.curves);
        EXPECT_EQ(place.Corner, c.corner) << c.what;
        EXPECT_EQ(place.Box, c.box) << c.what;
    }
}

TEST(LegendPlace, KeepsTheInsetAndTheClearance) {
    const std::vector<TPixelCurve> nearBox{{{67, 0}, {67, 100}}};
    EXPECT_EQ(PlaceLegend(kPlot, 30, 20, nearBox, 0, 0).Corner, TLegendCorner::BottomRight);
    EXPECT_EQ(PlaceLegend(kPlot, 30, 20, nearBox, 0, 2).Corner, TLegendCorner::BottomRight);
    EXPECT_EQ(PlaceLegend(kPlot, 30, 20, nearBox, 0, 3).Corner, TLegendCorner::BottomLeft);
    const TLegendPlace inset = PlaceLegend(kPlot, 30, 20, {}, 5);
    EXPECT_EQ(inset.Box, (TPixelRect{65, 75, 95, 95}));
    // The inset moves the box off a curve that runs along the plot's edge.
    const std::vector<TPixelCurve> edge{{{100, 0}, {100, 100}}, {{0, 0}, {0, 100}}};
    EXPECT_EQ(PlaceLegend(kPlot, 30, 20, edge).Corner, TLegendCorner::Outside);
    EXPECT_EQ(PlaceLegend(kPlot, 30, 20, edge, 2).Corner, TLegendCorner::BottomRight);
}

TEST(LegendPlace, ABoxLargerThanThePlotGoesOutside) {
    EXPECT_EQ(PlaceLegend(kPlot, 101, 20, {}).Corner, TLegendCorner::Outside);
    EXPECT_EQ(PlaceLegend(kPlot, 30, 96, {}, 3).Corner, TLegendCorner::Outside);
    EXPECT_EQ(PlaceLegend(kPlot, 100, 100, {}).Box, (TPixelRect{0, 0, 100, 100}));
}

TEST(LegendPlace, ACurveCrossesABoxByItsSegmentsOrItsPoint) {
    const TPixelRect box{10, 10, 20, 20};
    EXPECT_TRUE(CurveCrosses({{0, 0}, {30, 30}}, box, 0));
    EXPECT_TRUE(CurveCrosses({{15, 0}, {15, 30}}, box, 0));
    EXPECT_TRUE(CurveCrosses({{0, 25}, {25, 0}}, box, 0));  // through (12.5, 12.5), no end inside
    EXPECT_FALSE(CurveCrosses({{0, 15}, {15, 0}}, box, 0));  // past the corner (10, 10)
    EXPECT_FALSE(CurveCrosses({{21, 0}, {21, 30}}, box, 0));
    EXPECT_TRUE(CurveCrosses({{21, 0}, {21, 30}}, box, 1));
    EXPECT_TRUE(CurveCrosses({{15, 15}}, box, 0));
    EXPECT_FALSE(CurveCrosses({}, box, 5));
}

}  // namespace
}  // namespace torvex
