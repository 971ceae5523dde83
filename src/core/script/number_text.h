#pragma once

// Number conversions of script values. The file's readers have always converted with the
// rules of the language the engine is written in; these functions keep those rules so that a
// value reads the same in the designer and in the engine.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ry {

// A whole number text: blanks around it, an optional sign, digits with an optional fraction
// and exponent, or "&H" hex / "&O" octal. Nothing for any other text, the empty text included.
std::optional<double> ParseNumber(std::string_view text);

// The numeric value at the start of the text: blanks anywhere are skipped, reading stops at
// the first character that cannot continue the number, and text without a number gives 0.
double LeadingValue(std::string_view text);

// Rounds to the nearest whole number, an exact half to the even neighbour; nothing when the
// result does not fit.
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);

// ParseNumber then RoundToInt16 / RoundToInt32: the "Int" and "Long" conversions.
std::optional<std::int16_t> TextToInt16(std::string_view text);
std::optional<std::int32_t> TextToInt32(std::string_view text);

} // namespace ry
