#pragma once
// The four files the engine writes for a data file: the plot file the program draws its
// graphs from, the output report (the engineer's record), the run notes and the design
// summary the program's design summary window shows.

#include <string>

#include "Analysis.h"

namespace torvex::engine {

struct TResultPaths {
    std::string data, output, plot, notes, summary;
};

// The paths beside a data file: its extension replaced by ".tx4o", ".tx4p", ".tx4r" and
// ".tx4y" (the design summary; stage files are ".st1" to ".st5").
TResultPaths ResultPathsFor(const std::string& dataFile);

// Plot file: per case the earth-pressure block, the unit code, the p-y block, the case count,
// the node count, the case number and the node records; numbers only.
std::string PlotFileText(const TFileAnalysis& analysis);
std::string ReportText(const TFileAnalysis& analysis);
std::string RunNotesText(const TFileAnalysis& analysis);

// Writes the output report and the run notes, and the plot file and the design summary when
// every case gave results; otherwise removes stale ones so that no old graphs or answers are
// shown. All are written before any is put in place, the report last, so that a run killed
// midway leaves the old set whole or no report. A write that fails leaves none of the four
// (and raises EInOutError); temporary files of killed runs in their folders are removed.
void WriteResultFiles(const TFileAnalysis& analysis, const TResultPaths& paths);

// One line per case for the command line: outcome, maximum deflection and moment with depths.
std::string SummaryLines(const TFileAnalysis& analysis);

}  // namespace torvex::engine
