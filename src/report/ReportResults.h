#pragma once
// The results of one case or stage: how the analysis ended, the maximum values with their
// depths, the equilibrium check, the strength and deflection checks, limit equilibrium, the
// support forces, the soil and pressure models used and the warnings. The figures are those
// of the text report, to five significant figures; the verdicts those of the design summary
// window.

namespace torvex {

class TReportCanvas;
struct TSummaryCase;

namespace engine {
struct TCaseResult;
}

// `summary` is the case as the design summary judges it (which checks fail).
void DrawCaseResults(TReportCanvas& canvas, const engine::TCaseResult& result, const TSummaryCase& summary);

}  // namespace torvex
