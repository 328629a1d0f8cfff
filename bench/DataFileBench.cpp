// Reading and writing a large project: 300 increments, every table at its row limit.
#include <benchmark/benchmark.h>

#include "../tests/project/ProjectFixture.h"
#include "project/DataFileReader.h"
#include "dataentry/NumberText.h"
#include "project/DataFileWriter.h"

namespace {

void BM_WriteFullProject(benchmark::State& state) {
    torvex::TWorkspace workspace;
    torvex::testing::FillFullProject(workspace, 300, 100, true);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = torvex::WriteDataFileText(workspace);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteFullProject)->Unit(benchmark::kMicrosecond);

void BM_ReadFullProject(benchmark::State& state) {
    torvex::TWorkspace workspace;
    torvex::testing::FillFullProject(workspace, 300, 100, true);
    const std::string text = torvex::WriteDataFileText(workspace);
    torvex::TWorkspace target;
    for (auto _ : state) {
        torvex::ReadDataFileText(target, text, "Bench.tx4d", 1);
        benchmark::ClobberMemory();
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadFullProject)->Unit(benchmark::kMicrosecond);

void BM_DataNumberText(benchmark::State& state) {
    const long double values[] = {0.83333333L, 60, 29000000, 1.0L / 3, 0.069444444L, 1e-5L,
                                  123456789, 3.4722222L};
    for (auto _ : state)
        for (long double v : values) benchmark::DoNotOptimize(torvex::DataNumberText(v));
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_DataNumberText);

}  // namespace

BENCHMARK_MAIN();
