#include "project/DataFileWriter.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/UnitConversion.h"
#include "project/WordRead.h"
#include "project/Workspace.h"
#include "OrdinaryUser.h"

namespace torvex {
namespace {

// Pieces of the file of a new project, taken from the layout line by line.
const std::string kNewProjectStart =
    "New Wall\r\n"
    "1 0\t1\t0\t0\t2 0 1 0\r\n"  // no restraints, one stiffness row, no modifiers, modes 0 and 2
    "0 0\t100\t1E-5\t0\r\n"      // wall
    "0\t1\t1\t0\r\n"             // the blank stiffness row
    "0\r\n"                      // concentrated loads
    "0\r\n";                     // springs
const std::string kConfigurationLines =
    "0\t0\t0\t0\t0\t1\t1\t0\r\n"  // factor 1, configuration option 1
    "0\t0\t0\t0\t0\t0\r\n";
const std::string kDefaultConfiguration = kConfigurationLines + "0\r\n";  // no surcharges
const std::string kBlankClayLayers =
    "1\r\n"
    "1 0 \r\n"
    "0 0 0.0  0 0 0.0  \r\n"
    "0 0 0.0  0 0 0.0  \r\n";
const std::string kNewProjectFile =
    kNewProjectStart + kDefaultConfiguration + kBlankClayLayers + "0\r\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class DataFileWriter : public ::testing::Test {
protected:
    DataFileWriter() : project(CreateDefaultProject(workspace)) {}

    TGridTable& Table(const char* name) { return workspace.Table(name); }

    // Fills one row, a real for a real column and an integer for the others.
    static void SetRow(TGridTable& table, int row, const std::vector<long double>& values) {
        int column = 0;
        for (long double value : values) {
            const TData& cell = table.Cell(column, row);
            if (table.Columns(column++).Kind() == TColumnKind::Float)
                cell.SetFloat(value);
            else
                cell.SetInteger(static_cast<int32_t>(value));
        }
    }

    // One soil layer of the given type, 10 ft deep, with the two rows of its parameters.
    void SetSoilLayer(const char* table, int32_t type, const std::vector<long double>& top,
                      const std::vector<long double>& bottom) {
        TGridTable& layers = Table(table);
        layers.Cell(0, 0).SetInteger(type);
        layers.Cell(1, 0).SetFloat(10);
        SetRow(layers.Cell(2, 0).AsTable(), 0, top);
        SetRow(layers.Cell(2, 0).AsTable(), 1, bottom);
    }

