// The RY.INI writer on any text. The input's first three lines (LF-ended) are the section,
// the key and the value written, the rest is the file. A write is refused exactly when the
// file cannot hold it; otherwise reading the key back gives the value (trimmed, and with one
// pair of quotes removed, as every read of the file takes it), and every other line of the
// file is kept: the key's own line changes after its "=", or one line (and a section header
// when the section is new) is added.

#include "fuzz_support.h"
#include "settings/profile_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool Refused(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimmedOf(section);
    key = TrimmedOf(key);
    return section.empty() || key.empty() || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
           HasLineBreakOrNul(value) || section.find(']') != std::string_view::npos ||
           key.find('=') != std::string_view::npos || key.starts_with(';') || key.starts_with('[');
}

struct Line {
    std::string_view content;
    std::string_view end; // "\r\n", "\n", or "" for a last line without one

    bool operator==(const Line&) const = default;
};

std::vector<Line> Lines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back({text, {}});
            break;
        }
        const std::size_t cut = lf > 0 && text[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back({text.substr(0, cut), text.substr(cut, lf + 1 - cut)});
        text.remove_prefix(lf + 1);
    }
    return lines;
}

// The key's line was rewritten: one line differs, only after its "=", and ends as before.
void CheckReplaced(const std::vector<Line>& before, const std::vector<Line>& after,
                   std::string_view value) {
    RY_FUZZ_CHECK(after.size() == before.size());
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (after[i] == before[i])
            continue;
        ++changed;
        const std::string_view old = before[i].content;
        const std::string_view now = after[i].content;
        RY_FUZZ_CHECK(after[i].end == before[i].end);
        RY_FUZZ_CHECK(now.starts_with(old.substr(0, old.find('=') + 1)));
        RY_FUZZ_CHECK(now.ends_with(value));
    }
    RY_FUZZ_CHECK(changed <= 1);
}

// The `added` lines (a key line, after a new section header when the section is new) were put
// between lines of the file; a last line without a line end got one when they follow it.
void CheckAdded(const std::vector<Line>& before, const std::vector<Line>& after,
                const std::vector<std::string>& added, std::string_view eol) {
    RY_FUZZ_CHECK(after.size() == before.size() + added.size());
    std::size_t at = 0;
    while (at < before.size() && after[at] == before[at])
        ++at;
    // The line end is added to the bytes of the last line: after a CR that ended it, an added
    // LF makes a CR LF.
    if (at + 1 == before.size() && before[at].end.empty() &&
        std::string(after[at].content) + std::string(after[at].end) ==
            std::string(before[at].content) + std::string(eol))
        ++at;
    for (std::size_t i = 0; i < added.size(); ++i)
        RY_FUZZ_CHECK(after[at + i] == (Line{added[i], eol}));
    for (std::size_t i = at; i < before.size(); ++i)
        RY_FUZZ_CHECK(after[i + added.size()] == before[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    std::string_view text = fuzz::AsText(data, size);
    const std::string_view section = TakeField(text);
    const std::string_view key = TakeField(text);
    const std::string_view value = TakeField(text);

    const std::optional<std::string> written = SetProfileString(text, section, key, value);
    RY_FUZZ_CHECK(written.has_value() == !Refused(section, key, value));
    if (!written)
        return 0;

    // The value reads back as every read takes it.
    RY_FUZZ_CHECK(FindProfileValue(*written, section, key) == TrimmedOf(value));
    std::string_view expected = TrimmedOf(value);
    if (expected.size() >= 2 && (expected[0] == '"' || expected[0] == '\'') &&
        expected.back() == expected[0])
        expected = expected.substr(1, expected.size() - 2);
    RY_FUZZ_CHECK(ReadProfileString(*written, section, key) ==
                  expected.substr(0, kProfileValueMax));

    // Every other line is kept.
    const std::vector<Line> before = Lines(text), after = Lines(*written);
    if (FindProfileValue(text, section, key)) {
        CheckReplaced(before, after, value);
    } else {
        const std::size_t lf = text.find('\n');
        const std::string_view eol =
            lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r')
                ? std::string_view("\n")
                : std::string_view("\r\n");
        std::vector<std::string> added;
        if (after.size() == before.size() + 2)
            added.push_back("[" + std::string(TrimmedOf(section)) + "]");
        added.push_back(std::string(TrimmedOf(key)) + "=" + std::string(value));
        CheckAdded(before, after, added, eol);
    }

    // Writing what the file already holds changes nothing, unless the value starts with
    // blanks: those are kept apart from the ones already after the "=".
    if (!value.starts_with(' ') && !value.starts_with('\t'))
        RY_FUZZ_CHECK(SetProfileString(*written, section, key, value) == written);
    return 0;
}
