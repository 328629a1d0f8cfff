#include "plot/PlotFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "PlotTestSupport.h"
#include "plot/ResultGraphs.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

using TPoints = std::vector<TFloatPoint>;
using TNames = std::vector<std::string>;

// Plot files by hand. Each line is one item of a section: earth-pressure count and records;
// unit code; p-y count and curves (depth, point count, points); stage count, node count,
// the unused integer and the node records.

// One stage, SI: two p-y curves of three points and one.
constexpr const char* kOneStage =
    "3\n0 10 8 2  1.5 20 15 5  3 30 25 5\n2\n"
    "2\n1.5 3  0 0  0.25 50  0.5 80\n3 1  0.5 90\n"
    "1\n3\n0\n0 0.25 0 0 0\n1.5 0.125 12.5 -3 40\n3 0 2 1 -20\n";

// Three stages, SI. Stage 2 has more earth-pressure records than stage 1 and fewer nodes;
// stage 3 fewer records. Each section has its own p-y curves.
constexpr const char* kThreeStages =
    "2\n0 5 4 1  2 15 12 3\n2\n1\n1 2  0 0  0.25 10\n"
    "3\n3\n0\n0 0.75 0 0 0\n1 0.5 5 2 10\n2 0.25 8 -1 20\n"
    "3\n0 6 5 1  1 11 9 2  2 16 13 3\n2\n1\n2 2  0 0  0.5 20\n"
    "3\n2\n0\n0 1 0 0 0\n1.5 0.75 6 3 12\n"
    "1\n0 7 6 1\n2\n2\n4 3  0 0  0.25 30  0.75 45\n6 2  0 0  1.25 60\n"
    "3\n3\n0\n0 1.25 0 0 0\n1 1 7 2.5 11\n2 0.5 9 -2 22\n";

// Two stages (short-term and long-term), no p-y curves.
constexpr const char* kTwoStages =
    "1\n0 5 4 1\n2\n0\n2\n2\n0\n0 1 0 0 0\n1 0.5 4 2 6\n"
    "1\n0 6 5 1\n2\n0\n2\n2\n0\n0 2 0 0 0\n1 1 5 3 7\n";

// English: depths in inches, moments in pound-inches, shears in pounds.
constexpr const char* kEnglish =
    "1\n24 100 60 40\n1\n0\n1\n2\n0\n0 0 0 0 0\n120 0.5 24000 1500 10\n";

// p-y curves of 3, 5 and 4 points; no nodes.
constexpr const char* kPYCurves =
    "0\n2\n3\n1 3  0 0  0.25 10  0.5 15\n2 5  0 0  0.25 20  0.5 30  0.75 35  1 38\n"
    "3 4  0 0  0.5 40  1 60  1.5 70\n1\n0\n0\n";

// Stage 1 has a second record at depth 0 without pressure; stage 2 one node fewer.
constexpr const char* kZeroRecord =
    "2\n0 5 5 0  0 0 0 0\n2\n0\n2\n2\n0\n0 1 2 3 4\n1 2 3 4 5\n"
    "1\n0 3 3 0\n2\n0\n2\n1\n0\n0.5 9 8 7 6\n";

// p-y curves of a single point each, two nodes, two earth-pressure records.
constexpr const char* kSinglePointPY =
    "2\n0 5 4 1  1 6 5 1\n2\n2\n1 1  0.25 10\n2 1  0.5 20\n1\n2\n0\n0 1 2 3 4\n1 2 3 4 5\n";

std::vector<TPoints> Curves(const TCurveSet& set) {
    std::vector<TPoints> curves;
    for (int i = 0; i < set.Count(); ++i) curves.push_back(PointsOf(set[i]));
    return curves;
}
TNames Names(const TCurveSet& set) {
    TNames names;
    for (int i = 0; i < set.Count(); ++i) names.push_back(set[i].Name);
    return names;
}
TNames Labels(const TGraphPlot& graph) {
    TNames labels;
    for (int i = 0; i < graph.Lines.Count(); ++i) labels.push_back(graph.CurveLabel(i));
    return labels;
}

