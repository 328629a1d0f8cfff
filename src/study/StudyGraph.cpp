#include "study/StudyGraph.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace torvex {

namespace {

struct TQuantityInfo {
    const char* name;
    const char* unitString;
};

constexpr TQuantityInfo kQuantities[kStudyQuantityCount] = {
    {"Top deflection", "L"},     {"Largest deflection", "L"}, {"Largest moment", "F-L"},
    {"Largest shear", "F"},      {"Support force", "F"},      {"Limit-equilibrium F", ""},
};

}  // namespace

const char* StudyQuantityName(TStudyQuantity quantity) { return kQuantities[static_cast<int>(quantity)].name; }

void FillStudyGraph(TGraphPlot& graph, const engine::TStudyResult& result, TStudyQuantity quantity,
                    const std::string& inputLabel, const std::string& inputUnits) {
    const TQuantityInfo& info = kQuantities[static_cast<int>(quantity)];
    const size_t curves = quantity == TStudyQuantity::SupportForces ? result.supportCount : 1;
    // The points: a variant that did not converge (or has no F) has none.
    std::vector<const engine::TStudyRow*> rows;
    int missing = 0;
    for (const engine::TStudyRow& row : result.rows) {
        if (!row.done) continue;
        const bool has = row.outcome == engine::TOutcome::Converged &&
                         (quantity != TStudyQuantity::SafetyFactor || row.leF.has_value()) &&
                         (quantity != TStudyQuantity::SupportForces || row.supportForces.size() >= result.supportCount);
        if (has) rows.push_back(&row);
        else ++missing;
    }
    graph.SetUnits(result.unitCode == 1 ? 1 : 2);
    graph.XOnTop = false;
    graph.RangeFromOrigin = false;
    graph.ShowLayers = false;
    graph.ShowWall = false;
    graph.ShowThree = false;
    graph.XCaption = inputLabel;
    graph.XUnits = inputUnits;
    graph.YCaption = info.name;
    graph.YUnits = info.unitString;
    graph.Caption = std::string("Parametric Study: ") + info.name;
    // "against free height", but "against EI of ...": a capital that starts a word goes.
    std::string against = inputLabel;
    if (against.size() > 1 && std::isupper(static_cast<unsigned char>(against[0])) &&
        std::islower(static_cast<unsigned char>(against[1])))
        against[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(against[0])));
    graph.Title = std::string(info.name) + " against " + against +
                  (result.caseLabel.empty() || result.caseLabel == "Analysis" ? std::string() : " (" + result.caseLabel + ")");
    if (missing > 0)
        graph.Title += "; " + std::to_string(missing) + (missing == 1 ? " variant" : " variants") + " without a value";
    graph.CurveName = quantity == TStudyQuantity::SupportForces ? "Support " : info.name;
    graph.LayerLines.SetCount(0);
    graph.Lines2.SetCount(0);
    graph.Lines3.SetCount(0);
    graph.Lines.SetCount(static_cast<int>(curves));
    graph.Lines.SetPointCount(static_cast<int>(rows.size()));
    for (size_t c = 0; c < curves; ++c) {
        TLine& line = graph.Lines[static_cast<int>(c)];
        line.Value = static_cast<long double>(c + 1);
        line.Name = quantity == TStudyQuantity::SupportForces ? "" : info.name;
        for (size_t p = 0; p < rows.size(); ++p) {
            const engine::TStudyRow& row = *rows[p];
            double y = 0;
            switch (quantity) {
                case TStudyQuantity::TopDeflection: y = row.topDeflection; break;
                case TStudyQuantity::MaxDeflection: y = row.maxDeflection; break;
                case TStudyQuantity::MaxMoment: y = row.maxMoment; break;
                case TStudyQuantity::MaxShear: y = row.maxShear; break;
                case TStudyQuantity::SupportForces: y = c < row.supportForces.size() ? row.supportForces[c] : 0; break;
                case TStudyQuantity::SafetyFactor: y = row.leF.value_or(0); break;
            }
            line.Point(static_cast<int>(p)) = {static_cast<long double>(row.value), static_cast<long double>(y)};
        }
    }
}

}  // namespace torvex
