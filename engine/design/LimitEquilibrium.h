#pragma once
// The embedment of the wall by classical limit equilibrium, beside the p-y analysis, from the
// same soil layers, water tables, surcharges and supports.
//
// Pressures (Rankine, layer by layer, with each layer's own phi and c; clays are undrained):
//   active behind, over the whole length:  Ka sigma_v' - 2 c sqrt(Ka), not below 0 (the
//     backfill slope enters Ka as in the analysis);
//   passive in front, below the excavation: Kp sigma_v,e' + 2 c sqrt(Kp), sigma_v,e' the
//     effective stress of the excavation side measured from the excavation level;
//   net water and the surcharge loads as the analysis applies them. Water and surcharges
//   are loads and keep their direction; only the earth pressures reverse below a pivot.
//   Active pressure, water and surcharges act over Wa, passive resistance over Wp.
//
// The coefficients are those of the project's earth-pressure method (TSoilOptions: Rankine,
// Coulomb or EN 1997-1 Annex C, EarthPressureCoefficients.h) with the friction angle of the
// trial F; wall friction delta = WallFrictionActive phi for every active pressure and
// WallFrictionPassive phi for every passive resistance, behind or in front. Cohesion enters as
// 2 c sqrt(K) with the K chosen.
//
// The factor of safety F divides tan(phi) and c of every layer on both sides; F_p divides the
// passive resistance alone (Kp and 2 c sqrt(Kp)). Each is found by bisection on [0.5, 20].
// A passive divisor (EN 1997-1 DA2's earth-resistance factor) divides every passive resistance
// before either factor: F, F_p, the pivot, the support force and the required embedment are
// all found with the passive resistance so reduced.
//
// Without a support above the tip (a cantilever) the full method applies: the wall turns
// about a pivot between the excavation level and the tip, with active behind and passive in
// front above it and the reverse (passive behind, active in front) below it; pivot and F are
// those that satisfy the balance of forces and of moments together. With supports, free earth
// support: moments about the lowest support give F, the balance of forces that support's
// force. A wall embedded in rock has no limit-equilibrium answer.
//
// With steady seepage (TSoilOptions::seepage, water higher behind) the pore pressures of the
// simplified method replace the hydrostatic ones in sv, sv,e and the net water, with the
// gradient of each toe tried: the toe as built for F, F_p and the pivot, the trial toe in the
// search for the required embedment.

#include <string>

#include "input/WallInput.h"

namespace torvex::engine {

enum class TLeMethod { NotApplicable, Cantilever, FreeEarthSupport };

// "cantilever", "free earth support", "not applicable".
const char* LeMethodText(TLeMethod method);

// How a factor came out of its bisection.
enum class TLeFactor { Found, Unstable, AboveRange };

struct TLimitEquilibrium {
    TLeMethod method = TLeMethod::NotApplicable;
    std::string reason;                   // why the method does not apply
    std::string notes;                    // remarks for the report
    TLeFactor fState = TLeFactor::Unstable, fpState = TLeFactor::Unstable;
    double F = 0, Fp = 0;                 // when found
    double embedment = 0;                 // tip depth below the excavation level, as entered
    bool requiredFound = false;
    double requiredEmbedment = 0;         // for the target F, below the excavation level
    double targetF = 1.5;
    bool pivotFound = false;
    double pivotDepth = 0;                // below the excavation level, at F (cantilever)
    bool supportFound = false;
    double supportDepth = 0;              // the lowest support, below the wall top
    double supportForce = 0;              // at F, per unit length of wall (free earth support)
    double requiredSupportForce = 0;      // at the required embedment and the target F
    double searchLimit = 0;               // the deepest embedment the search tried
    double passiveDivisor = 1;            // every passive resistance was divided by it
    // Steady seepage (the seepage option, Seepage.h): the gradient with the toe as built, and
    // with the toe at the required embedment; 0 where the water is hydrostatic.
    double seepageGradient = 0;
    double requiredSeepageGradient = 0;
};

TLimitEquilibrium AnalyzeLimitEquilibrium(const TWallInput& input, double targetF, double passiveDivisor = 1);

}  // namespace torvex::engine
