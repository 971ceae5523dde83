#include "cli_host.h"
#include "commands.h"

#include <ostream>

namespace ry::cli {

int SaveCopy(const Syntax& syntax, const Args& args, std::ostream& err,
             const std::function<void(ScriptTables&, std::int16_t script)>& edit) {
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    const auto password = read->Value("--password");
    return RewriteScriptFile(read->positional[0], read->positional[1], password.value_or(""), err,
                             [&](ScriptTables& tables, std::int16_t script) {
                                 edit(tables, script);
                                 KeepPasswordForCopy(tables.Script(script), password);
                                 return true;
                             });
}

int RunResave(const Args& args, std::ostream&, std::ostream& err) {
    static const Syntax syntax{.usage = "resave IN OUT [--password P]",
                               .options = {{"--password"}},
                               .minPositional = 2,
                               .maxPositional = 2,
                               .countMessage = "resave takes an input and an output file"};
    return SaveCopy(syntax, args, err, [](ScriptTables&, std::int16_t) {});
}

} // namespace ry::cli
