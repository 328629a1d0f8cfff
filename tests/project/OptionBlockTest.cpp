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
#include "project/UnitConversion.h"
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
    o.SeismicKv = -0.999999999L;  // 8 digits would write -1, outside the range
    o.LayeredSoil = 1;
    o.CyclicLoading = 1;
    o.CyclicCycles = 100;
    o.JobNumber = "4711";
    o.JobTitle = "Quay wall, berth 4: \xC3\xA9tage";  // blanks, punctuation and UTF-8 kept
    o.Revision = "B";
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
    EXPECT_EQ(OptionBlockText(AllSet()), "TORVEX-OPTIONS 1\r\nMomentCapacity 250.5\r\nShearCapacity 120\r\n"
                                         "AllowableDeflection 0.05\r\nTargetSafetyFactor 2\r\nSeismicKh 0.24\r\n"
                                         "SeismicKv -0.999999999\r\nLayeredSoil 1\r\nCyclicLoading 1\r\n"
                                         "CyclicCycles 100\r\nJobNumber 4711\r\n"
                                         "JobTitle Quay wall, berth 4: \xC3\xA9tage\r\nRevision B\r\nEND\r\n");
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
    std::string block;   // lines after the data, "\n" separated
    int lineAfterData;   // 1-based line of the fault, counted from the block's first line
    std::string words;   // part of the message
};

