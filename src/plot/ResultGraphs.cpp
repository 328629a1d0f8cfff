#include "plot/ResultGraphs.h"

namespace torvex {
namespace {

struct TStoredGraph {
    const char* caption;
    const char* curveName;
    const char* xCaption;
    const char* xUnits;
    const char* yCaption;
    const char* yUnits;
    bool xOnTop;
};

void Store(TGraphPlot& graph, const TStoredGraph& stored) {
    graph.Caption = stored.caption;
    graph.CurveName = stored.curveName;
    graph.XCaption = stored.xCaption;
    graph.XUnits = stored.xUnits;
    graph.YCaption = stored.yCaption;
    graph.YUnits = stored.yUnits;
    graph.XOnTop = stored.xOnTop;
    // The rest as a new graph has it: ShowLegend on, no layers, wall or three panels,
    // Font and Line Width menus offered, markers every point, normal sizes, English units.
}

}  // namespace

TResultGraphs::TResultGraphs() {
    Store(pltPY, {"p-y Curves", "Depth", "y", "L", "p", "F/L", false});
    Store(pltDef, {"Deflection vs Depth", "Load #", "Deflection", "L", "Depth", "", true});
    Store(pltMom, {"Moment Depth", "Load #", "Bending Moment", "", "Depth", "", true});
    Store(pltShear, {"Shear vs Depth", "Load #", "Shear", "", "Depth", "", true});
    Store(pltSoil, {"Soil Reaction vs Depth", "Load #", "Reaction", "F", "Depth", "", true});
    Store(pltDMS,
          {"Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth", "", true});
    Store(pltLD,
          {"Load vs Top Deflection", "Curve #", "Distributed load", "F/L", "Depth", "", true});
    // Named like the other depth graphs, by what it draws against depth: its window has a
    // caption, and an entry in the Window menu, like theirs.
    Store(PltCombine,
          {"Combined Earth Pressure vs Depth", "Curve #", "", "F/L", "Depth", "L2", true});
}

std::array<TGraphPlot*, 8> TResultGraphs::All() {
    return {&pltPY, &pltDef, &pltMom, &pltShear, &pltSoil, &pltDMS, &pltLD, &PltCombine};
}

std::array<const TGraphPlot*, 8> TResultGraphs::All() const {
    return {&pltPY, &pltDef, &pltMom, &pltShear, &pltSoil, &pltDMS, &pltLD, &PltCombine};
}

std::string PlotFileNameFor(const std::string& dataFileName) {
    // The extension is what follows the last "." of the last path component, "\" and "/"
    // both separating components.
    const size_t separator = dataFileName.find_last_of("\\/");
    const size_t dot = dataFileName.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (hasExtension ? dataFileName.substr(0, dot) : dataFileName) + ".tx4p";
}

bool ResultsTest(bool plotLoaded, bool plotFileExists) { return plotLoaded && plotFileExists; }

bool GraphTest(const TGraphPlot& graph) {
    return graph.Lines.Count() >= 1 && graph.Lines.PointCount() > 1;
}

TGraphicsMenuState ApplyGraphTests(TGraphicsMenuState items, const TResultGraphs& graphs) {
    items.Comppy = items.Comppy && GraphTest(graphs.pltPY);
    items.CompDef = items.CompDef && GraphTest(graphs.pltDef);
    items.CompMom = items.CompMom && GraphTest(graphs.pltMom);
    items.CompShear = items.CompShear && GraphTest(graphs.pltShear);
    items.CompSoil = items.CompSoil && GraphTest(graphs.pltSoil);
    items.CompLD = items.CompLD && GraphTest(graphs.pltLD);
    return items;
}

TGraphicsMenuState GraphicsMenuState(const TResultGraphs& graphs, bool resultsAvailable) {
    const bool on = resultsAvailable;
    TGraphicsMenuState items =
        ApplyGraphTests(TGraphicsMenuState{on, on, on, on, on, on, on, on}, graphs);
    items.DefMomShear = items.CompDef && items.CompMom && items.CompShear;
    return items;
}

TGraphToolButtons GraphToolButtonState(const TResultGraphs& graphs, bool resultsAvailable) {
    TGraphToolButtons buttons;
    buttons.SpeedButton8 = resultsAvailable && GraphTest(graphs.pltDef);
    buttons.SpeedButton11 = resultsAvailable && GraphTest(graphs.pltMom);
    buttons.SpeedButton10 = resultsAvailable && GraphTest(graphs.pltShear);
    buttons.SpeedButton12 = resultsAvailable && GraphTest(graphs.pltSoil);
    buttons.SpeedButton13 = resultsAvailable && GraphTest(graphs.pltPY);
    buttons.SpeedButton9 = resultsAvailable && GraphTest(graphs.pltLD);
    buttons.SpeedButton19 = buttons.SpeedButton8 && buttons.SpeedButton11 && buttons.SpeedButton10;
    return buttons;
}

}  // namespace torvex
