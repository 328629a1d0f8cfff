#include "report/ReportEnvelope.h"

#include <QColor>
#include <cmath>
#include <map>
#include <tuple>

#include "plot/PlotPainter.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"
#include "report/ReportPanels.h"
#include "report/ReportTable.h"

namespace torvex {
namespace {

using engine::TCaseResult;
using engine::TNodeResult;

// The value of a quantity at a depth: the node's own where the node stands there.
double ValueAt(const TCaseResult& c, double TNodeResult::*field, size_t k, double depth) {
    if (k < c.nodes.size() && c.nodes[k].depth == depth) return c.nodes[k].*field;
    std::vector<engine::TCurvePoint> points;
    points.reserve(c.nodes.size());
    for (const TNodeResult& n : c.nodes) points.push_back({n.depth, n.*field});
    return engine::Interpolate(points, depth);
}

QString Label(const TCaseResult& c) { return QString::fromStdString(c.label); }

}  // namespace

bool StagedAnalysis(const engine::TFileAnalysis& analysis) {
    if (analysis.cases.size() < 2) return false;
    for (const TCaseResult& c : analysis.cases)
        if (c.label.rfind("Stage ", 0) != 0) return false;
    return true;
}

std::vector<TEnvelopePoint> Envelope(const std::vector<TCaseResult>& cases, double TNodeResult::*field) {
    for (const TCaseResult& c : cases)
        if (c.nodes.empty()) return {};
    std::vector<TEnvelopePoint> envelope;
    const std::vector<TNodeResult>& grid = cases.front().nodes;
    for (size_t k = 0; k < grid.size(); ++k) {
        TEnvelopePoint point{grid[k].depth, grid[k].*field, grid[k].*field, 0, 0};
        for (size_t i = 1; i < cases.size(); ++i) {
            const double v = ValueAt(cases[i], field, k, point.depth);
            if (v < point.low) point.low = v, point.lowCase = i;
            if (v > point.high) point.high = v, point.highCase = i;
        }
        envelope.push_back(point);
    }
    return envelope;
}

void DrawEnvelope(TReportCanvas& canvas, const engine::TFileAnalysis& a) {
    canvas.Heading("Envelope over all stages", 1, true, true, 0.5 * canvas.Body().height());
    const std::vector<TEnvelopePoint> moment = Envelope(a.cases, &TNodeResult::moment);
    const std::vector<TEnvelopePoint> shear = Envelope(a.cases, &TNodeResult::shear);
    if (moment.empty()) {
        canvas.Paragraph("No envelope: a stage without results (see its input error or failure) leaves it empty.");
        return;
    }
    const TReportUnits u = ReportUnits(a.cases.front().unitCode);
    canvas.Paragraph("The largest and smallest bending moment and shear at every node over the " +
                     QString::number(a.cases.size()) +
                     " stages (thick lines), over the stages' own curves (thin). Each support's largest force "
                     "follows, with the stage it occurs in.");

    // The graph.
    const QColor high(0xc0, 0, 0), low(0, 0, 0xc0);
    std::vector<TDepthPanel> panels;
    std::vector<TLegendEntry> legend;
    double depthMax = moment.back().depth;
    const struct {
        const std::vector<TEnvelopePoint>* envelope;
        double TNodeResult::*field;
        QString title;
    } quantities[] = {{&moment, &TNodeResult::moment, "Bending moment (" + u.moment + ")"},
                      {&shear, &TNodeResult::shear, "Shear (" + u.force + ")"}};
    for (const auto& q : quantities) {
        TDepthPanel panel{q.title, {}, {}};
        for (size_t i = 0; i < a.cases.size(); ++i) {
            TDepthCurve curve{{}, CurveColour(static_cast<int>(i)).lighter(150), 0.5, true};
            for (const TNodeResult& n : a.cases[i].nodes) {
                curve.points.emplace_back(n.*q.field, n.depth);
                depthMax = std::max(depthMax, n.depth);
            }
            panel.curves.push_back(std::move(curve));
        }
        TDepthCurve highest{{}, high, 1.4, false}, lowest{{}, low, 1.4, false};
        const TEnvelopePoint* top = &q.envelope->front();
        const TEnvelopePoint* bottom = top;
        for (const TEnvelopePoint& p : *q.envelope) {
            highest.points.emplace_back(p.high, p.depth);
            lowest.points.emplace_back(p.low, p.depth);
            if (p.high > top->high) top = &p;
            if (p.low < bottom->low) bottom = &p;
        }
        panel.curves.push_back(std::move(highest));
        panel.curves.push_back(std::move(lowest));
        panel.notes.push_back({top->high, top->depth, Figure(top->high) + ", " + Label(a.cases[top->highCase])});
        panel.notes.push_back(
            {bottom->low, bottom->depth, Figure(bottom->low) + ", " + Label(a.cases[bottom->lowCase])});
        panels.push_back(std::move(panel));
    }
    legend.push_back({"largest over the stages", high, 1.4, false});
    legend.push_back({"smallest over the stages", low, 1.4, false});
    for (size_t i = 0; i < a.cases.size(); ++i)
        legend.push_back({Label(a.cases[i]), CurveColour(static_cast<int>(i)).lighter(150), 0.5, true});
    const double height = std::min(canvas.RoomLeft() * 0.62, canvas.Body().height() * 0.55);
    DrawDepthPanels(canvas, panels, depthMax, u.length, legend, height);

    // The extremes, with their stage and depth.
    TReportTable table;
    table.caption = "Extremes of the envelope";
    table.headers = {"Quantity", "Value", "Unit", "At depth (" + u.length + ")", "Stage"};
    table.textColumns = {0, 2, 4};
    for (const auto& q : quantities) {
        const TEnvelopePoint* top = &q.envelope->front();
        const TEnvelopePoint* bottom = top;
        for (const TEnvelopePoint& p : *q.envelope) {
            if (p.high > top->high) top = &p;
            if (p.low < bottom->low) bottom = &p;
        }
        const QString name = q.field == &TNodeResult::moment ? "moment" : "shear";
        const QString unit = q.field == &TNodeResult::moment ? u.moment : u.force;
        table.Add({"Largest " + name, Figure(top->high), unit, Figure(top->depth), Label(a.cases[top->highCase])});
        table.Add({"Smallest " + name, Figure(bottom->low), unit, Figure(bottom->depth),
                   Label(a.cases[bottom->lowCase])});
    }
    DrawTable(canvas, table);

    // Each support's largest force: of the largest size, its sign kept.
    std::map<std::tuple<double, int, int>, std::pair<const engine::TSupportForce*, size_t>> largest;
    for (size_t i = 0; i < a.cases.size(); ++i)
        for (const engine::TSupportForce& s : a.cases[i].supports) {
            auto& entry = largest[{s.depth, s.node, static_cast<int>(s.kind)}];
            if (!entry.first || std::fabs(s.force) > std::fabs(entry.first->force)) entry = {&s, i};
        }
    if (largest.empty()) {
        canvas.Paragraph("Support forces over the stages: no stage has a support.");
        return;
    }
    TReportTable supports;
    supports.caption = "Largest support forces over the stages (positive: holding the wall back toward the backfill)";
    supports.headers = {"Node", "Depth (" + u.length + ")", "Kind", "Largest per wall unit", "Per length", "Stage"};
    supports.textColumns = {2, 5};
    for (const auto& [key, entry] : largest) {
        const engine::TSupportForce& s = *entry.first;
        supports.Add({QString::number(s.node), Figure(s.depth), engine::SupportKindText(s.kind), Figure(s.force),
                      Figure(s.perLength), Label(a.cases[entry.second])});
    }
    DrawTable(canvas, supports);
}

}  // namespace torvex
