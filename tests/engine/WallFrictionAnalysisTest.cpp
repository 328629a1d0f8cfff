// The earth-pressure method, wall friction and the net pressure below the excavation in the
// analysis: driving pressures against hand values, limit-equilibrium embedments against the
// pivot and free-earth-support methods worked here by direct integration, the warnings, and
// the anchored soft-clay wall lengthened to 24 m.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>

#include "Analysis.h"
#include "project/DataFileReader.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"
#include "soil/DrivingLoads.h"

namespace torvex::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr auto kAnnexC = TEarthPressureMethod::EC7AnnexC, kCoulomb = TEarthPressureMethod::Coulomb;

// Coulomb's horizontal active coefficient, level ground: cos2 phi / [1 + sqrt(sin(phi + d) sin phi / cos d)]^2.
double CoulombKa(double phi, double delta) {
    const double p = phi * kPi / 180, d = delta * kPi / 180;
    return std::pow(std::cos(p) / (1 + std::sqrt(std::sin(p + d) * std::sin(p) / std::cos(d))), 2);
}

// 10 m in 0.5 m increments, excavation 6 m, dry; soil, method and options set by each case.
TEST(WallFrictionDriving, PressuresByMethodAndNetBelowTheExcavation) {
    const struct {
        TEarthPressureMethod method;
        double friction, slope, q;
        bool net, clay;
        double x, soil, surcharge;
    } cases[] = {
        {kAnnexC, 0.6666667, 0, 0, false, false, 4, 0.285224 * 18 * 4, 0},  // Annex C, delta 20: 0.2852
        {kAnnexC, 0.6666667, 0, 0, false, false, 8, 0.285224 * 18 * 8, 0},
        {kCoulomb, 0.5, 0, 10, false, false, 8, CoulombKa(30, 15) * 18 * 8, CoulombKa(30, 15) * 10},
        {kCoulomb, 0, 10, 0, false, false, 5, 0.373679 * 18 * 5, 0},  // 0.3737, on sigma_v' (no cos beta)
        {TEarthPressureMethod::Rankine, 0, 0, 10, true, false, 4, 18 * 4 / 3.0, 10 / 3.0},
        {TEarthPressureMethod::Rankine, 0, 0, 10, true, false, 8, 18 * (8 - 2) / 3.0, 10 / 3.0},  // Ka 18 x - Ka 18 (x - 6)
        {kAnnexC, 1, 0, 0, true, true, 8, 16 * 8 - 40, 0},                 // clay c 20: front max(16 x 2 - 40, 0) = 0
        {kAnnexC, 1, 0, 0, true, true, 10, (16 * 10 - 40) - (16 * 4 - 40), 0},
    };
    for (const auto& c : cases) {
        DrivingLoadInput in;
        for (int i = 0; i <= 20; ++i) in.nodeDepths.push_back(0.5 * i);
        in.pressureMode = kTriangularPressure;
        in.freeHeight = 6;
        in.waterDepthBackfill = in.waterDepthExcavation = 100;
        in.waterUnitWeight = 9.81;
        in.backfillSurcharge = c.q;
        in.backfillSlope = c.slope;
        in.pressureMethod = c.method;
        in.wallFriction = c.friction;
        in.netBelowExcavation = c.net;
        in.layers = {c.clay ? SoilLayer{20, kSoftClay, 16, 20, 0} : SoilLayer{20, kSand, 18, 0, 30}};
        const DrivingLoads r = ComputeDrivingLoads(in);
        const size_t node = static_cast<size_t>(std::lround(2 * c.x));
        EXPECT_NEAR(r.soilPressure[node], c.soil, 2e-6 * c.soil) << c.x << " " << static_cast<int>(c.method);
        EXPECT_NEAR(r.surchargePressure[node], c.surcharge, 2e-6 * c.surcharge + 1e-12) << c.x;
        // Where the net is uniform, each node's share is that net too.
        if (c.net && !c.clay) {
            EXPECT_NEAR(r.nodeLineLoad[19], 36 + 10 / 3.0, 1e-9);
        }
    }
}

