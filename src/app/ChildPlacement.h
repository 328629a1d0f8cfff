#pragma once
// Where the child windows of the main window appear. A new child opens inside the visible
// part of the work area, cascading from its top-left corner, and a child brought to the
// front is scrolled into view when it lies outside; the work area has scroll bars for
// children that reach beyond it.

#include <QObject>
#include <QPoint>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

namespace torvex {

// The top-left corner of the new child that finds `others` children open: one `step` down and
// to the right per open child, starting again at the corner when the child would reach past
// the area's right or bottom edge. A child larger than the area goes to the corner.
QPoint CascadePosition(int others, QSize child, QSize area, int step);

// The size of a child cascaded to `at`: its normal size, at least `least`, and where that
// fits, no larger than the area from `at` to the area's bottom-right corner.
QSize CascadeSize(QSize normal, QPoint at, QSize area, QSize least);

// Owned by the main window and gone before its work area is destroyed.
class TChildPlacement : public QObject {
public:
    explicit TChildPlacement(QMdiArea* desk);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place(QMdiSubWindow* child);
    void ScrollIntoView(QMdiSubWindow* child);
    QMdiArea* desk_;
    QObject* viewport_;
};

}  // namespace torvex
