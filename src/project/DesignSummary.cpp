#include "project/DesignSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "dataentry/NumberText.h"

namespace torvex {
namespace {

// Exact: the window shows what the engine computed, digit for digit.
std::string Exact(double value) {
    return CNumberText(value, 17);
}

// As the CSV shows it: six significant digits, like the engine's files.
std::string Short(double value) {
    return CNumberText(value);
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool ToDouble(std::string_view word, double& value) {
    // "." whatever the locale: the file is the same on every machine. A value too small for a
    // normal double reads as the nearest one, as the engine wrote it; one too large (or no
    // number) is refused.
    const std::optional<long double> number = ParseDecimal(word, '.');
    if (!number) return false;
    value = static_cast<double>(*number);
    return std::isfinite(value);
}

bool ToInt(std::string_view word, int low, int high, int& value) {
    double number;
    if (!ToDouble(word, number) || number != std::floor(number) || number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

// The rest of the line after the keyword (the line's first word), without the blank that
// separates them.
std::string Rest(std::string_view line, std::string_view keyword) {
    std::string_view rest = line.substr(static_cast<size_t>(keyword.data() - line.data()) + keyword.size());
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return std::string(rest);
}

// A CSV cell: quoted when it holds a comma or a quote.
std::string CsvText(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

bool TSummaryCombination::Governs(std::string_view what) const {
    size_t start = 0;
    while (start <= governs.size()) {
        const size_t end = std::min(governs.find(';', start), governs.size());
        if (std::string_view(governs).substr(start, end - start) == what) return true;
        start = end + 1;
    }
    return false;
}

const char* SummarySupportKindText(int kind) {
    switch (kind) {
        case 0: return "deflection restraint";
        case 1: return "slope restraint";
        case 2: return "lateral spring";
        case 3: return "rotational spring";
        default: return "?";
    }
}

bool SummaryKindCarriesMoment(int kind) { return kind == 1 || kind == 3; }

const char* SummaryLeMethodText(int method) {
    switch (method) {
        case 0: return "not applicable";
        case 1: return "cantilever";
        case 2: return "free earth support";
        default: return "?";
    }
}

namespace {

std::string Joined(const std::vector<std::string>& words) {
    std::string out;
    for (size_t i = 0; i < words.size(); ++i)
        out += (i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + words[i];
    return out;
}

// The checks of a case that fail, and those that could not be made.
struct TVerdictParts {
    std::vector<std::string> failing, unchecked;
    bool anyChecked = false;
};

TVerdictParts VerdictParts(const TSummaryCase& c) {
    TVerdictParts parts;
    if (!c.results) return parts;
    const struct {
        const char* name;
        bool checked, fails;
    } checks[] = {{"deflection", c.allowableDeflection > 0, c.DeflectionFails()},
                  {"moment", c.momentCapacity > 0, c.MomentFails()},
                  {"shear", c.shearCapacity > 0, c.ShearFails()},
                  {"factor of safety", c.LeApplies(), c.FactorFails()},
                  {"embedment", c.LeApplies(), c.EmbedmentFails()}};
    for (const auto& check : checks) {
        if (!check.checked) parts.unchecked.push_back(check.name);
        else if (check.fails) parts.failing.push_back(check.name);
        parts.anyChecked = parts.anyChecked || check.checked;
    }
    // Only where water seeps round the toe: elsewhere there is nothing to check.
    if (c.seepage) {
        if (c.HydraulicHeaveFails()) parts.failing.push_back("hydraulic heave");
        parts.anyChecked = true;
    }
    // Only where the excavation's width is given and its base is a clay.
    if (c.basal) {
        if (c.BasalHeaveFails()) parts.failing.push_back("basal heave");
        parts.anyChecked = true;
    }
    return parts;
}

std::string UncheckedText(const std::vector<std::string>& unchecked) {
    return unchecked.empty() ? "" : " Not checked: " + Joined(unchecked) + ".";
}

}  // namespace

// " EC7-DA1: DA1-C2 governs." under a code.
std::string GoverningText(const TSummaryCase& c) {
    if (!c.UnderCode() || c.governing.empty() || c.governing == "SLS") return {};
    return " " + c.code + ": " + c.governing + " governs.";
}

std::string DesignVerdictText(const TSummaryCase& c) {
    if (!c.results) return "No results: nothing checked.";
    const TVerdictParts parts = VerdictParts(c);
    if (!parts.failing.empty())
        return "FAILS: " + Joined(parts.failing) + "." + GoverningText(c) + UncheckedText(parts.unchecked);
    if (!parts.anyChecked) return "No check made: no allowable deflection, capacity or limit equilibrium.";
    return (parts.unchecked.empty() ? "All checks pass." : "The checks made pass.") + GoverningText(c) +
           UncheckedText(parts.unchecked);
}

std::string DesignVerdictText(const std::vector<TSummaryCase>& cases) {
    std::vector<std::string> failing, unchecked, noResults;
    bool anyChecked = false;
    for (const TSummaryCase& c : cases) {
        if (!c.results) {
            noResults.push_back(c.label);
            continue;
        }
        const TVerdictParts parts = VerdictParts(c);
        anyChecked = anyChecked || parts.anyChecked;
        if (!parts.failing.empty()) failing.push_back(c.label + ": " + Joined(parts.failing));
        for (const std::string& name : parts.unchecked)
            if (std::find(unchecked.begin(), unchecked.end(), name) == unchecked.end()) unchecked.push_back(name);
    }
    std::string verdict;
    if (!failing.empty()) {
        verdict = "FAILS: ";
        for (size_t i = 0; i < failing.size(); ++i) verdict += (i ? "; " : "") + failing[i];
        verdict += ".";
        if (!noResults.empty()) verdict += " No results: " + Joined(noResults) + ".";
    } else if (!noResults.empty()) {
        verdict = "No verdict: " + Joined(noResults) + (noResults.size() == 1 ? " has" : " have") + " no results.";
    } else if (!anyChecked) {
        return "No check made: no allowable deflection, capacity or limit equilibrium.";
    } else {
        verdict = unchecked.empty() ? "All checks pass." : "The checks made pass.";
    }
    // Under a code, the combination that governs each case (once when it is the same for all).
    std::vector<std::string> governing;
    for (const TSummaryCase& c : cases)
        if (!GoverningText(c).empty()) governing.push_back(c.label + " " + c.governing);
    const bool same = std::all_of(cases.begin(), cases.end(), [&](const TSummaryCase& c) {
        return !GoverningText(c).empty() && c.governing == cases.front().governing;
    });
    if (same && !cases.empty())
        verdict += GoverningText(cases.front());
    else if (!governing.empty())
        verdict += " " + cases.front().code + ": " + Joined(governing) + " govern.";
    return verdict + UncheckedText(unchecked);
}

std::string DesignSummaryFileText(const std::vector<TSummaryCase>& cases) {
    std::string out = std::string(kDesignSummaryHeader) + " " + std::to_string(kDesignSummaryVersion) + "\n";
    for (const TSummaryCase& c : cases) {
        out += "CASE " + c.label + "\n";
        out += "OUTCOME " + c.outcome + "\n";
        out += "UNITS " + std::to_string(c.unitCode) + "\n";
        if (c.results) {
            out += "DEFLECTION " + Exact(c.maxDeflection) + " " + Exact(c.deflectionDepth) + " " +
                   Exact(c.allowableDeflection) + "\n";
            out += "MOMENT " + Exact(c.maxMoment) + " " + Exact(c.momentDepth) + " " + Exact(c.momentCapacity) +
                   " " + Exact(c.momentUtilisation) + "\n";
            out += "SHEAR " + Exact(c.maxShear) + " " + Exact(c.shearDepth) + " " + Exact(c.shearCapacity) + " " +
                   Exact(c.shearUtilisation) + "\n";
            for (const TSummarySupport& s : c.supports)
                out += "SUPPORT " + std::to_string(s.node) + " " + std::to_string(s.kind) + " " + Exact(s.depth) +
                       " " + Exact(s.force) + " " + Exact(s.perLength) + " " + Exact(s.largestSoFar) + "\n";
        }
        if (c.le) {
            out += "LE " + std::to_string(c.leMethod) + " " + std::to_string(c.fState) + " " + Exact(c.F) + " " +
                   std::to_string(c.fpState) + " " + Exact(c.Fp) + " " + Exact(c.embedment) + " " +
                   (c.requiredFound ? "1 " : "0 ") + Exact(c.requiredEmbedment) + " " + Exact(c.targetF) + " " +
                   Exact(c.searchLimit) + "\n";
            if (!c.leReason.empty()) out += "LE-REASON " + c.leReason + "\n";
        }
        if (c.seepage)
            out += "SEEPAGE " + Exact(c.seepageGradient) + " " + Exact(c.toePorePressure) + " " +
                   Exact(c.hydUtilisation) + "\n";
        if (c.basal) out += "BASAL " + Exact(c.basalNc) + " " + Exact(c.basalF) + " " + Exact(c.basalLeastF) + "\n";
        if (c.UnderCode()) {
            out += "CODE " + c.code + " " + (c.governing.empty() ? "-" : c.governing) + " " + Exact(c.toeDepth) +
                   (c.codeRequiredFound ? " 1 " : " 0 ") + Exact(c.codeRequiredToeDepth) +
                   (c.leastFFound ? " 1 " : " 0 ") + Exact(c.leastF) + "\n";
            for (const TSummaryCombination& k : c.combinations)
                out += "COMBINATION " + k.name + (k.applies ? " 1 " : " 0 ") + Exact(k.formationDepth) + " " +
                       Exact(k.maxDeflection) + " " + Exact(k.maxMoment) + " " + Exact(k.maxShear) + " " +
                       std::to_string(k.leMethod) + " " + std::to_string(k.fState) + " " + Exact(k.F) +
                       (k.requiredFound ? " 1 " : " 0 ") + Exact(k.requiredEmbedment) + " " +
                       Exact(k.requiredToeDepth) + " " + Exact(k.supportForce) + " " +
                       (k.governs.empty() ? "-" : k.governs) + "\n";
        }
        out += "END\n";
    }
    return out;
}

TDesignSummary ReadDesignSummary(std::string_view text) {
    TDesignSummary summary;
    size_t lineNumber = 0;
    bool headerSeen = false, inCase = false;
    TSummaryCase current;
    const auto fail = [&](const std::string& why) {
        summary.error = "line " + std::to_string(lineNumber) + ": " + why;
        return summary;
    };
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text.find('\n', position);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> w = Words(line);
        if (w.empty()) continue;
        const std::string_view key = w[0];
        if (!headerSeen) {
            int version = 0;
            if (key != kDesignSummaryHeader || w.size() != 2 || !ToInt(w[1], 1, 1000, version))
                return fail("not a design summary file");
            if (version != kDesignSummaryVersion) return fail("version " + std::string(w[1]) + " is not known");
            headerSeen = true;
            continue;
        }
        if (key == "CASE") {
            if (inCase) return fail("CASE before the END of the case before");
            current = TSummaryCase();
            current.label = Rest(line, key);
            inCase = true;
            continue;
        }
        if (!inCase) return fail("\"" + std::string(key) + "\" outside a case");
        std::vector<double> n;
        const auto numbers = [&](size_t count) {
            n.assign(count, 0);
            if (w.size() != count + 1) return false;
            for (size_t i = 0; i < count; ++i)
                if (!ToDouble(w[i + 1], n[i])) return false;
            return true;
        };
        if (key == "END") {
            summary.cases.push_back(std::move(current));
            current = TSummaryCase();
            inCase = false;
        } else if (key == "OUTCOME") {
            current.outcome = Rest(line, key);
        } else if (key == "UNITS") {
            if (w.size() != 2 || !ToInt(w[1], 1, 3, current.unitCode)) return fail("bad UNITS");
        } else if (key == "DEFLECTION") {
            if (!numbers(3)) return fail("DEFLECTION needs 3 numbers");
            current.results = true;
            current.maxDeflection = n[0], current.deflectionDepth = n[1], current.allowableDeflection = n[2];
        } else if (key == "MOMENT") {
            if (!numbers(4)) return fail("MOMENT needs 4 numbers");
            current.maxMoment = n[0], current.momentDepth = n[1], current.momentCapacity = n[2];
            current.momentUtilisation = n[3];
        } else if (key == "SHEAR") {
            if (!numbers(4)) return fail("SHEAR needs 4 numbers");
            current.maxShear = n[0], current.shearDepth = n[1], current.shearCapacity = n[2];
            current.shearUtilisation = n[3];
        } else if (key == "SUPPORT") {
            TSummarySupport s;
            if (!numbers(6) || !ToInt(w[1], 0, 1000000, s.node) || !ToInt(w[2], 0, 3, s.kind))
                return fail("SUPPORT needs a node, a kind 0 to 3 and 4 numbers");
            s.depth = n[2], s.force = n[3], s.perLength = n[4], s.largestSoFar = n[5];
            current.supports.push_back(s);
        } else if (key == "LE") {
            int required = 0;
            if (!numbers(10) || !ToInt(w[1], 0, 2, current.leMethod) || !ToInt(w[2], 0, 2, current.fState) ||
                !ToInt(w[4], 0, 2, current.fpState) || !ToInt(w[7], 0, 1, required))
                return fail("LE needs a method 0 to 2, factor states 0 to 2, a flag 0 or 1 and its numbers");
            current.le = true;
            current.F = n[2], current.Fp = n[4], current.embedment = n[5];
            current.requiredFound = required == 1;
            current.requiredEmbedment = n[7], current.targetF = n[8], current.searchLimit = n[9];
        } else if (key == "LE-REASON") {
            current.leReason = Rest(line, key);
        } else if (key == "SEEPAGE") {
            if (!numbers(3)) return fail("SEEPAGE needs 3 numbers");
            if (!(n[0] >= 0 && n[0] < 1) || !(n[1] >= 0) || !(n[2] >= 0))
                return fail("SEEPAGE needs a gradient from 0 up to 1, a pore pressure and a utilisation of 0 or more");
            current.seepage = true;
            current.seepageGradient = n[0], current.toePorePressure = n[1], current.hydUtilisation = n[2];
        } else if (key == "BASAL") {
            if (!numbers(3) || !(n[0] > 0) || !(n[1] >= 0) || !(n[2] > 0))
                return fail("BASAL needs Nc above 0, a factor of 0 or more and a least factor above 0");
            current.basal = true;
            current.basalNc = n[0], current.basalF = n[1], current.basalLeastF = n[2];
        } else if (key == "CODE") {
            int found = 0, fFound = 0;
            if (w.size() != 8 || !ToDouble(w[3], current.toeDepth) || !ToInt(w[4], 0, 1, found) ||
                !ToDouble(w[5], current.codeRequiredToeDepth) || !ToInt(w[6], 0, 1, fFound) ||
                !ToDouble(w[7], current.leastF))
                return fail("CODE needs a code, the governing combination, flags 0 or 1 and their numbers");
            current.code = std::string(w[1]);
            current.governing = w[2] == "-" ? std::string() : std::string(w[2]);
            current.codeRequiredFound = found == 1;
            current.leastFFound = fFound == 1;
        } else if (key == "COMBINATION") {
            TSummaryCombination k;
            int applies = 0, found = 0;
            double x[8];
            bool ok = w.size() == 15 && ToInt(w[2], 0, 1, applies) && ToInt(w[7], 0, 2, k.leMethod) &&
                      ToInt(w[8], 0, 2, k.fState) && ToInt(w[10], 0, 1, found);
            const size_t at[8] = {3, 4, 5, 6, 9, 11, 12, 13};
            for (size_t i = 0; ok && i < 8; ++i) ok = ToDouble(w[at[i]], x[i]);
            if (!ok || !current.UnderCode())
                return fail("COMBINATION needs a CODE before it, a name, flags, states and their numbers");
            k.name = std::string(w[1]);
            k.applies = applies == 1;
            k.formationDepth = x[0], k.maxDeflection = x[1], k.maxMoment = x[2], k.maxShear = x[3];
            k.F = x[4];
            k.requiredFound = found == 1;
            k.requiredEmbedment = x[5], k.requiredToeDepth = x[6], k.supportForce = x[7];
            k.governs = w[14] == "-" ? std::string() : std::string(w[14]);
            current.combinations.push_back(std::move(k));
        } else {
            return fail("unknown record \"" + std::string(key) + "\"");
        }
    }
    if (!headerSeen) return fail("not a design summary file");
    if (inCase) return fail("the last case has no END");
    return summary;
}

TDesignSummary ReadDesignSummaryFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        TDesignSummary none;
        none.error = "cannot read the file " + path;
        return none;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return ReadDesignSummary(bytes.str());
}

std::string DesignSummaryCsv(const std::vector<TSummaryCase>& cases) {
    const auto cell = [](bool applies, double value) { return "," + (applies ? Short(value) : std::string()); };
    const auto check = [](bool checked, bool fails) {
        return std::string(",") + (checked ? (fails ? "exceeds" : "within") : "");
    };
    std::string out = std::string(kSummaryCsvHeader) + "\r\n";
    for (const TSummaryCase& c : cases) {
        out += CsvText(c.label);
        out += cell(c.results, c.maxDeflection) + cell(c.results && c.allowableDeflection > 0, c.allowableDeflection);
        out += check(c.results && c.allowableDeflection > 0, c.DeflectionFails());
        out += cell(c.results, c.maxMoment) + cell(c.results && c.momentCapacity > 0, c.momentUtilisation);
        out += check(c.results && c.momentCapacity > 0, c.MomentFails());
        out += cell(c.results, c.maxShear) + cell(c.results && c.shearCapacity > 0, c.shearUtilisation);
        out += check(c.results && c.shearCapacity > 0, c.ShearFails());
        const bool le = c.LeApplies();
        out += std::string(",") + (c.le ? SummaryLeMethodText(c.leMethod) : "");
        if (le && c.fState == 1) out += ",unstable";
        else out += cell(le && c.fState == 0, c.F);
        out += cell(le, c.targetF);
        out += cell(le && c.fpState == 0, c.Fp);
        out += cell(le, c.embedment) + cell(le && c.requiredFound, c.requiredEmbedment);
        out += std::string(",") + (le ? (c.EmbedmentFails() ? "fails" : "within") : "");
        out += "\r\n";
    }
    out += "\r\n" + std::string(kSummarySupportsCsvHeader) + "\r\n";
    for (const TSummaryCase& c : cases)
        for (const TSummarySupport& s : c.supports)
            out += CsvText(c.label) + "," + std::to_string(s.node) + "," + Short(s.depth) + "," +
                   SummarySupportKindText(s.kind) + "," + Short(s.force) + "," + Short(s.perLength) + "," +
                   Short(s.largestSoFar) + "\r\n";
    return out;
}

}  // namespace torvex
