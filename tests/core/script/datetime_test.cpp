#include "script/datetime.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

TEST(ScriptDate, WrittenFormReadsBack) {
    DateTime d{2099, 12, 31, 23, 59, 0};
    EXPECT_EQ(FormatScriptDate(d), "31 December 2099 23:59:00");
    EXPECT_EQ(FormatScriptDate({2024, 3, 5, 8, 7, 6}), "05 March 2024 08:07:06");
    EXPECT_EQ(ParseScriptDate(FormatScriptDate(d)), d);
    EXPECT_EQ(FormatIsoDate(d), "2099-12-31T23:59:00");
}

TEST(ScriptDate, FormsFoundInOlderFiles) {
    struct Case {
        const char* text;
        std::optional<DateTime> value;
    } cases[] = {
        {"31 December, 2099 23:59", DateTime{2099, 12, 31, 23, 59, 0}},
        {"1 jan 2024", DateTime{2024, 1, 1, 0, 0, 0}},
        {"December 31, 2099 11:59:30 PM", DateTime{2099, 12, 31, 23, 59, 30}},
        {"12/31/2099 12:00 AM", DateTime{2099, 12, 31, 0, 0, 0}},
        {"2024-02-29 08:30", DateTime{2024, 2, 29, 8, 30, 0}},
        {"2023-02-29", std::nullopt},
        {"31 Smarch 2024", std::nullopt},
        {"05 March 2024 25:00", std::nullopt},
        {"", std::nullopt},
        {"today", std::nullopt},
        {"1 May 2024 10:00 XM", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseScriptDate(c.text), c.value) << c.text;
}

} // namespace
} // namespace ry
