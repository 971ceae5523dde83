#pragma once

// What a module does on a call, in a few plain lines for the Test Call panel: the sound files
// it plays or the text it speaks, the digits it wants, the number it dials, the query it runs.
// Text is Windows-1252, like the records it comes from.

#include "script/records.h"

#include <string>
#include <vector>

namespace ry {

// One line per thing the module does, in the order it does them; values as the module holds
// them, in double quotes. Settings left empty are left out; a module of a type that does
// nothing the record shows gives none.
std::vector<std::string> ModuleSummary(const ModuleRecord& module);

// The module's key settings on one short line, for the line under a box's text: the extension
// a Transfer Call dials, the days and hours of a Time Switch, the digits and timeout of Get
// Numbers, the sound file of Play... Sound files are named without their folders, texts are
// put on one line, and parts are set apart by " \xB7 " (a middle dot). Empty when the module
// holds nothing worth showing (a Hangup, a type not in the catalogue, settings left empty).
std::string ModuleSettingsLine(const ModuleRecord& module);

} // namespace ry
