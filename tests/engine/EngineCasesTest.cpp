// Whole analyses against hand calculations: supports and stages, equilibrium with moments,
// soils that start or change between nodes, weak rock under soil, and honest outcomes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

#include "Analysis.h"
#include "ResultFiles.h"
#include "soil/NodeSoils.h"
#include "PipePiles.h"
#include "SandWall.h"
#include "dataentry/ColumnTypes.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

void Row(TGridTable& t, std::initializer_list<long double> values) {
    const int r = t.RowCount();
    t.SetRowCount(r + 1);
    int c = 0;
    for (long double v : values) {
        if (t.Cell(c, r).Column().Kind() != TColumnKind::Float) t.Cell(c, r).SetInteger(static_cast<int32_t>(v));
        else t.Cell(c, r).SetFloat(v);
        ++c;
    }
}

// The tables of a new project hold a first row; the first use of a table starts it afresh.
TGridTable& Fresh(TWorkspace& w, const char* table, uint8_t& used) {
    if (!used) w.Table(table).SetRowCount(0);
    used = 1;
    return w.Table(table);
}

void Spring(TWorkspace& w, int node, long double k) {
    Fresh(w, "SoilStrength", w.Project().UseSprings);
    Row(w.Table("SoilStrength"), {1, static_cast<long double>(node), static_cast<long double>(node), k, 0});
}
void Load(TWorkspace& w, int node, long double P, long double M, long double axial) {
    Fresh(w, "BoundCond", w.Project().UseConcentratedLoads);
    Row(w.Table("BoundCond"), {1, static_cast<long double>(node), static_cast<long double>(node), P, M, axial});
}
void Restrain(TWorkspace& w, int node, int kind, long double value) {
    Fresh(w, "Soillayer", w.Project().UseRestraints);
    Row(w.Table("Soillayer"), {static_cast<long double>(kind), static_cast<long double>(node),
                               kind == 1 ? value : 0, kind == 2 ? value : 0});
}

const TCaseResult& Only(const TFileAnalysis& a) {
    EXPECT_EQ(a.cases.size(), 1u);
    return a.cases.front();
}

// A new SI project: n increments of h, one EI, widths 1, no water within reach.
TProgramData& SiProject(TWorkspace& w, int n, long double h, long double ei) {
    TProgramData& p = CreateDefaultProject(w);
    ChangeUnitSystem(w, 2);
    p.NumIncrements = n;
    p.IncrementLength = h;
    p.ActiveWidth = p.ResistanceWidth = 1;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 30;
    w.Table("PileSect").SetRowCount(1);
    w.Table("PileSect").Cell(1, 0).SetInteger(n);
    w.Table("PileSect").Cell(3, 0).SetFloat(ei);
    return p;
}

// Each case balances in force and in moment about the top, restraint reactions, springs,
// head and inner moments and axial loads included.
TEST(EngineCases, EveryCaseBalancesForcesAndMoments) {
    const std::pair<const char*, std::function<void(TWorkspace&)>> cases[] = {
        {"head moment", [](TWorkspace& w) { Load(w, 0, 0, 200000, 0); }},
        {"inner moment", [](TWorkspace& w) { Load(w, 20, 1000, -150000, 0); }},
        {"top spring", [](TWorkspace& w) { Spring(w, 0, 20000); }},
        {"tip spring and mid spring", [](TWorkspace& w) { Spring(w, 100, 5000); Spring(w, 30, 8000); }},
        {"top restraint", [](TWorkspace& w) { Restrain(w, 0, 1, 0.1); }},
        {"inner slope and deflection", [](TWorkspace& w) { Restrain(w, 10, 2, 0); Restrain(w, 10, 1, 0); }},
        {"axial load at mid-height", [](TWorkspace& w) { Load(w, 50, 2000, 0, 150000); }},
    };
    for (const auto& [name, change] : cases) {
        TWorkspace w;
        testing::SetUpSandWall(w, 100);
        change(w);
        const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "eq.tx4d"));
        ASSERT_EQ(c.outcome, TOutcome::Converged) << name << ": " << c.message;
        ASSERT_TRUE(c.equilibriumChecked) << name;
        EXPECT_LT(std::fabs(c.forceResidual), 1e-3 * c.largestLoad) << name;
        EXPECT_LT(std::fabs(c.momentResidual), 1e-3 * c.largestMoment) << name << " " << c.momentResidual;
    }
}

