#include "project/ProgramData.h"

#include <gtest/gtest.h>

#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

TEST(CreateDefaultProject, HoldsTheDefaultsAndEveryTableAtItsMinimum) {
    TWorkspace workspace;
    int closes = 0;
    workspace.CloseChildWindows = [&] { ++closes; };
    workspace.Table("DistLoad").SetRowCount(7);
    workspace.SetModified(true);
    const TProgramData& p = CreateDefaultProject(workspace);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(&p, &workspace.Project());
    EXPECT_EQ(p.FileName, "NewWall.tx4d");
    EXPECT_EQ(p.Title, "New Wall");
    EXPECT_EQ(p.UnitSystem, 1);
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_EQ(p.ClosureTolerance, 0.00001L);
    EXPECT_EQ(p.MaxDeflection, 100.0L);
    EXPECT_EQ(p.PressureFactor, 1.0L);
    EXPECT_EQ(p.EarthPressureOption, 0);
    EXPECT_EQ(p.GenerateCurves, 1);
    EXPECT_EQ(p.ConfigOption, 1);
    EXPECT_EQ(p.FullFormat, 1);
    for (uint8_t flag : {p.UsePYCurves, p.UseMEICurves, p.UsePYModifiers, p.UseDistributedLoad,
                         p.UseConcentratedLoads, p.UseSprings, p.UseSurcharges, p.UseRestraints,
                         p.UseLongTerm})
        EXPECT_EQ(flag, 0);
    for (int i = 0; i < workspace.TableCount(); ++i) {
        const TGridTable& table = workspace.TableAt(i);
        EXPECT_EQ(table.RowCount(), table.MinRows()) << table.Name;
        EXPECT_EQ(table.Units(), 1) << table.Name;
    }
    EXPECT_EQ(workspace.Table("DistLoad").RowCount(), 2);
    EXPECT_FALSE(workspace.IsModified());
}

TEST(CreateDefaultProject, EmptiesTablesLeftFromTheProjectBefore) {
    TWorkspace workspace;
    CreateDefaultProject(workspace);
    workspace.Table("PileSect").Cell(3, 0).SetFloat(29e6);
    workspace.Table("NewSoil").Cell(0, 0).SetInteger(4);
    ChangeUnitSystem(workspace, 2);
    workspace.Project().Title = "Old";
    CreateDefaultProject(workspace);
    EXPECT_EQ(workspace.Project().Title, "New Wall");
    EXPECT_EQ(workspace.Table("PileSect").Cell(3, 0).AsFloat(), 0.0L);
    EXPECT_EQ(workspace.Table("NewSoil").Cell(0, 0).AsInteger(), 1);
    EXPECT_EQ(workspace.Table("NewSoil").Cell(2, 0).AsTable().Caption, "Clay");
    EXPECT_EQ(workspace.Table("NewSoil").Cell(2, 0).AsTable().Units(), 1);
}

TEST(ChangeUnitSystem, EnglishToSiAndBackUsesTheRoundedFactors) {
    TWorkspace workspace;
    TProgramData& p = CreateDefaultProject(workspace);
    p.FreeHeight = 240;
    ChangeUnitSystem(workspace, 2);
    EXPECT_NEAR(static_cast<double>(p.FreeHeight), 6.096, 1e-12);
    ChangeUnitSystem(workspace, 1);
    EXPECT_NEAR(static_cast<double>(p.FreeHeight), 240.0001296, 1e-9);
}

TEST(ChangeUnitSystem, ConvertsEveryValueByItsDimension) {
    TWorkspace workspace;
    TProgramData& p = CreateDefaultProject(workspace);
    p.MaxDeflection = 10;
    p.ClosureTolerance = 1;
    p.IncrementLength = 12;
    p.WaterDepthBackfill = 100;
    p.WaterDepthExcavation = 200;
    p.ActiveWidth = 24;
    p.ResistanceWidth = 36;
    p.BackfillSurcharge = 1;  // lbs/in^2
    p.LegacySurcharge = {10, 1000, 100, 1, 20};
    p.PressureFactor = 0.8L;
    p.BackfillSlope = 15;
    p.NumIncrements = 60;
    ChangeUnitSystem(workspace, 2);
    const long double a = 0.0254L, b = 0.004448222468060651L;
    EXPECT_EQ(p.MaxDeflection, 10 * a);
    EXPECT_EQ(p.ClosureTolerance, a);
    EXPECT_EQ(p.IncrementLength, 12 * a);
    EXPECT_EQ(p.WaterDepthBackfill, 100 * a);
    EXPECT_EQ(p.WaterDepthExcavation, 200 * a);
    EXPECT_EQ(p.ActiveWidth, 24 * a);
    EXPECT_EQ(p.ResistanceWidth, 36 * a);
    // The program's force factor is the reciprocal of 224.8089, so 1 psi gives 6.8947586 kN/m^2.
    EXPECT_EQ(p.BackfillSurcharge, b / (a * a));
    EXPECT_NEAR(static_cast<double>(p.BackfillSurcharge), 6.8947586, 1e-7);
    EXPECT_EQ(p.LegacySurcharge[0], 10 * a);
    EXPECT_EQ(p.LegacySurcharge[1], 1000 * b);
    EXPECT_EQ(p.LegacySurcharge[2], 100 * (b / a));
    EXPECT_EQ(p.LegacySurcharge[3], b / (a * a));
    EXPECT_EQ(p.LegacySurcharge[4], 20 * a);
    EXPECT_EQ(p.PressureFactor, 0.8L);
    EXPECT_EQ(p.BackfillSlope, 15.0L);
    EXPECT_EQ(p.NumIncrements, 60);
    EXPECT_EQ(p.UnitSystem, 2);
}

TEST(ChangeUnitSystem, OtherUnitsOnlyRelabel) {
    TWorkspace workspace;
    TProgramData& p = CreateDefaultProject(workspace);
    workspace.Table("PYMod").SetRowCount(2);
    workspace.Table("PYMod").Cell(0, 0).SetFloat(10);
    p.FreeHeight = 240;
    int refreshes = 0;
    workspace.RefreshOpenDialogs = [&] { ++refreshes; };
    ChangeUnitSystem(workspace, 3);
    ChangeUnitSystem(workspace, 2);
    EXPECT_EQ(p.FreeHeight, 240.0L);
    EXPECT_EQ(workspace.Table("PYMod").Cell(0, 0).AsFloat(), 10.0L);
    EXPECT_EQ(workspace.Table("PYMod").Units(), 2);
    EXPECT_EQ(refreshes, 2);
    ChangeUnitSystem(workspace, 2);  // the system in force: nothing changes
    EXPECT_EQ(p.FreeHeight, 240.0L);
}

TEST(ChangeUnitSystem, TargetsOutsideTheRangeAreClamped) {
    TWorkspace workspace;
    TProgramData& p = CreateDefaultProject(workspace);
    ChangeUnitSystem(workspace, 7);
    EXPECT_EQ(p.UnitSystem, 3);
    EXPECT_EQ(workspace.Table("PileSect").Units(), 3);
    ChangeUnitSystem(workspace, 0);
    EXPECT_EQ(p.UnitSystem, 1);
    ChangeUnitSystem(workspace, -4);
    EXPECT_EQ(p.UnitSystem, 1);
}

}  // namespace
}  // namespace torvex
