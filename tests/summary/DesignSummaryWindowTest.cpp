// The Design Criteria dialog and the design summary window inside the main window, driven as
// a user drives them: Options > Design Criteria with typed keys, File Save, the file opened
// again, Options > Units; Run Analysis with the engine library, Computation > Design Summary
// and its tool-bar button, Print and Save as CSV; a run that fails.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <algorithm>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "dataentry/DataEdit.h"
#include "dialogs/DlgDesign.h"
#include "summary/DesignSummaryView.h"

using namespace torvex;

namespace {

// Shows the main window active and opens a writable copy of a bundled example in `jobs`; the
// copy's path, or empty when it could not be opened.
QString ShowWithExample(TMainForm& form, const QTemporaryDir& jobs, const char* example, const char* name) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return {};
    QApplication::setActiveWindow(&form);
    const QString data = jobs.filePath(name);
    if (!QFile::copy(QString(TORVEX_SOURCE_DIR "/examples/") + example, data)) return {};
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
    return form.OpenFileName(data) ? data : QString();
}

// Answers Print with a PDF file (no printer needed).
class TPrintingInterface : public testing::TRecordingInterface {
public:
    bool Print(QWidget*, QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return !printTo.isEmpty();
    }
    QString printTo;
};

// Replaces the field's text by typed keys, then leaves it with Tab (or checks it with Return).
void Type(TDataEdit* field, const QString& text, Qt::Key leave = Qt::Key_Tab) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, leave);
}

TDlgDesign* OpenCriteria(TMainForm& form) {
    form.Action("OptionsDesign")->trigger();
    QMdiSubWindow* child = form.SingleChild("DlgDesign");
    return child ? qobject_cast<TDlgDesign*>(child->widget()) : nullptr;
}

TDesignSummaryView* OpenSummary(TMainForm& form, const char* route) {
    form.Action(route)->trigger();
    QMdiSubWindow* child = form.SingleChild("DesignSummary");
    return child ? qobject_cast<TDesignSummaryView*>(child->widget()) : nullptr;
}

double Shown(TDataEdit* field) { return field->text().toDouble(); }

}  // namespace

class DesignSummaryWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    TPrintingInterface ui_;
    QString startDir_;

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        testing::UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { SetUserInterface(nullptr); }
    void cleanup() {
        QDir::setCurrent(startDir_);
        ui_.Clear();
    }

    void criteriaTypedSavedReopenedAndConverted() {
        QTemporaryDir jobs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        ui_.savePath = jobs.filePath("wall.tx4d");
        form.FileSaveAsClick();
        QVERIFY(!form.IsModified());
        TDlgDesign* dialog = OpenCriteria(form);
        QVERIFY(dialog);
        // The unit labels of English units; the defaults shown.
        QCOMPARE(dialog->deMomentCapacity->EditLabel()->text(), QString("&Moment Capacity of the Wall Unit (lbs-in)"));
        QCOMPARE(dialog->deShearCapacity->EditLabel()->text(), QString("S&hear Capacity of the Wall Unit (lbs)"));
        QCOMPARE(dialog->deAllowableDeflection->EditLabel()->text(), QString("&Allowable Deflection (in)"));
        QCOMPARE(Shown(dialog->deTargetF), 1.5);
        QCOMPARE(Shown(dialog->deMomentCapacity), 0.0);

        Type(dialog->deMomentCapacity, "1200000");
        Type(dialog->deShearCapacity, "30000");
        Type(dialog->deAllowableDeflection, "2.5");
        Type(dialog->deTargetF, "1.3");
        QVERIFY(form.IsModified());
        // Refused at entry: a target F outside the 0.5 to 20 the file can hold (one could be
        // saved but not read back) and a capacity below 0; nothing stored of them.
        ui_.shown.clear();
        Type(dialog->deTargetF, "0.3", Qt::Key_Return);
        Type(dialog->deTargetF, "25", Qt::Key_Return);
        QCOMPARE(ui_.shown, QStringList({"Entry must be greater than or equal to 0.5",
                                         "Entry must be less than or equal to 20"}));
        ui_.shown.clear();
        Type(dialog->deTargetF, "1.3", Qt::Key_Return);
        Type(dialog->deShearCapacity, "-1");
        QCOMPARE(ui_.shown, QStringList({"Entry must be greater than or equal to 0"}));
        QCOMPARE(QApplication::focusWidget(), dialog->deShearCapacity);
        Type(dialog->deShearCapacity, "30000");
        QCOMPARE(ui_.shown.size(), 1);

        form.FileSaveClick();  // commits the dialog, then writes the file
        const TProjectOptions& saved = form.Workspace().Project().Options;
        QCOMPARE(static_cast<double>(saved.MomentCapacity), 1200000.0);
        QCOMPARE(static_cast<double>(saved.ShearCapacity), 30000.0);
        QCOMPARE(static_cast<double>(saved.AllowableDeflection), 2.5);
        QCOMPARE(static_cast<double>(saved.TargetSafetyFactor), 1.3);
        const QByteArray file = torvex::testing::FileContent(jobs.filePath("wall.tx4d"));
        QVERIFY2(file.contains("TORVEX-OPTIONS 1\r\n"), file.right(200).constData());
        QVERIFY(file.contains("MomentCapacity 1200000"));
        QVERIFY(file.contains("TargetSafetyFactor 1.3"));

        // Opened again in a fresh window: the dialog shows what was typed.
        TMainForm again;
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QApplication::setActiveWindow(&again);
        QVERIFY(again.OpenFileName(jobs.filePath("wall.tx4d")));
        TDlgDesign* reopened = OpenCriteria(again);
        QVERIFY(reopened);
        QCOMPARE(Shown(reopened->deMomentCapacity), 1200000.0);
        QCOMPARE(Shown(reopened->deShearCapacity), 30000.0);
        QCOMPARE(Shown(reopened->deAllowableDeflection), 2.5);
        QCOMPARE(Shown(reopened->deTargetF), 1.3);

        // Options > Units > SI: the open dialog shows the converted values and SI labels.
        again.Action("SIUnits")->trigger();
        QTRY_COMPARE(reopened->deAllowableDeflection->EditLabel()->text(), QString("&Allowable Deflection (m)"));
        QCOMPARE(reopened->deMomentCapacity->EditLabel()->text(), QString("&Moment Capacity of the Wall Unit (kN-m)"));
        QVERIFY(qAbs(Shown(reopened->deMomentCapacity) - 1200000 * 0.0254 * 0.004448222468060651) < 1e-3);
        QVERIFY(qAbs(Shown(reopened->deShearCapacity) - 30000 * 0.004448222468060651) < 1e-4);
        QVERIFY(qAbs(Shown(reopened->deAllowableDeflection) - 0.0635) < 1e-6);
        QCOMPARE(Shown(reopened->deTargetF), 1.3);  // a ratio: no unit
        QVERIFY(reopened->grab().save(QCoreApplication::applicationDirPath() + "/screenshot-design-criteria.png"));
    }

    void summaryAfterARunShowsTheTieBackAndWhatFails() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 760);
        const QString data = ShowWithExample(form, jobs, "anchored-soft-clay.tx4d", "anchored.tx4d");
        QVERIFY(!data.isEmpty());
        QVERIFY(!form.Action("SpeedButton20")->isEnabled());
        // The example is in SI units. A small moment capacity: the moment check fails.
        TDlgDesign* dialog = OpenCriteria(form);
        QVERIFY(dialog);
        Type(dialog->deMomentCapacity, "50");
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.Action("SpeedButton4")->trigger();  // Run Analysis
        QVERIFY(QFile::exists(jobs.filePath("anchored.tx4y")));
        QVERIFY(form.Action("SpeedButton20")->isEnabled());
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(form.Action("CompSummary")->isEnabled());

        TDesignSummaryView* view = OpenSummary(form, "CompSummary");
        QVERIFY(view);
        QCOMPARE(view->Summary().error, std::string());
        QCOMPARE(view->Summary().cases.size(), size_t(1));
        const TSummaryCase& c = view->Summary().cases[0];
        QCOMPARE(c.supports.size(), size_t(1));
        QCOMPARE(c.supports[0].kind, 2);  // the tie-back: a lateral spring

        // The report of the same run gives the same force.
        const QString report = QString::fromLatin1(torvex::testing::FileContent(jobs.filePath("anchored.tx4o")));
        const QRegularExpressionMatch match =
            QRegularExpression(R"(node (\d+), depth \S+, lateral spring: (\S+) per wall unit)").match(report);
        QVERIFY2(match.hasMatch(), qPrintable(report.left(400)));
        QCOMPARE(match.captured(1).toInt(), c.supports[0].node);
        const double reported = match.captured(2).toDouble();
        QVERIFY2(qAbs(c.supports[0].force - reported) <= 1e-5 * qAbs(reported), qPrintable(match.captured(2)));
        const QString shown = view->text->toPlainText();
        QVERIFY2(shown.contains(QString::number(c.supports[0].force, 'g', 6) + " kN ("), qPrintable(shown));
        QVERIFY(shown.contains("lateral spring"));
        // What fails is marked: red and "exceeds"; the tool-bar button opens the same window.
        QVERIFY(c.MomentFails());
        QVERIFY(shown.contains("utilisation " + QString::number(c.momentUtilisation, 'g', 4) +
                               ": exceeds the capacity 50 kN-m"));
        QVERIFY(c.momentUtilisation > 2);
        QVERIFY(view->Html().contains("class=\"fails\" style=\"color:#c00000"));
        QCOMPARE(OpenSummary(form, "SpeedButton20"), view);
        view->parentWidget()->resize(700, 600);
        QVERIFY(view->grab().save(QCoreApplication::applicationDirPath() + "/screenshot-design-summary.png"));

        // Save as CSV: the header row, the case row with the failing moment.
        ui_.savePath = jobs.filePath("summary.csv");
        QTest::mouseClick(view->btnSaveCsv, Qt::LeftButton);
        const QByteArray csv = torvex::testing::FileContent(jobs.filePath("summary.csv"));
        QVERIFY(csv.startsWith(
            "case,max_deflection,allowable_deflection,deflection_check,max_moment,moment_utilisation,moment_check,"
            "max_shear,shear_utilisation,shear_check,le_method,le_F,target_F,le_Fp,embedment,required_embedment,"
            "embedment_check\r\n"));
        QVERIFY(csv.contains(",exceeds,"));
        QVERIFY(csv.contains("lateral spring"));
        // Print to a PDF file.
        ui_.printTo = jobs.filePath("summary.pdf");
        QTest::mouseClick(view->btnPrint, Qt::LeftButton);
        const QByteArray pdf = torvex::testing::FileContent(jobs.filePath("summary.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(QString::fromLatin1(pdf).count(QRegularExpression(R"(/Type\s*/Page(?!s))")), 1);  // one page
        QVERIFY(ui_.shown.filter("could not").isEmpty());
    }

    // Figures of a run before the data changed are never shown as the project's: the open
    // window says so and neither prints nor saves them, and the command offers a run first. A
    // set whose report is gone (a run killed between its renames) is no results at all.
    void aSummaryOfOtherInputIsOfferedARun() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 760);
        QVERIFY(!ShowWithExample(form, jobs, "cantilever-sand.tx4d", "wall.tx4d").isEmpty());
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        TDlgDesign* dialog = OpenCriteria(form);
        QVERIFY(dialog);
        Type(dialog->deMomentCapacity, "200000");
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        form.Action("SpeedButton4")->trigger();
        TDesignSummaryView* view = OpenSummary(form, "CompSummary");
        QVERIFY(view && view->Current());
        const double before = view->Summary().cases.at(0).momentUtilisation;
        QVERIFY(before > 0.5 && before < 1);

        dialog = OpenCriteria(form);
        Type(dialog->deMomentCapacity, "50000");
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!view->Current());
        QVERIFY(view->lblNotCurrent->isVisibleTo(view));
        QVERIFY(!view->btnPrint->isEnabled() && !view->btnSaveCsv->isEnabled());
        QVERIFY(view->grab().save(QCoreApplication::applicationDirPath() + "/screenshot-design-summary-stale.png"));
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(form.Action("CompSummary")->isEnabled());
        const QString stale = "The data have changed since the last run. Run the analysis now and then show the "
                              "design summary?";
        ui_.answer = TAnswer::No;
        form.Action("CompSummary")->trigger();
        QCOMPARE(ui_.asked.value(ui_.asked.size() - 1), stale);
        QVERIFY(!view->Current());
        ui_.answer = TAnswer::Yes;
        form.Action("SpeedButton20")->trigger();
        QVERIFY(view->Current() && !view->lblNotCurrent->isVisibleTo(view));
        const TSummaryCase& c = view->Summary().cases.at(0);
        QCOMPARE(c.momentCapacity, 50000.0);
        QVERIFY2(qAbs(c.momentUtilisation - 4 * before) < 1e-4 * before, qPrintable(QString::number(c.momentUtilisation)));
        QVERIFY(c.MomentFails());
        // Save as CSV offers the data file's folder, not the folder the program runs in.
        ui_.savePath = jobs.filePath("chosen.csv");
        QTest::mouseClick(view->btnSaveCsv, Qt::LeftButton);
        QCOMPARE(ui_.savePresets.value(ui_.savePresets.size() - 1), jobs.filePath("wall.summary.csv"));
        QVERIFY(QFile::exists(jobs.filePath("chosen.csv")));

        // The report gone, as a run killed before its last rename leaves the set: the project
        // opened again has no graphs, no output and no summary of that run.
        view->parentWidget()->close();
        QVERIFY(QFile::remove(jobs.filePath("wall.tx4o")));
        QVERIFY(form.OpenFileName(jobs.filePath("wall.tx4d")));
        QVERIFY(!form.Action("SpeedButton5")->isEnabled());
        QVERIFY(!form.Action("SpeedButton8")->isEnabled());
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(!form.Action("CompOutput")->isEnabled() && !form.Action("CompKernel")->isEnabled());
        ui_.answer = TAnswer::No;
        form.Action("CompSummary")->trigger();
        QCOMPARE(ui_.asked.value(ui_.asked.size() - 1),
                 QString("This project has no results yet. Run the analysis now and then show the design summary?"));
        QTRY_VERIFY(form.SingleChild("DesignSummary") == nullptr);
    }

    // The criteria are the project's: a stage switch leaves them as typed, every stage is
    // checked against them, and the strut put in at stage 2 keeps its largest force.
    void stagesShareTheCriteriaAndTheSummaryHasABlockEach() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 760);
        const QString data = ShowWithExample(form, jobs, "three-stage-excavation.tx4d", "staged.tx4d");
        QVERIFY(!data.isEmpty());
        QCOMPARE(form.Workspace().Project().StageCount, 3);
        TDlgDesign* dialog = OpenCriteria(form);
        QVERIFY(dialog);
        Type(dialog->deAllowableDeflection, "0.1");  // inches: stage 3 bends more
        QTest::mouseClick(form.ToolBar()->widgetForAction(form.Action("SpeedButton15")), Qt::LeftButton);
        QCOMPARE(form.Workspace().Project().CurrentStage, 2);
        QCOMPARE(static_cast<double>(form.Workspace().Project().Options.AllowableDeflection), 0.1);
        form.Action("OptionsDesign")->trigger();
        QTRY_COMPARE(dialog->deAllowableDeflection->text(), QString("0.1"));

        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.Action("SpeedButton4")->trigger();
        TDesignSummaryView* view = OpenSummary(form, "SpeedButton20");
        QVERIFY(view);
        const std::vector<TSummaryCase>& cases = view->Summary().cases;
        QCOMPARE(cases.size(), size_t(3));
        const char* labels[] = {"Stage 1", "Stage 2", "Stage 3"};
        for (size_t k = 0; k < 3; ++k) {
            QCOMPARE(QString::fromStdString(cases[k].label), QString(labels[k]));
            QCOMPARE(cases[k].allowableDeflection, 0.1);
            QCOMPARE(cases[k].DeflectionFails(), cases[k].maxDeflection > 0.1);
        }
        QVERIFY(!cases[0].DeflectionFails() && cases[2].DeflectionFails());
        QVERIFY(cases[0].supports.empty());
        QCOMPARE(cases[1].supports.size(), size_t(1));
        QCOMPARE(cases[2].supports.size(), size_t(1));
        QCOMPARE(cases[2].supports[0].largestSoFar,
                 std::max(qAbs(cases[1].supports[0].force), qAbs(cases[2].supports[0].force)));
        const QString shown = view->text->toPlainText();
        QCOMPARE(shown.count("exceeds the allowable 0.1 in"), 1);
        QCOMPARE(shown.count("within the allowable 0.1 in"), 2);
        QVERIFY(form.grab().save(QCoreApplication::applicationDirPath() + "/screenshot-design-summary-staged.png"));
    }

    // A summary file spoilt on disk (by hand, or cut short) opens with what could be read and
    // the line that could not.
    void aSpoiltSummaryFileShowsItsBadLine() {
        QTemporaryDir jobs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ui_.savePath = jobs.filePath("wall.tx4d");
        form.FileSaveAsClick();
        QFile spoilt(jobs.filePath("wall.tx4y"));
        QVERIFY(spoilt.open(QIODevice::WriteOnly));
        spoilt.write("TORVEX-DESIGN-SUMMARY 1\nCASE Stage 1\nOUTCOME converged\nEND\nCASE Stage 2\nMOMENT 1 2\n");
        spoilt.close();
        QFile report(jobs.filePath("wall.tx4o"));  // the report of the run that wrote it
        QVERIFY(report.open(QIODevice::WriteOnly));
        report.close();
        form.UpdateToolButtons();
        TDesignSummaryView* view = OpenSummary(form, "SpeedButton20");
        QVERIFY(view);
        QCOMPARE(view->Summary().cases.size(), size_t(1));
        const QString shown = view->text->toPlainText();
        QVERIFY(shown.contains("Stage 1"));
        QVERIFY2(shown.contains("could not be read whole: line 6: MOMENT needs 4 numbers"), qPrintable(shown));
    }

    void aFailedRunLeavesNoSummary() {
        QTemporaryDir jobs, run;
        TMainForm form;
        const QString data = ShowWithExample(form, jobs, "anchored-soft-clay.tx4d", "anchored.tx4d");
        QVERIFY(!data.isEmpty());
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.Action("CompRun")->trigger();
        QVERIFY(QFile::exists(jobs.filePath("anchored.tx4y")));
        TDesignSummaryView* view = OpenSummary(form, "SpeedButton20");
        QVERIFY(view);
        QCOMPARE(view->Summary().cases.size(), size_t(1));
        // Run again with a target F of 1: the open window shows the new answer.
        form.Workspace().Project().Options.TargetSafetyFactor = 1;
        form.Workspace().SetModified(true);
        form.Action("CompRun")->trigger();
        QCOMPARE(view->Summary().cases.at(0).targetF, 1.0);
        QVERIFY(view->text->toPlainText().contains("target 1\n"));
        // The same wall with an increment length of 0: the engine refuses it.
        form.Workspace().Project().IncrementLength = 0;
        form.Workspace().SetModified(true);
        form.Action("CompRun")->trigger();
        QVERIFY(QFile::exists(jobs.filePath("anchored.tx4o")));
        QVERIFY(!QFile::exists(jobs.filePath("anchored.tx4y")));
        QVERIFY(!form.Action("SpeedButton20")->isEnabled());
        QTRY_VERIFY(form.SingleChild("DesignSummary") == nullptr);  // closed: no answers of older input
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(!form.Action("CompSummary")->isEnabled());
        // Given anyway (a stale menu), the command opens nothing.
        form.CompSummaryClick();
        QVERIFY(form.SingleChild("DesignSummary") == nullptr);
    }
};

QTEST_MAIN(DesignSummaryWindowTest)
#include "DesignSummaryWindowTest.moc"
