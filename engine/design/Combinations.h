#pragma once
// The combinations of a design to EN 1997-1: which a Design Approach runs, the factors each
// applies, and the input of a case as a combination sees it (design strengths, variable loads
// raised, the formation lowered by the unplanned excavation).

#include <string>
#include <vector>

#include "input/WallInput.h"
#include "project/OptionBlock.h"

namespace torvex::engine {

enum class TCombination { SLS, DA1_C1, DA1_C2, DA2, DA3 };

// "SLS", "DA1-C1", "DA1-C2", "DA2", "DA3".
const char* CombinationName(TCombination combination);

// SLS first, then the ultimate combinations of the approach; none without a code.
std::vector<TCombination> CombinationsOf(TDesignCode code);

// "None", "EC7-DA1", "EC7-DA2", "EC7-DA3".
const char* DesignCodeName(TDesignCode code);

struct TCombinationFactors {
    // Divisors of the strengths (set M2, or 1).
    double tanPhi = 1, cohesion = 1, undrained = 1, unconfined = 1, unitWeight = 1;
    double variable = 1;      // on the surcharges
    double wallLoads = 1;     // on the Loads table's loads
    double effects = 1;       // on moments, shears and support forces
    double earthResistance = 1;  // divides the passive resistance in limit equilibrium
    bool unplanned = false;   // the formation is lowered
};

TCombinationFactors FactorsOf(TCombination combination, const TProjectOptions& options);

// The unplanned excavation of a case in its own length unit: the option's length, or under
// Auto 10 % of the clear height (the retained height of a cantilever, the height below the
// lowest support above the excavation otherwise), at most 0.5 m.
double UnplannedExcavationDepth(const TWallInput& input, const TProjectOptions& options);

// The case's input under a code in the given combination: the minimum surcharge, then the
// combination's factors and geometry. Raises std::invalid_argument when the lowered formation
// reaches the toe (the combination does not apply to the case). `notes` gets what the reader
// of the results must know (external curves are not factored, ...).
TWallInput CombinationInput(TWallInput input, TCombination combination, const TProjectOptions& options,
                            std::vector<std::string>& notes);

}  // namespace torvex::engine
