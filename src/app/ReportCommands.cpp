// File, Export Report: the calculation report of the project and its last results as one
// PDF. Results that are missing or older than the data are offered a run first, as Run
// Analysis makes it; the document is made in memory and written through the safe save.

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QStatusBar>
#include <iterator>
#include <exception>
#include <new>

#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "desktop/SafeOutput.h"
#include "desktop/UserInterface.h"
#include "plot/PlotForm.h"
#include "project/OptionBlock.h"
#include "project/ProgramData.h"
#include "report/ReportWriter.h"

namespace torvex {
namespace {

constexpr const char* kNoResultsQuestion =
    "This project has no results yet. Run the analysis now and then export the report?";
constexpr const char* kStaleResultsQuestion =
    "The data have changed since the last run. Run the analysis now and then export the report?";
// How long the status bar tells where the report went.
constexpr int kReportWrittenMilliseconds = 8000;

// The paper of the last Page Setup of an open graph window, as its printing would take it.
bool LetterFromPageSetup(const QMdiArea& desk) {
    for (QMdiSubWindow* child : desk.subWindowList())
        if (auto* plot = qobject_cast<TPlotForm*>(child->widget()))
            return plot->PageLayout().pageSize().id() == QPageSize::Letter;
    return false;
}

}  // namespace

// The output report is the record of a run: also of one whose cases were input errors (the
// report then shows them), which leaves no plot file behind.
bool TMainForm::ResultsCurrent() const {
    return !IsModified() && ResultSetCurrent(workspace_.Project().FileName);
}

void TMainForm::FileExportReportClick() {
    if (!CommitActiveChild()) return;
    if (!ResultsCurrent()) {
        const bool none = !FileExists(SiblingFileName(workspace_.Project().FileName, ".tx4o"));
        if (UserInterface().Confirm(this, none ? kNoResultsQuestion : kStaleResultsQuestion, false) != TAnswer::Yes)
            return;
        CompRunClick();
        // A run that failed or was cancelled has said so; there is nothing to report.
        if (!ResultsCurrent()) return;
    }
    TReportChoices choices;
    choices.letter = LetterFromPageSetup(*desk_);
    TProjectOptions& options = workspace_.Project().Options;
    QString* const jobTexts[] = {&choices.jobNumber, &choices.jobTitle, &choices.engineer, &choices.checker,
                                 &choices.revision};
    std::string* const jobFields[] = {&options.JobNumber, &options.JobTitle, &options.Engineer, &options.Checker,
                                      &options.Revision};
    for (size_t i = 0; i < std::size(jobFields); ++i) *jobTexts[i] = QString::fromStdString(*jobFields[i]);
    if (!UserInterface().ReportChoices(this, choices)) return;
    // A corrected job detail is the project's too, saved with it next time.
    for (size_t i = 0; i < std::size(jobFields); ++i)
        if (const std::string text = TrimmedJobText(jobTexts[i]->toStdString()); text != *jobFields[i]) {
            *jobFields[i] = text;
            workspace_.SetModified(true);
        }
    const QString dataFile = QString::fromStdString(workspace_.Project().FileName);
    const QString suggested = ReportFileName(QFileInfo(dataFile).absolutePath(), dataFile);
    const QString path =
        UserInterface().SaveFileName(this, "Export Report", suggested, {"PDF document (*.pdf)"}, "pdf");
    if (path.isEmpty()) return;
    try {
        const std::unique_ptr<TReportSource> source = ReadReportSource(workspace_.Project().FileName);
        if (!source->analysis.error.empty()) {
            UserInterface().Information(this, "The report cannot be made: " +
                                                  QString::fromStdString(source->analysis.error));
            return;
        }
        TReportSettings settings;
        settings.letter = choices.letter;
        settings.nodeAppendix = choices.nodeAppendix;
        settings.job = options;
        SaveBytes(path, MakeReport(*source, settings).bytes);
        statusBar()->showMessage("Report written to " + path, kReportWrittenMilliseconds);
    } catch (const std::bad_alloc&) {
        UserInterface().Information(this, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
    }
}

}  // namespace torvex
