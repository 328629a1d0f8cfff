#pragma once
// The soil column beside a depth graph: the soil layers of a graph's layer lines as bands
// of the column, and with the wall geometry the wall between the retained and the
// excavated side. Only rectangles and fill codes here; drawing them is the window's.

#include <string>
#include <vector>

#include "plot/PlotGeometry.h"

namespace torvex {

class TGraphPlot;

struct TSoilBand {
    TPixelRect Rect;
    int Code = 0;        // fill-pattern code: 1 clay, 7 sand, 8 silt, 9 strong rock, 10 weak rock
    std::string Label;   // written centred in the band; empty with the wall geometry
};

struct TSoilColumn {
    std::vector<TSoilBand> Bands;
    bool HasWall = false;
    TPixelRect Wall;     // the wall bar over the middle fifth
};

// The bands of the column `column` (the plot's top and bottom), with depths mapped by
// `depths` (the first panel's mapping). The graph's ShowWall and WallLineCount decide
// whether the wall is drawn; nothing at all without layer lines.
TSoilColumn SoilColumnOf(const TGraphPlot& graph, const TPixelRect& column,
                         const TPlotMapping& depths);

}  // namespace torvex
