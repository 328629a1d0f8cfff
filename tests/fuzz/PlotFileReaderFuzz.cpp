// Any plot file must read into the graphs or end with false; either way every curve set
// stays even (all curves of a set with the set's point count) and no table is overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "plot/PlotFileReader.h"
#include "plot/ResultGraphs.h"
#include "project/Workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384) return 0;
    static torvex::TWorkspace workspace;
    static torvex::TResultGraphs graphs;  // kept between inputs, as the main window keeps them
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    torvex::ReadPlotFileText(graphs, workspace, text, nullptr);
    for (const torvex::TGraphPlot* graph : graphs.All())
        for (int k = 1; k <= 4; ++k) {
            const torvex::TCurveSet& set = graph->Set(k);
            for (int i = 0; i < set.Count(); ++i)
                if (set[i].PointCount() != set.PointCount()) std::abort();
        }
    return 0;
}
