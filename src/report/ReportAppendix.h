#pragma once
// The appendix of node results: for every case the node table of the text report (depth,
// deflection, slope, moment, shear, soil reaction, EI, line load) with its 6 digits.

#include <vector>

namespace torvex {

class TReportCanvas;

namespace engine {
struct TCaseResult;
}

void DrawNodeAppendix(TReportCanvas& canvas, const std::vector<engine::TCaseResult>& cases);

}  // namespace torvex
