#pragma once
// The program's main window: one multiple-document window in which every other window
// opens as a child.

#include <QMainWindow>

class QMdiArea;

namespace torvex {

inline constexpr const char* kApplicationTitle = "TORVEX 2012";

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    QMdiArea* Desk() const { return desk_; }

private:
    QMdiArea* desk_;
};

}  // namespace torvex
