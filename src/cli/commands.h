#pragma once

#include "options.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace ry {
class ScriptTables;
}

namespace ry::cli {

using Args = std::vector<std::string>;

inline constexpr std::string_view kUsage =
    "Usage: rys COMMAND [ARGS]\n"
    "Reads and writes Ryvane call scripts (.rys, .ryp) and the engine's RY.INI.\n"
    "\n"
    "Commands:\n"
    "  dump FILE                 print the script as JSON\n"
    "  resave IN OUT             load IN and save it to OUT as the designer would\n"
    "  tidy FILE [--check]       rewrite every module's paths in their normal form\n"
    "                            (--check: only report, exit 1 when any would change)\n"
    "  protect IN.rys OUT.ryp --password P\n"
    "                            save a protected copy under the password P\n"
    "  unprotect IN.ryp OUT.rys --password P\n"
    "                            save a plain copy of a protected script\n"
    "  check FILE... [--json]    report each script's problems, one line each as\n"
    "                            FILE: MODULE: REASON (--json: as a JSON array);\n"
    "                            exit 1 when any is found, 2 when a script does not load\n"
    "  simulate FILE [--json] [--at \"YYYY-MM-DD HH:MM\"] EVENT...\n"
    "                            walk a call through the script, taking the events\n"
    "                            (1, #, timeout, success, Busy, ...) in turn, Time Switches\n"
    "                            answered at the --at clock (default now); exit 0 when it\n"
    "                            ends at a hangup, a transfer or in voicemail with every\n"
    "                            event taken, 1 otherwise\n"
    "  test FILE... [--junit OUT.xml]\n"
    "                            run the calls of each scenario file (YAML) against the\n"
    "                            script it names: one line per call, ok or FAIL with what\n"
    "                            was wanted and what happened (--junit: also as JUnit XML,\n"
    "                            never over a scenario file or script the run reads);\n"
    "                            exit 1 when a call fails, 2 when a file cannot be read,\n"
    "                            breaks the format's rules or its script does not load\n"
    "  arrange IN OUT            lay the boxes out from the start module downwards and\n"
    "                            save the script to OUT; only the boxes' places change;\n"
    "                            --area WxH: the design area to keep in (2000x2000);\n"
    "                            exit 1, saving nothing, when the boxes need more room\n"
    "  diff OLD NEW [--json] [--positions]\n"
    "                            list what changed from OLD to NEW, one line each, grouped\n"
    "                            by module (--positions: each moved box, not a count);\n"
    "                            exit 0 when they mean the same, 1 when they differ\n"
    "  git-diff PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE\n"
    "                            the same as git's external diff (diff.rys.command)\n"
    "  textconv FILE             the script as plain lines for git (diff.rys.textconv)\n"
    "  dump, resave, tidy, check, simulate, test, arrange, diff, git-diff and textconv\n"
    "                            take --password P for protected (.ryp) scripts\n"
    "  ini get FILE SECTION KEY  print a value of an INI file such as RY.INI\n"
    "  ini get FILE SECTION KEY --int DEFAULT\n"
    "                            print its leading number; DEFAULT when missing or empty\n"
    "  ini set FILE SECTION KEY VALUE\n"
    "                            set a value, keeping every other line of the file\n"
    "  --help                    show this text\n"
    "  --version                 show the version\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

// Each returns the exit code; `args` excludes the command name.
int RunDump(const Args& args, std::ostream& out, std::ostream& err);
int RunResave(const Args& args, std::ostream& out, std::ostream& err);
int RunTidy(const Args& args, std::ostream& out, std::ostream& err);
int RunProtect(const Args& args, std::ostream& out, std::ostream& err);
int RunUnprotect(const Args& args, std::ostream& out, std::ostream& err);
int RunIni(const Args& args, std::ostream& out, std::ostream& err);
int RunCheck(const Args& args, std::ostream& out, std::ostream& err);
int RunSimulate(const Args& args, std::ostream& out, std::ostream& err);
int RunArrange(const Args& args, std::ostream& out, std::ostream& err);
int RunTest(const Args& args, std::ostream& out, std::ostream& err);
int RunDiff(const Args& args, std::ostream& out, std::ostream& err);
int RunGitDiff(const Args& args, std::ostream& out, std::ostream& err);
int RunTextconv(const Args& args, std::ostream& out, std::ostream& err);

// For the commands that read IN [--password P] and write OUT (resave, arrange): loads IN, lets
// `edit` change its records and saves them to OUT under the password of KeepPasswordForCopy.
int SaveCopy(const Syntax& syntax, const Args& args, std::ostream& err,
             const std::function<void(ScriptTables&, std::int16_t script)>& edit);

// The script's records as JSON: the script's fields, then its modules in chain order.
void WriteScriptJson(const ScriptTables& tables, std::int16_t script, std::ostream& out);

} // namespace ry::cli
