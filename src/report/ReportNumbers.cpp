#include "report/ReportNumbers.h"

#include "GeneralNumber.h"

namespace torvex {

QString Number(double value, int digits) {
    char text[engine::kGeneralNumberSize];
    const char* end = engine::FormatGeneral(text, value, digits);
    return QString::fromLatin1(text, static_cast<qsizetype>(end - text));
}

QString TReportUnits::System() const {
    return length == "in" ? QString("English (in, lbs)") : QString("SI (m, kN)");
}

TReportUnits ReportUnits(int unitCode) {
    if (unitCode == 1) return {"in", "lbs", "lbs-in", "lbs-in^2", "lbs/in", "pci", "psi"};
    return {"m", "kN", "kN-m", "kN-m^2", "kN/m", "kN/m^3", "kPa"};
}

}  // namespace torvex
