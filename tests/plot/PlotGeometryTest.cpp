// The graph window's arithmetic: ranges, ticks, mapping, layout, markers, zoom, readout and
// the soil column, with numbers worked out by hand.

#include <gtest/gtest.h>

#include "plot/PlotGeometry.h"
#include "plot/PlotState.h"
#include "plot/PltData.h"
#include "plot/SoilColumn.h"

namespace torvex {
namespace {

void AddCurve(TCurveSet& set, std::initializer_list<TFloatPoint> points) {
    set.SetCount(set.Count() + 1);
    TLine& line = set[set.Count() - 1];
    line.SetPointCount(static_cast<int>(points.size()));
    int j = 0;
    for (const TFloatPoint& p : points) line.Point(j++) = p;
}

TEST(PlotGeometry, RoundsHalvesToEven) {
    const std::pair<long double, int> cases[] = {
        {2.5L, 2}, {3.5L, 4}, {-2.5L, -2}, {-3.5L, -4}, {0.49L, 0}, {7.51L, 8}};
    for (auto [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(PlotGeometry, DataRangesContainTheOriginAndRoundAwayFromZero) {
    struct Case { long double low, high, step, roundedLow, roundedHigh; };
    const Case cases[] = {
        {0, 0.37L, 0.1L, 0, 0.4L},     // span 0.37 is over 3 x 0.1
        {0, 0.25L, 0.01L, 0, 0.25L},   // span 0.25 is under 3 x 0.1
        {0, 7, 1, 0, 7},               // points from 3 to 7 start at 0
        {-12.3L, 0, 1, -13, 0},        // span 12.3 is under 3 x 10
        {0, 0, 0.001L, -0.01L, 0.01L}, // an empty axis is widened by 0.01
    };
    for (const Case& c : cases) {
        long double low = c.low, high = c.high;
        if (c.high > c.low) {
            EXPECT_NEAR(RangeRoundingStep(c.high - c.low), c.step, 1e-15L);
        }
        RoundAxis(low, high);
        EXPECT_NEAR(low, c.roundedLow, 1e-12L) << c.low << " .. " << c.high;
        EXPECT_NEAR(high, c.roundedHigh, 1e-12L) << c.low << " .. " << c.high;
    }
    TGraphPlot graph;
    AddCurve(graph.Lines, {{3, 2}, {7, 9.5L}});
    AddCurve(graph.Lines, {{4, 1}, {5, 0.5L}});
    const TDataRange range = DataRangeOf(graph.Lines);
    EXPECT_EQ(range, (TDataRange{0, 7, 0, 10}));
    // A graph against an input fits its data: a free height of 96 to 168 in (span 72, step
    // 10) and moments of -68000 to 287000 (span 355000, step 100000), rounded outward.
    TGraphPlot study;
    study.RangeFromOrigin = false;
    AddCurve(study.Lines, {{96, -68000}, {168, 287000}});
    EXPECT_EQ(DataRangeOf(study.Lines), (TDataRange{90, 170, -100000, 300000}));
    study.Lines.Point(0, 0).Y = 68000;  // span 219000 < 3 * 100000: step 10000
    EXPECT_EQ(DataRangeOf(study.Lines), (TDataRange{90, 170, 60000, 290000}));
}

TEST(PlotGeometry, TickStepsAreOneTwoOrFiveTimesAPowerOfTen) {
    const std::pair<long double, long double> majors[] = {
        {0.37L, 0.2L}, {0.95L, 1}, {0.15L, 0.1L}, {6, 5}, {1, 1}, {45, 20}};
    for (auto [raw, major] : majors) EXPECT_NEAR(MajorTickStep(raw), major, 1e-15L) << raw;

    // 3.2 over 8 intervals: raw 0.4, major 0.2, minor 0.04; ticks -25 .. 55.
    const TAxisTicks ticks = AxisTicks(-1, 2.2L, 8);
    EXPECT_TRUE(ticks.Shown);
    EXPECT_NEAR(ticks.Minor, 0.04L, 1e-15L);
    EXPECT_EQ(ticks.First, -25);
    EXPECT_EQ(ticks.Last, 55);
    EXPECT_FALSE(AxisTicks(0, 1, 0).Shown);
    // Six font heights per interval, four in three panels; too small gives none.
    EXPECT_EQ(TickIntervals(600, 14, false), 7);
    EXPECT_EQ(TickIntervals(600, 14, true), 10);
    EXPECT_EQ(TickIntervals(83, 14, false), 0);
}

// Labels up to 40 pixels wide want 44 pixels each with a gap of 4: major ticks 44 pixels
// apart all get one, 43 or 30 apart every second, 10 apart every fifth; the labelled ones
// are the round multiples counted from zero, also below it.
TEST(PlotGeometry, TickLabelsThatWouldRunTogetherAreThinnedOut) {
    EXPECT_EQ(LabelStride(40, 4, 44), 1);
    EXPECT_EQ(LabelStride(40, 4, 43), 2);
    EXPECT_EQ(LabelStride(40, 4, 30), 2);
    EXPECT_EQ(LabelStride(40, 4, 10), 5);
    EXPECT_EQ(LabelStride(40, 4, 0), 1);  // a collapsed axis draws what it has
    std::string labelled;
    for (long long k = -20; k <= 20; k += 5) labelled += LabelledTick(k, 2) ? 'L' : '-';
    EXPECT_EQ(labelled, "L-L-L-L-L");  // -20, -10, 0, 10, 20
    EXPECT_TRUE(LabelledTick(15, 1));
}

TEST(PlotGeometry, MapsBothWaysWithDepthGrowingDown) {
    TPlotMapping map{{0, 10, 0, 20}, {100, 50, 200, 250}, true};
    EXPECT_EQ(map.XPixel(2.5L), 125);
    EXPECT_EQ(map.XPixel(0.25L), 102);  // 2.5 pixels: half to even
    EXPECT_EQ(map.XPixel(0.35L), 104);  // 3.5 pixels
    EXPECT_EQ(map.YPixel(5), 100);
    EXPECT_DOUBLE_EQ(static_cast<double>(map.XValue(125)), 2.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(map.YValue(100)), 5.0);
    map.Downward = false;
    EXPECT_EQ(map.YPixel(5), 200);
    EXPECT_DOUBLE_EQ(static_cast<double>(map.YValue(200)), 5.0);
    // Data far outside the range (read after the window opened) stays a defined pixel.
    EXPECT_EQ(map.XPixel(1e30L), 100'000'100);
    EXPECT_EQ(map.XPixel(-1e30L), -99'999'900);
}

TEST(PlotGeometry, LaysOutTheSingleAndTheThreePanelPage) {
    TLayoutInput in{800, 600, 96, 96, 14};
    TPlotLayout out = LayOut(in);
    EXPECT_EQ(out.Plot, (TPixelRect{41, 41, 769, 569}));
    in.HasTitle = in.TitleOnTop = true;
    EXPECT_EQ(LayOut(in).Plot.Top, 56);
    in.ShowLayers = true;
    out = LayOut(in);
    EXPECT_EQ(out.Plot.Right, 673);
    EXPECT_EQ(out.Column, (TPixelRect{692, 56, 769, 569}));
    in = TLayoutInput{800, 600, 96, 96, 14};
    in.ShowThree = true;
    out = LayOut(in);  // w = (728 - 56 - 48) / 3 = 208, gaps 28 + 24
    EXPECT_EQ(out.Panels[0], (TPixelRect{41, 41, 249, 569}));
    EXPECT_EQ(out.Panels[1], (TPixelRect{301, 41, 509, 569}));
    EXPECT_EQ(out.Panels[2], (TPixelRect{561, 41, 769, 569}));
    in = TLayoutInput{800, 600, 96, 96, 14};
    in.XOnTop = false;
    in.HasTitle = true;  // at the bottom
    out = LayOut(in);
    EXPECT_EQ(out.Plot.Top, 31);
    EXPECT_EQ(out.Plot.Bottom, 545);
    EXPECT_EQ(KeepInside({700, 500}, 120, 150, 800, 600), (TPixelPoint{680, 450}));
    EXPECT_EQ(KeepInside({-5, 10}, 900, 50, 800, 600), (TPixelPoint{0, 10}));
}

// A Letter sheet at 600 dpi (5100 x 6600 pixels) with one-inch margins: the page is
// 600..4500 by 600..6000. H = 87 (14 pixels at 96 dpi, 14 x 600 / 96 = 87.5, truncated).
// The room on the axis sides is 2H + dpiX/8 + H/8 = 174 + 75 + 10 = 259.
TEST(PlotGeometry, PrintedPlotReachesThePageEdges) {
    const TPixelRect page = PageInsideMargins(5100, 6600, 600, 600, 600, 600);
    ASSERT_EQ(page, (TPixelRect{600, 600, 4500, 6000}));
    struct Case { bool xOnTop, hasTitle, titleOnTop; TPixelRect plot; };
    const Case cases[] = {
        {true, false, false, {859, 859, 4500, 6000}},
        {true, true, true, {859, 1009, 4500, 6000}},    // title on top: dpiY/4 = 150 lower
        {true, true, false, {859, 859, 4500, 5700}},    // title at the bottom: dpiY/2 = 300
        {false, false, false, {859, 600, 4500, 5741}},  // X axis below: 6000 - 259
        {false, true, true, {859, 750, 4500, 5741}},
        {false, true, false, {859, 600, 4500, 5441}},
    };
    for (const Case& c : cases) {
        TLayoutInput in{page.Width(), page.Height(), 600, 600, 87, c.xOnTop, c.hasTitle, c.titleOnTop};
        in.Kind = TPageKind::Printed;
        in.PageLeft = page.Left;
        in.PageTop = page.Top;
        const TPlotLayout out = LayOut(in);
        EXPECT_EQ(out.Page, page);
        EXPECT_EQ(out.Plot, c.plot) << c.xOnTop << c.hasTitle << c.titleOnTop;
        EXPECT_EQ(out.Panels[0], c.plot);
        EXPECT_FALSE(out.HasColumn);
    }
    // The soil column and the three panels as in the window: the plot gives up an inch and
    // the column starts dpiX/5 = 120 into it; w = (3641 - 348 - 300) / 3 = 997 with gaps of
    // 2H + dpiX/4 = 324.
    TLayoutInput in{3900, 5400, 600, 600, 87};
    in.Kind = TPageKind::Printed;
    in.PageLeft = in.PageTop = 600;
    in.ShowLayers = true;
    TPlotLayout out = LayOut(in);
    EXPECT_EQ(out.Plot, (TPixelRect{859, 859, 3900, 6000}));
    EXPECT_EQ(out.Column, (TPixelRect{4020, 859, 4500, 6000}));
    in.ShowLayers = false;
    in.ShowThree = true;
    out = LayOut(in);
    EXPECT_EQ(out.Panels[0], (TPixelRect{859, 859, 1856, 6000}));
    EXPECT_EQ(out.Panels[1], (TPixelRect{2180, 859, 3177, 6000}));
    EXPECT_EQ(out.Panels[2], (TPixelRect{3501, 859, 4500, 6000}));
    // The axis room is measured with dpiX on both axes: 174 + 150 + 10 = 334 at 1200 x 600.
    in = TLayoutInput{3900, 5400, 1200, 600, 87, false};
    in.Kind = TPageKind::Printed;
    EXPECT_EQ(LayOut(in).Plot, (TPixelRect{334, 0, 3900, 5066}));
}

// A 6 x 4 inch picture saved from a 96-dpi window (576 x 384 pixels, H = 14) is laid out as
// the window: left 28 + 12 + 1 = 41, right 576 - 24 - 7 = 545; the title takes no room.
TEST(PlotGeometry, SavedPictureAsTheWindowWithANarrowerColumn) {
    struct Case { bool xOnTop, hasTitle, titleOnTop, layers; TPixelRect plot, column; };
    const Case cases[] = {
        {true, false, false, false, {41, 41, 545, 353}, {}},   // bottom 384 - 24 - 7
        {true, true, true, false, {41, 41, 545, 353}, {}},     // the window: top 56
        {false, true, false, false, {41, 31, 545, 343}, {}},   // the window: bottom 329
        // ShowLayers: the plot gives up dpiX/2 = 48, the column starts 96/5 = 19 after it.
        {true, false, false, true, {41, 41, 497, 353}, {516, 41, 545, 353}},
        {false, true, true, true, {41, 31, 497, 343}, {516, 31, 545, 343}},
    };
    for (const Case& c : cases) {
        TLayoutInput in{576, 384, 96, 96, 14, c.xOnTop, c.hasTitle, c.titleOnTop, c.layers};
        in.Kind = TPageKind::Saved;
        const TPlotLayout out = LayOut(in);
        EXPECT_EQ(out.Plot, c.plot) << c.xOnTop << c.hasTitle << c.titleOnTop << c.layers;
        EXPECT_EQ(out.HasColumn, c.layers);
        if (c.layers) {
            EXPECT_EQ(out.Column, c.column);
        }
    }
}

// The state lays out a printed page from its graph's settings.
TEST(PlotState, PrintedPageFromTheGraphsSettings) {
    TGraphPlot graph;
    AddCurve(graph.Lines, {{0, 0}, {1, 20}});
    AddCurve(graph.LayerLines, {{1, 20}});
    graph.XOnTop = true;
    graph.Title = "Wall A";
    graph.TitleOnTop = false;
    graph.ShowLayers = true;
    TPlotState state(graph);
    state.LayOut(TPixelRect{600, 600, 4500, 6000}, 600, 600, 87, TPageKind::Printed);
    EXPECT_EQ(state.Layout().Plot, (TPixelRect{859, 859, 3900, 5700}));
    EXPECT_EQ(state.Layout().Column, (TPixelRect{4020, 859, 4500, 5700}));
    EXPECT_EQ(state.Panel(0).Map.Rect, state.Layout().Plot);
    EXPECT_EQ(state.DpiX(), 600);
    EXPECT_EQ(state.H(), 87);
}

TEST(PlotGeometry, MarkerShapesAndSpacing) {
    using P = std::vector<TPixelPoint>;
    // sin and cos of 60 degrees times 3 are 2.598 and 1.5: 3 and 2 (half to even).
    EXPECT_EQ(MarkerCorners(0, 100, 100, 3, 3), (P{{100, 103}, {97, 98}, {103, 98}}));
    EXPECT_EQ(MarkerCorners(1, 100, 100, 3, 3), (P{{102, 98}, {102, 102}, {98, 102}, {98, 98}}));
    EXPECT_EQ(MarkerCorners(2, 100, 100, 3, 3), (P{{100, 97}, {103, 102}, {97, 102}}));
    EXPECT_EQ(MarkerCorners(3, 100, 100, 3, 3),
              (P{{100, 97}, {103, 100}, {100, 103}, {97, 100}}));
    std::vector<int> marked;
    for (int j = 0; j < 10; ++j)
        if (HasMarker(j, 3)) marked.push_back(j);
    EXPECT_EQ(marked, (std::vector<int>{0, 3, 6, 9}));
    EXPECT_FALSE(HasMarker(0, 0));
}

TEST(PlotGeometry, ZoomStopsAtOneTwentiethAndRightClickStaysInsideHome) {
    const TDataRange home{0, 10, 0, 100};
    TPlotMapping map{home, {0, 0, 1000, 1000}, true};
    EXPECT_FALSE(ZoomToBand(map, home, {500, 100}, {500, 900}));  // zero width
    EXPECT_EQ(map.Range, home);
    // 1/100 of the X span becomes 1/20 around the band's middle; Y 10 .. 90 stays.
    ASSERT_TRUE(ZoomToBand(map, home, {510, 900}, {500, 100}));
    EXPECT_NEAR(map.Range.Xmin, 4.8L, 1e-12L);
    EXPECT_NEAR(map.Range.Xmax, 5.3L, 1e-12L);
    EXPECT_NEAR(map.Range.Ymin, 10, 1e-12L);
    EXPECT_NEAR(map.Range.Ymax, 90, 1e-12L);
    // A narrow band at the edge is shifted back inside the home range.
    map.Range = home;
    ASSERT_TRUE(ZoomToBand(map, home, {0, 0}, {10, 1000}));
    EXPECT_NEAR(map.Range.Xmin, 0, 1e-12L);
    EXPECT_NEAR(map.Range.Xmax, 0.5L, 1e-12L);

    map.Range = home;  // the full view stays the full view
    ZoomOutAt(map, home, {900, 100});
    EXPECT_EQ(map.Range, home);
    map.Range = {4, 5, 40, 50};  // twice the span around the click, inside home
    ZoomOutAt(map, home, {500, 0});
    EXPECT_NEAR(map.Range.Xmin, 3.5L, 1e-12L);
    EXPECT_NEAR(map.Range.Xmax, 5.5L, 1e-12L);
    EXPECT_NEAR(map.Range.Ymin, 30, 1e-12L);
    EXPECT_NEAR(map.Range.Ymax, 50, 1e-12L);
    map.Range = {0, 1, 0, 10};
    ZoomOutAt(map, home, {200, 0});
    EXPECT_NEAR(map.Range.Xmin, 0, 1e-12L);
    EXPECT_NEAR(map.Range.Xmax, 2, 1e-12L);
}

TEST(PlotGeometry, ReadoutAndTickTexts) {
    EXPECT_EQ(ReadoutText("Shear vs Depth", 0.5L, 12), "Shear vs Depth X: 0.5 Y: 12");
    EXPECT_EQ(ReadoutText("A", 123456.7L, -0.000012345L), "A X: 1.2346E5 Y: -0.000012345");
    EXPECT_EQ(TickLabel(3 * 0.04), "0.12");
    EXPECT_EQ(TickLabel(25000), "2.5E4");
    EXPECT_EQ(TickLabel(-1.6L), "-1.6");
}

TEST(PlotState, ReadoutOverAPointOfADepthGraph) {
    TGraphPlot graph;
    graph.Caption = "Deflection vs Depth";
    AddCurve(graph.Lines, {{0, 0}, {1, 20}});
    TPlotState state(graph);
    state.LayOut(800, 612, 96, 96, 14);  // plot 41..769 by 41..581: 728 x 540 pixels
    const TPlotMapping& map = state.Panel(0).Map;
    EXPECT_EQ(state.Readout(map.XPixel(0.5L), map.YPixel(12)), "Deflection vs Depth X: 0.5 Y: 12");
    // Outside the plot the position is clamped to its corner.
    EXPECT_EQ(state.Readout(-50, 5000), "Deflection vs Depth X: 0 Y: 20");
    EXPECT_FALSE(state.ZoomOut({5, 5}));
}

TEST(SoilColumn, LayersWithoutAndWithTheWall) {
    TGraphPlot graph;
    const std::pair<int, long double> layers[] = {{1, 2}, {7, 5}, {10, 30}};
    for (auto [code, depth] : layers) AddCurve(graph.LayerLines, {{static_cast<long double>(code), depth}});
    graph.LayerLines[0].Name = " CLAY ";
    graph.LayerLines[1].Name = " SAND ";
    graph.LayerLines[2].Name = "WEAK ROCK";
    graph.WallLineCount = 3;
    const TPixelRect column{0, 100, 100, 300};
    const TPlotMapping depths{{0, 1, 0, 20}, {0, 100, 50, 300}, true};  // 10 pixels a unit
    TSoilColumn out = SoilColumnOf(graph, column, depths);
    ASSERT_EQ(out.Bands.size(), 3u);
    EXPECT_EQ(out.Bands[0].Rect, (TPixelRect{0, 100, 99, 120}));
    EXPECT_EQ(out.Bands[1].Rect, (TPixelRect{0, 120, 99, 150}));
    EXPECT_EQ(out.Bands[2].Rect, (TPixelRect{0, 150, 99, 300}));  // ends at the plot bottom
    EXPECT_EQ(out.Bands[1].Code, 7);
    EXPECT_EQ(out.Bands[2].Label, "WEAK ROCK");
    EXPECT_FALSE(out.HasWall);

    // Clay to 8 and sand to 30; wall 25 long, excavation 4 deep.
    TGraphPlot walled;
    AddCurve(walled.LayerLines, {{1, 8}});
    AddCurve(walled.LayerLines, {{7, 30}});
    AddCurve(walled.LayerLines, {{0, 25}});
    AddCurve(walled.LayerLines, {{0, 4}});
    walled.WallLineCount = 2;
    walled.ShowWall = true;
    out = SoilColumnOf(walled, column, depths);
    ASSERT_EQ(out.Bands.size(), 3u);
    EXPECT_EQ(out.Bands[0].Rect, (TPixelRect{0, 100, 40, 180}));   // retained side
    EXPECT_EQ(out.Bands[1].Rect, (TPixelRect{60, 140, 100, 180})); // from the excavation down
    EXPECT_EQ(out.Bands[2].Rect, (TPixelRect{0, 180, 100, 300}));  // below it: full width
    EXPECT_TRUE(out.Bands[0].Label.empty());
    ASSERT_TRUE(out.HasWall);
    EXPECT_EQ(out.Wall, (TPixelRect{40, 100, 60, 300}));
    EXPECT_TRUE(SoilColumnOf(TGraphPlot{}, column, depths).Bands.empty());
}

}  // namespace
}  // namespace torvex
