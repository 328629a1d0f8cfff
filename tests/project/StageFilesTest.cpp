#include "project/StageFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ProjectFixture.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "project/UnitConversion.h"
#include "project/WordRead.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

class StageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("torvex-stages-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        CreateDefaultProject(workspace);
        workspace.Project().FileName = Path("Wall.tx4d");
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    // Three stages whose walls differ by their number of increments.
    void WriteThreeStages() {
        TProgramData& p = workspace.Project();
        p.StageCount = 3;
        for (int k = 1; k <= 3; ++k) {
            p.CurrentStage = k;
            p.NumIncrements = 10 * k;
            WriteCurrentStage(workspace);
        }
    }

    fs::path folder;
    TWorkspace workspace;
};

TEST(StageFileName, ReplacesOrAppendsTheExtension) {
    EXPECT_EQ(StageFileName("/p/Wall.tx4d", 1), "/p/Wall.st1");
    EXPECT_EQ(StageFileName("/p/Wall.TXD", 5), "/p/Wall.st5");
    EXPECT_EQ(StageFileName("/p/Wall", 2), "/p/Wall.st2");
    EXPECT_EQ(StageFileName("/p.d/Wall", 3), "/p.d/Wall.st3");
    EXPECT_EQ(StageFileName("My.Wall.tx4d", 4), "My.Wall.st4");
    EXPECT_EQ(StageStatusText(3), "Construction Stage Number: 3");
}

TEST_F(StageFilesTest, StageFilesCarryTheirMarkerAndNumber) {
    WriteThreeStages();
    const std::string second = LoadTextFile(Path("Wall.st2"));
    EXPECT_EQ(second.rfind(" Stage No : 2\r\n", 0), 0u);
    EXPECT_EQ(second.substr(second.size() - 3), "2\r\n");
    EXPECT_EQ(LoadTextFile(Path("Wall.st1")).rfind("New Wall\r\n", 0), 0u);
    EXPECT_EQ(workspace.Project().StageFileName, Path("Wall.st3"));
}

TEST_F(StageFilesTest, ThreeStagesCombineAndSplitBackToTheSameFiles) {
    WriteThreeStages();
    const std::string stage[3] = {LoadTextFile(Path("Wall.st1")), LoadTextFile(Path("Wall.st2")),
                                  LoadTextFile(Path("Wall.st3"))};
    CombineStageFiles(workspace, Path("Wall.tx4d"), Path("Wall.tx4d"));
    EXPECT_EQ(LoadTextFile(Path("Wall.tx4d")), stage[0] + stage[1] + stage[2]);

    for (int k = 1; k <= 5; ++k) fs::remove(StageFileName(Path("Wall.tx4d"), k));
    SaveTextFile(Path("Wall.st5"), "stale");
    // Opening the staged file reads the first stage and splits it into the stage files.
    ReadDataFile(workspace, Path("Wall.tx4d"), 1);
    EXPECT_EQ(workspace.Project().StageCount, 3);
    EXPECT_EQ(workspace.Project().NumIncrements, 10);
    EXPECT_EQ(SplitStageFiles(workspace, Path("Wall.tx4d")), "");
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(LoadTextFile(StageFileName(Path("Wall.tx4d"), k)), stage[k - 1]) << k;
    EXPECT_FALSE(fs::exists(Path("Wall.st5")));  // old stage files are deleted first
}

TEST_F(StageFilesTest, CombineUnderANewNameMovesTheStageFiles) {
    WriteThreeStages();
    CombineStageFiles(workspace, Path("Copy.tx4d"), Path("Wall.tx4d"));
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(fs::exists(Path("Copy.st" + std::to_string(k))));
        EXPECT_FALSE(fs::exists(Path("Wall.st" + std::to_string(k))));
    }
    // A missing stage file is an error that leaves the target as it was.
    SaveTextFile(Path("Target.tx4d"), "old");
    EXPECT_THROW(CombineStageFiles(workspace, Path("Target.tx4d"), Path("Wall.tx4d")),
                 EInOutError);
    EXPECT_EQ(LoadTextFile(Path("Target.tx4d")), "old");
}

