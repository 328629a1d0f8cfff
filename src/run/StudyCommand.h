#pragma once
// torvex-run --vary KEY=FROM:TO:COUNT [--stage N] FILE: a parametric study of one data file,
// its table as CSV on standard output.

#include <ostream>
#include <string>
#include <vector>

namespace torvex::engine {

struct TStudyCommand {
    std::string vary;   // KEY=FROM:TO:COUNT
    std::string stage;  // N from 1; empty: the last stage
};

// The lines of the usage text about --vary and --stage.
extern const char* const kStudyUsage;

// Runs the study of the one data file in `files` (no --csv or --pdf goes with it). Returns 0
// when every variant converged, 1 otherwise, 2 for a wrong command line or a file that cannot
// be read (the message goes to `err`).
int RunStudyCommand(const TStudyCommand& command, const std::vector<std::string>& files,
                    bool fileOutputs, std::ostream& out, std::ostream& err);

}  // namespace torvex::engine
