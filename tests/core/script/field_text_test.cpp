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

} // namespace
} // namespace ry
