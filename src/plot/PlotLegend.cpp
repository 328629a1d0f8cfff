#include "plot/PlotLegend.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "plot/PlotGeometry.h"
#include "plot/PlotPainter.h"
#include "plot/PltData.h"

namespace torvex {

TPlotLegend::TPlotLegend(TGraphPlot& graph, QWidget* parent) : QWidget(parent), graph_(graph) {
    setObjectName("Legend");
    setCursor(Qt::SizeAllCursor);
}

QFont TPlotLegend::EntryFont() const {
    QFont font(SerifFamily());
    font.setPointSize(fontSize_);
    return font;
}

void TPlotLegend::Rebuild() {
    entries_.clear();
    for (int i = 0; i < graph_.Lines.Count(); ++i)
        if (graph_.Lines[i].Active) entries_.push_back(i);
    Fit();
    update();
}

void TPlotLegend::SetFontSize(int points, int itemHeight) {
    fontSize_ = std::max(points, 1);
    itemHeight_ = std::max(itemHeight, 1);
    Fit();
    update();
}

QString TPlotLegend::EntryText(int k) const {
    const int curve = CurveOf(k);
    QString text = QString::fromStdString(graph_.LegendLabel(curve));
    if (graph_.Lines[curve].Visible) text += " *";
    return text;
}

void TPlotLegend::Fit() {
    const QFontMetrics metrics(EntryFont());
    int widest = 0;
    for (int k = 0; k < Count(); ++k)
        widest = std::max(widest, metrics.horizontalAdvance(
                                      QString::fromStdString(graph_.LegendLabel(CurveOf(k))) + " *"));
    resize(std::max(widest + logicalDpiX() / 4, 21), Count() * itemHeight_ + 3);
}

void TPlotLegend::paintEvent(QPaintEvent*) {
    for (int curve : entries_)
        if (curve >= graph_.Lines.Count()) {  // the graph lost curves: entries anew
            Rebuild();
            break;
        }
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setFont(EntryFont());
    const QFontMetrics metrics(p.font());
    for (int k = 0; k < Count(); ++k) {
        p.setPen(CurveColour(k));
        const int top = 1 + k * itemHeight_;
        p.drawText(QRect(3, top, width() - 4, itemHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                   EntryText(k));
    }
    p.setPen(Qt::black);
    p.drawRect(0, 0, width() - 1, height() - 1);
}

void TPlotLegend::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    grab_ = event->position().toPoint();
}

void TPlotLegend::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !parentWidget()) return;
    const QPoint topLeft = mapToParent(event->position().toPoint()) - grab_;
    const TPixelPoint kept = KeepInside({topLeft.x(), topLeft.y()}, width(), height(),
                                        parentWidget()->width(), parentWidget()->height());
    move(kept.X, kept.Y);
    moved_ = true;
}

void TPlotLegend::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

void TPlotLegend::mouseDoubleClickEvent(QMouseEvent* event) {
    const int k = (static_cast<int>(event->position().y()) - 1) / itemHeight_;
    if (k < 0 || k >= Count()) return;
    if (OnToggle) OnToggle(CurveOf(k));
}

}  // namespace torvex
