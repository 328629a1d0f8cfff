#pragma once
// The graph pages of the report: deflection, moment, shear, soil reaction and pressure, each
// on a page of its own with every case as a curve, and the p-y curves of each case, drawn by the painter of the
// printed graphs (captions, axes, grid, the page legend), in vector form.

#include <QString>
#include <vector>

namespace torvex {

class TGraphPlot;
class TReportCanvas;
class TResultGraphs;

struct TCaseGraph {
    QString label;
    const TGraphPlot* graph;
};

// Puts the graphs the report draws (deflection, moment, shear, soil reaction, pressure and
// p-y curves) into the units of the report's tables, in the unit system the plot file states
// (TGraphPlot::Units, the same for every graph). The plot file reader gives English depths in
// feet and moments and shears in kips, as the program's graph windows show them; the report
// shows inches and pounds (lbs-in), or metres and kN (kN-m), in its graphs as in its tables,
// and its captions name those units.
void UseReportUnits(TResultGraphs& graphs);

// The graphs that have something to show, in the order above; the p-y curves of each case of
// `pyGraphs` on a page of their own, or those of `graphs` when it is empty. Returns how many
// pages were drawn.
int DrawGraphPages(TReportCanvas& canvas, const TResultGraphs& graphs, const std::vector<TCaseGraph>& pyGraphs);

}  // namespace torvex
