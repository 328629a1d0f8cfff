#include "plot/PlotFileReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dataentry/Units.h"
#include "plot/ResultGraphs.h"
#include "project/WordRead.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

constexpr long double kInchesPerFoot = 12;
constexpr long double kUnitsPerKilo = 1000;  // pounds per kip
constexpr int kLongTermMarker = 9;

[[noreturn]] void Fail(const std::string& message) { throw EInOutError(message); }

// Sets an entry of a per-curve count, growing the list as needed.
void SetCountAt(std::vector<int>& counts, int index, int value) {
    if (static_cast<int>(counts.size()) <= index) counts.resize(static_cast<size_t>(index) + 1);
    counts[static_cast<size_t>(index)] = value;
}

// Extends every curve of a set beyond its own record count with copies of its last record.
// A curve without records of its own stays at (0, 0).
void RepeatLastRecord(TCurveSet& set, const std::vector<int>& ownCounts) {
    for (int i = 0; i < set.Count() && i < static_cast<int>(ownCounts.size()); ++i) {
        const int own = ownCounts[static_cast<size_t>(i)];
        if (own < 1) continue;
        TLine& line = set[i];
        for (int j = own; j < line.PointCount(); ++j) line.Point(j) = line.Point(own - 1);
    }
}

class TPlotReader {
public:
    TPlotReader(TResultGraphs& graphs, const TWorkspace& workspace)
        : g_(graphs), project_(workspace.Project()), layers_(workspace.Table("NewSoil")) {}

    // Empties the curves of every graph (they stay, with no points). The panels 2 and 3 of
    // the three-panel graph are emptied too, so that nothing of an earlier read survives in
    // the tails of shorter stages.
    void Clear() {
        for (TGraphPlot* graph : g_.All()) {
            graph->Lines.SetPointCount(0);
            graph->Lines2.SetPointCount(0);
            graph->Lines3.SetPointCount(0);
        }
    }

    void Read(TWordReader& in) {
        in_ = &in;
        ReadFirstSection();
        for (int stage = 2; stage <= firstStageCount_; ++stage) ReadFurtherSection(stage);
        FinishEarthPressure();
        FinishDepthGraphs();
        SetCaptions();
        for (TGraphPlot* graph : g_.All()) graph->SetUnits(units_);
    }

private:
    // ---- Reading numbers ----

    // A count in first..last; when each item takes wordsPerItem words (plus extraWords before
    // them), the file must still hold them all, so that nothing is sized for data that
    // cannot follow.
    int ReadCount(int first, int last, int wordsPerItem = 0, int extraWords = 0) {
        const int32_t count = in_->NextInteger();
        if (count < first || count > last)
            Fail("A count from " + std::to_string(first) + " to " + std::to_string(last) +
                 " was expected but not found.");
        if (wordsPerItem > 0 &&
            static_cast<uint64_t>(count) * static_cast<uint64_t>(wordsPerItem) +
                    static_cast<uint64_t>(extraWords) >
                in_->RemainingWords())
            Fail(TWordReader::kIncompleteMessage);
        return count;
    }
    long double Real() { return in_->NextReal(); }

    // ---- Sections ----

