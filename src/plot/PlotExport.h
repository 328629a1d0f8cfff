#pragma once
// The graph on other canvases than the window: a picture file of a chosen size, a printed
// page, and the page legend that both carry in place of the window's legend box.

#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "desktop/SafeOutput.h"
#include "plot/GraphFileWriter.h"

class QPainter;
class QPrinter;
class QWidget;

namespace torvex {

class TGraphPlot;
class TPlotState;

// The entries of the legend drawn onto a page (PaintPageLegend): the curves drawn (active
// and visible), each with its position among the active curves (its colour and marker)
// and its label.
std::vector<std::pair<int, std::string>> PageLegendEntries(const TGraphPlot& graph);

// A printed page's margin in the printer's pixels: the page-setup margin in thousandths of an
// inch, but never inside the printer's unprintable border of `offset` pixels.
int MarginPixels(int thousandths, int dpi, int offset);

// Save To Disk: the save dialog, then Save Attributes for the size (not for CSV), then the
// file, through the safe save. Messages go to the user (a failed write names the file and
// the reason, and leaves an old file as it was); nothing is written when a dialog is
// cancelled.
void SaveGraphToDisk(QWidget* window, const TPlotState& state, int fontHeight);

// Prints the graph on one page of `printer` (set up and chosen by the caller), with the page
// legend and the printing fill patterns; the job is titled with the graph's caption. Printed
// to a file, the page goes through PrintOnePage's safe save (EInOutError when it fails);
// false when a printer refused the job.
bool PrintGraph(QPrinter& printer, const TPlotState& state, int fontHeightAt96Dpi);

}  // namespace torvex
