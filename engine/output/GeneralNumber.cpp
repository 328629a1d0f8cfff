#include "output/GeneralNumber.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace torvex::engine {
namespace {

// The powers of ten that doubles hold exactly: a product or quotient with one of them is
// rounded once.
constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestPower = 22;

char* Exact(char* out, double value, int digits) {
    const auto [end, error] =
        std::to_chars(out, out + kGeneralNumberSize, value, std::chars_format::general, digits);
    if (error == std::errc()) return end;
    std::memcpy(out, "nan", 3);
    return out + 3;
}

char* Append(char* out, const char* text, int count) {
    std::memcpy(out, text, static_cast<size_t>(count));
    return out + count;
}

}  // namespace

// The value scaled by a power of ten to `digits` digits before the point, rounded once, is
// rounded to an integer; where the scaled value lies too near a half for that single rounding
// to decide, and outside the exact powers, the standard library's exact conversion answers.
char* FormatGeneral(char* out, double value, int digits) {
    if (digits < 1) digits = 1;
    if (value == 0) {  // many a result is exactly 0
        if (std::signbit(value)) *out++ = '-';
        *out++ = '0';
        return out;
    }
    const double size = std::fabs(value);
    // Nine digits keep the scaled value below 1e9, where the rounding error is below 1e-7.
    if (digits > 9 || !(size >= 1e-300) || !(size <= 1e300)) return Exact(out, value, digits);

    // floor(log2(size)) from the bits of a normal number, and from it floor(log10(2) log2):
    // 78913 / 2^18 is log10(2) close enough for every exponent a double has. The decimal
    // exponent is that or one more.
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint64_t>(size) >> 52) & 0x7ff) - 1023;
    int exponent = (binaryExponent * 78913) >> 18;
    double scaled = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int shift = digits - 1 - exponent;
        if (shift < -kLargestPower || shift > kLargestPower) return Exact(out, value, digits);
        scaled = shift >= 0 ? size * kPowers[shift] : size / kPowers[-shift];
        if (scaled < kPowers[digits]) break;
        ++exponent;  // the estimate was one low
    }
    auto mantissa = static_cast<std::uint32_t>(scaled);  // below 1e9: the floor
    const double fraction = scaled - mantissa;
    if (std::fabs(fraction - 0.5) < 1e-6) return Exact(out, value, digits);
    if (fraction > 0.5) ++mantissa;
    if (mantissa >= static_cast<std::uint32_t>(kPowers[digits])) {
        mantissa /= 10;
        ++exponent;
    }

    // Two figures at a time, from the right.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char figures[16];
    int at = digits;
    for (; at >= 2; at -= 2) {
        std::memcpy(figures + at - 2, kPairs + 2 * (mantissa % 100), 2);
        mantissa /= 100;
    }
    if (at == 1) figures[0] = static_cast<char>('0' + mantissa);
    int significant = digits;
    while (significant > 1 && figures[significant - 1] == '0') --significant;

    if (value < 0) *out++ = '-';
    if (exponent >= -4 && exponent < digits) {
        if (exponent >= 0) {
            const int integer = exponent + 1;
            out = Append(out, figures, integer);
            if (significant > integer) {
                *out++ = '.';
                out = Append(out, figures + integer, significant - integer);
            }
        } else {
            *out++ = '0';
            *out++ = '.';
            for (int i = -1; i > exponent; --i) *out++ = '0';
            out = Append(out, figures, significant);
        }
        return out;
    }
    *out++ = figures[0];
    if (significant > 1) {
        *out++ = '.';
        out = Append(out, figures + 1, significant - 1);
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
    *out++ = static_cast<char>('0' + magnitude / 10 % 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return out;
}

}  // namespace torvex::engine
