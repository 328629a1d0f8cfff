#pragma once
// The word reader behind every text-file reader of the program: it reads a whole text file
// at construction and hands out its words one at a time as integers or reals (always with
// "." as the decimal point), or whole lines as text.
//
// It keeps the file's bytes and a cursor, nothing per line or per word, so reading takes
// memory in proportion to the file and no more.

#include <cstdint>
#include <memory>
#include <optional>
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

// How many lines of text start before byte `offset`, with lines counted as the reader counts
// them: the line offset to give a reader of the part of text that starts there.
size_t LinesBefore(std::string_view text, size_t offset);

class TWordReader {
public:
    // Reads the whole file (see LoadTextFile: regular files of at most 64 MB); throws
    // EInOutError when it cannot be opened or read.
    explicit TWordReader(const std::string& fileName);
    // Reads from a copy of text already in memory (line ends CR LF, LF or CR).
    static TWordReader FromText(std::string_view text);

    // The text is part of a larger file that has `lines` lines before it (a stage split
    // from a staged data file): messages give line numbers in that whole file.
    void SetLineOffset(size_t lines) { lineOffset_ = lines; }

    // True when every line has been passed.
    bool AtEnd() const { return atEnd_; }
    // The full, untrimmed text of the current line; moves to the start of the next line.
    std::string NextLine();
    // The next word, moving on to the next line once when the current line is used up.
    std::string NextWord();
    long double NextReal();
    int32_t NextInteger();
    // How many words follow the current position up to the end of the text.
    size_t RemainingWords();

    // Lines of the text; each call walks the text, so these are for small files.
    size_t LineCount() const;
    TWordContainer Line(size_t index) const;  // std::out_of_range past the last line

    size_t LineIndex() const { return lineIndex_; }  // 0-based, within this text
    size_t WordIndex() const { return wordIndex_; }  // words taken from the current line
    // The 1-based number of the current line in the whole file.
    size_t LineNumber() const { return lineOffset_ + lineIndex_ + 1; }

    static constexpr const char* kIncompleteMessage = "This file either invalid or incomplete.";

private:
    TWordReader() = default;
    void Load(std::string text);
    void EnterLine(size_t start);
    void Advance();  // to the next line, or to the end
    std::optional<std::string_view> FindWord();
    std::string_view TakeWord();
    std::string Position() const;  // "Error on Line L Item N" of the word last taken

    // Offsets, not pointers, into text_: a reader is moved when it is returned.
    std::string text_;
    size_t lineStart_ = 0;   // the current line: its first byte,
    size_t lineEnd_ = 0;     // the byte after its text (its line end or the end of text),
    size_t trimEnd_ = 0;     // the byte after its last character above code 32,
    size_t wordPos_ = 0;     // where the search for its next word starts
    size_t lineIndex_ = 0;
    size_t wordIndex_ = 0;
    size_t lineOffset_ = 0;
    bool atEnd_ = false;
    size_t wordsBeforeLine_ = 0;             // words of the lines already passed
    std::optional<size_t> totalWords_;       // counted on first use
};

}  // namespace torvex
