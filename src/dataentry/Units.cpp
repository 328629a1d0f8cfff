#include "dataentry/Units.h"

#include <cmath>
#include <stdexcept>

namespace torvex {
namespace {

// English units per SI unit; the slug factor is 68.364249.
constexpr UnitCode kCodes[kUnitCodeCount] = {
    {"F", {"lbs", "kN", "F"}, 224.8089237L},
    {"F1", {"kips", "kN", "F"}, 0.2248089237L},
    {"F2", {"tons", "kN", "F"}, 0.1124044745L},
    {"F4", {"lb-sec2/in", "Mg", "M"}, 5.7101483L},
    {"F5", {"sec", "sec", "T"}, 1.0L},
    {"F6", {"slug", "Mg", "F"}, 68.364249L},
    {"L", {"in", "m", "L"}, 39.37007874L},
    {"L1", {"in", "mm", "L"}, 0.03937007874L},
    {"L2", {"ft", "m", "L"}, 3.280839895L},
    {"L3", {"rad", "rad", "L"}, 1.0L},
};

const char* Label(std::string_view code, int system) {
    return FindUnitCode(code)->labels[ClampUnitSystem(system) - 1];
}

// Replaces every occurrence of `code`; the search goes on behind each inserted label,
// so a label that contains the code itself cannot loop.
void ReplaceAll(std::string& text, std::string_view code, std::string_view label) {
    size_t pos = 0;
    while ((pos = text.find(code, pos)) != std::string::npos) {
        text.replace(pos, code.size(), label);
        pos += label.size();
    }
}

// The first code of `candidates` found in the text, or the last candidate.
std::string_view FirstPresent(const std::string& text,
                              std::initializer_list<std::string_view> candidates) {
    std::string_view chosen;
    for (std::string_view code : candidates) {
        chosen = code;
        if (text.find(code) != std::string::npos) break;
    }
    return chosen;
}

int ExponentDigit(char c) {
    if (c < '0' || c > '9')
        throw std::invalid_argument(std::string("'") + c + "' is not a valid unit exponent");
    return c - '0';
}

long double Power(long double base, int exponent) {
    long double result = 1;
    for (int i = 0; i < exponent; ++i) result *= base;
    return result;
}

// The factor of one side of a unit string (numerator or denominator), read from its start.
long double PartFactor(std::string side) {
    long double forceFactor = 1;
    int forceExponent = 1;
    if (!side.empty() && side[0] == 'F') {
        const std::string digits = "012456";
        if (side.size() < 2 || digits.find(side[1]) == std::string::npos) side.insert(1, "0");
        const char code[3] = {'F', side[1] == '0' ? '\0' : side[1], '\0'};
        forceFactor = FindUnitCode(code)->englishPerSI;
        if (side.size() > 2 && side[2] == '^') {
            forceExponent = ExponentDigit(side.size() > 3 ? side[3] : '\0');
            side.erase(0, 5);
        } else {
            side.erase(0, 3);
        }
    }
    long double lengthFactor = 1;
    int lengthExponent = 1;
    if (!side.empty() && side[0] == 'L') {
        if (side.size() < 2 || side[1] < '0' || side[1] > '3') side.insert(1, "0");
        const char digit = side[1];
        const char* code = digit == '0' ? "L" : digit == '1' ? "L1" : digit == '3' ? "L3" : "L2";
        lengthFactor = FindUnitCode(code)->englishPerSI;
        lengthExponent = side.size() < 3 ? 1 : ExponentDigit(side.size() > 3 ? side[3] : '\0');
    }
    return Power(forceFactor, forceExponent) * Power(lengthFactor, lengthExponent);
}

}  // namespace

int ClampUnitSystem(int system) {
    if (system < kUnitsEnglish) return kUnitsEnglish;
    if (system > kUnitsOther) return kUnitsOther;
    return system;
}

const UnitCode* UnitCodes() { return kCodes; }

const UnitCode* FindUnitCode(std::string_view code) {
    if (code == "F0") code = "F";
    if (code == "L0") code = "L";
    for (const UnitCode& entry : kCodes)
        if (code == entry.code) return &entry;
    return nullptr;
}

std::string UnitsLabel(const std::string& unitString, int system) {
    std::string label = unitString;
    for (std::string_view code : {"F2", "F1", "F4", "F5", "F6", "F", "L3", "L2", "L1", "L"})
        ReplaceAll(label, code, Label(code, system));
    return label;
}

std::string EntryUnitsLabel(const std::string& unitString, int system) {
    if (system != kUnitsEnglish && system != kUnitsSI) return unitString;
    std::string label = unitString;
    const std::string_view force = FirstPresent(label, {"F6", "F5", "F4", "F2", "F1", "F"});
    ReplaceAll(label, force, Label(force, system));
    const std::string_view length = FirstPresent(label, {"L2", "L1", "L3", "L"});
    ReplaceAll(label, length, Label(length, system));
    return label;
}

std::string AxisUnitsLabel(const std::string& unitString, int system) {
    if (system != kUnitsEnglish && system != kUnitsSI) return unitString;
    std::string label = unitString;
    const std::string_view force = FirstPresent(label, {"F2", "F1", "F"});
    ReplaceAll(label, force, Label(force, system));
    const std::string_view length = FirstPresent(label, {"L2", "L1", "L"});
    ReplaceAll(label, length, Label(length, system));
    return label;
}

long double UnitsFactor(int from, int to, const std::string& unitString) {
    int exponent = 0;
    if (from == kUnitsEnglish && to == kUnitsSI) exponent = -1;
    if (from == kUnitsSI && to == kUnitsEnglish) exponent = 1;
    if (exponent == 0) return 1.0L;
    const size_t slash = unitString.find('/');
    const std::string numerator = unitString.substr(0, slash);
    const std::string denominator =
        slash == std::string::npos ? std::string() : unitString.substr(slash + 1);
    const long double factor = PartFactor(numerator) / PartFactor(denominator);
    return exponent > 0 ? factor : 1.0L / factor;
}

}  // namespace torvex
