#pragma once
// The arithmetic and texts of the graph window's small dialogs, without Qt: the bitmap size
// of Save Attributes and the curve states of Active Curves.

#include <string>
#include <utility>

namespace torvex {

inline constexpr const char* kCurveActive = " yes : ";
inline constexpr const char* kCurveInactive = " no  : ";

// A curve state toggled: " yes : " becomes " no  : ", anything else " yes : ".
std::string ToggledCurveState(const std::string& state);
// The list entry of a curve in Active Curves: its state, three blanks and its label.
std::string ActiveCurveEntry(const std::string& state, const std::string& label);

// The bitmap of a graph saved at `pixelsPerInch`, `width` by `height` inches: each side the
// nearest whole number of pixels, halves to even. Returns {width, height}; a side below one
// pixel or above a million pixels is 0, a bitmap that cannot be made.
std::pair<int, int> BitmapPixels(double pixelsPerInch, double width, double height);

}  // namespace torvex