TEST(OptionBlock, ABadBlockIsRefusedWithItsLine) {
    const TBadBlock cases[] = {
        {"TORVEX-OPTIONS 1\nMomentCap 5\nEND\n", 2, "not a setting"},
        {"TORVEX-OPTIONS 1\nMomentCapacity 5x\nEND\n", 2, "not a number"},
        {"TORVEX-OPTIONS 1\nMomentCapacity\nEND\n", 2, "one number"},
        {"TORVEX-OPTIONS 1\nShearCapacity 1 2\nEND\n", 2, "one number"},
        {"TORVEX-OPTIONS 1\nShearCapacity -1\nEND\n", 2, "The value -1 of ShearCapacity must be from 0 to 1E300."},
        {"TORVEX-OPTIONS 1\nLayeredSoil 2\nEND\n", 2, "0 or 1"},
        {"TORVEX-OPTIONS 1\nCyclicCycles 2.5\nEND\n", 2, "whole number"},
        {"TORVEX-OPTIONS 1\nTargetSafetyFactor 0.2\nEND\n", 2, "0.5 to 20"},
        {"TORVEX-OPTIONS 1\nSeismicKh 0.1\n\nSeismicKh 0.2\nEND\n", 4, "twice"},
        {"TORVEX-OPTIONS 1\nSeismicKv 0.1\n", 2, "without"},
        {"TORVEX-OPTIONS 1\nSeismicKv 0.1\nEND\nMore 1\n", 4, "follow"},
        {"TORVEX-OPTIONS 2\nEND\n", 1, "version"},
        {"TORVEX-OPTIONS 1\nAllowableDeflection 1e999\nEND\n", 2, "not a number"},
        {"TORVEX-OPTIONS 1\nJobTitle Quay\x01wall\nEND\n", 2, "The text of JobTitle holds a control byte."},
        {"TORVEX-OPTIONS 1\nChecker " + std::string(201, 'x') + "\nEND\n", 2, "longer than 200 bytes"},
        {"TORVEX-OPTIONS 1\nRevision A\nRevision B\nEND\n", 3, "Revision is given twice"},
        {"TORVEX-OPTIONS 1\nMomentCapacity 1e301\nEND\n", 2,
         "The value 1e301 of MomentCapacity must be from 0 to 1E300."},
        // Keys and values echoed with control bytes escaped, cut to 80 characters.
        {"TORVEX-OPTIONS 1\nSeismic\x01Kh 0.1\nEND\n", 2, "\"Seismic\\x01Kh\" is not a setting"},
        {"TORVEX-OPTIONS 1\nSeismicKh 0.\xC3\xA9\xC3\xA9" + std::string(86, '1') + "\nEND\n", 2,
         "The value \"0.\xC3\xA9\xC3\xA9" + std::string(76, '1') + "...\" of "},
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
    // Pressures by force over length squared; the design code's ratios, words and factors stay.
    TProjectOptions d;
    d.UnplannedExcavationAuto = false;
    d.UnplannedExcavation = 0.5L;
    d.MinimumSurcharge = 10;
    d.WallFrictionActive = 0.5L;
    d.GammaQ = 1.3L;
    d.DesignCode = TDesignCode::EC7_DA2;
    d.Seepage = 1;
    d.ExcavationWidth = 6;
    d.ExcavationLength = 7.5L;
    d.BasalHeaveFactor = 1.8L;
    TProjectOptions expected = d;
    expected.UnplannedExcavation = 1;
    expected.MinimumSurcharge = 10 * 3 / 4.0L;
    expected.ExcavationWidth = 12;
    expected.ExcavationLength = 15;
    ScaleOptionUnits(d, 2, 3);
    EXPECT_EQ(d, expected);
}

// The design settings as typed (words in any case), what each sets, and the line written back
// in the canonical spelling ("": the default, which writes no block).
struct TDesignSetting {
    std::string typed, written;
    void (*expect)(TProjectOptions&);
};
const TDesignSetting kDesignSettings[] = {
    {"DesignCode ec7-da2", "DesignCode EC7-DA2", [](TProjectOptions& o) { o.DesignCode = TDesignCode::EC7_DA2; }},
    {"DesignCode Ec7-Da3", "DesignCode EC7-DA3", [](TProjectOptions& o) { o.DesignCode = TDesignCode::EC7_DA3; }},
    {"DesignCode NONE", "", [](TProjectOptions&) {}},
    {"UnplannedExcavation 0.35", "UnplannedExcavation 0.35",
     [](TProjectOptions& o) { o.UnplannedExcavationAuto = false, o.UnplannedExcavation = 0.35L; }},
    {"UnplannedExcavation 0", "UnplannedExcavation 0", [](TProjectOptions& o) { o.UnplannedExcavationAuto = false; }},
    {"UnplannedExcavation aUTO", "", [](TProjectOptions&) {}},
    {"MinimumSurcharge 10", "MinimumSurcharge 10", [](TProjectOptions& o) { o.MinimumSurcharge = 10; }},
    {"EarthPressureMethod ec7-annexc", "EarthPressureMethod EC7-AnnexC",
     [](TProjectOptions& o) { o.EarthPressureMethod = TEarthPressureMethod::EC7AnnexC; }},
    {"EarthPressureMethod COULOMB", "EarthPressureMethod Coulomb",
     [](TProjectOptions& o) { o.EarthPressureMethod = TEarthPressureMethod::Coulomb; }},
    {"EarthPressureMethod rankine", "", [](TProjectOptions&) {}},
    {"WallFrictionActive 0.6666667", "WallFrictionActive 0.6666667",
     [](TProjectOptions& o) { o.WallFrictionActive = 0.6666667L; }},
    {"WallFrictionPassive 1.0", "WallFrictionPassive 1", [](TProjectOptions& o) { o.WallFrictionPassive = 1; }},
    {"WallLoadsVariable 1", "WallLoadsVariable 1", [](TProjectOptions& o) { o.WallLoadsVariable = 1; }},
    {"NetPressureBelowExcavation 1", "NetPressureBelowExcavation 1",
     [](TProjectOptions& o) { o.NetPressureBelowExcavation = 1; }},
    {"Seepage 1", "Seepage 1", [](TProjectOptions& o) { o.Seepage = 1; }},
    {"Seepage 0", "", [](TProjectOptions&) {}},
    {"ExcavationWidth 12.5", "ExcavationWidth 12.5", [](TProjectOptions& o) { o.ExcavationWidth = 12.5L; }},
    {"ExcavationWidth 0", "", [](TProjectOptions&) {}},
    {"ExcavationLength 40.0", "ExcavationLength 40", [](TProjectOptions& o) { o.ExcavationLength = 40; }},
    {"BasalHeaveFactor 2.0", "BasalHeaveFactor 2", [](TProjectOptions& o) { o.BasalHeaveFactor = 2; }},
    {"BasalHeaveFactor 10", "BasalHeaveFactor 10", [](TProjectOptions& o) { o.BasalHeaveFactor = 10; }},
    {"BasalHeaveFactor 1.5", "", [](TProjectOptions&) {}},
};
const std::pair<const char*, long double TProjectOptions::*> kFactors[] = {
    {"GammaG", &TProjectOptions::GammaG}, {"GammaQ", &TProjectOptions::GammaQ}, {"GammaQ2", &TProjectOptions::GammaQ2},
    {"GammaTanPhi", &TProjectOptions::GammaTanPhi}, {"GammaCohesion", &TProjectOptions::GammaCohesion},
    {"GammaUndrained", &TProjectOptions::GammaUndrained}, {"GammaUnconfined", &TProjectOptions::GammaUnconfined},
    {"GammaUnitWeight", &TProjectOptions::GammaUnitWeight},
    {"GammaEarthResistance", &TProjectOptions::GammaEarthResistance}, {"GammaHydDst", &TProjectOptions::GammaHydDst},
    {"GammaHydStb", &TProjectOptions::GammaHydStb}, {"GammaAnchor", &TProjectOptions::GammaAnchor}};

std::string Block(const std::string& lines) { return "TORVEX-OPTIONS 1\r\n" + lines + "END\r\n"; }

TEST(OptionBlock, DesignSettingsReadInAnyCaseAndAreWrittenCanonically) {
    for (const TDesignSetting& s : kDesignSettings) {
        TProjectOptions expected;
        s.expect(expected);
        const TProjectOptions read = ReadOptionBlock(Block(s.typed + "\r\n"), 0);
        EXPECT_EQ(read, expected) << s.typed;
        EXPECT_EQ(OptionBlockText(read), s.written.empty() ? "" : Block(s.written + "\r\n")) << s.typed;
    }
    // Every key at once, through a data file: each value kept, and the file written again
    // byte for byte; each factor at 10, its largest, and at a value of its own (0.15 to 0.125).
    TProjectOptions all;
    for (const TDesignSetting& s : kDesignSettings) s.expect(all);
    for (size_t i = 0; i < std::size(kFactors); ++i) {
        const std::string value = "0." + std::to_string(i + 1) + "5";
        TProjectOptions expected;
        expected.*kFactors[i].second = 10;
        EXPECT_EQ(ReadOptionBlock(Block(kFactors[i].first + std::string(" 10\r\n")), 0), expected);
        all.*kFactors[i].second = std::stold(value);
        EXPECT_NE(OptionBlockText(all).find(kFactors[i].first + (' ' + value) + "\r\n"), std::string::npos) << value;
    }
    TWorkspace workspace;
    const std::string text = SmallWall(workspace, all);
    TWorkspace read;
    ReadDataFileText(read, text, "Wall.tx4d", 1);
    EXPECT_EQ(read.Project().Options, all);
    EXPECT_EQ(WriteDataFileText(read), text);
    EXPECT_EQ(std::string(DesignCodeWord(TDesignCode::EC7_DA1)) + EarthPressureMethodWord(TEarthPressureMethod::Coulomb),
              "EC7-DA1Coulomb");
}

TEST(OptionBlock, ABadDesignSettingIsRefusedWithItsExactMessage) {
    const std::pair<std::string, std::string> cases[] = {
        {"DesignCode EC7-DA4", "The value \"EC7-DA4\" of DesignCode must be one of None, EC7-DA1, EC7-DA2, EC7-DA3."},
        {"DesignCode 1", "The value \"1\" of DesignCode must be one of None, EC7-DA1, EC7-DA2, EC7-DA3."},
        {"DesignCode EC7 DA1", "The setting DesignCode must be followed by one of None, EC7-DA1, EC7-DA2, EC7-DA3 "
                               "and nothing else."},
        {"EarthPressureMethod Caquot",
         "The value \"Caquot\" of EarthPressureMethod must be one of Rankine, Coulomb, EC7-AnnexC."},
        {"UnplannedExcavation -0.1", "The value -0.1 of UnplannedExcavation must be Auto or from 0 to 1E300."},
        {"UnplannedExcavation Automatic", "The value \"Automatic\" of UnplannedExcavation is neither Auto nor a number."},
        {"UnplannedExcavation", "The setting UnplannedExcavation must be followed by Auto or one number and nothing else."},
        {"MinimumSurcharge -10", "The value -10 of MinimumSurcharge must be from 0 to 1E300."},
        {"WallFrictionActive 1.5", "The value 1.5 of WallFrictionActive must be from 0 to 1."},
        {"WallFrictionPassive -0.5", "The value -0.5 of WallFrictionPassive must be from 0 to 1."},
        {"WallLoadsVariable 2", "The value 2 of WallLoadsVariable must be 0 or 1."},
        {"NetPressureBelowExcavation 0.5", "The value 0.5 of NetPressureBelowExcavation must be 0 or 1."},
        {"GammaG 0", "The value 0 of GammaG must be greater than 0 and at most 10."},
        {"GammaTanPhi -1.25", "The value -1.25 of GammaTanPhi must be greater than 0 and at most 10."},
        {"GammaAnchor 10.5", "The value 10.5 of GammaAnchor must be greater than 0 and at most 10."},
        {"GammaQ x", "The value \"x\" of GammaQ is not a number."},
        {"Seepage 2", "The value 2 of Seepage must be 0 or 1."},
        {"Seepage 0.5", "The value 0.5 of Seepage must be 0 or 1."},
        {"ExcavationWidth -1", "The value -1 of ExcavationWidth must be from 0 to 1E300."},
        {"ExcavationLength -0.01", "The value -0.01 of ExcavationLength must be from 0 to 1E300."},
        {"ExcavationLength wide", "The value \"wide\" of ExcavationLength is not a number."},
        {"BasalHeaveFactor 0", "The value 0 of BasalHeaveFactor must be greater than 0 and at most 10."},
        {"BasalHeaveFactor 10.01", "The value 10.01 of BasalHeaveFactor must be greater than 0 and at most 10."},
    };
    for (const auto& [line, message] : cases) {
        try {
            ReadOptionBlock(Block("GammaQ2 1.2\r\n" + line + "\r\n"), 0);
            ADD_FAILURE() << "read without error: " << line;
        } catch (const EInOutError& error) {
            EXPECT_EQ(std::string(error.what()), "Error on Line 3\r" + message);
        }
    }
    // The same ranges for a value set in the program (a study, a dialog) or by a unit change.
    EXPECT_EQ(OptionValueFault("WallFrictionActive", 1.5L), "The value 1.5 of WallFrictionActive must be from 0 to 1.");
    EXPECT_EQ(OptionValueFault("GammaEarthResistance", 1.4L), "");
    EXPECT_EQ(OptionValueFault("UnplannedExcavation", 0.5L), "");
    EXPECT_EQ(OptionValueFault("ExcavationLength", 0), "");
    EXPECT_EQ(OptionValueFault("ExcavationLength", -3), "The value -3 of ExcavationLength must be from 0 to 1E300.");
    EXPECT_EQ(OptionValueFault("BasalHeaveFactor", 10), "");
    EXPECT_EQ(OptionValueFault("BasalHeaveFactor", 0), "The value 0 of BasalHeaveFactor must be greater than 0 and at most 10.");
    EXPECT_EQ(OptionValueFault("Seepage", 1), "");
    EXPECT_EQ(OptionValueFault("DesignCode", 1), "The value 1 of DesignCode must be one of None, EC7-DA1, EC7-DA2, "
                                                 "EC7-DA3.");
    const std::pair<void (*)(TProjectOptions&), std::string> settings[] = {
        {[](TProjectOptions& o) { o.GammaHydStb = 0; }, "The value 0 of GammaHydStb must be greater than 0 and at most 10."},
        {[](TProjectOptions& o) { o.DesignCode = static_cast<TDesignCode>(7); },
         "The value 7 of DesignCode must be one of None, EC7-DA1, EC7-DA2, EC7-DA3."},
        {[](TProjectOptions& o) { o.UnplannedExcavationAuto = false, o.UnplannedExcavation = -1; },
         "The value -1 of UnplannedExcavation must be Auto or from 0 to 1E300."},
        {[](TProjectOptions& o) { o.UnplannedExcavation = -1; }, ""},  // no length while Auto
        {[](TProjectOptions& o) { o.ExcavationWidth = -2; }, "The value -2 of ExcavationWidth must be from 0 to 1E300."},
        {[](TProjectOptions& o) { o.BasalHeaveFactor = 11; },
         "The value 11 of BasalHeaveFactor must be greater than 0 and at most 10."},
        {[](TProjectOptions& o) { o.Seepage = 3; }, "The value 3 of Seepage must be 0 or 1."},
    };
    for (const auto& [set, message] : settings) {
        TProjectOptions o;
        set(o);
        try {
            CheckOptionRanges(o);
            EXPECT_EQ(message, "");
        } catch (const EInOutError& error) {
            EXPECT_EQ(std::string(error.what()), message + " The file is not written: it could not be read again.");
        }
    }
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
    // 1e6 lbs-in = 1e6 x 0.0254 m x 0.004448222 kN = 112.98485 kN-m, written and read back
    // to the last bit.
    EXPECT_EQ(si.MomentCapacity, 1e6L * (0.0254L * 0.004448222468060651L));
    EXPECT_EQ(si.ShearCapacity, 10000 * 0.004448222468060651L);
    EXPECT_EQ(si.AllowableDeflection, 2 * 0.0254L);
    EXPECT_EQ(si.TargetSafetyFactor, 1.3L);
}

// The excavation's plan size for basal heave, 472.4 in by 1181 in, in metres; the switch and
// the least factor as they were.
TEST_F(OptionBlockFiles, ConvertTurnsTheExcavationsWidthAndLengthIntoMetres) {
    TWorkspace workspace;
    testing::FillFullProject(workspace, 40, 3, false);
    TProjectOptions o;
    o.Seepage = 1;
    o.ExcavationWidth = 472.4L;    // in
    o.ExcavationLength = 1181;     // in
    o.BasalHeaveFactor = 2.5L;
    workspace.Project().Options = o;
    workspace.Project().FileName = Path("Pit.tx4d");
    WriteDataFile(workspace);
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({Path("Pit.tx4d"), Path("Pit-si.tx4d"), "--units", "si"}, out, err), 0) << err.str();
    TWorkspace read;
    ReadDataFile(read, Path("Pit-si.tx4d"), 1);
    const TProjectOptions& si = read.Project().Options;
    EXPECT_EQ(si.ExcavationWidth, 472.4L * 0.0254L);     // 11.99896 m
    EXPECT_EQ(si.ExcavationLength, 1181 * 0.0254L);      // 29.9974 m
    EXPECT_EQ(si.BasalHeaveFactor, 2.5L);
    EXPECT_EQ(si.Seepage, 1);
}

