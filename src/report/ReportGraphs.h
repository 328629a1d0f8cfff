#pragma once
// The graph pages of the report: deflection, moment, shear, soil reaction, pressure and p-y
// curves, each on a page of its own with every case as a curve, drawn by the painter of the
// printed graphs (captions, axes, grid, the page legend), in vector form.

namespace torvex {

class TReportCanvas;
class TResultGraphs;

// The graphs that have something to show, in the order above; returns how many were drawn.
int DrawGraphPages(TReportCanvas& canvas, const TResultGraphs& graphs);

}  // namespace torvex
