#pragma once
// The design summary file: what the design summary window shows of a run, one block per case
// or stage, written by the engine beside the report as NAME.tx4y ("y" for the answers; a
// name that no stage file, NAME.st1 to NAME.st5, can take) and read back by the window.
//
// The file is plain text, one record a line, the keyword first, numbers in the file's units:
//
//   TORVEX-DESIGN-SUMMARY 1
//   CASE <label, the rest of the line>
//   OUTCOME <text, the rest of the line>
//   UNITS <unit code: 1 English, 2 SI>
//   DEFLECTION <largest> <depth> <allowable, 0: not checked>
//   MOMENT <largest> <depth> <capacity, 0: not checked> <utilisation>
//   SHEAR <largest> <depth> <capacity, 0: not checked> <utilisation>
//   SUPPORT <node> <kind 0..3> <depth> <force> <per length> <largest so far>
//   LE <method 0..2> <F state 0..2> <F> <F_p state 0..2> <F_p> <embedment> <required found 0|1>
//      <required embedment> <target F> <search limit>
//   LE-REASON <why the method does not apply, the rest of the line>
//   SEEPAGE <gradient i> <pore pressure at the toe> <hydraulic heave utilisation>
//   BASAL <Nc> <basal heave factor F> <least acceptable F>
//   CODE <code> <governing combination> <toe depth> <required found 0|1> <required toe depth>
//        <least F found 0|1> <least F>
//   COMBINATION <name> <applies 0|1> <formation depth> <deflection> <moment> <shear> <method 0..2>
//        <F state 0..2> <F> <required found 0|1> <required embedment> <required toe depth>
//        <support force> <what it governs, joined by ";", or "-">
//   END
//
// Under a design code the case's moment and shear are the envelope's design values over the
// ultimate combinations and its deflection is SLS's; CODE and one COMBINATION per combination
// follow LE. SEEPAGE comes only with steady seepage round the toe (water higher behind, the
// seepage option); its utilisation is EN 1997-1's HYD check at the toe, failing above 1.
//
// A case without results (an input error) has CASE, OUTCOME and END only; DEFLECTION,
// MOMENT and SHEAR come together. Methods: 0 not applicable, 1 cantilever, 2 free earth
// support. Factor states: 0 found, 1 unstable, 2 above the range searched. Support kinds:
// 0 deflection restraint, 1 slope restraint, 2 lateral spring, 3 rotational spring.

#include <string>
#include <string_view>
#include <vector>

namespace torvex {

inline constexpr const char* kDesignSummaryHeader = "TORVEX-DESIGN-SUMMARY";
inline constexpr int kDesignSummaryVersion = 1;
inline constexpr const char* kDesignSummaryExtension = ".tx4y";

struct TSummarySupport {
    int node = 0;
    int kind = 0;
    double depth = 0, force = 0, perLength = 0, largestSoFar = 0;
};

// One combination of a design to a code (design values).
struct TSummaryCombination {
    std::string name;  // "SLS", "DA1-C1", ...
    bool applies = true;
    double formationDepth = 0, maxDeflection = 0, maxMoment = 0, maxShear = 0;
    int leMethod = 0, fState = 1;
    double F = 0;
    bool requiredFound = false;
    double requiredEmbedment = 0, requiredToeDepth = 0, supportForce = 0;
    std::string governs;  // "embedment;moment", "" for nothing

