#include "cli_host.h"

#include "script/loader.h"
#include "script/text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
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
    err << "rys: " << file << ": not loaded: " << LoadFailureInWords(file, result) << "\n";
    return std::nullopt;
}

std::string LoadFailureInWords(const std::string& file, int result) {
    if (result == kLoadBadFileName || result == kLoadFailed) {
        // The loader's codes cover several causes each; the file system tells which.
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::status(file, ec);
        if (file.empty())
            return "no file name given";
        if (!std::filesystem::exists(status))
            return "there is no such file";
        if (std::filesystem::is_directory(status))
            return "it is a folder, not a file";
        if (!std::filesystem::is_regular_file(status))
            return "it is not a regular file";
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return "the file cannot be read (no permission)";
    }
    return std::string(LoadFailureReason(result));
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
