#pragma once
// The text of one result file, built in a single buffer. Numbers are written as the C locale's
// printf writes them, "." the decimal point whatever the locale of the program that called the
// engine, and no number makes a string of its own.

#include <charconv>
#include <string>
#include <string_view>

#include "GeneralNumber.h"

namespace torvex::engine {

class TTextBuffer {
public:
    explicit TTextBuffer(size_t reserve = 4096) { text_.reserve(reserve); }

    TTextBuffer& operator<<(std::string_view text) {
        text_.append(text);
        return *this;
    }
    TTextBuffer& operator<<(char c) {
        text_.push_back(c);
        return *this;
    }
    // An integer, as std::to_string writes it.
    TTextBuffer& Int(long long value) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        text_.append(buffer, result.ptr);
        return *this;
    }
    // As printf's "%.*g" writes it in the C locale (8 significant digits by default).
    TTextBuffer& G(double value, int digits = 8) {
        char buffer[kGeneralNumberSize];
        text_.append(buffer, FormatGeneral(buffer, value, digits));
        return *this;
    }
    // As "%*.*g": right-aligned in width characters.
    TTextBuffer& Fixed(double value, int width, int digits) {
        char buffer[kGeneralNumberSize];
        const std::string_view number(buffer, static_cast<size_t>(FormatGeneral(buffer, value, digits) - buffer));
        if (static_cast<int>(number.size()) < width) text_.append(static_cast<size_t>(width) - number.size(), ' ');
        text_.append(number);
        return *this;
    }

    const std::string& Text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace torvex::engine