    bool Governs(std::string_view what) const;
};

struct TSummaryCase {
    std::string label, outcome;
    int unitCode = 1;
    bool results = false;
    double maxDeflection = 0, deflectionDepth = 0, allowableDeflection = 0;
    double maxMoment = 0, momentDepth = 0, momentCapacity = 0, momentUtilisation = 0;
    double maxShear = 0, shearDepth = 0, shearCapacity = 0, shearUtilisation = 0;
    std::vector<TSummarySupport> supports;
    bool le = false;  // an LE line was given
    int leMethod = 0, fState = 1, fpState = 1;
    double F = 0, Fp = 0, embedment = 0;
    bool requiredFound = false;
    double requiredEmbedment = 0, targetF = 1.5, searchLimit = 0;
    std::string leReason;
    // A design to a code: "" without one.
    std::string code, governing;
    double toeDepth = 0;
    bool codeRequiredFound = false, leastFFound = false;
    double codeRequiredToeDepth = 0, leastF = 0;
    std::vector<TSummaryCombination> combinations;
    // Steady seepage round the toe and its hydraulic heave check (a SEEPAGE line was given).
    bool seepage = false;
    double seepageGradient = 0, toePorePressure = 0, hydUtilisation = 0;
    // Basal heave of an excavation in clay (a BASAL line was given).
    bool basal = false;
    double basalNc = 0, basalF = 0, basalLeastF = 1.5;

    bool DeflectionFails() const { return results && allowableDeflection > 0 && maxDeflection > allowableDeflection; }
    bool MomentFails() const { return results && momentCapacity > 0 && momentUtilisation > 1; }
    bool ShearFails() const { return results && shearCapacity > 0 && shearUtilisation > 1; }
    bool LeApplies() const { return le && leMethod != 0; }
    bool UnderCode() const { return !code.empty(); }
    // F unstable, or found below the target; under a code, F below 1 on the design values of
    // some ultimate combination.
    bool FactorFails() const {
        if (UnderCode()) return LeApplies() && (!leastFFound || leastF < 1);
        return LeApplies() && (fState == 1 || (fState == 0 && F < targetF));
    }
    // The wall is shorter than the target F needs (or no embedment searched gives it); under a
    // code, its toe is above the deepest toe the ultimate combinations need.
    bool EmbedmentFails() const {
        if (UnderCode()) return LeApplies() && (!codeRequiredFound || toeDepth < codeRequiredToeDepth);
        return LeApplies() && (!requiredFound || embedment < requiredEmbedment);
    }
    bool HydraulicHeaveFails() const { return seepage && hydUtilisation > 1; }
    bool BasalHeaveFails() const { return basal && basalF < basalLeastF; }
    bool AnyFails() const {
        return DeflectionFails() || MomentFails() || ShearFails() || FactorFails() || EmbedmentFails() ||
               HydraulicHeaveFails() || BasalHeaveFails();
    }
};

struct TDesignSummary {
    std::vector<TSummaryCase> cases;
    std::string error;  // empty when the text was read whole
};

// "deflection restraint", "slope restraint", "lateral spring", "rotational spring"; "?" else.
const char* SummarySupportKindText(int kind);
bool SummaryKindCarriesMoment(int kind);
// "not applicable", "cantilever", "free earth support"; "?" else.
const char* SummaryLeMethodText(int method);

// The verdict of the design checks, worded for a checking engineer: "All checks pass.", or
// "FAILS: ..." naming what fails; a check that cannot be made because nothing was entered
// to check against is "not checked", never counted as passing. Of one case, or of them all
// (each failing check named with its case).
std::string DesignVerdictText(const TSummaryCase& c);
std::string DesignVerdictText(const std::vector<TSummaryCase>& cases);

std::string DesignSummaryFileText(const std::vector<TSummaryCase>& cases);

// Reads the text; never throws for bad text: the cases read before the first bad line are
// kept and `error` names that line ("line 7: ...").
TDesignSummary ReadDesignSummary(std::string_view text);
// Reads the file; `error` says so when it cannot be read.
TDesignSummary ReadDesignSummaryFile(const std::string& path);

// The window's CSV: a header row, one row per case, then a blank line and the supports.
inline constexpr const char* kSummaryCsvHeader =
    "case,max_deflection,allowable_deflection,deflection_check,max_moment,moment_utilisation,moment_check,"
    "max_shear,shear_utilisation,shear_check,le_method,le_F,target_F,le_Fp,embedment,required_embedment,"
    "embedment_check";
inline constexpr const char* kSummarySupportsCsvHeader = "case,node,depth,kind,force,force_per_length,largest_so_far";
std::string DesignSummaryCsv(const std::vector<TSummaryCase>& cases);

}  // namespace torvex
