// The graph windows in the main window: the Graphics commands and buttons on the results of
// a real run, the Plot menu in the menu bar, the legend, the readout, the rubber-band zoom
// and right click, the three-panel curves; last, screenshots of every graph of every example.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "desktop/UserInterface.h"
#include "plot/PlotForm.h"
#include "plot/PlotLegend.h"
#include "plot/PlotPainter.h"
#include "plot/PltData.h"

using torvex::TGraphPlot;
using torvex::TMainForm;
using torvex::TPlotForm;

namespace {

// A curve of set `set` with the points given.
void AddCurve(torvex::TCurveSet& set, std::initializer_list<torvex::TFloatPoint> points) {
    set.SetCount(set.Count() + 1);
    torvex::TLine& line = set[set.Count() - 1];
    line.SetPointCount(static_cast<int>(points.size()));
    int j = 0;
    for (const auto& p : points) line.Point(j++) = p;
}

// Pixels of `colour` within `radius` of a point of the image.
int CountNear(const QImage& image, QPoint at, int radius, QColor colour) {
    int count = 0;
    for (int y = at.y() - radius; y <= at.y() + radius; ++y)
        for (int x = at.x() - radius; x <= at.x() + radius; ++x)
            if (image.rect().contains(x, y) && QColor(image.pixel(x, y)) == colour) ++count;
    return count;
}

QPoint PixelOf(const TPlotForm& plot, int panel, long double x, long double y) {
    const torvex::TPlotMapping& map = plot.State().Panel(panel).Map;
    return {map.XPixel(x), map.YPixel(y)};
}

QString ScreenshotFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace

class PlotFormTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    torvex::testing::TRecordingInterface ui_;
    QString startDir_;

    // Runs an example in a fresh folder; the form then holds its results.
    bool RunExample(TMainForm& form, const QString& example, QTemporaryDir& jobs,
                    QTemporaryDir& run) {
        const QString data = jobs.filePath(QFileInfo(example).fileName());
        if (!QFile::copy(example, data) || !form.OpenFileName(data)) return false;
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.CompRunClick();
        return form.PlotLoaded();
    }
    static TPlotForm* ActivePlot(TMainForm& form) {
        QMdiSubWindow* child = form.Desk()->activeSubWindow();
        return child ? qobject_cast<TPlotForm*>(child->widget()) : nullptr;
    }

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void cleanup() { QDir::setCurrent(startDir_); }

    // First of the window tests: run after the legend's double click below, Qt Test's plain
    // mouse move did not reach a new window on the offscreen platform.
    void readoutZoomAndRightClickThroughTheMouse() {
        TGraphPlot graph("pltDef");
        graph.Caption = "Deflection vs Depth";
        AddCurve(graph.Lines, {{0, 0}, {1, 20}});
        TPlotForm plot(graph);
        plot.resize(800, 612);  // plot rectangle 728 x 540 pixels
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        QTest::mouseMove(&plot, PixelOf(plot, 0, 0.5L, 12));
        QTRY_COMPARE(plot.windowTitle(), QString("Deflection vs Depth X: 0.5 Y: 12"));

        // A band 1/100 of the X span wide gives 1/20 of it.
        const torvex::TDataRange home = plot.State().Panel(0).Home;
        QCOMPARE(static_cast<double>(home.XSpan()), 1.0);
        const QPoint start = PixelOf(plot, 0, 0.5L, 4), end = PixelOf(plot, 0, 0.51L, 16);
        QTest::mousePress(&plot, Qt::LeftButton, {}, start);
        QTest::mouseMove(&plot, end);
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, end);
        const torvex::TDataRange zoomed = plot.State().Panel(0).Map.Range;
        QVERIFY(qAbs(static_cast<double>(zoomed.XSpan()) - 0.05) < 1e-12);
        QVERIFY(qAbs(static_cast<double>(zoomed.Ymin) - 4) < 0.05);
        QVERIFY(qAbs(static_cast<double>(zoomed.Ymax) - 16) < 0.05);
        QVERIFY(plot.Render().save(ScreenshotFolder() + "/screenshot-graph-zoomed.png"));