// 19.685 in and 1.45 psi into metres and kilopascals and back: the length and the pressure
// converted, the factor, the ratio and the words as they were.
TEST_F(OptionBlockFiles, ConvertCarriesTheDesignSettingsInBothDirections) {
    TWorkspace workspace;
    testing::FillFullProject(workspace, 40, 3, false);
    TProjectOptions o;
    o.DesignCode = TDesignCode::EC7_DA1;
    o.UnplannedExcavationAuto = false;
    o.UnplannedExcavation = 19.685L;  // in
    o.MinimumSurcharge = 1.45L;       // psi
    o.WallFrictionActive = 0.5L;
    o.GammaQ = 1.3L;
    workspace.Project().Options = o;
    workspace.Project().FileName = Path("Wall.tx4d");
    WriteDataFile(workspace);
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({Path("Wall.tx4d"), Path("Si.tx4d"), "--units", "si"}, out, err), 0) << err.str();
    ASSERT_EQ(RunConvertCommand({Path("Si.tx4d"), Path("Back.tx4d"), "--units", "english"}, out, err), 0) << err.str();
    TWorkspace si, back;
    ReadDataFile(si, Path("Si.tx4d"), 1);
    ReadDataFile(back, Path("Back.tx4d"), 1);
    const TProjectOptions& m = si.Project().Options;
    EXPECT_NEAR(static_cast<double>(m.UnplannedExcavation), 0.499999, 1e-9);         // 19.685 x 0.0254
    EXPECT_NEAR(static_cast<double>(m.MinimumSurcharge), 9.9974, 1e-6);  // 1.45 x 6.894759 (lbs/in^2 in kPa)
    EXPECT_EQ(m.MinimumSurcharge, 1.45L * (0.004448222468060651L / (0.0254L * 0.0254L)));
    for (const TProjectOptions* c : std::initializer_list<const TProjectOptions*>{&m, &back.Project().Options}) {
        EXPECT_FALSE(c->UnplannedExcavationAuto);
        EXPECT_EQ(c->DesignCode, TDesignCode::EC7_DA1);
        EXPECT_EQ(c->WallFrictionActive, 0.5L);
        EXPECT_EQ(c->GammaQ, 1.3L);
    }
    // Back with the program's rounded factors: within their 7th digit.
    EXPECT_NEAR(static_cast<double>(back.Project().Options.UnplannedExcavation), 19.685, 19.685 * 2e-6);
    EXPECT_NEAR(static_cast<double>(back.Project().Options.MinimumSurcharge), 1.45, 1.45 * 2e-6);
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

