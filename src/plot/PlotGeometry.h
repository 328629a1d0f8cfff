#pragma once
// The graph window's arithmetic, kept apart from drawing so it can be tested without a
// display: data ranges and their rounding, tick steps, the mapping between data values and
// pixels, the window's layout, marker corners, zoom limits and the coordinate readout.
// Pixels are integers; "round" is to the nearest integer with halves to even.

#include <array>
#include <string>
#include <vector>

namespace torvex {

class TCurveSet;
class TGraphPlot;

struct TPixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
    friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

struct TPixelPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int RoundHalfEven(long double value);

// The data range shown by one panel.
struct TDataRange {
    long double Xmin = 0, Xmax = 0, Ymin = 0, Ymax = 0;
    long double XSpan() const { return Xmax - Xmin; }
    long double YSpan() const { return Ymax - Ymin; }
    friend bool operator==(const TDataRange&, const TDataRange&) = default;
};

// The power of ten that a range of this span is rounded to: 10^floor(log10(span)), a tenth
// of it when the span is less than three times that power.
long double RangeRoundingStep(long double span);
// Rounds one axis of a range away from zero to multiples of its rounding step; an empty
// axis is first widened by 0.01 either way.
void RoundAxis(long double& low, long double& high);
// Rounds the low end down and the high end up to multiples of the rounding step, for a range
// that need not contain zero.
void RoundAxisOutward(long double& low, long double& high);
// The range of every point of every curve of a set, rounded; it contains the origin unless
// the graph says otherwise (RangeFromOrigin).
TDataRange DataRangeOf(const TCurveSet& set);

// Tick steps of one axis of a panel.
struct TAxisTicks {
    bool Shown = false;       // false: the panel is too small for one interval
    long double Major = 0;    // labelled step, with a dotted grid line
    long double Minor = 0;    // Major / 5
    long long First = 0;      // tick k stands at k * Minor
    long long Last = -1;
};
// Every how many major ticks a label is drawn, so that labels as wide as the widest, `gap`
// pixels apart at least, do not run into each other where the major ticks stand
// `majorPixels` apart (0.0002, 0.0004 ... across a third of the page): 1 where all fit.
int LabelStride(int widestLabel, int gap, long double majorPixels);
// Whether the major tick with this tick index (a multiple of 5) gets a label: every
// stride-th one, counted from the tick at zero, so that the labels stay round numbers.
bool LabelledTick(long long tickIndex, int stride);
// The major step for a raw interval: p, 2p, 5p or 10p with p the power of ten below it.
long double MajorTickStep(long double rawInterval);
// The ticks of an axis from `low` to `high` drawn over `pixels` with `intervals` wanted per
// (k * H) pixels: intervals = pixels / (k * H).
TAxisTicks AxisTicks(long double low, long double high, int intervals);

// Maps data values of a range into a pixel rectangle and back. With `downward` (X axis on
// top, depth plots) Y grows down the rectangle.
struct TPlotMapping {
    TDataRange Range;
    TPixelRect Rect;
    bool Downward = true;
    int XPixel(long double x) const;
    int YPixel(long double y) const;
    long double XValue(int pixel) const;
    long double YValue(int pixel) const;
};

// Where a page is drawn. The window's client area, a printed sheet (the plot reaches the
// page's right edge and the margins' bottom or top edge, the title takes a fixed quarter or
// half inch) and a saved picture (laid out as the window, no room kept for the title, a
// narrower soil column) each place the plot differently.
enum class TPageKind { Window, Printed, Saved };

// What the layout depends on.
struct TLayoutInput {
    int PageWidth = 0, PageHeight = 0;  // client area, sheet inside its margins, picture
    int DpiX = 96, DpiY = 96;
    int H = 14;              // scaled font height
    bool XOnTop = true;
    bool HasTitle = false;
    bool TitleOnTop = false;
    bool ShowLayers = false;
    bool ShowThree = false;
    TPageKind Kind = TPageKind::Window;
    int PageLeft = 0, PageTop = 0;  // a printed page starts at its margins
};
struct TPlotLayout {
    TPixelRect Page;
    TPixelRect Plot;                    // the single-panel plot rectangle
    std::array<TPixelRect, 3> Panels{};  // the three panels (panel 1 = Plot when single)
    TPixelRect Column;                  // the soil column, when shown
    bool HasColumn = false;
};
TPlotLayout LayOut(const TLayoutInput& in);
// The page of a sheet of `width` x `height` pixels inside margins of so many pixels.
TPixelRect PageInsideMargins(int width, int height, int left, int top, int right, int bottom);
// The scaled font height: the canvas font's height times SizeFont / 10.
int ScaledFontHeight(int fontHeight, int sizeFont);
// Intervals wanted per panel side: 6 font heights each, 4 in the three-panel layout.
int TickIntervals(int pixels, int h, bool threePanels);

// Where a box of this size goes inside the client area: right and bottom edges first, then
// left and top not below 0.
TPixelPoint KeepInside(TPixelPoint topLeft, int width, int height, int clientWidth,
                       int clientHeight);

// The corners of the marker of curve `index` around (x, y) with radii rx and ry: a triangle
// pointing down for curve 0, a square for curve 1, a polygon of index + 1 corners pointing
// up after that.
std::vector<TPixelPoint> MarkerCorners(int index, int x, int y, int rx, int ry);
// Whether point j of a curve gets a marker.
bool HasMarker(int j, int markers);

// Zoom to the rubber band from corner a to corner b (pixels inside the mapping's
// rectangle); false for a band of zero width or height. An axis narrower than 1/20 of the
// home span is widened to that around the band's middle and kept inside the home range.
bool ZoomToBand(TPlotMapping& mapping, const TDataRange& home, TPixelPoint a, TPixelPoint b);
// Zoom out around a clicked pixel: twice the span, never beyond the home range.
void ZoomOutAt(TPlotMapping& mapping, const TDataRange& home, TPixelPoint click);

// The readout that heads the window: "Caption X: 0.5 Y: 12" (5 significant digits).
std::string ReadoutText(const std::string& caption, long double x, long double y);
// Tick labels: general format with 4 significant digits.
std::string TickLabel(long double value);

}  // namespace torvex
