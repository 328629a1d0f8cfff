#include "project/OptionBlock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "ProjectFixture.h"
#include "project/ConvertCommand.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"
#include "project/WordRead.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

// Every setting away from its default.
TProjectOptions AllSet() {
    TProjectOptions o;
    o.MomentCapacity = 250.5L;
    o.ShearCapacity = 120;
    o.AllowableDeflection = 0.05L;
    o.TargetSafetyFactor = 2;
    o.SeismicKh = 0.24L;
    o.SeismicKv = -0.12L;
    o.LayeredSoil = 1;
    o.CyclicLoading = 1;
    o.CyclicCycles = 100;
    return o;
}

std::string SmallWall(TWorkspace& workspace, const TProjectOptions& options) {
    testing::FillFullProject(workspace, 40, 3, true);
    workspace.Project().Options = options;
    return WriteDataFileText(workspace);
}

TEST(OptionBlock, DefaultsWriteNoBlockAndTheFileStaysAsItWas) {
    EXPECT_EQ(OptionBlockText(TProjectOptions{}), "");
    TWorkspace a, b;
    testing::FillFullProject(a, 40, 3, true);
    const std::string before = WriteDataFileText(a);
    const std::string after = SmallWall(b, TProjectOptions{});
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.find(kOptionBlockHeader), std::string::npos);
}

TEST(OptionBlock, OnlyChangedSettingsAreWrittenBetweenHeaderAndEnd) {
    TProjectOptions o;
    o.MomentCapacity = 300;
    o.CyclicLoading = 1;
    EXPECT_EQ(OptionBlockText(o), "TORVEX-OPTIONS 1\r\nMomentCapacity 300\r\nCyclicLoading 1\r\nEND\r\n");
}

TEST(OptionBlock, RoundTripThroughTheDataFileKeepsEveryValue) {
    for (const bool longTerm : {false, true}) {
        TWorkspace workspace;
        testing::FillFullProject(workspace, 40, 3, longTerm);
        workspace.Project().Options = AllSet();
        const std::string text = WriteDataFileText(workspace);
        TWorkspace read;
        ReadDataFileText(read, text, "Wall.tx4d", 1);
        EXPECT_EQ(read.Project().Options, AllSet()) << "long-term " << longTerm;
        EXPECT_EQ(WriteDataFileText(read), text);  // and written again byte for byte
    }
}

TEST(OptionBlock, AFileWithoutABlockReadsTheDefaults) {
    TWorkspace workspace, read;
    const std::string text = SmallWall(workspace, TProjectOptions{});
    read.Project().Options = AllSet();
    ReadDataFileText(read, text, "Wall.tx4d", 1);
    EXPECT_EQ(read.Project().Options, TProjectOptions{});
}

struct TBadBlock {
    const char* block;   // lines after the data, "\n" separated
    int lineAfterData;   // 1-based line of the fault, counted from the block's first line
    const char* words;   // part of the message
};

TEST(OptionBlock, ABadBlockIsRefusedWithItsLine) {
    const TBadBlock cases[] = {
        {"TORVEX-OPTIONS 1\nMomentCap 5\nEND\n", 2, "not a setting"},
        {"TORVEX-OPTIONS 1\nMomentCapacity 5x\nEND\n", 2, "not a number"},
        {"TORVEX-OPTIONS 1\nMomentCapacity\nEND\n", 2, "one number"},
        {"TORVEX-OPTIONS 1\nShearCapacity 1 2\nEND\n", 2, "one number"},
        {"TORVEX-OPTIONS 1\nShearCapacity -1\nEND\n", 2, "0 or more"},
        {"TORVEX-OPTIONS 1\nLayeredSoil 2\nEND\n", 2, "0 or 1"},
        {"TORVEX-OPTIONS 1\nCyclicCycles 2.5\nEND\n", 2, "whole number"},
        {"TORVEX-OPTIONS 1\nTargetSafetyFactor 0.2\nEND\n", 2, "0.5 to 20"},
        {"TORVEX-OPTIONS 1\nSeismicKh 0.1\n\nSeismicKh 0.2\nEND\n", 4, "twice"},
        {"TORVEX-OPTIONS 1\nSeismicKv 0.1\n", 2, "without"},
        {"TORVEX-OPTIONS 1\nSeismicKv 0.1\nEND\nMore 1\n", 4, "follow"},
        {"TORVEX-OPTIONS 2\nEND\n", 1, "version"},
        {"TORVEX-OPTIONS 1\nAllowableDeflection 1e999\nEND\n", 2, "not a number"},
    };
    TWorkspace workspace;
    const std::string data = SmallWall(workspace, TProjectOptions{});
    const size_t dataLines = LinesBefore(data, data.size());
    for (const TBadBlock& c : cases) {
        TWorkspace read;
        try {
            ReadDataFileText(read, data + c.block, "Wall.tx4d", 1);
            ADD_FAILURE() << "read without error: " << c.block;
        } catch (const EInOutError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Error on Line " + std::to_string(dataLines + c.lineAfterData) + "\r", 0), 0u)
                << message;
            EXPECT_NE(message.find(c.words), std::string::npos) << message;
        }
        // The failed read leaves a default project, not a half-read one.
        EXPECT_EQ(read.Project().Options, TProjectOptions{});
    }
}