// No soil: a 20 ft wall clamped at its tip, a spring k and a load P at its top.
TEST(EngineCases, TopSpringCantileverThroughTheDataFile) {
    const double EI = 29e6 * 184.2, L = 240, P = 5000;
    for (const double k : {1000.0, 5000.0}) {
        TWorkspace w;
        testing::SetUpSandWall(w, 80);
        TProgramData& p = w.Project();
        p.GenerateCurves = 0;
        p.EarthPressureOption = 0;
        p.IncrementLength = 3;
        Restrain(w, 80, 1, 0);
        Restrain(w, 80, 2, 0);
        Spring(w, 0, k);
        Load(w, 0, P, 0, 0);
        const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "spring.tx4d"));
        ASSERT_EQ(c.outcome, TOutcome::Converged) << c.message;
        const double exact = P / (k + 3 * EI / (L * L * L));
        EXPECT_NEAR(c.nodes[0].y, exact, 0.005 * exact) << k;
        EXPECT_LT(std::fabs(c.forceResidual), 1e-6 * P);
        EXPECT_LT(std::fabs(c.momentResidual), 1e-6 * P * L);
    }
}

// Stages written one after the other: the excavation level and the springs of each.
std::string Staged(int increments, const std::vector<std::pair<long double, std::vector<int>>>& stages) {
    TWorkspace w;
    testing::SetUpSandWall(w, increments);
    TProgramData& p = w.Project();
    p.StageCount = static_cast<int32_t>(stages.size());
    p.ClosureTolerance = 1e-7L;
    std::string text;
    for (size_t k = 0; k < stages.size(); ++k) {
        p.CurrentStage = static_cast<int32_t>(k + 1);
        p.FreeHeight = stages[k].first;
        w.Table("SoilStrength").SetRowCount(0);
        w.Project().UseSprings = 1;
        for (int node : stages[k].second) Spring(w, node, 40000);
        text += WriteStageFileText(w);
    }
    return text;
}

// A strut carries nothing for the deflection the wall had when it went in: added with no
// further excavation it changes nothing, and a stage that changes nothing repeats the one
// before it.
TEST(EngineCases, StrutsRememberTheirInstallationDeflection) {
    struct TCase {
        const char* name;
        std::vector<std::pair<long double, std::vector<int>>> stages;
        int same[2];  // two stages with equal results
    } cases[] = {
        {"strut at the top, no excavation", {{72, {}}, {72, {0}}, {72, {0}}}, {0, 1}},
        {"strut kept, nothing else changed", {{72, {}}, {120, {10}}, {120, {10}}}, {1, 2}},
        {"top strut kept", {{60, {}}, {120, {0}}, {120, {0}}}, {1, 2}},
    };
    for (const TCase& t : cases) {
        const TFileAnalysis a = AnalyzeDataText(Staged(120, t.stages), "staged.tx4d");
        ASSERT_EQ(a.cases.size(), t.stages.size()) << t.name;
        for (const TCaseResult& c : a.cases) {
            ASSERT_EQ(c.outcome, TOutcome::Converged) << t.name << " " << c.label << ": " << c.message;
            EXPECT_LT(std::fabs(c.forceResidual), 1e-3 * c.largestLoad) << t.name << " " << c.label;
            EXPECT_LT(std::fabs(c.momentResidual), 1e-3 * c.largestMoment) << t.name << " " << c.label;
        }
        const TCaseResult& first = a.cases[static_cast<size_t>(t.same[0])];
        const TCaseResult& second = a.cases[static_cast<size_t>(t.same[1])];
        const double y = first.MaxBy(&TNodeResult::y)->y, m = first.MaxBy(&TNodeResult::moment)->moment;
        EXPECT_NEAR(second.MaxBy(&TNodeResult::y)->y, y, 1e-4 * std::fabs(y)) << t.name;
        EXPECT_NEAR(second.MaxBy(&TNodeResult::moment)->moment, m, 1e-4 * std::fabs(m)) << t.name;
        EXPECT_NE(ReportText(a).find("installed in an earlier stage at the deflection"), std::string::npos) << t.name;
    }
}

