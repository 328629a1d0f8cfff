#include "project/OptionBlock.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

#include "dataentry/NumberText.h"
#include "project/EchoText.h"
#include "project/TextLines.h"
#include "project/WordRead.h"

namespace torvex {
namespace {

// What a key holds and the range its value must lie in.
enum class TUnit { None, Length, Force, Moment, Pressure };

// A key whose value is one of a few words, kept as their index (an enumeration's value).
struct TWords {
    std::vector<const char*> words;  // in the order of the enumeration; the first is the default
    int32_t (*get)(const TProjectOptions&);
    void (*set)(TProjectOptions&, int32_t);
};

struct TKey {
    const char* name;
    long double TProjectOptions::*real;  // one of these two is set, or `words`
    int32_t TProjectOptions::*integer;
    long double low, high;
    bool lowIncluded, highIncluded;
    TUnit unit;
    const char* range;  // the range as the message says it
    // A real key that also takes the word Auto, which sets this flag (and the value to 0).
    bool TProjectOptions::*automatic = nullptr;
    const TWords* words = nullptr;
};

// The largest capacity or allowable deflection a file may hold; the range messages name it.
constexpr long double kHuge = 1e300L;
// The largest partial factor a file may hold: far above any code's, low enough to catch a
// value typed in the wrong field.
constexpr long double kLargestFactor = 10;
constexpr const char* kFactorRange = "greater than 0 and at most 10";
constexpr const char* kAutoWord = "Auto";

const TWords kDesignCodes{{"None", "EC7-DA1", "EC7-DA2", "EC7-DA3"},
                          [](const TProjectOptions& o) { return static_cast<int32_t>(o.DesignCode); },
                          [](TProjectOptions& o, int32_t v) { o.DesignCode = static_cast<TDesignCode>(v); }};
const TWords kPressureMethods{
    {"Rankine", "Coulomb", "EC7-AnnexC"},
    [](const TProjectOptions& o) { return static_cast<int32_t>(o.EarthPressureMethod); },
    [](TProjectOptions& o, int32_t v) { o.EarthPressureMethod = static_cast<TEarthPressureMethod>(v); }};

TKey Factor(const char* name, long double TProjectOptions::*field) {
    return {name, field, nullptr, 0, kLargestFactor, false, true, TUnit::None, kFactorRange};
}

TKey Words(const char* name, const TWords& words) {
    return {name, nullptr, nullptr, 0, 0, true, true, TUnit::None, "", nullptr, &words};
}

const std::vector<TKey>& Keys() {
    static const std::vector<TKey> keys = {
        {"MomentCapacity", &TProjectOptions::MomentCapacity, nullptr, 0, kHuge, true, true,
         TUnit::Moment, "from 0 to 1E300"},
        {"ShearCapacity", &TProjectOptions::ShearCapacity, nullptr, 0, kHuge, true, true,
         TUnit::Force, "from 0 to 1E300"},
        {"AllowableDeflection", &TProjectOptions::AllowableDeflection, nullptr, 0, kHuge, true,
         true, TUnit::Length, "from 0 to 1E300"},
        {"TargetSafetyFactor", &TProjectOptions::TargetSafetyFactor, nullptr, 0.5L, 20, true,
         true, TUnit::None, "from 0.5 to 20"},
        {"SeismicKh", &TProjectOptions::SeismicKh, nullptr, 0, 1, true, false, TUnit::None,
         "from 0 up to (not including) 1"},
        {"SeismicKv", &TProjectOptions::SeismicKv, nullptr, -1, 1, false, false, TUnit::None,
         "between -1 and 1"},
        {"LayeredSoil", nullptr, &TProjectOptions::LayeredSoil, 0, 1, true, true, TUnit::None,
         "0 or 1"},
        {"CyclicLoading", nullptr, &TProjectOptions::CyclicLoading, 0, 1, true, true,
         TUnit::None, "0 or 1"},
        {"CyclicCycles", nullptr, &TProjectOptions::CyclicCycles, 1, 1e9L, true, true,
         TUnit::None, "a whole number from 1 to 1000000000"},
        Words("DesignCode", kDesignCodes),
        {"UnplannedExcavation", &TProjectOptions::UnplannedExcavation, nullptr, 0, kHuge, true,
         true, TUnit::Length, "Auto or from 0 to 1E300", &TProjectOptions::UnplannedExcavationAuto},
        {"MinimumSurcharge", &TProjectOptions::MinimumSurcharge, nullptr, 0, kHuge, true, true,
         TUnit::Pressure, "from 0 to 1E300"},
        Words("EarthPressureMethod", kPressureMethods),
        {"WallFrictionActive", &TProjectOptions::WallFrictionActive, nullptr, 0, 1, true, true,
         TUnit::None, "from 0 to 1"},
        {"WallFrictionPassive", &TProjectOptions::WallFrictionPassive, nullptr, 0, 1, true, true,
         TUnit::None, "from 0 to 1"},
        {"WallLoadsVariable", nullptr, &TProjectOptions::WallLoadsVariable, 0, 1, true, true,
         TUnit::None, "0 or 1"},
        {"NetPressureBelowExcavation", nullptr, &TProjectOptions::NetPressureBelowExcavation, 0, 1,
         true, true, TUnit::None, "0 or 1"},
        {"Seepage", nullptr, &TProjectOptions::Seepage, 0, 1, true, true, TUnit::None, "0 or 1"},
        {"ExcavationWidth", &TProjectOptions::ExcavationWidth, nullptr, 0, kHuge, true, true,
         TUnit::Length, "from 0 to 1E300"},
        {"ExcavationLength", &TProjectOptions::ExcavationLength, nullptr, 0, kHuge, true, true,
         TUnit::Length, "from 0 to 1E300"},
        Factor("BasalHeaveFactor", &TProjectOptions::BasalHeaveFactor),
        Factor("GammaG", &TProjectOptions::GammaG),
        Factor("GammaQ", &TProjectOptions::GammaQ),
        Factor("GammaQ2", &TProjectOptions::GammaQ2),
        Factor("GammaTanPhi", &TProjectOptions::GammaTanPhi),
        Factor("GammaCohesion", &TProjectOptions::GammaCohesion),
        Factor("GammaUndrained", &TProjectOptions::GammaUndrained),
        Factor("GammaUnconfined", &TProjectOptions::GammaUnconfined),
        Factor("GammaUnitWeight", &TProjectOptions::GammaUnitWeight),
        Factor("GammaEarthResistance", &TProjectOptions::GammaEarthResistance),
        Factor("GammaHydDst", &TProjectOptions::GammaHydDst),
        Factor("GammaHydStb", &TProjectOptions::GammaHydStb),
        Factor("GammaAnchor", &TProjectOptions::GammaAnchor),
    };
    return keys;
}

// The job's texts: the rest of the key's line is the value, blanks at either end dropped.
struct TTextKey {
    const char* name;
    std::string TProjectOptions::*field;
};
constexpr TTextKey kTextKeys[] = {{"JobNumber", &TProjectOptions::JobNumber},
                                  {"JobTitle", &TProjectOptions::JobTitle},
                                  {"Engineer", &TProjectOptions::Engineer},
                                  {"Checker", &TProjectOptions::Checker},
                                  {"Revision", &TProjectOptions::Revision}};

std::string KeyList() {
    std::string list;
    for (const TKey& key : Keys()) list += (list.empty() ? "" : ", ") + std::string(key.name);
    for (const TTextKey& key : kTextKeys) list += ", " + std::string(key.name);
    return list;
}

[[noreturn]] void Fail(size_t lineNumber, const std::string& what) {
    throw EInOutError("Error on Line " + std::to_string(lineNumber) + "\r" + what);
}

// The words of a word key, as its messages list them.
std::string WordList(const TWords& words) {
    std::string list;
    for (const char* word : words.words) list += (list.empty() ? "" : ", ") + std::string(word);
    return list;
}

bool SameWord(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The index of `text` among the key's words, case aside; -1 when it is none of them.
int32_t WordIndex(const TWords& words, std::string_view text) {
    for (size_t i = 0; i < words.words.size(); ++i)
        if (SameWord(text, words.words[i])) return static_cast<int32_t>(i);
    return -1;
}

bool InRange(const TKey& key, long double value) {
    if (key.words) return false;  // a number is never one of the words
    if (key.integer && std::trunc(value) != value) return false;
    const bool aboveLow = key.lowIncluded ? value >= key.low : value > key.low;
    const bool belowHigh = key.highIncluded ? value <= key.high : value < key.high;
    return aboveLow && belowHigh;
}

std::string RangeMessage(const TKey& key, const std::string& valueText) {
    const std::string range = key.words ? "one of " + WordList(*key.words) : std::string(key.range);
    return "The value " + valueText + " of " + key.name + " must be " + range + ".";
}

// Whether the key's setting in `options` is one the block can hold.
bool SettingInRange(const TKey& key, const TProjectOptions& options) {
    if (key.words) {
        const int32_t index = key.words->get(options);
        return index >= 0 && static_cast<size_t>(index) < key.words->words.size();
    }
    if (key.automatic && options.*key.automatic) return true;
    return InRange(key, key.real ? options.*key.real : options.*key.integer);
}

bool SameSetting(const TKey& key, const TProjectOptions& a, const TProjectOptions& b) {
    if (key.words) return key.words->get(a) == key.words->get(b);
    if (key.automatic && (a.*key.automatic || b.*key.automatic)) return a.*key.automatic == b.*key.automatic;
    return key.real ? a.*key.real == b.*key.real : a.*key.integer == b.*key.integer;
}

// Exact, so that the value read back is the value written, and within range stays within. A
// word is written in its canonical spelling; one outside the words as its number.
std::string ValueText(const TKey& key, const TProjectOptions& options) {
    if (key.words) {
        const int32_t index = key.words->get(options);
        if (index >= 0 && static_cast<size_t>(index) < key.words->words.size())
            return key.words->words[static_cast<size_t>(index)];
        return std::to_string(index);
    }
    if (key.automatic && options.*key.automatic) return kAutoWord;
    if (key.real) return ExactNumberText(options.*key.real);
    return std::to_string(options.*key.integer);
}

// The line with case, blanks, byte-order marks and control bytes set aside, in lower case.
std::string Skeleton(std::string_view line) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (line.substr(i, 3) == "\xEF\xBB\xBF") {
            i += 2;
            continue;
        }
        if (c <= ' ' || c == 0x7F || c == 0xFE || c == 0xFF) continue;  // 0xFE 0xFF: UTF-16's
        out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return out;
}

// Nothing but printable characters, spaces and tabs: the header as a person writes it.
bool PlainLine(std::string_view line) {
    for (const char c : line)
        if (c != ' ' && c != '\t' && (c < '!' || c > '~')) return false;
    return true;
}

const TKey* FindKey(std::string_view name) {
    for (const TKey& key : Keys())
        if (name == key.name) return &key;
    return nullptr;
}

}  // namespace

bool LooksLikeOptionHeader(std::string_view line) {
    return Skeleton(line).rfind("torvex-option", 0) == 0;
}

std::string OptionValueFault(std::string_view name, long double value) {
    const TKey* key = FindKey(name);
    if (!key) return "\"" + EchoText(name) + "\" is not a setting of the option block.";
    return InRange(*key, value) ? std::string() : RangeMessage(*key, ExactNumberText(value));
}

void CheckOptionRanges(const TProjectOptions& options) {
    for (const TKey& key : Keys())
        if (!SettingInRange(key, options))
            throw EInOutError(RangeMessage(key, ValueText(key, options)) +
                              " The file is not written: it could not be read again.");
    for (const TTextKey& key : kTextKeys)
        if (const std::string fault = JobTextFault(options.*key.field); !fault.empty())
            throw EInOutError("The " + std::string(key.name) + " \"" + EchoText(options.*key.field) + "\" " + fault +
                              ". The file is not written: it could not be read again.");
}

std::string TrimmedJobText(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string JobTextFault(std::string_view text) {
    if (TrimmedJobText(text).size() > kMaxJobTextBytes)
        return "is longer than " + std::to_string(kMaxJobTextBytes) + " bytes";
    for (const char c : text)
        if ((static_cast<unsigned char>(c) < ' ' && c != '\t') || c == 0x7F) return "holds a control byte";
    return {};
}

std::string OptionBlockText(const TProjectOptions& options) {
    const TProjectOptions defaults;
    std::string out;
    for (const TKey& key : Keys())
        if (!SameSetting(key, options, defaults))
            out += std::string(key.name) + ' ' + ValueText(key, options) + "\r\n";
    for (const TTextKey& key : kTextKeys)
        if (const std::string text = TrimmedJobText(options.*key.field); !text.empty())
            out += std::string(key.name) + ' ' + text + "\r\n";
    if (out.empty()) return out;
    return std::string(kOptionBlockHeader) + ' ' + std::to_string(kOptionBlockVersion) + "\r\n" +
           out + kOptionBlockEnd + "\r\n";
}

std::optional<size_t> FindOptionBlock(std::string_view text, size_t fromLine,
                                      std::string_view after) {
    std::optional<size_t> found;
    size_t foundIndex = 0;
    TTextLines lines(text);
    size_t index = 0;
    for (std::string_view line;; ++index) {
        const size_t begin = lines.Position();
        if (!lines.Next(line)) break;
        if (index < fromLine) continue;
        if (!after.empty() && line.find(after) != std::string_view::npos) {
            // The stage this block sits in would never see it, nor would the last.
            if (found)
                Fail(foundIndex + 1, "An option block may only follow the file's last stage; this "
                                     "one comes before a later stage. Move it to the end of the file.");
            continue;
        }
        if (!found && LooksLikeOptionHeader(line)) {
            found = begin;
            foundIndex = index;
        }
    }
    return found;
}

TProjectOptions ReadOptionBlock(std::string_view text, size_t start) {
    TProjectOptions options;
    size_t lineNumber = LinesBefore(text, start);
    TTextLines lines(text, start);
    std::string_view line;
    if (!lines.Next(line)) Fail(lineNumber + 1, "The option block is missing.");
    ++lineNumber;
    const std::vector<std::string> header = SplitWords(line);
    const std::string expected =
        std::string(kOptionBlockHeader) + " " + std::to_string(kOptionBlockVersion);
    const bool plain = PlainLine(line) && header.size() == 2 && header[0] == kOptionBlockHeader;
    if (!plain || header[1] != std::to_string(kOptionBlockVersion)) {
        if (plain)
            Fail(lineNumber, "The option block must start with the line \"" + expected +
                                 "\"; this version of TORVEX cannot read this one.");
        Fail(lineNumber, "The line \"" + EchoText(line) + "\" reads as the start of an option " +
                             "block, whose first line must be exactly \"" + expected + "\".");
    }
    std::vector<bool> seen(Keys().size() + std::size(kTextKeys), false);
    bool ended = false;
    while (lines.Next(line)) {
        ++lineNumber;
        const std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;  // a blank line
        if (ended)
            Fail(lineNumber, std::string("Nothing may follow the line \"") + kOptionBlockEnd +
                                 "\" of the option block.");
        if (words.size() == 1 && words[0] == kOptionBlockEnd) {
            ended = true;
            continue;
        }
        if (const auto text = std::find_if(std::begin(kTextKeys), std::end(kTextKeys),
                                           [&](const TTextKey& key) { return words[0] == key.name; });
            text != std::end(kTextKeys)) {
            const size_t index = Keys().size() + static_cast<size_t>(text - std::begin(kTextKeys));
            if (seen[index]) Fail(lineNumber, "The setting " + std::string(text->name) + " is given twice.");
            seen[index] = true;
            // The rest of the line after the key (a line ends at CR LF, LF or CR).
            std::string_view rest = line.substr(line.find(text->name) + std::strlen(text->name));
            while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.remove_suffix(1);
            if (const std::string fault = JobTextFault(rest); !fault.empty())
                Fail(lineNumber, "The text of " + std::string(text->name) + " " + fault + ".");
            options.*text->field = TrimmedJobText(rest);
            continue;
        }
        size_t k = 0;
        while (k < Keys().size() && words[0] != Keys()[k].name) ++k;
        if (k == Keys().size())
            Fail(lineNumber, "\"" + EchoText(words[0]) + "\" is not a setting of the option block. The " +
                                 "settings are " + KeyList() + ", and the block ends with \"" +
                                 kOptionBlockEnd + "\".");
        const TKey& key = Keys()[k];
        if (words.size() != 2)
            Fail(lineNumber, "The setting " + std::string(key.name) + " must be followed by " +
                                 (key.words ? "one of " + WordList(*key.words)
                                            : std::string(key.automatic ? "Auto or one number" : "one number")) +
                                 " and nothing else.");
        if (seen[k]) Fail(lineNumber, "The setting " + std::string(key.name) + " is given twice.");
        seen[k] = true;
        if (key.words) {
            const int32_t index = WordIndex(*key.words, words[1]);
            if (index < 0) Fail(lineNumber, RangeMessage(key, "\"" + EchoText(words[1]) + "\""));
            key.words->set(options, index);
            continue;
        }
        if (key.automatic && SameWord(words[1], kAutoWord)) {
            options.*key.automatic = true;
            options.*key.real = 0;
            continue;
        }
        const std::optional<long double> value = ParseDecimal(words[1], '.');
        if (!value || !std::isfinite(static_cast<double>(*value)))
            Fail(lineNumber, "The value \"" + EchoText(words[1]) + "\" of " + key.name +
                                 (key.automatic ? " is neither Auto nor a number." : " is not a number."));
        if (!InRange(key, *value)) Fail(lineNumber, RangeMessage(key, EchoText(words[1])));
        if (key.automatic) options.*key.automatic = false;
        if (key.real)
            options.*key.real = *value;
        else
            options.*key.integer = static_cast<int32_t>(*value);
    }
    if (!ended)
        Fail(lineNumber, std::string("The option block ends without its line \"") +
                             kOptionBlockEnd + "\".");
    return options;
}

const char* DesignCodeWord(TDesignCode code) {
    const auto index = static_cast<size_t>(code);
    return index < kDesignCodes.words.size() ? kDesignCodes.words[index] : "";
}

const char* EarthPressureMethodWord(TEarthPressureMethod method) {
    const auto index = static_cast<size_t>(method);
    return index < kPressureMethods.words.size() ? kPressureMethods.words[index] : "";
}

void ScaleOptionUnits(TProjectOptions& options, long double length, long double force) {
    for (const TKey& key : Keys()) {
        if (!key.real) continue;
        switch (key.unit) {
            case TUnit::Length: options.*key.real *= length; break;
            case TUnit::Force: options.*key.real *= force; break;
            case TUnit::Moment: options.*key.real *= length * force; break;
            case TUnit::Pressure: options.*key.real *= force / (length * length); break;
            case TUnit::None: break;
        }
    }
}

}  // namespace torvex
