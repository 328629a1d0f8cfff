// The main window as a whole: menus, tool bar and status bar with their captions, names,
// short-cuts and hints; the drop-down rules; the recent-file list and its stored settings;
// the Window menu; the caption; opening files from the command line, the Open hook and
// dropped files.

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "app/AppSettings.h"
#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "app/RecentFiles.h"
#include "AppTestSupport.h"
#include "desktop/ChildWindow.h"
#include "desktop/UserInterface.h"
#include "project/DataFileWriter.h"

using torvex::TMainForm;

namespace {

using torvex::testing::TRecordingInterface;

// A child window that holds edits until it is left.
class TEditingChild : public QWidget, public torvex::TCommitsEdits {
public:
    bool CommitEdits() override {
        ++commits;
        return true;
    }
    int commits = 0;
};

QStringList VisibleCaptions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        if (action->isVisible()) captions << (action->isSeparator() ? "-" : action->text());
    return captions;
}

// The stored values of the program's settings group.
QVariant Stored(const QString& key) {
    QSettings settings("Norcel", "TORVEX");
    return settings.value("2012.4.2/" + key);
}
bool IsStored(const QString& key) {
    QSettings settings("Norcel", "TORVEX");
    return settings.contains("2012.4.2/" + key);
}
void Store(const QString& key, const QString& value) {
    QSettings settings("Norcel", "TORVEX");
    settings.setValue("2012.4.2/" + key, value);
    settings.sync();
}

void WriteFile(const QString& path, const QByteArray& content = "x") {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

}  // namespace

class MainMenusTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    TRecordingInterface ui_;
    QString startDir_;

    void ClearSettings() {
        QSettings settings("Norcel", "TORVEX");
        settings.clear();
        settings.sync();
    }

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void init() {
        ClearSettings();
        ui_.shown.clear();
        ui_.asked.clear();
        ui_.answer = torvex::TAnswer::Cancel;
        ui_.openPath.clear();
        ui_.openFilter = 1;
        QDir::setCurrent(startDir_);
    }

    // ---- Menus, tool bar and status bar as built ----

    void menuBarHoldsTheMenusInOrderWithTheirGroups() {
        TMainForm form;
        QStringList names, captions;
        QList<int> groups;
        for (QAction* action : form.menuBar()->actions()) {
            names << action->objectName();
            captions << action->text();
            groups << action->property("menuGroup").toInt();
        }
        QCOMPARE(names, QStringList({"FileMenu", "DataMenu", "OptionsMenu", "StageMenu",
                                     "ComputationMenu", "GraphicsMenu", "ArrangeMenu", "HelpMenu"}));
        QCOMPARE(captions, QStringList({"&File", "Da&ta", "&Options", "&Stage Construction",
                                        "&Computation", "&Graphics", "&Window", "&Help"}));
        QCOMPARE(groups, QList<int>({0, 0, 0, 3, 3, 3, 3, 3}));
        // The File menu has no short-cut of its own: Ctrl+N belongs to New.
        QVERIFY(form.Action("FileMenu")->shortcut().isEmpty());
        // A new project has one stage, so Stage Construction is hidden.
        QVERIFY(!form.Action("StageMenu")->isVisible());

        // A child window's menu goes between Options and Stage Construction.
        QMdiSubWindow* child = form.Desk()->addSubWindow(new QWidget);
        child->show();
        form.Desk()->setActiveSubWindow(child);
        auto* plotMenu = new QMenu("&Plot", child);
        form.InsertChildMenu(plotMenu, child);
        const QList<QAction*> after = form.menuBar()->actions();
        QCOMPARE(after.indexOf(plotMenu->menuAction()), 3);
        QCOMPARE(plotMenu->menuAction()->property("menuGroup").toInt(), 1);
    }

    void fileMenuItemsCaptionsShortCutsAndPlaces() {
        TMainForm form;
        const QList<QAction*> items = form.Menu("FileMenu")->actions();
        QCOMPARE(items.size(), 18);
        QCOMPARE(items[0]->objectName(), QString("FileNew"));
        QCOMPARE(items[0]->text(), QString("&New"));
        QCOMPARE(items[0]->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(items[1]->objectName(), QString("FileOpen"));
        QCOMPARE(items[1]->text(), QString("&Open..."));
        QCOMPARE(items[1]->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(items[2]->objectName(), QString("FileSave"));
        QCOMPARE(items[2]->text(), QString("&Save"));
        QCOMPARE(items[2]->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(items[3]->objectName(), QString("FileSaveAs"));
        QCOMPARE(items[3]->text(), QString("Save &As..."));
        QVERIFY(items[3]->shortcut().isEmpty());
        QCOMPARE(items[4]->objectName(), QString("FileExportReport"));
        QCOMPARE(items[4]->text(), QString("Export &Report..."));
        QCOMPARE(items[5]->objectName(), QString("N15"));
        QVERIFY(items[5]->isSeparator());
        for (int slot = 0; slot < 10; ++slot)  // the recent-file items at positions 6..15
            QCOMPARE(items[6 + slot]->objectName(), QString("PrevFile%1").arg(slot + 1));
        QCOMPARE(items[16]->objectName(), QString("N14"));
        QVERIFY(items[16]->isSeparator());
        QCOMPARE(items[17]->objectName(), QString("FileExit"));
        QCOMPARE(items[17]->text(), QString("E&xit"));
        QCOMPARE(items[17]->shortcut(), QKeySequence("Ctrl+Q"));
    }

    void dataAndOptionsMenusAsBuilt() {
        TMainForm form;
        form.Workspace().Project().UseLongTerm = 0;
        form.UpdateTermMenus();
        QCOMPARE(VisibleCaptions(form.Menu("DataMenu")),
                 QStringList({"&Title", "&Job Details", "-", "Wall &Properties", "&Wall Configuration",
                              "&Soil Layer Data", "-", "&Distributed Active Earth Pressure",
                              "&Additional Surcharge", "&Concentrated Loads on the Wall", "-",
                              "&Boundary Condition on Deflection or Slope",
                              "Modification &Factors for p-y Curves", "-",
                              "Sets of &External p-y Curves",
                              "&Lateral Spring and Rotational Restraints",
                              "Sets of Moment vs EI Curves"}));
        QCOMPARE(form.Action("DataAxLoads")->text(), QString("&Soil Layer Data"));
        QCOMPARE(form.Action("DistributedActiveEarthPressureMenu")->text(),
                 QString("&Distributed Active Earth Pressure"));
        QCOMPARE(form.Menu("SoilLayerDataMenu")->actions()[0]->objectName(), QString("ShortTerm2"));
        QCOMPARE(form.Menu("SoilLayerDataMenu")->actions()[1]->objectName(), QString("LongTerm2"));
        QCOMPARE(form.Menu("DataLoading")->actions()[0]->text(), QString("Short-Term"));
        QCOMPARE(form.Menu("DataLoading")->actions()[1]->objectName(), QString("LongTerm1"));
        QCOMPARE(form.Menu("DataLoading")->actions()[1]->text(), QString("Long-Term"));

        QCOMPARE(VisibleCaptions(form.Menu("OptionsMenu")),
                 QStringList({"&Units", "-", "Input Earth Pressure Options", "Generate &p-y Curves",
                              "-", "Apply &Concentrated Loads",
                              "Apply &Restraints on Deflection or Slope",
                              "Apply &Externally-Specified p-y Curves",
                              "Apply &Lateral Spring and Rotation Spring",
                              "Apply p-y &Modification Factors Externally",
                              "Apply Additional Surcharge Loads",
                              "Apply Nonlinear Moment vs EI Curves", "-",
                              "Conduct Short-Term and Long-Term &Analyses",
                              "Conduct &Staged-Construction Analysis", "-",
                              "&Design Criteria...", "Soil and Loadin&g Models...",
                              "&Option of Text Editor..."}));
        QCOMPARE(VisibleCaptions(form.Menu("OptionsUnits")),
                 QStringList({"&English Units (lbs, in)", "&SI Units (kN, m)", "&Other Units (F, L)"}));
        QCOMPARE(VisibleCaptions(form.Menu("OptionsKoutpt")),
                 QStringList({"User-input earth pressure",
                              "Generate triangula-distribution earth pressure",
                              "Generate trapezoidal-distrubution pressure for anchored walls"}));
        // Units and earth-pressure items are radio groups: one check at a time.
        for (const char* name : {"EnglishUnits", "Userinput"}) {
            QActionGroup* group = form.Action(name)->actionGroup();
            QVERIFY(group != nullptr);
            QVERIFY(group->isExclusive());
            QCOMPARE(group->actions().size(), 3);
        }
    }

    void stageComputationGraphicsWindowAndHelpMenusAsBuilt() {
        TMainForm form;
        QCOMPARE(VisibleCaptions(form.Menu("StageMenu")),
                 QStringList({"Stage &1", "Stage &2", "Stage &3", "Stage &4", "Stage &5", "-",
                              "Update &Current Stage", "Copy &Previous Stage"}));
        QCOMPARE(VisibleCaptions(form.Menu("ComputationMenu")),
                 QStringList({"&Run Analysis", "-", "Edit I&nput Text", "Edit &Processor-Run Notes",
                              "Edit &Output Text", "Design &Summary", "Parametric S&tudy...", "-", "&View Wall Geometry"}));
        QVERIFY(form.Action("N2")->isSeparator());
        QVERIFY(form.Action("N6")->isSeparator());
        QCOMPARE(form.Action("CompKernel")->text(), QString("Edit &Processor-Run Notes"));
        QStringList graphNames;
        for (QAction* action : form.Menu("GraphicsMenu")->actions())
            graphNames << (action->isSeparator() ? QString("-") : action->objectName());
        QCOMPARE(graphNames, QStringList({"Comppy", "-", "CompDef", "CompMom", "CompShear",
                                          "CompSoil", "DefMomShear", "-", "CompLD", "CompCombine"}));
        QCOMPARE(VisibleCaptions(form.Menu("GraphicsMenu")),
                 QStringList({"p-&y Curves", "-", "&Deflection vs Depth", "&Moment vs Depth",
                              "&Shear vs Depth", "&Reaction vs Depth",
                              "&Deflection, Moment and Shear", "-", "Earth &Pressure Distribution",
                              "Earth Pressure Combined"}));
        // The Window menu: two commands, then (hidden while nothing is open) the separator and
        // the fifty list items.
        QCOMPARE(form.Menu("ArrangeMenu")->actions().size(), 3 + TMainForm::kWindowListSize);
        QCOMPARE(VisibleCaptions(form.Menu("ArrangeMenu")), QStringList({"&Cascade", "&Arrange Icons"}));
        QCOMPARE(VisibleCaptions(form.Menu("HelpMenu")),
                 QStringList({"&Contents", "&User's Manual", "&Technical Manual"}));
        QCOMPARE(form.Action("UserssManual1")->text(), QString("&User's Manual"));
        QCOMPARE(form.Action("Tec1")->text(), QString("&Technical Manual"));
    }

    void toolBarButtonsInOrderWithHintsAndStates() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList names, hints;
        QStringList enabled, visible;
        for (QAction* action : form.ToolBar()->actions()) {
            if (action->isSeparator()) continue;
            names << action->objectName();
            hints << action->toolTip();
            if (action->isEnabled()) enabled << action->objectName();
            if (action->isVisible()) visible << action->objectName();
        }
        QCOMPARE(names, QStringList({"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4",
                                     "SpeedButton7", "SpeedButton5", "SpeedButton20", "SpeedButton6", "SpeedButton13",
                                     "SpeedButton8", "SpeedButton11", "SpeedButton10", "SpeedButton12",
                                     "SpeedButton19", "SpeedButton9", "SpeedButton14", "SpeedButton15",
                                     "SpeedButton16", "SpeedButton17", "SpeedButton18"}));
        QCOMPARE(hints, QStringList({"New Data File", "Open Data File", "Save Data File",
                                     "Run Analysis", "Stage Construction Option", "View Output File", "Design Summary",
                                     "View Soil Profile", "View p-y Curves", "Deflection Diagram",
                                     "Moment Diagram", "LShear Diagram", "Soil-Reaction Diagram", "",
                                     "Pressure Diagram", "Stage Const. 1", "Stage Const. 2",
                                     "Stage Const. 3", "Stage Const. 4", "Stage Const. 5"}));
        // Before any run every result button is off; the stage buttons are hidden.
        QCOMPARE(visible, names.mid(0, 15));
        QVERIFY(enabled.contains("SpeedButton1") && enabled.contains("SpeedButton4") &&
                enabled.contains("SpeedButton6") && enabled.contains("SpeedButton7"));
        for (const char* name : {"SpeedButton5", "SpeedButton20", "SpeedButton13", "SpeedButton8", "SpeedButton11",
                                 "SpeedButton10", "SpeedButton12", "SpeedButton19", "SpeedButton9"})
            QVERIFY2(!enabled.contains(name), name);
        QCOMPARE(form.ToolBar()->height(), 34);
        QCOMPARE(form.ToolBar()->widgetForAction(form.Action("SpeedButton4"))->size(), QSize(25, 24));
        // The status bar carries the stage text, empty for a project with one stage.
        QVERIFY(form.StatusText() != nullptr);
        QCOMPARE(form.StatusText()->text(), QString());
        QCOMPARE(form.size(), QSize(652, 522));
    }

    // ---- Names and caption ----

    void displayFileName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        QTest::newRow("current format keeps its extension") << "/jobs/wall.tx4d" << "Wall.tx4d";
        QTest::newRow("older format loses it") << "Wall.txd" << "Wall";
        QTest::newRow("from the first dot on") << "my.wall.txd" << "My";
        QTest::newRow("extension in any case") << "/old/wall.TXD" << "Wall";
        QTest::newRow("backslash folders") << "C:\\old\\wall.txd" << "Wall";
        QTest::newRow("one letter stays as it is") << "a.txd" << "a";
        QTest::newRow("other extensions untouched") << "data.wall.dat" << "Data.wall.dat";
        QTest::newRow("txd only as the last extension") << "wall.txd.tx4d" << "Wall.txd.tx4d";
    }
    void displayFileName() {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(torvex::DisplayFileName(path), shown);
    }

    void captionAndSiblingFiles() {
        TMainForm form;
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - NewWall.tx4d"));
        QCOMPARE(torvex::MainCaption("/old/wall.txd"), QString("TORVEX 2012.4.2 - Wall"));
        QCOMPARE(torvex::FileNamedLike("/a.b/wall.tx4d", ".tx4o"), QString("/a.b/wall.tx4o"));
        QCOMPARE(torvex::FileNamedLike("/a.b/wall", ".tx4p"), QString("/a.b/wall.tx4p"));
        QCOMPARE(torvex::CommandLineDataFile("wall"), QString("wall.tx4d"));
        QCOMPARE(torvex::CommandLineDataFile("./jobs/wall"), QString("./jobs/wall.tx4d"));
        QCOMPARE(torvex::CommandLineDataFile("wall.dat"), QString("wall.dat"));
        QCOMPARE(torvex::FormatKindOf("/x/old.TXD"), 2);
        QCOMPARE(torvex::FormatKindOf("/x/new.tx4d"), 1);
    }

    // ---- Recent files ----

    void recentFileListOrder() {
        torvex::TRecentFiles list;
        QVERIFY(list.Put("a"));
        QVERIFY(list.Put("b"));
        QVERIFY(list.Put("c"));
        QVERIFY(list.Put("d"));
        QCOMPARE(list.Count(), 4);
        // "a" is in slot 4: it moves to slot 1 and slots 1..3 move one down.
        QVERIFY(list.Put("a"));
        QCOMPARE(list.Slot(0), std::string("a"));
        QCOMPARE(list.Slot(1), std::string("d"));
        QCOMPARE(list.Slot(2), std::string("c"));
        QCOMPARE(list.Slot(3), std::string("b"));
        QCOMPARE(list.Count(), 4);
        QVERIFY(!list.Put("a"));      // already first: nothing changes
        QVERIFY(list.Put("A"));       // case counts
        QCOMPARE(list.Count(), 5);

        torvex::TRecentFiles full;
        for (int i = 1; i <= 10; ++i) full.Put("f" + std::to_string(i));
        QCOMPARE(full.Slot(9), std::string("f1"));
        full.Put("f11");  // the eleventh drops the oldest
        QCOMPARE(full.Count(), 10);
        QCOMPARE(full.Slot(0), std::string("f11"));
        QCOMPARE(full.Slot(9), std::string("f2"));

        std::array<std::string, 10> stored{};
        stored[1] = "x";
        stored[4] = "y";
        torvex::TRecentFiles loaded;
        loaded.Assign(stored);  // gaps in the stored values close up
        QCOMPARE(loaded.Count(), 2);
        QCOMPARE(loaded.Slot(0), std::string("x"));
        QCOMPARE(loaded.Slot(1), std::string("y"));

        QCOMPARE(torvex::TRecentFiles::MenuCaption(0, "/jobs/a/w.tx4d", "/jobs"),
                 std::string("1 a/w.tx4d"));
        QCOMPARE(torvex::TRecentFiles::MenuCaption(1, "/jobsX/w.tx4d", "/jobs"),
                 std::string("2 /jobsX/w.tx4d"));
        QCOMPARE(torvex::TRecentFiles::MenuCaption(9, "/other/jobs/w.tx4d", "/jobs"),
                 std::string("10 /other/jobs/w.tx4d"));
        QCOMPARE(torvex::TRecentFiles::MenuCaption(0, "C:\\jobs\\a\\w.tx4d", "C:\\jobs", '\\'),
                 std::string("1 a\\w.tx4d"));
    }

    void recentFilesAreStoredAndReadBack() {
        {
            TMainForm form;
            QCOMPARE(form.WordProcessor(), QString("xdg-open"));  // nothing stored yet
            form.UpdatePrevFile("/jobs/one.tx4d");
            form.UpdatePrevFile("/jobs/two.tx4d");
        }
        QCOMPARE(Stored("File1").toString(), QString("/jobs/two.tx4d"));
        QCOMPARE(Stored("File2").toString(), QString("/jobs/one.tx4d"));
        QCOMPARE(Stored("File3").toString(), QString(""));
        QVERIFY(IsStored("File10"));
        QCOMPARE(Stored("Word Processor").toString(), QString("xdg-open"));

        Store("Word Processor", "/usr/bin/gedit");
        TMainForm again;
        QCOMPARE(again.WordProcessor(), QString("/usr/bin/gedit"));
        QCOMPARE(again.PrevFileCount(), 2);
        QCOMPARE(again.PrevFiles().Slot(0), std::string("/jobs/two.tx4d"));

        // A file already first leaves the stored values untouched.
        Store("File2", "marker");
        again.UpdatePrevFile("/jobs/two.tx4d");
        QCOMPARE(Stored("File2").toString(), QString("marker"));
        // Any other file writes all ten.
        again.UpdatePrevFile("/jobs/three.tx4d");
        QCOMPARE(Stored("File1").toString(), QString("/jobs/three.tx4d"));
        QCOMPARE(Stored("File2").toString(), QString("/jobs/two.tx4d"));
        QCOMPARE(Stored("File3").toString(), QString("/jobs/one.tx4d"));
        QCOMPARE(Stored("Word Processor").toString(), QString("/usr/bin/gedit"));
    }

    void fileMenuListsTheRecentFiles() {
        QTemporaryDir jobs;
        QDir::setCurrent(jobs.path());
        TMainForm form;
        QMenu* file = form.Menu("FileMenu");
        emit file->aboutToShow();
        QCOMPARE(VisibleCaptions(file), QStringList({"&New", "&Open...", "&Save", "Save &As...", "Export &Report...", "-",
                                                     "E&xit"}));
        form.UpdatePrevFile(jobs.path() + "/a/w.tx4d");
        form.UpdatePrevFile("/elsewhere/R&D.tx4d");
        emit file->aboutToShow();
        QCOMPARE(VisibleCaptions(file),
                 QStringList({"&New", "&Open...", "&Save", "Save &As...", "Export &Report...", "-",
                              "1 /elsewhere/R&&D.tx4d", "2 a/w.tx4d", "-", "E&xit"}));
        QVERIFY(form.Action("N14")->isVisible());
        QVERIFY(!form.Action("PrevFile3")->isVisible());
        QVERIFY(!form.Action("PrevFile10")->isVisible());
    }

    // ---- Drop-down rules of Options and Data ----

    void newProjectOptionsAndDataStates() {
        TMainForm form;
        torvex::TProgramData& project = form.Workspace().Project();
        QCOMPARE(project.EarthPressureOption, 0);
        emit form.Menu("OptionsMenu")->aboutToShow();
        QVERIFY(form.Action("OptionsKPYOP")->isChecked());
        for (const char* name : {"OptionsConcentrate", "OptionsTipRes", "OptionsPYCurves",
                                 "OptionsLateralSpring", "OptionsPYMod", "OptionsSurcharge",
                                 "OptionsEICurves", "OptionsLong", "OptionsStaged"})
            QVERIFY2(!form.Action(name)->isChecked(), name);
        QVERIFY(form.Action("OptionsLong")->isEnabled());
        QVERIFY(form.Action("OptionsStaged")->isEnabled());
        emit form.Menu("OptionsUnits")->aboutToShow();
        QVERIFY(form.Action("EnglishUnits")->isChecked());
        QVERIFY(!form.Action("SIUnits")->isChecked());

        emit form.Menu("DataMenu")->aboutToShow();
        for (const char* name : {"DataTitle", "DataProp", "DataCSD", "DataAxLoads"})
            QVERIFY2(form.Action(name)->isEnabled(), name);
        for (const char* name : {"DistributedActiveEarthPressureMenu", "DataLoading", "DataRebar",
                                 "DataBoundCond", "DataSoilLayer", "DataPYMod", "DataPYCurves",
                                 "DataSoilSpring", "DataEICurves"})
            QVERIFY2(!form.Action(name)->isEnabled(), name);
        QVERIFY(form.Action("DataAxLoads")->isVisible());
        QVERIFY(!form.Action("SoilLayerDataMenu")->isVisible());

        // Opening the earth-pressure choices turns "none chosen" into user input.
        emit form.Menu("OptionsKoutpt")->aboutToShow();
        QCOMPARE(project.EarthPressureOption, 1);
        QCOMPARE(int(project.UseDistributedLoad), 1);
        QVERIFY(form.Action("Userinput")->isChecked());
        emit form.Menu("DataMenu")->aboutToShow();
        QVERIFY(form.Action("DistributedActiveEarthPressureMenu")->isEnabled());
        form.Action("Gentriangular")->trigger();
        QCOMPARE(project.EarthPressureOption, 2);
        emit form.Menu("DataMenu")->aboutToShow();
        QVERIFY(!form.Action("DistributedActiveEarthPressureMenu")->isEnabled());
        emit form.Menu("OptionsMenu")->aboutToShow();
        QCOMPARE(int(project.UseDistributedLoad), 0);
    }

    // An earth pressure chosen and saved at once, without the menu opened again in between,
    // is the one saved: the file's pressure mode follows each choice.
    void anEarthPressureChoiceIsSavedAtOnce() {
        QTemporaryDir folder;
        ui_.savePath = folder.path() + "/wall.tx4d";
        TMainForm form;
        form.show();
        QApplication::setActiveWindow(&form);
        for (const auto& [item, mode] : {std::pair{"Gentriangular", 2}, {"Userinput", 1}, {"Gentrape", 3}}) {
            emit form.Menu("OptionsMenu")->aboutToShow();
            emit form.Menu("OptionsKoutpt")->aboutToShow();
            form.Action(item)->trigger();
            QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
            QFile saved(ui_.savePath);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            saved.readLine();
            const QList<QByteArray> header = saved.readLine().simplified().split(' ');
            QVERIFY(header.size() > 4);
            QCOMPARE(header[4].toInt(), mode);
        }
    }

    void optionSwitchesDriveTheDataMenu() {
        TMainForm form;
        torvex::TProgramData& project = form.Workspace().Project();
        form.Action("OptionsConcentrate")->trigger();
        form.Action("OptionsSurcharge")->trigger();
        QCOMPARE(int(project.UseConcentratedLoads), 1);
        QCOMPARE(int(project.UseSurcharges), 1);
        QVERIFY(!form.IsModified());  // switching does not mark the project modified
        emit form.Menu("DataMenu")->aboutToShow();
        QVERIFY(form.Action("DataBoundCond")->isEnabled());
        QVERIFY(form.Action("DataRebar")->isEnabled());
        QVERIFY(!form.Action("DataSoilSpring")->isEnabled());
        form.Action("OptionsConcentrate")->trigger();
        QCOMPARE(int(project.UseConcentratedLoads), 0);
        emit form.Menu("OptionsMenu")->aboutToShow();
        QVERIFY(!form.Action("OptionsConcentrate")->isChecked());
        QVERIFY(form.Action("OptionsSurcharge")->isChecked());

        // Generate p-y Curves: a stray value is clamped before the toggle.
        project.GenerateCurves = 5;
        form.OptionskPYOpClick();
        QCOMPARE(project.GenerateCurves, 0);
        project.GeneratedPressure = 0;
        emit form.Menu("DataMenu")->aboutToShow();
        QVERIFY(!form.Action("DataAxLoads")->isEnabled());
        QVERIFY(!form.Action("DataCSD")->isEnabled());
        project.GeneratedPressure = 1;
        emit form.Menu("DataMenu")->aboutToShow();
        QVERIFY(form.Action("DataCSD")->isEnabled());

        // Units: choosing SI converts and is checked at the next drop-down.
        form.Action("SIUnits")->trigger();
        QCOMPARE(project.UnitSystem, 2);
        emit form.Menu("OptionsUnits")->aboutToShow();
        QVERIFY(form.Action("SIUnits")->isChecked());
        QVERIFY(!form.Action("EnglishUnits")->isChecked());
    }

    void longTermAndStagedSwitchesExcludeEachOther() {
        TMainForm form;
        torvex::TProgramData& project = form.Workspace().Project();
        form.Action("OptionsLong")->trigger();
        QCOMPARE(int(project.UseLongTerm), 1);
        QVERIFY(form.Action("SoilLayerDataMenu")->isVisible());
        QVERIFY(form.Action("DataLoading")->isVisible());
        QVERIFY(!form.Action("DataAxLoads")->isVisible());
        QVERIFY(!form.Action("DistributedActiveEarthPressureMenu")->isVisible());
        QVERIFY(!form.Action("SpeedButton7")->isEnabled());
        emit form.Menu("OptionsMenu")->aboutToShow();
        QVERIFY(form.Action("OptionsLong")->isChecked());
        QCOMPARE(project.LongTermMarker, 9);
        QVERIFY(!form.Action("OptionsStaged")->isEnabled());
        emit form.Menu("DataMenu")->aboutToShow();
        QVERIFY(form.Action("LongTerm2")->isVisible());
        QVERIFY(form.Action("ShortTerm1")->isVisible());

        form.Action("OptionsLong")->trigger();
        QCOMPARE(int(project.UseLongTerm), 0);
        QVERIFY(form.Action("DataAxLoads")->isVisible());
        QVERIFY(form.Action("SpeedButton7")->isEnabled());

        project.StageCount = 3;
        emit form.Menu("OptionsMenu")->aboutToShow();
        QVERIFY(!form.Action("OptionsLong")->isEnabled());
        QVERIFY(form.Action("OptionsStaged")->isChecked());
    }

    // ---- Stages ----

    void stageControlsFollowTheProject() {
        TMainForm form;
        torvex::TProgramData& project = form.Workspace().Project();
        project.StageCount = 3;
        project.CurrentStage = 2;
        form.UpdateStageControls();
        QCOMPARE(form.StatusText()->text(), QString("Construction Stage Number: 2"));
        QVERIFY(form.Action("StageMenu")->isVisible());
        QVERIFY(form.Action("SpeedButton14")->isVisible());
        QVERIFY(form.Action("SpeedButton14")->isEnabled());
        QVERIFY(form.Action("SpeedButton15")->isEnabled());
        QVERIFY(form.Action("SpeedButton16")->isEnabled());
        QVERIFY(!form.Action("SpeedButton17")->isEnabled());
        QVERIFY(!form.Action("SpeedButton18")->isEnabled());
        QVERIFY(form.Action("SpeedButton15")->isChecked());
        QVERIFY(!form.Action("SpeedButton14")->isChecked());

        emit form.Menu("StageMenu")->aboutToShow();
        QVERIFY(form.Action("Stage1Menu")->isEnabled());
        QVERIFY(form.Action("Stage3Menu")->isEnabled());
        QVERIFY(!form.Action("Stage4Menu")->isEnabled());
        QVERIFY(form.Action("Stage2Menu")->isChecked());
        QVERIFY(!form.Action("Stage1Menu")->isChecked());
        QVERIFY(form.Action("SaveCurrentStage")->isEnabled());
        QVERIFY(form.Action("CopyPreviousStage")->isEnabled());
        project.CurrentStage = 1;
        emit form.Menu("StageMenu")->aboutToShow();
        QVERIFY(!form.Action("CopyPreviousStage")->isEnabled());

        // Copying asks first; "No" copies nothing.
        project.CurrentStage = 3;
        ui_.answer = torvex::TAnswer::No;
        form.CopyPreviousStageClick();
        QCOMPARE(ui_.asked, QStringList({"Do you want to copy all information from Stage 2 to Stage 3"}));
        QCOMPARE(project.CurrentStage, 3);

        project.StageCount = 1;
        project.CurrentStage = 1;
        form.UpdateStageControls();
        QCOMPARE(form.StatusText()->text(), QString());
        QVERIFY(!form.Action("StageMenu")->isVisible());
        QVERIFY(!form.Action("SpeedButton14")->isVisible());
    }

    // ---- Results ----

    void graphCommandsNeedResults() {
        QTemporaryDir jobs;
        TMainForm form;
        // Before any run: every graph button and item is off.
        form.UpdateToolButtons();
        emit form.Menu("GraphicsMenu")->aboutToShow();
        for (QAction* action : form.Menu("GraphicsMenu")->actions())
            if (!action->isSeparator()) QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
        for (const char* name : {"SpeedButton13", "SpeedButton8", "SpeedButton11", "SpeedButton10",
                                 "SpeedButton12", "SpeedButton19", "SpeedButton9", "SpeedButton5"})
            QVERIFY2(!form.Action(name)->isEnabled(), name);

        // Graphs with data but the plot file missing: still off.
        torvex::TResultGraphs& graphs = form.Graphs();
        for (torvex::TGraphPlot* graph : {&graphs.pltDef, &graphs.pltMom, &graphs.pltSoil, &graphs.pltLD}) {
            graph->Lines.SetCount(1);
            graph->Lines.SetPointCount(5);
        }
        graphs.pltPY.Lines.SetCount(1);
        graphs.pltPY.Lines.SetPointCount(1);  // a p-y curve of one point cannot be drawn
        const QString dataFile = jobs.path() + "/wall.tx4d";
        form.Workspace().Project().FileName = dataFile.toStdString();
        form.SetPlotLoaded(true);
        form.UpdateToolButtons();
        QVERIFY(!form.Action("SpeedButton8")->isEnabled());

        WriteFile(jobs.path() + "/wall.tx4d");
        WriteFile(jobs.path() + "/wall.tx4p");
        WriteFile(jobs.path() + "/wall.tx4o");  // the report last, as a run puts it in place
        form.UpdateToolButtons();
        QVERIFY(form.Action("SpeedButton8")->isEnabled());
        QVERIFY(form.Action("SpeedButton11")->isEnabled());
        QVERIFY(form.Action("SpeedButton12")->isEnabled());
        QVERIFY(form.Action("SpeedButton9")->isEnabled());
        QVERIFY(form.Action("SpeedButton5")->isEnabled());
        QVERIFY(!form.Action("SpeedButton13")->isEnabled());  // one-point p-y curves
        QVERIFY(!form.Action("SpeedButton10")->isEnabled());  // shear empty
        QVERIFY(!form.Action("SpeedButton19")->isEnabled());  // needs shear as well

        emit form.Menu("GraphicsMenu")->aboutToShow();
        QVERIFY(form.Action("CompDef")->isEnabled());
        QVERIFY(!form.Action("Comppy")->isEnabled());
        QVERIFY(!form.Action("CompShear")->isEnabled());
        QVERIFY(!form.Action("DefMomShear")->isEnabled());
        QVERIFY(form.Action("CompCombine")->isEnabled());  // results alone

        graphs.pltShear.Lines.SetCount(1);
        graphs.pltShear.Lines.SetPointCount(3);
        form.UpdateToolButtons();
        QVERIFY(form.Action("SpeedButton19")->isEnabled());

        // Computation: editors by the files beside the data file, geometry by the results.
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(form.Action("CompInput")->isEnabled());
        QVERIFY(!form.Action("CompKernel")->isEnabled());
        QVERIFY(form.Action("CompOutput")->isEnabled());
        QVERIFY(form.Action("CompLayers")->isEnabled());
        // The data file written after the report: the results are of other input.
        WriteFile(jobs.path() + "/wall.tx4r");
        WriteFile(dataFile, "changed");
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(!form.Action("CompKernel")->isEnabled() && !form.Action("CompOutput")->isEnabled());
        WriteFile(jobs.path() + "/wall.tx4o");
        form.SetPlotLoaded(false);
        emit form.Menu("ComputationMenu")->aboutToShow();
        QVERIFY(form.Action("CompInput")->isEnabled());
        QVERIFY(form.Action("CompKernel")->isEnabled());
        QVERIFY(!form.Action("CompLayers")->isEnabled());
    }

    // ---- Child windows ----

    void windowMenuListsTheChildren() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QMenu* window = form.Menu("ArrangeMenu");
        emit window->aboutToShow();
        QVERIFY(!form.Action("N1")->isVisible());

        QList<QMdiSubWindow*> children;
        for (const char* title : {"Wall Properties", "Soil & Rock", "Deflection vs Depth"}) {
            auto* widget = new QWidget;
            widget->setWindowTitle(title);
            QMdiSubWindow* child = form.Desk()->addSubWindow(widget);
            child->show();
            children << child;
        }
        form.Desk()->setActiveSubWindow(children[1]);
        emit window->aboutToShow();
        QVERIFY(form.Action("N1")->isVisible());
        QCOMPARE(VisibleCaptions(window).mid(3),
                 QStringList({"Wall Properties", "Soil && Rock", "Deflection vs Depth"}));
        QVERIFY(!form.Action("WindowItem1")->isChecked());
        QVERIFY(form.Action("WindowItem2")->isChecked());
        QVERIFY(!form.Action("WindowItem4")->isVisible());
        form.Action("WindowItem3")->trigger();
        QCOMPARE(form.Desk()->activeSubWindow(), children[2]);

        for (int i = 0; i < 57; ++i) form.Desk()->addSubWindow(new QWidget)->show();
        emit window->aboutToShow();
        QCOMPARE(VisibleCaptions(window).size(), 3 + TMainForm::kWindowListSize);

        form.CloseAllChildren();
        QCOMPARE(form.Desk()->subWindowList().size(), 0);
    }

    void singleInstanceChildrenOpenOnce() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        int created = 0;
        const auto make = [&created] {
            ++created;
            auto* dialog = new QWidget;
            dialog->setWindowTitle("Wall Properties");
            return dialog;
        };
        QMdiSubWindow* first = form.ShowSingleChild("DlgProp", make);
        form.ShowSingleChild("DlgOther", [] { return new QWidget; });
        first->showMinimized();
        QCOMPARE(form.ShowSingleChild("DlgProp", make), first);  // shown again, not made again
        QCOMPARE(created, 1);
        QVERIFY(!first->isMinimized());
        QCOMPARE(form.Desk()->activeSubWindow(), first);
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.SingleChild("DlgProp") == nullptr);  // closing frees it
        form.ShowSingleChild("DlgProp", make);
        QCOMPARE(created, 2);
    }

    void menusCommitTheActiveChildFirst() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* child = new TEditingChild;
        form.Desk()->addSubWindow(child)->show();
        form.Desk()->setActiveSubWindow(form.Desk()->subWindowList().first());
        for (const char* menu : {"FileMenu", "DataMenu", "OptionsMenu", "StageMenu",
                                 "ComputationMenu", "ArrangeMenu", "HelpMenu"}) {
            const int before = child->commits;
            emit form.Menu(menu)->aboutToShow();
            QVERIFY2(child->commits == before + 1, menu);
        }
        const int before = child->commits;
        emit form.Menu("GraphicsMenu")->aboutToShow();
        QCOMPARE(child->commits, before);  // Graphics reads no input
    }

    // ---- Opening files ----

    void openingADataFile() {
        QTemporaryDir jobs;
        const QString path = jobs.path() + "/wall.tx4d";
        {
            TMainForm writer;
            writer.Workspace().Project().FileName = path.toStdString();
            writer.Workspace().Project().Title = "Quay wall";
            torvex::WriteDataFile(writer.Workspace());
        }
        TMainForm form;
        QVERIFY(form.OpenFileName(path));
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - Wall.tx4d"));
        QCOMPARE(QString::fromStdString(form.Workspace().Project().Title), QString("Quay wall"));
        QCOMPARE(ui_.shown, QStringList({"Data file: Wall.tx4d, has been read by TORVEX 2012"}));
        QCOMPARE(form.PrevFiles().Slot(0), path.toStdString());
        QCOMPARE(Stored("File1").toString(), path);
        QCOMPARE(QDir::currentPath(), QDir(jobs.path()).canonicalPath());

        // A file that is gone: the reader's message, and a default project in its place.
        ui_.shown.clear();
        QVERIFY(!form.OpenFileName(jobs.path() + "/gone.tx4d"));
        QCOMPARE(ui_.shown.size(), 1);
        QVERIFY(!ui_.shown.first().contains("has been read"));
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - NewWall.tx4d"));
        QCOMPARE(form.Workspace().Project().FileName, std::string("NewWall.tx4d"));
        QCOMPARE(form.PrevFileCount(), 1);

        // The recent-file item opens its file again (no changes, so no question).
        ui_.shown.clear();
        form.Action("FileMenu")->menu()->aboutToShow();
        form.Action("PrevFile1")->trigger();
        QVERIFY(ui_.asked.isEmpty());
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - Wall.tx4d"));

        // A modified project asks first; Cancel keeps it.
        form.SetModified(true);
        ui_.answer = torvex::TAnswer::Cancel;
        ui_.openPath = path;
        ui_.shown.clear();
        form.FileOpenClick();
        QCOMPARE(ui_.asked, QStringList({"Do you want to save any changes?"}));
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(form.IsModified());
        // "Yes" saves the opened file in place and goes on.
        ui_.answer = torvex::TAnswer::Yes;
        QVERIFY(form.QuerySaveChanges());
        QVERIFY(!form.IsModified());
        form.SetModified(true);
        ui_.answer = torvex::TAnswer::No;
        QVERIFY(form.QuerySaveChanges());
        form.SetModified(false);
        QVERIFY(!form.IsModified());

        // Open through "All Files": the extension chooses the current format.
        form.Workspace().Project().Title = "changed";
        ui_.openFilter = 4;
        ui_.shown.clear();
        form.Action("FileOpen")->trigger();
        QCOMPARE(ui_.shown, QStringList({"Data file: Wall.tx4d, has been read by TORVEX 2012"}));
        QCOMPARE(QString::fromStdString(form.Workspace().Project().Title), QString("Quay wall"));
    }

    void commandLineFile() {
        QTemporaryDir jobs;
        const QString path = jobs.path() + "/wall.tx4d";
        {
            TMainForm writer;
            writer.Workspace().Project().FileName = path.toStdString();
            writer.Workspace().Project().Title = "Anchored";
            torvex::WriteDataFile(writer.Workspace());
        }
        TMainForm form;
        form.OpenCommandLine({jobs.path() + "/wall"});  // ".tx4d" is added
        QCOMPARE(QString::fromStdString(form.Workspace().Project().Title), QString("Anchored"));
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - Wall.tx4d"));
        QVERIFY(ui_.shown.isEmpty());          // no message
        QCOMPARE(form.PrevFileCount(), 0);     // the recent list is untouched

        // A name relative to the current folder is kept as a whole path.
        QDir::setCurrent(jobs.path());
        TMainForm relative;
        relative.OpenCommandLine({"wall"});
        QCOMPARE(QString::fromStdString(relative.Workspace().Project().FileName),
                 QDir(jobs.path()).absoluteFilePath("wall.tx4d"));

        TMainForm missing;
        missing.OpenCommandLine({jobs.path() + "/none"});
        QCOMPARE(missing.Workspace().Project().FileName, std::string("NewWall.tx4d"));
        QVERIFY(ui_.shown.isEmpty());
    }

    void stagedAndLongTermExamplesFromTheCommandLine() {
        QTemporaryDir jobs;
        for (const char* name : {"three-stage-excavation.tx4d", "stiff-clay-long-term.tx4d"})
            QVERIFY(QFile::copy(QString(TORVEX_SOURCE_DIR) + "/examples/" + name,
                                jobs.path() + "/" + name));
        // A staged project opened from the command line can be worked on at once: its
        // stage files exist and the stage controls show.
        TMainForm staged;
        staged.OpenCommandLine({jobs.path() + "/three-stage-excavation.tx4d"});
        QCOMPARE(staged.Workspace().Project().StageCount, 3);
        QCOMPARE(staged.StatusText()->text(), QString("Construction Stage Number: 1"));
        QVERIFY(staged.Action("StageMenu")->isVisible());
        QVERIFY(staged.Action("SpeedButton16")->isEnabled());
        QVERIFY(staged.Action("SpeedButton14")->isChecked());
        for (int stage = 1; stage <= 3; ++stage)
            QVERIFY(QFile::exists(jobs.path() + QString("/three-stage-excavation.st%1").arg(stage)));
        QVERIFY(ui_.shown.isEmpty());
        // The stage buttons switch stages and show the one in force.
        staged.Action("SpeedButton15")->trigger();
        QCOMPARE(staged.Workspace().Project().CurrentStage, 2);
        QCOMPARE(staged.StatusText()->text(), QString("Construction Stage Number: 2"));
        QVERIFY(staged.Action("SpeedButton15")->isChecked());
        QVERIFY(!staged.Action("SpeedButton14")->isChecked());
        staged.Action("Stage3Menu")->trigger();
        QCOMPARE(staged.Workspace().Project().CurrentStage, 3);
        QVERIFY(staged.Action("SpeedButton16")->isChecked());

        TMainForm longTerm;
        longTerm.OpenCommandLine({jobs.path() + "/stiff-clay-long-term.tx4d"});
        QCOMPARE(int(longTerm.Workspace().Project().UseLongTerm), 1);
        QVERIFY(longTerm.Action("SoilLayerDataMenu")->isVisible());
        QVERIFY(!longTerm.Action("DataAxLoads")->isVisible());
        QVERIFY(!longTerm.Action("SpeedButton7")->isEnabled());
        QCOMPARE(longTerm.StatusText()->text(), QString());
    }

    void droppedFilesOpenTheFirst() {
        QTemporaryDir jobs;
        const QString first = jobs.path() + "/first.tx4d";
        const QString second = jobs.path() + "/second.tx4d";
        for (const QString& path : {first, second}) {
            TMainForm writer;
            writer.Workspace().Project().FileName = path.toStdString();
            torvex::WriteDataFile(writer.Workspace());
        }
        TMainForm form;
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});

        // A modified project whose save prompt is cancelled: nothing opens.
        form.SetModified(true);
        ui_.answer = torvex::TAnswer::Cancel;
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent cancelled(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &cancelled);
        QVERIFY(cancelled.isAccepted());
        QCOMPARE(form.Workspace().Project().FileName, std::string("NewWall.tx4d"));

        ui_.answer = torvex::TAnswer::No;
        QDragEnterEvent again(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &again);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
        QCOMPARE(form.Workspace().Project().FileName, first.toStdString());
        QCOMPARE(form.PrevFileCount(), 1);
        QCOMPARE(QDir::currentPath(), QDir(jobs.path()).canonicalPath());
    }

    void closingStoresTheSettingsUnlessCancelled() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SetModified(true);
        ui_.answer = torvex::TAnswer::Cancel;
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QVERIFY(!IsStored("Word Processor"));
        ui_.answer = torvex::TAnswer::No;
        QVERIFY(form.close());
        QCOMPARE(Stored("Word Processor").toString(), QString("xdg-open"));
        QVERIFY(IsStored("File10"));
    }

    // ---- Picture ----

    void screenshotOfTheMainWindow() {
        TMainForm form;
        form.UpdatePrevFile("/jobs/quay.tx4d");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* child = new QWidget;
        child->setWindowTitle("Wall Properties");
        form.Desk()->addSubWindow(child)->resize(260, 160);
        child->show();
        const QString folder = QCoreApplication::applicationDirPath();
        QVERIFY(form.grab().save(folder + "/screenshot-main-window.png"));
        // The tool bar with every button on, and the File menu with its recent file.
        for (QAction* action : form.ToolBar()->actions()) {
            action->setEnabled(true);
            action->setVisible(true);
        }
        QVERIFY(form.ToolBar()->grab().save(folder + "/screenshot-main-toolbar.png"));
        QMenu* file = form.Menu("FileMenu");
        emit file->aboutToShow();
        file->adjustSize();
        QVERIFY(file->grab().save(folder + "/screenshot-main-file-menu.png"));
    }
};

QTEST_MAIN(MainMenusTest)
#include "MainMenusTest.moc"