class PlotFileReader : public ::testing::Test {
protected:
    PlotFileReader() {
        workspace.Project().UnitSystem = 2;
        workspace.Project().NumIncrements = 60;
        workspace.Project().IncrementLength = 0.25;
        workspace.Project().FreeHeight = 4;
        SetLayers({{1, 2}, {4, 5}, {6, 9}});
    }

    void SetLayers(const std::vector<std::pair<int, long double>>& layers) {
        TGridTable& table = workspace.Table("NewSoil");
        table.SetRowCount(static_cast<int>(layers.size()));
        for (int row = 0; row < table.RowCount(); ++row) {
            table.Columns(0).SetInteger(row, layers[static_cast<size_t>(row)].first);
            table.Columns(1).SetFloat(row, layers[static_cast<size_t>(row)].second);
        }
    }

    bool Read(std::string_view text, TResultGraphs* into = nullptr) {
        return ReadPlotFileText(into ? *into : graphs, workspace, text, report);
    }

    TWorkspace workspace;
    TResultGraphs graphs;
    TNames messages;
    std::function<void(const std::string&)> report = [this](const std::string& message) {
        messages.push_back(message);
    };
};

// ---- Whole files ----

TEST_F(PlotFileReader, OneStageFillsOneUnnamedCurvePerGraph) {
    ASSERT_TRUE(Read(kOneStage));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Curves(graphs.pltLD.Lines), (std::vector<TPoints>{{{10, 0}, {20, 1.5}, {30, 3}}}));
    EXPECT_EQ(Labels(graphs.pltLD), TNames{"Curve #1"});
    EXPECT_EQ(Names(graphs.PltCombine.Lines),
              (TNames{"Total Earth Pressure", "from Soils ", "from Surcharge Loads"}));
    EXPECT_EQ(Curves(graphs.PltCombine.Lines),
              (std::vector<TPoints>{{{10, 0}, {20, 1.5}, {30, 3}},
                                    {{8, 0}, {15, 1.5}, {25, 3}},
                                    {{2, 0}, {5, 1.5}, {5, 3}}}));
    EXPECT_EQ(Labels(graphs.pltPY), (TNames{"Depth1.5", "Depth3"}));
    EXPECT_EQ(Curves(graphs.pltPY.Lines),
              (std::vector<TPoints>{{{0, 0}, {0.25, 50}, {0.5, 80}}, TPoints(3, {0.5, 90})}));

    const std::vector<TPoints> deflection{{{0.25, 0}, {0.125, 1.5}, {0, 3}}};
    const std::vector<TPoints> moment{{{0, 0}, {12.5, 1.5}, {2, 3}}};
    const std::vector<TPoints> shear{{{0, 0}, {-3, 1.5}, {1, 3}}};
    EXPECT_EQ(Curves(graphs.pltDef.Lines), deflection);
    EXPECT_EQ(Curves(graphs.pltMom.Lines), moment);
    EXPECT_EQ(Curves(graphs.pltShear.Lines), shear);
    EXPECT_EQ(Curves(graphs.pltSoil.Lines), (std::vector<TPoints>{{{0, 0}, {40, 1.5}, {-20, 3}}}));
    for (const TGraphPlot* graph : {&graphs.pltDef, &graphs.pltMom, &graphs.pltShear,
                                    &graphs.pltSoil})
        EXPECT_EQ(Labels(*graph), TNames{"Load #1"}) << graph->Name;
    EXPECT_TRUE(graphs.pltDMS.ShowThree);
    EXPECT_EQ(Curves(graphs.pltDMS.Lines), deflection);
    EXPECT_EQ(Curves(graphs.pltDMS.Lines2), moment);
    EXPECT_EQ(Curves(graphs.pltDMS.Lines3), shear);
    EXPECT_EQ(Names(graphs.pltDMS.Lines), TNames{""});

    // The soil layers, then the wall's length (60 increments of 0.25) and free height.
    EXPECT_EQ(graphs.pltDMS.WallLineCount, 3);
    EXPECT_EQ(Names(graphs.pltDMS.LayerLines),
              (TNames{" CLAY ", " SAND ", "STRONG ROCK", "PILE", "PILE"}));
    EXPECT_EQ(Curves(graphs.pltDMS.LayerLines),
              (std::vector<TPoints>{{{1, 2}}, {{7, 5}}, {{9, 9}}, {{0, 15}}, {{0, 4}}}));
}

