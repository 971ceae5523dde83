#pragma once

// A module's settings as a reader names them: one caption and one value each, in the order its
// dialog shows them, for comparing two versions of a module. Values are Windows-1252 text, as
// the records hold them.

#include "script/records.h"

#include <string>
#include <vector>

namespace ry {

struct ModuleSetting {
    std::string Key; // the file key and slot it comes from: one setting's name in every type
    std::string Caption;
    std::string Value;
    bool Secret = false; // a password: a change is told, the values are not
};

// Every stored setting of the module except its type, title, paths and place on the canvas.
// A setting its type does not use is still listed (under the name of its file key), so no
// stored change goes unseen; a Time Switch gives its days and hours as one would read them.
std::vector<ModuleSetting> ModuleSettings(const ModuleRecord& module);

// The days of a Time Switch's day codes ("MoTuWeThFr") as a reader writes them: runs of three
// or more days as "Mo–Fr" (UTF-8 dash), others listed ("Mo, We, Fr"), "no day" when empty.
std::string DayRange(std::string_view dayCodes);

} // namespace ry
