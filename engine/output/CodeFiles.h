#pragma once
// A design to a code as the engineer reads it: NAME.code.csv of torvex-run --csv (one row per
// case and combination, then the case's envelope, in the file's units; support forces are
// design values per unit length) and the part of a case's summary line it adds.

#include <string>

#include "Analysis.h"

namespace torvex::engine {

// Followed by one column per support of the file, in node order: ",support_1_force,...".
inline constexpr const char* kCodeCsvHeader =
    "case,combination,formation_depth,max_deflection,max_moment,max_shear,le_method,le_F,required_embedment,"
    "required_toe_depth,le_support_force,governs";

// "" for a file without a design code.
std::string CodeCsvText(const TFileAnalysis& analysis);

// ", EC7-DA1: DA1-C2 governs (embedment), F 1.2345, required toe 7.7787 m" for the case at
// index; "" without a code.
std::string CodeSummaryText(const TFileAnalysis& analysis, size_t caseIndex, const std::string& lengthUnit);

// The text report's lines on the case's combinations and envelope ("" without a code).
std::string CodeReportText(const TFileAnalysis& analysis, size_t caseIndex);

// The combination that governs the case: the embedment's (the deepest toe, or one whose
// embedment no depth searched balances), else the moment's; SLS when none.
TCombination GoverningCombination(const TCodeCase& code);

}  // namespace torvex::engine
