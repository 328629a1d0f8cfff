// A user works on a project in a folder he may not write (a colleague's share, a CD, a full or
// read-only disk): the commands that must write there end with a clear message, the program
// goes on, and nothing typed is lost. Runs as an ordinary user (run-unprivileged.sh).

#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "dataentry/TableForm.h"

using torvex::TMainForm;

namespace {

constexpr const char* kStaged = "three-stage-excavation.tx4d";

QString Example(const char* name) { return qEnvironmentVariable("TORVEX_EXAMPLES") + "/" + name; }

bool SetWritable(const QString& folder, bool writable) {
    const auto read = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                      QFile::ReadOther | QFile::ExeOther;
    return QFile::setPermissions(folder, writable ? read | QFile::WriteOwner : read);
}

long double Stiffness(TMainForm& form) {
    return form.Workspace().Table("PileSect").Columns(3).GetFloat(0);
}

// Types a flexural stiffness into the wall's stiffness table and leaves the cell with Enter.
void TypeStiffness(TMainForm& form, const QString& text) {
    form.ShowTableEditor("PileSect");
    auto* editor = dynamic_cast<torvex::TTableForm*>(form.Workspace().Table("PileSect").Editor());
    QVERIFY(editor);
    editor->Grid()->setCurrentCell(0, 3);
    editor->Grid()->editItem(editor->Grid()->item(0, 3));
    QLineEdit* cell = editor->CellEditor();
    QVERIFY(cell);
    cell->selectAll();
    QTest::keyClicks(cell, text);
    QTest::keyClick(cell, Qt::Key_Return);
}

void Click(TMainForm& form, const char* name) {
    QTest::mouseClick(form.ToolBar()->widgetForAction(form.Action(name)), Qt::LeftButton);
}

}  // namespace

class ReadOnlyFolderTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    torvex::testing::TRecordingInterface ui_;

