#include "soil/PyCriteria.h"

#include "soil/CyclicCurves.h"
#include "dataentry/NumberText.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace torvex::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// Unit factors for the defaults: 1 lbf = 4.4482216152605 N, 1 in = 0.0254 m.
constexpr double kPoundForce = 4.4482216152605e-3;  // kN
constexpr double kInch = 0.0254;                    // m
constexpr double kKPaPerPsi = kPoundForce / (kInch * kInch);
constexpr double kKNm3PerPci = kPoundForce / (kInch * kInch * kInch);

// Below this fraction of b the secant of a curve that starts with a straight line is that
// line's slope.
constexpr double kLinearStartFraction = 1e-12;

// Reese, Cox and Koop (1975) write the drop after the second parabola as 0.411 pc and the
// residual as pc (1.225 sqrt(As) - 0.75 As - 0.411). Both are roundings: 0.411 of
// 0.055 5^1.25 = 0.41122 (the second parabola's own drop at 6 As y50) and 1.225 of
// sqrt(6)/2 = 1.22474 (the straight softening line's value at 18 As y50). With the rounded
// numbers the published curve jumps up by 2.2e-4 pc at 6 As y50 and by 2.6e-4 pc sqrt(As) at
// 18 As y50, a small bump on a falling branch. We use the unrounded values, so the curve is
// continuous; a branch moves by at most 2.2e-4 pc + 2.6e-4 pc sqrt(As) (< 4.2e-4 pc).
double ReeseDrop() { return 0.055 * 5.0 * std::sqrt(std::sqrt(5.0)); }
double ReeseResidualRoot() { return 0.5 * std::sqrt(6.0); }

