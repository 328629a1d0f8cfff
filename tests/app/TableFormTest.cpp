// The table editor window: what it shows on opening, its row buttons, the reading of typed
// cells (with the messages of bad entries), the embedded drop-down lists and sub-table
// buttons, its caption and its closing rules.

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "dataentry/ColumnTypes.h"
#include "dataentry/TableForm.h"
#include "desktop/UserInterface.h"
#include "project/Workspace.h"

using namespace torvex;

namespace {

// Answers every message box and remembers what it said.
class RecordingUserInterface : public testing::TRecordingInterface {
public:
    RecordingUserInterface() { answer = TAnswer::Yes; }
};

TTableForm* FormOf(const TGridTable& table) { return dynamic_cast<TTableForm*>(table.Editor()); }

QPushButton* Button(TTableForm* form, const char* name) {
    return form->findChild<QPushButton*>(name);
}

// Makes a cell current, as a click would, and returns its open editor with all text selected.
QLineEdit* EditCell(TTableForm* form, int row, int column) {
    QTableWidget* grid = form->Grid();
    grid->setCurrentCell(row, column);
    if (!form->CellEditor()) grid->editItem(grid->item(row, column));
    QLineEdit* editor = form->CellEditor();
    if (editor) editor->selectAll();
    return editor;
}

// Types an entry into a cell and presses Enter.
void Type(TTableForm* form, int row, int column, const QString& text) {
    QLineEdit* editor = EditCell(form, row, column);
    QVERIFY(editor != nullptr);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

QString CellText(TTableForm* form, int row, int column) {
    return form->Grid()->item(row, column)->text();
}

void DeleteLaterNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace

class TableFormTest : public QObject {
    Q_OBJECT
private slots:
    // Settings of the test's own, never the user's.
    void initTestCase() { torvex::testing::UseTemporarySettings(settingsDir_.path()); }
    void init() {
        SetUserInterface(&ui_);
        ui_.shown.clear();
        main_ = std::make_unique<TMainForm>();
        main_->resize(1200, 900);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        workspace_ = std::make_unique<TWorkspace>();
        InstallTableEditors(*workspace_, main_->Desk());
    }
    void cleanup() {
        workspace_.reset();
        main_.reset();
        DeleteLaterNow();
        SetUserInterface(nullptr);
    }

    // ---- opening ----

    void opensWithAtMostTenRowsAndScrollsTheRest() {
        TGridTable& table = workspace_->Table("DistLoad");
        table.SetRowCount(15);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QVERIFY(form != nullptr);
        QCOMPARE(form->objectName(), QString("TableForm"));
        QCOMPARE(form->ShownRows(), 10);
        QCOMPARE(form->Grid()->rowCount(), 15);
        QCOMPARE(form->Grid()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(form->Grid()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // The grid is exactly as tall as its header and ten whole rows.
        QTableWidget* grid = form->Grid();
        const int rowsHeight = grid->height() - 2 * grid->frameWidth() -
                               grid->horizontalHeader()->height();
        QCOMPARE(rowsHeight, 10 * grid->rowHeight(0));
        QCOMPARE(grid->verticalHeaderItem(14)->text(), QString("15"));
        QVERIFY(form->Frame() != form);  // a child window of the desk
        QCOMPARE(main_->Desk()->subWindowList().size(), 1);
    }

    void opensSmallTableWholeAndGrowsOnAddRow() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(3);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QCOMPARE(form->ShownRows(), 3);
        QCOMPARE(form->Grid()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        const int heightBefore = form->Grid()->height();
        Button(form, "BtnAdd")->click();
        QCOMPARE(table.RowCount(), 4);
        QCOMPARE(form->ShownRows(), 4);
        QCOMPARE(form->Grid()->rowCount(), 4);
        QCOMPARE(form->Grid()->height(), heightBefore + form->Grid()->rowHeight(0));
        QVERIFY(table.IsChanged());
        // New rows get the column defaults: the multipliers start at 1.
        QCOMPARE(CellText(form, 3, 1), QString("1"));
    }

    void showsCaptionsRowLabelsAndTopLeft() {
        TGridTable& pile = workspace_->Table("PileSect");
        pile.ShowEditor();
        TTableForm* form = FormOf(pile);
        QCOMPARE(form->Frame()->windowTitle(), QString("Wall Stiffness "));
        QCOMPARE(form->Grid()->findChild<QAbstractButton*>()->text(), QString("Section"));
        QCOMPARE(form->Grid()->horizontalHeaderItem(0)->text(), QString("From Node No. (Start)"));
        QCOMPARE(form->Grid()->columnCount(), 4);
        QCOMPARE(form->HeaderRows(), 1);
        QCOMPARE(form->Grid()->verticalHeaderItem(0)->text(), QString("1"));

        // Two caption lines; a shorter caption stays at the top.
        TGridTable& springs = workspace_->Table("SoilStrength");
        springs.ShowEditor();
        TTableForm* springForm = FormOf(springs);
        QCOMPARE(springForm->HeaderRows(), 2);
        QCOMPARE(springForm->Grid()->horizontalHeaderItem(1)->text(),
                 QString("From Node No.\n     (Start)"));
        QVERIFY(springForm->Grid()->horizontalHeaderItem(0)->text().endsWith("\n"));
        QVERIFY(springForm->findChild<QLabel*>("lblComments")->isVisible());
        QVERIFY(springForm->findChild<QLabel*>("lblComments")->text().startsWith(
            "The spring stiffnesses are applied at nodal points only"));
        QVERIFY(!form->findChild<QLabel*>("lblComments")->text().isEmpty());
        QCOMPARE(main_->Desk()->subWindowList().size(), 2);
    }

    void numbersRowsByRowGroup() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowGroup(2);
        table.SetRowCount(4);
        table.ShowEditor();
        QTableWidget* grid = FormOf(table)->Grid();
        QCOMPARE(grid->verticalHeaderItem(0)->text(), QString("1"));
        QCOMPARE(grid->verticalHeaderItem(1)->text(), QString("1"));
        QCOMPARE(grid->verticalHeaderItem(2)->text(), QString("2"));
        QCOMPARE(grid->verticalHeaderItem(3)->text(), QString("2"));
    }

    // ---- row buttons ----

    void fixedSizeTableShowsNoRowButtons() {
        TGridTable& soil = workspace_->Table("NewSoil");
        soil.ShowEditor();
        TGridTable& parameters = soil.Columns(2).GetTable(0);
        QCOMPARE(parameters.MinRows(), 2);
        QCOMPARE(parameters.MaxRows, 2);
        parameters.ShowEditor();
        TTableForm* form = FormOf(parameters);
        QVERIFY(!Button(form, "BtnAdd")->isVisible());
        QVERIFY(!Button(form, "BtnIns")->isVisible());
        QVERIFY(!Button(form, "BtnDel")->isVisible());
        QCOMPARE(form->ShownRows(), 2);
        // The soil table itself has them, with their texts.
        TTableForm* soilForm = FormOf(soil);
        QVERIFY(Button(soilForm, "BtnAdd")->isVisible());
        QCOMPARE(Button(soilForm, "BtnAdd")->text(), QString("&Add Row"));
        QCOMPARE(Button(soilForm, "BtnIns")->text(), QString("&Insert Row"));
        QCOMPARE(Button(soilForm, "BtnDel")->text(), QString("&Delete Row"));
        QVERIFY(Button(soilForm, "BtnAdd")->width() >= 81);
        QVERIFY(Button(soilForm, "BtnAdd")->height() >= 21);
    }

    void rowButtonsFollowTheRowLimits() {
        TGridTable& pile = workspace_->Table("PileSect");  // 1 to 10 rows
        pile.ShowEditor();
        TTableForm* form = FormOf(pile);
        QCOMPARE(pile.RowCount(), 1);
        QVERIFY(Button(form, "BtnAdd")->isEnabled());
        QVERIFY(Button(form, "BtnIns")->isEnabled());
        QVERIFY(!Button(form, "BtnDel")->isEnabled());
        for (int i = 0; i < 9; ++i) Button(form, "BtnAdd")->click();
        QCOMPARE(pile.RowCount(), 10);
        QVERIFY(!Button(form, "BtnAdd")->isEnabled());
        QVERIFY(!Button(form, "BtnIns")->isEnabled());
        QVERIFY(Button(form, "BtnDel")->isEnabled());
        Button(form, "BtnDel")->click();
        QCOMPARE(pile.RowCount(), 9);
        QVERIFY(Button(form, "BtnAdd")->isEnabled());

        TGridTable& longDist = workspace_->Table("LongDist");  // no upper limit
        longDist.ShowEditor();
        TTableForm* longForm = FormOf(longDist);
        for (int i = 0; i < 12; ++i) Button(longForm, "BtnAdd")->click();
        QCOMPARE(longDist.RowCount(), 13);
        QVERIFY(Button(longForm, "BtnAdd")->isEnabled());
        QVERIFY(Button(longForm, "BtnIns")->isEnabled());
        // Past ten rows the window stops growing and scrolls to the new last row.
        QCOMPARE(longForm->ShownRows(), 10);
        QCOMPARE(longForm->Grid()->verticalScrollBar()->value(), 3);
    }

    void insertAndDeleteWorkOnTheCurrentRow() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(3);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        Type(form, 0, 0, "1");
        Type(form, 1, 0, "2");
        Type(form, 2, 0, "3");
        form->Grid()->setCurrentCell(1, 0);
        Button(form, "BtnIns")->click();
        QCOMPARE(table.RowCount(), 4);
        QCOMPARE(CellText(form, 1, 0), QString("0"));
        QCOMPARE(CellText(form, 2, 0), QString("2"));
        QCOMPARE(form->ShownRows(), 4);
        form->Grid()->setCurrentCell(0, 0);
        Button(form, "BtnDel")->click();
        QCOMPARE(table.RowCount(), 3);
        QCOMPARE(CellText(form, 0, 0), QString("0"));
        QCOMPARE(CellText(form, 2, 0), QString("3"));
        QCOMPARE(form->ShownRows(), 3);
        QVERIFY(ui_.shown.isEmpty());
        // Without a current row there is nothing to insert before or delete.
        form->Grid()->setCurrentIndex(QModelIndex());
        Button(form, "BtnDel")->click();
        Button(form, "BtnIns")->click();
        QCOMPARE(ui_.shown, QStringList({"Grid.Row not in valid range", "Grid.Row not in valid range"}));
        QCOMPARE(table.RowCount(), 3);
    }

    // ---- typed entries ----

    void enterEvaluatesTheCellAndMovesDown() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(2);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QVERIFY(!table.IsChanged());
        Type(form, 0, 0, "2*3");
        QCOMPARE(table.Columns(0).GetFloat(0), 6.0L);
        QCOMPARE(CellText(form, 0, 0), QString("6"));
        QCOMPARE(form->Grid()->currentRow(), 1);
        QCOMPARE(form->Grid()->currentColumn(), 0);
        QVERIFY(table.IsChanged());
        QVERIFY(ui_.shown.isEmpty());
        // From the last row Enter goes to the top of the next column, and from the last
        // column back to the first.
        Type(form, 1, 0, "12*2");
        QCOMPARE(CellText(form, 1, 0), QString("24"));
        QCOMPARE(form->Grid()->currentRow(), 0);
        QCOMPARE(form->Grid()->currentColumn(), 1);
        form->Grid()->setCurrentCell(1, 2);
        QTest::keyClick(form->Grid(), Qt::Key_Return);
        QCOMPARE(form->Grid()->currentRow(), 0);
        QCOMPARE(form->Grid()->currentColumn(), 0);
    }

    void passingThroughCellsChangesNothing() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(2);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        form->Grid()->setCurrentCell(1, 1);
        form->Grid()->setCurrentCell(0, 2);
        QTest::keyClick(form->Grid(), Qt::Key_Return);
        QVERIFY(!table.IsChanged());
        QVERIFY(ui_.shown.isEmpty());
    }

