#include "cli_host.h"

#include "script/loader.h"
#include "script/text.h"

#include <algorithm>
#include <vector>

namespace ry::cli {

void CliHost::ShowMessage(std::string_view text) {
    ++messages_;
    err_ << "rys: " << ReplaceAll(Cp1252ToUtf8(text), "\r\n", " ") << "\n";
}

void CliHost::RequestSavePassword(std::int16_t) {
    ++messages_;
    err_ << "rys: a protected script needs a password: use --password\n";
}

std::optional<std::int16_t> LoadScriptForCommand(ScriptTables& tables, CliHost& host,
                                                 const std::string& file, std::ostream& err) {
    std::int16_t result = RysScriptLoad(tables, host, file, kCallerDesigner);
    if (result >= 1)
        return result;
    err << "rys: " << file << ": load result " << result << ": " << LoadFailureReason(result)
        << "\n";
    return std::nullopt;
}

bool TakeFlag(std::vector<std::string>& args, std::string_view name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, std::string_view name,
                                      bool& missingValue) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return std::nullopt;
    if (it + 1 == args.end()) {
        missingValue = true;
        args.erase(it);
        return std::nullopt;
    }
    std::string value = *(it + 1);
    args.erase(it, it + 2);
    return value;
}

} // namespace ry::cli