    TWorkspace workspace;
    TProgramData& project;
};

TEST_F(DataFileWriter, NewProjectWritesTheWholeFile) {
    EXPECT_EQ(WriteDataFileText(workspace), kNewProjectFile);
    EXPECT_EQ(project.PressureMode, 0);
    EXPECT_EQ(project.ResistanceMode, 2);
    EXPECT_EQ(project.LongTermMarker, 0);
    // The minimum rows of the tables whose option is off are gone.
    for (const char* name : {"BoundCond", "Soillayer", "PYCurves", "PYMod", "SoilStrength",
                             "SurchargeTable"})
        EXPECT_EQ(Table(name).RowCount(), 0) << name;
    // Writing again, after the preparation, gives the same bytes.
    EXPECT_EQ(WriteDataFileText(workspace), kNewProjectFile);
}

TEST_F(DataFileWriter, OptionTablesInTheirLayoutAndEmptiedWhenOff) {
    project.UseRestraints = 1;
    SetRow(Table("Soillayer"), 0, {2, 4, 0.5, 0.001});
    Table("PileSect").SetRowCount(2);
    SetRow(Table("PileSect"), 0, {0, 10, 2, 1e6});
    SetRow(Table("PileSect"), 1, {10, 20, 2, 5e5});
    project.UseConcentratedLoads = 1;
    SetRow(Table("BoundCond"), 0, {1, 0, 0, 5000, -250.75, 0});
    project.UseSprings = 1;
    Table("SoilStrength").SetRowCount(2);
    SetRow(Table("SoilStrength"), 0, {2, 3, 5, 1000.5, 0});
    SetRow(Table("SoilStrength"), 1, {1, 10, 10, 2e9, 3.25});
    project.UsePYModifiers = 1;
    SetRow(Table("PYMod"), 0, {0, 0.5, 1});
    SetRow(Table("PYMod"), 1, {20.5, 1, 2});  // ft
    project.UseSurcharges = 1;
    SetRow(Table("SurchargeTable"), 0, {2, 800, 36, 0});

    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n"
              "1 1\t2\t2\t0\t2 0 1 0\r\n"
              "0 0\t100\t1E-5\t0\r\n"
              "2\t4\t0.5\t0.001\r\n"
              "0\t10\t2\t1000000\r\n"
              "10\t20\t1\t500000\r\n"  // the last segment made constant
              "1\r\n1\t0\t0\t5000\t-250.75\t0\r\n"
              "2\r\n3\t5\t2\t1000.5\t0\r\n10\t10\t1\t2E9\t3.25\r\n"  // nodes before the code
              "0\t0.5\t1\r\n246\t1\t2\r\n" +  // depth 20.5 ft in in
                  kConfigurationLines + "1\r\n2\t800\t36\t0\r\n" + kBlankClayLayers +
                  "0\r\n");
    EXPECT_EQ(Table("PileSect").Cell(2, 0).AsInteger(), 2);
    EXPECT_EQ(Table("PileSect").Cell(2, 1).AsInteger(), 1);

    project.UseRestraints = project.UseConcentratedLoads = project.UseSprings = 0;
    project.UsePYModifiers = project.UseSurcharges = 0;
    Table("PYCurves").SetRowCount(2);
    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n1 0\t2\t0\t0\t2 0 1 0\r\n0 0\t100\t1E-5\t0\r\n"
              "0\t10\t2\t1000000\r\n10\t20\t1\t500000\r\n0\r\n0\r\n" +
                  kDefaultConfiguration + kBlankClayLayers + "0\r\n");
    for (const char* name : {"Soillayer", "BoundCond", "SoilStrength", "PYMod",
                             "SurchargeTable", "PYCurves"})
        EXPECT_EQ(Table(name).RowCount(), 0) << name;
}

TEST_F(DataFileWriter, WallWithoutStiffnessRowsIsWrittenWithoutOne) {
    Table("PileSect").SetRowCount(0);
    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n1 0\t0\t0\t0\t2 0 1 0\r\n0 0\t100\t1E-5\t0\r\n0\r\n0\r\n" +
                  kDefaultConfiguration + kBlankClayLayers + "0\r\n");
}

TEST_F(DataFileWriter, DistributedLoadInEnglishUnits) {
    project.UseDistributedLoad = 1;
    project.GeneratedPressure = 1;
    Table("DistLoad").SetRowCount(1);
    SetRow(Table("DistLoad"), 0, {5, 10});  // 10 lbs/ft at 5 ft
    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n1 0\t1\t0\t1\t2 0 1 0\r\n0 0\t100\t1E-5\t0\r\n0\t1\t1\t0\r\n0\r\n0\r\n"
              "1\r\n60\t0.83333333\r\n" +
                  kDefaultConfiguration + kBlankClayLayers + "0\r\n");
    EXPECT_EQ(project.GeneratedPressure, 0);
}

