#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

#include "soil/DrivingLoads.h"

namespace torvex::engine {
namespace {

const double kPi = std::acos(-1.0);
const double kGammaWater = 9.81;

double Deg(double degrees) { return degrees * kPi / 180.0; }

void ExpectClose(double actual, double expected, const std::string& where = "") {
    EXPECT_NEAR(actual, expected, 1e-10 * std::max(1.0, std::fabs(expected))) << where;
}

SoilLayer Layer(double bottom, int criterion, double gamma, double c, double phi) {
    return {bottom, criterion, gamma, c, phi};
}

// A wall of the given length in equal increments; no water within reach, unit width.
DrivingLoadInput Wall(double length, int increments, int mode, double freeHeight) {
    DrivingLoadInput in;
    for (int i = 0; i <= increments; ++i) in.nodeDepths.push_back(length * i / increments);
    in.pressureMode = mode;
    in.freeHeight = freeHeight;
    in.waterDepthBackfill = in.waterDepthExcavation = 1000;
    in.waterUnitWeight = kGammaWater;
    return in;
}

DrivingLoadInput DrySand(int mode = kTriangularPressure) {
    DrivingLoadInput in = Wall(10, 20, mode, 6);
    in.layers = {Layer(10, kSand, 18, 0, 30)};
    return in;
}

// The value of a per-node column at depth x.
double At(const DrivingLoads& r, const std::vector<double>& column, double x) {
    for (std::size_t i = 0; i < r.depth.size(); ++i)
        if (std::fabs(r.depth[i] - x) < 1e-9) return column[i];
    ADD_FAILURE() << "no node at depth " << x;
    return NAN;
}

bool HasWarning(const DrivingLoads& r, const std::string& text) {
    for (const std::string& w : r.warnings)
        if (w.find(text) != std::string::npos) return true;
    return false;
}

TEST(ActiveCoefficient, RankineValuesAndLimits) {
    ExpectClose(RankineActiveCoefficient(30, 0), 1.0 / 3.0);
    ExpectClose(RankineActiveCoefficient(36, 0), std::pow(std::tan(Deg(27)), 2));
    // Infinite-slope Mohr circle through gamma z cos b on the slope plane, tangent to phi = 30.
    ExpectClose(RankineActiveCoefficient(30, 15), 0.3729498583707375);
    ExpectClose(RankineActiveCoefficient(30, -15), 0.3729498583707375);
    ExpectClose(RankineActiveCoefficient(30, 30), std::cos(Deg(30)));  // beta = phi
    ExpectClose(RankineActiveCoefficient(0, 0), 1.0);
    EXPECT_THROW(RankineActiveCoefficient(20, 25), std::invalid_argument);
    EXPECT_THROW(RankineActiveCoefficient(90, 0), std::invalid_argument);
    EXPECT_THROW(RankineActiveCoefficient(-1, 0), std::invalid_argument);
}

TEST(TriangularPressure, UniformDrySandIsKaGammaX) {
    DrivingLoadInput in = DrySand();
    in.activeWidth = 1.5;
    const DrivingLoads r = ComputeDrivingLoads(in);
    for (double x : {0.0, 2.0, 7.5, 10.0}) {
        ExpectClose(At(r, r.soilPressure, x), 18 * x / 3, "x = " + std::to_string(x));
        ExpectClose(At(r, r.surchargePressure, x), 0);
        ExpectClose(At(r, r.totalPressure, x), 6 * x);
        ExpectClose(At(r, r.lineLoad, x), 9 * x);
    }
    EXPECT_TRUE(r.warnings.empty());

    // The same sand in inch-pound units: 120 pcf, 10 ft down, 400 psf = 2.7778 psi.
    DrivingLoadInput english = Wall(240, 24, kTriangularPressure, 120);
    english.layers = {Layer(240, kSand, 120.0 / 1728.0, 0, 30)};
    english.waterUnitWeight = 0.0361111;
    const DrivingLoads inchPound = ComputeDrivingLoads(english);
    ExpectClose(At(inchPound, inchPound.totalPressure, 120), 400.0 / 144.0);
}

TEST(TriangularPressure, SlopingBackfill) {
    DrivingLoadInput in = DrySand();
    in.backfillSlope = 15;
    DrivingLoads r = ComputeDrivingLoads(in);
    for (double x : {1.0, 4.0, 9.5})
        ExpectClose(At(r, r.soilPressure, x), 0.3729498583707375 * 18 * x * std::cos(Deg(15)));
    EXPECT_TRUE(r.warnings.empty());

    in.backfillSlope = -35;  // steeper than phi: level backfill for this layer
    r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 4), 24);
    EXPECT_TRUE(HasWarning(r, "slope is taken as 0"));
}

