// Run Analysis: the saved project goes to the engine library through the names file, and the
// plot file the engine writes comes back as the result graphs.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <cstdint>

#include "app/DynamicLibrary.h"
#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "desktop/UserInterface.h"
#include "plot/PlotFileReader.h"
#include "project/SafeSave.h"
#include "project/DesignSummary.h"
#include "summary/DesignSummaryView.h"

namespace torvex {
namespace {

// The engine's one entry: a 32-bit integer in, nothing used out.
using TEngineEntry = void (*)(int32_t);
constexpr int32_t kEngineArgument = 13;

// Puts the wait cursor up and takes it down again however the call ends.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

QString TMainForm::ProgramFolder() const {
    return programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
}

QString TMainForm::InstalledFile(const QString& name, const char* installedFolder) const {
    const QDir program(ProgramFolder());
    if (QFileInfo::exists(program.filePath(name))) return program.filePath(name);
    // Installed, the program is in bin/ and its files in their own folders beside bin/.
    const QString installed = QDir::cleanPath(program.filePath(QString("../") + installedFolder + "/" + name));
    return QFileInfo::exists(installed) ? installed : program.filePath(name);
}

QString TMainForm::EngineLibraryPath() const {
    return engineLibraryPath_.isEmpty() ? InstalledFile(kEngineLibraryName, kInstalledLibraryFolder)
                                        : engineLibraryPath_;
}

QString TMainForm::RunFolder() const {
    // The names file is the user's and serves one run: it goes to the user's runtime folder
    // (cleared at log-out), never beside the program, where root could leave it in /usr/bin.
    // Each running program has a folder of its own there: two of them running analyses at
    // the same time must not read each other's names file.
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty()) base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QDir mine(QDir(base).filePath("torvex"));
    const QString folder = mine.filePath(QString::number(QCoreApplication::applicationPid()));
    if (!QFileInfo(folder).isDir()) {
        // The empty folders of programs that have ended go when the next one starts a run.
        for (const QString& name : mine.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool number = false;
            const long pid = name.toLong(&number);
            if (number && pid != QCoreApplication::applicationPid() && ProcessIsGone(pid)) mine.rmdir(name);
        }
        const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        if (QDir().mkpath(folder)) {
            QFile::setPermissions(mine.path(), owner);
            QFile::setPermissions(folder, owner);
        }
    }
    return folder;
}

QByteArray TMainForm::NamesFileText(const std::string& dataFileName) {
    QByteArray text;
    for (const std::string& name : {dataFileName, SiblingFileName(dataFileName, ".tx4o"),
                                    SiblingFileName(dataFileName, ".tx4p"),
                                    SiblingFileName(dataFileName, ".tx4r")})
        text += QByteArray::fromStdString(name) + "\r\n";
    return text;
}

void TMainForm::CompRunClick() {
    if (!CommitActiveChild()) return;
    // A save that failed leaves a stale file on disk: it is not analysed. A cancelled Save As
    // runs the file as it is on disk (an older-format file), or nothing for a new project.
    if (Save() == TSaveOutcome::Failed) return;
    const std::string dataFile = workspace_.Project().FileName;
    if (dataFile == kNewProjectFileName) return;

    const QString folder = RunFolder();
    if (!QDir::setCurrent(folder)) {
        UserInterface().Information(this, "Cannot change to the folder \"" + folder + "\".");
        return;
    }
    {
        QFile names(kNamesFileName);
        if (!names.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            names.write(NamesFileText(dataFile)) < 0 || !names.flush()) {
            UserInterface().Information(this, "Cannot write the file \"" +
                                                  QDir(folder).filePath(kNamesFileName) +
                                                  "\": " + names.errorString());
            return;
        }
    }
    if (library_) {
        UserInterface().Information(this, "Attempt to reinitialize DLL");
        return;
    }
    RunEngine();
    // The names file served this run only; it goes also after a failed load.
    QFile::remove(kNamesFileName);
}

void TMainForm::RunEngine() {
    library_ = std::make_unique<TDynamicLibrary>();
    try {
        library_->SetLibraryName(EngineLibraryPath().toStdString());
        library_->Load();
        libraryEntry_ = library_->GetEntry("_ITORVEX");
    } catch (const EDLLError&) {
        libraryEntry_ = nullptr;
        library_.reset();
        UserInterface().Information(this, "Attempt to initialize DLL failed");
        return;
    }
    // A library without the entry cannot run an analysis: the same message, and no call.
    if (!libraryEntry_) {
        library_.reset();
        UserInterface().Information(this, "Attempt to initialize DLL failed");
        return;
    }
    {
        TWaitCursor wait;
        reinterpret_cast<TEngineEntry>(libraryEntry_)(kEngineArgument);
    }
    UserInterface().Information(
        this,
        "Computations are completed. Please, check output file for results or error messages.");
    // The engine reports everything through its files: without them (a full disk, a folder
    // that refuses the files) the user would look for a report that is not there.
    const std::string outputFile = SiblingFileName(workspace_.Project().FileName, ".tx4o");
    if (!FileExists(outputFile))
        UserInterface().Information(this, "The analysis could not write its results: there is no output file \"" +
                                              QString::fromStdString(outputFile) +
                                              "\". Check that the folder has room and may be written to.");
    const std::string plotFile = SiblingFileName(workspace_.Project().FileName, ".tx4p");
    if (ResultFileExists(".tx4p")) {
        plotLoaded_ = ReadPlotFile(graphs_, workspace_, plotFile,
                                   [this](const std::string& message) {
                                       UserInterface().Information(this, QString::fromStdString(message));
                                   });
        RefitOpenGraphs();
    }
    // An open design summary shows this run's answers, or goes when the run gave none.
    if (QMdiSubWindow* child = SingleChild("DesignSummary"))
        if (auto* view = qobject_cast<TDesignSummaryView*>(child->widget())) {
            const std::string summary = SiblingFileName(workspace_.Project().FileName, kDesignSummaryExtension);
            if (ResultFileExists(kDesignSummaryExtension))
                view->Load(QFile::decodeName(QByteArray::fromStdString(summary)));
            else child->close();
        }
    UpdateToolButtons();
    libraryEntry_ = nullptr;
    library_.reset();
}

}  // namespace torvex
