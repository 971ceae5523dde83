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

std::string FoldLineEndCharacters(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

std::string RemoveLeadingBlankLines(std::string_view text) {
    text = Trim(text);
    while (text.starts_with(kCrLf))
        text = Trim(text.substr(kCrLf.size()));
    return std::string(text);
}

int RunModeListIndex(std::int16_t stored) {
    return stored < 0 ? 0 : (stored > 4 ? 5 : stored);
}

int RunWaitListIndex(std::int16_t stored) {
    return stored < 0 ? 0 : (stored > 1 ? 1 : stored);
}

std::int16_t FieldInt16(std::string_view text, std::int16_t stored) {
    if (Trim(text).empty())
        return 0;
    return TextToInt16(text).value_or(stored);
}

std::int32_t FieldInt32(std::string_view text, std::int32_t stored) {
    if (Trim(text).empty())
        return 0;
    return TextToInt32(text).value_or(stored);
}

} // namespace ry
