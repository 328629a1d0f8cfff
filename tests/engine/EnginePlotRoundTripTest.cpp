// The plot files the engine writes for the examples read back into the program's graphs.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "Analysis.h"
#include "ResultFiles.h"
#include "plot/PlotFileReader.h"
#include "plot/ResultGraphs.h"
#include "project/DataFileReader.h"
#include "project/SafeSave.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

struct TRead {
    TWorkspace workspace;
    TResultGraphs graphs;
    TFileAnalysis analysis;
    bool ok = false;
};

std::unique_ptr<TRead> ReadExample(const std::string& name) {
    auto read = std::make_unique<TRead>();
    const std::string file = (fs::path(TORVEX_SOURCE_DIR) / "examples" / name).string();
    const std::string text = LoadTextFile(file);
    ReadDataFileText(read->workspace, text, file, 1);
    read->analysis = AnalyzeDataText(text, file);
    read->ok = ReadPlotFileText(read->graphs, read->workspace, PlotFileText(read->analysis), nullptr);
    return read;
}

TEST(EnginePlotRoundTrip, OneCaseInEnglishUnits) {
    const auto r = ReadExample("cantilever-sand.tx4d");
    ASSERT_TRUE(r->ok);
    const TCaseResult& c = r->analysis.cases[0];
    const TGraphPlot& def = r->graphs.pltDef;
    ASSERT_EQ(def.Lines.Count(), 1);
    EXPECT_EQ(def.Lines.PointCount(), static_cast<int>(c.nodes.size()));
    // U = 1: depths in ft, moments in in-kips, shears in kips; deflections as written.
    const int last = static_cast<int>(c.nodes.size()) - 1;
    EXPECT_NEAR(static_cast<double>(def.Lines.Point(0, last).Y), c.nodes.back().depth / 12, 1e-6);
    EXPECT_NEAR(static_cast<double>(def.Lines.Point(0, 0).X), c.nodes[0].y, 1e-7 * std::fabs(c.nodes[0].y));
    const TNodeResult* m = c.MaxBy(&TNodeResult::moment);
    const int at = static_cast<int>(m - c.nodes.data());
    EXPECT_NEAR(static_cast<double>(r->graphs.pltMom.Lines.Point(0, at).X), m->moment / 1000,
                1e-6 * std::fabs(m->moment));
    EXPECT_EQ(r->graphs.pltDef.YCaption, "Depth (ft)");
    EXPECT_EQ(r->graphs.pltMom.XCaption, "Bending Moment (in-kips)");
    // The soil-layer overlay: one sand layer and the two wall lines.
    const TGraphPlot& dms = r->graphs.pltDMS;
    EXPECT_TRUE(dms.ShowThree);
    ASSERT_EQ(dms.LayerLines.Count(), 3);
    EXPECT_EQ(dms.LayerLines[0].Name, " SAND ");
    EXPECT_EQ(dms.LayerLines[1].Name, "PILE");
    EXPECT_EQ(dms.LayerLines[2].Name, "PILE");
    EXPECT_EQ(dms.WallLineCount, 1);
    EXPECT_GT(r->graphs.pltPY.Lines.Count(), 0);
    EXPECT_TRUE(GraphTest(r->graphs.pltPY));
    EXPECT_TRUE(GraphTest(r->graphs.pltLD));
}

TEST(EnginePlotRoundTrip, StagesAreNamedAndSiIsNotConverted) {
    const auto staged = ReadExample("three-stage-excavation.tx4d");
    ASSERT_TRUE(staged->ok);
    ASSERT_EQ(staged->graphs.pltDef.Lines.Count(), 3);
    EXPECT_EQ(staged->graphs.pltDef.Lines[1].Name, "Stage: 2");
    EXPECT_EQ(staged->graphs.pltMom.Lines[2].Name, "Stage: 3");
    EXPECT_EQ(staged->graphs.pltLD.Lines.Count(), 3);

    const auto si = ReadExample("anchored-soft-clay.tx4d");
    ASSERT_TRUE(si->ok);
    EXPECT_EQ(si->graphs.pltDef.YCaption, "Depth (m)");
    const TCaseResult& c = si->analysis.cases[0];
    EXPECT_NEAR(static_cast<double>(si->graphs.pltShear.Lines.Point(0, 10).X), c.nodes[10].shear,
                1e-7 * std::fabs(c.nodes[10].shear) + 1e-12);
    EXPECT_EQ(si->graphs.pltDMS.LayerLines[0].Name, " CLAY ");
}

TEST(EnginePlotRoundTrip, ShortAndLongTermCurves) {
    const auto r = ReadExample("stiff-clay-long-term.tx4d");
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->graphs.pltDef.Lines.Count(), 2);
    EXPECT_EQ(r->graphs.pltDef.Lines[0].Name, "Short-Term");
    EXPECT_EQ(r->graphs.pltSoil.Lines[1].Name, "Long-Term");
}

TEST(EnginePlotRoundTrip, EveryExampleReadsBack) {
    for (const auto& entry : fs::directory_iterator(fs::path(TORVEX_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".tx4d") continue;
        EXPECT_TRUE(ReadExample(entry.path().filename().string())->ok) << entry.path();
    }
}

}  // namespace
}  // namespace torvex::engine
