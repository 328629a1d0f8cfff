#pragma once
// A study's answers drawn against the varied input in the program's graph window: one graph
// per quantity, one curve per support for the support forces. Only the variants that
// converged have points; the graph's title says how many did not.

#include <string>

#include "parametric/ParametricStudy.h"
#include "plot/PltData.h"

namespace torvex {

enum class TStudyQuantity { TopDeflection, MaxDeflection, MaxMoment, MaxShear, SupportForces, SafetyFactor };
inline constexpr int kStudyQuantityCount = 6;

const char* StudyQuantityName(TStudyQuantity quantity);

// Fills `graph` anew; `inputLabel` and `inputUnits` (a unit string) caption the X axis.
void FillStudyGraph(TGraphPlot& graph, const engine::TStudyResult& result, TStudyQuantity quantity,
                    const std::string& inputLabel, const std::string& inputUnits);

}  // namespace torvex
