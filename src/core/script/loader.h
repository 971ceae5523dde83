#pragma once

// Reading a script file (".rys" text, or ".ryp" protected) into a new script record and its
// chain of module records.

#include "script/host.h"
#include "script/records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ry {

// Who is loading: the designer asks for passwords, the engine does not.
inline constexpr std::string_view kCallerDesigner = "RYKEM";
inline constexpr std::string_view kCallerEngine = "RYMULTI";

// The program's version as the loader compares it with a file's "Version".
inline constexpr std::string_view kProgramVersion = "5.2";

// Load results below 1.
enum LoadFailure : std::int16_t {
    kLoadBadFileName = -1,   // missing or unusable file name, or no free script record
    kLoadNotAScript = -4,    // a protected file that does not decipher to a script
    kLoadWrongPassword = -5, // the password typed is not the file's
    kLoadNothingDeciphered = -6,
    kLoadFailed = -9,       // the file could not be read
    kLoadModuleLimit = -10, // no free module record: the script, or it and the scripts open,
                            // hold more modules than the tables have
};

// A sentence for a failed load's result code.
std::string_view LoadFailureReason(int result);

// Why `file` did not load (the loader's result), in words, to follow "not loaded: ": a file
// that cannot be opened or read says why (no such file, a link loop, a folder, a named pipe,
// a device, no permission, too large); otherwise the result code's sentence.
std::string LoadFailureCause(const std::string& file, int result);

// Loads a script file. Returns the new script's index (1..100), or a LoadFailure code; after
// a failure no record of the script remains and the free lists are as they were before.
std::int16_t RysScriptLoad(ScriptTables& tables, Host& host, std::string_view fileName,
                           std::string_view callerId = kCallerDesigner);

// Interprets a script's text into the freshly allocated script `script`, then makes its start
// module valid. Returns 0, or kLoadModuleLimit after releasing the script.
std::int16_t InterpretScriptText(ScriptTables& tables, Host& host, std::int16_t script,
                                 std::string_view text);

// Interprets one trimmed line. `module` is the current module (in/out, -1 before the first
// section); some values take further lines from `rest`. Returns 0, or -1 when a module record
// could not be allocated.
std::int16_t ProcessRysEntry(ScriptTables& tables, Host& host, std::int16_t script,
                             std::int16_t& module, std::string_view line, std::string_view& rest);

// A line that ends a VB Script text in the file: its hold sound ("VbsHoldPlay="), or the
// module's position or paths ("Position=", "on {" in any letter case). The text itself can
// hold no such line, nor a first line ending in "\" or "/" (read as continued); the saver
// writes those so that they read back whole.
bool EndsScriptText(std::string_view line);

// How a script text ended its lines, when not only with CR LF as the engine writes them.
struct OtherLineEnds {
    std::string kinds;  // the kinds of line end the text held: "LF", "CR LF and LF", ...
    bool mixed = false; // more than one kind
    explicit operator bool() const { return !kinds.empty(); }
};

// A script text edited on another system ends its lines with LF or CR alone, and a text
// pieced together from several (a module appended by another editor, a merge) mixes them.
// Every CR LF, every lone LF and every lone CR is read as a line end and becomes CR LF, so
// no line runs into the next whatever the other lines end with; the answer says which kinds
// the text held. A text that ends every line with CR LF is left as it is (empty answer).
OtherLineEnds ReadLineEndsAsWritten(std::string& text);

// The folder part of a path up to and including its last "\" or "/"; the rest goes to
// `fileName` when given. Scripts come from Windows, so both separators count.
std::string SplitPath(std::string_view path, std::string* fileName = nullptr);

} // namespace ry