TEST_F(DataFileWriter, SiValuesAreWrittenAsStored) {
    ChangeUnitSystem(workspace, 2);
    project.UseDistributedLoad = 1;
    SetRow(Table("DistLoad"), 0, {1.5, 2.25});
    SetRow(Table("DistLoad"), 1, {3, 4});
    project.UsePYModifiers = 1;
    Table("PYMod").SetRowCount(1);
    SetRow(Table("PYMod"), 0, {1.25, 0.8, 1});
    SetSoilLayer("NewSoil", 1, {18.5, 25, 0.01, 0}, {19, 40, 0.005, 0});
    Table("NewSoil").Cell(1, 0).SetFloat(3.5);
    const std::string text = WriteDataFileText(workspace);
    EXPECT_EQ(Lines(text).at(1), "2 0\t1\t1\t1\t2 0 1 0");
    EXPECT_NE(text.find("\r\n1.25\t0.8\t1\r\n2\r\n1.5\t2.25\r\n3\t4\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n1\r\n1 3.5 \r\n18.5 25 0.0  0.01 0 0.0  \r\n"
                        "19 40 0.0  0.005 0 0.0  \r\n0\r\n"),
              std::string::npos);
}

// Each soil type in English units: layer 10 ft deep, γ ÷ 1728 and c ÷ 144, FILLs where the
// type has no parameter.
TEST_F(DataFileWriter, SoilParameterLinesPerType) {
    struct Case {
        int32_t type;
        std::vector<long double> top, bottom;
        const char* lines;
    };
    const Case cases[] = {
        {1, {120, 500, 0.02, 30}, {120, 600, 0.01, 100},
         "0.069444444 3.4722222 0.0  0.02 30 0.0  \r\n0.069444444 4.1666667 0.0  0.01 100 0.0  "},
        {3, {100, 1440, 0.005, 2000}, {0, 0, 0, 0},
         "0.05787037 10 0.0  0.005 2000 0.0  \r\n0 0 0.0  0 0 0.0  "},
        {4, {110, 30, 25}, {115, 32.5, 60},
         "0.063657407 0.0  30 0.0  25 0.0  \r\n0.066550926 0.0  32.5 0.0  60 0.0  "},
        {5, {125, 20, 288, 0.007, 500}, {130, 22, 72, 0.005, 800},  // c is the third column
         "0.072337963 2 20 0.007 500 0.0  \r\n0.075231481 0.5 22 0.005 800 0.0  "},
        {6, {172.8, 5000}, {86.4, 2500.5},
         "0.1 5000 0.0  0.0  0.0  0.0  \r\n0.05 2500.5 0.0  0.0  0.0  0.0  "},
        {7, {144, 1000, 0.0005, 7000, 50}, {150, 1200, 0.0001, 8000, 75},
         "0.083333333 1000 0.0  0.0005 7000 50 \r\n0.086805556 1200 0.0  0.0001 8000 75 "},
    };
    for (const Case& c : cases) {
        SetSoilLayer("NewSoil", c.type, c.top, c.bottom);
        EXPECT_EQ(WriteDataFileText(workspace), kNewProjectStart + kDefaultConfiguration +
                                                    "1\r\n" + std::to_string(c.type) +
                                                    " 120 \r\n" + c.lines + "\r\n0\r\n")
            << "type " << c.type;
    }
}

TEST_F(DataFileWriter, TypeCodeAboveSevenWritesTheLayerLineOnly) {
    TGridTable& layers = Table("NewSoil");
    layers.SetRowCount(2);
    // No template for code 8: the code is stored, the row keeps its clay parameters.
    try {
        layers.Cell(0, 0).SetInteger(8);
    } catch (const EListError&) {
    }
    ASSERT_EQ(layers.Cell(0, 0).AsInteger(), 8);
    layers.Cell(1, 1).SetFloat(2);
    EXPECT_EQ(WriteDataFileText(workspace), kNewProjectStart + kDefaultConfiguration +
                                                "2\r\n8 0 \r\n1 24 \r\n0 0 0.0  0 0 0.0  \r\n"
                                                "0 0 0.0  0 0 0.0  \r\n0\r\n");
}

