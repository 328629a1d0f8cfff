// A value typed into a table cell and not yet left belongs to the project for every command
// that reads it: the short-cuts and buttons save, analyse, ask to save and switch stages with
// it, and a bad entry stops the command with its message. Also: exceptions that no command
// caught, and the program in a desktop locale with a decimal comma.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <clocale>
#include <memory>
#include <new>
#include <utility>
#include <stdexcept>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "dataentry/NumberText.h"
#include "dataentry/TableForm.h"
#include "project/StageFiles.h"

using torvex::TMainForm;
using torvex::TTableForm;

namespace {

const QString kSavePrompt = "Do you want to save any changes?";
const QString kBadEntry = "Entry could not be evaluated:\rinvalid character(s) in expression";

TTableForm* EditorOf(TMainForm& form, const char* table) {
    return dynamic_cast<TTableForm*>(form.Workspace().Table(table).Editor());
}

// The wall's stiffness table and its flexural-stiffness column: written to every data file.
constexpr const char* kStiffness = "PileSect";
constexpr int kEI = 3;

// Opens the table's editor and types `text` into a cell of its first row without leaving it:
// the keys go to the cell's editor, as a user's would.
QLineEdit* TypeWithoutLeaving(TMainForm& form, const char* table, const QString& text,
                              int column = kEI) {
    form.ShowTableEditor(table);
    TTableForm* editor = EditorOf(form, table);
    if (!editor) return nullptr;
    QTableWidget* grid = editor->Grid();
    grid->setCurrentCell(0, column);
    if (!editor->CellEditor()) grid->editItem(grid->item(0, column));
    QLineEdit* cell = editor->CellEditor();
    if (!cell) return nullptr;
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, text);
    return cell;
}

long double Stiffness(TMainForm& form) {
    return form.Workspace().Table(kStiffness).Columns(kEI).GetFloat(0);
}

