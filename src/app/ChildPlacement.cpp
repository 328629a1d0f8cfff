#include "app/ChildPlacement.h"

#include <QChildEvent>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace torvex {
namespace {

constexpr const char* kPlacedProperty = "torvexPlaced";

}  // namespace

QPoint CascadePosition(int others, QSize child, QSize area, int step) {
    if (step <= 0) return {0, 0};
    // How many steps fit before the child would reach past the right or the bottom edge.
    const int roomX = (area.width() - child.width()) / step;
    const int roomY = (area.height() - child.height()) / step;
    const int room = std::min(roomX, roomY);
    if (room <= 0) return {0, 0};
    const int k = others % (room + 1);
    return {k * step, k * step};
}

QSize CascadeSize(QSize normal, QPoint at, QSize area, QSize least) {
    const QSize room(area.width() - at.x(), area.height() - at.y());
    return normal.boundedTo(room).expandedTo(least);
}

TChildPlacement::TChildPlacement(QMdiArea* desk) : desk_(desk), viewport_(desk->viewport()) {
    desk_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    desk_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport_->installEventFilter(this);
    connect(desk_, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* child) { if (child) ScrollIntoView(child); });
}

bool TChildPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && event->type() == QEvent::ChildAdded) {
        // A child window announces itself from its constructor, before it is a window: its
        // first showing tells what it is.
        static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    } else if (watched != viewport_ && event->type() == QEvent::Show) {
        watched->removeEventFilter(this);
        auto* child = qobject_cast<QMdiSubWindow*>(watched);
        if (child && !child->property(kPlacedProperty).toBool()) {
            child->setProperty(kPlacedProperty, true);
            Place(child);
        }
    }
    return QObject::eventFilter(watched, event);
}

void TChildPlacement::Place(QMdiSubWindow* child) {
    // A child without an icon of its own shows the program's, not the toolkit's.
    if (child->windowIcon().isNull()) child->setWindowIcon(desk_->window()->windowIcon());
    int others = 0;
    for (QMdiSubWindow* open : desk_->subWindowList())
        if (open != child && open->isVisible() && !open->isMinimized()) ++others;
    const int step = child->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, child);
    child->move(CascadePosition(others, child->size(), desk_->viewport()->size(), step));
}

void TChildPlacement::ScrollIntoView(QMdiSubWindow* child) {
    // Children are placed in the viewport's coordinates; the scroll bars move all of them.
    // Only a child whose title bar is out of sight is brought in: as much of it as fits.
    const QRect area = desk_->viewport()->rect();
    const QRect frame = child->geometry();
    if (area.contains(frame.topLeft())) return;
    auto shift = [](int low, int high, int areaLow, int areaHigh) {
        if (low < areaLow) return low - areaLow;
        return std::min(low - areaLow, std::max(0, high - areaHigh));
    };
    const int dx = shift(frame.left(), frame.right(), area.left(), area.right());
    const int dy = shift(frame.top(), frame.bottom(), area.top(), area.bottom());
    if (dx) desk_->horizontalScrollBar()->setValue(desk_->horizontalScrollBar()->value() + dx);
    if (dy) desk_->verticalScrollBar()->setValue(desk_->verticalScrollBar()->value() + dy);
}

}  // namespace torvex
