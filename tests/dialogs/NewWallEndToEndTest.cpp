// A new wall from New to results, through the widgets only: the menu items, the dialogs'
// fields, the table editors' cells and controls, Save As and Run Analysis. The wall is the
// bundled cantilever sheet pile in sand, so the saved file must be that example byte for byte.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "dataentry/DataEdit.h"
#include "dataentry/TableForm.h"
#include "dialogs/LoadDialogs.h"
#include "dialogs/WallDialogs.h"

using namespace torvex;
using torvex::testing::TRecordingInterface;

namespace {

const QString kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

// Types into a table cell as the table editor tests do: the cell made current, its editor
// opened, the text typed and Enter pressed.
void TypeCell(TTableForm* form, int row, int column, const QString& text) {
    QTableWidget* grid = form->Grid();
    grid->setCurrentCell(row, column);
    if (!form->CellEditor()) grid->editItem(grid->item(row, column));
    QLineEdit* editor = form->CellEditor();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

TTableForm* ActiveTable(TMainForm& form) {
    QMdiSubWindow* active = form.Desk()->activeSubWindow();
    return active ? qobject_cast<TTableForm*>(active->widget()) : nullptr;
}

QMdiSubWindow* Dialog(TMainForm& form, const char* action, const char* name) {
    emit form.Menu(QString(action).startsWith("Options") ? "OptionsMenu" : "DataMenu")->aboutToShow();
    if (!form.Action(action)->isEnabled()) return nullptr;
    form.Action(action)->trigger();
    return form.SingleChild(name);
}

}  // namespace

class NewWallEndToEndTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    TRecordingInterface ui_;

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
    }
    void cleanupTestCase() { SetUserInterface(nullptr); }

    void newWallFromNewToResults() {
        QTemporaryDir jobs, run;
        const QString startDir = QDir::currentPath();
        TMainForm form;
        form.resize(1400, 1000);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);

        form.Action("FileNew")->trigger();
        QVERIFY(form.Desk()->subWindowList().isEmpty());

        // Title.
        auto* title = qobject_cast<TdlgTitle*>(Dialog(form, "DataTitle", "dlgTitle")->widget());
        Type(title->TitleMemo, "Cantilever sheet-pile wall in medium dense sand");

        // Wall Properties, and the stiffness table from its button.
        auto* prop = qobject_cast<TDlgProp*>(Dialog(form, "DataProp", "DlgProp")->widget());
        QVERIFY(prop);
        Type(prop->deNI, "100");
        Type(prop->deXGS, "3.6");
        Type(prop->DeFH, "10");  // ft
        Type(prop->deXLN, "24");
        Type(prop->deSlope, "1E-5");
        QTest::mouseClick(prop->btnSect, Qt::LeftButton);
        TTableForm* section = ActiveTable(form);
        QVERIFY(section);
        QCOMPARE(section->Table(), form.Workspace().FindTable("PileSect"));
        TypeCell(section, 0, 1, "100");
        TypeCell(section, 0, 3, "5.3418E9");
        QCOMPARE(form.Workspace().Project().NumIncrements, 100);

        // Generated triangular earth pressure, from the Options menu.
        emit form.Menu("OptionsMenu")->aboutToShow();
        form.Action("Gentriangular")->trigger();

        // Wall Configuration.
        auto* csd = qobject_cast<TdlgCSD*>(Dialog(form, "DataCSD", "dlgCSD")->widget());
        QVERIFY(csd);
        QCOMPARE(csd->deHL->text(), QString("10"));
        Type(csd->deWidth, "12");
        Type(csd->dePYW, "12");
        Type(csd->deHW, "50");
        Type(csd->DeHW2, "50");

        // One sand layer 40 ft deep, with its parameters.
        emit form.Menu("DataMenu")->aboutToShow();
        form.Action("DataAxLoads")->trigger();
        TTableForm* soil = ActiveTable(form);
        QVERIFY(soil);
        QComboBox* type = soil->Grid()->viewport()->findChild<QComboBox*>("CellComboBox");
        QVERIFY(type);
        for (int i = 0; i < 3; ++i) QTest::keyClick(type, Qt::Key_Down);
        QCOMPARE(type->currentText(), QString("Sand"));
        TypeCell(soil, 0, 1, "40");
        QTest::mouseClick(soil->Grid()->viewport()->findChild<QPushButton*>("CellButton"),
                          Qt::LeftButton);
        TTableForm* sand = ActiveTable(form);
        QVERIFY(sand && sand != soil);
        for (int row = 0; row < 2; ++row) {
            TypeCell(sand, row, 0, "115");  // pcf
            TypeCell(sand, row, 1, "32");
            TypeCell(sand, row, 2, "90");   // pci
        }

        // Save As, then Run Analysis.
        const QString data = jobs.filePath("sand wall.tx4d");
        ui_.savePath = data;
        emit form.Menu("FileMenu")->aboutToShow();
        form.Action("FileSaveAs")->trigger();
        QCOMPARE(form.Workspace().Project().FileName, data.toStdString());
        QFile saved(data);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QFile example(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d");
        QVERIFY(example.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), example.readAll());

        QVERIFY(ui_.shown.isEmpty());
        form.Action("CompRun")->trigger();
        QCOMPARE(ui_.shown, QStringList({kCompleted}));
        QVERIFY(form.PlotLoaded());
        for (const char* button : {"SpeedButton8", "SpeedButton11", "SpeedButton10",
                                   "SpeedButton12", "SpeedButton5"})
            QVERIFY2(form.Action(button)->isEnabled(), button);
        QVERIFY(QFile::exists(jobs.filePath("sand wall.tx4p")));
        QDir::setCurrent(startDir);
    }
};

QTEST_MAIN(NewWallEndToEndTest)
#include "NewWallEndToEndTest.moc"
