#include "cli_host.h"
#include "commands.h"
#include "options.h"

#include "script/protected_script.h"
#include "script/text.h"

#include <ostream>

namespace ry::cli {

namespace {

const Syntax kProtect{.usage = "protect IN.rys OUT.ryp --password P",
                      .options = {{"--password"}},
                      .minPositional = 2,
                      .maxPositional = 2,
                      .countMessage = "protect takes IN OUT --password P"};
const Syntax kUnprotect{.usage = "unprotect IN.ryp OUT.rys --password P",
                        .options = {{"--password"}},
                        .minPositional = 2,
                        .maxPositional = 2,
                        .countMessage = "unprotect takes IN OUT --password P"};

// Loads IN (with the password when it is protected) and saves it as OUT: protected under the
// password when `protect`, plain otherwise.
int Convert(const Args& args, std::ostream& err, bool protect) {
    const Syntax& syntax = protect ? kProtect : kUnprotect;
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    const auto password = read->Value("--password");
    if (!password)
        return UsageError(err, syntax, syntax.countMessage);
    const std::string& in = read->positional[0];
    const std::string& out = read->positional[1];
    if (IsProtectedScriptName(out) != protect)
        return UsageError(err, syntax,
                          protect ? "the protected copy must be named .ryp"
                                  : "the plain copy must not be named .ryp");

    // The scripts keep "NOTSET" as the mark of a protected script without a password yet.
    if (protect && ToUpperAnsi(Trim(*password)) == "NOTSET")
        return UsageError(err, syntax,
                          "\"" + *password +
                              "\" cannot be a password: it marks a script that has none "
                              "yet; choose another");

    return RewriteScriptFile(in, out, *password, err,
                             [&](ScriptTables& tables, std::int16_t script) {
                                 tables.Script(script).Password = *password;
                                 return true;
                             });
}

} // namespace

int RunProtect(const Args& args, std::ostream&, std::ostream& err) {
    return Convert(args, err, true);
}

int RunUnprotect(const Args& args, std::ostream&, std::ostream& err) {
    return Convert(args, err, false);
}

} // namespace ry::cli
