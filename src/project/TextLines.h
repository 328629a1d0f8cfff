#pragma once
// Walks the lines of a text as the word reader and a line-by-line copy count them: CR LF, LF or
// a lone CR end a line; an empty text has no lines and a final line end adds none. Nothing is
// kept per line.

#include <cstddef>
#include <string_view>

namespace torvex {

class TTextLines {
public:
    explicit TTextLines(std::string_view text, size_t start = 0) : text_(text), pos_(start) {}
    // The next line, or false at the end of the text.
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        size_t end = pos_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n' && (pos_ == end || text_[pos_ - 1] == '\r'))
            ++pos_;
        return true;
    }
    // Where the next line starts.
    size_t Position() const { return pos_; }

private:
    std::string_view text_;
    size_t pos_;
};

}  // namespace torvex
