// Speed of the analysis on laterally loaded steel pipe piles (100 increments, free head), from
// data-file text to results; and the cost per file of a batch run, the analysis with its
// three result files written into a temporary folder, beside the analysis alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "../tests/engine/PipePiles.h"
#include "Analysis.h"
#include "ResultFiles.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"

namespace {

using namespace torvex;

std::string PileText(testing::TPipePile pile) {
    TWorkspace w;
    testing::SetUpPipePile(w, pile);
    return WriteDataFileText(w);
}

void Analyse(benchmark::State& state, testing::TPipePile pile) {
    const std::string text = PileText(pile);
    int iterations = 0;
    for (auto _ : state) {
        const engine::TFileAnalysis analysis = engine::AnalyzeDataText(text, "pile.tx4d");
        iterations = analysis.cases.front().iterations;
        benchmark::DoNotOptimize(analysis);
    }
    state.counters["solves"] = iterations;
}

void BM_PipePileSoftClay200kN(benchmark::State& state) { Analyse(state, testing::TPipePile::SoftClay200); }
void BM_PipePileSand89kN(benchmark::State& state) { Analyse(state, testing::TPipePile::Sand89); }
void BM_PipePileSand300kN(benchmark::State& state) { Analyse(state, testing::TPipePile::Sand300); }
BENCHMARK(BM_PipePileSoftClay200kN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipePileSand89kN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipePileSand300kN)->Unit(benchmark::kMillisecond);

// What a batch run pays per data file: read from disk, analyse, write the report, plot file and
// run notes beside it.
void BM_PerFileSand89kN(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("torvex-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string data = (folder / "pile.tx4d").string();
    SaveTextFile(data, PileText(testing::TPipePile::Sand89));
    const engine::TResultPaths paths = engine::ResultPathsFor(data);
    for (auto _ : state) engine::WriteResultFiles(engine::AnalyzeDataFile(data), paths);
    fs::remove_all(folder);
}
BENCHMARK(BM_PerFileSand89kN)->Unit(benchmark::kMillisecond);

}  // namespace
