#pragma once
// The pages of the calculation report: the sheet inside its margins, a footer on every page
// (the project title and "Page N of M") and a cursor that runs down the page and breaks to
// the next one when a block does not fit.
//
// The report is laid out twice with the same code: a counting pass (no painter) finds the
// number of pages, and the drawing pass then knows M for every footer. Measuring uses the
// output device in both passes, so that both break at the same places.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;
class QPagedPaintDevice;

#include <vector>

namespace torvex {

// A heading of the report and the page it stands on, for the contents.
struct TContentsEntry {
    QString title;
    int level = 1;
    int page = 0;
    bool operator==(const TContentsEntry&) const = default;
};

class TReportCanvas {
public:
    // `painter` is null in the counting pass; `pageCount` is 0 there.
    // `footerJob`, when not empty, is a second footer line: the job's number, title, revision,
    // engineer and checker.
    TReportCanvas(QPagedPaintDevice& device, QPainter* painter, QString footerTitle, int pageCount,
                  QString footerJob = {});

    QPainter* Painter() const { return painter_; }
    bool Drawing() const { return painter_ != nullptr; }
    const QPagedPaintDevice& Device() const { return device_; }

    // The area pages are filled in, inside the margins and above the footer (device pixels).
    QRectF Body() const { return body_; }
    double Y() const { return y_; }
    void Advance(double height) { y_ += height; }
    double RoomLeft() const { return body_.bottom() - y_; }
    // Starts a new page unless `height` fits below the cursor (or the page is still empty).
    void KeepTogether(double height);
    void NewPage();
    // The page number now (1-based), and the pages so far.
    int Page() const { return page_; }
    // Draws the footer of the last page; the page count is then Page().
    void Finish();

    // Fonts of the report, in points; `scale` shrinks a table that is too wide.
    QFont TextFont(double scale = 1, bool bold = false) const;
    double LineHeight(const QFont& font) const;
    double TextWidth(const QFont& font, const QString& text) const;
    double Points(double points) const;  // device pixels of so many points

    // A heading (level 1: a section; 2: a subsection), listed in the contents unless `listed`
    // is false, and kept with `room` device pixels below it (a few lines when less). A section
    // asked to start a new page does so unless the page so far is less than a third full and
    // the heading with its room fits below: it then follows on that page, so that no page is
    // left with a few lines alone.
    void Heading(const QString& text, int level, bool newPage = false, bool listed = true, double room = 0);
    // The headings so far with their pages.
    const std::vector<TContentsEntry>& Contents() const { return contents_; }
    // A paragraph wrapped to the body width.
    void Paragraph(const QString& text, bool bold = false, const QColor& colour = Qt::black);
    // Text in a rectangle, or nothing in the counting pass.
    void DrawText(const QRectF& box, int flags, const QString& text, const QFont& font,
                  const QColor& colour = Qt::black);

private:
    void DrawFooter();

    QPagedPaintDevice& device_;
    QPainter* painter_;
    QString footerTitle_;
    QString footerJob_;
    int pageCount_;
    QRectF body_;
    QRectF footer_;
    double y_ = 0;
    int page_ = 1;
    std::vector<TContentsEntry> contents_;
};

}  // namespace torvex
