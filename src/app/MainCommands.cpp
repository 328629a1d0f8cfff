// The handlers of the menu items and tool-bar buttons. Saving is in DocumentSave.cpp, the
// analysis run in AnalysisRun.cpp, the text viewers and help in Viewers.cpp. Commands whose
// windows are built elsewhere (input dialogs, graph windows) have their handlers here as
// empty bodies until those pieces arrive; each is marked.

#include <QAction>
#include <algorithm>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <utility>
#include <vector>

#include "app/ChildPlacement.h"
#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "desktop/UserInterface.h"
#include "project/StageFiles.h"
#include "project/UnitConversion.h"

namespace torvex {

// File.

void TMainForm::FileNewClick() {
    if (!CommitActiveChild() || !QuerySaveChanges()) return;
    CreateDefaultProject(workspace_);
    RefreshAfterProjectChange();
}

void TMainForm::FileOpenClick() {
    if (!CommitActiveChild() || !QuerySaveChanges()) return;
    int filter = 1;
    const QString path = UserInterface().OpenFileName(this, "Open", DataFileFilters(), &filter);
    if (path.isEmpty()) return;
    // "All Files" names no format: the extension decides, as for a recent or dropped file.
    OpenFileName(path, filter >= 1 && filter <= 3 ? filter : 0);
}


void TMainForm::FileExitClick() { close(); }

void TMainForm::MyFilePopupHandler(int slot) {
    if (slot < 0 || slot >= prevFiles_.Count()) return;
    const QString fileName = QString::fromStdString(prevFiles_.Slot(slot));
    if (CommitActiveChild() && QuerySaveChanges()) OpenFileName(fileName, 0);
}

// Options. Switching does not mark the project modified. A staged project switches every
// stage, so that the data file never joins stages in different units.

void TMainForm::UnitsClick(int system) {
    if (workspace_.Project().StageCount > 1)
        RunStageCommand([&] { ChangeStagesUnitSystem(workspace_, system); });
    else
        ChangeUnitSystem(workspace_, system);
}

// The choice holds at once: the next save or run must not wait for the menu to open again
// before it stops (or starts) using the user-input distributed load.
void TMainForm::ChooseEarthPressure(int32_t option) {
    TProgramData& project = workspace_.Project();
    project.EarthPressureOption = option;
    project.UseDistributedLoad = option == 1 ? 1 : 0;
}
void TMainForm::UserinputClick() { ChooseEarthPressure(1); }
void TMainForm::GentriangularClick() { ChooseEarthPressure(2); }
void TMainForm::GentrapeClick() { ChooseEarthPressure(3); }

void TMainForm::OptionskPYOpClick() {
    int32_t& generate = workspace_.Project().GenerateCurves;
    generate = std::clamp(generate, 0, 1);
    generate = 1 - generate;
}

void TMainForm::ToggleSwitch(uint8_t& flag, const char* tableName) {
    flag = flag ? 0 : 1;
    if (!flag)
        if (TGridTable* table = workspace_.FindTable(tableName)) table->CloseEditor();
}

void TMainForm::OptionsConcentrateClick() {
    ToggleSwitch(workspace_.Project().UseConcentratedLoads, "BoundCond");
}
void TMainForm::OptionsTipResClick() { ToggleSwitch(workspace_.Project().UseRestraints, "Soillayer"); }
void TMainForm::OptionsPYCurvesClick() { ToggleSwitch(workspace_.Project().UsePYCurves, "PYCurves"); }
void TMainForm::OptionsLateralSpringClick() {
    ToggleSwitch(workspace_.Project().UseSprings, "SoilStrength");
}
void TMainForm::OptionsPYModClick() { ToggleSwitch(workspace_.Project().UsePYModifiers, "PYMod"); }
void TMainForm::OptionsSurchargeClick() {
    ToggleSwitch(workspace_.Project().UseSurcharges, "SurchargeTable");
}
void TMainForm::OptionsEICurvesClick() { ToggleSwitch(workspace_.Project().UseMEICurves, "MEICurves"); }

void TMainForm::OptionsLongClick() {
    uint8_t& longTerm = workspace_.Project().UseLongTerm;
    longTerm = longTerm ? 0 : 1;
    UpdateTermMenus();
}


// Data.

void TMainForm::ShowTableEditor(const QString& tableName) {
    if (TGridTable* table = workspace_.FindTable(tableName.toStdString())) table->ShowEditor();
}

// Stage Construction.

// A stage command that cannot write or read its stage file ends with the file's message; the
// project stays on the stage it was on, with the edits in memory.
void TMainForm::RunStageCommand(const std::function<void()>& command) {
    const int stage = workspace_.Project().CurrentStage;
    const bool modified = IsModified();
    QString failure;
    try {
        command();
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    }
    if (!failure.isEmpty()) {
        if (workspace_.Project().CurrentStage != stage) {
            // The current stage was written before the other one failed to load: back to it.
            workspace_.Project().CurrentStage = stage;
            try {
                LoadCurrentStage(workspace_);
            } catch (const std::exception&) {
            }
            if (workspace_.SetStatusText) workspace_.SetStatusText(StageStatusText(stage));
        }
        if (modified) workspace_.SetModified(true);
        UserInterface().Information(this, failure);
    }
    UpdateStageButtons();
    // Open dialogs show the stage now in memory, so that they never copy another stage's
    // values into it.
    if (workspace_.RefreshOpenDialogs) workspace_.RefreshOpenDialogs();
}

void TMainForm::StageClick(int stage) {
    if (!CommitActiveChild()) {
        UpdateStageButtons();  // the pressed button goes back up
        return;
    }
    RunStageCommand([&] { SwitchToStage(workspace_, stage); });
}

void TMainForm::SaveCurrentStageClick() {
    if (!CommitActiveChild()) return;
    const bool modified = IsModified();
    RunStageCommand([&] {
        WriteCurrentStage(workspace_);
        if (modified) workspace_.SetModified(true);
    });
}

void TMainForm::CopyPreviousStageClick() {
    if (!CommitActiveChild()) return;
    const int stage = workspace_.Project().CurrentStage;
    if (stage < 2) return;
    const QString question = QString("Do you want to copy all information from Stage %1 to Stage %2")
                                 .arg(stage - 1)
                                 .arg(stage);
    if (UserInterface().Confirm(this, question, false) == TAnswer::Yes)
        RunStageCommand([&] { CopyPreviousStage(workspace_); });
}


// Window.

void TMainForm::WindowCascadeClick() {
    // The toolkit's cascade gives every child its size hint; each child keeps its own normal
    // size here instead (a maximised one the size it comes back to), within the work area.
    std::vector<std::pair<QPointer<QMdiSubWindow>, QSize>> sizes;
    for (QMdiSubWindow* child : desk_->subWindowList()) {
        if (child->isHidden() || child->isMinimized()) continue;
        if (child->isMaximized()) child->showNormal();
        sizes.emplace_back(child, child->size());
    }
    desk_->cascadeSubWindows();
    const QSize area = desk_->viewport()->size();
    for (const auto& [child, size] : sizes)
        if (child) child->resize(CascadeSize(size, child->pos(), area, child->minimumSizeHint()));
}

void TMainForm::WindowArrangeClick() {
    // Only the minimised children are lined up, in rows from the bottom left; the others
    // keep their places.
    const int width = desk_->viewport()->width();
    const int bottom = desk_->viewport()->height();
    int x = 0;
    int y = bottom;
    for (QMdiSubWindow* child : desk_->subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized()) continue;
        const QSize size = child->size();
        if (x > 0 && x + size.width() > width) {
            x = 0;
            y -= size.height();
        }
        if (x == 0) y = (y == bottom ? bottom - size.height() : y);
        child->move(x, y);
        x += size.width();
    }
}

void TMainForm::MyPopupHandler(int index) {
    if (index < 0 || static_cast<size_t>(index) >= listedWindows_.size()) return;
    if (QMdiSubWindow* child = listedWindows_[static_cast<size_t>(index)]) {
        if (child->isMinimized()) child->showNormal();
        desk_->setActiveSubWindow(child);
    }
}

}  // namespace torvex
