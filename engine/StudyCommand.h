#pragma once
// torvex-run --vary KEY=FROM:TO:COUNT [--stage N] FILE: a parametric study of one data file,
// its table as CSV on standard output.

#include <ostream>
#include <string>

namespace torvex::engine {

struct TStudyCommand {
    std::string vary;  // KEY=FROM:TO:COUNT
    int stage = 0;     // 0: the last stage
    std::string file;
};

// Runs the study. Returns 0 when every variant converged, 1 otherwise, 2 for a wrong --vary
// or --stage, or a file that cannot be read (the message goes to `err`).
int RunStudyCommand(const TStudyCommand& command, std::ostream& out, std::ostream& err);

}  // namespace torvex::engine
