// The design summary file: written and read back exactly, every bad line named and never a
// crash, what fails judged at its edges, and the window's CSV.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/DesignSummary.h"

namespace torvex {
namespace {

TSummaryCase Stage(const std::string& label) {
    TSummaryCase c;
    c.label = label;
    c.outcome = "converged";
    c.unitCode = 2;
    c.results = true;
    c.maxDeflection = 0.0123456789012345, c.deflectionDepth = 3.5, c.allowableDeflection = 0.025;
    c.maxMoment = 123.456, c.momentDepth = 7.25, c.momentCapacity = 100, c.momentUtilisation = 1.23456;
    c.maxShear = 45.5, c.shearDepth = 2, c.shearCapacity = 0, c.shearUtilisation = 0;
    c.supports = {{4, 2, 2.0, 151.25, 60.5, 160.75}, {0, 0, 0.0, -1e-9, -4e-10, 3.5}};
    c.le = true;
    c.leMethod = 2, c.fState = 0, c.F = 1.3, c.fpState = 0, c.Fp = 1.9;
    c.embedment = 4, c.requiredFound = true, c.requiredEmbedment = 4.75, c.targetF = 1.5, c.searchLimit = 40;
    return c;
}

TEST(DesignSummary, WrittenCasesReadBackExactly) {
    TSummaryCase failed;
    failed.label = "Stage 3";
    failed.outcome = "input error: The lateral spring at node 3 must be between 0 and 1e+30";
    TSummaryCase rock = Stage("Long-Term");
    rock.leMethod = 0, rock.leReason = "the wall is embedded in rock", rock.supports.clear();
    TSummaryCase coded = Stage("Stage 2");
    coded.code = "EC7-DA1", coded.governing = "DA1-C2", coded.toeDepth = 11;
    coded.codeRequiredFound = true, coded.codeRequiredToeDepth = 9.4495406, coded.leastFFound = true;
    coded.leastF = 1.3477374;
    coded.combinations = {{"SLS", true, 6, 0.003, 101, 55, 0, 1, 0, false, 0, 0, 0, "deflection"},
                          {"DA1-C1", false, 0, 0, 0, 0, 0, 1, 0, false, 0, 0, 0, ""},
                          {"DA1-C2", true, 6.45, 0.005, 152.6, 76.7, 2, 0, 1.35, true, 3.0, 9.45, 95.07,
                           "embedment;support"}};
    const std::vector<TSummaryCase> cases = {Stage("Stage 1 of 2, anchored"), failed, rock, coded};
    const std::string text = DesignSummaryFileText(cases);
    EXPECT_EQ(text.substr(0, text.find('\n')), "TORVEX-DESIGN-SUMMARY 1");
    EXPECT_NE(text.find("\nSUPPORT 4 2 2 151.25 60.5 160.75\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nLE-REASON the wall is embedded in rock\n"), std::string::npos);
    const TDesignSummary read = ReadDesignSummary(text);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.cases.size(), 4u);
    EXPECT_EQ(read.cases[0].label, "Stage 1 of 2, anchored");
    EXPECT_EQ(read.cases[0].maxDeflection, 0.0123456789012345);  // all 17 digits
    EXPECT_EQ(read.cases[0].supports.size(), 2u);
    EXPECT_EQ(read.cases[0].supports[1].force, -1e-9);
    EXPECT_EQ(read.cases[0].requiredEmbedment, 4.75);
    EXPECT_FALSE(read.cases[1].results);
    EXPECT_FALSE(read.cases[1].le);
    EXPECT_EQ(read.cases[1].outcome, failed.outcome);
    EXPECT_EQ(read.cases[2].leReason, "the wall is embedded in rock");
    EXPECT_NE(text.find("\nCOMBINATION DA1-C1 0 0 0 0 0 0 1 0 0 0 0 0 -\n"), std::string::npos) << text;
    ASSERT_EQ(read.cases[3].combinations.size(), 3u);
    EXPECT_TRUE(read.cases[3].combinations[2].Governs("support"));
    EXPECT_FALSE(read.cases[3].combinations[2].Governs("moment"));
    EXPECT_FALSE(read.cases[3].combinations[1].applies);
    // Written again, the same text: nothing was lost.
    EXPECT_EQ(DesignSummaryFileText(read.cases), text);
    // Line ends of the other kind read the same.
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(DesignSummaryFileText(ReadDesignSummary(crlf).cases), text);
}

TEST(DesignSummary, BadTextNamesItsLineAndKeepsTheCasesBefore) {
    const std::string good = "TORVEX-DESIGN-SUMMARY 1\nCASE A\nOUTCOME converged\nEND\n";
    const struct { std::string text, error; size_t cases; } bad[] = {
        {"", "line 0: not a design summary file", 0},
        {"TORVEX-OPTIONS 1\n", "line 1: not a design summary file", 0},
        {"TORVEX-DESIGN-SUMMARY 2\n", "line 1: version 2 is not known", 0},
        {"TORVEX-DESIGN-SUMMARY x\n", "line 1: not a design summary file", 0},
        {good + "CASE B\nDEFLECTION 1 2\nEND\n", "line 6: DEFLECTION needs 3 numbers", 1},
        {good + "CASE B\nMOMENT 1 2 3 nan\nEND\n", "line 6: MOMENT needs 4 numbers", 1},
        {good + "CASE B\nSHEAR 1 2 3 1e999\nEND\n", "line 6: SHEAR needs 4 numbers", 1},
        {good + "CASE B\nSUPPORT 1 4 0 0 0 0\n", "line 6: SUPPORT needs a node, a kind 0 to 3 and 4 numbers", 1},
        {good + "CASE B\nSUPPORT 1.5 0 0 0 0 0\n", "line 6: SUPPORT needs a node, a kind 0 to 3 and 4 numbers", 1},
        {good + "CASE B\nLE 3 0 1 0 1 1 1 1 1.5 9\n",
         "line 6: LE needs a method 0 to 2, factor states 0 to 2, a flag 0 or 1 and its numbers", 1},
        {good + "CASE B\nLE 1 0 1 0 1 1 2 1 1.5 9\n",
         "line 6: LE needs a method 0 to 2, factor states 0 to 2, a flag 0 or 1 and its numbers", 1},
        {good + "CASE B\nUNITS 7\n", "line 6: bad UNITS", 1},
        {good + "CASE B\nWHAT 1\n", "line 6: unknown record \"WHAT\"", 1},
        {good + "CASE B\nCASE C\n", "line 6: CASE before the END of the case before", 1},
        {good + "CASE B\nCOMBINATION SLS 1 0 0 0 0 0 1 0 0 0 0 0 -\n",
         "line 6: COMBINATION needs a CODE before it, a name, flags, states and their numbers", 1},
        {good + "CASE B\nCODE EC7-DA1 DA1-C2 11 2 9 1 1.3\n",
         "line 6: CODE needs a code, the governing combination, flags 0 or 1 and their numbers", 1},
        {good + "SUPPORT 1 0 0 0 0 0\n", "line 5: \"SUPPORT\" outside a case", 1},
        {good + "CASE B\nOUTCOME converged", "line 6: the last case has no END", 1},
        {std::string("TORVEX-DESIGN-SUMMARY 1\nCASE ") + '\0' + "\xff\nEND\n", "", 1},  // any bytes in a label
    };
    for (const auto& c : bad) {
        const TDesignSummary read = ReadDesignSummary(c.text);
        EXPECT_EQ(read.error, c.error) << c.text;
        EXPECT_EQ(read.cases.size(), c.cases) << c.text;
    }
    EXPECT_EQ(ReadDesignSummaryFile("/nonexistent/wall.tx4y").error, "cannot read the file /nonexistent/wall.tx4y");
}

// Lines indented or ended by more than one CR, and a value below the smallest normal double,
// read as the engine meant them.
TEST(DesignSummary, IndentsLineEndsAndTinyValuesRead) {
    const TDesignSummary read = ReadDesignSummary(
        "  TORVEX-DESIGN-SUMMARY 1\r\r\n\tCASE  Stage 1\r\r\n OUTCOME converged\nDEFLECTION 1e-310 0 0\n"
        "MOMENT 0 0 0 0\nSHEAR 0 0 0 0\n  END\n");
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.cases.size(), 1u);
    EXPECT_EQ(read.cases[0].label, " Stage 1");  // one blank separates; the second is the label's
    EXPECT_EQ(read.cases[0].outcome, "converged");
    EXPECT_EQ(read.cases[0].maxDeflection, 1e-310);
    EXPECT_EQ(ReadDesignSummary(DesignSummaryFileText(read.cases)).cases.at(0).maxDeflection, 1e-310);
}

