#pragma once
// Soil resistance p(y) below the excavation: the p-y criteria for static loading.
//
//   1 soft clay                    Matlock (1970), OTC 1204
//   2 stiff clay with free water   Reese, Cox and Koop (1975), OTC 2312
//   3 stiff clay without free water Welch and Reese (1972), Univ. of Texas report 89-10
//   4 sand                         API RP 2GEO; O'Neill and Murchison (1983)
//   5 silt (c-phi soil)            sand part (phi, k) + soft-clay part (c, E50), same y
//   6 strong rock                  the vuggy limestone criterion
//   7 weak rock                    Reese (1997), J. Geotech. Geoenviron. Eng. 123(11)
//
// All quantities are in one consistent unit set: inch-pound (in, lb, psi, pci) or kN-m
// (m, kN, kPa, kN/m3). p is a force per length of wall, y a deflection; p has the sign of y
// and p(-y) = -p(y). Only the published default parameters (ApplyPyDefaults) need to know
// the unit system, because their class limits are stated in kPa and their values in pci.
//
// A field set to 0 means "not given". ApplyPyDefaults fills the published defaults; the other
// functions expect a complete soil and throw std::invalid_argument for one that cannot give
// a curve, so a bad layer surfaces as a clear message, never as a NaN in the solution.

#include <string>
#include <utility>
#include <vector>

