#include "dataentry/ColumnTypes.h"

#include <gtest/gtest.h>

#include "dataentry/Evaluator.h"
#include "dataentry/NumberText.h"
#include "project/Workspace.h"
#include "TableTestSupport.h"

namespace torvex {
namespace {

using testing::FakeHost;
using testing::MessageOf;

class ColumnTypesTest : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    void TearDown() override { SetDecimalSeparator('\0'); }
    TWorkspace workspace;
    TGridTable& Table(const char* name) { return workspace.Table(name); }
};

// ---- Choice columns ----

TEST_F(ColumnTypesTest, ChoiceTextMustBeIntegral) {
    TGridTable& loads = Table("SurchargeTable");
    loads.SetRowCount(1);
    EXPECT_EQ(loads.Cell(0, 0).AsInteger(), 1);  // new rows choose the first item
    loads.Cell(0, 0).SetText("1+2");
    EXPECT_EQ(loads.Cell(0, 0).AsText(), "3");
    EXPECT_EQ(MessageOf([&] { loads.Cell(0, 0).SetText("2.5"); }), "Value must be an integer.");
    EXPECT_EQ(MessageOf([&] { loads.Cell(0, 0).SetText("1E12"); }), "Value must be an integer.");
    EXPECT_EQ(loads.Cell(0, 0).AsInteger(), 3);  // a failed entry changes nothing
}

TEST_F(ColumnTypesTest, ChoiceSendsCellChangedOnlyWhenTheValueChanges) {
    TGridTable& cases = Table("Soillayer");
    cases.SetRowCount(2);
    int changes = 0;
    cases.OnCellChanged = [&](int col, int row) {
        EXPECT_EQ(col, 0);
        EXPECT_EQ(row, 1);
        ++changes;
    };
    cases.Cell(0, 1).SetInteger(1);
    EXPECT_EQ(changes, 0);
    cases.Cell(0, 1).SetInteger(2);
    EXPECT_EQ(changes, 1);
}

TEST_F(ColumnTypesTest, SharedByGroupSetsEveryRowOfTheGroup) {
    TGridTable& cases = Table("Soillayer");
    cases.SetRowGroup(2);
    cases.SetRowCount(4);
    cases.Columns(0).SharedByGroup = true;
    cases.Columns(2).SharedByGroup = true;
    cases.Cell(0, 3).SetInteger(2);
    cases.Cell(2, 2).SetFloat(1.5);
    EXPECT_EQ(cases.Cell(0, 2).AsInteger(), 2);
    EXPECT_EQ(cases.Cell(0, 1).AsInteger(), 1);
    EXPECT_EQ(cases.Cell(2, 3).AsFloat(), 1.5L);
    EXPECT_EQ(cases.Cell(2, 0).AsFloat(), 0.0L);
}

// ---- Integer columns ----

TEST_F(ColumnTypesTest, IntegerChecksOnlyWhileAnEditorIsOpen) {
    TGridTable& sections = Table("PileSect");  // column 1: 0 .. 2147483600
    testing::UseFakeEditors(workspace.Registry());
    sections.SetRowCount(1);
    sections.Cell(0, 0).SetText("2.5");  // no editor: stored, rounded half to even
    EXPECT_EQ(sections.Cell(0, 0).AsInteger(), 2);
    sections.Cell(0, 0).SetText("-7");
    EXPECT_EQ(sections.Cell(0, 0).AsInteger(), -7);

    sections.ShowEditor();
    EXPECT_EQ(MessageOf([&] { sections.Cell(0, 0).SetText("2.5"); }), "Entry must be an integer.");
    EXPECT_EQ(MessageOf([&] { sections.Cell(0, 0).SetText("-2.5"); }), "Entry must be an integer.");
    EXPECT_EQ(MessageOf([&] { sections.Cell(0, 0).SetText("-1"); }),
              "Entry must be between 0 and 2147483600.");
    EXPECT_EQ(MessageOf([&] { sections.Cell(0, 0).SetText("2147483601"); }),
              "Entry must be between 0 and 2147483600.");
    EXPECT_EQ(sections.Cell(0, 0).AsInteger(), -7);  // unchanged by the refused entries
    sections.Cell(0, 0).SetText("3*4");
    EXPECT_EQ(sections.Cell(0, 0).AsInteger(), 12);
    sections.Cell(0, 0).SetText("4.00000000001");  // within 1e-10 of an integer
    EXPECT_EQ(sections.Cell(0, 0).AsInteger(), 4);
    EXPECT_EQ(MessageOf([&] { sections.Cell(0, 0).SetText("abc"); }),
              "Entry could not be evaluated:\rinvalid character(s) in expression");
    sections.CloseEditor();
}

TEST_F(ColumnTypesTest, IntegerOutsideTheEditorMustStillFitTheCell) {
    TGridTable& sections = Table("PileSect");
    sections.SetRowCount(1);
    EXPECT_EQ(MessageOf([&] { sections.Cell(1, 0).SetText("1E10"); }),
              "Entry must be between -2147483648 and 2147483647.");
    EXPECT_EQ(sections.Cell(1, 0).AsInteger(), 1);
}

// ---- Float columns ----

TEST_F(ColumnTypesTest, FloatCaptionCarriesTheUnitLabelOnItsLastLine) {
    TGridTable& soil = Table("NewSoil");
    const TColumn& depth = soil.Columns(1);
    EXPECT_EQ(depth.GetCaption(0), "Depth at Bottom");
    EXPECT_EQ(depth.GetCaption(1), "of the Layer, (ft)  ");
    soil.SetUnits(2);
    EXPECT_EQ(depth.GetCaption(1), "of the Layer, (m)  ");
    TGridTable& cases = Table("Soillayer");
    EXPECT_EQ(cases.Columns(3).GetCaption(0), "Slope");  // no unit string
    EXPECT_EQ(Table("PYMod").Columns(1).GetCaption(0), "p-Multiplier");
}

TEST_F(ColumnTypesTest, FloatTextIsEvaluatedAndShownWithEightDigits) {
    TGridTable& weights = Table("SoilWeight");
    weights.SetRowCount(2);
    weights.Cell(1, 0).SetText("12*10");
    EXPECT_EQ(weights.Cell(1, 0).AsFloat(), 120.0L);
    weights.Cell(1, 1).SetText("1/3");
    EXPECT_EQ(weights.Cell(1, 1).AsText(), "0.33333333");
    weights.Cell(1, 1).SetText("123456789");
    EXPECT_EQ(weights.Cell(1, 1).AsText(), "1.2345679E8");
    EXPECT_THROW(weights.Cell(1, 1).SetText(""), EAssignError);
    EXPECT_EQ(weights.Cell(1, 1).AsFloat(), 123456789.0L);
    // Beyond the double range a value could not be saved: refused, the cell keeps its value.
    for (const char* text : {"1E4000", "-1E309", "1E300*1E300"}) {
        EXPECT_EQ(MessageOf([&] { weights.Cell(1, 1).SetText(text); }),
                  "Entry must be between -1.7976931E308 and 1.7976931E308.")
            << text;
        EXPECT_EQ(weights.Cell(1, 1).AsText(), "1.2345679E8");
    }
    weights.Cell(1, 1).SetText("1.7976931E308");
    EXPECT_EQ(weights.Cell(1, 1).AsText(), "1.7976931E308");
    weights.Cell(1, 1).SetText("1E-4000");
    EXPECT_EQ(weights.Cell(1, 1).AsText(), "0");
}

TEST_F(ColumnTypesTest, UnitSwitchLeavesUnitlessAndSeeNotesColumnsAlone) {
    TGridTable& surcharges = Table("SurchargeTable");
    surcharges.SetRowCount(1);
    surcharges.Cell(1, 0).SetFloat(500);  // "SEE NOTES"
    surcharges.Cell(2, 0).SetFloat(100);  // "L1": in / mm
    TGridTable& factors = Table("PYMod");
    factors.SetRowCount(2);
    factors.Cell(0, 0).SetFloat(10);  // ft
    workspace.SetUnits(2);
    EXPECT_EQ(surcharges.Cell(1, 0).AsFloat(), 500.0L);
    EXPECT_NEAR(static_cast<double>(surcharges.Cell(2, 0).AsFloat()), 2540.0, 1e-6);
    EXPECT_EQ(factors.Cell(1, 0).AsFloat(), 1.0L);  // p-multiplier default, no unit
    EXPECT_NEAR(static_cast<double>(factors.Cell(0, 0).AsFloat()), 3.048, 1e-9);
    workspace.SetUnits(1);
    EXPECT_NEAR(static_cast<double>(factors.Cell(0, 0).AsFloat()), 10.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(surcharges.Cell(2, 0).AsFloat()), 100.0, 1e-9);
}

// ---- Sub-table columns ----

TEST_F(ColumnTypesTest, SoilTypeChoosesTheParameterTableOfTheRow) {
    TGridTable& soil = Table("NewSoil");
    soil.SetRowCount(2);
    TGridTable& clay = soil.Cell(2, 0).AsTable();  // type 1: soft clay
    EXPECT_EQ(clay.Caption, "Clay");
    EXPECT_EQ(clay.ColumnCount(), 4);
    EXPECT_EQ(clay.RowCount(), 2);
    EXPECT_EQ(clay.Number(), 1);
    EXPECT_EQ(clay.Owner(), &soil);
    clay.Cell(1, 1).SetFloat(800);

    soil.Cell(0, 0).SetInteger(4);  // sand: a fresh copy, old values lost
    TGridTable& sand = soil.Cell(2, 0).AsTable();
    EXPECT_EQ(sand.Caption, "Sand");
    EXPECT_EQ(sand.ColumnCount(), 3);
    EXPECT_EQ(sand.RowCount(), 2);
    EXPECT_EQ(sand.MinRows(), 2);
    EXPECT_EQ(sand.MaxRows, 2);
    EXPECT_EQ(sand.Columns(2).GetCaption(0), "k(py) (lbs/in^3)  ");

    soil.Cell(0, 0).SetInteger(2);
    EXPECT_EQ(soil.Cell(2, 0).AsTable().Caption, "Clay");
    EXPECT_EQ(soil.Cell(2, 0).AsTable().Cell(1, 1).AsFloat(), 0.0L);
    soil.Cell(0, 1).SetInteger(7);
    EXPECT_EQ(soil.Cell(2, 1).AsTable().Caption, "Weak Rock");
    // The copy takes the template's comments as the program set them at start-up.
    EXPECT_EQ(soil.Cell(2, 1).AsTable().Comments, Table("TblRock2").Comments);
    EXPECT_EQ(Table("TblRock2").Comments.substr(0, 6), "* krm ");
}

TEST_F(ColumnTypesTest, ChoiceOutsideTheTemplateListIsAnIndexError) {
    TGridTable& soil = Table("NewSoil");
    soil.SetRowCount(1);
    EXPECT_THROW(soil.Cell(0, 0).SetInteger(8), EListError);
    EXPECT_THROW(soil.Cell(0, 0).SetInteger(0), EListError);
}

TEST_F(ColumnTypesTest, InsertAndDeleteRenumberTheSubTables) {
    TGridTable& curves = Table("PYCurves");
    curves.SetRowCount(3);
    TGridTable* second = &curves.Cell(1, 1).AsTable();
    TGridTable* third = &curves.Cell(1, 2).AsTable();
    EXPECT_EQ(third->Number(), 3);
    EXPECT_EQ(third->Caption, "External p-y Curve");
    EXPECT_EQ(third->RowCount(), 2);

    curves.InsertRowGroup(1);
    EXPECT_EQ(&curves.Cell(1, 2).AsTable(), second);
    EXPECT_EQ(second->Number(), 3);
    EXPECT_EQ(third->Number(), 4);
    EXPECT_EQ(curves.Cell(1, 1).AsTable().Number(), 2);

    curves.DeleteRowGroup(0);
    EXPECT_EQ(second->Number(), 2);
    EXPECT_EQ(third->Number(), 3);
}

TEST_F(ColumnTypesTest, SubTablesFollowUnitsAndChangedFlags) {
    TGridTable& sets = Table("MEICurves");
    sets.SetRowCount(1);
    TGridTable& points = sets.Cell(2, 0).AsTable();
    EXPECT_EQ(points.Caption, "Moment and EI data");
    EXPECT_EQ(points.RowCount(), 1);
    points.Cell(0, 0).SetFloat(1000);  // lbs-in
    EXPECT_FALSE(sets.IsChanged());
    points.SetChanged(true);
    EXPECT_TRUE(sets.IsChanged());
    sets.SetChanged(false);
    EXPECT_FALSE(points.IsChanged());

    sets.SetUnits(2);
    EXPECT_EQ(points.Units(), 2);
    EXPECT_NEAR(static_cast<double>(points.Cell(0, 0).AsFloat()), 1000 / 8850.745028, 1e-9);
    sets.SetRowCount(2);  // a new row's copy takes the owner's system
    EXPECT_EQ(sets.Cell(2, 1).AsTable().Units(), 2);
}

TEST_F(ColumnTypesTest, ButtonsShowRowAndCaptionAndOpenTheSubTableEditor) {
    testing::UseFakeEditors(workspace.Registry());
    TGridTable& soil = Table("NewSoil");
    soil.SetRowCount(3);
    soil.Cell(0, 2).SetInteger(4);
    auto& column = static_cast<TTableColumn&>(soil.Columns(2));
    EXPECT_EQ(column.ButtonText(2), "3: Sand");
    EXPECT_EQ(column.ButtonText(0), "1: Clay");

    FakeHost host;
    column.AllocateControls(&host, 1, 2);
    ASSERT_EQ(column.ControlCount(), 2);
    auto* button = static_cast<TButtonControl*>(column.GetControl(1));
    EXPECT_EQ(button->Caption(), "3: Sand");
    EXPECT_EQ(button->Tag(), 2);
    EXPECT_FALSE(button->Visible());

    soil.Cell(0, 2).SetInteger(1);  // the shown button follows a new soil type
    EXPECT_EQ(button->Caption(), "3: Clay");

    button->OnClick(*button);
    TGridTable& clay = soil.Cell(2, 2).AsTable();
    ASSERT_TRUE(clay.EditorOpen());
    EXPECT_FALSE(clay.Editor()->IsModal());
    clay.CloseEditor();

    soil.ShowEditorModal();  // from a modal editor the sub-table opens modally too
    button->OnClick(*button);
    EXPECT_TRUE(clay.Editor()->IsModal());
    soil.CloseEditor();  // closes the sub-table editors as well
    EXPECT_FALSE(clay.EditorOpen());
}

TEST_F(ColumnTypesTest, ButtonAllocationChecksItsArguments) {
    TGridTable& soil = Table("NewSoil");
    soil.SetRowCount(3);
    TColumn& column = soil.Columns(2);
    FakeHost host, other;
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(nullptr, 0, 1); }), "null parent");
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(&host, -1, 1); }), "ATopRow -1");
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(&host, 3, 1); }), "ATopRow 3");
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(&host, 1, 0); }), "ACount 0");
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(&host, 1, 3); }), "ACount 3");
    column.AllocateControls(&host, 0, 3);
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(&other, 0, 3); }),
              "Attempt to change parent with controls already allocated");
    column.AllocateControls(&host, 0, 1);  // same host: keeps exactly one button
    EXPECT_EQ(column.ControlCount(), 1);
    EXPECT_EQ(host.buttonsMade, 3);
    column.FreeControls();
    column.AllocateControls(&other, 0, 2);
    EXPECT_EQ(other.buttonsMade, 2);
}