TEST(TriangularPressure, CohesionCutsTensionAboveTheCriticalDepth) {
    DrivingLoadInput clay = DrySand();
    clay.layers = {Layer(10, kSoftClay, 18, 20, 25)};  // the clay's phi is not used
    clay.backfillSlope = 10;
    DrivingLoads r = ComputeDrivingLoads(clay);
    // Ka = 1: sigma_a = 18 x - 40, zero above 2c / gamma = 2.22.
    ExpectClose(At(r, r.soilPressure, 2), 0);
    ExpectClose(At(r, r.soilPressure, 3), 14);
    ExpectClose(At(r, r.soilPressure, 5), 50);
    EXPECT_TRUE(HasWarning(r, "Ka = 1"));
    EXPECT_TRUE(HasWarning(r, "slope is taken as 0"));

    DrivingLoadInput silt = DrySand();
    silt.layers = {Layer(10, kSilt, 18, 10, 30)};
    r = ComputeDrivingLoads(silt);
    // Critical depth 2c / (gamma sqrt Ka) = 20 sqrt 3 / 18 = 1.92.
    ExpectClose(At(r, r.soilPressure, 1.5), 0);
    ExpectClose(At(r, r.soilPressure, 2), 12 - 20 / std::sqrt(3.0));
    ExpectClose(At(r, r.soilPressure, 4), 24 - 20 / std::sqrt(3.0));

    DrivingLoadInput sand = DrySand();
    sand.layers[0].cohesion = 50;  // sand ignores c
    r = ComputeDrivingLoads(sand);
    ExpectClose(At(r, r.soilPressure, 2), 12);
}

TEST(TriangularPressure, WaterTableBuoyancyAndNetWater) {
    std::vector<SoilLayer> layers{Layer(3, kSand, 17, 0, 30), Layer(4, kSand, 19, 0, 30)};
    // 5 + 17*2 + (17-10)*1 + (19-10)*2
    ExpectClose(VerticalEffectiveStress(5, layers, 5, 2, 10), 64);
    ExpectClose(VerticalEffectiveStress(1, layers, 5, 2, 10), 22);
    ExpectClose(NetWaterPressure(4, 5, 2, 9.81), -19.62);  // excavation water higher
    ExpectClose(NetWaterPressure(1, 2, 6, 9.81), 0);

    DrivingLoadInput in = DrySand();
    in.layers = {Layer(10, kSand, 20, 0, 30)};
    in.waterDepthBackfill = 2;
    in.waterDepthExcavation = 6;
    const DrivingLoads r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 1), 20.0 / 3);
    ExpectClose(At(r, r.soilPressure, 4), (40 + 10.19 * 2) / 3 + 9.81 * 2);
    ExpectClose(At(r, r.soilPressure, 8), (40 + 10.19 * 6) / 3 + 9.81 * 4);
    ExpectClose(At(r, r.surchargePressure, 8), 0);
}