TEST_F(DataFileWriter, ConfigurationBlockFollowsEitherGeneratedMode) {
    project.FreeHeight = 240;
    project.ActiveWidth = 12;
    project.ResistanceWidth = 24;
    project.WaterDepthBackfill = 120;
    project.WaterDepthExcavation = 300;
    project.PressureFactor = 0.9L;
    project.BackfillSlope = 15;
    project.BackfillSurcharge = 1.5;
    project.LegacySurcharge = {36, 1000, 50, 2.5, 48};
    // Trapezoidal earth pressure without generated p-y curves: modes 3 and 0, and the
    // configuration and soil blocks are still written.
    project.EarthPressureOption = 3;
    project.GeneratedPressure = 1;
    project.GenerateCurves = 0;
    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n1 0\t1\t0\t3\t0 0 1 0\r\n0 0\t100\t1E-5\t240\r\n0\t1\t1\t0\r\n0\r\n0\r\n"
              "240\t12\t24\t120\t300\t0.9\t1\t15\r\n1.5\t36\t1000\t50\t2.5\t48\r\n0\r\n" +
                  kBlankClayLayers + "0\r\n");

    // Nothing generated: no configuration, no soil.
    project.GeneratedPressure = 0;
    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n1 0\t1\t0\t0\t0 0 1 0\r\n0 0\t100\t1E-5\t240\r\n0\t1\t1\t0\r\n0\r\n0\r\n"
              "0\r\n");
}

TEST_F(DataFileWriter, ExternalAndMomentEICurves) {
    project.GenerateCurves = 0;
    project.UsePYCurves = 1;
    SetRow(Table("PYCurves"), 0, {12});
    SetRow(Table("PYCurves").Cell(1, 0).AsTable(), 0, {-1, 500});
    SetRow(Table("PYCurves").Cell(1, 0).AsTable(), 1, {1, -500});
    Table("PYCurves").Cell(2, 0).SetFloat(1);
    Table("PYCurves").Cell(3, 0).SetFloat(0.5);
    project.UseMEICurves = 1;
    SetRow(Table("MEICurves"), 0, {0, 40});
    TGridTable& momentEI = Table("MEICurves").Cell(2, 0).AsTable();
    momentEI.SetRowCount(2);
    SetRow(momentEI, 0, {0, 3e9});
    SetRow(momentEI, 1, {1e6, 1.5e9});
    EXPECT_EQ(WriteDataFileText(workspace),
              "New Wall\r\n1 0\t1\t0\t0\t1 1 1 1\r\n0 0\t100\t1E-5\t0\r\n0\t1\t1\t0\r\n0\r\n0\r\n"
              "12\t2\t1\t0.5\r\n-1\t500\r\n1\t-500\r\n"
              "0\t40\t2\r\n0\t3E9\r\n1000000\t1.5E9\r\n0\r\n");

    // Moment-EI curves off: counted as 0 and left out, but their rows stay.
    project.UseMEICurves = 0;
    EXPECT_EQ(Lines(WriteDataFileText(workspace)).at(1), "1 0\t1\t0\t0\t1 1 1 0");
    EXPECT_EQ(Table("MEICurves").RowCount(), 1);
}

