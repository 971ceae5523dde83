#include "walk/time_switch.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

DateTime At(std::string_view text) {
    std::optional<DateTime> t = ParseClock(text);
    EXPECT_TRUE(t) << text;
    return t.value_or(DateTime{});
}

ModuleRecord Switch(int type, std::string_view start, std::string_view end, std::string days = "") {
    ModuleRecord m;
    m.iTimeSwitch_Type = static_cast<std::int16_t>(type);
    m.dTimeSwitch_DateStart = At(start);
    m.dTimeSwitch_DateEnd = At(end);
    m.sTimeSwitch_DaysSelected = std::move(days);
    return m;
}

TEST(TimeSwitch, BoundsDaysAndRangesPastMidnight) {
    // 2026-12-07 is a Monday; 2026-12-12 a Saturday.
    const ModuleRecord office = Switch(1, "2024-01-01 08:00", "2024-01-01 17:30", "MoTuWeThFr");
    const ModuleRecord night = Switch(1, "2024-01-01 22:00", "2024-01-01 06:00", "Fr");
    const ModuleRecord holiday = Switch(0, "2026-12-24 12:00", "2026-12-27 00:00");
    const ModuleRecord lowerCaseDays = Switch(1, "2024-01-01 08:00", "2024-01-01 17:30", "mo");
    const ModuleRecord equalEnds = Switch(1, "2024-01-01 08:00", "2024-01-01 08:00", "MoSu");
    const ModuleRecord backwards = Switch(0, "2026-12-27 00:00", "2026-12-24 12:00");
    const ModuleRecord anyOtherType = Switch(7, "2024-01-01 08:00", "2024-01-01 17:30", "Mo");
    struct Case {
        const char* what;
        const ModuleRecord& module;
        std::string_view moment;
        bool holds;
    };
    const Case cases[] = {
        {"start is inside", office, "2026-12-07 08:00", true},
        {"a minute before start", office, "2026-12-07 07:59", false},
        {"a second before the end", office, "2026-12-07 17:29:59", true},
        {"end is outside", office, "2026-12-07 17:30", false},
        {"the date of the bounds does not matter", office, "2030-06-05 12:00", true},
        {"a day not selected", office, "2026-12-12 09:30", false},
        {"Sunday is the last code", Switch(1, "2024-01-01 00:00", "2024-01-01 23:59", "Su"),
         "2026-12-13 10:00", true},
        {"night: the evening of a selected day", night, "2026-12-11 23:00", true},
        {"night: its start", night, "2026-12-11 22:00", true},
        {"night: the morning after a selected day", night, "2026-12-12 02:00", true},
        {"night: its end", night, "2026-12-12 06:00", false},
        {"night: the evening after", night, "2026-12-12 23:00", false},
        {"night: the morning of the selected day itself", night, "2026-12-11 02:00", false},
        {"date range: start inside", holiday, "2026-12-24 12:00", true},
        {"date range: a second before its end", holiday, "2026-12-26 23:59:59", true},
        {"date range: end outside", holiday, "2026-12-27 00:00", false},
        {"date range: days play no part", holiday, "2026-12-25 03:00", true},
        {"date range backwards holds nothing", backwards, "2026-12-25 03:00", false},
        {"day codes are case-sensitive", lowerCaseDays, "2026-12-07 09:00", false},
        {"equal ends hold nothing", equalEnds, "2026-12-07 08:00", false},
        {"any type but 0 is by days", anyOtherType, "2026-12-07 09:00", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeSwitchHolds(c.module, At(c.moment)), c.holds) << c.what;
}

// The reason the walk shows for a branch, and that it agrees with the branch itself.
TEST(TimeSwitch, SaysWhyTheBranchWasTaken) {
    const ModuleRecord office = Switch(1, "2024-01-01 08:00", "2024-01-01 17:30", "MoTuWeThFr");
    const ModuleRecord night = Switch(1, "2024-01-01 22:00", "2024-01-01 06:00", "Fr");
    const ModuleRecord holiday = Switch(0, "2026-12-24 12:00", "2026-12-27 00:00");
    const ModuleRecord equalEnds = Switch(1, "2024-01-01 08:00", "2024-01-01 08:00", "Mo");
    struct Case {
        const ModuleRecord& module;
        std::string_view moment;
        bool holds;
        std::string why;
    };
    const Case cases[] = {
        {office, "2026-12-09 09:30", true, "Wednesday 09:30 is within 08:00 to 17:30"},
        {office, "2026-12-12 09:30", false, "Saturday is not an open day"},
        {office, "2026-12-09 17:30", false, "17:30 is outside 08:00 to 17:30"},
        {office, "2026-12-12 07:00", false, "07:00 is outside 08:00 to 17:30"},
        {office, "2026-12-09 17:29:59", true, "Wednesday 17:29:59 is within 08:00 to 17:30"},
        {night, "2026-12-11 23:00", true, "Friday 23:00 is within 22:00 to 06:00"},
        {night, "2026-12-12 02:00", true, "Saturday 02:00 is within Friday's 22:00 to 06:00"},
        {night, "2026-12-10 23:00", false, "Thursday is not an open day"},
        {night, "2026-12-11 02:00", false,
         "Friday 02:00 belongs to Thursday's night, and Thursday is not an open day"},
        {night, "2026-12-11 12:00", false, "12:00 is outside 22:00 to 06:00"},
        {equalEnds, "2026-12-07 08:00", false, "08:00 to 08:00 holds no time"},
        {holiday, "2026-12-25 03:00", true,
         "2026-12-25 03:00 is within 2026-12-24 12:00 to "
         "2026-12-27 00:00"},
        {holiday, "2026-12-01 03:00", false,
         "2026-12-01 03:00 is before the range, which begins 2026-12-24 12:00"},
        {holiday, "2026-12-27 00:00", false,
         "2026-12-27 00:00 is past the range, which ends 2026-12-27 00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moment);
        const TimeSwitchVerdict verdict = JudgeTimeSwitch(c.module, At(c.moment));
        EXPECT_EQ(verdict.Holds, c.holds);
        EXPECT_EQ(verdict.Why, c.why);
    }
}

TEST(TimeSwitch, TheModulesOwnMomentComesFirst) {
    ModuleRecord m = Switch(0, "2026-01-01 00:00", "2027-01-01 00:00");
    const DateTime clock = At("2030-05-05 10:00");
    EXPECT_EQ(TimeSwitchMoment(m, clock), clock);
    m.sTimeSwitch_DateTimeToTest = " 24 December 2026 10:00:00 ";
    EXPECT_EQ(TimeSwitchMoment(m, clock), At("2026-12-24 10:00"));
    m.sTimeSwitch_DateTimeToTest = "[CallDate]";
    EXPECT_EQ(TimeSwitchMoment(m, clock), std::nullopt);
}

TEST(TimeSwitch, ClockText) {
    EXPECT_EQ(FormatClock(At("2026-12-09 09:30")), "2026-12-09 09:30");
    EXPECT_EQ(FormatClock(At("2026-12-09 09:30:15")), "2026-12-09 09:30:15");
    EXPECT_EQ(At("2026-12-09"), (DateTime{2026, 12, 9, 0, 0, 0}));
    for (std::string_view bad : {"", "12/09/2026 09:30", "2026-13-01 09:30", "2026-12-09 9:30",
                                 "2026-12-09 25:00", "2026-12-09T09:30", "tomorrow"})
        EXPECT_EQ(ParseClock(bad), std::nullopt) << bad;
    EXPECT_EQ(DayOfWeek(At("2026-12-07")), 0);
    EXPECT_EQ(DayOfWeek(At("2026-12-13")), 6);
    EXPECT_EQ(DayOfWeek(At("2000-02-29")), 1);
}

} // namespace
} // namespace ry
