#include "dataentry/Evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "dataentry/NumberText.h"

namespace torvex {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
const std::string kFail = "Entry could not be evaluated:\r";
const std::string kBlank = kFail + "entry cannot be blank";
const std::string kInvalidExpression = kFail + "invalid expression";
const std::string kInvalidCharacters = kFail + "invalid character(s) in expression";
const std::string kParentheses = kFail + "() (parentheses) do not match";
const std::string kFactorial = kFail + "! (factoral) applicable to integers only";
const std::string kHex = kFail + "invalid use of $ (hex function)";
const std::string kDivision = "Division by zero";
const std::string kOverflow = "Floating point overflow";
const std::string kInvalidOperation = "Invalid floating point operation";

// The message an entry raises, or "value" when it gives a finite value.
std::string Raised(const std::string& entry) {
    try {
        const long double value = Evaluate(entry);
        return std::isfinite(value) ? "value" : "non-finite value";
    } catch (const EAssignError& e) {  // arithmetic faults (EMathError) included
        return e.what();
    }
}

class EvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    void TearDown() override { SetDecimalSeparator('\0'); }
};

TEST_F(EvaluatorTest, EntriesAndTheirValues) {
    const struct { const char* entry; long double value; } cases[] = {
        {"2+3*4", 14}, {"(2+3)*4", 20}, {"2^3^2", 64}, {"-2^2", 4}, {"10-2-3", 5},
        {"3--2", 5}, {"2*-3", -6}, {"1E-5*2", 0.00002L}, {"7%3", 1}, {"-7%3", -1},
        {"7.9%3", 1}, {"1|0", 1}, {"0|0", 0}, {"0&1", 1}, {"1&0", 0}, {"2=2", 1},
        {"1+1=2", 1}, {"sqrt(16)", 4}, {"PI", kPi}, {"Pi", kPi}, {"-pi", -kPi},
        {"E", std::numbers::e_v<long double>}, {"1e3", 1000}, {"5!", 120}, {"0!", 1},
        {"-3!", -6}, {"$ff", 255}, {"$1F", 31}, {"$FFFFFFFF", 4294967295.0L},
        // Operators and signs.
        {"1|$zz", 1}, {"3---2", 1}, {"5!-3", 117}, {"3!!", 720}, {"2-(-3)", 5},
        {"((2+3)*(4-1))^2", 225}, {"2^-2", 0.25L}, {"0^0", 1}, {"0^5", 0}, {"-2^3", -8},
        {"10%-3", 1}, {"-7.9%3", -1}, {"1+1=3", 0}, {" 1 +\t2 ", 3}, {"2*3=6&0|1", 0},
        {"-9223372036854775808%-1", 0}, {"1E-4900/1E40", 0},
        // Functions, the longer names before the shorter ones they start with.
        {"sqrtsqrt16", 2}, {"sqrt(4+5)", 3}, {"abs-3", 3}, {"frac-2.75", -0.75L},
        {"int-2.75", -2}, {"round2.5", 2}, {"round3.5", 4}, {"round-2.5", -2},
        {"ceil2.1", 3}, {"floor-2.1", -3}, {"floor-2147483648", -2147483648.0L},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Raised(c.entry), "value") << c.entry;
        if (Raised(c.entry) == "value") {
            EXPECT_EQ(Evaluate(c.entry), c.value) << c.entry;
        }
    }
}

TEST_F(EvaluatorTest, FunctionsAreFoundInTheirOrder) {
    // A name read as a shorter one ("cos" in "cosec") fails or gives another function;
    // the tolerance only allows for the last bits of the library functions.
    const struct { const char* entry; long double value; } cases[] = {
        {"sin(-2)", std::sin(-2.0L)}, {"sinpi", std::sin(kPi)}, {"cosec(1)", 1 / std::sin(1.0L)},
        {"COSH1", std::cosh(1.0L)}, {"cos1", std::cos(1.0L)}, {"cotan1", 1 / std::tan(1.0L)},
        {"tan1", std::tan(1.0L)}, {"sec1", 1 / std::cos(1.0L)}, {"tanh0.5", std::tanh(0.5L)},
        {"sinh0.5", std::sinh(0.5L)}, {"arcsinh0.5", std::asinh(0.5L)},
        {"arcsin0.5", std::asin(0.5L)}, {"arctanh0.5", std::atanh(0.5L)},
        {"arctan1", kPi / 4}, {"arccosh2", std::acosh(2.0L)}, {"arccos0.5", kPi / 3},
        {"log1000", 3}, {"lnE", 1}, {"2^0.5", std::sqrt(2.0L)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Raised(c.entry), "value") << c.entry;
        if (Raised(c.entry) == "value") {
            EXPECT_LE(std::fabs(Evaluate(c.entry) - c.value), 1E-18L * std::fabs(c.value))
                << c.entry;
        }
    }
    EXPECT_EQ(Evaluate("cosec(1)"), Evaluate("csc(1)"));
    EXPECT_TRUE(IsFunctionName("ArcTanh") && IsFunctionName("$") && IsFunctionName("!"));
    EXPECT_FALSE(IsFunctionName("si") || IsFunctionName("pi") || IsFunctionName("sin2"));
}

