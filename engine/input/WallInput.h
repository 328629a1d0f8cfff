#pragma once
// One analysis case as the engine sees it: the wall, its supports, loads and soils in one
// consistent set of units (inch-pound: in, lb, psi, pci; or kN and m), taken from a workspace
// into which a data-file block was read with the program's own reader.

#include <string>
#include <utility>
#include <vector>

#include "beam/BeamColumn.h"
#include "project/OptionBlock.h"

namespace torvex {
class TWorkspace;
}

namespace torvex::engine {

// A soil layer's parameters at one depth.
struct TSoilValues {
    double gamma = 0;    // total unit weight
    double c = 0;        // cohesive strength (rock: uniaxial compressive strength)
    double phi = 0;      // friction angle, degrees
    double e50 = 0;
    double k = 0;        // k(py)
    double krm = 0;      // weak rock
    double Eir = 0;      // weak rock mass modulus
    double rqd = 0;      // weak rock, %
};

// The inherited values are those at the top of the layer; every parameter varies linearly to
// its value at the bottom.
struct TSoilLayer : TSoilValues {
    int type = 1;        // 1 soft clay, 2 stiff clay with free water, 3 stiff clay without,
                         // 4 sand, 5 silt, 6 strong rock, 7 weak rock
    double top = 0;      // depth of the layer top below the wall top
    double bottom = 0;   // depth of the layer bottom below the wall top
    TSoilValues atBottom;

    // The values at depth x, linear between the top and the bottom, end values beyond them.
    TSoilValues At(double x) const;
    // Its unit weight alone.
    double GammaAt(double x) const;

private:
    double Fraction(double x) const;  // 0 at the top, 1 at the bottom
};

struct TSurcharge {
    int type = 1;  // 1 point, 2 line, 3 strip
    double magnitude = 0;
    double distance = 0;
    double width = 0;
};

struct TCurvePoint {
    double x = 0;
    double y = 0;
};

struct TExternalCurve {
    int node = 0;
    double pMultiplier = 1;
    double yMultiplier = 1;
    std::vector<TCurvePoint> points;  // (deflection, soil resistance), p opposite to y
};

struct TMomentEICurve {
    int fromNode = 0;
    int toNode = 0;
    std::vector<TCurvePoint> points;  // (bending moment, EI)
};

struct TPyModifier {
    double depth = 0;
    double pMultiplier = 1;
    double yMultiplier = 1;
};

// The project-wide soil settings of the data file's option block.
struct TSoilOptions {
    double seismicKh = 0, seismicKv = 0;  // Mononobe-Okabe coefficients
    bool layered = false;                 // equivalent depths for the layers below the first
    bool cyclic = false;                  // cyclic p-y curves
    double cycles = 1;                    // number of cycles N (stiff clay without free water)
    TEarthPressureMethod pressureMethod = TEarthPressureMethod::Rankine;
    double frictionActive = 0, frictionPassive = 0;  // delta / phi behind and in front
    bool netPressureBelowExcavation = false;  // active behind less active in front, below it
    bool seepage = false;  // steady seepage round the toe where the water levels differ
};

struct TWallInput {
    std::string title;
    int unitCode = 1;  // 1 English, 2 SI, 3 other (taken as kN and m)
    bool english() const { return unitCode == 1; }
    int pressureMode = 0;
    int resistanceMode = 0;
    double maxDeflection = 0;
    double tolerance = 0;
    double freeHeight = 0;
    double activeWidth = 0;
    double resistanceWidth = 0;
    double waterBackfill = 0;
    double waterExcavation = 0;
    double pressureFactor = 1;
    double backfillSlope = 0;  // degrees
    double backfillSurcharge = 0;
    double gammaWater = 0;
    TBeamModel beam;  // EI, axial, concentrated loads, springs and restraints; no w or Es yet
    std::vector<TSoilLayer> layers;
    std::vector<TSurcharge> surcharges;
    std::vector<TCurvePoint> distributedLoad;  // (depth, line load)
    std::vector<TPyModifier> pyModifiers;
    std::vector<TExternalCurve> externalCurves;
    std::vector<TMomentEICurve> momentEICurves;
    TSoilOptions soil;
    std::vector<std::string> warnings;
};

// Which of the workspace's soil and distributed-load tables a case uses.
enum class TTerm { Short, Long };

// Builds the case from the workspace's project and tables. Raises std::invalid_argument with
// an engineer-facing message for input that cannot be analysed (too few increments, nodes
// without EI, nodes outside the wall).
TWallInput BuildWallInput(const TWorkspace& workspace, TTerm term);

// Linear interpolation in a table of points sorted by x; end values beyond the ends.
double Interpolate(const std::vector<TCurvePoint>& points, double x);

}  // namespace torvex::engine
