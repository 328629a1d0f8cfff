#include "design/SupportForces.h"

#include <cmath>

namespace torvex::engine {

const char* SupportKindText(TSupportKind kind) {
    switch (kind) {
        case TSupportKind::DeflectionRestraint: return "deflection restraint";
        case TSupportKind::SlopeRestraint: return "slope restraint";
        case TSupportKind::LateralSpring: return "lateral spring";
        case TSupportKind::RotationalSpring: return "rotational spring";
    }
    return "";
}

bool CarriesMoment(TSupportKind kind) {
    return kind == TSupportKind::SlopeRestraint || kind == TSupportKind::RotationalSpring;
}

std::vector<TSupportForce> SupportForces(const TBeamModel& beam, const TBeamResult& result,
                                         double activeWidth) {
    std::vector<TSupportForce> supports;
    const double width = activeWidth > 0 ? activeWidth : 1;
    const auto add = [&](int node, TSupportKind kind, double force) {
        supports.push_back({node, node * beam.h, kind, force, force / width, force});
    };
    for (int i = 0; i <= beam.n; ++i) {
        const size_t s = static_cast<size_t>(i);
        // The restraints' reactions are loads on the wall; the support carries them reversed.
        if (s < beam.fixedDeflection.size() && beam.fixedDeflection[s])
            add(i, TSupportKind::DeflectionRestraint, -result.restraintForce[s]);
        if (s < beam.fixedSlope.size() && beam.fixedSlope[s])
            add(i, TSupportKind::SlopeRestraint, -result.restraintMoment[s]);
        if (beam.kLateral[s] != 0)
            add(i, TSupportKind::LateralSpring, beam.kLateral[s] * (result.y[s] - beam.springOffset[s]));
        if (beam.kRotation[s] != 0)
            add(i, TSupportKind::RotationalSpring, beam.kRotation[s] * result.slope[s]);
    }
    return supports;
}

void CarryLargestSoFar(std::vector<TSupportForce>& now, const std::vector<TSupportForce>& before) {
    for (TSupportForce& support : now)
        for (const TSupportForce& earlier : before)
            if (earlier.node == support.node && earlier.kind == support.kind &&
                std::fabs(earlier.largestSoFar) > std::fabs(support.largestSoFar))
                support.largestSoFar = earlier.largestSoFar;
}

double SupportForceSum(const std::vector<TSupportForce>& supports) {
    double sum = 0;
    for (const TSupportForce& support : supports)
        if (!CarriesMoment(support.kind)) sum += support.force;
    return sum;
}

}  // namespace torvex::engine