// A stage without usable deflections before it (an input error, another number of nodes)
// cannot give its new strut an installation deflection: the strut carries force from zero,
// and the case says so instead of passing it over.
TEST(EngineCases, AStrutWithoutTheStageBeforeIsWarned) {
    const std::string example = LoadTextFile(std::string(TORVEX_SOURCE_DIR) + "/examples/three-stage-excavation.tx4d");
    const size_t stage2 = example.find(" Stage No : 2"), stage3 = example.find(" Stage No : 3");
    ASSERT_TRUE(stage2 != std::string::npos && stage3 != std::string::npos);
    const struct {
        const char *from, *to, *warning;
        TOutcome second;
    } cases[] = {
        // Stage 2 without EI ends as an input error.
        {"0\t120\t1\t7.5632E9", "0\t120\t1\t0", "The stage before has no results: the springs of this stage", TOutcome::InputError},
        // Stage 2 with 60 increments of twice the length.
        {"120 3.6\t24\t1E-5\t144\r\n0\t120\t", "60 7.2\t24\t1E-5\t144\r\n0\t60\t",
         "The stage before has another number of nodes: the springs of this stage", TOutcome::Converged},
    };
    for (const auto& c : cases) {
        std::string text = example;
        const size_t at = text.find(c.from, stage2);
        ASSERT_LT(at, stage3) << c.from;
        text.replace(at, std::string(c.from).size(), c.to);
        const TFileAnalysis a = AnalyzeDataText(text, "staged.tx4d");
        ASSERT_EQ(a.cases.size(), 3u);
        EXPECT_EQ(a.cases[1].outcome, c.second) << a.cases[1].message;
        const TCaseResult& third = a.cases[2];
        ASSERT_EQ(third.outcome, TOutcome::Converged) << third.message;
        const auto warned = std::find_if(third.warnings.begin(), third.warnings.end(),
                                         [&](const std::string& w) { return w.rfind(c.warning, 0) == 0; });
        EXPECT_NE(warned, third.warnings.end()) << c.warning;
    }
    // The example as it is: stage 3 keeps the strut's installation deflection, with no warning.
    const TFileAnalysis a = AnalyzeDataText(example, "staged.tx4d");
    for (const std::string& w : a.cases[2].warnings) EXPECT_EQ(w.find("The stage before"), std::string::npos) << w;
}

// SI stick-up pile in soft clay over firmer clay: a load at the top, the soil from 2 m down,
// the layer boundary at 6 m. Returns the top deflection for n increments.
double StickUpPile(int n, long double kTop, long double kBottom, long double load) {
    TWorkspace w;
    TProgramData& p = SiProject(w, n, 12.0L / n, 30e6L * 0.0064L);
    p.FreeHeight = 2;
    p.ActiveWidth = p.ResistanceWidth = 0.6L;
    p.MaxDeflection = 2;
    p.ClosureTolerance = 1e-11L;
    p.EarthPressureOption = 0;
    p.GenerateCurves = 1;
    TGridTable& soil = w.Table("NewSoil");
    soil.SetRowCount(2);
    const long double layers[2][4] = {{6, 15, 25, kTop}, {20, 18, 60, kBottom}};  // bottom, gamma, c, k
    for (int r = 0; r < 2; ++r) {
        soil.Cell(0, r).SetInteger(1);
        soil.Cell(1, r).SetFloat(layers[r][0]);
        TGridTable& par = soil.Cell(2, r).AsTable();
        for (int row = 0; row < 2; ++row) {
            par.Cell(0, row).SetFloat(layers[r][1]);
            par.Cell(1, row).SetFloat(layers[r][2]);
            par.Cell(2, row).SetFloat(0.01L);
            par.Cell(3, row).SetFloat(layers[r][3]);
        }
    }
    Load(w, 0, load, 0, 0);
    const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "stickup.tx4d"));
    EXPECT_EQ(c.outcome, TOutcome::Converged) << n << ": " << c.message;
    return c.nodes.empty() ? 0.0 : c.nodes[0].y;
}

