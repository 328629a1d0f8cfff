#include "plot/LegendPlace.h"

#include <algorithm>
#include <array>

namespace torvex {
namespace {

bool Inside(const TPixelPoint& p, double left, double top, double right, double bottom) {
    return p.X >= left && p.X <= right && p.Y >= top && p.Y <= bottom;
}

// Liang-Barsky: whether the segment from a to b meets the closed rectangle.
bool SegmentMeets(const TPixelPoint& a, const TPixelPoint& b, double left, double top, double right,
                  double bottom) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    double t0 = 0, t1 = 1;
    const std::array<std::pair<double, double>, 4> edges{{{-dx, a.X - left},
                                                           {dx, right - a.X},
                                                           {-dy, a.Y - top},
                                                           {dy, bottom - a.Y}}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q / p;
        if (p < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

}  // namespace

bool CurveCrosses(const TPixelCurve& curve, const TPixelRect& box, int clearance) {
    const double left = box.Left - clearance, top = box.Top - clearance;
    const double right = box.Right + clearance, bottom = box.Bottom + clearance;
    if (curve.size() == 1) return Inside(curve.front(), left, top, right, bottom);
    for (size_t k = 0; k + 1 < curve.size(); ++k)
        if (SegmentMeets(curve[k], curve[k + 1], left, top, right, bottom)) return true;
    return false;
}

TLegendPlace PlaceLegend(const TPixelRect& plot, int width, int height, const std::vector<TPixelCurve>& curves,
                         int inset, int clearance) {
    const TPixelRect below{plot.Right - width, plot.Bottom + inset, plot.Right, plot.Bottom + inset + height};
    if (width + 2 * inset > plot.Width() || height + 2 * inset > plot.Height())
        return {TLegendCorner::Outside, below};
    const int left = plot.Left + inset, right = plot.Right - inset;
    const int top = plot.Top + inset, bottom = plot.Bottom - inset;
    const std::array<TLegendPlace, 4> corners{{
        {TLegendCorner::BottomRight, {right - width, bottom - height, right, bottom}},
        {TLegendCorner::BottomLeft, {left, bottom - height, left + width, bottom}},
        {TLegendCorner::TopRight, {right - width, top, right, top + height}},
        {TLegendCorner::TopLeft, {left, top, left + width, top + height}},
    }};
    for (const TLegendPlace& corner : corners)
        if (std::none_of(curves.begin(), curves.end(),
                         [&](const TPixelCurve& c) { return CurveCrosses(c, corner.Box, clearance); }))
            return corner;
    return {TLegendCorner::Outside, below};
}

}  // namespace torvex
