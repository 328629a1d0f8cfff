#pragma once
// What each support of the wall carries: the reaction of every deflection and slope
// restraint, the force of every lateral spring and the moment of every rotational spring, per
// wall unit and per unit length of wall.
//
// Sign: positive when the support holds the wall back toward the backfill, i.e. against a
// deflection toward the excavation: a strut in compression, a tie-back in tension. A lateral
// spring carries F = k (y - y_installed), with y_installed the deflection the wall had when it
// went in (0 unless it was installed in a later stage); a rotational spring carries
// M = kr slope. A restraint's reaction is the load it puts on the wall with its sign reversed.

#include <vector>

#include "beam/BeamColumn.h"

namespace torvex::engine {

enum class TSupportKind { DeflectionRestraint, SlopeRestraint, LateralSpring, RotationalSpring };

// "deflection restraint", "slope restraint", "lateral spring", "rotational spring".
const char* SupportKindText(TSupportKind kind);
// Whether the kind carries a moment rather than a force.
bool CarriesMoment(TSupportKind kind);

struct TSupportForce {
    int node = 0;
    double depth = 0;
    TSupportKind kind = TSupportKind::DeflectionRestraint;
    double force = 0;          // per wall unit (F, or F-L for the moment kinds)
    double perLength = 0;      // divided by Wa when Wa > 0, else as force
    double largestSoFar = 0;   // the force of largest size in this and earlier stages
};

// Every support of a solved wall, node by node (at a node: restraints first, then springs).
// largestSoFar is the force itself.
std::vector<TSupportForce> SupportForces(const TBeamModel& beam, const TBeamResult& result,
                                         double activeWidth);

// Takes the largest force of the same support (same node and kind) from the stages before.
void CarryLargestSoFar(std::vector<TSupportForce>& now, const std::vector<TSupportForce>& before);

// The sum of the forces (the deflection restraints and the lateral springs), per wall unit.
double SupportForceSum(const std::vector<TSupportForce>& supports);

}  // namespace torvex::engine
