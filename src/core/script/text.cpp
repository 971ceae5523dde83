#include "script/text.h"

#include <array>
#include <cstdint>

namespace ry {

std::string_view TakeLine(std::string_view& text) {
    size_t end = text.find(kCrLf);
    std::string_view line;
    if (end == std::string_view::npos) {
        line = text;
        text = {};
    } else {
        line = text.substr(0, end);
        text.remove_prefix(end + 2);
    }
    return line;
}

std::string_view TrimLeft(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string_view{} : s.substr(b);
}

std::string_view TrimRight(std::string_view s) {
    size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string_view{} : s.substr(0, e + 1);
}

std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

std::string_view TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

char ToUpperAnsi(char c) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
        return static_cast<char>(u - 32);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return static_cast<char>(u - 32);
    switch (u) {
    case 0x9A:
        return static_cast<char>(0x8A); // s caron
    case 0x9C:
        return static_cast<char>(0x8C); // oe
    case 0x9E:
        return static_cast<char>(0x8E); // z caron
    case 0xFF:
        return static_cast<char>(0x9F); // y diaeresis
    default:
        return c;
    }
}

char ToLowerAnsi(char c) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<char>(u + 32);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<char>(u + 32);
    switch (u) {
    case 0x8A:
        return static_cast<char>(0x9A);
    case 0x8C:
        return static_cast<char>(0x9C);
    case 0x8E:
        return static_cast<char>(0x9E);
    case 0x9F:
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

std::string ToUpperAnsi(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = ToUpperAnsi(c);
    return out;
}

std::string ToLowerAnsi(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = ToLowerAnsi(c);
    return out;
}

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && ToUpperAnsi(a[i]) != ToUpperAnsi(b[i]))
            return false;
    return true;
}

bool IStartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && IEquals(s.substr(0, prefix.size()), prefix);
}

size_t IFind(std::string_view s, std::string_view needle, size_t from) {
    if (needle.empty())
        return from <= s.size() ? from : std::string_view::npos;
    if (s.size() < needle.size())
        return std::string_view::npos;
    char first = ToUpperAnsi(needle[0]);
    for (size_t i = from; i + needle.size() <= s.size(); ++i)
        if (ToUpperAnsi(s[i]) == first && IEquals(s.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    if (from.empty())
        return std::string(s);
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        out.append(s.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(s.substr(pos));
    return out;
}

namespace {

// Unicode code points of bytes 0x80..0x9F; undefined bytes keep their C1 value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string Cp1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x80)
            out.push_back(c);
        else if (u < 0xA0)
            AppendUtf8(out, kHigh[u - 0x80]);
        else
            AppendUtf8(out, u);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        auto u = static_cast<unsigned char>(s[i]);
        char32_t cp;
        size_t len;
        if (u < 0x80) {
            cp = u;
            len = 1;
        } else if ((u & 0xE0) == 0xC0) {
            cp = u & 0x1F;
            len = 2;
        } else if ((u & 0xF0) == 0xE0) {
            cp = u & 0x0F;
            len = 3;
        } else if ((u & 0xF8) == 0xF0) {
            cp = u & 0x07;
            len = 4;
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        if (i + len > s.size()) {
            out.push_back('?');
            break;
        }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            auto cont = static_cast<unsigned char>(s[i + k]);
            if ((cont & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!ok) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(FromCodePoint(cp));
        i += len;
    }
    return out;
}

} // namespace ry
