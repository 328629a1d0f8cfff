// Any file content must read as a design summary or end with a named line, never a crash;
// what reads without an error writes the same text again once written and read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/DesignSummary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const torvex::TDesignSummary read = torvex::ReadDesignSummary(text);
    if (read.error.empty() == (read.error.rfind("line ", 0) == 0)) std::abort();  // an error names its line
    const std::string written = torvex::DesignSummaryFileText(read.cases);
    const torvex::TDesignSummary again = torvex::ReadDesignSummary(written);
    if (!again.error.empty() || torvex::DesignSummaryFileText(again.cases) != written) std::abort();
    return 0;
}