// As a stream with precision 6 writes it in the classic locale, without building a stream for
// each of the many notes a wall's nodes make.
std::string Number(double value) {
    return CNumberText(value);
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

bool KnownCriterion(TPyCriterion type) {
    const int code = static_cast<int>(type);
    return code >= 1 && code <= 7;
}

[[noreturn]] void Fail(const TPySoil& soil, const std::string& what) {
    throw std::invalid_argument(Capitalised(PyCriterionName(soil.type)) + " p-y curve at z = " +
                                Number(soil.z) + " below the excavation: " + what);
}

[[noreturn, gnu::cold, gnu::noinline]] void FailNotPositive(const TPySoil& soil, double value, const char* name,
                                                           const char* why) {
    Fail(soil, std::string(name) + " must be greater than 0 (given " + Number(value) + ")" +
                   (*why ? std::string("; ") + why : std::string()));
}

[[noreturn, gnu::cold, gnu::noinline]] void FailNegative(const TPySoil& soil, double value, const char* name) {
    Fail(soil, std::string(name) + " must be 0 or more (given " + Number(value) + ")");
}

// Checked for every node of every curve: the test inline, the message out of the way.
inline void NeedPositive(const TPySoil& soil, double value, const char* name, const char* why) {
    if (!(std::isfinite(value) && value > 0)) [[unlikely]]
        FailNotPositive(soil, value, name, why);
}

inline void NeedNonNegative(const TPySoil& soil, double value, const char* name) {
    if (!(std::isfinite(value) && value >= 0)) [[unlikely]]
        FailNegative(soil, value, name);
}

void NeedFriction(const TPySoil& soil, const char* why) {
    NeedPositive(soil, soil.phiDeg, "the friction angle phi", why);
    if (soil.phiDeg >= 90)
        Fail(soil,
             "the friction angle phi must be below 90 degrees (given " + Number(soil.phiDeg) + ")");
}

// ---- The criteria, each for y >= 0 ----------------------------------------------------
//
// What a curve needs that does not depend on y (ultimate resistances, y50, As, ...) is worked
// out once per soil (TConstants): the iteration evaluates each node's curve many times. Each
// criterion also gives its slope dp/dy for the Newton iteration.

// Matlock (1970): pu = min((3 + sigma_v'/c + 0.5 z/b) c b, 9 c b).
double SoftClayUltimate(const TPySoil& s) {
    return std::min((3.0 + s.sigmaV / s.c + 0.5 * s.z / s.b) * s.c * s.b, 9.0 * s.c * s.b);
}

double SoftClayY50(const TPySoil& s) { return 2.5 * s.e50 * s.b; }

// Reese, Cox and Koop (1975), static loading.
double StiffClayFreeWaterUltimate(const TPySoil& s) {
    return std::min(2.0 * s.c * s.b + s.gammaEff * s.b * s.z + 2.83 * s.c * s.z, 11.0 * s.c * s.b);
}

double StiffClayFreeWaterAs(const TPySoil& s) { return 0.2 + 0.4 * std::tanh(0.62 * s.z / s.b); }

// API RP 2GEO (O'Neill and Murchison 1983) ultimate resistance: the lesser of the wedge
// (shallow) and the flow-around (deep) value. The coefficients depend on phi alone; a layer
// gives every node the same phi, so the last ones are kept.
struct TSandCoefficients {
    double phiDeg = -1, c1 = 0, c2 = 0, c3 = 0;
};

TSandCoefficients SandCoefficients(double phiDeg) {
    const double phi = phiDeg * kDegree;
    const double alpha = phi / 2.0;
    const double beta = kPi / 4.0 + phi / 2.0;
    const double k0 = 0.4;
    const double ka = (1.0 - std::sin(phi)) / (1.0 + std::sin(phi));
    const double tb = std::tan(beta);
    const double tbp = std::tan(beta - phi);
    TSandCoefficients c;
    c.phiDeg = phiDeg;
    c.c1 = tb * tb * std::tan(alpha) / tbp +
           k0 * (std::tan(phi) * std::sin(beta) / (std::cos(alpha) * tbp) +
                 tb * (std::tan(phi) * std::sin(beta) - std::tan(alpha)));
    c.c2 = tb / tbp - ka;
    const double tb4 = tb * tb * tb * tb;
    c.c3 = ka * (tb4 * tb4 - 1.0) + k0 * std::tan(phi) * tb4;
    return c;
}

double SandUltimate(const TPySoil& s) {
    thread_local TSandCoefficients last;
    if (!(last.phiDeg == s.phiDeg)) last = SandCoefficients(s.phiDeg);
    const double gz = s.gammaEff * s.z;
    return std::min((last.c1 * s.z + last.c2 * s.b) * gz, last.c3 * s.b * gz);
}

using TWeakRock = TPyCurveConstants::TWeakRock;

TWeakRock WeakRockParameters(const TPySoil& s) {
    const double alpha = 1.0 - (2.0 / 3.0) * s.rqd / 100.0;
    const bool shallow = s.z <= 3.0 * s.b;
    const double pur =
        shallow ? alpha * s.qu * s.b * (1.0 + 1.4 * s.z / s.b) : 5.2 * alpha * s.qu * s.b;
    const double kir = shallow ? 100.0 + 400.0 * s.z / (3.0 * s.b) : 500.0;
    return {pur, kir * s.Eir, s.krm * s.b};
}

using TConstants = TPyCurveConstants;

TConstants Constants(const TPySoil& s) {
    TConstants c;
    c.kz = s.k * s.z;
    switch (s.type) {
    case TPyCriterion::SoftClay:
    case TPyCriterion::StiffClayNoFreeWater:
        c.pu = SoftClayUltimate(s);
        c.y50 = SoftClayY50(s);
        if (s.cyclic && s.type == TPyCriterion::SoftClay) c.zr = MatlockCyclicDepth(s.c, s.b, s.gammaEff);
        if (s.cyclic && s.type == TPyCriterion::StiffClayNoFreeWater) c.cyclicFactor = WelchReeseCyclicFactor(s.cycles);
        break;
    case TPyCriterion::StiffClayFreeWater:
        c.pc = StiffClayFreeWaterUltimate(s);
        c.y50c = s.e50 * s.b;
        c.as = StiffClayFreeWaterAs(s);
        break;
    case TPyCriterion::Sand:
    case TPyCriterion::Silt:
        if (s.phiDeg > 0) {
            const bool cyclic = s.cyclic && s.type == TPyCriterion::Sand;
            c.apu = (cyclic ? 0.9 : std::max(3.0 - 0.8 * s.z / s.b, 0.9)) * SandUltimate(s);
        }
        if (s.type == TPyCriterion::Silt && s.c > 0) {
            c.pu = SoftClayUltimate(s);
            c.y50 = SoftClayY50(s);
        }
        break;
    case TPyCriterion::StrongRock: c.pu = 0.5 * s.qu; break;
    case TPyCriterion::WeakRock: c.rock = WeakRockParameters(s); break;
    }
    return c;
}

// Matlock's curve without the k z line: 0.5 pu (y/y50)^(1/3) up to 8 y50 (where it reaches
// pu), pu beyond.
double MatlockCurve(const TConstants& c, double y) {
    if (y >= 8.0 * c.y50) return c.pu;
    return 0.5 * c.pu * std::cbrt(y / c.y50);
}
// Its slope, from its value at y.
double MatlockSlope(const TConstants& c, double y, double curve) {
    return y >= 8.0 * c.y50 ? 0.0 : curve / (3.0 * y);
}

// The k z limit on a curve that rises with an infinite initial slope: p = min(k z y, f(y)).
// The line lies below the concave curve up to their single meeting, so the curve is the line
// up to the meeting and the published curve beyond, continuous at the meeting. With k > 0 and
// z = 0 the line is p = 0, and so is the curve: the limit vanishes at the excavation level.
double WithInitialLine(const TPySoil& s, const TConstants& c, double y, double curve) {
    return s.k > 0 ? std::min(c.kz * y, curve) : curve;
}
double WithInitialLineSlope(const TPySoil& s, const TConstants& c, double y, double curve, double slope) {
    return s.k > 0 && c.kz * y <= curve ? c.kz : slope;
}

// The published curve after the initial line: parabola to As y50, parabola less the
// softening term to 6 As y50, straight softening line to 18 As y50, residual beyond. For
// As below about 0.223 (z below about 0.094 b) the published residual
// pc (1.2247 sqrt(As) - 0.75 As - 0.4112) is negative, which would make the soil pull the
// wall; the resistance is held at 0 instead once the softening line reaches 0.
double ReeseStiffClayCurve(const TConstants& c, double y) {
    const double pc = c.pc, y50 = c.y50c, as = c.as;
    const double a = as * y50;
    double p;
    if (y <= a) {
        p = 0.5 * pc * std::sqrt(y / y50);
    } else if (y <= 6.0 * a) {
        p = 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow((y - a) / a, 1.25);
    } else if (y <= 18.0 * a) {
        p = 0.5 * pc * std::sqrt(6.0 * as) - ReeseDrop() * pc - 0.0625 * pc * (y - 6.0 * a) / y50;
    } else {
        p = pc * (ReeseResidualRoot() * std::sqrt(as) - 0.75 * as - ReeseDrop());
    }
    return std::max(p, 0.0);
}
double ReeseStiffClaySlope(const TConstants& c, double y) {
    const double pc = c.pc, y50 = c.y50c, a = c.as * y50;
    if (ReeseStiffClayCurve(c, y) <= 0) return 0.0;
    const double parabola = 0.25 * pc / std::sqrt(y * y50);
    if (y <= a) return parabola;
    if (y <= 6.0 * a) return parabola - 0.055 * 1.25 * pc * std::pow((y - a) / a, 0.25) / a;
    if (y <= 18.0 * a) return -0.0625 * pc / y50;
    return 0.0;
}

// Welch and Reese (1972): pu and y50 as for soft clay; 0.5 pu (y/y50)^(1/4) up to 16 y50
// (where it reaches pu), pu beyond.
double WelchReeseCurve(const TConstants& c, double y) {
    if (y >= 16.0 * c.y50) return c.pu;
    return 0.5 * c.pu * std::sqrt(std::sqrt(y / c.y50));
}
double WelchReeseSlope(const TConstants& c, double y, double curve) {
    return y >= 16.0 * c.y50 ? 0.0 : curve / (4.0 * y);
}

// p = A pu tanh(k z y / (A pu)), A = max(3 - 0.8 z/b, 0.9). At z = 0 pu = 0 and the 0/0 in
// the argument has the limit p = 0 (|p| <= A pu = 0).
struct TValueAndSlope {
    double p = 0, slope = 0;
};
TValueAndSlope SandPoint(const TConstants& c, double y) {
    if (c.apu <= 0 || c.kz <= 0) return {0.0, 0.0};
    const double t = std::tanh(c.kz * y / c.apu);
    return {c.apu * t, c.kz * (1.0 - t * t)};
}
double Sand(const TConstants& c, double y) { return SandPoint(c, y).p; }

// Vuggy limestone: su = qu/2; 2000 su y to 0.0004 b, then 0.8 su b + 100 su (y - 0.0004 b)
// to su b at 0.0024 b, su b beyond (the joins are continuous: 2000 x 0.0004 = 0.8 and
// 0.8 + 100 x 0.002 = 1).
double StrongRock(const TPySoil& s, const TConstants& c, double y) {
    const double su = c.pu;
    if (y <= 0.0004 * s.b) return 2000.0 * su * y;
    if (y <= 0.0024 * s.b) return 0.8 * su * s.b + 100.0 * su * (y - 0.0004 * s.b);
    return su * s.b;
}
double StrongRockSlope(const TPySoil& s, const TConstants& c, double y) {
    if (y <= 0.0004 * s.b) return 2000.0 * c.pu;
    if (y <= 0.0024 * s.b) return 100.0 * c.pu;
    return 0.0;
}

// Reese (1997): Kir y to yA = (pur / (2 yrm^0.25 Kir))^(4/3), (pur/2)(y/yrm)^0.25 to 16 yrm,
// pur beyond. Written as p = min(Kir y, g(y)), g the power curve capped at pur, which is the
// published curve whenever yA <= 16 yrm. When yA > 16 yrm (a soft rock mass with small krm)
// the published ranges overlap: the line would pass pur before meeting the power curve and
// then drop to pur at 16 yrm. There the curve is the line up to pur and pur beyond.
double WeakRockPower(const TWeakRock& r, double y) {
    return y >= 16.0 * r.yrm ? r.pur : 0.5 * r.pur * std::sqrt(std::sqrt(y / r.yrm));
}
double WeakRock(const TConstants& c, double y) { return std::min(c.rock.Kir * y, WeakRockPower(c.rock, y)); }
double WeakRockSlope(const TConstants& c, double y) {
    const TWeakRock& r = c.rock;
    const double g = WeakRockPower(r, y);
    if (r.Kir * y <= g) return r.Kir;
    return y >= 16.0 * r.yrm ? 0.0 : g / (4.0 * y);
}

double MatlockCyclicCurve(const TPySoil& s, const TConstants& c, double y) {
    return MatlockCyclic(c.pu, c.y50, s.z, c.zr, y).p;
}
double WelchReeseCyclicCurve(const TConstants& c, double y) {
    return WelchReeseCyclic(c.pu, c.y50, c.cyclicFactor, y).p;
}

double Resistance(const TPySoil& s, const TConstants& c, double y) {
    if (s.cyclic) [[unlikely]] {
        if (s.type == TPyCriterion::SoftClay) return WithInitialLine(s, c, y, MatlockCyclicCurve(s, c, y));
        if (s.type == TPyCriterion::StiffClayNoFreeWater) return WithInitialLine(s, c, y, WelchReeseCyclicCurve(c, y));
    }
    switch (s.type) {
    case TPyCriterion::SoftClay: return WithInitialLine(s, c, y, MatlockCurve(c, y));
    case TPyCriterion::StiffClayFreeWater: return WithInitialLine(s, c, y, ReeseStiffClayCurve(c, y));
    case TPyCriterion::StiffClayNoFreeWater: return WithInitialLine(s, c, y, WelchReeseCurve(c, y));
    case TPyCriterion::Sand: return Sand(c, y);
    case TPyCriterion::Silt:
        // The sand curve with phi and k plus Matlock's curve with c and E50 (without the k z
        // line: k belongs to the frictional part), each at the same y.
        return (s.phiDeg > 0 ? Sand(c, y) : 0.0) + (s.c > 0 ? MatlockCurve(c, y) : 0.0);
    case TPyCriterion::StrongRock: return StrongRock(s, c, y);
    case TPyCriterion::WeakRock: return WeakRock(c, y);
    }
    return 0.0;  // not reached: CheckPySoil rejects other values
}

// The value and dp/dy for y > 0 (on a join, the slope of the branch that ends there): where the
// slope follows from the value (the power curves, tanh) the costly function runs once.
TValueAndSlope ValueAndSlope(const TPySoil& s, const TConstants& c, double y) {
    if (s.cyclic) [[unlikely]] {
        TCyclicPoint q;
        if (s.type == TPyCriterion::SoftClay) q = MatlockCyclic(c.pu, c.y50, s.z, c.zr, y);
        if (s.type == TPyCriterion::StiffClayNoFreeWater) q = WelchReeseCyclic(c.pu, c.y50, c.cyclicFactor, y);
        if (s.type == TPyCriterion::SoftClay || s.type == TPyCriterion::StiffClayNoFreeWater)
            return {WithInitialLine(s, c, y, q.p), WithInitialLineSlope(s, c, y, q.p, q.slope)};
    }
    switch (s.type) {
    case TPyCriterion::SoftClay: {
        const double curve = MatlockCurve(c, y);
        return {WithInitialLine(s, c, y, curve), WithInitialLineSlope(s, c, y, curve, MatlockSlope(c, y, curve))};
    }
    case TPyCriterion::StiffClayFreeWater: {
        const double curve = ReeseStiffClayCurve(c, y);
        return {WithInitialLine(s, c, y, curve), WithInitialLineSlope(s, c, y, curve, ReeseStiffClaySlope(c, y))};
    }
    case TPyCriterion::StiffClayNoFreeWater: {
        const double curve = WelchReeseCurve(c, y);
        return {WithInitialLine(s, c, y, curve), WithInitialLineSlope(s, c, y, curve, WelchReeseSlope(c, y, curve))};
    }
    case TPyCriterion::Sand: return SandPoint(c, y);
    case TPyCriterion::Silt: {
        const TValueAndSlope sand = s.phiDeg > 0 ? SandPoint(c, y) : TValueAndSlope{};
        const double clay = s.c > 0 ? MatlockCurve(c, y) : 0.0;
        return {sand.p + clay, sand.slope + (s.c > 0 ? MatlockSlope(c, y, clay) : 0.0)};
    }
    case TPyCriterion::StrongRock: return {StrongRock(s, c, y), StrongRockSlope(s, c, y)};
    case TPyCriterion::WeakRock: return {WeakRock(c, y), WeakRockSlope(c, y)};
    }
    return {};
}

// dp/dy at y -> 0+: the k z line where the criterion starts with one; for the
// fractional-power clay curves without k the secant at y = kPySecantFraction y50.
double InitialSlope(const TPySoil& s, const TConstants& c) {
    auto secant = [&c](double (*curve)(const TConstants&, double), double y50) {
        const double y = kPySecantFraction * y50;
        return curve(c, y) / y;
    };
    switch (s.type) {
    case TPyCriterion::SoftClay: return s.k > 0 ? c.kz : secant(MatlockCurve, c.y50);
    case TPyCriterion::StiffClayFreeWater: return s.k > 0 ? c.kz : secant(ReeseStiffClayCurve, c.y50c);
    case TPyCriterion::StiffClayNoFreeWater:
        if (s.k <= 0 && s.cyclic) return secant(WelchReeseCyclicCurve, c.y50);
        return s.k > 0 ? c.kz : secant(WelchReeseCurve, c.y50);
    case TPyCriterion::Sand: return c.kz;
    case TPyCriterion::Silt:
        return (s.phiDeg > 0 ? c.kz : 0.0) + (s.c > 0 ? secant(MatlockCurve, c.y50) : 0.0);
    case TPyCriterion::StrongRock: return 2000.0 * c.pu;
    case TPyCriterion::WeakRock: return c.rock.Kir;
    }
    return 0.0;
}

// The deflection up to which PySecantModulus uses the initial slope: the secant point
// kPySecantFraction y50 of a fractional-power curve without its k z line, otherwise a tiny
// fraction of b, inside the straight start of the curve.
double SmallDeflection(const TPySoil& s) {
    switch (s.type) {
    case TPyCriterion::SoftClay:
    case TPyCriterion::StiffClayNoFreeWater:
        if (s.k <= 0) return kPySecantFraction * SoftClayY50(s);
        break;
    case TPyCriterion::StiffClayFreeWater:
        if (s.k <= 0) return kPySecantFraction * s.e50 * s.b;
        break;
    case TPyCriterion::Silt:
        if (s.c > 0) return kPySecantFraction * SoftClayY50(s);
        break;
    default: break;
    }
    return kLinearStartFraction * s.b;
}

// ---- Published defaults ----------------------------------------------------------------

struct TDefaultClass {
    double value;
    const char* range;
};

// E50 by c (kPa), the typical values for clays used with Matlock's and Reese's criteria.
// A value on a shared class limit takes the class that starts there; "above 200" is strict.
TDefaultClass E50ByCohesion(double cKPa) {
    if (cKPa < 25) return {0.02, "below 25 kPa"};
    if (cKPa < 50) return {0.01, "25 to 50 kPa"};
    if (cKPa < 100) return {0.007, "50 to 100 kPa"};
    if (cKPa <= 200) return {0.005, "100 to 200 kPa"};
    return {0.004, "above 200 kPa"};
}

// k (pci) for stiff clay with free water by c (kPa), Reese et al. (1975), static loading.
TDefaultClass StiffClayKByCohesion(double cKPa) {
    if (cKPa < 100) return {500, "50 to 100 kPa"};
    if (cKPa <= 200) return {1000, "100 to 200 kPa"};
    return {2000, "above 200 kPa"};
}

// k (pci) for sand by phi and the water table (API RP 2GEO).
TDefaultClass SandKByFriction(double phiDeg, bool belowWaterTable) {
    if (phiDeg < 30) return {belowWaterTable ? 20.0 : 25.0, "loose, below 30 deg"};
    if (phiDeg <= 36) return {belowWaterTable ? 60.0 : 90.0, "medium dense, 30 to 36 deg"};
    return {belowWaterTable ? 125.0 : 225.0, "dense, above 36 deg"};
}

class TDefaults {
public:
    TDefaults(TPySoil& soil, bool english, bool notes) : s_(soil), english_(english), notes_(notes) {}

    void E50() {
        if (s_.e50 != 0 || !(std::isfinite(s_.c) && s_.c > 0)) return;
        const TDefaultClass d = E50ByCohesion(CohesionKPa());
        s_.e50 = d.value;
        if (!notes_) return;
        Warn("E50 not given; " + CohesionText() + " lies in the class " + d.range +
             ", so the typical E50 = " + Number(d.value) + " is used.");
    }

    void StiffClayK() {
        if (s_.k != 0 || !(std::isfinite(s_.c) && s_.c > 0)) return;
        const double cKPa = CohesionKPa();
        const TDefaultClass d = StiffClayKByCohesion(cKPa);
        s_.k = PciToUnits(d.value);
        if (!notes_) return;
        if (cKPa < 50)
            Warn("k not given; " + CohesionText() +
                 " is below 50 kPa, the weakest class (50 to 100 kPa) for which the criterion"
                 " gives k, so that class's k = " +
                 ModulusText(d.value) +
                 " is used; check that the stiff-clay criterion suits this soil.");
        else
            Warn("k not given; " + CohesionText() + " lies in the class " + d.range +
                 ", so the typical k = " + ModulusText(d.value) + " is used.");
    }

    void SandK(bool belowWaterTable) {
        if (s_.k != 0 || !(std::isfinite(s_.phiDeg) && s_.phiDeg > 0 && s_.phiDeg < 90)) return;
        const TDefaultClass d = SandKByFriction(s_.phiDeg, belowWaterTable);
        s_.k = PciToUnits(d.value);
        if (!notes_) return;
        Warn(std::string("k not given; phi = ") + Number(s_.phiDeg) + " deg (" + d.range + "), " +
             (belowWaterTable ? "below" : "above") +
             " the water table, so the typical k = " + ModulusText(d.value) + " is used.");
    }

    std::vector<std::string> warnings;

private:
    double CohesionKPa() const { return english_ ? s_.c * kKPaPerPsi : s_.c; }
    double PciToUnits(double pci) const { return english_ ? pci : pci * kKNm3PerPci; }

    std::string CohesionText() const {
        if (english_) return "c = " + Number(s_.c) + " psi (" + Number(CohesionKPa()) + " kPa)";
        return "c = " + Number(s_.c) + " kPa";
    }
    std::string ModulusText(double pci) const {
        if (english_) return Number(pci) + " pci";
        return Number(PciToUnits(pci)) + " kN/m3 (" + Number(pci) + " pci)";
    }
    void Warn(const std::string& text) {
        warnings.push_back(Capitalised(PyCriterionName(s_.type)) + " at z = " + Number(s_.z) +
                           (english_ ? " in" : " m") + " below the excavation: " + text);
    }

    TPySoil& s_;
    bool english_;
    bool notes_;  // the notes are wanted (a wall's nodes need them once per layer)
};

}  // namespace

