#include "script/field_text.h"

#include "script/number_text.h"
#include "script/text.h"

namespace ry {

std::string ClampNumberText(std::string_view text, int min, int max) {
    // Four characters are enough for every field's range and keep the conversion in 16 bits.
    const std::optional<std::int16_t> value = TextToInt16(Trim(text).substr(0, 4));
    int result = min;
    if (value)
        result = *value < min ? min : (*value > max ? max : *value);
    return std::to_string(result);
}

std::string FoldLineBreaks(std::string_view text, std::string_view joiner) {
    return ReplaceAll(text, kCrLf, joiner);
}

} // namespace ry