TEST_F(StageFilesTest, SplitOfAFileWithTooFewStagesWritesEmptyStagesAndSaysSo) {
    SaveTextFile(Path("Short.tx4d"), "Title\r\n1 2\r\n Stage No : 2\r\n3\r\n2\r\n");
    workspace.Project().StageCount = 4;
    const std::string message = SplitStageFiles(workspace, Path("Short.tx4d"));
    EXPECT_EQ(message, "The file \"" + Path("Short.tx4d") +
                           "\" holds 2 of its 4 construction stages; the missing stages were "
                           "left empty.");
    EXPECT_EQ(LoadTextFile(Path("Short.st1")), "Title\r\n1 2\r\n");
    EXPECT_EQ(LoadTextFile(Path("Short.st2")), " Stage No : 2\r\n3\r\n2\r\n");
    EXPECT_EQ(LoadTextFile(Path("Short.st3")), "");
    EXPECT_EQ(LoadTextFile(Path("Short.st4")), "");
    EXPECT_FALSE(fs::exists(Path("Short.st5")));
}

TEST_F(StageFilesTest, TheLastLineIsNeverTakenForAMarker) {
    SaveTextFile(Path("Odd.tx4d"), "A\n Stage No : 2");
    workspace.Project().StageCount = 2;
    EXPECT_NE(SplitStageFiles(workspace, Path("Odd.tx4d")), "");
    EXPECT_EQ(LoadTextFile(Path("Odd.st1")), "A\r\n Stage No : 2\r\n");
}

TEST_F(StageFilesTest, SwitchingStagesWritesTheCurrentAndLoadsTheOther) {
    WriteThreeStages();
    TProgramData& p = workspace.Project();
    std::string status;
    workspace.SetStatusText = [&](const std::string& text) { status = text; };
    p.NumIncrements = 33;  // an edit in stage 3
    workspace.SetModified(true);
    SwitchToStage(workspace, 1);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_EQ(workspace.Project().NumIncrements, 10);
    EXPECT_TRUE(workspace.Modified());  // the modified state is kept
    EXPECT_EQ(status, "Construction Stage Number: 1");
    SwitchToStage(workspace, 3);
    EXPECT_EQ(workspace.Project().NumIncrements, 33);

    // Switching to the current stage does nothing and writes nothing.
    fs::remove(Path("Wall.st3"));
    SwitchToStage(workspace, 3);
    EXPECT_FALSE(fs::exists(Path("Wall.st3")));
}

TEST_F(StageFilesTest, CopyPreviousStageCopiesInputAndFile) {
    WriteThreeStages();
    workspace.Project().CurrentStage = 3;
    CopyPreviousStage(workspace);
    EXPECT_EQ(workspace.Project().CurrentStage, 3);
    EXPECT_EQ(workspace.Project().NumIncrements, 20);
    const std::string third = LoadTextFile(Path("Wall.st3"));
    EXPECT_EQ(third.rfind(" Stage No : 3\r\n", 0), 0u);
    EXPECT_NE(third.find("\r\n20 "), std::string::npos);
}

TEST_F(StageFilesTest, LoadingAStageClearsTheLongTermOption) {
    WriteThreeStages();
    workspace.Project().UseLongTerm = 1;
    workspace.Project().CurrentStage = 2;
    LoadCurrentStage(workspace);
    EXPECT_EQ(workspace.Project().UseLongTerm, 0);
    EXPECT_EQ(workspace.Project().Title, " Stage No : 2");
    // A missing stage file leaves the input as it was.
    workspace.Project().CurrentStage = 5;
    workspace.Project().NumIncrements = 77;
    LoadCurrentStage(workspace);
    EXPECT_EQ(workspace.Project().NumIncrements, 77);
}

// Open, visit every stage, come back and Save, as the main window does: the data file keeps
// every byte. Stage 1 uses springs, surcharges and moment-EI curves; stage 2 none of them.
TEST_F(StageFilesTest, VisitingEveryStageAndSavingChangesNoByte) {
    testing::FillFullProject(workspace, 40, 2, false);
    TProgramData& p = workspace.Project();
    p.FileName = Path("Wall.tx4d");
    p.StageCount = 3;
    for (int k = 1; k <= 3; ++k) {
        p.CurrentStage = k;
        p.NumIncrements = 40 + k;
        if (k == 2) p.UseSprings = p.UseSurcharges = p.UseMEICurves = 0;
        WriteCurrentStage(workspace);
    }
    CombineStageFiles(workspace, p.FileName, p.FileName);
    const std::string saved = LoadTextFile(Path("Wall.tx4d"));

    TWorkspace opened;
    ReadDataFile(opened, Path("Wall.tx4d"), 1);
    ASSERT_EQ(SplitStageFiles(opened, Path("Wall.tx4d")), "");
    for (const int stage : {2, 3, 1, 3, 2, 1}) SwitchToStage(opened, stage);
    EXPECT_EQ(opened.Project().UseSprings, 1);
    WriteCurrentStage(opened);  // Save
    CombineStageFiles(opened, Path("Wall.tx4d"), Path("Wall.tx4d"));
    EXPECT_EQ(LoadTextFile(Path("Wall.tx4d")), saved);
    SwitchToStage(opened, 2);
    EXPECT_EQ(opened.Project().UseSprings, 0);
    EXPECT_EQ(opened.Project().UseSurcharges, 0);
    EXPECT_EQ(opened.Project().UseMEICurves, 0);
}

