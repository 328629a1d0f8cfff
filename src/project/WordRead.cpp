#include "project/WordRead.h"

#include <cmath>

#include "dataentry/NumberText.h"
#include "project/SafeSave.h"

namespace torvex {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsSeparator(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The end of the text of the line that starts at `start`.
size_t LineEndFrom(std::string_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    return end;
}

// Where the line after the one ending at `end` starts: CR LF, LF or a lone CR end a line.
size_t NextLineStart(std::string_view text, size_t end) {
    size_t pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r')) ++pos;
    return pos;
}

// The end of the text is tested after each line is taken: an empty text has one empty line,
// and a final line end adds no empty line.
bool HasLineAfter(std::string_view text, size_t end) {
    return end < text.size() && NextLineStart(text, end) < text.size();
}

size_t TrimmedEnd(std::string_view text, size_t start, size_t end) {
    while (end > start && IsBlank(text[end - 1])) --end;
    return end;
}

// The next word in [pos, trimEnd): leading blanks are skipped, the word ends at a space or
// a tab or at trimEnd. Returns the word's start and end; start == end when there is none.
std::pair<size_t, size_t> WordAt(std::string_view text, size_t pos, size_t trimEnd) {
    while (pos < trimEnd && IsBlank(text[pos])) ++pos;
    size_t end = pos;
    while (end < trimEnd && !IsSeparator(text[end])) ++end;
    return {pos, end};
}

size_t CountWords(std::string_view text, size_t pos, size_t trimEnd) {
    size_t count = 0;
    for (;;) {
        const auto [start, end] = WordAt(text, pos, trimEnd);
        if (start == end) return count;
        ++count;
        pos = end;
    }
}

}  // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    const size_t trimEnd = TrimmedEnd(line, first, line.size());
    for (size_t pos = first;;) {
        const auto [start, end] = WordAt(line, pos, trimEnd);
        if (start == end) break;
        words.emplace_back(line.substr(start, end - start));
        pos = end;
    }
    return words;
}

size_t LinesBefore(std::string_view text, size_t offset) {
    size_t lines = 0;
    for (size_t start = 0; start < offset && start < text.size(); ++lines) {
        const size_t end = LineEndFrom(text, start);
        if (end >= text.size()) return lines + 1;
        start = NextLineStart(text, end);
    }
    return lines;
}

TWordReader::TWordReader(const std::string& fileName) { Load(LoadTextFile(fileName)); }

TWordReader TWordReader::FromText(std::string_view text) {
    TWordReader reader;
    reader.Load(std::string(text));
    return reader;
}

void TWordReader::Load(std::string text) {
    text_ = std::move(text);
    EnterLine(0);
}

void TWordReader::EnterLine(size_t start) {
    lineStart_ = start;
    lineEnd_ = LineEndFrom(text_, start);
    trimEnd_ = TrimmedEnd(text_, start, lineEnd_);
    wordPos_ = start;
    wordIndex_ = 0;
}

void TWordReader::Advance() {
    wordsBeforeLine_ += wordIndex_ + CountWords(text_, wordPos_, trimEnd_);
    ++lineIndex_;
    if (HasLineAfter(text_, lineEnd_)) {
        EnterLine(NextLineStart(text_, lineEnd_));
    } else {
        atEnd_ = true;
        lineStart_ = lineEnd_ = trimEnd_ = wordPos_ = text_.size();
        wordIndex_ = 0;
    }
}

std::string TWordReader::NextLine() {
    if (atEnd_) throw EInOutError(kIncompleteMessage);
    std::string line = text_.substr(lineStart_, lineEnd_ - lineStart_);
    Advance();
    return line;
}

std::optional<std::string_view> TWordReader::FindWord() {
    const auto [start, end] = WordAt(text_, wordPos_, trimEnd_);
    wordPos_ = start;
    if (start == end) return std::nullopt;
    return std::string_view(text_).substr(start, end - start);
}

std::string_view TWordReader::TakeWord() {
    // Moves on one line only when the current one is used up: a blank line is not skipped.
    if (!atEnd_ && !FindWord()) Advance();
    if (atEnd_) throw EInOutError(kIncompleteMessage);
    const auto word = FindWord();
    if (!word) {
        // A blank line where a number is expected: the writers never produce one.
        throw EInOutError("Error on Line " + std::to_string(LineNumber()) +
                          " Item 1\rThe line is blank where a number was expected.");
    }
    wordPos_ += word->size();
    ++wordIndex_;
    return *word;
}

std::string TWordReader::NextWord() { return std::string(TakeWord()); }

size_t TWordReader::RemainingWords() {
    if (atEnd_) return 0;
    if (!totalWords_) {
        size_t count = 0;
        for (size_t start = 0;;) {
            const size_t end = LineEndFrom(text_, start);
            count += CountWords(text_, start, TrimmedEnd(text_, start, end));
            if (!HasLineAfter(text_, end)) break;
            start = NextLineStart(text_, end);
        }
        totalWords_ = count;
    }
    return *totalWords_ - wordsBeforeLine_ - wordIndex_;
}

size_t TWordReader::LineCount() const {
    size_t count = 1;
    for (size_t end = LineEndFrom(text_, 0); HasLineAfter(text_, end);
         end = LineEndFrom(text_, NextLineStart(text_, end)))
        ++count;
    return count;
}

TWordContainer TWordReader::Line(size_t index) const {
    size_t start = 0;
    for (size_t i = 0; i < index; ++i) {
        const size_t end = LineEndFrom(text_, start);
        if (!HasLineAfter(text_, end)) throw std::out_of_range("TWordReader::Line");
        start = NextLineStart(text_, end);
    }
    const std::string_view line =
        std::string_view(text_).substr(start, LineEndFrom(text_, start) - start);
    return {std::string(line), SplitWords(line)};
}

std::string TWordReader::Position() const {
    return "Error on Line " + std::to_string(LineNumber()) + " Item " +
           std::to_string(wordIndex_);
}

long double TWordReader::NextReal() {
    const auto value = ParseDecimal(TakeWord(), '.');
    // Values are kept and written as doubles: one beyond their range cannot be kept.
    if (!value || !std::isfinite(static_cast<double>(*value)))
        throw EInOutError(Position() + "\rA floating point number was expected but not found.");
    return *value;
}

int32_t TWordReader::NextInteger() {
    const auto value = ParseDecimal(TakeWord(), '.');
    if (!value || std::trunc(*value) != *value || *value < -2147483648.0L ||
        *value > 2147483647.0L)
        throw EInOutError(Position() + "\rAn integer was expected but not found.");
    return static_cast<int32_t>(*value);
}

}  // namespace torvex
