#include "design/Combinations.h"
#include "dataentry/NumberText.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace torvex::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerInch = 0.0254;

double DesignAngle(double phiDeg, double divisor) {
    return std::atan(std::tan(phiDeg * kPi / 180) / divisor) * 180 / kPi;
}

// Design strengths of one set of a layer's values: clays carry cu in c, rock its uniaxial
// strength, sand and silt c'. Stiffnesses (k, e50, the rock's modulus) stay characteristic.
void FactorStrengths(TSoilValues& v, int type, const TCombinationFactors& f) {
    const bool clay = type <= 3, rock = type >= 6;
    v.phi = DesignAngle(v.phi, f.tanPhi);
    v.c /= clay ? f.undrained : rock ? f.unconfined : f.cohesion;
    v.gamma /= f.unitWeight;
}

// The depth of the lowest support above the excavation level (a spring or a deflection
// restraint), or nothing for a cantilever.
double LowestSupportAbove(const TWallInput& in) {
    double lowest = -1;
    for (int i = 0; i <= in.beam.n; ++i) {
        const size_t s = static_cast<size_t>(i);
        const double depth = i * in.beam.h;
        if (depth < in.freeHeight && (in.beam.kLateral[s] > 0 || in.beam.fixedDeflection[s])) lowest = depth;
    }
    return lowest;
}

std::string Text(double value) {
    return CNumberText(value);
}

}  // namespace

const char* CombinationName(TCombination combination) {
    switch (combination) {
        case TCombination::SLS: return "SLS";
        case TCombination::DA1_C1: return "DA1-C1";
        case TCombination::DA1_C2: return "DA1-C2";
        case TCombination::DA2: return "DA2";
        case TCombination::DA3: return "DA3";
    }
    return "";
}

const char* DesignCodeName(TDesignCode code) {
    switch (code) {
        case TDesignCode::None: return "None";
        case TDesignCode::EC7_DA1: return "EC7-DA1";
        case TDesignCode::EC7_DA2: return "EC7-DA2";
        case TDesignCode::EC7_DA3: return "EC7-DA3";
    }
    return "";
}

std::vector<TCombination> CombinationsOf(TDesignCode code) {
    switch (code) {
        case TDesignCode::None: return {};
        case TDesignCode::EC7_DA1: return {TCombination::SLS, TCombination::DA1_C1, TCombination::DA1_C2};
        case TDesignCode::EC7_DA2: return {TCombination::SLS, TCombination::DA2};
        case TDesignCode::EC7_DA3: return {TCombination::SLS, TCombination::DA3};
    }
    return {};
}

TCombinationFactors FactorsOf(TCombination combination, const TProjectOptions& o) {
    TCombinationFactors f;
    const double gammaG = static_cast<double>(o.GammaG), gammaQ = static_cast<double>(o.GammaQ),
                 gammaQ2 = static_cast<double>(o.GammaQ2);
    const bool wallLoadsVariable = o.WallLoadsVariable == 1;
    const auto designStrengths = [&] {
        f.tanPhi = static_cast<double>(o.GammaTanPhi);
        f.cohesion = static_cast<double>(o.GammaCohesion);
        f.undrained = static_cast<double>(o.GammaUndrained);
        f.unconfined = static_cast<double>(o.GammaUnconfined);
        f.unitWeight = static_cast<double>(o.GammaUnitWeight);
    };
    switch (combination) {
        case TCombination::SLS: break;
        case TCombination::DA1_C1:
        case TCombination::DA2:
            // Characteristic analysis, effects times GammaG: the variable loads are raised by
            // GammaQ / GammaG so that they end up times GammaQ.
            f.variable = gammaQ / gammaG;
            f.wallLoads = wallLoadsVariable ? gammaQ / gammaG : 1;
            f.effects = gammaG;
            f.unplanned = true;
            if (combination == TCombination::DA2) f.earthResistance = static_cast<double>(o.GammaEarthResistance);
            break;
        case TCombination::DA1_C2:
            designStrengths();
            f.variable = gammaQ2;
            f.wallLoads = wallLoadsVariable ? gammaQ2 : 1;
            f.unplanned = true;
            break;
        case TCombination::DA3:
            // Geotechnical actions by set A2, structural ones (the loads on the wall) by A1.
            designStrengths();
            f.variable = gammaQ2;
            f.wallLoads = wallLoadsVariable ? gammaQ : gammaG;
            f.unplanned = true;
            break;
    }
    return f;
}

double UnplannedExcavationDepth(const TWallInput& in, const TProjectOptions& o) {
    if (!o.UnplannedExcavationAuto) return static_cast<double>(o.UnplannedExcavation);
    const double lowest = LowestSupportAbove(in);
    const double clear = lowest < 0 ? in.freeHeight : in.freeHeight - lowest;
    const double cap = in.english() ? 0.5 / kMetresPerInch : 0.5;
    return std::clamp(0.1 * clear, 0.0, cap);
}

TWallInput CombinationInput(TWallInput in, TCombination combination, const TProjectOptions& o,
                            std::vector<std::string>& notes) {
    const TCombinationFactors f = FactorsOf(combination, o);
    in.backfillSurcharge = std::max(in.backfillSurcharge, static_cast<double>(o.MinimumSurcharge));
    in.backfillSurcharge *= f.variable;
    for (TSurcharge& s : in.surcharges) s.magnitude *= f.variable;
    if (f.wallLoads != 1) {
        for (double& p : in.beam.P) p *= f.wallLoads;
        for (double& m : in.beam.Mt) m *= f.wallLoads;
        for (TCurvePoint& point : in.distributedLoad) point.y *= f.wallLoads;
    }
    if (f.tanPhi != 1 || f.cohesion != 1 || f.undrained != 1 || f.unconfined != 1 || f.unitWeight != 1) {
        for (TSoilLayer& layer : in.layers) {
            FactorStrengths(layer, layer.type, f);
            FactorStrengths(layer.atBottom, layer.type, f);
        }
        if (!in.externalCurves.empty())
            notes.push_back("The external p-y curves are used as entered: their strengths are not divided by "
                            "the partial factors.");
    }
    if (f.unplanned) {
        const double delta = UnplannedExcavationDepth(in, o);
        const double nominal = in.freeHeight, lowered = nominal + delta, toe = in.beam.n * in.beam.h;
        if (lowered >= toe)
            throw std::invalid_argument("The unplanned excavation of " + Text(delta) + " lowers the formation to " +
                                        Text(lowered) + ", at or below the toe at " + Text(toe) +
                                        ": the combination does not apply to this case.");
        in.freeHeight = lowered;
        // An excavation kept dry to its formation is kept dry to the lowered one; water that
        // stands in the excavation stays where it is.
        if (in.waterExcavation >= nominal) in.waterExcavation = std::max(in.waterExcavation, lowered);
    }
    return in;
}

}  // namespace torvex::engine
