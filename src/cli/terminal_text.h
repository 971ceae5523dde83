#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ry::cli {

// The length of the UTF-8 sequence that starts at `i`, or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i);

// UTF-8 text as the commands print it for a terminal: control characters (C0, DEL and C1) are
// written as escapes such as \x1b and \u009b, and bytes that are not UTF-8 as \xNN, so that a
// module title or call name cannot move the cursor, clear the screen or retitle the window.
// Every printable character, accented letters and the euro sign included, stays as it is.
std::string TerminalText(std::string_view text);

} // namespace ry::cli