// A line after the data that reads as the header once case, blanks, byte-order marks and
// control bytes are set aside is refused with its line, by the reader and by torvex-convert,
// which writes nothing; the header as written (blanks aside) and other text read as before.
TEST_F(OptionBlockFiles, AGarbledHeaderIsRefusedWithItsLineAndConvertsNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"TORVEX-OPTION 1", "TORVEX-OPTION 1"},   {"torvex-options 1", "torvex-options 1"},
        {"TORVEX-OPTIONS1", "TORVEX-OPTIONS1"},   {"\xEF\xBB\xBFTORVEX-OPTIONS 1", "\\xEF\\xBB\\xBFTORVEX-OPTIONS 1"},
        {std::string("\0TORVEX-OPTIONS 1", 17), "\\x00TORVEX-OPTIONS 1"},
        {"T O R V E X - O P T I O N S 1\x7F", "T O R V E X - O P T I O N S 1\\x7F"}};
    TWorkspace workspace;
    const std::string data = SmallWall(workspace, TProjectOptions{}) + "TORVEX options below, kh from the site\r\n";
    const std::string line = "Error on Line " + std::to_string(LinesBefore(data, data.size()) + 1);
    for (const auto& [header, shown] : cases) {
        const std::string says = "The line \"" + shown + "\" reads as the start of an option block, whose first "
                                 "line must be exactly \"TORVEX-OPTIONS 1\".";
        SaveTextFile(Path("In.tx4d"), data + header + "\r\nSeismicKh 0.2\r\nEND\r\n");
        TWorkspace read;
        EXPECT_THROW(ReadDataFile(read, Path("In.tx4d"), 1), EInOutError);
        std::ostringstream out, err;
        EXPECT_EQ(RunConvertCommand({Path("In.tx4d"), Path("Out.tx4d")}, out, err), 2);
        EXPECT_EQ(err.str(), "torvex-convert: cannot read \"" + Path("In.tx4d") + "\": " + line + " " + says + "\n");
        EXPECT_FALSE(fs::exists(Path("Out.tx4d")));
    }
    TWorkspace read;
    ReadDataFileText(read, data + " TORVEX-OPTIONS\t 1 \r\nSeismicKh 0.2\r\nEND\r\n", "Wall.tx4d", 1);
    EXPECT_EQ(read.Project().Options.SeismicKh, 0.2L);
}

