#pragma once
// The data-file writer: the project and its input tables as the text the analysis engine
// reads (a title line, then numbers in a fixed order whose counts and mode switches decide
// which later blocks follow), and the same layout as the file of one construction stage.
//
// Writing prepares the project and the tables first (modes recomputed from the option flags,
// the tables of options that are off emptied, the last wall-stiffness row made constant);
// those changes stay in the workspace after the write.

#include <string>

namespace torvex {

class TWorkspace;

// The whole data file as text, lines ending in CR LF: the short-term block, the long-term
// marker and, when UseLongTerm is 1, the long-term block closed by the line 0.
std::string WriteDataFileText(TWorkspace& workspace);

// Writes WriteDataFileText to the project's FileName through a temporary file and marks the
// project as saved. A failure, or an option value outside its range (CheckOptionRanges),
// raises EInOutError and leaves any previous file as it was.
void WriteDataFile(TWorkspace& workspace);

// The file of construction stage CurrentStage: the short-term block with " Stage No : k" as
// its first line for a stage k above 1, the long-term earth-pressure mode, and CurrentStage
// as its last line.
std::string WriteStageFileText(TWorkspace& workspace);

}  // namespace torvex
