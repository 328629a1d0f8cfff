// Building the main window's menus and tool bar: captions, component names, short-cuts,
// hints, menu groups and the handlers each item calls.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/MainWindow.h"
#include "app/ToolIcons.h"

namespace torvex {
namespace {

// The menu group of a top-level menu: 0 for the program's File, Data and Options menus,
// 3 for the menus after them; a child window's own menu takes group 1 between the two.
constexpr const char* kMenuGroup = "menuGroup";

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption, int group) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setProperty(kMenuGroup, group);
    return menu;
}

QMenu* AddSubMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

void AddSeparator(QMenu* menu, const char* name = nullptr) {
    QAction* separator = menu->addSeparator();
    if (name) separator->setObjectName(name);
}

}  // namespace

QAction* TMainForm::AddAction(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");

    // File.
    QMenu* file = AddMenu(bar, "FileMenu", "&File", 0);
    connect(file, &QMenu::aboutToShow, this, &TMainForm::FileMenuClick);
    QAction* fileNew = AddAction(file, "FileNew", "&New");
    fileNew->setShortcut(QKeySequence("Ctrl+N"));
    connect(fileNew, &QAction::triggered, this, &TMainForm::FileNewClick);
    QAction* fileOpen = AddAction(file, "FileOpen", "&Open...");
    fileOpen->setShortcut(QKeySequence("Ctrl+O"));
    connect(fileOpen, &QAction::triggered, this, &TMainForm::FileOpenClick);
    QAction* fileSave = AddAction(file, "FileSave", "&Save");
    fileSave->setShortcut(QKeySequence("Ctrl+S"));
    connect(fileSave, &QAction::triggered, this, &TMainForm::FileSaveClick);
    connect(AddAction(file, "FileSaveAs", "Save &As..."), &QAction::triggered, this,
            &TMainForm::FileSaveAsClick);
    connect(AddAction(file, "FileExportReport", "Export &Report..."), &QAction::triggered, this,
            &TMainForm::FileExportReportClick);
    AddSeparator(file, "N15");
    for (int slot = 0; slot < TRecentFiles::kSlots; ++slot) {
        QAction* item = AddAction(file, QString("PrevFile%1").arg(slot + 1).toLatin1().constData(),
                                  QString());
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, slot] { MyFilePopupHandler(slot); });
        prevFileItems_.push_back(item);
    }
    AddSeparator(file, "N14");
    file->findChild<QAction*>("N14")->setVisible(false);
    QAction* exit = AddAction(file, "FileExit", "E&xit");
    exit->setShortcut(QKeySequence("Ctrl+Q"));
    connect(exit, &QAction::triggered, this, &TMainForm::FileExitClick);

    // Data.
    QMenu* data = AddMenu(bar, "DataMenu", "Da&ta", 0);
    connect(data, &QMenu::aboutToShow, this, &TMainForm::DataMenuClick);
    connect(AddAction(data, "DataTitle", "&Title"), &QAction::triggered, this,
            &TMainForm::DataTitleClick);
    connect(AddAction(data, "DataJob", "&Job Details"), &QAction::triggered, this, &TMainForm::DataJobClick);
    AddSeparator(data);
    connect(AddAction(data, "DataProp", "Wall &Properties"), &QAction::triggered, this,
            &TMainForm::DataPropClick);
    connect(AddAction(data, "DataCSD", "&Wall Configuration"), &QAction::triggered, this,
            &TMainForm::DataCSDClick);
    const auto tableItem = [this](QMenu* menu, const char* name, const QString& caption,
                                  const QString& table) {
        connect(AddAction(menu, name, caption), &QAction::triggered, this,
                [this, table] { ShowTableEditor(table); });
    };
    tableItem(data, "DataAxLoads", "&Soil Layer Data", "NewSoil");
    QMenu* soilTerms = AddSubMenu(data, "SoilLayerDataMenu", "&Soil Layer Data");
    tableItem(soilTerms, "ShortTerm2", "Short-Term", "NewSoil");
    tableItem(soilTerms, "LongTerm2", "Long-Term", "LongSoil");
    AddSeparator(data);
    tableItem(data, "DistributedActiveEarthPressureMenu", "&Distributed Active Earth Pressure",
              "DistLoad");
    QMenu* loadTerms = AddSubMenu(data, "DataLoading", "&Distributed Active Earth Pressure");
    tableItem(loadTerms, "ShortTerm1", "Short-Term", "DistLoad");
    tableItem(loadTerms, "LongTerm1", "Long-Term", "LongDist");
    connect(AddAction(data, "DataRebar", "&Additional Surcharge"), &QAction::triggered, this,
            &TMainForm::DataRebarClick);
    connect(AddAction(data, "DataBoundCond", "&Concentrated Loads on the Wall"),
            &QAction::triggered, this, &TMainForm::DataBoundCondClick);
    AddSeparator(data);
    tableItem(data, "DataSoilLayer", "&Boundary Condition on Deflection or Slope", "Soillayer");
    tableItem(data, "DataPYMod", "Modification &Factors for p-y Curves", "PYMod");
    AddSeparator(data);
    tableItem(data, "DataPYCurves", "Sets of &External p-y Curves", "PYCurves");
    connect(AddAction(data, "DataSoilSpring", "&Lateral Spring and Rotational Restraints"),
            &QAction::triggered, this, &TMainForm::DataSoilSpringClick);
    tableItem(data, "DataEICurves", "Sets of Moment vs EI Curves", "MEICurves");

    // Options.
    QMenu* options = AddMenu(bar, "OptionsMenu", "&Options", 0);
    connect(options, &QMenu::aboutToShow, this, &TMainForm::OptionsMenuClick);
    QMenu* units = AddSubMenu(options, "OptionsUnits", "&Units");
    connect(units, &QMenu::aboutToShow, this, &TMainForm::OptionsUnitsClick);
    auto* unitGroup = new QActionGroup(this);
    const struct { const char* name; const char* caption; int tag; } unitItems[] = {
        {"EnglishUnits", "&English Units (lbs, in)", 1},
        {"SIUnits", "&SI Units (kN, m)", 2},
        {"FLUnits", "&Other Units (F, L)", 3}};
    for (const auto& item : unitItems) {
        QAction* action = AddAction(units, item.name, item.caption);
        action->setCheckable(true);
        action->setData(item.tag);
        unitGroup->addAction(action);
        const int tag = item.tag;
        connect(action, &QAction::triggered, this, [this, tag] { UnitsClick(tag); });
    }
    AddSeparator(options);
    QMenu* pressure = AddSubMenu(options, "OptionsKoutpt", "Input Earth Pressure Options");
    connect(pressure, &QMenu::aboutToShow, this, &TMainForm::OptionsKOutptClick);
    auto* pressureGroup = new QActionGroup(this);
    const struct { const char* name; const char* caption; int tag; void (TMainForm::*handler)(); }
        pressureItems[] = {
            {"Userinput", "User-input earth pressure", 1, &TMainForm::UserinputClick},
            {"Gentriangular", "Generate triangula-distribution earth pressure", 2,
             &TMainForm::GentriangularClick},
            {"Gentrape", "Generate trapezoidal-distrubution pressure for anchored walls", 3,
             &TMainForm::GentrapeClick}};
    for (const auto& item : pressureItems) {
        QAction* action = AddAction(pressure, item.name, item.caption);
        action->setCheckable(true);
        action->setData(item.tag);
        pressureGroup->addAction(action);
        connect(action, &QAction::triggered, this, item.handler);
    }
    QAction* generate = AddAction(options, "OptionsKPYOP", "Generate &p-y Curves");
    generate->setCheckable(true);
    connect(generate, &QAction::triggered, this, &TMainForm::OptionskPYOpClick);
    AddSeparator(options);
    const struct { const char* name; const char* caption; void (TMainForm::*handler)(); }
        switches[] = {
            {"OptionsConcentrate", "Apply &Concentrated Loads", &TMainForm::OptionsConcentrateClick},
            {"OptionsTipRes", "Apply &Restraints on Deflection or Slope",
             &TMainForm::OptionsTipResClick},
            {"OptionsPYCurves", "Apply &Externally-Specified p-y Curves",
             &TMainForm::OptionsPYCurvesClick},
            {"OptionsLateralSpring", "Apply &Lateral Spring and Rotation Spring",
             &TMainForm::OptionsLateralSpringClick},
            {"OptionsPYMod", "Apply p-y &Modification Factors Externally",
             &TMainForm::OptionsPYModClick},
            {"OptionsSurcharge", "Apply Additional Surcharge Loads",
             &TMainForm::OptionsSurchargeClick},
            {"OptionsEICurves", "Apply Nonlinear Moment vs EI Curves",
             &TMainForm::OptionsEICurvesClick}};
    for (const auto& item : switches) {
        QAction* action = AddAction(options, item.name, item.caption);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, item.handler);
    }
    AddSeparator(options);
    QAction* longTerm = AddAction(options, "OptionsLong", "Conduct Short-Term and Long-Term &Analyses");
    longTerm->setCheckable(true);
    connect(longTerm, &QAction::triggered, this, &TMainForm::OptionsLongClick);
    QAction* staged = AddAction(options, "OptionsStaged", "Conduct &Staged-Construction Analysis");
    staged->setCheckable(true);
    connect(staged, &QAction::triggered, this, &TMainForm::OptionsStagedClick);
    AddSeparator(options);
    connect(AddAction(options, "OptionsDesign", "&Design Criteria..."), &QAction::triggered, this,
            &TMainForm::OptionsDesignClick);
    connect(AddAction(options, "OptionsModels", "Soil and Loadin&g Models..."), &QAction::triggered, this,
            &TMainForm::OptionsModelsClick);
    connect(AddAction(options, "OptionofTexeEditor1", "&Option of Text Editor..."),
            &QAction::triggered, this, &TMainForm::OptionofTexeEditor1Click);

    // Stage Construction: shown only for a project with more than one stage.
    QMenu* stages = AddMenu(bar, "StageMenu", "&Stage Construction", 3);
    childMenuAnchor_ = stages->menuAction();
    stages->menuAction()->setVisible(false);
    connect(stages, &QMenu::aboutToShow, this, &TMainForm::StageMenuClick);
    for (int stage = 1; stage <= 5; ++stage) {
        QAction* item = AddAction(stages, QString("Stage%1Menu").arg(stage).toLatin1().constData(),
                                  QString("Stage &%1").arg(stage));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, stage] { StageClick(stage); });
    }
    AddSeparator(stages);
    connect(AddAction(stages, "SaveCurrentStage", "Update &Current Stage"), &QAction::triggered,
            this, &TMainForm::SaveCurrentStageClick);
    connect(AddAction(stages, "CopyPreviousStage", "Copy &Previous Stage"), &QAction::triggered,
            this, &TMainForm::CopyPreviousStageClick);

    // Computation.
    QMenu* computation = AddMenu(bar, "ComputationMenu", "&Computation", 3);
    connect(computation, &QMenu::aboutToShow, this, &TMainForm::ComputationMenuClick);
    connect(AddAction(computation, "CompRun", "&Run Analysis"), &QAction::triggered, this,
            &TMainForm::CompRunClick);
    AddSeparator(computation, "N2");
    connect(AddAction(computation, "CompInput", "Edit I&nput Text"), &QAction::triggered, this,
            &TMainForm::CompInputClick);
    connect(AddAction(computation, "CompKernel", "Edit &Processor-Run Notes"), &QAction::triggered,
            this, &TMainForm::CompKernelClick);
    connect(AddAction(computation, "CompOutput", "Edit &Output Text"), &QAction::triggered, this,
            &TMainForm::CompOutputClick);
    connect(AddAction(computation, "CompSummary", "Design &Summary"), &QAction::triggered, this,
            &TMainForm::CompSummaryClick);
    connect(AddAction(computation, "CompStudy", "Parametric S&tudy..."), &QAction::triggered, this,
            &TMainForm::CompStudyClick);
    AddSeparator(computation, "N6");
    connect(AddAction(computation, "CompLayers", "&View Wall Geometry"), &QAction::triggered, this,
            &TMainForm::CompLayersClick);

    // Graphics.
    QMenu* graphics = AddMenu(bar, "GraphicsMenu", "&Graphics", 3);
    connect(graphics, &QMenu::aboutToShow, this, &TMainForm::GraphicsMenuClick);
    const auto graphItem = [&](const char* name, const char* caption, void (TMainForm::*handler)()) {
        QAction* action = AddAction(graphics, name, caption);
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, handler);
    };
    graphItem("Comppy", "p-&y Curves", &TMainForm::ComppyClick);
    AddSeparator(graphics);
    graphItem("CompDef", "&Deflection vs Depth", &TMainForm::CompDefClick);
    graphItem("CompMom", "&Moment vs Depth", &TMainForm::CompMomClick);
    graphItem("CompShear", "&Shear vs Depth", &TMainForm::CompShearClick);
    graphItem("CompSoil", "&Reaction vs Depth", &TMainForm::CompSoilClick);
    graphItem("DefMomShear", "&Deflection, Moment and Shear", &TMainForm::DefMomShearClick);
    AddSeparator(graphics);
    graphItem("CompLD", "Earth &Pressure Distribution", &TMainForm::CompLDClick);
    graphItem("CompCombine", "Earth Pressure Combined", &TMainForm::CompCombineClick);

    // Window.
    QMenu* window = AddMenu(bar, "ArrangeMenu", "&Window", 3);
    connect(window, &QMenu::aboutToShow, this, &TMainForm::ArrangeMenuClick);
    connect(AddAction(window, "WindowCascade", "&Cascade"), &QAction::triggered, this,
            &TMainForm::WindowCascadeClick);
    connect(AddAction(window, "WindowArrange", "&Arrange Icons"), &QAction::triggered, this,
            &TMainForm::WindowArrangeClick);
    AddSeparator(window, "N1");
    window->findChild<QAction*>("N1")->setVisible(false);
    for (int index = 0; index < kWindowListSize; ++index) {
        QAction* item = AddAction(window, QString("WindowItem%1").arg(index + 1).toLatin1().constData(),
                                  QString());
        item->setCheckable(true);
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, index] { MyPopupHandler(index); });
        windowItems_.push_back(item);
    }

    // Help.
    QMenu* help = AddMenu(bar, "HelpMenu", "&Help", 3);
    connect(help, &QMenu::aboutToShow, this, &TMainForm::HelpMenuClick);
    connect(AddAction(help, "HelpContents", "&Contents"), &QAction::triggered, this,
            &TMainForm::HelpContentsClick);
    connect(AddAction(help, "UserssManual1", "&User's Manual"), &QAction::triggered, this,
            &TMainForm::UserssManual1Click);
    connect(AddAction(help, "Tec1", "&Technical Manual"), &QAction::triggered, this,
            &TMainForm::Tec1Click);
}

