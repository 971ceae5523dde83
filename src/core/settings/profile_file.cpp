#include "settings/profile_file.h"

#include "script/file_io.h"
#include "script/text.h"

namespace ry {

namespace {

constexpr std::string_view kProfileBlanks = " \t\r\v\f";

std::string_view TrimProfile(std::string_view s) {
    size_t b = s.find_first_not_of(kProfileBlanks);
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(kProfileBlanks);
    return s.substr(b, e - b + 1);
}

enum class LineKind { Other, Section, Key };

// One line of the text, as byte offsets into it.
struct ProfileLine {
    size_t begin = 0;
    size_t end = 0;  // end of the content, before the line end
    size_t next = 0; // start of the following line
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, trimmed
    size_t valueBegin = 0;  // key lines: after the "=" and the blanks that follow it
    std::string_view value; // key lines: the value, trimmed
};

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(ProfileLine& line) {
        if (pos_ >= text_.size())
            return false;
        line = ProfileLine{};
        line.begin = pos_;
        size_t lf = text_.find('\n', pos_);
        if (lf == std::string_view::npos) {
            line.end = line.next = text_.size();
        } else {
            line.end = (lf > pos_ && text_[lf - 1] == '\r') ? lf - 1 : lf;
            line.next = lf + 1;
        }
        pos_ = line.next;
        Classify(line);
        return true;
    }

private:
    void Classify(ProfileLine& line) const {
        std::string_view content = text_.substr(line.begin, line.end - line.begin);
        size_t first = content.find_first_not_of(kProfileBlanks);
        if (first == std::string_view::npos)
            return;
        if (content[first] == '[') {
            size_t close = content.find(']', first + 1);
            if (close != std::string_view::npos) {
                line.kind = LineKind::Section;
                line.name = TrimProfile(content.substr(first + 1, close - first - 1));
            }
            return;
        }
        if (content[first] == ';')
            return;
        size_t eq = content.find('=', first);
        if (eq == std::string_view::npos)
            return;
        line.kind = LineKind::Key;
        line.name = TrimProfile(content.substr(0, eq));
        size_t v = content.find_first_not_of(" \t", eq + 1);
        line.valueBegin = line.begin + (v == std::string_view::npos ? content.size() : v);
        line.value = TrimProfile(content.substr(eq + 1));
    }

    std::string_view text_;
    size_t pos_ = 0;
};

bool Matches(std::string_view name, std::string_view wanted) {
    return !wanted.empty() && IEquals(name, wanted);
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// What a set of a key finds in the text.
struct KeyPlace {
    bool sectionFound = false;
    bool keyFound = false;
    ProfileLine keyLine; // the matching key
    size_t insertAt = 0; // where a missing key goes
};

KeyPlace LocateKey(std::string_view text, std::string_view section, std::string_view key) {
    KeyPlace place;
    LineReader reader(text);
    ProfileLine line;
    bool inSection = false;
    while (reader.Next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection)
                break; // only the first section of the name counts
            if (Matches(line.name, section)) {
                inSection = place.sectionFound = true;
                place.insertAt = line.next;
            }
        } else if (inSection && line.kind == LineKind::Key) {
            if (Matches(line.name, key)) {
                place.keyFound = true;
                place.keyLine = line;
                return place;
            }
            place.insertAt = line.next;
        }
    }
    return place;
}

std::string_view LineEndOf(std::string_view text) {
    size_t lf = text.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r'))
        return "\n";
    return kCrLf;
}

bool EndsWithLineEnd(std::string_view text) {
    return text.empty() || text.back() == '\n';
}

} // namespace

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
    section = TrimProfile(section);
    key = TrimProfile(key);
    if (section.empty() || key.empty())
        return std::nullopt;
    KeyPlace place = LocateKey(text, section, key);
    if (!place.keyFound)
        return std::nullopt;
    return place.keyLine.value;
}

std::string ReadProfileString(std::string_view text, std::string_view section,
                              std::string_view key) {
    std::optional<std::string_view> found = FindProfileValue(text, section, key);
    if (!found)
        return {};
    std::string_view v = *found;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, kProfileValueMax));
}

std::int32_t ReadProfileInt(std::string_view text, std::string_view section, std::string_view key,
                            std::int32_t defaultValue) {
    std::string value = ReadProfileString(text, section, key);
    if (value.empty())
        return defaultValue;
    return ProfileIntValue(value);
}

std::int32_t ProfileIntValue(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && kProfileBlanks.find(value[i]) != std::string_view::npos)
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    std::uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        char c = value[i];
        std::uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint32_t>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else
            break;
        result = result * base + digit;
    }
    if (negative)
        result = 0u - result;
    return static_cast<std::int32_t>(result);
}

std::optional<std::string> SetProfileString(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value) {
    section = TrimProfile(section);
    key = TrimProfile(key);
    if (section.empty() || key.empty() || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
        HasLineBreakOrNul(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[')
        return std::nullopt;

    KeyPlace place = LocateKey(text, section, key);
    std::string out;
    if (place.keyFound) {
        const ProfileLine& line = place.keyLine;
        out.reserve(text.size() + value.size());
        out.append(text.substr(0, line.valueBegin));
        out.append(value);
        out.append(text.substr(line.end));
        return out;
    }

    std::string_view eol = LineEndOf(text);
    std::string added;
    size_t at = place.sectionFound ? place.insertAt : text.size();
    if (at == text.size() && !EndsWithLineEnd(text))
        added.append(eol);
    if (!place.sectionFound) {
        added.append("[").append(section).append("]").append(eol);
    }
    added.append(key).append("=").append(value).append(eol);

    out.reserve(text.size() + added.size());
    out.append(text.substr(0, at));
    out.append(added);
    out.append(text.substr(at));
    return out;
}

std::optional<std::string> ReadProfileFile(const std::string& path, std::string* problem) {
    FileRead read = ReadRegularFile(path, kProfileSizeLimit);
    if (read.Ok())
        return std::move(read.bytes);
    if (read.status == FileReadStatus::Missing && !path.empty())
        return std::string();
    if (problem)
        *problem = FileReadProblem(read, kProfileSizeLimit);
    return std::nullopt;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* reason) {
    auto fail = [&](std::string why) {
        if (reason)
            *reason = std::move(why);
        return false;
    };
    if (path.empty())
        return fail("no file name");
    // Read first, as every read does: the engine or a person may have changed it since.
    std::string problem;
    std::optional<std::string> text = ReadProfileFile(path, &problem);
    if (!text)
        return fail(problem); // unreadable or too large: writing now would lose its lines
    std::optional<std::string> changed = SetProfileString(*text, section, key, value);
    if (!changed)
        return fail("the section, key or value cannot be written to an INI file");
    if (*changed == *text && StampOfFile(path).Known())
        return true;
    std::string error = WriteFileReplacing(path, *changed);
    if (!error.empty())
        return fail(error);
    return true;
}

} // namespace ry
