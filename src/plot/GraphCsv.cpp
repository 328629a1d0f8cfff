#include "plot/GraphCsv.h"

#include <algorithm>
#include <vector>

#include "dataentry/NumberText.h"
#include "plot/PltData.h"

namespace torvex {
namespace {

// A header field, quoted, with quotes doubled.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string GraphCsvText(const TGraphPlot& graph) {
    std::vector<int> shown;
    for (int i = 0; i < graph.Lines.Count(); ++i)
        if (graph.Lines[i].Active && graph.Lines[i].Visible) shown.push_back(i);
    std::string text;
    int rows = 0;
    for (size_t k = 0; k < shown.size(); ++k) {
        const std::string label = graph.LegendLabel(shown[k]);
        if (k > 0) text += ',';
        text += Quoted(label + ": " + graph.XAxisLabel()) + ',' + Quoted(label + ": " + graph.YAxisLabel());
        rows = std::max(rows, graph.Lines[shown[k]].PointCount());
    }
    text += "\r\n";
    for (int j = 0; j < rows; ++j) {
        for (size_t k = 0; k < shown.size(); ++k) {
            if (k > 0) text += ',';
            const TLine& curve = graph.Lines[shown[k]];
            if (j >= curve.PointCount()) {
                text += ',';
                continue;
            }
            const TFloatPoint& point = curve.Point(j);
            text += ShortestNumberText(static_cast<double>(point.X)) + ',' +
                    ShortestNumberText(static_cast<double>(point.Y));
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace torvex