TEST(TriangularPressure, UniformSurchargeIsTheIncreaseItCauses) {
    DrivingLoadInput in = DrySand();
    in.backfillSurcharge = 10;
    DrivingLoads r = ComputeDrivingLoads(in);
    for (double x : {0.0, 3.0, 10.0}) {
        ExpectClose(At(r, r.surchargePressure, x), 10.0 / 3);
        ExpectClose(At(r, r.soilPressure, x), 6 * x);
    }
    in.layers = {Layer(10, kStiffClayWithoutFreeWater, 18, 20, 0)};
    r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.surchargePressure, 1), 0);   // 28 - 40 < 0 either way
    ExpectClose(At(r, r.surchargePressure, 2), 6);   // 46 - 40 against 0
    ExpectClose(At(r, r.surchargePressure, 3), 10);  // 64 - 40 against 54 - 40
    ExpectClose(At(r, r.totalPressure, 3), 24);
}

TEST(TriangularPressure, FactorAndActiveWidth) {
    DrivingLoadInput in = DrySand();
    in.waterDepthBackfill = 4;
    in.waterDepthExcavation = 7;
    in.backfillSurcharge = 12;
    in.surcharges = {{kLineLoad, 50, 3, 0}};
    const DrivingLoads base = ComputeDrivingLoads(in);
    in.pressureFactor = 1.5;
    in.activeWidth = 2.5;
    const DrivingLoads r = ComputeDrivingLoads(in);
    for (std::size_t i = 0; i < r.depth.size(); ++i) {
        const double x = r.depth[i];
        const double water = kGammaWater * (std::max(x - 4, 0.0) - std::max(x - 7, 0.0));
        ExpectClose(r.soilPressure[i] - water, 1.5 * (base.soilPressure[i] - water));
        ExpectClose(r.surchargePressure[i], 1.5 * base.surchargePressure[i]);
        ExpectClose(r.lineLoad[i], 2.5 * r.totalPressure[i]);
        ExpectClose(r.soilLineLoad[i], 2.5 * r.soilPressure[i]);
        ExpectClose(r.surchargeLineLoad[i], 2.5 * r.surchargePressure[i]);
    }
}

TEST(TriangularPressure, LayerBoundariesRockAndShortLayers) {
    DrivingLoadInput in = DrySand();
    in.layers = {Layer(4, kSand, 18, 0, 30), Layer(6, kStrongRock, 24, 0, 0),
                 Layer(12, kSand, 20, 0, 36)};
    const double ka2 = std::pow(std::tan(Deg(27)), 2);
    DrivingLoads r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 2), 12);
    ExpectClose(At(r, r.soilPressure, 4), 0.5 * (24 + 0));  // mean across the boundary
    ExpectClose(At(r, r.soilPressure, 5), 0);
    ExpectClose(At(r, r.soilPressure, 6), 0.5 * ka2 * 120);
    ExpectClose(At(r, r.soilPressure, 8), ka2 * 160);
    ExpectClose(At(r, r.soilPressure, 10), ka2 * 200);  // the tip takes the value above
    EXPECT_TRUE(r.warnings.empty());

    in.layers = {Layer(8, kSand, 18, 0, 30)};
    r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 10), 60);
    EXPECT_TRUE(HasWarning(r, "continue to the tip"));
}

TEST(TrapezoidalPressure, UniformSandEnvelope) {
    DrivingLoadInput in = Wall(15, 30, kTrapezoidalPressure, 10);
    in.layers = {Layer(15, kSand, 18, 0, 30)};
    const double ra = 0.5 / 3 * 18 * 100;  // 300
    const double papp = 0.8 / 3 * 18 * 10;
    ExpectClose(ApparentPressure(ra, 10), papp);
    DrivingLoads r = ComputeDrivingLoads(in);
    const std::vector<std::pair<double, double>> expected{
        {0, 0}, {1, papp / 2}, {2, papp}, {5, papp}, {8, papp}, {9, papp / 2}, {10, 30}, {12, 72}};
    for (const auto& [x, p] : expected) ExpectClose(At(r, r.soilPressure, x), p);

    // Area above H (node at H from the envelope's side, 0) = 0.8 H p_app = 1.28 R_a.
    double area = 0;
    for (std::size_t i = 0; r.depth[i] < 10; ++i)
        area += 0.5 * (r.soilPressure[i] + (r.depth[i + 1] < 10 ? r.soilPressure[i + 1] : 0)) * 0.5;
    ExpectClose(area, 0.8 * 10 * papp);
    ExpectClose(area, 1.28 * ra);

    in.pressureFactor = 2;
    r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 5), 2 * papp);
    ExpectClose(At(r, r.soilPressure, 12), 144);
}

