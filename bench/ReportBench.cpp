// The calculation report of the three-stage example: reading and analysing the data file,
// then laying out and drawing every page of the PDF in memory, as File, Export Report does.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "report/ReportWriter.h"

namespace {

void BM_ReportOfThreeStageExample(benchmark::State& state) {
    int pages = 0;
    for (auto _ : state) {
        const auto source = torvex::ReadReportSource(TORVEX_SOURCE_DIR "/examples/three-stage-excavation.tx4d");
        const torvex::TReportDocument document = torvex::MakeReport(*source, {});
        pages = document.pages;
        benchmark::DoNotOptimize(document.bytes.data());
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ReportOfThreeStageExample)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
