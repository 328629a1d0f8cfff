#include "dataentry/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <cstdint>
#include <limits>

namespace torvex {
namespace {

TEST(DataNumberText, EightSignificantDigitsWithTheFixedRange) {
    EXPECT_EQ(DataNumberText(0), "0");
    EXPECT_EQ(DataNumberText(-0.0L), "0");
    EXPECT_EQ(DataNumberText(0.0001L), "0.0001");
    EXPECT_EQ(DataNumberText(0.00001L), "1E-5");
    EXPECT_EQ(DataNumberText(12345678), "12345678");
    EXPECT_EQ(DataNumberText(123456789), "1.2345679E8");
    EXPECT_EQ(DataNumberText(-123456789), "-1.2345679E8");
    EXPECT_EQ(DataNumberText(1.0L / 3), "0.33333333");
    EXPECT_EQ(DataNumberText(2.0L / 3), "0.66666667");
    EXPECT_EQ(DataNumberText(29000000), "29000000");
    EXPECT_EQ(DataNumberText(100), "100");
    EXPECT_EQ(DataNumberText(-2.5L), "-2.5");
    EXPECT_EQ(DataNumberText(1e-10L), "1E-10");
    EXPECT_EQ(DataNumberText(1.5e20L), "1.5E20");
    EXPECT_EQ(DataNumberText(0.00012345678912L), "0.00012345679");
}

TEST(DataNumberText, RoundingThatCarriesIntoANewDigit) {
    EXPECT_EQ(DataNumberText(99999999.7L), "1E8");
    EXPECT_EQ(DataNumberText(9.99999999L), "10");
    EXPECT_EQ(DataNumberText(0.000999999999L), "0.001");
}

TEST(DataNumberText, ValueIsRoundedToDoubleFirst) {
    // 0.1 as long double and as double both give "0.1"; a long double just below a rounding
    // boundary follows its double.
    EXPECT_EQ(DataNumberText(0.1L), "0.1");
    EXPECT_EQ(DataNumberText(static_cast<long double>(0.1)), "0.1");
}

TEST(DataNumberText, DecimalPointIsAlwaysAPointWhateverTheLocale) {
    SetDecimalSeparator(',');
    EXPECT_EQ(DataNumberText(1.25L), "1.25");
    SetDecimalSeparator('\0');
}

TEST(DataNumberText, NeverWritesINFOrNAN) {
    // A data file with "INF" could not be read again: beyond the double range the text is
    // the largest double (1.7976931348623157E308) cut to 8 digits, which reads back.
    EXPECT_EQ(DataNumberText(std::numeric_limits<long double>::infinity()), "1.7976931E308");
    EXPECT_EQ(DataNumberText(-std::numeric_limits<long double>::infinity()), "-1.7976931E308");
    EXPECT_EQ(DataNumberText(1E4000L), "1.7976931E308");
    EXPECT_EQ(DataNumberText(std::numeric_limits<long double>::quiet_NaN()), "0");
    EXPECT_EQ(DataNumberText(1E308L), "1E308");
    EXPECT_EQ(DataNumberText(1E-400L), "0");  // below the double range: zero
    // The entry texts still name them.
    EXPECT_EQ(EntryNumberText(std::numeric_limits<long double>::infinity(), '.'), "INF");
}

TEST(EntryNumberText, EighteenSignificantDigits) {
    EXPECT_EQ(EntryNumberText(0, '.'), "0");
    EXPECT_EQ(EntryNumberText(1.5e-6L, '.'), "1.5E-6");
    EXPECT_EQ(EntryNumberText(1e20L, '.'), "1E20");
    EXPECT_EQ(EntryNumberText(0.00001L, '.'), "0.00001");
    EXPECT_EQ(EntryNumberText(0.00002L, '.'), "0.00002");
    EXPECT_EQ(EntryNumberText(123456789012345678.0L, '.'), "123456789012345678");
    EXPECT_EQ(EntryNumberText(1234567890123456789.0L, '.'), "1.23456789012345679E18");
    EXPECT_EQ(EntryNumberText(1.0L / 3, '.'), "0.333333333333333333");
    EXPECT_EQ(EntryNumberText(-12.5L, '.'), "-12.5");
    EXPECT_EQ(EntryNumberText(-12.5L, ','), "-12,5");
    EXPECT_EQ(EntryNumberText(3.0L, ','), "3");
}

TEST(EntryNumberText, FollowsThePinnedSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(EntryNumberText(0.5L), "0,5");
    SetDecimalSeparator('.');
    EXPECT_EQ(EntryNumberText(0.5L), "0.5");
    SetDecimalSeparator('\0');
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(DecimalSeparator(), '.');
}

TEST(EntryNumberText, ReadsBackToTheSameValue) {
    for (long double v : {3.14159265358979323846L, -2.718281828459045L, 1e-300L, 6.02e23L,
                          0.1L, 12345.678901234567L}) {
        const auto back = ParseDecimal(EntryNumberText(v, '.'), '.');
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(static_cast<double>(*back / v), 1.0, 1e-17);
    }
}

TEST(ShortestNumberText, ShortestDigitsThatReadBack) {
    EXPECT_EQ(ShortestNumberText(1), "1");
    EXPECT_EQ(ShortestNumberText(0), "0");
    EXPECT_EQ(ShortestNumberText(0.25), "0.25");
    EXPECT_EQ(ShortestNumberText(0.1), "0.1");
    EXPECT_EQ(ShortestNumberText(-3.5), "-3.5");
    EXPECT_EQ(ShortestNumberText(1e20), "1E20");
    EXPECT_EQ(ShortestNumberText(1234567), "1234567");
    EXPECT_EQ(ShortestNumberText(0.0001), "0.0001");
    EXPECT_EQ(ShortestNumberText(0.00001), "1E-5");
    EXPECT_EQ(ShortestNumberText(0.1 + 0.2), "0.30000000000000004");
}

TEST(ParseDecimal, AcceptsSignDigitsPointAndExponentOnly) {
    EXPECT_EQ(ParseDecimal("12").value(), 12.0L);
    EXPECT_EQ(ParseDecimal("-3.5").value(), -3.5L);
    EXPECT_EQ(ParseDecimal("+3").value(), 3.0L);
    EXPECT_EQ(ParseDecimal("5.").value(), 5.0L);
    EXPECT_EQ(ParseDecimal(".5").value(), 0.5L);
    EXPECT_EQ(ParseDecimal("1E3").value(), 1000.0L);
    EXPECT_EQ(ParseDecimal("1e-2").value(), 0.01L);
    EXPECT_EQ(ParseDecimal("2.5E+1").value(), 25.0L);
    EXPECT_EQ(ParseDecimal("1,5", ',').value(), 1.5L);
    for (const char* bad : {"", "-", "+", ".", "1,5", "1e", "1e+", "e5", "inf", "nan", "0x10",
                            " 1", "1 ", "1..2", "--1", "1e5000", "1.2.3", "12a"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << '"' << bad << '"';
    // What the cells show reads back in a decimal-comma locale too.
    EXPECT_EQ(ParseDecimal("1.5", ',').value(), 1.5L);
}

}  // namespace
}  // namespace torvex

namespace torvex {
namespace {

// The 8-digit text as glibc's correctly rounded printf gives it, in the same general format.
std::string ReferenceDataText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7e", value);
    std::string text(buffer);
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const int exponent = std::stoi(text.substr(e + 1));
    const bool negative = mantissa[0] == '-';
    if (negative) mantissa.erase(0, 1);
    std::string digits = mantissa.substr(0, 1) + mantissa.substr(2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int e10 = exponent + 1;  // value = 0.d1d2... x 10^e10
    std::string out = negative ? "-" : "";
    if (e10 >= -3 && e10 <= 8) {
        if (e10 <= 0)
            out += "0." + std::string(static_cast<size_t>(-e10), '0') + digits;
        else if (e10 >= static_cast<int>(digits.size()))
            out += digits + std::string(static_cast<size_t>(e10) - digits.size(), '0');
        else
            out += digits.substr(0, static_cast<size_t>(e10)) + "." +
                   digits.substr(static_cast<size_t>(e10));
    } else {
        out += digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") + "E" +
               std::to_string(exponent);
    }
    return out;
}

TEST(DataNumberText, AgreesWithCorrectlyRoundedPrintfOnManyValues) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        const int exponent = static_cast<int>(next() % 40) - 20;
        double value = static_cast<double>(next() % 100000000000ull) * std::pow(10.0, exponent - 11);
        if (next() % 2) value = -value;
        if (i % 7 == 0) value = std::round(value * 1000) / 1000;  // short decimals
        if (i % 11 == 0) value = (std::floor(value * 1e8) + 0.5) / 1e8;  // near midpoints
        if (value == 0) continue;
        ASSERT_EQ(DataNumberText(value), ReferenceDataText(value)) << "value %.17g " << value;
    }
}

}  // namespace
}  // namespace torvex

