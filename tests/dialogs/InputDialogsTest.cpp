// The input dialogs inside the main window, driven as a user drives them: the Data and
// Options items, typed keys, Tab, other windows taking the activation, the menus that commit
// the active child, and closing.

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "dataentry/DataEdit.h"
#include "dataentry/TableForm.h"
#include "dialogs/DlgModels.h"
#include "dialogs/LoadDialogs.h"
#include "dialogs/PictureView.h"
#include "dialogs/WallDialogs.h"

using namespace torvex;
using torvex::testing::TRecordingInterface;

namespace {

template <typename Dialog>
Dialog* Open(TMainForm& form, const char* action, const char* name) {
    form.Action(action)->trigger();
    QMdiSubWindow* child = form.SingleChild(name);
    return child ? qobject_cast<Dialog*>(child->widget()) : nullptr;
}

// Replaces the field's text by typed keys and stays in it. The old text is deleted first:
// a "-" typed over a selected value would extend it instead.
void TypeOnly(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// The same, then on to the next control with Tab.
void Type(TDataEdit* field, const QString& text) {
    TypeOnly(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

QString Label(TDataEdit* field) { return field->EditLabel()->text(); }

QWidget* ActiveDialog(TMainForm& form) {
    QMdiSubWindow* active = form.Desk()->activeSubWindow();
    return active ? active->widget() : nullptr;
}

}  // namespace

class InputDialogsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    TRecordingInterface ui_;
    std::unique_ptr<TMainForm> form_;

    TProgramData& Project() { return form_->Workspace().Project(); }

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
    }
    void cleanupTestCase() { SetUserInterface(nullptr); }
    void init() {
        ui_.Clear();
        form_ = std::make_unique<TMainForm>();
        form_->resize(1400, 1000);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QApplication::setActiveWindow(form_.get());
    }
    void cleanup() { form_.reset(); }

    // ---- Wall Properties and Wall Configuration ----

    void englishUnitsShowFeetAndPerSquareFoot() {
        TProgramData& project = Project();
        project.FreeHeight = 240;
        project.BackfillSurcharge = 1;
        project.NumIncrements = 100;
        project.IncrementLength = 3.6L;
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        QVERIFY(prop);
        QCOMPARE(prop->parentWidget()->windowTitle(), QString("Wall Properties"));
        QCOMPARE(prop->DeFH->text(), QString("20"));
        QCOMPARE(prop->deNI->text(), QString("100"));
        QCOMPARE(prop->deXGS->text(), QString("3.6"));
        QCOMPARE(prop->deXLN->text(), QString("100"));
        QCOMPARE(prop->deSlope->text(), QString("0.00001"));
        QCOMPARE(Label(prop->deNI), QString("&Increments (nodes)"));
        QCOMPARE(Label(prop->deXGS), QString("Increment Length (in)"));
        QCOMPARE(Label(prop->DeFH), QString("Free Height of Wall (ft)"));
        QCOMPARE(Label(prop->deXLN),
                 QString("Maximum Allowable Deflection for computation iteration (in)"));
        QCOMPARE(Label(prop->deSlope), QString("Deflection Closure Tolerance (in)"));
        QVERIFY(!form_->IsModified());

        // 25 ft typed: stored as 300 in when the dialog is left for Wall Configuration, which
        // shows the same field.
        Type(prop->DeFH, "25");
        QVERIFY(form_->IsModified());
        QCOMPARE(static_cast<double>(project.FreeHeight), 240.0);
        auto* csd = Open<TdlgCSD>(*form_, "DataCSD", "dlgCSD");
        QVERIFY(csd);
        QCOMPARE(ActiveDialog(*form_), csd);
        QCOMPARE(static_cast<double>(project.FreeHeight), 300.0);
        QCOMPARE(csd->deHL->text(), QString("25"));
        QCOMPARE(Label(csd->deHL), QString("&Free Height of Wall, H (ft)"));
        QCOMPARE(csd->deSP->text(), QString("144"));
        QCOMPARE(Label(csd->deSP),
                 QString("Uniform Distributed Load at the top of backfill side  (lbs/ft^2)"));
        QCOMPARE(Label(csd->beta), QString("Slope of the backfill, Beta (deg.)"));
        QCOMPARE(Label(csd->deWidth),
                 QString("&Width for Active Earth Press. Calculation, Wa (in)"));

        // Back in Wall Properties, the height typed in Wall Configuration shows.
        Type(csd->deHL, "30");
        Type(csd->deSP, "288");
        form_->Desk()->setActiveSubWindow(prop->SubWindow());
        QCOMPARE(ActiveDialog(*form_), prop);
        QCOMPARE(static_cast<double>(project.FreeHeight), 360.0);
        QCOMPARE(static_cast<double>(project.BackfillSurcharge), 2.0);
        QCOMPARE(prop->DeFH->text(), QString("30"));
        QVERIFY(ui_.shown.isEmpty());
    }

    void otherUnitSystemsShowStoredValues() {
        Project().UnitSystem = 2;
        Project().FreeHeight = 240;
        Project().BackfillSurcharge = 1;
        Project().WaterDepthBackfill = 6;
        auto* csd = Open<TdlgCSD>(*form_, "DataCSD", "dlgCSD");
        QCOMPARE(csd->deHL->text(), QString("240"));
        QCOMPARE(csd->deSP->text(), QString("1"));
        QCOMPARE(csd->deHW->text(), QString("6"));
        QCOMPARE(Label(csd->deSP),
                 QString("Uniform Distributed Load at the top of backfill side  (kN/m^2)"));
        // The slope and the factor keep the English labels.
        QCOMPARE(Label(csd->beta), QString("Slope of the backfill, Beta (deg.)"));
        QCOMPARE(Label(csd->deGw), QString("Modification Factor for Active Earth Pressure"));
        Type(csd->deHW, "7.5");
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(static_cast<double>(Project().WaterDepthBackfill), 7.5);
    }

    void changeOfUnitSystemReshowsOpenDialogs() {
        Project().FreeHeight = 240;  // in
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        QCOMPARE(prop->DeFH->text(), QString("20"));
        form_->Action("SIUnits")->trigger();
        QCOMPARE(Project().UnitSystem, 2);
        QTRY_COMPARE(Label(prop->DeFH), QString("Free Height of Wall (m)"));
        // 240 in = 6.096 m, shown as stored in SI.
        QVERIFY(std::fabs(prop->DeFH->Number() - 6.096L) < 1e-9L);
        // Leaving the dialog now keeps the converted value.
        QVERIFY(form_->CommitActiveChild());
        QVERIFY(std::fabs(Project().FreeHeight - 6.096L) < 1e-9L);
    }

    void refusedIncrementsKeepTheDialogAndCopyNothing() {
        Project().IncrementLength = 3.6L;
        Project().NumIncrements = 100;
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        // 301 with a menu dropping down: the message, the limit, the dialog stays.
        Type(prop->deXGS, "7");
        TypeOnly(prop->deNI, "301");
        emit form_->Menu("FileMenu")->aboutToShow();
        QCOMPARE(ui_.shown, QStringList({"Entry must be less than or equal to 300"}));
        QCOMPARE(prop->deNI->text(), QString("300"));
        QCOMPARE(ActiveDialog(*form_), prop);
        QCOMPARE(QApplication::focusWidget(), prop->deNI);
        QCOMPARE(Project().NumIncrements, 100);
        QCOMPARE(static_cast<double>(Project().IncrementLength), 3.6);
        // Now 300 stands in the field: the next commit takes it, with the other fields.
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(Project().NumIncrements, 300);
        QCOMPARE(static_cast<double>(Project().IncrementLength), 7.0);

        // A bad expression while another window takes the activation: one message, the
        // dialog comes back with the entry as typed, and no value reaches the project.
        ui_.Clear();
        Project().NumIncrements = 100;
        Project().IncrementLength = 3.6L;
        form_->Desk()->setActiveSubWindow(prop->SubWindow());
        Type(prop->deXGS, "9");
        TypeOnly(prop->deNI, "abc");
        form_->Action("DataTitle")->trigger();
        QTRY_COMPARE(ActiveDialog(*form_), prop);
        QCOMPARE(QApplication::focusWidget(), prop->deNI);
        QCOMPARE(ui_.shown, QStringList({"Entry must be a valid integer."}));
        QCOMPARE(prop->deNI->text(), QString("abc"));
        QCOMPARE(Project().NumIncrements, 100);
        QCOMPARE(static_cast<double>(Project().IncrementLength), 3.6);
        // Save and Run Analysis commit first and stop here too.
        ui_.Clear();
        QVERIFY(!form_->CommitActiveChild());
        QCOMPARE(ui_.shown, QStringList({"Entry must be a valid integer."}));
        // Closing is refused as well.
        ui_.Clear();
        QVERIFY(!prop->SubWindow()->close());
        QVERIFY(form_->SingleChild("DlgProp"));
        QCOMPARE(ui_.shown, QStringList({"Entry must be a valid integer."}));

        // Corrected, the dialog closes, stores its values and clears its created flag.
        TypeOnly(prop->deNI, "120");
        QVERIFY(prop->SubWindow()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form_->SingleChild("DlgProp"));
        QCOMPARE(Project().NumIncrements, 120);
        QCOMPARE(static_cast<double>(Project().IncrementLength), 9.0);
    }

    // The lengths the analysis divides by are refused at entry when zero or less, instead of
    // after a run; the field keeps what was typed and the project its value.
    void wallPropertiesRefuseLengthsOfZeroOrLess() {
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        QVERIFY(prop);
        const long double length = Project().IncrementLength;
        for (TDataEdit* field : {prop->deXGS, prop->deXLN, prop->deSlope}) {
            ui_.Clear();
            TypeOnly(field, field == prop->deXLN ? "-1" : "0");
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(ui_.shown, QStringList({"Entry must be greater than 0"}));
            QCOMPARE(QApplication::focusWidget(), field);
            QVERIFY(!form_->CommitActiveChild());
            TypeOnly(field, "2");
        }
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(static_cast<double>(Project().IncrementLength), 2.0);
        QVERIFY(Project().IncrementLength != length);
    }

    void openWaitsForARefusedEntryAndThenClosesTheDialog() {
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        TypeOnly(prop->deNI, "abc");
        ui_.answer = TAnswer::No;
        QTemporaryDir jobs;
        ui_.openPath = jobs.filePath("sand.tx4d");
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", ui_.openPath));
        // Open from the tool bar with a refused entry: the message, and no Open.
        form_->Action("SpeedButton2")->trigger();
        QCOMPARE(ui_.shown, QStringList({"Entry must be a valid integer."}));
        QCOMPARE(QString::fromStdString(Project().FileName), QString("NewWall.tx4d"));
        QCOMPARE(prop->deNI->text(), QString("abc"));
        // Corrected, Open goes on and closes the dialog with every child window; opened
        // again, it shows the wall read.
        TypeOnly(prop->deNI, "120");
        form_->Action("SpeedButton2")->trigger();
        QCOMPARE(QString::fromStdString(Project().FileName), ui_.openPath);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form_->SingleChild("DlgProp"));
        prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        QCOMPARE(prop->deXGS->text(), QString("3.6"));
        QCOMPARE(prop->DeFH->text(), QString("10"));
        TypeOnly(prop->deNI, "150");
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(static_cast<double>(Project().IncrementLength), 3.6);
        QCOMPARE(static_cast<double>(Project().FreeHeight), 120.0);
        QCOMPARE(Project().NumIncrements, 150);
    }

