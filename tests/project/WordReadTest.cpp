#include "project/WordRead.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "dataentry/NumberText.h"

namespace torvex {
namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(SplitWords, SeparatorsAreRunsOfBlanksBeginningWithSpaceOrTab) {
    const auto words = SplitWords("  12\t 3.5   7 ");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], "12");
    EXPECT_EQ(words[1], "3.5");
    EXPECT_EQ(words[2], "7");
    EXPECT_TRUE(SplitWords("").empty());
    EXPECT_TRUE(SplitWords(" \t \x01 ").empty());
    // A control character other than space or tab does not start a separator ...
    const auto joined = SplitWords("a\x01" "b c");
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0], "a\x01" "b");
    // ... but is swallowed by a run that began with a space.
    const auto run = SplitWords("a \x01\x02 b");
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[1], "b");
}

TEST(TWordReader, LinesOfAFileAndTheFinalLineEnd) {
    EXPECT_EQ(TWordReader::FromText("").LineCount(), 1u);
    EXPECT_EQ(TWordReader::FromText("1 2\r\n").LineCount(), 1u);
    EXPECT_EQ(TWordReader::FromText("1 2\r\n3").LineCount(), 2u);
    EXPECT_EQ(TWordReader::FromText("1\r\n\r\n").LineCount(), 2u);
    EXPECT_EQ(TWordReader::FromText("1\n2\n3\n").LineCount(), 3u);
    EXPECT_EQ(TWordReader::FromText("1\r2\r").LineCount(), 2u);
    const auto reader = TWordReader::FromText("  title  line \r\n4 5\r\n");
    EXPECT_EQ(reader.Line(0).Line, "  title  line ");
    EXPECT_EQ(reader.Line(1).Words.size(), 2u);
}

TEST(TWordReader, TypedReadsAcrossLines) {
    auto reader = TWordReader::FromText("  12\t 3.5   7 \r\n-4 2.0 1E3\r\n");
    EXPECT_EQ(reader.NextInteger(), 12);
    EXPECT_EQ(reader.NextReal(), 3.5L);
    EXPECT_EQ(reader.NextInteger(), 7);
    EXPECT_EQ(reader.NextInteger(), -4);
    EXPECT_EQ(reader.NextInteger(), 2);  // a zero fraction reads as an integer
    EXPECT_EQ(reader.NextInteger(), 1000);
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(MessageOf([&] { reader.NextWord(); }), "This file either invalid or incomplete.");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(MessageOf([&] { reader.NextReal(); }), "This file either invalid or incomplete.");
    EXPECT_EQ(MessageOf([&] { reader.NextLine(); }), "This file either invalid or incomplete.");
}

TEST(TWordReader, CommaIsNeverADecimalMarkEvenWithACommaLocale) {
    SetDecimalSeparator(',');
    auto reader = TWordReader::FromText("1 1,5\r\n");
    EXPECT_EQ(reader.NextReal(), 1.0L);
    EXPECT_EQ(MessageOf([&] { reader.NextReal(); }),
              "Error on Line 1 Item 2\rA floating point number was expected but not found.");
    SetDecimalSeparator('\0');
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        auto localised = TWordReader::FromText("2.25 1,5");
        EXPECT_EQ(localised.NextReal(), 2.25L);
        EXPECT_THROW(localised.NextReal(), EInOutError);
        std::setlocale(LC_NUMERIC, "C");
    }
}

TEST(TWordReader, IntegerMessagesForFractionsRangeAndText) {
    auto reader = TWordReader::FromText("0\r\n9 2.5 x 2147483648 -2147483648 -2147483649 2147483647");
    EXPECT_EQ(reader.NextInteger(), 0);
    EXPECT_EQ(reader.NextInteger(), 9);
    EXPECT_EQ(MessageOf([&] { reader.NextInteger(); }),
              "Error on Line 2 Item 2\rAn integer was expected but not found.");
    EXPECT_EQ(MessageOf([&] { reader.NextInteger(); }),
              "Error on Line 2 Item 3\rAn integer was expected but not found.");
    EXPECT_EQ(MessageOf([&] { reader.NextInteger(); }),
              "Error on Line 2 Item 4\rAn integer was expected but not found.");
    EXPECT_EQ(reader.NextInteger(), -2147483647 - 1);
    EXPECT_THROW(reader.NextInteger(), EInOutError);
    EXPECT_EQ(reader.NextInteger(), 2147483647);
}