TEST(TrapezoidalPressure, ResultantIntegratedExactlyAcrossLayersWaterAndTension) {
    DrivingLoadInput in = Wall(15, 6, kTrapezoidalPressure, 10);
    in.layers = {Layer(4, kSand, 18, 0, 30), Layer(20, kSand, 20, 0, 36)};
    in.waterDepthBackfill = 6;
    in.backfillSurcharge = 9;  // stays out of R_a
    const double ka2 = std::pow(std::tan(Deg(27)), 2);
    const double ra = 0.5 * 4 * 24 + ka2 * (72 + 112) + ka2 * 0.5 * (112 + 152.76) * 4;
    DrivingLoads r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 5), 1.6 * ra / 10);
    ExpectClose(At(r, r.surchargePressure, 5), ka2 * 9);
    ExpectClose(At(r, r.soilPressure, 12.5),
                ka2 * (152.76 + 10.19 * 2.5) + kGammaWater * (12.5 - 6));

    in.layers = {Layer(20, kSoftClay, 18, 20, 0)};
    in.waterDepthBackfill = 1000;
    in.backfillSurcharge = 0;
    r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 5), 1.6 * 0.5 * (10 - 40.0 / 18) * 140 / 10);

    in.freeHeight = 0;
    r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.soilPressure, 5), 50);
    EXPECT_TRUE(HasWarning(r, "no free height"));
}

TEST(SurchargeLoads, PointAndLineOnBothSidesOfM04) {
    ExpectClose(PointLoadPressure(100, 2, 3, 10), 0.28 * 0.09 / 0.015625);
    ExpectClose(PointLoadPressure(100, 4, 3, 10), 0.28 * 0.09 / 0.015625);  // m = 0.4
    ExpectClose(PointLoadPressure(100, 6, 5, 10), 1.77 * 0.09 / (0.61 * 0.61 * 0.61));
    ExpectClose(LineLoadPressure(50, 3, 4, 10), 3.90625);
    ExpectClose(LineLoadPressure(50, 8, 4, 10), 2.56);
    for (auto f : {PointLoadPressure, LineLoadPressure}) {
        ExpectClose(f(100, 3, 0, 10), 0);
        EXPECT_THROW(f(100, 3, 1, 0), std::invalid_argument);
    }
    // Far loads: the elastic forms free of H, continued below H.
    for (double height : {10.0, 15.0}) {
        for (double x : {4.0, 12.0, 18.0}) {
            ExpectClose(PointLoadPressure(100, 8, x, height),
                        1.77 * 100 * 64 * x * x / std::pow(64 + x * x, 3));
            ExpectClose(LineLoadPressure(50, 8, x, height),
                        1.28 * 50 * 64 * x / std::pow(64 + x * x, 2));
        }
    }
}

TEST(SurchargeLoads, StripFromItsAnglesAndAsSumOfLineLoads) {
    // X = 1, W = 2, x = 1: a = atan 3 - 45 deg = atan 0.5, sin a cos 2d = -1/5.
    ExpectClose(StripLoadPressure(20, 1, 2, 1), 40 / kPi * (std::atan(0.5) + 0.2));
    ExpectClose(StripLoadPressure(20, 1, 2, 0), 0);
    ExpectClose(StripLoadPressure(20, 1, 0, 3), 0);
    // The strip as line loads q dxi, each with the wall's doubled elastic kernel 4/pi.
    for (double x : {0.7, 2.0, 6.5}) {
        const int steps = 2000;
        const double X = 1.5, W = 3, h = W / steps;
        double sum = 0;
        for (int k = 0; k <= steps; ++k) {
            const double xi = X + k * h;
            const double kernel = 4 / kPi * 20 * xi * xi * x / std::pow(xi * xi + x * x, 2);
            sum += kernel * (k == 0 || k == steps ? 1 : (k % 2 ? 4 : 2));
        }
        EXPECT_NEAR(StripLoadPressure(20, X, W, x), sum * h / 3, 1e-9);
    }
}