    void backfillSlopeLimits() {
        auto* csd = Open<TdlgCSD>(*form_, "DataCSD", "dlgCSD");
        Type(csd->beta, "50");
        QCOMPARE(ui_.shown, QStringList({"Entry must be less than or equal to 45"}));
        QCOMPARE(csd->beta->text(), QString("45"));
        QCOMPARE(QApplication::focusWidget(), csd->beta);
        ui_.Clear();
        Type(csd->beta, "-45");
        Type(csd->dePYW, "121");
        QCOMPARE(ui_.shown, QStringList({"Entry must be less than or equal to 120"}));
        ui_.Clear();
        Type(csd->dePYW, "24");
        QVERIFY(form_->CommitActiveChild());
        QVERIFY(ui_.shown.isEmpty());
        QCOMPARE(static_cast<double>(Project().BackfillSlope), -45.0);
        QCOMPARE(static_cast<double>(Project().ResistanceWidth), 24.0);
    }

    void closingALeftDialogKeepsWhatOthersChangedSince() {
        Project().FreeHeight = 240;
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        auto* csd = Open<TdlgCSD>(*form_, "DataCSD", "dlgCSD");
        QCOMPARE(csd->deHL->text(), QString("20"));
        Type(csd->deHL, "25");
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(static_cast<double>(Project().FreeHeight), 300.0);
        // Wall Properties still shows 20 ft from before; closing it must not bring that back.
        QCOMPARE(prop->DeFH->text(), QString("20"));
        form_->CloseAllChildren();
        QCOMPARE(static_cast<double>(Project().FreeHeight), 300.0);
    }