    // Stage 1: earth pressure (also into PltCombine), unit code, p-y curves, stage count,
    // nodes, then the soil-layer overlay of pltDMS.
    void ReadFirstSection() {
        g_.pltLD.Lines.SetCount(1);
        g_.PltCombine.Lines.SetCount(3);
        const int records = ReadCount(0, kMaxEarthPressureRecords);
        g_.pltLD.Lines.SetPointCount(records);
        g_.PltCombine.Lines.SetPointCount(records);
        largestRecordCount_ = records;
        SetCountAt(recordCounts_, 0, records);
        const long double combinedScale =
            project_.UnitSystem == kUnitsEnglish ? kInchesPerFoot : 1;
        TCurveSet& combined = g_.PltCombine.Lines;
        for (int j = 0; j < records; ++j) {
            const long double depth = Real();
            const long double total = Real();
            const long double fromSoils = Real();
            const long double fromSurcharge = Real();
            g_.pltLD.Lines.Point(0, j) = {total, depth};
            const long double y = depth / combinedScale;
            combined.Point(0, j) = {total, y};
            combined.Point(1, j) = {fromSoils, y};
            combined.Point(2, j) = {fromSurcharge, y};
        }
        combined[0].Name = "Total Earth Pressure";
        combined[1].Name = "from Soils ";
        combined[2].Name = "from Surcharge Loads";
        ReadUnitCode(0, records);
        ReadPYBlock();

        firstStageCount_ = ReadStageCount();
        for (TGraphPlot* graph : DepthGraphs()) graph->Lines.SetCount(firstStageCount_);
        curveCount_ = std::max(curveCount_, firstStageCount_);
        const int nodes = ReadNodeCount();
        for (TGraphPlot* graph : DepthGraphs()) graph->Lines.SetPointCount(nodes);
        largestNodeCount_ = nodes;
        in_->NextInteger();  // not used
        for (TCurveSet* set : PanelSets()) {
            set->SetCount(firstStageCount_);
            set->SetPointCount(nodes);
        }
        g_.pltDMS.ShowThree = true;
        ReadNodeRecords(0, nodes);
        for (TGraphPlot* graph : DepthGraphs()) graph->Lines.SetCount(curveCount_);
        for (TCurveSet* set : PanelSets()) set->SetCount(curveCount_);
        AddLayerLines();
    }

    // Stage `stage` (2 and on): earth pressure into pltLD alone, unit code, p-y curves (they
    // replace the earlier ones), stage count, nodes.
    void ReadFurtherSection(int stage) {
        const int index = stage - 1;
        TCurveSet& pressure = g_.pltLD.Lines;
        pressure.SetCount(curveCount_);
        const int records = ReadCount(0, kMaxEarthPressureRecords);
        // The set never shrinks below the records of an earlier stage: their curves keep all
        // of their points.
        largestRecordCount_ = std::max(largestRecordCount_, records);
        pressure.SetPointCount(largestRecordCount_);
        SetCountAt(recordCounts_, index, records);
        for (int j = 0; j < records; ++j) {
            const long double depth = Real();
            const long double total = Real();
            Real();  // from soils and from surcharge: PltCombine shows stage 1 only
            Real();
            pressure.Point(index, j) = {total, depth};
        }
        ReadUnitCode(index, records);
        ReadPYBlock();

        // Later stage counts only add curves; they never take away curves of stages read.
        curveCount_ = std::max(curveCount_, ReadStageCount());
        for (TGraphPlot* graph : DepthGraphs()) graph->Lines.SetCount(curveCount_);
        NameStageCurves(stage);

        const int nodes = ReadNodeCount();
        largestNodeCount_ = std::max(largestNodeCount_, nodes);
        for (TCurveSet* set : NodeSets()) set->SetPointCount(largestNodeCount_);
        in_->NextInteger();  // not used
        ReadNodeRecords(index, nodes);
        for (TGraphPlot* graph : DepthGraphs()) graph->Lines.SetCount(curveCount_);
        pressure.SetCount(curveCount_);
    }

    void ReadUnitCode(int curve, int records) {
        units_ = in_->NextInteger();
        if (units_ != kUnitsEnglish) return;
        for (int j = 0; j < records; ++j) g_.pltLD.Lines.Point(curve, j).Y /= kInchesPerFoot;
    }

    int ReadStageCount() { return ReadCount(1, kMaxPlotStages); }
    // The node count; its records, five words each, follow one unused integer.
    int ReadNodeCount() { return ReadCount(0, kMaxPlotNodes, 5, 1); }

    // The p-y curves of one section, read whole before they replace the graph's curves. The
    // set's point count is the largest of the block; a shorter curve repeats its last point.
    void ReadPYBlock() {
        struct TCurve {
            long double depth;
            std::vector<TFloatPoint> points;
        };
        const int count = ReadCount(0, kMaxPYCurves);
        std::vector<TCurve> curves(static_cast<size_t>(count));
        size_t largest = 0;
        for (TCurve& curve : curves) {
            curve.depth = Real();
            const int points = ReadCount(0, kMaxPlotPoints, 2);
            curve.points.resize(static_cast<size_t>(points));
            for (TFloatPoint& point : curve.points) {
                point.X = Real();
                point.Y = Real();
            }
            largest = std::max(largest, curve.points.size());
        }
        TCurveSet& set = g_.pltPY.Lines;
        set.SetCount(count);
        set.SetPointCount(static_cast<int>(largest));
        for (int k = 0; k < count; ++k) {
            const TCurve& curve = curves[static_cast<size_t>(k)];
            set[k].Value = curve.depth;
            for (size_t j = 0; j < largest; ++j)
                set.Point(k, static_cast<int>(j)) =
                    curve.points.empty() ? TFloatPoint{}
                                         : curve.points[std::min(j, curve.points.size() - 1)];
        }
    }

