#include "cli_host.h"
#include "commands.h"
#include "options.h"

#include "paths/path_text.h"
#include "script/text.h"

#include <ostream>

namespace ry::cli {

// Rewrites every module's path text in the normal form and reports what changed.
int RunTidy(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "tidy FILE [--check] [--password P]",
                               .flags = {"--check"},
                               .options = {{"--password"}},
                               .minPositional = 1,
                               .maxPositional = 1,
                               .countMessage = "tidy takes one script file"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    const bool checkOnly = read->Flag("--check");
    const std::string& file = read->positional[0];
    int changed = 0;
    const int code =
        RewriteScriptFile(file, file, read->Value("--password").value_or(""), err,
                          [&](ScriptTables& tables, std::int16_t script) {
                              ForEachModule(tables, script, [&](std::int16_t, ModuleRecord& m) {
                                  std::string tidy = TidyPathsText(m.PathText);
                                  if (tidy == m.PathText)
                                      return;
                                  ++changed;
                                  out << file << ": " << Cp1252ToUtf8(m.Title) << ": paths "
                                      << (checkOnly ? "would change" : "changed") << "\n";
                                  m.PathText = std::move(tidy);
                              });
                              return !checkOnly && changed > 0;
                          });
    if (code != 0 || !checkOnly)
        return code;
    return changed == 0 ? 0 : 1;
}

} // namespace ry::cli
