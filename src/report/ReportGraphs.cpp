#include "report/ReportGraphs.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

#include "plot/PlotGeometry.h"
#include "plot/PlotPainter.h"
#include "plot/PlotState.h"
#include "plot/ResultGraphs.h"
#include "report/ReportCanvas.h"

namespace torvex {
namespace {

// The height of the graph windows' font at 96 dpi, as a printed graph takes it.
constexpr int kGraphFontHeightAt96Dpi = 16;
constexpr double kTopInch = 0.15, kRightInch = 0.4, kBottomInch = 0.3;

}  // namespace

int DrawGraphPages(TReportCanvas& canvas, const TResultGraphs& graphs) {
    const struct {
        const TGraphPlot* graph;
        const char* title;
    } pages[] = {{&graphs.pltDef, "Deflection"},    {&graphs.pltMom, "Bending moment"},
                 {&graphs.pltShear, "Shear"},       {&graphs.pltSoil, "Soil reaction"},
                 {&graphs.pltLD, "Earth pressure"}, {&graphs.pltPY, "p-y curves"}};
    int drawn = 0;
    for (const auto& page : pages) {
        if (!GraphTest(*page.graph)) continue;
        ++drawn;
        canvas.Heading(QString("Graph %1: %2").arg(drawn).arg(page.title), 1, true);
        const QRectF body = canvas.Body();
        const QRectF area(body.left(), canvas.Y(), body.width(), body.bottom() - canvas.Y());
        canvas.Advance(area.height());
        QPainter* painter = canvas.Painter();
        if (!painter) continue;
        const int dpiX = canvas.Device().logicalDpiX();
        const int dpiY = canvas.Device().logicalDpiY();
        TPlotState state(*page.graph);
        // A printed graph's plot reaches the right and bottom edges of its page: room is kept
        // there for the last tick label and the curves' pens, and above for a rotated label.
        const QRectF plot = area.adjusted(0, kTopInch * dpiY, -kRightInch * dpiX, -kBottomInch * dpiY);
        const TPixelRect rect{static_cast<int>(std::lround(plot.left())), static_cast<int>(std::lround(plot.top())),
                              static_cast<int>(std::lround(plot.right())), static_cast<int>(std::lround(plot.bottom()))};
        state.LayOut(rect, dpiX, dpiY, kGraphFontHeightAt96Dpi * dpiY / 96, TPageKind::Printed);
        TPaintOptions options;
        options.Patterns = TPatternSize::Print;
        options.PageLegend = true;
        painter->save();
        painter->setClipRect(area);
        PaintGraph(*painter, state, options);
        painter->restore();
    }
    return drawn;
}

}  // namespace torvex
