#include "dataentry/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace torvex {
namespace {

struct UnitRow {
    const char* unitString;
    const char* english;
    const char* si;
    const char* other;
    long double siToEnglish;
};

// Every unit string that the input tables use.
const UnitRow kTableUnitStrings[] = {
    {"", "", "", "", 1.0L},
    {"L", "in", "m", "L", 39.37007874L},
    {"L1", "in", "mm", "L", 0.03937007874L},
    {"L2", "ft", "m", "L", 3.280839895L},
    {"F", "lbs", "kN", "F", 224.8089237L},
    {"F-L", "lbs-in", "kN-m", "F-L", 8850.745028L},
    {"F-L^2", "lbs-in^2", "kN-m^2", "F-L^2", 348454.5286L},
    {"F/L", "lbs/in", "kN/m", "F/L", 5.710146662L},
    {"F/L2", "lbs/ft", "kN/m", "F/L", 68.52175994L},
    {"F/L^2", "lbs/in^2", "kN/m^2", "F/L^2", 0.1450377252L},
    {"F/L2^2", "lbs/ft^2", "kN/m^2", "F/L^2", 20.88543243L},
    {"F/L^3", "lbs/in^3", "kN/m^3", "F/L^3", 0.00368395822L},
    {"F/L2^3", "lbs/ft^3", "kN/m^3", "F/L^3", 6.365879805L},
    {"F-L/RAD.", "lbs-in/RAD.", "kN-m/RAD.", "F-L/RAD.", 8850.745028L},
    {"SEE NOTES", "SEE NOTES", "SEE NOTES", "SEE NOTES", 1.0L},
};

// Agreement to 10 significant digits.
void ExpectTenDigits(long double actual, long double expected, const char* unitString) {
    EXPECT_LE(std::fabs(actual - expected), std::fabs(expected) * 5e-10L)
        << "unit string \"" << unitString << "\": " << static_cast<double>(actual) << " vs "
        << static_cast<double>(expected);
}

TEST(UnitsLabel, TableColumnLabelsInTheThreeSystems) {
    for (const UnitRow& row : kTableUnitStrings) {
        EXPECT_EQ(UnitsLabel(row.unitString, kUnitsEnglish), row.english) << row.unitString;
        EXPECT_EQ(UnitsLabel(row.unitString, kUnitsSI), row.si) << row.unitString;
        EXPECT_EQ(UnitsLabel(row.unitString, kUnitsOther), row.other) << row.unitString;
    }
}

TEST(UnitsFactor, SiToEnglishToTenDigitsAndEnglishToSiIsTheReciprocal) {
    for (const UnitRow& row : kTableUnitStrings) {
        ExpectTenDigits(UnitsFactor(kUnitsSI, kUnitsEnglish, row.unitString), row.siToEnglish,
                        row.unitString);
        ExpectTenDigits(UnitsFactor(kUnitsEnglish, kUnitsSI, row.unitString),
                        1.0L / row.siToEnglish, row.unitString);
    }
}

TEST(UnitsFactor, IsExactlyOneForTheSameSystemAndForOtherUnits) {
    for (const UnitRow& row : kTableUnitStrings) {
        for (int system = 1; system <= 3; ++system)
            EXPECT_EQ(UnitsFactor(system, system, row.unitString), 1.0L);
        EXPECT_EQ(UnitsFactor(kUnitsOther, kUnitsSI, row.unitString), 1.0L);
        EXPECT_EQ(UnitsFactor(kUnitsSI, kUnitsOther, row.unitString), 1.0L);
        EXPECT_EQ(UnitsFactor(kUnitsEnglish, kUnitsOther, row.unitString), 1.0L);
        EXPECT_EQ(UnitsFactor(kUnitsOther, kUnitsEnglish, row.unitString), 1.0L);
    }
}

TEST(UnitsFactor, ThereAndBackReturnsTheValueWithinRounding) {
    for (const UnitRow& row : kTableUnitStrings) {
        const long double value = 123.456789L;
        const long double there = value * UnitsFactor(kUnitsEnglish, kUnitsSI, row.unitString);
        const long double back = there * UnitsFactor(kUnitsSI, kUnitsEnglish, row.unitString);
        EXPECT_NEAR(static_cast<double>(back), 123.456789, 1e-12) << row.unitString;
    }
}

TEST(UnitsFactor, CodesOfEveryKind) {
    ExpectTenDigits(UnitsFactor(2, 1, "F1"), 0.2248089237L, "F1");
    ExpectTenDigits(UnitsFactor(2, 1, "F2"), 0.1124044745L, "F2");
    ExpectTenDigits(UnitsFactor(2, 1, "F4"), 5.7101483L, "F4");
    ExpectTenDigits(UnitsFactor(2, 1, "F5"), 1.0L, "F5");
    ExpectTenDigits(UnitsFactor(2, 1, "F6"), 68.364249L, "F6");  // not 68.52
    ExpectTenDigits(UnitsFactor(2, 1, "L3"), 1.0L, "L3");
    ExpectTenDigits(UnitsFactor(2, 1, "F1/L2^2"), 0.2248089237L / (3.280839895L * 3.280839895L),
                    "F1/L2^2");
    // A force with its own exponent: "F^2" is kN^2 -> lbs^2.
    ExpectTenDigits(UnitsFactor(2, 1, "F^2-L"), 224.8089237L * 224.8089237L * 39.37007874L,
                    "F^2-L");
}

TEST(UnitsFactor, ExponentThatIsNotADigitIsAnErrorNotACrash) {
    EXPECT_THROW(UnitsFactor(2, 1, "F/L^x"), std::invalid_argument);
    EXPECT_THROW(UnitsFactor(2, 1, "F^"), std::invalid_argument);
    EXPECT_THROW(UnitsFactor(2, 1, "L2^"), std::invalid_argument);
    // Text that is neither code nor exponent has factor 1.
    EXPECT_EQ(UnitsFactor(2, 1, "deg."), 1.0L);
}

TEST(UnitsLabel, TheThreeResolversDifferOnlyWhereTheyShouldForOtherUnits) {
    EXPECT_EQ(UnitsLabel("L2", kUnitsOther), "L");
    EXPECT_EQ(EntryUnitsLabel("L2", kUnitsOther), "L2");
    EXPECT_EQ(AxisUnitsLabel("L2", kUnitsOther), "L2");

    EXPECT_EQ(UnitsLabel("F/L2^3", kUnitsOther), "F/L^3");
    EXPECT_EQ(EntryUnitsLabel("F/L2^3", kUnitsOther), "F/L2^3");
    EXPECT_EQ(EntryUnitsLabel("F/L2^2", kUnitsOther), "F/L2^2");
    EXPECT_EQ(AxisUnitsLabel("F/L2^3", kUnitsOther), "F/L2^3");

    EXPECT_EQ(UnitsLabel("L-F/Rad.", kUnitsEnglish), "in-lbs/Rad.");
    EXPECT_EQ(UnitsLabel("L-F/Rad.", kUnitsSI), "m-kN/Rad.");
    EXPECT_EQ(UnitsLabel("L-F/Rad.", kUnitsOther), "L-F/Rad.");
    EXPECT_EQ(AxisUnitsLabel("L-F/Rad.", kUnitsEnglish), "in-lbs/Rad.");
    EXPECT_EQ(AxisUnitsLabel("L-F/Rad.", kUnitsSI), "m-kN/Rad.");
    EXPECT_EQ(AxisUnitsLabel("L-F/Rad.", kUnitsOther), "L-F/Rad.");
}

TEST(UnitsLabel, EntryFieldStringsOfTheDialogs) {
    EXPECT_EQ(EntryUnitsLabel("L", kUnitsEnglish), "in");
    EXPECT_EQ(EntryUnitsLabel("L2", kUnitsEnglish), "ft");
    EXPECT_EQ(EntryUnitsLabel("L2", kUnitsSI), "m");
    EXPECT_EQ(EntryUnitsLabel("F/L2^2", kUnitsEnglish), "lbs/ft^2");
    EXPECT_EQ(EntryUnitsLabel("F/L^2", kUnitsSI), "kN/m^2");
    for (int system = 1; system <= 3; ++system) {
        EXPECT_EQ(EntryUnitsLabel("deg.", system), "deg.");
        EXPECT_EQ(EntryUnitsLabel("in", system), "in");
        EXPECT_EQ(UnitsLabel("deg.", system), "deg.");
    }
}

TEST(UnitsLabel, EntryFieldReplacesOneForceAndOneLengthCode) {
    // Only the first listed code of each kind that occurs is replaced.
    EXPECT_EQ(EntryUnitsLabel("F1-L2/F", kUnitsEnglish), "kips-ft/F");
    EXPECT_EQ(EntryUnitsLabel("F6/L1^3", kUnitsSI), "Mg/mm^3");
    EXPECT_EQ(EntryUnitsLabel("F5-L3", kUnitsEnglish), "sec-rad");
    EXPECT_EQ(EntryUnitsLabel("F4", kUnitsEnglish), "lb-sec2/in");
}

TEST(UnitsLabel, LongerCodesGoFirstAndInsertedLabelsAreNotRead) {
    EXPECT_EQ(UnitsLabel("F2-L", kUnitsEnglish), "tons-in");
    EXPECT_EQ(UnitsLabel("F4/L^2", kUnitsEnglish), "lb-sec2/in/in^2");
    EXPECT_EQ(UnitsLabel("F6", kUnitsEnglish), "slug");
    EXPECT_EQ(UnitsLabel("F5/L3", kUnitsOther), "T/L");
    EXPECT_EQ(UnitsLabel("F6-F4", kUnitsOther), "F-M");
    EXPECT_EQ(UnitsLabel("L1", kUnitsSI), "mm");
    // A system outside 1..3 is clamped.
    EXPECT_EQ(UnitsLabel("F/L", 0), "lbs/in");
    EXPECT_EQ(UnitsLabel("F/L", 7), "F/L");
}

TEST(AxisUnitsLabel, ShorterSubstitution) {
    EXPECT_EQ(AxisUnitsLabel("L2", kUnitsEnglish), "ft");
    EXPECT_EQ(AxisUnitsLabel("F2-L", kUnitsEnglish), "tons-in");
    EXPECT_EQ(AxisUnitsLabel("F/L", kUnitsEnglish), "lbs/in");
    EXPECT_EQ(AxisUnitsLabel("F/L", kUnitsSI), "kN/m");
    EXPECT_EQ(AxisUnitsLabel("L-F", kUnitsSI), "m-kN");
    EXPECT_EQ(AxisUnitsLabel("F1/L1", kUnitsSI), "kN/mm");
    // One variant of each kind only: with F2 present a plain F stays.
    EXPECT_EQ(AxisUnitsLabel("F2/F", kUnitsEnglish), "tons/F");
    for (const char* any : {"F2-L", "F/L", "whatever"}) {
        EXPECT_EQ(AxisUnitsLabel(any, kUnitsOther), any);
        EXPECT_EQ(AxisUnitsLabel(any, 0), any);
    }
}

TEST(UnitCodes, TableHoldsTenCodesAndAliases) {
    ASSERT_NE(FindUnitCode("F0"), nullptr);
    EXPECT_EQ(FindUnitCode("F0"), FindUnitCode("F"));
    EXPECT_EQ(FindUnitCode("L0"), FindUnitCode("L"));
    EXPECT_EQ(FindUnitCode("F3"), nullptr);
    EXPECT_EQ(ClampUnitSystem(-5), 1);
    EXPECT_EQ(ClampUnitSystem(2), 2);
    EXPECT_EQ(ClampUnitSystem(9), 3);
    EXPECT_STREQ(FindUnitCode("F6")->labels[2], "F");
    EXPECT_STREQ(FindUnitCode("L3")->labels[2], "L");
}

}  // namespace
}  // namespace torvex
