#include "options.h"

#include <algorithm>
#include <ostream>

namespace ry::cli {

bool ReadArgs::Flag(std::string_view name) const {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<std::string> ReadArgs::Value(std::string_view name) const {
    auto it = values.find(name);
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

std::optional<ReadArgs> ReadCommandLine(const Syntax& syntax, const std::vector<std::string>& args,
                                        std::string& fault) {
    ReadArgs read;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || !a.starts_with("--")) {
            read.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (std::find(syntax.flags.begin(), syntax.flags.end(), a) != syntax.flags.end()) {
            if (!read.Flag(a))
                read.flags.push_back(a);
            continue;
        }
        auto option = std::find_if(syntax.options.begin(), syntax.options.end(),
                                   [&](const ValueOption& o) { return o.name == a; });
        if (option == syntax.options.end()) {
            fault = "unknown option " + a;
            return std::nullopt;
        }
        if (i + 1 == args.size()) {
            fault = a + " needs " + std::string(option->needs);
            return std::nullopt;
        }
        read.values[a] = args[++i];
    }
    const size_t count = read.positional.size();
    if (count < syntax.minPositional || count > syntax.maxPositional) {
        fault = std::string(syntax.countMessage);
        return std::nullopt;
    }
    return read;
}

int UsageError(std::ostream& err, const Syntax& syntax, std::string_view message) {
    err << "rys: " << message << "\n";
    std::string_view usage = syntax.usage;
    std::string_view lead = "Usage: rys ";
    while (!usage.empty()) {
        const size_t end = usage.find('\n');
        err << lead << usage.substr(0, end) << "\n";
        usage = end == std::string_view::npos ? std::string_view() : usage.substr(end + 1);
        lead = "       rys ";
    }
    return 2;
}

std::optional<ReadArgs> ReadCommandLine(const Syntax& syntax, const std::vector<std::string>& args,
                                        std::ostream& err) {
    std::string fault;
    std::optional<ReadArgs> read = ReadCommandLine(syntax, args, fault);
    if (!read)
        UsageError(err, syntax, fault);
    return read;
}

} // namespace ry::cli