bool PyHasCyclicForm(TPyCriterion type) {
    return type == TPyCriterion::SoftClay || type == TPyCriterion::StiffClayNoFreeWater || type == TPyCriterion::Sand;
}

double PyUltimateResistance(const TPySoil& s) {
    switch (s.type) {
    case TPyCriterion::SoftClay:
    case TPyCriterion::StiffClayNoFreeWater: return SoftClayUltimate(s);
    case TPyCriterion::StiffClayFreeWater: return StiffClayFreeWaterUltimate(s);
    case TPyCriterion::Sand: return SandUltimate(s);
    case TPyCriterion::Silt:
        return (s.phiDeg > 0 ? SandUltimate(s) : 0.0) + (s.c > 0 ? SoftClayUltimate(s) : 0.0);
    case TPyCriterion::StrongRock: return 0.5 * s.qu * s.b;
    case TPyCriterion::WeakRock: return WeakRockParameters(s).pur;
    }
    return 0.0;
}

TPyCriterion PyCriterionFromCode(int code) {
    if (code < 1 || code > 7)
        throw std::invalid_argument("Unknown p-y criterion (soil type " + std::to_string(code) +
                                    "); the types are 1 to 7");
    return static_cast<TPyCriterion>(code);
}

std::string PyCriterionName(TPyCriterion type) {
    switch (type) {
    case TPyCriterion::SoftClay: return "soft clay";
    case TPyCriterion::StiffClayFreeWater: return "stiff clay with free water";
    case TPyCriterion::StiffClayNoFreeWater: return "stiff clay without free water";
    case TPyCriterion::Sand: return "sand";
    case TPyCriterion::Silt: return "silt (c-phi soil)";
    case TPyCriterion::StrongRock: return "strong rock";
    case TPyCriterion::WeakRock: return "weak rock";
    }
    return "unknown soil type " + std::to_string(static_cast<int>(type));
}

