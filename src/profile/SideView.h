#pragma once
// The "Side View" child window: the project drawn as a schematic elevation of the wall, the
// excavation, the soil layers and the supports. It redraws from the project each time it is
// activated, reads out the depth under the pointer in its caption and prints the drawing on
// a landscape page.

#include <QWidget>
#include <vector>

#include "profile/ProfileMarks.h"
#include "profile/ProfileScene.h"
#include "profile/SideViewGeometry.h"

class QLabel;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;

namespace torvex {

class TWorkspace;

class TDlgSideView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOpeningWidth = 580;
    static constexpr int kOpeningHeight = 431;
    inline static const char* const kCaption = "Side View";
    inline static const char* const kPrintJobName = "Soil-Pile Profile";

    explicit TDlgSideView(TWorkspace& workspace, QWidget* parent = nullptr);

    const TSideViewGeometry& Geometry() const { return geometry_; }
    const TProfileScene& Scene() const { return scene_; }
    // The marks of the client area as they are painted now.
    std::vector<TMark> CurrentMarks() const;
    QPushButton* PrintButton() const { return printButton_; }
    // The opening size, and half of it as the least worth drawing in.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Draws the page as Print does, on a printer that is already set up. A page printed to a
    // file goes through the safe save; a failure is shown to the user.
    void PrintPage(QPrinter& printer);

public slots:
    // Reads the project again and redraws.
    void FormActivate();
    void Button1Click();
    void PrintMenuClick() { Button1Click(); }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FormResize();

    TWorkspace& workspace_;
    TProfileScene scene_;
    TSideViewGeometry geometry_;
    QLabel* title_;
    QPushButton* printButton_;
    bool watchingActivation_ = false;
};

}  // namespace torvex