TEST_F(ColumnTypesTest, ComboBoxesEditTheChoices) {
    testing::UseFakeEditors(workspace.Registry());
    TGridTable& soil = Table("NewSoil");
    soil.SetRowCount(2);
    soil.ShowEditor();
    TColumn& column = soil.Columns(0);
    FakeHost host, other;
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(nullptr, 0, 2); }), "null parent");
    column.AllocateControls(&host, 0, 2);
    auto* combo = static_cast<TComboBoxControl*>(column.GetControl(1));
    EXPECT_EQ(combo->Items().size(), 7u);
    EXPECT_EQ(combo->Items()[1], "Stiff Clay with Fee Water");
    EXPECT_EQ(combo->DropDownCount(), 11);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(MessageOf([&] { column.AllocateControls(&other, 0, 2); }),
              "Error attempt to change parent with controls already allocated");

    combo->SetItemIndex(3);  // the user picks Sand
    combo->OnChange(*combo);
    EXPECT_EQ(soil.Cell(0, 1).AsInteger(), 4);
    EXPECT_EQ(soil.Cell(2, 1).AsTable().Caption, "Sand");
    soil.Cell(0, 1).SetInteger(6);  // and the combo box follows the model
    EXPECT_EQ(combo->ItemIndex(), 5);

    combo->OnEnter(*combo);
    EXPECT_EQ(testing::EditorOf(soil).focused, std::make_pair(0, 1));
    combo->SetTag(-1);
    EXPECT_EQ(MessageOf([&] { combo->OnChange(*combo); }), "Unexpected row for combobox");
    soil.CloseEditor();
    EXPECT_EQ(column.ControlCount(), 0);
}