void CheckPySoil(const TPySoil& s) {
    if (!KnownCriterion(s.type))
        throw std::invalid_argument("Unknown p-y criterion (soil type " +
                                    std::to_string(static_cast<int>(s.type)) +
                                    "); the types are 1 to 7");
    NeedPositive(s, s.b, "the width b", "the curve is per width of wall");
    NeedNonNegative(s, s.z, "the depth z below the excavation");
    if (s.cyclic && !(std::isfinite(s.cycles) && s.cycles >= 1))
        Fail(s, "the number of cycles N must be 1 or more (given " + Number(s.cycles) + ")");
    if (s.cyclic && s.type == TPyCriterion::SoftClay)
        NeedNonNegative(s, s.gammaEff, "the effective unit weight (it sets Matlock's z_r)");
    switch (s.type) {
    case TPyCriterion::SoftClay:
    case TPyCriterion::StiffClayNoFreeWater:
        NeedPositive(s, s.c, "the cohesion c", "a clay layer needs its undrained strength");
        NeedPositive(s, s.e50, "E50", "give it or let the default by c fill it");
        NeedNonNegative(s, s.sigmaV, "the vertical effective stress");
        NeedNonNegative(s, s.k, "k");
        break;
    case TPyCriterion::StiffClayFreeWater:
        NeedPositive(s, s.c, "the cohesion c", "a clay layer needs its undrained strength");
        NeedPositive(s, s.e50, "E50", "give it or let the default by c fill it");
        NeedNonNegative(s, s.gammaEff, "the effective unit weight");
        NeedNonNegative(s, s.k, "k");
        break;
    case TPyCriterion::Sand:
        NeedFriction(s, "a sand layer needs its friction angle");
        NeedPositive(s, s.gammaEff, "the effective unit weight",
                     "the sand's strength grows with it");
        NeedPositive(s, s.k, "k", "give it or let the default by phi fill it");
        break;
    case TPyCriterion::Silt:
        NeedNonNegative(s, s.c, "the cohesion c");
        NeedNonNegative(s, s.phiDeg, "the friction angle phi");
        if (s.c == 0 && s.phiDeg == 0)
            Fail(s, "c and phi are both 0; a c-phi soil needs at least one of them");
        if (s.phiDeg > 0) {
            NeedFriction(s, "");
            NeedPositive(s, s.gammaEff, "the effective unit weight",
                         "the frictional part's strength grows with it");
            NeedPositive(s, s.k, "k", "give it or let the default by phi fill it");
        }
        if (s.c > 0) {
            NeedPositive(s, s.e50, "E50", "give it or let the default by c fill it");
            NeedNonNegative(s, s.sigmaV, "the vertical effective stress");
        }
        break;
    case TPyCriterion::StrongRock:
        NeedPositive(s, s.qu, "the uniaxial compressive strength qu", "a rock layer needs it");
        break;
    case TPyCriterion::WeakRock:
        NeedPositive(s, s.qu, "the uniaxial compressive strength qu", "a rock layer needs it");
        NeedPositive(s, s.Eir, "the rock mass modulus Eir", "it sets the initial slope");
        NeedPositive(s, s.krm, "krm", "Reese (1997) gives 0.00005 to 0.0005; it sets yrm = krm b");
        if (!(std::isfinite(s.rqd) && s.rqd >= 0 && s.rqd <= 100))
            Fail(s, "RQD must lie between 0 and 100 % (given " + Number(s.rqd) + ")");
        break;
    }
}