TEST(TWordReader, NextLineReturnsTheWholeLineAfterSomeWordsWereTaken) {
    auto reader = TWordReader::FromText("1 2 3\r\nMy wall  \r\n4\r\n");
    EXPECT_EQ(reader.NextInteger(), 1);
    EXPECT_EQ(reader.NextLine(), "1 2 3");
    EXPECT_EQ(reader.NextLine(), "My wall  ");
    EXPECT_EQ(reader.NextInteger(), 4);
    EXPECT_TRUE(reader.AtEnd() == false);
    EXPECT_EQ(reader.LineIndex(), 2u);
}

TEST(TWordReader, MovesOnOneLineOnlyAndABlankLineEndsTheRead) {
    auto reader = TWordReader::FromText("1\r\n\r\n2\r\n");
    EXPECT_EQ(reader.NextInteger(), 1);
    EXPECT_EQ(MessageOf([&] { reader.NextInteger(); }),
              "Error on Line 2 Item 1\rThe line is blank where a number was expected.");
    // A blank title line is still read as text.
    auto titled = TWordReader::FromText("\r\n5\r\n");
    EXPECT_EQ(titled.NextLine(), "");
    EXPECT_EQ(titled.NextInteger(), 5);
    // An empty file has one empty line: a word is blank, a line is "".
    auto empty = TWordReader::FromText("");
    EXPECT_THROW(empty.NextWord(), EInOutError);
    auto emptyLine = TWordReader::FromText("");
    EXPECT_EQ(emptyLine.NextLine(), "");
    EXPECT_TRUE(emptyLine.AtEnd());
}

TEST(TWordReader, ReadsFilesAndReportsOnesThatCannotBeOpened) {
    const auto path = std::filesystem::temp_directory_path() / "torvex-wordread-test.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "Title\r\n1\t2.5\r\n";
    }
    TWordReader reader(path.string());
    EXPECT_EQ(reader.NextLine(), "Title");
    EXPECT_EQ(reader.NextInteger(), 1);
    EXPECT_EQ(reader.NextReal(), 2.5L);
    std::filesystem::remove(path);
    const std::string missing = (std::filesystem::temp_directory_path() / "no-such-torvex-file").string();
    const std::string message = MessageOf([&] { TWordReader gone(missing); });
    EXPECT_NE(message.find("Cannot open file \"" + missing + "\""), std::string::npos) << message;
}

TEST(TWordReader, RefusesFoldersHugeFilesAndNumbersBeyondTheDoubleRange) {
    const auto folder = std::filesystem::temp_directory_path() / "torvex-wordread-folder";
    std::filesystem::create_directories(folder);
    const std::string huge = (folder / "Huge.tx4d").string();
    {
        std::ofstream out(huge, std::ios::binary);
    }
    std::filesystem::resize_file(huge, 64u * 1024 * 1024 + 1);  // sparse: no disk used
    EXPECT_EQ(MessageOf([&] { TWordReader reader(huge); }),
              "Cannot read file \"" + huge + "\": it is larger than 64 MB, which no project "
              "file is.");
    std::filesystem::resize_file(huge, 64u * 1024 * 1024);  // the largest that is read
    EXPECT_FALSE(TWordReader(huge).AtEnd());
    EXPECT_EQ(MessageOf([&] { TWordReader reader(folder.string()); }),
              "Cannot read file \"" + folder.string() + "\": it is a folder, not a file.");
    EXPECT_EQ(MessageOf([&] { TWordReader reader("/dev/zero"); }),
              "Cannot read file \"/dev/zero\": it is not a regular file (a device, a pipe or a "
              "socket).");
    std::filesystem::remove_all(folder);

    auto reader = TWordReader::FromText("1.7976931E308 1E309 -1E400\r\n");
    EXPECT_EQ(reader.NextReal(), 1.7976931E308L);
    EXPECT_EQ(MessageOf([&] { reader.NextReal(); }),
              "Error on Line 1 Item 2\rA floating point number was expected but not found.");
    EXPECT_EQ(MessageOf([&] { reader.NextReal(); }),
              "Error on Line 1 Item 3\rA floating point number was expected but not found.");
}

TEST(LinesBefore, CountsTheLinesThatStartBeforeAnOffset) {
    const std::string text = "a\r\nb\nc\rd\r\n\r\ne";
    const struct {
        size_t offset, lines;
    } cases[] = {{0, 0}, {1, 1}, {3, 1}, {4, 2}, {6, 3}, {8, 4}, {12, 5}, {13, 6}, {99, 6}};
    for (const auto& c : cases) EXPECT_EQ(LinesBefore(text, c.offset), c.lines) << c.offset;
    // A reader of the part from "d" on names the lines of the whole text.
    auto reader = TWordReader::FromText(std::string_view(text).substr(7));
    reader.SetLineOffset(LinesBefore(text, 7));
    EXPECT_EQ(reader.RemainingWords(), 2u);  // "d" and "e"
    EXPECT_EQ(MessageOf([&] { reader.NextInteger(); }),
              "Error on Line 4 Item 1\rAn integer was expected but not found.");
    EXPECT_EQ(reader.RemainingWords(), 1u);
    EXPECT_EQ(MessageOf([&] { reader.NextWord(); }),
              "Error on Line 5 Item 1\rThe line is blank where a number was expected.");
}

