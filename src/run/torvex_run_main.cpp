// torvex-run [--csv DIR] [--pdf DIR] FILE...: analyses data files as the program does (output,
// plot and run-notes files beside each), on all cores, and prints one summary line per case;
// with --csv, each case's node results as a CSV file in DIR; with --pdf, each file's
// calculation report as DIR/NAME.pdf. A progress bar shows on a terminal.
// torvex-run --vary KEY=FROM:TO:COUNT [--stage N] FILE: a parametric study (StudyCommand.h).
//
// Exit status: 0 when every case of every file converged; 1 otherwise; 2 when a file is
// missing or unreadable, or for a wrong command line.

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "project/EchoText.h"
#include "run/BatchRun.h"
#include "run/ReportLaunch.h"
#include "run/StudyCommand.h"

namespace {

int Usage(bool asked) {
    (asked ? std::cout : std::cerr)
        << "usage: torvex-run [--csv DIR] [--pdf DIR] FILE...\n"
           "  Analyses each data file and writes its .tx4o, .tx4p, .tx4r and .tx4y files beside it.\n"
           "  --csv DIR  also writes each case's node results as DIR/FILE-CASE.csv\n"
           "  --pdf DIR  also writes each file's calculation report as DIR/FILE.pdf\n"
        << torvex::engine::kStudyUsage;
    return asked ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit is a write error with the file's name, as a full disk is, not a signal
    // that kills the run between its files.
    std::signal(SIGXFSZ, SIG_IGN);
    torvex::engine::TBatchOptions options;
    std::string pdfFolder;
    torvex::engine::TStudyCommand study;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            options.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            return Usage(true);
        } else if (arg == "--csv" && i + 1 < argc) {
            options.csvFolder = argv[++i];
        } else if (arg == "--pdf" && i + 1 < argc) {
            pdfFolder = argv[++i];
        } else if ((arg == "--vary" || arg == "--stage") && i + 1 < argc) {
            // A study varies one input of one stage: a second value or an empty one is a
            // mistake, not a choice to take silently.
            std::string& value = arg == "--vary" ? study.vary : study.stage;
            const std::string given = argv[++i];
            if (!value.empty() || given.empty()) {
                std::cerr << "torvex-run: " << arg << (given.empty() ? " needs a value, not an empty text.\n"
                                                                     : " is given twice; a study takes one.\n");
                return 2;
            }
            value = given;
        } else {
            std::cerr << "torvex-run: unknown option or missing value: " << torvex::EchoText(arg) << "\n";
            return Usage(false);
        }
    }
    if (options.files.empty()) return Usage(false);
    // A folder for the outputs that is a plain file would fail only after every analysis.
    for (const auto& [flag, folder] : {std::pair{"--csv", &options.csvFolder}, std::pair{"--pdf", &pdfFolder}}) {
        namespace fs = std::filesystem;
        std::error_code error;
        if (!folder->empty() && fs::exists(*folder, error) && !fs::is_directory(*folder, error)) {
            std::cerr << "torvex-run: " << flag << " " << torvex::EchoText(*folder)
                      << ": it is a file, not a folder.\n";
            return 2;
        }
    }
    if (!study.vary.empty() || !study.stage.empty())
        return torvex::engine::RunStudyCommand(study, options.files, !options.csvFolder.empty() || !pdfFolder.empty(),
                                               std::cout, std::cerr);
    std::ios::sync_with_stdio(false);
    options.progress = ::isatty(STDERR_FILENO) == 1;
    std::vector<int> fileStatus;
    const int status = torvex::engine::RunBatch(options, std::cout, std::cerr, &fileStatus);
    if (pdfFolder.empty()) return status;
    std::cout.flush();
    const int reports = torvex::engine::WriteReports(torvex::engine::ReportProgramPath(), pdfFolder, options.files,
                                                     fileStatus, std::cerr);
    return std::max(status, reports);
}
