#pragma once
// The graph window: one graph on a page with captions, ticks and grid, the curves in the
// colour cycle, a legend box to drag about, and for depth graphs the soil column. A left
// drag zooms to a rubber band, a right click zooms out, and the caption follows the mouse
// with the data values under it. Its "&Plot" menu holds the display settings and one item
// per active curve; the main window puts that menu into its menu bar.

#include <QMenu>
#include <QPageLayout>
#include <QWidget>
#include <vector>

#include "plot/PlotState.h"

class QActionGroup;
class QRubberBand;

namespace torvex {

class TGraphPlot;
class TPlotLegend;

class TPlotForm : public QWidget {
    Q_OBJECT
public:
    // Opens on `graph`: ranges from its data, its curves made active (the first 20 only when
    // it limits them), legend and menu built. The graph is told when the window goes.
    explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);
    ~TPlotForm() override;

    TGraphPlot& Graph() { return graph_; }
    const TPlotState& State() const { return state_; }
    TPlotLegend* Legend() const { return legend_; }
    QMenu* PlotMenu() const { return menu_; }
    // A fixed item of the Plot menu by name ("PlotShowLegend" ...), or nullptr.
    QAction* MenuItem(const QString& name) const;
    // The curve items after the fourteen fixed ones, in curve order.
    const std::vector<QAction*>& CurveItems() const { return curveItems_; }

    // A run has filled the graph anew: the ranges, the active curves, the legend and the
    // curve items start again as in a newly opened window, so new results are seen whole.
    // The window keeps its place and size, and the legend the place it was dragged to.
    void Refit();

    // The Plot menu drops down: checks and visibility from the graph.
    void UpdateMenu();
    // The Plot menu's dialogs: the title and its place, the curves' names, the active curves.
    void GraphTitleClick();
    void EditLegendClick();
    void ActiveCurvesClick();
    // Printing on one page with the margins of Page Setup (an inch each side at first).
    void PrintClick();
    void PageSetupClick();
    const QPageLayout& PageLayout() const { return pageLayout_; }
    // Paints the window's page into an image of its size (tests and screenshots).
    QImage Render(qreal devicePixelRatio = 1);
    // The window's normal size (it opens maximised) and the least that still shows a graph.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void BuildMenu();
    void RebuildCurveItems();
    // Rebuilds the curve items and the legend when the graph lost curves they refer to.
    void SyncCurves();
    // The legend is shown, and offered in the menu, when the graph has curves to list.
    void ShowLegendAsOpened();
    void LayOut();
    void ToggleCurve(int curve);
    void SetFontSize(int value);
    int FontHeight() const;

    TGraphPlot& graph_;
    TPlotState state_;
    TPlotLegend* legend_;
    QMenu* menu_;
    std::vector<QAction*> curveItems_;
    QActionGroup* markerGroup_ = nullptr;
    QRubberBand* band_ = nullptr;
    bool legendPlaced_ = false;  // by the layout the window opened with
    // Pixels kept free below the plot for the legend when the curves took every corner.
    int legendStrip_ = 0;
    bool banding_ = false;
    QPoint bandStart_;
    QPageLayout pageLayout_{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(1, 1, 1, 1),
                            QPageLayout::Inch};
};

}  // namespace torvex
