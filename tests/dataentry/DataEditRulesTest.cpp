#include "dataentry/DataEditRules.h"

#include <gtest/gtest.h>

#include "dataentry/NumberText.h"

namespace torvex {
namespace {

// The wall's increments field: integers from 1 to 300.
TDataEditRules Increments() {
    TDataEditRules field;
    field.SetIntegerOnly(true);
    field.SetMaxVal(300);
    field.SetMinVal(1);
    return field;
}

struct ExitCase {
    const char* typed;
    bool valid;
    const char* message;
    const char* shownAfter;
};

TEST(DataEditRules, IncrementsFieldChecksEveryKindOfEntry) {
    const ExitCase cases[] = {
        {"2*3", true, "", "6"},
        {"300", true, "", "300"},
        {" 12", true, "", "12"},
        {"2.5", false, "Entry must be an integer.", "2.5"},
        {"0", false, "Entry must be greater than or equal to 1", "1"},
        {"-7", false, "Entry must be greater than or equal to 1", "1"},
        {"301", false, "Entry must be less than or equal to 300", "300"},
        {"abc", false, "Entry must be a valid integer.", "abc"},
        {"", false, "Entry must be a valid integer.", ""},
        // An arithmetic fault is no mistyped integer: its own message.
        {"1/0", false, "Division by zero", "1/0"},
        {"1E4000*1E4000", false, "Floating point overflow", "1E4000*1E4000"},
    };
    for (const ExitCase& c : cases) {
        TDataEditRules field = Increments();
        field.SetText(c.typed);
        const TDataEditRules::TCheck check = field.ExitCheck();
        EXPECT_EQ(check.valid, c.valid) << c.typed;
        EXPECT_EQ(field.Valid(), c.valid) << c.typed;
        EXPECT_EQ(check.message, c.message) << c.typed;
        EXPECT_EQ(field.Text(), c.shownAfter) << c.typed;
    }
}

TEST(DataEditRules, FieldWithoutLimitsTakesAnyValueAndShowsTheEvaluatorsMessage) {
    TDataEditRules field;
    EXPECT_EQ(field.Text(), "0");
    const ExitCase cases[] = {
        {"-1E300*1E300", true, "", "-1E600"},
        {"1/3", true, "", "0.333333333333333333"},
        {"abc", false, "Entry could not be evaluated:\rinvalid character(s) in expression", "abc"},
        {"1/0", false, "Division by zero", "1/0"},
    };
    for (const ExitCase& c : cases) {
        field.SetText(c.typed);
        const TDataEditRules::TCheck check = field.ExitCheck();
        EXPECT_EQ(check.valid, c.valid) << c.typed;
        EXPECT_EQ(check.message, c.message) << c.typed;
        EXPECT_EQ(field.Text(), c.shownAfter) << c.typed;
    }
}

// A length the analysis divides by: zero or less is refused and stays as typed.
TEST(DataEditRules, PositiveOnlyRefusesZeroAndLess) {
    const ExitCase cases[] = {
        {"0", false, "Entry must be greater than 0", "0"},
        {"-3.6", false, "Entry must be greater than 0", "-3.6"},
        {"1E-300", true, "", "1E-300"},
        {"3.6*2", true, "", "7.2"},
    };
    for (const ExitCase& c : cases) {
        TDataEditRules field;
        field.SetPositiveOnly(true);
        field.SetText(c.typed);
        const TDataEditRules::TCheck check = field.ExitCheck();
        EXPECT_EQ(check.valid, c.valid) << c.typed;
        EXPECT_EQ(check.message, c.message) << c.typed;
        EXPECT_EQ(field.Text(), c.shownAfter) << c.typed;
    }
}

TEST(DataEditRules, LimitsClampEachOtherAndTheValue) {
    TDataEditRules field;
    field.SetNumber(5);
    field.SetMinVal(8);  // above the value: the value rises
    EXPECT_EQ(field.Text(), "8");
    field.SetMaxVal(3);  // below the minimum: becomes the minimum
    EXPECT_EQ(field.MaxVal(), 8.0L);
    field.SetMinVal(20);  // above the maximum: becomes the maximum
    EXPECT_EQ(field.MinVal(), 8.0L);
    field.SetMaxVal(100);
    field.SetNumber(150);
    EXPECT_EQ(field.Text(), "100");
    field.SetMaxVal(50);  // below the value: the value comes down
    EXPECT_EQ(field.Text(), "50");
    field.SetNumber(-4);
    EXPECT_EQ(field.Text(), "8");

    // Integer-only brings the default limits into the 32-bit range.
    TDataEditRules whole;
    EXPECT_EQ(whole.MaxVal(), TDataEditRules::kLargest);
    whole.SetIntegerOnly(true);
    EXPECT_EQ(whole.MinVal(), -2147483648.0L);
    EXPECT_EQ(whole.MaxVal(), 2147483647.0L);
    whole.SetMaxVal(1E12L);
    EXPECT_EQ(whole.MaxVal(), 2147483647.0L);
}

TEST(DataEditRules, UnitSystemsAndLabels) {
    TDataEditRules field;
    field.SetCaption("Increment Length");
    EXPECT_EQ(field.LabelText(), "Increment Length");
    field.SetUnitsString("L");
    const std::pair<int, const char*> cases[] = {
        {1, "Increment Length (in)"}, {2, "Increment Length (m)"}, {3, "Increment Length (L)"},
        {0, "Increment Length (in)"}, {-5, "Increment Length (in)"}, {7, "Increment Length (L)"}};
    for (const auto& [system, label] : cases) {
        field.SetUnits(system);
        EXPECT_EQ(field.LabelText(), label) << system;
    }
}

TEST(DataEditRules, NamedMessagesStartWithTheCaptionWithoutItsMark) {
    TDataEditRules field;
    field.SetMinVal(0);
    field.SetCaption("Wall Friction, &Retained && Resisting");
    field.SetText("-1");
    EXPECT_EQ(field.ExitCheck().message, "Entry must be greater than or equal to 0");  // off by default
    field.SetNamedMessages(true);
    field.SetText("-1");  // the check put the limit in its place
    EXPECT_EQ(field.ExitCheck().message, "Wall Friction, Retained & Resisting: Entry must be greater than or equal to 0");
}

TEST(DataEditRules, HexShowsFourUpperCaseDigitsAtLeast) {
    TDataEditRules field;
    field.SetHex(true);
    const std::pair<long double, const char*> cases[] = {
        {255, "$00FF"}, {0, "$0000"}, {65535, "$FFFF"}, {65536, "$10000"}, {2.5, "$0002"},
        {3.5, "$0004"}, {-1, "$FFFFFFFFFFFFFFFF"}};
    for (const auto& [value, text] : cases) {
        field.SetNumber(value);
        EXPECT_EQ(field.Text(), text) << static_cast<double>(value);
    }
}

TEST(DataEditRules, PointIsTheDecimalSeparatorInEveryLocale) {
    TDataEditRules field;
    for (const char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        field.SetText("1.5*3");
        EXPECT_TRUE(field.ExitCheck().valid) << separator;
        EXPECT_EQ(field.Text(), "4.5") << separator;
        EXPECT_EQ(field.Number(), 4.5L);
    }
    // The locale's own separator is taken too, and the field shows ".".
    field.SetText("0,25");
    EXPECT_TRUE(field.ExitCheck().valid);
    EXPECT_EQ(field.Text(), "0.25");
    SetDecimalSeparator('\0');
}

}  // namespace
}  // namespace torvex
