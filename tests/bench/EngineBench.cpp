// Speed of the analysis: a 100-increment cantilever in sand, and a 300-increment three-stage
// excavation, from data-file text to results.
#include <benchmark/benchmark.h>

#include <string>

#include "Analysis.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/StageFiles.h"
#include "project/Workspace.h"

namespace {

using namespace torvex;

void Wall(TWorkspace& w, int increments, long double freeHeight) {
    TProgramData& p = w.Project();
    p.NumIncrements = increments;
    p.IncrementLength = 360.0L / increments;
    p.MaxDeflection = 24;
    p.FreeHeight = freeHeight;
    p.ActiveWidth = p.ResistanceWidth = 12;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 600;
    p.EarthPressureOption = 2;
    TGridTable& sect = w.Table("PileSect");
    sect.Cell(1, 0).SetInteger(increments);
    sect.Cell(3, 0).SetFloat(29e6L * 184.2L);
    TGridTable& soil = w.Table("NewSoil");
    soil.Cell(0, 0).SetInteger(4);
    soil.Cell(1, 0).SetFloat(40);
    TGridTable& par = soil.Cell(2, 0).AsTable();
    for (int r = 0; r < 2; ++r) {
        par.Cell(0, r).SetFloat(115);
        par.Cell(1, r).SetFloat(32);
        par.Cell(2, r).SetFloat(90);
    }
}

void BM_CantileverInSand100(benchmark::State& state) {
    TWorkspace w;
    CreateDefaultProject(w);
    Wall(w, 100, 120);
    const std::string text = WriteDataFileText(w);
    for (auto _ : state) benchmark::DoNotOptimize(engine::AnalyzeDataText(text, "sand.tx4d"));
}
BENCHMARK(BM_CantileverInSand100)->Unit(benchmark::kMillisecond);

void BM_ThreeStages300(benchmark::State& state) {
    TWorkspace w;
    CreateDefaultProject(w);
    Wall(w, 300, 72);
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
