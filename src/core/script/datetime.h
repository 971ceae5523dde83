#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace ry {

// A calendar date and time of day, as the script file's date fields hold it.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;

    // Today's local date at 00:00.
    static DateTime Today();
    // The current local date and time.
    static DateTime Now();
    bool IsValid() const;
};

// "31 December 2099 23:59:00": day, full English month name, year, one space, HH:mm:ss.
std::string FormatScriptDate(const DateTime& value);
// "2099-12-31T23:59:00", for machine-readable output.
std::string FormatIsoDate(const DateTime& value);

// Reads the date forms people and older programs have written into scripts: the file's own
// "31 December 2099 23:59:00", the reset form "31 December, 2099 23:59", "December 31, 2099",
// "2099-12-31 23:59", "12/31/2099 11:59 PM" (month first), with or without a time. Month names
// may be abbreviated and in any letter case. Nothing is returned for text that is not a date.
std::optional<DateTime> ParseScriptDate(std::string_view text);

// English month name for 1..12.
std::string_view MonthName(int month);

} // namespace ry
