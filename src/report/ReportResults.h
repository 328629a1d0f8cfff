#pragma once
// The results of one case or stage: how the analysis ended, the maximum values with their
// depths, the equilibrium check, the strength and deflection checks, limit equilibrium, the
// support forces, the soil and pressure models used and the warnings. The figures are those
// of the text report, formatted alike.

namespace torvex {

class TReportCanvas;

namespace engine {
struct TCaseResult;
}

void DrawCaseResults(TReportCanvas& canvas, const engine::TCaseResult& result);

}  // namespace torvex
