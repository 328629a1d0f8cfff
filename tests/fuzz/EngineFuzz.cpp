// Any data file must analyse or end with a clear message; the engine never crashes or hangs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Analysis.h"
#include "ResultFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto analysis = torvex::engine::AnalyzeDataText(text, "fuzz.tx4d");
    (void)torvex::engine::PlotFileText(analysis);
    (void)torvex::engine::ReportText(analysis);
    return 0;
}