        // Right clicks zoom out until the full view, which then stays.
        const torvex::TPixelRect& r = plot.State().Layout().Plot;
        for (int i = 0; i < 6; ++i)
            QTest::mouseClick(&plot, Qt::RightButton, {}, QPoint(r.Right - 5, r.Bottom - 5));
        QCOMPARE(plot.State().Panel(0).Map.Range, home);
        // A click without a drag does not zoom.
        QTest::mouseClick(&plot, Qt::LeftButton, {}, start);
        QCOMPARE(plot.State().Panel(0).Map.Range, home);
    }

    void graphCommandsOpenOneWindowEachWithItsPlotMenu() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.Action("SpeedButton8")->isEnabled());  // nothing before a run
        QVERIFY(RunExample(form, TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", jobs, run));
        QVERIFY(form.Action("SpeedButton8")->isEnabled());
        form.GraphicsMenuClick();  // the Graphics menu drops down

        form.Action("SpeedButton8")->trigger();  // Deflection Diagram
        QCOMPARE(form.Desk()->subWindowList().size(), 1);
        QMdiSubWindow* deflection = form.Desk()->activeSubWindow();
        TPlotForm* plot = ActivePlot(form);
        QVERIFY(plot);
        QVERIFY(deflection->isMaximized());
        // The legend box opens in the corner of the maximised window's plot.
        QTRY_COMPARE(plot->Legend()->geometry().bottomRight(),
                     QPoint(plot->State().Layout().Plot.Right - 1, plot->State().Layout().Plot.Bottom - 1));
        QCOMPARE(&plot->Graph(), &form.Graphs().pltDef);
        QVERIFY(form.Graphs().pltDef.IsOpen);
        // The Plot menu stands after Options, with its fourteen items and a curve item.
        QList<QAction*> bar = form.menuBar()->actions();
        QCOMPARE(bar.indexOf(plot->PlotMenu()->menuAction()), 3);
        QVERIFY(plot->PlotMenu()->menuAction()->isVisible());
        const QList<QAction*> items = plot->PlotMenu()->actions();
        QCOMPARE(items.size(), 14 + static_cast<int>(plot->CurveItems().size()));
        QCOMPARE(items[0]->text(), QString("Show &Legend"));
        QCOMPARE(items[3]->text(), QString("Show &Markers"));
        QCOMPARE(items[3]->menu()->actions()[3]->text(), QString("Every &3 Incrments"));
        QCOMPARE(items[12]->text(), QString("&Save To Disk..."));
        QVERIFY(items[13]->isSeparator());
        QCOMPARE(plot->CurveItems().front()->text(), QString("Load #1"));
        QVERIFY(form.grab().save(ScreenshotFolder() + "/screenshot-graph-window.png"));

        // The menu item brings the same window to the front.
        form.Action("CompMom")->trigger();
        QCOMPARE(form.Desk()->subWindowList().size(), 2);
        TPlotForm* moment = ActivePlot(form);
        QVERIFY(moment && moment != plot);
        QVERIFY(!plot->PlotMenu()->menuAction()->isVisible());
        QVERIFY(moment->PlotMenu()->menuAction()->isVisible());
        form.Action("CompDef")->trigger();
        QCOMPARE(form.Desk()->subWindowList().size(), 2);
        QCOMPARE(form.Desk()->activeSubWindow(), deflection);
        QVERIFY(plot->PlotMenu()->menuAction()->isVisible());
        QVERIFY(!moment->PlotMenu()->menuAction()->isVisible());

        // Closing a window takes its menu along and tells the graph.
        QPointer<QMenu> menu = plot->PlotMenu();
        deflection->close();
        QTRY_VERIFY(menu.isNull());
        QVERIFY(!form.Graphs().pltDef.IsOpen);
        bar = form.menuBar()->actions();
        QCOMPARE(bar.size(), 9);  // eight menus and the moment graph's Plot menu
        form.Action("SpeedButton8")->trigger();  // opens anew
        QCOMPARE(form.Desk()->subWindowList().size(), 2);
    }

    // A graph left open while the wall is run again in other units shows the new curve from
    // its own full range, not from the range of the run it opened on.
    void aRunWithTheGraphOpenShowsTheNewResultsWhole() {
        QTemporaryDir jobs, run;
        TMainForm form;
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(RunExample(form, TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", jobs, run));
        form.Action("SpeedButton8")->trigger();  // Deflection Diagram
        TPlotForm* plot = ActivePlot(form);
        QVERIFY(plot);
        const torvex::TDataRange inches = plot->State().Panel(0).Home;
        form.Action("SIUnits")->trigger();
        form.Action("SpeedButton4")->trigger();  // Run Analysis
        QCOMPARE(ActivePlot(form), plot);
        const TGraphPlot& graph = form.Graphs().pltDef;
        long double most = 0;
        for (int j = 0; j < graph.Lines.PointCount(); ++j)
            most = std::max(most, std::fabs(graph.Lines.Point(0, j).X));
        const torvex::TDataRange& home = plot->State().Panel(0).Home;
        QCOMPARE(plot->State().Panel(0).Map.Range, home);
        // Rounded away from zero at a tenth of the span at most: the curve fills the width.
        const long double span = home.XSpan();
        QVERIFY2(most > 0 && most <= span && span <= 1.5L * most,
                 qPrintable(QString("%1 m in a span of %2").arg(double(most)).arg(double(span))));
        QVERIFY(span < inches.XSpan() / 10);  // metres, not the inches it opened with
        QCOMPARE(plot->Legend()->Count(), 1);
        QCOMPARE(plot->CurveItems().size(), size_t{1});
    }

    void twentyFiveCurvesOpenWithTwentyActiveAndTheLegendMarksVisibleOnes() {
        TGraphPlot graph("pltDef");
        graph.CurveName = "Load #";
        graph.Caption = "Deflection vs Depth";
        graph.Markers = 0;
        for (int i = 0; i < 25; ++i) {
            // Curves 21 to 25 alone reach out to x = 10.
            const long double x = i < 20 ? 1 + i / 10.0L : 10;
            AddCurve(graph.Lines, {{0, 0}, {x, 10}});
        }
        TPlotForm plot(graph);
        plot.resize(800, 600);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        QCOMPARE(plot.Legend()->Count(), 20);
        QCOMPARE(static_cast<int>(plot.CurveItems().size()), 20);
        QVERIFY(!graph.Lines[20].Active);
        QCOMPARE(plot.Legend()->EntryText(0), QString("Load #1 *"));
        QCOMPARE(plot.CurveItems()[19]->text(), QString("Load #20"));
        // Nothing coloured lies on the path of the inactive curves (x 5, depth 5).
        QImage image = plot.Render();
        image.save(ScreenshotFolder() + "/screenshot-graph-25-curves.png");
        const QPoint far = PixelOf(plot, 0, 5, 5);
        for (int k = 20; k < 25; ++k)  // the colours they would take
            QCOMPARE(CountNear(image, far, 3, torvex::CurveColour(k)), 0);
        // ... while curve 2 (blue) is drawn through (0.55, 5).
        QVERIFY(CountNear(image, PixelOf(plot, 0, 0.55L, 5), 1, torvex::CurveColour(1)) > 0);

        // A double click on the first entry hides its curve: no " *", the item unchecked.
        const int y = plot.Legend()->ItemHeight() / 2 + 1;
        QTest::mouseDClick(plot.Legend(), Qt::LeftButton, {}, QPoint(10, y));
        QCOMPARE(plot.Legend()->EntryText(0), QString("Load #1"));
        QVERIFY(!graph.Lines[0].Visible);
        QVERIFY(!plot.CurveItems()[0]->isChecked());
        plot.CurveItems()[0]->trigger();  // and the menu item shows it again
        QCOMPARE(plot.Legend()->EntryText(0), QString("Load #1 *"));

        // The box opens in the plot's bottom-right corner; dragged, it stays in the window.
        const torvex::TPixelRect& r = plot.State().Layout().Plot;
        QCOMPARE(plot.Legend()->geometry().bottomRight(), QPoint(r.Right - 1, r.Bottom - 1));
        QTest::mousePress(plot.Legend(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(plot.Legend(), QPoint(-2000, 30));
        QTest::mouseRelease(plot.Legend(), Qt::LeftButton, {}, QPoint(-2000, 30));
        QCOMPARE(plot.Legend()->pos(), QPoint(0, r.Bottom - plot.Legend()->height() + 25));
        plot.resize(700, 500);  // a smaller window keeps the moved box inside
        QCOMPARE(plot.Legend()->geometry().bottom(), 499);
        QCOMPARE(plot.Legend()->x(), 0);
    }

    // The first layout puts the box in a free corner of the plot; a larger window or a larger legend
    // font leaves it where it stands. Its border is one flat black line, not a bevel.
    void legendPlacedByTheFirstLayoutOnlyWithAFlatBorder() {
        TGraphPlot graph("pltDef");
        AddCurve(graph.Lines, {{0, 0}, {1, 10}});
        AddCurve(graph.Lines, {{0, 0}, {2, 10}});
        TPlotForm plot(graph);
        plot.resize(800, 600);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        // The second curve ends in the bottom-right corner: the box takes the bottom-left one.
        const torvex::TPixelRect first = plot.State().Layout().Plot;
        const QPoint corner(first.Left, first.Bottom - 1);
        QCOMPARE(plot.Legend()->geometry().bottomLeft(), corner);
        plot.resize(1000, 700);
        QVERIFY(plot.State().Layout().Plot.Right > first.Right);  // laid out anew
        QCOMPARE(plot.Legend()->geometry().bottomLeft(), corner);
        const QPoint placed = plot.Legend()->pos();
        const int narrow = plot.Legend()->width();
        plot.MenuItem("PlotFontSize")->menu()->actions()[2]->trigger();  // 2 * Default
        QVERIFY(plot.Legend()->width() > narrow);
        QCOMPARE(plot.Legend()->pos(), placed);
        const QImage box = plot.Legend()->grab().toImage();
        const int w = box.width(), h = box.height();
        int notBlack = 0;
        for (int x = 0; x < w; ++x)
            for (int y : {0, h - 1}) notBlack += QColor(box.pixel(x, y)) != QColor(Qt::black);
        for (int y = 0; y < h; ++y)
            for (int x : {0, w - 1}) notBlack += QColor(box.pixel(x, y)) != QColor(Qt::black);
        QCOMPARE(notBlack, 0);
        // Just inside the line it is white: no second, shaded line of a bevel.
        for (QPoint inside : {QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, h - 2), QPoint(w - 2, h - 2)})
            QCOMPARE(QColor(box.pixel(inside)), QColor(Qt::white));
    }

    // Curves through every corner of the plot: the box opens below it, at the foot of the
    // window, the plot shortened to make room; dragged away, the plot takes the room back.
    void legendBelowThePlotWhenTheCurvesTakeEveryCorner() {
        TGraphPlot graph("pltDef");
        AddCurve(graph.Lines, {{0, 0}, {2, 0}});
        AddCurve(graph.Lines, {{0, 10}, {2, 10}});
        TPlotForm plot(graph);
        plot.resize(800, 600);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        const torvex::TPixelRect r = plot.State().Layout().Plot;
        const QRect box = plot.Legend()->geometry();
        QCOMPARE(box.bottomRight(), QPoint(r.Right - 1, 599));
        QVERIFY2(r.Bottom < box.top(), qPrintable(QString("%1 %2").arg(r.Bottom).arg(box.top())));
        QTest::mousePress(plot.Legend(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(plot.Legend(), QPoint(-200, -300));
        QTest::mouseRelease(plot.Legend(), Qt::LeftButton, {}, QPoint(-200, -300));
        plot.resize(800, 601);
        QVERIFY(plot.State().Layout().Plot.Bottom > box.top());
    }

    void plotMenuFollowsTheGraph() {
        TGraphPlot graph("pltDMS");
        AddCurve(graph.Lines, {{0, 0}, {1, 10}});
        TPlotForm plot(graph);
        plot.resize(800, 600);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        auto item = [&](const char* name) { return plot.MenuItem(name); };
        plot.UpdateMenu();
        QVERIFY(!item("PlotShowLayers")->isVisible());  // no soil layers
        QVERIFY(!item("PlotShowWall")->isVisible());
        AddCurve(graph.LayerLines, {{7, 5}});
        AddCurve(graph.LayerLines, {{0, 8}});
        AddCurve(graph.LayerLines, {{0, 3}});
        graph.WallLineCount = 1;
        graph.ShowFontWidth = false;
        plot.UpdateMenu();
        QVERIFY(item("PlotShowLayers")->isVisible());
        QVERIFY(item("PlotShowWall")->isVisible());
        QVERIFY(!item("PlotShowWall")->isEnabled());  // until the column is shown
        QVERIFY(!item("PlotFontSize")->isVisible());
        QVERIFY(!item("PlotLineWidth")->isVisible());
        item("PlotShowLayers")->trigger();
        QVERIFY(graph.ShowLayers);
        QVERIFY(plot.State().Layout().HasColumn);
        QCOMPARE(plot.State().Layout().Plot.Right, 800 - 24 - 7 - 96);
        plot.UpdateMenu();
        QVERIFY(item("PlotShowWall")->isEnabled());

        // Markers: the item of the current value is checked, none for another value.
        QMenu* markers = item("PlotMarkers")->menu();
        markers->actions()[3]->trigger();  // "Every &3 Incrments"
        QCOMPARE(graph.Markers, 3);
        graph.Markers = 4;
        emit markers->aboutToShow();
        for (QAction* action : markers->actions()) QVERIFY(!action->isChecked());
        // Twice the font: legend 22 points with entries 33 pixels high.
        item("PlotFontSize")->menu()->actions()[2]->trigger();
        QCOMPARE(graph.SizeFont, 20);
        QCOMPARE(plot.Legend()->FontSize(), 22);
        QCOMPARE(plot.Legend()->ItemHeight(), 33);
        QCOMPARE(plot.State().H(), 28);

        // A run while the window is open leaves fewer curves: entries and items follow.
        AddCurve(graph.Lines, {{0, 0}, {2, 10}});
        AddCurve(graph.Lines, {{0, 0}, {3, 10}});
        TPlotForm three(graph);
        three.resize(800, 600);
        QCOMPARE(three.Legend()->Count(), 3);
        graph.Lines.SetCount(1);
        three.Render();
        QCOMPARE(three.Legend()->Count(), 1);
        QCOMPARE(static_cast<int>(three.CurveItems().size()), 1);
    }

    void threePanelsDoNotJoinTheLastStagePoint() {
        TGraphPlot graph("pltDMS");
        graph.ShowThree = true;
        graph.Markers = 0;
        for (torvex::TCurveSet* set : {&graph.Lines, &graph.Lines2, &graph.Lines3}) {
            AddCurve(*set, {{2, 0}, {2, 5}, {2, 5}});
            AddCurve(*set, {{2, 0}, {2, 5}, {10, 10}});  // the stage's last point, far off
        }
        graph.Lines[0].Visible = false;  // curve 2 alone, in blue
        TPlotForm plot(graph);
        plot.resize(900, 600);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        const QColor blue = torvex::CurveColour(1);
        QImage image = plot.Render();
        for (int panel = 0; panel < 3; ++panel) {
            QVERIFY(CountNear(image, PixelOf(plot, panel, 2, 2.5L), 1, blue) > 0);
            QCOMPARE(CountNear(image, PixelOf(plot, panel, 6, 7.5L), 2, blue), 0);
        }
        graph.ShowThree = false;  // one panel joins it
        TPlotForm single(graph);
        single.resize(900, 600);
        single.show();
        QVERIFY(QTest::qWaitForWindowExposed(&single));
        image = single.Render();
        QVERIFY(CountNear(image, PixelOf(single, 0, 6, 7.5L), 2, blue) > 0);
    }

    void screenshotsOfEveryGraphOfEveryExample() {
        const QDir examples(TORVEX_SOURCE_DIR "/examples");
        const QStringList files = examples.entryList({"*.tx4d"}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 6);
        const char* commands[] = {"Comppy",    "CompDef",     "CompMom", "CompShear",
                                  "CompSoil",  "DefMomShear", "CompLD",  "CompCombine"};
        int written = 0;
        for (const QString& name : files) {
            QTemporaryDir jobs, run;
            TMainForm form;
            form.resize(1100, 800);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QVERIFY2(RunExample(form, examples.filePath(name), jobs, run), qPrintable(name));
            form.GraphicsMenuClick();
            for (const char* command : commands) {
                QAction* action = form.Action(command);
                if (!action->isEnabled()) continue;
                action->trigger();
                TPlotForm* plot = ActivePlot(form);
                QVERIFY2(plot, command);
                if (plot->Graph().LayerLines.Count() > 0) {  // the column, with the wall
                    plot->Graph().ShowLayers = plot->Graph().ShowWall = true;
                    plot->resize(plot->size() + QSize(1, 0));
                    plot->resize(plot->size() - QSize(1, 0));
                }
                const QString base = ScreenshotFolder() + "/screenshot-graph-" +
                                     QFileInfo(name).completeBaseName() + "-" + command;
                QVERIFY(plot->Render(1).save(base + ".png"));
                QVERIFY(plot->Render(2).save(base + "@2x.png"));
                ++written;
            }
        }
        QVERIFY(written >= 6 * 7);
    }
};

QTEST_MAIN(PlotFormTest)
#include "PlotFormTest.moc"
