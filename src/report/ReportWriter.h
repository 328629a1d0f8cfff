#pragma once
// The calculation report of a data file as one PDF document: a title block, the input in
// labelled tables, the results of each case or stage, every result graph, and optionally the
// node results as an appendix, on numbered pages with the project title in the footer.
//
// The data file is read and analysed in memory by the engine the batch runner uses, so the
// figures are those of the text report (.tx4o) that a run of the same file writes.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Analysis.h"
#include "project/OptionBlock.h"

namespace torvex {

class TResultGraphs;
class TWorkspace;

struct TReportSettings {
    bool letter = false;        // US Letter paper; A4 otherwise
    bool nodeAppendix = false;  // the node table of every case as an appendix
    QDateTime made;             // the date the title block shows; now when not set
    // The job details of the title block and footers, when they are not the data file's (a
    // correction made while exporting).
    std::optional<TProjectOptions> job;
};

// What a report is made from: the analysis, the project as read, and the result graphs.
struct TReportSource {
    TReportSource();
    ~TReportSource();
    engine::TFileAnalysis analysis;
    std::unique_ptr<TWorkspace> workspace;
    std::unique_ptr<TResultGraphs> graphs;
    bool graphsRead = false;  // every case gave results and the graphs hold them
    // The program's p-y graph shows the curves of the last case alone: the report reads
    // each case's on its own (empty for a file of one case).
    std::vector<std::unique_ptr<TResultGraphs>> caseGraphs;
};

// Reads and analyses the data file. `analysis.error` says why when it cannot be read.
std::unique_ptr<TReportSource> ReadReportSource(const std::string& dataFile);

struct TReportDocument {
    QByteArray bytes;
    int pages = 0;
};

// Lays the report out and draws it, in memory. Raises EInOutError when the PDF cannot be made.
TReportDocument MakeReport(const TReportSource& source, const TReportSettings& settings);

// The report's file for a data file in a folder: FOLDER/NAME.pdf.
QString ReportFileName(const QString& folder, const QString& dataFile);

}  // namespace torvex
