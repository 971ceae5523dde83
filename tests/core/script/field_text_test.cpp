#include "script/field_text.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

TEST(ClampNumberText, NormalisesWhatWasTyped) {
    struct Case {
        const char* typed;
        int min;
        int max;
        const char* shown;
    } cases[] = {
        {"abc", 0, 20, "0"},     // not a number: the minimum
        {"", 1, 50, "1"},        // nothing typed: the minimum
        {"123456", 0, 20, "20"}, // cut to 1234, then limited
        {"123456", 0, 5000, "1234"},
        {"-5", 0, 60, "0"},
        {"99", 0, 20, "20"},
        {"  7  ", 0, 20, "7"},  // blanks around are trimmed first
        {"12ab", 0, 3600, "0"}, // a number must be the whole text
        {"99999", 0, 3600, "3600"},
        {"0", 1, 50, "1"},
        {"2.5", 0, 20, "2"}, // the file's rounding: an exact half to the even neighbour
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampNumberText(c.typed, c.min, c.max), c.shown)
            << '"' << c.typed << "\" in " << c.min << ".." << c.max;
}

TEST(FoldLineBreaks, EachLineBreakBecomesTheJoiner) {
    struct Case {
        const char* text;
        const char* joiner;
        const char* folded;
    } cases[] = {
        {"Hello\r\nworld", " ", "Hello world"},
        {"a\r\n\r\nb\r\n", " ", "a  b "},
        {"a\r\r\nb", " ", "a\r b"}, // only CR LF pairs are line breaks
        {"a\nb", " ", "a\nb"},
        {"x = 1 +\r\n2", "", "x = 1 +2"},
        {"", " ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldLineBreaks(c.text, c.joiner), c.folded);
}

TEST(FoldLineBreaks, KeepsLongTextWhole) {
    // The engine reads the value from one line of any length; nothing is cut off.
    const std::string line(30000, 'x');
    EXPECT_EQ(FoldLineBreaks(line + "\r\n" + line, " "), line + " " + line);
}

TEST(FoldLineEndCharacters, EachCrAndEachLfBecomesABlank) {
    struct Case {
        const char* text;
        const char* folded;
    } cases[] = {
        {"SELECT *\r\nFROM calls\r\nWHERE id = 1", "SELECT *  FROM calls  WHERE id = 1"},
        {"a\rb\nc", "a b c"}, // lone ones too: none may split the stored line
        {"\r\n", "  "},
        {"no break", "no break"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldLineEndCharacters(c.text), c.folded) << c.text;
}

TEST(RemoveLeadingBlankLines, TheScriptStartsAtItsFirstLine) {
    struct Case {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"\r\n\r\nDim x\r\nx = 1", "Dim x\r\nx = 1"},
        {"  \r\n   \r\n  Dim x  ", "Dim x"},                  // lines of blanks are empty lines too
        {"Dim x\r\n\r\nx = 1\r\n", "Dim x\r\n\r\nx = 1\r\n"}, // only leading ones go
        {"\r\n\r\n", ""},
        {"\t\r\nDim x", "\t\r\nDim x"}, // a tab is not a blank
        {"\nDim x", "\nDim x"},         // a lone LF is not a line break
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoveLeadingBlankLines(c.stored), c.shown) << c.stored;
}

TEST(RunLists, StoredValuesOutOfRangeSelectTheNearestEntry) {
    struct Case {
        std::int16_t stored;
        int mode;
        int wait;
    } cases[] = {
        {-3, 0, 0}, {0, 0, 0}, {1, 1, 1}, {4, 4, 1},
        {5, 5, 1},  {7, 5, 1}, {9, 5, 1}, {-32768, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunModeListIndex(c.stored), c.mode) << c.stored;
        EXPECT_EQ(RunWaitListIndex(c.stored), c.wait) << c.stored;
    }
}

TEST(FieldNumbers, TextThatIsNoNumberKeepsTheStoredValue) {
    struct Case {
        const char* typed;
        std::int32_t stored;
        std::int16_t int16;
        std::int32_t int32;
    } cases[] = {
        {"7", 2, 7, 7},          {" 12 ", 2, 12, 12}, {"", 3, 0, 0}, // cleared: none
        {"   ", 3, 0, 0},                                            // blanks only: cleared too
        {"abc", 3, 3, 3},        {"5x", 3, 3, 3},     {"-1", 3, -1, -1},
        {"2.5", 3, 2, 2},        // the file's rounding, an exact half to the even one
        {"40000", 3, 3, 40000},  // too big for 16 bits: kept there
        {"3000000000", 3, 3, 3}, // too big for 32 bits
        {"&H19", 3, 25, 25},     // the file's hex form
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldInt16(c.typed, static_cast<std::int16_t>(c.stored)), c.int16) << c.typed;
        EXPECT_EQ(FieldInt32(c.typed, c.stored), c.int32) << c.typed;
    }
}

} // namespace
} // namespace ry
