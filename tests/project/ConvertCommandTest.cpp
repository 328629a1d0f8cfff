#include "project/ConvertCommand.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "ProjectFixture.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

class ConvertCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("torvex-convert-test-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    int Run(std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        return RunConvertCommand(arguments, out, err);
    }
    fs::path folder;
    std::ostringstream out, err;
};

TEST_F(ConvertCommandTest, ConvertsUnitsAsTheUnitsMenuDoes) {
    TWorkspace workspace;
    testing::FillFullProject(workspace, 40, 3, true);
    workspace.Project().FileName = Path("Wall.tx4d");
    WriteDataFile(workspace);
    ASSERT_EQ(Run({Path("Wall.tx4d"), Path("Wall-si.tx4d"), "--units", "SI"}), 0) << err.str();
    TWorkspace converted;
    ReadDataFile(converted, Path("Wall-si.tx4d"), 1);
    EXPECT_EQ(converted.Project().UnitSystem, 2);
    EXPECT_NEAR(static_cast<double>(converted.Project().FreeHeight), 180 * 0.0254, 1e-7);
    // Without --units the file is written again unchanged.
    ASSERT_EQ(Run({Path("Wall.tx4d"), Path("Same.tx4d")}), 0);
    EXPECT_EQ(LoadTextFile(Path("Same.tx4d")), LoadTextFile(Path("Wall.tx4d")));
}

TEST_F(ConvertCommandTest, OlderFormatsComeForward) {
    // Oldest format: no stage count, no marker; layers by thickness.
    SaveTextFile(Path("Old.dat"),
                 "Old wall\r\n1 0\t1\t0\t2\t2 0\r\n"
                 "20 12\t10\t1E-5\t60\r\n"
                 "0\t20\t1\t1000\r\n0\r\n0\r\n"
                 "60\t12\t12\t0\t0\t1\t1\t0\r\n0\t0\t0\t0\t0\t0\r\n"
                 "2\r\n4 5\r\n0.07 0 30 0 90\r\n4 10\r\n0.07 0 30 0 90\r\n");
    ASSERT_EQ(Run({Path("Old.dat"), Path("New.tx4d"), "--kind", "3"}), 0) << err.str();
    TWorkspace workspace;
    ReadDataFile(workspace, Path("New.tx4d"), 1);
    EXPECT_EQ(workspace.Project().Title, "Old wall");
    ASSERT_EQ(workspace.Table("NewSoil").RowCount(), 2);
    // The oldest format holds thicknesses (5, 10) without unit factors; the table holds bottoms.
    EXPECT_EQ(workspace.Table("NewSoil").Cell(1, 1).AsFloat(), 15.0L);
}

