#include "dialogs/PictureView.h"

#include <QPainter>
#include <QSvgRenderer>

namespace torvex {

TPictureView::TPictureView(const QString& resource, qreal scale, QWidget* parent)
    : QWidget(parent), renderer_(new QSvgRenderer(resource, this)), scale_(scale) {
    renderer_->setAspectRatioMode(Qt::KeepAspectRatio);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

bool TPictureView::IsLoaded() const { return renderer_->isValid(); }

QSize TPictureView::sizeHint() const {
    return renderer_->isValid() ? renderer_->defaultSize() * scale_ : QSize(0, 0);
}

QSize TPictureView::minimumSizeHint() const { return sizeHint() * 0.4; }

void TPictureView::paintEvent(QPaintEvent*) {
    if (!renderer_->isValid()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_->render(&painter, QRectF(rect()));
}

}  // namespace torvex
