#pragma once

// Renaming a module: its title, the start module of its script, and every path of the script
// that leads to it.

#include "script/records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

// A title as a module dialog stores it: without "[", "]", "{", "}", "<" and ">", so that it
// always stands whole between one bracket pair of a path text, and without blanks at either
// end (the script file trims section titles, so a blank left there would not survive a save).
std::string CleanModuleTitle(std::string_view title);

// `pathText` with every "[oldTitle]" made "[newTitle]", again until none is left: with an old
// title that holds "[", a replacement can make a new reference around the one it put in.
// `newTitle` is a cleaned title. Equal titles leave the text as it is.
std::string ReplaceTitleReferences(std::string_view pathText, std::string_view oldTitle,
                                   std::string_view newTitle);

// What a rename did, for the windows that show titles and path texts.
struct TitleChange {
    // The title to show in the dialog's caption and title field and on the box: the cleaned
    // title, or the unchanged old one.
    std::string Title;
    // False when the cleaned title equals the old one: nothing was changed.
    bool Renamed = false;
    bool StartModuleRenamed = false;
    // Modules whose path text changed, in chain order.
    std::vector<std::int16_t> ChangedPaths;
};

// Renames the module titled `oldTitle` to the cleaned `newTitle`: every "[old]" in the path
// texts of the script becomes "[new]" (exact letter case), the script's start module follows
// when it was the old title, and the module record gets the new title. Nothing happens when
// the cleaned title equals the old one. An index outside its table skips the steps that need
// it.
TitleChange RenameModuleInPaths(ScriptTables& tables, std::string_view oldTitle,
                                std::string_view newTitle, std::int16_t module,
                                std::int16_t script);

// The title a user entered for a module in its dialog or on its box: when it differs from the
// module's title once trimmed, the module is renamed as above.
TitleChange ApplyModuleTitle(ScriptTables& tables, std::int16_t module, std::int16_t script,
                             std::string_view enteredTitle);

} // namespace ry
