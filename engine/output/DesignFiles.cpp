#include "output/DesignFiles.h"

#include <cmath>

#include "output/CodeFiles.h"
#include "output/TextBuffer.h"
#include "soil/EarthPressureCoefficients.h"

namespace torvex::engine {
namespace {

const char* FactorText(TLeFactor state) {
    return state == TLeFactor::Unstable ? "unstable (does not balance even at 0.5)" : "above 20";
}

}  // namespace

std::string DesignCsvText(const TFileAnalysis& analysis) {
    TTextBuffer out(256 + 256 * analysis.cases.size());
    out << kDesignCsvHeader << "\r\n";
    for (const TCaseResult& c : analysis.cases) {
        const bool results = !c.nodes.empty();
        const TDesignCheck& k = c.checks;
        const TLimitEquilibrium& le = c.le;
        const bool leApplies = c.outcome != TOutcome::InputError && le.method != TLeMethod::NotApplicable;
        out << c.label;
        out.Cell(results, k.maxDeflection);
        out.Cell(results && k.deflectionChecked(), k.allowableDeflection);
        out.Cell(results, k.maxMoment);
        out.Cell(results && k.momentChecked(), k.momentUtilisation);
        out.Cell(results, k.maxShear);
        out.Cell(results && k.shearChecked(), k.shearUtilisation);
        out << ',' << (c.outcome == TOutcome::InputError ? "" : LeMethodText(le.method));
        out.Cell(leApplies && le.fState == TLeFactor::Found, le.F);
        out.Cell(leApplies && le.fpState == TLeFactor::Found, le.Fp);
        out.Cell(leApplies, le.embedment);
        out.Cell(leApplies && le.requiredFound, le.requiredEmbedment);
        out.Cell(leApplies && le.pivotFound, le.pivotDepth);
        out.Cell(leApplies && le.supportFound, le.supportForce);
        const THydraulicHeave& heave = c.heave;
        const bool seeps = c.outcome != TOutcome::InputError && heave.applies;
        out.Cell(seeps, heave.gradient);
        out.Cell(seeps, heave.toePorePressure);
        out.Cell(seeps, heave.utilisation);
        out.Cell(c.outcome != TOutcome::InputError && c.basalHeave.applies, c.basalHeave.F);
        out << "\r\n";
    }
    return out.Take();
}

std::string SupportsCsvText(const TFileAnalysis& analysis) {
    TTextBuffer out(1024);
    out << kSupportsCsvHeader << "\r\n";
    for (const TCaseResult& c : analysis.cases)
        for (const TSupportForce& s : c.supports) {
            out << c.label << ',';
            out.Int(s.node) << ',';
            out.G(s.depth) << ',' << SupportKindText(s.kind) << ',';
            out.G(s.force) << ',';
            out.G(s.perLength) << ',';
            out.G(s.largestSoFar) << "\r\n";
        }
    return out.Take();
}

std::string DesignReportText(const TCaseResult& c) {
    TTextBuffer out(2048);
    if (c.outcome == TOutcome::InputError) return {};
    if (!c.nodes.empty()) {
        out << "\nSupport forces (positive: holding the wall back toward the backfill; moments for slope\n"
               "restraints and rotational springs; per length: divided by Wa):\n";
        if (c.supports.empty()) out << "  none\n";
        for (const TSupportForce& s : c.supports) {
            out << "  node ";
            out.Int(s.node) << ", depth ";
            out.G(s.depth) << ", " << SupportKindText(s.kind) << ": ";
            out.G(s.force) << " per wall unit, ";
            out.G(s.perLength) << " per length, largest so far ";
            out.G(s.largestSoFar) << "\n";
        }
        out << "  Sum of the support forces ";
        out.G(SupportForceSum(c.supports)) << "; the loads less the soil reaction ";
        out.G(c.netLoad) << "; the difference is the force residual of the equilibrium check.\n";

        const TDesignCheck& k = c.checks;
        out << "\nChecks:\n  largest deflection ";
        out.G(k.maxDeflection) << " at depth ";
        out.G(k.deflectionDepth);
        if (k.deflectionChecked()) {
            out << " against the allowable ";
            out.G(k.allowableDeflection) << (k.deflectionExceeds() ? ": exceeds" : ": within");
        } else {
            out << " (no allowable deflection given)";
        }
        out << "\n  largest moment ";
        out.G(k.maxMoment) << " at depth ";
        out.G(k.momentDepth);
        if (k.momentChecked()) {
            out << ", utilisation ";
            out.G(k.momentUtilisation, 4) << (k.momentUtilisation > 1 ? ": exceeds" : "");
        } else {
            out << " (no moment capacity given)";
        }
        out << "\n  largest shear ";
        out.G(k.maxShear) << " at depth ";
        out.G(k.shearDepth);
        if (k.shearChecked()) {
            out << ", utilisation ";
            out.G(k.shearUtilisation, 4) << (k.shearUtilisation > 1 ? ": exceeds" : "");
        } else {
            out << " (no shear capacity given)";
        }
        out << "\n";
    }
    const TLimitEquilibrium& le = c.le;
    out << "\nLimit equilibrium (" << EarthPressureMethodName(c.input.soil.pressureMethod)
        << " pressures, beside the p-y analysis): ";
    if (le.method == TLeMethod::NotApplicable) {
        out << "not applicable: " << le.reason << "\n";
        return out.Take();
    }
    out << LeMethodText(le.method);
    if (le.passiveDivisor != 1) {
        out << "\n  passive resistance divided by ";
        out.G(le.passiveDivisor);
    }
    out << "\n  embedment below the excavation level ";
    out.G(le.embedment) << "\n  F (tan phi and c divided on both sides) ";
    if (le.fState == TLeFactor::Found) out.G(le.F, 4);
    else out << FactorText(le.fState);
    out << "\n  F_p (passive resistance alone) ";
    if (le.fpState == TLeFactor::Found) out.G(le.Fp, 4);
    else out << FactorText(le.fpState);
    out << "\n  required embedment for F = ";
    out.G(le.targetF) << ": ";
    if (le.requiredFound) out.G(le.requiredEmbedment, 5);
    else {
        out << "more than ";
        out.G(le.searchLimit, 5);
    }
    if (le.pivotFound) {
        out << "\n  pivot at F, below the excavation level ";
        out.G(le.pivotDepth, 5);
    }
    if (le.supportFound) {
        out << "\n  force of the support at depth ";
        out.G(le.supportDepth) << " at F, per length of wall ";
        out.G(le.supportForce, 6);
    }
    out << "\n";
    if (!le.notes.empty()) out << "  " << le.notes << "\n";
    return out.Take();
}

namespace {

// The case's design to a code: its envelope and each combination with design values.
void AddCode(TSummaryCase& s, const TCaseResult& c, const TCodeCase& code, TDesignCode designCode) {
    const TCodeEnvelope& env = code.envelope;
    s.code = DesignCodeName(designCode);
    s.governing = CombinationName(GoverningCombination(code));
    s.toeDepth = c.input.beam.n * c.input.beam.h;
    s.codeRequiredFound = env.embedmentFound, s.codeRequiredToeDepth = env.requiredToeDepth;
    s.leastFFound = env.leastFFound, s.leastF = env.leastF;
    for (const TCombinationResult& k : code.combinations) {
        TSummaryCombination t;
        t.name = CombinationName(k.combination);
        t.applies = k.applies;
        t.formationDepth = k.formationDepth;
        const TCaseResult& r = k.result;
        t.maxDeflection = r.checks.maxDeflection, t.maxMoment = r.checks.maxMoment, t.maxShear = r.checks.maxShear;
        if (k.HasLimitEquilibrium()) {
            t.leMethod = static_cast<int>(r.le.method);
            t.fState = static_cast<int>(r.le.fState), t.F = r.le.F;
            t.requiredFound = r.le.requiredFound, t.requiredEmbedment = r.le.requiredEmbedment;
            t.requiredToeDepth = k.RequiredToeDepth();
            t.supportForce = r.le.method == TLeMethod::FreeEarthSupport ? r.le.requiredSupportForce : 0;
        }
        for (const std::string& what : k.governs) t.governs += (t.governs.empty() ? "" : ";") + what;
        s.combinations.push_back(std::move(t));
    }
}

}  // namespace

std::vector<TSummaryCase> SummaryCases(const TFileAnalysis& analysis) {
    std::vector<TSummaryCase> cases;
    for (size_t index = 0; index < analysis.cases.size(); ++index) {
        const TCaseResult& c = analysis.cases[index];
        TSummaryCase s;
        s.label = c.label;
        s.outcome = OutcomeText(c.outcome);
        if (c.outcome == TOutcome::InputError && !c.message.empty()) s.outcome += ": " + c.message;
        s.unitCode = c.unitCode;
        s.results = !c.nodes.empty();
        if (s.results) {
            const TDesignCheck& k = c.checks;
            s.maxDeflection = k.maxDeflection, s.deflectionDepth = k.deflectionDepth;
            s.allowableDeflection = k.allowableDeflection;
            s.maxMoment = k.maxMoment, s.momentDepth = k.momentDepth, s.momentCapacity = k.momentCapacity;
            s.momentUtilisation = k.momentUtilisation;
            s.maxShear = k.maxShear, s.shearDepth = k.shearDepth, s.shearCapacity = k.shearCapacity;
            s.shearUtilisation = k.shearUtilisation;
            for (const TSupportForce& f : c.supports)
                s.supports.push_back({f.node, static_cast<int>(f.kind), f.depth, f.force, f.perLength, f.largestSoFar});
        }
        if (c.outcome != TOutcome::InputError) {
            const TLimitEquilibrium& le = c.le;
            s.le = true;
            s.leMethod = static_cast<int>(le.method);
            s.fState = static_cast<int>(le.fState), s.fpState = static_cast<int>(le.fpState);
            s.F = le.F, s.Fp = le.Fp, s.embedment = le.embedment;
            s.requiredFound = le.requiredFound, s.requiredEmbedment = le.requiredEmbedment;
            s.targetF = le.targetF, s.searchLimit = le.searchLimit;
            if (le.method == TLeMethod::NotApplicable) s.leReason = le.reason;
            if (c.heave.applies) {
                s.seepage = true;
                s.seepageGradient = c.heave.gradient, s.toePorePressure = c.heave.toePorePressure;
                s.hydUtilisation = c.heave.utilisation;
            }
            if (c.basalHeave.applies) {
                s.basal = true;
                s.basalNc = c.basalHeave.Nc, s.basalF = c.basalHeave.F;
                s.basalLeastF = static_cast<double>(analysis.options.BasalHeaveFactor);
            }
            if (index < analysis.code.size()) AddCode(s, c, analysis.code[index], analysis.options.DesignCode);
        }
        cases.push_back(std::move(s));
    }
    return cases;
}

std::string DesignSummaryText(const TCaseResult& c) {
    TTextBuffer out(128);
    if (c.le.method != TLeMethod::NotApplicable && c.le.fState == TLeFactor::Found) {
        out << ", limit equilibrium F ";
        out.G(c.le.F, 4);
    } else if (c.le.method != TLeMethod::NotApplicable) {
        out << ", limit equilibrium " << (c.le.fState == TLeFactor::Unstable ? "unstable" : "F above 20");
    }
    const double u = c.nodes.empty() ? 0 : c.checks.LargestUtilisation();
    if (u > 0) {
        out << ", largest utilisation ";
        out.G(u, 4) << (u > 1 ? " (exceeds)" : "");
    }
    return out.Take();
}

}  // namespace torvex::engine
