#include "report/ReportTable.h"

#include <QPainter>
#include <algorithm>

#include "report/ReportCanvas.h"

namespace torvex {
namespace {

constexpr double kSmallestScale = 0.6;
// The red of the design summary window's failed checks.
const QColor kFailColour(0xc0, 0, 0);

std::vector<double> ColumnWidths(const TReportCanvas& canvas, const TReportTable& table, double scale,
                                 double padding) {
    const QFont body = canvas.TextFont(scale);
    const QFont head = canvas.TextFont(scale, true);
    std::vector<double> widths(static_cast<size_t>(table.headers.size()), 0);
    for (qsizetype c = 0; c < table.headers.size(); ++c)
        widths[static_cast<size_t>(c)] = canvas.TextWidth(head, table.headers[c]);
    for (size_t r = 0; r < table.rows.size(); ++r) {
        // Failed checks are set in bold, which is wider.
        const bool fails = std::find(table.failingRows.begin(), table.failingRows.end(), r) != table.failingRows.end();
        const QStringList& row = table.rows[r];
        for (qsizetype c = 0; c < row.size() && c < table.headers.size(); ++c)
            widths[static_cast<size_t>(c)] =
                std::max(widths[static_cast<size_t>(c)], canvas.TextWidth(fails ? head : body, row[c]));
    }
    for (double& w : widths) w += 2 * padding;
    return widths;
}

}  // namespace

TReportTable SettingsTable(const QString& caption) {
    TReportTable table;
    table.caption = caption;
    table.headers = {"Setting", "Value", "Unit"};
    table.textColumns = {0, 2};
    return table;
}

void DrawTable(TReportCanvas& canvas, const TReportTable& table) {
    if (table.headers.isEmpty()) return;
    const double padding = canvas.Points(3);
    // The largest font, down to 60 %, in which the table fits the width of the page; a table
    // still wider keeps that and is cut at the margin rather than drawn over it.
    double scale = 1;
    std::vector<double> widths = ColumnWidths(canvas, table, scale, padding);
    const auto total = [&widths] {
        double sum = 0;
        for (double w : widths) sum += w;
        return sum;
    };
    while (total() > canvas.Body().width() && scale > kSmallestScale) {
        scale = std::max(kSmallestScale, scale * canvas.Body().width() / total() * 0.99);
        widths = ColumnWidths(canvas, table, scale, padding);
    }
    const QFont body = canvas.TextFont(scale);
    const QFont head = canvas.TextFont(scale, true);
    const double rowHeight = canvas.LineHeight(body) + padding;
    const double captionHeight = canvas.LineHeight(canvas.TextFont(1, true)) * 1.3;
    const double left = canvas.Body().left();
    const double width = std::min(total(), canvas.Body().width());
    const auto isText = [&table](qsizetype c) {
        return std::find(table.textColumns.begin(), table.textColumns.end(), c) != table.textColumns.end();
    };

    const auto drawRow = [&](const QStringList& cells, const QFont& font, bool header, bool fails = false) {
        QPainter* painter = canvas.Painter();
        const double top = canvas.Y();
        if (painter) {
            painter->save();
            painter->setClipRect(canvas.Body());
            if (header) painter->fillRect(QRectF(left, top, width, rowHeight), QColor(225, 225, 225));
            painter->setPen(QPen(QColor(120, 120, 120), canvas.Points(0.4)));
            painter->drawLine(QPointF(left, top + rowHeight), QPointF(left + width, top + rowHeight));
            painter->restore();
        }
        double x = left;
        for (qsizetype c = 0; c < table.headers.size(); ++c) {
            const double w = widths[static_cast<size_t>(c)];
            const QString text = c < cells.size() ? cells[c] : QString();
            const int align = (header || isText(c) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
            const QRectF cell(x + padding, canvas.Y(), w - 2 * padding, rowHeight);
            if (cell.left() < canvas.Body().right())
                canvas.DrawText(cell.intersected(QRectF(cell.left(), cell.top(), canvas.Body().right() - cell.left(),
                                                        rowHeight)),
                                align, text, font, fails ? kFailColour : QColor(Qt::black));
            x += w;
        }
        canvas.Advance(rowHeight);
    };
    const auto startPage = [&](bool continued) {
        canvas.DrawText(QRectF(left, canvas.Y(), canvas.Body().width(), captionHeight),
                        Qt::AlignLeft | Qt::AlignVCenter, continued ? table.caption + " (continued)" : table.caption,
                        canvas.TextFont(1, true));
        canvas.Advance(captionHeight);
        drawRow(table.headers, head, true);
    };

    // The caption, the header and the first rows stay together.
    canvas.KeepTogether(captionHeight + rowHeight * std::min<double>(4, 1 + static_cast<double>(table.rows.size())));
    startPage(false);
    for (size_t r = 0; r < table.rows.size(); ++r) {
        if (canvas.RoomLeft() < rowHeight) {
            canvas.NewPage();
            startPage(true);
        }
        const bool fails =
            std::find(table.failingRows.begin(), table.failingRows.end(), r) != table.failingRows.end();
        drawRow(table.rows[r], fails ? canvas.TextFont(scale, true) : body, false, fails);
    }
    canvas.Advance(rowHeight * 0.6);
}

}  // namespace torvex
