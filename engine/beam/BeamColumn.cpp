#include "beam/BeamColumn.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "beam/BandSolver.h"

namespace torvex::engine {

TBeamModel TBeamModel::Sized(int n, double h) {
    TBeamModel m;
    m.n = n;
    m.h = h;
    const size_t count = static_cast<size_t>(n + 1);
    for (auto* v : {&m.EI, &m.Q, &m.w, &m.P, &m.Mt, &m.kLateral, &m.kRotation, &m.springOffset, &m.Es})
        v->assign(count, 0.0);
    m.fixedDeflection.assign(count, std::nullopt);
    m.fixedSlope.assign(count, std::nullopt);
    return m;
}

namespace {

// Where each unknown sits: the deflections of nodes -2 .. n+2 in order, and after an inner
// node with a slope restraint the reaction moment that imposes it. Each unknown's row holds
// its own equation, so the band stays narrow.
struct TLayout {
    std::vector<int> node;        // column of node i at [i + 2]
    std::vector<int> multiplier;  // column of node i's reaction moment, or -1
    int size = 0, band = 4;

    explicit TLayout(const TBeamModel& m) : multiplier(static_cast<size_t>(m.n + 1), -1) {
        int inner = 0;
        for (int i = -2; i <= m.n + 2; ++i) {
            node.push_back(size++);
            if (i > 0 && i < m.n && m.fixedSlope[static_cast<size_t>(i)]) {
                multiplier[static_cast<size_t>(i)] = size++;
                ++inner;
            }
        }
        band = 4 + std::min(inner, 4);
    }
    int U(int i) const { return node[static_cast<size_t>(i + 2)]; }
};

// A rotational spring k at an inner node acts on the slope there, and its couple J makes the
// moment jump, so the central difference c of y is not the slope: theta = c + h (J + Mt) / 4EI
// (as for a slope restraint). With J = -k theta that is theta = (c + h Mt / 4EI) / (1 + h k / 4EI):
// on c the spring has the stiffness k / (1 + h k / 4EI), and a concentrated moment at the node
// is shared with the spring. Exact for the piecewise cubics of beam theory, where the spring on
// the central slope was only first-order right. With a slope restraint at the node the slope is
// given and the spring acts on c as it is.
double InnerRotationStiffness(const TBeamModel& m, const TLayout& layout, int i) {
    const size_t s = static_cast<size_t>(i);
    const double k = m.kRotation[s];
    if (k == 0 || layout.multiplier[s] >= 0) return k;
    return k / (1 + m.h * k / (4 * m.EI[s]));
}

// The share of a concentrated moment at an inner node that the wall takes (1 without a spring).
double SpringMomentShare(const TBeamModel& m, const TLayout& layout, int i) {
    const size_t s = static_cast<size_t>(i);
    if (m.kRotation[s] == 0 || layout.multiplier[s] >= 0) return 1.0;
    return 1 - InnerRotationStiffness(m, layout, i) * m.h / (4 * m.EI[s]);
}

double RowResidual(const TBandMatrix& a, const std::vector<double>& b, const std::vector<double>& x, int row,
                   int band) {
    double sum = -b[static_cast<size_t>(row)];
    for (int c = std::max(0, row - band); c <= std::min(a.Size() - 1, row + band); ++c)
        sum += a.At(row, c) * x[static_cast<size_t>(c)];
    return sum;
}

}  // namespace

struct TBeamSolver::TState {
    TLayout layout;
    TBandMatrix a;
    std::vector<double> b;
    TBandMatrix balance{0, 0, 0};  // the equations before the restraints replaced rows
    std::vector<double> loads;
    std::vector<double> moments;
    TBeamResult result;

