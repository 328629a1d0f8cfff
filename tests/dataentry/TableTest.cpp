#include "dataentry/Table.h"

#include <gtest/gtest.h>

#include "dataentry/ColumnTypes.h"
#include "dataentry/Evaluator.h"
#include "TableTestSupport.h"

namespace torvex {
namespace {

using testing::EditorOf;
using testing::MessageOf;

TTableDeclaration LayerTable(int rowGroup = 1) {
    TTableDeclaration d;
    d.Name = "Layers";
    d.Identifier = 7;
    d.Caption = "Layers";
    d.MinRows = 1;
    d.MaxRows = 10;
    d.RowGroup = rowGroup;
    d.Columns = {IntColumn({"Node"}, 5, 0, 100), FloatColumn({"Top"}, "L2", 0, true),
                 FloatColumn({"Bottom", "of layer,"}, "L2", 0),
                 FloatColumn({"Weight"}, "F/L2^3", 120)};
    return d;
}

class TableTest : public ::testing::Test {
protected:
    TTableRegistry registry;
    std::unique_ptr<TGridTable> Make(const TTableDeclaration& declaration) {
        auto table = std::make_unique<TGridTable>(registry);
        table->LoadDeclaration(declaration);
        return table;
    }
};

TEST_F(TableTest, NewRowsTakeDefaultsAndRowCountIsClamped) {
    auto table = Make(LayerTable());
    EXPECT_EQ(table->RowCount(), 0);
    table->SetRowCount(3);
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(table->Cell(0, 2).AsInteger(), 5);
    EXPECT_EQ(table->Cell(3, 1).AsFloat(), 120.0L);
    EXPECT_EQ(table->Cell(3, 1).AsText(), "120");
    table->SetRowCount(-4);
    EXPECT_EQ(table->RowCount(), 0);
    for (int c = 0; c < table->ColumnCount(); ++c) EXPECT_EQ(table->Columns(c).RowDataCount(), 0);
}

TEST_F(TableTest, RowGroupsAreAddedInsertedAndDeletedWhole) {
    auto table = Make(LayerTable(3));
    int structureChanges = 0;
    table->OnStructureChanged = [&] { ++structureChanges; };
    table->SetRowCount(6);
    EXPECT_EQ(structureChanges, 0);  // SetRowCount sends nothing
    for (int r = 0; r < 6; ++r) table->Cell(0, r).SetInteger(r);

    table->InsertRowGroup(4);  // inserts before the group holding row 4 (rows 3..5)
    EXPECT_EQ(table->RowCount(), 9);
    EXPECT_EQ(table->Cell(0, 2).AsInteger(), 2);
    EXPECT_EQ(table->Cell(0, 3).AsInteger(), 5);  // new rows take the default
    EXPECT_EQ(table->Cell(0, 6).AsInteger(), 3);

    table->DeleteRowGroup(1);  // whatever row of the group is current, all three go
    EXPECT_EQ(table->RowCount(), 6);
    EXPECT_EQ(table->Cell(0, 0).AsInteger(), 5);
    EXPECT_EQ(table->Cell(0, 3).AsInteger(), 3);

    table->AddRowGroup();
    EXPECT_EQ(table->RowCount(), 9);
    EXPECT_EQ(structureChanges, 3);
    EXPECT_THROW(table->DeleteRowGroup(9), EListError);
}

TEST_F(TableTest, TopDepthKeepsLayersContinuousOnSet) {
    auto table = Make(LayerTable());
    table->SetRowCount(3);
    // Setting a top sets the bottom of the row above ...
    table->Cell(1, 1).SetFloat(10);
    EXPECT_EQ(table->Cell(2, 0).AsFloat(), 10.0L);
    // ... and setting a bottom sets the top of the row below.
    table->Cell(2, 1).SetFloat(25);
    EXPECT_EQ(table->Cell(1, 2).AsFloat(), 25.0L);
    // The first top and the last bottom have no neighbour.
    table->Cell(1, 0).SetFloat(0);
    table->Cell(2, 2).SetFloat(40);
    EXPECT_EQ(table->Cell(1, 2).AsFloat(), 25.0L);
}

TEST_F(TableTest, TopDepthKeepsLayersContinuousOnInsertAndDelete) {
    auto table = Make(LayerTable());
    table->SetRowCount(3);
    table->Cell(2, 0).SetFloat(10);  // layers 0-10, 10-25, 25-40
    table->Cell(2, 1).SetFloat(25);
    table->Cell(2, 2).SetFloat(40);
    ASSERT_EQ(table->Cell(1, 1).AsFloat(), 10.0L);
    ASSERT_EQ(table->Cell(1, 2).AsFloat(), 25.0L);

    table->InsertRowGroup(1);  // the new row starts where the row above ends
    EXPECT_EQ(table->Cell(1, 1).AsFloat(), 10.0L);
    EXPECT_EQ(table->Cell(2, 1).AsFloat(), 10.0L);  // and ends where the row below starts
    EXPECT_EQ(table->Cell(1, 2).AsFloat(), 10.0L);

    table->DeleteRowGroup(1);
    table->DeleteRowGroup(1);  // removes 10-25: the next layer now starts at 10
    ASSERT_EQ(table->RowCount(), 2);
    EXPECT_EQ(table->Cell(2, 0).AsFloat(), 10.0L);
    EXPECT_EQ(table->Cell(1, 1).AsFloat(), 10.0L);
    EXPECT_EQ(table->Cell(2, 1).AsFloat(), 40.0L);
}

TEST_F(TableTest, TopDepthColumnNeedsAFloatColumnAfterIt) {
    TTableDeclaration d = LayerTable();
    d.Columns = {FloatColumn({"Top"}, "L2", 0, true), IntColumn({"Node"}, 0, 0, 9)};
    auto table = Make(d);
    EXPECT_EQ(MessageOf([&] { table->SetRowCount(1); }),
              "If column if a topdepth then the next column must be a float column");
}

TEST_F(TableTest, IdentifiersSwapAndLookupsFindTheFirstTable) {
    auto first = Make(LayerTable());
    TTableDeclaration other = LayerTable();
    other.Identifier = 8;
    auto second = Make(other);
    EXPECT_EQ(first->Identifier(), 7);
    second->SetIdentifier(7);  // the holder of 7 receives 8
    EXPECT_EQ(second->Identifier(), 7);
    EXPECT_EQ(first->Identifier(), 8);
    second->SetIdentifier(-3);  // ignored
    EXPECT_EQ(second->Identifier(), 7);
    EXPECT_EQ(registry.FindTable(7), second.get());
    EXPECT_EQ(registry.FindTable(99), nullptr);
    EXPECT_EQ(registry.TableAt(0), first.get());
    EXPECT_EQ(registry.TableAt(2), nullptr);
    EXPECT_EQ(registry.TableAt(-1), nullptr);
    second.reset();  // a destroyed table leaves the registry
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.FindTable(7), nullptr);
}

TEST_F(TableTest, NewTablesTakeTheCounterAsIdentifier) {
    TGridTable a(registry), b(registry);
    EXPECT_EQ(a.Identifier(), 0);
    EXPECT_EQ(b.Identifier(), 1);
    TGridTable owned(a);
    EXPECT_EQ(owned.Identifier(), 2);
    EXPECT_EQ(&owned.Registry(), &registry);
}

TEST_F(TableTest, MinRowsAndRowGroupLimits) {
    TTableDeclaration d = LayerTable();
    d.MinRows = 0;  // a declaration with 0 loads as 1
    d.RowGroup = -2;
    auto table = Make(d);
    EXPECT_EQ(table->MinRows(), 1);
    EXPECT_EQ(table->RowGroup(), 1);
    EXPECT_EQ(MessageOf([&] { table->SetMinRows(0); }), "Value must be greater than 0");
    EXPECT_EQ(MessageOf([&] { table->SetMinRows(-5); }), "Value must be greater than 0");
    table->SetMinRows(2);
    EXPECT_EQ(table->MinRows(), 2);
}

TEST_F(TableTest, VisibleColumnsAndHeaderRows) {
    auto table = Make(LayerTable());
    table->Columns(1).Visible = false;
    EXPECT_EQ(table->VisibleColumnCount(), 3);
    EXPECT_EQ(&table->VisibleColumn(1), &table->Columns(2));
    EXPECT_EQ(table->VisibleIndexOf(table->Columns(1)), -1);
    EXPECT_EQ(table->VisibleIndexOf(table->Columns(3)), 2);
    EXPECT_EQ(table->HeaderRowCount(), 2);
    EXPECT_EQ(MessageOf([&] { table->VisibleColumn(3); }), "Index out of bounds");
    EXPECT_EQ(MessageOf([&] { table->VisibleColumn(-1); }), "Index out of bounds");
}

TEST_F(TableTest, CellsOfAnotherKindAreRefused) {
    auto table = Make(LayerTable());
    table->SetRowCount(1);
    EXPECT_EQ(MessageOf([&] { table->Cell(0, 0).AsFloat(); }), "Data of wrong type");
    EXPECT_EQ(MessageOf([&] { table->Cell(1, 0).AsInteger(); }), "Data of wrong type");
    EXPECT_EQ(MessageOf([&] { table->Cell(1, 0).AsTable(); }), "Data of wrong type");
    EXPECT_THROW(table->Cell(1, 0).SetInteger(2), EInvalidCast);
    EXPECT_THROW(table->Cell(0, 0).SetFloat(2), EInvalidCast);
    EXPECT_THROW(table->Cell(0, 1), EListError);
    EXPECT_THROW(table->Cell(9, 0), EListError);
}

TEST_F(TableTest, UnitSwitchConvertsOnceAndNotifiesOnce) {
    auto table = Make(LayerTable());
    table->SetRowCount(1);
    table->Cell(3, 0).SetFloat(120);  // lbs/ft^3
    table->Cell(2, 0).SetFloat(10);   // ft
    int structureChanges = 0;
    int cellChanges = 0;
    table->OnStructureChanged = [&] { ++structureChanges; };
    table->OnCellChanged = [&](int, int) { ++cellChanges; };

    table->SetUnits(1);  // already English: nothing happens
    EXPECT_EQ(structureChanges, 0);
    EXPECT_EQ(cellChanges, 0);

    table->SetUnits(2);
    EXPECT_EQ(table->Units(), 2);
    EXPECT_EQ(structureChanges, 1);
    EXPECT_EQ(cellChanges, 3);  // one per float cell
    EXPECT_NEAR(static_cast<double>(table->Cell(3, 0).AsFloat()), 120 / 6.365879805, 1e-8);
    EXPECT_NEAR(static_cast<double>(table->Cell(2, 0).AsFloat()), 3.048, 1e-9);
    EXPECT_EQ(table->Cell(0, 0).AsInteger(), 5);  // integers keep their values

    table->SetUnits(3);  // to Other: numbers stay, labels change
    EXPECT_NEAR(static_cast<double>(table->Cell(2, 0).AsFloat()), 3.048, 1e-9);
    EXPECT_EQ(table->Columns(2).GetCaption(1), "of layer, (L)  ");
    table->SetUnits(1);
    EXPECT_NEAR(static_cast<double>(table->Cell(2, 0).AsFloat()), 3.048, 1e-9);
}

TEST_F(TableTest, ChangedFlagCoversColumnsAndIsResetWithThem) {
    auto table = Make(LayerTable());
    EXPECT_FALSE(table->IsChanged());
    table->SetChanged(true);
    EXPECT_TRUE(table->IsChanged());
    table->SetChanged(false);
    EXPECT_FALSE(table->IsChanged());
}

TEST_F(TableTest, EditorIsOpenedBoundAndClosed) {
    testing::UseFakeEditors(registry);
    auto table = Make(LayerTable());
    table->SetRowCount(1);
    table->ShowEditor();
    ASSERT_TRUE(table->EditorOpen());
    EXPECT_EQ(EditorOf(*table).shows, 1);
    EXPECT_FALSE(EditorOf(*table).IsModal());
    table->ShowEditorModal();  // the same window, shown modally
    EXPECT_EQ(EditorOf(*table).shows, 2);
    EXPECT_TRUE(EditorOf(*table).IsModal());

    table->SetNumber(4);
    EXPECT_EQ(EditorOf(*table).captionResets, 1);
    table->SetHelpPicture("ImagePressure");
    EXPECT_EQ(EditorOf(*table).pictureChanges, 1);

    int cellChanges = 0;
    table->OnCellChanged = [&](int, int) { ++cellChanges; };
    table->CloseEditor();
    EXPECT_FALSE(table->EditorOpen());
    EXPECT_FALSE(static_cast<bool>(table->OnCellChanged));
    table->Cell(1, 0).SetFloat(3);
    EXPECT_EQ(cellChanges, 0);
}

TEST_F(TableTest, NoEditorForATableWithoutVisibleColumns) {
    testing::UseFakeEditors(registry);
    auto table = Make(LayerTable());
    for (int c = 0; c < table->ColumnCount(); ++c) table->Columns(c).Visible = false;
    table->ShowEditor();
    EXPECT_FALSE(table->EditorOpen());
}

TEST_F(TableTest, DestroyingATableWithAnOpenEditorFreesTheEditor) {
    testing::UseFakeEditors(registry);
    auto table = Make(LayerTable());
    table->ShowEditor();
    ASSERT_TRUE(table->EditorOpen());
    table.reset();  // the fake editor deletes itself; ASan reports a leak otherwise
    EXPECT_EQ(registry.Count(), 0);
}

TEST_F(TableTest, DeclarationComesBackFromTheTable) {
    const TTableDeclaration d = LayerTable();
    auto table = Make(d);
    EXPECT_EQ(table->Declaration(), d);
    EXPECT_EQ(MessageOf([&] {
                  TTableDeclaration bad = d;
                  bad.Columns[1].Kind = static_cast<TColumnKind>(9);
                  Make(bad);
              }),
              "Error occured when creating column 1: Error Column Class not defined");
}

}  // namespace
}  // namespace torvex
