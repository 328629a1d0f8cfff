// Staged construction through the widgets: a single-stage example becomes three stages in the
// Staged Construction Options dialog, stages 2 and 3 get deeper excavations in Wall
// Properties, and the saved file runs as three stage analyses. Also the dialog's rules.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <optional>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "dataentry/DataEdit.h"
#include "dialogs/DlgStaged.h"
#include "dialogs/WallDialogs.h"
#include "plot/ResultGraphs.h"

using namespace torvex;

namespace {

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

void Click(TMainForm& form, const char* button) {
    QTest::mouseClick(form.ToolBar()->widgetForAction(form.Action(button)), Qt::LeftButton);
}

TDlgStaged* StagedDialog(TMainForm& form) {
    Click(form, "SpeedButton7");
    auto* dialog = form.findChild<TDlgStaged*>();
    if (dialog) QApplication::setActiveWindow(dialog);
    return dialog;
}

TDlgProp* WallProperties(TMainForm& form) {
    emit form.Menu("DataMenu")->aboutToShow();
    form.Action("DataProp")->trigger();
    QMdiSubWindow* child = form.SingleChild("DlgProp");
    return child ? child->findChild<TDlgProp*>() : nullptr;
}

// Opens a copy of a bundled example in `jobs`, set to run there; the copy's path, or empty.
QString OpenExampleCopy(TMainForm& form, const QTemporaryDir& jobs, const char* example,
                        const char* name) {
    const QString data = jobs.filePath(name);
    if (!QFile::copy(QString(TORVEX_SOURCE_DIR "/examples/") + example, data)) return {};
    form.SetProgramFolder(jobs.path());
    form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
    return form.OpenFileName(data) ? data : QString();
}

}  // namespace

class StagedConstructionTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    testing::TRecordingInterface ui_;