    explicit TState(const TBeamModel& m)
        : layout(m), a(layout.size, layout.band, layout.band), b(static_cast<size_t>(layout.size)) {}
};

namespace {
void CheckSize(const TBeamModel& m) {
    if (m.n < 2 || !(m.h > 0)) throw std::invalid_argument("the wall needs at least 2 increments");
}
}  // namespace

TBeamSolver::TBeamSolver(const TBeamModel& model) {
    CheckSize(model);
    state_ = std::make_unique<TState>(model);
    n_ = model.n;
}

TBeamSolver::~TBeamSolver() = default;

std::optional<TBeamResult> SolveBeam(const TBeamModel& model) {
    TBeamSolver solver(model);
    const TBeamResult* result = solver.Solve(model);
    if (!result) return std::nullopt;
    return *result;
}

const TBeamResult* TBeamSolver::Solve(const TBeamModel& m) {
    const int n = m.n;
    const double h = m.h;
    CheckSize(m);
    const TLayout& layout = state_->layout;
    bool sameShape = n == n_;
    for (int i = 1; i < n && sameShape; ++i)
        sameShape = (layout.multiplier[static_cast<size_t>(i)] >= 0) == m.fixedSlope[static_cast<size_t>(i)].has_value();
    if (!sameShape) throw std::invalid_argument("the model changed its increments or slope restraints");
    auto U = [&](int i) { return layout.U(i); };
    TBandMatrix& a = state_->a;
    a.Clear();
    std::vector<double>& b = state_->b;
    std::fill(b.begin(), b.end(), 0.0);
    auto R = [&](int i) { return m.EI[static_cast<size_t>(std::clamp(i, 0, n))]; };
    // Compression between nodes i and i+1; beyond the ends the end segment's, which makes the
    // end conditions and the node equations one half-segment balance.
    auto Qhalf = [&](int i) { return m.Q[static_cast<size_t>(std::clamp(i, 0, n - 1))]; };
    const double h2 = h * h, h3 = h2 * h, h4 = h3 * h;
    auto springLoad = [&](size_t s) { return m.P[s] + m.kLateral[s] * m.springOffset[s]; };

    // Node equations, each multiplied by h^4: the bending moment's second difference, the
    // axial term, the soil and the lateral spring equal the driving load. At the end nodes
    // the end conditions take the concentrated load and spring.
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const int row = U(i);
        const bool inner = i > 0 && i < n;
        const double qm = Qhalf(i - 1), qp = Qhalf(i);
        a.Add(row, U(i - 2), R(i - 1));
        a.Add(row, U(i - 1), -2 * R(i - 1) - 2 * R(i) + qm * h2);
        a.Add(row, U(i), R(i - 1) + 4 * R(i) + R(i + 1) - (qm + qp) * h2 + m.Es[s] * h4 +
                             (inner ? m.kLateral[s] * h3 : 0.0));
        a.Add(row, U(i + 1), -2 * R(i) - 2 * R(i + 1) + qp * h2);
        a.Add(row, U(i + 2), R(i + 1));
        const double soil0 = m.soilForce0.empty() ? 0.0 : m.soilForce0[s];
        b[static_cast<size_t>(row)] = (soil0 == 0.0 ? m.w[s] : m.w[s] - soil0) * h4 + (inner ? springLoad(s) * h3 : 0.0);
    }
    for (int i = 1; i < n; ++i) {
        const size_t s = static_cast<size_t>(i);
        // A concentrated moment as a couple of forces Mt/(2h) at the neighbours: it does the
        // work Mt times the central slope. Beside a rotational spring part of it goes into the
        // spring (below).
        const double moment = m.Mt[s] != 0 ? m.Mt[s] * SpringMomentShare(m, layout, i) : 0.0;
        if (moment != 0) {
            b[static_cast<size_t>(U(i + 1))] += moment / (2 * h) * h3;
            b[static_cast<size_t>(U(i - 1))] -= moment / (2 * h) * h3;
        }
        if (m.kRotation[s] != 0) {
            // Energy of the spring 1/2 k (dy/dx)^2 with the central slope, the stiffness taken
            // on the central difference (InnerRotationStiffness).
            const double c = InnerRotationStiffness(m, layout, i) * h / 4;
            a.Add(U(i + 1), U(i + 1), c);
            a.Add(U(i + 1), U(i - 1), -c);
            a.Add(U(i - 1), U(i + 1), -c);
            a.Add(U(i - 1), U(i - 1), c);
        }
        // A slope restraint: its reaction moment enters as a concentrated moment does, and
        // its own row imposes the slope. A couple J at node i makes the moment jump there
        // (M+ = M - J/2 below, M- = M + J/2 above, M the central value), so the central
        // difference of y is the slope plus h (M+ - M-) / 4EI; the row takes that out, which
        // keeps the restraint exact for the piecewise cubics of beam theory.
        const int lambda = layout.multiplier[s];
        if (lambda >= 0) {
            a.Add(U(i + 1), lambda, -h2 / 2);
            a.Add(U(i - 1), lambda, h2 / 2);
            a.Add(lambda, U(i + 1), 1.0 / (2 * h));
            a.Add(lambda, U(i - 1), -1.0 / (2 * h));
            a.Add(lambda, lambda, h / (4 * R(i)));
            b[static_cast<size_t>(lambda)] = *m.fixedSlope[s] + h * m.Mt[s] / (4 * R(i));
        }
    }