    // Node records into curve `index` of the depth graphs and of pltDMS's panels.
    void ReadNodeRecords(int index, int nodes) {
        const bool english = units_ == kUnitsEnglish;
        const long double depthScale = english ? kInchesPerFoot : 1;
        const long double forceScale = english ? kUnitsPerKilo : 1;
        SetCountAt(nodeCounts_, index, nodes);
        for (int j = 0; j < nodes; ++j) {
            const long double depth = Real() / depthScale;
            const long double deflection = Real();
            const long double moment = Real() / forceScale;
            const long double shear = Real() / forceScale;
            const long double reaction = Real();
            g_.pltDef.Lines.Point(index, j) = {deflection, depth};
            g_.pltMom.Lines.Point(index, j) = {moment, depth};
            g_.pltShear.Lines.Point(index, j) = {shear, depth};
            g_.pltSoil.Lines.Point(index, j) = {reaction, depth};
            g_.pltDMS.Lines.Point(index, j) = {deflection, depth};
            g_.pltDMS.Lines2.Point(index, j) = {moment, depth};
            g_.pltDMS.Lines3.Point(index, j) = {shear, depth};
        }
    }

    void NameStageCurves(int stage) {
        const bool longTerm = project_.LongTermMarker == kLongTermMarker;
        for (TCurveSet* set : {&g_.pltDef.Lines, &g_.pltMom.Lines, &g_.pltShear.Lines,
                               &g_.pltSoil.Lines, &g_.pltDMS.Lines}) {
            (*set)[0].Name = "Stage: 1";
            (*set)[stage - 1].Name = "Stage: " + std::to_string(stage);
            if (longTerm) {
                (*set)[0].Name = "Short-Term";
                (*set)[1].Name = "Long-Term";
            }
        }
    }

    // The soil layers of the project as one-point lines of pltDMS (X the fill pattern of the
    // soil type, Y the bottom of the layer), then the wall's length and free height, all in
    // the units of the depth axis.
    void AddLayerLines() {
        TGraphPlot& dms = g_.pltDMS;
        if (dms.Lines.Count() < 1 || dms.Lines.PointCount() < 1) return;
        TCurveSet& lines = dms.LayerLines;
        const int layers = layers_.RowCount();
        lines.SetCount(layers);
        lines.SetPointCount(1);
        for (int row = 0; row < layers; ++row) {
            TLine& line = lines[row];
            line.Name = "LAYER " + std::to_string(row + 1);
            long double pattern = 0;
            switch (layers_.Columns(0).GetInteger(row)) {
                case 1:
                case 2:
                case 3: line.Name = " CLAY "; pattern = 1; break;
                case 4: line.Name = " SAND "; pattern = 7; break;
                case 5: line.Name = " SILT "; pattern = 8; break;
                case 6: line.Name = "STRONG ROCK"; pattern = 9; break;
                case 7: line.Name = "WEAK ROCK"; pattern = 10; break;
                default: break;
            }
            line.Point(0) = {pattern, layers_.Columns(1).GetFloat(row)};
        }
        dms.WallLineCount = layers;
        lines.SetCount(layers + 2);
        lines.SetPointCount(1);
        // The project keeps English lengths in inches; the layer table and the depth axis
        // are in feet, and the wall must line up with both.
        const long double toAxis = project_.UnitSystem == 1 ? 12.0L : 1.0L;
        lines[layers].Name = "PILE";
        lines[layers].Point(0) = {0, project_.NumIncrements * project_.IncrementLength / toAxis};
        lines[layers + 1].Name = "PILE";
        lines[layers + 1].Point(0) = {0, project_.FreeHeight / toAxis};
    }

