#pragma once
// The text of one result file, built in a single buffer. Numbers are written as the C locale's
// printf writes them, "." the decimal point whatever the locale of the program that called the
// engine, and no number makes a string of its own.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "output/GeneralNumber.h"

namespace torvex::engine {

class TTextBuffer {
public:
    explicit TTextBuffer(size_t reserve = 4096) { text_.resize(reserve < 64 ? 64 : reserve); }

    TTextBuffer& operator<<(std::string_view text) {
        std::memcpy(Room(text.size()), text.data(), text.size());
        used_ += text.size();
        return *this;
    }
    TTextBuffer& operator<<(char c) {
        *Room(1) = c;
        ++used_;
        return *this;
    }
    // An integer, as std::to_string writes it.
    TTextBuffer& Int(long long value) {
        char* at = Room(24);
        used_ = static_cast<size_t>(std::to_chars(at, at + 24, value).ptr - text_.data());
        return *this;
    }
    // As printf's "%.*g" writes it in the C locale (8 significant digits by default).
    TTextBuffer& G(double value, int digits = 8) {
        used_ = static_cast<size_t>(FormatGeneral(Room(kGeneralNumberSize), value, digits) - text_.data());
        return *this;
    }
    // A CSV cell after its comma: the number, or nothing when it does not apply.
    TTextBuffer& Cell(bool applies, double value) {
        *this << ',';
        return applies ? G(value) : *this;
    }
    // As "%*.*g": right-aligned in width characters.
    TTextBuffer& Fixed(double value, int width, int digits) {
        char number[kGeneralNumberSize];
        const size_t length = static_cast<size_t>(FormatGeneral(number, value, digits) - number);
        const size_t pad = static_cast<int>(length) < width ? static_cast<size_t>(width) - length : 0;
        char* at = Room(pad + length);
        std::memset(at, ' ', pad);
        std::memcpy(at + pad, number, length);
        used_ += pad + length;
        return *this;
    }

    const std::string& Text() {
        text_.resize(used_);
        return text_;
    }
    std::string Take() {
        text_.resize(used_);
        used_ = 0;
        return std::move(text_);
    }

private:
    // Space for `count` more characters after the text; the string is kept longer than the text
    // (used_ characters), so numbers are written straight into it.
    char* Room(size_t count) {
        if (used_ + count > text_.size()) text_.resize(std::max(2 * text_.size(), used_ + count));
        return text_.data() + used_;
    }

    std::string text_;
    size_t used_ = 0;
};

}  // namespace torvex::engine