// ---- Text columns and widths ----

TEST_F(ColumnTypesTest, TextColumnsStoreAsTyped) {
    TTableRegistry registry;
    TGridTable table(registry);
    TTableDeclaration d;
    d.Columns = {TextColumn({"Name"}, "wall", 1.25L)};
    table.LoadDeclaration(d);
    table.SetRowCount(1);
    EXPECT_EQ(table.Cell(0, 0).AsText(), "wall");
    table.Cell(0, 0).SetText("2*3 stays text");
    EXPECT_EQ(table.Cell(0, 0).AsText(), "2*3 stays text");
    const auto textWidth = [](const std::string& s) { return static_cast<int>(s.size()) * 6; };
    EXPECT_EQ(table.Columns(0).MinWidth(textWidth, 96), 120);  // 1.25 inch
}

TEST_F(ColumnTypesTest, MinimumWidthsOfTheKinds) {
    const auto narrow = [](const std::string&) { return 10; };
    const auto wide = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
    EXPECT_EQ(Table("NewSoil").Columns(0).MinWidth(narrow, 96), 144);  // choice: 1.5 inch
    EXPECT_EQ(Table("PileSect").Columns(0).MinWidth(narrow, 96), 72);  // integer: 0.5 inch
    EXPECT_EQ(Table("SoilWeight").Columns(0).MinWidth(narrow, 96), 72);  // float: 0.5 inch
    EXPECT_EQ(Table("NewSoil").Columns(2).MinWidth(narrow, 96), 192);  // sub-table: 2 inches
    // The widest caption line plus two blanks wins when it is wider.
    EXPECT_EQ(Table("PileSect").Columns(0).MinWidth(wide, 96),
              static_cast<int>(std::string("From Node No. (Start)  ").size()) * 7);
}

