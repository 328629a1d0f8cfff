#include "dataentry/Evaluator.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string_view>
#include <vector>

#include "dataentry/NumberText.h"

// How an entry is read: blanks go, each parenthesised group is replaced by the text of its
// value, minus signs that belong to numbers are told from binary minuses, and the text is
// split into operands and operators that are reduced in four passes (^; * / % &; + - |; =),
// every intermediate result being written back as an 18-digit number text.
//
// Everything here is linear or close to it in the length of the entry, and nothing
// recurses more than one level, so that a long or pathological entry costs time in
// proportion to its length and never exhausts the stack.

namespace torvex {
namespace {

// The binary minus inside the evaluator; a "-" left in the text is a sign.
constexpr char kBinaryMinus = '\x9B';

using Kind = EMathError::Kind;

[[noreturn]] void Fail(const char* reason) {
    throw EAssignError(std::string("Entry could not be evaluated:\r") + reason);
}

[[noreturn]] void FailInvalidCharacters() { Fail("invalid character(s) in expression"); }

// An infinity or NaN produced from finite operands is an overflow or an invalid operation.
long double Checked(long double value) {
    if (std::isnan(value)) throw EMathError(Kind::InvalidOperation);
    if (std::isinf(value)) throw EMathError(Kind::Overflow);
    return value;
}

long double Reciprocal(long double value) {
    if (value == 0) throw EMathError(Kind::DivisionByZero);
    return Checked(1 / value);
}

constexpr long double kTwoTo63 = 9223372036854775808.0L;
constexpr long double kTwoTo31 = 2147483648.0L;

// An integral value in -2^63..2^63-1, or an invalid operation.
std::int64_t ToInt64(long double integral) {
    if (!(integral >= -kTwoTo63 && integral < kTwoTo63)) throw EMathError(Kind::InvalidOperation);
    return static_cast<std::int64_t>(integral);
}

long double ToInt32(long double integral) {
    if (!(integral >= -kTwoTo31 && integral < kTwoTo31)) throw EMathError(Kind::InvalidOperation);
    return integral;
}

// Nearest integer, halves to even; exact for every long double.
long double RoundHalfEven(long double x) {
    const long double below = std::floor(x);
    const long double fraction = x - below;  // exact
    if (fraction > 0.5L) return below + 1;
    if (fraction < 0.5L) return below;
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

enum class Function {
    ArcTanh, ArcTan, Cotan, Tanh, Tan, ArcCosh, ArcCos, Cosh, Cosec, Cos, Sec, ArcSinh,
    ArcSin, Sinh, Sin, Csc, Abs, Frac, Int, Ln, Round, Ceil, Floor, Log, Sqrt, Factorial
};

struct Prefix {
    std::string_view name;
    Function function;
};

// Tried in this order, so that a longer name is found before a shorter one it starts with.
constexpr Prefix kPrefixes[] = {
    {"arctanh", Function::ArcTanh}, {"arctan", Function::ArcTan},   {"cotan", Function::Cotan},
    {"tanh", Function::Tanh},       {"tan", Function::Tan},         {"arccosh", Function::ArcCosh},
    {"arccos", Function::ArcCos},   {"cosh", Function::Cosh},       {"cosec", Function::Cosec},
    {"cos", Function::Cos},         {"sec", Function::Sec},         {"arcsinh", Function::ArcSinh},
    {"arcsin", Function::ArcSin},   {"sinh", Function::Sinh},       {"sin", Function::Sin},
    {"csc", Function::Csc},         {"abs", Function::Abs},         {"frac", Function::Frac},
    {"int", Function::Int},         {"ln", Function::Ln},           {"round", Function::Round},
    {"ceil", Function::Ceil},       {"floor", Function::Floor},     {"log", Function::Log},
    {"sqrt", Function::Sqrt},
};

long double Logarithm(long double x, bool decimal) {
    if (x < 0) throw EMathError(Kind::InvalidOperation);
    if (x == 0) throw EMathError(Kind::DivisionByZero);
    return decimal ? std::log10(x) : std::log(x);
}

// x is always finite here.
long double Apply(Function function, long double x) {
    switch (function) {
        case Function::ArcTanh:
            if (std::fabs(x) > 1) throw EMathError(Kind::InvalidOperation);
            if (std::fabs(x) == 1) throw EMathError(Kind::DivisionByZero);
            return std::atanh(x);
        case Function::ArcTan: return std::atan(x);
        case Function::Cotan: return Reciprocal(std::tan(x));
        case Function::Tanh: return std::tanh(x);
        case Function::Tan: return Checked(std::tan(x));
        case Function::ArcCosh:
            if (x < 1) throw EMathError(Kind::InvalidOperation);
            return std::acosh(x);
        case Function::ArcCos:
            if (std::fabs(x) > 1) throw EMathError(Kind::InvalidOperation);
            return std::acos(x);
        case Function::Cosh: return Checked(std::cosh(x));
        case Function::Cosec:
        case Function::Csc: return Reciprocal(std::sin(x));
        case Function::Cos: return std::cos(x);
        case Function::Sec: return Reciprocal(std::cos(x));
        case Function::ArcSinh: return std::asinh(x);
        case Function::ArcSin:
            if (std::fabs(x) > 1) throw EMathError(Kind::InvalidOperation);
            return std::asin(x);
        case Function::Sinh: return Checked(std::sinh(x));
        case Function::Sin: return std::sin(x);
        case Function::Abs: return std::fabs(x);
        case Function::Frac: return x - std::trunc(x);
        case Function::Int: return std::trunc(x);
        case Function::Ln: return Logarithm(x, false);
        case Function::Round: return static_cast<long double>(ToInt64(RoundHalfEven(x)));
        case Function::Ceil: return ToInt32(std::ceil(x));
        case Function::Floor: return ToInt32(std::floor(x));
        case Function::Log: return Logarithm(x, true);
        case Function::Sqrt:
            if (x < 0) throw EMathError(Kind::InvalidOperation);
            return std::sqrt(x);
        case Function::Factorial: return Factorial(x);
    }
    return x;
}

// "$" followed by hexadecimal digits (already lower case), at most 0xFFFFFFFF.
long double HexValue(std::string_view text) {
    std::string_view digits = text.substr(1);
    if (digits.empty()) Fail("invalid use of $ (hex function)");
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else Fail("invalid use of $ (hex function)");
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) Fail("invalid use of $ (hex function)");
    }
    return static_cast<long double>(value);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

long double ReadOperand(std::string_view text, char separator) {
    // Deleting "--" pairs until none is left turns each run of minuses into one or none.
    std::string normal;
    normal.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '-') {
            size_t run = 0;
            while (i < text.size() && text[i] == '-') ++run, ++i;
            if (run % 2 == 1) normal += '-';
        } else {
            normal += LowerAscii(text[i++]);
        }
    }

