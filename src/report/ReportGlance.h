#pragma once
// "Results at a glance": deflection, bending moment, shear and earth pressure side by side on
// one page against one depth axis, every case or stage a curve, the largest value of each
// called out on its graph and listed below with its depth and case.

namespace torvex {

namespace engine {
struct TFileAnalysis;
}
class TReportCanvas;

void DrawResultsAtAGlance(TReportCanvas& canvas, const engine::TFileAnalysis& analysis);

}  // namespace torvex
