#include "report/ReportProfile.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <tuple>

#include "Analysis.h"
#include "soil/PyCriteria.h"
#include "plot/PlotGeometry.h"
#include "report/ReportCanvas.h"
#include "report/ReportEnvelope.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"

namespace torvex {
namespace {

using engine::TCaseResult;
using engine::TWallInput;

// The drawing's colours, each thing its own, so that a level can be told from another.
const QColor kWallColour(60, 60, 60);
const QColor kExcavationColour(176, 80, 0);
const QColor kWaterColour(0, 100, 230);
const QColor kSupportColour(0, 140, 60);
const QColor kSurchargeColour(150, 0, 150);

// Room around the wall in wall lengths: below the toe, and on either side (the backfill on the
// left). Above the top the room is that of the surcharges' labels.
constexpr double kBelow = 0.06, kLeft = 0.6, kRight = 0.4;

QColor LayerColour(int type) {
    switch (type) {
        case 1: case 2: case 3: return QColor(222, 226, 200);  // clays
        case 4: return QColor(250, 238, 190);                   // sand
        case 5: return QColor(236, 222, 200);                   // silt
        default: return QColor(218, 218, 218);                  // rock
    }
}

QString SoilName(int type) {
    return type >= 1 && type <= 7 ? QString::fromStdString(engine::PyCriterionName(engine::PyCriterionFromCode(type)))
                                  : QString("soil type %1").arg(type);
}

// The parameters the layer's p-y criterion uses, at its top.
QString LayerParameters(const engine::TSoilLayer& l, const TReportUnits& u) {
    QStringList parts{"γ " + Figure(l.gamma, 4) + " " + u.unitWeight};
    const bool clay = l.type >= 1 && l.type <= 3, rock = l.type >= 6;
    if (clay || l.type == 5) parts << "c " + Figure(l.c, 4) + " " + u.stress;
    if (rock) parts << "qu " + Figure(l.c, 4) + " " + u.stress;
    if (l.type == 4 || l.type == 5) parts << "φ " + Figure(l.phi, 4) + "°";
    if (clay || l.type == 5) parts << "ε50 " + Figure(l.e50, 4);
    if (l.type == 2 || l.type == 4 || l.type == 5) parts << "k " + Figure(l.k, 4) + " " + u.unitWeight;
    if (l.type == 7) parts << "Eir " + Figure(l.Eir, 4) + " " + u.stress << "krm " + Figure(l.krm, 4);
    return parts.join(", ");
}

struct TSupportMark {
    int node = 0;
    double depth = 0;
    QString kind, value;
    QString from;  // the first case that has it
};

// Every support of every case, once, with the case it first appears in.
std::vector<TSupportMark> Supports(const std::vector<const TCaseResult*>& cases, const TReportUnits& u) {
    std::map<std::pair<int, int>, TSupportMark> marks;
    for (const TCaseResult* c : cases) {
        const engine::TBeamModel& b = c->input.beam;
        for (int i = 0; i <= b.n; ++i) {
            const size_t k = static_cast<size_t>(i);
            const auto add = [&](int kind, const QString& name, const QString& value) {
                marks.try_emplace({i, kind}, TSupportMark{i, i * b.h, name, value, QString::fromStdString(c->label)});
            };
            if (k < b.fixedDeflection.size() && b.fixedDeflection[k])
                add(0, "deflection restraint", "y = " + Figure(*b.fixedDeflection[k]) + " " + u.length);
            if (k < b.fixedSlope.size() && b.fixedSlope[k])
                add(1, "slope restraint", "slope = " + Figure(*b.fixedSlope[k]));
            if (k < b.kLateral.size() && b.kLateral[k] != 0)
                add(2, "lateral spring", Figure(b.kLateral[k]) + " " + u.force + "/" + u.length);
            if (k < b.kRotation.size() && b.kRotation[k] != 0)
                add(3, "rotational spring", Figure(b.kRotation[k]) + " " + u.moment + "/rad");
        }
    }
    std::vector<TSupportMark> list;
    for (auto& [key, mark] : marks) list.push_back(mark);
    return list;
}

struct TLevel {
    double depth = 0;
    QString label;
};

// The excavation levels: each stage's, or the cases' where they differ.
std::vector<TLevel> ExcavationLevels(const std::vector<const TCaseResult*>& cases, bool staged) {
    std::vector<TLevel> levels;
    for (const TCaseResult* c : cases) {
        const double h = c->input.freeHeight;
        if (!staged && std::any_of(levels.begin(), levels.end(), [h](const TLevel& l) { return l.depth == h; }))
            continue;
        levels.push_back({h, staged ? QString::fromStdString(c->label) : QString()});
    }
    if (!staged && levels.size() > 1)
        for (size_t k = 0; k < levels.size(); ++k) levels[k].label = QString::fromStdString(cases[k]->label);
    return levels;
}

QString SurchargeName(int type) { return type == 1 ? "point load" : type == 2 ? "line load" : "strip load"; }

QString SurchargeUnit(int type, const TReportUnits& u) {
    return type == 1 ? u.force : type == 2 ? u.force + "/" + u.length : u.stress;
}

class TProfileDrawing {
public:
    TProfileDrawing(TReportCanvas& canvas, QPainter& p, const QRectF& area, double above, double wallLength,
                    double scale, double inchesPerUnit)
        : canvas_(canvas), p_(p), area_(area), length_(wallLength) {
        pixels_ = canvas.Device().logicalDpiY() * inchesPerUnit / scale;
        wallX_ = area.left() + kLeft * wallLength * pixels_;
        topY_ = area.top() + above;
        font_ = canvas.TextFont(0.78);
        line_ = canvas.LineHeight(font_);
    }
    double X(double offset) const { return wallX_ + offset * pixels_; }  // offset from the wall, + toward the excavation
    double Y(double depth) const { return topY_ + depth * pixels_; }
    double Left() const { return area_.left(); }
    double Right() const { return area_.right(); }
    double Bottom() const { return area_.bottom(); }
    double Pt(double points) const { return canvas_.Points(points); }
    double Line() const { return line_; }

