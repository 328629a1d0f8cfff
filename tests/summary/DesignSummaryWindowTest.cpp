// The Design Criteria dialog and the design summary window inside the main window, driven as
// a user drives them: Options > Design Criteria with typed keys (also the design code, its
// settings and the Partial Factors table), File Save, the file opened again, Options > Units;
// Run Analysis with the engine library, Computation > Design Summary and its tool-bar button,
// Print and Save as CSV; a run that fails.

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
#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <QToolBar>
#include <algorithm>
#include <QtTest>

#include "../app/AppTestSupport.h"
#include "app/MainWindow.h"
#include "dataentry/DataEdit.h"
#include "dialogs/DlgDesign.h"
#include "dialogs/DlgPartialFactors.h"
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

// Opens Partial Factors with its short-cut and does `work` in it while it is shown (modal).
void WithFactors(TDlgDesign* dialog, const std::function<void(TDlgPartialFactors&)>& work) {
    bool reached = false;
    QTimer poll;  // the button's short-cut clicks it a moment later
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* factors = qobject_cast<TDlgPartialFactors*>(QApplication::activeModalWidget());
        if (!factors || reached || !factors->isActiveWindow()) return;
        reached = true;
        poll.stop();
        work(*factors);
        if (factors->isVisible()) factors->reject();  // a failed check must not leave it open
    });
    poll.start(10);
    QTest::keyClick(dialog, Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(reached);
    // A window manager gives the activation back to the main window; the offscreen platform
    // does not.
    QApplication::setActiveWindow(dialog->window());
}

// The texts of one column of the factors' table.
QStringList Column(TDlgPartialFactors& factors, int column) {
    QStringList texts;
    for (int row = 0; row < factors.table->rowCount(); ++row) texts << factors.table->item(row, column)->text();
    return texts;
}

