#pragma once
// What a graph window knows between paints, without Qt: the data range of each of its
// three panels with the home range it opened with, the layout of the page, the ticks of each
// panel, and what the mouse does to the ranges (zoom) and to the caption (readout).

#include <array>
#include <string>

#include "plot/PlotGeometry.h"

namespace torvex {

class TGraphPlot;

struct TPanelView {
    TPlotMapping Map;      // the range shown and the panel's pixels
    TDataRange Home;       // the full range computed when the window opened
    TAxisTicks XTicks, YTicks;
};

class TPlotState {
public:
    // Computes the ranges of the three panels (sets 1, 3 and 4) and keeps them as home.
    explicit TPlotState(const TGraphPlot& graph);

    const TGraphPlot& Graph() const { return *graph_; }
    // Lays out the window's client area of this size at this resolution, with the canvas
    // font's height.
    void LayOut(int pageWidth, int pageHeight, int dpiX, int dpiY, int fontHeight);
    // Lays out a printed page or a saved picture: `page` in the canvas's pixels.
    void LayOut(const TPixelRect& page, int dpiX, int dpiY, int fontHeight, TPageKind kind);
    // Recomputes the ticks of every panel for the current ranges (before each paint).
    void UpdateTicks();

    const TPlotLayout& Layout() const { return layout_; }
    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }
    int H() const { return h_; }
    bool ThreePanels() const;
    int PanelCount() const { return ThreePanels() ? 3 : 1; }
    const TPanelView& Panel(int i) const { return panels_.at(static_cast<size_t>(i)); }
    TPanelView& Panel(int i) { return panels_.at(static_cast<size_t>(i)); }

    // The panel that reads a pixel: the one under it, or the nearest across the gaps.
    int PanelAt(int x) const;
    // The caption that follows the mouse: the position is clamped to the plot rectangle
    // and read through the panel under it.
    std::string Readout(int x, int y) const;
    // Zooms the single-panel layout to a rubber band; false when nothing changed.
    bool Zoom(TPixelPoint start, TPixelPoint end);
    // Zooms out around a right click inside the plot; false outside it or in three panels.
    bool ZoomOut(TPixelPoint click);

private:
    const TGraphPlot* graph_;
    TPlotLayout layout_;
    std::array<TPanelView, 3> panels_;
    int dpiX_ = 96, dpiY_ = 96, h_ = 14;
};

}  // namespace torvex