std::vector<std::string> ApplyPyDefaults(TPySoil& soil, bool english, bool belowWaterTable, bool notes) {
    TPySoil s = soil;
    TDefaults defaults(s, english, notes);
    switch (s.type) {
    case TPyCriterion::SoftClay:
    case TPyCriterion::StiffClayNoFreeWater: defaults.E50(); break;
    case TPyCriterion::StiffClayFreeWater:
        defaults.E50();
        defaults.StiffClayK();
        break;
    case TPyCriterion::Sand: defaults.SandK(belowWaterTable); break;
    case TPyCriterion::Silt:
        defaults.E50();
        defaults.SandK(belowWaterTable);
        break;
    default: break;
    }
    CheckPySoil(s);
    soil = s;
    return std::move(defaults.warnings);
}

double PyResistance(const TPySoil& soil, double y) {
    if (!std::isfinite(y)) {
        CheckPySoil(soil);
        throw std::invalid_argument("p-y curve: the deflection must be a finite number");
    }
    return TPyCurve(soil).Resistance(y);
}

double PyInitialSlope(const TPySoil& soil) { return TPyCurve(soil).InitialSlope(); }

double PySecantModulus(const TPySoil& soil, double y) {
    if (!std::isfinite(y)) {
        CheckPySoil(soil);
        throw std::invalid_argument("p-y curve: the deflection must be a finite number");
    }
    return TPyCurve(soil).Secant(y);
}