TEST(SurchargeLoads, TableLoadsOnTheWall) {
    DrivingLoadInput in = DrySand();
    in.freeHeight = 10;
    in.pressureFactor = 1.2;
    in.surcharges = {{kPointLoad, 100, 2, 0}, {kLineLoad, 50, 8, 0}, {kStripLoad, 20, 1, 2}};
    // x = 3: point m = 0.2, n = 0.3; line m = 0.8; strip a = 45 deg - atan(1/3) = atan 0.5 and
    // sin a cos 2d = +1/5.
    const double expected = 1.2 * (0.28 * 0.09 / 0.015625 + 1.28 * 5 * 0.64 * 0.3 / (0.73 * 0.73) +
                                   40 / kPi * (std::atan(0.5) - 0.2));
    const DrivingLoads r = ComputeDrivingLoads(in);
    ExpectClose(At(r, r.surchargePressure, 3), expected);
    ExpectClose(At(r, r.soilPressure, 3), 1.2 * 18);
    EXPECT_TRUE(r.warnings.empty());

    in.freeHeight = 0;  // the wall length (10) stands in for H
    const DrivingLoads noHeight = ComputeDrivingLoads(in);
    ExpectClose(At(noHeight, noHeight.surchargePressure, 3), At(r, r.surchargePressure, 3));
    EXPECT_TRUE(HasWarning(noHeight, "use the wall length 10 in place of H"));

    in.surcharges = {{kStripLoad, 20, 1, 0}};
    EXPECT_TRUE(HasWarning(ComputeDrivingLoads(in), "width 0"));
}

TEST(UserDistributedLoad, LinearBetweenRowsZeroOutsideNoFactorNoWidth) {
    DrivingLoadInput in = DrySand(kUserDistributedLoad);
    in.pressureFactor = 2;
    in.activeWidth = 4;
    in.backfillSurcharge = 30;
    in.waterDepthBackfill = 0;
    in.distributedLoad = {{2, 10}, {6, 30}, {8, 30}, {8, 50}, {9, 60}};
    const DrivingLoads r = ComputeDrivingLoads(in);
    const std::vector<std::pair<double, double>> expected{
        {0, 0}, {1.5, 0}, {2, 10}, {4, 20}, {5.5, 27.5}, {7, 30}, {8, 40}, {9, 60}, {9.5, 0}};
    for (const auto& [x, w] : expected) {
        ExpectClose(At(r, r.lineLoad, x), w, "x = " + std::to_string(x));
        ExpectClose(At(r, r.soilLineLoad, x), w);
        ExpectClose(At(r, r.totalPressure, x), w / 4);
        ExpectClose(At(r, r.surchargePressure, x), 0);
    }
    in.distributedLoad.clear();
    EXPECT_TRUE(HasWarning(ComputeDrivingLoads(in), "table is empty"));
}

