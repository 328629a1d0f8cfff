// Speed of the analysis: a 100-increment cantilever in sand, and a 300-increment three-stage
// excavation, from data-file text to results.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/engine/SandWall.h"
#include "Analysis.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
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

// The bundled examples, plain and under EN 1997-1 Design Approach 1 (SLS, DA1-C1, DA1-C2): the
// code may cost at most 3.5 times the plain run.
void RunExample(benchmark::State& state, const char* name, TDesignCode code) {
    const std::string text = LoadTextFile(std::string(TORVEX_SOURCE_DIR "/examples/") + name);
    const auto edit = [code](TWorkspace& w, int) { w.Project().Options.DesignCode = code; };
    for (auto _ : state) benchmark::DoNotOptimize(engine::AnalyzeDataText(text, name, edit));
}
void BM_CantileverExample(benchmark::State& state) {
    RunExample(state, "cantilever-sand.tx4d", TDesignCode::None);
}
void BM_CantileverExampleDA1(benchmark::State& state) {
    RunExample(state, "cantilever-sand.tx4d", TDesignCode::EC7_DA1);
}
void BM_ThreeStageExample(benchmark::State& state) {
    RunExample(state, "three-stage-excavation.tx4d", TDesignCode::None);
}
void BM_ThreeStageExampleDA1(benchmark::State& state) {
    RunExample(state, "three-stage-excavation.tx4d", TDesignCode::EC7_DA1);
}
BENCHMARK(BM_CantileverExample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CantileverExampleDA1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeStageExample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeStageExampleDA1)->Unit(benchmark::kMillisecond);

}  // namespace
