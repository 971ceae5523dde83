#pragma once

// The rules by which module dialogs turn what was typed into a field into what the module
// stores.

#include <cstdint>
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

// Every CR and every LF replaced by one blank, so a CR LF becomes two. A database query is
// stored on one line; its statement reads the same with blanks where the lines broke, and no
// lone CR or LF can survive to split the line in the file.
std::string FoldLineEndCharacters(std::string_view text);

// A VB Script text as its box shows it: trimmed, and without the empty lines above its first
// line, so the script starts at the top of the box.
std::string RemoveLeadingBlankLines(std::string_view text);

// The entry of the run-mode list (0..5) for a stored run mode: any mode above the last
// entry's is the last; one below the first is the first.
int RunModeListIndex(std::int16_t stored);
// The entry of a wait list (0: do not wait, 1: wait) for a stored wait flag; a value out of
// range is taken as the nearer one.
int RunWaitListIndex(std::int16_t stored);

// What a whole-number field without limits stores when applied: the number its text converts
// to by the script file's rules, 0 for a blank text, and `stored` unchanged for text that is
// not a number, so a slip of the keyboard does not replace the setting with a made-up value.
std::int16_t FieldInt16(std::string_view text, std::int16_t stored);
std::int32_t FieldInt32(std::string_view text, std::int32_t stored);

} // namespace ry
