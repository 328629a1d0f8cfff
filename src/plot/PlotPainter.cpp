#include "plot/PlotPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QPolygonF>
#include <QLineF>
#include <QList>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "plot/PlotExport.h"
#include "plot/PlotState.h"
#include "plot/PltData.h"
#include "plot/SoilColumn.h"

namespace torvex {

QColor CurveColour(int k) {
    static constexpr std::array<QRgb, kCurveColourCount> kColours{
        qRgb(0, 0, 0),     qRgb(0, 0, 255),     qRgb(255, 0, 0),     qRgb(0, 128, 0),
        qRgb(128, 0, 128), qRgb(128, 0, 0),     qRgb(0, 0, 128),     qRgb(255, 0, 255),
        qRgb(128, 128, 0), qRgb(0, 128, 128),   qRgb(128, 128, 128), qRgb(0, 255, 0),
        qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(192, 192, 192), qRgb(255, 255, 0),
        qRgb(0, 255, 255)};
    return QColor(kColours[static_cast<size_t>(((k % kCurveColourCount) + kCurveColourCount) %
                                               kCurveColourCount)]);
}

QString SerifFamily() {
    // fontconfig maps "Times New Roman" to Liberation Serif, which has the same metrics.
    return QStringLiteral("Times New Roman");
}

namespace {

QFont SerifFont(int pixelHeight, int weight) {
    QFont font(SerifFamily());
    font.setPixelSize(std::max(pixelHeight, 1));
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

// Text centred horizontally on `centreX` with its top at `top`.
void TextCentred(QPainter& p, int centreX, int top, const QString& text) {
    const QFontMetrics metrics(p.font());
    p.drawText(centreX - metrics.horizontalAdvance(text) / 2, top + metrics.ascent(), text);
}

// Text turned a quarter to the left (reading upward), its top edge at `left`, centred
// vertically on `centreY`.
void TextRotated(QPainter& p, int left, int centreY, const QString& text) {
    const QFontMetrics metrics(p.font());
    p.save();
    p.translate(left, centreY);
    p.rotate(-90);
    p.drawText(-metrics.horizontalAdvance(text) / 2, metrics.ascent(), text);
    p.restore();
}

void PaintCaptions(QPainter& p, const TPlotState& s) {
    const TGraphPlot& g = s.Graph();
    const int h = s.H(), dpiY = s.DpiY();
    const TPixelRect& page = s.Layout().Page;
    const bool title = !g.Title.empty();
    p.setFont(SerifFont(h, 700));
    p.setPen(Qt::black);
    const int textHeight = QFontMetrics(p.font()).height();
    if (title) {
        const int top = g.TitleOnTop ? page.Top : page.Bottom - textHeight;
        TextCentred(p, page.Left + page.Width() / 2, top, ToQ(g.Title));
    }
    if (!s.ThreePanels()) {
        int top;
        if (g.XOnTop) top = page.Top + (title && g.TitleOnTop ? h / 8 + h : 0);
        else top = page.Bottom - textHeight - (title && !g.TitleOnTop ? h / 8 + h : 0);
        TextCentred(p, page.Left + page.Width() / 2, top, ToQ(g.XAxisLabel(1)));
        TextRotated(p, page.Left, page.Top + page.Height() / 2, ToQ(g.YAxisLabel(1)));
        return;
    }
    for (int i = 0; i < 3; ++i) {
        const TPixelRect& r = s.Panel(i).Map.Rect;
        int top;
        if (g.XOnTop) top = page.Top + dpiY / 16 + (title && g.TitleOnTop ? dpiY / 4 : 0);
        else top = page.Bottom - dpiY / 16 - textHeight - (title && !g.TitleOnTop ? dpiY / 4 : 0);
        TextCentred(p, (r.Left + r.Right) / 2, top, ToQ(g.XAxisLabel(i + 1)));
        // Left of the panel's tick labels (one text height and dpiX/32 wide) with a gap.
        const int left = r.Left - 2 * textHeight - s.DpiX() / 32 - s.DpiX() / 32;
        TextRotated(p, left, (r.Top + r.Bottom) / 2, ToQ(g.YAxisLabel(i + 1)));
    }
}

void PaintTicks(QPainter& p, const TPlotState& s, const TPanelView& panel, const TPaintOptions& options) {
    if (!panel.XTicks.Shown || !panel.YTicks.Shown) return;
    const TGraphPlot& g = s.Graph();
    const TPixelRect& r = panel.Map.Rect;
    const int dpiX = s.DpiX(), dpiY = s.DpiY();
    p.setFont(SerifFont(s.H(), 400));
    const QFontMetrics metrics(p.font());
    const QPen tickPen(Qt::black, 1);
    const auto label = [&options](long double v) {
        return ToQ(options.TickText ? options.TickText(v) : TickLabel(v));
    };
    // Labels keep the width of a blank between them; the grid and ticks are all drawn.
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const auto stride = [&](const TAxisTicks& ticks, long double pixelsPerUnit) {
        int widest = 0;
        for (long long k = ticks.First; k <= ticks.Last; ++k)
            if (k % 5 == 0) widest = std::max(widest, metrics.horizontalAdvance(label(k * ticks.Minor)));
        return LabelStride(widest, gap, ticks.Major * pixelsPerUnit);
    };
    const int xStride = stride(panel.XTicks, r.Width() / panel.Map.Range.XSpan());
    const int yStride = stride(panel.YTicks, r.Height() / panel.Map.Range.YSpan());
    for (long long k = panel.XTicks.First; k <= panel.XTicks.Last; ++k) {
        const long double v = k * panel.XTicks.Minor;
        const int x = panel.Map.XPixel(v);
        if (x < r.Left || x > r.Right) continue;
        if (k % 5 == 0) {
            p.setPen(GridPen(dpiY));
            p.drawLine(x, r.Top, x, r.Bottom);
            p.setPen(tickPen);
            const int top = g.XOnTop ? r.Top - dpiY / 32 - metrics.height() : r.Bottom + dpiY / 16;
            if (LabelledTick(k, xStride)) TextCentred(p, x, top, label(v));
        }
        p.setPen(tickPen);
        if (g.XOnTop) p.drawLine(x, r.Top, x, r.Top + dpiY / 16);
        else p.drawLine(x, r.Bottom, x, r.Bottom - dpiY / 16);
    }
    for (long long k = panel.YTicks.First; k <= panel.YTicks.Last; ++k) {
        const long double v = k * panel.YTicks.Minor;
        const int y = panel.Map.YPixel(v);
        if (y < r.Top || y > r.Bottom) continue;
        if (k % 5 == 0) {
            p.setPen(GridPen(dpiX));
            p.drawLine(r.Left, y, r.Right, y);
            p.setPen(tickPen);
            if (LabelledTick(k, yStride))
                TextRotated(p, r.Left - metrics.height() - dpiX / 32, y, label(v));
        }
        p.setPen(tickPen);
        p.drawLine(r.Left, y, r.Left + dpiX / 16, y);
    }
}

void PaintCurves(QPainter& p, const TPlotState& s, const TPanelView& panel, const TCurveSet& set,
                 const TPaintOptions& options) {
    const TGraphPlot& g = s.Graph();
    if (set.Count() < 1 || set.PointCount() < 2) return;
    const TPixelRect& r = panel.Map.Rect;
    p.save();
    p.setClipRect(r.Left, r.Top, r.Width() + 1, r.Height() + 1);
    p.setRenderHint(QPainter::Antialiasing, options.AntiAliasCurves);
    // Antialiased lines of odd width sit on pixel centres, where the aliased ones fall.
    const qreal shift = options.AntiAliasCurves ? 0.5 : 0.0;
    const int width = (RoundHalfEven(s.DpiX() / 300.0L) + 1) * g.WidthLine;
    const int rx = s.DpiX() / 32, ry = s.DpiY() / 32;
    // Several stages in three panels: each curve's last point is not joined.
    const bool dropLast = s.ThreePanels() && set.Count() > 1;
    int drawn = 0;
    QPolygonF line;
    QList<QLineF> edges;
    for (int i = 0; i < set.Count() && i < g.Lines.Count(); ++i) {
        const TLine& flags = g.Lines[i];
        if (!flags.Active) continue;
        const int colour = drawn++;
        if (!flags.Visible) continue;
        const TLine& curve = set[i];
        const int count = curve.PointCount() - (dropLast ? 1 : 0);
        if (count < 1) continue;
        p.setPen(QPen(CurveColour(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        line.resize(count);
        for (int j = 0; j < count; ++j) {
            const TFloatPoint& pt = curve.Point(j);
            line[j] = QPointF(panel.Map.XPixel(pt.X) + shift, panel.Map.YPixel(pt.Y) + shift);
        }
        p.drawPolyline(line);
        if (g.Markers <= 0) continue;
        // Every marker of a curve has the same corners around its point: worked out once,
        // and all the outlines stroked in one call (hundreds of small polygons are slow).
        const std::vector<TPixelPoint> corners = MarkerCorners(i, 0, 0, rx, ry);
        const qsizetype sides = static_cast<qsizetype>(corners.size());
        edges.clear();
        edges.reserve((count / g.Markers + 1) * sides);
        for (int j = 0; j < count; j += g.Markers) {
            const QPointF at = line[j];
            for (qsizetype c = 0; c < sides; ++c) {
                const TPixelPoint& a = corners[static_cast<size_t>(c)];
                const TPixelPoint& b = corners[static_cast<size_t>((c + 1) % sides)];
                edges.append(QLineF(at.x() + a.X, at.y() + a.Y, at.x() + b.X, at.y() + b.Y));
            }
        }
        p.drawLines(edges);
    }
    p.restore();
}

void PaintSoilColumn(QPainter& p, const TPlotState& s, const TPaintOptions& options) {
    const TPlotLayout& layout = s.Layout();
    if (!layout.HasColumn) return;
    const TPixelRect& c = layout.Column;
    const TSoilColumn column = SoilColumnOf(s.Graph(), c, s.Panel(0).Map);
    p.save();
    p.setClipRect(c.Left, c.Top, c.Width() + 1, c.Height() + 1);
    p.setBrushOrigin(c.Left, c.Top);
    p.setFont(SerifFont(s.H(), 400));
    for (const TSoilBand& band : column.Bands) {
        const QRect rect(band.Rect.Left, band.Rect.Top, band.Rect.Width(), band.Rect.Height());
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(rect);
        p.setBrush(FillBrush(band.Code, options.Patterns));
        p.drawRect(rect);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect);
        if (band.Label.empty()) continue;
        const QString label = ToQ(band.Label);
        const QFontMetrics metrics(p.font());
        const QRect box(0, 0, metrics.horizontalAdvance(label), metrics.height());
        p.fillRect(box.translated(rect.center() - box.center()), Qt::white);
        p.drawText(rect, Qt::AlignCenter, label);
    }
    if (column.HasWall) {
        const TPixelRect& w = column.Wall;
        p.setPen(QPen(QColor(128, 128, 128), 1));
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(w.Left, w.Top, w.Width(), w.Height());
    }
    p.restore();
}

}  // namespace

QPen GridPen(int dpi) {
    QPen pen(Qt::black, 0, Qt::CustomDashLine);  // width 0: cosmetic, one pixel
    pen.setCosmetic(true);
    const qreal unit = std::max(1, dpi / 96);
    pen.setDashPattern({unit, 2 * unit});
    return pen;
}

std::vector<TPixelCurve> CurvePixels(const TPlotState& state) {
    const TGraphPlot& g = state.Graph();
    const std::array<const TCurveSet*, 3> sets{&g.Lines, &g.Lines2, &g.Lines3};
    std::vector<TPixelCurve> curves;
    for (int k = 0; k < state.PanelCount(); ++k) {
        const TCurveSet& set = *sets[static_cast<size_t>(k)];
        const TPlotMapping& map = state.Panel(k).Map;
        for (int i = 0; i < set.Count() && i < g.Lines.Count(); ++i) {
            if (!g.Lines[i].Active || !g.Lines[i].Visible) continue;
            TPixelCurve& curve = curves.emplace_back();
            for (int j = 0; j < set[i].PointCount(); ++j) {
                const TFloatPoint& pt = set[i].Point(j);
                curve.push_back({map.XPixel(pt.X), map.YPixel(pt.Y)});
            }
        }
    }
    return curves;
}

namespace {

struct TLegendText {
    QFont font;
    std::vector<std::pair<int, QString>> entries;  // legend position, text
};

TLegendText LegendTextOf(const TPlotState& state) {
    TLegendText legend{SerifFont(state.H(), 400), {}};
    for (const auto& [position, label] : PageLegendEntries(state.Graph()))
        legend.entries.emplace_back(position, ToQ(label));
    return legend;
}

}  // namespace

TPixelRect PageLegendSize(const TPlotState& state) {
    const TLegendText legend = LegendTextOf(state);
    if (legend.entries.empty()) return {};
    const QFontMetrics metrics(legend.font);
    int w = 0;
    for (const auto& entry : legend.entries) w = std::max(w, metrics.horizontalAdvance(entry.second));
    const int n = static_cast<int>(legend.entries.size());
    return {0, 0, w + 3 * state.DpiX() / 16, n * (state.DpiY() / 32 + metrics.height()) + state.DpiY() / 32};
}

TLegendPlace PageLegendPlace(const TPlotState& state) {
    const TPixelRect size = PageLegendSize(state);
    // A curve's pen and markers reach a marker's radius beyond its line.
    return PlaceLegend(state.Layout().Plot, size.Width(), size.Height(), CurvePixels(state), 0,
                       state.DpiX() / 32 + 1);
}

void PaintPageLegend(QPainter& painter, const TPlotState& state) {
    PaintPageLegend(painter, state, PageLegendPlace(state).Box);
}

void PaintPageLegend(QPainter& painter, const TPlotState& state, const TPixelRect& box) {
    const TLegendText legend = LegendTextOf(state);
    if (legend.entries.empty()) return;
    const int dpiX = state.DpiX();
    const int dpiY = state.DpiY();
    painter.save();
    painter.setFont(legend.font);
    const QFontMetrics metrics(painter.font());
    const int t = metrics.height();
    const int left = box.Left, top = box.Top;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box.Left, box.Top, box.Width(), box.Height());
    // The markers of the curves, at their size there.
    const int rx = dpiX / 32;
    const int ry = dpiY / 32;
    for (size_t r = 0; r < legend.entries.size(); ++r) {
        const auto& [index, text] = legend.entries[r];
        const int y = top + dpiY / 32 + static_cast<int>(r) * (dpiY / 32 + t);
        const QColor colour = CurveColour(index % kCurveColourCount);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(Qt::NoBrush);
        QPolygon marker;
        for (const TPixelPoint& corner : MarkerCorners(index, left + dpiX / 16, y + t / 2, rx, ry))
            marker << QPoint(corner.X, corner.Y);
        painter.drawPolygon(marker);
        painter.drawText(left + 2 * dpiX / 16, y + metrics.ascent(), text);
    }
    painter.restore();
}

void PaintGraph(QPainter& p, const TPlotState& s, const TPaintOptions& options) {
    const TPixelRect& page = s.Layout().Page;
    p.fillRect(page.Left, page.Top, page.Width(), page.Height(), Qt::white);
    if (page.Width() < s.DpiX() || page.Height() < s.DpiY()) return;
    const TGraphPlot& g = s.Graph();
    PaintCaptions(p, s);
    const std::array<const TCurveSet*, 3> sets{&g.Lines, &g.Lines2, &g.Lines3};
    for (int i = 0; i < s.PanelCount(); ++i) {
        PaintTicks(p, s, s.Panel(i), options);
        PaintCurves(p, s, s.Panel(i), *sets[static_cast<size_t>(i)], options);
    }
    if (options.PageLegend) PaintPageLegend(p, s);
    if (g.ShowLayers) PaintSoilColumn(p, s, options);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < s.PanelCount(); ++i) {
        const TPixelRect& r = s.Panel(i).Map.Rect;
        p.drawRect(r.Left, r.Top, r.Width(), r.Height());
    }
}

void PaintPageWithLegend(QPainter& painter, TPlotState& state, const TPixelRect& page, int dpiX, int dpiY,
                         int fontHeight, TPageKind kind, TPaintOptions options) {
    state.LayOut(page, dpiX, dpiY, fontHeight, kind);
    TLegendPlace place = PageLegendPlace(state);
    if (!options.PageLegend || place.Corner != TLegendCorner::Outside) {
        PaintGraph(painter, state, options);
        return;
    }
    // Every corner is taken: the legend goes in a strip at the foot of the page, under the
    // plot and whatever stands below it.
    const int height = place.Box.Height();
    const int gap = dpiY / 8;
    const TPixelRect shortened{page.Left, page.Top, page.Right, page.Bottom - height - gap};
    state.LayOut(shortened, dpiX, dpiY, fontHeight, kind);
    const int right = state.Layout().Plot.Right;
    options.PageLegend = false;
    PaintGraph(painter, state, options);
    painter.fillRect(page.Left, shortened.Bottom, page.Width(), page.Bottom - shortened.Bottom, Qt::white);
    PaintPageLegend(painter, state, {right - place.Box.Width(), page.Bottom - height, right, page.Bottom});
}

}  // namespace torvex
