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

namespace {

// The part of a line from a 1-based column, at most `length` characters; empty when the line
// is shorter.
std::string Column(std::string_view line, std::size_t from, std::size_t length) {
    if (line.size() < from)
        return {};
    return std::string(line.substr(from - 1, length));
}

// Splits at CR LF, LF or CR: the library is an engine file that may have been edited anywhere.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace

std::vector<SayNumberType> ParseSayNumberLibrary(std::string_view text) {
    const std::vector<std::string_view> lines = Lines(text);
    auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string_view(); };
    std::vector<SayNumberType> types;
    for (std::size_t i = 0; i < lines.size() && types.size() < kSayNumberTypeLimit; ++i) {
        if (lines[i].substr(0, 4) != "'###")
            continue;
        SayNumberType t;
        t.Name = Column(line(i + 1), 9, 50);
        t.Label = Column(line(i + 3), 9, 50);
        t.Extra = Column(line(i + 5), 10, 200);
        types.push_back(std::move(t));
        i += 5; // the block's lines are its own, even one that looks like a marker
    }
    return types;
}

std::vector<SayNumberType> BuiltInSayNumberTypes() {
    std::vector<SayNumberType> types;
    for (std::string_view name : kSayNumberTypes)
        types.push_back({std::string(name), "Number to say :", {}});
    return types;
}

int FindSayNumberType(const std::vector<std::string>& names, std::string_view storedName) {
    auto lastEqual = [&](std::string_view name) {
        for (int i = static_cast<int>(names.size()) - 1; i >= 0; --i)
            if (names[static_cast<std::size_t>(i)] == name)
                return i;
        return -1;
    };
    const int found = lastEqual(storedName);
    if (found >= 0)
        return found;
    return lastEqual(ConvertSayNbrType(storedName));
}

} // namespace ry