    void badEntryIsReportedAndTheCellKept() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(2);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        Type(form, 0, 0, "abc");
        QCOMPARE(ui_.shown,
                 QStringList{"Entry could not be evaluated:\rinvalid character(s) in expression"});
        QCOMPARE(form->Grid()->currentRow(), 0);
        QCOMPARE(form->Grid()->currentColumn(), 0);
        QCOMPARE(CellText(form, 0, 0), QString("abc"));
        QCOMPARE(table.Columns(0).GetFloat(0), 0.0L);
        QVERIFY(!table.IsChanged());
        // A click elsewhere is refused just as Enter is.
        form->Grid()->setCurrentCell(1, 1);
        QCOMPARE(ui_.shown.size(), 2);
        QCOMPARE(form->Grid()->currentRow(), 0);
        QCOMPARE(form->Grid()->currentColumn(), 0);
        // So is a mouse click on another cell.
        QTableWidget* grid = form->Grid();
        const QRect other = grid->visualRect(grid->model()->index(1, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, other.center());
        QCOMPARE(ui_.shown.size(), 3);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 0);
        QCOMPARE(CellText(form, 0, 0), QString("abc"));
        // Arithmetic faults are entry errors too, never a crash.
        ui_.shown.clear();
        Type(form, 0, 0, "1/0");
        QCOMPARE(ui_.shown, QStringList{"Division by zero"});
        QCOMPARE(CellText(form, 0, 0), QString("1/0"));
        // Corrected, the entry is taken.
        Type(form, 0, 0, "2.5");
        QCOMPARE(table.Columns(0).GetFloat(0), 2.5L);
        QCOMPARE(form->Grid()->currentRow(), 1);
    }

    void integerCellChecksItsRange() {
        TGridTable& pile = workspace_->Table("PileSect");
        pile.ShowEditor();
        TTableForm* form = FormOf(pile);
        Type(form, 0, 0, "2.5");
        QCOMPARE(ui_.shown, QStringList{"Entry must be an integer."});
        QCOMPARE(CellText(form, 0, 0), QString("2.5"));
        Type(form, 0, 0, "2147483601");
        QCOMPARE(ui_.shown.last(), QString("Entry must be between 0 and 2147483600."));
        QCOMPARE(pile.Columns(0).GetInteger(0), 0);
        Type(form, 0, 0, "2147483600");
        QCOMPARE(pile.Columns(0).GetInteger(0), 2147483600);
        QCOMPARE(ui_.shown.size(), 2);
    }

    void leavingTheGridWithBadEntryComesBack() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(2);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QApplication::setActiveWindow(main_.get());
        QLineEdit* editor = EditCell(form, 0, 1);
        editor->setFocus();
        QTRY_VERIFY(editor->hasFocus());
        QTest::keyClicks(editor, "2+");
        Button(form, "BtnAdd")->setFocus();
        QCOMPARE(ui_.shown, QStringList{"Entry could not be evaluated:\rinvalid expression"});
        QTRY_VERIFY(form->Grid()->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(CellText(form, 0, 1), QString("2+"));
        QCOMPARE(table.Columns(1).GetFloat(0), 1.0L);
    }

    // ---- embedded controls ----

    void choosingSoilTypeRenewsTheParameterTable() {
        TGridTable& soil = workspace_->Table("NewSoil");
        soil.ShowEditor();
        TTableForm* form = FormOf(soil);
        QComboBox* type = form->Grid()->viewport()->findChild<QComboBox*>("CellComboBox");
        QPushButton* parameters =
            form->Grid()->viewport()->findChild<QPushButton*>("CellButton");
        QVERIFY(type && parameters);
        QVERIFY(type->isVisible());
        QVERIFY(parameters->isVisible());
        QCOMPARE(type->count(), 7);
        QCOMPARE(type->currentText(), QString("Soft Clay"));
        QCOMPARE(parameters->text(), QString("1: Clay"));
        // The controls sit on their cells.
        const QRect typeCell = form->Grid()->visualRect(form->Grid()->model()->index(0, 0));
        QVERIFY(typeCell.contains(type->geometry().center()));

        for (int i = 0; i < 3; ++i) QTest::keyClick(type, Qt::Key_Down);
        QCOMPARE(type->currentText(), QString("Sand"));
        QCOMPARE(soil.Columns(0).GetInteger(0), 4);
        QCOMPARE(soil.Columns(2).GetTable(0).Caption, std::string("Sand"));
        QCOMPARE(parameters->text(), QString("1: Sand"));
        QVERIFY(soil.IsChanged());

        // The button opens the row's parameter table.
        parameters->click();
        TGridTable& sand = soil.Columns(2).GetTable(0);
        QVERIFY(FormOf(sand) != nullptr);
        QCOMPARE(FormOf(sand)->Frame()->windowTitle(), QString("Sand  1"));
        QCOMPARE(FormOf(sand)->Grid()->columnCount(), 3);
    }

    void parameterEditorGoesWithItsTable() {
        TGridTable& soil = workspace_->Table("NewSoil");
        soil.ShowEditor();
        TTableForm* form = FormOf(soil);
        soil.Columns(2).GetTable(0).ShowEditor();
        QPointer<TTableForm> clayForm = FormOf(soil.Columns(2).GetTable(0));
        QVERIFY(clayForm);
        QComboBox* type = form->Grid()->viewport()->findChild<QComboBox*>("CellComboBox");
        QTest::keyClick(type, Qt::Key_Down);  // stiff clay: a new copy of the clay table
        DeleteLaterNow();
        QVERIFY(clayForm.isNull());
        QVERIFY(!soil.Columns(2).GetTable(0).EditorOpen());
        QCOMPARE(main_->Desk()->subWindowList().size(), 1);
    }

    void addedRowsGetControlsToo() {
        TGridTable& soil = workspace_->Table("NewSoil");
        soil.ShowEditor();
        TTableForm* form = FormOf(soil);
        Button(form, "BtnAdd")->click();
        Button(form, "BtnAdd")->click();
        QList<QPushButton*> buttons;
        for (QPushButton* button : form->Grid()->viewport()->findChildren<QPushButton*>("CellButton"))
            if (button->isVisible()) buttons << button;
        QCOMPARE(buttons.size(), 3);
        QStringList texts;
        for (QPushButton* button : buttons) texts << button->text();
        texts.sort();
        QCOMPARE(texts, (QStringList{"1: Clay", "2: Clay", "3: Clay"}));
        // Entering the drop-down list of a row makes that row current: Delete removes it.
        QApplication::setActiveWindow(main_.get());
        QComboBox* third = nullptr;
        for (QComboBox* box : form->Grid()->viewport()->findChildren<QComboBox*>("CellComboBox"))
            if (box->geometry().top() > form->Grid()->rowViewportPosition(1)) third = box;
        QVERIFY(third != nullptr);
        QTest::keyClick(third, Qt::Key_Down);
        third->setFocus();
        QTRY_COMPARE(form->Grid()->currentRow(), 2);
        Button(form, "BtnDel")->click();
        QCOMPARE(soil.RowCount(), 2);
        QCOMPARE(soil.Columns(0).GetInteger(0), 1);
        QCOMPARE(soil.Columns(0).GetInteger(1), 1);
        QVERIFY(ui_.shown.isEmpty());
        // The cells under the controls are never selected from the grid.
        form->Grid()->setCurrentCell(1, 1);
        form->Grid()->setCurrentCell(1, 2);
        QCOMPARE(form->Grid()->currentColumn(), 1);
        form->Grid()->setCurrentCell(0, 0);
        QCOMPARE(form->Grid()->currentRow(), 1);
        QCOMPARE(form->Grid()->currentColumn(), 1);
    }

    // ---- captions ----

    void subTableCaptionCarriesTheRowNumber() {
        TGridTable& curves = workspace_->Table("PYCurves");
        curves.SetRowCount(3);
        curves.ShowEditor();
        TTableForm* form = FormOf(curves);
        QCOMPARE(form->Frame()->windowTitle(), QString("Sets of Ext. p-y Curves "));
        QPushButton* third = nullptr;
        for (QPushButton* button : form->Grid()->viewport()->findChildren<QPushButton*>("CellButton"))
            if (button->text() == "3: External p-y Curve") third = button;
        QVERIFY(third != nullptr);
        third->click();
        TTableForm* curveForm = FormOf(curves.Columns(1).GetTable(2));
        QVERIFY(curveForm != nullptr);
        QCOMPARE(curveForm->Frame()->windowTitle(), QString("External p-y Curve  3"));
        QCOMPARE(TTableForm::CaptionOf(curves.Columns(1).GetTable(2)),
                 QString("External p-y Curve  3"));
        // Renumbered when a row is inserted above it.
        form->Grid()->setCurrentCell(0, 0);
        Button(form, "BtnIns")->click();
        QCOMPARE(curveForm->Frame()->windowTitle(), QString("External p-y Curve  4"));
    }

    // ---- closing ----

    void closingWithBadCellIsRefused() {
        TGridTable& table = workspace_->Table("PYMod");
        table.SetRowCount(2);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QPointer<QWidget> frame = form->Frame();
        QLineEdit* editor = EditCell(form, 1, 1);
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, "abc");
        QVERIFY(!frame->close());
        QCOMPARE(ui_.shown,
                 QStringList{"Entry could not be evaluated:\rinvalid character(s) in expression"});
        QCOMPARE(table.Editor(), static_cast<TTableEditor*>(form));
        QVERIFY(frame->isVisible());
        // Corrected, the window closes and lets go of the table.
        editor = form->CellEditor();
        QVERIFY(editor != nullptr);
        editor->setText("7");
        QVERIFY(frame->close());
        QVERIFY(!table.EditorOpen());
        QVERIFY(!table.OnStructureChanged);
        QVERIFY(!table.OnCellChanged);
        QCOMPARE(table.ControlHost(), nullptr);
        QCOMPARE(table.Columns(1).GetFloat(1), 7.0L);
        DeleteLaterNow();
        QVERIFY(frame.isNull());
    }

    void closeEditorFreesTheWindowWithoutAsking() {
        TGridTable& soil = workspace_->Table("NewSoil");
        soil.ShowEditor();
        QPointer<QWidget> frame = FormOf(soil)->Frame();
        QLineEdit* editor = EditCell(FormOf(soil), 0, 1);
        QTest::keyClicks(editor, "abc");
        soil.CloseEditor();
        QVERIFY(!soil.EditorOpen());
        QCOMPARE(soil.Columns(0).ControlCount(), 0);
        QCOMPARE(soil.Columns(2).ControlCount(), 0);
        DeleteLaterNow();
        QVERIFY(frame.isNull());
        QVERIFY(ui_.shown.isEmpty());
        // Opened again, it is a fresh window.
        soil.ShowEditor();
        QVERIFY(FormOf(soil) != nullptr);
        QCOMPARE(FormOf(soil)->Grid()->rowCount(), 1);
    }

    void modalEditorRunsUntilClosed() {
        TGridTable& table = workspace_->Table("PYMod");
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            TTableForm* form = FormOf(table);
            wasModal = form && form->IsModal() && form->isModal() && form->isWindow();
            if (form) form->close();
        });
        table.ShowEditorModal();
        QVERIFY(wasModal);
        QVERIFY(!table.EditorOpen());
    }

    // ---- resizing ----

    void resizingShowsWholeRows() {
        TGridTable& table = workspace_->Table("DistLoad");
        table.SetRowCount(15);
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QWidget* frame = form->Frame();
        const int row = form->Grid()->rowHeight(0);
        frame->resize(frame->width(), frame->height() - 3 * row - row / 2);
        QTRY_COMPARE(form->ShownRows(), 6);
        QTRY_COMPARE(form->size(), form->sizeHint());
        QTableWidget* grid = form->Grid();
        QCOMPARE(grid->height() - 2 * grid->frameWidth() - grid->horizontalHeader()->height(),
                 6 * row);
        // Taller than the table: every row, no scroll bar.
        frame->resize(frame->width(), frame->height() + 20 * row);
        QTRY_COMPARE(form->ShownRows(), 15);
        QTRY_COMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QTRY_COMPARE(form->size(), form->sizeHint());
    }

    void resizingShowsWholeColumns() {
        TGridTable& table = workspace_->Table("BoundCond");  // six columns
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QTableWidget* grid = form->Grid();
        QCOMPARE(form->ShownColumns(), 6);
        QWidget* frame = form->Frame();
        frame->resize(frame->width() - grid->columnWidth(5) - grid->columnWidth(4) / 2,
                      frame->height());
        QTRY_COMPARE(form->ShownColumns(), 4);
        QTRY_COMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QTRY_COMPARE(form->size(), form->sizeHint());
        int shownWidth = 0;
        for (int k = 0; k < 4; ++k) shownWidth += grid->columnWidth(k);
        QCOMPARE(grid->viewport()->width(), shownWidth);
    }

    void draggingTheLeftEdgeKeepsTheRightEdge() {
        TGridTable& table = workspace_->Table("BoundCond");  // six columns
        table.ShowEditor();
        TTableForm* form = FormOf(table);
        QTableWidget* grid = form->Grid();
        QWidget* frame = form->Frame();
        QTRY_COMPARE(form->size(), form->sizeHint());
        const QRect before = frame->geometry();
        const int cut = grid->columnWidth(5) + grid->columnWidth(4) / 2;
        frame->setGeometry(before.adjusted(cut, 0, 0, 0));
        QTRY_COMPARE(form->ShownColumns(), 4);
        QTRY_COMPARE(form->size(), form->sizeHint());
        QTRY_COMPARE(frame->geometry().right(), before.right());
        QCOMPARE(frame->geometry().top(), before.top());
        QVERIFY(frame->geometry().left() > before.left());
        QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    // ---- picture of the soil editor ----

    void screenshotOfSoilEditor() {
        TGridTable& soil = workspace_->Table("NewSoil");
        soil.ShowEditor();
        TTableForm* form = FormOf(soil);
        Button(form, "BtnAdd")->click();
        QComboBox* type = form->Grid()->viewport()->findChild<QComboBox*>("CellComboBox");
        for (int i = 0; i < 3; ++i) QTest::keyClick(type, Qt::Key_Down);
        Type(form, 0, 1, "12*2");
        Type(form, 1, 1, "40");
        soil.Columns(2).GetTable(0).ShowEditor();
        TTableForm* sand = FormOf(soil.Columns(2).GetTable(0));
        QVERIFY(sand != nullptr);
        sand->Frame()->move(form->Frame()->geometry().right() + 20, 0);
        Type(sand, 0, 0, "120");
        Type(sand, 1, 0, "125");
        QTest::qWait(50);
        const QString shot = QCoreApplication::applicationDirPath() + "/screenshot-soil-editor.png";
        QVERIFY(main_->grab().save(shot));
        QVERIFY(ui_.shown.isEmpty());
    }

private:
    RecordingUserInterface ui_;
    QTemporaryDir settingsDir_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TWorkspace> workspace_;
};

QTEST_MAIN(TableFormTest)
#include "TableFormTest.moc"