// Dry sand, gamma 15.3 and phi 29.2561 (the design angle of DA1-C2 for phi'k 35), SI units.
std::string SandWall(double H, double embedment, double anchor, const TProjectOptions& options) {
    TWorkspace w;
    TProgramData& p = CreateDefaultProject(w);
    ChangeUnitSystem(w, 2);
    const int increments = static_cast<int>(std::lround((H + embedment) / 0.025));
    p.NumIncrements = increments;
    p.IncrementLength = (H + embedment) / increments;
    p.MaxDeflection = 5;
    p.FreeHeight = H;
    p.ActiveWidth = p.ResistanceWidth = 1;
    p.WaterDepthBackfill = p.WaterDepthExcavation = 60;
    p.EarthPressureOption = 2;
    p.Options = options;
    w.Table("PileSect").Cell(1, 0).SetInteger(increments);
    w.Table("PileSect").Cell(3, 0).SetFloat(2e5L);
    TGridTable& soil = w.Table("NewSoil");
    soil.Cell(0, 0).SetInteger(4);
    soil.Cell(1, 0).SetFloat(60);
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 3; ++col) soil.Cell(2, 0).AsTable().Cell(col, r).SetFloat(std::array{15.3, 29.2561, 2e4}[col]);
    if (anchor > 0) {
        p.UseRestraints = 1;
        w.Table("Soillayer").SetRowCount(1);
        w.Table("Soillayer").Cell(0, 0).SetInteger(1);
        w.Table("Soillayer").Cell(1, 0).SetInteger(static_cast<int>(std::lround(anchor / p.IncrementLength)));
        w.Table("Soillayer").Cell(2, 0).SetFloat(0);
    }
    return WriteDataFileText(w);
}

// Simpson's rule on 400 panels (exact on the linear pieces it is given).
double Integral(const std::function<double(double)>& f, double a, double b) {
    const int n = 400;
    double sum = f(a) + f(b);
    for (int i = 1; i < n; ++i) sum += (i % 2 ? 4 : 2) * f(a + (b - a) * i / n);
    return sum * (b - a) / (3 * n);
}

double Bisect(const std::function<bool(double)>& below, double lo, double hi) {
    for (int k = 0; k < 60; ++k) (below((lo + hi) / 2) ? lo : hi) = (lo + hi) / 2;
    return (lo + hi) / 2;
}

// The embedment below H at which the wall just balances, by hand: above a cantilever's pivot
// Ka gamma z - Kp gamma (z - H), below it Kp gamma z - Ka gamma (z - H); with an anchor at xa,
// moments about it of the first alone.
double HandEmbedment(double ka, double kp, double H, double xa) {
    const double g = 15.3;
    const auto above = [&](double z) { return ka * g * z - (z > H ? kp * g * (z - H) : 0.0); };
    const auto below = [&](double z) { return kp * g * z - ka * g * (z - H); };
    const auto piecewise = [&](const std::function<double(double)>& f, double a, double b) {
        return a < H && b > H ? Integral(f, a, H) + Integral(f, H, b) : Integral(f, a, b);
    };
    const auto holds = [&](double tip) {
        if (xa > 0) return piecewise([&](double z) { return above(z) * (z - xa); }, 0, tip) < 0;
        const auto force = [&](double zp) { return piecewise(above, 0, zp) + Integral(below, zp, tip); };
        const double zp = Bisect([&](double z) { return force(z) > 0; }, H, tip);
        return piecewise([&](double z) { return above(z) * z; }, 0, zp) + Integral([&](double z) { return below(z) * z; }, zp, tip) > 0;
    };
    return Bisect([&](double tip) { return !holds(tip); }, H, H + 15) - H;
}

TEST(WallFrictionLimitEquilibrium, AnnexCEmbedmentsMatchTheHandMethods) {
    TProjectOptions o;
    o.EarthPressureMethod = kAnnexC;
    o.WallFrictionActive = 0.6666667L;
    o.WallFrictionPassive = 0.5L;
    o.TargetSafetyFactor = 1;
    const double ka = 0.29449, kp = 4.10212;  // Annex C at phi 29.2561, delta 2/3 phi and phi/2
    EXPECT_NEAR(HandEmbedment(ka, kp, 3.85, 0), 2.8954, 0.5e-4);  // the worked check of DA1-C2
    for (const double anchor : {0.0, 1.5})
        for (const double divisor : {1.0, 1.4}) {
            const double H = anchor > 0 ? 6 : 3.85;
            const TFileAnalysis a = AnalyzeDataText(SandWall(H, 4, anchor, o), "sand.tx4d");
            ASSERT_EQ(a.cases.size(), 1u) << a.error;
            const TLimitEquilibrium le = AnalyzeLimitEquilibrium(a.cases[0].input, 1, divisor);
            ASSERT_TRUE(le.requiredFound);
            const double hand = HandEmbedment(ka, kp / divisor, H, anchor);
            EXPECT_NEAR(le.requiredEmbedment, hand, 0.005 * hand) << anchor << " " << divisor;
            if (divisor == 1) {
                EXPECT_EQ(le.requiredEmbedment, a.cases[0].le.requiredEmbedment);
            }
        }
}

