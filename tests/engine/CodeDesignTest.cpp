// Design to EN 1997-1: the combinations of a Design Approach against the worked checks, and
// each combination against the plain run of the data file edited into it by hand.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "Analysis.h"
#include "TextbookWall.h"
#include "output/CodeFiles.h"
#include "output/DesignFiles.h"
#include "project/SafeSave.h"
#include "project/OptionBlock.h"

namespace torvex::engine {
namespace {

using torvex::testing::TextbookDataFile;
using torvex::testing::TTextbookWall;

const TCombinationResult& Combination(const TFileAnalysis& a, size_t caseIndex, TCombination which) {
    for (const TCombinationResult& c : a.code.at(caseIndex).combinations)
        if (c.combination == which) return c;
    throw std::out_of_range(CombinationName(which));
}

TProjectOptions Code(TDesignCode code) {
    TProjectOptions options;
    options.DesignCode = code;
    return options;
}

// The data file with the options written into its option block.
TFileAnalysis Analyze(const std::string& text, const TProjectOptions& options) {
    return AnalyzeDataText(text + OptionBlockText(options), "w.tx4d");
}

TFileAnalysis AnalyzeWall(const TTextbookWall& wall, const TProjectOptions& options) {
    return AnalyzeDataText(TextbookDataFile(wall, options), "w.tx4d");
}

// Dry sand, gamma 15.3, phi 35, retained 3.5 m, a cantilever; and an anchored wall in dry sand,
// gamma 18, phi 32, retained 6 m, the anchor 1.5 m down. The unplanned excavation by Auto:
// 0.35 m and 0.45 m. Embedments below the lowered formation, by direct integration of Rankine's
// pressures (pivot method; free earth support).
TEST(CodeDesign, WorkedChecksOfTheDesignApproaches) {
    const TTextbookWall cantilever{35, 15.3, 15.3, 100, 3.5, 6.0, 0, 950};
    TTextbookWall surcharged = cantilever;
    surcharged.surcharge = 10;
    const TTextbookWall anchored{32, 18, 18, 100, 6.0, 5.0, 1.5, 1100};
    struct TCheck {
        const TTextbookWall* wall;
        TCombination combination;
        double embedment, anchorForce;  // anchorForce 0: a cantilever
        double minimumSurcharge = 0;
    } const checks[] = {
        {&cantilever, TCombination::DA1_C1, 2.9336, 0},
        {&cantilever, TCombination::DA1_C2, 3.9287, 0},
        {&cantilever, TCombination::DA2, 3.5955, 0},
        {&surcharged, TCombination::DA1_C1, 3.4360, 0},
        {&surcharged, TCombination::DA1_C2, 4.7156, 0},
        {&anchored, TCombination::DA1_C1, 2.1527, 93.029},
        {&anchored, TCombination::DA1_C2, 3.0005, 94.993},
        // The surcharge raised to the minimum is the surcharge entered.
        {&cantilever, TCombination::DA1_C1, 3.4360, 0, 10},
        // Without loads on the wall, DA3 is DA1-C2.
        {&cantilever, TCombination::DA3, 3.9287, 0},
    };
    for (const TCheck& c : checks) {
        const TDesignCode code = c.combination == TCombination::DA2   ? TDesignCode::EC7_DA2
                                 : c.combination == TCombination::DA3 ? TDesignCode::EC7_DA3
                                                                      : TDesignCode::EC7_DA1;
        TProjectOptions options = Code(code);
        options.MinimumSurcharge = c.minimumSurcharge;
        const TFileAnalysis a = AnalyzeWall(*c.wall, options);
        ASSERT_EQ(a.code.size(), 1u) << a.error;
        const TCombinationResult& r = Combination(a, 0, c.combination);
        const double delta = c.wall->anchor > 0 ? 0.45 : 0.35;
        EXPECT_NEAR(r.formationDepth, c.wall->H + delta, 1e-9);
        ASSERT_TRUE(r.result.le.requiredFound) << r.result.le.reason;
        EXPECT_NEAR(r.result.le.requiredEmbedment, c.embedment, 0.005 * c.embedment) << CombinationName(c.combination);
        if (c.anchorForce > 0) {
            EXPECT_NEAR(r.result.le.requiredSupportForce, c.anchorForce, 0.005 * c.anchorForce);
        }
    }
    // DA1-C2 with EN 1997-1 Annex C's coefficients, delta from phi'd: 2/3 behind, 1/2 in front
    // (Ka 0.29449, Kp 4.10212).
    TProjectOptions annexC = Code(TDesignCode::EC7_DA1);
    annexC.EarthPressureMethod = TEarthPressureMethod::EC7AnnexC;
    annexC.WallFrictionActive = 2.0L / 3, annexC.WallFrictionPassive = 0.5L;
    const TFileAnalysis withFriction = AnalyzeWall(cantilever, annexC);
    const TCombinationResult& r = Combination(withFriction, 0, TCombination::DA1_C2);
    ASSERT_TRUE(r.result.le.requiredFound);
    EXPECT_NEAR(r.result.le.requiredEmbedment, 2.8954, 0.005 * 2.8954);
}

// Each ultimate combination is the plain run of the file edited into it by hand: the formation
// 0.35 m lower, the surcharge times 1.5 / 1.35 (DA1-C1) or 1.3 with tan phi / 1.25 (DA1-C2).
// DA1-C1's moments and shears are the edited run's times 1.35, its deflections the same.
TEST(CodeDesign, CombinationsAreTheirHandEditedRuns) {
    TTextbookWall wall{35, 15.3, 15.3, 100, 3.5, 6.0, 0, 950};
    wall.surcharge = 10;
    const TFileAnalysis a = AnalyzeWall(wall, Code(TDesignCode::EC7_DA1));
    const double pi = std::acos(-1.0), phiDesign = std::atan(std::tan(35 * pi / 180) / 1.25) * 180 / pi;
    EXPECT_NEAR(phiDesign, 29.2561, 5e-5);
    struct TEdit {
        TCombination combination;
        double phi, surcharge, effects;
    } const edits[] = {{TCombination::DA1_C1, 35, 10 * 1.5 / 1.35, 1.35}, {TCombination::DA1_C2, phiDesign, 13, 1}};
    for (const TEdit& e : edits) {
        TTextbookWall edited = wall;
        edited.phi = e.phi;
        edited.surcharge = e.surcharge;
        edited.H += 0.35;
        edited.embedment -= 0.35;
        // Equal to the digits the data file keeps of the edited values.
        const TFileAnalysis plain = AnalyzeDataText(TextbookDataFile(edited, 1.0), "edited.tx4d");
        const TCaseResult& c = Combination(a, 0, e.combination).result;
        ASSERT_EQ(c.outcome, TOutcome::Converged) << c.message;
        ASSERT_EQ(plain.cases.at(0).nodes.size(), c.nodes.size());
        const double y = std::fabs(c.MaxBy(&TNodeResult::y)->y), m = std::fabs(c.MaxBy(&TNodeResult::moment)->moment),
                     v = std::fabs(c.MaxBy(&TNodeResult::shear)->shear);
        for (size_t i = 0; i < c.nodes.size(); ++i) {
            const TNodeResult &mine = c.nodes[i], &theirs = plain.cases[0].nodes[i];
            ASSERT_NEAR(mine.y, theirs.y, 1e-6 * y) << i;
            ASSERT_NEAR(mine.moment, e.effects * theirs.moment, 1e-6 * m) << i;
            ASSERT_NEAR(mine.shear, e.effects * theirs.shear, 1e-6 * v) << i;
        }
    }
    // SLS is the plain case; the deflection check is on it, the moment check on the envelope.
    const TCodeCase& code = a.code[0];
    EXPECT_EQ(Combination(a, 0, TCombination::SLS).result.checks.maxDeflection, a.cases[0].checks.maxDeflection);
    EXPECT_DOUBLE_EQ(a.cases[0].checks.maxMoment, code.envelope.maxMoment);
    EXPECT_GT(std::fabs(code.envelope.maxMoment), std::fabs(Combination(a, 0, TCombination::SLS).result.checks.maxMoment));
}

// In a staged file each combination runs the whole sequence: a strut carries the change of
// deflection since its own combination's stage before.
TEST(CodeDesign, StagedStrutsTakeTheirOwnCombinationsEarlierStages) {
    const std::string text = LoadTextFile(TORVEX_SOURCE_DIR "/examples/three-stage-excavation.tx4d");
    const TFileAnalysis a = Analyze(text, Code(TDesignCode::EC7_DA1));
    ASSERT_EQ(a.code.size(), 3u) << a.error;
    for (const TCombination which : {TCombination::DA1_C1, TCombination::DA1_C2}) {
        const TCaseResult &stage1 = Combination(a, 0, which).result, &stage2 = Combination(a, 1, which).result;
        ASSERT_EQ(stage2.outcome, TOutcome::Converged) << stage2.message;
        ASSERT_EQ(stage2.supports.size(), 1u);
        const TSupportForce& strut = stage2.supports[0];
        const size_t node = static_cast<size_t>(strut.node);
        const double k = stage2.input.beam.kLateral[node], effects = which == TCombination::DA1_C1 ? 1.35 : 1.0;
        EXPECT_NEAR(strut.force, effects * k * (stage2.nodes[node].y - stage1.nodes[node].y),
                    1e-9 * std::fabs(strut.force));
        EXPECT_NE(stage1.nodes[node].y, a.cases[0].nodes[node].y);  // not SLS's stage 1
    }
}

// NAME.code.csv: its header with a column per support, a row per combination and the
// envelope; an unplanned excavation that reaches the toe leaves that combination out.
TEST(CodeDesign, CodeCsvRowsAndACombinationThatDoesNotApply) {
    const TTextbookWall anchored{32, 18, 18, 100, 6.0, 5.0, 1.5, 1100};
    TProjectOptions options = Code(TDesignCode::EC7_DA1);
    const std::string csv = CodeCsvText(AnalyzeWall(anchored, options));
    const std::string header = std::string(kCodeCsvHeader) + ",support_1_force\r\n";
    ASSERT_EQ(csv.substr(0, header.size()), header);
    EXPECT_NE(csv.find("\r\nAnalysis,SLS,6,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\nAnalysis,DA1-C1,6.45,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",free earth support,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",2.15"), std::string::npos) << csv;  // DA1-C1's embedment
    EXPECT_NE(csv.find(",moment;shear;support,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",embedment,"), std::string::npos) << csv;  // DA1-C2's
    EXPECT_NE(csv.find("\r\nAnalysis,ENVELOPE,,"), std::string::npos) << csv;

    options.UnplannedExcavationAuto = false;
    options.UnplannedExcavation = 5.0;  // to the toe at 11 m
    const TFileAnalysis deep = AnalyzeWall(anchored, options);
    const TCombinationResult& c1 = Combination(deep, 0, TCombination::DA1_C1);
    EXPECT_FALSE(c1.applies);
    EXPECT_NE(c1.result.message.find("at or below the toe"), std::string::npos) << c1.result.message;
    EXPECT_EQ(deep.cases[0].outcome, TOutcome::Converged);  // SLS is not lost
    EXPECT_NE(CodeCsvText(deep).find("Analysis,DA1-C1,,,,,not applicable,,,,,,"), std::string::npos)
        << CodeCsvText(deep);
}

// The program runs in the user's locale: a decimal comma there must not reach the messages or
// the design summary file, which is read back on any machine.
TEST(CodeDesign, MessagesAndTheSummaryFileKeepTheDecimalPointInAnyLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr) ? std::setlocale(LC_ALL, nullptr) : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.utf8") != nullptr;
    TProjectOptions options = Code(TDesignCode::EC7_DA1);
    options.UnplannedExcavationAuto = false;
    options.UnplannedExcavation = 5.5;  // past the toe at 11 m
    const TFileAnalysis a = AnalyzeWall(TTextbookWall{32, 18, 18, 100, 6.0, 5.0, 1.5, 1100}, options);
    const std::string message = Combination(a, 0, TCombination::DA1_C1).result.message;
    const std::string summary = DesignSummaryFileText(SummaryCases(a));
    const TDesignSummary read = ReadDesignSummary(summary);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(german) << "no de_DE.utf8 locale to test with";
    EXPECT_NE(message.find("of 5.5 lowers the formation to 11.5,"), std::string::npos) << message;
    EXPECT_EQ(summary.find(','), std::string::npos) << summary;
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.cases.at(0).maxDeflection, a.cases.at(0).checks.maxDeflection);  // every digit
}

}  // namespace
}  // namespace torvex::engine