TEST_F(PlotFileReader, EnglishWallLengthsAreInFeetLikeTheLayersAndTheDepthAxis) {
    // 60 increments of 6 in: a 360 in wall, 30 ft; free height 96 in, 8 ft.
    workspace.Project().UnitSystem = 1;
    workspace.Project().IncrementLength = 6;
    workspace.Project().FreeHeight = 96;
    ASSERT_TRUE(Read(kOneStage));
    EXPECT_EQ(Curves(graphs.pltDMS.LayerLines),
              (std::vector<TPoints>{{{1, 2}}, {{7, 5}}, {{9, 9}}, {{0, 30}}, {{0, 8}}}));
}

TEST_F(PlotFileReader, EverySoilTypeHasItsLayerNameAndPattern) {
    SetLayers({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}});
    ASSERT_TRUE(Read(kOneStage));
    EXPECT_EQ(graphs.pltDMS.WallLineCount, 7);
    EXPECT_EQ(Names(graphs.pltDMS.LayerLines),
              (TNames{" CLAY ", " CLAY ", " CLAY ", " SAND ", " SILT ", "STRONG ROCK", "WEAK ROCK",
                      "PILE", "PILE"}));
    EXPECT_EQ(Curves(graphs.pltDMS.LayerLines),
              (std::vector<TPoints>{{{1, 1}}, {{1, 2}}, {{1, 3}}, {{7, 4}}, {{8, 5}}, {{9, 6}},
                                    {{10, 7}}, {{0, 15}}, {{0, 4}}}));
}

TEST_F(PlotFileReader, UnitCodesSetCaptionsUnitsAndConversions) {
    ASSERT_TRUE(Read(kOneStage));  // SI: values as they are
    EXPECT_EQ((TNames{graphs.pltDef.YCaption, graphs.pltMom.XCaption, graphs.pltMom.YCaption,
                      graphs.pltShear.XCaption, graphs.pltShear.YCaption, graphs.pltSoil.YCaption,
                      graphs.pltLD.YCaption, graphs.pltDef.XCaption, graphs.PltCombine.YCaption}),
              (TNames{"Depth (m)", "Bending Moment (m-kN)", "Depth (m)", "Shear (kN)", "Depth (m)",
                      "Depth (m)", "Depth (m)", "Deflection", "Depth"}));
    const TGraphPlot& dms = graphs.pltDMS;
    EXPECT_EQ((TNames{dms.XCaption, dms.YCaption, dms.XUnits, dms.XCaption2, dms.YCaption2,
                      dms.XUnits2, dms.XCaption3, dms.YCaption3, dms.XUnits3}),
              (TNames{"Deflection", "Depth (m)", "L", "Bending Moment (m-kN)", "Depth (m)", "",
                      "Shear (kN)", "Depth (m)", ""}));
    EXPECT_EQ(dms.XAxisLabel(1), "Deflection (m)");
    for (const TGraphPlot* graph : graphs.All()) EXPECT_EQ(graph->Units(), 2) << graph->Name;

    // English: depth / 12, moment and shear / 1000; deflection and reaction unchanged.
    workspace.Project().UnitSystem = 1;
    ASSERT_TRUE(Read(kEnglish));
    EXPECT_EQ(graphs.pltDef.Lines.Point(0, 1), (TFloatPoint{0.5, 10}));
    EXPECT_EQ(graphs.pltMom.Lines.Point(0, 1), (TFloatPoint{24, 10}));
    EXPECT_EQ(graphs.pltShear.Lines.Point(0, 1), (TFloatPoint{1.5, 10}));
    EXPECT_EQ(graphs.pltSoil.Lines.Point(0, 1), (TFloatPoint{10, 10}));
    EXPECT_EQ(dms.Lines.Point(0, 1), (TFloatPoint{0.5, 10}));
    EXPECT_EQ(dms.Lines2.Point(0, 1), (TFloatPoint{24, 10}));
    EXPECT_EQ(dms.Lines3.Point(0, 1), (TFloatPoint{1.5, 10}));
    EXPECT_EQ(graphs.pltLD.Lines.Point(0, 0), (TFloatPoint{100, 2}));
    EXPECT_EQ(graphs.PltCombine.Lines.Point(1, 0), (TFloatPoint{60, 2}));
    EXPECT_EQ((TNames{graphs.pltDef.YCaption, graphs.pltMom.XCaption, graphs.pltShear.XCaption,
                      graphs.pltLD.YCaption, dms.XCaption2, dms.YCaption3}),
              (TNames{"Depth (ft)", "Bending Moment (in-kips)", "Shear (kips)", "Depth (ft)",
                      "Bending Moment (in-kips)", "Depth (ft)"}));
    for (const TGraphPlot* graph : graphs.All()) EXPECT_EQ(graph->Units(), 1) << graph->Name;

    // The combined graph converts its depths by the project's unit system, not the file's.
    workspace.Project().UnitSystem = 2;
    ASSERT_TRUE(Read(kEnglish));
    EXPECT_EQ(graphs.pltLD.Lines.Point(0, 0), (TFloatPoint{100, 2}));
    EXPECT_EQ(graphs.PltCombine.Lines.Point(2, 0), (TFloatPoint{40, 24}));
}

