#include "plot/PlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dataentry/NumberText.h"
#include "plot/PltData.h"

namespace torvex {

namespace {

// Quotients such as 0.25 / 0.01 come out a hair above or below the whole number they stand
// for; this much is taken as the same number, so a range or tick does not grow by one step.
constexpr long double kQuotientSlack = 1e-9L;

long double CeilQuotient(long double q) { return std::ceil(q - kQuotientSlack); }
long double FloorQuotient(long double q) { return std::floor(q + kQuotientSlack); }

// Moves `value` into [low, high]; the lower edge wins when they cross.
long double Clamp(long double value, long double low, long double high) {
    return std::max(low, std::min(value, high));
}

// sin and cos of whole degrees miss exact halves (cos 240 degrees x 3 gives -1.4999...);
// snapped to nine decimals they round to even as the exact values do.
long double Snapped(long double value) { return std::round(value * 1e9L) / 1e9L; }

}  // namespace

int RoundHalfEven(long double value) {
    // Far beyond any canvas (a point of data read after the window opened, far outside its
    // range) the pixel is pinned, so that the conversion stays defined.
    constexpr long double kFar = 1e8L;
    if (std::isnan(value)) return 0;
    // The default rounding mode of the floating-point unit rounds halves to even.
    return static_cast<int>(std::nearbyint(Clamp(value, -kFar, kFar)));
}

long double RangeRoundingStep(long double span) {
    const long double exponent = std::log10(span);
    const long double whole = std::floor(exponent);
    long double step = std::pow(10.0L, whole);
    if (exponent - whole < std::log10(3.0L)) step /= 10;
    return step;
}

void RoundAxis(long double& low, long double& high) {
    if (high == low) {
        low -= 0.01L;
        high += 0.01L;
    }
    const long double s = RangeRoundingStep(high - low);
    auto away = [s](long double v) {
        if (v < 0) return s * FloorQuotient(v / s);
        if (v > 0) return s * CeilQuotient(v / s);
        return v;
    };
    low = away(low);
    high = away(high);
}

void RoundAxisOutward(long double& low, long double& high) {
    if (high == low) {
        low -= 0.01L;
        high += 0.01L;
    }
    const long double s = RangeRoundingStep(high - low);
    low = s * FloorQuotient(low / s);
    high = s * CeilQuotient(high / s);
}

TDataRange DataRangeOf(const TCurveSet& set) {
    TDataRange range;
    // A graph against another input than depth may start where its data start.
    if (!set.Owner().RangeFromOrigin)
        for (int i = 0; i < set.Count(); ++i)
            if (set[i].PointCount() > 0) {
                const TFloatPoint& first = set[i].Point(0);
                range = {first.X, first.X, first.Y, first.Y};
                break;
            }
    for (int i = 0; i < set.Count(); ++i) {
        const TLine& line = set[i];
        for (int j = 0; j < line.PointCount(); ++j) {
            const TFloatPoint& p = line.Point(j);
            range.Xmin = std::min(range.Xmin, p.X);
            range.Xmax = std::max(range.Xmax, p.X);
            range.Ymin = std::min(range.Ymin, p.Y);
            range.Ymax = std::max(range.Ymax, p.Y);
        }
    }
    const auto round = set.Owner().RangeFromOrigin ? RoundAxis : RoundAxisOutward;
    round(range.Xmin, range.Xmax);
    round(range.Ymin, range.Ymax);
    return range;
}

int LabelStride(int widestLabel, int gap, long double majorPixels) {
    if (!(majorPixels > 0) || !std::isfinite(majorPixels)) return 1;
    const long double stride = std::ceil((widestLabel + gap) / majorPixels);
    return stride < 1 ? 1 : stride > 1000 ? 1000 : static_cast<int>(stride);
}

bool LabelledTick(long long tickIndex, int stride) {
    const long long major = tickIndex / 5;
    return stride <= 1 || major % stride == 0;
}

long double MajorTickStep(long double rawInterval) {
    const long double p = std::pow(10.0L, std::floor(std::log10(rawInterval)));
    const int q = static_cast<int>(FloorQuotient(rawInterval / p));
    if (q < 2) return p;
    if (q <= 4) return 2 * p;
    if (q <= 8) return 5 * p;
    return 10 * p;
}

TAxisTicks AxisTicks(long double low, long double high, int intervals) {
    TAxisTicks ticks;
    if (intervals <= 0 || !(high > low)) return ticks;
    ticks.Major = MajorTickStep((high - low) / intervals);
    ticks.Minor = ticks.Major / 5;
    const long double first = CeilQuotient(low / ticks.Minor);
    const long double last = FloorQuotient(high / ticks.Minor);
    // At most about 10 ticks an interval; anything else (a range of no finite size) has none.
    if (!(last - first <= 20.0L * intervals + 20)) return ticks;
    ticks.Shown = true;
    ticks.First = static_cast<long long>(first);
    ticks.Last = static_cast<long long>(last);
    return ticks;
}

int TPlotMapping::XPixel(long double x) const {
    return RoundHalfEven((x - Range.Xmin) / Range.XSpan() * Rect.Width()) + Rect.Left;
}

int TPlotMapping::YPixel(long double y) const {
    const int c = RoundHalfEven((y - Range.Ymin) / Range.YSpan() * Rect.Height());
    return Downward ? Rect.Top + c : Rect.Bottom - c;
}

long double TPlotMapping::XValue(int pixel) const {
    if (Rect.Width() == 0) return Range.Xmin;
    return Range.Xmin + static_cast<long double>(pixel - Rect.Left) / Rect.Width() * Range.XSpan();
}

long double TPlotMapping::YValue(int pixel) const {
    if (Rect.Height() == 0) return Range.Ymin;
    const int c = Downward ? pixel - Rect.Top : Rect.Bottom - pixel;
    return Range.Ymin + static_cast<long double>(c) / Rect.Height() * Range.YSpan();
}

int ScaledFontHeight(int fontHeight, int sizeFont) { return std::abs(fontHeight) * sizeFont / 10; }

int TickIntervals(int pixels, int h, bool threePanels) {
    const int k = threePanels ? 4 : 6;
    if (h <= 0) return 0;
    return std::max(pixels, 0) / (k * h);
}

namespace {

// The plot rectangle of the window and of a saved picture: the captions and tick labels
// get two font heights and an eighth of an inch on the axis sides, a quarter inch and half a
// font height on the others.
TPixelRect WindowPlot(const TLayoutInput& in, const TPixelRect& page) {
    const int h = in.H;
    TPixelRect plot;
    plot.Left = page.Left + 2 * h + in.DpiX / 8 + h / 8;
    plot.Right = page.Right - in.DpiX / 4 - h / 2;
    if (in.XOnTop) {
        plot.Top = page.Top + 2 * h + in.DpiY / 8 + h / 8;
        plot.Bottom = page.Bottom - in.DpiY / 4 - h / 2;
    } else {
        plot.Top = page.Top + h / 2 + in.DpiY / 4;
        plot.Bottom = page.Bottom - 2 * h - in.DpiY / 8 - h / 8;
    }
    return plot;
}

// The plot rectangle of a printed page: out to the page's edges but for the captions' side
// and the axis side, where the room kept is measured with dpiX both ways.
TPixelRect PrintedPlot(const TLayoutInput& in, const TPixelRect& page) {
    const int h = in.H;
    const int axisRoom = 2 * h + in.DpiX / 8 + h / 8;
    TPixelRect plot{page.Left + axisRoom, page.Top, page.Right, page.Bottom};
    if (in.XOnTop) plot.Top += axisRoom;
    else plot.Bottom -= axisRoom;
    if (in.HasTitle) {
        if (in.TitleOnTop) plot.Top += in.DpiY / 4;
        else plot.Bottom -= in.DpiY / 2;
    }
    return plot;
}

}  // namespace

TPlotLayout LayOut(const TLayoutInput& in) {
    TPlotLayout out;
    const int h = in.H;
    out.Page = {in.PageLeft, in.PageTop, in.PageLeft + in.PageWidth, in.PageTop + in.PageHeight};
    TPixelRect& plot = out.Plot;
    if (in.Kind == TPageKind::Printed) {
        plot = PrintedPlot(in, out.Page);
    } else {
        plot = WindowPlot(in, out.Page);
        // Only the window moves the plot aside for the title.
        if (in.HasTitle && in.Kind == TPageKind::Window) {
            if (in.TitleOnTop) plot.Top += h + h / 8;
            else plot.Bottom -= h;
        }
    }
    if (in.ShowLayers) {
        const int oldRight = plot.Right;
        if (in.Kind == TPageKind::Saved) {
            plot.Right -= in.DpiX / 2;
            out.Column = {plot.Right + in.DpiX / 5, plot.Top, oldRight, plot.Bottom};
        } else {
            plot.Right -= in.DpiX;
            out.Column = {oldRight - in.DpiX + in.DpiX / 5, plot.Top, oldRight, plot.Bottom};
        }
        out.HasColumn = true;
    }
    out.Panels = {plot, plot, plot};
    if (in.ShowThree) {
        const int w = (plot.Right - plot.Left - 4 * h - in.DpiX / 2) / 3;
        const int gap = 2 * h + in.DpiX / 4;
        out.Panels[0].Right = plot.Left + w;
        out.Panels[1].Left = out.Panels[0].Right + gap;
        out.Panels[1].Right = out.Panels[1].Left + w;
        out.Panels[2].Left = out.Panels[1].Right + gap;
        out.Panels[2].Right = plot.Right;
    }
    return out;
}

TPixelRect PageInsideMargins(int width, int height, int left, int top, int right, int bottom) {
    return {left, top, width - right, height - bottom};
}

TPixelPoint KeepInside(TPixelPoint topLeft, int width, int height, int clientWidth,
                       int clientHeight) {
    topLeft.X = std::min(topLeft.X, clientWidth - width);
    topLeft.Y = std::min(topLeft.Y, clientHeight - height);
    topLeft.X = std::max(topLeft.X, 0);
    topLeft.Y = std::max(topLeft.Y, 0);
    return topLeft;
}

std::vector<TPixelPoint> MarkerCorners(int index, int x, int y, int rx, int ry) {
    int corners;
    long double step, start;  // degrees, clockwise from straight up
    if (index <= 0) {
        corners = 3, step = 120, start = 180;
    } else if (index == 1) {
        corners = 4, step = 90, start = 45;
    } else {
        corners = index + 1, step = 360.0L / corners, start = 0;
    }
    std::vector<TPixelPoint> points;
    points.reserve(static_cast<size_t>(corners));
    for (int k = 0; k < corners; ++k) {
        const long double angle = (start + k * step) * std::numbers::pi_v<long double> / 180;
        points.push_back({x + RoundHalfEven(Snapped(std::sin(angle) * rx)),
                          y - RoundHalfEven(Snapped(std::cos(angle) * ry))});
    }
    return points;
}

bool HasMarker(int j, int markers) { return markers > 0 && j % markers == 0; }

namespace {

// One axis of a zoom: [a, b] in any order, at least 1/20 of the home span, inside home.
void ZoomAxis(long double a, long double b, long double homeLow, long double homeHigh,
              long double& low, long double& high) {
    low = std::min(a, b);
    high = std::max(a, b);
    const long double homeSpan = homeHigh - homeLow;
    if (homeSpan > 20 * (high - low)) {
        const long double half = homeSpan / 40;
        const long double middle = Clamp((low + high) / 2, homeLow + half, homeHigh - half);
        low = middle - half;
        high = middle + half;
    }
}

void ZoomOutAxis(long double clicked, long double span, long double homeLow, long double homeHigh,
                 long double& low, long double& high) {
    if (2 * span >= homeHigh - homeLow) {  // the full view, exactly
        low = homeLow;
        high = homeHigh;
        return;
    }
    const long double d = span;
    const long double centre = Clamp(clicked, homeLow + d, homeHigh - d);
    low = centre - d;
    high = centre + d;
}

}  // namespace

bool ZoomToBand(TPlotMapping& mapping, const TDataRange& home, TPixelPoint a, TPixelPoint b) {
    if (a.X == b.X || a.Y == b.Y) return false;
    const TPixelRect& r = mapping.Rect;
    b.X = std::clamp(b.X, r.Left, r.Right);
    b.Y = std::clamp(b.Y, r.Top, r.Bottom);
    TDataRange next;
    ZoomAxis(mapping.XValue(a.X), mapping.XValue(b.X), home.Xmin, home.Xmax, next.Xmin, next.Xmax);
    ZoomAxis(mapping.YValue(a.Y), mapping.YValue(b.Y), home.Ymin, home.Ymax, next.Ymin, next.Ymax);
    mapping.Range = next;
    return true;
}

void ZoomOutAt(TPlotMapping& mapping, const TDataRange& home, TPixelPoint click) {
    TDataRange next;
    ZoomOutAxis(mapping.XValue(click.X), mapping.Range.XSpan(), home.Xmin, home.Xmax, next.Xmin,
                next.Xmax);
    ZoomOutAxis(mapping.YValue(click.Y), mapping.Range.YSpan(), home.Ymin, home.Ymax, next.Ymin,
                next.Ymax);
    mapping.Range = next;
}

std::string ReadoutText(const std::string& caption, long double x, long double y) {
    return caption + " X: " + FormatGeneral(x, 5, -4) + " Y: " + FormatGeneral(y, 5, -4);
}

std::string TickLabel(long double value) {
    return FormatGeneral(value, 4, -4);
}

}  // namespace torvex