// Each node's share is the mean over its half segments (end nodes: one half segment), by hand:
// nodes 1 apart; a load of 100 from 2.3 to 6.6 gives node 2 (segment 1.5-2.5) 0.2 x 100,
// node 7 (6.5-7.5) 0.1 x 100; a step from 50 to 150 at node 4 gives it 100; a ramp from 0
// at the top gives the top node its mean over 0-0.5, 2.5, and the tip node over 9.5-10.
TEST(UserDistributedLoad, EachNodeTakesItsShareOfTheLoad) {
    struct TCase {
        std::vector<DistributedLoadPoint> table;
        std::vector<std::pair<double, double>> shares;  // (depth, share)
    } cases[] = {
        {{{2.3, 100}, {6.6, 100}}, {{1, 0}, {2, 20}, {3, 100}, {6, 100}, {7, 10}, {8, 0}}},
        {{{0, 50}, {4, 50}, {4, 150}, {10, 150}}, {{0, 50}, {3, 50}, {4, 100}, {5, 150}, {10, 150}}},
        {{{0, 0}, {10, 100}}, {{0, 2.5}, {3, 30}, {10, 97.5}}},
    };
    for (const TCase& c : cases) {
        DrivingLoadInput in = Wall(10, 10, kUserDistributedLoad, 0);
        in.distributedLoad = c.table;
        const DrivingLoads r = ComputeDrivingLoads(in);
        for (const auto& [x, share] : c.shares) ExpectClose(At(r, r.nodeLineLoad, x), share, "x = " + std::to_string(x));
    }
}

// Generated loads the same way: dry sand (Ka = 1/3, gamma 18) on a wall with nodes 1 apart
// takes its triangular pressure 6 x at interior nodes (linear, so the mean is the point
// value), 6 x 0.25 = 1.5 at the top node and 6 x 9.75 at the tip; a layer boundary at 4.5,
// between nodes 4 and 5, below which the sand weighs 20 (pressure 6 x 4.5 + 20/3 (x - 4.5)),
// gives node 5 its mean over 4.5-5.5 = 27 + 20/3 x 0.5 = 30.333.
TEST(TriangularPressure, EachNodeTakesItsShareAcrossABoundary) {
    DrivingLoadInput in = Wall(10, 10, kTriangularPressure, 6);
    in.layers = {Layer(4.5, kSand, 18, 0, 30), Layer(10, kSand, 20, 0, 30)};
    const DrivingLoads r = ComputeDrivingLoads(in);
    ExpectClose(r.nodeLineLoad[0], 1.5);
    ExpectClose(r.nodeLineLoad[3], 18);
    // Node 4 (3.5-4.5): the upper sand's mean pressure 6 x 4.
    ExpectClose(r.nodeLineLoad[4], 24);
    ExpectClose(r.nodeLineLoad[5], 27 + 20.0 / 3 * 0.5);
    ExpectClose(r.nodeLineLoad[10], 27 + 20.0 / 3 * (9.75 - 4.5));
}

// A layer's parameters vary linearly from its top to its bottom: dry sand 0-10, gamma 16 to 20
// and phi 30 to 40 deg. sigma_v = 16 x + 0.2 x^2; at x = 5, phi = 35 and
// Ka = tan^2(27.5 deg): p = 85 Ka; at the tip, 180 tan^2(25 deg). The apparent envelope
// integrates the same pressure: R_a over 0-6 by Simpson on the exact integrand.
TEST(TriangularPressure, ParametersLinearThroughTheLayer) {
    DrivingLoadInput in = Wall(10, 20, kTriangularPressure, 6);
    SoilLayer sand = Layer(10, kSand, 16, 0, 30);
    sand.unitWeightAtBottom = 20;
    sand.frictionAngleAtBottom = 40;
    in.layers = {sand};
    const DrivingLoads r = ComputeDrivingLoads(in);
    const auto tan2 = [](double deg) { return std::pow(std::tan(Deg(deg)), 2); };
    ExpectClose(At(r, r.soilPressure, 5), 85 * tan2(27.5));
    ExpectClose(At(r, r.soilPressure, 10), 180 * tan2(25));
    in.pressureMode = kTrapezoidalPressure;
    const auto raw = [&](double x) { return (16 * x + 0.2 * x * x) * tan2(45 - (30 + x) / 2); };
    double simpson = 0;
    const int slices = 600;
    for (int k = 0; k <= slices; ++k)
        simpson += (k == 0 || k == slices ? 1 : k % 2 ? 4 : 2) * raw(6.0 * k / slices);
    simpson *= 6.0 / slices / 3;
    const DrivingLoads envelope = ComputeDrivingLoads(in);
    ExpectClose(At(envelope, envelope.soilPressure, 3), 1.6 * simpson / 6);
}

