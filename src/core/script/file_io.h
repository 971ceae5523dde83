#pragma once

// File access for scripts and RY.INI, used by the designer and by `rys` alike: whole-file
// reads that never block and never read more than a limit, and writes that never leave a
// half-written file.
//
// Paths are the host's own text (UTF-8 bytes on Linux), exactly as the user or the file
// system gave them; they never pass through the Windows-1252 conversion. Only messages that
// show a path convert it (PathForText).
//
// Only regular files (after following symbolic links) are read or written. A folder, a
// device, a socket or a pipe is refused before anything could block on it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

// The largest script file read (a script of 1000 modules is about 350 KB).
inline constexpr std::uint64_t kScriptSizeLimit = 64ull << 20;

// "64 MiB" for a limit that is a whole number of MiB, else the number of bytes.
std::string SizeLimitText(std::uint64_t limit);

// A host path as Windows-1252 text for a message: UTF-8 converted, characters the code page
// cannot hold shown as "?". Never use the result as a path.
std::string PathForText(std::string_view hostPath);

// What tells one version of a file from another: the file's identity (device and inode),
// its size and its modification time.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1; // -1: no file
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool Known() const { return size >= 0; }
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file the path names (symbolic links followed); unknown when there is none.
FileStamp StampOfFile(const std::string& path);

// True for an existing file that is not a folder.
bool IsExistingFile(const std::string& path);

// The file's modification time as "31 December 2099 23:59:00" (local time), "" when unknown.
std::string FileModificationTime(const std::string& path);

enum class FileReadStatus {
    Read,       // the bytes were read
    Missing,    // no file of that name
    NotRegular, // a folder, device, socket or pipe
    TooLarge,   // larger than the size limit; nothing was read
    Failed,     // any other failure to open or read (permission, I/O error)
};

struct FileRead {
    FileReadStatus status = FileReadStatus::Failed;
    std::string bytes;      // at most the read limit
    std::uint64_t size = 0; // the file's size as opened
    bool cut = false;       // the file is longer than the read limit: its end was not read
    FileStamp stamp;        // the file as it was read
    int error = 0;          // errno of a failure

    bool Ok() const { return status == FileReadStatus::Read; }
};

// Reads a regular file: at most `readLimit` bytes, and nothing at all when the file is larger
// than `sizeLimit` (judged from its size before reading, and again while reading in case it
// grows or reports no size). Never blocks on a special file.
FileRead ReadRegularFile(const std::string& path, std::uint64_t sizeLimit,
                         size_t readLimit = std::string::npos);

// Why a read failed, to follow the file's name and a colon: "not a regular file", "larger
// than 64 MiB, the most that is read", "Permission denied"...; "" for a read that worked.
std::string FileReadProblem(const FileRead& read, std::uint64_t sizeLimit);

// Reads at most `limit` bytes of a regular file of at most kScriptSizeLimit bytes into `out`.
// False when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& out, size_t limit = std::string::npos);

// Points in a save where a test stands in for a kill or a power loss.
struct SaveSteps {
    // In place: the new bytes are written over the old ones, not yet flushed to disk.
    std::function<void()> afterNewBytesInPlace;
};

// Replaces the file's contents with `bytes`; returns "" on success, otherwise the reason.
// - Symbolic links are followed, a dangling one too: the file it names is written (made when
//   missing) and the link stays. Only a regular file (or no file) is written.
// - A file the user may not write is refused, as a failed open would be.
// - Normally the bytes go to a temporary file in the same folder, which is flushed to disk
//   and renamed over the target, and then the folder is flushed, so a failure at any point
//   (disk full, file-size limit, lost permission) leaves the old file as it was and no
//   temporary file behind. The temporary file is made with the old file's permissions, so a
//   private script is never readable by others; its owner and group are kept where the
//   process may set them.
// - A file with several hard links, or in a folder the user may not write, is written in
//   place, so the links stay joined and the file can still be saved. Its space is reserved
//   before a byte changes (or the old bytes kept and put back), so a failed write there too
//   leaves the old file whole. Before a byte changes, the old content is copied to a backup
//   (SaveBackupNames) and flushed to disk; the backup is removed only once the new content
//   is flushed too. So a kill or a power loss in the middle leaves the old content in the
//   backup, and the next load says where (InterruptedSaveBackups). When no backup can be
//   made, the file is not written.
std::string WriteFileReplacing(const std::string& path, std::string_view bytes,
                               const SaveSteps& steps = {});

// How the reason WriteFileReplacing gives begins when a file written in place was left alone
// because no copy of its old content could be made; the rest names the cause.
inline constexpr std::string_view kNoCopyOfOldContent =
    "its old content could not be kept safe while it is written in place";

// The user's data folder: $XDG_DATA_HOME (or ~/.local/share) /Cordaxa/Ryvane; "" when
// neither is known.
std::string UserDataFolder();

// Where a save in place keeps the old content of `file` (its links followed) until the new
// content is on disk, in the order they are tried: "NAME.before-save" (then "-2" to "-9")
// beside it, then the same names prefixed with a hash of the file's folder under
// `dataFolder`/save-backups, for a folder the user may not write.
std::vector<std::string> SaveBackupNames(const std::string& file, const std::string& dataFolder);

// The backups of `file` that an in-place save left behind because it never finished (a kill,
// a power loss): the file may hold part of the new content, the backup holds the old.
std::vector<std::string> InterruptedSaveBackups(const std::string& file,
                                                const std::string& dataFolder = UserDataFolder());

} // namespace ry
