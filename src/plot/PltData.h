#pragma once
// The graph data model: points, curves and the graph component that holds four curve sets
// together with the captions, units and display settings of one result graph. The graph
// window is not part of this unit; the program's window layer attaches itself through
// TGraphPlot::OnShow and keeps TGraphPlot::IsOpen up to date.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace torvex {

class TGraphPlot;

// One point of a curve. A new point is (0, 0).
struct TFloatPoint {
    long double X = 0;
    long double Y = 0;

    friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

// One curve: its points, its value and label, and its display flags.
class TLine {
public:
    TLine(TGraphPlot& owner, long double value) : Value(value), owner_(&owner) {}
    TLine(const TLine&) = delete;
    TLine& operator=(const TLine&) = delete;

    long double Value;    // the depth of a p-y curve, or a running number
    std::string Name;     // empty: the default label is used
    bool Visible = true;  // drawn; its legend entry ends in " *"
    bool Active = true;   // has a legend entry and a menu item at all

    TGraphPlot& Owner() const { return *owner_; }
    int PointCount() const { return static_cast<int>(points_.size()); }
    // Point j (from 0); std::out_of_range outside the curve.
    TFloatPoint& Point(int j) { return points_.at(static_cast<size_t>(j)); }
    const TFloatPoint& Point(int j) const { return points_.at(static_cast<size_t>(j)); }
    // Resizes this curve alone (negative n counts as 0), removing points from the end or
    // appending (0, 0) points. Until its set is resized as a whole the curve may differ from
    // the set's point count; every access stays range-checked.
    void SetPointCount(int n) { points_.resize(static_cast<size_t>(n < 0 ? 0 : n)); }

    // The legend label: Name when set, else the owner's CurveName followed by Value in its
    // shortest form ("Curve #" and 3 give "Curve #3").
    std::string Label() const;

private:
    TGraphPlot* owner_;
    std::vector<TFloatPoint> points_;
};

// One of the four ordered lists of curves of a graph. All curves of a set have the same
// number of points: the point count of the first curve (0 without curves).
class TCurveSet {
public:
    TCurveSet(const TCurveSet&) = delete;
    TCurveSet& operator=(const TCurveSet&) = delete;

    int Count() const { return static_cast<int>(curves_.size()); }
    const TGraphPlot& Owner() const { return *owner_; }
    // Removes curves from the end or appends new ones; a negative n counts as 0. A new curve
    // gets the value "curves in set 1, plus one" and as many (0, 0) points as the set's
    // curves already have; in a set without curves, as many as the first curve of set 1.
    void SetCount(int n);

    int PointCount() const { return curves_.empty() ? 0 : curves_.front()->PointCount(); }
    // Resizes every curve of the set; points are removed from the end or (0, 0) points
    // appended; a negative n counts as 0.
    void SetPointCount(int n);

    // Curve i and point j of curve i (from 0); std::out_of_range outside the set.
    TLine& operator[](int i) { return *curves_.at(static_cast<size_t>(i)); }
    const TLine& operator[](int i) const { return *curves_.at(static_cast<size_t>(i)); }
    TFloatPoint& Point(int i, int j) { return (*this)[i].Point(j); }
    const TFloatPoint& Point(int i, int j) const { return (*this)[i].Point(j); }

private:
    friend class TGraphPlot;
    explicit TCurveSet(TGraphPlot& owner) : owner_(&owner) {}

    TGraphPlot* owner_;
    std::vector<std::unique_ptr<TLine>> curves_;
};

class TGraphPlot {
public:
    // A new graph has the defaults below; `name` is the component name ("pltDef").
    explicit TGraphPlot(std::string name = {});
    TGraphPlot(const TGraphPlot&) = delete;
    TGraphPlot& operator=(const TGraphPlot&) = delete;

    std::string Name;

    // Published properties, in declaration order, with the values of a new component.
    std::string CurveName = "Curve #";
    std::string Caption;
    bool ShowLegend = true;
    bool ShowLayers = false;
    bool ShowWall = false;
    bool ShowThree = false;
    bool ShowFontWidth = true;
    int WallLineCount = 0;  // soil-layer lines at the start of LayerLines; wall lines follow
    int Markers = 1;        // a marker every this many points; 0 = none
    int SizeFont = 10;      // text scale in tenths
    int LegendFont = 11;    // legend font size in points at scale 10
    int WidthLine = 1;      // line width multiplier
    int Units() const { return units_; }  // 1 English, 2 SI, 3 symbolic
    void SetUnits(int system);            // clamped into 1..3
    std::string XCaption;
    std::string XUnits;
    bool XOnTop = true;  // X axis at the top, Y growing downward (depth plots)
    // The ranges a window opens with contain the origin (the wall top and zero); false: they
    // fit the data alone (a study against an input).
    bool RangeFromOrigin = true;
    std::string YCaption;
    std::string YUnits;
    std::string XCaption2, XUnits2, YCaption2, YUnits2;
    std::string XCaption3, XUnits3, YCaption3, YUnits3;
    // Lets the owner rewrite the legend label of curve `index` of set 1.
    std::function<void(int index, std::string& value)> OnGetCaption;

    // The graph title and whether it stands at the top (else at the bottom).
    std::string Title;
    bool TitleOnTop = false;
    // A newly opened window activates only the first kActiveCurveLimit curves of set 1.
    bool LimitActiveCurves = true;
    static constexpr int kActiveCurveLimit = 20;

    // The four curve sets: the curves (first panel), the soil-layer and wall lines (one
    // point each: X a fill-pattern code, Y a depth), the second and the third panel.
    TCurveSet Lines{*this};
    TCurveSet LayerLines{*this};
    TCurveSet Lines2{*this};
    TCurveSet Lines3{*this};
    // Set k, 1..4 in the order above; std::out_of_range for any other k.
    TCurveSet& Set(int k);
    const TCurveSet& Set(int k) const;

    // Label of curve `index` of set 1, and the same passed through OnGetCaption.
    std::string CurveLabel(int index) const { return Lines[index].Label(); }
    std::string LegendLabel(int index) const;

    // A unit string in unit names of this graph's Units ("F/L" -> "lbs/in" in English units).
    std::string UnitsText(const std::string& unitString) const;
    // "caption (unit names)", or the caption alone when the unit string is empty.
    std::string AxisLabel(const std::string& caption, const std::string& unitString) const;
    // The X and Y axis labels of panel 1..3; std::out_of_range for any other panel.
    std::string XAxisLabel(int panel = 1) const;
    std::string YAxisLabel(int panel = 1) const;

    // What a newly opened window does first: every curve of set 1 becomes Active, and with
    // LimitActiveCurves only the first kActiveCurveLimit of them stay so.
    void ActivateCurvesForNewWindow();

    // The window: Show calls OnShow (the window layer opens a window when IsOpen is false,
    // else brings the open one to the front and restores it) and then records that a window
    // is open. The window layer clears IsOpen when the window closes. Without OnShow nothing
    // happens.
    bool IsOpen = false;
    std::function<void(TGraphPlot&)> OnShow;
    void Show();

private:
    int units_ = 1;
};

}  // namespace torvex
