#pragma once
// The soil resistance of each node on the excavation side: generated p-y curves below the
// excavation level, external curves at their nodes.
//
// A node stands for its half segments (an end node for one). Its generated resistance is the
// sum over the soils those half segments hold, each weighted by the share of the node's length
// it covers: the node at the excavation level carries soil on its lower half only, a node on a
// layer boundary carries the mean of the two layers' curves. Each layer's parameters are
// taken at the node's depth.

#include <span>
#include <string>
#include <vector>

#include "input/WallInput.h"
#include "soil/PyCriteria.h"
#include "soil/Seepage.h"

namespace torvex::engine {

struct TNodeSoil {
    enum class Kind { None, Generated, External, Between } kind = Kind::None;
    struct TPart {
        TPySoil soil;
        TPyCurve curve;     // the soil's curve, ready to evaluate
        double weight = 1;  // share of the node's length
        size_t layer = 0;   // index in TWallInput::layers
    };
    std::span<const TPart> parts;  // Generated; held by the TNodeSoils the node belongs to
    double pm = 1, ym = 1;     // p-y modification at the node's depth
    const TExternalCurve* curve = nullptr;
    const TExternalCurve* other = nullptr;
    double fraction = 0;  // weight of `other` for Between

    // Soil resistance p (F/L) for deflection y, in the sign of y.
    double Resistance(double y) const;
    // dp/dy at y = 0, and the bounded secant p(y)/y.
    double InitialSlope() const;
    double Secant(double y) const;
    // Secant(y) and, for the Newton iteration, the slope of Secant(y) y: generated curves only
    // (0 for external curves, straight pieces iterated by their secant).
    TPyCurve::TLinear SecantAndTangent(double y) const;
};

// The soils of nodes 0..n, the curves of all of them kept in one array (a wall has a hundred
// nodes or more, each with a curve or two). Moving keeps each node's parts where they are.
class TNodeSoils {
public:
    TNodeSoils() = default;
    TNodeSoils(TNodeSoils&&) = default;
    TNodeSoils& operator=(TNodeSoils&&) = default;
    TNodeSoils(const TNodeSoils&) = delete;
    TNodeSoils& operator=(const TNodeSoils&) = delete;

    size_t size() const { return nodes_.size(); }
    const TNodeSoil& operator[](size_t node) const { return nodes_[node]; }

private:
    friend TNodeSoils NodeSoils(const TWallInput& in, std::vector<std::string>& warnings,
                                std::vector<std::string>& models);
    std::vector<TNodeSoil::TPart> parts_;
    std::vector<TNodeSoil> nodes_;
};

// Raises std::invalid_argument with an engineer-facing message for a layer that cannot give a
// curve; warnings about defaults go to `warnings`, once per layer.
TNodeSoils NodeSoils(const TWallInput& in, std::vector<std::string>& warnings);
// The same, with one line per layer in `models` for what the soil options change: its
// equivalent top depth (TSoilOptions::layered), its cyclic curves (TSoilOptions::cyclic).
TNodeSoils NodeSoils(const TWallInput& in, std::vector<std::string>& warnings, std::vector<std::string>& models);

// Where the driving line load below the excavation level passes what the soil in front can
// hold, from there down to the tip: the shallowest node of the run of nodes that ends at the
// tip (nothing when the tip's soil holds). What the soil holds is the node's generated curves
// at a deflection far beyond any plateau (1000 b), per unit length at the node's depth (its
// share of soil aside), p-y modification included. Just below the excavation level the
// driving pressure passes the resistance of a wall in sand as a rule (the sand resists nothing
// at that level), and the soil deeper down holds the wall: only a run that reaches the tip
// means that no embedment can hold it, as in a deep soft clay whose resistance stops at 9 c b
// while the retained side's pressure goes on growing.
struct TDrivingBeyondResistance {
    bool found = false;
    int node = 0;
    double depth = 0, load = 0, resistance = 0;
};
TDrivingBeyondResistance DrivingBeyondResistance(const TWallInput& in, const TNodeSoils& soils,
                                                 const std::vector<double>& lineLoad);
// The resistance of one node as above (0 for a node without generated curves).
double UltimateNodeResistance(const TWallInput& in, const TNodeSoil& soil);

// The vertical effective stress on the excavation side at depth x (from the excavation level
// down, with the excavation-side water table), with each layer's unit weight linear in depth.
// With steady seepage (Seepage.h, the wall's toe) it is less by what the upward flow takes off,
// not below 0.
double ExcavationSideStress(const TWallInput& in, double x);

// The same at many depths, with what does not depend on the depth worked out once.
class TExcavationSideStress {
public:
    explicit TExcavationSideStress(const TWallInput& in);
    double At(double x) const;
    const TSeepage& Seepage() const { return seepage_; }

private:
    const TWallInput& in_;
    std::vector<double> cuts_;  // the excavation level, the layer bottoms, the water table, in order
    TSeepage seepage_;          // with the seepage option, the stress falls by i gamma_w per unit depth
};

}  // namespace torvex::engine