    // ---- Finishing ----

    void FinishEarthPressure() {
        TCurveSet& pressure = g_.pltLD.Lines;
        pressure.SetCount(curveCount_);
        pressure.SetPointCount(largestRecordCount_);
        if (pressure.Count() > 1) RepeatLastRecord(pressure, recordCounts_);
    }

    void FinishDepthGraphs() {
        g_.pltDef.Lines.SetCount(curveCount_);
        if (g_.pltDef.Lines.Count() <= 1) return;
        for (TCurveSet* set : NodeSets()) {
            set->SetPointCount(largestNodeCount_);
            RepeatLastRecord(*set, nodeCounts_);
        }
    }

    void SetCaptions() {
        const bool english = units_ == kUnitsEnglish;
        const std::string depth = english ? "Depth (ft)" : "Depth (m)";
        g_.pltDef.YCaption = depth;
        g_.pltMom.XCaption = english ? "Bending Moment (in-kips)" : "Bending Moment (m-kN)";
        g_.pltMom.YCaption = depth;
        g_.pltShear.XCaption = english ? "Shear (kips)" : "Shear (kN)";
        g_.pltShear.YCaption = depth;
        g_.pltSoil.YCaption = depth;
        g_.pltLD.YCaption = depth;
        TGraphPlot& dms = g_.pltDMS;
        dms.XCaption = g_.pltDef.XCaption;
        dms.YCaption = g_.pltDef.YCaption;
        dms.XUnits = g_.pltDef.XUnits;
        dms.XCaption2 = g_.pltMom.XCaption;
        dms.YCaption2 = g_.pltMom.YCaption;
        dms.XUnits2 = g_.pltMom.XUnits;
        dms.XCaption3 = g_.pltShear.XCaption;
        dms.YCaption3 = g_.pltShear.YCaption;
        dms.XUnits3 = g_.pltShear.XUnits;
    }

    // ---- Graph groups ----

    std::array<TGraphPlot*, 4> DepthGraphs() {
        return {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil};
    }
    std::array<TCurveSet*, 3> PanelSets() {
        return {&g_.pltDMS.Lines, &g_.pltDMS.Lines2, &g_.pltDMS.Lines3};
    }
    std::array<TCurveSet*, 7> NodeSets() {
        return {&g_.pltDef.Lines, &g_.pltMom.Lines,  &g_.pltShear.Lines, &g_.pltSoil.Lines,
                &g_.pltDMS.Lines, &g_.pltDMS.Lines2, &g_.pltDMS.Lines3};
    }

    TResultGraphs& g_;
    const TProgramData& project_;
    const TGridTable& layers_;
    TWordReader* in_ = nullptr;

    int units_ = 0;             // the unit code read last
    int firstStageCount_ = 1;   // S of the first section: the number of sections
    int curveCount_ = 1;        // C: curves of the stage graphs
    int largestRecordCount_ = 0;
    int largestNodeCount_ = 0;
    std::vector<int> recordCounts_;  // earth-pressure records of each stage
    std::vector<int> nodeCounts_;    // nodes of each stage
};

bool Run(TResultGraphs& graphs, const TWorkspace& workspace,
         const std::function<TWordReader()>& open,
         const std::function<void(const std::string&)>& reportError) {
    TPlotReader reader(graphs, workspace);
    reader.Clear();
    try {
        TWordReader in = open();
        reader.Read(in);
        return true;
    } catch (const EInOutError&) {
        // A blank line between the numbers raises EInOutError too and ends here.
        if (reportError) reportError(kPlotReadErrorMessage);
        return false;
    }
}

}  // namespace

bool ReadPlotFile(TResultGraphs& graphs, const TWorkspace& workspace,
                  const std::string& fileName,
                  const std::function<void(const std::string&)>& reportError) {
    return Run(graphs, workspace, [&] { return TWordReader(fileName); }, reportError);
}

bool ReadPlotFileText(TResultGraphs& graphs, const TWorkspace& workspace,
                      std::string_view text,
                      const std::function<void(const std::string&)>& reportError) {
    return Run(graphs, workspace, [&] { return TWordReader::FromText(text); }, reportError);
}

}  // namespace torvex
