#include "commands.h"

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

// The shell speaks UTF-8 and the file Windows-1252, as the designer's windows do.
int Get(const Args& args, std::ostream& out, std::ostream& err) {
    bool asInt = args.size() == 6 && args[4] == "--int";
    if (args.size() != 4 && !asInt)
        return UsageError(err, "ini get takes FILE SECTION KEY [--int DEFAULT]");
    std::int32_t defaultValue = 0;
    if (asInt && !ParseInt32(args[5], defaultValue))
        return UsageError(err, "ini get: DEFAULT must be a whole number, not '" + args[5] + "'");

    std::string problem;
    std::optional<std::string> text = ReadProfileFile(args[1], &problem);
    if (!text) {
        err << "rys: cannot read " << args[1] << ": " << problem << "\n";
        return 1;
    }
    std::string section = Utf8ToCp1252(args[2]);
    std::string key = Utf8ToCp1252(args[3]);
    if (asInt)
        out << ReadProfileInt(*text, section, key, defaultValue) << "\n";
    else
        out << Cp1252ToUtf8(ReadProfileString(*text, section, key)) << "\n";
    return 0;
}

int Set(const Args& args, std::ostream&, std::ostream& err) {
    if (args.size() != 5)
        return UsageError(err, "ini set takes FILE SECTION KEY VALUE");
    std::string section = Utf8ToCp1252(args[2]);
    std::string key = Utf8ToCp1252(args[3]);
    std::string value = Utf8ToCp1252(args[4]);
    if (!SetProfileString("", section, key, value))
        return UsageError(err, "ini set: the section, key or value cannot be written to an INI "
                               "file (empty name, line break, \"]\" in the section, \"=\" in the "
                               "key)");
    std::string reason;
    if (!WriteProfileString(args[1], section, key, value, &reason)) {
        err << "rys: could not write [" << args[2] << "] " << args[3] << " in " << args[1] << ": "
            << reason << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunIni(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return UsageError(err, "ini needs get or set");
    if (args[0] == "get")
        return Get(args, out, err);
    if (args[0] == "set")
        return Set(args, out, err);
    return UsageError(err, "ini: unknown action '" + args[0] + "'");
}

} // namespace ry::cli
