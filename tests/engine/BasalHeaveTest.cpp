// Basal heave of an excavation in clay against factors worked by hand.

#include "design/BasalHeave.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "Analysis.h"
#include "output/DesignFiles.h"
#include "project/SafeSave.h"
#include <string>

namespace torvex::engine {
namespace {

TSoilLayer Layer(int type, double top, double bottom, double gammaTop, double gammaBottom, double c) {
    TSoilLayer layer;
    layer.type = type;
    layer.top = top;
    layer.bottom = bottom;
    layer.gamma = gammaTop;
    layer.atBottom.gamma = gammaBottom;
    layer.c = layer.atBottom.c = c;
    return layer;
}

// One clay of cu 40 kPa and gamma 19 kN/m3 from the top down to 20 m; H 6 m.
TWallInput Clay(double surcharge = 0) {
    TWallInput input;
    input.unitCode = 2;
    input.freeHeight = 6;
    input.backfillSurcharge = surcharge;
    input.layers = {Layer(1, 0, 20, 19, 19, 40)};
    return input;
}

struct TCase {
    const char* what;
    double width, length, surcharge, Nc, F;
};

TEST(BasalHeave, FactorsOfAClayAgainstTheHandCalculation) {
    const TCase cases[] = {
        // H/B 0.5, B/L 1: Nc 5 x 1.1 x 1.2 = 6.6; F = 6.6 x 40 / 114 = 2.315789.
        {"square", 12, 12, 0, 6.6, 264.0 / 114},
        // B/L 0: Nc 5 x 1.1 = 5.5; F = 220 / 114.
        {"long", 12, 0, 0, 5.5, 220.0 / 114},
        // H/B 3 counts as 2.5: Nc 5 x 1.5 x 1.2 = 9; F = 360 / 114.
        {"narrow", 2, 2, 0, 9.0, 360.0 / 114},
        // H/B 2.5 exactly, long: Nc 7.5.
        {"at the cap", 2.4, 0, 0, 7.5, 300.0 / 114},
        // The shorter side is the width: 24 by 12 as 12 by 24: H/B 0.5, B/L 0.5, Nc 5 x 1.1 x 1.1 = 6.05.
        {"sides swapped", 24, 12, 0, 6.05, 242.0 / 114},
        // A surcharge of 10 kPa: F = 264 / (114 + 10).
        {"surcharge", 12, 12, 10, 6.6, 264.0 / 124},
    };
    for (const TCase& c : cases) {
        const TBasalHeave heave = BasalHeave(Clay(c.surcharge), c.width, c.length);
        EXPECT_TRUE(heave.applies) << c.what;
        EXPECT_EQ(heave.reason, "") << c.what;
        EXPECT_NEAR(heave.Nc, c.Nc, 1e-12) << c.what;
        EXPECT_NEAR(heave.F, c.F, 1e-12) << c.what;
        EXPECT_DOUBLE_EQ(heave.cu, 40) << c.what;
        EXPECT_DOUBLE_EQ(heave.gammaMean, 19) << c.what;
    }
    EXPECT_NEAR(BasalHeave(Clay(), 12, 12).F, 2.3158, 5e-5);
}

// Two clays above H and the clay at H, gamma linear in the second: 0-2 m gamma 17; 2-5 m gamma
// 18 to 21 (mean 19.5); 5-10 m a stiff clay, gamma 20, cu 30 at 5 m to 80 at 10 m, so 40 at 6 m.
// Weight over 6 m: 34 + 58.5 + 20 = 112.5 kN/m2, mean 18.75. Long, B 10: Nc 5 x 1.12 = 5.6;
// q 5: F = 5.6 x 40 / 117.5.
TEST(BasalHeave, LayeredClaysGiveTheMeanUnitWeightAndTheStrengthAtTheBase) {
    TWallInput input = Clay(5);
    input.layers = {Layer(2, 0, 2, 17, 17, 25), Layer(1, 2, 5, 18, 21, 25), Layer(3, 5, 10, 20, 20, 30)};
    input.layers[2].atBottom.c = 80;
    const TBasalHeave heave = BasalHeave(input, 10, 0);
    ASSERT_TRUE(heave.applies) << heave.reason;
    EXPECT_DOUBLE_EQ(heave.gammaMean, 18.75);
    EXPECT_DOUBLE_EQ(heave.cu, 40);
    EXPECT_DOUBLE_EQ(heave.Nc, 5.6);
    EXPECT_DOUBLE_EQ(heave.F, 5.6 * 40 / 117.5);
    // The excavation level on the boundary at 5 m: the lower layer, cu 30; weight 92.5 over 5 m.
    input.freeHeight = 5;
    const TBasalHeave boundary = BasalHeave(input, 10, 0);
    EXPECT_DOUBLE_EQ(boundary.cu, 30);
    EXPECT_DOUBLE_EQ(boundary.gammaMean, 18.5);
    EXPECT_DOUBLE_EQ(boundary.F, 5 * 1.1 * 30 / 97.5);
}

TEST(BasalHeave, DoesNotApplyWithoutAWidthOrAClayAtTheExcavationLevel) {
    EXPECT_EQ(BasalHeave(Clay(), 0, 30).reason,
              "No excavation width is given (ExcavationWidth 0): basal heave is not checked.");
    const std::pair<int, std::string> soils[] = {{4, "a sand"}, {5, "a silt"}, {6, "a strong rock"}, {7, "a weak rock"}};
    for (const auto& [type, name] : soils) {
        TWallInput input = Clay();
        input.layers.insert(input.layers.begin(), Layer(1, 0, 4, 19, 19, 40));
        input.layers[1] = Layer(type, 4, 20, 19, 19, 0);  // a clay above, this soil at 6 m
        const TBasalHeave heave = BasalHeave(input, 12, 12);
        EXPECT_FALSE(heave.applies) << type;
        EXPECT_EQ(heave.reason, "The soil at the excavation level is " + name + ": basal heave is checked in clay only.");
        EXPECT_EQ(heave.F, 0);
    }
    TWallInput shallow = Clay();
    shallow.layers[0].bottom = 6;  // the soil ends at the excavation level
    EXPECT_EQ(BasalHeave(shallow, 12, 0).reason,
              "There is no soil at the excavation level: basal heave is not checked.");
    TWallInput flush = Clay();
    flush.freeHeight = 0;
    EXPECT_FALSE(BasalHeave(flush, 12, 0).applies);
}

TEST(BasalHeave, ANegativeWidthOrLengthIsAnInputErrorNamingTheKey) {
    const struct {
        double width, length;
        std::string message;
    } cases[] = {
        {-1, 0, "The value -1 of ExcavationWidth must be from 0 to 1E300."},
        {-1, -5, "The value -1 of ExcavationWidth must be from 0 to 1E300."},
        {12, -0.5, "The value -0.5 of ExcavationLength must be from 0 to 1E300."},
    };
    for (const auto& c : cases) {
        try {
            BasalHeave(Clay(), c.width, c.length);
            ADD_FAILURE() << "accepted " << c.width << ", " << c.length;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
    // Without a width the length is never used, and a bad one stops nothing.
    EXPECT_FALSE(BasalHeave(Clay(), 0, -5).applies);
}

// Through a data file: the anchored example in soft clay, 6 m deep, 12 m wide and long. By
// hand: gamma over H (17 x 4 + 17.5 x 2) / 6, cu 30 kPa at 6 m, Nc 5 (1 + 0.2 x 0.5) = 5.5,
// F = 5.5 x 30 / (gamma H) = 1.60194; it passes a least factor of 1.5 and fails one of 2.
TEST(BasalHeave, TheRunWritesItsFactorAndTheVerdictJudgesIt) {
    const std::string text = LoadTextFile(TORVEX_SOURCE_DIR "/examples/anchored-soft-clay.tx4d");
    const double gammaH = 17 * 4 + 17.5 * 2, F = 5.5 * 30 / gammaH;
    for (const double least : {1.5, 2.0}) {
        const std::string block = "TORVEX-OPTIONS 1\r\nExcavationWidth 12\r\n" +
                                  std::string(least == 2.0 ? "BasalHeaveFactor 2\r\n" : "") + "END\r\n";
        const TFileAnalysis a = AnalyzeDataText(text + block, "a.tx4d");
        ASSERT_EQ(a.cases.size(), 1u) << a.error;
        ASSERT_TRUE(a.cases[0].basalHeave.applies) << a.cases[0].basalHeave.reason;
        EXPECT_NEAR(a.cases[0].basalHeave.F, F, 1e-9 * F);
        const std::string csv = DesignCsvText(a);
        const std::string last = csv.substr(csv.rfind(',', csv.size() - 3) + 1);
        EXPECT_NEAR(std::stod(last), F, 1e-6 * F) << csv;
        const TSummaryCase s = SummaryCases(a).at(0);
        EXPECT_EQ(s.BasalHeaveFails(), least == 2.0);
        EXPECT_EQ(DesignVerdictText(s).find("basal heave") != std::string::npos, least == 2.0) << DesignVerdictText(s);
    }
}

}  // namespace
}  // namespace torvex::engine
