#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ry {

// The current names of the ways a Say Numbers module speaks its value, as the conversion
// table gives them.
inline constexpr std::array<std::string_view, 11> kSayNumberTypes = {"Number",
                                                                     "Amount - Dollars",
                                                                     "Amount - Cents",
                                                                     "Amount - Dollars and Cents",
                                                                     "Digits",
                                                                     "Date - MMDD",
                                                                     "Date - DDMM",
                                                                     "Date & Time - MMDDHHNN",
                                                                     "Date & Time - DDMMHHNN",
                                                                     "Time am/pm - HHNN",
                                                                     "Time 24 hour - HHNN"};

// The current name for a name stored by an older version; "Digits" for any name it does not
// know. Names are compared exactly.
std::string ConvertSayNbrType(std::string_view storedName);

} // namespace ry
