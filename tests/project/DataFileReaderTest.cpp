#include "project/DataFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

// A file written by hand: "|" ends a line (CR LF, as the writer ends them).
std::string Crlf(std::string text) {
    for (size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2))
        text.replace(at, 1, "\r\n");
    return text + "\r\n";
}

std::string ReadError(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "(no error)";
}

// The cells of a row as the writer would put them, sub-table columns left out.
std::string RowText(const TGridTable& table, int row) {
    std::string text;
    for (int c = 0; c < table.ColumnCount(); ++c)
        if (table.Columns(c).Kind() != TColumnKind::SubTable)
            text += (text.empty() ? "" : " ") + table.Columns(c).GetText(row);
    return text;
}
std::string RowText(const TWorkspace& w, const char* table, int row) {
    return RowText(w.Table(table), row);
}
// Row `row` of the parameter (or curve) table owned by row `owner` of `table`.
std::string SubRowText(const TWorkspace& w, const char* table, int col, int owner, int row) {
    return RowText(w.Table(table).Cell(col, owner).AsTable(), row);
}

void ExpectDefaultProject(const TWorkspace& w) {
    const TProgramData& p = w.Project();
    EXPECT_EQ(p.Title, "New Wall");
    EXPECT_EQ(p.FileName, "NewWall.tx4d");
    EXPECT_EQ(p.UnitSystem, 1);
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_FALSE(w.IsModified());
    for (int i = 0; i < w.TableCount(); ++i) {
        EXPECT_EQ(w.TableAt(i).RowCount(), w.TableAt(i).MinRows()) << w.TableAt(i).Name;
        EXPECT_EQ(w.TableAt(i).Units(), 1) << w.TableAt(i).Name;
    }
}

// English units throughout: depths in inches, gamma in lbs/in^3, c in lbs/in^2.
const std::string kFull = Crlf(
    "Test Wall  A|1 2\t2\t2\t1\t2 2 3 2|40 6\t2.5\t1E-5\t240|"
    "1\t0\t0.5\t0|2\t40\t0\t0.01|"                     // restraints
    "0\t20\t2\t3E10|21\t40\t1\t2E10|"                  // wall stiffness
    "2|1\t0\t10\t1000\t-500\t20|2\t5\t15\t2000\t0\t0|"  // concentrated loads
    "1|3\t7\t2\t5000\t100|"                            // springs: from, to, code, ...
    "60\t0.5\t1|120\t0.8\t0.9|"                        // p-y modifiers
    "2|0\t0|120\t0.5|"                                 // distributed load
    "240\t36\t48\t60\t120\t0.5\t2\t10|0.25\t0\t0\t0\t0\t0|"  // configuration
    "2|1\t1000\t24\t0|3\t3.5\t12\t36|"                  // surcharges
    "5|1 120 |0.0625 2.5 0.0  0.01 100 0.0  |0.0625 3 0.0  0.02 200 0.0  |"
    "4 240 |0.0625 0.0  30 0.0  25 0.0  |0.125 0.0  32 0.0  60 0.0  |"
    "5 360 |0.0625 0.5 28 0.005 90 0.0  |0.0625 1 29 0.006 95 0.0  |"
    "6 420 |0.09375 1000 0.0  0.0  0.0  0.0  |0.09375 1200 0.0  0.0  0.0  0.0  |"
    "7 480 |0.09375 500 0.0  0.0005 20000 50 |0.09375 600 0.0  0.0006 30000 60 |"
    "10\t3\t0.8\t1.2|-1\t-100|0\t0|1\t100|20\t2\t1\t1|0\t0|0.5\t50|"  // p-y curve sets
    "0\t20\t2|0\t3E10|1E6\t2.5E10|21\t40\t1|0\t2E10|"              // moment-EI sets
    "0");

