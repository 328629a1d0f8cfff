// The design answers against closed forms and worked checks: support forces of a propped
// cantilever, a rotational spring and a staged strut; the moment utilisation; limit
// equilibrium of two textbook walls entered as data files; and the two CSV files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "Analysis.h"
#include "ResultFiles.h"
#include "beam/BeamColumn.h"
#include "output/DesignFiles.h"
#include "project/DataFileWriter.h"
#include "project/ProgramData.h"
#include "project/SafeSave.h"
#include "project/UnitConversion.h"
#include "project/Workspace.h"
#include "run/BatchRun.h"
#include "TextbookWall.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;
using torvex::testing::TextbookDataFile;
using torvex::testing::TTextbookWall;

// A propped cantilever: no soil, y = 0 at the top, clamped at the tip, uniform load w over L.
// Top reaction 3 w L / 8, tip reaction 5 w L / 8, tip moment w L^2 / 8 (the largest |M|).
TBeamModel ProppedCantilever(int n, double L, double w) {
    TBeamModel m = TBeamModel::Sized(n, L / n);
    m.EI.assign(static_cast<size_t>(n + 1), 5000);
    m.w.assign(static_cast<size_t>(n + 1), w);
    m.fixedDeflection[0] = 0.0;
    m.fixedDeflection[static_cast<size_t>(n)] = 0.0;
    m.fixedSlope[static_cast<size_t>(n)] = 0.0;
    return m;
}

TEST(SupportForces, ProppedCantileverCarriesThreeEighthsAtTheProp) {
    const double L = 8, w = 10, Wa = 2.5;
    const auto r = SolveBeam(ProppedCantilever(160, L, w));
    ASSERT_TRUE(r);
    const auto supports = SupportForces(ProppedCantilever(160, L, w), *r, Wa);
    ASSERT_EQ(supports.size(), 3u);
    struct TExpected {
        int node;
        TSupportKind kind;
        double force;
    } const expected[] = {
        {0, TSupportKind::DeflectionRestraint, 3 * w * L / 8},  // 30: a prop in compression
        {160, TSupportKind::DeflectionRestraint, 5 * w * L / 8},
        {160, TSupportKind::SlopeRestraint, w * L * L / 8},     // 80, in size
    };
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(supports[i].node, expected[i].node);
        EXPECT_EQ(supports[i].kind, expected[i].kind);
        EXPECT_NEAR(std::fabs(supports[i].force), expected[i].force, 1e-3 * expected[i].force) << i;
        EXPECT_DOUBLE_EQ(supports[i].perLength, supports[i].force / Wa);
    }
    // Both forces hold the wall back against a load toward the excavation.
    EXPECT_GT(supports[0].force, 0);
    EXPECT_GT(supports[1].force, 0);
    EXPECT_NEAR(SupportForceSum(supports), w * L, 1e-9 * w * L);
}

TEST(DesignChecks, MomentUtilisationOfAProppedCantileverIsExact) {
    const double L = 8, w = 10;
    const auto r = SolveBeam(ProppedCantilever(160, L, w));
    ASSERT_TRUE(r);
    std::vector<double> depth;
    for (int i = 0; i <= 160; ++i) depth.push_back(i * L / 160);
    struct TCase {
        double capacity, utilisation;
    } const cases[] = {{80, 1.0}, {160, 0.5}, {64, 1.25}};
    for (const TCase& c : cases) {
        const TDesignCheck k = CheckDesign(depth, r->y, r->moment, r->shear, c.capacity, 0, 0);
        EXPECT_NEAR(k.maxMoment, w * L * L / 8, 1e-3 * 80);
        EXPECT_DOUBLE_EQ(k.momentDepth, L);
        EXPECT_NEAR(k.momentUtilisation, c.utilisation, 1e-3 * c.utilisation) << c.capacity;
        EXPECT_FALSE(k.shearChecked());
    }
    // Shear 5 w L / 8 at the tip, and the largest deflection (39 + 55 sqrt 33) / 65536 w L^4 / EI
    // against an allowable.
    const TDesignCheck k = CheckDesign(depth, r->y, r->moment, r->shear, 0, 100, 0.01);
    EXPECT_NEAR(k.shearUtilisation, 0.5, 1e-3);
    EXPECT_NEAR(k.maxDeflection, (39 + 55 * std::sqrt(33.0)) / 65536 * w * std::pow(L, 4) / 5000, 2e-3 * k.maxDeflection);
    EXPECT_TRUE(k.deflectionExceeds());  // 0.0443 > 0.01
    EXPECT_NEAR(k.LargestUtilisation(), k.maxDeflection / 0.01, 1e-12);
}