TEST_F(PlotFileReader, ThreeStagesGiveNamedStageCurvesAndTheLastPYCurves) {
    ASSERT_TRUE(Read(kThreeStages));
    for (const TCurveSet* set : {&graphs.pltDef.Lines, &graphs.pltMom.Lines,
                                 &graphs.pltShear.Lines, &graphs.pltSoil.Lines,
                                 &graphs.pltDMS.Lines})
        EXPECT_EQ(Names(*set), (TNames{"Stage: 1", "Stage: 2", "Stage: 3"}));
    EXPECT_EQ(Labels(graphs.pltLD), (TNames{"Curve #1", "Curve #2", "Curve #3"}));
    EXPECT_EQ(Labels(graphs.pltPY), (TNames{"Depth4", "Depth6"}));
    EXPECT_EQ(Curves(graphs.pltPY.Lines),
              (std::vector<TPoints>{{{0, 0}, {0.25, 30}, {0.75, 45}},
                                    {{0, 0}, {1.25, 60}, {1.25, 60}}}));
    // The combined graph shows the first stage.
    EXPECT_EQ(Curves(graphs.PltCombine.Lines),
              (std::vector<TPoints>{{{5, 0}, {15, 2}}, {{4, 0}, {12, 2}}, {{1, 0}, {3, 2}}}));
    // A later section stating fewer stages takes no curve of a stage already read away.
    ASSERT_TRUE(Read("0\n2\n0\n3\n1\n0\n0 1 1 1 1\n0\n2\n0\n3\n1\n0\n0 2 2 2 2\n"
                     "0\n2\n0\n1\n1\n0\n0 3 3 3 3\n"));
    EXPECT_EQ(Curves(graphs.pltDef.Lines), (std::vector<TPoints>{{{1, 0}}, {{2, 0}}, {{3, 0}}}));
    EXPECT_EQ(Names(graphs.pltDef.Lines), (TNames{"Stage: 1", "Stage: 2", "Stage: 3"}));
}

