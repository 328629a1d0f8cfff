// The text files of a project open in the user's text editor; the help contents and the
// manuals open with the program the system associates with their type.

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "app/UserInterface.h"

namespace torvex {
bool TMainForm::StartCommandLine(const QString& commandLine) {
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty()) return false;
    // The editor's path is not quoted and may hold blanks ("/opt/My Editor/edit"): the
    // longest run of leading words that names a file is the program.
    qsizetype programWords = 1;
    for (qsizetype count = words.size() - 1; count > 1; --count)
        if (QFileInfo(QStringList(words.mid(0, count)).join(' ')).isFile()) {
            programWords = count;
            break;
        }
    const QString program = QStringList(words.mid(0, programWords)).join(' ');
    return QProcess::startDetached(program, words.mid(programWords));
}

void TMainForm::SetProcessStarter(std::function<bool(const QString&)> starter) {
    startProcess_ = std::move(starter);
}

void TMainForm::SetUrlOpener(std::function<void(const QUrl&)> opener) { openUrl_ = std::move(opener); }

QString TMainForm::EditorCommandLine(const QString& path) const {
    return wordProcessor_ + " \"" + path + "\"";
}

void TMainForm::ShowInEditor(const QString& path) {
    const QString commandLine = EditorCommandLine(path);
    const bool started = startProcess_ ? startProcess_(commandLine) : StartCommandLine(commandLine);
    if (!started) UserInterface().Information(this, "An error occurred in running the Word Processor");
}

void TMainForm::OpenHelpFile(const char* fileName) {
    const QUrl url = QUrl::fromLocalFile(InstalledFile(fileName, kInstalledDocumentFolder));
    // A missing file or a type without a program is not reported.
    if (openUrl_) openUrl_(url);
    else QDesktopServices::openUrl(url);
}

void TMainForm::CompInputClick() { ShowInEditor(QString::fromStdString(workspace_.Project().FileName)); }

void TMainForm::CompKernelClick() {
    ShowInEditor(FileNamedLike(QString::fromStdString(workspace_.Project().FileName), ".tx4r"));
}

void TMainForm::CompOutputClick() {
    ShowInEditor(FileNamedLike(QString::fromStdString(workspace_.Project().FileName), ".tx4o"));
}

void TMainForm::SpeedButton5Click() { CompOutputClick(); }

// The help contents are the user's manual as a page for the browser; the technical manual is a
// PDF like the user's manual.
void TMainForm::HelpContentsClick() { OpenHelpFile(kHelpContentsFile); }
void TMainForm::UserssManual1Click() { OpenHelpFile(kUsersManualFile); }
void TMainForm::Tec1Click() { OpenHelpFile(kTechnicalManualFile); }

}  // namespace torvex
