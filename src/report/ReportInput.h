#pragma once
// The input section of the report: the wall, its stiffness, the soil layers, the loads and
// surcharges, the springs and restraints of a case as the engine took them, and the
// project's options (design criteria, seismic, layered and cyclic soil settings).

namespace torvex {

class TReportCanvas;
struct TProjectOptions;

namespace engine {
struct TWallInput;
}

void DrawCaseInput(TReportCanvas& canvas, const engine::TWallInput& input);
// The options of the project's option block, in the units of the data file.
void DrawProjectOptions(TReportCanvas& canvas, const TProjectOptions& options, int unitCode);

}  // namespace torvex
