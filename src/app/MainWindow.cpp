#include "app/MainWindow.h"

#include <QMdiArea>

namespace torvex {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), desk_(new QMdiArea(this)) {
    setObjectName("MainForm");
    setWindowTitle(kApplicationTitle);
    desk_->setObjectName("Desk");
    setCentralWidget(desk_);
    resize(1024, 720);
}

}  // namespace torvex
