#pragma once
// The number texts of the program, in one place.
//
//  - data files and table cells: general format, 8 significant digits, "." always;
//  - the evaluator and numeric entry fields: general format, 18 significant digits,
//    with the decimal separator of the user's locale;
//  - graph labels: the shortest general text that reads back as the same double;
//  - the option block of a data file: the shortest text that reads back as the same
//    long double, so that a value saved is the value read.
//
// All of them use an upper-case "E", a "-" only for a negative exponent, no "+" and
// no leading zeros in the exponent, no trailing zeros and no trailing point.

#include <optional>
#include <string>
#include <string_view>

namespace torvex {

// General format with `precision` significant digits (1..18). Fixed notation is used
// when the decimal exponent e (value = 0.d1d2... x 10^e) lies in minFixedExponent..precision,
// otherwise scientific notation. Zero gives "0"; NaN and infinities "NAN", "INF", "-INF".
std::string FormatGeneral(long double value, int precision, int minFixedExponent,
                          char decimalSeparator = '.');

// As printf's "%.*g" writes it in the C locale, whatever locale the process runs in: the
// program takes the user's locale, in which printf would write "0,5" into files and messages.
std::string CNumberText(double value, int precision = 6);

// Data files and table cells: rounded to double, then to 8 significant digits;
// fixed for -3 <= e <= 8 (0.0001 -> "0.0001", 0.00001 -> "1E-5"). Never "INF" or "NAN":
// beyond the double range it gives the largest double of the sign ("1.7976931E308"), NaN "0".
std::string DataNumberText(long double value);

// Evaluator and entry fields: 18 significant digits, fixed from 0.00001 up to 18 integer
// digits; the separator defaults to the locale's (see DecimalSeparator).
std::string EntryNumberText(long double value);
std::string EntryNumberText(long double value, char decimalSeparator);

// The option block: the shortest digits that ParseDecimal reads back as the same long double,
// in the data files' style (fixed for -3 <= e <= 8, or up to e = the number of digits;
// "." always): whatever DataNumberText writes that reads back exactly is written alike
// ("0.24", "1000000"), and "-0.999999999" stays so instead of becoming "-1".
std::string ExactNumberText(long double value);

// Graph labels and drawings: the shortest digits that read back as the same double,
// fixed for -3 <= e <= 15 (1 -> "1", 0.25 -> "0.25", 1e20 -> "1E20").
std::string ShortestNumberText(double value);

// Reads a decimal number: optional sign, digits, an optional decimal separator and an
// optional exponent ("E" or "e", optional sign, digits); at least one mantissa digit.
// Nothing else is accepted (no blanks, no "inf", "nan" or hex). Out of range fails.
std::optional<long double> ParseDecimal(std::string_view text, char decimalSeparator = '.');

// The decimal separator of typed entries. It follows the user's locale (LC_NUMERIC) unless
// a program or test has pinned it with SetDecimalSeparator; '\0' returns to the locale.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

}  // namespace torvex
