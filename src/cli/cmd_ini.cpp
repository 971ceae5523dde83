#include "commands.h"
#include "options.h"

#include "script/text.h"
#include "settings/profile_file.h"

#include <charconv>
#include <cstdint>
#include <ostream>

namespace ry::cli {

namespace {

// A whole 32-bit number, nothing else.
bool ParseInt32(std::string_view text, std::int32_t& value) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

const Syntax kGet{.usage = "ini get FILE SECTION KEY [--int DEFAULT]",
                  .options = {{"--int", "a default number"}},
                  .minPositional = 3,
                  .maxPositional = 3,
                  .countMessage = "ini get takes FILE SECTION KEY [--int DEFAULT]"};
const Syntax kSet{.usage = "ini set FILE SECTION KEY VALUE",
                  .minPositional = 4,
                  .maxPositional = 4,
                  .countMessage = "ini set takes FILE SECTION KEY VALUE"};

// The shell speaks UTF-8 and the file Windows-1252, as the designer's windows do.
int Get(const Args& args, std::ostream& out, std::ostream& err) {
    const auto read = ReadCommandLine(kGet, args, err);
    if (!read)
        return 2;
    const auto defaultText = read->Value("--int");
    std::int32_t defaultValue = 0;
    if (defaultText && !ParseInt32(*defaultText, defaultValue))
        return UsageError(err, kGet,
                          "ini get: DEFAULT must be a whole number, not '" + *defaultText + "'");

    const Args& p = read->positional;
    std::string problem;
    std::optional<std::string> text = ReadProfileFile(p[0], &problem);
    if (!text) {
        err << "rys: cannot read " << p[0] << ": " << problem << "\n";
        return 1;
    }
    std::string section = Utf8ToCp1252(p[1]);
    std::string key = Utf8ToCp1252(p[2]);
    if (defaultText)
        out << ReadProfileInt(*text, section, key, defaultValue) << "\n";
    else
        out << Cp1252ToUtf8(ReadProfileString(*text, section, key)) << "\n";
    return 0;
}

int Set(const Args& args, std::ostream&, std::ostream& err) {
    const auto read = ReadCommandLine(kSet, args, err);
    if (!read)
        return 2;
    const Args& p = read->positional;
    std::string section = Utf8ToCp1252(p[1]);
    std::string key = Utf8ToCp1252(p[2]);
    std::string value = Utf8ToCp1252(p[3]);
    if (!SetProfileString("", section, key, value))
        return UsageError(err, kSet,
                          "ini set: the section, key or value cannot be written to an INI "
                          "file (empty name, line break, \"]\" in the section, \"=\" in the "
                          "key)");
    std::string reason;
    if (!WriteProfileString(p[0], section, key, value, &reason)) {
        err << "rys: could not write [" << p[1] << "] " << p[2] << " in " << p[0] << ": " << reason
            << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunIni(const Args& args, std::ostream& out, std::ostream& err) {
    static const std::string both = std::string(kGet.usage) + "\n" + std::string(kSet.usage);
    static const Syntax ini{.usage = both};
    if (args.empty())
        return UsageError(err, ini, "ini needs get or set");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "get")
        return Get(rest, out, err);
    if (args[0] == "set")
        return Set(rest, out, err);
    return UsageError(err, ini, "ini: unknown action '" + args[0] + "'");
}

} // namespace ry::cli
