#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>

namespace torvex {
namespace {

constexpr int kSize = 18;

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    // Drawn again at each pixel ratio, so that the buttons stay sharp on a scaled screen.
    QIcon icon;
    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        QPixmap pixmap(QSize(kSize, kSize) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void Page(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    QPolygonF sheet({{3.5, 1.5}, {11.5, 1.5}, {14.5, 4.5}, {14.5, 16.5}, {3.5, 16.5}});
    p.drawPolygon(sheet);
}

// Axes of a depth diagram: depth downwards at the left, the value across the top.
void DepthAxes(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(3.5, 2.5), QPointF(3.5, 16.5));
    p.drawLine(QPointF(3.5, 2.5), QPointF(16.5, 2.5));
}

// A curve along the depth: x = f(t) for t from 0 at the top to 1 at the bottom.
void DepthCurve(QPainter& p, const QColor& colour, const std::function<double(double)>& f) {
    QPainterPath path;
    for (int i = 0; i <= 20; ++i) {
        const double t = i / 20.0;
        const QPointF point(3.5 + 12.0 * f(t), 2.5 + 14.0 * t);
        if (i == 0) path.moveTo(point); else path.lineTo(point);
    }
    p.setPen(QPen(colour, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

}  // namespace

QIcon ToolIcon(const QString& name) {
    if (name == "SpeedButton1") return Drawn([](QPainter& p) { Page(p); });
    if (name == "SpeedButton2")
        return Drawn([](QPainter& p) {
            p.setPen(QPen(QColor(120, 90, 0), 1));
            p.setBrush(QColor(240, 200, 80));
            p.drawRect(QRectF(1.5, 5.5, 15, 10));
            p.drawRect(QRectF(1.5, 3.5, 6, 2));
        });
    if (name == "SpeedButton3")
        return Drawn([](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(QRectF(2.5, 2.5, 13, 13));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5.5, 2.5, 7, 5));
            p.drawRect(QRectF(4.5, 10.5, 9, 5));
        });
    if (name == "SpeedButton4")
        return Drawn([](QPainter& p) {
            p.setPen(QPen(QColor(0, 100, 0), 1));
            p.setBrush(QColor(40, 170, 40));
            p.drawPolygon(QPolygonF({{4.5, 2.5}, {15.5, 9}, {4.5, 15.5}}));
        });
    if (name == "SpeedButton7")  // excavation in steps
        return Drawn([](QPainter& p) {
            p.setPen(QPen(QColor(90, 60, 20), 1));
            p.setBrush(QColor(200, 160, 100));
            p.drawPolygon(QPolygonF({{1.5, 16.5}, {1.5, 4.5}, {6.5, 4.5}, {6.5, 8.5}, {11.5, 8.5},
                                     {11.5, 12.5}, {16.5, 12.5}, {16.5, 16.5}}));
        });
    if (name == "SpeedButton5")
        return Drawn([](QPainter& p) {
            Page(p);
            p.setPen(QPen(Qt::darkGray, 1));
            for (int y = 5; y <= 14; y += 3) p.drawLine(QPointF(5.5, y + 0.5), QPointF(12.5, y + 0.5));
        });
    if (name == "SpeedButton20")  // a page with a tick: the design answers
        return Drawn([](QPainter& p) {
            Page(p);
            p.setPen(QPen(QColor(0, 130, 0), 2));
            p.drawPolyline(QPolygonF({{5.5, 9.5}, {8, 13}, {13, 5}}));
        });
    if (name == "SpeedButton6")  // wall in layered soil
        return Drawn([](QPainter& p) {
            const QColor layers[] = {QColor(220, 190, 120), QColor(170, 130, 80), QColor(120, 100, 80)};
            for (int i = 0; i < 3; ++i) p.fillRect(QRectF(1, 4 + 4.5 * i, 16, 4.5), layers[i]);
            p.fillRect(QRectF(8, 1, 2.5, 16), QColor(80, 80, 90));
        });
    if (name == "SpeedButton13")  // p-y curve
        return Drawn([](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(2.5, 15.5), QPointF(16.5, 15.5));
            p.drawLine(QPointF(2.5, 15.5), QPointF(2.5, 1.5));
            QPainterPath path(QPointF(2.5, 15.5));
            path.cubicTo(QPointF(5, 5), QPointF(8, 4), QPointF(16, 4));
            p.setPen(QPen(Qt::blue, 1.6));
            p.drawPath(path);
        });
    if (name == "SpeedButton8")
        return Drawn([](QPainter& p) {
            DepthAxes(p);
            DepthCurve(p, Qt::blue, [](double t) { return 0.9 * (1 - t) * (1 - t); });
        });
    if (name == "SpeedButton11")
        return Drawn([](QPainter& p) {
            DepthAxes(p);
            DepthCurve(p, Qt::red, [](double t) { return 0.9 * std::sin(3.14159 * t) * (1 - 0.4 * t); });
        });
    if (name == "SpeedButton10")
        return Drawn([](QPainter& p) {
            DepthAxes(p);
            DepthCurve(p, QColor(0, 130, 0), [](double t) { return 0.45 + 0.45 * std::cos(3.14159 * t); });
        });
    if (name == "SpeedButton12")
        return Drawn([](QPainter& p) {
            DepthAxes(p);
            DepthCurve(p, QColor(150, 80, 0), [](double t) { return t < 0.4 ? 0.0 : 0.9 * std::sin(3.14159 * (t - 0.4) / 0.6); });
        });
    if (name == "SpeedButton19")
        return Drawn([](QPainter& p) {
            DepthAxes(p);
            DepthCurve(p, Qt::blue, [](double t) { return 0.9 * (1 - t) * (1 - t); });
            DepthCurve(p, Qt::red, [](double t) { return 0.8 * std::sin(3.14159 * t); });
            DepthCurve(p, QColor(0, 130, 0), [](double t) { return 0.4 + 0.4 * std::cos(3.14159 * t); });
        });
    if (name == "SpeedButton9")  // pressure triangle
        return Drawn([](QPainter& p) {
            DepthAxes(p);
            p.setPen(QPen(QColor(150, 0, 150), 1));
            p.setBrush(QColor(220, 160, 220));
            p.drawPolygon(QPolygonF({{3.5, 2.5}, {15.5, 16.5}, {3.5, 16.5}}));
        });
    return QIcon();
}

QIcon StageIcon(int stage) {
    return Drawn([stage](QPainter& p) {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(13);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QString::number(stage));
    });
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);  // drawn on a 64 x 64 grid
        // A rounded tile, the retained soil at the left, the excavated side lower at the right.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 242, 250));
        p.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);
        p.setBrush(QColor(196, 160, 100));
        p.drawRect(QRectF(4, 20, 28, 40));
        p.drawRect(QRectF(32, 38, 28, 22));
        // The wall, and its deflected shape bowing towards the excavation.
        p.setBrush(QColor(70, 80, 95));
        p.drawRect(QRectF(29, 8, 6, 52));
        QPainterPath line;
        line.moveTo(41, 8);
        line.cubicTo(40, 24, 36, 42, 35, 58);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(line);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace torvex
