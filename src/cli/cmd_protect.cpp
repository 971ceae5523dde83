#include "cli_host.h"
#include "commands.h"

#include "script/protected_script.h"
#include "script/saver.h"
#include "script/text.h"

#include <memory>
#include <ostream>

namespace ry::cli {

namespace {

// Loads IN (with the password when it is protected) and saves it as OUT: protected under the
// password when `protect`, plain otherwise.
int Convert(const Args& given, std::ostream& err, bool protect, std::string_view command) {
    Args args = given;
    bool missing = false;
    auto password = TakeOption(args, "--password", missing);
    if (missing)
        return UsageError(err, "--password needs a value");
    if (args.size() != 2 || !password)
        return UsageError(err, std::string(command) + " takes IN OUT --password P");
    if (IsProtectedScriptName(args[1]) != protect)
        return UsageError(err, protect ? "the protected copy must be named .ryp"
                                       : "the plain copy must not be named .ryp");

    // The scripts keep "NOTSET" as the mark of a protected script without a password yet.
    if (protect && ToUpperAnsi(Trim(*password)) == "NOTSET")
        return UsageError(err, "\"" + *password +
                                   "\" cannot be a password: it marks a script that has none "
                                   "yet; choose another");

    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, *password);
    auto script = LoadScriptForCommand(*tables, host, args[0], err);
    if (!script)
        return 1;
    ScriptRecord& s = tables->Script(*script);
    s.FileName = args[1];
    s.Password = *password;
    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    if (SaveScriptFile(*tables, host, boxes, writer, *script) != kSaveWritten) {
        err << "rys: " << args[1] << ": not saved\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunProtect(const Args& args, std::ostream&, std::ostream& err) {
    return Convert(args, err, true, "protect");
}

int RunUnprotect(const Args& args, std::ostream&, std::ostream& err) {
    return Convert(args, err, false, "unprotect");
}

} // namespace ry::cli