double PyModified(const TPySoil& soil, double y, double pm, double ym) {
    if (!(std::isfinite(pm) && pm >= 0))
        throw std::invalid_argument("p-y modification: the p multiplier must be 0 or more (given " +
                                    Number(pm) + ")");
    if (!(std::isfinite(ym) && ym > 0))
        throw std::invalid_argument(
            "p-y modification: the y multiplier must be greater than 0 (given " + Number(ym) + ")");
    return pm * PyResistance(soil, y / ym);
}

TPyCurve::TPyCurve(const TPySoil& soil) : soil_(soil) {
    CheckPySoil(soil_);
    Prepare();
}

void TPyCurve::SetChecked(const TPySoil& soil) {
    soil_ = soil;
    Prepare();
}

void TPyCurve::Prepare() {
    constants_ = Constants(soil_);
    initialSlope_ = engine::InitialSlope(soil_, constants_);
    small_ = SmallDeflection(soil_);
}

double TPyCurve::Resistance(double y) const {
    const double p = engine::Resistance(soil_, constants_, std::fabs(y));
    return y < 0 ? -p : p;
}

double TPyCurve::Secant(double y) const {
    const double a = std::fabs(y);
    if (!(a > small_)) return initialSlope_;
    return engine::Resistance(soil_, constants_, a) / a;
}

