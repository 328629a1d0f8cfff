#pragma once
// The program's main window: one multiple-document window in which every other window
// opens as a child. It owns the workspace (project and input tables) and the result graphs,
// the menus, the tool bar and the status bar, and the settings that outlive a program run.
//
// Files of this class: MainWindow.cpp (life of the window, files, settings, dropped files),
// MainMenus.cpp (building menus and tool bar), MenuRules.cpp (enabling and check rules run
// when a menu drops down or a project changes), MainCommands.cpp (menu command handlers).

#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/RecentFiles.h"
#include "desktop/ExternalPrograms.h"
#include "desktop/UserInterface.h"
#include "plot/ResultGraphs.h"
#include "project/Workspace.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QUrl;

namespace torvex {

class TChildPlacement;
class TDynamicLibrary;

inline constexpr const char* kEngineLibraryName = "Torvex2012_DLL.DLL";
inline constexpr const char* kNamesFileName = "names.dat";
// The documents the Help menu opens.
inline constexpr const char* kHelpContentsFile = "TORVEX_2012.html";
inline constexpr const char* kUsersManualFile = "TORVEX 2012 Users Manual.pdf";
inline constexpr const char* kTechnicalManualFile = "TorvexTechnicalManual.pdf";
// Where an installed program keeps its engine library and documents, from its prefix.
inline constexpr const char* kInstalledLibraryFolder = "lib/torvex";
inline constexpr const char* kInstalledDocumentFolder = "share/doc/torvex";

// How Save and Save As ended: the file written, the dialog or the overwrite question
// cancelled, or writing failed (the message has been shown).
enum class TSaveOutcome { Written, Cancelled, Failed };

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kWindowListSize = 50;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    QMdiArea* Desk() const { return desk_; }
    TWorkspace& Workspace() { return workspace_; }
    TResultGraphs& Graphs() { return graphs_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QLabel* StatusText() const { return statusText_; }

    // A menu item or tool-bar button, or a menu, by component name; nullptr when none.
    QAction* Action(const QString& name) const;
    QMenu* Menu(const QString& name) const;

    // Settings kept between runs.
    const QString& WordProcessor() const { return wordProcessor_; }
    const TRecentFiles& PrevFiles() const { return prevFiles_; }
    int PrevFileCount() const { return prevFiles_.Count(); }

    // Results are available from the plot file of the current project.
    bool PlotLoaded() const { return plotLoaded_; }
    void SetPlotLoaded(bool loaded) { plotLoaded_ = loaded; }

    // The project changed in a dialog. Clearing it also clears every table's mark.
    void SetModified(bool value);
    bool IsModified() const;

    // Copies the pending edits of the active child window into the project; false when the
    // child refused a bad entry (it has shown the message), and the command must not go on.
    bool CommitActiveChild();
    // Data menu in single-term or short-term/long-term form; staged option enabled or not.
    void UpdateTermMenus();
    // Result buttons of the tool bar from the plot file and the graphs.
    void UpdateToolButtons();
    // Status bar, Stage Construction menu and stage buttons from the project's stages.
    void UpdateStageControls();
    void UpdateStageButtons();
    // Closes every child window; with `discardEdits` a table editor goes without committing.
    void CloseAllChildren(bool discardEdits = false);
    void SetCaption();

    // Puts a file at the head of the recent-file list and stores the list when it changed.
    void UpdatePrevFile(const QString& fileName);
    // Stores the text editor and the recent-file list.
    void UpdateRegistry();

    // Save and Save As without the commit of the active child (the commands commit first).
    TSaveOutcome Save();
    TSaveOutcome SaveAs();
    // Asks to save a modified project; true when the command may go on.
    bool QuerySaveChanges();
    // Opens a data file as the Open command does. `kind` is the open dialog's filter index;
    // 0 takes it from the extension (2 for ".txd", else 1). A failed read leaves a default
    // project in place and shows the reader's message; returns whether the read succeeded.
    bool OpenFileName(const QString& path, int kind = 0);
    // The program's arguments (without the program itself): the first names a data file.
    void OpenCommandLine(const QStringList& arguments);
    // The same with the arguments' bytes as the system passed them.
    void OpenCommandLineBytes(const std::vector<std::string>& arguments);

    // The single-instance children (input dialogs, profile view, staged options): the child
    // named `name` is created by `create` only while none is open, and shown (restored and
    // brought to the front) otherwise. It frees itself when closed. A new child's frame takes
    // `openingSize` when one is given, before it shows: a child that the work area then shows
    // maximised (over a maximised one) fills the area and comes back to that size.
    QMdiSubWindow* ShowSingleChild(const QString& name, const std::function<QWidget*()>& create,
                                   QSize openingSize = {});
    // The open single-instance child of that name, or nullptr.
    QMdiSubWindow* SingleChild(const QString& name) const;

    // The folder of the program file (help files, the engine library, the names file).
    // Tests point it elsewhere; empty means the folder of the running program.
    QString ProgramFolder() const;
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    // A file the program brings along: in the program's folder (as built), else in its folder
    // of the installed tree (`installedFolder` beside the program's bin/); the program's
    // folder when it is in neither.
    QString InstalledFile(const QString& name, const char* installedFolder) const;
    // The engine library: kEngineLibraryName in the program's folder (or the installed library
    // folder) unless set otherwise.
    QString EngineLibraryPath() const;
    void SetEngineLibraryPath(const QString& path) { engineLibraryPath_ = path; }
    // The folder an analysis runs in and the names file goes to: "torvex/" + the program's
    // process id in the user's runtime folder (made when missing, open to the user alone).
    QString RunFolder() const;
    // Puts another starter of programs in place of QProcess::startDetached.
    void SetProcessStarter(std::function<bool(const TProgramCall&)> starter);
    // Hands a file to the program the system associates with its type; false when nothing
    // could show it.
    void SetUrlOpener(std::function<bool(const QUrl&)> opener);
    // The names file for the engine as it is written: four lines ended by CR LF.
    static QByteArray NamesFileText(const std::string& dataFileName);
    // The text editor's call for a file: the editor setting's program and arguments and the
    // file as the last argument, or the desktop's text editor; no value when there is none.
    std::optional<TProgramCall> EditorCall(const QString& path) const;

    // A child window's own menu goes between Options (group 0) and Stage Construction
    // (group 3), as menu group 1. It stands in the menu bar only while `child` is the active
    // child: the menus of the others are out of the bar, so that no mnemonic of a window in
    // the back competes with the one in front. The menu goes with its window.
    void InsertChildMenu(QMenu* menu, QMdiSubWindow* child);

public slots:
    // Drop-down rules.
    void FileMenuClick();
    void DataMenuClick();
    void OptionsMenuClick();
    void OptionsUnitsClick();
    void OptionsKOutptClick();
    void StageMenuClick();
    void ComputationMenuClick();
    void GraphicsMenuClick();
    void ArrangeMenuClick();
    void HelpMenuClick();

    // File.
    void FileNewClick();
    void FileOpenClick();
    void FileSaveClick();
    void FileSaveAsClick();
    // Export Report: the calculation report of the project and its results as a PDF.
    void FileExportReportClick();
    void FileExitClick();
    void MyFilePopupHandler(int slot);

    // Options.
    void UnitsClick(int system);
    void UserinputClick();
    void GentriangularClick();
    void GentrapeClick();
    void OptionskPYOpClick();
    void OptionsConcentrateClick();
    void OptionsTipResClick();
    void OptionsPYCurvesClick();
    void OptionsLateralSpringClick();
    void OptionsPYModClick();
    void OptionsSurchargeClick();
    void OptionsEICurvesClick();
    void OptionsLongClick();
    void OptionsStagedClick();
    void OptionofTexeEditor1Click();

    // Data: dialogs, and tables opened in their editor windows.
    void DataTitleClick();
    void DataJobClick();
    void DataPropClick();
    void DataCSDClick();
    void DataRebarClick();
    void DataBoundCondClick();
    void DataSoilSpringClick();
    void ShowTableEditor(const QString& tableName);

    // Stage Construction.
    void StageClick(int stage);
    void SaveCurrentStageClick();
    void CopyPreviousStageClick();

    // Computation.
    void CompRunClick();
    void CompInputClick();
    void CompKernelClick();
    void CompOutputClick();
    void CompSummaryClick();
    void CompStudyClick();
    void CompLayersClick();

    // Graphics.
    void ComppyClick();
    void CompDefClick();
    void CompMomClick();
    void CompShearClick();
    void CompSoilClick();
    void DefMomShearClick();
    void CompLDClick();
    void CompCombineClick();

    // Window.
    void WindowCascadeClick();
    void WindowArrangeClick();
    void MyPopupHandler(int index);

    // Help.
    void HelpContentsClick();
    void UserssManual1Click();
    void Tec1Click();

    // Tool-bar buttons with their own command.
    void SpeedButton5Click();
    void OptionsDesignClick();
    void OptionsModelsClick();
    void SpeedButton6Click();
    void SpeedButton7Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption);
    void ReadSettings();
    // Reads a data file as the project; on failure puts a default project in place and then
    // shows the reader's message.
    bool ReadProject(const std::string& path, int kind);
    // Splits the staged data file just read into its stage files (converting older ones); a
    // failure is shown and the project stays as read.
    void SplitStages(bool olderFormat);
    // Reads the plot file beside the project's data file, when there is one.
    void ReadPlotBeside();
    // The graph windows open during a run show its results from their full range.
    void RefitOpenGraphs();
    // Puts the menu of `active` into the menu bar and takes the other children's menus out.
    void ShowChildMenus(QMdiSubWindow* active);
    // After the project was replaced: caption, Data menu form, stages and result buttons.
    void RefreshAfterProjectChange();
    // Toggles an Apply switch; turning it off closes the editor window of its table.
    void ToggleSwitch(uint8_t& flag, const char* tableName);
    void ChooseEarthPressure(int32_t option);
    bool ResultsAvailable() const;
    // The file named like the project's data file with `extension` exists.
    // A result file of the present input (ResultSetCurrent) beside the data file.
    bool ResultFileExists(const char* extension) const;
    bool SummaryFileExists() const;
    // An open design summary shows whether its figures are of the present input.
    void RefreshSummaryCurrency();
    // Writes the data file, or joins the stage files into it; false after the error message.
    bool WriteProjectFile(const std::string& sourceBase);
    // Shows a file in the text editor.
    void ShowInEditor(const QString& path);
    void OpenHelpFile(const char* fileName);
    // Commits the active child before a menu drops down; a refused entry closes the menu.
    bool CommitBeforeMenu();
    // Runs a stage command; a file error is shown and the project stays on its stage.
    void RunStageCommand(const std::function<void()>& command);
    // Runs the engine on the saved project; the names file is in the current folder.
    void RunEngine();
    // The results belong to the project as it is: it is saved, and its output report is no
    // older than its data file (ResultSetCurrent).
    bool ResultsCurrent() const;

