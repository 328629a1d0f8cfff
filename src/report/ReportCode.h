#pragma once
// "Design to EN 1997-1": the partial factors in force, each case's combinations side by side
// with what each governs, and the envelope the checks use.

#include "Analysis.h"

namespace torvex {

class TReportCanvas;

void DrawCodeDesign(TReportCanvas& canvas, const engine::TFileAnalysis& analysis);

}  // namespace torvex
