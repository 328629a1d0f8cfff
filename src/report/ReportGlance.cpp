#include "report/ReportGlance.h"

#include <cmath>

#include "Analysis.h"
#include "plot/PlotPainter.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"
#include "report/ReportPanels.h"
#include "report/ReportTable.h"

namespace torvex {
namespace {

using engine::TCaseResult;

// The point of largest |value| over every case, as the text report picks a case's maximum
// (the first of equal sizes).
struct TLargest {
    bool found = false;
    double value = 0, depth = 0;
    size_t caseIndex = 0;
    void Take(double v, double d, size_t i) {
        if (!found || std::fabs(v) > std::fabs(value)) *this = {true, v, d, i};
    }
};

}  // namespace

void DrawResultsAtAGlance(TReportCanvas& canvas, const engine::TFileAnalysis& a) {
    // The panels take the page less the table of largest values: at least half a page.
    const double tableHeight = 12 * canvas.LineHeight(canvas.TextFont());
    canvas.Heading("Results at a glance", 1, true, true, 0.5 * canvas.Body().height() + tableHeight);
    std::vector<size_t> solved;
    for (size_t i = 0; i < a.cases.size(); ++i)
        if (!a.cases[i].nodes.empty()) solved.push_back(i);
    if (solved.empty()) {
        canvas.Paragraph("No results: no case was solved (see the input errors).");
        return;
    }
    const TReportUnits u = ReportUnits(a.cases[solved.front()].unitCode);
    const struct {
        QString name, unit;
        double engine::TNodeResult::*field;  // null: the earth pressure
    } quantities[] = {{"Deflection", u.length, &engine::TNodeResult::y},
                      {"Bending moment", u.moment, &engine::TNodeResult::moment},
                      {"Shear", u.force, &engine::TNodeResult::shear},
                      {"Earth pressure", u.lineLoad, nullptr}};
    std::vector<TDepthPanel> panels;
    std::vector<TLargest> largest;
    double depthMax = 0;
    for (const auto& q : quantities) {
        TDepthPanel panel{q.name + " (" + q.unit + ")", {}, {}};
        TLargest big;
        for (size_t k = 0; k < solved.size(); ++k) {
            const TCaseResult& c = a.cases[solved[k]];
            TDepthCurve curve{{}, CurveColour(static_cast<int>(k)), 0.8, false};
            if (q.field) {
                for (const engine::TNodeResult& n : c.nodes) {
                    curve.points.emplace_back(n.*q.field, n.depth);
                    big.Take(n.*q.field, n.depth, solved[k]);
                    depthMax = std::max(depthMax, n.depth);
                }
            } else {
                for (const engine::TPressureRecord& r : c.pressures) {
                    curve.points.emplace_back(r.total, r.depth);
                    big.Take(r.total, r.depth, solved[k]);
                }
            }
            panel.curves.push_back(std::move(curve));
        }
        if (big.found && big.value != 0)
            panel.notes.push_back({big.value, big.depth, Figure(big.value)});
        panels.push_back(std::move(panel));
        largest.push_back(big);
    }
    std::vector<TLegendEntry> legend;
    for (size_t k = 0; k < solved.size(); ++k)
        legend.push_back({QString::fromStdString(a.cases[solved[k]].label), CurveColour(static_cast<int>(k))});
    canvas.Paragraph("Every " + QString(solved.size() > 1 && a.cases[solved.front()].label.rfind("Stage ", 0) == 0
                                            ? "stage" : "case") +
                     " on one depth scale; the dot marks the largest value of each graph. Earth pressure: the "
                     "driving line load on the wall.");
    DrawDepthPanels(canvas, panels, depthMax, u.length, legend, canvas.RoomLeft() - tableHeight);

    TReportTable table;
    table.caption = "Largest values";
    table.headers = {"Quantity", "Largest", "Unit", "At depth (" + u.length + ")", "Case"};
    table.textColumns = {0, 2, 4};
    for (size_t k = 0; k < largest.size(); ++k) {
        const TLargest& big = largest[k];
        if (!big.found) {
            table.Add({quantities[k].name, "none", quantities[k].unit, "", ""});
            continue;
        }
        table.Add({quantities[k].name, Figure(big.value), quantities[k].unit, Figure(big.depth),
                   QString::fromStdString(a.cases[big.caseIndex].label)});
    }
    DrawTable(canvas, table);
}

}  // namespace torvex