    // A function name or a trailing "!" applies to the operand that remains; the chain is
    // peeled off here and applied innermost first, so that "sqrtsqrt16" and "3!!" work
    // without recursion.
    std::vector<Function> pending;
    std::string_view rest = normal;
    long double value = 0;
    for (;;) {
        if (rest == "pi") { value = std::numbers::pi_v<long double>; break; }
        if (rest == "-pi") { value = -std::numbers::pi_v<long double>; break; }
        if (rest == "e") { value = std::numbers::e_v<long double>; break; }
        if (rest == "-e") { value = -std::numbers::e_v<long double>; break; }
        const Prefix* found = nullptr;
        for (const Prefix& prefix : kPrefixes) {
            if (rest.starts_with(prefix.name)) { found = &prefix; break; }
        }
        if (found) {
            pending.push_back(found->function);
            rest.remove_prefix(found->name.size());
            continue;
        }
        if (!rest.empty() && rest.back() == '!') {
            pending.push_back(Function::Factorial);
            rest.remove_suffix(1);
            continue;
        }
        if (!rest.empty() && rest.front() == '$') {
            value = HexValue(rest);
            break;
        }
        const std::optional<long double> number = ParseDecimal(rest, separator);
        if (!number) FailInvalidCharacters();
        value = *number;
        break;
    }
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) value = Apply(*it, value);
    return value;
}

