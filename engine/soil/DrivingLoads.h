#pragma once
// Driving loads on the wall: the horizontal pressures that the backfill, the water, the uniform
// surcharge and the surcharge loads put on the wall, and the driving line load w(x) per node.
//
// Units are consistent throughout: inch-pound (in, lb, psi, pci) or kN and m (m, kN, kPa,
// kN/m3). The surcharge table of the data file holds its distance X and strip width W in mm in
// SI; the caller converts them to m before filling SurchargeLoad. Angles are in degrees.
// Depths x are measured down from the wall top (the backfill surface).
//
// Sign: a positive pressure or line load pushes the wall toward the excavation.
//
// Pressure modes (PressureMode):
//   0  no driving load: every output is zero.
//   1  user-input distributed load: the table's line loads, linear between its depths, zero
//      outside; no modification factor, no active width, no water and no surcharges.
//   2  triangular: active pressure with a sloping backfill over the full wall length, plus
//      net water, uniform surcharge and surcharge loads. The active coefficient is Rankine's
//      (sigma_a = Ka sigma_v' cos beta - 2 c sqrt(Ka)), or with wall friction delta =
//      wallFriction phi Coulomb's or EN 1997-1 Annex C's (EarthPressureCoefficients.h), whose
//      horizontal coefficient K gives sigma_a = K sigma_v' - 2 c sqrt(K). Layers with phi = 0
//      (clays) take Ka = 1 by every method. Annex C needs |beta| <= phi and Coulomb beta <=
//      phi: a layer outside is an input error (Rankine takes the slope as 0 there, with a
//      warning).
//      With netBelowExcavation, below the excavation level H the excavation side's own active
//      pressure max(Ka sigma_v,e' - 2 c sqrt(Ka), 0) is taken off, sigma_v,e' the effective
//      stress of that side from H down (its water table, no surcharge; level ground, the same
//      method and wall friction), the rest held at 0 or more: the net pressure of a Winkler
//      wall analysis (Haliburton 1968). The uniform surcharge's share is what it adds to that
//      net.
//      With seismic coefficients kh, kv each layer with phi > 0 adds the Mononobe-Okabe
//      increment Delta K sigma_v' (SeismicPressure.h) to its static pressure; layers with
//      phi = 0 take none, with a warning.
//   3  trapezoidal: above the excavation level H the soil pressure is the apparent envelope
//      (0 at the top, p_app from 0.2 H to 0.8 H, 0 at H), p_app = 1.6 R_a / H with R_a the
//      resultant over 0..H of the mode-2 soil pressure without the uniform surcharge; below H
//      the mode-2 soil pressure. Water and surcharges as in mode 2. The envelope carries
//      0.8 H p_app = 1.28 R_a: the increase over R_a is that of the apparent-pressure methods.
//
// How the parts are split and combined (modes 2 and 3):
//   soil       = factor * sigma_a(sigma_v' without q)  (or the envelope)  + net water
//   surcharge  = factor * [sigma_a(sigma_v' with q) - sigma_a(sigma_v' without q)]
//              + factor * sum of the point, line and strip load pressures
//   total      = soil + surcharge;  line load w = total * Wa
// With a tension cut (cohesion) the uniform surcharge's share is the increase it causes, so
// the parts always add up to the pressure of the whole.
//
// Discontinuities: where a node lies on a layer boundary (or, in mode 3, on the excavation
// level) the soil pressure jumps there; the node's pressure is the mean of the values just
// above and just below. The top node takes the value below it, the tip node the value above.
//
// The beam takes each node's share of the line load, nodeLineLoad: the mean of w over the
// node's half segments (an end node has one), integrated piece by piece between the depths
// where w jumps or bends (layer boundaries, water tables, the excavation level and the
// envelope's corners, the rows of a user table). So a load that starts, ends or steps between
// two nodes gives each node its share, and the results converge with the second order.
//
// Surcharge loads (NAVFAC DM-7.02 with Terzaghi's modification), m = X/H, n = x/H. Below the
// excavation level the same formulas go on with n = x/H > 1: for m > 0.4 they do not depend on
// H at all (the elastic distribution continues with depth), and for m <= 0.4 they are that
// distribution for a load at 0.4 H. With no free height (H = 0) the wall length stands for H
// and a warning says so. The strip load does not use H.
//
// Bad input throws std::invalid_argument with a message for the engineer.

#include <cmath>
#include <string>
#include <vector>

#include "project/OptionBlock.h"
#include "soil/Seepage.h"

