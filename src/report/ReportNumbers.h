#pragma once
// Numbers and units of the report: the units the engine's text report (.tx4o) names, its
// figures to five significant figures in the tables and as it writes them in the node appendix.

#include <QString>

namespace torvex {

// As printf's "%.*g" in the C locale: 8 significant digits unless told otherwise. The node
// appendix writes its figures so, as the text report's node table has them.
QString Number(double value, int digits = 8);

// A figure of the report's tables and texts: `digits` significant figures (5 unless told
// otherwise), written out in full from 1e-5 up to below 1e9 ("-102750", "0.00012345") and
// with an exponent only beyond ("2.5e+10", "1e-07"); trailing zeros after the point dropped,
// negative zero written "0". Infinities and NaN as Number writes them.
QString Figure(double value, int digits = 5);

// The units of a case's results by the file's unit code (1 English: inches and pounds; else
// kN and metres; "other" units are taken as those), as the text report names them.
struct TReportUnits {
    QString system;  // "English (in, lbs)", "SI (m, kN)" or "Other, taken as kN and m"
    QString length, force, moment, stiffness, lineLoad, unitWeight, stress;
};
TReportUnits ReportUnits(int unitCode);

}  // namespace torvex
