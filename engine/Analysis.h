#pragma once
// The analysis of one data file: its cases (short-term, long-term, or each construction stage)
// solved by iteration on the nonlinear soil (Newton, secant where a curve softens), and the
// results the output files show.

#include <functional>
#include <string>
#include <vector>

#include "project/OptionBlock.h"

#include "design/Combinations.h"
#include "design/DesignChecks.h"
#include "design/BasalHeave.h"
#include "design/HydraulicHeave.h"
#include "design/LimitEquilibrium.h"
#include "design/SupportForces.h"
#include "input/WallInput.h"

namespace torvex::engine {

enum class TOutcome { Converged, NotConverged, DeflectionExceeded, InputError };

struct TNodeResult {
    double depth = 0, y = 0, slope = 0, moment = 0, shear = 0, reaction = 0, EI = 0, load = 0;
};

struct TPressureRecord {
    double depth = 0, total = 0, soils = 0, surcharge = 0;  // line loads (F/L)
};

struct TPyCurveResult {
    double depth = 0;
    std::vector<TCurvePoint> points;  // (y, p)
};

struct TCaseResult {
    std::string label;       // "Short-Term", "Long-Term", "Stage 2", ...
    TOutcome outcome = TOutcome::InputError;
    std::string message;     // for input errors and failures
    int iterations = 0;
    int unitCode = 1;
    std::vector<TNodeResult> nodes;
    std::vector<TPressureRecord> pressures;
    std::vector<TPyCurveResult> pyCurves;
    std::vector<std::string> warnings;
    // The soil and pressure models the case used beyond the static ones (seismic pressure,
    // equivalent depths, cyclic curves), one line each, for the report and the run notes.
    std::vector<std::string> models;
    // Residuals of the force and moment balance (restraint reactions included), and the
    // scales they are judged against.
    double forceResidual = 0, momentResidual = 0, largestLoad = 0, largestMoment = 0;
    bool equilibriumChecked = false;  // true for every case that has results
    // What each support carries, and the loads less the soil reaction that they balance
    // (their sum, to within the force residual).
    std::vector<TSupportForce> supports;
    double netLoad = 0;
    // The design answers: strength and deflection checks, and limit equilibrium.
    TDesignCheck checks;
    TLimitEquilibrium le;
    THydraulicHeave heave;  // with steady seepage round the toe
    TBasalHeave basalHeave;  // when the excavation's width is given and its base is a clay
    TWallInput input;

    // The node with the largest |value| of a quantity.
    const TNodeResult* MaxBy(double TNodeResult::*field) const;
};

// One combination of a design to a code, for one case or stage.
struct TCombinationResult {
    TCombination combination = TCombination::SLS;
    bool applies = true;             // false when the unplanned excavation reaches the toe
    double formationDepth = 0;       // the excavation level it was analysed with
    TCombinationFactors factors;
    // Its analysis with design effects: moments, shears and support forces (the limit
    // equilibrium's among them) times the effects factor; deflections as computed. The limit
    // equilibrium is on design values, for F = 1. For SLS it is the case itself, with no
    // limit equilibrium of its own.
    TCaseResult result;
    std::vector<std::string> governs;  // "embedment", "moment", "shear", "support", "deflection"

    bool HasLimitEquilibrium() const;
    double RequiredToeDepth() const;  // formation depth + required embedment
};

// A support's largest design force over the ultimate combinations.
struct TEnvelopeSupport {
    TSupportForce force;
    TCombination by = TCombination::SLS;
};

// Per case: the design effects over the ultimate combinations, deflection from SLS.
struct TCodeEnvelope {
    bool found = false;                 // some ultimate combination has results
    std::vector<double> moment, shear;  // per node, the value of largest size
    double maxMoment = 0, momentDepth = 0, maxShear = 0, shearDepth = 0;
    TCombination momentBy = TCombination::SLS, shearBy = TCombination::SLS;
    double maxDeflection = 0, deflectionDepth = 0;  // SLS
    bool embedmentFound = false;        // every applicable combination found its embedment
    double requiredEmbedment = 0, requiredToeDepth = 0, leastF = 0, leSupportForce = 0;
    bool leastFFound = false;
    TCombination embedmentBy = TCombination::SLS;
    std::vector<TEnvelopeSupport> supports;
};

struct TCodeCase {
    std::vector<TCombinationResult> combinations;  // SLS first
    TCodeEnvelope envelope;
};

// Solves one case.
TCaseResult AnalyzeCase(TWallInput input, const std::string& label);

// The soil settings of the option block, as the cases take them.
TSoilOptions SoilOptions(const TProjectOptions& options);

// Adds the design answers (checks and limit equilibrium) to a solved case.
void AddDesignAnswers(TCaseResult& result, const TProjectOptions& options);

struct TFileAnalysis {
    std::string dataFile;
    std::string title;
    std::vector<TCaseResult> cases;
    std::string error;  // a file that could not be read at all
    double seconds = 0;
    TProjectOptions options;  // the data file's option block
    // Under a design code, per case: its combinations and their envelope (else empty).
    std::vector<TCodeCase> code;
    bool AllConverged() const;
};

// A change to the input as it was read, before any case is built from it (one variant of a
// parametric study). Called with the workspace the whole file was read into (stage 0) and,
// for a staged file, with each stage's own workspace (stages 1 to N) after its block is read.
using TInputEdit = std::function<void(TWorkspace& workspace, int stage)>;

// Reads the data file text with the program's reader and analyses every case it holds. An
// edit that raises std::invalid_argument makes its case (or, at stage 0, the file) an input
// error with that message.
TFileAnalysis AnalyzeDataText(const std::string& text, const std::string& dataFile,
                              const TInputEdit& edit = {});
TFileAnalysis AnalyzeDataFile(const std::string& dataFile);

const char* OutcomeText(TOutcome outcome);

}  // namespace torvex::engine
