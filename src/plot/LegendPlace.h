#pragma once
// Where a graph's legend box goes so that it covers no curve: in a corner of the plot that
// the curves leave free, else outside the plot. Plain geometry on the curves' pixels, shared
// by the graph windows, the saved and printed pages and the report.

#include <vector>

#include "plot/PlotGeometry.h"

namespace torvex {

// In the order they are tried: the bottom-right corner first, where the legend always stood.
enum class TLegendCorner { BottomRight, BottomLeft, TopRight, TopLeft, Outside };

struct TLegendPlace {
    TLegendCorner Corner = TLegendCorner::BottomRight;
    TPixelRect Box;  // inside the plot at a corner; for Outside, just below the plot, right-aligned
};

// A curve as drawn: its points in pixels, joined in order.
using TPixelCurve = std::vector<TPixelPoint>;

// Whether a segment of the curve or one of its points lies in the box grown by `clearance`
// pixels on every side.
bool CurveCrosses(const TPixelCurve& curve, const TPixelRect& box, int clearance);

// The first corner of the plot where a box of `width` x `height` pixels, `inset` pixels in
// from the plot's edges, is crossed by no curve (with `clearance` pixels to spare); Outside
// when every corner is taken or the box does not fit in the plot.
TLegendPlace PlaceLegend(const TPixelRect& plot, int width, int height, const std::vector<TPixelCurve>& curves,
                         int inset = 0, int clearance = 0);

}  // namespace torvex