// Selects the factor's value by a click and types over it, ended with Return.
void TypeFactor(TDlgPartialFactors& factors, int row, const QString& text) {
    QTableWidget* table = factors.table;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(row, TDlgPartialFactors::kValue)).center());
    for (const QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

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
        QCOMPARE(ui_.shown, QStringList({"Target Factor of Safety (embedment): Entry must be greater than or equal to 0.5",
                                         "Target Factor of Safety (embedment): Entry must be less than or equal to 20"}));
        ui_.shown.clear();
        Type(dialog->deTargetF, "1.3", Qt::Key_Return);
        Type(dialog->deShearCapacity, "-1");
        QCOMPARE(ui_.shown, QStringList({"Shear Capacity of the Wall Unit: Entry must be greater than or equal to 0"}));
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

    // Design to a code: chosen and typed in an SI project, partial factors edited (OK keeps,
    // Cancel drops, Recommended Values puts back), saved, opened again, converted to English.
    void codeSettingsTypedSavedReopenedAndConverted() {
        QTemporaryDir jobs;
        TMainForm form;
        const QString data = ShowWithExample(form, jobs, "anchored-soft-clay.tx4d", "wall.tx4d");
        QVERIFY(!data.isEmpty());
        ui_.shown.clear();
        TDlgDesign* dialog = OpenCriteria(form);
        QVERIFY(dialog);
        // No code: what only a code uses is disabled; the earth pressure is not.
        QCOMPARE(dialog->CbDesignCode->currentText(), QString("None"));
        QVERIFY(!dialog->deMinSurcharge->isEnabled() && !dialog->btnPartialFactors->isEnabled());
        QVERIFY(!dialog->ChkUnplannedAuto->isEnabled() && !dialog->ChkLoadsVariable->isEnabled());
        QVERIFY(dialog->CbPressureMethod->isEnabled() && dialog->deFrictionActive->isEnabled());

        QTest::keyClick(dialog, Qt::Key_D, Qt::AltModifier);  // Design Code
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(dialog->CbDesignCode->currentText(), QString("EC7-DA2"));
        QVERIFY(dialog->CbDesignCode->itemData(2, Qt::ToolTipRole).toString().endsWith("runs SLS and DA2"));
        QVERIFY(form.IsModified());
        QVERIFY(dialog->ChkUnplannedAuto->isChecked() && !dialog->deUnplanned->isEnabled());
        QTest::keyClick(dialog, Qt::Key_U, Qt::AltModifier);  // not Auto: a length
        QTRY_VERIFY(dialog->deUnplanned->isEnabled());
        // Refused, naming the field: a negative length, a ratio above 1.
        Type(dialog->deUnplanned, "-0.1");
        Type(dialog->deUnplanned, "0.4");
        Type(dialog->deMinSurcharge, "10");
        QTest::keyClick(dialog, Qt::Key_E, Qt::AltModifier);  // Earth-Pressure Method
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(dialog->CbPressureMethod->currentText(), QString("Coulomb"));
        Type(dialog->deFrictionActive, "1.2");
        Type(dialog->deFrictionActive, "0.667");
        Type(dialog->deFrictionPassive, "0.5");
        QCOMPARE(ui_.shown, QStringList({"Unplanned Excavation, \u0394a: Entry must be greater than or equal to 0",
                                         "Wall Friction, Retained Side, \u03B4/\u03C6 (active): Entry must be less "
                                         "than or equal to 1"}));
        ui_.shown.clear();
        QTest::keyClick(dialog, Qt::Key_V, Qt::AltModifier);
        QTest::keyClick(dialog, Qt::Key_B, Qt::AltModifier);
        QTRY_VERIFY(dialog->ChkLoadsVariable->isChecked() && dialog->ChkNetPressure->isChecked());

        WithFactors(dialog, [&](TDlgPartialFactors& factors) {
            QCOMPARE(Column(factors, TDlgPartialFactors::kName).join(' '),
                     QString("GammaG GammaQ GammaQ2 GammaTanPhi GammaCohesion GammaUndrained GammaUnconfined "
                             "GammaUnitWeight GammaEarthResistance GammaHydDst GammaHydStb GammaAnchor"));
            QCOMPARE(Column(factors, TDlgPartialFactors::kSet).join(' '),
                     QString("A1 A1 A2 M2 M2 M2 M2 M2 R2 HYD HYD \u2014"));
            QCOMPARE(Column(factors, TDlgPartialFactors::kValue).join(' '),
                     QString("1.35 1.5 1.3 1.25 1.25 1.4 1.4 1 1.4 1.35 0.9 1.1"));
            TypeFactor(factors, 1, "1.6");
            TypeFactor(factors, 0, "0");  // refused: GammaG stays
            TypeFactor(factors, 10, "0.8+0.15");
            QVERIFY(factors.isVisible());  // Return ends an edit, not the dialog
            QCOMPARE(ui_.shown, QStringList({"The value 0 of GammaG must be greater than 0 and at most 10. GammaG keeps its value 1.35."}));
            QCOMPARE(Column(factors, TDlgPartialFactors::kValue).mid(0, 2), QStringList({"1.35", "1.6"}));
            QTest::mouseClick(factors.btnOk, Qt::LeftButton);
        });
        WithFactors(dialog, [&](TDlgPartialFactors& factors) {
            QCOMPARE(factors.table->item(10, TDlgPartialFactors::kValue)->text(), QString("0.95"));
            QTest::keyClick(&factors, Qt::Key_R, Qt::AltModifier);  // Recommended Values
            QTRY_COMPARE(factors.table->item(10, TDlgPartialFactors::kValue)->text(), QString("0.9"));
            QCOMPARE(factors.table->item(1, TDlgPartialFactors::kValue)->text(), QString("1.5"));
            QVERIFY(factors.grab().save(QCoreApplication::applicationDirPath() + "/screenshot-partial-factors.png"));
            QTest::keyClick(&factors, Qt::Key_Escape);  // Cancel: 1.6 and 0.95 stay
        });
        // Back to no code: disabled, their values kept.
        QTest::keyClick(dialog, Qt::Key_D, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QVERIFY(!dialog->deUnplanned->isEnabled() && dialog->deUnplanned->text() == "0.4");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(dialog->deUnplanned->isEnabled());

        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);  // commits the dialog, saves
        QVERIFY(!form.IsModified());
        const TProjectOptions& saved = form.Workspace().Project().Options;
        QCOMPARE(saved.DesignCode, TDesignCode::EC7_DA2);
        QVERIFY(!saved.UnplannedExcavationAuto);
        QCOMPARE(static_cast<double>(saved.UnplannedExcavation), 0.4);
        QCOMPARE(static_cast<double>(saved.MinimumSurcharge), 10.0);
        QCOMPARE(saved.EarthPressureMethod, TEarthPressureMethod::Coulomb);
        QCOMPARE(static_cast<double>(saved.WallFrictionActive), 0.667);
        QCOMPARE(static_cast<double>(saved.WallFrictionPassive), 0.5);
        QVERIFY(saved.WallLoadsVariable == 1 && saved.NetPressureBelowExcavation == 1);
        QCOMPARE(static_cast<double>(saved.GammaQ), 1.6);
        QCOMPARE(static_cast<double>(saved.GammaHydStb), 0.95);
        QCOMPARE(static_cast<double>(saved.GammaG), 1.35);
        QVERIFY(dialog->parentWidget()->grab().save(QCoreApplication::applicationDirPath() +
                                                    "/screenshot-design-criteria-code.png"));

        // Opened again: the same settings; then English units convert the length and pressure.
        TMainForm again;
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QApplication::setActiveWindow(&again);
        QVERIFY(again.OpenFileName(data));
        QVERIFY(again.Workspace().Project().Options == saved);
        TDlgDesign* reopened = OpenCriteria(again);
        QVERIFY(reopened);
        again.Action("EnglishUnits")->trigger();  // Options > Units > English
        QTRY_COMPARE(reopened->deMinSurcharge->EditLabel()->text(), QString("M&inimum Surcharge (psi)"));
        QCOMPARE(reopened->deUnplanned->EditLabel()->text(), QString("Unplanned E&xcavation, \u0394a (in)"));
        // 15.748 in and 1.4504 psi, by the program's rounded factors from SI (39.3701 in/m,
        // 224.8089 lbs/kN), as every other length and pressure of the project.
        QVERIFY(qAbs(Shown(reopened->deUnplanned) - 0.4 * 39.3701) < 1e-12);
        QVERIFY(qAbs(Shown(reopened->deMinSurcharge) - 10 * 224.8089 / (39.3701 * 39.3701)) < 1e-12);
        QCOMPARE(reopened->deFrictionActive->text(), QString("0.667"));
        const TProjectOptions& english = again.Workspace().Project().Options;
        QVERIFY(qAbs(static_cast<double>(english.MinimumSurcharge) - 1.45037553) < 1e-8);
        QCOMPARE(static_cast<double>(english.GammaQ), 1.6);
        again.SetModified(false);
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

    // Under EC7-DA1 the summary shows the combinations side by side, the governing values in
    // bold, and its verdict names the governing combination.
    void aCodeRunShowsTheGoverningCombination() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 760);
        QVERIFY(!ShowWithExample(form, jobs, "anchored-soft-clay.tx4d", "anchored.tx4d").isEmpty());
        TDlgDesign* dialog = OpenCriteria(form);
        QVERIFY(dialog);
        QTest::keyClick(dialog, Qt::Key_D, Qt::AltModifier);  // Design Code
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(dialog->CbDesignCode->currentText(), QString("EC7-DA1"));
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.Action("SpeedButton4")->trigger();  // Run Analysis
        TDesignSummaryView* view = OpenSummary(form, "CompSummary");
        QVERIFY(view);
        const TSummaryCase& c = view->Summary().cases.at(0);
        QCOMPARE(c.code, std::string("EC7-DA1"));
        QCOMPARE(c.governing, std::string("DA1-C2"));
        QCOMPARE(c.combinations.size(), size_t(3));
        QVERIFY(c.EmbedmentFails());  // soft clay at cu / 1.4: no embedment balances DA1-C2
        const std::string verdict = DesignVerdictText(c);
        QVERIFY2(verdict.starts_with("FAILS: factor of safety and embedment. EC7-DA1: DA1-C2 governs."),
                 verdict.c_str());
        const TSummaryCombination& c2 = c.combinations[2];
        QVERIFY(c2.Governs("moment") && c2.Governs("embedment"));
        QCOMPARE(c.maxMoment, c2.maxMoment);  // the moment checked is the envelope's
        QVERIFY(view->Html().contains("<b>" + QString::number(c2.maxMoment, 'g', 5) + "</b>"));
        QVERIFY(view->text->toPlainText().contains("Design to EN 1997-1 (EC7-DA1)"));
        view->parentWidget()->resize(760, 640);
        QVERIFY(view->grab().save(QCoreApplication::applicationDirPath() + "/screenshot-design-summary-code.png"));
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
