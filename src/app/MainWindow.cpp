// Life of the main window: start-up, settings, the project files it opens, closing, and files
// dropped on it.

#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QStatusBar>
#include <exception>
#include <filesystem>

#include "app/AppSettings.h"
#include "app/ChildPlacement.h"
#include "app/DynamicLibrary.h"
#include "app/FileNames.h"
#include "app/ToolIcons.h"
#include "dataentry/TableForm.h"
#include "desktop/UserInterface.h"
#include "plot/PlotFileReader.h"
#include "project/DataFileReader.h"
#include "project/StageFiles.h"

namespace torvex {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), desk_(new QMdiArea(this)) {
    setObjectName("MainForm");
    desk_->setObjectName("Desk");
    desk_->setBackground(Qt::white);
    setCentralWidget(desk_);
    placement_ = std::make_unique<TChildPlacement>(desk_);
    connect(desk_, &QMdiArea::subWindowActivated, this, &TMainForm::ShowChildMenus);
    // The data may have changed in another window since the design summary was made.
    connect(desk_, &QMdiArea::subWindowActivated, this, &TMainForm::RefreshSummaryCurrency);
    // Child windows take the window's icon unless they have their own.
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);
    resize(652, 522);

    CreateMenus();
    CreateToolBar();
    statusBar()->setObjectName("StatusBar");
    statusText_ = new QLabel("Construction Stage Number:", statusBar());
    statusText_->setObjectName("StatusText");
    statusBar()->addWidget(statusText_, 1);

    // The project is being replaced: no window may stay behind showing the old one, not even
    // a table editor whose cell holds a refused entry.
    workspace_.CloseChildWindows = [this] { CloseAllChildren(true); };
    workspace_.OnModifiedChanged = [this](bool) { RefreshSummaryCurrency(); };
    workspace_.SetStatusText = [this](const std::string& text) {
        statusText_->setText(QString::fromStdString(text));
    };
    workspace_.ShowInformation = [this](const std::string& text) {
        UserInterface().Information(this, QString::fromStdString(text));
    };

    // The Data menu's tables open their editor windows inside the desk.
    InstallTableEditors(workspace_, desk_);

    ReadSettings();
    CreateDefaultProject(workspace_);
    RefreshAfterProjectChange();
}

TMainForm::~TMainForm() {
    // The child windows may still reach the workspace while they go.
    workspace_.CloseChildWindows = nullptr;
    workspace_.OnModifiedChanged = nullptr;
    workspace_.SetStatusText = nullptr;
    workspace_.ShowInformation = nullptr;
    // Child windows are freed now, while the tables and graphs they show still exist;
    // closing alone would free them only later.
    const QList<QMdiSubWindow*> children = desk_->subWindowList();
    qDeleteAll(children);
}

void TMainForm::ReadSettings() {
    const TStoredSettings stored = ReadStoredSettings();
    wordProcessor_ = stored.WordProcessor.isEmpty() ? QString(kDefaultWordProcessor)
                                                    : stored.WordProcessor;
    prevFiles_.Assign(stored.Files);
}

void TMainForm::UpdateRegistry() { WriteStoredSettings(wordProcessor_, prevFiles_.Slots()); }

void TMainForm::UpdatePrevFile(const QString& fileName) {
    if (prevFiles_.Put(fileName.toStdString())) UpdateRegistry();
}

void TMainForm::SetCaption() {
    setWindowTitle(MainCaption(QString::fromStdString(workspace_.Project().FileName)));
}

void TMainForm::SetModified(bool value) {
    if (value) workspace_.SetModified(true);
    else workspace_.MarkSaved();
}

bool TMainForm::IsModified() const { return workspace_.IsModified(); }

void TMainForm::CloseAllChildren(bool discardEdits) {
    for (QMdiSubWindow* child : desk_->subWindowList(QMdiArea::CreationOrder)) {
        auto* editor = qobject_cast<TTableForm*>(child->widget());
        if (discardEdits && editor) editor->CloseAndFree();
        else child->close();
    }
}

QMdiSubWindow* TMainForm::SingleChild(const QString& name) const {
    return singleChildren_.value(name);
}

QMdiSubWindow* TMainForm::ShowSingleChild(const QString& name,
                                          const std::function<QWidget*()>& create,
                                          QSize openingSize) {
    QMdiSubWindow* child = SingleChild(name);
    // A child closed in this same turn of the event loop is hidden and about to go: a new
    // one takes its place.
    if (child && child->isHidden()) child = nullptr;
    if (!child) {
        child = desk_->addSubWindow(create());
        child->setAttribute(Qt::WA_DeleteOnClose);
        // A window opens at its own size, but never larger than a desk on screen.
        if (openingSize.isValid())
            child->resize(desk_->isVisible() ? openingSize.boundedTo(desk_->viewport()->size()) : openingSize);
        singleChildren_.insert(name, child);
    }
    if (child->isMinimized()) child->showNormal();
    else child->show();
    desk_->setActiveSubWindow(child);
    return child;
}