    void Pen(const QColor& colour, double points, Qt::PenStyle style = Qt::SolidLine) {
        p_.setPen(QPen(colour, Pt(points), style, Qt::FlatCap));
        p_.setBrush(Qt::NoBrush);
    }
    // Text with its left (or right) end at x and its middle at y, on a white ground.
    void Label(double x, double y, const QString& text, const QColor& colour, bool alignRight = false,
               bool ground = true) {
        const double w = canvas_.TextWidth(font_, text) + Pt(2);
        const QRectF box(alignRight ? x - w : x, y - line_ / 2, w, line_);
        if (ground) p_.fillRect(box, QColor(255, 255, 255, 210));
        p_.setFont(font_);
        p_.setPen(colour);
        p_.drawText(box, Qt::AlignCenter, text);
    }
    void Arrow(QPointF from, QPointF to, const QColor& colour) {
        Pen(colour, 0.8);
        p_.drawLine(from, to);
        const double head = Pt(3);
        const double dx = to.x() - from.x(), dy = to.y() - from.y(), n = std::hypot(dx, dy);
        if (n <= 0) return;
        const QPointF back(to.x() - dx / n * head, to.y() - dy / n * head);
        const QPointF side(-dy / n * head * 0.5, dx / n * head * 0.5);
        p_.setBrush(colour);
        p_.setPen(Qt::NoPen);
        p_.drawPolygon(QPolygonF({to, back + side, back - side}));
        p_.setBrush(Qt::NoBrush);
    }
    QPainter& P() { return p_; }

private:
    TReportCanvas& canvas_;
    QPainter& p_;
    QRectF area_;
    double length_, pixels_ = 1, wallX_ = 0, topY_ = 0;
    QFont font_;
    double line_ = 1;
};

void DrawDepthAxis(TProfileDrawing& d, double x, double wallLength, const QString& unit) {
    const TAxisTicks ticks = AxisTicks(0, wallLength, std::max(2, static_cast<int>((d.Y(wallLength) - d.Y(0)) / (3 * d.Line()))));
    d.Pen(Qt::black, 0.5);
    d.P().drawLine(QPointF(x, d.Y(0)), QPointF(x, d.Y(wallLength)));
    for (long long k = ticks.First; k <= ticks.Last; ++k) {
        const double depth = static_cast<double>(k * ticks.Minor);
        const double tick = k % 5 == 0 ? d.Pt(4) : d.Pt(2);
        d.Pen(Qt::black, 0.5);
        d.P().drawLine(QPointF(x - tick, d.Y(depth)), QPointF(x, d.Y(depth)));
        if (k % 5 == 0) d.Label(x - d.Pt(5), d.Y(depth), Figure(depth), Qt::black, true, false);
    }
    d.Label(x - d.Pt(5), d.Y(0) - 1.3 * d.Line(), "depth (" + unit + ")", Qt::black, true, false);
}

}  // namespace

double DrawingScale(double smallest) {
    if (!(smallest > 0) || !std::isfinite(smallest)) return 1;
    static constexpr double kSteps[] = {1, 1.25, 1.5, 2, 2.5, 3, 4, 5, 7.5, 10};
    double power = std::pow(10.0, std::floor(std::log10(smallest)));
    for (double step : kSteps)
        if (step * power >= smallest * (1 - 1e-12)) return step * power;
    return 10 * power;
}

void DrawProfilePage(TReportCanvas& canvas, const engine::TFileAnalysis& a) {
    canvas.Heading("Wall and soil profile", 1, true, true, 0.6 * canvas.Body().height());
    std::vector<const TCaseResult*> cases;
    for (const TCaseResult& c : a.cases)
        if (c.outcome != engine::TOutcome::InputError && c.input.beam.n > 0 && c.input.beam.h > 0) cases.push_back(&c);
    if (cases.empty()) {
        canvas.Paragraph("No profile: no case has input that could be analysed (see the input errors).");
        return;
    }
    const bool staged = StagedAnalysis(a);
    // The last case holds the wall as it ends up: the final excavation, every support.
    const TWallInput& in = cases.back()->input;
    const TReportUnits u = ReportUnits(in.unitCode);
    const double length = in.beam.n * in.beam.h;
    const double inchesPerUnit = in.unitCode == 1 ? 1 : 1 / 0.0254;
    const std::vector<TLevel> levels = ExcavationLevels(cases, staged);
    const std::vector<TSupportMark> supports = Supports(cases, u);
    std::vector<engine::TSurcharge> surcharges;
    for (const engine::TSurcharge& s : in.surcharges)
        if (s.magnitude != 0) surcharges.push_back(s);

    // The scale: the wall and its surroundings in the room above the table, rounded up.
    const double dpi = canvas.Device().logicalDpiY();
    const double axisRoom = canvas.Points(60);
    const QRectF body = canvas.Body();
    const double tableRows = 4 + levels.size() + supports.size() + surcharges.size();
    const double room = std::max(body.height() * 0.45,
                                 canvas.RoomLeft() - 2 * canvas.LineHeight(canvas.TextFont()) -
                                     (tableRows + 3) * canvas.LineHeight(canvas.TextFont()) * 1.25);
    // Above the wall top: a row for each surcharge's label, two for the uniform surcharge's and
    // its arrows, and one for the depth axis's caption.
    const double row = 1.15 * canvas.LineHeight(canvas.TextFont(0.78));
    const double above = row * (1 + surcharges.size() + (in.backfillSurcharge > 0 ? 2 : 0)) + canvas.Points(6);
    const double fit = std::min((room - above) / ((1 + kBelow) * length),
                                (body.width() - axisRoom) / ((kLeft + kRight) * length));  // device pixels per unit
    const double scale = DrawingScale(dpi * inchesPerUnit / fit);
    canvas.Paragraph("Drawn to scale 1:" + Figure(scale) + ", the same across and down. Depths (" + u.length +
                     ") below the wall top; soil parameters at the top of each layer" +
                     (staged ? "; the excavation level of every stage, each support from the stage it goes in."
                             : "."));
    const double pixels = dpi * inchesPerUnit / scale;
    const QRectF area(body.left() + axisRoom, canvas.Y(), (kLeft + kRight) * length * pixels,
                      above + (1 + kBelow) * length * pixels);
    canvas.Advance(area.height() + canvas.Points(6));
    if (QPainter* painter = canvas.Painter()) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        TProfileDrawing d(canvas, *painter, area, above, length, scale, inchesPerUnit);
        const double finalLevel = in.freeHeight;
        const double bottom = length * (1 + kBelow);
        // The soil: the layers behind the wall from its top, in front from the excavation.
        for (size_t i = 0; i < in.layers.size(); ++i) {
            const engine::TSoilLayer& l = in.layers[i];
            const double top = std::max(l.top, 0.0);
            const double end = i + 1 == in.layers.size() ? std::max(bottom, l.bottom) : l.bottom;
            const double lower = std::min(end, bottom);
            if (lower <= top) continue;
            // Layers of one soil type next to each other in two shades.
            const QColor fill = i % 2 ? LayerColour(l.type).darker(108) : LayerColour(l.type);
            painter->fillRect(QRectF(QPointF(d.Left(), d.Y(top)), QPointF(d.X(0), d.Y(lower))), fill);
            if (lower > finalLevel)
                painter->fillRect(QRectF(QPointF(d.X(0), d.Y(std::max(top, finalLevel))), QPointF(d.Right(), d.Y(lower))),
                                  fill);
            if (i > 0 && top > 0) {
                d.Pen(QColor(110, 110, 110), 0.6);
                painter->drawLine(QPointF(d.Left(), d.Y(top)), QPointF(d.X(0), d.Y(top)));
                if (top > finalLevel) painter->drawLine(QPointF(d.X(0), d.Y(top)), QPointF(d.Right(), d.Y(top)));
            }
            const double x = d.Left() + d.Pt(3);
            d.Label(x, d.Y(top) + 0.7 * d.Line(), QString("Layer %1: %2, to %3").arg(i + 1).arg(SoilName(l.type),
                                                                                         Figure(l.bottom)), Qt::black,
                    false, false);
            d.Label(x, d.Y(top) + 1.7 * d.Line(), LayerParameters(l, u), Qt::black, false, false);
        }
        // The backfill surface, sloping up away from the wall when the backfill slopes.
        d.Pen(Qt::black, 1);
        const double rise = std::tan(in.backfillSlope * std::numbers::pi / 180) * kLeft * length;
        painter->drawLine(QPointF(d.X(0), d.Y(0)),
                          QPointF(d.Left(), std::max(area.top(), d.Y(-rise))));
        // Water on both sides.
        const auto water = [&](double depth, double from, double to, const QString& text, bool right) {
            if (!(depth >= 0) || depth > bottom) return;
            d.Pen(kWaterColour, 0.9, Qt::DashLine);
            painter->drawLine(QPointF(from, d.Y(depth)), QPointF(to, d.Y(depth)));
            const double cx = right ? from + d.Pt(60) : to - d.Pt(60);
            const double h = d.Pt(4);
            painter->setPen(QPen(kWaterColour, d.Pt(0.7)));
            painter->drawPolygon(QPolygonF({QPointF(cx - h, d.Y(depth) - 1.4 * h), QPointF(cx + h, d.Y(depth) - 1.4 * h),
                                            QPointF(cx, d.Y(depth))}));
            d.Label(right ? cx + d.Pt(6) : cx - d.Pt(6), d.Y(depth) - 0.7 * d.Line(), text, kWaterColour, !right);
        };
        water(in.waterBackfill, d.Left(), d.X(0), "water " + Figure(in.waterBackfill), false);
        water(std::max(in.waterExcavation, 0.0), d.X(0), d.Right(), "water " + Figure(in.waterExcavation), true);
        // The excavation levels: the final one solid and hatched, the earlier ones dashed.
        for (const TLevel& level : levels) {
            const bool last = level.depth == finalLevel;
            d.Pen(kExcavationColour, last ? 1.4 : 0.9, last ? Qt::SolidLine : Qt::DashLine);
            painter->drawLine(QPointF(d.X(0), d.Y(level.depth)), QPointF(d.Right(), d.Y(level.depth)));
            if (last) {
                d.Pen(kExcavationColour, 0.6);
                for (double x = d.X(0) + d.Pt(6); x < d.Right(); x += d.Pt(8))
                    painter->drawLine(QPointF(x, d.Y(level.depth)), QPointF(x - d.Pt(4), d.Y(level.depth) + d.Pt(4)));
            }
            const QString text = (level.label.isEmpty() ? QString() : level.label + ": ") + "excavation " +
                                 Figure(level.depth);
            d.Label(d.Right() - d.Pt(2), d.Y(level.depth) - 0.65 * d.Line(), text, kExcavationColour, true);
        }
        // The wall, its top and toe.
        const double half = d.Pt(2.5);
        painter->fillRect(QRectF(QPointF(d.X(0) - half, d.Y(0)), QPointF(d.X(0) + half, d.Y(length))), kWallColour);
        d.Label(d.X(0) + half + d.Pt(3), d.Y(length) + 0.2 * d.Line(), "toe " + Figure(length), Qt::black);
        // Supports at their depths, on the excavation side.
        for (const TSupportMark& s : supports) {
            const double y = d.Y(s.depth), reach = d.X(0) + d.Pt(28);
            d.Pen(kSupportColour, 1.6);
            if (s.kind.contains("spring")) {
                QPolygonF zigzag;
                for (int k = 0; k <= 8; ++k)
                    zigzag << QPointF(d.X(0) + half + k * (reach - d.X(0) - half) / 8,
                                      y + (k == 0 || k == 8 ? 0 : (k % 2 ? -1 : 1) * d.Pt(2.5)));
                painter->drawPolyline(zigzag);
            } else {
                painter->drawLine(QPointF(d.X(0) + half, y), QPointF(reach, y));
            }
            d.Pen(kSupportColour, 1.2);
            painter->drawLine(QPointF(reach, y - d.Pt(4)), QPointF(reach, y + d.Pt(4)));
            for (int k = -1; k <= 1; ++k)
                painter->drawLine(QPointF(reach, y + k * d.Pt(3)), QPointF(reach + d.Pt(3), y + k * d.Pt(3) - d.Pt(3)));
            QString text = s.kind + " " + s.value + " at " + Figure(s.depth);
            if (staged) text += ", from " + s.from;
            d.Label(reach + d.Pt(6), y, text, kSupportColour);
        }
        // Surcharges above the backfill, at their distance from the wall (held at the edge
        // of the drawing when farther): each load's label on a row of its own, its arrow down
        // from there; the uniform surcharge just above the surface.
        const auto clampX = [&](double distance) { return std::max(d.X(-distance), d.Left() + d.Pt(4)); };
        const double surface = d.Y(0) - d.Pt(1);
        for (size_t k = 0; k < surcharges.size(); ++k) {
            const engine::TSurcharge& s = surcharges[k];
            const double y = area.top() + (k + 0.5) * row;
            const double x = clampX(s.distance);
            if (s.type == 3) {
                const double x2 = clampX(s.distance + s.width);
                d.Pen(kSurchargeColour, 0.8);
                painter->drawLine(QPointF(x2, y + row / 2), QPointF(x, y + row / 2));
                for (double xi : {x, (x + x2) / 2, x2}) d.Arrow(QPointF(xi, y + row / 2), QPointF(xi, surface), kSurchargeColour);
            } else {
                d.Arrow(QPointF(x, y), QPointF(x, surface), kSurchargeColour);
            }
            QString text = SurchargeName(s.type) + " " + Figure(s.magnitude) + " " + SurchargeUnit(s.type, u) +
                           " at " + Figure(s.distance);
            if (s.type == 3) text += ", width " + Figure(s.width);
            d.Label(x + d.Pt(2), y, text, kSurchargeColour);
        }
        if (in.backfillSurcharge > 0) {
            const double y = area.top() + (surcharges.size() + 0.5) * row;
            d.Pen(kSurchargeColour, 0.8);
            painter->drawLine(QPointF(d.Left(), y + row / 2), QPointF(d.X(0), y + row / 2));
            for (double x = d.X(0) - d.Pt(6); x > d.Left(); x -= d.Pt(18))
                d.Arrow(QPointF(x, y + row / 2), QPointF(x, surface), kSurchargeColour);
            d.Label(d.Left() + d.Pt(2), y, "uniform surcharge " + Figure(in.backfillSurcharge) + " " + u.stress,
                    kSurchargeColour);
        }
        DrawDepthAxis(d, d.Left() - d.Pt(6), length, u.length);
        painter->restore();
    }