// With a small load the soil stays on its initial k z lines (k triples at the layer
// boundary), so no kink of a curve blurs the order: each doubling of the increments shrinks
// the change of the top deflection fourfold, the second order of the differences.
TEST(EngineCases, StickUpPileConvergesWithTheSecondOrder) {
    std::vector<double> tops;
    for (const int n : {60, 120, 240, 480}) tops.push_back(StickUpPile(n, 2000, 6000, 20));
    const double d1 = tops[1] - tops[0], d2 = tops[2] - tops[1], d3 = tops[3] - tops[2];
    EXPECT_LT(std::fabs(d1), 0.005 * std::fabs(tops[1]));
    EXPECT_NEAR(d1 / d2, 4.0, 0.3) << d1 << " " << d2;
    EXPECT_NEAR(d2 / d3, 4.0, 0.3) << d2 << " " << d3;
}

// Matlock's curve without k starts with p at the excavation level itself, where the node
// carries soil on its lower half only. Taken whole there the deflection converged with the
// first order (halving changes, 2 % at n = 60); shared, the first doubling changes it by
// 0.03 %, and each change is less than a third of the one before (the curve's cube root
// where the deflection passes through zero keeps the ratio below four).
TEST(EngineCases, StickUpPileInSoftClayWithoutK) {
    std::vector<double> tops;
    for (const int n : {60, 120, 240, 480}) tops.push_back(StickUpPile(n, 0, 0, 20));
    const double d1 = tops[1] - tops[0], d2 = tops[2] - tops[1], d3 = tops[3] - tops[2];
    EXPECT_LT(std::fabs(d1), 0.0005 * std::fabs(tops[1]));
    EXPECT_GT(d1 / d2, 3.0);
    EXPECT_GT(d2 / d3, 3.0);
}

// A short pile in sand under a top load far beyond what the sand can carry (the sand's whole
// ultimate resistance over 10 ft is a few kips): the soil cannot hold it, whatever the mesh
// and the allowable deflection.
TEST(EngineCases, AWallTheSoilCannotHoldExceedsTheDeflection) {
    for (const int n : {100, 2000})
        for (const long double allowed : {24.0L, 1e6L}) {
            TWorkspace w;
            testing::SetUpSandWall(w, n, 0);
            TProgramData& p = w.Project();
            p.IncrementLength = 120.0L / n;
            p.MaxDeflection = allowed;
            p.EarthPressureOption = 0;
            Load(w, 0, 1e6L, 0, 0);
            const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "overloaded.tx4d"));
            EXPECT_EQ(c.outcome, TOutcome::DeflectionExceeded) << n << " " << static_cast<double>(allowed) << ": "
                                                                << c.message;
        }
}

// A unit weight of 1e308 typed by mistake: the case ends as an input error that names it, and
// no plot file is written.
TEST(EngineCases, ANumberThatIsNotFiniteIsAnInputError) {
    TWorkspace w;
    testing::SetUpSandWall(w, 50);
    for (int r = 0; r < 2; ++r) w.Table("NewSoil").Cell(2, 0).AsTable().Cell(0, r).SetFloat(1e308L);
    const TFileAnalysis a = AnalyzeDataText(WriteDataFileText(w), "huge.tx4d");
    const TCaseResult& c = Only(a);
    EXPECT_EQ(c.outcome, TOutcome::InputError);
    // 100 kN/m3, the heaviest soil or rock, is 0.36839585 lbs/in3; 1e308 pcf is 1e308/1728 lbs/in3.
    EXPECT_EQ(c.message, "Soil layer 1 (top): the unit weight must be between 0 and 0.36839585 lbs/in^3; "
                         "the input gives 5.787037e+304 lbs/in^3.");
    EXPECT_TRUE(c.nodes.empty());
    EXPECT_EQ(PlotFileText(a).find("nan"), std::string::npos);
}