    void sectionButtonOpensTheStiffnessTable() {
        auto* prop = Open<TDlgProp>(*form_, "DataProp", "DlgProp");
        QCOMPARE(prop->btnSect->text(), QString("Enter Section Data"));
        QTest::mouseClick(prop->btnSect, Qt::LeftButton);
        auto* editor = qobject_cast<TTableForm*>(ActiveDialog(*form_));
        QVERIFY(editor);
        QCOMPARE(editor->Table(), form_->Workspace().FindTable("PileSect"));
        // A refused entry stops the button: one message, back in the field, no table.
        form_->Workspace().Table("PileSect").CloseEditor();
        form_->Desk()->setActiveSubWindow(prop->SubWindow());
        TypeOnly(prop->deXGS, "2*");
        QTest::mouseClick(prop->btnSect, Qt::LeftButton);
        QCOMPARE(ui_.shown, QStringList({"Entry could not be evaluated:\rinvalid expression"}));
        QVERIFY(!form_->Workspace().Table("PileSect").EditorOpen());
        QCOMPARE(QApplication::focusWidget(), prop->deXGS);
        Type(prop->deXGS, "2");
        QTest::mouseClick(prop->btnSect, Qt::LeftButton);
        QVERIFY(form_->Workspace().Table("PileSect").EditorOpen());
        // Asking again shows the one dialog.
        form_->Action("DataProp")->trigger();
        QCOMPARE(ActiveDialog(*form_), prop);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(form_->Desk()->subWindowList().size(), 2);
    }

