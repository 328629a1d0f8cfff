#include "report/ReportNumbers.h"

#include "output/GeneralNumber.h"

namespace torvex {

QString Number(double value, int digits) {
    char text[engine::kGeneralNumberSize];
    const char* end = engine::FormatGeneral(text, value, digits);
    return QString::fromLatin1(text, static_cast<qsizetype>(end - text));
}

TReportUnits ReportUnits(int unitCode) {
    if (unitCode == 1) return {"English (in, lbs)", "in", "lbs", "lbs-in", "lbs-in^2", "lbs/in", "pci", "psi"};
    // "Other" units are analysed as kN and m, as the engine's run notes say.
    const QString system = unitCode == 2 ? "SI (m, kN)" : "Other, taken as kN and m";
    return {system, "m", "kN", "kN-m", "kN-m^2", "kN/m", "kN/m^3", "kPa"};
}

}  // namespace torvex
