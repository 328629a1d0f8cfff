#pragma once
// The expression evaluator behind every typed number: entry fields and table cells accept
// 12*2.54, sqrt(2)/2, 3! or $1F wherever a plain number is expected.
//
// Entry errors (blank entry, bad characters, unmatched parentheses, misuse of "!" or "$",
// a dangling operator) raise EAssignError; its message is shown to the user as it is.
//
// Arithmetic faults raise EMathError instead, so that no infinity or NaN ever reaches a
// table or a data file:
//   - "Division by zero": a zero divisor of "/" or "%", a zero base with a negative power,
//     ln or log of zero, cotan/cosec/csc of zero, arctanh of -1 or 1;
//   - "Floating point overflow": any result beyond the extended range (for example 1E4000^2,
//     sinh of 20000, 1755! and above);
//   - "Invalid floating point operation": sqrt, ln or log of a negative number, a negative
//     base with a fractional power, arcsin/arccos outside -1..1, arccosh below 1, arctanh
//     outside -1..1, and a value that does not fit the integer type an operation works in:
//     "%" and round need -2^63 <= value < 2^63 (after truncation or rounding), ceil and floor
//     need a result in -2^31..2^31-1. Nothing is clamped or wrapped.
// Results too small for the extended range become zero.
//
// "$" reads one to eight significant hexadecimal digits as an unsigned 32-bit value
// ($FFFFFFFF is 4294967295); longer values fail with the "$" message.
//
// The evaluator keeps no state between calls. It reads numbers, and writes its
// intermediate results, with the decimal separator of DecimalSeparator().

#include <exception>
#include <string>
#include <utility>

namespace torvex {

// An entry that cannot be read. what() is the text shown to the user.
class EAssignError : public std::exception {
public:
    explicit EAssignError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// An arithmetic fault in an entry that could be read. It is an entry error too, so that an
// entry field or a table cell shows its message and keeps the user there, as for any other
// entry that cannot be accepted.
class EMathError : public EAssignError {
public:
    enum class Kind { DivisionByZero, Overflow, InvalidOperation };
    explicit EMathError(Kind kind) : EAssignError(Message(kind)), kind_(kind) {}
    Kind kind() const noexcept { return kind_; }

private:
    static const char* Message(Kind kind) noexcept;
    Kind kind_;
};

// The value of a whole entry. Raises EAssignError or EMathError.
long double Evaluate(const std::string& text);

// The value of one operand: a number, "pi", "e", a "$" hex value, a function name followed
// by an operand, or an operand followed by "!". No operators, parentheses or blanks.
long double EvaluateOperand(const std::string& text);

// True when the lower-cased text is exactly one of the function names, "!" or "$".
bool IsFunctionName(const std::string& text);

// |x|! with the sign of x; EAssignError when x is not integral, EMathError beyond 1754.
long double Factorial(long double x);

}  // namespace torvex
