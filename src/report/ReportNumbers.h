#pragma once
// Numbers and units as the engine's text report (.tx4o) writes them, so that the PDF and the
// text report show the same figures character for character.

#include <QString>

namespace torvex {

// As printf's "%.*g" in the C locale: 8 significant digits unless told otherwise.
QString Number(double value, int digits = 8);

// The units of a case's results by the file's unit code (1 English: inches and pounds; else
// kN and metres; "other" units are taken as those), as the text report names them.
struct TReportUnits {
    QString system;  // "English (in, lbs)", "SI (m, kN)" or "Other, taken as kN and m"
    QString length, force, moment, stiffness, lineLoad, unitWeight, stress;
};
TReportUnits ReportUnits(int unitCode);

}  // namespace torvex
