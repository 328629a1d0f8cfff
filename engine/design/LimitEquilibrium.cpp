#include "design/LimitEquilibrium.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

#include "soil/DrivingLoads.h"
#include "soil/EarthPressureCoefficients.h"
#include "soil/Seepage.h"

namespace torvex::engine {
namespace {

constexpr double kLowF = 0.5, kHighF = 20;
constexpr int kBisections = 40;     // of a depth: a trillionth of the range
constexpr int kMaxSteps = 100;      // of a factor, which takes about ten
constexpr double kFactorTolerance = 1e-7;  // the factors are reported to 3 decimals
constexpr int kIntervals = 150;
constexpr double kPi = 3.14159265358979323846;
constexpr double kUnboundedKp = 1e6;

// The soil and the loads at one end of a grid interval, seen from inside the interval (so a
// layer boundary or the excavation level between two intervals is taken exactly).
struct TPoint {
    double x = 0;
    double tanPhi = 0, c = 0;
    double sv = 0;      // effective vertical stress behind, the uniform surcharge included
    double sve = 0;     // effective vertical stress in front, from the excavation level
    double loads = 0;   // net water and surcharge-load pressure (F/L2)
    bool front = false; // below the excavation level
    // Steady seepage: what a gradient of 1 adds to sv, takes from sve and adds to loads; each
    // is linear in the gradient, which changes with the trial toe.
    double seepSv = 0, seepSve = 0, seepLoads = 0;
};

// The wall's soils and loads on a grid from the top to the deepest tip tried.
struct TProfile {
    std::vector<TPoint> start, end;  // per interval
    double H = 0, Wa = 1, Wp = 1, slope = 0, factor = 1;
    TEarthPressureMethod method = TEarthPressureMethod::Rankine;
    double frictionActive = 0, frictionPassive = 0;  // delta / phi of active and passive pressures
    bool seepage = false;  // the seepage option: the gradient follows the trial toe
    double waterBack = 0, waterFront = 0, gammaWater = 0;

