#include "report/ReportPanels.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot/PlotGeometry.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"

namespace torvex {
namespace {

struct TAxis {
    double low = 0, high = 1;
    double Pixel(double v, double from, double to) const { return from + (v - low) / (high - low) * (to - from); }
};

// A value axis from the curves' range, zero included, widened to round numbers.
TAxis ValueAxis(const TDepthPanel& panel) {
    long double low = 0, high = 0;
    for (const TDepthCurve& c : panel.curves)
        for (const QPointF& p : c.points)
            if (std::isfinite(p.x())) low = std::min<long double>(low, p.x()), high = std::max<long double>(high, p.x());
    RoundAxis(low, high);
    return {static_cast<double>(low), static_cast<double>(high)};
}

QString Tick(long double v) { return Figure(static_cast<double>(v)); }

}  // namespace

void DrawDepthPanels(TReportCanvas& canvas, const std::vector<TDepthPanel>& panels, double depthMax,
                     const QString& lengthUnit, const std::vector<TLegendEntry>& legend, double height) {
    const QRectF body = canvas.Body();
    const double top = canvas.Y();
    canvas.Advance(height);
    QPainter* p = canvas.Painter();
    if (!p || panels.empty() || !(depthMax > 0)) return;
    const QFont font = canvas.TextFont(0.8), titleFont = canvas.TextFont(0.85, true);
    const double line = canvas.LineHeight(font);
    // Legend rows below, the titles and tick labels above, the depth labels on the left.
    const int perRow = 4;
    const int legendRows = (static_cast<int>(legend.size()) + perRow - 1) / perRow;
    const double depthRoom = canvas.TextWidth(font, "0000.0") + 2.5 * line;
    const double gap = canvas.Points(14);
    const QRectF frame(body.left() + depthRoom, top + 3.2 * line, body.width() - depthRoom,
                       height - 3.2 * line - (legendRows + 0.8) * line - canvas.Points(4));
    const double width = (frame.width() - gap * (panels.size() - 1)) / panels.size();
    const auto row = [&](double depth) { return frame.top() + depth / depthMax * frame.height(); };

    p->save();
    QPen grid(QColor(150, 150, 150), canvas.Points(0.3), Qt::DotLine);
    // The depth axis, shared: ticks and labels on the left of the first panel.
    const TAxisTicks depthTicks = AxisTicks(0, depthMax, std::max(2, static_cast<int>(frame.height() / (3 * line))));
    p->setFont(font);
    for (long long k = depthTicks.First; k <= depthTicks.Last; ++k) {
        if (k % 5 != 0) continue;
        const long double d = k * depthTicks.Minor;
        if (d < 0 || d > depthMax * (1 + 1e-9)) continue;
        const double y = row(static_cast<double>(d));
        p->setPen(Qt::black);
        p->drawText(QRectF(body.left() + 1.5 * line, y - line / 2, depthRoom - 1.5 * line - canvas.Points(3), line),
                    Qt::AlignRight | Qt::AlignVCenter, Tick(d));
    }
    p->save();
    p->translate(body.left() + line, frame.center().y());
    p->rotate(-90);
    p->drawText(QRectF(-frame.height() / 2, -line, frame.height(), line * 1.2), Qt::AlignCenter,
                "Depth below the wall top (" + lengthUnit + ")");
    p->restore();

    for (size_t i = 0; i < panels.size(); ++i) {
        const TDepthPanel& panel = panels[i];
        const QRectF r(frame.left() + i * (width + gap), frame.top(), width, frame.height());
        const TAxis axis = ValueAxis(panel);
        const auto column = [&](double v) { return axis.Pixel(v, r.left(), r.right()); };
        p->setFont(titleFont);
        p->setPen(Qt::black);
        p->drawText(QRectF(r.left() - gap / 2, top, r.width() + gap, 1.3 * line), Qt::AlignCenter, panel.title);
        // Grid and value ticks, labelled along the top.
        p->setFont(font);
        const TAxisTicks ticks = AxisTicks(axis.low, axis.high, std::max(2, static_cast<int>(r.width() / (5 * line))));
        double lastRight = -1e300;
        for (long long k = ticks.First; k <= ticks.Last; ++k) {
            if (k % 5 != 0) continue;
            const long double v = k * ticks.Minor;
            const double x = column(static_cast<double>(v));
            if (x < r.left() - 0.5 || x > r.right() + 0.5) continue;
            p->setPen(grid);
            p->drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
            const QString label = Tick(v);
            const double w = canvas.TextWidth(font, label);
            if (x - w / 2 < lastRight + canvas.Points(3)) continue;
            lastRight = x + w / 2;
            p->setPen(Qt::black);
            p->drawText(QRectF(x - w / 2 - line, r.top() - 1.6 * line, w + 2 * line, line), Qt::AlignCenter, label);
        }
        for (long long k = depthTicks.First; k <= depthTicks.Last; ++k) {
            if (k % 5 != 0) continue;
            const double d = static_cast<double>(k * depthTicks.Minor);
            if (d < 0 || d > depthMax * (1 + 1e-9)) continue;
            p->setPen(grid);
            p->drawLine(QPointF(r.left(), row(d)), QPointF(r.right(), row(d)));
        }
        // The zero line, solid.
        p->setPen(QPen(QColor(90, 90, 90), canvas.Points(0.5)));
        p->drawLine(QPointF(column(0), r.top()), QPointF(column(0), r.bottom()));
        p->save();
        p->setClipRect(r.adjusted(-canvas.Points(1), -canvas.Points(1), canvas.Points(1), canvas.Points(1)));
        p->setRenderHint(QPainter::Antialiasing, true);
        for (const TDepthCurve& c : panel.curves) {
            QPolygonF polyline;
            for (const QPointF& pt : c.points) polyline << QPointF(column(pt.x()), row(pt.y()));
            QPen pen(c.colour, canvas.Points(c.points_), c.dashed ? Qt::DashLine : Qt::SolidLine);
            p->setPen(pen);
            p->drawPolyline(polyline);
        }
        p->restore();
        // The notes: a dot on the point, the text on the side with more room.
        for (const TPanelNote& note : panel.notes) {
            const QPointF at(column(note.value), row(note.depth));
            p->setPen(Qt::NoPen);
            p->setBrush(Qt::black);
            p->drawEllipse(at, canvas.Points(1.8), canvas.Points(1.8));
            p->setBrush(Qt::NoBrush);
            const double w = canvas.TextWidth(font, note.text) + canvas.Points(4);
            const bool right = at.x() - r.left() < r.right() - at.x();
            QRectF box(right ? at.x() + canvas.Points(3) : at.x() - canvas.Points(3) - w, at.y() - 1.2 * line, w, line);
            if (box.top() < r.top()) box.moveTop(at.y() + 0.2 * line);
            box.moveLeft(std::clamp(box.left(), r.left() + canvas.Points(1), std::max(r.left(), r.right() - w)));
            p->fillRect(box, QColor(255, 255, 255, 220));
            p->setPen(Qt::black);
            p->drawText(box, Qt::AlignCenter, note.text);
        }
        p->setPen(QPen(Qt::black, canvas.Points(0.6)));
        p->drawRect(r);
    }

    // The legend, in rows below the panels.
    const double legendTop = frame.bottom() + 0.8 * line;
    const double cell = frame.width() / perRow;
    for (size_t k = 0; k < legend.size(); ++k) {
        const TLegendEntry& e = legend[k];
        const double x = frame.left() + (k % perRow) * cell;
        const double y = legendTop + (k / perRow) * line + line / 2;
        p->setPen(QPen(e.colour, canvas.Points(e.points_ + 0.4), e.dashed ? Qt::DashLine : Qt::SolidLine));
        p->drawLine(QPointF(x, y), QPointF(x + 2 * line, y));
        p->setPen(Qt::black);
        p->drawText(QRectF(x + 2.5 * line, y - line / 2, cell - 2.5 * line, line), Qt::AlignLeft | Qt::AlignVCenter,
                    e.label);
    }
    p->restore();
}

}  // namespace torvex
