#include "script/datetime.h"

#include "script/text.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <vector>

namespace ry {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

DateTime FromTm(const std::tm& tm, bool withTime) {
    DateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    if (withTime) {
        d.hour = tm.tm_hour;
        d.minute = tm.tm_min;
        d.second = tm.tm_sec;
    }
    return d;
}

DateTime LocalNow(bool withTime) {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return FromTm(tm, withTime);
}

// 1..12 for a month name or its first three letters, any case; 0 otherwise.
int MonthFromName(std::string_view word) {
    if (word.size() < 3)
        return 0;
    for (size_t i = 0; i < kMonths.size(); ++i) {
        std::string_view full = kMonths[i];
        if (word.size() <= full.size() && IEquals(word, full.substr(0, word.size())) &&
            (word.size() == 3 || word.size() == full.size() || (word.size() == 4 && i == 8)))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// The date text split into numbers, words and the separators that matter.
struct Token {
    enum Kind { Number, Word, Colon, Slash, Dash } kind;
    std::string_view text;
    int value = 0;
    int digits = 0;
};

std::optional<std::vector<Token>> Tokenize(std::string_view s) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == ' ' || c == '\t' || c == ',' || c == '.') {
            ++i;
        } else if (std::isdigit(c)) {
            size_t j = i;
            long v = 0;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
                if (j - i < 9)
                    v = v * 10 + (s[j] - '0');
                ++j;
            }
            if (j - i > 8)
                return std::nullopt;
            out.push_back(
                {Token::Number, s.substr(i, j - i), static_cast<int>(v), static_cast<int>(j - i)});
            i = j;
        } else if (std::isalpha(c)) {
            size_t j = i;
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j])))
                ++j;
            out.push_back({Token::Word, s.substr(i, j - i)});
            i = j;
        } else if (c == ':') {
            out.push_back({Token::Colon, s.substr(i, 1)});
            ++i;
        } else if (c == '/') {
            out.push_back({Token::Slash, s.substr(i, 1)});
            ++i;
        } else if (c == '-') {
            out.push_back({Token::Dash, s.substr(i, 1)});
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// Reads "H:mm[:ss] [AM|PM]" from tokens[pos...] to the end.
bool ParseTime(const std::vector<Token>& t, size_t pos, DateTime& d) {
    if (pos == t.size())
        return true;
    if (t[pos].kind == Token::Word && t[pos].text.size() == 1 &&
        (t[pos].text[0] == 'T' || t[pos].text[0] == 't'))
        ++pos;
    if (pos >= t.size() || t[pos].kind != Token::Number)
        return false;
    int parts[3] = {t[pos].value, 0, 0};
    int n = 1;
    ++pos;
    while (n < 3 && pos + 1 < t.size() && t[pos].kind == Token::Colon &&
           t[pos + 1].kind == Token::Number) {
        parts[n++] = t[pos + 1].value;
        pos += 2;
    }
    if (n < 2 && !(pos < t.size() && t[pos].kind == Token::Word))
        return false;
    int hour = parts[0];
    if (pos < t.size()) {
        if (t[pos].kind != Token::Word || pos + 1 != t.size())
            return false;
        bool pm = IEquals(t[pos].text, "PM");
        if (!pm && !IEquals(t[pos].text, "AM"))
            return false;
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    d.hour = hour;
    d.minute = parts[1];
    d.second = parts[2];
    return hour < 24 && d.minute < 60 && d.second < 60;
}

int FullYear(const Token& t) {
    if (t.digits <= 2)
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    return t.value;
}

} // namespace

DateTime DateTime::Today() {
    return LocalNow(false);
}

DateTime DateTime::Now() {
    return LocalNow(true);
}

bool DateTime::IsValid() const {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour < 24 && minute >= 0 &&
           minute < 60 && second >= 0 && second < 60;
}

std::string_view MonthName(int month) {
    return month >= 1 && month <= 12 ? kMonths[static_cast<size_t>(month - 1)] : std::string_view{};
}

std::string FormatScriptDate(const DateTime& v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d %s %04d %02d:%02d:%02d", v.day,
                  std::string(MonthName(v.month)).c_str(), v.year, v.hour, v.minute, v.second);
    return buf;
}

std::string FormatIsoDate(const DateTime& v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", v.year, v.month, v.day, v.hour,
                  v.minute, v.second);
    return buf;
}

std::optional<DateTime> ParseScriptDate(std::string_view text) {
    auto tokens = Tokenize(text);
    if (!tokens || tokens->size() < 3)
        return std::nullopt;
    const auto& t = *tokens;
    DateTime d;
    d.hour = d.minute = d.second = 0;
    size_t rest = 3;
    auto num = [&](size_t i) { return i < t.size() && t[i].kind == Token::Number; };
    if (num(0) && t[1].kind == Token::Word && num(2)) {
        // 31 December 2099
        d.day = t[0].value;
        d.month = MonthFromName(t[1].text);
        d.year = FullYear(t[2]);
    } else if (t[0].kind == Token::Word && num(1) && num(2)) {
        // December 31, 2099
        d.month = MonthFromName(t[0].text);
        d.day = t[1].value;
        d.year = FullYear(t[2]);
    } else if (num(0) && t[0].digits == 4 && t.size() >= 5 && t[1].kind == Token::Dash && num(2) &&
               t[3].kind == Token::Dash && num(4)) {
        // 2099-12-31
        d.year = t[0].value;
        d.month = t[2].value;
        d.day = t[4].value;
        rest = 5;
    } else if (num(0) && t.size() >= 5 && t[1].kind == Token::Slash && num(2) &&
               t[3].kind == Token::Slash && num(4)) {
        // 12/31/2099
        d.month = t[0].value;
        d.day = t[2].value;
        d.year = FullYear(t[4]);
        rest = 5;
    } else {
        return std::nullopt;
    }
    if (d.month == 0 || !ParseTime(t, rest, d) || !d.IsValid())
        return std::nullopt;
    return d;
}

} // namespace ry
