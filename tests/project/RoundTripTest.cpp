// Writing a project and reading the file back gives the same project; writing again gives the
// same bytes.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ProjectFixture.h"
#include "project/DataFileReader.h"
#include "dataentry/NumberText.h"
#include "project/DataFileWriter.h"

namespace torvex {
namespace {

// Every cell of every table (sub-tables included): the layout and integers as text, the reals
// as numbers.
struct Contents {
    std::string text;
    std::vector<long double> reals;
};

void AddTable(const TGridTable& table, Contents& contents) {
    contents.text += table.Name + " rows " + std::to_string(table.RowCount()) + "\n";
    for (int r = 0; r < table.RowCount(); ++r) {
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const TColumn& column = table.Columns(c);
            if (column.Kind() == TColumnKind::SubTable) {
                contents.text += "[";
                AddTable(table.Cell(c, r).AsTable(), contents);
                contents.text += "]";
            } else if (column.Kind() == TColumnKind::Float) {
                contents.text += "# ";
                contents.reals.push_back(table.Cell(c, r).AsFloat());
            } else {
                contents.text += table.Cell(c, r).AsText() + " ";
            }
        }
        contents.text += "\n";
    }
}

void ExpectSameTables(const TWorkspace& copy, const TWorkspace& original) {
    Contents a, b;
    for (int i = 0; i < copy.TableCount(); ++i) AddTable(copy.TableAt(i), a);
    for (int i = 0; i < original.TableCount(); ++i) AddTable(original.TableAt(i), b);
    EXPECT_EQ(a.text, b.text);
    ASSERT_EQ(a.reals.size(), b.reals.size());
    // Reals travel in eight significant digits (English unit weights and strengths divided by
    // 1728 and 144 first), so they come back within that precision.
    for (size_t i = 0; i < a.reals.size(); ++i)
        EXPECT_LE(std::fabs(a.reals[i] - b.reals[i]), 1e-7L * std::fabs(b.reals[i]))
            << "real number " << i << ": " << static_cast<double>(a.reals[i]) << " vs "
            << static_cast<double>(b.reals[i]);
}

void ExpectSameScalars(const TProgramData& a, const TProgramData& b) {
    EXPECT_EQ(a.UnitSystem, b.UnitSystem);
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.PressureMode, b.PressureMode);
    EXPECT_EQ(a.ResistanceMode, b.ResistanceMode);
    EXPECT_EQ(a.MEICurveCount, b.MEICurveCount);
    EXPECT_EQ(a.NumIncrements, b.NumIncrements);
    for (auto [x, y] : {std::pair{a.IncrementLength, b.IncrementLength},
                        {a.MaxDeflection, b.MaxDeflection},
                        {a.ClosureTolerance, b.ClosureTolerance},
                        {a.FreeHeight, b.FreeHeight},
                        {a.BackfillSurcharge, b.BackfillSurcharge},
                        {a.WaterDepthBackfill, b.WaterDepthBackfill},
                        {a.WaterDepthExcavation, b.WaterDepthExcavation},
                        {a.PressureFactor, b.PressureFactor},
                        {a.BackfillSlope, b.BackfillSlope},
                        {a.ActiveWidth, b.ActiveWidth},
                        {a.ResistanceWidth, b.ResistanceWidth}})
        EXPECT_EQ(DataNumberText(x), DataNumberText(y));
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(DataNumberText(a.LegacySurcharge[i]), DataNumberText(b.LegacySurcharge[i]));
    EXPECT_EQ(a.UsePYCurves, b.UsePYCurves);
    EXPECT_EQ(a.UseMEICurves, b.UseMEICurves);
    EXPECT_EQ(a.UsePYModifiers, b.UsePYModifiers);
    EXPECT_EQ(a.UseDistributedLoad, b.UseDistributedLoad);
    EXPECT_EQ(a.UseConcentratedLoads, b.UseConcentratedLoads);
    EXPECT_EQ(a.UseSprings, b.UseSprings);
    EXPECT_EQ(a.UseSurcharges, b.UseSurcharges);
    EXPECT_EQ(a.ConfigOption, b.ConfigOption);
    EXPECT_EQ(a.UseRestraints, b.UseRestraints);
    EXPECT_EQ(a.UseLongTerm, b.UseLongTerm);
    EXPECT_EQ(a.GeneratedPressure, b.GeneratedPressure);
    EXPECT_EQ(a.EarthPressureOption, b.EarthPressureOption);
    EXPECT_EQ(a.GenerateCurves, b.GenerateCurves);
    EXPECT_EQ(a.StageCount, b.StageCount);
    EXPECT_EQ(a.LongTermMarker, b.LongTermMarker);
}

