#include "rys.h"

#include "commands.h"

#include <array>
#include <ostream>

namespace ry::cli {

namespace {

struct Command {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// One row per command; each command's code lives in a file of its own.
constexpr std::array kCommands = {
    Command{"dump", RunDump},           Command{"resave", RunResave},
    Command{"tidy", RunTidy},           Command{"protect", RunProtect},
    Command{"unprotect", RunUnprotect}, Command{"ini", RunIni},
    Command{"check", RunCheck},         Command{"simulate", RunSimulate},
    Command{"arrange", RunArrange},     Command{"test", RunTest},
    Command{"diff", RunDiff},           Command{"git-diff", RunGitDiff},
    Command{"textconv", RunTextconv},
};

} // namespace

int RunRys(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return 0;
    }
    if (args[0] == "--version") {
        out << "rys " << RY_PROGRAM_VERSION << "\n";
        return 0;
    }
    for (const Command& c : kCommands)
        if (args[0] == c.name)
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    err << "rys: unknown command '" << args[0] << "'\n" << kUsage;
    return 2;
}

} // namespace ry::cli
