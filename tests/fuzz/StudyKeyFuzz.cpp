// Any study key, with any value, applied to a bundled project as one variant of a parametric
// study is, must end in results or a clear message: no crash, no write beyond a table.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Analysis.h"
#include "parametric/StudyKey.h"

namespace {

std::string Example(const char* name) {
    std::ifstream in(std::string(TORVEX_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvex::engine;
    static const std::string plain = Example("anchored-soft-clay.tx4d");
    static const std::string staged = Example("three-stage-excavation.tx4d");
    if (size < 2 || size > 512) return 0;
    // The first byte picks the project, the stage the value goes into and the value; the rest
    // is the key.
    const unsigned pick = data[0];
    const std::string key(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool isStaged = pick & 1;
    const int stage = isStaged ? 1 + (pick >> 1) % 3 : 0;
    const double values[] = {0, 1, -2.5, 37, 1e9, -1e300};
    const double value = values[(pick >> 3) % 6];
    TStudyKey parsed;
    try {
        parsed = ParseStudyKey(key);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    const int editStage = IsProjectWide(parsed) || !isStaged ? 0 : stage;
    (void)AnalyzeDataText(isStaged ? staged : plain, "fuzz.tx4d", [&](torvex::TWorkspace& workspace, int at) {
        if (at != editStage) return;
        (void)StudyKeyValue(workspace, parsed);
        (void)ApplyStudyKey(workspace, parsed, value);
    });
    return 0;
}
