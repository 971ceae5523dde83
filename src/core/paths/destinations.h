#pragma once

// What the canvas draws from the path texts: for each "on {" of a module's path text, the
// title in the first square brackets after the trigger on the same line, and the module of the
// same script that bears that title.

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

// Every connector of a script, in chain order and path-text order. A module that leads to the
// same destination by several triggers gives that connector several times; destinations that
// name no module of the script give none. An index outside the script table gives none.
std::vector<Connector> ScriptConnectors(const ScriptTables& tables, int script);

} // namespace ry