TEST(DataFileReader, Kind1FileWithEveryBlock) {
    TWorkspace w;
    const TProgramData& p = ReadDataFileText(w, kFull, "D:\\w\\Wall.tx4d", 1);
    EXPECT_EQ(p.FileName, "D:\\w\\Wall.tx4d");
    EXPECT_EQ(p.Title, "Test Wall  A");
    EXPECT_EQ(p.StageCount, 3);
    EXPECT_EQ(p.MEICurveCount, 2);
    EXPECT_EQ(p.NumIncrements, 40);
    EXPECT_EQ(p.MaxDeflection, 2.5L);
    EXPECT_DOUBLE_EQ(static_cast<double>(p.ClosureTolerance), 1e-5);
    EXPECT_EQ(p.ResistanceWidth, 48.0L);
    EXPECT_EQ(p.WaterDepthExcavation, 120.0L);
    EXPECT_EQ(p.PressureFactor, 0.5L);
    EXPECT_EQ(p.ConfigOption, 2);
    EXPECT_EQ(p.BackfillSlope, 10.0L);
    EXPECT_EQ(p.BackfillSurcharge, 0.25L);
    EXPECT_EQ(p.EarthPressureOption, 1);
    EXPECT_EQ(p.GeneratedPressure, 0);
    EXPECT_EQ(p.GenerateCurves, 1);
    for (const uint8_t flag : {p.UseRestraints, p.UseConcentratedLoads, p.UseSprings,
                               p.UsePYModifiers, p.UseDistributedLoad, p.UseSurcharges,
                               p.UsePYCurves, p.UseMEICurves, p.FullFormat})
        EXPECT_EQ(flag, 1);
    EXPECT_EQ(p.UseLongTerm, 0);
    EXPECT_FALSE(w.IsModified());

    EXPECT_EQ(RowText(w, "Soillayer", 1), "2 40 0 0.01");
    EXPECT_EQ(RowText(w, "PileSect", 0), "0 20 2 3E10");
    EXPECT_EQ(RowText(w, "BoundCond", 0), "1 0 10 1000 -500 20");
    EXPECT_EQ(RowText(w, "SoilStrength", 0), "2 3 7 5000 100");
    EXPECT_EQ(RowText(w, "PYMod", 0), "5 0.5 1");  // depth / 12
    EXPECT_EQ(RowText(w, "DistLoad", 1), "10 6");  // depth / 12, load x 12
    EXPECT_EQ(RowText(w, "SurchargeTable", 1), "3 3.5 12 36");

    // Layer bottom / 12; gamma x 1728; c x 144 (silt: into column 2); rock strength as is.
    const std::vector<std::vector<std::string>> soil = {
        {"1 10", "108 360 0.01 100", "108 432 0.02 200"},
        {"4 20", "108 30 25", "216 32 60"},
        {"5 30", "108 28 72 0.005 90", "108 29 144 0.006 95"},
        {"6 35", "162 1000", "162 1200"},
        {"7 40", "162 500 0.0005 20000 50", "162 600 0.0006 30000 60"},
    };
    ASSERT_EQ(w.Table("NewSoil").RowCount(), 5);
    for (int layer = 0; layer < 5; ++layer) {
        const auto& expected = soil[static_cast<size_t>(layer)];
        EXPECT_EQ(RowText(w, "NewSoil", layer), expected[0]);
        EXPECT_EQ(SubRowText(w, "NewSoil", 2, layer, 0), expected[1]);
        EXPECT_EQ(SubRowText(w, "NewSoil", 2, layer, 1), expected[2]);
        EXPECT_EQ(w.Table("NewSoil").Cell(2, layer).AsTable().Number(), layer + 1);
    }

    EXPECT_EQ(RowText(w, "PYCurves", 0), "10 0.8 1.2");
    EXPECT_EQ(w.Table("PYCurves").Cell(1, 0).AsTable().RowCount(), 3);
    EXPECT_EQ(SubRowText(w, "PYCurves", 1, 0, 2), "1 100");
    EXPECT_EQ(SubRowText(w, "PYCurves", 1, 1, 1), "0.5 50");
    EXPECT_EQ(RowText(w, "MEICurves", 1), "21 40");
    EXPECT_EQ(SubRowText(w, "MEICurves", 2, 0, 1), "1000000 2.5E10");
    EXPECT_EQ(w.Table("MEICurves").Cell(2, 1).AsTable().RowCount(), 1);
}

