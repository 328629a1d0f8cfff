#include "plot/PlotDialogRules.h"

#include <cfenv>
#include <cmath>

namespace torvex {

std::string ToggledCurveState(const std::string& state) {
    return state == kCurveActive ? kCurveInactive : kCurveActive;
}

std::string ActiveCurveEntry(const std::string& state, const std::string& label) {
    return state + "   " + label;
}

std::pair<int, int> BitmapPixels(double pixelsPerInch, double width, double height) {
    // nearbyint rounds in the current mode, which is to nearest with halves to even.
    auto pixels = [&](double inches) {
        const double value = std::nearbyint(pixelsPerInch * inches);
        // Beyond any bitmap that memory could hold: 0 tells the caller so.
        return std::isfinite(value) && value >= 1 && value <= 1e6 ? static_cast<int>(value) : 0;
    };
    return {pixels(width), pixels(height)};
}

}  // namespace torvex