// A rotational spring carries M = kr x slope: with kr = 400 at mid-height of a cantilever
// (L = 10, EI = 1000) clamped at its tip under P = 1 at its top, the couple is 5.
TEST(SupportForces, RotationalSpringCarriesItsStiffnessTimesTheSlope) {
    TBeamModel m = TBeamModel::Sized(40, 0.25);
    m.EI.assign(41, 1000);
    m.fixedDeflection[40] = 0.0;
    m.fixedSlope[40] = 0.0;
    m.P[0] = 1;
    m.kRotation[20] = 400;
    const auto r = SolveBeam(m);
    ASSERT_TRUE(r);
    const auto supports = SupportForces(m, *r, 0);
    ASSERT_EQ(supports.size(), 3u);
    EXPECT_EQ(supports[0].kind, TSupportKind::RotationalSpring);
    EXPECT_DOUBLE_EQ(supports[0].force, 400 * r->slope[20]);
    EXPECT_NEAR(std::fabs(supports[0].force), 5, 1e-8);
    EXPECT_DOUBLE_EQ(supports[0].perLength, supports[0].force);  // Wa = 0: per wall unit
    // The tip restraint takes P L - C = 5 as its moment, and P as its force.
    EXPECT_NEAR(std::fabs(supports[2].force), 5, 1e-8);
    EXPECT_NEAR(supports[1].force, 1, 1e-9);
}

// The strut of the bundled three-stage example goes in at stage 2: it carries k times the
// change of deflection since stage 1, and the largest so far carries on into stage 3.
TEST(SupportForces, StagedStrutCarriesTheChangeSinceItWentIn) {
    const TFileAnalysis a =
        AnalyzeDataFile((fs::path(TORVEX_SOURCE_DIR) / "examples" / "three-stage-excavation.tx4d").string());
    ASSERT_EQ(a.cases.size(), 3u);
    EXPECT_TRUE(a.cases[0].supports.empty());
    const auto& stage2 = a.cases[1];
    ASSERT_EQ(stage2.supports.size(), 1u);
    const TSupportForce& strut = stage2.supports[0];
    const size_t node = static_cast<size_t>(strut.node);
    const double k = stage2.input.beam.kLateral[node];
    EXPECT_EQ(strut.kind, TSupportKind::LateralSpring);
    EXPECT_NEAR(strut.force, k * (stage2.nodes[node].y - a.cases[0].nodes[node].y), 1e-9 * std::fabs(strut.force));
    EXPECT_DOUBLE_EQ(strut.perLength, strut.force / stage2.input.activeWidth);
    const TSupportForce& later = a.cases[2].supports[0];
    EXPECT_NEAR(later.force, k * (a.cases[2].nodes[node].y - a.cases[0].nodes[node].y), 1e-9 * std::fabs(later.force));
    EXPECT_DOUBLE_EQ(later.largestSoFar, std::fabs(later.force) > std::fabs(strut.force) ? later.force : strut.force);
    // Every stage's supports balance the loads less the soil, as the equilibrium check says.
    for (const TCaseResult& c : a.cases)
        EXPECT_NEAR(SupportForceSum(c.supports), c.netLoad - c.forceResidual, 1e-9 * std::max(1.0, std::fabs(c.netLoad)));
}

const TTextbookWall kCantilever{32, 15.9, 19.33, 2, 5, 7.0, 0, 240};
const TTextbookWall kAnchored{30, 16.0, 19.5, 3.05, 9.15, 5.0, 1.53, 1415};

