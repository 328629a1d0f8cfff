#include "profile/SideViewGeometry.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>

#include "dataentry/NumberText.h"
#include "profile/ProfileScene.h"

namespace torvex {
namespace {

// The extents are padded by 5 % on every side of the origin.
constexpr long double kMargin = 1.05L;

}  // namespace

int RoundPixel(long double value) {
    if (std::isnan(value)) return 0;
    // Far beyond any page, and a sum of a few such pixels still fits an int.
    if (value >= kFarPixel) return kFarPixel;
    if (value <= -kFarPixel) return -kFarPixel;
    // The default rounding mode rounds halves to even.
    return static_cast<int>(std::nearbyint(value));
}

TSideViewGeometry::TSideViewGeometry() {
    extents_ = {-10, 10, 0, 10};
    view_ = extents_;
}

void TSideViewGeometry::Activate(const TProfileScene& scene) {
    elements_.clear();
    if (!scene.HasWall) return;
    const long double a = scene.FreeHeight / 40;
    const long double top = scene.WallTop;
    const long double bottom = scene.WallTop + scene.WallLength;
    elements_.push_back({TWorldPoint{-a, top}, TWorldPoint{a, top}, TWorldPoint{a, bottom},
                         TWorldPoint{-a, bottom}});
    TWorldRect extents;
    for (const TWallElement& element : elements_) {
        extents.XMin = std::min({extents.XMin, element[0].X, element[3].X});
        extents.XMax = std::max({extents.XMax, element[1].X, element[2].X});
        extents.YMin = std::min(extents.YMin, element[0].Y);
        extents.YMax = std::max(extents.YMax, element[3].Y);
    }
    extents_ = {extents.XMin * kMargin, extents.XMax * kMargin, extents.YMin * kMargin,
                extents.YMax * kMargin};
}

bool TSideViewGeometry::Degenerate() const {
    return extents_.XMax == extents_.XMin || extents_.YMin == extents_.YMax;
}

void TSideViewGeometry::Resize(int width, int height) {
    if (Degenerate() || width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    view_ = extents_;
    const long double r = (static_cast<long double>(width) / height) /
                          ((extents_.XMax - extents_.XMin) / (extents_.YMax - extents_.YMin));
    if (r >= 1) {
        view_.XMin *= r;
        view_.XMax *= r;
    } else {
        view_.YMin /= r;
        view_.YMax /= r;
    }
}

int TSideViewGeometry::Sx(long double x) const {
    return RoundPixel(width_ * (x - view_.XMin) / (view_.XMax - view_.XMin));
}

int TSideViewGeometry::Sy(long double y) const {
    return RoundPixel(height_ * (y - view_.YMin) / (view_.YMax - view_.YMin));
}

std::optional<long double> TSideViewGeometry::DepthAtRow(int row) const {
    if (Degenerate() || height_ <= 0) return std::nullopt;
    return view_.YMin + static_cast<long double>(row) / height_ * (view_.YMax - view_.YMin);
}

std::string DepthText(long double depth) {
    if (!std::isfinite(depth)) return FormatGeneral(depth, 6, 0);
    // Six significant digits first, then one decimal: 123456.7 reads 123457.0.
    const long double magnitude = std::fabs(depth);
    long double rounded = depth;
    if (magnitude > 0) {
        const int exponent = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
        const long double scale = std::pow(10.0L, 6 - exponent);
        rounded = std::nearbyint(depth * scale) / scale;
    }
    if (std::fabs(rounded) >= 1e6L) return FormatGeneral(depth, 6, 0);
    char text[64];
    std::snprintf(text, sizeof text, "%.1Lf", rounded);
    std::string result = text;
    if (result == "-0.0") result = "0.0";
    return result;
}

std::string DepthCaption(long double depth) { return "  Depth: " + DepthText(depth); }

}  // namespace torvex
