#pragma once
// "Envelope over all stages" of a staged file: the largest and smallest bending moment and
// shear at every depth over the stages, as a graph and as a table of the extremes with their
// stage and depth, and the largest force of each support with the stage it occurs in.

#include <QString>
#include <vector>

#include "Analysis.h"

namespace torvex {

class TReportCanvas;

// A file of construction stages: more than one case, each named "Stage N".
bool StagedAnalysis(const engine::TFileAnalysis& analysis);

// The extremes of one quantity at one depth over the stages (indices into the cases).
struct TEnvelopePoint {
    double depth = 0;
    double low = 0, high = 0;
    size_t lowCase = 0, highCase = 0;
};

// At the node depths of the first case; a stage laid out on other nodes is interpolated
// there. Empty when a case has no results.
std::vector<TEnvelopePoint> Envelope(const std::vector<engine::TCaseResult>& cases,
                                     double engine::TNodeResult::*field);

void DrawEnvelope(TReportCanvas& canvas, const engine::TFileAnalysis& analysis);

}  // namespace torvex
