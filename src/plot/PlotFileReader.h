#pragma once
// Reading the plot file (".tx4p") that the analysis engine writes beside the data file into
// the result graphs.
//
// The file is numbers only, read in one pass with the word reader. The first section is
// stage 1 and states the stage count S; S - 1 further sections follow, one per stage. A
// section holds, in order: the earth-pressure block (record count NE, then NE records of
// depth, total pressure, pressure from soils, pressure from surcharge), the unit code U
// (1: English results in inches and pounds, shown in feet and kips; else SI), the p-y block
// (curve count NP, then per curve its depth, its point count M and M pairs y, p), the stage
// count, the node count NN, one integer that is not used, and NN node records of depth,
// deflection, bending moment, shear and soil reaction.

#include <functional>
#include <string>
#include <string_view>

namespace torvex {

class TResultGraphs;
class TWorkspace;

// What a plot file may hold; anything beyond is a read failure.
inline constexpr int kMaxEarthPressureRecords = 501;
inline constexpr int kMaxPYCurves = 51;
// The engine analyses at most 5 stages of at most 10000 increments (10001 nodes); the graphs
// hold stages x nodes points, so larger counts would take memory out of all proportion.
inline constexpr int kMaxPlotStages = 5;
inline constexpr int kMaxPlotNodes = 10001;
inline constexpr int kMaxPlotPoints = 100000;  // points of a p-y curve

inline constexpr const char* kPlotReadErrorMessage =
    "An error occured in running the main program.";

// Reads the plot file into the graphs and returns true when the whole file was read. On
// failure (a missing or unreadable file, a word that is not the number expected, a premature
// end, a count out of range) it returns false, leaves in the graphs what was read before the
// failure, and calls reportError with kPlotReadErrorMessage when reportError is set.
// The project and its soil layer table (NewSoil) give the soil-layer and wall lines of
// pltDMS, the unit system for PltCombine and the long-term curve names.
bool ReadPlotFile(TResultGraphs& graphs, const TWorkspace& workspace,
                  const std::string& fileName,
                  const std::function<void(const std::string&)>& reportError);
// As ReadPlotFile, from text in memory.
bool ReadPlotFileText(TResultGraphs& graphs, const TWorkspace& workspace,
                      std::string_view text,
                      const std::function<void(const std::string&)>& reportError);

}  // namespace torvex
