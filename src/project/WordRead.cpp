#include "project/WordRead.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "dataentry/NumberText.h"

namespace torvex {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    size_t first = 0;
    size_t last = line.size();
    while (first < last && IsBlank(line[first])) ++first;
    while (last > first && IsBlank(line[last - 1])) --last;
    std::string_view rest = line.substr(first, last - first);
    while (!rest.empty()) {
        const size_t end = rest.find_first_of(" \t");
        words.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    }
    return words;
}

TWordReader::TWordReader(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw EInOutError("Cannot open file \"" + fileName + "\"" +
                          (error ? std::string(": ") + std::strerror(error) : std::string()) + ".");
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) throw EInOutError("Cannot read file \"" + fileName + "\".");
    Load(content.str());
}

TWordReader TWordReader::FromText(std::string_view text) {
    TWordReader reader;
    reader.Load(text);
    return reader;
}

void TWordReader::Load(std::string_view text) {
    // Lines end at CR LF, LF or a lone CR. The end of the text is tested after each line is
    // taken: an empty text gives one empty line, a final line end adds no empty line.
    size_t pos = 0;
    do {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        lines_.push_back({std::string(line), SplitWords(line)});
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r'))
            ++pos;
    } while (pos < text.size());
}

bool TWordReader::AtEnd() const { return lineIndex_ == lines_.size(); }

std::string TWordReader::NextLine() {
    if (AtEnd()) throw EInOutError(kIncompleteMessage);
    std::string text = lines_[lineIndex_].Line;
    ++lineIndex_;
    wordIndex_ = 0;
    return text;
}

std::string TWordReader::NextWord() {
    if (lineIndex_ < lines_.size() && wordIndex_ == lines_[lineIndex_].Words.size()) {
        ++lineIndex_;
        wordIndex_ = 0;
    }
    if (lineIndex_ >= lines_.size()) throw EInOutError(kIncompleteMessage);
    const TWordContainer& line = lines_[lineIndex_];
    if (line.Words.empty()) {
        // A blank line where a number is expected: the writers never produce one.
        throw EInOutError("Error on Line " + std::to_string(lineIndex_ + 1) +
                          " Item 1\rThe line is blank where a number was expected.");
    }
    return line.Words[wordIndex_++];
}

std::string TWordReader::Position() const {
    return "Error on Line " + std::to_string(lineIndex_ + 1) + " Item " +
           std::to_string(wordIndex_);
}

long double TWordReader::NextReal() {
    const std::string word = NextWord();
    const auto value = ParseDecimal(word, '.');
    if (!value) throw EInOutError(Position() + "\rA floating point number was expected but not found.");
    return *value;
}

int32_t TWordReader::NextInteger() {
    const std::string word = NextWord();
    const auto value = ParseDecimal(word, '.');
    if (!value || std::trunc(*value) != *value || *value < -2147483648.0L ||
        *value > 2147483647.0L)
        throw EInOutError(Position() + "\rAn integer was expected but not found.");
    return static_cast<int32_t>(*value);
}

}  // namespace torvex
