#include "output/CodeFiles.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "output/TextBuffer.h"

namespace torvex::engine {
namespace {

using TSupportKey = std::pair<int, TSupportKind>;  // node, kind

// Every support of every case and combination, in node order: the file's support columns.
std::vector<TSupportKey> SupportColumns(const TFileAnalysis& analysis) {
    std::vector<TSupportKey> keys;
    for (const TCodeCase& code : analysis.code)
        for (const TCombinationResult& c : code.combinations)
            for (const TSupportForce& s : c.result.supports) keys.emplace_back(s.node, s.kind);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

void SupportCells(TTextBuffer& out, const std::vector<TSupportKey>& columns,
                  const std::vector<TSupportForce>& supports) {
    for (const TSupportKey& key : columns) {
        const auto s = std::find_if(supports.begin(), supports.end(), [&](const TSupportForce& f) {
            return f.node == key.first && f.kind == key.second;
        });
        out.Cell(s != supports.end(), s != supports.end() ? s->perLength : 0);
    }
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : ";") + word;
    return text;
}

}  // namespace

TCombination GoverningCombination(const TCodeCase& code) {
    const TCodeEnvelope& env = code.envelope;
    if (env.embedmentBy != TCombination::SLS) return env.embedmentBy;
    return env.found ? env.momentBy : TCombination::SLS;
}

std::string CodeCsvText(const TFileAnalysis& analysis) {
    if (analysis.code.empty()) return {};
    const std::vector<TSupportKey> columns = SupportColumns(analysis);
    TTextBuffer out(1024);
    out << kCodeCsvHeader;
    for (size_t k = 1; k <= columns.size(); ++k) {
        out << ",support_";
        out.Int(static_cast<long long>(k)) << "_force";
    }
    out << "\r\n";
    for (size_t i = 0; i < analysis.code.size() && i < analysis.cases.size(); ++i) {
        const std::string& label = analysis.cases[i].label;
        for (const TCombinationResult& c : analysis.code[i].combinations) {
            const TCaseResult& r = c.result;
            const bool results = !r.nodes.empty();
            const bool le = c.HasLimitEquilibrium();
            out << label << ',' << CombinationName(c.combination);
            out.Cell(c.applies, c.formationDepth);
            out.Cell(results, r.checks.maxDeflection);
            out.Cell(results, r.checks.maxMoment);
            out.Cell(results, r.checks.maxShear);
            out << ',';
            if (!c.applies)
                out << "not applicable";
            else if (c.combination != TCombination::SLS && r.outcome != TOutcome::InputError)
                out << LeMethodText(r.le.method);
            out.Cell(le && r.le.fState == TLeFactor::Found, r.le.F);
            out.Cell(le && r.le.requiredFound, r.le.requiredEmbedment);
            out.Cell(le && r.le.requiredFound, c.RequiredToeDepth());
            out.Cell(le && r.le.requiredFound && r.le.method == TLeMethod::FreeEarthSupport,
                 r.le.requiredSupportForce);
            out << ',' << Joined(c.governs);
            SupportCells(out, columns, r.supports);
            out << "\r\n";
        }
        const TCodeEnvelope& env = analysis.code[i].envelope;
        const TCombinationResult* governing = nullptr;
        for (const TCombinationResult& c : analysis.code[i].combinations)
            if (c.combination == env.embedmentBy && c.HasLimitEquilibrium()) governing = &c;
        out << label << ",ENVELOPE,";
        out.Cell(!analysis.cases[i].nodes.empty(), env.maxDeflection);
        out.Cell(env.found, env.maxMoment);
        out.Cell(env.found, env.maxShear);
        out << ',' << (governing ? LeMethodText(governing->result.le.method) : "");
        out.Cell(env.leastFFound, env.leastF);
        out.Cell(env.embedmentFound, env.requiredEmbedment);
        out.Cell(env.embedmentFound, env.requiredToeDepth);
        out.Cell(env.embedmentFound && governing && governing->result.le.method == TLeMethod::FreeEarthSupport,
             env.leSupportForce);
        out << ',';
        std::vector<TSupportForce> supports;
        for (const TEnvelopeSupport& s : env.supports) supports.push_back(s.force);
        SupportCells(out, columns, supports);
        out << "\r\n";
    }
    return out.Take();
}

std::string CodeReportText(const TFileAnalysis& analysis, size_t caseIndex) {
    if (caseIndex >= analysis.code.size()) return {};
    const TCodeCase& code = analysis.code[caseIndex];
    TTextBuffer out(1024);
    out << "\nDesign to EN 1997-1 (" << DesignCodeName(analysis.options.DesignCode)
        << "), design values (moments, shears and support forces times the effects factor):\n";
    for (const TCombinationResult& c : code.combinations) {
        const TCaseResult& r = c.result;
        out << "  " << CombinationName(c.combination) << ": ";
        if (!c.applies) {
            out << "not applicable: " << r.message << "\n";
            continue;
        }
        out << "formation ";
        out.G(c.formationDepth);
        if (!r.nodes.empty()) {
            out << ", deflection ";
            out.G(r.checks.maxDeflection) << ", moment ";
            out.G(r.checks.maxMoment) << ", shear ";
            out.G(r.checks.maxShear);
        } else {
            out << ", " << OutcomeText(r.outcome);
        }
        if (c.HasLimitEquilibrium()) {
            out << ", " << LeMethodText(r.le.method);
            if (r.le.fState == TLeFactor::Found) {
                out << " F ";
                out.G(r.le.F, 4);
            }
            if (r.le.requiredFound) {
                out << ", required embedment ";
                out.G(r.le.requiredEmbedment) << ", required toe ";
                out.G(c.RequiredToeDepth());
            } else {
                out << ", no embedment searched balances it";
            }
        }
        if (!c.governs.empty()) out << "; governs " << Joined(c.governs);
        out << "\n";
    }
    out << "  " << DesignCodeName(analysis.options.DesignCode) << ": " << CombinationName(GoverningCombination(code))
        << " governs (";
    for (const TCombinationResult& c : code.combinations)
        if (c.combination == GoverningCombination(code)) out << Joined(c.governs);
    out << ")\n";
    return out.Take();
}

std::string CodeSummaryText(const TFileAnalysis& analysis, size_t caseIndex, const std::string& lengthUnit) {
    if (caseIndex >= analysis.code.size()) return {};
    const TCodeCase& code = analysis.code[caseIndex];
    const TCombination governing = GoverningCombination(code);
    TTextBuffer out(128);
    out << ", " << DesignCodeName(analysis.options.DesignCode) << ": ";
    const auto entry = std::find_if(code.combinations.begin(), code.combinations.end(),
                                    [&](const TCombinationResult& c) { return c.combination == governing; });
    if (governing == TCombination::SLS || entry == code.combinations.end()) return out.Take() + "no ultimate results";
    out << CombinationName(governing) << " governs (" << Joined(entry->governs) << ")";
    if (entry->result.le.fState == TLeFactor::Found && entry->HasLimitEquilibrium()) {
        out << ", F ";
        out.G(entry->result.le.F, 4);
    }
    if (code.envelope.embedmentFound) {
        out << ", required toe ";
        out.G(code.envelope.requiredToeDepth, 5) << ' ' << lengthUnit;
    } else if (code.envelope.embedmentBy != TCombination::SLS) {
        out << ", no embedment balances it";
    }
    return out.Take();
}

}  // namespace torvex::engine
