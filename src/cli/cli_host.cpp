#include "cli_host.h"

#include "terminal_text.h"

#include "script/loader.h"
#include "script/saver.h"
#include "script/text.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace ry::cli {

void CliHost::ShowMessage(std::string_view text) {
    ++messages_;
    err_ << "rys: " << TerminalText(ReplaceAll(Cp1252ToUtf8(text), "\r\n", " ")) << "\n";
}

void CliHost::RequestSavePassword(std::int16_t) {
    ++messages_;
    err_ << "rys: a protected script needs a password: use --password\n";
}

std::optional<std::int16_t> LoadScript(ScriptTables& tables, CliHost& host, const std::string& file,
                                       std::string& why) {
    const std::int16_t result = RysScriptLoad(tables, host, file, kCallerDesigner);
    if (result >= 1)
        return result;
    why = LoadFailureInWords(file, result);
    return std::nullopt;
}

std::optional<std::int16_t> LoadScriptForCommand(ScriptTables& tables, CliHost& host,
                                                 const std::string& file, std::ostream& err) {
    std::string why;
    const std::optional<std::int16_t> script = LoadScript(tables, host, file, why);
    if (!script)
        err << "rys: " << TerminalText(file) << ": not loaded: " << why << "\n";
    return script;
}

std::string LoadFailureInWords(const std::string& file, int result) {
    return LoadFailureCause(file, result);
}

int RewriteScriptFile(const std::string& in, const std::string& out, const std::string& password,
                      std::ostream& err,
                      const std::function<bool(ScriptTables&, std::int16_t script)>& edit) {
    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, password);
    auto script = LoadScriptForCommand(*tables, host, in, err);
    if (!script)
        return 1;
    if (!edit(*tables, *script))
        return 0;
    tables->Script(*script).FileName = out;
    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    if (SaveScriptFile(*tables, host, boxes, writer, *script) != kSaveWritten) {
        err << "rys: " << out << ": not saved\n";
        return 1;
    }
    return 0;
}

void KeepPasswordForCopy(ScriptRecord& s, const std::optional<std::string>& given) {
    if (given && s.Password.empty())
        s.Password = *given;
    if (s.Password.empty())
        s.Password = "NOTSET";
}

} // namespace ry::cli