// The closure tolerance against the converged deflection: 1/1000 of it and finer is quiet.
TEST(EngineCases, ACoarseClosureToleranceIsWarned) {
    for (const long double tolerance : {1e-6L, 0.05L}) {
        TWorkspace w;
        testing::SetUpSandWall(w, 100);
        w.Project().ClosureTolerance = tolerance;
        const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "coarse.tx4d"));
        ASSERT_EQ(c.outcome, TOutcome::Converged);
        const double y = c.MaxBy(&TNodeResult::y)->y;
        bool warned = false;
        for (const std::string& warning : c.warnings) warned = warned || warning.find("coarse for this wall") != std::string::npos;
        EXPECT_EQ(warned, tolerance > 1e-3 * y) << static_cast<double>(tolerance) << " " << y;
    }
    // Without earth pressure nothing loads the wall: no tolerance can be measured against a
    // deflection of zero, and the warning says what to check instead.
    TWorkspace w;
    testing::SetUpSandWall(w, 100);
    w.Project().EarthPressureOption = 0;
    const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "still.tx4d"));
    ASSERT_EQ(c.outcome, TOutcome::Converged);
    EXPECT_EQ(c.MaxBy(&TNodeResult::y)->y, 0.0);
    EXPECT_EQ(c.warnings, std::vector<std::string>{"The wall does not move: every deflection is zero. If it should "
                                                   "carry loads, check the earth pressure options, the surcharges "
                                                   "and the concentrated loads."});
}

// The case the engine builds from the workspace, through the data file.
TWallInput Input(TWorkspace& w) {
    TWorkspace read;
    ReadDataFileText(read, WriteDataFileText(w), "input.tx4d", 1);
    return BuildWallInput(read, TTerm::Short);
}

// SI wall of 0.9 m piles, excavation at 5 m, increments of 0.1 m; layers given as
// (type, bottom, parameters at the top, parameters at the bottom).
struct TLayerRows {
    int type;
    long double bottom;
    std::vector<long double> top, bottom_;
};
void SiWall(TWorkspace& w, const std::vector<TLayerRows>& layers) {
    TProgramData& p = SiProject(w, 150, 0.1L, 1e6L);
    p.FreeHeight = 5;
    p.ActiveWidth = 1.2L;
    p.ResistanceWidth = 0.9L;
    p.EarthPressureOption = 2;
    p.GenerateCurves = 1;
    TGridTable& soil = w.Table("NewSoil");
    soil.SetRowCount(static_cast<int>(layers.size()));
    for (size_t r = 0; r < layers.size(); ++r) {
        soil.Cell(0, static_cast<int>(r)).SetInteger(layers[r].type);
        soil.Cell(1, static_cast<int>(r)).SetFloat(layers[r].bottom);
        TGridTable& par = soil.Cell(2, static_cast<int>(r)).AsTable();
        for (int c = 0; c < static_cast<int>(layers[r].top.size()); ++c) {
            par.Cell(c, 0).SetFloat(layers[r].top[static_cast<size_t>(c)]);
            par.Cell(c, 1).SetFloat(layers[r].bottom_[static_cast<size_t>(c)]);
        }
    }
}

