#pragma once

// The change between two versions of a script as a reader thinks of it: modules added, removed
// and renamed, settings changed, paths added, removed and re-targeted, script properties
// changed, and boxes moved. Modules are matched by title; a module whose title changed is
// recognised as renamed when its type and settings are the same and the paths that led to the
// old title now lead to the new one. Text is Windows-1252, as the records hold it.

#include "script/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ry {

struct SettingChange {
    std::string Caption;
    std::string Old;
    std::string New;
    bool Secret = false;
};

struct PathChange {
    enum class Kind { Added, Removed, Retargeted, Reworded };
    Kind What = Kind::Added;
    std::string Trigger;
    std::string Destination;    // the new one (the old one when removed); empty: none
    std::string OldDestination; // when re-targeted
};

struct ModuleChange {
    enum class Kind { Added, Removed, Changed };
    Kind What = Kind::Changed;
    std::string Title;    // the new title (the old one when removed)
    std::string OldTitle; // when renamed; empty otherwise
    std::string Type;
    // The module's index in the new script (the old one when removed), for selecting it.
    std::int16_t Module = -1;
    std::vector<SettingChange> Settings;
    std::vector<PathChange> Paths;

    bool Renamed() const { return !OldTitle.empty(); }
};

struct BoxMove {
    std::string Title;
    std::int16_t Module = -1; // in the new script
    std::int32_t OldX = 0, OldY = 0, NewX = 0, NewY = 0;
};

struct ScriptDiff {
    std::vector<SettingChange> Properties;
    std::vector<ModuleChange> Modules; // in the new script's chain order, removed ones last
    std::vector<BoxMove> Moves;

    // Whether the two scripts mean the same: nothing changed but the boxes' places.
    bool SameMeaning() const { return Properties.empty() && Modules.empty(); }
};

// The change from script `oldScript` of `oldTables` to script `newScript` of `newTables` (the
// two may be the same tables).
ScriptDiff DiffScripts(const ScriptTables& oldTables, std::int16_t oldScript,
                       const ScriptTables& newTables, std::int16_t newScript);

// One line of the change and the module it is about: its index in the new script, or in the
// old one when `Removed`; -1 for the script's properties and the moves' summary.
struct DiffEntry {
    std::string Line; // UTF-8
    std::int16_t Module = -1;
    bool Removed = false;
};

std::vector<DiffEntry> DiffEntries(const ScriptDiff& diff, bool positions);

// The change as lines of UTF-8 text, grouped by module ("Sales: extension 201 → 203",
// "Main Menu: on 2 → Leave Message, was Support"); the moves as one summary line, or one line
// per box when `positions` is set.
std::vector<std::string> DiffLines(const ScriptDiff& diff, bool positions);

} // namespace ry