TEST(LimitEquilibrium, TextbookWallsGiveTheirWorkedNumbers) {
    struct TCheck {
        const TTextbookWall* wall;
        double target;
        TLeMethod method;
        double F, required, supportForce;  // supportForce 0: a cantilever
    } const checks[] = {
        {&kCantilever, 1.0, TLeMethod::Cantilever, 1.237, 5.288, 0},
        {&kCantilever, 1.5, TLeMethod::Cantilever, 1.237, 8.962, 0},
        {&kAnchored, 1.0, TLeMethod::FreeEarthSupport, 1.148, 4.074, 142.04},
        {&kAnchored, 1.5, TLeMethod::FreeEarthSupport, 1.148, 7.301, 142.04},
    };
    for (const TCheck& c : checks) {
        const TFileAnalysis a = AnalyzeDataText(TextbookDataFile(*c.wall, c.target), "textbook.tx4d");
        ASSERT_EQ(a.cases.size(), 1u) << a.error;
        const TLimitEquilibrium& le = a.cases[0].le;
        ASSERT_EQ(le.method, c.method) << le.reason;
        ASSERT_EQ(le.fState, TLeFactor::Found);
        EXPECT_NEAR(le.F, c.F, 0.005 * c.F);
        EXPECT_NEAR(le.embedment, c.wall->embedment, 1e-9);
        ASSERT_TRUE(le.requiredFound);
        EXPECT_NEAR(le.requiredEmbedment, c.required, 0.005 * c.required) << c.target;
        EXPECT_EQ(le.supportFound, c.supportForce > 0);
        if (c.supportForce > 0) {
            EXPECT_NEAR(le.supportForce, c.supportForce, 0.005 * c.supportForce);
        }
        EXPECT_EQ(le.pivotFound, c.supportForce == 0);
        EXPECT_EQ(le.fpState, TLeFactor::Found);
        EXPECT_GT(le.Fp, le.F);  // the passive side alone needs a larger factor
    }
}

// At the F = 1 embedments the walls just balance: F = 1, the cantilever's pivot 4.762 m below
// the excavation, the anchor force 116.20 kN/m.
TEST(LimitEquilibrium, AtTheirCriticalEmbedmentsTheWallsJustBalance) {
    TTextbookWall cantilever = kCantilever, anchored = kAnchored;
    cantilever.embedment = 5.288;
    cantilever.increments = 1029;  // 10.288 m in 10 mm
    anchored.embedment = 4.074;
    anchored.increments = 1322;    // 13.224 m: the anchor at node 153
    const TFileAnalysis c = AnalyzeDataText(TextbookDataFile(cantilever, 1.5), "c.tx4d");
    const TFileAnalysis a = AnalyzeDataText(TextbookDataFile(anchored, 1.5), "a.tx4d");
    ASSERT_EQ(c.cases.size(), 1u);
    ASSERT_EQ(a.cases.size(), 1u);
    EXPECT_NEAR(c.cases[0].le.F, 1.0, 0.005);
    EXPECT_NEAR(c.cases[0].le.pivotDepth, 4.762, 0.005 * 4.762);
    EXPECT_NEAR(a.cases[0].le.F, 1.0, 0.005);
    EXPECT_NEAR(a.cases[0].le.supportForce, 116.20, 0.005 * 116.20);
}

TEST(LimitEquilibrium, RockAndUserLoadsAreNotApplicable) {
    const TFileAnalysis rock =
        AnalyzeDataFile((fs::path(TORVEX_SOURCE_DIR) / "examples" / "pile-wall-weak-rock.tx4d").string());
    ASSERT_FALSE(rock.cases.empty());
    EXPECT_EQ(rock.cases[0].le.method, TLeMethod::NotApplicable);
    EXPECT_NE(rock.cases[0].le.reason.find("rock"), std::string::npos);
    const std::string csv = DesignCsvText(rock);
    EXPECT_NE(csv.find(",not applicable,,,,,,,,,,\r\n"), std::string::npos) << csv;
}

