#include "dataentry/NumberText.h"

#include <atomic>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace torvex {
namespace {

// Digits and exponent of a value as 0.d1d2... x 10^exponent, trailing zeros removed.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // at least one digit, no trailing zeros
    int exponent = 0;    // e in 0.d1d2... x 10^e
};

DecimalDigits ScientificDigits(const char* first, const char* last) {
    // Text of the form [-]d[.ddd]e[+-]xx as to_chars writes it.
    DecimalDigits result;
    const char* p = first;
    if (p != last && *p == '-') {
        result.negative = true;
        ++p;
    }
    int exponent10 = 0;
    for (; p != last; ++p) {
        if (*p >= '0' && *p <= '9') {
            result.digits += *p;
        } else if (*p == 'e' || *p == 'E') {
            std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), last, exponent10);
            break;
        }
    }
    while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
    result.exponent = exponent10 + 1;
    return result;
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

std::string FormatGeneral(long double value, int precision, int minFixedExponent,
                          char decimalSeparator) {
    if (!std::isfinite(value)) return SpecialText(value);
    if (value == 0) return "0";
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::scientific, precision - 1);
    if (ec != std::errc()) return SpecialText(value);
    const DecimalDigits d = ScientificDigits(buffer, end);
    const bool fixed = d.exponent >= minFixedExponent && d.exponent <= precision;
    return Compose(d, fixed, decimalSeparator);
}

std::string DataNumberText(long double value) {
    return FormatGeneral(static_cast<double>(value), 8, -3, '.');
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
    const DecimalDigits d = ScientificDigits(buffer, end);
    return Compose(d, d.exponent >= -3 && d.exponent <= 15, '.');
}

std::optional<long double> ParseDecimal(std::string_view text, char decimalSeparator) {
    // Validate the whole text first: from_chars alone would accept "inf", "nan" and
    // stop silently at the first character it does not understand.
    std::string normal;
    normal.reserve(text.size());
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') normal += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        normal += text[i++];
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == decimalSeparator) {
        normal += '.';
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            normal += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
        size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            normal += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
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
