#pragma once
// "Wall and soil profile": the wall drawn to a stated scale with its toe, the soil layers
// with their type and key parameters, the water levels on both sides, every support and
// spring at its depth, the surcharges and, for a staged file, each stage's excavation level;
// then the same levels, supports and loads as a table.

#include <vector>

namespace torvex {

namespace engine {
struct TFileAnalysis;
}
class TReportCanvas;

// The scale the drawing is set at, 1:N: the first of 1, 1.25, 1.5, 2, 2.5, 3, 4, 5 and 7.5
// times a power of ten that is not below `smallest` (a drawing must not come out larger
// than its room).
double DrawingScale(double smallest);

void DrawProfilePage(TReportCanvas& canvas, const engine::TFileAnalysis& analysis);

}  // namespace torvex