namespace torvex::engine {

enum class TPyCriterion : int {
    SoftClay = 1,
    StiffClayFreeWater = 2,
    StiffClayNoFreeWater = 3,
    Sand = 4,
    Silt = 5,
    StrongRock = 6,
    WeakRock = 7,
};

// The criterion for a soil-type code 1..7 of the data file; throws std::invalid_argument
// for any other code.
TPyCriterion PyCriterionFromCode(int code);

// Engineer-facing name, e.g. "stiff clay with free water".
std::string PyCriterionName(TPyCriterion type);

// The soil at one depth below the excavation.
struct TPySoil {
    TPyCriterion type = TPyCriterion::SoftClay;
    double b = 0;         // width of the wall unit that takes the soil resistance
    double z = 0;         // depth below the excavation level, >= 0
    double sigmaV = 0;    // vertical effective stress at z (soft-clay pu)
    double gammaEff = 0;  // effective unit weight (the gamma' z terms of sand and stiff clay)
    double c = 0;         // cohesive (undrained shear) strength
    double phiDeg = 0;    // friction angle, degrees
    double e50 = 0;       // strain at half the maximum deviator stress
    double k = 0;         // initial modulus of subgrade reaction (F/L^3)
    double qu = 0;        // uniaxial compressive strength of rock
    double krm = 0;       // weak rock: strain factor, yrm = krm b
    double Eir = 0;       // weak rock: initial rock-mass modulus
    double rqd = 0;       // weak rock: rock quality designation, %
    // Cyclic loading (CyclicCurves.h): Matlock's cyclic soft clay, Welch and Reese after
    // `cycles` cycles, sand with A = 0.9. The other criteria have no cyclic form and ignore it.
    bool cyclic = false;
    double cycles = 1;    // N >= 1
};

// Whether the criterion has a cyclic form (soft clay, stiff clay without free water, sand).
bool PyHasCyclicForm(TPyCriterion type);

// The ultimate resistance that does not depend on y: pu of Matlock and Welch-Reese, pc of
// Reese-Cox-Koop, the API sand's pu (without A), their sum for silt, su b of strong rock,
// pur of weak rock. No checks: for a soil CheckPySoil accepts, or one that differs from it in
// depth and stress only.
double PyUltimateResistance(const TPySoil& soil);

// Deflection below which p(y)/y is replaced by the initial slope, as a fraction of y50 for
// the fractional-power clay curves without a k z limit.
inline constexpr double kPySecantFraction = 1e-4;

// Checks that the soil can give a curve (all fields finite, b > 0, z >= 0, and what its
// criterion needs); throws std::invalid_argument with an engineer-facing message otherwise.
void CheckPySoil(const TPySoil& soil);

// Fills the parameters that are 0 (not given) with the published defaults: E50 by c for the
// clays and the silt's cohesive part; k by phi and the water table for sand and silt; k by c
// for stiff clay with free water. Returns one warning per default used, with its value and
// unit (none when `notes` is false: a wall asks once per layer). english selects psi/pci (true)
// or kPa/kN-m3 (false) for the class limits and values.
// Throws std::invalid_argument for a layer that cannot give a curve (b <= 0, c <= 0 for a
// clay, phi <= 0 for a sand, c and phi both <= 0 for a silt, qu <= 0 for rock, ...).
std::vector<std::string> ApplyPyDefaults(TPySoil& soil, bool english, bool belowWaterTable, bool notes = true);

// Soil resistance p at deflection y (any sign, including 0).
double PyResistance(const TPySoil& soil, double y);

// dp/dy at y -> 0+, always finite. The k z line where the criterion starts with one (clays
// with k > 0, sand, silt's sand part); for the fractional-power clay curves without k the
// secant at y = kPySecantFraction y50; 2000 su for strong rock; Kir for weak rock.
double PyInitialSlope(const TPySoil& soil);

// The secant modulus p(y)/y, or PyInitialSlope when |y| is below the small deflection where
// the two meet (so the modulus is bounded and continuous in y).
double PySecantModulus(const TPySoil& soil, double y);

// The p-y modification: pm p(y / ym), pm >= 0, ym > 0.
double PyModified(const TPySoil& soil, double y, double pm, double ym);

// count (>= 2) points (y, p) evenly spaced from y = 0 to yMax (> 0), for the report and the
// plot file.
std::vector<std::pair<double, double>> PyCurvePoints(const TPySoil& soil, double yMax, int count);

// The parts of a curve that do not depend on y, worked out once per soil.
struct TPyCurveConstants {
    struct TWeakRock {
        double pur = 0, Kir = 0, yrm = 0;
    };
    double pu = 0, y50 = 0;           // Matlock, Welch-Reese, the silt's cohesive part; rock su
    double pc = 0, y50c = 0, as = 0;  // Reese, Cox and Koop
    double apu = 0;                   // sand: A pu
    double kz = 0;                    // the initial line k z
    double zr = 0;                    // Matlock cyclic: the depth z_r
    double cyclicFactor = 0;          // Welch-Reese cyclic: 16 + 9.6 log10 N
    TWeakRock rock;
};

// One soil's curve, checked once and ready to be evaluated many times: the functions above
// give the same numbers, each call checking the soil anew.
class TPyCurve {
public:
    // Throws std::invalid_argument as CheckPySoil does.
    explicit TPyCurve(const TPySoil& soil);
    // A curve that resists nothing (p = 0 for every y).
    TPyCurve() { soil_.type = TPyCriterion::Sand; }
    // Makes this the curve of a soil that CheckPySoil or ApplyPyDefaults has just accepted,
    // without checking it again.
    void SetChecked(const TPySoil& soil);

    const TPySoil& Soil() const { return soil_; }
    // p(y) in the sign of y; the initial slope; the bounded secant p(y)/y (PySecantModulus).
    double Resistance(double y) const;
    double InitialSlope() const { return initialSlope_; }
    double Secant(double y) const;
    // The slope of Secant(y) y: dp/dy of the curve, or the initial slope where the secant is
    // (near y = 0). Never infinite; negative where the curve softens.
    double Tangent(double y) const;
    // Secant(y) and Tangent(y) at once, for less than the two cost apart.
    struct TLinear {
        double secant = 0, tangent = 0;
    };
    TLinear SecantAndTangent(double y) const;

private:
    void Prepare();  // the constants, initial slope and small deflection of soil_
    TPySoil soil_;
    TPyCurveConstants constants_;
    double initialSlope_ = 0, small_ = 0;
};

// A warning for a deflection beyond what the criterion covers (strong rock beyond
// y = 0.0024 b: brittle failure is likely), or an empty text.
std::string PyLimitWarning(const TPySoil& soil, double y);

}  // namespace torvex::engine