void TMainForm::CreateToolBar() {
    toolBar_ = addToolBar("Tools");
    toolBar_->setObjectName("ToolBar");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(18, 18));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->toggleViewAction()->setEnabled(false);  // the tool bar cannot be hidden

    const auto button = [this](const char* name, const QString& hint, auto handler,
                               bool enabled = true) {
        QAction* action = toolBar_->addAction(ToolIcon(name), hint);
        action->setObjectName(name);
        action->setToolTip(hint);
        action->setStatusTip(hint);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, handler);
        if (QWidget* widget = toolBar_->widgetForAction(action)) widget->setFixedSize(25, 24);
        return action;
    };
    button("SpeedButton1", "New Data File", &TMainForm::FileNewClick);
    button("SpeedButton2", "Open Data File", &TMainForm::FileOpenClick);
    button("SpeedButton3", "Save Data File", &TMainForm::FileSaveClick);
    toolBar_->addSeparator();
    button("SpeedButton4", "Run Analysis", &TMainForm::CompRunClick);
    button("SpeedButton7", "Stage Construction Option", &TMainForm::SpeedButton7Click);
    toolBar_->addSeparator();
    button("SpeedButton5", "View Output File", &TMainForm::SpeedButton5Click, false);
    button("SpeedButton20", "Design Summary", &TMainForm::CompSummaryClick, false);
    button("SpeedButton6", "View Soil Profile", &TMainForm::SpeedButton6Click);
    toolBar_->addSeparator();
    button("SpeedButton13", "View p-y Curves", &TMainForm::ComppyClick, false);
    button("SpeedButton8", "Deflection Diagram", &TMainForm::CompDefClick, false);
    button("SpeedButton11", "Moment Diagram", &TMainForm::CompMomClick, false);
    button("SpeedButton10", "LShear Diagram", &TMainForm::CompShearClick, false);
    button("SpeedButton12", "Soil-Reaction Diagram", &TMainForm::CompSoilClick, false);
    button("SpeedButton19", QString(), &TMainForm::DefMomShearClick, false);
    button("SpeedButton9", "Pressure Diagram", &TMainForm::CompLDClick, false);
    QAction* stageSeparator = toolBar_->addSeparator();
    stageSeparator->setObjectName("StageButtonSeparator");
    stageSeparator->setVisible(false);
    for (int stage = 1; stage <= 5; ++stage) {
        const QString name = QString("SpeedButton%1").arg(13 + stage);
        QAction* action = toolBar_->addAction(StageIcon(stage), QString("Stage Const. %1").arg(stage));
        action->setObjectName(name);
        action->setToolTip(action->text());
        action->setStatusTip(action->text());
        action->setCheckable(true);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, stage] { StageClick(stage); });
        if (QWidget* widget = toolBar_->widgetForAction(action)) widget->setFixedSize(25, 24);
    }
    // Fixed after the buttons are in: adding them lets the bar's layout reset its minimum.
    toolBar_->setFixedHeight(34);
}