TEST(DesignSummary, WhatFailsIsJudgedAtItsEdges) {
    TSummaryCase c = Stage("S");
    c.maxDeflection = 0.025;  // equal to the allowable: within
    c.momentUtilisation = 1.0;
    c.F = 1.5, c.requiredEmbedment = 4;
    EXPECT_FALSE(c.AnyFails());
    c.maxDeflection = 0.02500001;
    EXPECT_TRUE(c.DeflectionFails());
    c.allowableDeflection = 0;  // not checked
    EXPECT_FALSE(c.DeflectionFails());
    c.momentUtilisation = 1.0000001;
    EXPECT_TRUE(c.MomentFails());
    c.momentCapacity = 0;
    EXPECT_FALSE(c.MomentFails());
    c.F = 1.4999;
    EXPECT_TRUE(c.FactorFails());
    c.F = 1.5, c.fState = 1;  // unstable
    EXPECT_TRUE(c.FactorFails());
    c.fState = 2;  // above the range searched
    EXPECT_FALSE(c.FactorFails());
    c.requiredEmbedment = 4.01;
    EXPECT_TRUE(c.EmbedmentFails());
    c.requiredFound = false;
    c.requiredEmbedment = 0;
    EXPECT_TRUE(c.EmbedmentFails());
    c.leMethod = 0;  // not applicable: nothing of limit equilibrium fails
    EXPECT_FALSE(c.FactorFails() || c.EmbedmentFails());
}

