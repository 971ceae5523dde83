#include "walk/time_switch.h"

#include "script/text.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace ry {

namespace {

constexpr std::array<std::string_view, 7> kDayCodes = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr std::array<std::string_view, 7> kDayNames = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

std::string DayName(int day) {
    return std::string(kDayNames[static_cast<size_t>((day + 7) % 7)]);
}

// "09:30", with ":SS" only when the seconds are not zero.
std::string TimeOfDay(const DateTime& t) {
    char buf[16];
    if (t.second != 0)
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    else
        std::snprintf(buf, sizeof buf, "%02d:%02d", t.hour, t.minute);
    return buf;
}

int SecondOfDay(const DateTime& t) {
    return (t.hour * 60 + t.minute) * 60 + t.second;
}

bool DaySelected(const ModuleRecord& m, int day) {
    // As the dialog reads the days: exact, case-sensitive codes.
    return m.sTimeSwitch_DaysSelected.find(kDayCodes[static_cast<size_t>((day + 7) % 7)]) !=
           std::string::npos;
}

} // namespace

int DayOfWeek(const DateTime& d) {
    // Days from 1970-01-01 (a Thursday) by the civil-calendar count.
    const int y = d.month <= 2 ? d.year - 1 : d.year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days = static_cast<long>(era) * 146097 + doe - 719468;
    return static_cast<int>(((days + 3) % 7 + 7) % 7);
}

std::optional<DateTime> ParseClock(std::string_view text) {
    text = TrimBlanks(text);
    // Year first, so that no reading of day and month is left open.
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    if (text.size() > 10 && (text.size() < 16 || text[10] != ' ' || text[13] != ':'))
        return std::nullopt;
    return ParseScriptDate(text);
}

std::string FormatClock(const DateTime& c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour,
                  c.minute);
    std::string out = buf;
    if (c.second != 0) {
        std::snprintf(buf, sizeof buf, ":%02d", c.second);
        out += buf;
    }
    return out;
}

std::optional<DateTime> TimeSwitchMoment(const ModuleRecord& m, const DateTime& clock) {
    std::string_view own = TrimBlanks(m.sTimeSwitch_DateTimeToTest);
    if (own.empty())
        return clock;
    return ParseScriptDate(own);
}

bool TimeSwitchHolds(const ModuleRecord& m, const DateTime& moment) {
    return JudgeTimeSwitch(m, moment).Holds;
}

TimeSwitchVerdict JudgeTimeSwitch(const ModuleRecord& m, const DateTime& moment) {
    const DateTime& start = m.dTimeSwitch_DateStart;
    const DateTime& end = m.dTimeSwitch_DateEnd;
    const std::string at = FormatClock(moment);
    if (m.iTimeSwitch_Type == 0) {
        if (moment < start)
            return {false, at + " is before the range, which begins " + FormatClock(start)};
        if (!(moment < end))
            return {false, at + " is past the range, which ends " + FormatClock(end)};
        return {true, at + " is within " + FormatClock(start) + " to " + FormatClock(end)};
    }
    const int from = SecondOfDay(start);
    const int to = SecondOfDay(end);
    const int t = SecondOfDay(moment);
    const int day = DayOfWeek(moment);
    const std::string hours = TimeOfDay(start) + " to " + TimeOfDay(end);
    const std::string when = DayName(day) + " " + TimeOfDay(moment);
    const std::string outside = TimeOfDay(moment) + " is outside " + hours;
    auto closed = [](int d) { return DayName(d) + " is not an open day"; };
    if (from == to)
        return {false, hours + " holds no time"};
    if (from < to) {
        if (t < from || t >= to)
            return {false, outside};
        if (!DaySelected(m, day))
            return {false, closed(day)};
        return {true, when + " is within " + hours};
    }
    // Past midnight: the evening of a selected day, or the morning after it.
    if (t >= from)
        return DaySelected(m, day) ? TimeSwitchVerdict{true, when + " is within " + hours}
                                   : TimeSwitchVerdict{false, closed(day)};
    if (t < to)
        return DaySelected(m, day - 1)
                   ? TimeSwitchVerdict{true,
                                       when + " is within " + DayName(day - 1) + "'s " + hours}
                   : TimeSwitchVerdict{false, when + " belongs to " + DayName(day - 1) +
                                                  "'s night, and " + closed(day - 1)};
    return {false, outside};
}

} // namespace ry
