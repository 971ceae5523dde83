#pragma once

// The script checker: what keeps a script that loads from working on a call, found offline.
// Each problem names its module (index and title), its kind and a one-line reason, so that a
// list of problems can be shown and each one followed to its module's box.
//
// Text in problems is Windows-1252, like the records it comes from.

#include "script/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

enum class ProblemKind {
    // The script as a whole: its start module names no module of the script.
    BadStartModule,
    // A module bears the title of a module earlier in the chain; paths reach only that one.
    DuplicateTitle,
    // No path leads to the module from the start module.
    Unreachable,
    // A "Hangup the Call" module has paths; the call ends there, so they are never taken.
    HangupWithPaths,
    // Tidying would change the module's path text.
    UntidyPaths,
    // A path's trigger is not one the module's type offers.
    UnofferedTrigger,
    // A path leads to a title that names no module of the script (voicemail destinations
    // aside).
    UnknownDestination,
    // A sound, script or program file that the module (or the script) names does not exist.
    MissingFile,
    // A path whose trigger takes the same events as an earlier path of the module (every
    // timeout counting as one), so it is never taken.
    DuplicateTrigger,
    // A module with no path, other than a hang-up or a transfer: the call has nowhere to go.
    NoPaths,
    // A module lacks what its type needs to do its work (a Play module with neither a sound
    // file nor a text to speak, a transfer without a number, ...); the reason names the field
    // as its dialog captions it.
    EmptyField,
};

// The kind as a short stable word for machines: "bad-start-module", "duplicate-title",
// "unreachable", "hangup-with-paths", "untidy-paths", "unoffered-trigger",
// "unknown-destination", "missing-file", "duplicate-trigger", "no-paths", "empty-field".
std::string_view ProblemKindName(ProblemKind kind);

struct Problem {
    ProblemKind Kind = ProblemKind::UntidyPaths;
    // The module the problem belongs to; -1 for a problem of the script as a whole (its start
    // module, the script it runs at hang-up).
    std::int16_t Module = -1;
    // The module's title; empty for a problem of the script as a whole.
    std::string Title;
    // One line saying what is wrong, naming the path, trigger or file concerned.
    std::string Reason;

    friend bool operator==(const Problem&, const Problem&) = default;
};

struct CheckOptions {
    // The start module as the script's file writes it (see WrittenStartModule). Loading
    // replaces a start module that names no module by the first module's title, so only the
    // file still shows that the start module was renamed away. Without it the script record's
    // start module is checked.
    std::optional<std::string> WrittenStartModule;
    // Whether the files that modules name are looked up on disk.
    bool CheckFiles = true;
};

// Every problem of a loaded script: first those of the script as a whole, then each module's
// in chain order, a module's problems in the order of the kinds above and its paths' problems
// in path order. An index outside the script table gives none. The work grows with the size
// of the script (titles, path texts) plus one look-up per distinct file name.
std::vector<Problem> CheckScript(const ScriptTables& tables, std::int16_t script,
                                 const CheckOptions& options = {});

// The start module a script's text names, read as the loader reads it (a script without one
// starts at its first module) but before the loader makes it name a module of the script.
std::string WrittenStartModule(std::string_view scriptText);

// The same for a script file, deciphering a protected one without asking for its password;
// nothing when the file cannot be read or deciphered.
std::optional<std::string> WrittenStartModuleOfFile(const std::string& fileName);

} // namespace ry
