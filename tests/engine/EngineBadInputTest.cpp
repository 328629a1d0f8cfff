// Input the engine cannot analyse: a clear message in the output file and the run notes, no
// plot file, and a normal return.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "Analysis.h"
#include "ResultFiles.h"
#include "SandWall.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

// A sound cantilever in sand that each case then spoils in one way.
std::string Wall(const std::function<void(TWorkspace&)>& spoil) {
    TWorkspace w;
    testing::SetUpSandWall(w, 50);
    spoil(w);
    return WriteDataFileText(w);
}

struct TBadCase {
    const char* name;
    std::function<void(TWorkspace&)> spoil;
    const char* message;
};

TEST(EngineBadInput, EachGivesItsMessageAndNoPlotFile) {
    const TBadCase cases[] = {
        {"no wall stiffness", [](TWorkspace& w) { w.Table("PileSect").Cell(3, 0).SetFloat(0); },
         "Flexural Stiffness (EI) must be specified"},
        {"zero increments", [](TWorkspace& w) { w.Project().NumIncrements = 0; },
         "number of increments must be between 2 and 10000"},
        {"no soil below the excavation",
         [](TWorkspace& w) { w.Table("NewSoil").Cell(1, 0).SetFloat(5); w.Project().FreeHeight = 500; },
         "not supported"},
        {"clay with c = 0", [](TWorkspace& w) { w.Table("NewSoil").Cell(0, 0).SetInteger(1); },
         "Soil layer 1"},
        {"unsupported wall", [](TWorkspace& w) { w.Project().GenerateCurves = 0; w.Project().EarthPressureOption = 0; },
         "not supported"},
        {"friction angle of 90 degrees",
         [](TWorkspace& w) {
             for (int r = 0; r < 2; ++r) w.Table("NewSoil").Cell(2, 0).AsTable().Cell(1, r).SetFloat(90);
         },
         "Soil layer 1"},
        {"zero increment length", [](TWorkspace& w) { w.Project().IncrementLength = 0; },
         "increment length must be greater than zero"},
        {"unit weight of 1e308",
         [](TWorkspace& w) {
             for (int r = 0; r < 2; ++r) w.Table("NewSoil").Cell(2, 0).AsTable().Cell(0, r).SetFloat(1e308L);
         },
         "Soil layer 1 (top): the unit weight must be between 0 and "},
        {"p-y width of 1e308", [](TWorkspace& w) { w.Project().ResistanceWidth = 1e308L; },
         "The width for generating p-y soil resistance, Wp must be between 0 and 4724.4094 in; the input gives "
         "1e+308 in."},
        {"negative cohesion",
         [](TWorkspace& w) {
             w.Table("NewSoil").Cell(0, 0).SetInteger(1);
             for (int r = 0; r < 2; ++r) w.Table("NewSoil").Cell(2, 0).AsTable().Cell(1, r).SetFloat(-144);
         },
         "Soil layer 1 (top): the cohesion must be between 0 and 1450.3774 psi; the input gives -1 psi."},
        {"spring of 1e300",
         [](TWorkspace& w) {
             w.Project().UseSprings = 1;
             TGridTable& springs = w.Table("SoilStrength");
             springs.Cell(0, 0).SetInteger(1);
             springs.Cell(1, 0).SetInteger(3);
             springs.Cell(2, 0).SetInteger(3);
             springs.Cell(3, 0).SetFloat(1e300L);
         },
         "The lateral spring at node 3 must be between 0 and "},
    };
    const fs::path folder = fs::temp_directory_path() / ("torvex-badinput-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const TBadCase& bad : cases) {
        const TFileAnalysis analysis = AnalyzeDataText(Wall(bad.spoil), "bad.tx4d");
        const std::string report = ReportText(analysis) + RunNotesText(analysis);
        EXPECT_NE(report.find(bad.message), std::string::npos) << bad.name << "\n" << report;
        EXPECT_FALSE(analysis.AllConverged()) << bad.name;
        const TResultPaths paths = ResultPathsFor((folder / "bad.tx4d").string());
        SaveTextFile(paths.plot, "stale");
        SaveTextFile(paths.summary, "stale");
        WriteResultFiles(analysis, paths);
        EXPECT_FALSE(fs::exists(paths.plot)) << bad.name;
        EXPECT_FALSE(fs::exists(paths.summary)) << bad.name;
        EXPECT_NE(LoadTextFile(paths.notes).find(bad.message), std::string::npos) << bad.name;
    }
    // A truncated file.
    const std::string whole = Wall([](TWorkspace&) {});
    const TFileAnalysis cut = AnalyzeDataText(whole.substr(0, whole.size() / 2), "cut.tx4d");
    EXPECT_NE(cut.error.find("This file either invalid or incomplete."), std::string::npos) << cut.error;
    fs::remove_all(folder);
}