TEST_F(EvaluatorTest, EntryErrorsHaveTheirExactMessages) {
    const struct { const char* entry; const std::string& message; } cases[] = {
        {"", kBlank}, {"2+()", kBlank}, {"   ", kInvalidExpression}, {"3+", kInvalidExpression},
        {"-", kInvalidCharacters}, {"^", kInvalidExpression}, {"2*sin(-2)", kInvalidCharacters},
        {"+3", kInvalidCharacters}, {"-sqrt4", kInvalidCharacters}, {"(2+3", kInvalidCharacters},
        {"((((", kInvalidCharacters}, {"3++4", kInvalidCharacters}, {"2+3)", kParentheses},
        {")))", kParentheses}, {"(x)+)", kInvalidCharacters}, {"2.5!", kFactorial},
        {"$xyz", kHex}, {"$", kHex}, {"$100000000", kHex}, {"$-1", kHex},
        {"0|$zz", kHex}, {"$zz&1", kHex}, {"1&$zz", kHex}, {"1E99999", kInvalidCharacters},
        // A typed byte 155 must not become a binary minus: "1|" would hide the rest.
        {"1|\xC4\x9B" "5", kInvalidCharacters},
    };
    for (const auto& c : cases) EXPECT_EQ(Raised(c.entry), c.message) << c.entry;
    EXPECT_THROW(Factorial(NAN), EAssignError);
    EXPECT_THROW(EvaluateOperand("1+1"), EAssignError);
}

TEST_F(EvaluatorTest, ArithmeticFaultsRaiseMathErrors) {
    const struct { const char* entry; const std::string& message; } cases[] = {
        {"1/0", kDivision}, {"0/0", kDivision}, {"5%0.5", kDivision}, {"0^-1", kDivision},
        {"0^-0.5", kDivision}, {"ln0", kDivision}, {"cotan0", kDivision}, {"csc0", kDivision},
        {"arctanh1", kDivision}, {"sqrt-1", kInvalidOperation}, {"ln(-1)", kInvalidOperation},
        {"log-1", kInvalidOperation}, {"(-8)^(1/3)", kInvalidOperation},
        {"arcsin2", kInvalidOperation}, {"arccos-1.5", kInvalidOperation},
        {"arccosh0.5", kInvalidOperation}, {"round1E19", kInvalidOperation},
        {"ceil3E9", kInvalidOperation}, {"floor-2147483649", kInvalidOperation},
        {"1E19%2", kInvalidOperation}, {"2%-1E19", kInvalidOperation},
        {"1E4000*1E4000", kOverflow}, {"1E4932+1E4932", kOverflow}, {"sinh20000", kOverflow},
        {"1755!", kOverflow}, {"2^1E4000", kOverflow}, {"0.5^-1E4000", kOverflow},
        {"2^20000.5", kOverflow}, {"1.18973149535723176502E4932*1", kOverflow},
    };
    for (const auto& c : cases) EXPECT_EQ(Raised(c.entry), c.message) << c.entry;
    EXPECT_TRUE(std::isfinite(Factorial(1754)));
    EXPECT_EQ(Evaluate("2^-1E4000"), 0);
    EXPECT_EQ(Evaluate("0.5^1E4000"), 0);
    EXPECT_EQ(Evaluate("-1^1E4000"), 1);
    EXPECT_EQ(Evaluate("-1^(1E4000*2+1)"), 1);
}

TEST_F(EvaluatorTest, FollowsTheDecimalSeparator) {
    EXPECT_EQ(Raised("1,5*2"), kInvalidCharacters);
    SetDecimalSeparator(',');
    EXPECT_EQ(Evaluate("1,5*2"), 3);
    EXPECT_EQ(Evaluate("(1,25)*2"), 2.5L);  // the group's text is written with ","
    EXPECT_EQ(Evaluate("0,1+0,2=0,3"), 1);
    // The program's own "." is read in a decimal-comma locale as well.
    EXPECT_EQ(Evaluate("1.5*2+0,5"), 3.5L);
}

TEST_F(EvaluatorTest, LongAndHostileEntriesEndCleanly) {
    std::string sum = "1";
    for (int i = 0; i < 30000; ++i) sum += "+1";
    EXPECT_EQ(Evaluate(sum), 30001);
    EXPECT_EQ(Evaluate(std::string(30000, '(') + "2" + std::string(30000, ')')), 2);
    std::string roots;
    for (int i = 0; i < 30000; ++i) roots += "sqrt";
    EXPECT_EQ(Evaluate(roots + "1"), 1);
    EXPECT_EQ(Evaluate("1" + std::string(100000, '!')), 1);
    EXPECT_EQ(Raised("3" + std::string(100000, '!')), kOverflow);
    EXPECT_EQ(Raised(std::string(100000, '-')), kInvalidCharacters);

    // Random entries from the characters that mean something: a value or one of the
    // two exception types, never a crash (run under the sanitizers) or a non-finite value.
    const std::string alphabet = "0123456789.,eE$!^*/%+-=|&() \tsqrtpinlogfacbdh";
    std::mt19937 random(12345);
    for (int n = 0; n < 5000; ++n) {
        std::string entry(random() % 24, ' ');
        for (char& c : entry) c = alphabet[random() % alphabet.size()];
        const std::string outcome = Raised(entry);
        EXPECT_NE(outcome, "non-finite value") << entry;
    }
}

}  // namespace
}  // namespace torvex
