// The RY.INI reader on any text. The input's first two lines (LF-ended) are the section and
// the key looked up, the rest is the file. The value found must be the one a plain reading of
// the documented layout finds, and the string and integer reads must follow from it.

#include "fuzz_support.h"
#include "settings/profile_file.h"

#include <cstdint>
#include <optional>
#include <string>

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view TrimmedOf(std::string_view s) {
    const std::size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(kBlanks) - b + 1);
}

std::string_view TakeField(std::string_view& input) {
    const std::size_t lf = input.find('\n');
    std::string_view field = input.substr(0, lf);
    input.remove_prefix(lf == std::string_view::npos ? input.size() : lf + 1);
    return field;
}

// The layout read line by line, as the header of the reader describes it.
std::optional<std::string_view> PlainReading(std::string_view text, std::string_view section,
                                             std::string_view key) {
    section = TrimmedOf(section);
    key = TrimmedOf(key);
    if (section.empty() || key.empty())
        return std::nullopt;
    bool inSection = false;
    while (!text.empty()) {
        std::string_view line = TakeField(text);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view content = TrimmedOf(line);
        if (content.starts_with('[')) {
            const std::size_t close = content.find(']');
            if (close == std::string_view::npos)
                continue; // neither a section nor a key
            if (inSection)
                return std::nullopt; // only the first section of the name counts
            inSection = ry::IEquals(TrimmedOf(content.substr(1, close - 1)), section);
            continue;
        }
        if (content.starts_with(';'))
            continue;
        const std::size_t eq = line.find('=');
        if (inSection && eq != std::string_view::npos &&
            ry::IEquals(TrimmedOf(line.substr(0, eq)), key))
            return TrimmedOf(line.substr(eq + 1));
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    std::string_view text = fuzz::AsText(data, size);
    const std::string_view section = TakeField(text);
    const std::string_view key = TakeField(text);

    const std::optional<std::string_view> found = FindProfileValue(text, section, key);
    RY_FUZZ_CHECK(found == PlainReading(text, section, key));
    if (found) {
        // A view into the file's text.
        RY_FUZZ_CHECK(found->empty() || (found->data() >= text.data() &&
                                         found->data() + found->size() <= text.data() + size));
    }

    const std::string value = ReadProfileString(text, section, key);
    RY_FUZZ_CHECK(value.size() <= kProfileValueMax);
    std::string_view expected = found.value_or("");
    if (expected.size() >= 2 && (expected[0] == '"' || expected[0] == '\'') &&
        expected.back() == expected[0])
        expected = expected.substr(1, expected.size() - 2);
    RY_FUZZ_CHECK(value == expected.substr(0, kProfileValueMax));

    const std::int32_t number = ReadProfileInt(text, section, key, -12345);
    RY_FUZZ_CHECK(number == (value.empty() ? -12345 : ProfileIntValue(value)));
    (void)ProfileIntValue(text);
    return 0;
}
