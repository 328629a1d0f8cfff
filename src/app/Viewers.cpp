// The text files of a project open in the user's text editor; the help contents and the
// manuals open with the program the system associates with their type.

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QProcess>
#include <QUrl>

#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "desktop/ExternalPrograms.h"
#include "desktop/UserInterface.h"
#include "project/DesignSummary.h"
#include "summary/DesignSummaryView.h"

namespace torvex {
namespace {

// Whether the desktop has a program for the file's type; a page also opens in a browser.
bool DesktopShows(const QString& path) {
    const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    if (!DesktopHandlerOf(type).isEmpty()) return true;
    if (type != "text/html") return false;
    if (qEnvironmentVariableIsSet("BROWSER")) return true;
    for (const char* browser : {"x-www-browser", "firefox", "chromium"})
        if (!QStandardPaths::findExecutable(browser).isEmpty()) return true;
    return false;
}

}  // namespace

void TMainForm::SetProcessStarter(std::function<bool(const TProgramCall&)> starter) {
    startProcess_ = std::move(starter);
}

void TMainForm::SetUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }

std::optional<TProgramCall> TMainForm::EditorCall(const QString& path) const {
    std::optional<TProgramCall> call = EditorFromSetting(wordProcessor_);
    if (!call) return DesktopTextEditorCall(path);
    call->Arguments << path;
    return call;
}

void TMainForm::ShowInEditor(const QString& path) {
    const std::optional<TProgramCall> call = EditorCall(path);
    if (!call) {
        UserInterface().Information(this, NoTextEditorMessage(path));
        return;
    }
    const bool started = startProcess_ ? startProcess_(*call)
                                       : QProcess::startDetached(call->Program, call->Arguments);
    if (!started) UserInterface().Information(this, kEditorStartFailed);
}

void TMainForm::OpenHelpFile(const char* fileName) {
    const QString path = InstalledFile(fileName, kInstalledDocumentFolder);
    const QUrl url = QUrl::fromLocalFile(path);
    // A missing document is not reported; a document nothing can show is.
    const bool shown = openUrl_ ? openUrl_(url)
                                : !QFileInfo(path).isFile() ||
                                      (DesktopShows(path) && QDesktopServices::openUrl(url));
    if (!shown) UserInterface().Information(this, NoViewerMessage(path));
}

void TMainForm::CompInputClick() { ShowInEditor(QString::fromStdString(workspace_.Project().FileName)); }

void TMainForm::CompKernelClick() {
    ShowInEditor(FileNamedLike(QString::fromStdString(workspace_.Project().FileName), ".tx4r"));
}

void TMainForm::CompOutputClick() {
    ShowInEditor(FileNamedLike(QString::fromStdString(workspace_.Project().FileName), ".tx4o"));
}

void TMainForm::SpeedButton5Click() { CompOutputClick(); }

// The summary of the last run, read again each time the command is given. Figures of other
// input are never shown as the project's: a summary that is not current is offered a run
// first, as Export Report offers one.
void TMainForm::CompSummaryClick() {
    if (!CommitActiveChild()) return;
    if (!ResultsCurrent()) {
        const bool none = !FileExists(SiblingFileName(workspace_.Project().FileName, ".tx4o"));
        const char* question = none ? "This project has no results yet. Run the analysis now and then show the "
                                      "design summary?"
                                    : "The data have changed since the last run. Run the analysis now and then "
                                      "show the design summary?";
        if (UserInterface().Confirm(this, question, false) != TAnswer::Yes) {
            UpdateToolButtons();
            return;
        }
        CompRunClick();
        // A run that failed or was cancelled has said so.
        if (!ResultsCurrent()) return;
    }
    const std::string file = SiblingFileName(workspace_.Project().FileName, kDesignSummaryExtension);
    if (!ResultFileExists(kDesignSummaryExtension)) {
        UpdateToolButtons();
        return;
    }
    QMdiSubWindow* child = ShowSingleChild("DesignSummary", [] { return new TDesignSummaryView; }, QSize(680, 560));
    if (auto* view = child ? qobject_cast<TDesignSummaryView*>(child->widget()) : nullptr) {
        view->IsCurrent = [this] { return ResultsCurrent(); };
        view->Load(QFile::decodeName(QByteArray::fromStdString(file)));
    }
}

void TMainForm::RefreshSummaryCurrency() {
    if (QMdiSubWindow* child = SingleChild("DesignSummary"))
        if (auto* view = qobject_cast<TDesignSummaryView*>(child->widget())) view->RefreshCurrency();
}

// The help contents are the user's manual as a page for the browser; the technical manual is a
// PDF like the user's manual.
void TMainForm::HelpContentsClick() { OpenHelpFile(kHelpContentsFile); }
void TMainForm::UserssManual1Click() { OpenHelpFile(kUsersManualFile); }
void TMainForm::Tec1Click() { OpenHelpFile(kTechnicalManualFile); }

}  // namespace torvex
