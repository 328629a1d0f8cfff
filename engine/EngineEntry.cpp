// The engine library's one entry: the program calls _ITORVEX(13) with "names.dat" in the
// current folder. Nothing may escape this function: every failure ends in the output file
// and the run notes.

#include <cstdint>
#include <exception>
#include <string>

#include "Analysis.h"
#include "ResultFiles.h"
#include "project/SafeSave.h"
#include "project/WordRead.h"

namespace {

constexpr int32_t kInterfaceVersion = 13;

void WriteFailure(const torvex::engine::TResultPaths& paths, const std::string& message) {
    torvex::engine::TFileAnalysis failed;
    failed.dataFile = paths.data;
    failed.error = message;
    try {
        torvex::engine::WriteResultFiles(failed, paths);
    } catch (...) {
    }
}

void Run(int32_t version) {
    torvex::engine::TResultPaths paths;
    try {
        const auto names = torvex::TWordReader("names.dat");
        std::string* fields[] = {&paths.data, &paths.output, &paths.plot, &paths.notes, &paths.summary};
        for (size_t i = 0; i < 5 && i < names.LineCount(); ++i) {
            std::string line = names.Line(i).Line;
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
            *fields[i] = line;
        }
    } catch (const std::exception&) {
        return;  // no names: nowhere to report
    }
    if (paths.output.empty() || paths.plot.empty() || paths.notes.empty() || paths.summary.empty()) {
        const auto beside = torvex::engine::ResultPathsFor(paths.data.empty() ? "torvex" : paths.data);
        if (paths.output.empty()) paths.output = beside.output;
        if (paths.plot.empty()) paths.plot = beside.plot;
        if (paths.notes.empty()) paths.notes = beside.notes;
        if (paths.summary.empty()) paths.summary = beside.summary;
    }
    if (version != kInterfaceVersion) {
        WriteFailure(paths, "The program called the engine with interface version " + std::to_string(version) +
                                "; this engine answers version 13 only.");
        return;
    }
    try {
        torvex::engine::WriteResultFiles(torvex::engine::AnalyzeDataFile(paths.data), paths);
    } catch (const std::exception& error) {
        WriteFailure(paths, std::string("The analysis failed: ") + error.what());
    } catch (...) {
        WriteFailure(paths, "The analysis failed for an unknown reason.");
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void _ITORVEX(int32_t version) {
    try {
        Run(version);
    } catch (...) {
    }
}
