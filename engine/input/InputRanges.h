#pragma once
// The physical range of every input the engine computes with. A value outside it (a width of
// 1e308, a negative strength, a friction angle of 120 degrees) is an input error that names
// its field, before it can turn into numbers that are not finite.

#include "input/WallInput.h"

namespace torvex::engine {

// Throws std::invalid_argument naming the first field outside its range, with the range in the
// project's units.
void CheckInputRanges(const TWallInput& input);

}  // namespace torvex::engine
