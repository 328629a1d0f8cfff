// File, Export Report as a user reaches it: the menu item of the main window, its dialog and
// the file dialog answered through the user-interface seam. Results that are missing or
// older than the data are offered a run first; a failed write keeps the old file.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageLayout>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>
#include <utime.h>

#include <optional>

#include "AppTestSupport.h"
#include "ReportTestSupport.h"
#include "app/MainWindow.h"
#include "plot/PlotForm.h"

using torvex::TAnswer;
using torvex::TMainForm;
using namespace torvex::testing;

namespace {

const QString kCompleted = "Computations are completed. Please, check output file for results or error messages.";
const QString kNoResults = "This project has no results yet. Run the analysis now and then export the report?";
const QString kStale = "The data have changed since the last run. Run the analysis now and then export the report?";

// The recording interface that also answers the report dialog.
class TReportInterface : public TRecordingInterface {
public:
    // The dialog: what it offered, then the user's choice (none: what it offered).
    bool ReportChoices(QWidget*, torvex::TReportChoices& c) override {
        ++choicesAsked;
        offered = c;
        if (choices) c = *choices;
        return choicesAccepted;
    }
    bool PageSetup(QWidget*, QPrinter& printer) override {
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(1, 1, 1, 1)));
        return true;
    }
    int choicesAsked = 0;
    torvex::TReportChoices offered;
    std::optional<torvex::TReportChoices> choices;
    bool choicesAccepted = true;
};

void SetModifiedTime(const QString& path, qint64 secondsFromNow) {
    const time_t when = time(nullptr) + secondsFromNow;
    const struct utimbuf times {when, when};
    QCOMPARE(::utime(QFile::encodeName(path).constData(), &times), 0);
}

}  // namespace

class ExportReportCommandTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    TReportInterface ui_;
    QString startDir_;

    // The three-stage example opened from a folder of its own.
    QString OpenExample(TMainForm& form, const QTemporaryDir& dir) {
        const QString data = dir.filePath("three-stage-excavation.tx4d");
        QFile::copy(TORVEX_SOURCE_DIR "/examples/three-stage-excavation.tx4d", data);
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.OpenFileName(data);
        ui_.Clear();
        return data;
    }
    void Export(TMainForm& form, const QString& target) {
        ui_.Clear();
        ui_.choicesAsked = 0;
        ui_.savePath = target;
        form.Action("FileExportReport")->trigger();
    }

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void init() {
        ui_.Clear();
        ui_.answer = TAnswer::Cancel;
        ui_.choices.reset();
        ui_.choicesAccepted = true;
    }
    void cleanup() { QDir::setCurrent(startDir_); }

    // After a run the command asks nothing but its dialog and the file name, suggests the
    // data file's name, and writes the report with the choices made.
    void afterARunTheReportIsWritten() {
        QTemporaryDir dir;
        TMainForm form;
        const QString data = OpenExample(form, dir);
        form.Action("CompRun")->trigger();
        QCOMPARE(ui_.shown, QStringList({kCompleted}));
        ui_.choices = torvex::TReportChoices{false, true};
        const QString target = dir.filePath("package.pdf");
        Export(form, target);
        QVERIFY(ui_.asked.isEmpty());
        QCOMPARE(ui_.choicesAsked, 1);
        QCOMPARE(ui_.saveTitles, QStringList({"Export Report"}));
        QCOMPARE(ui_.savePresets, QStringList({dir.filePath("three-stage-excavation.pdf")}));
        QCOMPARE(ui_.saveFilters, QStringList({"PDF document (*.pdf)"}));
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(torvex::testing::FileContent(target).startsWith("%PDF-"));
        QVERIFY(PdfPages(target).join('\n').contains("Appendix: node results"));

        // Cancelling the dialog or the file name writes nothing.
        ui_.choicesAccepted = false;
        Export(form, dir.filePath("cancelled.pdf"));
        QVERIFY(ui_.saveTitles.isEmpty());
        ui_.choicesAccepted = true;
        Export(form, QString());
        QVERIFY(!QFileInfo::exists(dir.filePath("cancelled.pdf")));
        QVERIFY(ui_.shown.isEmpty());
    }

    // The job details typed in Data > Job Details are saved with the project, offered again by
    // the export's dialog, where a correction is the project's too, and printed on the title
    // page and in every page's footer; the status bar then says where the report went.
    void jobDetailsAreOfferedAndOnEveryPage() {
        QTemporaryDir dir;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        const QString data = OpenExample(form, dir);
        form.Action("DataJob")->trigger();
        QMdiSubWindow* child = form.SingleChild("DlgJob");
        QVERIFY(child);
        for (const auto& [name, text] : {std::pair{"edJobNumber", "4711"}, std::pair{"edEngineer", "A. Engineer"}}) {
            auto* edit = child->widget()->findChild<QLineEdit*>(name);
            QVERIFY(edit);
            edit->setFocus();
            QTest::keyClicks(edit, text);
        }
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(torvex::testing::FileContent(data).endsWith("JobNumber 4711\r\nEngineer A. Engineer\r\nEND\r\n"));
        form.Action("CompRun")->trigger();

        torvex::TReportChoices corrected;
        corrected.jobNumber = "4711";
        corrected.engineer = "A. Engineer";
        corrected.checker = "  B. Checker ";
        ui_.choices = corrected;
        const QString target = dir.filePath("signed.pdf");
        Export(form, target);
        QCOMPARE(ui_.offered.jobNumber, QString("4711"));
        QCOMPARE(ui_.offered.engineer, QString("A. Engineer"));
        QCOMPARE(form.Workspace().Project().Options.Checker, std::string("B. Checker"));
        QVERIFY(form.IsModified());
        QCOMPARE(form.statusBar()->currentMessage(), "Report written to " + target);
        const QStringList pages = PdfPages(target);
        QVERIFY(pages.size() > 3);
        QVERIFY(pages[0].contains(QRegularExpression("Job number\\s+4711")));
        QVERIFY(pages[0].contains(QRegularExpression("Checker\\s+B. Checker")));
        for (const QString& page : pages)
            QVERIFY2(page.simplified().contains("Job 4711 | Engineer: A. Engineer | Checker: B. Checker"),
                     qPrintable(page.right(300)));
    }

    // The dialog offers the paper of the last Page Setup of an open graph window (A4 before
    // any), and the report is on that paper.
    void thePaperOfPageSetupIsOffered() {
        QTemporaryDir dir;
        TMainForm form;
        OpenExample(form, dir);
        form.Action("CompRun")->trigger();
        const QString target = dir.filePath("report.pdf");
        Export(form, target);
        QVERIFY(!ui_.offered.letter && !ui_.offered.nodeAppendix);
        QVERIFY(RunProgram("pdfinfo", {target}).out.contains("(A4)"));

        emit form.Menu("GraphicsMenu")->aboutToShow();  // the Graphics menu drops down
        form.Action("CompDef")->trigger();
        torvex::TPlotForm* plot = nullptr;
        for (QMdiSubWindow* child : form.Desk()->subWindowList())
            if (auto* p = qobject_cast<torvex::TPlotForm*>(child->widget())) plot = p;
        QVERIFY(plot);
        plot->MenuItem("PlotPageSetup")->trigger();
        Export(form, target);
        QVERIFY(ui_.offered.letter);
        QVERIFY(RunProgram("pdfinfo", {target}).out.contains(QRegularExpression("Page size:\\s+612 x 792 pts")));
    }

    // Without results, with changed data (in the program or on disk): the question, and only
    // Yes runs the analysis and then exports.
    void missingOrStaleResultsAreOfferedARun() {
        const struct {
            const char* name;
            bool run, modify, touch;
            QString question;
        } cases[] = {{"no results", false, false, false, kNoResults},
                     {"changed in the program", true, true, false, kStale},
                     {"data file newer than the results", true, false, true, kStale}};
        for (const auto& c : cases) {
            QTemporaryDir dir;
            TMainForm form;
            const QString data = OpenExample(form, dir);
            if (c.run) form.Action("CompRun")->trigger();
            if (c.modify) form.SetModified(true);
            if (c.touch) SetModifiedTime(data, 60);
            const QString target = dir.filePath("report.pdf");
            ui_.answer = TAnswer::No;
            Export(form, target);
            QCOMPARE(ui_.asked, QStringList({c.question}));
            QCOMPARE(ui_.choicesAsked, 0);
            QVERIFY2(!QFileInfo::exists(target), c.name);

            ui_.answer = TAnswer::Yes;
            Export(form, target);
            QCOMPARE(ui_.asked, QStringList({c.question}));
            QCOMPARE(ui_.shown, QStringList({kCompleted}));
            QVERIFY2(torvex::testing::FileContent(target).startsWith("%PDF-"), c.name);
            QVERIFY(!form.IsModified());
            // Now current: no question the next time.
            Export(form, target);
            QVERIFY2(ui_.asked.isEmpty(), c.name);
        }
    }

    // A run whose case was an input error has no graphs, but its report says why: exported
    // without a run being offered again.
    void aRunWithAnInputErrorIsReported() {
        QTemporaryDir dir;
        const QString data = dir.filePath("rock.tx4d");
        QVERIFY(WriteFile(data, ExampleText("pile-wall-weak-rock.tx4d", kAbsurdWidthFrom, kAbsurdWidthTo)));
        TMainForm form;
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        QVERIFY(form.OpenFileName(data));
        form.Action("CompRun")->trigger();
        Export(form, dir.filePath("rock.pdf"));
        QVERIFY(ui_.asked.isEmpty());
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(PdfPages(dir.filePath("rock.pdf")).join('\n').contains("INPUT ERROR: The width"));
    }

    // A full disk and a folder in the way: the exact message, the old file byte for byte,
    // and no temporary file left beside it.
    void aFailedWriteKeepsTheOldFile() {
        QTemporaryDir dir;
        TMainForm form;
        OpenExample(form, dir);
        form.Action("CompRun")->trigger();
        const QString target = dir.filePath("report.pdf");
        const QByteArray old = "the report handed in last week";
        QVERIFY(WriteFile(target, old));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        {
            TFullDisk full(4096);
            Export(form, target);
        }
        QCOMPARE(ui_.shown, QStringList({"Cannot write \"" + target + "\": File too large."}));
        QCOMPARE(torvex::testing::FileContent(target), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);

        const QString folder = dir.filePath("taken.pdf");
        QVERIFY(QDir(dir.path()).mkdir("taken.pdf"));
        Export(form, folder);
        QCOMPARE(ui_.shown, QStringList({"Cannot write \"" + folder + "\": it is a folder, not a file."}));
        QVERIFY(QFileInfo(folder).isDir());
    }
};

QTEST_MAIN(ExportReportCommandTest)
#include "ExportReportCommandTest.moc"
