// torvex-run [--csv DIR] FILE...: analyses data files as the program does (output, plot and
// run-notes files beside each), on all cores, and prints one summary line per case; with
// --csv, each case's node results as a CSV file in DIR. A progress bar shows on a terminal.
// torvex-run --vary KEY=FROM:TO:COUNT [--stage N] FILE: a parametric study of one file, its
// table as CSV on standard output, no file written.
//
// Exit status: 0 when every case of every file converged; 1 otherwise; 2 when a file is
// missing or unreadable, or for a wrong command line.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "BatchRun.h"
#include "StudyCommand.h"

namespace {

int Usage(bool asked) {
    (asked ? std::cout : std::cerr)
        << "usage: torvex-run [--csv DIR] FILE...\n"
           "       torvex-run --vary KEY=FROM:TO:COUNT [--stage N] FILE\n"
           "  Analyses each data file and writes its .tx4o, .tx4p, .tx4r and .tx4y files beside it.\n"
           "  --csv DIR  also writes each case's node results as DIR/FILE-CASE.csv\n"
           "  --vary KEY=FROM:TO:COUNT  analyses COUNT variants (up to 1000) of FILE in memory, KEY\n"
           "             from FROM to TO in the file's own units (in and lbs in an English file, m and\n"
           "             kN in SI), and prints one CSV line per variant; no file is written. KEY is a\n"
           "             project field (FreeHeight, NumIncrements, ...), an option key (SeismicKh, ...)\n"
           "             or a table cell Table[row].column, rows counted from 1.\n"
           "  --stage N  with --vary: the stage the value goes into and whose results are printed\n"
           "             (default: the last stage); a file without stages prints its short-term\n"
           "             case, or its long-term case for a LongSoil or LongDist cell\n";
    return asked ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    torvex::engine::TBatchOptions options;
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
        } else if (arg == "--vary" && i + 1 < argc) {
            study.vary = argv[++i];
        } else if (arg == "--stage" && i + 1 < argc && std::string(argv[i + 1]).find_first_not_of("0123456789") ==
                                                            std::string::npos && argv[i + 1][0] && std::strlen(argv[i + 1]) < 6) {
            study.stage = std::atoi(argv[++i]);
        } else {
            std::cerr << "torvex-run: unknown option or missing value: " << arg << "\n";
            return Usage(false);
        }
    }
    if (options.files.empty()) return Usage(false);
    if (!study.vary.empty() || study.stage != 0) {
        if (study.vary.empty() || options.files.size() != 1 || !options.csvFolder.empty()) {
            std::cerr << "torvex-run: --vary takes one data file, without --csv; --stage goes with --vary\n";
            return Usage(false);
        }
        study.file = options.files.front();
        return torvex::engine::RunStudyCommand(study, std::cout, std::cerr);
    }
    std::ios::sync_with_stdio(false);
    options.progress = ::isatty(STDERR_FILENO) == 1;
    return torvex::engine::RunBatch(options, std::cout, std::cerr);
}
