#pragma once

// The rules by which module dialogs turn what was typed into a field into what the module
// stores.

#include <string>
#include <string_view>

namespace ry {

// A numeric field as it reads once the user leaves it: the first four characters of the
// trimmed text converted as a 16-bit whole number (the script file's rules), then limited to
// min..max; text that does not convert gives min. The result is decimal text.
std::string ClampNumberText(std::string_view text, int min, int max);

// Every CR LF replaced by `joiner`, left to right. The engine reads each setting from one line
// of the script file, so a value typed on several lines is stored as one.
std::string FoldLineBreaks(std::string_view text, std::string_view joiner);

} // namespace ry
