#include "project/StageFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/OptionBlock.h"
#include "project/SafeSave.h"
#include "project/TextLines.h"
#include "project/UnitConversion.h"
#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

// Appends the lines of a text, each ended by CR LF.
void AppendLines(std::string& out, std::string_view text) {
    TTextLines lines(text);
    for (std::string_view line; lines.Next(line);) {
        out += line;
        out += "\r\n";
    }
}

// Where a stage of a staged data file begins: its first byte and its 0-based line.
struct TStageStart {
    size_t byte;
    size_t line;
};

// The starts of at most `stages` stages and where the last of them ends. Every tested line
// holding the marker starts a stage; the last line holds a stage number and is never tested.
std::vector<TStageStart> FindStageStarts(std::string_view text, int stages, size_t& lastEnd) {
    std::vector<TStageStart> starts = {{0, 0}};
    lastEnd = text.size();
    TTextLines lines(text);
    size_t index = 0;
    size_t begin = 0;
    for (std::string_view line; lines.Next(line); ++index) {
        const bool last = lines.Position() >= text.size();
        if (index > 0 && !last && line.find(kStageMarker) != std::string_view::npos) {
            if (static_cast<int>(starts.size()) == stages) {
                lastEnd = begin;  // a further stage: the last one wanted ends before it
                break;
            }
            starts.push_back({begin, index});
        }
        begin = lines.Position();
    }
    return starts;
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

// Stage files as they were, to be put back when a change of several of them fails half way:
// stages that disagree (in their count or their units) would give wrong results.
class TStageFilesBefore {
public:
    void Keep(const std::string& name) {
        files_.emplace_back(name, FileExists(name) ? std::optional(LoadTextFile(name)) : std::nullopt);
    }
    // Best effort: a file that cannot be put back keeps what was written.
    void PutBack() const {
        for (const auto& [name, text] : files_) {
            try {
                if (text)
                    SaveTextFile(name, *text);
                else if (FileExists(name))
                    fs::remove(name);  // made since; a folder of that name is the user's
            } catch (...) {
            }
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> files_;
};

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

namespace {

// The lines before the current stage in the data file its stage file was split from.
size_t& StageLineOffset(TProgramData& project) {
    const int last = static_cast<int>(project.StageLineOffsets.size());
    return project.StageLineOffsets[static_cast<size_t>(std::clamp(project.CurrentStage, 1, last) - 1)];
}

}  // namespace

void WriteCurrentStage(TWorkspace& workspace) {
    TProgramData& project = workspace.Project();
    project.StageFileName = StageFileName(project.FileName, project.CurrentStage);
    SaveTextFile(project.StageFileName, WriteStageFileText(workspace));
    StageLineOffset(project) = 0;
    workspace.MarkSaved();
}

void LoadCurrentStage(TWorkspace& workspace) {
    TProgramData& project = workspace.Project();
    project.StageFileName = StageFileName(project.FileName, project.CurrentStage);
    if (FileExists(project.StageFileName))
        ReadStageFile(workspace, project.StageFileName, StageLineOffset(project));
}

void CombineStageFiles(TWorkspace& workspace, const std::string& target,
                       const std::string& sourceBase) {
    CheckOptionRanges(workspace.Project().Options);
    const int stages = workspace.Project().StageCount;
    std::vector<std::string> stageTexts;
    std::string text;
    for (int k = 1; k <= stages; ++k) {
        stageTexts.push_back(LoadTextFile(StageFileName(sourceBase, k)));
        AppendLines(text, stageTexts.back());
    }
    // The project's option block follows the last stage; no stage file carries it.
    text += OptionBlockText(workspace.Project().Options);
    if (target == sourceBase) {
        SaveTextFile(target, text);
        return;
    }
    // Every file under the new name is written before any under the old name goes: a failure
    // anywhere removes what was made and leaves the project whole under its old name.
    std::vector<std::string> made;
    try {
        for (int k = 1; k <= stages; ++k) {
            const std::string to = StageFileName(target, k);
            if (to == StageFileName(sourceBase, k)) continue;
            SaveTextFile(to, stageTexts[static_cast<size_t>(k - 1)]);
            made.push_back(to);
        }
        SaveTextFile(target, text);
    } catch (...) {
        for (const std::string& file : made) {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
        throw;
    }
    for (int k = 1; k <= stages; ++k) {
        const std::string from = StageFileName(sourceBase, k);
        if (from == StageFileName(target, k)) continue;
        std::error_code ignored;
        fs::remove(from, ignored);
    }
}

std::string SplitStageFiles(TWorkspace& workspace, const std::string& dataFileName) {
    const std::string content = LoadTextFile(dataFileName);
    TProgramData& project = workspace.Project();
    const int stages = project.StageCount;
    size_t lastEnd = 0;
    const std::vector<TStageStart> starts = FindStageStarts(content, stages, lastEnd);
    // The project's option block is not part of the last stage.
    if (const std::optional<size_t> block =
            FindOptionBlock(content, starts.back().line + 1, kStageMarker))
        lastEnd = std::min(lastEnd, *block);
    DeleteStageFiles(dataFileName, 1);
    project.StageLineOffsets.fill(0);
    for (int k = 1; k <= stages; ++k) {
        std::string text;
        const size_t index = static_cast<size_t>(k - 1);
        if (index < starts.size()) {
            const size_t first = starts[index].byte;
            const size_t last = index + 1 < starts.size() ? starts[index + 1].byte : lastEnd;
            AppendLines(text, std::string_view(content).substr(first, last - first));
            if (index < project.StageLineOffsets.size())
                project.StageLineOffsets[index] = starts[index].line;
        }
        SaveTextFile(StageFileName(dataFileName, k), text);
    }
    if (static_cast<int>(starts.size()) < stages)
        return "The file \"" + dataFileName + "\" holds " + std::to_string(starts.size()) +
               " of its " + std::to_string(stages) +
               " construction stages; the missing stages were left empty.";
    return {};
}

std::string MissingStagesMessage(std::string_view text, int stageCount) {
    size_t lastEnd = 0;
    const size_t found = FindStageStarts(text, stageCount, lastEnd).size();
    if (static_cast<int>(found) >= stageCount) return {};
    size_t lineCount = 0;
    TTextLines lines(text);
    for (std::string_view line; lines.Next(line);) ++lineCount;
    return "Error on Line " + std::to_string(lineCount) + "\rThe file ends after " +
           std::to_string(found) + " of its " + std::to_string(stageCount) +
           " construction stages: a line \"" + kStageMarker + " " + std::to_string(found + 1) +
           "\" was expected but not found.";
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

void ApplyStageCount(TWorkspace& workspace, int count) {
    TProgramData& project = workspace.Project();
    const int old = project.StageCount;
    const int oldCurrent = project.CurrentStage;
    const bool modified = workspace.IsModified();
    count = std::clamp(count, 1, kMaxStages);
    if (count == old && count > 1) return;
    // The edits of the stage on screen go to its file first: the stages are read back from
    // their files below.
    if (old > 1 && count > 1) {
        WriteCurrentStage(workspace);
        workspace.SetModified(modified);
    }
    project.StageCount = count;
    if (count == 1 || old == 1 || count < old) project.CurrentStage = 1;
    if (count == 1) {
        DeleteStageFiles(project.FileName, 1);
        return;
    }
    {
        const int current = project.CurrentStage;
        // Staging starts from the input in memory: stage files left from an earlier staging
        // of this file must not take its place.
        if (old == 1) DeleteStageFiles(project.FileName, 1);
        // Each stage file is written with the new count in its header: should one fail, all
        // go back to what they were, or a later stage switch would read the new count.
        TStageFilesBefore before;
        try {
            for (int k = 1; k <= count; ++k) before.Keep(StageFileName(project.FileName, k));
            for (int k = 1; k <= count; ++k) {
                project.CurrentStage = k;
                // Loading a stage takes its stage count from the file.
                LoadCurrentStage(workspace);
                project.StageCount = count;
                WriteCurrentStage(workspace);
            }
        } catch (...) {
            before.PutBack();
            project.StageCount = old;
            project.CurrentStage = oldCurrent;
            LoadCurrentStage(workspace);
            project.StageCount = old;
            // Writing and loading stages marked the project saved; its data file is not.
            workspace.SetModified(modified);
            throw;
        }
        project.CurrentStage = current;
        LoadCurrentStage(workspace);
        project.StageCount = count;
        workspace.SetModified(true);
    }
    DeleteStageFiles(project.FileName, count + 1);
}

void ChangeStagesUnitSystem(TWorkspace& workspace, int target) {
    TProgramData& project = workspace.Project();
    const int stages = project.StageCount;
    const int current = project.CurrentStage;
    const bool modified = workspace.IsModified();
    // Loading each stage converts the project's option block back and forth; it is converted
    // once, from the values before the change.
    const TProjectOptions options = project.Options;
    const int units = project.UnitSystem;
    // A stage file that cannot be read whole must not be written back with what was read.
    const auto show = workspace.ShowInformation;
    std::string unread;
    workspace.ShowInformation = [&unread](const std::string& message) {
        if (unread.empty()) unread = message;
    };
    const auto reload = [&] {
        workspace.ShowInformation = show;
        project.CurrentStage = current;
        LoadCurrentStage(workspace);
        project.StageCount = stages;
        workspace.SetModified(modified);
    };
    try {
        WriteCurrentStage(workspace);
    } catch (...) {
        // Nothing has changed on disk, and the edits on screen stay in memory.
        workspace.ShowInformation = show;
        throw;
    }
    // Half the stages in one system and half in the other would give wrong results.
    TStageFilesBefore before;
    try {
        for (int k = 1; k <= stages; ++k) {
            project.CurrentStage = k;
            const std::string name = StageFileName(project.FileName, k);
            before.Keep(name);
            // Loading takes the stage count and the unit system from the stage's file.
            LoadCurrentStage(workspace);
            if (!unread.empty()) throw EInOutError(unread);
            project.StageCount = stages;
            ChangeUnitSystem(workspace, target);
            WriteCurrentStage(workspace);
        }
    } catch (...) {
        before.PutBack();
        reload();
        project.Options = options;
        throw;
    }
    reload();
    project.Options = ConvertedOptions(options, units, target);
}

void CopyPreviousStage(TWorkspace& workspace) {
    const int stage = workspace.Project().CurrentStage;
    if (stage < 2) return;
    workspace.Project().CurrentStage = stage - 1;
    LoadCurrentStage(workspace);
    workspace.Project().CurrentStage = stage;
    WriteCurrentStage(workspace);
    // The copy is in the stage file only: the data file still holds the stage as it was.
    workspace.SetModified(true);
}

}  // namespace torvex