TEST(OptionBlock, UnitFactorsFollowWhatEachSettingMeasures) {
    TProjectOptions o = AllSet();
    ScaleOptionUnits(o, 2, 3);
    EXPECT_EQ(o.MomentCapacity, 250.5L * 6);
    EXPECT_EQ(o.ShearCapacity, 120 * 3);
    EXPECT_EQ(o.AllowableDeflection, 0.05L * 2);
    EXPECT_EQ(o.TargetSafetyFactor, 2);
    EXPECT_EQ(o.SeismicKh, 0.24L);
    EXPECT_EQ(o.CyclicCycles, 100);
}

class OptionBlockFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("torvex-options-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    fs::path folder;
};

TEST_F(OptionBlockFiles, ConvertTurnsAMomentCapacityInPoundInchesIntoKilonewtonMetres) {
    TWorkspace workspace;
    testing::FillFullProject(workspace, 40, 3, false);
    TProjectOptions o;
    o.MomentCapacity = 1e6L;      // lbs-in
    o.ShearCapacity = 10000;      // lbs
    o.AllowableDeflection = 2;    // in
    o.TargetSafetyFactor = 1.3L;  // no unit
    workspace.Project().Options = o;
    workspace.Project().FileName = Path("Wall.tx4d");
    WriteDataFile(workspace);
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({Path("Wall.tx4d"), Path("Wall-si.tx4d"), "--units", "si"}, out, err), 0)
        << err.str();
    TWorkspace read;
    ReadDataFile(read, Path("Wall-si.tx4d"), 1);
    const TProjectOptions& si = read.Project().Options;
    // 1e6 lbs-in = 1e6 x 0.0254 m x 0.004448222 kN = 112.98484 kN-m (to the 8 digits written).
    EXPECT_NEAR(static_cast<double>(si.MomentCapacity), 112.98484, 1e-5);
    EXPECT_NEAR(static_cast<double>(si.ShearCapacity), 44.482225, 1e-6);
    EXPECT_NEAR(static_cast<double>(si.AllowableDeflection), 0.0508, 1e-12);
    EXPECT_EQ(si.TargetSafetyFactor, 1.3L);
}

TEST_F(OptionBlockFiles, AStagedProjectKeepsItsBlockAfterTheLastStageAndOutOfTheStageFiles) {
    TWorkspace workspace;
    CreateDefaultProject(workspace);
    TProgramData& p = workspace.Project();
    p.FileName = Path("Wall.tx4d");
    p.Options = AllSet();
    p.StageCount = 3;
    for (int k = 1; k <= 3; ++k) {
        p.CurrentStage = k;
        p.NumIncrements = 10 * k;
        WriteCurrentStage(workspace);
    }
    CombineStageFiles(workspace, Path("Wall.tx4d"), Path("Wall.tx4d"));
    const std::string saved = LoadTextFile(Path("Wall.tx4d"));
    const std::string block = OptionBlockText(AllSet());
    ASSERT_GE(saved.size(), block.size());
    EXPECT_EQ(saved.substr(saved.size() - block.size()), block);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(LoadTextFile(StageFileName(Path("Wall.tx4d"), k)).find(kOptionBlockHeader), std::string::npos);

    // Opened again: the block is read, the last stage is split off without it, and a save
    // joins the same file.
    TWorkspace opened;
    ReadDataFile(opened, Path("Wall.tx4d"), 1);
    EXPECT_EQ(opened.Project().Options, AllSet());
    EXPECT_EQ(SplitStageFiles(opened, Path("Wall.tx4d")), "");
    const std::string third = LoadTextFile(Path("Wall.st3"));
    EXPECT_EQ(third.find(kOptionBlockHeader), std::string::npos);
    EXPECT_EQ(third.substr(third.size() - 3), "3\r\n");
    CombineStageFiles(opened, Path("Again.tx4d"), Path("Wall.tx4d"));
    EXPECT_EQ(LoadTextFile(Path("Again.tx4d")), saved);

    // torvex-convert carries it through a staged file too, converted once.
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({Path("Again.tx4d"), Path("Si.tx4d"), "--units", "si"}, out, err), 0) << err.str();
    TWorkspace si;
    ReadDataFile(si, Path("Si.tx4d"), 1);
    EXPECT_NEAR(static_cast<double>(si.Project().Options.MomentCapacity), 250.5 * 0.0254 * 0.004448222468060651,
                1e-9);
    EXPECT_NEAR(static_cast<double>(si.Project().Options.AllowableDeflection), 0.05 * 0.0254, 1e-12);
}

TEST(OptionBlock, ABlockCutShortIsRefusedAndNeverHalfRead) {
    TWorkspace workspace;
    const std::string data = SmallWall(workspace, TProjectOptions{});
    const std::string block = OptionBlockText(AllSet());
    // Every cut inside the block, from just after its header word to just before its END.
    const size_t first = std::string(kOptionBlockHeader).size() + 1;
    const size_t last = block.size() - std::string("END\r\n").size();
    for (size_t cut = first; cut <= last; ++cut) {
        TWorkspace read;
        EXPECT_THROW(ReadDataFileText(read, data + block.substr(0, cut), "Cut.tx4d", 1), EInOutError) << cut;
        EXPECT_EQ(read.Project().Options, TProjectOptions{});
    }
    TWorkspace whole;
    ReadDataFileText(whole, data + block, "Whole.tx4d", 1);
    EXPECT_EQ(whole.Project().Options, AllSet());
}

}  // namespace
}  // namespace torvex
