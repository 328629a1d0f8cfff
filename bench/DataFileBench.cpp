// Reading and writing a large project: 300 increments, every table at its row limit.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../tests/project/ProjectFixture.h"
#include "project/DataFileReader.h"
#include "dataentry/NumberText.h"
#include "project/DataFileWriter.h"
#include "project/WordRead.h"

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

// Peak resident memory of the process so far (the kernel's count), in bytes.
double PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) * 1024;
    return 0;
}

// A 20 MB file, read word by word as the readers do: the time per byte, and the peak memory
// beside the file's size (the reader keeps the bytes once and a cursor).
void BM_ReadWordsOf20MBFile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "torvex-bench-words.tx4d";
    std::string text;
    while (text.size() < 20u * 1024 * 1024) text += "12.5\t-0.0625 1E-5\t29000000\r\n";
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    text = std::string();
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const double before = PeakResidentBytes();
    size_t words = 0;
    for (auto _ : state) {
        torvex::TWordReader reader(path.string());
        words = 0;
        try {
            for (;;) {
                benchmark::DoNotOptimize(reader.NextReal());
                ++words;
            }
        } catch (const torvex::EInOutError&) {
        }
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 20 * 1024 * 1024);
    state.counters["words"] = static_cast<double>(words);
    state.counters["peak_growth_MB"] = (PeakResidentBytes() - before) / (1024 * 1024);
}
BENCHMARK(BM_ReadWordsOf20MBFile)->Unit(benchmark::kMillisecond);

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
