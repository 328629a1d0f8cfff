// The rules that check and enable menu items and tool-bar buttons. Every drop-down first
// commits the active child window's edits (except Graphics) and then recomputes its items
// from the project, so a project read from a file shows its own switches.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

#include "app/FileNames.h"
#include "project/DesignSummary.h"
#include "app/MainWindow.h"
#include "desktop/ChildWindow.h"
#include "project/StageFiles.h"

namespace torvex {
namespace {

void SetEnabled(QAction* action, bool enabled) {
    if (action) action->setEnabled(enabled);
}

// Menu captions show "&" as a mnemonic marker; a literal one is doubled.
QString Escaped(QString text) { return text.replace('&', "&&"); }

}  // namespace

QAction* TMainForm::Action(const QString& name) const { return findChild<QAction*>(name); }
QMenu* TMainForm::Menu(const QString& name) const { return findChild<QMenu*>(name); }

bool TMainForm::ResultFileExists(const char* extension) const {
    const std::string& data = workspace_.Project().FileName;
    return ResultSetCurrent(data) && FileExists(SiblingFileName(data, extension));
}

// The design summary's command is offered while a summary of any run is there: it says when
// that run is not of the present input, and offers to run again.
bool TMainForm::SummaryFileExists() const {
    return FileExists(SiblingFileName(workspace_.Project().FileName, kDesignSummaryExtension));
}

bool TMainForm::ResultsAvailable() const {
    return ResultsTest(plotLoaded_, ResultFileExists(".tx4p"));
}

bool TMainForm::CommitActiveChild() {
    if (desk_->subWindowList().isEmpty()) return true;
    QMdiSubWindow* active = desk_->currentSubWindow();
    if (!active) return true;
    if (auto* child = dynamic_cast<TCommitsEdits*>(active->widget())) return child->CommitEdits();
    if (auto* frame = dynamic_cast<TCommitsEdits*>(active)) return frame->CommitEdits();
    return true;
}

bool TMainForm::CommitBeforeMenu() {
    if (CommitActiveChild()) return true;
    // The menu does not drop down over the bad entry that the user must correct first.
    if (auto* menu = qobject_cast<QMenu*>(sender())) QTimer::singleShot(0, menu, &QMenu::close);
    return false;
}

void TMainForm::FileMenuClick() {
    if (!CommitBeforeMenu()) return;
    const std::string current = QDir::currentPath().toStdString();
    for (int slot = 0; slot < TRecentFiles::kSlots; ++slot) {
        QAction* item = prevFileItems_[static_cast<size_t>(slot)];
        const bool listed = slot < prevFiles_.Count();
        if (listed)
            item->setText(Escaped(QString::fromStdString(
                TRecentFiles::MenuCaption(slot, prevFiles_.Slot(slot), current))));
        item->setVisible(listed);
    }
    Action("N14")->setVisible(prevFiles_.Count() > 0);
}

void TMainForm::DataMenuClick() {
    if (!CommitBeforeMenu()) return;
    const TProgramData& project = workspace_.Project();
    SetEnabled(Action("DataTitle"), true);
    SetEnabled(Action("DataJob"), true);
    SetEnabled(Action("DataProp"), true);
    SetEnabled(Action("DataSoilLayer"), project.UseRestraints != 0);
    SetEnabled(Action("DataBoundCond"), project.UseConcentratedLoads != 0);
    SetEnabled(Action("DataSoilSpring"), project.UseSprings != 0);
    SetEnabled(Action("DataPYCurves"), project.UsePYCurves != 0);
    SetEnabled(Action("DataEICurves"), project.UseMEICurves != 0);
    SetEnabled(Action("DataPYMod"), project.UsePYModifiers != 0);
    SetEnabled(Action("DataRebar"), project.UseSurcharges != 0);
    const bool soil = project.GeneratedPressure == 1 || project.GenerateCurves != 0;
    SetEnabled(Action("DataAxLoads"), soil);
    SetEnabled(Action("DataCSD"), soil);
    const bool userPressure = project.EarthPressureOption == 1;
    SetEnabled(Action("DistributedActiveEarthPressureMenu"), userPressure);
    SetEnabled(Action("DataLoading"), userPressure);
    const bool terms = project.UseLongTerm != 0 && project.StageCount == 1;
    for (const char* name : {"ShortTerm1", "LongTerm1", "ShortTerm2", "LongTerm2"})
        Action(name)->setVisible(terms);
}

void TMainForm::OptionsMenuClick() {
    if (!CommitBeforeMenu()) return;
    TProgramData& project = workspace_.Project();
    Action("OptionsPYCurves")->setChecked(project.UsePYCurves != 0);
    Action("OptionsEICurves")->setChecked(project.UseMEICurves != 0);
    Action("OptionsPYMod")->setChecked(project.UsePYModifiers != 0);
    Action("OptionsLateralSpring")->setChecked(project.UseSprings != 0);
    Action("OptionsTipRes")->setChecked(project.UseRestraints != 0);
    Action("OptionsConcentrate")->setChecked(project.UseConcentratedLoads != 0);
    Action("OptionsSurcharge")->setChecked(project.UseSurcharges != 0);
    QAction* longTerm = Action("OptionsLong");
    longTerm->setEnabled(project.StageCount == 1);
    longTerm->setChecked(project.UseLongTerm != 0);
    if (longTerm->isChecked()) project.LongTermMarker = 9;
    QAction* staged = Action("OptionsStaged");
    staged->setEnabled(project.UseLongTerm == 0);
    staged->setChecked(project.StageCount > 1);
    Action("OptionsKPYOP")->setChecked(project.GenerateCurves == 1);
    project.UseDistributedLoad = project.EarthPressureOption == 1 ? 1 : 0;
}

void TMainForm::OptionsUnitsClick() {
    const int system = workspace_.Project().UnitSystem;
    for (const char* name : {"EnglishUnits", "SIUnits", "FLUnits"}) {
        QAction* item = Action(name);
        item->setChecked(item->data().toInt() == system);
    }
}

void TMainForm::OptionsKOutptClick() {
    TProgramData& project = workspace_.Project();
    if (project.EarthPressureOption == 0) project.EarthPressureOption = 1;
    for (const char* name : {"Userinput", "Gentriangular", "Gentrape"}) {
        QAction* item = Action(name);
        item->setChecked(item->data().toInt() == project.EarthPressureOption);
    }
    project.UseDistributedLoad = project.EarthPressureOption == 1 ? 1 : 0;
}

void TMainForm::StageMenuClick() {
    if (!CommitBeforeMenu()) return;
    const TProgramData& project = workspace_.Project();
    const bool staged = project.StageCount > 1;
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        QAction* item = Action(QString("Stage%1Menu").arg(stage));
        item->setEnabled(stage == 1 ? staged : stage <= project.StageCount);
        item->setChecked(staged && stage == project.CurrentStage);
    }
    Action("SaveCurrentStage")->setEnabled(staged);
    Action("CopyPreviousStage")->setEnabled(staged && project.CurrentStage > 1);
}

