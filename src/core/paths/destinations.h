#pragma once

// What the canvas draws from the path texts: for each "on {" of a module's path text, the
// trigger between its braces and the title in the first square brackets after the trigger on
// the same line, and the module of the same script that bears that title.

#include "script/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ry {

// For each "on {" of `pathText` (any letter case), in order: the destination title, or nothing
// when no "[" follows the trigger before the end of its line, when the "[" is never closed, or
// when the brackets are empty. The title is the text between the "[" and the first "]" after
// it; brackets do not nest here. The titles point into `pathText`.
std::vector<std::optional<std::string_view>> PathDestinations(std::string_view pathText);

// One "on {" of a path text as the canvas reads it.
struct PathLink {
    // The text between the braces, cut at the end of its line; empty without a "}".
    std::string_view Trigger;
    // As PathDestinations gives it.
    std::optional<std::string_view> Destination;

    friend bool operator==(const PathLink&, const PathLink&) = default;
};

// The same scan as PathDestinations, with each path's trigger.
std::vector<PathLink> PathLinks(std::string_view pathText);

// Whether a destination is one the voicemail system takes ("Voicemail Box Menu", "Voicemail
// Retrieve", "Voicemail Auto Attendant", or "Voicemail Box" and a box number), in any letter
// case: such a destination names no module.
bool IsVoicemailDestination(std::string_view title);

// The modules of one script by title: each title leads to the first module in chain order
// that bears it, compared exactly (letter case counts). Built once per redraw; it holds copies
// of the titles, so it stays valid while the records change.
class TitleIndex {
public:
    TitleIndex(const ScriptTables& tables, int script);

    // The module bearing `title`, or -1 when none does.
    std::int16_t Find(std::string_view title) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, std::int16_t, Hash, std::equal_to<>> byTitle_;
};

// One connector to draw: from the module whose path names the destination to that module.
struct Connector {
    std::int16_t From = -1;
    std::int16_t To = -1;

    friend bool operator==(const Connector&, const Connector&) = default;
};

// One path of a script that names a destination, whether or not a module bears it. The views
// point into the module records: they stay valid while the records do not change.
struct ScriptPath {
    std::int16_t From = -1;
    // The module the destination leads to; -1 when none of the script bears that title.
    std::int16_t To = -1;
    // Which "on {" of the source's path text this is, counted from 0 (paths without a
    // destination counted too).
    int Line = 0;
    std::string_view Trigger;
    std::string_view Destination;

    friend bool operator==(const ScriptPath&, const ScriptPath&) = default;
};

// Every path of a script that names a destination, in chain order and path-text order. An
// index outside the script table gives none.
std::vector<ScriptPath> ScriptPaths(const ScriptTables& tables, int script);

// Every connector of a script, in chain order and path-text order. A module that leads to the
// same destination by several triggers gives that connector several times; destinations that
// name no module of the script give none. An index outside the script table gives none.
std::vector<Connector> ScriptConnectors(const ScriptTables& tables, int script);

} // namespace ry