TEST(DataFileReader, ReadsFromDiskAndAMissingFileLeavesADefaultProject) {
    const auto path = std::filesystem::temp_directory_path() / "torvex_reader_test.tx4d";
    std::ofstream(path, std::ios::binary) << kFull;
    TWorkspace w;
    ReadDataFile(w, path.string(), 1);
    EXPECT_EQ(w.Project().FileName, path.string());
    EXPECT_EQ(w.Table("NewSoil").RowCount(), 5);
    std::filesystem::remove(path);
    EXPECT_THROW(ReadDataFile(w, path.string(), 1), EInOutError);
    ExpectDefaultProject(w);
}

// Short-term: generated pressure, one sand layer. Long-term: user-given load, one clay layer.
const std::string kLongTerm = Crlf(
    "Staged Wall|1 0 1 0 2 2 0 1 0|10 12 100 1E-5 120|0 10 1 1E10|1|1 0 0 10 0 0|0|"
    "120 0 0 0 0 1 1 0|0 0 0 0 0 0|0|1|4 120 |0.0625 0.0  30 0.0  25 0.0  |"
    "0.0625 0.0  31 0.0  26 0.0  |9|"
    "Long Title|1 0 1 0 1 2 0 1 0|10 12 100 1E-5 120|0 10 1 2E10|0|0|2|0 0|120 0.5|"
    "120 0 0 0 0 1 1 0|0 0 0 0 0 0|0|1|1 240 |0.125 2 0.0  0.01 100 0.0  |"
    "0.125 3 0.0  0.02 200 0.0  |0");

TEST(DataFileReader, LongTermBlock) {
    TWorkspace w;
    const TProgramData& p = ReadDataFileText(w, kLongTerm, "Wall.tx4d", 1);
    // The option survives the long-term header, so the next save writes the block again.
    EXPECT_EQ(p.UseLongTerm, 1);
    EXPECT_EQ(p.LongTermMarker, 9);
    EXPECT_EQ(p.Title, "Long Title");
    EXPECT_EQ(p.PressureMode, 1);
    EXPECT_EQ(p.EarthPressureOption, 2);  // the short-term choice
    EXPECT_EQ(p.GeneratedPressure, 0);
    EXPECT_EQ(p.UseDistributedLoad, 1);
    EXPECT_EQ(p.UseConcentratedLoads, 1);
    EXPECT_EQ(RowText(w, "PileSect", 0), "0 10 1 2E10");  // shared tables are read again
    EXPECT_EQ(RowText(w, "LongDist", 1), "10 6");
    EXPECT_EQ(RowText(w, "DistLoad", 1), "0 0");
    EXPECT_EQ(SubRowText(w, "NewSoil", 2, 0, 1), "108 31 26");
    EXPECT_EQ(RowText(w, "LongSoil", 0), "1 20");
    EXPECT_EQ(SubRowText(w, "LongSoil", 2, 0, 1), "216 432 0.02 200");

    const std::string cut = kLongTerm.substr(0, kLongTerm.size() - 3);  // no closing 0
    EXPECT_EQ(ReadError([&] { ReadDataFileText(w, cut, "Wall.tx4d", 1); }),
              TWordReader::kIncompleteMessage);
    ExpectDefaultProject(w);
}

// A kind-1 file with these modes and empty optional blocks.
std::string ModeFile(int pressure, int resistance, const std::string& factor = "1") {
    std::string text = "T|1 0 1 0 " + std::to_string(pressure) + " " +
                       std::to_string(resistance) + " 0 1 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|";
    if (pressure == 1) text += "0|";
    if (pressure > 1 || resistance > 1) text += "120 0 0 0 0 " + factor + " 1 0|0 0 0 0 0 0|0|0|";
    return Crlf(text + "0");
}