void TMainForm::ComputationMenuClick() {
    if (!CommitBeforeMenu()) return;
    Action("CompInput")->setEnabled(FileExists(workspace_.Project().FileName));
    Action("CompKernel")->setEnabled(ResultFileExists(".tx4r"));
    Action("CompOutput")->setEnabled(ResultFileExists(".tx4o"));
    Action("CompSummary")->setEnabled(SummaryFileExists());
    // View Wall Geometry and whatever follows it need results.
    const QList<QAction*> items = Menu("ComputationMenu")->actions();
    const bool results = ResultsAvailable();
    for (qsizetype index = items.indexOf(Action("CompLayers")); index >= 0 && index < items.size();
         ++index)
        items[index]->setEnabled(results);
    // The graph items that need their graphs to have something to show.
    TGraphicsMenuState state;
    state.Comppy = Action("Comppy")->isEnabled();
    state.CompDef = Action("CompDef")->isEnabled();
    state.CompMom = Action("CompMom")->isEnabled();
    state.CompShear = Action("CompShear")->isEnabled();
    state.CompSoil = Action("CompSoil")->isEnabled();
    state.CompLD = Action("CompLD")->isEnabled();
    state = ApplyGraphTests(state, graphs_);
    Action("Comppy")->setEnabled(state.Comppy);
    Action("CompDef")->setEnabled(state.CompDef);
    Action("CompMom")->setEnabled(state.CompMom);
    Action("CompShear")->setEnabled(state.CompShear);
    Action("CompSoil")->setEnabled(state.CompSoil);
    Action("CompLD")->setEnabled(state.CompLD);
}

