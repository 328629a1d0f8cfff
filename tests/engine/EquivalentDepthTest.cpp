// Layered soils by Georgiadis' equivalent depth against the hand calculation of a two-layer
// clay, and a layered pile under cyclic load: its mesh convergence and its equilibrium.

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "Analysis.h"
#include "ResultFiles.h"
#include "dataentry/ColumnTypes.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"
#include "soil/EquivalentDepth.h"
#include "soil/NodeSoils.h"
#include "soil/PyCriteria.h"

namespace torvex::engine {
namespace {

// Matlock soft clay, b = 0.6 m, J = 0.5, the excavation level at the wall top:
//   layer 1, 0-3 m: c 15 kPa, gamma' 7 kN/m3: pu = (3 + 7 s/15 + 0.5 s/0.6) 9 = 27 + 11.7 s;
//     its integral over 3 m is 27 x 3 + 11.7 x 4.5 = 133.65 kN;
//   layer 2: c 60 kPa, gamma' 9 kN/m3: pu = (3 + 9 s/60 + 0.5 s/0.6) 36 = 108 + 35.4 s;
//     108 h + 17.7 h^2 = 133.65 gives h_top = 1.0551 m and pu = 145.35 kN/m there; at the
//     true depth 3 m with the true overburden 21 kPa pu is (3 + 0.35 + 2.5) 36 = 210.6 kN/m.
double MatlockPu(double c, double gamma, double s) {
    TPySoil soil;
    soil.type = TPyCriterion::SoftClay;
    soil.b = 0.6;
    soil.c = c;
    soil.z = s;
    soil.sigmaV = gamma * s;
    return PyUltimateResistance(soil);
}

TEST(EquivalentDepth, TwoLayerClayByHand) {
    EXPECT_NEAR(CumulativeResistance([](double s) { return MatlockPu(15, 7, s); }, 0, 3), 133.65, 1e-3 * 133.65);
    const double h = EquivalentTopDepth([](double s) { return MatlockPu(60, 9, s); }, 133.65, 0.6);
    EXPECT_NEAR(h, 1.0551, 1e-3 * 1.0551);
    EXPECT_NEAR(MatlockPu(60, 9, h), 145.35, 1e-3 * 145.35);
    EXPECT_EQ(EquivalentTopDepth([](double s) { return MatlockPu(60, 9, s); }, 0, 0.6), 0.0);
}

// The two-layer clay as a 12 m pile in a data file (water far below, so gamma' = gamma).
void LayeredPile(TWorkspace& w, int n, bool layered, bool cyclic, long double load, long double k = 0) {
    TProgramData& p = CreateDefaultProject(w);
    ChangeUnitSystem(w, 2);
    p.Title = "Layered pile";
    p.NumIncrements = n;
    p.IncrementLength = 12.0L / n;
    p.FreeHeight = 0;
    p.ActiveWidth = p.ResistanceWidth = 0.6L;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 100;
    p.MaxDeflection = 5;
    p.ClosureTolerance = 1e-8L;
    p.EarthPressureOption = 0;
    p.GenerateCurves = 1;
    p.Options.LayeredSoil = layered ? 1 : 0;
    p.Options.CyclicLoading = cyclic ? 1 : 0;
    TGridTable& sect = w.Table("PileSect");
    sect.SetRowCount(1);
    sect.Cell(1, 0).SetInteger(n);
    sect.Cell(3, 0).SetFloat(100000);
    TGridTable& soil = w.Table("NewSoil");
    soil.SetRowCount(2);
    const long double rows[2][4] = {{7, 15, 0.02L, k}, {9, 60, 0.007L, 3 * k}};
    for (int r = 0; r < 2; ++r) {
        soil.Cell(0, r).SetInteger(1);
        soil.Cell(1, r).SetFloat(r == 0 ? 3 : 12);
        TGridTable& par = soil.Cell(2, r).AsTable();
        for (int row = 0; row < 2; ++row)
            for (int c = 0; c < 4; ++c) par.Cell(c, row).SetFloat(rows[r][c]);
    }
    p.UseConcentratedLoads = 1;
    TGridTable& loads = w.Table("BoundCond");
    loads.SetRowCount(1);
    const long double row[6] = {1, 0, 0, load, 0, 0};
    for (int c = 0; c < 6; ++c) {
        if (loads.Cell(c, 0).Column().Kind() != TColumnKind::Float) loads.Cell(c, 0).SetInteger(static_cast<int32_t>(row[c]));
        else loads.Cell(c, 0).SetFloat(row[c]);
    }
}

// The node at 3 m carries both layers; layer 2's share is taken at the equivalent depth.
TEST(EquivalentDepth, NodeSoilsTakeLayerTwoAtItsEquivalentDepth) {
    struct TCase {
        bool layered;
        double z, pu;
    } const cases[] = {{true, 1.0551, 145.35}, {false, 3.0, 210.6}};
    for (const TCase& t : cases) {
        TWorkspace w;
        LayeredPile(w, 100, t.layered, false, 50);
        TWorkspace read;
        ReadDataFileText(read, WriteDataFileText(w), "layered.tx4d", 1);
        TWallInput in = BuildWallInput(read, TTerm::Short);
        in.soil = SoilOptions(read.Project().Options);
        std::vector<std::string> warnings, models;
        const TNodeSoils soils = NodeSoils(in, warnings, models);
        ASSERT_EQ(soils[25].parts.size(), 2u);
        const TPySoil& second = soils[25].parts[1].soil;
        EXPECT_NEAR(second.z, t.z, 1e-3 * t.z) << t.layered;
        EXPECT_NEAR(PyUltimateResistance(second), t.pu, 1e-3 * t.pu) << t.layered;
        // Three metres further down: h_eq = 4.0551 m, pu = 108 + 35.4 x 4.0551 = 251.55 kN/m.
        if (t.layered) {
            EXPECT_NEAR(PyUltimateResistance(soils[50].parts[0].soil), 251.55, 1e-3 * 251.55);
        }
        EXPECT_EQ(models.size(), t.layered ? 1u : 0u);
        if (t.layered && !models.empty()) {
            EXPECT_NE(models[0].find("top at 1.055"), std::string::npos) << models[0];
        }
    }
}

double TopDeflection(int n, bool layered, bool cyclic, long double load, double* residual = nullptr, long double k = 0) {
    TWorkspace w;
    LayeredPile(w, n, layered, cyclic, load, k);
    const TFileAnalysis a = AnalyzeDataText(WriteDataFileText(w), "layered.tx4d");
    EXPECT_EQ(a.cases.size(), 1u);
    if (a.cases.empty()) return 0;
    const TCaseResult& c = a.cases[0];
    EXPECT_EQ(c.outcome, TOutcome::Converged) << n << ": " << c.message;
    if (residual) *residual = std::max(std::fabs(c.forceResidual) / c.largestLoad, std::fabs(c.momentResidual) / c.largestMoment);
    return c.nodes.empty() ? 0.0 : c.nodes[0].y;
}

// The layered pile under a cyclic head load, with k = 5000 and 15000 kN/m3 in the two layers
// (the second at its equivalent depth) and a head load of 10 kN, so that the soil stays on
// the smooth part of its curves: each doubling of the increments shrinks the change of the
// top deflection fourfold, as for the static piles, and the balance holds to 0.1 %.
TEST(EquivalentDepth, LayeredCyclicPileConvergesWithTheSecondOrder) {
    std::vector<double> tops;
    for (const int n : {100, 200, 400, 800}) {
        double residual = 1;
        tops.push_back(TopDeflection(n, true, true, 10, &residual, 5000));
        EXPECT_LT(residual, 1e-3) << n;
    }
    const double d1 = tops[1] - tops[0], d2 = tops[2] - tops[1], d3 = tops[3] - tops[2];
    EXPECT_LT(std::fabs(d1), 0.005 * std::fabs(tops[1]));
    EXPECT_NEAR(d1 / d2, 4.0, 0.3) << d1 << " " << d2;
    EXPECT_NEAR(d2 / d3, 4.0, 0.3) << d2 << " " << d3;
}

// 250 kN at the head moves it 0.17 m, beyond 3 y50 = 0.09 m of layer 1, onto the cyclic
// plateau and the falling branch. The kinks of the curve between nodes blur the order, but
// every doubling changes the top deflection by less than 0.05 %, and the balance holds.
// The weaker equivalent layer 2 (pu 145 instead of 211 kN/m at its top) lets the pile move
// further than the layers at their true depths do.
TEST(EquivalentDepth, LayeredCyclicPileBeyondThePlateau) {
    std::vector<double> tops;
    for (const int n : {100, 200, 400}) {
        double residual = 1;
        tops.push_back(TopDeflection(n, true, true, 250, &residual));
        EXPECT_LT(residual, 1e-3) << n;
    }
    EXPECT_GT(tops[0], 0.09);
    EXPECT_LT(std::fabs(tops[1] - tops[0]), 5e-4 * tops[1]);
    EXPECT_LT(std::fabs(tops[2] - tops[1]), 5e-4 * tops[1]);
    const double trueDepths = TopDeflection(200, false, true, 250);
    std::cout << "top deflection with equivalent depths " << tops[1] << " m, at true depths " << trueDepths << " m\n";
    EXPECT_GT(tops[1], trueDepths);
}

// Cyclic loading names its models: layer 1 by Matlock with z_r = 6 x 15 x 0.6 / (7 x 0.6 +
// 0.5 x 15) = 4.61538 m; layer 2 made stiff clay with free water keeps its static curve, warned.
TEST(EquivalentDepth, CyclicRunNamesItsModels) {
    TWorkspace w;
    LayeredPile(w, 100, false, true, 50);
    w.Table("NewSoil").Cell(0, 1).SetInteger(2);
    TGridTable& par = w.Table("NewSoil").Cell(2, 1).AsTable();
    for (int row = 0; row < 2; ++row) {
        par.Cell(0, row).SetFloat(9);
        par.Cell(1, row).SetFloat(60);
    }
    const TFileAnalysis a = AnalyzeDataText(WriteDataFileText(w), "cyclic.tx4d");
    const std::string notes = RunNotesText(a), report = ReportText(a);
    for (const std::string& text : {notes, report}) {
        EXPECT_NE(text.find("Soil layer 1 (soft clay): cyclic curves of Matlock (1970), z_r = 6 c b / (gamma' b + 0.5 c) = "
                            "4.61538 m"), std::string::npos) << text;
        EXPECT_NE(text.find("Soil layer 2 (stiff clay with free water): no cyclic form"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace torvex::engine