// Starts the kernel's count of the peak resident memory anew from the current size; false
// where the kernel does not allow it.
bool ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// Peak resident memory of this process, from the kernel's own count.
size_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
    return 0;
}

TEST(TWordReader, ReadingTakesMemoryInProportionToTheFile) {
    // 20 MB of blank lines once took 1.8 GB (a string and a list per line). Now the reader
    // holds the bytes once: the peak may grow by the file and a little more, not by more
    // than three times the file.
    const auto path = std::filesystem::temp_directory_path() / "torvex-wordread-blank.tx4d";
    constexpr size_t kBytes = 20u * 1024 * 1024;
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1024 * 1024, '\n');
        for (size_t i = 0; i < kBytes / block.size(); ++i) out << block;
    }
    // Earlier tests may have raised the peak: count it from here.
    if (!ResetPeakResident()) GTEST_SKIP() << "the peak memory count cannot be reset here";
    const size_t before = PeakResidentBytes();
    ASSERT_GT(before, 0u);
    {
        TWordReader reader(path.string());
        EXPECT_EQ(reader.NextLine(), "");
        EXPECT_EQ(MessageOf([&] { reader.NextWord(); }),
                  "Error on Line 3 Item 1\rThe line is blank where a number was expected.");
        EXPECT_EQ(reader.RemainingWords(), 0u);
    }
    const size_t growth = PeakResidentBytes() - before;
    std::filesystem::remove(path);
    EXPECT_LT(growth, 3 * kBytes) << "peak grew by " << growth << " bytes";
}

// The reader as a list of lines and words, built the plain way, to compare the streaming
// reader with: lines end at CR LF, LF or CR, and words are split line by line.
struct TReferenceReader {
    std::vector<std::string> lines;
    std::vector<std::vector<std::string>> words;
    size_t line = 0, word = 0;

    explicit TReferenceReader(const std::string& text) {
        size_t pos = 0;
        do {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(pos, end - pos));
            words.push_back(SplitWords(lines.back()));
            pos = end + (end < text.size());
            if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        } while (pos < text.size());
    }
    std::string NextLine() {
        if (line == lines.size()) return "!" + std::string(TWordReader::kIncompleteMessage);
        word = 0;
        return lines[line++];
    }
    std::string NextWord() {
        if (line < lines.size() && word == words[line].size()) ++line, word = 0;
        if (line == lines.size()) return "!" + std::string(TWordReader::kIncompleteMessage);
        if (words[line].empty())
            return "!Error on Line " + std::to_string(line + 1) +
                   " Item 1\rThe line is blank where a number was expected.";
        return words[line][word++];
    }
};

TEST(TWordReader, ReadsAsTheLineByLineModelDoesOnRandomText) {
    std::mt19937 random(20261207);
    const char alphabet[] = {' ', '\t', '\r', '\n', '7', 'x', '\x01', '\0'};
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 24, ' ');
        for (char& c : text) c = alphabet[random() % sizeof alphabet];
        auto reader = TWordReader::FromText(text);
        TReferenceReader expected(text);
        ASSERT_EQ(reader.LineCount(), expected.lines.size()) << round;
        for (int step = 0; step < 12; ++step) {
            const bool line = random() % 4 == 0;
            std::string got;
            try {
                got = line ? reader.NextLine() : reader.NextWord();
            } catch (const EInOutError& error) {
                got = "!" + std::string(error.what());
            }
            const std::string want = line ? expected.NextLine() : expected.NextWord();
            ASSERT_EQ(got, want)
                << "round " << round << " step " << step;
            ASSERT_EQ(reader.AtEnd(), expected.line == expected.lines.size());
        }
    }
}

TEST(TWordReader, BinaryContentNeverCrashes) {
    std::string junk;
    for (int i = 0; i < 512; ++i) junk += static_cast<char>((i * 37) & 0xFF);
    auto reader = TWordReader::FromText(junk);
    int taken = 0;
    try {
        for (;;) {
            reader.NextWord();
            ++taken;
        }
    } catch (const EInOutError&) {
    }
    EXPECT_GT(taken, 0);
}

}  // namespace
}  // namespace torvex
