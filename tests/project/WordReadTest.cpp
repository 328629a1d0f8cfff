#include "project/WordRead.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

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
