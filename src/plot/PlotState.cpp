#include "plot/PlotState.h"

#include <algorithm>
#include <cstdlib>

#include "plot/PltData.h"

namespace torvex {

TPlotState::TPlotState(const TGraphPlot& graph) : graph_(&graph) {
    const std::array<const TCurveSet*, 3> sets{&graph.Lines, &graph.Lines2, &graph.Lines3};
    for (size_t i = 0; i < sets.size(); ++i) {
        panels_[i].Home = DataRangeOf(*sets[i]);
        panels_[i].Map.Range = panels_[i].Home;
    }
}

bool TPlotState::ThreePanels() const { return graph_->ShowThree; }

void TPlotState::LayOut(int pageWidth, int pageHeight, int dpiX, int dpiY, int fontHeight) {
    LayOut(TPixelRect{0, 0, pageWidth, pageHeight}, dpiX, dpiY, fontHeight, TPageKind::Window);
}

void TPlotState::LayOut(const TPixelRect& page, int dpiX, int dpiY, int fontHeight,
                        TPageKind kind) {
    dpiX_ = dpiX;
    dpiY_ = dpiY;
    h_ = ScaledFontHeight(fontHeight, graph_->SizeFont);
    TLayoutInput in;
    in.PageLeft = page.Left;
    in.PageTop = page.Top;
    in.PageWidth = page.Width();
    in.PageHeight = page.Height();
    in.Kind = kind;
    in.DpiX = dpiX;
    in.DpiY = dpiY;
    in.H = h_;
    in.XOnTop = graph_->XOnTop;
    in.HasTitle = !graph_->Title.empty();
    in.TitleOnTop = graph_->TitleOnTop;
    in.ShowLayers = graph_->ShowLayers && graph_->LayerLines.Count() > 0;
    in.ShowThree = ThreePanels();
    layout_ = torvex::LayOut(in);
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i].Map.Rect = layout_.Panels[i];
        panels_[i].Map.Downward = graph_->XOnTop;
    }
    UpdateTicks();
}

void TPlotState::UpdateTicks() {
    const bool three = ThreePanels();
    for (TPanelView& panel : panels_) {
        const TPixelRect& r = panel.Map.Rect;
        const int n = TickIntervals(r.Width(), h_, three);
        const int m = TickIntervals(r.Height(), h_, three);
        // A panel too small for one interval either way gets no ticks at all.
        panel.XTicks = panel.YTicks = TAxisTicks{};
        if (n == 0 || m == 0) continue;
        panel.XTicks = AxisTicks(panel.Map.Range.Xmin, panel.Map.Range.Xmax, n);
        panel.YTicks = AxisTicks(panel.Map.Range.Ymin, panel.Map.Range.Ymax, m);
    }
}

int TPlotState::PanelAt(int x) const {
    if (!ThreePanels()) return 0;
    int best = 0, bestDistance = -1;
    for (int i = 0; i < 3; ++i) {
        const TPixelRect& r = panels_[static_cast<size_t>(i)].Map.Rect;
        const int distance = x < r.Left ? r.Left - x : (x > r.Right ? x - r.Right : 0);
        if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

std::string TPlotState::Readout(int x, int y) const {
    const TPixelRect& plot = layout_.Plot;
    x = std::clamp(x, plot.Left, std::max(plot.Left, plot.Right));
    y = std::clamp(y, plot.Top, std::max(plot.Top, plot.Bottom));
    const TPanelView& panel = Panel(PanelAt(x));
    const TPixelRect& r = panel.Map.Rect;
    x = std::clamp(x, r.Left, std::max(r.Left, r.Right));
    return ReadoutText(graph_->Caption, panel.Map.XValue(x), panel.Map.YValue(y));
}

bool TPlotState::Zoom(TPixelPoint start, TPixelPoint end) {
    if (ThreePanels()) return false;
    TPanelView& panel = panels_[0];
    if (!ZoomToBand(panel.Map, panel.Home, start, end)) return false;
    UpdateTicks();
    return true;
}

bool TPlotState::ZoomOut(TPixelPoint click) {
    if (ThreePanels() || !layout_.Plot.Contains(click.X, click.Y)) return false;
    TPanelView& panel = panels_[0];
    ZoomOutAt(panel.Map, panel.Home, click);
    UpdateTicks();
    return true;
}

}  // namespace torvex
