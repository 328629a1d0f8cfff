// Speed of the analysis: a 100-increment cantilever in sand, and a 300-increment three-stage
// excavation, from data-file text to results.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/engine/SandWall.h"
#include "Analysis.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/StageFiles.h"
#include "project/Workspace.h"

namespace {

using namespace torvex;

void BM_CantileverInSand100(benchmark::State& state) {
    TWorkspace w;
    testing::SetUpSandWall(w, 100);
    const std::string text = WriteDataFileText(w);
    for (auto _ : state) benchmark::DoNotOptimize(engine::AnalyzeDataText(text, "sand.tx4d"));
}
BENCHMARK(BM_CantileverInSand100)->Unit(benchmark::kMillisecond);

void BM_ThreeStages300(benchmark::State& state) {
    TWorkspace w;
    testing::SetUpSandWall(w, 300, 72);
    TProgramData& p = w.Project();
    p.StageCount = 3;
    std::string text;
    const long double levels[3] = {72, 144, 192};
    for (int k = 1; k <= 3; ++k) {
        p.CurrentStage = k;
        p.FreeHeight = levels[k - 1];
        text += WriteStageFileText(w);
    }
    for (auto _ : state) benchmark::DoNotOptimize(engine::AnalyzeDataText(text, "staged.tx4d"));
}
BENCHMARK(BM_ThreeStages300)->Unit(benchmark::kMillisecond);

}  // namespace
