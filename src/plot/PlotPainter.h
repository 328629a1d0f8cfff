#pragma once
// Paints a graph onto any canvas (the window, an image, later a printer) from the window's
// state: captions, ticks and grid, the curves with their markers, the page legend of a
// printed or saved page, the soil column, the frame.

#include <QColor>
#include <QPen>

#include <functional>
#include <string>
#include <vector>

#include "plot/FillPatterns.h"
#include "plot/LegendPlace.h"

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
    bool PageLegend = false;      // printed and saved pages carry the legend themselves
    // The text of a tick's value: TickLabel's when not set (the calculation report writes its
    // ticks as its tables write figures).
    std::function<std::string(long double)> TickText;
};

// The pen of the grid: dotted and one device pixel thin on any canvas, its dots and gaps as
// long on paper as on a 96-dpi screen (one pixel and two there). `dpi` is the resolution
// along the line.
QPen GridPen(int dpi);

// The visible curves of every panel in the state's pixels, as they are drawn.
std::vector<TPixelCurve> CurvePixels(const TPlotState& state);

// The box of the page legend's size (its top-left at 0, 0); empty when no curve is shown.
TPixelRect PageLegendSize(const TPlotState& state);
// Where the page legend goes: the first corner of the plot that the curves leave free.
TLegendPlace PageLegendPlace(const TPlotState& state);

// The legend drawn onto a printed or saved page: the visible curves' entries with their
// markers, in `box`, or where PageLegendPlace puts it.
void PaintPageLegend(QPainter& painter, const TPlotState& state, const TPixelRect& box);
void PaintPageLegend(QPainter& painter, const TPlotState& state);

// Paints the page of `state` (laid out beforehand) with its graph's current data.
void PaintGraph(QPainter& painter, const TPlotState& state, const TPaintOptions& options = {});

// Lays `state` out on `page` (TPlotState::LayOut) and paints it with its page legend in a
// corner of the plot that the curves leave free; when they take every corner the plot is
// shortened and the legend goes below it, at the foot of the page.
void PaintPageWithLegend(QPainter& painter, TPlotState& state, const TPixelRect& page, int dpiX, int dpiY,
                         int fontHeight, TPageKind kind, TPaintOptions options);

}  // namespace torvex
