#pragma once
// torvex-run --pdf DIR: the calculation reports are drawn by torvex-report, a Qt program
// installed beside torvex-run, so that the batch runner itself stays free of Qt and starts
// as quickly as ever. It is started once, for all the files, after the analyses.

#include <iosfwd>
#include <string>
#include <vector>

namespace torvex::engine {

// The report program beside the running program (its folder found through /proc/self/exe).
std::string ReportProgramPath();

// Runs `program` FOLDER FILE... and waits for it. Its exit status, or 2 when it could not be
// started or did not end normally (with a line on `err` saying why).
int RunReportProgram(const std::string& program, const std::string& folder, const std::vector<std::string>& files,
                     std::ostream& err);

}  // namespace torvex::engine