// Weak rock (qu 5000 kPa, krm 0.0005, Eir 500 MPa, RQD 50 %: alpha_r = 1 - 2/3 x 0.5 = 2/3)
// under sand: at the rock surface pur = alpha_r qu b = 2/3 x 5000 x 0.9 = 3000 kN/m, 1 m into
// the rock pur = 3000 (1 + 1.4 x 1 / 0.9) = 7666.67 kN/m. Rock that starts above the
// excavation level is measured from the excavation level.
TEST(EngineCases, WeakRockDepthIsMeasuredFromTheRockSurface) {
    const std::vector<long double> sand{19, 35, 0}, rock{22, 5000, 0.0005L, 500000, 50};
    struct TCase {
        long double rockTop;
        int node;
        double share, pur;
    } cases[] = {{7, 70, 0.5, 3000}, {7, 80, 1.0, 3000 * (1 + 1.4 / 0.9)}, {3, 50, 0.5, 3000}, {3, 60, 1.0, 3000 * (1 + 1.4 * 1 / 0.9)}};
    for (const TCase& t : cases) {
        TWorkspace w;
        SiWall(w, {{4, t.rockTop, sand, sand}, {7, 20, rock, rock}});
        const TWallInput in = Input(w);
        std::vector<std::string> warnings;
        const TNodeSoils soils = NodeSoils(in, warnings);
        const TNodeSoil& node = soils[static_cast<size_t>(t.node)];
        const TNodeSoil::TPart* part = nullptr;
        for (const TNodeSoil::TPart& candidate : node.parts)
            if (candidate.soil.type == TPyCriterion::WeakRock) part = &candidate;
        ASSERT_NE(part, nullptr) << t.node;
        EXPECT_DOUBLE_EQ(part->weight, t.share) << t.node;
        EXPECT_NEAR(PyResistance(part->soil, 10.0), t.pur, 1e-9 * t.pur) << static_cast<double>(t.rockTop) << " " << t.node;
    }
}

// A layer's two parameter rows are its values at the top and at the bottom: soft clay from
// 0 to 10 m, unit weight 16 to 20 kN/m3, c 20 to 60 kPa. At 7.5 m c = 20 + 40 x 0.75 = 50
// kPa, and the excavation-side stress from 5 m is the mean unit weight 18.5 times 2.5 m =
// 46.25 kPa. A row of zeros takes the other row's values, with a warning.
TEST(EngineCases, SoilParametersVaryLinearlyThroughTheLayer) {
    TWorkspace w;
    SiWall(w, {{1, 10, {16, 20, 0.01L, 0}, {20, 60, 0.01L, 0}}, {1, 20, {20, 60, 0.01L, 0}, {0, 0, 0, 0}}});
    const TWallInput in = Input(w);
    std::vector<std::string> warnings;
    const TNodeSoils soils = NodeSoils(in, warnings);
    ASSERT_EQ(soils[75].parts.size(), 1u);
    const TPySoil& s = soils[75].parts[0].soil;
    EXPECT_NEAR(s.c, 50, 1e-9);
    EXPECT_NEAR(s.sigmaV, 46.25, 1e-9);
    ASSERT_EQ(soils[140].parts.size(), 1u);
    EXPECT_NEAR(soils[140].parts[0].soil.c, 60, 1e-9);
    // The node on the boundary at 10 m carries both layers, each at that depth.
    ASSERT_EQ(soils[100].parts.size(), 2u);
    EXPECT_DOUBLE_EQ(soils[100].parts[0].weight, 0.5);
    EXPECT_NEAR(soils[100].parts[0].soil.c, 60, 1e-9);
    bool warned = false;
    for (const std::string& warning : in.warnings)
        warned = warned || warning == "Soil layer 2: the parameter row at the layer's bottom is all zeros; it takes the "
                                      "values of the top row.";
    EXPECT_TRUE(warned);
}

// The surcharge table's distance and width are in mm in SI units and plain lengths otherwise.
TEST(EngineCases, SurchargeDistancesInEachUnitSystem) {
    for (const auto& [units, entered, metres] : {std::tuple{2, 2000.0L, 2.0}, std::tuple{3, 2.0L, 2.0}}) {
        TWorkspace w;
        SiWall(w, {{4, 20, {19, 35, 0}, {19, 35, 0}}});
        if (units == 3) ChangeUnitSystem(w, 3);
        w.Project().UseSurcharges = 1;
        TGridTable& s = w.Table("SurchargeTable");
        s.SetRowCount(1);
        s.Cell(0, 0).SetInteger(3);
        s.Cell(1, 0).SetFloat(10);
        s.Cell(2, 0).SetFloat(entered);
        s.Cell(3, 0).SetFloat(entered);
        const TWallInput in = Input(w);
        ASSERT_EQ(in.surcharges.size(), 1u);
        EXPECT_DOUBLE_EQ(in.surcharges[0].distance, metres) << units;
        EXPECT_DOUBLE_EQ(in.surcharges[0].width, metres) << units;
    }
}