// The text of an intermediate result, such that it reads back.
std::string ResultText(long double value, char separator) {
    if (std::fpclassify(value) == FP_SUBNORMAL) value = 0;  // its text would not read back
    std::string text = EntryNumberText(value, separator);
    // Within 5E-18 of the largest extended value, 18 digits round past it.
    if (std::fabs(value) > 1E4931L && !ParseDecimal(text, separator))
        throw EMathError(Kind::Overflow);
    return text;
}

// left ^ right: repeated multiplication (by squaring) for an integral power.
long double Power(long double base, long double exponent) {
    if (exponent == 0) return 1;
    if (base == 0) {
        if (exponent > 0) return 0;
        throw EMathError(Kind::DivisionByZero);
    }
    if (exponent != std::trunc(exponent)) {
        if (base < 0) throw EMathError(Kind::InvalidOperation);
        return Checked(std::exp(exponent * std::log(base)));
    }
    // At most 16384 rounds: the exponent is below 2^16384.
    long double count = std::fabs(exponent);
    long double result = 1;
    long double factor = base;
    for (;;) {
        if (std::fmod(count, 2.0L) != 0) result *= factor;
        count = std::floor(count / 2);
        if (count == 0) break;
        factor *= factor;
    }
    if (exponent > 0) return Checked(result);
    if (std::isinf(result)) return 0;                         // the true value underflows
    if (result == 0) throw EMathError(Kind::Overflow);       // the true value overflows
    return Checked(1 / result);
}

bool IsOperator(char c) {
    switch (c) {
        case '^': case '*': case '/': case '%': case '+': case '=': case '|': case '&':
        case kBinaryMinus: return true;
        default: return false;
    }
}

// One operator applied to its two operand texts; the result is again a text.
std::string Combine(const std::string& leftText, char op, const std::string& rightText,
                    char separator) {
    const long double left = ReadOperand(leftText, separator);
    if (op == '|' && left != 0) return "1";  // the right operand is not read
    const long double right = ReadOperand(rightText, separator);
    switch (op) {
        case '^': return ResultText(Power(left, right), separator);
        case '*': return ResultText(Checked(left * right), separator);
        case '/':
            if (right == 0) throw EMathError(Kind::DivisionByZero);
            return ResultText(Checked(left / right), separator);
        case '%': {
            const std::int64_t dividend = ToInt64(std::trunc(left));
            const std::int64_t divisor = ToInt64(std::trunc(right));
            if (divisor == 0) throw EMathError(Kind::DivisionByZero);
            // -2^63 % -1 overflows in the integer division, though its remainder is 0.
            return std::to_string(divisor == -1 ? 0 : dividend % divisor);
        }
        case '&': return right != 0 ? "1" : "0";
        case '+': return ResultText(Checked(left + right), separator);
        case kBinaryMinus: return ResultText(Checked(left - right), separator);
        case '|': return right != 0 ? "1" : "0";
        case '=': return left == right ? "1" : "0";
    }
    return leftText;
}

