#pragma once
// The side view's world-to-window arithmetic: the data extents taken from the wall, the view
// window widened to the window's aspect ratio (about the origin, not the centre), the mapping
// of world points to pixels and back, and the depth readout under the pointer.
//
// While the extents are degenerate (no width or no height) nothing is drawn, the view is not
// rescaled and no depth is read out.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace torvex {

struct TProfileScene;

struct TWorldRect {
    long double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
};

struct TWorldPoint {
    long double X = 0, Y = 0;
};

// A wall outline: top-left, top-right, bottom-right, bottom-left.
using TWallElement = std::array<TWorldPoint, 4>;

// Rounds to the nearest integer, halves to even, clamped to +-kFarPixel.
inline constexpr int kFarPixel = 1'000'000'000;
int RoundPixel(long double value);

class TSideViewGeometry {
public:
    TSideViewGeometry();

    // Rebuilds the wall outline and the extents from the scene; without a wall the extents
    // stay as they were.
    void Activate(const TProfileScene& scene);
    // Widens the view to a client area of this size in pixels; ignored while degenerate or
    // while the area is empty.
    void Resize(int width, int height);

    bool Degenerate() const;
    const TWorldRect& Extents() const { return extents_; }
    const TWorldRect& View() const { return view_; }
    const std::vector<TWallElement>& Elements() const { return elements_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    int Sx(long double x) const;
    int Sy(long double y) const;
    // The world depth under pixel row `row`; nothing while degenerate.
    std::optional<long double> DepthAtRow(int row) const;

private:
    TWorldRect extents_;
    TWorldRect view_;
    std::vector<TWallElement> elements_;
    int width_ = 0;
    int height_ = 0;
};

// The depth in fixed notation with one decimal, rounded to 6 significant digits first
// ("0.0", "12.5", "123457.0"); larger values in scientific notation.
std::string DepthText(long double depth);
// The window caption that reads out a depth below the wall top.
std::string DepthCaption(long double depth);

}  // namespace torvex