    // The same, as figures.
    TReportTable table;
    table.caption = "Levels, supports and loads";
    table.headers = {"Item", "Depth (" + u.length + ")", "Detail"};
    table.textColumns = {0, 2};
    table.Add({"Wall top", Figure(0), "backfill surface" + (in.backfillSlope != 0 ? ", sloping " + Figure(in.backfillSlope) + " deg" : QString())});
    for (const TLevel& level : levels)
        table.Add({"Excavation level", Figure(level.depth), level.label});
    const double drawn = length * (1 + kBelow);
    table.Add({"Water, backfill side", Figure(in.waterBackfill), in.waterBackfill > drawn ? "below the drawing" : ""});
    table.Add({"Water, excavation side", Figure(in.waterExcavation),
               in.waterExcavation > drawn ? "below the drawing" : ""});
    for (const TSupportMark& s : supports)
        table.Add({"Support at node " + QString::number(s.node), Figure(s.depth),
                   s.kind + ", " + s.value + (staged ? ", from " + s.from : QString())});
    table.Add({"Toe", Figure(length), QString("%1 increments of %2").arg(in.beam.n).arg(Figure(in.beam.h))});
    if (in.backfillSurcharge > 0)
        table.Add({"Uniform surcharge", "", Figure(in.backfillSurcharge) + " " + u.stress + " on the backfill"});
    for (const engine::TSurcharge& s : surcharges)
        table.Add({"Surcharge, " + SurchargeName(s.type), "",
                   Figure(s.magnitude) + " " + SurchargeUnit(s.type, u) + " at " + Figure(s.distance) + " " + u.length +
                       " from the wall" + (s.type == 3 ? ", width " + Figure(s.width) + " " + u.length : QString())});
    DrawTable(canvas, table);
}

}  // namespace torvex