TEST(DesignFiles, TorvexRunCsvWritesBothFilesWithTheirHeaders) {
    const fs::path folder = fs::temp_directory_path() / ("torvex-design-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string data = (folder / "wall.tx4d").string();
    SaveTextFile(data, TextbookDataFile(kCantilever, 1.5));
    TBatchOptions options;
    options.files = {data};
    options.csvFolder = (folder / "csv").string();
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch(options, out, err) <= 1, true) << err.str();
    const std::string design = LoadTextFile((folder / "csv" / "wall.design.csv").string());
    const std::string supports = LoadTextFile((folder / "csv" / "wall.supports.csv").string());
    EXPECT_EQ(design.rfind(std::string(kDesignCsvHeader) + "\r\n", 0), 0u);
    EXPECT_EQ(std::string(kDesignCsvHeader),
              "case,max_deflection,allowable_deflection,max_moment,moment_utilisation,max_shear,shear_utilisation,"
              "le_method,le_F,le_Fp,embedment,required_embedment,pivot_depth,le_support_force,"
              "seepage_gradient,toe_pore_pressure,hyd_utilisation,basal_heave_F");
    EXPECT_EQ(supports, "case,node,depth,kind,force,force_per_length,largest_so_far\r\n");  // a cantilever
    EXPECT_NE(design.find("Analysis,"), std::string::npos);
    EXPECT_NE(design.find(",cantilever,1.23"), std::string::npos) << design;
    EXPECT_NE(out.str().find("limit equilibrium F 1.23"), std::string::npos) << out.str();
    const std::string report = LoadTextFile((folder / "wall.tx4o").string());
    EXPECT_NE(report.find("Limit equilibrium"), std::string::npos);
    EXPECT_NE(report.find("Sum of the support forces"), std::string::npos);
    fs::remove_all(folder);
}

// The summary file that torvex-run writes beside the report reads back as the cases it was
// made of, digit for digit, and its support forces are those of the report.
TEST(DesignFiles, SummaryFileBesideTheReportReadsBackExactly) {
    const fs::path folder = fs::temp_directory_path() / ("torvex-summary-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string data = (folder / "anchored.tx4d").string();
    fs::copy_file(TORVEX_SOURCE_DIR "/examples/anchored-soft-clay.tx4d", data);
    TBatchOptions options;
    options.files = {data};
    std::ostringstream out, err;
    EXPECT_LE(RunBatch(options, out, err), 1) << err.str();
    const TResultPaths paths = ResultPathsFor(data);
    EXPECT_EQ(paths.summary, (folder / "anchored.tx4y").string());
    const TFileAnalysis analysis = AnalyzeDataFile(data);
    const std::vector<TSummaryCase> made = SummaryCases(analysis);
    const TDesignSummary read = ReadDesignSummaryFile(paths.summary);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.cases.size(), analysis.cases.size());
    ASSERT_FALSE(read.cases.empty());
    for (size_t k = 0; k < made.size(); ++k) {
        const TSummaryCase& a = made[k];
        const TSummaryCase& b = read.cases[k];
        EXPECT_EQ(b.label, analysis.cases[k].label);
        EXPECT_EQ(b.outcome, a.outcome);
        EXPECT_EQ(b.maxDeflection, analysis.cases[k].checks.maxDeflection);
        EXPECT_EQ(b.maxMoment, analysis.cases[k].checks.maxMoment);
        EXPECT_EQ(b.F, analysis.cases[k].le.F);
        EXPECT_EQ(b.leMethod, static_cast<int>(analysis.cases[k].le.method));
        ASSERT_EQ(b.supports.size(), analysis.cases[k].supports.size());
        for (size_t i = 0; i < b.supports.size(); ++i) {
            const TSupportForce& s = analysis.cases[k].supports[i];
            EXPECT_EQ(b.supports[i].force, s.force);
            EXPECT_EQ(b.supports[i].node, s.node);
            EXPECT_STREQ(SummarySupportKindText(b.supports[i].kind), SupportKindText(s.kind));
        }
    }
    // The tie-back is a lateral spring: one support, in tension, holding the wall back.
    ASSERT_EQ(read.cases[0].supports.size(), 1u);
    EXPECT_EQ(read.cases[0].supports[0].kind, 2);
    EXPECT_GT(read.cases[0].supports[0].force, 0);
    fs::remove_all(folder);
}

// The kind and method names the window shows are the engine's own.
TEST(DesignFiles, SummaryNamesAreTheEngines) {
    for (TSupportKind kind : {TSupportKind::DeflectionRestraint, TSupportKind::SlopeRestraint,
                              TSupportKind::LateralSpring, TSupportKind::RotationalSpring}) {
        EXPECT_STREQ(SummarySupportKindText(static_cast<int>(kind)), SupportKindText(kind));
        EXPECT_EQ(SummaryKindCarriesMoment(static_cast<int>(kind)), CarriesMoment(kind));
    }
    for (TLeMethod method : {TLeMethod::NotApplicable, TLeMethod::Cantilever, TLeMethod::FreeEarthSupport})
        EXPECT_STREQ(SummaryLeMethodText(static_cast<int>(method)), LeMethodText(method));
}

}  // namespace
}  // namespace torvex::engine
