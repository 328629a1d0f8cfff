#pragma once
// Changing the unit system of the project: converts the project's scalar values between
// English and SI units and switches every input table, so that the numbers keep their
// physical meaning. To or from the generic F/L system only the labels change.

namespace torvex {

class TWorkspace;

// Clamps the target to 1..3, converts, sets UnitSystem, switches every table and asks the
// main window to refresh its open dialogs.
void ChangeUnitSystem(TWorkspace& workspace, int target);

struct TProjectOptions;
// The option block's values converted from one unit system to another (each clamped to 1..3),
// with the factors ChangeUnitSystem uses.
TProjectOptions ConvertedOptions(TProjectOptions options, int from, int to);

}  // namespace torvex
