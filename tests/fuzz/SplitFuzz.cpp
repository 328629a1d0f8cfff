// Splitting any staged data file writes at most StageCount stage files from the lines it read.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>

#include "project/SafeSave.h"
#include "project/StageFiles.h"
#include "project/Workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    static torvex::TWorkspace workspace;
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("torvex-splitfuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    const std::string file = (folder / "Staged.tx4d").string();
    workspace.Project().StageCount = 1 + data[0] % 5;
    try {
        torvex::SaveTextFile(file, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
        torvex::SplitStageFiles(workspace, file);
    } catch (const std::exception&) {
    }
    return 0;
}
