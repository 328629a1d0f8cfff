#pragma once
// A graph's curves as comma-separated values for spreadsheets: one column pair (X, Y) per
// curve of set 1 that is active and drawn, a header line with the curve's label and the axis
// captions with their units, "." as the decimal point.

#include <string>

namespace torvex {

class TGraphPlot;

std::string GraphCsvText(const TGraphPlot& graph);

}  // namespace torvex
