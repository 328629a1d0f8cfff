#include "report/ReportGraphs.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>
#include <utility>

#include "dataentry/Units.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotPainter.h"
#include "plot/PlotState.h"
#include "plot/ResultGraphs.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"

namespace torvex {
namespace {

// The height of the graph windows' font at 96 dpi, as a printed graph takes it.
constexpr int kGraphFontHeightAt96Dpi = 16;
constexpr double kTopInch = 0.3, kRightInch = 0.4, kBottomInch = 0.3;

void DrawGraphPage(TReportCanvas& canvas, const TGraphPlot& graph, const QString& title) {
    // A graph takes the rest of its page, which is most of one.
    canvas.Heading(title, 1, true, true, 0.6 * canvas.Body().height());
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
    options.TickText = [](long double v) { return Figure(static_cast<double>(v)).toStdString(); };
    painter->save();
    painter->setClipRect(area);
    PaintPageWithLegend(*painter, state, rect, dpiX, dpiY, kGraphFontHeightAt96Dpi * dpiY / 96, TPageKind::Printed,
                        options);
    painter->restore();
}

// Multiplies every point of a graph's curves by the factors, X across and Y down.
void Scale(TGraphPlot& graph, long double x, long double y) {
    TCurveSet& set = graph.Lines;
    for (int i = 0; i < set.Count(); ++i)
        for (int j = 0; j < set[i].PointCount(); ++j) {
            set[i].Point(j).X *= x;
            set[i].Point(j).Y *= y;
        }
}

// A caption with its unit written out; the graph's unit codes are then not used.
void Caption(TGraphPlot& graph, const QString& x, const QString& y) {
    graph.XCaption = x.toStdString();
    graph.XUnits.clear();
    graph.YCaption = y.toStdString();
    graph.YUnits.clear();
}

}  // namespace

void UseReportUnits(TResultGraphs& g) {
    const int unitCode = g.pltDef.Units();
    const TReportUnits u = ReportUnits(unitCode);
    // The plot file reader's depths in feet and forces in kips, in English units alone.
    const bool english = unitCode == kUnitsEnglish;
    const long double inchesPerFoot = english ? 12 : 1, poundsPerKip = english ? 1000 : 1;
    for (TGraphPlot* graph : {&g.pltDef, &g.pltSoil, &g.pltLD}) Scale(*graph, 1, inchesPerFoot);
    for (TGraphPlot* graph : {&g.pltMom, &g.pltShear}) Scale(*graph, poundsPerKip, inchesPerFoot);
    const QString depth = "Depth (" + u.length + ")";
    Caption(g.pltDef, "Deflection (" + u.length + ")", depth);
    Caption(g.pltMom, "Bending moment (" + u.moment + ")", depth);
    Caption(g.pltShear, "Shear (" + u.force + ")", depth);
    Caption(g.pltSoil, "Soil reaction (" + u.lineLoad + ")", depth);
    Caption(g.pltLD, "Earth pressure (" + u.lineLoad + ")", depth);
    Caption(g.pltPY, "y (" + u.length + ")", "p (" + u.lineLoad + ")");
}

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
