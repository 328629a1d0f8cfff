#pragma once
// A picture of a dialog or a table editor: vector art from the program's resources, drawn
// at the size it is given (keeping its proportions), so it stays sharp at any screen scale.

#include <QPixmap>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace torvex {

class TPictureView : public QWidget {
    Q_OBJECT
public:
    // `resource` is a path such as ":/pictures/WallElevation.svg"; the picture asks for its
    // own size times `scale`, and can be shrunk to less than half of that.
    explicit TPictureView(const QString& resource, qreal scale = 1.0, QWidget* parent = nullptr);
    bool IsLoaded() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer* renderer_;
    qreal scale_;
};

}  // namespace torvex