void TMainForm::RefreshAfterProjectChange() {
    SetCaption();
    UpdateTermMenus();
    UpdateStageControls();
    UpdateToolButtons();
}

bool TMainForm::QuerySaveChanges() {
    if (!IsModified()) return true;
    switch (UserInterface().Confirm(this, "Do you want to save any changes?", true)) {
        case TAnswer::No: return true;
        case TAnswer::Yes:
            Save();
            // Go on only when the project was really written: a cancelled Save As keeps the
            // new name, and a save that failed keeps the modified state.
            return workspace_.Project().FileName != kNewProjectFileName && !IsModified();
        default: return false;
    }
}

bool TMainForm::ReadProject(const std::string& path, int kind) {
    QString failure;
    try {
        ReadDataFile(workspace_, path, kind);
        return true;
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    } catch (...) {
        failure = "The data file could not be read.";
    }
    // The reader discarded the old project; a default one takes its place before the user
    // hears about the failure.
    CreateDefaultProject(workspace_);
    RefreshAfterProjectChange();
    UserInterface().Information(this, failure);
    return false;
}

void TMainForm::ReadPlotBeside() {
    // Graphs of other input, or of a run killed while it replaced its files, are none at all.
    const std::string plotFile = SiblingFileName(workspace_.Project().FileName, ".tx4p");
    if (ResultFileExists(".tx4p")) plotLoaded_ = ReadPlotFile(graphs_, workspace_, plotFile, nullptr);
}

bool TMainForm::OpenFileName(const QString& name, int kind) {
    // The folder becomes the current directory, so a relative name is made whole first.
    const QFileInfo info(name);
    const QString path = info.absoluteFilePath();
    QDir::setCurrent(info.absolutePath());
    if (kind <= 0) kind = FormatKindOf(path);
    if (!ReadProject(QFile::encodeName(path).toStdString(), kind)) return false;
    SetCaption();
    ReadPlotBeside();
    UpdatePrevFile(QString::fromStdString(workspace_.Project().FileName));
    UserInterface().Information(
        this, "Data file: " + DisplayFileName(path) + ", has been read by TORVEX 2012");
    UpdateTermMenus();
    TProgramData& project = workspace_.Project();
    if (project.StageCount > 1) SplitStages(FormatKindOf(path) == 2);
    UpdateStageControls();
    UpdateToolButtons();
    return true;
}

void TMainForm::SplitStages(bool olderFormat) {
    QString message;
    try {
        message = QString::fromStdString(SplitStageFiles(workspace_, workspace_.Project().FileName));
        if (olderFormat) ConvertOlderStages(workspace_);
    } catch (const std::exception& error) {
        // A folder the user cannot write: the project stays open as read, in memory.
        message = QString::fromStdString(error.what()) +
                  "\rThe construction stages are kept in files beside the data file, and that folder "
                  "cannot be written: copy the project to a folder you can write to.";
    }
    if (!message.isEmpty()) UserInterface().Information(this, message);
}

void TMainForm::OpenCommandLine(const QStringList& arguments) {
    std::vector<std::string> names;
    for (const QString& argument : arguments) names.push_back(QFile::encodeName(argument).toStdString());
    OpenCommandLineBytes(names);
}

void TMainForm::OpenCommandLineBytes(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return;
    // The name's bytes as the system gave them: a name in an 8-bit encoding that is not
    // UTF-8 still opens, and the project is saved back under the same name.
    std::string name = arguments.front();
    const size_t separator = name.find_last_of('/');
    if (name.find('.', separator == std::string::npos ? 0 : separator + 1) == std::string::npos)
        name += ".tx4d";
    std::error_code error;
    // A name that names no file leaves the default project in place, without a word.
    if (!std::filesystem::is_regular_file(name, error)) return;
    // The whole path, so that the files beside it are found after a change of folder.
    const std::string fileName = std::filesystem::absolute(name, error).lexically_normal().string();
    const int kind = FormatKindOf(QString::fromStdString(fileName));
    // An older ".txd" file needs the older reader here as well as from the Open command.
    if (!ReadProject(fileName, kind)) return;
    ReadPlotBeside();
    if (workspace_.Project().StageCount > 1) SplitStages(kind == 2);
    RefreshAfterProjectChange();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!CommitActiveChild() || !QuerySaveChanges()) {
        event->ignore();
        return;
    }
    UpdateRegistry();
    CloseAllChildren();
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    // The drop is taken whether or not a file is opened.
    event->acceptProposedAction();
    QString first;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            first = url.toLocalFile();
            break;
        }
    if (first.isEmpty() || !CommitActiveChild() || !QuerySaveChanges()) return;
    QDir::setCurrent(QFileInfo(first).absolutePath());
    OpenFileName(first, 0);
}

}  // namespace torvex