TEST(NoDrivingLoad, EveryOutputIsZero) {
    DrivingLoadInput in = DrySand(kNoDrivingLoad);
    in.waterDepthBackfill = 0;
    in.backfillSurcharge = 10;
    const DrivingLoads r = ComputeDrivingLoads(in);
    for (const auto* column : {&r.soilPressure, &r.surchargePressure, &r.totalPressure,
                               &r.soilLineLoad, &r.surchargeLineLoad, &r.lineLoad}) {
        ASSERT_EQ(column->size(), 21u);
        for (double value : *column) EXPECT_EQ(value, 0.0);
    }
    EXPECT_TRUE(r.warnings.empty());
}

TEST(BadInput, IsRejectedWithAMessage) {
    using Input = DrivingLoadInput;
    struct Case {
        const char* message;  // a part of the expected message
        std::function<void(Input&)> spoil;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"at least two nodes", [](Input& in) { in.nodeDepths = {0}; }},
        {"node 3 is at 1", [](Input& in) { in.nodeDepths[3] = in.nodeDepths[2]; }},
        {"depth of node 3 is not a finite", [](Input& in) { in.nodeDepths[3] = NAN; }},
        {"Pressure mode 4", [](Input& in) { in.pressureMode = 4; }},
        {"at least one soil layer", [](Input& in) { in.layers.clear(); }},
        {"criterion 8", [](Input& in) { in.layers[0].criterion = 8; }},
        {"criterion 0", [](Input& in) { in.layers[0].criterion = 0; }},
        {"layer 2: its bottom (10)", [](Input& in) { in.layers.push_back(Layer(10, kSand, 18, 0, 30)); }},
        {"unit weight must be positive", [](Input& in) { in.layers[0].unitWeight = 0; }},
        {"cohesion must not be negative", [](Input& in) { in.layers[0] = Layer(10, kSilt, 18, -1, 30); }},
        {"friction angle must lie", [](Input& in) { in.layers[0].frictionAngle = 90; }},
        {"less than that of water", [](Input& in) { in.layers[0].unitWeight = 9; in.waterDepthBackfill = 5; }},
        {"backfill slope", [](Input& in) { in.backfillSlope = 90; }},
        {"modification factor", [](Input& in) { in.pressureFactor = 0; }},
        {"active width", [](Input& in) { in.activeWidth = 0; }},
        {"surcharge must not be negative", [](Input& in) { in.backfillSurcharge = -1; }},
        {"free height", [](Input& in) { in.freeHeight = -1; }},
        {"Water depths", [](Input& in) { in.waterDepthExcavation = -1; }},
        {"backfill surcharge is not a finite", [](Input& in) { in.backfillSurcharge = INFINITY; }},
        {"load type 4", [](Input& in) { in.surcharges = {{4, 1, 1, 1}}; }},
        {"distance X", [](Input& in) { in.surcharges = {{kPointLoad, 1, -1, 0}}; }},
        {"strip width W", [](Input& in) { in.surcharges = {{kStripLoad, 1, 1, -1}}; }},
        {"must not decrease", [](Input& in) { in.pressureMode = 1; in.distributedLoad = {{4, 1}, {3, 1}}; }},
    };
    // clang-format on
    for (const Case& c : cases) {
        Input in = DrySand();
        ASSERT_NO_THROW(ComputeDrivingLoads(in));
        c.spoil(in);
        try {
            ComputeDrivingLoads(in);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    // A lighter-than-water layer wholly above the water table is fine, and so are strength
    // parameters that the layer's criterion does not use.
    DrivingLoadInput in = DrySand();
    in.layers = {Layer(3, kSand, 9, -5, 30), Layer(6, kSoftClay, 18, 20, 95),
                 Layer(10, kStrongRock, 24, -1, -1)};
    in.waterDepthBackfill = 3;
    EXPECT_NO_THROW(ComputeDrivingLoads(in));
}

}  // namespace
}  // namespace torvex::engine