// Two stages of an older ".txd" file; "|" ends a line.
std::string OlderStage(const std::string& title, int increments, int stage) {
    std::string text = title + "|1 0\t1\t0\t0\t0 0 2|" + std::to_string(increments) +
                       " 12\t100\t1E-5\t60|1\t" + std::to_string(increments + 1) +
                       "\t1\t29000000|0|0|" + std::to_string(stage) + "|";
    for (size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at))
        text.replace(at, 1, "\r\n");
    return text;
}

TEST_F(StageFilesTest, OlderStagesAreBroughtIntoTheCurrentLayout) {
    SaveTextFile(Path("Old.txd"), OlderStage("Old", 20, 1) + OlderStage(" Stage No : 2", 30, 2));
    ReadDataFile(workspace, Path("Old.txd"), 2);
    ASSERT_EQ(SplitStageFiles(workspace, Path("Old.txd")), "");
    ConvertOlderStages(workspace);
    // The header gains its moment-EI count; nothing else changes.
    EXPECT_EQ(LoadTextFile(Path("Old.st2")),
              " Stage No : 2\r\n1 0\t1\t0\t0\t0 0 2 0\r\n30 12\t100\t1E-5\t60\r\n"
              "1\t31\t1\t29000000\r\n0\r\n0\r\n2\r\n");
    EXPECT_EQ(LoadTextFile(Path("Old.st1")).substr(0, 24), "Old\r\n1 0\t1\t0\t0\t0 0 2 0\r\n");
    EXPECT_EQ(workspace.Project().CurrentStage, 1);
    EXPECT_EQ(workspace.Project().FullFormat, 1);
    EXPECT_EQ(workspace.Project().NumIncrements, 20);
}

