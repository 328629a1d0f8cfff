#include "CodeDesign.h"

#include <algorithm>
#include <cmath>

namespace torvex::engine {

bool TCombinationResult::HasLimitEquilibrium() const {
    return combination != TCombination::SLS && applies && result.outcome != TOutcome::InputError &&
           result.le.method != TLeMethod::NotApplicable;
}

double TCombinationResult::RequiredToeDepth() const { return formationDepth + result.le.requiredEmbedment; }

namespace {

void Govern(TCombinationResult& entry, const char* what) {
    if (std::find(entry.governs.begin(), entry.governs.end(), what) == entry.governs.end())
        entry.governs.emplace_back(what);
}

TCombinationResult* Find(TCodeCase& code, TCombination combination) {
    for (TCombinationResult& entry : code.combinations)
        if (entry.combination == combination) return &entry;
    return nullptr;
}

// Keeps, node by node, the value of largest size.
void Envelop(std::vector<double>& envelope, const std::vector<TNodeResult>& nodes, double TNodeResult::*field) {
    if (envelope.empty()) envelope.assign(nodes.size(), 0.0);
    for (size_t i = 0; i < nodes.size() && i < envelope.size(); ++i)
        if (std::fabs(nodes[i].*field) > std::fabs(envelope[i])) envelope[i] = nodes[i].*field;
}

}  // namespace

void BuildEnvelope(TCodeCase& code) {
    TCodeEnvelope& env = code.envelope;
    env = {};
    bool anyLe = false, allLeFound = true, momentSet = false, toeSet = false;
    for (TCombinationResult& entry : code.combinations) {
        entry.governs.clear();
        const TCaseResult& r = entry.result;
        if (entry.combination == TCombination::SLS) {
            if (!r.nodes.empty()) {
                env.maxDeflection = r.checks.maxDeflection;
                env.deflectionDepth = r.checks.deflectionDepth;
            }
            continue;
        }
        if (!entry.applies) continue;
        if (!r.nodes.empty() && (env.moment.empty() || env.moment.size() == r.nodes.size())) {
            env.found = true;
            Envelop(env.moment, r.nodes, &TNodeResult::moment);
            Envelop(env.shear, r.nodes, &TNodeResult::shear);
            if (!momentSet || std::fabs(r.checks.maxMoment) > std::fabs(env.maxMoment)) {
                env.maxMoment = r.checks.maxMoment;
                env.momentDepth = r.checks.momentDepth;
                env.momentBy = entry.combination;
            }
            if (!momentSet || std::fabs(r.checks.maxShear) > std::fabs(env.maxShear)) {
                env.maxShear = r.checks.maxShear;
                env.shearDepth = r.checks.shearDepth;
                env.shearBy = entry.combination;
            }
            momentSet = true;
            for (const TSupportForce& s : r.supports) {
                auto same = std::find_if(env.supports.begin(), env.supports.end(), [&](const TEnvelopeSupport& e) {
                    return e.force.node == s.node && e.force.kind == s.kind;
                });
                if (same == env.supports.end())
                    env.supports.push_back({s, entry.combination});
                else if (std::fabs(s.force) > std::fabs(same->force.force))
                    *same = {s, entry.combination};
            }
        }
        if (entry.HasLimitEquilibrium()) {
            anyLe = true;
            const TLimitEquilibrium& le = r.le;
            if (le.fState == TLeFactor::Found && (!env.leastFFound || le.F < env.leastF)) {
                env.leastF = le.F;
                env.leastFFound = true;
            }
            if (!le.requiredFound) {
                // No embedment searched balances it: this combination governs the embedment.
                if (allLeFound) env.embedmentBy = entry.combination;
                allLeFound = false;
                toeSet = true;
                continue;
            }
            if (allLeFound && (!toeSet || entry.RequiredToeDepth() > env.requiredToeDepth)) {
                toeSet = true;
                env.requiredToeDepth = entry.RequiredToeDepth();
                env.requiredEmbedment = le.requiredEmbedment;
                env.embedmentBy = entry.combination;
            }
            if (le.method == TLeMethod::FreeEarthSupport)
                env.leSupportForce = std::max(env.leSupportForce, le.requiredSupportForce);
        }
    }
    env.embedmentFound = anyLe && allLeFound;
    std::sort(env.supports.begin(), env.supports.end(), [](const TEnvelopeSupport& a, const TEnvelopeSupport& b) {
        return a.force.node != b.force.node ? a.force.node < b.force.node : a.force.kind < b.force.kind;
    });
    // In the order the CSV column names them.
    if (toeSet)
        if (TCombinationResult* e = Find(code, env.embedmentBy)) Govern(*e, "embedment");
    if (env.found) {
        if (TCombinationResult* e = Find(code, env.momentBy)) Govern(*e, "moment");
        if (TCombinationResult* e = Find(code, env.shearBy)) Govern(*e, "shear");
        for (const TEnvelopeSupport& s : env.supports)
            if (TCombinationResult* e = Find(code, s.by)) Govern(*e, "support");
    }
    if (TCombinationResult* sls = Find(code, TCombination::SLS); sls && !sls->result.nodes.empty())
        Govern(*sls, "deflection");
}

void ApplyEnvelopeChecks(TCaseResult& result, const TCodeEnvelope& env, const TProjectOptions& options) {
    if (result.nodes.empty() || !env.found || env.moment.size() != result.nodes.size()) return;
    std::vector<double> depth, y;
    for (const TNodeResult& node : result.nodes) {
        depth.push_back(node.depth);
        y.push_back(node.y);
    }
    result.checks = CheckDesign(depth, y, env.moment, env.shear, static_cast<double>(options.MomentCapacity),
                                static_cast<double>(options.ShearCapacity),
                                static_cast<double>(options.AllowableDeflection));
}

}  // namespace torvex::engine
