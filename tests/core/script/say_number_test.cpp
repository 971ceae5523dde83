#include "script/say_number.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

TEST(ConvertSayNbrType, OlderNamesBecomeCurrentOnes) {
    struct Case {
        const char* stored;
        const char* current;
    } cases[] = {
        {"Amount Cents, Decimal Point", "Amount - Dollars and Cents"},
        {"Time HHNN", "Time am/pm - HHNN"},
        {"Time HHNN (24 hour)", "Time 24 hour - HHNN"},
        {"Date DDMMHHNN", "Date & Time - DDMMHHNN"},
        {"Number", "Number"},
        {"number", "Digits"},
        {"", "Digits"},
        {"Amount - Dollars", "Digits"}, // a current name is not an older one
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConvertSayNbrType(c.stored), c.current) << c.stored;
}

} // namespace
} // namespace ry

namespace ry {
namespace {

// A library in the engine's block layout: the marker line, then name, a line, label, a
// line, and the fifth line read with the block.
std::string Block(const std::string& name, const std::string& label, const char* eol = "\r\n") {
    return std::string("'### type") + eol + "' Name: " + name + eol + "'" + eol +
           "' Label:" + label + eol + "'" + eol + "' Script:say_" + name + eol;
}

TEST(ParseSayNumberLibrary, ReadsNameLabelAndExtraFromTheirColumns) {
    const std::string text = "Option Explicit\r\n" + Block("Number", "Number to say :") +
                             "Function X()\r\nEnd Function\r\n" +
                             Block("Amount - Dollars", "Amount :", "\n");
    const std::vector<SayNumberType> types = ParseSayNumberLibrary(text);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].Name, "Number");
    EXPECT_EQ(types[0].Label, "Number to say :");
    EXPECT_EQ(types[0].Extra, "say_Number");
    EXPECT_EQ(types[1].Name, "Amount - Dollars"); // LF line ends read alike
    EXPECT_EQ(types[1].Label, "Amount :");
}

TEST(ParseSayNumberLibrary, ShortAndMissingLinesReadEmpty) {
    const std::vector<SayNumberType> types =
        ParseSayNumberLibrary("'###\r\n'short\r\n\r\n' Label:Value :\r\n'###\r\n' Name: X");
    ASSERT_EQ(types.size(), 1u); // the block's own lines are not markers of a new block
    EXPECT_EQ(types[0].Name, "");
    EXPECT_EQ(types[0].Label, "Value :");
    EXPECT_EQ(types[0].Extra, "");
}

TEST(ParseSayNumberLibrary, ColumnsAreCutToTheirLengths) {
    const std::string longName(80, 'n');
    const std::vector<SayNumberType> types = ParseSayNumberLibrary(Block(longName, longName));
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].Name, std::string(50, 'n'));
    EXPECT_EQ(types[0].Label, std::string(50, 'n'));
}

TEST(ParseSayNumberLibrary, ReadsAtMostTheLimitOfTypes) {
    std::string text;
    for (int i = 0; i < 105; ++i)
        text += Block("T" + std::to_string(i), "L");
    const std::vector<SayNumberType> types = ParseSayNumberLibrary(text);
    ASSERT_EQ(types.size(), kSayNumberTypeLimit);
    EXPECT_EQ(types.back().Name, "T100");
}

TEST(BuiltInSayNumberTypes, AreTheCurrentNames) {
    const std::vector<SayNumberType> types = BuiltInSayNumberTypes();
    ASSERT_EQ(types.size(), kSayNumberTypes.size());
    for (size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(types[i].Name, kSayNumberTypes[i]);
}

TEST(FindSayNumberType, LastEqualNameThenTheCurrentForm) {
    const std::vector<std::string> names = {"Number", "Amount - Dollars", "Digits", "Number"};
    struct Case {
        const char* stored;
        int index;
    } cases[] = {
        {"Number", 3},         // duplicates: the last one
        {"Amount Dollars", 1}, // an older name selects its current form
        {"Amount - Dollars", 1},
        {"Unknown", 2}, // any other name is "Digits"
        {"", 2},
        {"number", 2}, // exact comparison
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindSayNumberType(names, c.stored), c.index) << c.stored;
    EXPECT_EQ(FindSayNumberType({"Number"}, "Unknown"), -1);
    EXPECT_EQ(FindSayNumberType({}, "Number"), -1);
}

} // namespace
} // namespace ry
