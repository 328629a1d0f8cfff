#include "project/StageFiles.h"

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/SafeSave.h"
#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

// Lines of a text as a line-by-line copy sees them: CR LF, LF or CR end a line; an empty
// text has no lines and a final line end adds none.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r')) ++pos;
    }
    return lines;
}

void AppendLines(std::string& out, const std::vector<std::string_view>& lines, size_t first,
                 size_t last) {
    for (size_t i = first; i < last; ++i) {
        out += lines[i];
        out += "\r\n";
    }
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

void DeleteStageFiles(const std::string& dataFileName, int from) {
    for (int k = from; k <= kMaxStages; ++k) {
        std::error_code error;
        fs::remove(StageFileName(dataFileName, k), error);
    }
}

void ShowStatus(TWorkspace& workspace, const std::string& text) {
    if (workspace.SetStatusText) workspace.SetStatusText(text);
}

}  // namespace

std::string StageFileName(const std::string& dataFileName, int stage) {
    const size_t slash = dataFileName.find_last_of('/');
    const size_t dot = dataFileName.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = hasExtension ? dataFileName.substr(0, dot) : dataFileName;
    return base + ".st" + std::to_string(stage);
}

std::string StageStatusText(int stage) {
    return "Construction Stage Number: " + std::to_string(stage);
}

void WriteCurrentStage(TWorkspace& workspace) {
    TProgramData& project = workspace.Project();
    project.StageFileName = StageFileName(project.FileName, project.CurrentStage);
    SaveTextFile(project.StageFileName, WriteStageFileText(workspace));
    workspace.MarkSaved();
}

void LoadCurrentStage(TWorkspace& workspace) {
    TProgramData& project = workspace.Project();
    project.StageFileName = StageFileName(project.FileName, project.CurrentStage);
    if (FileExists(project.StageFileName)) ReadStageFile(workspace, project.StageFileName);
}

void CombineStageFiles(TWorkspace& workspace, const std::string& target,
                       const std::string& sourceBase) {
    const int stages = workspace.Project().StageCount;
    std::string text;
    for (int k = 1; k <= stages; ++k) {
        const std::string content = LoadTextFile(StageFileName(sourceBase, k));
        const auto lines = SplitLines(content);
        AppendLines(text, lines, 0, lines.size());
    }
    SaveTextFile(target, text);
    if (target == sourceBase) return;
    for (int k = 1; k <= stages; ++k) {
        const std::string from = StageFileName(sourceBase, k);
        const std::string to = StageFileName(target, k);
        if (from == to) continue;
        std::error_code error;
        fs::rename(from, to, error);
        if (error) {
            // Across file systems a rename cannot move: copy, then remove the source.
            fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
            if (error)
                throw EInOutError("Cannot move \"" + from + "\" to \"" + to + "\": " +
                                  error.message() + ".");
            fs::remove(from, error);
        }
    }
}

std::string SplitStageFiles(TWorkspace& workspace, const std::string& dataFileName) {
    const std::string content = LoadTextFile(dataFileName);
    const auto lines = SplitLines(content);
    // Every tested line holding the marker starts a stage; the last line holds a stage number
    // and is never tested.
    std::vector<size_t> starts = {0};
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].find(kStageMarker) != std::string_view::npos) starts.push_back(i);
    const int stages = workspace.Project().StageCount;
    DeleteStageFiles(dataFileName, 1);
    for (int k = 1; k <= stages; ++k) {
        std::string text;
        const size_t index = static_cast<size_t>(k - 1);
        if (index < starts.size()) {
            const size_t first = starts[index];
            const size_t last = index + 1 < starts.size() ? starts[index + 1] : lines.size();
            AppendLines(text, lines, first, last);
        }
        SaveTextFile(StageFileName(dataFileName, k), text);
    }
    if (static_cast<int>(starts.size()) < stages)
        return "The file \"" + dataFileName + "\" holds " + std::to_string(starts.size()) +
               " of its " + std::to_string(stages) +
               " construction stages; the missing stages were left empty.";
    return {};
}

void ConvertOlderStages(TWorkspace& workspace) {
    TProgramData& project = workspace.Project();
    for (int k = 1; k <= project.StageCount; ++k) {
        project.CurrentStage = k;
        project.FullFormat = 0;
        LoadCurrentStage(workspace);
        WriteCurrentStage(workspace);
        ShowStatus(workspace, StageStatusText(k));
    }
    workspace.Project().FullFormat = 1;
    workspace.Project().CurrentStage = 1;
    LoadCurrentStage(workspace);
}

void SwitchToStage(TWorkspace& workspace, int stage) {
    if (stage == workspace.Project().CurrentStage) return;
    const bool modified = workspace.IsModified();
    WriteCurrentStage(workspace);
    workspace.Project().CurrentStage = stage;
    LoadCurrentStage(workspace);
    workspace.SetModified(modified);
    ShowStatus(workspace, StageStatusText(stage));
}

void CopyPreviousStage(TWorkspace& workspace) {
    const int stage = workspace.Project().CurrentStage;
    if (stage < 2) return;
    workspace.Project().CurrentStage = stage - 1;
    LoadCurrentStage(workspace);
    workspace.Project().CurrentStage = stage;
    WriteCurrentStage(workspace);
}

}  // namespace torvex
