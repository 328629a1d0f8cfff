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

// The PDF the report program writes for a data file: FOLDER/NAME.pdf, NAME the file's name
// without its extension.
std::string ReportPdfPath(const std::string& folder, const std::string& dataFile);

// The reports of torvex-run --pdf, after the batch gave each file its status (2: its run
// failed). A file whose run failed, or whose report was not made anew, keeps no PDF of an
// earlier run. Returns the report program's status, or 0 when no file was left to report.
int WriteReports(const std::string& program, const std::string& folder, const std::vector<std::string>& files,
                 const std::vector<int>& fileStatus, std::ostream& err);

}  // namespace torvex::engine