TEST_F(PlotFileReader, ShorterStagesRepeatTheirLastPointAndNoStageLosesAny) {
    ASSERT_TRUE(Read(kThreeStages));
    EXPECT_EQ(Curves(graphs.pltLD.Lines),
              (std::vector<TPoints>{{{5, 0}, {15, 2}, {15, 2}},
                                    {{6, 0}, {11, 1}, {16, 2}},
                                    TPoints(3, {7, 0})}));
    // Stage 2 has two nodes where stages 1 and 3 have three; stage 1 keeps its third node.
    EXPECT_EQ(Curves(graphs.pltDef.Lines),
              (std::vector<TPoints>{{{0.75, 0}, {0.5, 1}, {0.25, 2}},
                                    {{1, 0}, {0.75, 1.5}, {0.75, 1.5}},
                                    {{1.25, 0}, {1, 1}, {0.5, 2}}}));
    const std::vector<TPoints> moment{{{0, 0}, {5, 1}, {8, 2}},
                                      {{0, 0}, {6, 1.5}, {6, 1.5}},
                                      {{0, 0}, {7, 1}, {9, 2}}};
    EXPECT_EQ(Curves(graphs.pltMom.Lines), moment);
    EXPECT_EQ(Curves(graphs.pltDMS.Lines2), moment);
    EXPECT_EQ(PointsOf(graphs.pltShear.Lines[1]), (TPoints{{0, 0}, {3, 1.5}, {3, 1.5}}));
    EXPECT_EQ(PointsOf(graphs.pltSoil.Lines[1]), (TPoints{{0, 0}, {12, 1.5}, {12, 1.5}}));
    EXPECT_EQ(Curves(graphs.pltDMS.Lines), Curves(graphs.pltDef.Lines));
    EXPECT_EQ(Curves(graphs.pltDMS.Lines3), Curves(graphs.pltShear.Lines));

    // A real point near (0, 0) after the first is kept; only the tail is filled.
    ASSERT_TRUE(Read(kZeroRecord));
    EXPECT_EQ(Curves(graphs.pltLD.Lines),
              (std::vector<TPoints>{{{5, 0}, {0, 0}}, {{3, 0}, {3, 0}}}));
    EXPECT_EQ(PointsOf(graphs.pltSoil.Lines[1]), (TPoints{{6, 0.5}, {6, 0.5}}));
}

TEST_F(PlotFileReader, ShortAndLongTermCurvesAreNamedSo) {
    workspace.Project().LongTermMarker = 9;
    ASSERT_TRUE(Read(kTwoStages));
    for (const TCurveSet* set : {&graphs.pltDef.Lines, &graphs.pltMom.Lines,
                                 &graphs.pltShear.Lines, &graphs.pltSoil.Lines,
                                 &graphs.pltDMS.Lines})
        EXPECT_EQ(Names(*set), (TNames{"Short-Term", "Long-Term"}));
    EXPECT_EQ(graphs.pltPY.Lines.Count(), 0);
    EXPECT_EQ(PointsOf(graphs.pltSoil.Lines[1]), (TPoints{{0, 0}, {7, 1}}));
    workspace.Project().LongTermMarker = 0;
    TResultGraphs fresh;
    ASSERT_TRUE(Read(kTwoStages, &fresh));
    EXPECT_EQ(Names(fresh.pltDef.Lines), (TNames{"Stage: 1", "Stage: 2"}));
}

TEST_F(PlotFileReader, PYCurvesOfThreeFiveAndFourPointsArePaddedToFive) {
    ASSERT_TRUE(Read(kPYCurves));
    EXPECT_EQ(Labels(graphs.pltPY), (TNames{"Depth1", "Depth2", "Depth3"}));
    EXPECT_EQ(Curves(graphs.pltPY.Lines),
              (std::vector<TPoints>{{{0, 0}, {0.25, 10}, {0.5, 15}, {0.5, 15}, {0.5, 15}},
                                    {{0, 0}, {0.25, 20}, {0.5, 30}, {0.75, 35}, {1, 38}},
                                    {{0, 0}, {0.5, 40}, {1, 60}, {1.5, 70}, {1.5, 70}}}));
    // No nodes: one empty curve per depth graph and no layer lines.
    EXPECT_EQ(Curves(graphs.pltDef.Lines), std::vector<TPoints>{TPoints{}});
    EXPECT_EQ(graphs.pltDMS.LayerLines.Count() + graphs.pltDMS.WallLineCount, 0);
}

