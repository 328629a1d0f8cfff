#pragma once

#include <string>
#include <vector>
// The input section of the report: the wall, its stiffness, the soil layers, the loads and
// surcharges, the springs and restraints of a case as the engine took them, and the
// project's options (design criteria, seismic, layered and cyclic soil settings).

namespace torvex {

class TReportCanvas;
struct TProjectOptions;

namespace engine {
struct TWallInput;
}

// `notes`: the case's warnings, of which those on values the engine put in place of an entry
// of 0 (a p-y k or E50 by its published default) follow the soil layers.
void DrawCaseInput(TReportCanvas& canvas, const engine::TWallInput& input, const std::vector<std::string>& notes);
// The options of the project's option block, in the units of the data file.
void DrawProjectOptions(TReportCanvas& canvas, const TProjectOptions& options, int unitCode);

}  // namespace torvex
