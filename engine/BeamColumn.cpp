#include "BeamColumn.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "BandSolver.h"

namespace torvex::engine {
namespace {

// Unknown index of node i (i = -2 .. n+2).
inline int U(int i) { return i + 2; }

}  // namespace

TBeamModel TBeamModel::Sized(int n, double h) {
    TBeamModel m;
    m.n = n;
    m.h = h;
    const size_t count = static_cast<size_t>(n + 1);
    for (auto* v : {&m.EI, &m.Q, &m.w, &m.P, &m.Mt, &m.kLateral, &m.kRotation, &m.Es})
        v->assign(count, 0.0);
    m.fixedDeflection.assign(count, std::nullopt);
    m.fixedSlope.assign(count, std::nullopt);
    return m;
}

std::optional<TBeamResult> SolveBeam(const TBeamModel& m) {
    const int n = m.n;
    const double h = m.h;
    if (n < 2 || !(h > 0)) throw std::invalid_argument("the wall needs at least 2 increments");
    const int size = n + 5;
    TBandMatrix a(size, 4, 4);
    std::vector<double> b(static_cast<size_t>(size), 0.0);
    auto R = [&](int i) { return m.EI[static_cast<size_t>(std::clamp(i, 0, n))]; };
    const double h2 = h * h, h3 = h2 * h, h4 = h3 * h;

    // Node equations, each multiplied by h^4: the bending moment's second difference, the
    // axial term, the soil and the lateral spring equal the driving load.
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const int row = U(i);
        a.Add(row, U(i - 2), R(i - 1));
        a.Add(row, U(i - 1), -2 * R(i - 1) - 2 * R(i) + m.Q[s] * h2);
        a.Add(row, U(i), R(i - 1) + 4 * R(i) + R(i + 1) - 2 * m.Q[s] * h2 + m.Es[s] * h4 +
                             m.kLateral[s] * h3);
        a.Add(row, U(i + 1), -2 * R(i) - 2 * R(i + 1) + m.Q[s] * h2);
        a.Add(row, U(i + 2), R(i + 1));
        b[static_cast<size_t>(row)] = m.w[s] * h4;
        if (i > 0 && i < n) {
            b[static_cast<size_t>(row)] += m.P[s] * h3;
            // A concentrated moment as a couple of forces Mt/(2h) at the neighbours.
        }
    }
    for (int i = 1; i < n; ++i) {
        const size_t s = static_cast<size_t>(i);
        if (m.Mt[s] != 0) {
            b[static_cast<size_t>(U(i + 1))] += m.Mt[s] / (2 * h) * h3;
            b[static_cast<size_t>(U(i - 1))] -= m.Mt[s] / (2 * h) * h3;
        }
        if (m.kRotation[s] != 0) {
            // Energy of the spring 1/2 k (dy/dx)^2 with the central slope.
            const double c = m.kRotation[s] * h / 4;
            a.Add(U(i + 1), U(i + 1), c);
            a.Add(U(i + 1), U(i - 1), -c);
            a.Add(U(i - 1), U(i + 1), -c);
            a.Add(U(i - 1), U(i - 1), c);
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
        // V(end) = sign P : (M(node+1) - M(node-1)) / 2h + Q (y(node+1) - y(node-1)) / 2h
        const double f = 1.0 / (2 * h * h2);
        a.Add(shearRow, U(node + 2), R(node + 1) * f);
        a.Add(shearRow, U(node + 1), -2 * R(node + 1) * f + m.Q[s] / (2 * h));
        a.Add(shearRow, U(node), (R(node + 1) - R(node - 1)) * f);
        a.Add(shearRow, U(node - 1), 2 * R(node - 1) * f - m.Q[s] / (2 * h));
        a.Add(shearRow, U(node - 2), -R(node - 1) * f);
        b[static_cast<size_t>(shearRow)] = sign * m.P[s];
    };
    endRows(0, U(-1), U(-2), -1);
    endRows(n, U(n + 1), U(n + 2), +1);

    // Restraints: at an end they take the place of the end conditions (deflection for the
    // shear row, slope for the moment row); inside the wall they replace the node equation.
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const bool top = i == 0, tip = i == n;
        if (m.fixedDeflection[s]) {
            const int row = top ? U(-2) : tip ? U(n + 2) : U(i);
            a.ClearRow(row);
            a.Add(row, U(i), 1.0);
            b[static_cast<size_t>(row)] = *m.fixedDeflection[s];
        }
        if (m.fixedSlope[s]) {
            int row = top ? U(-1) : tip ? U(n + 1) : U(i);
            if (!top && !tip && m.fixedDeflection[s]) continue;  // one equation per inner node
            a.ClearRow(row);
            a.Add(row, U(i + 1), 1.0 / (2 * h));
            a.Add(row, U(i - 1), -1.0 / (2 * h));
            b[static_cast<size_t>(row)] = *m.fixedSlope[s];
        }
    }

    if (!a.Solve(b)) return std::nullopt;
    for (double v : b)
        if (!std::isfinite(v)) return std::nullopt;

    TBeamResult r;
    auto y = [&](int i) { return b[static_cast<size_t>(U(i))]; };
    auto M = [&](int i) { return R(i) * (y(i - 1) - 2 * y(i) + y(i + 1)) / h2; };
    for (int i = 0; i <= n; ++i) {
        const size_t s = static_cast<size_t>(i);
        r.y.push_back(y(i));
        r.slope.push_back((y(i + 1) - y(i - 1)) / (2 * h));
        r.moment.push_back(M(i));
        r.shear.push_back((M(i + 1) - M(i - 1)) / (2 * h) + m.Q[s] * (y(i + 1) - y(i - 1)) / (2 * h));
        r.reaction.push_back(m.Es[s] * y(i));
    }
    return r;
}

}  // namespace torvex::engine
