#include "report/ReportNumbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "output/GeneralNumber.h"

namespace torvex {

QString Number(double value, int digits) {
    char text[engine::kGeneralNumberSize];
    const char* end = engine::FormatGeneral(text, value, digits);
    return QString::fromLatin1(text, static_cast<qsizetype>(end - text));
}

QString Figure(double value, int digits) {
    // A checking engineer compares the report's figures with hand calculations: five
    // significant figures are more than the input deserves and few enough to read, and a
    // moment of -102750 reads as such, not as "-1.0275e+05" the way "%.5g" would write it.
    // Only magnitudes no wall has (|x| >= 1e9 or < 1e-5) take an exponent.
    if (!std::isfinite(value)) return Number(value);
    if (value == 0) return "0";
    digits = std::clamp(digits, 1, 17);
    // The rounded digits and the decimal exponent of the first, as "%.*e" gives them: the
    // exponent is that of the rounded value (99999.5 to 5 figures is 1.0000e+05).
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    const std::string_view scientific(text);
    const size_t e = scientific.find('e');
    const int exponent = std::atoi(text + e + 1);
    std::string mantissa;  // the digits alone
    for (char c : scientific.substr(0, e))
        if (c >= '0' && c <= '9') mantissa += c;
    const bool negative = value < 0;
    std::string out = negative ? "-" : "";
    if (exponent >= 9 || exponent < -5) {
        out += mantissa[0];
        std::string rest = mantissa.substr(1);
        while (!rest.empty() && rest.back() == '0') rest.pop_back();
        if (!rest.empty()) out += "." + rest;
        char power[8];
        std::snprintf(power, sizeof power, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return QString::fromLatin1(out + power);
    }
    std::string whole, fraction;
    if (exponent < 0) {
        whole = "0";
        fraction = std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
    } else if (exponent + 1 >= digits) {
        whole = mantissa + std::string(static_cast<size_t>(exponent + 1 - digits), '0');
    } else {
        whole = mantissa.substr(0, static_cast<size_t>(exponent + 1));
        fraction = mantissa.substr(static_cast<size_t>(exponent + 1));
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    out += whole;
    if (!fraction.empty()) out += "." + fraction;
    return QString::fromLatin1(out);
}

TReportUnits ReportUnits(int unitCode) {
    if (unitCode == 1) return {"English (in, lbs)", "in", "lbs", "lbs-in", "lbs-in^2", "lbs/in", "pci", "psi"};
    // "Other" units are analysed as kN and m, as the engine's run notes say.
    const QString system = unitCode == 2 ? "SI (m, kN)" : "Other, taken as kN and m";
    return {system, "m", "kN", "kN-m", "kN-m^2", "kN/m", "kN/m^3", "kPa"};
}

}  // namespace torvex
