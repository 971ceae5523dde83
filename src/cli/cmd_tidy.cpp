#include "cli_host.h"
#include "commands.h"

#include "paths/path_text.h"
#include "script/saver.h"
#include "script/text.h"

#include <algorithm>
#include <memory>
#include <ostream>

namespace ry::cli {

// Rewrites every module's path text in the normal form and reports what changed.
int RunTidy(const Args& given, std::ostream& out, std::ostream& err) {
    Args args = given;
    bool checkOnly = false;
    if (auto it = std::find(args.begin(), args.end(), "--check"); it != args.end()) {
        checkOnly = true;
        args.erase(it);
    }
    bool missing = false;
    auto password = TakeOption(args, "--password", missing);
    if (missing)
        return UsageError(err, "--password needs a value");
    if (args.size() != 1)
        return UsageError(err, "tidy takes one script file");

    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, password.value_or(""));
    auto script = LoadScriptForCommand(*tables, host, args[0], err);
    if (!script)
        return 1;

    int changed = 0;
    ForEachModule(*tables, *script, [&](std::int16_t, ModuleRecord& m) {
        std::string tidy = TidyPathsText(m.PathText);
        if (tidy == m.PathText)
            return;
        ++changed;
        out << args[0] << ": " << Cp1252ToUtf8(m.Title) << ": paths "
            << (checkOnly ? "would change" : "changed") << "\n";
        m.PathText = std::move(tidy);
    });
    if (checkOnly)
        return changed == 0 ? 0 : 1;
    if (changed == 0)
        return 0;
    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    if (SaveScriptFile(*tables, host, boxes, writer, *script) != kSaveWritten) {
        err << "rys: " << args[0] << ": not saved\n";
        return 1;
    }
    return 0;
}

} // namespace ry::cli