    // ---- Load and option dialogs ----

    void uncheckingSpringsClosesTheirTableAndTurnsTheSwitchOff() {
        QMenu* data = form_->Menu("DataMenu");
        emit data->aboutToShow();
        QVERIFY(!form_->Action("DataSoilSpring")->isEnabled());
        Project().UseSprings = 1;
        emit data->aboutToShow();
        QVERIFY(form_->Action("DataSoilSpring")->isEnabled());
        auto* springs = Open<TSwitchDialog>(*form_, "DataSoilSpring", "DlgSpring");
        QVERIFY(springs);
        QCOMPARE(springs->parentWidget()->windowTitle(), QString("Lateral & Rotational Springs"));
        QCOMPARE(springs->Check()->text(), QString("&Lateral and Rotational Springs"));
        QVERIFY(springs->Check()->isChecked());
        QVERIFY(springs->Button()->isEnabled());
        QTest::mouseClick(springs->Button(), Qt::LeftButton);
        TGridTable& table = form_->Workspace().Table("SoilStrength");
        QVERIFY(table.EditorOpen());
        QVERIFY(!form_->IsModified());

        form_->Desk()->setActiveSubWindow(springs->SubWindow());
        QTest::mouseClick(springs->Check(), Qt::LeftButton);
        QVERIFY(!table.EditorOpen());
        QVERIFY(!springs->Button()->isEnabled());
        QVERIFY(form_->IsModified());
        QCOMPARE(Project().UseSprings, uint8_t(1));  // until the dialog is left
        emit data->aboutToShow();
        QCOMPARE(Project().UseSprings, uint8_t(0));
        QVERIFY(!form_->Action("DataSoilSpring")->isEnabled());
    }

