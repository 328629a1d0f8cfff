#include "input/WallInput.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "dataentry/ColumnTypes.h"
#include "input/InputRanges.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

double Real(const TGridTable& table, int col, int row) {
    return static_cast<double>(table.Cell(col, row).AsFloat());
}

int Int(const TGridTable& table, int col, int row) { return table.Cell(col, row).AsInteger(); }

std::string NodeText(int node) { return std::to_string(node); }

void CheckNode(int node, int n, const std::string& what) {
    if (node < 0 || node > n)
        throw std::invalid_argument(what + " names node " + NodeText(node) +
                                    ", outside the wall (nodes 0 to " + NodeText(n) + ").");
}

// Rows of (code, from, to, value...) tables: code 1 sets every node of from..to to the row's
// value; code 2 interpolates linearly from the row's start node to the end node of the next
// row. `assign` receives each node with its weight pair (row r, row r+1, fraction).
struct TRowSpan {
    int from, to, code;
};

template <typename Assign>
void ApplyRows(const std::vector<TRowSpan>& rows, int n, const std::string& what, Assign assign) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const TRowSpan& row = rows[r];
        CheckNode(row.from, n, what);
        CheckNode(row.to, n, what);
        if (row.code == 2 && r + 1 < rows.size()) {
            const int end = rows[r + 1].to;
            CheckNode(end, n, what);
            const int span = std::max(end - row.from, 1);
            for (int node = row.from; node <= end; ++node)
                assign(node, r, r + 1, static_cast<double>(node - row.from) / span);
        } else if (!(r > 0 && rows[r - 1].code == 2)) {
            for (int node = std::min(row.from, row.to); node <= std::max(row.from, row.to); ++node)
                assign(node, r, r, 0.0);
        }
    }
}

std::vector<TRowSpan> Spans(const TGridTable& table, int codeCol, int fromCol, int toCol) {
    std::vector<TRowSpan> rows;
    for (int r = 0; r < table.RowCount(); ++r)
        rows.push_back({Int(table, fromCol, r), Int(table, toCol, r), Int(table, codeCol, r)});
    return rows;
}

}  // namespace

double TSoilLayer::Fraction(double x) const {
    const double span = bottom - top;
    return span > 0 ? std::clamp((x - top) / span, 0.0, 1.0) : 0.0;
}

double TSoilLayer::GammaAt(double x) const {
    const double f = Fraction(x);
    return (1 - f) * gamma + f * atBottom.gamma;
}

TSoilValues TSoilLayer::At(double x) const {
    const double f = Fraction(x);
    const auto mix = [&](double TSoilValues::*field) { return (1 - f) * this->*field + f * atBottom.*field; };
    TSoilValues v;
    for (double TSoilValues::*field : {&TSoilValues::gamma, &TSoilValues::c, &TSoilValues::phi, &TSoilValues::e50,
                                       &TSoilValues::k, &TSoilValues::krm, &TSoilValues::Eir, &TSoilValues::rqd})
        v.*field = mix(field);
    return v;
}