TEST(DataFileReader, DerivedFlags) {
    struct Case {
        int pressure, resistance, option, generatedPressure, generateCurves;
    };
    // PressureMode 0 drops the generated curves; 3 reads the configuration without RM 2.
    for (const Case& c : std::vector<Case>{
             {0, 0, 0, 0, 0}, {0, 2, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, 2, 1, 0, 1},
             {2, 1, 2, 1, 0}, {2, 2, 2, 1, 1}, {3, 0, 3, 1, 0}}) {
        SCOPED_TRACE(std::to_string(c.pressure) + " " + std::to_string(c.resistance));
        TWorkspace w;
        const TProgramData& p = ReadDataFileText(w, ModeFile(c.pressure, c.resistance), "a", 1);
        EXPECT_EQ(p.EarthPressureOption, c.option);
        EXPECT_EQ(p.GeneratedPressure, c.generatedPressure);
        EXPECT_EQ(p.GenerateCurves, c.generateCurves);
        // No rows anywhere: every option is off, also a user-given load without rows.
        for (const uint8_t flag : {p.UseDistributedLoad, p.UsePYCurves, p.UseRestraints,
                                   p.UseConcentratedLoads, p.UseSprings, p.UsePYModifiers,
                                   p.UseSurcharges, p.UseMEICurves})
            EXPECT_EQ(flag, 0);
        // Row counts below a table's minimum give its minimum of blank rows.
        for (int i = 0; i < w.TableCount(); ++i)
            EXPECT_EQ(w.TableAt(i).RowCount(), w.TableAt(i).MinRows()) << w.TableAt(i).Name;
    }
    TWorkspace w;
    EXPECT_EQ(ReadDataFileText(w, ModeFile(2, 2, "0.036"), "a", 1).PressureFactor, 1.0L);
    EXPECT_DOUBLE_EQ(
        static_cast<double>(ReadDataFileText(w, ModeFile(2, 2, "0.0361"), "a", 1).PressureFactor),
        0.0361);
}

TEST(DataFileReader, SIFileKeepsItsValuesAsWritten) {
    TWorkspace w;
    ReadDataFileText(w, Crlf("SI|2 0 1 1 1 2 0 1 0|20 0.1 1 1E-5 6|0 20 1 1E5|0|0|3 0.8 1|1|2 5|"
                             "6 0 0 0 0 1 1 0|0 0 0 0 0 0|0|1|1 4 |18 25 0.0  0.01 100 0.0  |"
                             "18 25 0.0  0.01 100 0.0  |0"),
                     "si.tx4d", 1);
    EXPECT_EQ(w.Project().UnitSystem, 2);
    EXPECT_EQ(w.Table("LongSoil").Units(), 2);
    EXPECT_EQ(RowText(w, "PYMod", 0), "3 0.8 1");
    EXPECT_EQ(RowText(w, "DistLoad", 0), "2 5");
    EXPECT_EQ(RowText(w, "NewSoil", 0), "1 4");
    EXPECT_EQ(SubRowText(w, "NewSoil", 2, 0, 0), "18 25 0.01 100");
}

// Older format: no moment-EI count, p-y sets without multipliers, legacy surcharge.
const std::string kKind2 = Crlf(
    "Old Wall|1 0 1 0 2 2 1 2|20 6 100 1E-5 120|0 20 1 1E10|0|0|120 0 0 0 0 1 1 0|"
    "0.5 2 100 20 4 5|1|4 120 |0.0625 0.0  30 0.0  25 0.0  |0.0625 0.0  30 0.0  25 0.0  |"
    "10 2|-1 -50|1 50|0");

TEST(DataFileReader, Kind2ExpandsTheLegacySurcharge) {
    TWorkspace w;
    const TProgramData& p = ReadDataFileText(w, kKind2, "old.txd", 2);
    EXPECT_EQ(p.StageCount, 2);
    EXPECT_EQ(p.UseMEICurves, 0);
    EXPECT_EQ(p.UseSurcharges, 1);
    ASSERT_EQ(w.Table("SurchargeTable").RowCount(), 3);
    EXPECT_EQ(RowText(w, "SurchargeTable", 0), "1 100 2 5");
    EXPECT_EQ(RowText(w, "SurchargeTable", 1), "2 20 2 5");
    EXPECT_EQ(RowText(w, "SurchargeTable", 2), "3 4 2 5");
    EXPECT_EQ(RowText(w, "PYCurves", 0), "10 1 1");
    EXPECT_EQ(SubRowText(w, "PYCurves", 1, 0, 1), "1 50");
    EXPECT_EQ(SubRowText(w, "NewSoil", 2, 0, 0), "108 30 25");

    std::string none = kKind2;
    none.replace(none.find("0.5 2 "), 6, "0.5 0 ");  // no distance, no surcharge
    EXPECT_EQ(ReadDataFileText(w, none, "old.txd", 2).UseSurcharges, 0);
    EXPECT_EQ(RowText(w, "SurchargeTable", 0), "1 0 0 0");
}

