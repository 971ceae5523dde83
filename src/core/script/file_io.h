#pragma once

// File access for scripts: whole-file reads and writes that never leave a half-written file.

#include <string>
#include <string_view>

namespace ry {

// True for an existing file that is not a folder.
bool IsExistingFile(const std::string& path);

// The file's modification time as "31 December 2099 23:59:00" (local time), "" when unknown.
std::string FileModificationTime(const std::string& path);

// Reads at most `limit` bytes of the file into `out`. False when the file cannot be read.
bool ReadFileBytes(const std::string& path, std::string& out, size_t limit = std::string::npos);

// Replaces the file's contents with `bytes`. The bytes go to a temporary file in the same
// folder, which is flushed to disk and renamed over the target, so a failure at any point
// (disk full, lost permission) leaves the old file as it was. Symbolic links are followed and
// the old file's permissions kept. Special files (devices, pipes) are written in place.
// Returns "" on success, otherwise the reason.
std::string WriteFileReplacing(const std::string& path, std::string_view bytes);

} // namespace ry
