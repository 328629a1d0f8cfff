#pragma once
// The reports of many data files at once (torvex-report, torvex-run --pdf): each file read,
// analysed and drawn in memory and saved safely as FOLDER/NAME.pdf, the files shared out
// over the cores.

#include <iosfwd>
#include <string>
#include <vector>

namespace torvex {

struct TReportBatch {
    std::string folder;
    std::vector<std::string> files;
    bool letter = false;
    bool nodeAppendix = false;
    unsigned threads = 0;  // 0: one per core
};

// Writes one line per report to `out` and every failure to `err`, in the order of the files.
// Exit status: 0 when every report was written; 2 when a file could not be read or a
// report not written, or two files would write the same report.
int RunReportBatch(const TReportBatch& batch, std::ostream& out, std::ostream& err);

}  // namespace torvex
