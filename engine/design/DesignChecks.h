#pragma once
// The strength and deflection checks of the wall unit: the utilisations |M| / M_cap and
// |V| / V_cap at every node, the largest of each with its depth, and the largest deflection
// against the allowable. A capacity or allowable deflection of 0 is not checked.

#include <vector>

namespace torvex::engine {

struct TDesignCheck {
    double maxDeflection = 0, deflectionDepth = 0, allowableDeflection = 0;
    double maxMoment = 0, momentDepth = 0, momentCapacity = 0, momentUtilisation = 0;
    double maxShear = 0, shearDepth = 0, shearCapacity = 0, shearUtilisation = 0;
    bool deflectionChecked() const { return allowableDeflection > 0; }
    bool momentChecked() const { return momentCapacity > 0; }
    bool shearChecked() const { return shearCapacity > 0; }
    bool deflectionExceeds() const { return deflectionChecked() && maxDeflection > allowableDeflection; }
    // The largest utilisation checked (the deflection's as |y| / allowable among them), or 0.
    double LargestUtilisation() const;
};

// From the node results: depth, deflection, moment and shear per node, all of one size.
TDesignCheck CheckDesign(const std::vector<double>& depth, const std::vector<double>& y,
                         const std::vector<double>& moment, const std::vector<double>& shear,
                         double momentCapacity, double shearCapacity, double allowableDeflection);

}  // namespace torvex::engine