TEST(EngineBadInput, AStageMessageNamesTheLineOfTheWholeFile) {
    std::string text = LoadTextFile(TORVEX_SOURCE_DIR "/examples/three-stage-excavation.tx4d");
    // Line 32 is the third line of stage 3, whose part starts at line 30.
    const size_t line32 = text.find("120 3.6\t24", text.find(" Stage No : 3"));
    ASSERT_NE(line32, std::string::npos);
    text.replace(line32, 3, "abc");
    const TFileAnalysis file = AnalyzeDataText(text, "staged.tx4d");
    ASSERT_EQ(file.cases.size(), 3u);
    EXPECT_NE(file.cases[2].message.find("Error on Line 32 Item 1"), std::string::npos)
        << file.cases[2].message;
}

// The width that once gave "converged" with "-nan" in every file: an input error naming the
// field, in the file's own units.
TEST(EngineBadInput, AnAbsurdWidthIsAnInputErrorNotANumberThatIsNot) {
    std::string text = LoadTextFile(TORVEX_SOURCE_DIR "/examples/pile-wall-weak-rock.tx4d");
    const size_t line7 = text.find("5\t1.2\t0.9\t");
    ASSERT_NE(line7, std::string::npos);
    text.replace(line7, 11, "5\t1.2\t1e308\t");
    const TFileAnalysis file = AnalyzeDataText(text, "rock.tx4d");
    ASSERT_EQ(file.cases.size(), 1u);
    EXPECT_EQ(file.cases[0].outcome, TOutcome::InputError);
    EXPECT_EQ(file.cases[0].message,
              "The width for generating p-y soil resistance, Wp must be between 0 and 120 m; the input "
              "gives 1e+308 m.");
    EXPECT_EQ(ReportText(file).find("nan"), std::string::npos);
}

// A file whose stage 2 says SI while stages 1 and 3 say English (as an earlier version could
// save it) must not pass stage 2's deflections to stage 3 in the wrong units.
TEST(EngineBadInput, AStageInOtherUnitsThanStageOneIsRefused) {
    std::string text = LoadTextFile(TORVEX_SOURCE_DIR "/examples/three-stage-excavation.tx4d");
    const size_t units = text.find("\n1 0\t", text.find(" Stage No : 2"));
    ASSERT_NE(units, std::string::npos);
    text[units + 1] = '2';
    const TFileAnalysis file = AnalyzeDataText(text, "mixed.tx4d");
    ASSERT_EQ(file.cases.size(), 3u);
    EXPECT_EQ(file.cases[0].outcome, TOutcome::Converged);
    EXPECT_EQ(file.cases[1].outcome, TOutcome::InputError);
    EXPECT_EQ(file.cases[1].message,
              "This stage is in SI units and stage 1 in English units: every stage must be in the "
              "same units. Choose the units again in TORVEX (Options, Units), which converts every "
              "stage, or convert the file with torvex-convert.");
    EXPECT_EQ(file.cases[2].outcome, TOutcome::Converged);
}

}  // namespace
}  // namespace torvex::engine
