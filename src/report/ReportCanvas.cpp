#include "report/ReportCanvas.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <utility>
#include <vector>


namespace torvex {
namespace {

constexpr double kMarginInches = 0.75;
constexpr double kTextPoints = 9;

}  // namespace

TReportCanvas::TReportCanvas(QPagedPaintDevice& device, QPainter* painter, QString footerTitle,
                             int pageCount, QString footerJob)
    : device_(device),
      painter_(painter),
      footerTitle_(std::move(footerTitle)),
      footerJob_(std::move(footerJob)),
      pageCount_(pageCount) {
    const double dpi = device.logicalDpiY();
    const double margin = kMarginInches * dpi;
    const QRectF sheet(0, 0, device.width(), device.height());
    const QRectF inside = sheet.adjusted(margin, margin, -margin, -margin);
    const double footerHeight = (footerJob_.isEmpty() ? 2 : 3) * LineHeight(TextFont());
    footer_ = QRectF(inside.left(), inside.bottom() - footerHeight, inside.width(), footerHeight);
    body_ = QRectF(inside.left(), inside.top(), inside.width(), inside.height() - footerHeight);
    y_ = body_.top();
}

QFont TReportCanvas::TextFont(double scale, bool bold) const {
    // The sans-serif face the desktop packages carry (fonts-liberation), so that a report
    // looks the same on every machine.
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kTextPoints * scale);
    font.setBold(bold);
    return font;
}

double TReportCanvas::LineHeight(const QFont& font) const {
    return QFontMetricsF(font, &device_).lineSpacing();
}

double TReportCanvas::TextWidth(const QFont& font, const QString& text) const {
    return QFontMetricsF(font, &device_).horizontalAdvance(text);
}

double TReportCanvas::Points(double points) const { return points * device_.logicalDpiY() / 72.0; }

void TReportCanvas::KeepTogether(double height) {
    if (y_ > body_.top() && y_ + height > body_.bottom()) NewPage();
}

void TReportCanvas::NewPage() {
    DrawFooter();
    if (painter_) device_.newPage();
    ++page_;
    y_ = body_.top();
}

void TReportCanvas::Finish() { DrawFooter(); }

void TReportCanvas::DrawFooter() {
    if (!painter_) return;
    const QFont font = TextFont(0.9);
    painter_->setPen(QPen(Qt::black, Points(0.5)));
    painter_->drawLine(QPointF(footer_.left(), footer_.top() + Points(3)),
                       QPointF(footer_.right(), footer_.top() + Points(3)));
    const QRectF line = footer_.adjusted(0, Points(5), 0, 0);
    const QString page = QString("Page %1 of %2").arg(page_).arg(pageCount_);
    const double pageWidth = TextWidth(font, page) + Points(12);
    DrawText(line.adjusted(0, 0, -pageWidth, 0), Qt::AlignLeft | Qt::AlignTop,
             QFontMetricsF(font, &device_).elidedText(footerTitle_, Qt::ElideRight, line.width() - pageWidth),
             font);
    DrawText(line, Qt::AlignRight | Qt::AlignTop, page, font);
    if (!footerJob_.isEmpty())
        DrawText(line.adjusted(0, LineHeight(font), 0, 0), Qt::AlignLeft | Qt::AlignTop,
                 QFontMetricsF(font, &device_).elidedText(footerJob_, Qt::ElideRight, line.width()), font);
}

void TReportCanvas::Heading(const QString& text, int level, bool newPage, bool listed, double room) {
    const QFont font = TextFont(level == 1 ? 1.5 : 1.15, true);
    const double height = LineHeight(font) * 1.4;
    const double line = LineHeight(TextFont());
    // A heading is never left alone at the foot of a page.
    const double below = std::max(room, 4 * line);
    if (newPage && y_ > body_.top()) {
        const bool nearlyEmpty = y_ - body_.top() < body_.height() / 3;
        if (nearlyEmpty && y_ + line + height + below <= body_.bottom())
            y_ += line;  // a section that follows on the page stands a line below the last
        else
            NewPage();
    }
    KeepTogether(height + below);
    if (level == 2 && y_ > body_.top()) y_ += line * 0.5;
    if (listed) contents_.push_back({text, level, page_});
    DrawText(QRectF(body_.left(), y_, body_.width(), height), Qt::AlignLeft | Qt::AlignVCenter, text, font);
    y_ += height;
}

void TReportCanvas::Paragraph(const QString& text, bool bold, const QColor& colour) {
    const QFont font = TextFont(1, bold);
    QTextLayout layout(text, font, &device_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double lineY = 0;
    std::vector<std::pair<QTextLine, double>> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(body_.width());
        line.setPosition(QPointF(0, lineY));
        lineY += line.height();
        lines.emplace_back(line, line.height());
    }
    layout.endLayout();
    // Line by line, so that a long paragraph breaks across pages.
    for (auto& [line, height] : lines) {
        KeepTogether(height);
        if (painter_) {
            painter_->setPen(colour);
            line.draw(painter_, QPointF(body_.left(), y_ - line.position().y()));
        }
        y_ += height;
    }
    y_ += LineHeight(font) * 0.3;
}

void TReportCanvas::DrawText(const QRectF& box, int flags, const QString& text, const QFont& font,
                             const QColor& colour) {
    if (!painter_) return;
    painter_->setFont(font);
    painter_->setPen(colour);
    painter_->drawText(box, flags, text);
}

}  // namespace torvex
