#pragma once
// The word reader behind every text-file reader of the program: it reads a whole text file
// at construction, splits each line into words and hands them out one at a time as integers
// or reals (always with "." as the decimal point), or whole lines as text.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace torvex {

// The one input/output error of the readers; what() is the message shown to the user.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One line of the file: its text as read (untrimmed) and its words.
struct TWordContainer {
    std::string Line;
    std::vector<std::string> Words;
};

// Splits a line into words: trimmed of characters with codes 0..32 at both ends, words end
// at the first space or tab, and every run of such characters after a word is skipped.
std::vector<std::string> SplitWords(std::string_view line);

class TWordReader {
public:
    // Reads the whole file; throws EInOutError when it cannot be opened or read.
    explicit TWordReader(const std::string& fileName);
    // Reads from text already in memory (line ends CR LF, LF or CR).
    static TWordReader FromText(std::string_view text);

    // True when every line has been passed.
    bool AtEnd() const;
    // The full, untrimmed text of the current line; moves to the start of the next line.
    std::string NextLine();
    // The next word, moving on to the next line once when the current line is used up.
    std::string NextWord();
    long double NextReal();
    int32_t NextInteger();

    size_t LineCount() const { return lines_.size(); }
    size_t LineIndex() const { return lineIndex_; }
    size_t WordIndex() const { return wordIndex_; }
    const TWordContainer& Line(size_t index) const { return lines_.at(index); }

    static constexpr const char* kIncompleteMessage = "This file either invalid or incomplete.";

private:
    TWordReader() = default;
    void Load(std::string_view text);
    std::string Position() const;  // "Error on Line L Item N" of the word last taken

    std::vector<TWordContainer> lines_;
    size_t lineIndex_ = 0;
    size_t wordIndex_ = 0;
};

}  // namespace torvex
