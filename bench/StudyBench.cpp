// Speed of the parametric study: 1000 variants of a bundled example, read from its text and
// analysed on every core, as Computation > Parametric Study and torvex-run --vary run them.
// bench/study-vs-files.sh times the same variants as 1000 data files through torvex-run.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "parametric/ParametricStudy.h"

namespace {

using namespace torvex;

std::string Example(const char* name) {
    std::ifstream in(std::string(TORVEX_SOURCE_DIR "/examples/") + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void RunThousand(benchmark::State& state, const char* example, const char* key, double from, double to) {
    engine::TStudyRequest request;
    request.text = Example(example);
    request.dataFile = example;
    request.key = key;
    request.from = from;
    request.to = to;
    request.count = 1000;
    for (auto _ : state) {
        const engine::TStudyResult result = engine::RunStudy(request);
        if (result.rows.size() != 1000) state.SkipWithError("a variant is missing");
        benchmark::DoNotOptimize(result);
    }
}

// Free height from 8 to 14 ft, in the file's inches.
void BM_Study1000CantileverSand(benchmark::State& state) {
    RunThousand(state, "cantilever-sand.tx4d", "FreeHeight", 96, 168);
}
BENCHMARK(BM_Study1000CantileverSand)->Unit(benchmark::kMillisecond)->UseRealTime();

// The last stage's excavation from 15 to 17 ft.
void BM_Study1000ThreeStages(benchmark::State& state) {
    RunThousand(state, "three-stage-excavation.tx4d", "FreeHeight", 180, 204);
}
BENCHMARK(BM_Study1000ThreeStages)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
