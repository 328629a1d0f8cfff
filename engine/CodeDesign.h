#pragma once
// What a design to a code makes of its combinations: the envelope of each case's design
// effects, what each combination governs, and the case's checks on them.

#include "Analysis.h"

namespace torvex::engine {

// Builds the envelope over the case's ultimate combinations and marks what each governs.
void BuildEnvelope(TCodeCase& code);

// The case's strength checks on the envelope's design moment and shear, its deflection check
// on SLS (the case's own deflections).
void ApplyEnvelopeChecks(TCaseResult& result, const TCodeEnvelope& envelope, const TProjectOptions& options);

}  // namespace torvex::engine