void ClickToolButton(TMainForm& form, const char* name) {
    QWidget* button = form.ToolBar()->widgetForAction(form.Action(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class PendingEditsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    torvex::testing::TRecordingInterface ui_;
    QString startDir_;
    std::unique_ptr<QTemporaryDir> jobs_;
    std::unique_ptr<TMainForm> form_;

    // The main window, shown and active, with a copy of a bundled example open.
    TMainForm& Open(const char* example) {
        const QString data = jobs_->filePath(example);
        QFile::copy(QString(TORVEX_SOURCE_DIR "/examples/") + example, data);
        form_ = std::make_unique<TMainForm>();
        form_->resize(1000, 700);
        form_->SetProgramFolder(jobs_->path());
        form_->SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form_->OpenFileName(data);
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ui_.Clear();
        return *form_;
    }
    QString DataFile(const char* example) const { return jobs_->filePath(example); }

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void init() {
        jobs_ = std::make_unique<QTemporaryDir>();
        ui_.Clear();
        ui_.answer = torvex::TAnswer::Cancel;
    }
    void cleanup() {
        form_.reset();
        QDir::setCurrent(startDir_);
    }

    void ctrlSSavesTheTypedCell() {
        TMainForm& form = Open("cantilever-sand.tx4d");
        QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, "2*3.5E9");
        QVERIFY(cell);
        QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ui_.shown.isEmpty());
        QCOMPARE(Stiffness(form), 7E9L);
        QVERIFY(!form.IsModified());
        TMainForm again;
        QVERIFY(again.OpenFileName(DataFile("cantilever-sand.tx4d")));
        QCOMPARE(Stiffness(again), 7E9L);
    }

    void aBadTypedCellStopsSaveWithItsMessage() {
        TMainForm& form = Open("cantilever-sand.tx4d");
        const QByteArray before = torvex::testing::FileContent(DataFile("cantilever-sand.tx4d"));
        QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, "abc");
        QVERIFY(cell);
        QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ui_.shown, QStringList{kBadEntry});
        QCOMPARE(torvex::testing::FileContent(DataFile("cantilever-sand.tx4d")), before);
        // The editor is in front with the bad text, to be corrected.
        TTableForm* editor = EditorOf(form, kStiffness);
        QCOMPARE(form.Desk()->activeSubWindow()->widget(), editor);
        QVERIFY(editor->CellEditor());
        QCOMPARE(editor->CellEditor()->text(), QString("abc"));
        // Run Analysis, New and closing stop there too.
        ui_.Clear();
        ClickToolButton(form, "SpeedButton4");
        QTest::keyClick(editor->CellEditor(), Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(editor->CellEditor(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(ui_.shown, QStringList({kBadEntry, kBadEntry, kBadEntry}));
        QVERIFY(ui_.asked.isEmpty());
        QVERIFY(form.isVisible());
        QVERIFY(!QFile::exists(jobs_->filePath("cantilever-sand.tx4o")));
        QCOMPARE(torvex::testing::FileContent(DataFile("cantilever-sand.tx4d")), before);
    }

    void runAnalysisAnalysesTheTypedCell() {
        TMainForm& form = Open("cantilever-sand.tx4d");
        QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, "4.5E9");
        QVERIFY(cell);
        ClickToolButton(form, "SpeedButton4");
        QCOMPARE(ui_.shown, QStringList{"Computations are completed. Please, check output file for "
                                        "results or error messages."});
        TMainForm again;
        QVERIFY(again.OpenFileName(DataFile("cantilever-sand.tx4d")));
        QCOMPARE(Stiffness(again), 4.5E9L);
        QVERIFY(form.Action("SpeedButton8")->isEnabled());
    }

    void commandsThatReplaceTheProjectAskAboutTheTypedCell() {
        // Ctrl+Q, Ctrl+N and Ctrl+O each ask to save; Cancel keeps the project and the value.
        for (const Qt::Key key : {Qt::Key_Q, Qt::Key_N, Qt::Key_O}) {
            TMainForm& form = Open("cantilever-sand.tx4d");
            QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, "3.25E9");
            QVERIFY(cell);
            QTest::keyClick(cell, key, Qt::ControlModifier);
            QCOMPARE(ui_.asked, QStringList{kSavePrompt});
            QVERIFY(form.isVisible());
            QCOMPARE(Stiffness(form), 3.25E9L);
            form.SetModified(false);  // lets the window go without asking again
        }
    }

    void aStageButtonKeepsTheTypedCellInItsStage() {
        TMainForm& form = Open("three-stage-excavation.tx4d");
        QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, "6.5E9");
        QVERIFY(cell);
        ClickToolButton(form, "SpeedButton15");
        QCOMPARE(form.Workspace().Project().CurrentStage, 2);
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(form.IsModified());
        QVERIFY(Stiffness(form) != 6.5E9L);
        ClickToolButton(form, "SpeedButton14");
        QCOMPARE(form.Workspace().Project().CurrentStage, 1);
        QCOMPARE(Stiffness(form), 6.5E9L);

        // A bad entry keeps the stage and the pressed button.
        cell = TypeWithoutLeaving(form, kStiffness, "abc");
        QVERIFY(cell);
        ClickToolButton(form, "SpeedButton16");
        QCOMPARE(ui_.shown, QStringList{kBadEntry});
        QCOMPARE(form.Workspace().Project().CurrentStage, 1);
        QVERIFY(form.Action("SpeedButton14")->isChecked());
        QVERIFY(!form.Action("SpeedButton16")->isChecked());
    }

    void saveAsAsksBeforeReplacingTheFileItReallyWrites() {
        TMainForm& form = Open("cantilever-sand.tx4d");
        const QString existing = jobs_->filePath("anchored.tx4d");
        QFile::copy(TORVEX_SOURCE_DIR "/examples/anchored-soft-clay.tx4d", existing);
        const QByteArray before = torvex::testing::FileContent(existing);
        // The dialog completes a bare name with its default extension "txd".
        ui_.savePath = jobs_->filePath("anchored.txd");
        ui_.answer = torvex::TAnswer::No;
        form.FileSaveAsClick();
        QCOMPARE(ui_.asked, QStringList{"anchored.tx4d already exists.\nDo you want to replace it?"});
        QCOMPARE(torvex::testing::FileContent(existing), before);
        QCOMPARE(QString::fromStdString(form.Workspace().Project().FileName),
                 DataFile("cantilever-sand.tx4d"));
        ui_.Clear();
        ui_.savePath = jobs_->filePath("anchored.txd");
        ui_.answer = torvex::TAnswer::Yes;
        form.FileSaveAsClick();
        QCOMPARE(torvex::testing::FileContent(existing), torvex::testing::FileContent(DataFile("cantilever-sand.tx4d")));
        QCOMPARE(QString::fromStdString(form.Workspace().Project().FileName), existing);
    }

    void runAnalysisStopsWhenTheSaveFailed() {
        TMainForm& form = Open("cantilever-sand.tx4d");
        form.CompRunClick();
        QVERIFY(form.Action("SpeedButton8")->isEnabled());
        // The data file's place is taken by a folder: the save fails with its message, and
        // neither the engine nor the old results run as if they were new.
        const QString data = DataFile("cantilever-sand.tx4d");
        QVERIFY(QFile::remove(data));
        QVERIFY(QDir().mkdir(data));
        QVERIFY(QFile::remove(jobs_->filePath("cantilever-sand.tx4o")));
        form.SetModified(true);
        ui_.Clear();
        ClickToolButton(form, "SpeedButton4");
        QCOMPARE(ui_.shown.size(), 1);
        QCOMPARE(ui_.shown[0], "Cannot write \"" + data + "\": it is a folder, not a file.");
        QVERIFY(!QFile::exists(jobs_->filePath("cantilever-sand.tx4o")));
        QVERIFY(form.IsModified());
    }

    void anExceptionNoCommandCaughtEndsOnlyTheCommand() {
        TMainForm& form = Open("cantilever-sand.tx4d");
        auto* failing = new QAction(&form);
        failing->setShortcut(QKeySequence("Ctrl+F9"));
        form.addAction(failing);
        bool outOfMemory = false;
        connect(failing, &QAction::triggered, &form, [&] {
            if (outOfMemory) throw std::bad_alloc();
            throw std::runtime_error("The wall fell over.");
        });
        QTest::keyClick(&form, Qt::Key_F9, Qt::ControlModifier);
        outOfMemory = true;
        QTest::keyClick(&form, Qt::Key_F9, Qt::ControlModifier);
        QCOMPARE(ui_.shown, QStringList({"The wall fell over.", torvex::kOutOfMemoryMessage}));
        // The program goes on: the next command works.
        QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, "1.5E9");
        QVERIFY(cell);
        QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Stiffness(form), 1.5E9L);
        QVERIFY(!form.IsModified());
    }

    void aDecimalCommaDesktopRunsAndTypesAsTheCLocaleDoes() {
        // The reference: the C locale.
        TMainForm& form = Open("anchored-soft-clay.tx4d");
        QCOMPARE(std::setlocale(LC_ALL, "C") != nullptr, true);
        form.CompRunClick();
        const QByteArray reference = torvex::testing::FileContent(jobs_->filePath("anchored-soft-clay.tx4p"));
        QVERIFY(reference.size() > 1000);
        QVERIFY(QFile::remove(jobs_->filePath("anchored-soft-clay.tx4p")));
        // A German desktop, as Qt sets it from the environment.
        QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr,
                 "the locale de_DE.UTF-8 is missing (the install step generates it)");
        QCOMPARE(torvex::DecimalSeparator(), ',');
        form.SetPlotLoaded(false);
        ui_.Clear();
        form.CompRunClick();
        QCOMPARE(ui_.shown.size(), 1);
        QCOMPARE(torvex::testing::FileContent(jobs_->filePath("anchored-soft-clay.tx4p")), reference);
        QVERIFY(form.Action("SpeedButton8")->isEnabled());
        // A typed number takes the locale's comma and the program's own point alike, and the
        // cell shows a point.
        for (const auto& [typed, value] : {std::pair{"2,75E9", 2.75E9L}, std::pair{"2.5E9", 2.5E9L}}) {
            QLineEdit* cell = TypeWithoutLeaving(form, kStiffness, typed);
            QVERIFY(cell);
            QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
            QVERIFY2(ui_.shown.size() == 1, qPrintable(ui_.shown.join('|')));
            QCOMPARE(Stiffness(form), value);
        }
        QTableWidget* grid = EditorOf(form, kStiffness)->Grid();
        grid->setCurrentCell(0, 0);
        QVERIFY2(grid->item(0, kEI)->text().contains('.'), qPrintable(grid->item(0, kEI)->text()));
        std::setlocale(LC_ALL, "C");
    }
};

int main(int argc, char** argv) {
    torvex::TApplication application(argc, argv);
    PendingEditsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PendingEditsTest.moc"
