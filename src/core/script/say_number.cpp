#include "script/say_number.h"

#include <utility>

namespace ry {

std::string ConvertSayNbrType(std::string_view storedName) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kOlderNames = {{
        {"Number", "Number"},
        {"Amount Dollars", "Amount - Dollars"},
        {"Amount Cents", "Amount - Cents"},
        {"Amount Cents, Decimal Point", "Amount - Dollars and Cents"},
        {"Digits", "Digits"},
        {"Date MMDD", "Date - MMDD"},
        {"Date DDMM", "Date - DDMM"},
        {"Date MMDDHHNN", "Date & Time - MMDDHHNN"},
        {"Date DDMMHHNN", "Date & Time - DDMMHHNN"},
        {"Time HHNN", "Time am/pm - HHNN"},
        {"Time HHNN (24 hour)", "Time 24 hour - HHNN"},
    }};
    for (const auto& [older, current] : kOlderNames)
        if (older == storedName)
            return std::string(current);
    return "Digits";
}

} // namespace ry