TEST_F(ConvertCommandTest, StagedFilesKeepEveryStage) {
    TWorkspace workspace;
    CreateDefaultProject(workspace);
    TProgramData& p = workspace.Project();
    p.FileName = Path("Staged.tx4d");
    p.StageCount = 2;
    for (int k = 1; k <= 2; ++k) {
        p.CurrentStage = k;
        p.NumIncrements = 10 * k;
        WriteCurrentStage(workspace);
    }
    CombineStageFiles(workspace, Path("Staged.tx4d"), Path("Staged.tx4d"));
    // The stages are split in the user's runtime folder; what a killed run left there goes,
    // what a running one uses stays.
    const fs::path runtime = folder / "runtime";
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const fs::path left = runtime / ("torvex-convert-" + std::to_string(dead) + "-7");
    const fs::path running = runtime / "torvex-convert-1-7";
    const fs::path users = runtime / "torvex-convert-0-notes";
    for (const fs::path& made : {left, running, users}) fs::create_directories(made);
    SaveTextFile((left / "work.tx4d").string(), "left");
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ASSERT_EQ(Run({Path("Staged.tx4d"), Path("Out.tx4d"), "--units", "other"}), 0) << err.str();
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(std::distance(fs::directory_iterator(runtime), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::exists(running) && fs::exists(users));
    const std::string text = LoadTextFile(Path("Out.tx4d"));
    EXPECT_EQ(text.rfind("New Wall\r\n3 ", 0), 0u) << text;
    EXPECT_NE(text.find(" Stage No : 2\r\n3 "), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n20 0\t"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(Path("Out.st1")));  // scratch files stay out of the user's folder
}

TEST_F(ConvertCommandTest, BadArgumentsAndUnreadableFiles) {
    EXPECT_EQ(Run({}), 1);
    EXPECT_NE(err.str().find("usage: torvex-convert IN OUT"), std::string::npos);
    EXPECT_EQ(Run({"a", "b", "--units", "metric"}), 1);
    EXPECT_NE(err.str().find("--units must be english, si or other"), std::string::npos);
    EXPECT_EQ(Run({"a", "b", "--kind", "4"}), 1);
    EXPECT_EQ(Run({"a", "b", "--kind"}), 1);

    EXPECT_EQ(Run({Path("missing.tx4d"), Path("out.tx4d")}), 2);
    EXPECT_NE(err.str().find("cannot read"), std::string::npos);
    SaveTextFile(Path("Bad.tx4d"), "Title\r\n1 x\r\n");
    EXPECT_EQ(Run({Path("Bad.tx4d"), Path("out.tx4d")}), 2);
    EXPECT_NE(err.str().find("Error on Line 2 Item 2 An integer was expected but not found."),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(fs::exists(Path("out.tx4d")));

    TWorkspace workspace;
    CreateDefaultProject(workspace);
    workspace.Project().FileName = Path("Good.tx4d");
    WriteDataFile(workspace);
    EXPECT_EQ(Run({Path("Good.tx4d"), Path("no/such/folder/out.tx4d")}), 3);
}

TEST_F(ConvertCommandTest, AStagedFileWithABadOrMissingStageIsNotConverted) {
    TWorkspace workspace;
    CreateDefaultProject(workspace);
    TProgramData& p = workspace.Project();
    p.FileName = Path("Staged.tx4d");
    p.StageCount = 3;
    for (int k = 1; k <= 3; ++k) {
        p.CurrentStage = k;
        WriteCurrentStage(workspace);
    }
    CombineStageFiles(workspace, p.FileName, p.FileName);
    const std::string good = LoadTextFile(p.FileName);
    // A new project's stage has 14 lines (title, header, wall, one stiffness row, two counts,
    // two configuration lines, two counts, one clay layer of three lines, the stage number):
    // stage 2's header is line 16 of the file, stage 3's line 30.
    const std::string misplaced = "An option block may only follow the file's last stage; this one comes "
                                  "before a later stage. Move it to the end of the file.";
    struct Case {
        std::string text, message;
    } cases[] = {
        {std::string(good).replace(good.find(" Stage No : 2\r\n1 ") + 15, 1, "x"),
         "Error on Line 16 Item 1 An integer was expected but not found."},
        {std::string(good).replace(good.find(" Stage No : 3\r\n1 ") + 15, 1, "1.5"),
         "Error on Line 30 Item 1 An integer was expected but not found."},
        {good.substr(0, good.find(" Stage No : 3")),
         "Error on Line 28 The file ends after 2 of its 3 construction stages: a line \""
         " Stage No : 3\" was expected but not found."},
        // An option block before the last stage, which neither stage would see.
        {std::string(good).insert(good.find(" Stage No : 2"), "TORVEX-OPTIONS 1\r\nSeismicKh 0.2\r\nEND\r\n"),
         "Error on Line 15 " + misplaced},
        {std::string(good).insert(good.find(" Stage No : 3"), "Notes\r\nTORVEX-OPTIONS 1\r\nEND\r\n"),
         "Error on Line 30 " + misplaced},
    };
    for (const Case& c : cases) {
        SaveTextFile(Path("In.tx4d"), c.text);
        EXPECT_EQ(Run({Path("In.tx4d"), Path("Out.tx4d")}), 2);
        EXPECT_EQ(err.str(), "torvex-convert: cannot read \"" + Path("In.tx4d") + "\": " +
                                 c.message + "\n");
        EXPECT_FALSE(fs::exists(Path("Out.tx4d")));
    }
}

TEST_F(ConvertCommandTest, FoldersPipesAndDevicesAreRefused) {
    ASSERT_EQ(::mkfifo(Path("Pipe.tx4d").c_str(), 0600), 0);
    EXPECT_EQ(Run({Path("Pipe.tx4d"), Path("Out.tx4d")}), 2);  // and does not wait for a writer
    EXPECT_EQ(err.str(), "torvex-convert: cannot read \"" + Path("Pipe.tx4d") +
                             "\": Cannot read file \"" + Path("Pipe.tx4d") +
                             "\": it is not a regular file (a device, a pipe or a socket).\n");
    EXPECT_EQ(Run({folder.string(), Path("Out.tx4d")}), 2);
    EXPECT_NE(err.str().find("it is a folder, not a file."), std::string::npos) << err.str();

    TWorkspace workspace;
    CreateDefaultProject(workspace);
    workspace.Project().FileName = Path("Good.tx4d");
    WriteDataFile(workspace);
    EXPECT_EQ(Run({Path("Good.tx4d"), Path("Pipe.tx4d")}), 3);
    EXPECT_NE(err.str().find("it is not a regular file"), std::string::npos) << err.str();
    EXPECT_EQ(fs::status(Path("Pipe.tx4d")).type(), fs::file_type::fifo);
}

TEST(FormatKindOfFileName, TxdIsTheOlderFormat) {
    EXPECT_EQ(FormatKindOfFileName("a/Wall.txd"), 2);
    EXPECT_EQ(FormatKindOfFileName("Wall.TXD"), 2);
    EXPECT_EQ(FormatKindOfFileName("Wall.tx4d"), 1);
    EXPECT_EQ(FormatKindOfFileName("Wall"), 1);
}

}  // namespace
}  // namespace torvex
