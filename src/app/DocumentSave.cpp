// Save and Save As. Files of the older ".txd" format are never overwritten: Save asks for a
// name through Save As instead, and Save As writes a ".txd" name as ".tx4d".

#include <QFileInfo>
#include <exception>
#include <filesystem>
#include <optional>

#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "desktop/UserInterface.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "project/StageFiles.h"

namespace torvex {
namespace {

bool OlderFormat(const std::string& fileName) {
    return FormatKindOf(QString::fromStdString(fileName)) == 2;
}

// The name Save As offers: an older ".txd" name as it is, any other with ".tx4d".
QString SaveAsPreset(const std::string& fileName) {
    const QString name = QString::fromStdString(fileName);
    return OlderFormat(fileName) ? name : FileNamedLike(name, ".tx4d");
}

}  // namespace

bool TMainForm::WriteProjectFile(const std::string& sourceBase) {
    TProgramData& project = workspace_.Project();
    QString failure;
    try {
        if (project.StageCount < 2) WriteDataFile(workspace_);
        else CombineStageFiles(workspace_, project.SaveTarget, sourceBase);
        return true;
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    } catch (...) {
        failure = "The data file could not be written.";
    }
    UserInterface().Information(this, failure);
    return false;
}

void TMainForm::FileSaveClick() {
    if (CommitActiveChild()) Save();
}

void TMainForm::FileSaveAsClick() {
    if (CommitActiveChild()) SaveAs();
}

TSaveOutcome TMainForm::Save() {
    TProgramData& project = workspace_.Project();
    const bool modified = IsModified();
    try {
        if (project.StageCount > 1) WriteCurrentStage(workspace_);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
        return TSaveOutcome::Failed;
    }
    project.SaveTarget = project.FileName;
    if (project.FileName == kNewProjectFileName || OlderFormat(project.FileName)) return SaveAs();
    if (WriteProjectFile(project.FileName)) return TSaveOutcome::Written;
    // Writing the stage file marked the project saved; the data file was not.
    SetModified(modified);
    return TSaveOutcome::Failed;
}

TSaveOutcome TMainForm::SaveAs() {
    TProgramData& project = workspace_.Project();
    if (project.StageCount > 1) project.PreviousFileName = project.FileName;
    const QString preset = SaveAsPreset(project.FileName);
    const QString title = "Save " + DisplayFileName(preset) + " As";
    const QString chosen =
        UserInterface().SaveFileName(this, title, preset, DataFileFilters(), kDefaultDataExtension);
    if (chosen.isEmpty()) return TSaveOutcome::Cancelled;
    // Only the current format is written. A ".txd" name (the offered name of an older file,
    // or a bare name completed with the dialog's default extension) would be read back as
    // the older format, so the file goes under the same name with ".tx4d".
    const QString completed = QFileInfo(chosen).absoluteFilePath();
    QString target = completed;
    if (FormatKindOf(target) == 2) target = FileNamedLike(target, ".tx4d");
    // The dialog asked about the name it showed; the file really written may be another one.
    if (target != completed && QFileInfo::exists(target) &&
        UserInterface().Confirm(this, QFileInfo(target).fileName() +
                                          " already exists.\nDo you want to replace it?",
                                false) != TAnswer::Yes)
        return TSaveOutcome::Cancelled;
    // The stage on screen goes to its file first, so that the new file holds what the user
    // sees, as Save does.
    const bool modified = IsModified();
    // A Save As that fails leaves every file under the old name as it was, the stage file on
    // screen included; the edits stay in memory.
    std::optional<std::string> currentStageText;
    const std::string currentStageFile = StageFileName(project.FileName, project.CurrentStage);
    if (project.StageCount > 1) {
        try {
            if (QFileInfo(QString::fromStdString(currentStageFile)).isFile())
                currentStageText = LoadTextFile(currentStageFile);
            WriteCurrentStage(workspace_);
        } catch (const std::exception& error) {
            UserInterface().Information(this, QString::fromStdString(error.what()));
            SetModified(modified);
            return TSaveOutcome::Failed;
        }
    }
    const std::string previousName = project.FileName;
    project.FileName = target.toStdString();
    SetCaption();
    project.SaveTarget = project.FileName;
    if (!WriteProjectFile(project.PreviousFileName)) {
        // Nothing was written under the new name: the project keeps the name its files have.
        project.FileName = previousName;
        if (project.StageCount > 1) {
            try {
                if (currentStageText) SaveTextFile(currentStageFile, *currentStageText);
                else std::filesystem::remove(currentStageFile);
            } catch (const std::exception&) {
                // The stage file then holds the edits on screen, which stay in memory too.
            }
        }
        SetCaption();
        SetModified(modified);
        return TSaveOutcome::Failed;
    }
    UpdatePrevFile(QString::fromStdString(project.FileName));
    CloseAllChildren();
    UpdateToolButtons();
    return TSaveOutcome::Written;
}

}  // namespace torvex