TEST_F(PlotFileReader, LineBreaksCarryNoMeaningAndFilesAreReadFromDisk) {
    workspace.Project().UnitSystem = 1;
    ASSERT_TRUE(Read("1 24 100 60 40 1 0 1 2 0 0 0 0 0 0 120 0.5\r\n24000 1500 10\r\n"));
    EXPECT_EQ(graphs.pltMom.Lines.Point(0, 1), (TFloatPoint{24, 10}));
    // Whole numbers written with a zero fraction are accepted as counts.
    ASSERT_TRUE(Read("1.0 24 100 60 40 1 0 1 2.0 0 0 0 0 0 0 120 0.5 24000 1500 10"));
    EXPECT_EQ(graphs.pltShear.Lines.Point(0, 1), (TFloatPoint{1.5, 10}));

    const auto path = std::filesystem::temp_directory_path() / "torvex_plot_reader_test.tx4p";
    std::ofstream(path, std::ios::binary) << kOneStage;
    const bool read = ReadPlotFile(graphs, workspace, path.string(), report);
    std::filesystem::remove(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(graphs.pltSoil.Lines.Point(0, 1), (TFloatPoint{40, 1.5}));
    // A missing file fails after the graphs were emptied; their curves stay.
    EXPECT_FALSE(ReadPlotFile(graphs, workspace, path.string(), report));
    EXPECT_EQ(messages, TNames{kPlotReadErrorMessage});
    for (const TGraphPlot* graph : graphs.All())
        EXPECT_EQ(graph->Lines.PointCount() + graph->Lines2.PointCount(), 0) << graph->Name;
    EXPECT_EQ(graphs.pltDef.Lines.Count(), 1);
}

TEST_F(PlotFileReader, ReadingAgainKeepsCurveNamesButNoOldPoints) {
    ASSERT_TRUE(Read(kThreeStages));
    ASSERT_TRUE(Read(kOneStage));
    EXPECT_EQ(Names(graphs.pltDef.Lines), TNames{"Stage: 1"});  // names are never cleared
    EXPECT_EQ(Curves(graphs.pltDef.Lines),
              (std::vector<TPoints>{{{0.25, 0}, {0.125, 1.5}, {0, 3}}}));
    EXPECT_EQ(graphs.pltLD.Lines.Count() + graphs.pltDMS.Lines2.Count(), 2);
    EXPECT_EQ(Labels(graphs.pltPY), (TNames{"Depth1.5", "Depth3"}));
    // A stage without nodes of its own shows nothing of the read before, in any panel.
    ASSERT_TRUE(Read(kThreeStages));
    ASSERT_TRUE(Read("0\n2\n0\n2\n2\n0\n0 1 2 3 4\n1 2 3 4 5\n0\n2\n0\n2\n0\n0\n"));
    for (const TCurveSet* set : {&graphs.pltDef.Lines, &graphs.pltDMS.Lines,
                                 &graphs.pltDMS.Lines2, &graphs.pltDMS.Lines3})
        EXPECT_EQ(Curves(*set), (std::vector<TPoints>{PointsOf((*set)[0]), TPoints(2)}));
    EXPECT_EQ(PointsOf(graphs.pltDMS.Lines3[0]), (TPoints{{3, 0}, {4, 1}}));
}

// ---- Failures ----

TEST_F(PlotFileReader, FileEndingInsideANodeRecordFailsAndReportsOnlyWhenAsked) {
    const std::string full = kOneStage;
    const std::string truncated = full.substr(0, full.find("12.5"));
    EXPECT_FALSE(Read(truncated));
    EXPECT_EQ(messages, TNames{"An error occured in running the main program."});
    // What was read stays; captions and units are not set.
    EXPECT_EQ(graphs.pltPY.Lines.Count(), 2);
    EXPECT_EQ(PointsOf(graphs.pltLD.Lines[0]), (TPoints{{10, 0}, {20, 1.5}, {30, 3}}));
    EXPECT_EQ(graphs.pltDef.YCaption, "Depth");
    EXPECT_EQ(graphs.pltDef.Units(), 1);
    // Opening a data file reads without reporting.
    messages.clear();
    EXPECT_FALSE(ReadPlotFileText(graphs, workspace, truncated, nullptr));
    EXPECT_TRUE(messages.empty());
    // Cut after any word, the three-stage file fails; only the whole file reads.
    const std::string stages = kThreeStages;
    for (size_t at = stages.find_first_of(" \n"); at + 1 < stages.size();
         at = stages.find_first_of(" \n", at + 1)) {
        TResultGraphs cut;
        EXPECT_FALSE(ReadPlotFileText(cut, workspace, stages.substr(0, at), nullptr)) << at;
    }
    EXPECT_TRUE(Read(stages));
}

TEST_F(PlotFileReader, BadWordsAndCountsOutOfRangeFailWithoutWritingBeyondATable) {
    EXPECT_TRUE(Read("0\n2\n0\n1\n0\n0\n"));  // the smallest whole file
    const std::vector<std::pair<const char*, std::string>> files{
        {"empty file", ""},
        {"a word that is no number", "1\n0 5 x 1\n2\n0\n1\n0\n0\n"},
        {"a fraction as a count", "1.5\n0 5 4 1\n2\n0\n1\n0\n0\n"},
        {"a blank line between numbers", "0\n2\n\n0\n1\n0\n0\n"},
        {"negative record count", "-1\n2\n0\n1\n0\n0\n"},
        {"negative p-y curve count", "0\n2\n-1\n1\n0\n0\n"},
        {"52 p-y curves", "0\n2\n52\n1\n0\n0\n"},
        {"negative p-y point count", "0\n2\n1\n1 -1\n1\n0\n0\n"},
        {"p-y point count above the bound", "0\n2\n1\n1 100001\n1\n0\n0\n"},
        {"p-y points the file does not hold", "0\n2\n1\n1 3\n0 0\n1 1\n"},
        {"no stage", "0\n2\n0\n0\n0\n0\n"},
        {"negative stage count", "0\n2\n0\n-2\n0\n0\n"},
        {"101 stages", "0\n2\n0\n101\n0\n0\n"},
        {"6 stages", "0\n2\n0\n6\n0\n0\n"},
        {"negative node count", "0\n2\n0\n1\n-1\n0\n"},
        {"node count above the bound", "0\n2\n0\n1\n100001\n0\n"},
        {"nodes the file does not hold", "0\n2\n0\n1\n99999\n0\n0 0 0 0 0\n"},
        {"no stage in a later section",
         "0\n2\n0\n2\n1\n0\n0 1 2 3 4\n0\n2\n0\n0\n1\n0\n0 1 2 3 4\n"},
    };
    for (const auto& [what, text] : files) {
        TResultGraphs fresh;
        messages.clear();
        EXPECT_FALSE(Read(text, &fresh)) << what;
        EXPECT_EQ(messages.size(), 1u) << what;
    }
    // 501 earth-pressure records and 51 p-y curves are the most a block holds.
    auto file = [](int records, int curves) {
        std::string text = std::to_string(records) + "\n";
        for (int j = 0; j < records; ++j) text += std::to_string(j) + " 1 1 0\n";
        text += "2\n" + std::to_string(curves) + "\n";
        for (int k = 0; k < curves; ++k)
            text += std::to_string(k) + " 2 0 0 1 " + std::to_string(k) + "\n";
        return text + "1\n2\n0\n0 0 0 0 0\n1 1 1 1 1\n";
    };
    ASSERT_TRUE(Read(file(501, 51)));
    EXPECT_EQ(graphs.pltLD.Lines.Point(0, 500), (TFloatPoint{1, 500}));
    EXPECT_EQ(graphs.pltPY.Lines.Point(50, 1), (TFloatPoint{1, 50}));
    EXPECT_FALSE(Read(file(502, 1)));
    EXPECT_FALSE(Read(file(1, 52)));
}

TEST_F(PlotFileReader, StagesAndNodesStopAtWhatTheEngineWrites) {
    // The engine writes at most 5 stages of 10001 nodes; larger counts, even with their
    // records present, are a read failure rather than graphs of stages x nodes points.
    auto file = [](int stages, int nodes) {
        std::string text;
        for (int s = 0; s < stages; ++s) {
            text += "0\n2\n0\n" + std::to_string(stages) + "\n" + std::to_string(nodes) + "\n0\n";
            for (int j = 0; j < nodes; ++j) text += std::to_string(j) + " 1 2 3 4\n";
        }
        return text;
    };
    ASSERT_TRUE(Read(file(5, 10001)));
    EXPECT_EQ(graphs.pltDef.Lines.Count(), 5);
    EXPECT_EQ(graphs.pltMom.Lines.Point(4, 10000), (TFloatPoint{2, 10000}));
    EXPECT_FALSE(Read(file(6, 1)));
    EXPECT_FALSE(Read(file(1, 10002)));
}

// ---- Enabling of the graph commands ----

TEST(GraphCommands, GraphTestAndResultsTest) {
    TGraphPlot graph;
    EXPECT_FALSE(GraphTest(graph));
    graph.Lines.SetCount(1);
    graph.Lines.SetPointCount(1);
    EXPECT_FALSE(GraphTest(graph));
    graph.Lines.SetPointCount(2);
    EXPECT_TRUE(GraphTest(graph));
    graph.Lines.SetCount(0);
    EXPECT_FALSE(GraphTest(graph));
    EXPECT_TRUE(ResultsTest(true, true));
    EXPECT_FALSE(ResultsTest(true, false) || ResultsTest(false, true) || ResultsTest(false, false));
}

TEST_F(PlotFileReader, GraphCommandsFollowTheResultsAndEachGraphsData) {
    const TGraphicsMenuState allItems{true, true, true, true, true, true, true, true};
    const TGraphToolButtons allButtons{true, true, true, true, true, true, true};
    // Before any run, or without the plot file, everything is off.
    EXPECT_EQ(GraphicsMenuState(graphs, ResultsTest(false, false)), TGraphicsMenuState{});
    ASSERT_TRUE(Read(kOneStage));
    EXPECT_EQ(GraphicsMenuState(graphs, ResultsTest(true, false)), TGraphicsMenuState{});
    EXPECT_EQ(GraphToolButtonState(graphs, ResultsTest(true, false)), TGraphToolButtons{});
    EXPECT_EQ(GraphicsMenuState(graphs, true), allItems);
    EXPECT_EQ(GraphToolButtonState(graphs, true), allButtons);

    // Deflection with data, shear without: no three-panel command; the combined earth
    // pressure needs the results alone.
    graphs.pltShear.Lines.SetPointCount(1);
    graphs.pltLD.Lines.SetCount(0);
    graphs.PltCombine.Lines.SetCount(0);
    EXPECT_EQ(GraphicsMenuState(graphs, true),
              (TGraphicsMenuState{true, true, true, false, true, false, false, true}));
    EXPECT_EQ(GraphToolButtonState(graphs, true),
              (TGraphToolButtons{true, true, true, false, true, false, false}));

    // p-y curves of one point each: only the p-y command and its button are off.
    ASSERT_TRUE(Read(kSinglePointPY));
    EXPECT_EQ(GraphicsMenuState(graphs, true),
              (TGraphicsMenuState{false, true, true, true, true, true, true, true}));
    EXPECT_EQ(GraphToolButtonState(graphs, true),
              (TGraphToolButtons{false, true, true, true, true, true, true}));
    // The Computation menu applies the graph tests to the six single-graph items alone.
    EXPECT_EQ(ApplyGraphTests(allItems, graphs),
              (TGraphicsMenuState{false, true, true, true, true, true, true, true}));
    EXPECT_EQ(ApplyGraphTests(TGraphicsMenuState{}, graphs), TGraphicsMenuState{});
    TResultGraphs empty;
    EXPECT_EQ(ApplyGraphTests(allItems, empty),
              (TGraphicsMenuState{false, false, false, false, false, true, false, true}));
}

}  // namespace
}  // namespace torvex
