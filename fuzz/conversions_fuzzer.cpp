// The number and date conversions of script values on any text, directly and through the
// loader's "Replay", "Position" and "DispSize" lines: no undefined behaviour (a double out of
// an integer's range is caught by the sanitizer), numbers that agree with the C library's
// reading of the same digits, roundings to the nearest integer, dates that are valid and read
// back from their written form, numeric dialog fields that stay in their range; and the
// Windows-1252 / UTF-8 pair, which loses nothing.

#include "fuzz_support.h"
#include "script/datetime.h"
#include "script/field_text.h"
#include "script/number_text.h"
#include "script/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace {

// The C library's value of a decimal number in the script's form (an optional "+", a "D"
// exponent), or of "&H" / "&O" digits. The program never sets a locale, so the decimal point
// is ".".
double ReferenceValue(std::string_view number) {
    std::string s(number);
    if (s.size() > 2 && s[0] == '&') {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        return static_cast<double>(std::strtoull(s.c_str() + 2, nullptr, base));
    }
    for (char& c : s)
        if (c == 'd' || c == 'D')
            c = 'e';
    return std::strtod(s.c_str(), nullptr);
}

// The same number, one being the other's conversion: equal, or both NaN.
bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

template <class Int> void CheckRounding(double value, std::optional<Int> rounded) {
    if (!rounded) {
        // Only what has no nearest integer in range is refused.
        if (std::isfinite(value)) {
            const double r = std::nearbyint(value);
            RY_FUZZ_CHECK(r < std::numeric_limits<Int>::min() ||
                          r > std::numeric_limits<Int>::max());
        }
        return;
    }
    const double distance = std::fabs(static_cast<double>(*rounded) - value);
    RY_FUZZ_CHECK(distance <= 0.5);
    // An exact half goes to the even neighbour.
    RY_FUZZ_CHECK(distance < 0.5 || *rounded % 2 == 0);
}

void CheckNumbers(std::string_view text) {
    using namespace ry;
    const std::optional<double> parsed = ParseNumber(text);
    if (parsed) {
        RY_FUZZ_CHECK(!std::isnan(*parsed));
        RY_FUZZ_CHECK(Same(*parsed, ReferenceValue(TrimBlanks(text))));
        // A whole number text without inner blanks starts with that number.
        const std::string_view trimmed = TrimBlanks(text);
        if (trimmed.size() < 500 && trimmed.find_first_of(" \t\n") == std::string_view::npos)
            RY_FUZZ_CHECK(Same(LeadingValue(text), *parsed));
        CheckRounding(*parsed, RoundToInt16(*parsed));
        CheckRounding(*parsed, RoundToInt32(*parsed));
    }
    RY_FUZZ_CHECK(TextToInt16(text) == (parsed ? RoundToInt16(*parsed) : std::nullopt));
    // A dialog's numeric field always shows a number of its range.
    for (const auto& [min, max] : {std::pair{0, 99}, std::pair{1, 32767}, std::pair{-5, 5}}) {
        const std::string field = ClampNumberText(text, min, max);
        const std::optional<std::int32_t> shown = TextToInt32(field);
        RY_FUZZ_CHECK(shown && *shown >= min && *shown <= max && std::to_string(*shown) == field);
    }
    RY_FUZZ_CHECK(TextToInt32(text) == (parsed ? RoundToInt32(*parsed) : std::nullopt));

    const double leading = LeadingValue(text);
    RY_FUZZ_CHECK(!std::isnan(leading));
    CheckRounding(leading, RoundToInt16(leading));
    CheckRounding(leading, RoundToInt32(leading));

    // Every double, NaN and the infinities included, rounds without undefined behaviour.
    if (text.size() >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, text.data(), sizeof raw);
        CheckRounding(raw, RoundToInt16(raw));
        CheckRounding(raw, RoundToInt32(raw));
    }
}

void CheckDate(std::string_view text) {
    using namespace ry;
    const std::optional<DateTime> date = ParseScriptDate(text);
    if (!date)
        return;
    RY_FUZZ_CHECK(date->IsValid());
    RY_FUZZ_CHECK(ParseScriptDate(FormatScriptDate(*date)) == date);
    RY_FUZZ_CHECK(ParseScriptDate(FormatIsoDate(*date)) == date);
}

// The value on the module lines that convert numbers and dates.
void CheckModuleLines(std::string_view value) {
    using namespace ry;
    using namespace ry::fuzz;
    ScriptTables& tables = SharedTables();
    QuietHost host;
    std::string text = "[M]\r\nType=Time Switch";
    for (std::string_view key :
         {"Replay=", "Position=", "DispSize=", "PlayFile", "GetNbrLenMax=", "lEmailSmtpPort_1=",
          "sDialRetry3=", "dTimeSwitch_DateStart=", "StartWithoutAnswer="}) {
        text += "\r\n";
        text += key;
        text += value;
    }
    std::int16_t script = LoadText(tables, host, text);
    RY_FUZZ_CHECK(script >= 1);
    const ModuleRecord& m = tables.Module(tables.Script(script).FirstModule);
    RY_FUZZ_CHECK(m.PositionX >= 0 && m.PositionY >= 0);
    RY_FUZZ_CHECK(m.dTimeSwitch_DateStart.IsValid());
    tables.MemStructRys_FreeAll(script);
    RY_FUZZ_CHECK(TablesAreWhole(tables));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    const std::string_view text = fuzz::AsText(data, size);
    CheckNumbers(text);
    CheckDate(text);

    // A value on a line of the script file ends at the line end.
    std::string_view rest = text;
    CheckModuleLines(TakeLine(rest));

    RY_FUZZ_CHECK(Utf8ToCp1252(Cp1252ToUtf8(text)) == text);
    return 0;
}
