#include "cli_host.h"
#include "commands.h"

#include "script/saver.h"

#include <memory>
#include <ostream>

namespace ry::cli {

int RunResave(const Args& given, std::ostream&, std::ostream& err) {
    Args args = given;
    bool missing = false;
    auto password = TakeOption(args, "--password", missing);
    if (missing)
        return UsageError(err, "--password needs a value");
    if (args.size() != 2)
        return UsageError(err, "resave takes an input and an output file");
    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, password.value_or(""));
    auto script = LoadScriptForCommand(*tables, host, args[0], err);
    if (!script)
        return 1;
    ScriptRecord& s = tables->Script(*script);
    s.FileName = args[1];
    // A protected copy keeps the password it was opened with, or takes the one given.
    if (password && s.Password.empty())
        s.Password = *password;
    if (s.Password.empty())
        s.Password = "NOTSET";
    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    std::int16_t result = SaveScriptFile(*tables, host, boxes, writer, *script);
    if (result != kSaveWritten) {
        err << "rys: " << args[1] << ": not saved\n";
        return 1;
    }
    return 0;
}

} // namespace ry::cli
