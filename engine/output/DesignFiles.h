#pragma once
// The design answers as the engineer reads them: the report's sections on support forces,
// strength and deflection checks and limit equilibrium, the two CSV files of torvex-run --csv
// (NAME.design.csv and NAME.supports.csv, one row per case or per support, in the file's
// units), and the part of a case's summary line they add.

#include <string>

#include "Analysis.h"
#include "project/DesignSummary.h"

namespace torvex::engine {

inline constexpr const char* kDesignCsvHeader =
    "case,max_deflection,allowable_deflection,max_moment,moment_utilisation,max_shear,shear_utilisation,"
    "le_method,le_F,le_Fp,embedment,required_embedment,pivot_depth,le_support_force,"
    "seepage_gradient,toe_pore_pressure,hyd_utilisation,basal_heave_F";
inline constexpr const char* kSupportsCsvHeader = "case,node,depth,kind,force,force_per_length,largest_so_far";

std::string DesignCsvText(const TFileAnalysis& analysis);
std::string SupportsCsvText(const TFileAnalysis& analysis);

// The report's design sections of one case (nothing for a case without results).
std::string DesignReportText(const TCaseResult& result);

// The design summary file's cases (NAME.tx4y, read by the program's design summary window).
std::vector<TSummaryCase> SummaryCases(const TFileAnalysis& analysis);

// ", limit equilibrium F ..., largest utilisation ..." when they were computed, else "".
std::string DesignSummaryText(const TCaseResult& result);

}  // namespace torvex::engine