void TMainForm::InsertChildMenu(QMenu* menu, QMdiSubWindow* child) {
    menu->menuAction()->setProperty(kMenuGroup, 1);
    childMenus_.push_back({child, menu});
    // The window was made active as it opened (while the program may itself be in the back).
    ShowChildMenus(desk_->currentSubWindow());
}

void TMainForm::ShowChildMenus(QMdiSubWindow* active) {
    // No active child for a moment (a message box in front, the last child closing): the bar
    // stays as it is; a closed window's menu goes with the window.
    if (!active) return;
    std::erase_if(childMenus_, [](const TChildMenu& entry) { return !entry.Menu || !entry.Child; });
    QMenuBar* bar = menuBar();
    // A hidden menu would still hold its mnemonic in the bar: the menus of the windows in the
    // back are taken out altogether.
    for (const TChildMenu& entry : childMenus_) {
        QAction* action = entry.Menu->menuAction();
        if (entry.Child != active) {
            bar->removeAction(action);
            action->setVisible(false);
        }
    }
    for (const TChildMenu& entry : childMenus_) {
        if (entry.Child != active) continue;
        QAction* action = entry.Menu->menuAction();
        if (!bar->actions().contains(action)) bar->insertAction(childMenuAnchor_, action);
        action->setVisible(true);
    }
}

}  // namespace torvex
