#pragma once

// Text helpers over Windows-1252 bytes, the encoding of script files and RY.INI.

#include <string>
#include <string_view>

namespace ry {

inline constexpr std::string_view kCrLf = "\r\n";

// Removes and returns the first line of `text` up to its first CR LF; the CR LF is dropped.
// Text without CR LF is returned whole and `text` becomes empty. A lone LF does not end a line.
std::string_view TakeLine(std::string_view& text);

// Spaces removed at both ends (only the blank, as the script format trims).
std::string_view Trim(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
// Spaces and tabs removed at both ends.
std::string_view TrimBlanks(std::string_view s);

// Letter case of Windows-1252 text: ASCII and the accented letters of the code page.
char ToUpperAnsi(char c);
char ToLowerAnsi(char c);
std::string ToUpperAnsi(std::string_view s);
std::string ToLowerAnsi(std::string_view s);

bool IEquals(std::string_view a, std::string_view b);
bool IStartsWith(std::string_view s, std::string_view prefix);
// 0-based position of `needle` in `s` at or after `from`, ignoring case; npos when absent.
size_t IFind(std::string_view s, std::string_view needle, size_t from = 0);

// Every occurrence of `from` replaced by `to`, left to right, without rescanning replacements.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// The one conversion pair between the files' Windows-1252 bytes and UTF-8. Bytes that the
// code page leaves undefined map to the C1 control of the same value and back, so nothing is
// lost; UTF-8 characters the code page cannot hold become "?".
std::string Cp1252ToUtf8(std::string_view s);
std::string Utf8ToCp1252(std::string_view s);

} // namespace ry
