#pragma once
// Numbers and units as the engine's text report (.tx4o) writes them, so that the PDF and the
// text report show the same figures character for character.

#include <QString>

namespace torvex {

// As printf's "%.*g" in the C locale: 8 significant digits unless told otherwise.
QString Number(double value, int digits = 8);

// The units of a case's results by the file's unit code (1 English: inches and pounds; else
// kN and metres), as the text report names them.
struct TReportUnits {
    QString length, force, moment, stiffness, lineLoad, unitWeight, stress;
    QString System() const;  // "English (in, lbs)" or "SI (m, kN)"
};
TReportUnits ReportUnits(int unitCode);

}  // namespace torvex
