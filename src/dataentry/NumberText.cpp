#include "dataentry/NumberText.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace torvex {
namespace {

// Digits and exponent of a value as 0.d1d2... x 10^exponent, trailing zeros removed.
struct DecimalDigits {
    bool negative = false;
    std::string_view digits;  // at least one digit, no trailing zeros
    int exponent = 0;         // e in 0.d1d2... x 10^e
    char storage[48];
};

// Reads text of the form [-]d[.ddd]e[+-]xx as to_chars writes it.
void ScientificDigits(const char* first, const char* last, DecimalDigits& result) {
    const char* p = first;
    if (p != last && *p == '-') {
        result.negative = true;
        ++p;
    }
    int count = 0;
    int exponent10 = 0;
    for (; p != last; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (count < static_cast<int>(sizeof result.storage)) result.storage[count++] = *p;
        } else if (*p == 'e' || *p == 'E') {
            std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), last, exponent10);
            break;
        }
    }
    while (count > 1 && result.storage[count - 1] == '0') --count;
    result.digits = std::string_view(result.storage, static_cast<size_t>(count));
    result.exponent = exponent10 + 1;
}

// Exact powers of ten (10^22 is the largest a double holds exactly).
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits of a double rounded to `precision` (at most 9) significant digits, by scaling
// with one exact power of ten: the scaled value is off by at most about 1e-7, far less than
// the distance to a rounding midpoint that this accepts. Returns false (the caller then takes
// the exact conversion) near a midpoint and outside 1e-12 .. 1e12.
bool FastDigits(double value, int precision, DecimalDigits& result) {
    const double magnitude = std::fabs(value);
    if (precision > 9 || !(magnitude >= 1e-12 && magnitude < 1e12)) return false;
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    int exponent = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
    const double low = kPowersOfTen[precision - 1];
    double scaled = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int shift = precision - 1 - exponent;  // scaled = magnitude x 10^shift
        if (shift > 22 || shift < -22) return false;
        scaled = shift >= 0 ? magnitude * kPowersOfTen[shift] : magnitude / kPowersOfTen[-shift];
        if (scaled < low) --exponent;
        else if (scaled >= low * 10) ++exponent;
        else break;
    }
    if (scaled < low || scaled >= low * 10) return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-6) return false;
    uint64_t digits = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (static_cast<double>(digits) >= low * 10) {  // 99999999.7 -> 100000000
        digits /= 10;
        ++exponent;
    }
    int count = precision;
    for (int i = count - 1; i >= 0; --i) {
        result.storage[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    while (count > 1 && result.storage[count - 1] == '0') --count;
    result.negative = value < 0;
    result.digits = std::string_view(result.storage, static_cast<size_t>(count));
    result.exponent = exponent + 1;
    return true;
}

// Digits before the exponent of a scientific text.
int SignificantDigits(const char* first, const char* last) {
    int count = 0;
    for (const char* p = first; p != last && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') ++count;
    return count;
}

std::string SpecialText(long double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string Compose(const DecimalDigits& d, bool fixed, char separator) {
    std::string text = d.negative ? "-" : "";
    const int count = static_cast<int>(d.digits.size());
    if (fixed) {
        if (d.exponent <= 0) {
            text += '0';
            text += separator;
            text.append(static_cast<size_t>(-d.exponent), '0');
            text += d.digits;
        } else if (d.exponent >= count) {
            text += d.digits;
            text.append(static_cast<size_t>(d.exponent - count), '0');
        } else {
            text.append(d.digits, 0, static_cast<size_t>(d.exponent));
            text += separator;
            text.append(d.digits, static_cast<size_t>(d.exponent), std::string::npos);
        }
        return text;
    }
    text += d.digits[0];
    if (count > 1) {
        text += separator;
        text.append(d.digits, 1, std::string::npos);
    }
    text += 'E';
    const int exponent10 = d.exponent - 1;
    text += std::to_string(exponent10);  // "-" only when negative, no leading zeros
    return text;
}

std::atomic<char> pinnedSeparator{'\0'};

}  // namespace

std::string CNumberText(double value, int precision) {
    char buffer[64];
    const std::to_chars_result converted =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    return std::string(buffer, converted.ptr);
}

std::string FormatGeneral(long double value, int precision, int minFixedExponent,
                          char decimalSeparator) {
    if (!std::isfinite(value)) return SpecialText(value);
    if (value == 0) return "0";
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    char buffer[64];
    const double asDouble = static_cast<double>(value);
    if (static_cast<long double>(asDouble) == value) {
        DecimalDigits fast;
        if (FastDigits(asDouble, precision, fast)) {
            const bool fixed = fast.exponent >= minFixedExponent && fast.exponent <= precision;
            return Compose(fast, fixed, decimalSeparator);
        }
    }
    std::to_chars_result converted{};
    if (static_cast<long double>(asDouble) == value) {
        // A double's shortest digits, when they are no more than asked for, are the value
        // rounded to that many digits (the double lies far closer to them than to any
        // rounding midpoint); the shortest conversion is much faster than a fixed precision.
        converted = std::to_chars(buffer, buffer + sizeof buffer, asDouble,
                                  std::chars_format::scientific);
        if (converted.ec == std::errc() && SignificantDigits(buffer, converted.ptr) > precision)
            converted = std::to_chars(buffer, buffer + sizeof buffer, asDouble,
                                      std::chars_format::scientific, precision - 1);
    } else {
        converted = std::to_chars(buffer, buffer + sizeof buffer, value,
                                  std::chars_format::scientific, precision - 1);
    }
    const char* end = converted.ptr;
    if (converted.ec != std::errc()) return SpecialText(value);
    DecimalDigits d;
    ScientificDigits(buffer, end, d);
    const bool fixed = d.exponent >= minFixedExponent && d.exponent <= precision;
    return Compose(d, fixed, decimalSeparator);
}

std::string DataNumberText(long double value) {
    // A data file holding "INF" or "NAN" could not be read again. Entries and readers keep
    // values within the double range; one that still leaves it (a unit change of an extreme
    // value) is written as the largest double of its sign, NaN as 0.
    double asDouble = static_cast<double>(value);
    if (std::isnan(asDouble)) asDouble = 0;
    if (std::isinf(asDouble)) asDouble = std::copysign(std::numeric_limits<double>::max(), asDouble);
    return FormatGeneral(asDouble, 8, -3, '.');
}

std::string ExactNumberText(long double value) {
    if (!std::isfinite(value)) return SpecialText(value);
    if (value == 0) return "0";
    // to_chars without a precision gives the shortest digits that read back exactly, and
    // ParseDecimal rounds correctly as from_chars does.
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (ec != std::errc()) return SpecialText(value);
    DecimalDigits d;
    ScientificDigits(buffer, end, d);
    const int fixedUpTo = std::max(8, static_cast<int>(d.digits.size()));
    return Compose(d, d.exponent >= -3 && d.exponent <= fixedUpTo, '.');
}

std::string EntryNumberText(long double value, char decimalSeparator) {
    // 0.00001 is 0.1 x 10^-4: entry texts stay fixed down to that magnitude.
    return FormatGeneral(value, 18, -4, decimalSeparator);
}

std::string EntryNumberText(long double value) {
    return EntryNumberText(value, DecimalSeparator());
}

std::string ShortestNumberText(double value) {
    if (!std::isfinite(value)) return SpecialText(value);
    if (value == 0) return "0";
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (ec != std::errc()) return SpecialText(value);
    DecimalDigits d;
    ScientificDigits(buffer, end, d);
    return Compose(d, d.exponent >= -3 && d.exponent <= 15, '.');
}

namespace {

// Exact powers of ten in extended precision (10^27 is the largest a 64-bit mantissa holds).
constexpr long double kExtendedPowersOfTen[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

}  // namespace

std::optional<long double> ParseDecimal(std::string_view text, char decimalSeparator) {
    // Validate the whole text first: from_chars alone would accept "inf", "nan" and
    // stop silently at the first character it does not understand.
    std::string normal;
    normal.reserve(text.size());
    uint64_t mantissa = 0;  // the digits as an integer while they fit 19 digits
    int mantissaDigits = 0;
    int significant = 0;
    int fractionDigits = 0;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        if (negative) normal += '-';
        ++i;
    }
    auto takeDigits = [&](bool fraction) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            const int digit = text[i] - '0';
            normal += text[i++];
            ++mantissaDigits;
            if (significant > 0 || digit != 0) ++significant;
            if (significant <= 19) {
                mantissa = mantissa * 10 + static_cast<uint64_t>(digit);
                if (fraction) ++fractionDigits;
            } else if (!fraction) {
                --fractionDigits;  // an integer digit beyond 19: scale instead
            }
        }
    };
    takeDigits(false);
    // The program shows "." in every cell and field, so "." is a decimal point in every locale.
    if (i < text.size() && (text[i] == decimalSeparator || text[i] == '.')) {
        normal += '.';
        ++i;
        takeDigits(true);
    }
    if (mantissaDigits == 0) return std::nullopt;
    int exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            normal += text[i++];
        }
        size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
            normal += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;
    // Up to 19 significant digits and a power of ten that extended precision holds exactly:
    // one multiplication or division of exact numbers, so the result is correctly rounded,
    // as the general conversion below gives it.
    const int scale = exponent - fractionDigits;
    if (significant <= 19 && scale >= -27 && scale <= 27) {
        long double value = static_cast<long double>(mantissa);
        value = scale >= 0 ? value * kExtendedPowersOfTen[scale]
                           : value / kExtendedPowersOfTen[-scale];
        return negative ? -value : value;
    }
    long double value = 0;
    auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec != std::errc() || ptr != normal.data() + normal.size()) return std::nullopt;
    return value;
}

char DecimalSeparator() {
    const char pinned = pinnedSeparator.load();
    if (pinned != '\0') return pinned;
    const std::lconv* conv = std::localeconv();
    if (conv && conv->decimal_point && conv->decimal_point[0] != '\0' &&
        conv->decimal_point[1] == '\0')
        return conv->decimal_point[0];
    return '.';
}

void SetDecimalSeparator(char separator) { pinnedSeparator.store(separator); }

}  // namespace torvex
