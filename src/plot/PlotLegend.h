#pragma once
// The legend box of a graph window: the labels of the active curves in their colours, a
// " *" after each visible one. The user drags it about the window; a double click on an
// entry asks for its curve to be shown or hidden.

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace torvex {

class TGraphPlot;

class TPlotLegend : public QWidget {
    Q_OBJECT
public:
    TPlotLegend(TGraphPlot& graph, QWidget* parent);

    // Rebuilds the entries for the active curves of set 1, in curve order, and fits the box.
    void Rebuild();
    // Legend font size in points and the entries' height; the box is fitted.
    void SetFontSize(int points, int itemHeight);
    int FontSize() const { return fontSize_; }

    int Count() const { return static_cast<int>(entries_.size()); }
    // The text of entry k as shown: the label, and " *" when its curve is visible.
    QString EntryText(int k) const;
    int CurveOf(int k) const { return entries_.at(static_cast<size_t>(k)); }
    int ItemHeight() const { return itemHeight_; }
    // The user has dragged the box somewhere of their choosing.
    bool Moved() const { return moved_; }

    // A double click on an entry: the curve's index in set 1.
    std::function<void(int curve)> OnToggle;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Fit();
    QFont EntryFont() const;

    TGraphPlot& graph_;
    std::vector<int> entries_;  // curve index per entry
    int fontSize_ = 11;
    int itemHeight_ = 16;
    bool dragging_ = false;
    bool moved_ = false;
    QPoint grab_;
};

}  // namespace torvex