TEST(DataFileReader, OlderSIFilesGiveTheSurchargeInTheTablesMillimetres) {
    // The legacy distance (2 m) and strip width (5 m) against the table's millimetres; the
    // magnitudes keep their units. English and Other tables hold the file's own length unit.
    const struct {
        const char* units;
        const char* point;
        const char* strip;
    } cases[] = {{"2", "1 100 2000 5000", "3 4 2000 5000"},
                 {"1", "1 100 2 5", "3 4 2 5"},
                 {"3", "1 100 2 5", "3 4 2 5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        std::string text = kKind2;
        text.replace(text.find("\r\n1 0 1 0 2 2 1 2") + 2, 1, c.units);
        TWorkspace w;
        ReadDataFileText(w, text, "old.txd", 2);
        EXPECT_EQ(RowText(w, "SurchargeTable", 0), c.point);
        EXPECT_EQ(RowText(w, "SurchargeTable", 2), c.strip);
    }
}

TEST(DataFileReader, Kind3LayerThicknessesAndOneParameterLine) {
    // No stage count, thicknesses, five numbers without unit factors, no long-term marker.
    const std::string text = Crlf(
        "Oldest|1 0 1 0 0 2 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|120 0 0 0 0 1 1 0|"
        "0 7 100 20 4 5|3|1 5|0.07 2 0.0  0.01 100|4 10|0.06 0.0  30 0.0  25|7 3|9|Not read");
    for (const int kind : {3, 4, 0}) {
        SCOPED_TRACE(kind);
        TWorkspace w;
        EXPECT_EQ(ReadDataFileText(w, text, "oldest.dat", kind).UseLongTerm, 0);
        EXPECT_EQ(RowText(w, "NewSoil", 0), "1 5");
        EXPECT_EQ(RowText(w, "NewSoil", 1), "4 15");
        EXPECT_EQ(RowText(w, "NewSoil", 2), "7 18");
        for (int row = 0; row < 2; ++row) {
            EXPECT_EQ(SubRowText(w, "NewSoil", 2, 0, row), "0.07 2 0.01 100");
            EXPECT_EQ(SubRowText(w, "NewSoil", 2, 1, row), "0.06 30 25");
            EXPECT_EQ(SubRowText(w, "NewSoil", 2, 2, row), "0 0 0 0 0");  // weak rock: none
        }
        EXPECT_EQ(RowText(w, "SurchargeTable", 2), "3 4 7 5");
    }
}

TEST(DataFileReader, ErrorsEndTheReadAndLeaveADefaultProject) {
    const std::string head = "T|1 0 1 0 2 2 0 1 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|";
    const std::string config = "120 0 0 0 0 1 1 0|0 0 0 0 0 0|";
    const std::string range = "\rA row count from 0 to 10000 was expected but not found.";
    const std::string soil = " Item 1\rA soil type from 1 to 7 was expected but not found.";
    const std::string stages = "\rA number of stages from 1 to 5 was expected but not found.";
    const struct {
        std::string text;
        int kind;
        std::string message;
    } cases[] = {
        {"T|2 0 3 0 0 0 0 1 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|0", 1,
         TWordReader::kIncompleteMessage},  // three stiffness rows claimed, one given
        {"T|1 0 1 0 0 0 0 1|20 6 100 1E-5 120|0 20 1 1E10|0|0", 2,
         TWordReader::kIncompleteMessage},  // no long-term marker
        {head + config + "0|10000", 1, TWordReader::kIncompleteMessage},
        {"T|1 0 1 0 0 0 0 1 0|20 6 1,5", 1,
         "Error on Line 3 Item 3\rA floating point number was expected but not found."},
        {"T|1 2.5", 2, "Error on Line 2 Item 2\rAn integer was expected but not found."},
        {"T|1 0 -1", 1, "Error on Line 2 Item 3" + range},
        {"T|1 0 1 0 0 0 2000000000", 1, "Error on Line 2 Item 7" + range},
        {"T|1 0 1 0 0 0 0 1 10001", 1, "Error on Line 2 Item 9" + range},
        {"T|1 0 1 0 0 0 0 0 0", 1, "Error on Line 2 Item 8" + stages},
        {"T|1 0 1 0 0 0 0 6", 2, "Error on Line 2 Item 8" + stages},
        {"T|1 0 1 0 0 0 0 1 0|20 6 100 1E-5 120|0 20 1 1E10|-2", 1,
         "Error on Line 5 Item 1" + range},
        {"T|1 0 1 0 0 0 1 1 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|5 -3", 1,
         "Error on Line 7 Item 2" + range},  // p-y curve points
        {"T|1 0 1 0 0 0 0 1 1|20 6 100 1E-5 120|0 20 1 1E10|0|0|0 20 99999", 1,
         "Error on Line 7 Item 3" + range},  // moment-EI points
        {head + config + "0|2|1 120 |0.1 1 0.0  1 1 0.0  |0.1 1 0.0  1 1 0.0  |9 240 ", 1,
         "Error on Line 14" + soil},
        {head + config + "0|1|0 120 ", 1, "Error on Line 11" + soil},
        {"T|1 0 1 0 2 2 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|" + config + "1|9 5", 3,
         "Error on Line 10" + soil},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TWorkspace w;
        ReadDataFileText(w, kFull, "Previous.tx4d", 1);
        EXPECT_EQ(ReadError([&] { ReadDataFileText(w, Crlf(c.text), "Bad.tx4d", c.kind); }),
                  c.message);
        ExpectDefaultProject(w);
    }
}

// Stage 2 in the current layout: no restraints or loads, PressureMode 0, one sand layer.
const std::string kStage = Crlf(
    " Stage No : 2|1 0 1 0 0 2 0 3 0|20 6 100 1E-5 120|0 20 1 1E10|0|0|120 0 0 0 0 1 1 0|"
    "0 0 0 0 0 0|0|1|4 240 |0.0625 0.0  30 0.0  25 0.0  |0.0625 0.0  30 0.0  25 0.0  |2");

TEST(DataFileReader, StageFileReadsIntoTheProjectInMemory) {
    TWorkspace w;
    ReadDataFileText(w, kFull, "Wall.tx4d", 1);
    TProgramData& p = w.Project();
    p.UseLongTerm = 1;
    ReadStageFileText(w, kStage, "Wall.st2");
    EXPECT_EQ(p.Title, " Stage No : 2");
    EXPECT_EQ(p.FileName, "Wall.tx4d");
    EXPECT_EQ(p.LongTermMarker, 2);
    EXPECT_EQ(p.UseLongTerm, 0);
    EXPECT_EQ(p.UseRestraints, 0);
    EXPECT_EQ(p.UseConcentratedLoads, 0);
    EXPECT_EQ(p.EarthPressureOption, 0);
    EXPECT_EQ(p.GenerateCurves, 1);  // a data file would clear it with PressureMode 0
    EXPECT_EQ(w.Table("MEICurves").Cell(2, 0).AsTable().RowCount(), 1);  // count 0, then blank
    EXPECT_EQ(RowText(w, "DistLoad", 1), "10 6");  // not in the file: kept
    EXPECT_EQ(RowText(w, "NewSoil", 0), "4 20");
    EXPECT_EQ(SubRowText(w, "NewSoil", 2, 0, 1), "108 30 25");
    EXPECT_EQ(w.Table("Soillayer").RowCount(), 1);
    EXPECT_FALSE(w.IsModified());
    ReadStageFileText(w, kStage.substr(0, kStage.size() - 3) + "9\r\n", "Wall.st2");
    EXPECT_EQ(p.UseLongTerm, 1);

    // Only PressureMode 2 sets the generated pressure of a stage.
    ReadStageFileText(w, ModeFile(3, 0), "a.st1");
    EXPECT_EQ(p.GeneratedPressure, 0);
    EXPECT_EQ(p.EarthPressureOption, 3);
    ReadStageFileText(w, ModeFile(2, 0), "a.st1");
    EXPECT_EQ(p.GeneratedPressure, 1);

    // The older layout while older stage files are converted.
    p.FullFormat = 0;
    ReadStageFileText(w, kKind2.substr(0, kKind2.size() - 3) + "1\r\n", "Wall.st1");
    EXPECT_EQ(p.Title, "Old Wall");
    EXPECT_EQ(p.LongTermMarker, 1);
    EXPECT_EQ(RowText(w, "SurchargeTable", 2), "3 4 2 5");
    EXPECT_EQ(RowText(w, "PYCurves", 0), "10 1 1");
}

TEST(DataFileReader, StageFileErrorIsShownAndKeepsWhatWasRead) {
    TWorkspace w;
    ReadDataFileText(w, kFull, "Wall.tx4d", 1);
    std::vector<std::string> shown;
    w.ShowInformation = [&](const std::string& message) { shown.push_back(message); };
    std::string text = kStage;
    ReadStageFileText(w, text.replace(text.find("4 240 "), 1, "x"), "Wall.st2");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Error on Line 11 Item 1\rAn integer was expected but not found.");
    EXPECT_EQ(w.Project().Title, " Stage No : 2");
    EXPECT_EQ(w.Project().UseConcentratedLoads, 0);
    EXPECT_EQ(w.Table("NewSoil").RowCount(), 1);
    EXPECT_EQ(w.Table("BoundCond").RowCount(), 1);
    EXPECT_FALSE(w.IsModified());

    // A soil type out of range leaves the row with a valid parameter table.
    text = kStage;
    ReadStageFileText(w, text.replace(text.find("4 240 "), 1, "8"), "Wall.st2");
    EXPECT_EQ(shown.back(), "Error on Line 11 Item 1\rA soil type from 1 to 7 was expected but not found.");
    EXPECT_NO_THROW(w.Table("NewSoil").Cell(2, 0).AsTable());

    ReadStageFile(w, "/nonexistent/folder/Wall.st3");
    EXPECT_EQ(shown.size(), 3u);
    w.ShowInformation = nullptr;
    EXPECT_NO_THROW(ReadStageFileText(w, "junk", "Wall.st2"));
    EXPECT_EQ(w.Project().Title, "junk");
}

TEST(DataFileReader, HostileInputEndsWithAReadError) {
    // Random bytes, and valid files with words replaced by nasty ones, read as each kind and
    // as a stage file: a project or an EInOutError, never anything else.
    std::mt19937 random(20240611);
    const std::vector<std::string> nasty = {"-1", "0", "9", "8", "10001", "2147483647",
                                            "-2147483648", "1E4000", "x", "3.5", "\t", "."};
    const std::vector<std::string> valid = {kFull, kLongTerm, kKind2, kStage};
    TWorkspace w;
    w.ShowInformation = [](const std::string&) {};
    for (int round = 0; round < 600; ++round) {
        std::string text;
        if (round % 3 == 0) {
            text.resize(random() % 200);
            for (char& c : text) c = static_cast<char>(random() % 256);
        } else {
            text = valid[random() % valid.size()];
            for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
                size_t at = random() % text.size();
                while (at > 0 && std::string(" \t\n").find(text[at - 1]) == std::string::npos)
                    --at;
                const size_t end = text.find_first_of(" \t\r", at);
                text.replace(at, end == std::string::npos ? 0 : end - at,
                             nasty[random() % nasty.size()]);
            }
        }
        try {
            ReadDataFileText(w, text, "hostile.tx4d", 1 + round % 3);
        } catch (const EInOutError&) {
            ExpectDefaultProject(w);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "round " << round << ": " << error.what();
        }
        try {
            ReadStageFileText(w, text, "hostile.st1");
        } catch (const std::exception& error) {
            ADD_FAILURE() << "stage, round " << round << ": " << error.what();
        }
    }
}

}  // namespace
}  // namespace torvex
