#pragma once
// A labelled table of the report: a caption, a header row and rows of cells, ruled, its
// columns as wide as their widest cell. A table wider than the page is set in a smaller
// font; a table longer than the page goes on over the next pages with its header repeated.

#include <QString>
#include <QStringList>
#include <vector>

namespace torvex {

class TReportCanvas;

struct TReportTable {
    QString caption;
    QStringList headers;
    std::vector<QStringList> rows;
    // Columns of words (names, kinds) are set left; the others, numbers, right.
    std::vector<int> textColumns;
    // Rows that show a failed check, set in red.
    std::vector<size_t> failingRows;

    void Add(QStringList row, bool fails = false) {
        if (fails) failingRows.push_back(rows.size());
        rows.push_back(std::move(row));
    }
};

// A two-column table of settings: the name and its value with the unit.
TReportTable SettingsTable(const QString& caption);

void DrawTable(TReportCanvas& canvas, const TReportTable& table);

}  // namespace torvex