TEST(WallFrictionLimitEquilibrium, WarningsAndInputErrors) {
    TProjectOptions rankine, coulomb, steep;
    rankine.WallFrictionPassive = coulomb.WallFrictionPassive = 0.5L;
    coulomb.EarthPressureMethod = kCoulomb;
    steep.EarthPressureMethod = kAnnexC;
    const auto run = [](const TProjectOptions& o, double slope = 0) {
        std::string text = SandWall(3.85, 4, 0, o);
        TWorkspace w;
        ReadDataFileText(w, text, "sand.tx4d", 1);
        w.Project().BackfillSlope = slope;
        return AnalyzeDataText(WriteDataFileText(w), "sand.tx4d").cases.at(0);
    };
    const TCaseResult plain = run({}), ignored = run(rankine), warned = run(coulomb), refused = run(steep, 30);
    const auto has = [](const TCaseResult& c, const std::string& text) {
        return std::find(c.warnings.begin(), c.warnings.end(), text) != c.warnings.end();
    };
    EXPECT_TRUE(has(ignored, "Wall friction is ignored with Rankine's coefficients; choose Coulomb or EC7-AnnexC as the "
                             "EarthPressureMethod to use it."));
    EXPECT_EQ(ignored.le.requiredEmbedment, plain.le.requiredEmbedment);
    EXPECT_EQ(ignored.nodes[0].y, plain.nodes[0].y);
    EXPECT_TRUE(has(warned, "The passive wall friction 0.5 phi exceeds phi/3: Coulomb's plane failure surfaces then "
                            "overestimate the passive resistance (EN 1997-1 9.5.3(2)); choose EC7-AnnexC or "
                            "WallFrictionPassive 0.333 or less."));
    EXPECT_EQ(refused.outcome, TOutcome::InputError);
    EXPECT_EQ(refused.message, "Soil layer 1 (sand): EN 1997-1 Annex C needs |beta| <= phi and delta <= phi: here phi = "
                               "29.2561 deg and beta = 30 deg.");
}

// The anchored soft-clay example, 12 m, lengthened to 24 m: the retained side's pressure passes
// 9 c b = 270 kN/m where 17 x 4 + 17.5 (z - 4) - 2 x 30 does, from 18.97 m: at the node at 19 m.
TEST(NetPressureBelowExcavation, TheLongSoftClayWallNeedsIt) {
    const auto run = [](int increments, bool net) {
        TWorkspace w;
        ReadDataFile(w, TORVEX_SOURCE_DIR "/examples/anchored-soft-clay.tx4d", 1);
        w.Project().NumIncrements = increments;
        w.Table("PileSect").Cell(1, 0).SetInteger(increments);
        w.Project().Options.NetPressureBelowExcavation = net;
        return AnalyzeDataText(WriteDataFileText(w), "clay.tx4d").cases.at(0);
    };
    const TCaseResult longWall = run(480, false), netLong = run(480, true), netShort = run(240, true);
    EXPECT_EQ(longWall.outcome, TOutcome::DeflectionExceeded);
    const auto beyond = [](const TCaseResult& c) {
        return std::count_if(c.warnings.begin(), c.warnings.end(),
                             [](const std::string& w) { return w.find("ultimate resistance") != std::string::npos; });
    };
    EXPECT_EQ(beyond(longWall), 1);
    EXPECT_NE(std::find(longWall.warnings.begin(), longWall.warnings.end(),
                        "At depth 19 m the driving pressure (270.5 kN/m) exceeds the soil's ultimate resistance "
                        "(270 kN/m) in front; consider NetPressureBelowExcavation 1."),
              longWall.warnings.end());
    ASSERT_EQ(netLong.outcome, TOutcome::Converged);
    const double y24 = std::fabs(netLong.MaxBy(&TNodeResult::y)->y), y12 = std::fabs(netShort.MaxBy(&TNodeResult::y)->y);
    EXPECT_NEAR(y24, y12, 0.1 * y12);
    EXPECT_EQ(beyond(netLong) + beyond(netShort), 0);
    // No bundled example drives its soil beyond what the soil in front can hold down to the tip.
    for (const auto& entry : std::filesystem::directory_iterator(TORVEX_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".tx4d") continue;
        for (const TCaseResult& c : AnalyzeDataFile(entry.path().string()).cases) EXPECT_EQ(beyond(c), 0) << entry.path();
    }
}

}  // namespace
}  // namespace torvex::engine
