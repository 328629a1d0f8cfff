#pragma once
// Staged construction on disk: every stage's input lives in a stage file beside the data file
// (Wall.tx4d has Wall.st1 ... Wall.st5); the data file the engine reads is the stage files
// joined line by line, and opening such a data file splits it again.

#include <string>
#include <string_view>

namespace torvex {

class TWorkspace;

inline constexpr int kMaxStages = 5;
inline constexpr const char* kStageMarker = " Stage No :";

// The stage file of stage k: the data file's extension replaced by ".st" + k, or ".st" + k
// appended to a name without an extension.
std::string StageFileName(const std::string& dataFileName, int stage);

// "Construction Stage Number: " + stage.
std::string StageStatusText(int stage);

// Writes the current stage's file (StageFileName of FileName and CurrentStage) and marks the
// project saved.
void WriteCurrentStage(TWorkspace& workspace);

// Reads the current stage's file into the project when it exists; otherwise the project keeps
// its input.
void LoadCurrentStage(TWorkspace& workspace);

// Writes `target` with the lines of the stage files 1..StageCount of `sourceBase`, each line
// ended by CR LF; when the names differ, the stage files are copied to the target's names
// first, and the source's are removed only once the target and all its stage files are
// written. Any failure (a missing stage file, a full disk, a name taken by a folder, an option
// value outside its range) raises
// EInOutError with the target and the source's stage files as they were.
void CombineStageFiles(TWorkspace& workspace, const std::string& target,
                       const std::string& sourceBase);

// Splits a staged data file into its stage files: each line holding " Stage No :" starts the
// next stage. Deletes the old stage files 1..5 first. Returns "" or, when the file holds fewer
// stages than StageCount, a message saying so (the missing stages get empty stage files).
std::string SplitStageFiles(TWorkspace& workspace, const std::string& dataFileName);

// "" when the text of a staged data file holds all its stageCount stages; otherwise a message
// in the readers' style that names the file's last line and the first stage missing.
std::string MissingStagesMessage(std::string_view text, int stageCount);

// Brings the stage files split from an older-format (".txd") file into the current layout.
void ConvertOlderStages(TWorkspace& workspace);

// Switches to stage k: writes the current stage, loads stage k, keeps the modified state.
// Does nothing when k is the current stage.
void SwitchToStage(TWorkspace& workspace, int stage);

// Sets the number of stages, as the Staged Construction Options dialog's OK does: 1 ends
// staged construction and deletes the stage files; another count writes the stage files
// 1..count (a stage without a file gets the input last loaded before it), deletes those above
// the count and marks the project modified. The current stage becomes 1 when staging starts,
// ends or the count drops. A file error raises EInOutError with the project's stage count,
// current stage and modified state as they were, and the stage files of those stages
// unchanged in content.
void ApplyStageCount(TWorkspace& workspace, int count);

// Switches every stage to a unit system, so that the data file they join into is in one:
// the current stage's edits go to its file, each stage is loaded, converted and written back,
// and the current stage is loaded again, with the modified state kept. A stage whose file is
// in another system than the rest (from an earlier version) is brought into the target too.
// A file error raises EInOutError after the stages already converted have been put back in
// the units they had, with the current stage loaded as it was.
void ChangeStagesUnitSystem(TWorkspace& workspace, int target);

// Makes the current stage a copy of the stage before it (input and file); the project is then
// modified, since its data file does not hold the copy yet.
void CopyPreviousStage(TWorkspace& workspace);

}  // namespace torvex
