#pragma once
// The wall as a beam-column on a foundation, in central finite differences:
//
//   d2/dx2(EI d2y/dx2) + d/dx(Q dy/dx) + Es y = w
//
// x is the depth below the wall top (down), y the deflection (toward the excavation), EI the
// flexural rigidity, Q the axial compression, Es the secant soil modulus (soil reaction
// p = Es y) and w the driving line load. Nodes 0..n lie h apart; two imaginary nodes beyond each
// end carry the end conditions, so the unknowns are y(-2) .. y(n+2).
//
// Sign conventions: M = EI y''; V = d/dx(EI y'') + Q y'; a positive concentrated load acts in
// +y; a positive concentrated moment does positive work on a positive slope dy/dx. At a free
// end M and V are zero; a load P at the top gives V(0) = P, at the tip V(L) = -P.
//
// The axial term is kept in conservative form, Q taken between the nodes: Q between nodes i
// and i+1 is the compression from the axial loads at nodes 0..i, so an axial load applied
// below the top acts along the wall and adds no lateral force.
//
// A node stands for the half segments on either side of it (an end node for one). Distributed
// quantities (w, Es) are per length; concentrated ones (P, Mt, springs) act in full at their
// node, at an end node through the end conditions.

#include <memory>
#include <optional>
#include <vector>

namespace torvex::engine {

struct TBeamModel {
    int n = 0;       // increments; nodes 0..n
    double h = 0;    // increment length
    std::vector<double> EI;       // per node
    std::vector<double> Q;        // axial compression per node
    std::vector<double> w;        // driving line load per node (F/L)
    std::vector<double> P;        // concentrated lateral load per node (F)
    std::vector<double> Mt;       // concentrated moment per node (F-L)
    std::vector<double> kLateral;  // lateral spring per node (F/L)
    std::vector<double> kRotation;  // rotational spring per node (F-L/rad)
    // The deflection at which each lateral spring carries no force: a strut installed after
    // the wall has moved acts on the change of deflection since then (F = k (y - offset)).
    std::vector<double> springOffset;
    std::vector<double> Es;       // soil modulus per node (F/L^2)
    // The soil force is linear in y at each node, p = Es y + soilForce0: with the secant
    // modulus soilForce0 is 0; the Newton iteration takes the tangent through the curve's point
    // at the last deflection, p = p(y0) + Es (y - y0). Empty means 0 everywhere.
    std::vector<double> soilForce0;
    std::vector<std::optional<double>> fixedDeflection;  // per node
    // A slope restraint imposes the slope through a reaction moment at its node; a node may
    // carry both restraints.
    std::vector<std::optional<double>> fixedSlope;       // per node

    // A model of n increments with every vector sized and zero.
    static TBeamModel Sized(int n, double h);
};

struct TBeamResult {
    std::vector<double> y;        // nodes 0..n
    std::vector<double> slope;
    std::vector<double> moment;
    std::vector<double> shear;
    std::vector<double> reaction;  // soil reaction p = Es y + soilForce0 (F/L), springs not included
    // Reactions of the restraints, as loads on the wall: a force in +y (F) and a moment with
    // the sign of a concentrated moment (F-L); zero where the node is not restrained.
    std::vector<double> restraintForce;
    std::vector<double> restraintMoment;
};

// Solves the model; returns nothing when the system is singular (a wall that nothing holds).
// Numbers past the range of doubles give a result with non-finite values.
std::optional<TBeamResult> SolveBeam(const TBeamModel& model);

// Solves one wall's model again and again, as the iteration changes its soil moduli and
// stiffnesses, with the matrix, the layout of the unknowns and the results kept between
// solves. Every model it solves has the increments and restraints of the first.
class TBeamSolver {
public:
    explicit TBeamSolver(const TBeamModel& model);
    ~TBeamSolver();
    TBeamSolver(const TBeamSolver&) = delete;
    TBeamSolver& operator=(const TBeamSolver&) = delete;

    // As SolveBeam: nullptr for a singular system. The result is valid until the next solve.
    const TBeamResult* Solve(const TBeamModel& model);

private:
    struct TState;
    std::unique_ptr<TState> state_;
    int n_ = 0;
};

}  // namespace torvex::engine
