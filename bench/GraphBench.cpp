// Speed of the graph windows: painting the three-panel graph of a 300-increment, five-stage
// result into an image (every resize and zoom repaints it), and opening each graph of the
// largest bundled example through its Graphics command. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "Analysis.h"
#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "desktop/UserInterface.h"
#include "plot/PlotForm.h"
#include "plot/PlotPainter.h"
#include "plot/PlotState.h"
#include "plot/PltData.h"
#include "ResultFiles.h"

namespace {

using namespace torvex;

// Five stages of 301 nodes in the three panels, with markers at every point and a soil
// column of four layers with the wall.
void FillFiveStages(TGraphPlot& g) {
    g.ShowThree = true;
    g.ShowLayers = g.ShowWall = true;
    for (TCurveSet* set : {&g.Lines, &g.Lines2, &g.Lines3}) {
        set->SetCount(5);
        set->SetPointCount(301);
    }
    for (int s = 0; s < 5; ++s)
        for (int j = 0; j <= 300; ++j) {
            const long double depth = j * 0.1L, t = depth / 30;
            g.Lines.Point(s, j) = {(s + 1) * 0.01L * (1 - t) * (1 - t), depth};
            g.Lines2.Point(s, j) = {(s + 1) * 50 * std::sin(3.1416L * t), depth};
            g.Lines3.Point(s, j) = {(s + 1) * 20 * std::cos(3.1416L * t), depth};
        }
    const long double layers[][2] = {{1, 6}, {7, 14}, {8, 22}, {9, 40}, {0, 30}, {0, 8}};
    g.LayerLines.SetCount(6);
    g.LayerLines.SetPointCount(1);
    for (int i = 0; i < 6; ++i) g.LayerLines.Point(i, 0) = {layers[i][0], layers[i][1]};
    g.WallLineCount = 4;
}

void BM_PaintThreePanels300x5(benchmark::State& state) {
    TGraphPlot graph("pltDMS");
    FillFiveStages(graph);
    TPlotState plot(graph);
    plot.LayOut(1200, 800, 96, 96, 14);
    QImage image(1200, 800, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintGraph(painter, plot);
    }
}
BENCHMARK(BM_PaintThreePanels300x5)->Unit(benchmark::kMillisecond);

// The largest example, run once, with its data and plot files in a folder of their own.
struct TLargestExample {
    QTemporaryDir folder;
    QString data;
    TLargestExample() {
        const QDir examples(TORVEX_SOURCE_DIR "/examples");
        const QFileInfoList files = examples.entryInfoList({"*.tx4d"}, QDir::Files, QDir::Size);
        data = folder.filePath(files.front().fileName());
        QFile::copy(files.front().filePath(), data);
        const engine::TFileAnalysis analysis = engine::AnalyzeDataFile(data.toStdString());
        std::ofstream(QString(data).replace(".tx4d", ".tx4p").toStdString(), std::ios::binary)
            << engine::PlotFileText(analysis);
    }
};

void BM_OpenGraphOfLargestExample(benchmark::State& state, const char* command) {
    static TLargestExample example;
    // Messages are answered here rather than shown.
    static testing::TRecordingInterface messages;
    SetUserInterface(&messages);
    messages.Clear();
    TMainForm form;
    form.resize(1200, 900);
    form.show();
    if (!form.OpenFileName(example.data) || !form.PlotLoaded()) {
        const QString why = messages.shown.join(" ") + messages.asked.join(" ");
        state.SkipWithError(("the example's results were not read: " + why.toStdString()).c_str());
        return;
    }
    form.GraphicsMenuClick();
    QAction* action = form.Action(command);
    if (!action->isEnabled()) {
        state.SkipWithError("the graph has nothing to show");
        return;
    }
    for (auto _ : state) {
        // Opening: the window made, laid out maximised and painted once.
        action->trigger();
        QMdiSubWindow* child = form.Desk()->activeSubWindow();
        benchmark::DoNotOptimize(static_cast<TPlotForm*>(child->widget())->grab());
        state.PauseTiming();
        delete child;
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, py, "Comppy")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, deflection, "CompDef")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, moment, "CompMom")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, shear, "CompShear")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, reaction, "CompSoil")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, three_panels, "DefMomShear")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, pressure, "CompLD")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenGraphOfLargestExample, combined, "CompCombine")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
