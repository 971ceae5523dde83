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
