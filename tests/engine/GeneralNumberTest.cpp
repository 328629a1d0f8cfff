// Result numbers are written as printf's "%.*g" in the C locale writes them; the standard
// library's exact conversion is the reference, on numbers chosen to meet every branch: ties and
// near-ties, powers of ten and the numbers just beside them, the edges of the fixed and
// exponent layouts, and random bit patterns over the whole range.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "output/GeneralNumber.h"

namespace {

using torvex::engine::FormatGeneral;
using torvex::engine::kGeneralNumberSize;

std::string Ours(double value, int digits) {
    char buffer[kGeneralNumberSize];
    return std::string(buffer, FormatGeneral(buffer, value, digits));
}

std::string Reference(double value, int digits) {
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

// Counts the mismatches and reports the first few.
int Compare(double value, int digits, int& reported) {
    const std::string ours = Ours(value, digits), reference = Reference(value, digits);
    if (ours == reference) return 0;
    if (reported++ < 5) ADD_FAILURE() << "%." << digits << "g of " << reference << ": wrote " << ours;
    return 1;
}

TEST(GeneralNumber, WritesWhatPrintfWritesForHandPickedValues) {
    struct TCase {
        double value;
        int digits;
        const char* text;
    };
    const TCase cases[] = {
        {0.0, 8, "0"},           {-0.0, 8, "-0"},         {1.0, 8, "1"},
        {-2.5, 8, "-2.5"},       {2.5, 1, "2"},           {3.5, 1, "4"},  // ties go to even
        {0.1, 8, "0.1"},         {1.0 / 3, 8, "0.33333333"}, {2.0 / 3, 6, "0.666667"},
        {123456785.0, 8, "1.2345678e+08"}, {123456795.0, 8, "1.234568e+08"},
        {99999999.5, 8, "1e+08"},  {9999999.95, 8, "9999999.9"}, {12000000, 8, "12000000"},
        {0.0001, 8, "0.0001"},   {0.00001, 8, "1e-05"},   {1.5e-300, 8, "1.5e-300"},
        {1e22, 8, "1e+22"},      {1.7976931348623157e308, 8, "1.7976931e+308"},
        {5e-324, 8, "4.9406565e-324"}, {-123.456, 6, "-123.456"}, {1234567.0, 6, "1.23457e+06"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Ours(c.value, c.digits), c.text) << c.value << " %." << c.digits << "g";
    EXPECT_EQ(Ours(std::numeric_limits<double>::infinity(), 8), "inf");
    EXPECT_EQ(Ours(-std::numeric_limits<double>::infinity(), 8), "-inf");
    EXPECT_EQ(Ours(std::numeric_limits<double>::quiet_NaN(), 8), "nan");
}

TEST(GeneralNumber, AgreesWithTheExactConversionEverywhere) {
    std::mt19937_64 random(20261208);
    int wrong = 0, reported = 0;
    for (int digits = 1; digits <= 17; ++digits) {
        // Decimal numbers of up to 12 digits at every scale: exact ties at the rounding digit
        // and values a few units of the last place beside them.
        for (int i = 0; i < 20000; ++i) {
            const auto whole = static_cast<double>(random() % 1000000000000ULL);
            const double value = whole * std::pow(10.0, static_cast<int>(random() % 60) - 30);
            for (double near : {value, std::nextafter(value, 0.0), std::nextafter(value, 1e300)})
                wrong += Compare(random() % 2 ? near : -near, digits, reported);
        }
        // Powers of ten and their neighbours, where the layout and the exponent change.
        for (int exponent = -320; exponent <= 308; ++exponent) {
            const double power = std::pow(10.0, exponent);
            for (double near : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e308),
                                power * (1 - 5e-9), power * (1 + 5e-9), 9.5 * power, 9.9999999 * power})
                wrong += Compare(near, digits, reported);
        }
        // Any bit pattern: subnormals, the extremes, infinities and NaNs included.
        for (int i = 0; i < 20000; ++i) {
            const std::uint64_t bits = random();
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isnan(value)) wrong += Compare(value, digits, reported);
        }
        // Computed results of ordinary size, as the result files hold them.
        std::uniform_real_distribution<double> mantissa(-10, 10);
        for (int i = 0; i < 20000; ++i)
            wrong += Compare(mantissa(random) * std::pow(10.0, static_cast<int>(random() % 24) - 12), digits, reported);
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
