#pragma once
// The eight result graphs of the main window, created with the values the main window
// stores for them, and the rules that enable the commands opening them.

#include <array>
#include <string>

#include "plot/PltData.h"

namespace torvex {

class TResultGraphs {
public:
    TResultGraphs();
    TResultGraphs(const TResultGraphs&) = delete;
    TResultGraphs& operator=(const TResultGraphs&) = delete;

    TGraphPlot pltPY{"pltPY"};
    TGraphPlot pltDef{"pltDef"};
    TGraphPlot pltMom{"pltMom"};
    TGraphPlot pltShear{"pltShear"};
    TGraphPlot pltSoil{"pltSoil"};
    TGraphPlot pltDMS{"pltDMS"};
    TGraphPlot pltLD{"pltLD"};
    TGraphPlot PltCombine{"PltCombine"};

    // All eight, in the order above.
    std::array<TGraphPlot*, 8> All();
    std::array<const TGraphPlot*, 8> All() const;
};

// The plot file that belongs to a data file: the same name with the extension ".tx4p"
// ("C:\walls\a.tx4d" -> "C:\walls\a.tx4p"; a name without extension gets it appended).
std::string PlotFileNameFor(const std::string& dataFileName);

// Results are available: the plot file was read and it still exists.
bool ResultsTest(bool plotLoaded, bool plotFileExists);
// A graph has something to show: at least one curve in set 1 and more than one point.
bool GraphTest(const TGraphPlot& graph);

// Enabled states of the items of the "&Graphics" menu.
struct TGraphicsMenuState {
    bool Comppy = false;
    bool CompDef = false;
    bool CompMom = false;
    bool CompShear = false;
    bool CompSoil = false;
    bool DefMomShear = false;
    bool CompLD = false;
    bool CompCombine = false;

    friend bool operator==(const TGraphicsMenuState&, const TGraphicsMenuState&) = default;
};

// The "&Graphics" menu as it opens: every item needs the results test; the six single graphs
// also their graph's graph test; DefMomShear needs CompDef, CompMom and CompShear.
TGraphicsMenuState GraphicsMenuState(const TResultGraphs& graphs, bool resultsAvailable);
// The "&Computation" menu's drop-down: the six single-graph items stay enabled only when
// their graphs pass the graph test; the other two items are left as they are.
TGraphicsMenuState ApplyGraphTests(TGraphicsMenuState items, const TResultGraphs& graphs);

// Enabled states of the graph buttons of the tool bar, named as in the main window.
struct TGraphToolButtons {
    bool SpeedButton13 = false;  // "View p-y Curves"
    bool SpeedButton8 = false;   // "Deflection Diagram"
    bool SpeedButton11 = false;  // "Moment Diagram"
    bool SpeedButton10 = false;  // "LShear Diagram"
    bool SpeedButton12 = false;  // "Soil-Reaction Diagram"
    bool SpeedButton19 = false;  // deflection, moment and shear
    bool SpeedButton9 = false;   // "Pressure Diagram"

    friend bool operator==(const TGraphToolButtons&, const TGraphToolButtons&) = default;
};

TGraphToolButtons GraphToolButtonState(const TResultGraphs& graphs, bool resultsAvailable);

}  // namespace torvex