    // The seepage gradient with the toe at xt (0: hydrostatic).
    double Gradient(double xt) const {
        return seepage ? SteadySeepage(waterBack, waterFront, xt, gammaWater).gradient : 0.0;
    }
};

// Coulomb's or Annex C's coefficients for one factored friction angle, kept for the next
// point, which is mostly in the same layer and so has the same angle.
struct TCoefficients {
    double tanPhi = -1;          // the angle they are for (none yet)
    double kaSlope = 0, rootKaSlope = 0;  // active behind, on the backfill slope
    double ka = 0, rootKa = 0;   // active on level ground (in front, below a pivot)
    double kp = 0, rootKp = 0;   // passive on level ground
};

// The coefficients for tan(phi) / F = t. Wall friction follows the pressure, not the side: an
// active pressure takes delta = WallFrictionActive phi and a passive resistance
// WallFrictionPassive phi wherever they act, also below a cantilever's pivot (passive behind,
// active in front). The passive ratio is the caution a designer puts on passive resistance
// (EN 1997-1 9.5.1, 9.5.3(2)), as much for the soil behind the toe as for that in front. The
// passive resistance behind is on level ground, as in Rankine's case; where the factored angle
// is less than the backfill slope the active pressure is taken on level ground too.
void Update(TCoefficients& k, const TProfile& profile, double t) {
    if (t == k.tanPhi) return;
    k.tanPhi = t;
    const double phi = std::atan(t) * 180 / kPi;
    const double deltaA = profile.frictionActive * phi, deltaP = profile.frictionPassive * phi;
    k.ka = ActiveEarthPressureCoefficient(profile.method, phi, deltaA, 0);
    k.kaSlope = profile.slope != 0 && phi >= std::fabs(profile.slope)
                    ? ActiveEarthPressureCoefficient(profile.method, phi, deltaA, profile.slope)
                    : k.ka;
    try {
        k.kp = PassiveEarthPressureCoefficient(profile.method, phi, deltaP, 0);
    } catch (const std::invalid_argument&) {
        // Coulomb's plane wedge with the large angle of a trial F well below 1 has no finite
        // resistance: it holds whatever the load.
        k.kp = kUnboundedKp;
    }
    k.rootKa = std::sqrt(k.ka);
    k.rootKaSlope = std::sqrt(k.kaSlope);
    k.rootKp = std::sqrt(k.kp);
}

const TSoilLayer* LayerAt(const std::vector<TSoilLayer>& layers, double x) {
    for (const TSoilLayer& l : layers)
        if (x < l.bottom) return &l;
    return layers.empty() ? nullptr : &layers.back();
}

TPoint PointAt(const TWallInput& in, const std::vector<SoilLayer>& driving, const TSoilLayer& layer, double x,
               bool front) {
    TPoint p;
    p.x = x;
    const TSoilValues v = layer.At(x);
    const bool clay = layer.type <= 3, sand = layer.type == 4;
    p.tanPhi = clay ? 0 : std::tan(v.phi * kPi / 180);
    p.c = sand ? 0 : v.c;
    p.sv = VerticalEffectiveStress(x, driving, in.backfillSurcharge, in.waterBackfill, in.gammaWater);
    p.front = front;
    if (front)
        p.sve = VerticalEffectiveStress(x, driving, 0, in.waterExcavation, in.gammaWater) -
                VerticalEffectiveStress(in.freeHeight, driving, 0, in.waterExcavation, in.gammaWater);
    double surcharge = 0;
    for (const TSurcharge& s : in.surcharges) {
        if (s.type == kPointLoad) surcharge += PointLoadPressure(s.magnitude, s.distance, x, in.freeHeight);
        if (s.type == kLineLoad) surcharge += LineLoadPressure(s.magnitude, s.distance, x, in.freeHeight);
        if (s.type == kStripLoad) surcharge += StripLoadPressure(s.magnitude, s.distance, s.width, x);
    }
    p.loads = NetWaterPressure(x, in.waterBackfill, in.waterExcavation, in.gammaWater) + in.pressureFactor * surcharge;
    if (in.soil.seepage) {
        TSeepage unit;
        unit.gradient = 1;
        unit.waterBack = in.waterBackfill;
        unit.waterFront = in.waterExcavation;
        unit.gammaWater = in.gammaWater;
        p.seepSv = unit.BehindStressGain(x);
        p.seepSve = front ? unit.FrontStressLoss(x, in.freeHeight) : 0.0;
        // u behind less u in front falls by gamma_w ((x - h_back)+ + (x - h_front)+) per unit i.
        p.seepLoads = -(unit.BehindStressGain(x) + (x > in.waterExcavation ? in.gammaWater * (x - in.waterExcavation) : 0.0));
    }
    return p;
}

TProfile BuildProfile(const TWallInput& in, double deepest) {
    TProfile profile;
    profile.H = in.freeHeight;
    profile.Wa = in.activeWidth > 0 ? in.activeWidth : 1;
    profile.Wp = in.resistanceWidth > 0 ? in.resistanceWidth : profile.Wa;
    profile.slope = in.backfillSlope;
    profile.factor = in.pressureFactor;
    profile.method = in.soil.pressureMethod;
    profile.frictionActive = in.soil.frictionActive;
    profile.frictionPassive = in.soil.frictionPassive;
    profile.seepage = in.soil.seepage;
    profile.waterBack = in.waterBackfill;
    profile.waterFront = in.waterExcavation;
    profile.gammaWater = in.gammaWater;
    std::vector<SoilLayer> driving;
    for (const TSoilLayer& l : in.layers)
        driving.push_back({l.bottom, l.type, l.gamma, l.c, l.phi, l.atBottom.gamma, l.atBottom.c, l.atBottom.phi});
    std::vector<double> breaks = {0, deepest, in.freeHeight, in.waterBackfill, in.waterExcavation};
    for (const TSoilLayer& l : in.layers) breaks.push_back(l.bottom);
    breaks.erase(std::remove_if(breaks.begin(), breaks.end(), [&](double b) { return !(b >= 0 && b <= deepest); }),
                 breaks.end());
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    for (size_t k = 0; k + 1 < breaks.size(); ++k) {
        const double a = breaks[k], b = breaks[k + 1];
        const int pieces = std::max(1, static_cast<int>(std::ceil(kIntervals * (b - a) / deepest)));
        const TSoilLayer* layer = LayerAt(in.layers, (a + b) / 2);
        const bool front = (a + b) / 2 > in.freeHeight;
        for (int j = 0; j < pieces; ++j) {
            const double x0 = a + (b - a) * j / pieces, x1 = j + 1 == pieces ? b : a + (b - a) * (j + 1) / pieces;
            profile.start.push_back(PointAt(in, driving, *layer, x0, front));
            profile.end.push_back(PointAt(in, driving, *layer, x1, front));
        }
    }
    return profile;
}

// The net pressures per wall unit (F/L, toward the excavation) with the strength divided by F
// and the passive resistance by Fp, integrated from the top: `a` with the active side behind
// (above a pivot), `b` with the passive side behind (below it).
class TPressures {
public:
    // Integrated down to `depth` (the tip tried): the integrals hold to there only. `gradient`
    // is the seepage gradient for that tip.
    TPressures(const TProfile& profile, double F, double Fp, double depth, double gradient = 0) : profile_(profile) {
        Compute(F, Fp, depth, gradient);
    }
    // The same for another tip or factors, reusing the buffers: no allocation once they have
    // held the deepest tip.
    void Compute(double F, double Fp, double depth, double gradient) {
        const TProfile& profile = profile_;
        size_t n = 0;
        while (n < profile.start.size() && profile.start[n].x < depth) ++n;
        a0_.resize(n);
        a1_.resize(n);
        b0_.resize(n);
        b1_.resize(n);
        TCoefficients k;
        for (size_t i = 0; i < n; ++i) {
            Net(profile.start[i], F, Fp, gradient, k, a0_[i], b0_[i]);
            Net(profile.end[i], F, Fp, gradient, k, a1_[i], b1_[i]);
        }
        A_.assign(n + 1, 0);
        AX_ = B_ = BX_ = A_;
        for (size_t i = 0; i < n; ++i) {
            const double x0 = profile.start[i].x, x1 = profile.end[i].x, h = x1 - x0;
            A_[i + 1] = A_[i] + h * (a0_[i] + a1_[i]) / 2;
            AX_[i + 1] = AX_[i] + h * (a0_[i] * x0 + a1_[i] * x1) / 2;
            B_[i + 1] = B_[i] + h * (b0_[i] + b1_[i]) / 2;
            BX_[i + 1] = BX_[i] + h * (b0_[i] * x0 + b1_[i] * x1) / 2;
        }
    }
    // The integrals from the top to x of a, a x, b and b x.
    double A(double x) const { return Integral(x, A_, a0_, a1_, false); }
    double AX(double x) const { return Integral(x, AX_, a0_, a1_, true); }
    double B(double x) const { return Integral(x, B_, b0_, b1_, false); }
    double BX(double x) const { return Integral(x, BX_, b0_, b1_, true); }

private:
    void Net(const TPoint& given, double F, double Fp, double gradient, TCoefficients& k, double& a,
             double& b) const {
        TPoint seeped;
        if (gradient != 0) {
            seeped = given;
            seeped.sv += gradient * given.seepSv;
            seeped.sve = std::max(given.sve - gradient * given.seepSve, 0.0);
            seeped.loads += gradient * given.seepLoads;
        }
        const TPoint& p = gradient != 0 ? seeped : given;
        const double t = p.tanPhi / F, c = p.c / F;
        double rootKa, rootKp, kaLevel, kp, active;
        if (profile_.method == TEarthPressureMethod::Rankine) {
            // With s = sqrt(1 + t^2): Ka = (s - t)^2 and Kp = (s + t)^2, so their roots cost nothing.
            const double s = std::sqrt(1 + t * t);
            rootKa = s - t;
            rootKp = s + t;
            kaLevel = rootKa * rootKa;
            kp = rootKp * rootKp;
            active = std::max(kaLevel * p.sv - 2 * c * rootKa, 0.0);
            if (profile_.slope != 0) {
                const double phiDeg = std::atan(t) * 180 / kPi;
                if (phiDeg >= std::fabs(profile_.slope))
                    active = ActiveHorizontalPressure(RankineActiveCoefficient(phiDeg, profile_.slope),
                                                      profile_.slope, p.sv, c);
            }
        } else {
            Update(k, profile_, t);
            rootKa = k.rootKa;
            rootKp = k.rootKp;
            kaLevel = k.ka;
            kp = k.kp;
            active = std::max(k.kaSlope * p.sv - 2 * c * k.rootKaSlope, 0.0);
        }
        active *= profile_.factor;
        const double passiveFront = p.front ? (kp * p.sve + 2 * c * rootKp) / Fp : 0;
        const double passiveBehind = (kp * p.sv + 2 * c * rootKp) / Fp;
        const double activeFront = p.front ? std::max(kaLevel * p.sve - 2 * c * rootKa, 0.0) : 0;
        a = profile_.Wa * (active + p.loads) - profile_.Wp * passiveFront;
        b = profile_.Wp * passiveBehind - profile_.Wa * activeFront + profile_.Wa * p.loads;
    }
    double Integral(double x, const std::vector<double>& sum, const std::vector<double>& f0,
                    const std::vector<double>& f1, bool moment) const {
        const auto& ends = profile_.end;
        const auto last = ends.begin() + static_cast<std::ptrdiff_t>(f0.size());
        const auto it = std::lower_bound(ends.begin(), last, x,
                                         [](const TPoint& p, double value) { return p.x < value; });
        if (it == last) return sum.back();
        const size_t i = static_cast<size_t>(it - ends.begin());
        const double x0 = profile_.start[i].x, x1 = ends[i].x;
        const double t = x1 > x0 ? std::clamp((x - x0) / (x1 - x0), 0.0, 1.0) : 1.0;
        const double fx = f0[i] + t * (f1[i] - f0[i]);
        const double part = moment ? (f0[i] * x0 + fx * x) / 2 : (f0[i] + fx) / 2;
        return sum[i] + (x - x0) * part;
    }