private slots:
    void initTestCase() {
        QVERIFY2(::geteuid() != 0, "run as an ordinary user, through run-unprivileged.sh");
        QVERIFY2(QFile::exists(Example(kStaged)), "TORVEX_EXAMPLES names no examples folder");
        // Every case makes its folders in the temporary folder, which this user must write.
        QVERIFY2(settingsDir_.isValid(), qPrintable(settingsDir_.errorString()));
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void init() {
        ui_.Clear();
        ui_.answer = torvex::TAnswer::No;
    }

    void aStagedProjectOpensFromAFolderThatCannotBeWritten() {
        QTemporaryDir share;
        const QString data = share.filePath(kStaged);
        QVERIFY(QFile::copy(Example(kStaged), data));
        QVERIFY(SetWritable(share.path(), false));
        TMainForm form;
        QVERIFY(form.OpenFileName(data));
        QCOMPARE(ui_.shown.size(), 2);
        QCOMPARE(ui_.shown[0], "Data file: Three-stage-excavation.tx4d, has been read by TORVEX 2012");
        QVERIFY2(ui_.shown[1].startsWith("Cannot create a file beside \"" +
                                         share.filePath("three-stage-excavation.st1") +
                                         "\": Permission denied.\r"),
                 qPrintable(ui_.shown[1]));
        QVERIFY(ui_.shown[1].endsWith("copy the project to a folder you can write to."));
        // The project is there as read, with its stages.
        QCOMPARE(form.Workspace().Project().StageCount, 3);
        QCOMPARE(form.StatusText()->text(), QString("Construction Stage Number: 1"));
        QVERIFY(Stiffness(form) > 0);
        // A stage switch that cannot write says so and stays.
        ui_.Clear();
        Click(form, "SpeedButton15");
        QCOMPARE(ui_.shown.size(), 1);
        QCOMPARE(form.Workspace().Project().CurrentStage, 1);
        // So does a change of units, which must reach every stage file: the stage on screen
        // stays in the units it had.
        ui_.Clear();
        const long double stiffness = Stiffness(form);
        form.Action("SIUnits")->trigger();
        QCOMPARE(ui_.shown.size(), 1);
        QVERIFY2(ui_.shown[0].contains("Permission denied"), qPrintable(ui_.shown[0]));
        QCOMPARE(form.Workspace().Project().UnitSystem, 1);
        QCOMPARE(Stiffness(form), stiffness);
        QVERIFY(SetWritable(share.path(), true));
    }

    void aStageSwitchThatCannotWriteKeepsTheEdit() {
        QTemporaryDir jobs;
        const QString data = jobs.filePath(kStaged);
        QVERIFY(QFile::copy(Example(kStaged), data));
        TMainForm form;
        form.show();
        QVERIFY(form.OpenFileName(data));
        TypeStiffness(form, "8.5E9");
        QCOMPARE(Stiffness(form), 8.5E9L);
        const QByteArray stageOne = [&] {
            QFile file(jobs.filePath("three-stage-excavation.st1"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QVERIFY(!stageOne.isEmpty());
        // The disk refuses: the switch, Update Current Stage and Save end with the message.
        QVERIFY(SetWritable(jobs.path(), false));
        ui_.Clear();
        Click(form, "SpeedButton15");
        form.SaveCurrentStageClick();
        Click(form, "SpeedButton3");
        QCOMPARE(ui_.shown.size(), 3);
        for (const QString& message : ui_.shown)
            QVERIFY2(message.startsWith("Cannot create a file beside \"" +
                                        jobs.filePath("three-stage-excavation.st1") + "\""),
                     qPrintable(message));
        QCOMPARE(form.Workspace().Project().CurrentStage, 1);
        QVERIFY(form.Action("SpeedButton14")->isChecked());
        QCOMPARE(Stiffness(form), 8.5E9L);
        QVERIFY(form.IsModified());
        // Room again: the switch goes through and the edit is in stage 1's file.
        QVERIFY(SetWritable(jobs.path(), true));
        ui_.Clear();
        Click(form, "SpeedButton15");
        QVERIFY(ui_.shown.isEmpty());
        QCOMPARE(form.Workspace().Project().CurrentStage, 2);
        Click(form, "SpeedButton14");
        QCOMPARE(Stiffness(form), 8.5E9L);
        form.SetModified(false);
    }

    // Save As into a folder this user may not write: nothing is made there, and every file
    // under the old name stays byte for byte as it was, the edited stage's included.
    void aStagedSaveAsIntoAFolderThatCannotBeWrittenChangesNothing() {
        QTemporaryDir jobs, share;
        const QString data = jobs.filePath(kStaged);
        QVERIFY(QFile::copy(Example(kStaged), data));
        TMainForm form;
        form.show();
        QVERIFY(form.OpenFileName(data));
        TypeStiffness(form, "9.5E9");
        const auto files = [&jobs] {
            QStringList all;
            for (const QString& name : QDir(jobs.path()).entryList(QDir::Files | QDir::Hidden)) {
                QFile file(jobs.filePath(name));
                all << name + "=" + (file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : "?");
            }
            return all;
        };
        const QStringList before = files();
        QCOMPARE(before.size(), 4);  // the data file and its three stage files
        QVERIFY(SetWritable(share.path(), false));
        ui_.Clear();
        ui_.savePath = share.filePath("copy.tx4d");
        form.Action("FileSaveAs")->trigger();
        QCOMPARE(ui_.shown.size(), 1);
        QCOMPARE(files(), before);
        QVERIFY(QDir(share.path()).isEmpty());
        QCOMPARE(form.Workspace().Project().FileName, data.toStdString());
        QVERIFY(form.IsModified());
        QCOMPARE(Stiffness(form), 9.5E9L);
        QVERIFY(SetWritable(share.path(), true));
        form.SetModified(false);
    }

    void aStageSwitchOnAFullDiskKeepsTheEdit() {
        QTemporaryDir jobs;
        const QString data = jobs.filePath(kStaged);
        QVERIFY(QFile::copy(Example(kStaged), data));
        TMainForm form;
        form.show();
        QVERIFY(form.OpenFileName(data));
        TypeStiffness(form, "9.5E9");
        // The disk fills up: no file may grow beyond 100 bytes.
        ui_.Clear();
        {
            const torvex::testing::TFullDisk full(100);
            QVERIFY(full.IsSet());
            Click(form, "SpeedButton15");
        }
        QCOMPARE(ui_.shown.size(), 1);
        QVERIFY2(ui_.shown[0].startsWith("Cannot write \"" + jobs.filePath("three-stage-excavation.st1") + "\""),
                 qPrintable(ui_.shown[0]));
        QCOMPARE(form.Workspace().Project().CurrentStage, 1);
        QCOMPARE(Stiffness(form), 9.5E9L);
        // Room again: the edit reaches stage 1's file.
        Click(form, "SpeedButton15");
        Click(form, "SpeedButton14");
        QCOMPARE(Stiffness(form), 9.5E9L);
        form.SetModified(false);
    }
};

int main(int argc, char** argv) {
    torvex::TApplication application(argc, argv);
    ReadOnlyFolderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReadOnlyFolderTest.moc"