private slots:
    void initTestCase() {
        testing::UseTemporarySettings(settingsDir_.path());
        SetUserInterface(&ui_);
    }
    void cleanupTestCase() { SetUserInterface(nullptr); }

    void theDialogsRules() {
        TMainForm form;
        form.show();
        TDlgStaged* dialog = StagedDialog(form);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("Staged Construction Options"));
        QCOMPARE(dialog->deStage->EditLabel()->text().startsWith(
                     "Enter the total number of stages (Max. = 5, Min =2)"), true);
        // One stage: unchecked, the count 1 and disabled.
        QVERIFY(!dialog->StageAnalysis->isChecked());
        QCOMPARE(dialog->deStage->text(), QString("1"));
        QVERIFY(!dialog->deStage->isEnabled() && !dialog->UpDown1Up->isEnabled());
        // Checked: 2; the arrows go up to 5 and down to 2.
        QTest::mouseClick(dialog->StageAnalysis, Qt::LeftButton);
        QCOMPARE(dialog->deStage->text(), QString("2"));
        for (int i = 0; i < 5; ++i) QTest::mouseClick(dialog->UpDown1Up, Qt::LeftButton);
        QCOMPARE(dialog->deStage->text(), QString("5"));
        for (int i = 0; i < 5; ++i) QTest::mouseClick(dialog->UpDown1Down, Qt::LeftButton);
        QCOMPARE(dialog->deStage->text(), QString("2"));
        // Typed beyond the limits: the field's own message; unchecked: back to 1.
        Type(dialog->deStage, "6");
        QCOMPARE(ui_.shown, QStringList{"Entry must be less than or equal to 5"});
        QTest::mouseClick(dialog->StageAnalysis, Qt::LeftButton);
        QCOMPARE(dialog->deStage->text(), QString("1"));
        // Cancel changes nothing.
        QTest::mouseClick(dialog->BtnCancel, Qt::LeftButton);
        QCOMPARE(form.Workspace().Project().StageCount, 1);
        QVERIFY(!form.Action("SpeedButton14")->isVisible());
        // The long-term option disables it.
        form.Workspace().Project().UseLongTerm = 1;
        form.UpdateTermMenus();
        QVERIFY(!form.Action("SpeedButton7")->isEnabled());
        form.SetModified(false);
    }

    void aSingleStageExampleBecomesThreeStagesAndRuns() {
        QTemporaryDir jobs;
        TMainForm form;
        form.resize(1000, 720);
        form.show();
        const QString data = OpenExampleCopy(form, jobs, "cantilever-sand.tx4d", "sand.tx4d");
        QVERIFY(!data.isEmpty());
        ui_.Clear();

        TDlgStaged* dialog = StagedDialog(form);
        QVERIFY(dialog);
        QTest::mouseClick(dialog->StageAnalysis, Qt::LeftButton);
        QTest::mouseClick(dialog->UpDown1Up, Qt::LeftButton);
        QCOMPARE(dialog->deStage->text(), QString("3"));
        QTest::mouseClick(dialog->BtnOK, Qt::LeftButton);
        QVERIFY(ui_.shown.isEmpty());
        QCOMPARE(form.Workspace().Project().StageCount, 3);
        QCOMPARE(form.StatusText()->text(), QString("Construction Stage Number: 1"));
        QVERIFY(form.Action("StageMenu")->isVisible());
        QVERIFY(form.Action("SpeedButton16")->isEnabled() && !form.Action("SpeedButton17")->isEnabled());
        QVERIFY(form.Action("SpeedButton14")->isChecked());
        QVERIFY(form.IsModified());
        for (const char* name : {"sand.st1", "sand.st2", "sand.st3"})
            QVERIFY2(QFile::exists(jobs.filePath(name)), name);
        emit form.Menu("StageMenu")->aboutToShow();
        QVERIFY(!form.Action("CopyPreviousStage")->isEnabled());

        // Stage 2 excavates to 12 ft and stage 3 to 14 ft, typed in the open Wall Properties
        // dialog while the stage buttons switch.
        Click(form, "SpeedButton15");
        TDlgProp* prop = WallProperties(form);
        QVERIFY(prop);
        QTRY_COMPARE(prop->DeFH->text(), QString("10"));
        Type(prop->DeFH, "12");
        Click(form, "SpeedButton16");
        QCOMPARE(form.Workspace().Project().CurrentStage, 3);
        QTRY_COMPARE(prop->DeFH->text(), QString("10"));  // the dialog shows stage 3
        Type(prop->DeFH, "14");

        // Copy Previous Stage, offered from stage 2 on, asks first; No changes nothing.
        emit form.Menu("StageMenu")->aboutToShow();
        QVERIFY(form.Action("CopyPreviousStage")->isEnabled());
        ui_.answer = TAnswer::No;
        form.Action("CopyPreviousStage")->trigger();
        QCOMPARE(ui_.asked, QStringList{"Do you want to copy all information from Stage 2 to Stage 3"});
        QCOMPARE(static_cast<double>(form.Workspace().Project().FreeHeight), 168.0);

        Click(form, "SpeedButton15");
        QTRY_COMPARE(prop->DeFH->text(), QString("12"));
        QCOMPARE(static_cast<double>(form.Workspace().Project().FreeHeight), 144.0);

        // Save and run: three stage results, deeper excavations moving the wall more.
        ui_.Clear();
        Click(form, "SpeedButton3");
        QVERIFY2(ui_.shown.isEmpty(), qPrintable(ui_.shown.join('|')));
        const QByteArray saved = torvex::testing::FileContent(data);
        QCOMPARE(saved.count(" Stage No : "), 2);
        Click(form, "SpeedButton4");
        QCOMPARE(ui_.shown.size(), 1);
        QVERIFY(form.PlotLoaded());
        QVERIFY(form.Action("SpeedButton8")->isEnabled());
        QCOMPARE(form.Graphs().pltDef.Lines.Count(), 3);

        // Reopened, the file splits into the same three stages.
        TMainForm again;
        QVERIFY(again.OpenFileName(data));
        QCOMPARE(again.Workspace().Project().StageCount, 3);
        QTest::mouseClick(again.ToolBar()->widgetForAction(again.Action("SpeedButton16")), Qt::LeftButton);
        QCOMPARE(static_cast<double>(again.Workspace().Project().FreeHeight), 168.0);
        again.SetModified(false);
        form.SetModified(false);
        QVERIFY(form.grab().save(QCoreApplication::applicationDirPath() + "/screenshot-stages.png"));
    }

    // Switched to SI, the three-stage example is the same wall: every stage moves as far as
    // it did in English units (inches x 0.0254 = metres), not only the stage on screen.
    void aUnitChangeReachesEveryStage() {
        QTemporaryDir jobs;
        TMainForm form;
        form.show();
        const QString data = OpenExampleCopy(form, jobs, "three-stage-excavation.tx4d", "three.tx4d");
        QVERIFY(!data.isEmpty());
        const auto largest = [&form] {
            std::vector<double> most;
            const torvex::TCurveSet& lines = form.Graphs().pltDef.Lines;
            for (int i = 0; i < lines.Count(); ++i) {
                double m = 0;
                for (int j = 0; j < lines.PointCount(); ++j)
                    m = std::max(m, std::fabs(static_cast<double>(lines.Point(i, j).X)));
                most.push_back(m);
            }
            return most;
        };
        Click(form, "SpeedButton4");
        const std::vector<double> inches = largest();
        QCOMPARE(inches.size(), size_t{3});

        Click(form, "SpeedButton15");  // at stage 2, as a user may well be
        form.Action("SIUnits")->trigger();
        QCOMPARE(form.Workspace().Project().UnitSystem, 2);
        QCOMPARE(form.Workspace().Project().CurrentStage, 2);
        ui_.Clear();
        Click(form, "SpeedButton4");
        QCOMPARE(ui_.shown.size(), 1);
        const std::vector<double> metres = largest();
        QCOMPARE(metres.size(), size_t{3});
        for (size_t k = 0; k < 3; ++k)
            QVERIFY2(std::fabs(metres[k] - inches[k] * 0.0254) <= 1e-3 * inches[k] * 0.0254,
                     qPrintable(QString("stage %1: %2 m after %3 in").arg(k + 1).arg(metres[k]).arg(inches[k])));
        const QByteArray saved = torvex::testing::FileContent(data);
        QCOMPARE(saved.count("\n2 0\t"), 3);  // the unit line of every stage says SI
        form.SetModified(false);
    }

    // Save As writes what is on screen: a free height typed in stage 1 and not yet taken to
    // its stage file by a stage switch is in the new file, and the project is saved.
    void saveAsTakesTheStageOnScreen() {
        QTemporaryDir jobs;
        TMainForm form;
        form.show();
        const QString data = OpenExampleCopy(form, jobs, "three-stage-excavation.tx4d", "three.tx4d");
        QVERIFY(!data.isEmpty());
        TDlgProp* prop = WallProperties(form);
        QVERIFY(prop);
        QTRY_COMPARE(prop->DeFH->text(), QString("6"));
        Type(prop->DeFH, "5");
        // A name that a folder holds cannot be written: said so, and still unsaved.
        QVERIFY(QDir(jobs.path()).mkdir("folder.tx4d"));
        ui_.Clear();
        ui_.savePath = jobs.filePath("folder.tx4d");
        form.Action("FileSaveAs")->trigger();
        QCOMPARE(ui_.shown.size(), 1);
        QVERIFY(form.IsModified());
        QCOMPARE(form.Workspace().Project().FileName, data.toStdString());
        ui_.Clear();
        ui_.savePath = jobs.filePath("copy.tx4d");
        form.Action("FileSaveAs")->trigger();
        QVERIFY2(ui_.shown.isEmpty(), qPrintable(ui_.shown.join('|')));
        const QList<QByteArray> lines = torvex::testing::FileContent(jobs.filePath("copy.tx4d")).split('\n');
        QVERIFY(lines.size() > 3);
        QCOMPARE(lines[2].trimmed(), QByteArray("120 3.6\t24\t1E-5\t60"));  // 5 ft
        QCOMPARE(torvex::testing::FileContent(jobs.filePath("copy.tx4d")).count(" Stage No : "), 2);
        QVERIFY(!form.IsModified());
    }

    // Save As is all or nothing: a stage file's name taken by a folder, or a disk that fills
    // up after the stage files, leaves every file under the old name byte for byte as it was,
    // and the project under that name with its edit.
    void aFailedSaveAsLeavesEveryStageFileAsItWas() {
        QTemporaryDir jobs;
        TMainForm form;
        form.show();
        const QString data = OpenExampleCopy(form, jobs, "three-stage-excavation.tx4d", "w.tx4d");
        QVERIFY(!data.isEmpty());
        Click(form, "SpeedButton15");
        TDlgProp* prop = WallProperties(form);
        QVERIFY(prop);
        Type(prop->DeFH, "7");
        const auto files = [&] {
            QList<QByteArray> all{torvex::testing::FileContent(data)};
            for (int k = 1; k <= 3; ++k) all << torvex::testing::FileContent(jobs.filePath(QString("w.st%1").arg(k)));
            return all;
        };
        const QList<QByteArray> before = files();
        qsizetype largestStage = 0;
        for (int k = 1; k <= 3; ++k) largestStage = std::max(largestStage, before[k].size());
        QVERIFY(before[0].size() > largestStage + 100);
        QVERIFY(QDir(jobs.path()).mkdir("new.st2"));
        for (const bool fullDisk : {false, true}) {
            ui_.Clear();
            ui_.savePath = jobs.filePath("new.tx4d");
            {
                std::optional<testing::TFullDisk> full;
                if (fullDisk) full.emplace(largestStage + 50);  // the stage files fit, the data file does not
                QVERIFY(!full || full->IsSet());
                form.Action("FileSaveAs")->trigger();
            }
            QCOMPARE(ui_.shown.size(), 1);
            QCOMPARE(files(), before);
            QCOMPARE(QDir(jobs.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList({"w.st1", "w.st2", "w.st3", "w.tx4d"}));
            QCOMPARE(form.Workspace().Project().FileName, data.toStdString());
            QVERIFY(form.IsModified());
            QVERIFY(QDir(jobs.path()).rmdir("new.st2") || fullDisk);
        }
        // Stage 1 is still stage 1, and the edit of stage 2 is kept.
        Click(form, "SpeedButton14");
        QCOMPARE(form.Workspace().Project().Title,
                 std::string("Three-stage excavation with a strut added in the second stage"));
        Click(form, "SpeedButton15");
        QCOMPARE(form.Workspace().Project().FreeHeight, 7 * 12.0L);
        form.SetModified(false);
    }

    // A change of the stage count that cannot write its files keeps the project unsaved, with
    // its count; so does Copy Previous Stage, whose copy is not in the data file yet.
    void stageFileChangesStayUnsavedUntilSaved() {
        QTemporaryDir jobs;
        TMainForm form;
        form.show();
        QVERIFY(!OpenExampleCopy(form, jobs, "three-stage-excavation.tx4d", "w.tx4d").isEmpty());
        // An edit of stage 2, left there for stage 1: the project is modified.
        Click(form, "SpeedButton15");
        TDlgProp* prop = WallProperties(form);
        QVERIFY(prop);
        Type(prop->DeFH, "7");
        Click(form, "SpeedButton14");
        QTRY_COMPARE(prop->DeFH->text(), QString("6"));  // the dialog shows stage 1
        QVERIFY(form.IsModified());
        QVERIFY(QDir(jobs.path()).mkdir("w.st5"));
        QList<QByteArray> stageFiles;
        for (int k = 1; k <= 3; ++k) stageFiles << torvex::testing::FileContent(jobs.filePath(QString("w.st%1").arg(k)));
        TDlgStaged* dialog = StagedDialog(form);
        QVERIFY(dialog);
        Type(dialog->deStage, "5");
        ui_.Clear();
        QTest::mouseClick(dialog->BtnOK, Qt::LeftButton);
        QCOMPARE(ui_.shown.size(), 1);
        QVERIFY2(ui_.shown[0].startsWith("Cannot write \"" + jobs.filePath("w.st5") + "\""),
                 qPrintable(ui_.shown[0]));
        // The dialog keeps the typed count through its message; the project its own.
        QApplication::setActiveWindow(dialog);
        QCOMPARE(dialog->deStage->text(), QString("5"));
        QCOMPARE(form.Workspace().Project().StageCount, 3);
        QVERIFY(form.IsModified());
        for (int k = 1; k <= 3; ++k) QCOMPARE(torvex::testing::FileContent(jobs.filePath(QString("w.st%1").arg(k))), stageFiles[k - 1]);
        QCOMPARE(QDir(jobs.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"w.st1", "w.st2", "w.st3", "w.st5", "w.tx4d"}));
        QTest::mouseClick(dialog->BtnCancel, Qt::LeftButton);
        ui_.answer = TAnswer::Cancel;
        ui_.Clear();
        QVERIFY(!form.close());
        QCOMPARE(ui_.asked, QStringList({"Do you want to save any changes?"}));
        Click(form, "SpeedButton15");
        QCOMPARE(form.Workspace().Project().FreeHeight, 7 * 12.0L);

        ui_.Clear();
        form.Action("FileSave")->trigger();
        QVERIFY2(!form.IsModified(), qPrintable(ui_.shown.join('|')));
        Click(form, "SpeedButton16");
        ui_.answer = TAnswer::Yes;
        emit form.Menu("StageMenu")->aboutToShow();
        form.Action("CopyPreviousStage")->trigger();
        QCOMPARE(ui_.asked.last(), QString("Do you want to copy all information from Stage 2 to Stage 3"));
        QVERIFY(form.IsModified());
        form.SetModified(false);
    }
};

QTEST_MAIN(StagedConstructionTest)
#include "StagedConstructionTest.moc"
