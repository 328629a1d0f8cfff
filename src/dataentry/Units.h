#pragma once
// Unit systems, unit labels and unit conversion factors.
//
// A unit string names a quantity in abstract letters: F for a force unit and L for a length
// unit, each optionally followed by a digit that picks a particular unit of its kind and by
// "^" and an exponent digit ("F/L2^3", "F-L^2", "L"). Other text ("RAD.", "SEE NOTES",
// "deg.") is shown unchanged and has factor 1.

#include <string>
#include <string_view>

namespace torvex {

// The unit system is a plain integer.
enum UnitSystemCode : int {
    kUnitsEnglish = 1,  // lbs, in, ft
    kUnitsSI = 2,       // kN, m
    kUnitsOther = 3,    // generic F, L
};

// Clamps a unit system to 1..3 (values below 1 give 1, above 3 give 3).
int ClampUnitSystem(int system);

// One entry of the unit-code table.
struct UnitCode {
    const char* code;          // "F", "F1", ..., "L3"
    const char* labels[3];     // English, SI, Other
    long double englishPerSI;  // number of English units in one SI unit
};

// The constant table of the ten unit codes, in the order F, F1, F2, F4, F5, F6, L, L1, L2, L3.
const UnitCode* UnitCodes();
constexpr int kUnitCodeCount = 10;

// The table entry of a code ("F" and "F0" are the same entry), or nullptr.
const UnitCode* FindUnitCode(std::string_view code);

// Label of a table column header: every code is replaced, longest codes first.
// Systems outside 1..3 are clamped.
std::string UnitsLabel(const std::string& unitString, int system);

// Label after a numeric entry field's caption: in systems 1 and 2 one force code and one
// length code are replaced; in system 3 the string is shown unchanged.
std::string EntryUnitsLabel(const std::string& unitString, int system);

// Label of a graph axis: force "F2", else "F1", else "F"; then length "L2", else "L1",
// else "L"; only in systems 1 and 2; any other system leaves the string unchanged.
std::string AxisUnitsLabel(const std::string& unitString, int system);

// The factor by which a value in system `from` is multiplied to express it in system `to`.
// Exactly 1 for the same system and for any conversion to or from system 3.
// Throws std::invalid_argument for a "^" followed by a character that is not a digit.
long double UnitsFactor(int from, int to, const std::string& unitString);

}  // namespace torvex