TPyCurve::TLinear TPyCurve::SecantAndTangent(double y) const {
    const double a = std::fabs(y);
    if (!(a > small_)) return {initialSlope_, initialSlope_};
    const TValueAndSlope point = ValueAndSlope(soil_, constants_, a);
    return {point.p / a, point.slope};
}

double TPyCurve::Tangent(double y) const { return SecantAndTangent(y).tangent; }

std::vector<std::pair<double, double>> PyCurvePoints(const TPySoil& soil, double yMax, int count) {
    const TPyCurve curve(soil);
    if (!(std::isfinite(yMax) && yMax > 0))
        throw std::invalid_argument(
            "p-y curve points: the largest deflection must be greater than 0 (given " +
            Number(yMax) + ")");
    if (count < 2 || count > 100000)
        throw std::invalid_argument(
            "p-y curve points: the number of points must lie between 2 and 100000 (given " +
            std::to_string(count) + ")");
    std::vector<std::pair<double, double>> points;
    points.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double y = i == count - 1 ? yMax : yMax * i / (count - 1);
        points.emplace_back(y, curve.Resistance(y));
    }
    return points;
}

std::string PyLimitWarning(const TPySoil& soil, double y) {
    CheckPySoil(soil);
    if (soil.type == TPyCriterion::StrongRock && std::fabs(y) > 0.0024 * soil.b)
        return Capitalised(PyCriterionName(soil.type)) + " at z = " + Number(soil.z) +
               " below the excavation: the deflection is " + Number(std::fabs(y) / soil.b) +
               " b, beyond 0.0024 b where the resistance reaches su b; brittle failure of the"
               " rock is likely.";
    return {};
}

}  // namespace torvex::engine