    TWorkspace workspace_;
    TResultGraphs graphs_;
    QMdiArea* desk_;
    // Where new children go; destroyed with the members, before the work area.
    std::unique_ptr<TChildPlacement> placement_;
    QToolBar* toolBar_ = nullptr;
    QLabel* statusText_ = nullptr;
    QString wordProcessor_;
    TRecentFiles prevFiles_;
    bool plotLoaded_ = false;
    std::vector<QAction*> prevFileItems_;
    std::vector<QAction*> windowItems_;
    std::vector<QPointer<QMdiSubWindow>> listedWindows_;
    QAction* childMenuAnchor_ = nullptr;
    struct TChildMenu {
        QPointer<QMdiSubWindow> Child;
        QPointer<QMenu> Menu;
    };
    std::vector<TChildMenu> childMenus_;
    // The created-window flags: a child counts as created while its window exists.
    QHash<QString, QPointer<QMdiSubWindow>> singleChildren_;
    QString programFolder_;
    QString engineLibraryPath_;
    std::function<bool(const TProgramCall&)> startProcess_;
    std::function<bool(const QUrl&)> openUrl_;
    // The engine library, held only for the length of one run.
    std::unique_ptr<TDynamicLibrary> library_;
    void* libraryEntry_ = nullptr;
};

}  // namespace torvex