namespace torvex::engine {

// Soil criteria of the layer table.
enum SoilCriterion : int {
    kSoftClay = 1,
    kStiffClayWithFreeWater = 2,
    kStiffClayWithoutFreeWater = 3,
    kSand = 4,
    kSilt = 5,
    kStrongRock = 6,
    kWeakRock = 7,
};

enum PressureMode : int {
    kNoDrivingLoad = 0,
    kUserDistributedLoad = 1,
    kTriangularPressure = 2,
    kTrapezoidalPressure = 3,
};

enum SurchargeType : int {
    kPointLoad = 1,
    kLineLoad = 2,
    kStripLoad = 3,
};

// One soil layer behind the wall. It starts at the previous layer's bottom (the first at the
// top); the last one continues below the tip. Clays (1-3) use c only (phi = 0), sand (4) phi
// only (c = 0), silt (5) both; rock (6, 7) puts no active pressure on the wall but its weight
// still loads the layers below.
struct SoilLayer {
    double bottom = 0;         // depth of the layer bottom (L)
    int criterion = kSand;     // SoilCriterion
    double unitWeight = 0;     // total unit weight gamma (F/L3), at the layer top
    double cohesion = 0;       // c (F/L2), at the layer top
    double frictionAngle = 0;  // phi (deg), at the layer top
    // The values at the layer bottom; each parameter varies linearly from the top to the
    // bottom (the last layer keeps its bottom values below its bottom). NaN: as at the top.
    double unitWeightAtBottom = NAN;
    double cohesionAtBottom = NAN;
    double frictionAngleAtBottom = NAN;
};

// The layer's parameters at depth x (its top at `top`), as a layer of constant values.
SoilLayer LayerValuesAt(const SoilLayer& layer, double top, double x);
// Whether any of the layer's parameters changes with depth.
bool LayerVaries(const SoilLayer& layer);

struct SurchargeLoad {
    int type = kPointLoad;  // SurchargeType
    double magnitude = 0;   // point Qp (F), line ql (F/L), strip qs (F/L2)
    double distance = 0;    // X from the back of the wall to the load, the strip's near edge (L)
    double width = 0;       // strip width W (L); unused by point and line loads
};

// One row of the user-input distributed load table.
struct DistributedLoadPoint {
    double depth = 0;     // (L)
    double lineLoad = 0;  // (F/L)
};

struct DrivingLoadInput {
    std::vector<double> nodeDepths;  // x_i, strictly increasing; the last is the tip
    std::vector<SoilLayer> layers;   // needed in modes 2 and 3
    int pressureMode = kNoDrivingLoad;
    double freeHeight = 0;            // H, excavation level (L)
    double waterDepthBackfill = 0;    // DWb (L)
    double waterDepthExcavation = 0;  // DWe (L)
    double waterUnitWeight = 0;       // gamma_w: 0.0361111 pci or 9.81 kN/m3
    double backfillSurcharge = 0;     // uniform q (F/L2)
    double backfillSlope = 0;         // beta (deg)
    double pressureFactor = 1;        // multiplies generated soil and surcharge pressures
    double activeWidth = 1;           // Wa (L)
    // Mononobe-Okabe: horizontal and vertical seismic coefficients (kv > 0 lightens the soil).
    // Both 0: static pressures only.
    double seismicKh = 0;
    double seismicKv = 0;
    // The active coefficient's method and wall friction delta / phi (Rankine ignores it).
    TEarthPressureMethod pressureMethod = TEarthPressureMethod::Rankine;
    double wallFriction = 0;
    bool netBelowExcavation = false;  // the excavation side's active pressure taken off below H
    // Steady seepage round the toe (Seepage.h): its gradient i for the wall's toe, 0 to below 1;
    // 0 keeps the water hydrostatic. It changes the net water pressure and the effective
    // stresses of the active pressure behind and of the excavation side's own below H.
    double seepageGradient = 0;
    std::vector<DistributedLoadPoint> distributedLoad;  // mode 1
    std::vector<SurchargeLoad> surcharges;              // modes 2 and 3
};

// Per node. Pressures in F/L2, line loads in F/L. In mode 1 the line loads are the table's
// and count as soil load; the pressures are those line loads divided by Wa (zero if Wa <= 0).
struct DrivingLoads {
    std::vector<double> depth;
    std::vector<double> soilPressure;       // from soils, including net water
    std::vector<double> surchargePressure;  // uniform q and the surcharge loads
    std::vector<double> totalPressure;
    std::vector<double> soilLineLoad;
    std::vector<double> surchargeLineLoad;
    std::vector<double> lineLoad;  // the driving line load w_i at the node's depth
    std::vector<double> nodeLineLoad;  // the node's share: the mean of w over its half segments
    std::vector<std::string> warnings;
};

DrivingLoads ComputeDrivingLoads(const DrivingLoadInput& input);

// The pieces, each usable on its own.

// Rankine active coefficient for a backfill sloping at beta:
// cos b (cos b - sqrt(cos2 b - cos2 phi)) / (cos b + sqrt(cos2 b - cos2 phi)).
// Needs |beta| <= phi < 90 deg (throws otherwise). beta = 0 gives tan2(45 - phi/2).
double RankineActiveCoefficient(double frictionAngleDeg, double slopeDeg);

// Horizontal active pressure max(Ka sigma_v' cos b - 2 c sqrt(Ka), 0).
double ActiveHorizontalPressure(double ka, double slopeDeg, double verticalEffectiveStress,
                                double cohesion);

// sigma_v'(x) = q + sum of gamma (gamma - gamma_w below the water depth) times thickness.
double VerticalEffectiveStress(double x, const std::vector<SoilLayer>& layers, double surcharge,
                               double waterDepth, double waterUnitWeight);

// gamma_w ((x - DWb)+ - (x - DWe)+).
double NetWaterPressure(double x, double waterDepthBackfill, double waterDepthExcavation,
                        double waterUnitWeight);

// Lateral pressure at depth x from surcharge loads; H > 0 is the height used in m and n.
double PointLoadPressure(double load, double distance, double x, double height);
double LineLoadPressure(double load, double distance, double x, double height);
// (2 qs / pi)(a - sin a cos 2d): a = d2 - d1 the angle the strip subtends at depth x, d the
// bisector (d1 + d2)/2, with d1, d2 the angles from the vertical to the near and far edges.
double StripLoadPressure(double load, double distance, double width, double x);

// The apparent-pressure envelope: p_app = 1.6 R_a / H, and its shape at x, from 0 at the top
// to 1 at 0.2 H, 1 to 0.8 H, 0 at H and below.
double ApparentPressure(double activeResultant, double freeHeight);
double ApparentEnvelopeShape(double x, double freeHeight);

// The user-input line load at x: linear between the rows, zero outside them. Where two rows
// share a depth (a step) the value there is the mean of the two.
double DistributedLoadAt(const std::vector<DistributedLoadPoint>& table, double x);

}  // namespace torvex::engine
