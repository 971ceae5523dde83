#include "script/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ry {
namespace {

TEST(NumberText, ConversionsOfWholeTexts) {
    struct Case {
        const char* text;
        std::optional<std::int16_t> int16;
    } cases[] = {
        {"12", 12},       {" -4 ", -4},  {"+7", 7},          {"2.5", 2},   {"3.5", 4},
        {"-2.5", -2},     {"1e2", 100},  {"1D1", 10},        {"&H1F", 31}, {"&o17", 15},
        {"32767", 32767}, {"32768", {}}, {"-32768", -32768}, {"12ab", {}}, {"", {}},
        {"abc", {}},      {".5", 0},     {"5.", 5},          {"\t9\t", 9}, {"1e999", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToInt16(c.text), c.int16) << '"' << c.text << '"';
    EXPECT_EQ(TextToInt32("70000"), 70000);
    EXPECT_EQ(TextToInt32("2147483648"), std::nullopt);
}

TEST(NumberText, LeadingValueReadsWhatItCan) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"12ab", 12},  {"  -5", -5}, {"1 2 3", 123},  {"abc", 0},  {"", 0},
        {"20,30", 20}, {"&H10", 16}, {"3.25x", 3.25}, {"- 7", -7}, {"1e3", 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_TRUE(std::isinf(LeadingValue(std::string(600, '9'))));
    EXPECT_EQ(RoundToInt32(LeadingValue(std::string(600, '9'))), std::nullopt);
}

TEST(NumberText, NumbersBeyondTheRangeOfADouble) {
    // Too large is infinite, which no integer conversion takes; too small to tell from 0 is
    // 0 with the number's sign, as the C library reads it, however the digits are spread.
    struct Case {
        std::string text;
        double value;
    } cases[] = {
        {"1e400", HUGE_VAL},
        {"-1E400", -HUGE_VAL},
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"31E-3241", 0.0},
        {"1D-400", 0.0},
        {"0.00001e-320", 0.0},
        {std::string(400, '9') + "e-800", 0.0},
        {std::string(400, '9') + "e-50", HUGE_VAL},
        {"1e-99999999999999999999", 0.0},
        {"1e-310", 1e-310}, // below the normal range, still a number
        {"4e-320", 4e-320},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        std::optional<double> parsed = ParseNumber(c.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, c.value);
        EXPECT_EQ(std::signbit(*parsed), std::signbit(c.value));
        EXPECT_EQ(LeadingValue(c.text + "x"), c.value);
    }
    EXPECT_EQ(TextToInt16("1e-400"), 0);
    EXPECT_EQ(RoundToInt32(LeadingValue("-1e-400,5")), 0);
    EXPECT_EQ(TextToInt16("1e400"), std::nullopt);
}

} // namespace
} // namespace ry