    const TProfile& profile_;
    std::vector<double> a0_, a1_, b0_, b1_, A_, AX_, B_, BX_;
};

// How far the wall with its tip at xt is from balance under the pressures, positive when it
// fails: for a cantilever, the moment left turning the wall out about the pivot that balances
// the forces; with a support at xs, the moment about it. `pivot` gets the cantilever's pivot.
double Residual(const TPressures& p, double H, double xt, bool cantilever, double xs, double* pivot = nullptr) {
    if (!cantilever) return p.AX(xt) - xs * p.A(xt);
    const double total = p.A(xt);
    // Not even the full passive in front holds the forces: it fails, and more so the more is
    // left over.
    if (total >= 0) return total * (xt - H) + std::numeric_limits<double>::min();
    const auto force = [&](double xp) { return p.A(xp) + p.B(xt) - p.B(xp); };
    double lo = H, hi = xt;
    if (force(lo) > 0)
        for (int k = 0; k < kBisections; ++k) {
            const double mid = (lo + hi) / 2;
            (force(mid) > 0 ? lo : hi) = mid;
        }
    const double xp = (lo + hi) / 2;
    if (pivot) *pivot = xp;
    return -(p.AX(xp) + p.BX(xt) - p.BX(xp));
}

bool Fails(const TPressures& p, double H, double xt, bool cantilever, double xs, double* pivot = nullptr) {
    return Residual(p, H, xt, cantilever, xs, pivot) > 0;
}

// The factor at which the residual (positive where the wall fails, growing with the factor)
// crosses zero. Regula falsi with the Illinois step keeps the bracket of a bisection but needs
// a handful of evaluations where the residual is smooth, as it is here.
TLeFactor FindFactor(const std::function<double(double)>& residual, double& factor) {
    double lo = kLowF, hi = kHighF;
    double rlo = residual(lo), rhi = residual(hi);
    if (rlo > 0) return TLeFactor::Unstable;
    if (!(rhi > 0)) return TLeFactor::AboveRange;
    int kept = 0;  // the side kept by the last step: -1 low, +1 high
    for (int k = 0; k < kMaxSteps && hi - lo > kFactorTolerance * hi; ++k) {
        double mid = (lo * rhi - hi * rlo) / (rhi - rlo);
        if (!(mid > lo && mid < hi)) mid = (lo + hi) / 2;
        const double r = residual(mid);
        if (r > 0) {
            hi = mid;
            rhi = r;
            if (kept == -1) rlo /= 2;
            kept = -1;
        } else {
            lo = mid;
            rlo = r;
            if (kept == 1) rhi /= 2;
            kept = 1;
        }
    }
    factor = (lo + hi) / 2;
    return TLeFactor::Found;
}

}  // namespace

const char* LeMethodText(TLeMethod method) {
    switch (method) {
        case TLeMethod::Cantilever: return "cantilever";
        case TLeMethod::FreeEarthSupport: return "free earth support";
        case TLeMethod::NotApplicable: return "not applicable";
    }
    return "";
}

TLimitEquilibrium AnalyzeLimitEquilibrium(const TWallInput& in, double targetF, double passiveDivisor) {
    TLimitEquilibrium le;
    le.targetF = targetF;
    le.passiveDivisor = passiveDivisor;
    const int n = in.beam.n;
    const double H = in.freeHeight, L = n * in.beam.h, xt = L;
    le.embedment = L - H;
    if (in.pressureMode != kTriangularPressure && in.pressureMode != kTrapezoidalPressure) {
        le.reason = "the earth pressure is not generated from the soil layers";
        return le;
    }
    if (in.layers.empty() || !(H > 0) || !(le.embedment > 0)) {
        le.reason = in.layers.empty() ? "no soil layers" : "the wall has no embedment below the excavation level";
        return le;
    }
    double deepest = H + std::max(4 * H, 2 * le.embedment);
    double top = 0;
    for (const TSoilLayer& l : in.layers) {
        if (l.type >= kStrongRock) {
            if (top < xt) {
                le.reason = "embedded in rock: limit equilibrium not applicable";
                return le;
            }
            deepest = std::min(deepest, top);
            break;
        }
        top = l.bottom;
    }
    // The lowest support above the tip: a deflection restraint or a lateral spring.
    int supports = 0;
    for (int i = 0; i < n; ++i) {
        const size_t s = static_cast<size_t>(i);
        if (in.beam.fixedDeflection[s] || in.beam.kLateral[s] > 0) {
            ++supports;
            le.supportDepth = i * in.beam.h;
        }
    }
    const bool cantilever = supports == 0;
    le.method = cantilever ? TLeMethod::Cantilever : TLeMethod::FreeEarthSupport;
    if (supports > 1) le.notes += "The upper supports are left out of this check: moments are taken about the lowest. ";
    if (in.resistanceWidth > 0 && in.resistanceWidth < in.activeWidth)
        le.notes += "Passive resistance over Wp < Wa leaves out arching in front of separate piles (conservative). ";
    le.searchLimit = deepest - H;
    const TProfile profile = BuildProfile(in, deepest);
    const double xs = le.supportDepth;

    // Every passive resistance is divided by the divisor; F and F_p are found on top of it.
    const double R = passiveDivisor;
    const double iWall = profile.Gradient(xt);
    le.seepageGradient = iWall;
    le.fState = FindFactor(
        [&](double F) { return Residual(TPressures(profile, F, R, xt, iWall), H, xt, cantilever, xs); }, le.F);
    le.fpState = FindFactor(
        [&](double Fp) { return Residual(TPressures(profile, 1, R * Fp, xt, iWall), H, xt, cantilever, xs); },
        le.Fp);
    if (le.fState == TLeFactor::Found) {
        const TPressures atF(profile, le.F, R, xt, iWall);
        double pivot = 0;
        Fails(atF, H, xt, cantilever, xs, &pivot);
        if (cantilever) {
            le.pivotFound = true;
            le.pivotDepth = pivot - H;
        } else {
            le.supportFound = true;
            le.supportForce = atF.A(xt) / profile.Wa;
        }
    }
    // With seepage the pressures change with the trial toe, so they are worked out again for
    // each (in the same buffers); without it once, to the deepest toe.
    TPressures target(profile, targetF, R, deepest, profile.Gradient(deepest));
    const auto fails = [&](double toe) {
        if (profile.seepage) target.Compute(targetF, R, toe, profile.Gradient(toe));
        return Fails(target, H, toe, cantilever, xs);
    };
    if (!Fails(target, H, deepest, cantilever, xs)) {
        double lo = H, hi = deepest;
        for (int k = 0; k < kBisections; ++k) {
            const double mid = (lo + hi) / 2;
            (fails(mid) ? lo : hi) = mid;
        }
        le.requiredFound = true;
        le.requiredEmbedment = (lo + hi) / 2 - H;
        le.requiredSeepageGradient = profile.Gradient(H + le.requiredEmbedment);
        if (profile.seepage) target.Compute(targetF, R, H + le.requiredEmbedment, le.requiredSeepageGradient);
        if (!cantilever) le.requiredSupportForce = target.A(H + le.requiredEmbedment) / profile.Wa;
    }
    return le;
}

}  // namespace torvex::engine
