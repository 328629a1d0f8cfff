#include "dataentry/DataEditRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "dataentry/Evaluator.h"
#include "dataentry/NumberText.h"
#include "dataentry/Units.h"

namespace torvex {
namespace {

constexpr long double kIntMin = -2147483648.0L;
constexpr long double kIntMax = 2147483647.0L;

// "." is read as the decimal point whatever the locale; the evaluator reads the locale's.
std::string WithLocaleSeparator(std::string text) {
    const char separator = DecimalSeparator();
    if (separator != '.') std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

}  // namespace

void TDataEditRules::SetIntegerOnly(bool value) {
    integerOnly_ = value;
    if (!value) return;
    SetMaxVal(maxVal_);
    SetMinVal(minVal_);
}

void TDataEditRules::SetMaxVal(long double value) {
    value = std::max(value, minVal_);
    if (integerOnly_) value = std::clamp(value, kIntMin, kIntMax);
    long double current = 0;
    if (TryNumber(current) && current > value) SetNumber(value);
    maxVal_ = value;
}

void TDataEditRules::SetMinVal(long double value) {
    value = std::min(value, maxVal_);
    if (integerOnly_) value = std::clamp(value, kIntMin, kIntMax);
    minVal_ = value;
    long double current = 0;
    if (TryNumber(current) && value > current) SetNumber(value);
}

void TDataEditRules::SetUnits(int system) { units_ = ClampUnitSystem(system); }

bool TDataEditRules::TryNumber(long double& value) const {
    try {
        value = Number();
        return true;
    } catch (const EAssignError&) {
        return false;
    }
}

long double TDataEditRules::Number() const { return Evaluate(WithLocaleSeparator(text_)); }

void TDataEditRules::SetNumber(long double value) {
    text_ = NumberText(std::clamp(value, minVal_, maxVal_));
}

std::string TDataEditRules::NumberText(long double value) const {
    if (!hex_) return EntryNumberText(value, '.');
    // Rounded to the nearest integer (halves to even); a negative value shows its 64-bit
    // two's complement.
    const auto whole = static_cast<int64_t>(std::nearbyint(std::clamp(value, -9.2e18L, 9.2e18L)));
    char digits[24];
    std::snprintf(digits, sizeof digits, "$%04llX",
                  static_cast<unsigned long long>(static_cast<uint64_t>(whole)));
    return digits;
}

std::string TDataEditRules::LabelText() const {
    if (unitsString_.empty()) return caption_;
    return caption_ + " (" + EntryUnitsLabel(unitsString_, units_) + ")";
}

TDataEditRules::TCheck TDataEditRules::ExitCheck() {
    TCheck check = Check();
    if (check.valid || !namedMessages_ || caption_.empty()) return check;
    // "&&" shows one "&"; a single "&" marks the accelerator and is not shown.
    std::string name;
    for (size_t i = 0; i < caption_.size(); ++i) {
        if (caption_[i] == '&' && ++i == caption_.size()) break;
        name += caption_[i];
    }
    check.message = name + ": " + check.message;
    return check;
}

TDataEditRules::TCheck TDataEditRules::Check() {
    valid_ = false;
    long double value = 0;
    try {
        value = Number();
    } catch (const EMathError& error) {
        // An arithmetic fault is no mistyped entry: it keeps its own message, also in an
        // integer-only field.
        return {false, error.what()};
    } catch (const EAssignError& error) {
        return {false, integerOnly_ ? "Entry must be a valid integer." : error.what()};
    }
    if (integerOnly_ && value != std::trunc(value)) return {false, "Entry must be an integer."};
    if (positiveOnly_ && !(value > 0)) return {false, "Entry must be greater than 0"};
    if (value < minVal_) {
        SetNumber(minVal_);
        return {false, "Entry must be greater than or equal to " + NumberText(minVal_)};
    }
    if (!(value <= maxVal_)) {
        SetNumber(maxVal_);
        return {false, "Entry must be less than or equal to " + NumberText(maxVal_)};
    }
    text_ = NumberText(value);
    valid_ = true;
    return {true, {}};
}

bool TDataEditRules::IsOperatorKey(char key) {
    switch (key) {
        case '+': case '-': case '/': case '*': case '^': case '=': case '%': case '!':
            return true;
        default:
            return false;
    }
}

}  // namespace torvex
