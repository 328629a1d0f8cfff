#include "profile/MarkPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace torvex {

void PaintMarks(QPainter& painter, const std::vector<TMark>& marks, const TMarkStyle& style) {
    painter.setFont(style.Font);
    const QFontMetrics metrics(style.Font, painter.device());
    for (const TMark& mark : marks) {
        switch (mark.Kind) {
            case TMarkKind::Line:
                painter.setPen(QPen(style.Lines, mark.Pen, Qt::SolidLine, Qt::FlatCap));
                painter.drawLine(mark.Points[0].X, mark.Points[0].Y, mark.Points[1].X,
                                 mark.Points[1].Y);
                break;
            case TMarkKind::Wall: {
                QPolygon polygon;
                for (const TPixel& point : mark.Points) polygon << QPoint(point.X, point.Y);
                painter.setPen(QPen(style.WallFill, mark.Pen));
                painter.setBrush(style.WallFill);
                painter.drawPolygon(polygon);
                painter.setBrush(Qt::NoBrush);
                break;
            }
            case TMarkKind::Circle:
                painter.setPen(QPen(style.Lines, mark.Pen));
                painter.setBrush(Qt::white);
                painter.drawEllipse(QRect(QPoint(mark.Points[0].X, mark.Points[0].Y),
                                          QPoint(mark.Points[1].X, mark.Points[1].Y)));
                painter.setBrush(Qt::NoBrush);
                break;
            case TMarkKind::Text: {
                // Texts stand with their top-left corner at the point, line after line.
                painter.setPen(style.Text);
                const int top = mark.Points[0].Y + mark.TextLine * metrics.height();
                painter.drawText(QPoint(mark.Points[0].X, top + metrics.ascent()),
                                 QString::fromStdString(mark.Text));
                break;
            }
        }
    }
}

}  // namespace torvex