// ---- Column-type registry ----

TEST(TColumnTypeRegistry, CodesBothWaysAndShutdown) {
    TColumnTypeRegistry& registry = TColumnTypeRegistry::Instance();
    EXPECT_EQ(registry.CodeOf("TEnumColumn"), 0);
    EXPECT_EQ(registry.CodeOf("TStringColumn"), 4);
    EXPECT_EQ(registry.CodeOf("TMemoColumn"), -1);
    EXPECT_EQ(registry.ClassOf(2), "TFloatColumn");
    EXPECT_EQ(registry.ClassOf(5), "");

    TColumnTypeRegistry local;
    local.Register("TEnumColumn", 0, nullptr);
    local.Register("TExtraColumn", 9, nullptr);
    EXPECT_EQ(MessageOf([&] { local.Shutdown(); }), "Column Type list not empty");
    TColumnTypeRegistry clean;
    clean.Register("TIntColumn", 1, nullptr);
    EXPECT_NO_THROW(clean.Shutdown());
    EXPECT_EQ(clean.Count(), 0);
}

}  // namespace
}  // namespace torvex

namespace torvex {
namespace {

// A row object that is not a table, made by the table's events.
struct TNote : TObject {
    int row = -1;
    int units = 1;
    bool changed = false;
    bool hidden = false;
};

TEST(TTableColumnEvents, RowObjectsThatAreNotTablesLiveThroughTheEvents) {
    TTableRegistry registry;
    TGridTable table(registry);
    TTableDeclaration d;
    d.Columns = {IntColumn({"Node"}, 0, 0, 9), SubTableColumn({"Notes"}, {-1})};
    table.LoadDeclaration(d);
    int clicks = 0;
    table.OnInitRow = [](TGridTable&, int col, int, int enumType, std::unique_ptr<TObject>& data) {
        EXPECT_EQ(col, 1);
        EXPECT_EQ(enumType, 1);  // no choice column: choice 1
        data = std::make_unique<TNote>();
    };
    table.OnSetRow = [](TGridTable&, int, TObject* data, int row) { static_cast<TNote*>(data)->row = row; };
    table.OnGetButtonCaption = [](TGridTable&, int, int row, TObject*, std::string& caption) {
        caption = "note " + std::to_string(row);
    };
    table.OnSetUnits = [](TGridTable&, int, int, TObject* data, int system) {
        if (data) static_cast<TNote*>(data)->units = system;
    };
    table.OnGetChanged = [](TGridTable&, int, int, TObject* data, bool& changed) {
        changed = static_cast<TNote*>(data)->changed;
    };
    table.OnResetChanged = [](TGridTable&, int, int, TObject* data) { static_cast<TNote*>(data)->changed = false; };
    table.OnHide = [](TGridTable&, int, int, TObject* data) { static_cast<TNote*>(data)->hidden = true; };
    table.OnButtonClick = [&](TGridTable&, int, int row, TObject*) { clicks += row + 1; };

    table.SetRowCount(2);
    auto* second = static_cast<TNote*>(table.Columns(1).GetObject(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->row, 1);
    table.InsertRowGroup(0);  // renumbered through OnSetRow
    EXPECT_EQ(second->row, 2);
    auto& column = static_cast<TTableColumn&>(table.Columns(1));
    EXPECT_EQ(column.ButtonText(2), "note 2");
    EXPECT_THROW(table.Cell(1, 2).AsTable(), EInvalidCast);
    second->changed = true;
    EXPECT_TRUE(table.IsChanged());
    table.SetChanged(false);
    EXPECT_FALSE(second->changed);
    table.SetUnits(2);
    EXPECT_EQ(second->units, 2);
    table.CloseEditor();
    EXPECT_TRUE(second->hidden);
    column.ButtonClick(2);
    EXPECT_EQ(clicks, 3);
}

}  // namespace
}  // namespace torvex