TEST_F(DataFileWriter, LongTermBlockWithItsOwnTables) {
    project.UseLongTerm = 1;
    SetSoilLayer("LongSoil", 4, {110, 30, 25}, {115, 32.5, 60});
    // The long-term earth pressure is the generated one although no item was chosen.
    const std::string first = WriteDataFileText(workspace);
    EXPECT_EQ(first,
              kNewProjectStart + kDefaultConfiguration + kBlankClayLayers + "9\r\n" +
                  "New Wall\r\n1 0\t1\t0\t2\t2 0 1 0\r\n0 0\t100\t1E-5\t0\r\n0\t1\t1\t0\r\n0\r\n"
                  "0\r\n" +
                  kDefaultConfiguration +
                  "1\r\n4 120 \r\n0.063657407 0.0  30 0.0  25 0.0  \r\n"
                  "0.066550926 0.0  32.5 0.0  60 0.0  \r\n0\r\n");
    EXPECT_EQ(project.LongTermMarker, 9);
    EXPECT_EQ(WriteDataFileText(workspace), first);  // the preparation left nothing to change

    project.Title = "W";
    project.UseDistributedLoad = 1;
    project.GenerateCurves = 0;
    Table("DistLoad").SetRowCount(1);
    SetRow(Table("DistLoad"), 0, {5, 10});
    SetRow(Table("LongDist"), 0, {2, 24});
    const std::string block = "1 0\t1\t0\t1\t0 0 1 0\r\n0 0\t100\t1E-5\t0\r\n0\t1\t1\t0\r\n0\r\n0\r\n";
    EXPECT_EQ(WriteDataFileText(workspace), "W\r\n" + block + "1\r\n60\t0.83333333\r\n9\r\nW\r\n" +
                                                block + "1\r\n24\t2\r\n0\r\n");
}

TEST_F(DataFileWriter, TitleLineBreaksBecomeBlanks) {
    project.Title = "Wall A\r\nsection 2";
    const auto lines = Lines(WriteDataFileText(workspace));
    EXPECT_EQ(lines.at(0), "Wall A  section 2");
    EXPECT_EQ(lines.at(1), "1 0\t1\t0\t0\t2 0 1 0");
    EXPECT_EQ(project.Title, "Wall A\r\nsection 2");
}

TEST_F(DataFileWriter, StageFile) {
    project.StageCount = 3;
    project.CurrentStage = 2;
    project.UseLongTerm = 1;
    project.EarthPressureOption = 3;
    project.GeneratedPressure = 1;
    const std::string body = "0 0\t100\t1E-5\t0\r\n0\t1\t1\t0\r\n0\r\n0\r\n" +
                             kDefaultConfiguration + kBlankClayLayers;
    EXPECT_EQ(WriteStageFileText(workspace),
              " Stage No : 2\r\n1 0\t1\t0\t2\t2 0 3 0\r\n" + body + "2\r\n");
    project.CurrentStage = 1;
    EXPECT_EQ(WriteStageFileText(workspace), "New Wall\r\n1 0\t1\t0\t2\t2 0 3 0\r\n" + body + "1\r\n");
    // The data file writes the chosen item, 3.
    EXPECT_EQ(Lines(WriteDataFileText(workspace)).at(1), "1 0\t1\t0\t3\t2 0 3 0");
}

class DataFileWriterFile : public DataFileWriter {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/torvex-writer-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        ::chmod(folder.c_str(), 0700);
        std::filesystem::remove_all(folder);
    }
    std::string folder;
};

TEST_F(DataFileWriterFile, WritesTheFileAndMarksTheProjectSaved) {
    project.FileName = folder + "/wall.tx4d";
    workspace.SetModified(true);
    WriteDataFile(workspace);
    EXPECT_EQ(LoadTextFile(project.FileName), kNewProjectFile);
    EXPECT_FALSE(workspace.IsModified());

    project.FileName = folder + "/missing/wall.tx4d";
    workspace.SetModified(true);
    EXPECT_THROW(WriteDataFile(workspace), EInOutError);
    EXPECT_TRUE(workspace.IsModified());
}

TEST_F(DataFileWriterFile, FailedWriteKeepsTheOldFile) {
    testing::AsOrdinaryUser(folder, [&] {
        project.FileName = folder + "/wall.tx4d";
        WriteDataFile(workspace);
        ASSERT_EQ(::chmod(folder.c_str(), 0500), 0);
        project.Title = "Changed";
        EXPECT_THROW(WriteDataFile(workspace), EInOutError);
        EXPECT_EQ(LoadTextFile(project.FileName), kNewProjectFile);
    });
}

}  // namespace
}  // namespace torvex
