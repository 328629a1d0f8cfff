#pragma once
// Reading data files and stage files into the project and the input tables.
//
// The data file carries the project as the analysis engine reads it: a title line, then
// numbers in a fixed order in which earlier numbers (row counts, mode switches) decide which
// later blocks follow. Three formats are read: kind 1 is the current ".tx4d" format, kind 2
// the older format (no moment-EI block, no p-y multipliers, surcharge from the five legacy
// values) and kind 3 the oldest (as kind 2, also no stage count, no long-term block, and soil
// layers given by thickness with one parameter line).
//
// A stage file has the short-term layout of a data file and ends with its stage number; it
// is read into the project in memory, replacing the input of the current stage.

#include <cstddef>
#include <string>
#include <string_view>

#include "project/ProgramData.h"

namespace torvex {

class TWorkspace;

// Largest row count a file may give for any table or curve; real projects stay far below it.
inline constexpr int kMaxFileRowCount = 10000;

// Builds a new project from the data file: replaces the workspace's project and tables and
// returns the new project. Kinds other than 1 and 2 read as kind 3. Any error (the word
// reader's EInOutError, a row count or soil type out of range, a file that cannot be opened)
// propagates unchanged, and the workspace then holds a default project.
TProgramData& ReadDataFile(TWorkspace& workspace, const std::string& fileName, int kind);
// As ReadDataFile, from text in memory; fileName becomes the project's FileName.
TProgramData& ReadDataFileText(TWorkspace& workspace, std::string_view text,
                               const std::string& fileName, int kind);

// Reads a stage file into the existing project (the older layout while FullFormat is 0).
// A read error is shown through workspace.ShowInformation and ends the read, keeping what
// was read. Afterwards every table gets at least its minimum rows and all is marked saved.
// lineOffset: the lines before the stage in the staged data file it was split from, so that
// messages name the line of that file.
void ReadStageFile(TWorkspace& workspace, const std::string& fileName, size_t lineOffset = 0);
void ReadStageFileText(TWorkspace& workspace, std::string_view text, const std::string& fileName,
                       size_t lineOffset = 0);

}  // namespace torvex
