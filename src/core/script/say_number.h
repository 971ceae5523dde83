#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

// One way of speaking a value, as the engine's say-number library describes it.
struct SayNumberType {
    std::string Name;  // what the module stores
    std::string Label; // the caption of the value's field in the Say Numbers dialog
    std::string Extra; // the block's fifth line; the designer has no use for it
};

// The library holds at most this many types; blocks after the last one are not read.
inline constexpr std::size_t kSayNumberTypeLimit = 101;

// The types of the engine's say-number library text, in file order. A block starts with a line
// whose first four characters are "'###"; of the five lines after it the first gives the name
// (from its 9th character, at most 50), the third the label (from its 9th, at most 50) and the
// fifth the extra text (from its 10th, at most 200). Lines end with CR LF, LF or CR; lines
// missing at the end of the text read as empty.
std::vector<SayNumberType> ParseSayNumberLibrary(std::string_view text);

// The types offered when the library cannot be read: the current names, labelled alike, so
// that a designer installed without the engine can still set the module up.
std::vector<SayNumberType> BuiltInSayNumberTypes();

// The index in `names` to select for a module's stored type name: the last equal name, else
// the last name equal to the stored name's current form (ConvertSayNbrType); -1 when neither is
// listed. The dialog stores the selected name, so an older name is replaced on the next apply.
int FindSayNumberType(const std::vector<std::string>& names, std::string_view storedName);

} // namespace ry
