#include "plot/SoilColumn.h"

#include <algorithm>

#include "plot/PltData.h"

namespace torvex {

TSoilColumn SoilColumnOf(const TGraphPlot& graph, const TPixelRect& column,
                         const TPlotMapping& depths) {
    TSoilColumn out;
    const TCurveSet& lines = graph.LayerLines;
    if (lines.Count() == 0 || lines.PointCount() == 0) return out;
    const int layers = std::clamp(graph.WallLineCount, 0, lines.Count());
    const int L = column.Left, R = column.Right, W = R - L;
    // A depth below the plot ends its band at the plot's bottom edge; one above it, at the top.
    auto pixel = [&](long double depth) {
        return std::clamp(depths.YPixel(depth), column.Top, column.Bottom);
    };
    // The wall needs both of its lines: the wall's length, then the excavation depth.
    const bool wall = graph.ShowWall && graph.WallLineCount > 0 && lines.Count() > layers;
    if (!wall) {
        int top = column.Top;
        for (int i = 0; i < layers; ++i) {
            const int bottom = std::max(top, pixel(lines.Point(i, 0).Y));
            out.Bands.push_back({{L, top, R - 1, bottom},
                                 static_cast<int>(lines.Point(i, 0).X),
                                 lines[i].Label()});
            top = bottom;
        }
        return out;
    }
    const long double excavation =
        lines.Count() > layers + 1 ? lines.Point(layers + 1, 0).Y : 0.0L;
    const int retainedRight = L + 2 * W / 5, excavatedLeft = L + 3 * W / 5;
    long double previous = depths.Range.Ymin;  // the column top
    int previousPixel = column.Top;
    for (int i = 0; i < layers; ++i) {
        const long double bottom = lines.Point(i, 0).Y;
        const int bottomPixel = std::max(previousPixel, pixel(bottom));
        const int code = static_cast<int>(lines.Point(i, 0).X);
        if (bottom >= excavation && previous >= excavation) {
            out.Bands.push_back({{L, previousPixel, R, bottomPixel}, code, {}});
        } else {
            out.Bands.push_back({{L, previousPixel, retainedRight, bottomPixel}, code, {}});
            if (bottom >= excavation) {
                const int from = std::max(previousPixel, pixel(excavation));
                out.Bands.push_back({{excavatedLeft, from, R, bottomPixel}, code, {}});
            }
        }
        previous = bottom;
        previousPixel = bottomPixel;
    }
    out.HasWall = true;
    out.Wall = {retainedRight, column.Top, excavatedLeft, pixel(lines.Point(layers, 0).Y)};
    return out;
}

}  // namespace torvex