// Steps after the parentheses: signs, splitting and the four passes. No parentheses pair
// up in `text` any more.
long double EvaluateFlat(std::string text, char separator) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-') continue;
        bool sign = i == 0;
        if (!sign) {
            switch (text[i - 1]) {
                case '%': case '&': case '*': case '+': case '/': case '=': case 'E': case '^':
                case 'e': case '|': case '-': case kBinaryMinus: sign = true; break;
                default: break;
            }
        }
        // Function names are at most 7 characters long.
        if (!sign && i <= 7) sign = IsFunctionName(text.substr(0, i));
        if (!sign) text[i] = kBinaryMinus;
    }

    std::vector<std::string> operands;
    std::vector<char> operators;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !IsOperator(text[end])) ++end;
        operands.push_back(text.substr(start, end - start));
        if (end == text.size()) break;
        operators.push_back(text[end]);
        start = end + 1;
    }
    if (operands.size() != operators.size() + 1) Fail("invalid expression");

    constexpr std::string_view kPasses[] = {"^", "*/%&", "+\x9B|", "="};
    for (std::string_view pass : kPasses) {
        // Left to right; a result takes the place of its left operand and is the left
        // operand of the next operator of the same pass.
        std::vector<std::string> nextOperands{std::move(operands[0])};
        std::vector<char> nextOperators;
        for (size_t k = 0; k < operators.size(); ++k) {
            if (pass.find(operators[k]) != std::string_view::npos) {
                nextOperands.back() =
                    Combine(nextOperands.back(), operators[k], operands[k + 1], separator);
            } else {
                nextOperators.push_back(operators[k]);
                nextOperands.push_back(std::move(operands[k + 1]));
            }
        }
        operands = std::move(nextOperands);
        operators = std::move(nextOperators);
    }
    return ReadOperand(operands[0], separator);
}

long double EvaluateGroup(const std::string& text, char separator) {
    if (text.empty()) Fail("entry cannot be blank");
    return EvaluateFlat(text, separator);
}

}  // namespace

const char* EMathError::Message(Kind kind) noexcept {
    switch (kind) {
        case Kind::DivisionByZero: return "Division by zero";
        case Kind::Overflow: return "Floating point overflow";
        case Kind::InvalidOperation: break;
    }
    return "Invalid floating point operation";
}

long double Evaluate(const std::string& text) {
    if (text.empty()) Fail("entry cannot be blank");
    const char separator = DecimalSeparator();

    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        // A typed byte 155 (part of some UTF-8 characters) would read as a binary minus.
        if (c == kBinaryMinus) FailInvalidCharacters();
        if (c != ' ' && c != '\t') compact += c;
    }

    // Each ")" closes the last "(" still open before it; the group, parentheses included,
    // becomes the text of its value. A "(" never closed stays and fails in its operand.
    std::string text2;
    text2.reserve(compact.size());
    std::vector<size_t> open;
    for (char c : compact) {
        if (c == ')') {
            if (open.empty()) Fail("() (parentheses) do not match");
            const size_t at = open.back();
            open.pop_back();
            const long double value = EvaluateGroup(text2.substr(at + 1), separator);
            text2.resize(at);
            text2 += ResultText(value, separator);
        } else {
            if (c == '(') open.push_back(text2.size());
            text2 += c;
        }
    }
    return EvaluateFlat(std::move(text2), separator);
}

long double EvaluateOperand(const std::string& text) {
    return ReadOperand(text, DecimalSeparator());
}

bool IsFunctionName(const std::string& text) {
    std::string lower;
    for (char c : text) lower += LowerAscii(c);
    if (lower == "!" || lower == "$") return true;
    for (const Prefix& prefix : kPrefixes) {
        if (lower == prefix.name) return true;
    }
    return false;
}

long double Factorial(long double x) {
    if (std::isnan(x) || (std::isfinite(x) && x != std::trunc(x)))
        Fail("! (factoral) applicable to integers only");
    const long double n = std::fabs(x);
    // 1754! is the largest factorial of the extended range.
    if (n > 1754) throw EMathError(Kind::Overflow);
    const int count = static_cast<int>(n);
    long double product = 1;
    for (int k = 2; k <= count; ++k) product *= k;
    return x < 0 ? -product : product;
}

}  // namespace torvex
