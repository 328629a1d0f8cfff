// Mononobe-Okabe's seismic increment against hand calculations: the coefficient itself, the
// generated pressure of a uniform dry sand, and whole analyses read back from the plot file.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <vector>
#include <stdexcept>
#include <string>

#include "Analysis.h"
#include "ResultFiles.h"
#include "SandWall.h"
#include "project/DataFileWriter.h"
#include "project/Workspace.h"
#include "soil/DrivingLoads.h"
#include "soil/SeismicPressure.h"

namespace torvex::engine {
namespace {

// theta = atan(kh / (1 - kv)); K_AE by hand from the closed form with psi = delta = 0:
//   phi 30, kh 0.24, kv -0.12: theta = atan(0.24 / 1.12) = 0.21109 rad, K_AE = 0.48562;
//   kh = kv = 0: Rankine's 1/3; beta 10 deg, kh = 0: cos^2 30 / (1 + sqrt(0.5 sin 20 / cos 10))^2
//   = 0.75 / 1.41671^2 = 0.37368 (Coulomb with delta = 0).
TEST(SeismicPressure, CoefficientsAgreeWithTheHandCalculations) {
    struct TCase {
        double phi, slope, kh, kv, theta, kae, total;
    } const cases[] = {
        {30, 0, 0.24, -0.12, 0.21109, 0.48562, 0.54389},
        {30, 0, 0, 0, 0, 1.0 / 3.0, 1.0 / 3.0},
        {30, 10, 0, 0, 0, 0.37368, 0.37368},
    };
    for (const TCase& c : cases) {
        const double theta = SeismicInertiaAngle(c.kh, c.kv);
        const double kae = MononobeOkabeCoefficient(c.phi, theta, c.slope);
        EXPECT_NEAR(theta, c.theta, 1e-3 * std::max(c.theta, 1e-3)) << c.phi << " " << c.kh;
        EXPECT_NEAR(kae, c.kae, 1e-3 * c.kae) << c.phi << " " << c.kh;
        EXPECT_NEAR((1 - c.kv) * kae, c.total, 1e-3 * c.total) << c.phi << " " << c.kh;
    }
    EXPECT_NEAR(MononobeOkabeCoefficient(30, 0, 0), 1.0 / 3.0, 1e-14);
    EXPECT_NEAR(SeismicIncrement(30, 0, 0.24, -0.12), 0.54389 - 1.0 / 3.0, 1e-3 * 0.21056);
}

// phi 10 deg with theta = 12.09 deg, and phi 30 deg behind a 25 deg slope with theta 12.09:
// no wedge stands, and the message says why.
TEST(SeismicPressure, NoSolutionWhenTheFrictionIsTooSmall) {
    struct TCase {
        double phi, slope;
    } const cases[] = {{10, 0}, {30, 25}};
    for (const TCase& c : cases) {
        try {
            SeismicIncrement(c.phi, c.slope, 0.24, -0.12);
            ADD_FAILURE() << c.phi << " " << c.slope;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find("no solution"), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("friction angle"), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(SeismicInertiaAngle(0.1, 1.0), std::invalid_argument);
}

DrivingLoadInput UniformLayer(int criterion, double c, double phi, double kh, double kv) {
    DrivingLoadInput in;
    for (int i = 0; i <= 20; ++i) in.nodeDepths.push_back(0.5 * i);
    in.pressureMode = kTriangularPressure;
    in.freeHeight = 6;
    in.waterDepthBackfill = in.waterDepthExcavation = 1000;
    in.waterUnitWeight = 9.81;
    in.layers = {{10, criterion, 18, c, phi}};
    in.seismicKh = kh;
    in.seismicKv = kv;
    return in;
}

// Dry sand, gamma 18, level ground: the soil pressure is (1 - kv) K_AE gamma z = 0.54389 x 18 z.
TEST(SeismicPressure, UniformSandCarriesTheTotalCoefficient) {
    const DrivingLoads loads = ComputeDrivingLoads(UniformLayer(kSand, 0, 30, 0.24, -0.12));
    for (size_t i = 1; i < loads.depth.size(); ++i)
        EXPECT_NEAR(loads.soilPressure[i], 0.54389 * 18 * loads.depth[i], 1e-3 * 0.54389 * 18 * loads.depth[i]) << i;
}

// A clay (phi = 0) takes no increment, with a warning; its pressure is the static one.
TEST(SeismicPressure, ClayTakesNoIncrementAndIsWarned) {
    const DrivingLoads quiet = ComputeDrivingLoads(UniformLayer(kSoftClay, 20, 0, 0, 0));
    const DrivingLoads shaken = ComputeDrivingLoads(UniformLayer(kSoftClay, 20, 0, 0.24, -0.12));
    for (size_t i = 0; i < quiet.depth.size(); ++i) EXPECT_EQ(quiet.totalPressure[i], shaken.totalPressure[i]) << i;
    bool warned = false;
    for (const std::string& w : shaken.warnings) warned |= w.find("no seismic increment") != std::string::npos;
    EXPECT_TRUE(warned);
}

// The pressure records of the plot file: the first case's block is its record count, then
// depth, total, from soils, from surcharges per node.
std::vector<std::array<double, 4>> PlotPressures(const std::string& plot) {
    std::istringstream in(plot);
    size_t count = 0;
    in >> count;
    std::vector<std::array<double, 4>> records(count);
    for (auto& r : records) in >> r[0] >> r[1] >> r[2] >> r[3];
    return records;
}

// The sand wall with phi 30 deg, dry, on level ground, without cohesion or surcharge: each
// record of the plot file's pressure block is (1 - kv) K_AE gamma z Wa, the static
// Ka gamma z Wa times 0.54389 / (1/3) = 1.63167.
TEST(SeismicPressure, PlotFilePressuresOfASandWallCarryTheIncrement) {
    TWorkspace w;
    testing::SetUpSandWall(w, 60);
    for (int r = 0; r < 2; ++r) w.Table("NewSoil").Cell(2, 0).AsTable().Cell(1, r).SetFloat(30);
    const TFileAnalysis quiet = AnalyzeDataText(WriteDataFileText(w), "sand.tx4d");
    w.Project().Options.SeismicKh = 0.24L;
    w.Project().Options.SeismicKv = -0.12L;
    const TFileAnalysis shaken = AnalyzeDataText(WriteDataFileText(w), "sand.tx4d");
    ASSERT_EQ(shaken.cases.size(), 1u);
    ASSERT_NE(shaken.cases[0].outcome, TOutcome::InputError) << shaken.cases[0].message;
    const auto a = PlotPressures(PlotFileText(quiet)), b = PlotPressures(PlotFileText(shaken));
    ASSERT_EQ(a.size(), 61u);
    ASSERT_EQ(b.size(), 61u);
    for (size_t i = 1; i < a.size(); ++i) {
        const double ratio = 0.54389 / (1.0 / 3.0);
        EXPECT_DOUBLE_EQ(b[i][0], a[i][0]);
        EXPECT_NEAR(b[i][1], ratio * a[i][1], 1e-3 * ratio * a[i][1]) << i;
        // The static record itself is Ka gamma z Wa: the depths grow in equal steps, so
        // the pressure does too.
        EXPECT_NEAR(a[i][1] / a[1][1], static_cast<double>(i), 1e-6 * i) << i;
    }
    EXPECT_NE(RunNotesText(shaken).find("model: Seismic active pressure by Mononobe-Okabe"), std::string::npos);
    EXPECT_NE(ReportText(shaken).find("Mononobe-Okabe"), std::string::npos);
    EXPECT_EQ(RunNotesText(quiet).find("Mononobe"), std::string::npos);
    // 115 pcf = 115/1728 pci, z = 6 in, Wa = 12 in: (1/3)(115/1728)(6)(12) = 1.59722 lb/in.
    EXPECT_NEAR(a[1][1], 1.59722, 1e-3 * 1.59722);
}

// kh = kv = 0 written in a block: the plot file is byte for byte that of the file without it.
TEST(SeismicPressure, ZeroCoefficientsChangeNothing) {
    TWorkspace w;
    testing::SetUpSandWall(w, 40);
    const std::string text = WriteDataFileText(w);
    const std::string withBlock = text + "TORVEX-OPTIONS 1\r\nSeismicKh 0\r\nSeismicKv 0\r\nEND\r\n";
    const TFileAnalysis a = AnalyzeDataText(text, "sand.tx4d");
    const TFileAnalysis b = AnalyzeDataText(withBlock, "sand.tx4d");
    ASSERT_TRUE(b.error.empty()) << b.error;
    EXPECT_EQ(PlotFileText(a), PlotFileText(b));
}

}  // namespace
}  // namespace torvex::engine