    void titleIsOneLineOfAtMost80Characters() {
        auto* title = Open<TdlgTitle>(*form_, "DataTitle", "dlgTitle");
        QCOMPARE(title->parentWidget()->windowTitle(), QString("Project Title"));
        QCOMPARE(title->TitleMemo->text(), QString("New Wall"));
        // Typing the same title again is no change.
        TypeOnly(title->TitleMemo, "New Wall");
        QVERIFY(form_->CommitActiveChild());
        QVERIFY(!form_->IsModified());
        // The 81st character cannot be typed.
        const QString eighty = QString("Quay wall, berth 4 ").repeated(5).left(80);
        TypeOnly(title->TitleMemo, eighty + "X");
        QCOMPARE(title->TitleMemo->text(), eighty);
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(Project().Title, eighty.toStdString());
        QVERIFY(form_->IsModified());

        // A stored title the field cannot show as it is (longer, or not UTF-8) is kept as it
        // is by opening and leaving the dialog; only an edit replaces it.
        title->parentWidget()->close();
        const std::string stored = std::string(90, 'a') + "\xE9t\xE9";
        Project().Title = stored;
        form_->SetModified(false);
        title = Open<TdlgTitle>(*form_, "DataTitle", "dlgTitle");
        QCOMPARE(title->TitleMemo->text().size(), 80);
        QVERIFY(form_->CommitActiveChild());
        emit form_->Menu("FileMenu")->aboutToShow();
        QCOMPARE(Project().Title, stored);
        QVERIFY(!form_->IsModified());
        TypeOnly(title->TitleMemo, "Quay");
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(Project().Title, std::string("Quay"));
        QVERIFY(form_->IsModified());
    }

    void textEditorOptionIsAProgramSetting() {
        auto* options = Open<TDlgOptions>(*form_, "OptionofTexeEditor1", "DlgOptions");
        QCOMPARE(options->parentWidget()->windowTitle(), QString("Control Options"));
        QCOMPARE(options->EdtWord->text(), form_->WordProcessor());
        ui_.openPath = "/usr/bin/../bin/editor";
        options->EdtWord->setText("kate -n");
        QTest::mouseClick(options->BtnBrowse, Qt::LeftButton);
        QCOMPARE(ui_.programPresets, QStringList{"kate -n"});  // Browse starts at what is typed
        QCOMPARE(options->EdtWord->text(), QString("/usr/bin/editor"));
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(form_->WordProcessor(), QString("/usr/bin/editor"));
        // Emptied, it stays empty; the project is not modified by it.
        TypeOnly(options->EdtWord, "");
        options->EdtWord->clear();
        QVERIFY(form_->CommitActiveChild());
        QCOMPARE(form_->WordProcessor(), QString());
        QVERIFY(!form_->IsModified());
    }

