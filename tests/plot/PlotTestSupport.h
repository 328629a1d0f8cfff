#pragma once
// Helpers shared by the graph tests: readable points in failure messages and a curve's
// points as a list.

#include <ostream>
#include <vector>

#include "plot/PltData.h"

namespace torvex {

inline void PrintTo(const TFloatPoint& point, std::ostream* out) {
    *out << "(" << static_cast<double>(point.X) << ", " << static_cast<double>(point.Y) << ")";
}

inline std::vector<TFloatPoint> PointsOf(const TLine& line) {
    std::vector<TFloatPoint> points;
    for (int j = 0; j < line.PointCount(); ++j) points.push_back(line.Point(j));
    return points;
}

}  // namespace torvex
