#include "report/ReportGraphs.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>
#include <utility>

#include "plot/PlotGeometry.h"
#include "plot/PlotPainter.h"
#include "plot/PlotState.h"
#include "plot/ResultGraphs.h"
#include "report/ReportCanvas.h"

namespace torvex {
namespace {

// The height of the graph windows' font at 96 dpi, as a printed graph takes it.
constexpr int kGraphFontHeightAt96Dpi = 16;
constexpr double kTopInch = 0.3, kRightInch = 0.4, kBottomInch = 0.3;

void DrawGraphPage(TReportCanvas& canvas, const TGraphPlot& graph, const QString& title) {
    canvas.Heading(title, 1, true);
    const QRectF body = canvas.Body();
    const QRectF area(body.left(), canvas.Y(), body.width(), body.bottom() - canvas.Y());
    canvas.Advance(area.height());
    QPainter* painter = canvas.Painter();
    if (!painter) return;
    const int dpiX = canvas.Device().logicalDpiX();
    const int dpiY = canvas.Device().logicalDpiY();
    TPlotState state(graph);
    // A printed graph's plot reaches the right and bottom edges of its page: room is kept
    // there for the last tick label and the curves' pens, and above for a rotated label.
    const QRectF plot = area.adjusted(0, kTopInch * dpiY, -kRightInch * dpiX, -kBottomInch * dpiY);
    const TPixelRect rect{static_cast<int>(std::lround(plot.left())), static_cast<int>(std::lround(plot.top())),
                          static_cast<int>(std::lround(plot.right())), static_cast<int>(std::lround(plot.bottom()))};
    TPaintOptions options;
    options.Patterns = TPatternSize::Print;
    options.PageLegend = true;
    painter->save();
    painter->setClipRect(area);
    PaintPageWithLegend(*painter, state, rect, dpiX, dpiY, kGraphFontHeightAt96Dpi * dpiY / 96, TPageKind::Printed,
                        options);
    painter->restore();
}

}  // namespace

int DrawGraphPages(TReportCanvas& canvas, const TResultGraphs& graphs, const std::vector<TCaseGraph>& pyGraphs) {
    std::vector<std::pair<const TGraphPlot*, QString>> pages = {
        {&graphs.pltDef, "Deflection"},  {&graphs.pltMom, "Bending moment"},  {&graphs.pltShear, "Shear"},
        {&graphs.pltSoil, "Soil reaction"}, {&graphs.pltLD, "Earth pressure"}};
    if (pyGraphs.empty()) pages.emplace_back(&graphs.pltPY, "p-y curves");
    for (const TCaseGraph& c : pyGraphs) pages.emplace_back(c.graph, "p-y curves, " + c.label);
    int drawn = 0;
    for (const auto& [graph, title] : pages) {
        if (!GraphTest(*graph)) continue;
        ++drawn;
        DrawGraphPage(canvas, *graph, QString("Graph %1: %2").arg(drawn).arg(title));
    }
    return drawn;
}

}  // namespace torvex