    // The real Browse dialog starts at the program the edit names, and its "Programs" type
    // lists the files that can be run: a program here has no ".exe".
    void browseListsProgramsFromTheEditorSet() {
        QTemporaryDir tools;
        for (const char* name : {"ed", "notes.txt"}) {
            QFile file(tools.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
        }
        QFile::setPermissions(tools.filePath("ed"), QFile::permissions(tools.filePath("ed")) | QFile::ExeOwner);
        const auto names = [](QFileDialog* dialog) {
            auto* view = dialog->findChild<QListView*>("listView");
            QStringList listed;
            if (!view) return listed;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            listed.sort();
            return listed;
        };
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            reached = true;
            // A check that fails must not leave the dialog waiting.
            const auto closer = qScopeGuard([dialog] {
                if (dialog->isVisible()) dialog->reject();
            });
            QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(tools.path()).canonicalPath());
            QTRY_COMPARE(names(dialog), QStringList{"ed"});
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            QVERIFY(types);
            QTest::keyClick(types, Qt::Key_Down);  // All Files
            QTRY_COMPARE(names(dialog), QStringList({"ed", "notes.txt"}));
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText("ed");
            QTest::keyClick(name, Qt::Key_Return);
        });
        SetUserInterface(nullptr);
        const QString chosen = UserInterface().ProgramFileName(form_.get(), "Open", tools.filePath("ed") + " -n");
        SetUserInterface(&ui_);
        QVERIFY(reached);
        QCOMPARE(chosen, tools.filePath("ed"));
    }

    // Soil and Loading Models: the values typed go to the project's option block, are saved and
    // read back, and, being ratios and counts, stay as they are in other units.
    void soilAndLoadingModelsAreSavedAndReadBack() {
        auto* models = Open<TDlgModels>(*form_, "OptionsModels", "DlgModels");
        QVERIFY(models);
        QCOMPARE(models->parentWidget()->windowTitle(), QString("Soil and Loading Models"));
        QVERIFY(models->RbStatic->isChecked() && !models->deCycles->isEnabled());
        Type(models->deKh, "0.24");
        Type(models->deKv, "-0.12");
        QTest::mouseClick(models->ChkLayered, Qt::LeftButton);
        QTest::mouseClick(models->RbCyclic, Qt::LeftButton);
        QVERIFY(models->deCycles->isEnabled());
        Type(models->deCycles, "100");
        ui_.Clear();
        Type(models->deKh, "1");  // kh reaches no 1: 1 - kv would not hold the angle
        QCOMPARE(ui_.shown, QStringList({"Entry must be less than or equal to 0.99"}));
        Type(models->deKh, "0.24");
        QVERIFY(form_->CommitActiveChild());
        QVERIFY(form_->IsModified());
        const TProjectOptions& options = Project().Options;
        QCOMPARE(static_cast<double>(options.SeismicKh), 0.24);
        QCOMPARE(static_cast<double>(options.SeismicKv), -0.12);
        QCOMPARE(options.LayeredSoil, 1);
        QCOMPARE(options.CyclicLoading, 1);
        QCOMPARE(options.CyclicCycles, 100);

        QTemporaryDir jobs;
        ui_.savePath = jobs.filePath("models.tx4d");
        form_->Action("FileSaveAs")->trigger();
        QFile saved(ui_.savePath);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().endsWith("TORVEX-OPTIONS 1\r\nSeismicKh 0.24\r\nSeismicKv -0.12\r\n"
                                         "LayeredSoil 1\r\nCyclicLoading 1\r\nCyclicCycles 100\r\nEND\r\n"));
        TMainForm reopened;
        reopened.show();
        QVERIFY(reopened.OpenFileName(ui_.savePath));
        reopened.Action("SIUnits")->trigger();
        auto* shown = Open<TDlgModels>(reopened, "OptionsModels", "DlgModels");
        QVERIFY(shown);
        QCOMPARE(shown->deKh->text(), QString("0.24"));
        QCOMPARE(shown->deKv->text(), QString("-0.12"));
        QVERIFY(shown->ChkLayered->isChecked() && shown->RbCyclic->isChecked());
        QCOMPARE(shown->deCycles->text(), QString("100"));
        reopened.SetModified(false);
    }

    // Water and the excavation's base: the seepage switch, B and L in the file's length unit
    // and the least basal-heave factor, typed, refused where out of range with the field named,
    // saved with Ctrl+S, read back, and on a change to SI B and L converted, the factor not.
    void waterAndExcavationBaseAreSavedAndFollowTheUnits() {
        auto* models = Open<TDlgModels>(*form_, "OptionsModels", "DlgModels");
        QVERIFY(models);
        QCOMPARE(models->ChkSeepage->text(), QString("Steady see&page round the toe where the water levels differ"));
        QCOMPARE(Label(models->deWidth), QString("Excavation &Width, B (0: not checked) (in)"));
        QCOMPARE(Label(models->deLength), QString("Excavation Len&gth, L (0: a long excavation) (in)"));
        QCOMPARE(Label(models->deHeaveFactor), QString("Least Basal-Heave &Factor"));
        QVERIFY(!models->ChkSeepage->isChecked());
        QCOMPARE(models->deWidth->text(), QString("0"));
        QCOMPARE(models->deHeaveFactor->text(), QString("1.5"));
        QVERIFY(!form_->IsModified());
        QTest::mouseClick(models->ChkSeepage, Qt::LeftButton);
        QVERIFY(form_->IsModified());

        ui_.Clear();
        Type(models->deWidth, "-12");
        QCOMPARE(ui_.shown, QStringList({"Excavation Width, B (0: not checked): Entry must be greater than or equal to 0"}));
        QCOMPARE(models->deWidth->text(), QString("0"));
        ui_.Clear();
        TypeOnly(models->deHeaveFactor, "0");
        QTest::keyClick(models->deHeaveFactor, Qt::Key_Return);
        QCOMPARE(ui_.shown, QStringList({"Least Basal-Heave Factor: Entry must be greater than 0"}));
        QCOMPARE(QApplication::focusWidget(), models->deHeaveFactor);
        ui_.Clear();
        TypeOnly(models->deHeaveFactor, "12");
        QTest::keyClick(models->deHeaveFactor, Qt::Key_Return);
        QCOMPARE(ui_.shown, QStringList({"Least Basal-Heave Factor: Entry must be less than or equal to 10"}));
        QCOMPARE(models->deHeaveFactor->text(), QString("10"));
        ui_.Clear();
        Type(models->deHeaveFactor, "2.5");
        Type(models->deWidth, "472.4");
        TypeOnly(models->deLength, "1181");

        QTemporaryDir jobs;
        ui_.savePath = jobs.filePath("base.tx4d");
        QTest::keyClick(models->deLength, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(!form_->IsModified());
        QFile saved(ui_.savePath);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().endsWith("TORVEX-OPTIONS 1\r\nSeepage 1\r\nExcavationWidth 472.4\r\n"
                                         "ExcavationLength 1181\r\nBasalHeaveFactor 2.5\r\nEND\r\n"));

        TMainForm reopened;
        reopened.show();
        QVERIFY(reopened.OpenFileName(ui_.savePath));
        auto* shown = Open<TDlgModels>(reopened, "OptionsModels", "DlgModels");
        QVERIFY(shown);
        QVERIFY(shown->ChkSeepage->isChecked());
        QCOMPARE(shown->deWidth->text(), QString("472.4"));
        QCOMPARE(shown->deLength->text(), QString("1181"));
        QCOMPARE(shown->deHeaveFactor->text(), QString("2.5"));
        // To SI with the dialog open: 472.4 in = 11.99896 m, 1181 in = 29.9974 m.
        reopened.Action("SIUnits")->trigger();
        QTRY_COMPARE(Label(shown->deWidth), QString("Excavation &Width, B (0: not checked) (m)"));
        QCOMPARE(Label(shown->deLength), QString("Excavation Len&gth, L (0: a long excavation) (m)"));
        QVERIFY(std::fabs(shown->deWidth->Number() - 11.99896L) < 1e-12L);
        QVERIFY(std::fabs(shown->deLength->Number() - 29.9974L) < 1e-12L);
        QCOMPARE(shown->deHeaveFactor->text(), QString("2.5"));
        QVERIFY(reopened.CommitActiveChild());
        const TProjectOptions& si = reopened.Workspace().Project().Options;
        QVERIFY(std::fabs(si.ExcavationWidth - 11.99896L) < 1e-12L);
        QVERIFY(std::fabs(si.ExcavationLength - 29.9974L) < 1e-12L);
        QCOMPARE(static_cast<double>(si.BasalHeaveFactor), 2.5);
        QCOMPARE(si.Seepage, 1);
        reopened.SetModified(false);
    }

    // ---- Pictures ----

    // The strip load's X in the Additional Surcharge picture runs from the wall face to the
    // strip's near edge, as the engine measures it, and the centre line is marked w/2 from
    // that edge. (A user who took X to the centre line got 6.5 % less moment.)
    void theStripLoadsXRunsToItsNearEdge() {
        QSvgRenderer picture(QString(":/pictures/Surcharges.svg"));  // the dialog's picture
        QVERIFY(picture.isValid());
        const QRectF strip = picture.boundsOnElement("strip");
        const QRectF x = picture.boundsOnElement("strip-x");
        const QRectF half = picture.boundsOnElement("strip-half-width");
        // Bounds take in half of each stroke: a pixel of slack.
        QVERIFY(std::fabs(strip.width() - 60) <= 1);
        QVERIFY2(std::fabs(x.left() - 40) <= 1 && std::fabs(x.right() - strip.left()) <= 1,
                 qPrintable(QString("X from %1 to %2, strip from %3").arg(x.left()).arg(x.right()).arg(strip.left())));
        QVERIFY(std::fabs(half.left() - strip.left()) <= 1 && std::fabs(half.right() - strip.center().x()) <= 1);
        QVERIFY(std::fabs(picture.boundsOnElement("strip-centre-line").center().x() - strip.center().x()) <= 1);
    }

    void everyPictureIsThereAndScreenshotsAreWritten() {
        Project().UseSprings = 1;
        Project().UseConcentratedLoads = 1;
        Project().UseSurcharges = 1;
        Project().FreeHeight = 120;
        const struct {
            const char* action;
            const char* name;
        } dialogs[] = {{"DataTitle", "dlgTitle"},        {"DataProp", "DlgProp"},
                       {"DataCSD", "dlgCSD"},            {"DataRebar", "DlgRebar"},
                       {"DataBoundCond", "DlgConLoads"}, {"DataSoilSpring", "DlgSpring"},
                       {"OptionofTexeEditor1", "DlgOptions"}, {"DataJob", "DlgJob"},
                       {"OptionsDesign", "DlgDesign"}, {"OptionsModels", "DlgModels"}};
        const QString folder = QCoreApplication::applicationDirPath();
        for (const auto& d : dialogs) {
            form_->Action(d.action)->trigger();
            QMdiSubWindow* child = form_->SingleChild(d.name);
            QVERIFY2(child, d.name);
            for (TPictureView* picture : child->findChildren<TPictureView*>()) {
                QVERIFY2(picture->IsLoaded(), d.name);
                QVERIFY(picture->width() >= picture->sizeHint().width() / 2);
            }
            // Every label shows its whole text.
            for (QLabel* label : child->findChildren<QLabel*>())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            for (const int ratio : {1, 2}) {
                QImage image(child->size() * ratio, QImage::Format_ARGB32);
                image.setDevicePixelRatio(ratio);
                image.fill(Qt::white);
                child->render(&image);
                QVERIFY(image.save(folder + QString("/screenshot-dialog-%1-%2x.png").arg(d.name).arg(ratio)));
            }
        }
        // The help pictures of the table editors.
        for (const char* table : {"DistLoad", "SoilStrength"}) {
            form_->Workspace().Table(table).ShowEditor();
            auto* editor = dynamic_cast<TTableForm*>(form_->Workspace().Table(table).Editor());
            QVERIFY(editor);
            auto* help = editor->findChild<QLabel*>("imgHelp");
            QVERIFY2(help && help->isVisibleTo(editor) && !help->pixmap().isNull(), table);
            QVERIFY(editor->Frame()->grab().save(folder + QString("/screenshot-table-%1.png").arg(table)));
        }
    }
};

QTEST_MAIN(InputDialogsTest)
#include "InputDialogsTest.moc"