namespace torvex {
namespace {

TEST(ParseDecimal, AgreesWithTheCorrectlyRoundedConversion) {
    std::setlocale(LC_NUMERIC, "C");
    uint64_t state = 0x2545F4914F6CDD1Dull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 100000; ++i) {
        std::string text = (next() % 3 == 0) ? "-" : "";
        const int integerDigits = static_cast<int>(next() % 12);
        const int fractionDigits = static_cast<int>(next() % 22);
        for (int d = 0; d < integerDigits; ++d) text += static_cast<char>('0' + next() % 10);
        if (fractionDigits > 0 || integerDigits == 0) {
            text += '.';
            for (int d = 0; d < std::max(fractionDigits, 1); ++d)
                text += static_cast<char>('0' + next() % 10);
        }
        if (next() % 4 == 0) text += "E" + std::to_string(static_cast<int>(next() % 80) - 40);
        const auto parsed = ParseDecimal(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(*parsed, std::strtold(text.c_str(), nullptr)) << text;
    }
}

// What DataNumberText writes and reads back exactly is written alike; anything else in the
// fewest digits that read back as the same long double, in any locale.
TEST(ExactNumberText, ShortestTextThatReadsBackExactly) {
    const std::pair<long double, const char*> cases[] = {
        {-0.0L, "0"},       {0.24L, "0.24"}, {1e6L, "1000000"}, {1e-5L, "1E-5"}, {123456789, "123456789"},
        {1e300L, "1E300"}, {-0.999999999L, "-0.999999999"},   {1.0L / 3, "0.33333333333333333334"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(ExactNumberText(value), text);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    uint64_t state = 0x853C49E6748FEA9Bull;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        const long double value = std::ldexp(static_cast<long double>(state), static_cast<int>(state % 400) - 232);
        ASSERT_EQ(ParseDecimal(ExactNumberText(value)), value) << ExactNumberText(value);
    }
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace torvex
