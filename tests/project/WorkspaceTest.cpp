#include "project/Workspace.h"

#include <gtest/gtest.h>

#include "dataentry/TableCatalogue.h"

namespace torvex {
namespace {

TEST(TWorkspace, DeclaresTheTablesInOrderWithTheirIdentifiers) {
    TWorkspace workspace;
    ASSERT_EQ(workspace.TableCount(), 25);
    const auto& catalogue = TableCatalogue();
    for (int i = 0; i < 25; ++i) {
        const TGridTable& table = workspace.TableAt(i);
        EXPECT_EQ(table.Name, catalogue[static_cast<size_t>(i)].Name);
        EXPECT_EQ(table.Identifier(), catalogue[static_cast<size_t>(i)].Identifier) << table.Name;
        EXPECT_EQ(table.RowCount(), 0) << table.Name;
        EXPECT_EQ(table.Units(), 1) << table.Name;
        EXPECT_EQ(workspace.Registry().TableAt(i), &table);
    }
    EXPECT_EQ(workspace.Registry().FindTable(2), &workspace.Table("SoilLayers"));
    EXPECT_EQ(workspace.Registry().FindTable(0), &workspace.Table("Soillayer"));
}

TEST(TWorkspace, LooksUpTablesIgnoringCase) {
    TWorkspace workspace;
    EXPECT_EQ(workspace.FindTable("SoilLayer"), &workspace.Table("Soillayer"));
    EXPECT_EQ(workspace.FindTable("soillayers"), &workspace.Table("SoilLayers"));
    EXPECT_NE(workspace.FindTable("SoilLayer"), workspace.FindTable("SoilLayers"));
    EXPECT_EQ(workspace.FindTable("NoSuchTable"), nullptr);
    EXPECT_THROW(workspace.Table("NoSuchTable"), std::logic_error);
}

TEST(TWorkspace, StartUpCommentsAndPictures) {
    TWorkspace workspace;
    EXPECT_EQ(workspace.Table("BoundCond").Comments.rfind("The concentrated loads", 0), 0u);
    EXPECT_EQ(workspace.Table("SurchargeTable").Comments.back(), ' ');
    EXPECT_EQ(workspace.Table("NewSoil").Comments, "");
    EXPECT_EQ(workspace.Table("DistLoad").HelpPicture(), "ImagePressure");
    EXPECT_EQ(workspace.Table("LongDist").HelpPicture(), "ImagePressure");
    EXPECT_EQ(workspace.Table("SoilStrength").HelpPicture(), "ImageTieBack");
    EXPECT_EQ(workspace.Table("PileSect").HelpPicture(), "");
}

TEST(TWorkspace, TwoWorkspacesKeepTheirOwnTables) {
    auto first = std::make_unique<TWorkspace>();
    TWorkspace second;
    first->Table("NewSoil").SetRowCount(1);
    second.Table("NewSoil").SetRowCount(1);
    // Each soil row copies its template from its own workspace.
    EXPECT_EQ(&first->Table("NewSoil").Cell(2, 0).AsTable().Registry(), &first->Registry());
    first.reset();
    second.Table("NewSoil").Cell(0, 0).SetInteger(4);
    EXPECT_EQ(second.Table("NewSoil").Cell(2, 0).AsTable().Caption, "Sand");
}

TEST(TWorkspace, UnitBroadcastReachesEveryTable) {
    TWorkspace workspace;
    workspace.Table("PYCurves").SetRowCount(1);
    workspace.SetUnits(2);
    for (int i = 0; i < workspace.TableCount(); ++i)
        EXPECT_EQ(workspace.TableAt(i).Units(), 2) << workspace.TableAt(i).Name;
    EXPECT_EQ(workspace.Table("PYCurves").Cell(1, 0).AsTable().Units(), 2);
}

}  // namespace
}  // namespace torvex
