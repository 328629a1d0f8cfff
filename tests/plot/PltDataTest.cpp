#include "plot/PltData.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "PlotTestSupport.h"
#include "plot/ResultGraphs.h"

namespace torvex {
namespace {

using TPoints = std::vector<TFloatPoint>;

TEST(GraphPlot, NewGraphHasTheComponentDefaultsAndFourEmptySets) {
    const TGraphPlot g("pltTest");
    EXPECT_EQ(g.Name + "|" + g.CurveName + "|" + g.Caption + "|" + g.Title, "pltTest|Curve #||");
    EXPECT_EQ((std::vector<bool>{g.ShowLegend, g.ShowLayers, g.ShowWall, g.ShowThree,
                                 g.ShowFontWidth, g.XOnTop, g.TitleOnTop, g.LimitActiveCurves,
                                 g.IsOpen, static_cast<bool>(g.OnGetCaption)}),
              (std::vector<bool>{true, false, false, false, true, true, false, true, false,
                                 false}));
    EXPECT_EQ((std::vector<int>{g.WallLineCount, g.Markers, g.SizeFont, g.LegendFont,
                                g.WidthLine, g.Units()}),
              (std::vector<int>{0, 1, 10, 11, 1, 1}));
    EXPECT_EQ(g.XCaption + g.XUnits + g.YCaption + g.YUnits + g.XCaption2 + g.XUnits2 +
                  g.YCaption2 + g.YUnits2 + g.XCaption3 + g.XUnits3 + g.YCaption3 + g.YUnits3,
              "");
    const TCurveSet* sets[] = {&g.Lines, &g.LayerLines, &g.Lines2, &g.Lines3};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(&g.Set(k), sets[k - 1]);
        EXPECT_EQ(g.Set(k).Count() + g.Set(k).PointCount(), 0);
    }
    EXPECT_THROW(g.Set(0), std::out_of_range);
    EXPECT_THROW(g.Set(5), std::out_of_range);
}

TEST(GraphPlot, UnitsAreClampedIntoOneToThree) {
    TGraphPlot graph;
    for (const auto& [given, kept] :
         std::vector<std::pair<int, int>>{{0, 1}, {-4, 1}, {2, 2}, {3, 3}, {4, 3}, {7, 3}}) {
        graph.SetUnits(given);
        EXPECT_EQ(graph.Units(), kept) << given;
    }
}

TEST(GraphPlotCurveSet, NewCurvesAreNumberedAfterSetOneAndTakeTheSharedPointCount) {
    TGraphPlot graph;
    graph.Lines.SetCount(2);
    EXPECT_EQ(graph.Lines.PointCount(), 0);
    graph.Lines.SetPointCount(4);
    graph.Lines.Point(0, 3) = {2.5, -1};
    graph.Lines.SetCount(3);
    for (int i = 0; i < 3; ++i) {
        const TLine& line = graph.Lines[i];
        EXPECT_EQ(line.Value, i + 1);
        EXPECT_TRUE(line.Name.empty() && line.Visible && line.Active && &line.Owner() == &graph);
    }
    EXPECT_EQ(PointsOf(graph.Lines[2]), TPoints(4));
    EXPECT_EQ(graph.Lines.Point(0, 3), (TFloatPoint{2.5, -1}));
    // Curves of the other sets are numbered after set 1 as it stands; an empty set starts
    // from set 1's point count.
    graph.Lines3.SetCount(2);
    EXPECT_EQ(graph.Lines3[0].Value, 4);
    EXPECT_EQ(graph.Lines3[1].Value, 4);
    EXPECT_EQ(graph.Lines3.PointCount(), 4);
    // A set with curves keeps its own count: a line appended to one-point layer lines gets
    // one point, not set 1's four, so no curve of the set is shorter than the others.
    graph.LayerLines.SetCount(2);
    graph.LayerLines.SetPointCount(1);
    graph.LayerLines.SetCount(3);
    EXPECT_EQ(graph.LayerLines[2].PointCount(), 1);
    // Curves go from the end; a curve appended again is a new one; negative counts as 0.
    graph.Lines[0].Name = "first";
    graph.Lines[2].Name = "last";
    graph.Lines.SetCount(1);
    EXPECT_THROW(graph.Lines[1], std::out_of_range);
    graph.Lines.SetCount(3);
    EXPECT_EQ(graph.Lines[0].Name + graph.Lines[2].Name, "first");
    EXPECT_EQ(graph.Lines[2].Value, 3);
    graph.Lines.SetCount(-3);
    EXPECT_EQ(graph.Lines.Count() + graph.Lines.PointCount(), 0);
}

TEST(GraphPlotCurveSet, PointCountEvensOutCurvesOfThreeSevenAndFivePoints) {
    TGraphPlot graph;
    graph.Lines2.SetCount(3);
    const int counts[] = {3, 7, 5};
    for (int i = 0; i < 3; ++i) {
        graph.Lines2[i].SetPointCount(counts[i]);
        for (int j = 0; j < counts[i]; ++j)
            graph.Lines2.Point(i, j) = {static_cast<long double>(10 * i + j), 1};
    }
    EXPECT_EQ(graph.Lines2.PointCount(), 3);  // that of the first curve
    graph.Lines2.SetPointCount(5);
    EXPECT_EQ(PointsOf(graph.Lines2[0]), (TPoints{{0, 1}, {1, 1}, {2, 1}, {0, 0}, {0, 0}}));
    EXPECT_EQ(PointsOf(graph.Lines2[1]), (TPoints{{10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}}));
    EXPECT_EQ(PointsOf(graph.Lines2[2]), (TPoints{{20, 1}, {21, 1}, {22, 1}, {23, 1}, {24, 1}}));
    graph.Lines2.SetPointCount(-2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(graph.Lines2[i].PointCount(), 0);
    EXPECT_THROW(graph.Lines2.Point(0, 0), std::out_of_range);
}

TEST(GraphPlotCurveLabel, NameOrThePrefixAndTheShortestValue) {
    TGraphPlot graph;
    graph.Lines.SetCount(3);
    EXPECT_EQ(graph.CurveLabel(2), "Curve #3");
    graph.Lines[0].Value = 0.25;
    EXPECT_EQ(graph.Lines[0].Label(), "Curve #0.25");
    graph.Lines[1].Value = 1e20;
    EXPECT_EQ(graph.CurveLabel(1), "Curve #1E20");
    graph.CurveName = "Load #";
    graph.Lines[0].Value = 1;
    EXPECT_EQ(graph.CurveLabel(0), "Load #1");
    // Once named, a curve keeps its name whatever its value or the prefix.
    graph.Lines[2].Name = "Stage: 3";
    graph.Lines[2].Value = 17;
    graph.CurveName = "Depth";
    EXPECT_EQ(graph.CurveLabel(2), "Stage: 3");
    // The legend passes the label through the caption handler, with the curve's index.
    std::vector<int> asked;
    graph.OnGetCaption = [&](int index, std::string& value) {
        asked.push_back(index);
        value = "[" + value + "]";
    };
    EXPECT_EQ(graph.LegendLabel(1), "[Depth1E20]");
    EXPECT_EQ(graph.CurveLabel(1), "Depth1E20");
    EXPECT_EQ(asked, std::vector<int>{1});
    EXPECT_THROW(graph.LegendLabel(3), std::out_of_range);
}

TEST(GraphPlotUnits, UnitStringsAndAxisLabelsFollowTheGraphsUnits) {
    TGraphPlot graph;
    EXPECT_EQ(graph.UnitsText("L2"), "ft");
    EXPECT_EQ(graph.UnitsText("F2-L"), "tons-in");
    EXPECT_EQ(graph.UnitsText("L-F/Rad."), "in-lbs/Rad.");
    EXPECT_EQ(graph.UnitsText("F1"), "kips");
    graph.SetUnits(2);
    EXPECT_EQ(graph.UnitsText("F/L"), "kN/m");
    EXPECT_EQ(graph.UnitsText("L1"), "mm");
    graph.SetUnits(3);
    for (const char* text : {"L2", "F2-L", "F/L", ""}) EXPECT_EQ(graph.UnitsText(text), text);

    graph.SetUnits(2);
    graph.XCaption = "y";
    graph.XUnits = "L";
    graph.YCaption = "p";
    graph.YUnits = "F/L";
    graph.XCaption2 = "Bending Moment";
    graph.YCaption2 = "Depth";
    graph.YUnits2 = "L2";
    graph.XCaption3 = "Shear";
    graph.XUnits3 = "F1";
    EXPECT_EQ(graph.XAxisLabel(), "y (m)");
    EXPECT_EQ(graph.YAxisLabel(1), "p (kN/m)");
    EXPECT_EQ(graph.XAxisLabel(2), "Bending Moment");  // no unit string: the caption alone
    EXPECT_EQ(graph.YAxisLabel(2), "Depth (m)");
    EXPECT_EQ(graph.XAxisLabel(3), "Shear (kN)");
    EXPECT_EQ(graph.YAxisLabel(3), "");
    graph.SetUnits(1);
    EXPECT_EQ(graph.AxisLabel("p", "F/L"), "p (lbs/in)");
    EXPECT_THROW(graph.XAxisLabel(0), std::out_of_range);
    EXPECT_THROW(graph.YAxisLabel(4), std::out_of_range);
}

TEST(GraphPlotWindow, ActivatesTwentyOfTwentyFiveCurvesAndOpensThroughTheHook) {
    TGraphPlot graph;
    graph.Lines.SetCount(25);
    graph.Lines[3].Active = false;
    graph.ActivateCurvesForNewWindow();
    for (int i = 0; i < 25; ++i) EXPECT_EQ(graph.Lines[i].Active, i < 20) << i;
    graph.LimitActiveCurves = false;
    graph.ActivateCurvesForNewWindow();
    for (int i = 0; i < 25; ++i) EXPECT_TRUE(graph.Lines[i].Active) << i;

    graph.Show();  // no window layer: nothing happens
    EXPECT_FALSE(graph.IsOpen);
    std::vector<bool> openWhenCalled;
    graph.OnShow = [&](TGraphPlot& shown) { openWhenCalled.push_back(shown.IsOpen); };
    graph.Show();  // creates the window
    graph.Show();  // brings the same one to the front
    EXPECT_TRUE(graph.IsOpen);
    graph.IsOpen = false;  // the window closed
    graph.Show();
    EXPECT_EQ(openWhenCalled, (std::vector<bool>{false, true, false}));
}

TEST(ResultGraphs, MainWindowGraphsHoldTheirStoredValuesInAFixedOrder) {
    const TResultGraphs graphs;
    // Name, Caption, CurveName, XCaption, XUnits, YCaption, YUnits; XOnTop.
    const std::vector<std::pair<std::vector<std::string>, bool>> expected{
        {{"pltPY", "p-y Curves", "Depth", "y", "L", "p", "F/L"}, false},
        {{"pltDef", "Deflection vs Depth", "Load #", "Deflection", "L", "Depth", ""}, true},
        {{"pltMom", "Moment Depth", "Load #", "Bending Moment", "", "Depth", ""}, true},
        {{"pltShear", "Shear vs Depth", "Load #", "Shear", "", "Depth", ""}, true},
        {{"pltSoil", "Soil Reaction vs Depth", "Load #", "Reaction", "F", "Depth", ""}, true},
        {{"pltDMS", "Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth",
          ""},
         true},
        {{"pltLD", "Load vs Top Deflection", "Curve #", "Distributed load", "F/L", "Depth", ""},
         true},
        {{"PltCombine", "Combined Earth Pressure vs Depth", "Curve #", "", "F/L", "Depth", "L2"},
         true},
    };
    const auto all = graphs.All();
    ASSERT_EQ(all.size(), expected.size());
    const TGraphPlot* members[] = {&graphs.pltPY,  &graphs.pltDef, &graphs.pltMom,
                                   &graphs.pltShear, &graphs.pltSoil, &graphs.pltDMS,
                                   &graphs.pltLD,  &graphs.PltCombine};
    for (size_t i = 0; i < all.size(); ++i) {
        const TGraphPlot& g = *all[i];
        EXPECT_EQ(all[i], members[i]);
        EXPECT_EQ((std::vector<std::string>{g.Name, g.Caption, g.CurveName, g.XCaption, g.XUnits,
                                            g.YCaption, g.YUnits}),
                  expected[i].first);
        EXPECT_EQ(g.XOnTop, expected[i].second) << g.Name;
        EXPECT_EQ((std::vector<int>{g.ShowLegend, g.ShowLayers, g.ShowWall, g.ShowThree,
                                    g.ShowFontWidth, g.WallLineCount, g.Markers, g.SizeFont,
                                    g.LegendFont, g.WidthLine, g.Units(), g.Lines.Count()}),
                  (std::vector<int>{1, 0, 0, 0, 1, 0, 1, 10, 11, 1, 1, 0}))
            << g.Name;
    }
}

TEST(ResultGraphs, PlotFileNameReplacesTheDataFileExtension) {
    EXPECT_EQ(PlotFileNameFor("C:\\walls\\wall1.tx4d"), "C:\\walls\\wall1.tx4p");
    EXPECT_EQ(PlotFileNameFor("/home/u/NewWall.tx4d"), "/home/u/NewWall.tx4p");
    EXPECT_EQ(PlotFileNameFor("a.b/wall"), "a.b/wall.tx4p");
    EXPECT_EQ(PlotFileNameFor("wall.old.dat"), "wall.old.tx4p");
    EXPECT_EQ(PlotFileNameFor("wall"), "wall.tx4p");
}

}  // namespace
}  // namespace torvex
