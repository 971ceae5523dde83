#pragma once

// Building one path line from the choices of a module's paths panel: the trigger captions a
// module type offers, the destinations every script offers besides its modules, and the line
// made from a trigger, a timeout, a destination and a voicemail box number.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

// The destinations of the engine's voicemail system, offered after the script's modules.
inline constexpr std::array<std::string_view, 4> kVoicemailDestinations = {
    "Voicemail Box", "Voicemail Box Menu", "Voicemail Retrieve", "Voicemail Auto Attendant"};

// The trigger captions offered for a module type, in the order shown; none for a type whose
// module has no paths or whose triggers are only typed.
std::vector<std::string_view> TriggerCaptions(std::string_view moduleType);

// The fields of the panel, as typed.
struct PathLineFields {
    std::string_view Trigger;     // a caption or typed text
    std::string_view Timeout;     // seconds, used when the trigger is "timeout"
    std::string_view Destination; // a module title or a voicemail destination
    std::string_view BoxNumber;   // used when the destination is "Voicemail Box"
};

struct PathLine {
    enum class Problem { None, NoDestination, NoBoxNumber };
    Problem Missing = Problem::None;
    // "on {trigger} goto [destination]", without a line end; empty when something is missing.
    std::string Line;
    // What the seconds field shows afterwards: an empty one becomes "0" for a timeout trigger.
    std::string Timeout;
};

// The line for the fields. A trigger that reads "timeout" in any letter case becomes
// "timeout <seconds>"; any other becomes its trigger word (cmbTrig2Act). A "Voicemail Box"
// destination names the box number after it.
PathLine BuildPathLine(const PathLineFields& fields);

// `pathText` with every "[oldTitle]" made "[newTitle]" (a cleaned title), by the rename rule
// that renames the stored path texts; for a path text that is still being edited.
std::string RenameInPathText(std::string_view pathText, std::string_view oldTitle,
                             std::string_view newTitle);

// `pathText` with `line` and CR LF appended. A text whose last line has no line end gets one
// first, so the new path does not run on into the last one typed.
std::string AppendPathLine(std::string_view pathText, std::string_view line);

} // namespace ry
