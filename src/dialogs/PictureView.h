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
    // `resource` is a path such as ":/pictures/WallElevation.svg".
    explicit TPictureView(const QString& resource, QWidget* parent = nullptr);
    bool IsLoaded() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer* renderer_;
};

}  // namespace torvex