void TMainForm::GraphicsMenuClick() {
    const TGraphicsMenuState state = GraphicsMenuState(graphs_, ResultsAvailable());
    Action("Comppy")->setEnabled(state.Comppy);
    Action("CompDef")->setEnabled(state.CompDef);
    Action("CompMom")->setEnabled(state.CompMom);
    Action("CompShear")->setEnabled(state.CompShear);
    Action("CompSoil")->setEnabled(state.CompSoil);
    Action("DefMomShear")->setEnabled(state.DefMomShear);
    Action("CompLD")->setEnabled(state.CompLD);
    Action("CompCombine")->setEnabled(state.CompCombine);
}

void TMainForm::ArrangeMenuClick() {
    if (!CommitBeforeMenu()) return;
    const QList<QMdiSubWindow*> children = desk_->subWindowList(QMdiArea::CreationOrder);
    QMdiSubWindow* active = desk_->currentSubWindow();
    listedWindows_.assign(windowItems_.size(), nullptr);
    for (size_t index = 0; index < windowItems_.size(); ++index) {
        QAction* item = windowItems_[index];
        const bool listed = index < static_cast<size_t>(children.size());
        if (listed) {
            QMdiSubWindow* child = children[static_cast<qsizetype>(index)];
            listedWindows_[index] = child;
            item->setText(Escaped(child->windowTitle()));
            item->setChecked(child == active);
        } else {
            item->setChecked(false);
        }
        item->setVisible(listed);
    }
    Action("N1")->setVisible(!children.isEmpty());
}

void TMainForm::HelpMenuClick() { CommitBeforeMenu(); }

void TMainForm::UpdateTermMenus() {
    const bool longTerm = workspace_.Project().UseLongTerm != 0;
    Action("SoilLayerDataMenu")->setVisible(longTerm);
    Action("DataLoading")->setVisible(longTerm);
    Action("DataAxLoads")->setVisible(!longTerm);
    Action("DistributedActiveEarthPressureMenu")->setVisible(!longTerm);
    Action("OptionsStaged")->setEnabled(!longTerm);
    Action("SpeedButton7")->setEnabled(!longTerm);
}

void TMainForm::UpdateToolButtons() {
    const TGraphToolButtons buttons = GraphToolButtonState(graphs_, ResultsAvailable());
    Action("SpeedButton13")->setEnabled(buttons.SpeedButton13);
    Action("SpeedButton8")->setEnabled(buttons.SpeedButton8);
    Action("SpeedButton11")->setEnabled(buttons.SpeedButton11);
    Action("SpeedButton10")->setEnabled(buttons.SpeedButton10);
    Action("SpeedButton12")->setEnabled(buttons.SpeedButton12);
    Action("SpeedButton19")->setEnabled(buttons.SpeedButton19);
    Action("SpeedButton9")->setEnabled(buttons.SpeedButton9);
    Action("SpeedButton5")->setEnabled(ResultFileExists(".tx4o"));
    Action("SpeedButton20")->setEnabled(SummaryFileExists());
    RefreshSummaryCurrency();
}

void TMainForm::UpdateStageControls() {
    const TProgramData& project = workspace_.Project();
    const bool staged = project.StageCount > 1;
    statusText_->setText(staged ? QString::fromStdString(StageStatusText(project.CurrentStage))
                                : QString());
    Action("StageMenu")->setVisible(staged);
    UpdateStageButtons();
}

void TMainForm::UpdateStageButtons() {
    const TProgramData& project = workspace_.Project();
    const bool staged = project.StageCount > 1;
    Action("StageButtonSeparator")->setVisible(staged);
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        QAction* button = Action(QString("SpeedButton%1").arg(13 + stage));
        button->setVisible(staged);
        button->setEnabled(stage <= 2 ? staged : project.StageCount >= stage);
        button->setChecked(staged && stage == project.CurrentStage);
    }
}

}  // namespace torvex