    // End conditions in the rows of the imaginary nodes: the moment row next to the end,
    // the shear row outermost. Moment: M = EI y''; shear: V = dM/dx + Q y'.
    auto endRows = [&](int node, int momentRow, int shearRow, int outward) {
        const size_t s = static_cast<size_t>(node);
        const double sign = outward < 0 ? 1.0 : -1.0;  // top: +, tip: -
        // EI y''(end) - sign k y'(end) + sign Mt = 0   (top: M = k y' - Mt; tip: M = -k y' + Mt)
        a.Add(momentRow, U(node - 1), R(node) / h2 + sign * m.kRotation[s] / (2 * h));
        a.Add(momentRow, U(node), -2 * R(node) / h2);
        a.Add(momentRow, U(node + 1), R(node) / h2 - sign * m.kRotation[s] / (2 * h));
        b[static_cast<size_t>(momentRow)] = -sign * m.Mt[s];
        // V(end) = sign (P - k (y - offset)): (M(node+1) - M(node-1)) / 2h + Q y'
        const double f = 1.0 / (2 * h * h2);
        const double q = Qhalf(node - (outward > 0 ? 1 : 0));
        a.Add(shearRow, U(node + 2), R(node + 1) * f);
        a.Add(shearRow, U(node + 1), -2 * R(node + 1) * f + q / (2 * h));
        a.Add(shearRow, U(node), (R(node + 1) - R(node - 1)) * f + sign * m.kLateral[s]);
        a.Add(shearRow, U(node - 1), 2 * R(node - 1) * f - q / (2 * h));
        a.Add(shearRow, U(node - 2), -R(node - 1) * f);
        b[static_cast<size_t>(shearRow)] = sign * springLoad(s);
    };
    endRows(0, U(-1), U(-2), -1);
    endRows(n, U(n + 1), U(n + 2), +1);

