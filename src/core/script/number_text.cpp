#include "script/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace ry {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "&H1F" / "&O17" at the start of s; the value and how many characters it took.
std::optional<double> RadixPrefix(std::string_view s, size_t* used) {
    if (s.size() < 3 || s[0] != '&')
        return std::nullopt;
    int radix = 0;
    if (s[1] == 'H' || s[1] == 'h')
        radix = 16;
    else if (s[1] == 'O' || s[1] == 'o')
        radix = 8;
    else
        return std::nullopt;
    std::uint64_t value = 0;
    size_t i = 2;
    for (; i < s.size() && i < 2 + 16; ++i) {
        int d;
        char c = s[i];
        if (IsDigit(c))
            d = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix)
            break;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    }
    if (i == 2)
        return std::nullopt;
    *used = i;
    return static_cast<double>(value);
}

// Length of the decimal number at the start of s ([sign] digits [. digits] [exponent]),
// 0 when there is none. The exponent letter may be E or D.
size_t DecimalLength(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        size_t k = j;
        while (k < s.size() && IsDigit(s[k]))
            ++k;
        if (k > j)
            i = k;
    }
    return i;
}

// The power of ten of the first significant digit of a decimal number as DecimalLength
// accepts it (no "+", no "D" exponent), its exponent included, kept within a range wide
// enough to tell the numbers too large for a double from those too small.
long long FirstDigitPower(std::string_view s) {
    size_t i = s[0] == '-' ? 1 : 0;
    long long power = 0;
    bool significant = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        if (significant)
            ++power;
        else if (s[i] != '0')
            significant = true;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) {
            if (significant)
                continue;
            --power;
            significant = s[i] != '0';
        }
    }
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        const bool negative = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            ++i;
        for (; i < s.size() && IsDigit(s[i]); ++i)
            exponent = std::min(exponent * 10 + (s[i] - '0'), 1'000'000'000'000LL);
        if (negative)
            exponent = -exponent;
    }
    return power + exponent;
}

double ConvertDecimal(std::string_view s) {
    // from_chars takes neither a leading "+" nor a "D" exponent.
    std::string text(s);
    if (!text.empty() && text[0] == '+')
        text.erase(0, 1);
    for (char& c : text)
        if (c == 'd' || c == 'D')
            c = 'e';
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range in either direction: too large is infinite (no integer takes it),
        // too small to tell from 0 is 0, as the C library reads it.
        const bool negative = text[0] == '-';
        if (FirstDigitPower(text) < 0)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    (void)end;
    return value;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    std::string_view s = text.substr(b, e - b);
    if (s.empty())
        return std::nullopt;
    size_t used = 0;
    if (auto v = RadixPrefix(s, &used))
        return used == s.size() ? v : std::nullopt;
    size_t len = DecimalLength(s);
    if (len == 0 || len != s.size())
        return std::nullopt;
    return ConvertDecimal(s);
}

double LeadingValue(std::string_view text) {
    // Blanks and line feeds inside the number are skipped, as the engine's reader does.
    // Past a few hundred characters a number either overflowed or stopped changing, so
    // longer text is not looked at.
    constexpr size_t kMaxLength = 512;
    std::string compact;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        compact.push_back(c);
        if (compact.size() == kMaxLength)
            break;
    }
    size_t used = 0;
    if (auto v = RadixPrefix(compact, &used))
        return *v;
    size_t len = DecimalLength(compact);
    return len == 0 ? 0.0 : ConvertDecimal(std::string_view(compact).substr(0, len));
}

std::optional<std::int16_t> RoundToInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> RoundToInt32(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double r = std::nearbyint(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<std::int16_t> TextToInt16(std::string_view text) {
    auto v = ParseNumber(text);
    return v ? RoundToInt16(*v) : std::nullopt;
}

std::optional<std::int32_t> TextToInt32(std::string_view text) {
    auto v = ParseNumber(text);
    return v ? RoundToInt32(*v) : std::nullopt;
}

} // namespace ry
