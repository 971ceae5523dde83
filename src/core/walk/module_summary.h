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

} // namespace ry