TEST_F(StageFilesTest, MessagesAboutALaterStageNameTheLineOfTheDataFile) {
    // Stage 2 starts at line 8 of the file; its fourth line (11 in the file) is bad.
    std::string second = OlderStage(" Stage No : 2", 30, 2);
    second.replace(second.find("1\t31"), 1, "x");
    SaveTextFile(Path("Bad.txd"), OlderStage("Old", 20, 1) + second);
    ReadDataFile(workspace, Path("Bad.txd"), 2);
    ASSERT_EQ(SplitStageFiles(workspace, Path("Bad.txd")), "");
    std::vector<std::string> shown;
    workspace.ShowInformation = [&](const std::string& message) { shown.push_back(message); };
    workspace.Project().FullFormat = 0;
    SwitchToStage(workspace, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Error on Line 11 Item 1\rAn integer was expected but not found.");
    // Once the program has written the stage file, its own lines count.
    SwitchToStage(workspace, 1);
    SaveTextFile(Path("Bad.st2"), OlderStage(" Stage No : 2", 30, 2).replace(15, 1, "x"));
    SwitchToStage(workspace, 2);
    EXPECT_EQ(shown.back(), "Error on Line 2 Item 1\rAn integer was expected but not found.");
}

TEST_F(StageFilesTest, TheStageCountWritesAndDeletesStageFiles) {
    TProgramData& p = workspace.Project();
    // Staging starts from the input in memory, whatever stage file lay beside it.
    SaveTextFile(Path("Wall.st1"), "stale\r\n");
    p.NumIncrements = 12;
    ApplyStageCount(workspace, 2);
    EXPECT_EQ(p.StageCount, 2);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_TRUE(workspace.Modified());
    EXPECT_EQ(LoadTextFile(Path("Wall.st2")).rfind(" Stage No : 2\r\n", 0), 0u);
    EXPECT_NE(LoadTextFile(Path("Wall.st1")).find("\r\n12 "), std::string::npos);

    // 2 -> 4: stages 3 and 4 are copies of stage 2's input.
    SwitchToStage(workspace, 2);
    p.NumIncrements = 24;
    ApplyStageCount(workspace, 4);
    EXPECT_EQ(p.CurrentStage, 2);
    EXPECT_EQ(p.NumIncrements, 24);
    for (const char* name : {"Wall.st3", "Wall.st4"})
        EXPECT_NE(LoadTextFile(Path(name)).find("\r\n24 "), std::string::npos) << name;
    EXPECT_EQ(LoadTextFile(Path("Wall.st4")).rfind(" Stage No : 4\r\n", 0), 0u);

    // 4 -> 2: stages 3 and 4 go, stage 1 becomes current.
    ApplyStageCount(workspace, 2);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_EQ(p.NumIncrements, 12);
    EXPECT_FALSE(fs::exists(Path("Wall.st3")));
    EXPECT_FALSE(fs::exists(Path("Wall.st4")));

    // 1 ends staging and deletes every stage file.
    ApplyStageCount(workspace, 1);
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_FALSE(fs::exists(Path("Wall.st1")));
    EXPECT_FALSE(fs::exists(Path("Wall.st2")));
}

// Line n (from 1) of a stage file, split at blanks and tabs.
std::vector<std::string> Fields(const std::string& text, int n) {
    std::istringstream lines(text);
    std::string line;
    for (int i = 0; i < n; ++i) std::getline(lines, line);
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    return fields;
}

// A unit change converts every stage, not only the one on screen: the data file the stages
// join into must be in one system. A wall length of 3.6 in and a free height of 144 in are
// 0.09144 m and 3.6576 m.
TEST_F(StageFilesTest, AUnitChangeConvertsEveryStageOrNone) {
    TProgramData& p = workspace.Project();
    p.IncrementLength = 3.6L;
    p.FreeHeight = 144;
    WriteThreeStages();
    p.NumIncrements = 33;  // an edit in stage 3, not yet in its file
    workspace.SetModified(true);
    ChangeStagesUnitSystem(workspace, 2);
    for (int k = 1; k <= 3; ++k) {
        const std::string text = LoadTextFile(Path("Wall.st" + std::to_string(k)));
        EXPECT_EQ(Fields(text, 2).at(0), "2") << "stage " << k;
        const std::vector<std::string> wall = Fields(text, 3);
        EXPECT_EQ(wall.at(0), k == 3 ? "33" : std::to_string(10 * k));
        EXPECT_EQ(wall.at(1), "0.09144");
        EXPECT_EQ(wall.at(4), "3.6576");
    }
    EXPECT_EQ(p.CurrentStage, 3);
    EXPECT_EQ(p.UnitSystem, 2);
    EXPECT_EQ(p.NumIncrements, 33);
    EXPECT_TRUE(workspace.Modified());

    // A stage left in English units by an earlier version is brought into SI with the rest:
    // 3.6576 m x 39.3701 = 144.00008 in, x 0.0254 = 3.657602 m; the other stages keep theirs.
    ChangeUnitSystem(workspace, 1);
    WriteCurrentStage(workspace);
    ChangeStagesUnitSystem(workspace, 2);
    EXPECT_EQ(Fields(LoadTextFile(Path("Wall.st3")), 3).at(4), "3.657602");
    EXPECT_EQ(Fields(LoadTextFile(Path("Wall.st1")), 3).at(4), "3.6576");

    // A stage file that cannot be read whole stops the change before anything is written
    // from it, and every stage file is put back as it was.
    const std::string damaged = LoadTextFile(Path("Wall.st2")).substr(0, 40);
    SaveTextFile(Path("Wall.st2"), damaged);
    const std::string first = LoadTextFile(Path("Wall.st1")), third = LoadTextFile(Path("Wall.st3"));
    std::vector<std::string> shown;
    workspace.ShowInformation = [&](const std::string& message) { shown.push_back(message); };
    EXPECT_THROW(ChangeStagesUnitSystem(workspace, 1), EInOutError);
    EXPECT_EQ(LoadTextFile(Path("Wall.st1")), first);
    EXPECT_EQ(LoadTextFile(Path("Wall.st2")), damaged);
    EXPECT_EQ(LoadTextFile(Path("Wall.st3")), third);
    EXPECT_TRUE(shown.empty());  // the caller shows the failure, once
    EXPECT_EQ(p.CurrentStage, 3);
    EXPECT_EQ(p.UnitSystem, 2);
}

}  // namespace
}  // namespace torvex
