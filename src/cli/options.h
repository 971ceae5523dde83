#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ry::cli {

// An option that takes a value, such as "--password P".
struct ValueOption {
    std::string_view name;
    // What the option's usage fault says is missing: "--password needs <needs>".
    std::string_view needs = "a value";
};

// What one command takes on its command line.
struct Syntax {
    // The command's usage line without "rys ", e.g. "check FILE... [--json] [--password P]";
    // a command with several forms gives one per line.
    std::string_view usage = {};
    std::vector<std::string_view> flags = {};
    std::vector<ValueOption> options = {};
    std::size_t minPositional = 0;
    std::size_t maxPositional = 0;
    // The usage fault for too few or too many positional arguments.
    std::string_view countMessage = {};
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// A command line as a command's syntax reads it.
struct ReadArgs {
    std::vector<std::string> positional; // in the order given
    std::vector<std::string> flags;      // the flags given
    std::map<std::string, std::string, std::less<>> values;

    bool Flag(std::string_view name) const;
    std::optional<std::string> Value(std::string_view name) const;
};

// Reads `args` by `syntax`: flags and valued options may stand anywhere, an option's value is
// the argument after it whatever it looks like, a repeated option keeps its last value, and
// everything after a lone "--" is positional (for a file or event that starts with "--"). An
// argument that starts with a single "-" (or is "-") is positional. On a usage fault returns
// nothing and sets `fault` to the message.
std::optional<ReadArgs> ReadCommandLine(const Syntax& syntax, const std::vector<std::string>& args,
                                        std::string& fault);

// Prints "rys: MESSAGE" and the command's usage, and returns the usage error's exit code, 2.
int UsageError(std::ostream& err, const Syntax& syntax, std::string_view message);

// Reads the command line; on a usage fault prints it (as UsageError) and returns nothing.
std::optional<ReadArgs> ReadCommandLine(const Syntax& syntax, const std::vector<std::string>& args,
                                        std::ostream& err);

} // namespace ry::cli
