#include "design/DesignChecks.h"

#include <algorithm>
#include <cmath>

namespace torvex::engine {
namespace {

// The largest |value| and its depth.
void Largest(const std::vector<double>& depth, const std::vector<double>& values, double& largest, double& at) {
    largest = 0;
    at = depth.empty() ? 0 : depth.front();
    for (size_t i = 0; i < values.size() && i < depth.size(); ++i)
        if (std::fabs(values[i]) > largest) {
            largest = std::fabs(values[i]);
            at = depth[i];
        }
}

}  // namespace

double TDesignCheck::LargestUtilisation() const {
    double u = 0;
    if (momentChecked()) u = std::max(u, momentUtilisation);
    if (shearChecked()) u = std::max(u, shearUtilisation);
    if (deflectionChecked()) u = std::max(u, maxDeflection / allowableDeflection);
    return u;
}

TDesignCheck CheckDesign(const std::vector<double>& depth, const std::vector<double>& y,
                         const std::vector<double>& moment, const std::vector<double>& shear,
                         double momentCapacity, double shearCapacity, double allowableDeflection) {
    TDesignCheck check;
    Largest(depth, y, check.maxDeflection, check.deflectionDepth);
    Largest(depth, moment, check.maxMoment, check.momentDepth);
    Largest(depth, shear, check.maxShear, check.shearDepth);
    check.momentCapacity = std::max(momentCapacity, 0.0);
    check.shearCapacity = std::max(shearCapacity, 0.0);
    check.allowableDeflection = std::max(allowableDeflection, 0.0);
    // |M(x)| / M_cap is largest where |M| is.
    if (check.momentChecked()) check.momentUtilisation = check.maxMoment / check.momentCapacity;
    if (check.shearChecked()) check.shearUtilisation = check.maxShear / check.shearCapacity;
    return check;
}

}  // namespace torvex::engine
