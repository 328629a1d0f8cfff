// Any file, in any of the three formats, must read into a project or end with an error;
// either way the workspace is left holding a valid project.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "project/DataFileReader.h"
#include "project/StageFiles.h"
#include "project/Workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    static torvex::TWorkspace workspace;
    const int kind = 1 + data[0] % 3;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        torvex::ReadDataFileText(workspace, text, "fuzz.tx4d", kind);
    } catch (const std::exception&) {
    }
    try {
        torvex::ReadStageFileText(workspace, text, "fuzz.st1");
    } catch (const std::exception&) {
    }
    return 0;
}