// A unit change that takes a value beyond its range, by torvex-convert or the Units menu, is
// refused naming the setting, and a file there stays as it was.
TEST_F(OptionBlockFiles, AConversionBeyondARangeWritesNothing) {
    TWorkspace workspace;
    testing::FillFullProject(workspace, 40, 3, false);
    ChangeUnitSystem(workspace, 2);
    workspace.Project().Options.MomentCapacity = 2e299L;  // kN-m: 1.77E303 lbs-in
    workspace.Project().FileName = Path("Si.tx4d");
    WriteDataFile(workspace);
    SaveTextFile(Path("Old.tx4d"), "kept");
    std::ostringstream out, err;
    EXPECT_EQ(RunConvertCommand({Path("Si.tx4d"), Path("Old.tx4d"), "--units", "english"}, out, err), 3);
    EXPECT_EQ(err.str().rfind("torvex-convert: cannot write \"" + Path("Old.tx4d") + "\": The value 1.7701", 0), 0u);
    EXPECT_NE(err.str().find("E303 of MomentCapacity must be from 0 to 1E300. The file is not written"),
              std::string::npos);
    EXPECT_EQ(LoadTextFile(Path("Old.tx4d")), "kept");
    workspace.Project().StageCount = 2;
    for (const int k : {1, 2}) workspace.Project().CurrentStage = k, WriteCurrentStage(workspace);
    ChangeUnitSystem(workspace, 1);
    EXPECT_THROW(CombineStageFiles(workspace, Path("Old.tx4d"), Path("Si.tx4d")), EInOutError);
    EXPECT_EQ(LoadTextFile(Path("Old.tx4d")), "kept");
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