double Interpolate(const std::vector<TCurvePoint>& points, double x) {
    if (points.empty()) return 0;
    if (x <= points.front().x) return points.front().y;
    if (x >= points.back().x) return points.back().y;
    const auto upper = std::upper_bound(points.begin(), points.end(), x,
                                        [](double v, const TCurvePoint& p) { return v < p.x; });
    const TCurvePoint& b = *upper;
    const TCurvePoint& a = *(upper - 1);
    if (b.x == a.x) return b.y;
    return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

TWallInput BuildWallInput(const TWorkspace& workspace, TTerm term) {
    const TProgramData& p = workspace.Project();
    TWallInput in;
    in.title = p.Title;
    in.unitCode = p.UnitSystem;
    const bool english = p.UnitSystem == 1;
    // Table depths are in ft, unit weights in pcf, strengths in psf, line loads in lbs/ft in
    // English units; the engine works in inches and pounds.
    const double depthFactor = english ? 12.0 : 1.0;
    const double weightFactor = english ? 1.0 / 1728 : 1.0;
    const double strengthFactor = english ? 1.0 / 144 : 1.0;
    in.pressureMode = p.PressureMode;
    in.resistanceMode = p.ResistanceMode;
    in.maxDeflection = static_cast<double>(p.MaxDeflection);
    in.tolerance = static_cast<double>(p.ClosureTolerance);
    in.freeHeight = static_cast<double>(p.FreeHeight);
    in.activeWidth = static_cast<double>(p.ActiveWidth);
    in.resistanceWidth = static_cast<double>(p.ResistanceWidth);
    in.waterBackfill = static_cast<double>(p.WaterDepthBackfill);
    in.waterExcavation = static_cast<double>(p.WaterDepthExcavation);
    in.pressureFactor = static_cast<double>(p.PressureFactor);
    in.backfillSlope = static_cast<double>(p.BackfillSlope);
    in.backfillSurcharge = static_cast<double>(p.BackfillSurcharge);
    in.gammaWater = english ? 62.4 / 1728 : 9.81;
    if (p.UnitSystem == 3)
        in.warnings.push_back("The project is in generic F and L units; the engine takes them as kN and m.");

    const int n = p.NumIncrements;
    const double h = static_cast<double>(p.IncrementLength);
    // Real walls take a few hundred increments; the limit keeps a mistyped count from running
    // for minutes.
    if (n < 2 || n > 10000)
        throw std::invalid_argument("The number of increments must be between 2 and 10000; the file gives " +
                                    std::to_string(n) + ".");
    if (!(h > 0) || !std::isfinite(h))
        throw std::invalid_argument("The increment length must be greater than zero.");
    if (!(in.tolerance > 0)) throw std::invalid_argument("The deflection closure tolerance must be greater than zero.");
    if (!(in.maxDeflection > 0)) throw std::invalid_argument("The maximum allowable deflection must be greater than zero.");
    in.beam = TBeamModel::Sized(n, h);
    TBeamModel& beam = in.beam;

    // Wall stiffness.
    const TGridTable& sections = workspace.Table("PileSect");
    std::vector<bool> hasEI(static_cast<size_t>(n + 1), false);
    const auto sectionSpans = Spans(sections, 2, 0, 1);
    ApplyRows(sectionSpans, n, "A wall-stiffness row", [&](int node, size_t a, size_t b, double f) {
        const double ei = (1 - f) * Real(sections, 3, static_cast<int>(a)) + f * Real(sections, 3, static_cast<int>(b));
        beam.EI[static_cast<size_t>(node)] = ei;
        hasEI[static_cast<size_t>(node)] = true;
    });
    for (int node = 0; node <= n; ++node)
        if (!hasEI[static_cast<size_t>(node)] || !(beam.EI[static_cast<size_t>(node)] > 0))
            throw std::invalid_argument("Values of Flexural Stiffness (EI) must be specified for all nodes of the wall: node " +
                                        NodeText(node) + " has none (or a value that is not positive).");

    // Concentrated loads and axial loads.
    const TGridTable& loads = workspace.Table("BoundCond");
    std::vector<double> axial(static_cast<size_t>(n + 1), 0.0);
    ApplyRows(Spans(loads, 0, 1, 2), n, "A concentrated-load row", [&](int node, size_t a, size_t b, double f) {
        const auto mix = [&](int col) {
            return (1 - f) * Real(loads, col, static_cast<int>(a)) + f * Real(loads, col, static_cast<int>(b));
        };
        beam.P[static_cast<size_t>(node)] += mix(3);
        beam.Mt[static_cast<size_t>(node)] += mix(4);
        axial[static_cast<size_t>(node)] += mix(5);
    });
    double sum = 0;
    for (int node = 0; node <= n; ++node) {
        sum += axial[static_cast<size_t>(node)];
        beam.Q[static_cast<size_t>(node)] = sum;  // compression from the loads at or above
    }

    // Springs: code in column 0, nodes in 1 and 2.
    const TGridTable& springs = workspace.Table("SoilStrength");
    ApplyRows(Spans(springs, 0, 1, 2), n, "A spring row", [&](int node, size_t a, size_t b, double f) {
        const auto mix = [&](int col) {
            return (1 - f) * Real(springs, col, static_cast<int>(a)) + f * Real(springs, col, static_cast<int>(b));
        };
        beam.kLateral[static_cast<size_t>(node)] += mix(3);
        beam.kRotation[static_cast<size_t>(node)] += mix(4);
    });

    // Restraints on deflection or slope.
    const TGridTable& restraints = workspace.Table("Soillayer");
    if (p.UseRestraints)
        for (int r = 0; r < restraints.RowCount(); ++r) {
            const int node = Int(restraints, 1, r);
            CheckNode(node, n, "A restraint");
            if (Int(restraints, 0, r) == 2)
                beam.fixedSlope[static_cast<size_t>(node)] = Real(restraints, 3, r);
            else
                beam.fixedDeflection[static_cast<size_t>(node)] = Real(restraints, 2, r);
        }

    // Soil layers: the two rows of a layer's parameter table are the values at its top and
    // at its bottom.
    const TGridTable& soil = workspace.Table(term == TTerm::Long ? "LongSoil" : "NewSoil");
    if (in.pressureMode > 1 || in.resistanceMode > 1)
        for (int r = 0; r < soil.RowCount(); ++r) {
            TSoilLayer layer;
            layer.type = Int(soil, 0, r);
            layer.top = in.layers.empty() ? 0.0 : in.layers.back().bottom;
            layer.bottom = Real(soil, 1, r) * depthFactor;
            const TGridTable& q = soil.Cell(2, r).AsTable();
            const auto values = [&](int row) {
                const auto P = [&](int col) {
                    return row < q.RowCount() && col < q.ColumnCount() ? Real(q, col, row) : 0.0;
                };
                TSoilValues v;
                v.gamma = P(0) * weightFactor;
                switch (layer.type) {
                    case 1: case 2: case 3:
                        v.c = P(1) * strengthFactor;
                        v.e50 = P(2);
                        v.k = P(3);
                        break;
                    case 4:
                        v.phi = P(1);
                        v.k = P(2);
                        break;
                    case 5:
                        v.phi = P(1);
                        v.c = P(2) * strengthFactor;
                        v.e50 = P(3);
                        v.k = P(4);
                        break;
                    case 6:
                        v.c = P(1);  // uniaxial compressive strength, F/L^2 as entered
                        break;
                    case 7:
                        v.c = P(1);
                        v.krm = P(2);
                        v.Eir = P(3);
                        v.rqd = P(4);
                        break;
                    default: break;
                }
                bool zero = true;
                for (int col = 0; col < q.ColumnCount(); ++col) zero = zero && P(col) == 0;
                return std::pair{v, zero};
            };
            const auto [topValues, topZero] = values(0);
            const auto [bottomValues, bottomZero] = values(1);
            static_cast<TSoilValues&>(layer) = topZero ? bottomValues : topValues;
            layer.atBottom = bottomZero ? topValues : bottomValues;
            if (topZero != bottomZero && q.RowCount() >= 2)
                in.warnings.push_back("Soil layer " + std::to_string(r + 1) + ": the parameter row at the layer's " +
                                      (topZero ? "top" : "bottom") + " is all zeros; it takes the values of the " +
                                      (topZero ? "bottom" : "top") + " row.");
            in.layers.push_back(layer);
        }

    // Surcharge loads; their distance and width are in mm in SI units and plain lengths in
    // English and generic units.
    const TGridTable& surcharges = workspace.Table("SurchargeTable");
    const double mm = p.UnitSystem == 2 ? 0.001 : 1.0;
    if (in.pressureMode > 1 || in.resistanceMode > 1)
        for (int r = 0; r < surcharges.RowCount(); ++r)
            in.surcharges.push_back({Int(surcharges, 0, r), Real(surcharges, 1, r), Real(surcharges, 2, r) * mm,
                                     Real(surcharges, 3, r) * mm});

    // User-input distributed load.
    const TGridTable& dist = workspace.Table(term == TTerm::Long ? "LongDist" : "DistLoad");
    if (in.pressureMode == 1)
        for (int r = 0; r < dist.RowCount(); ++r)
            in.distributedLoad.push_back({Real(dist, 0, r) * depthFactor, Real(dist, 1, r) / depthFactor});
    std::stable_sort(in.distributedLoad.begin(), in.distributedLoad.end(),
                     [](const TCurvePoint& a, const TCurvePoint& b) { return a.x < b.x; });

    // p-y modification factors.
    if (p.UsePYModifiers) {
        const TGridTable& mods = workspace.Table("PYMod");
        for (int r = 0; r < mods.RowCount(); ++r)
            in.pyModifiers.push_back({Real(mods, 0, r) * depthFactor, Real(mods, 1, r), Real(mods, 2, r)});
        std::stable_sort(in.pyModifiers.begin(), in.pyModifiers.end(),
                         [](const TPyModifier& a, const TPyModifier& b) { return a.depth < b.depth; });
    }

    // External p-y curves.
    const TGridTable& sets = workspace.Table("PYCurves");
    if (p.UsePYCurves)
        for (int r = 0; r < sets.RowCount(); ++r) {
            TExternalCurve curve;
            curve.node = Int(sets, 0, r);
            CheckNode(curve.node, n, "An external p-y curve");
            curve.pMultiplier = Real(sets, 2, r);
            curve.yMultiplier = Real(sets, 3, r);
            if (curve.pMultiplier == 0) curve.pMultiplier = 1;
            if (curve.yMultiplier == 0) curve.yMultiplier = 1;
            const TGridTable& points = sets.Cell(1, r).AsTable();
            for (int k = 0; k < points.RowCount(); ++k) curve.points.push_back({Real(points, 0, k), Real(points, 1, k)});
            std::stable_sort(curve.points.begin(), curve.points.end(),
                             [](const TCurvePoint& a, const TCurvePoint& b) { return a.x < b.x; });
            in.externalCurves.push_back(std::move(curve));
        }
    std::stable_sort(in.externalCurves.begin(), in.externalCurves.end(),
                     [](const TExternalCurve& a, const TExternalCurve& b) { return a.node < b.node; });

    // Nonlinear moment-EI curves.
    const TGridTable& meiSets = workspace.Table("MEICurves");
    if (p.UseMEICurves)
        for (int r = 0; r < meiSets.RowCount(); ++r) {
            TMomentEICurve curve;
            curve.fromNode = Int(meiSets, 0, r);
            curve.toNode = Int(meiSets, 1, r);
            CheckNode(curve.fromNode, n, "A moment-EI curve");
            CheckNode(curve.toNode, n, "A moment-EI curve");
            const TGridTable& points = meiSets.Cell(2, r).AsTable();
            for (int k = 0; k < points.RowCount(); ++k) curve.points.push_back({std::fabs(Real(points, 0, k)), Real(points, 1, k)});
            std::stable_sort(curve.points.begin(), curve.points.end(),
                             [](const TCurvePoint& a, const TCurvePoint& b) { return a.x < b.x; });
            if (!curve.points.empty()) in.momentEICurves.push_back(std::move(curve));
        }
    CheckInputRanges(in);
    return in;
}

}  // namespace torvex::engine