struct Case {
    int units;
    bool longTerm;
    int pressureOption;  // 1 user load, 2 triangular, 3 trapezoidal
};

class RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTrip, ReadsBackTheSameProjectAndWritesTheSameBytes) {
    const Case c = GetParam();
    TWorkspace original;
    testing::FillFullProject(original, 60, 12, c.longTerm);
    ChangeUnitSystem(original, c.units);
    TProgramData& p = original.Project();
    p.EarthPressureOption = c.pressureOption;
    p.UseDistributedLoad = c.pressureOption == 1 ? 1 : 0;
    // Tables that the file does not carry are left as a user would have them: unused.
    auto clear = [&](const char* name) {
        TGridTable& table = original.Table(name);
        table.SetRowCount(0);
        table.SetRowCount(table.MinRows());
    };
    if (!p.UseDistributedLoad) {
        clear("DistLoad");
        clear("LongDist");
    }
    if (!c.longTerm) {
        clear("LongDist");
        clear("LongSoil");
    }
    const std::string first = WriteDataFileText(original);

    TWorkspace copy;
    ReadDataFileText(copy, first, "Copy.tx4d", 1);
    ExpectSameScalars(copy.Project(), original.Project());
    ExpectSameTables(copy, original);
    EXPECT_EQ(WriteDataFileText(copy), first);
}

INSTANTIATE_TEST_SUITE_P(
    UnitsOptionsAndTerms, RoundTrip,
    ::testing::Values(Case{1, false, 2}, Case{1, true, 2}, Case{2, true, 3}, Case{3, true, 2},
                      Case{2, false, 1}, Case{1, true, 1}, Case{3, false, 3}),
    [](const ::testing::TestParamInfo<Case>& info) {
        return std::string(info.param.units == 1 ? "English" : info.param.units == 2 ? "SI" : "Other") +
               (info.param.longTerm ? "LongTerm" : "ShortTerm") + "Pressure" +
               std::to_string(info.param.pressureOption);
    });

TEST(RoundTrip, ANewProjectReadsBackWithoutGeneratedCurves) {
    // A project in which no earth-pressure item was chosen is written with PressureMode 0 and
    // ResistanceMode 2, and reads back with GenerateCurves 0: the one known difference.
    TWorkspace original;
    CreateDefaultProject(original);
    const std::string first = WriteDataFileText(original);
    TWorkspace copy;
    ReadDataFileText(copy, first, "Copy.tx4d", 1);
    EXPECT_EQ(copy.Project().GenerateCurves, 0);
    const std::string second = WriteDataFileText(copy);
    EXPECT_NE(second, first);
    EXPECT_NE(second.find("1 0\t1\t0\t0\t0 0 1 0\r\n"), std::string::npos) << second;
}

TEST(RoundTrip, PressureFactorOf0036ReadsBackAsOne) {
    TWorkspace original;
    testing::FillFullProject(original, 20, 2, false);
    original.Project().PressureFactor = 0.036L;
    const std::string text = WriteDataFileText(original);
    TWorkspace copy;
    ReadDataFileText(copy, text, "Copy.tx4d", 1);
    EXPECT_EQ(copy.Project().PressureFactor, 1.0L);
}

}  // namespace
}  // namespace torvex
