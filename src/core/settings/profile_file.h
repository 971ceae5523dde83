#pragma once

// Reads and writes of the engine's configuration file RY.INI, a private-profile (INI) file
// that people edit by hand and the engine rewrites while the designer runs. Both sides must
// keep the other's lines, so a write changes one key and leaves every other byte alone.
//
// The text is the file's Windows-1252 bytes. The pure functions take any bytes (lone CR, lone
// LF, NUL, no final line end, very long lines) and run in time linear in the text.
//
// The layout understood:
// - Lines end with LF; a CR just before the LF belongs to the line end. A lone CR is an
//   ordinary character of its line.
// - A line whose first non-blank character is "[" and that holds a "]" opens a section named
//   by the text between the "[" and the first "]", blanks trimmed. Whatever follows the "]" is
//   ignored. A "[" line without "]" is neither a section nor a key.
// - A line whose first non-blank character is ";" is a comment.
// - Any other line holding "=" is a key: the name before the first "=" and the value after
//   it, both with blanks (space, tab, CR, VT, FF) trimmed. Lines without "=" are not keys, and
//   keys before the first section belong to no section.
// - Section and key names match without regard to letter case (Windows-1252 letters). Only
//   the first section of a name counts: a key that sits in a later section of the same name
//   is not seen, and a written key goes to the first one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ry {

// The longest value a string read returns; the rest is cut off.
inline constexpr size_t kProfileValueMax = 511;

// The trimmed value of `key` in the first section named `section`, exactly as the file holds
// it; nothing when the section or the key is missing. Names are trimmed before matching; an
// empty name never matches.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// The string read: the value with one pair of matching surrounding quotes (" or ') removed,
// cut to kProfileValueMax characters; "" when the section or key is missing.
std::string ReadProfileString(std::string_view text, std::string_view section,
                              std::string_view key);

// The integer read: the leading number of the string read (ProfileIntValue); `defaultValue`
// when the key is missing or its value is empty.
std::int32_t ReadProfileInt(std::string_view text, std::string_view section, std::string_view key,
                            std::int32_t defaultValue);

// The leading number of a value as the platform's integer read takes it: blanks skipped, an
// optional sign, then "0x"/"0X" and hexadecimal digits or decimal digits, up to the first
// other character ("12ab" is 12, "-4" is -4, "0x1F" is 31, "ab" is 0). Digits beyond 32 bits
// wrap around as in the platform's unsigned arithmetic.
std::int32_t ProfileIntValue(std::string_view value);

// The text with `key` in section `section` set to `value`:
// - the first matching key of the first matching section keeps its line up to the "=" and
//   the blanks after it; the rest of that line up to its line end becomes `value`;
// - a missing key becomes a new line "key=value" after the section's last key line (after
//   the header when it has none);
// - a missing section is appended at the end as "[section]" and "key=value";
// - every other byte stays as it was. New lines end like the text's first line (LF when
//   that ends with a bare LF, otherwise CR LF); a missing final line end is added before a
//   new line is put after it.
// Nothing when the write cannot be represented: an empty section or key after trimming, a
// line break or NUL in any argument, "]" in the section, "=" in the key or a key starting
// with ";" or "[".
std::optional<std::string> SetProfileString(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value);

// The largest file read; a larger one is neither read nor written.
inline constexpr std::uint64_t kProfileSizeLimit = 16ull << 20;

// The whole file; "" when it does not exist; nothing when it exists but cannot be read: not a
// regular file (a folder, device or pipe, never waited on), larger than kProfileSizeLimit,
// no permission. The reason then goes to `problem` when given.
std::optional<std::string> ReadProfileFile(const std::string& path, std::string* problem = nullptr);

// SetProfileString on the file's text, read afresh, written through WriteFileReplacing (a
// failed write leaves the old file whole; a read-only file is refused). A missing file is
// created; a file that cannot be read is never written. A write that changes nothing leaves
// the file untouched. True on success; otherwise the reason goes to `reason` when given.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* reason = nullptr);

} // namespace ry