// The verdict never counts a check that could not be made as passed.
TEST(DesignSummary, TheVerdictNamesWhatFailsAndWhatIsNotChecked) {
    TSummaryCase passing = Stage("Stage 1");  // moment 1.23 of its capacity, F 1.3 of 1.5
    passing.momentUtilisation = 0.5, passing.F = 1.6, passing.requiredEmbedment = 3, passing.shearCapacity = 50;
    passing.shearUtilisation = 0.9;
    TSummaryCase unchecked = passing;
    unchecked.label = "Stage 2";
    unchecked.shearCapacity = 0, unchecked.allowableDeflection = 0, unchecked.leMethod = 0;
    TSummaryCase failing = Stage("Stage 3");
    TSummaryCase none;
    none.label = "Stage 4";
    TSummaryCase nothing = unchecked;
    nothing.momentCapacity = 0;
    // Under a code: the toe against the deepest the combinations need, F against 1.
    TSummaryCase coded = passing;
    coded.code = "EC7-DA1", coded.governing = "DA1-C2", coded.toeDepth = 11, coded.codeRequiredFound = true;
    coded.codeRequiredToeDepth = 9.45, coded.leastFFound = true, coded.leastF = 1.35;
    TSummaryCase short_ = coded;
    short_.toeDepth = 9, short_.leastF = 0.95;
    TSummaryCase other = coded;
    other.label = "Stage 2", other.governing = "DA1-C1";
    const struct {
        std::vector<TSummaryCase> cases;
        std::string verdict;
    } cases[] = {
        {{passing}, "All checks pass."},
        {{unchecked}, "The checks made pass. Not checked: deflection, shear, factor of safety and embedment."},
        {{failing}, "FAILS: moment, factor of safety and embedment. Not checked: shear."},
        {{none}, "No results: nothing checked."},
        {{nothing}, "No check made: no allowable deflection, capacity or limit equilibrium."},
        {{passing, unchecked}, "The checks made pass. Not checked: deflection, shear, factor of safety and embedment."},
        {{passing, failing, none},
         "FAILS: Stage 3: moment, factor of safety and embedment. No results: Stage 4. Not checked: shear."},
        {{passing, none}, "No verdict: Stage 4 has no results."},
        {{coded}, "All checks pass. EC7-DA1: DA1-C2 governs."},
        {{short_}, "FAILS: factor of safety and embedment. EC7-DA1: DA1-C2 governs."},
        {{coded, other}, "All checks pass. EC7-DA1: Stage 1 DA1-C2 and Stage 2 DA1-C1 govern."},
    };
    for (const auto& c : cases) {
        const std::string verdict =
            c.cases.size() == 1 ? DesignVerdictText(c.cases[0]) : DesignVerdictText(c.cases);
        EXPECT_EQ(verdict, c.verdict);
        if (c.cases.size() == 1 && c.cases[0].results)  // one case: the file's verdict is the case's
            EXPECT_EQ(DesignVerdictText(c.cases), c.verdict.substr(0, 7) == "FAILS: "
                                                        ? "FAILS: " + c.cases[0].label + ": " + c.verdict.substr(7)
                                                        : c.verdict);
    }
}

TEST(DesignSummary, CsvHasItsHeaderAndMarksWhatFails) {
    TSummaryCase a = Stage("Stage 1, top");
    TSummaryCase none;
    none.label = "Stage 2";
    none.outcome = "input error";
    const std::string csv = DesignSummaryCsv({a, none});
    EXPECT_EQ(csv,
              "case,max_deflection,allowable_deflection,deflection_check,max_moment,moment_utilisation,moment_check,"
              "max_shear,shear_utilisation,shear_check,le_method,le_F,target_F,le_Fp,embedment,required_embedment,"
              "embedment_check\r\n"
              "\"Stage 1, top\",0.0123457,0.025,within,123.456,1.23456,exceeds,45.5,,,free earth support,1.3,1.5,"
              "1.9,4,4.75,fails\r\n"
              "Stage 2,,,,,,,,,,,,,,,,\r\n"
              "\r\n"
              "case,node,depth,kind,force,force_per_length,largest_so_far\r\n"
              "\"Stage 1, top\",4,2,lateral spring,151.25,60.5,160.75\r\n"
              "\"Stage 1, top\",0,0,deflection restraint,-1e-09,-4e-10,3.5\r\n");
    a.fState = 1;
    EXPECT_NE(DesignSummaryCsv({a}).find(",free earth support,unstable,1.5,"), std::string::npos);
}

}  // namespace
}  // namespace torvex
