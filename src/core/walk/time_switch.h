#pragma once

// How a walk answers a Time Switch module from its own fields at a clock time, instead of
// being told "true" or "false".
//
// Bounds take their start and leave out their end: 08:00 to 17:30 holds 08:00 and 17:29:59,
// not 17:30. A time-of-day range whose end comes before its start runs past midnight, and the
// night belongs to the day it begins on: Friday 22:00 to 06:00 holds Saturday 02:00 when
// Friday is selected. A range whose ends are equal holds no moment.

#include "script/datetime.h"
#include "script/records.h"

#include <optional>
#include <string>
#include <string_view>

namespace ry {

// The moment a Time Switch tests: its own "date/time to check" when set, else the clock.
// Nothing when the module's text is not a date the walk can read (a result variable, say).
std::optional<DateTime> TimeSwitchMoment(const ModuleRecord& module, const DateTime& clock);

// Whether the moment lies in the module's range: type 0, between its two date/times; any
// other type, its time of day between their times on one of the selected days ("Mo" to "Su").
bool TimeSwitchHolds(const ModuleRecord& module, const DateTime& moment);

// Whether the moment lies in the module's range, and why, in words for the user:
// "Saturday is not an open day", "Wednesday 09:30 is within 08:00 to 17:30".
struct TimeSwitchVerdict {
    bool Holds = false;
    std::string Why;
};
TimeSwitchVerdict JudgeTimeSwitch(const ModuleRecord& module, const DateTime& moment);

// A clock time written "YYYY-MM-DD HH:MM" (seconds may follow, ":SS"); a date alone is its
// midnight. Nothing for any other text.
std::optional<DateTime> ParseClock(std::string_view text);
// The clock time as ParseClock reads it: "2026-12-09 09:30".
std::string FormatClock(const DateTime& clock);

// Day of the week of a date, 0 for Monday to 6 for Sunday.
int DayOfWeek(const DateTime& date);

} // namespace ry
