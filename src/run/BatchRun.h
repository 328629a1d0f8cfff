#pragma once
// The batch runner behind torvex-run: many data files analysed on all cores from one work
// queue, the three result files beside each, one summary line per case, and at the end the
// number of files per second.

#include <ostream>
#include <string>
#include <vector>

#include "Analysis.h"

namespace torvex::engine {

struct TBatchOptions {
    std::vector<std::string> files;
    // Where each case's node results go as CSV for spreadsheets; empty for none.
    std::string csvFolder;
    // A progress bar on `err` while the files run: for a terminal only.
    bool progress = false;
    unsigned threads = 0;  // 0: one per core
};

// Runs the batch; summaries go to `out` in the order of the files, the progress bar and the
// closing note to `err`. Returns the exit status: 0 when every case of every file converged,
// 1 otherwise, 2 when a file is missing or unreadable or its results cannot be written; the
// status of each file, in their order, goes to `fileStatus` when given. With a CSV folder,
// the file's CSV files of earlier runs that this run does not write again are removed, and a
// file whose run failed leaves none.
int RunBatch(const TBatchOptions& options, std::ostream& out, std::ostream& err,
             std::vector<int>* fileStatus = nullptr);

// A case's node results as CSV: a header of names and units, then one line per node (depth,
// deflection, slope, moment, shear, soil reaction), "." as the decimal point in any locale.
std::string CaseCsvText(const TCaseResult& result);

// The CSV file of a case: the data file's name without its extension and the case's label,
// e.g. "wall-Stage-2.csv", in `folder`.
std::string CaseCsvPath(const std::string& folder, const std::string& dataFile, const std::string& label);

// A file of the design answers: NAME.design.csv or NAME.supports.csv (kind "design" or
// "supports") in `folder`, NAME as for the case files.
std::string DesignCsvPath(const std::string& folder, const std::string& dataFile, const std::string& kind);

}  // namespace torvex::engine
