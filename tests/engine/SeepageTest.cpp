// Steady seepage under the wall and the hydraulic heave check at the toe, against closed forms
// of the simplified method worked out here.

#include <gtest/gtest.h>

#include <cmath>

#include "Analysis.h"
#include "TextbookWall.h"
#include "output/DesignFiles.h"
#include "project/DesignSummary.h"
#include "project/Workspace.h"

namespace torvex::engine {
namespace {

using torvex::testing::TextbookDataFile;
using torvex::testing::TTextbookWall;

constexpr double kGammaW = 9.81;

TFileAnalysis AnalyzeWall(const TTextbookWall& wall, double targetF, bool seepage, double gammaHydDst = 1.35) {
    return AnalyzeDataText(TextbookDataFile(wall, targetF), "seepage.tx4d", [=](TWorkspace& w, int) {
        w.Project().Options.Seepage = seepage ? 1 : 0;
        w.Project().Options.GammaHydDst = gammaHydDst;
    });
}

// The last line of a CSV text.
std::string LastRow(const std::string& csv) {
    const size_t end = csv.rfind("\r\n");
    return csv.substr(csv.rfind("\r\n", end - 1) + 2, end - csv.rfind("\r\n", end - 1) - 2);
}

// i and u_toe by the simplified method, written out.
double Gradient(double back, double front, double toe) { return (front - back) / ((toe - back) + (toe - front)); }
double ToePore(double back, double front, double toe) {
    const double d1 = toe - back, d2 = toe - front;
    return 2 * kGammaW * d1 * d2 / (d1 + d2);
}

// Sand, phi 33, gamma 18 above the water and 20 below, water 2 m down behind and at the
// excavation level (6 m) in front, F = 1: 10.146 m with seepage, 10.068 m without (direct
// integration of Rankine's pressures, pivot method).
TEST(Seepage, LimitEquilibriumEmbedmentFollowsTheTrialToe) {
    TTextbookWall wall{33, 18, 20, 2, 6, 12, 0, 360};
    wall.waterFront = 6;
    struct TCheck {
        bool seepage;
        double embedment;
    } const checks[] = {{true, 10.146}, {false, 10.068}};
    for (const TCheck& check : checks) {
        SCOPED_TRACE(check.seepage);
        const TFileAnalysis a = AnalyzeWall(wall, 1.0, check.seepage);
        ASSERT_TRUE(a.error.empty()) << a.error;
        const TLimitEquilibrium& le = a.cases.at(0).le;
        ASSERT_TRUE(le.requiredFound);
        EXPECT_NEAR(le.requiredEmbedment, check.embedment, 0.005 * check.embedment);
        const double toe = 6 + le.requiredEmbedment;
        EXPECT_NEAR(le.requiredSeepageGradient, check.seepage ? Gradient(2, 6, toe) : 0.0, 1e-9);
        EXPECT_NEAR(le.seepageGradient, check.seepage ? Gradient(2, 6, 18) : 0.0, 1e-9);
    }
    // The closed form at the worked toe.
    EXPECT_NEAR(Gradient(2, 6, 16.146), 0.16466, 0.00001);
    EXPECT_NEAR(ToePore(2, 6, 16.146), 115.92, 0.01);
}

// Water 2 m down behind and at the excavation level (6 m) in front, toe at 12 m: i = 0.25,
// u_toe = 9.81 x 6 x 1.25 = 73.575 kPa against 6 m of soil at 20 kN/m3 in front.
TEST(Seepage, HydraulicHeaveAtTheToe) {
    TTextbookWall wall{33, 18, 20, 2, 6, 6, 0, 240};
    wall.waterFront = 6;
    struct TCheck {
        double gammaDst, utilisation;
        const char* verdict;
    } const checks[] = {{1.35, 1.35 * 73.575 / (0.9 * 120), "hydraulic heave"},
                        {2.0, 2.0 * 73.575 / (0.9 * 120), "hydraulic heave"}};
    for (const TCheck& check : checks) {
        SCOPED_TRACE(check.gammaDst);
        const TFileAnalysis a = AnalyzeWall(wall, 1.0, true, check.gammaDst);
        ASSERT_TRUE(a.error.empty()) << a.error;
        const THydraulicHeave& heave = a.cases.at(0).heave;
        ASSERT_TRUE(heave.applies);
        EXPECT_NEAR(heave.gradient, 0.25, 1e-12);
        EXPECT_NEAR(heave.toePorePressure, 73.575, 1e-9);
        EXPECT_NEAR(heave.toeTotalStress, 120, 1e-9);
        EXPECT_NEAR(heave.utilisation, check.utilisation, 1e-9);
        // The CSV's last four columns and the summary's SEEPAGE record.
        char tail[128];
        std::snprintf(tail, sizeof tail, ",0.25,73.575,%.8g,", check.utilisation);
        const std::string row = LastRow(DesignCsvText(a));
        EXPECT_EQ(row.substr(row.size() - std::string(tail).size()), tail) << row;
        const std::vector<TSummaryCase> cases = SummaryCases(a);
        const TDesignSummary back = ReadDesignSummary(DesignSummaryFileText(cases));
        ASSERT_TRUE(back.error.empty()) << back.error;
        ASSERT_EQ(back.cases.size(), 1u);
        EXPECT_TRUE(back.cases[0].seepage);
        EXPECT_EQ(back.cases[0].seepageGradient, 0.25);
        EXPECT_EQ(back.cases[0].toePorePressure, heave.toePorePressure);
        EXPECT_EQ(back.cases[0].hydUtilisation, heave.utilisation);
        const bool fails = check.utilisation > 1;
        EXPECT_EQ(back.cases[0].HydraulicHeaveFails(), fails);
        const std::string verdict = DesignVerdictText(back.cases[0]);
        EXPECT_EQ(verdict.find(check.verdict) != std::string::npos, fails) << verdict;
    }
}

// Equal levels, or water higher in front: no flow, the results of the plain run to the byte.
TEST(Seepage, NoFlowLeavesTheResultsAlone) {
    TTextbookWall equal{33, 18, 20, 2, 6, 8, 0, 280};
    TTextbookWall higherInFront = equal;
    higherInFront.water = 7;
    higherInFront.waterFront = 3;
    for (const TTextbookWall& wall : {equal, higherInFront}) {
        const TFileAnalysis on = AnalyzeWall(wall, 1.5, true), off = AnalyzeWall(wall, 1.5, false);
        ASSERT_TRUE(on.error.empty()) << on.error;
        const std::string csv = DesignCsvText(on);
        EXPECT_EQ(csv, DesignCsvText(off));
        EXPECT_NE(csv.find(",,,,\r\n"), std::string::npos) << csv;  // the seepage columns empty
        EXPECT_EQ(DesignSummaryFileText(SummaryCases(on)), DesignSummaryFileText(SummaryCases(off)));
        ASSERT_EQ(on.cases[0].nodes.size(), off.cases[0].nodes.size());
        for (size_t i = 0; i < on.cases[0].nodes.size(); ++i) {
            EXPECT_EQ(on.cases[0].nodes[i].y, off.cases[0].nodes[i].y);
            EXPECT_EQ(on.cases[0].nodes[i].moment, off.cases[0].nodes[i].moment);
        }
        EXPECT_FALSE(on.cases[0].heave.applies);
    }
}

// The p-y analysis: the driving pressure with seepage less that without is the change of the
// net water pressure plus Ka times the rise of the effective stress behind, i gamma_w (z - 2).
TEST(Seepage, DrivingPressureTakesTheSeepagePorePressures) {
    TTextbookWall wall{33, 18, 20, 2, 6, 6, 0, 240};  // nodes every 0.05 m, toe 12 m
    wall.waterFront = 6;
    const TFileAnalysis on = AnalyzeWall(wall, 1.5, true), off = AnalyzeWall(wall, 1.5, false);
    ASSERT_TRUE(on.error.empty() && off.error.empty());
    const double i = 0.25, ka = std::pow(std::tan((45 - 33.0 / 2) * 3.14159265358979323846 / 180), 2);
    const auto positive = [](double v) { return v > 0 ? v : 0.0; };
    for (const double z : {1.0, 4.0, 9.0, 11.5}) {
        SCOPED_TRACE(z);
        const size_t node = static_cast<size_t>(std::lround(z / 0.05));
        const TPressureRecord& a = on.cases[0].pressures.at(node);
        const TPressureRecord& b = off.cases[0].pressures.at(node);
        ASSERT_NEAR(a.depth, z, 1e-9);
        const double water = kGammaW * (positive(z - 2) * (1 - i) - positive(z - 6) * (1 + i));
        const double hydrostatic = kGammaW * (positive(z - 2) - positive(z - 6));
        const double expected = water - hydrostatic + ka * i * kGammaW * positive(z - 2);
        EXPECT_NEAR(a.soils - b.soils, expected, 1e-6 * (1 + std::fabs(b.soils)));
    }
}

// The summary's SEEPAGE record: read back exactly, and refused when malformed.
TEST(Seepage, SummaryRecordRoundTripAndBadLines) {
    TSummaryCase c;
    c.label = "Stage 1";
    c.outcome = "converged";
    c.results = true;
    c.seepage = true;
    c.seepageGradient = 0.25, c.toePorePressure = 115.5, c.hydUtilisation = 1.125;
    const std::string text = DesignSummaryFileText({c});
    EXPECT_NE(text.find("\nSEEPAGE 0.25 115.5 1.125\nEND\n"), std::string::npos) << text;
    const TDesignSummary back = ReadDesignSummary(text);
    ASSERT_TRUE(back.error.empty()) << back.error;
    EXPECT_EQ(back.cases.at(0).seepageGradient, c.seepageGradient);
    EXPECT_EQ(back.cases.at(0).toePorePressure, c.toePorePressure);
    EXPECT_EQ(back.cases.at(0).hydUtilisation, c.hydUtilisation);
    EXPECT_EQ(DesignVerdictText(back.cases.at(0)).rfind("FAILS: hydraulic heave.", 0), 0u);
    for (const char* bad : {"SEEPAGE 0.2 50", "SEEPAGE 0.2 50 0.5 1", "SEEPAGE 1.2 50 0.5", "SEEPAGE 0.2 -1 0.5",
                            "SEEPAGE x 50 0.5"}) {
        const std::string broken = "TORVEX-DESIGN-SUMMARY 1\nCASE a\nOUTCOME converged\n" + std::string(bad) + "\nEND\n";
        EXPECT_EQ(ReadDesignSummary(broken).error.rfind("line 4: SEEPAGE needs", 0), 0u) << bad;
    }
}

}  // namespace
}  // namespace torvex::engine
