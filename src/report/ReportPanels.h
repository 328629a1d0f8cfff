#pragma once
// Graphs of the report drawn side by side against one depth axis: the results at a glance
// and the envelope over the stages. Depth runs down from the wall top, the same scale in
// every panel; each panel has its own value axis along its top. The legend stands below the
// panels, never over a curve.

#include <QColor>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace torvex {

class TReportCanvas;

struct TDepthCurve {
    std::vector<QPointF> points;  // (value, depth)
    QColor colour;
    double points_ = 0.8;         // pen width in points
    bool dashed = false;
};

// A point called out on a panel: a dot and its text beside it.
struct TPanelNote {
    double value = 0, depth = 0;
    QString text;
};

struct TDepthPanel {
    QString title;  // with its unit
    std::vector<TDepthCurve> curves;
    std::vector<TPanelNote> notes;
};

struct TLegendEntry {
    QString label;
    QColor colour;
    double points_ = 0.8;
    bool dashed = false;
};

// The panels across the body, `height` device pixels tall in all (titles, axes and legend
// included), from the cursor down; depths from 0 to `depthMax` in `lengthUnit`.
void DrawDepthPanels(TReportCanvas& canvas, const std::vector<TDepthPanel>& panels, double depthMax,
                     const QString& lengthUnit, const std::vector<TLegendEntry>& legend, double height);

}  // namespace torvex
