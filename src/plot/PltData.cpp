#include "plot/PltData.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "dataentry/NumberText.h"
#include "dataentry/Units.h"

namespace torvex {

std::string TLine::Label() const {
    if (!Name.empty()) return Name;
    return owner_->CurveName + ShortestNumberText(static_cast<double>(Value));
}

void TCurveSet::SetCount(int n) {
    n = std::max(n, 0);
    if (n < Count()) {
        curves_.resize(static_cast<size_t>(n));
        return;
    }
    // Set 1 gives its own shared count either way. Another set that already has curves keeps
    // its own count, so that no curve of it is shorter or longer than the others.
    const int points = curves_.empty() ? owner_->Lines.PointCount() : PointCount();
    curves_.reserve(static_cast<size_t>(n));
    while (Count() < n) {
        auto line = std::make_unique<TLine>(*owner_, owner_->Lines.Count() + 1);
        line->SetPointCount(points);
        curves_.push_back(std::move(line));
    }
}

void TCurveSet::SetPointCount(int n) {
    for (auto& line : curves_) line->SetPointCount(n);
}

TGraphPlot::TGraphPlot(std::string name) : Name(std::move(name)) {}

void TGraphPlot::SetUnits(int system) { units_ = ClampUnitSystem(system); }

TCurveSet& TGraphPlot::Set(int k) {
    return const_cast<TCurveSet&>(std::as_const(*this).Set(k));
}

const TCurveSet& TGraphPlot::Set(int k) const {
    switch (k) {
        case 1: return Lines;
        case 2: return LayerLines;
        case 3: return Lines2;
        case 4: return Lines3;
        default: throw std::out_of_range("A graph has the curve sets 1 to 4.");
    }
}

std::string TGraphPlot::LegendLabel(int index) const {
    std::string label = CurveLabel(index);
    if (OnGetCaption) OnGetCaption(index, label);
    return label;
}

std::string TGraphPlot::UnitsText(const std::string& unitString) const {
    return AxisUnitsLabel(unitString, units_);
}

std::string TGraphPlot::AxisLabel(const std::string& caption,
                                  const std::string& unitString) const {
    if (unitString.empty()) return caption;
    return caption + " (" + UnitsText(unitString) + ")";
}

std::string TGraphPlot::XAxisLabel(int panel) const {
    switch (panel) {
        case 1: return AxisLabel(XCaption, XUnits);
        case 2: return AxisLabel(XCaption2, XUnits2);
        case 3: return AxisLabel(XCaption3, XUnits3);
        default: throw std::out_of_range("A graph has the panels 1 to 3.");
    }
}

std::string TGraphPlot::YAxisLabel(int panel) const {
    switch (panel) {
        case 1: return AxisLabel(YCaption, YUnits);
        case 2: return AxisLabel(YCaption2, YUnits2);
        case 3: return AxisLabel(YCaption3, YUnits3);
        default: throw std::out_of_range("A graph has the panels 1 to 3.");
    }
}

void TGraphPlot::ActivateCurvesForNewWindow() {
    for (int i = 0; i < Lines.Count(); ++i)
        Lines[i].Active = !LimitActiveCurves || i < kActiveCurveLimit;
}

void TGraphPlot::Show() {
    if (!OnShow) return;
    OnShow(*this);
    IsOpen = true;
}

}  // namespace torvex
