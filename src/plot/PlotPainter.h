#pragma once
// Paints a graph onto any canvas (the window, an image, later a printer) from the window's
// state: captions, ticks and grid, the curves with their markers, the soil column, the frame.

#include <QColor>

#include "plot/FillPatterns.h"

class QPainter;

namespace torvex {

class TPlotState;

// The colour of the k-th curve drawn, of legend text k and of the line-name editor.
inline constexpr int kCurveColourCount = 17;
QColor CurveColour(int k);

// The face that stands for "Times New Roman": a free font of the same metrics.
QString SerifFamily();

struct TPaintOptions {
    bool AntiAliasCurves = true;  // on screen; the geometry stays the same either way
    TPatternSize Patterns = TPatternSize::Screen;
};

// Paints the page of `state` (laid out beforehand) with its graph's current data.
void PaintGraph(QPainter& painter, const TPlotState& state, const TPaintOptions& options = {});

}  // namespace torvex