// A cantilever clamped at its tip, no soil, a uniform line load w on the lower part from
// depth a to the tip, c = L - a: the top deflects w c^3 (4 L - c) / (24 EI). The load starts
// between two nodes.
TEST(EngineCases, PartialLoadStartingBetweenNodes) {
    const double L = 10, EI = 50000, w0 = 12;
    for (const double a : {3.33, 6.07}) {
        TWorkspace w;
        TProgramData& p = SiProject(w, 100, 0.1L, EI);
        p.GenerateCurves = 0;
        p.UseDistributedLoad = 1;
        TGridTable& table = w.Table("DistLoad");
        table.SetRowCount(2);
        table.Cell(0, 0).SetFloat(a);
        table.Cell(1, 0).SetFloat(w0);
        table.Cell(0, 1).SetFloat(L);
        table.Cell(1, 1).SetFloat(w0);
        Restrain(w, 100, 1, 0);
        Restrain(w, 100, 2, 0);
        const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "partial.tx4d"));
        ASSERT_EQ(c.outcome, TOutcome::Converged) << c.message;
        const double loaded = L - a, exact = w0 * loaded * loaded * loaded * (4 * L - loaded) / (24 * EI);
        EXPECT_NEAR(c.nodes[0].y, exact, 1e-3 * exact) << a;
        EXPECT_LT(std::fabs(c.forceResidual), 1e-9 * w0 * loaded);
    }
}

}  // namespace
}  // namespace torvex::engine

namespace torvex::engine {
namespace {

// The Newton iteration closes on the answer: stopped by a tolerance of 1e-6 m the piles lie
// within it of the answer at 1e-12 m, which costs only a few more solves (quadratic closure;
// a secant iteration creeps and stops short by more than its tolerance). A pile in stiff clay
// with free water driven past the curves' peak softens at the top: those nodes take the
// secant, and the answer is as close.
TEST(NewtonIteration, ClosesQuadraticallyAlsoWhereTheSoilSoftens) {
    using testing::TPipePile;
    for (const int pile : {0, 1, 2, 3}) {
        double tops[2] = {0, 0};
        int solves[2] = {0, 0};
        for (const int tight : {0, 1}) {
            TWorkspace w;
            testing::SetUpPipePile(w, pile == 3 ? TPipePile::Sand300 : static_cast<TPipePile>(pile));
            if (pile == 3) {  // stiff clay with free water: c 100 kPa, e50 0.005, k 135000 kN/m3
                w.Table("NewSoil").Cell(0, 0).SetInteger(2);
                TGridTable& par = w.Table("NewSoil").Cell(2, 0).AsTable();
                par.SetRowCount(2);
                for (int r = 0; r < 2; ++r)
                    for (const auto& [c, v] : {std::pair{0, 9.0L}, {1, 100.0L}, {2, 0.005L}, {3, 135000.0L}})
                        par.Cell(c, r).SetFloat(v);
            }
            if (tight) w.Project().ClosureTolerance = 1e-12L;
            const TCaseResult c = Only(AnalyzeDataText(WriteDataFileText(w), "pile.tx4d"));
            ASSERT_EQ(c.outcome, TOutcome::Converged) << pile << ": " << c.message;
            EXPECT_LT(std::fabs(c.forceResidual), 1e-6 * c.largestLoad) << pile;
            EXPECT_LT(std::fabs(c.momentResidual), 1e-6 * c.largestMoment) << pile;
            tops[tight] = c.nodes[0].y;
            solves[tight] = c.iterations;
        }
        EXPECT_NEAR(tops[0], tops[1], 1e-6) << pile;
        // The secant iteration took 24 solves on the clay pile; Newton that does not fall back to
        // the secant after a step that failed cycles there until its 200th iteration.
        if (pile < 3) {
            EXPECT_LE(solves[1], solves[0] + 3) << pile;
        }
        if (pile < 3) EXPECT_LT(solves[0], 20) << pile;
        else EXPECT_GT(tops[1], 6 * 0.2 * 0.005 * 0.61);  // past 6 As y50 at the top
    }
}

}  // namespace
}  // namespace torvex::engine