    // Restraints at the ends take the place of the end conditions (deflection for the shear
    // row, slope for the moment row); a deflection restraint inside the wall replaces the
    // node's force balance. The equations as they were give the reactions afterwards.
    bool restrained = false;
    for (int i = 0; i <= n && !restrained; ++i)
        restrained = m.fixedDeflection[static_cast<size_t>(i)] || m.fixedSlope[static_cast<size_t>(i)];
    const TBandMatrix& balance = state_->balance;
    const std::vector<double>& loads = state_->loads;
    if (restrained) {
        state_->balance = a;
        state_->loads = b;
    }
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const bool top = i == 0, tip = i == n;
        if (m.fixedDeflection[s]) {
            const int row = top ? U(-2) : tip ? U(n + 2) : U(i);
            a.ClearRow(row);
            a.Add(row, U(i), 1.0);
            b[static_cast<size_t>(row)] = *m.fixedDeflection[s];
        }
        if (m.fixedSlope[s] && (top || tip)) {
            const int row = top ? U(-1) : U(n + 1);
            a.ClearRow(row);
            a.Add(row, U(i + 1), 1.0 / (2 * h));
            a.Add(row, U(i - 1), -1.0 / (2 * h));
            b[static_cast<size_t>(row)] = *m.fixedSlope[s];
        }
    }

    if (!a.Solve(b)) return nullptr;

    TBeamResult& r = state_->result;
    const size_t count = static_cast<size_t>(n + 1);
    for (auto* column : {&r.y, &r.slope, &r.moment, &r.shear, &r.reaction, &r.restraintForce, &r.restraintMoment})
        column->resize(count);
    auto y = [&](int i) { return b[static_cast<size_t>(U(i))]; };
    // The moments of nodes -1 .. n+1, each worked out once.
    std::vector<double>& moments = state_->moments;
    moments.resize(static_cast<size_t>(n + 3));
    for (int i = -1; i <= n + 1; ++i)
        moments[static_cast<size_t>(i + 1)] = R(i) * (y(i - 1) - 2 * y(i) + y(i + 1)) / h2;
    auto M = [&](int i) { return moments[static_cast<size_t>(i + 1)]; };
    // The couple at an inner node (applied and reaction moments), whose jump the shear of
    // the neighbours sees.
    auto couple = [&](int i) {
        if (i <= 0 || i >= n) return 0.0;
        const size_t s = static_cast<size_t>(i);
        const int lambda = layout.multiplier[s];
        if (lambda >= 0) return m.Mt[s] + b[static_cast<size_t>(lambda)];
        if (m.kRotation[s] == 0) return m.Mt[s];
        // The spring's couple -k theta, theta from the central difference (see above).
        const double central = (y(i + 1) - y(i - 1)) / (2 * h);
        return m.Mt[s] - InnerRotationStiffness(m, layout, i) * (central + h * m.Mt[s] / (4 * m.EI[s]));
    };
    const bool soilForce0 = !m.soilForce0.empty();
    double before = 0, here = couple(0);  // the couples at i - 1 and i
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const double after = couple(i + 1);
        const double q = 0.5 * (Qhalf(i - 1) + Qhalf(i));
        const double next = M(i + 1) + after / 2, prev = M(i - 1) - before / 2;
        const double difference = y(i + 1) - y(i - 1);
        r.y[s] = y(i);
        r.slope[s] = difference / (2 * h) + (here != 0 ? h * here / (4 * R(i)) : 0.0);
        r.moment[s] = M(i);
        r.shear[s] = (next - prev) / (2 * h) + (q != 0 ? q * difference / (2 * h) : 0.0);
        r.reaction[s] = soilForce0 ? m.Es[s] * y(i) + m.soilForce0[s] : m.Es[s] * y(i);
        before = here;
        here = after;
        double force = 0, moment = 0;
        const bool top = i == 0, tip = i == n;
        if (m.fixedDeflection[s]) {
            const int row = top ? U(-2) : tip ? U(n + 2) : U(i);
            const double residual = RowResidual(balance, loads, b, row, 2 * layout.band);
            force = top ? residual : tip ? -residual : residual / h3;
        }
        if (m.fixedSlope[s]) {
            if (top || tip) {
                const double residual = RowResidual(balance, loads, b, top ? U(-1) : U(n + 1), 2 * layout.band);
                moment = top ? -residual : residual;
            } else {
                moment = b[static_cast<size_t>(layout.multiplier[s])];
            }
        }
        r.restraintForce[s] = force;
        r.restraintMoment[s] = moment;
    }
    return &r;
}

}  // namespace torvex::engine
