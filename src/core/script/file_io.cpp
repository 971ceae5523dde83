#include "script/file_io.h"

#include "script/datetime.h"
#include "script/text.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ry {

namespace fs = std::filesystem;

std::string SizeLimitText(std::uint64_t limit) {
    constexpr std::uint64_t kMiB = 1ull << 20;
    if (limit >= kMiB && limit % kMiB == 0)
        return std::to_string(limit / kMiB) + " MiB";
    return std::to_string(limit) + " bytes";
}

std::string PathForText(std::string_view hostPath) {
    return Utf8ToCp1252(hostPath);
}

namespace {

FileStamp StampOf(const struct stat& st) {
    FileStamp s;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.size = static_cast<std::int64_t>(st.st_size);
    s.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    s.modifiedNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return s;
}

std::string ErrorText(int err) {
    return std::strerror(err);
}

} // namespace

FileStamp StampOfFile(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return {};
    return StampOf(st);
}

bool IsExistingFile(const std::string& path) {
    std::error_code ec;
    auto st = fs::status(path, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

std::string FileModificationTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    std::tm tm{};
    localtime_r(&st.st_mtime, &tm);
    DateTime d{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return FormatScriptDate(d);
}

FileRead ReadRegularFile(const std::string& path, std::uint64_t sizeLimit, size_t readLimit) {
    FileRead r;
    // Non-blocking, so that opening a pipe without a writer returns at once; the type is
    // checked on the open descriptor, so nothing can swap the file in between.
    int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.error = path.empty() ? ENOENT : errno;
        struct stat st {};
        if (r.error == ENOENT || r.error == ENOTDIR)
            r.status = FileReadStatus::Missing;
        else if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            r.status = FileReadStatus::NotRegular; // a socket cannot even be opened
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        r.error = errno;
        ::close(fd);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = FileReadStatus::NotRegular;
        ::close(fd);
        return r;
    }
    r.stamp = StampOf(st);
    r.size = static_cast<std::uint64_t>(st.st_size);
    if (r.size > sizeLimit) {
        r.status = FileReadStatus::TooLarge;
        ::close(fd);
        return r;
    }
    // Up to the read limit, and one byte more to learn whether the file goes on.
    const std::uint64_t want = readLimit == std::string::npos ? sizeLimit : readLimit;
    r.bytes.reserve(static_cast<size_t>(std::min<std::uint64_t>(want, r.size)));
    char buf[1 << 16];
    r.status = FileReadStatus::Read;
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            r.error = errno;
            r.status = FileReadStatus::Failed;
            break;
        }
        if (n == 0)
            break;
        size_t room = static_cast<size_t>(want - r.bytes.size());
        if (static_cast<size_t>(n) > room) {
            r.bytes.append(buf, room);
            if (readLimit == std::string::npos) // grew beyond the size limit while read
                r.status = FileReadStatus::TooLarge;
            else
                r.cut = true;
            break;
        }
        r.bytes.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!r.Ok())
        r.bytes.clear();
    return r;
}

std::string FileReadProblem(const FileRead& read, std::uint64_t sizeLimit) {
    switch (read.status) {
    case FileReadStatus::Read:
        return {};
    case FileReadStatus::Missing:
        return ErrorText(ENOENT);
    case FileReadStatus::NotRegular:
        return "not a regular file";
    case FileReadStatus::TooLarge:
        return "larger than " + SizeLimitText(sizeLimit) + ", the most that is read";
    case FileReadStatus::Failed:
        break;
    }
    return read.error ? ErrorText(read.error) : "could not be read";
}

bool ReadFileBytes(const std::string& path, std::string& out, size_t limit) {
    FileRead r = ReadRegularFile(path, kScriptSizeLimit, limit);
    out = std::move(r.bytes);
    return r.Ok();
}

namespace {

// A file-size limit (ulimit -f) would otherwise kill the program in the middle of a write;
// ignored, the write fails with EFBIG and is reported like any other failed write.
void IgnoreFileSizeSignal() {
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

bool WriteAll(int fd, std::string_view bytes, int& err) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Closes `fd`, keeping the first error.
bool CloseKeepingError(int fd, bool ok, int& err) {
    if (::close(fd) != 0 && ok) {
        err = errno;
        return false;
    }
    return ok;
}

bool WriteAllAt(int fd, std::string_view bytes, int& err) {
    off_t offset = 0;
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

// The longest file name the folder takes.
size_t NameMax(const fs::path& folder) {
    long n = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return n > 0 ? static_cast<size_t>(n) : NAME_MAX;
}

// Flushes the folder's entries, so that a rename in it survives a power loss.
void SyncFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool ReadAllAt(int fd, std::string& out, size_t size, int& err) {
    out.resize(size);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd, out.data() + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A private copy of `old` at the first free name of `names`, flushed to disk with its folder;
// "" when none could be made (`err` says why).
std::string MakeBackup(const std::vector<std::string>& names, std::string_view old, int& err) {
    err = ENOENT;
    for (const std::string& name : names) {
        const fs::path folder = fs::path(name).parent_path();
        if (::access(folder.c_str(), W_OK) != 0) {
            const int denied = errno;
            std::error_code ec;
            if (fs::exists(folder, ec)) {
                err = denied;
                continue;
            }
            // The data folder's own folder is made on first use, private to the user.
            fs::create_directories(folder, ec);
            ::chmod(folder.c_str(), 0700);
            if (ec || ::access(folder.c_str(), W_OK) != 0) {
                err = ec ? ec.value() : errno;
                continue;
            }
        }
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            err = errno;
            continue;
        }
        bool ok = WriteAll(fd, old, err);
        if (ok && ::fsync(fd) != 0) {
            err = errno;
            ok = false;
        }
        ok = CloseKeepingError(fd, ok, err);
        if (!ok) {
            ::unlink(name.c_str());
            if (err == EEXIST)
                continue;
            return {}; // disk full or the like: another name will not help
        }
        SyncFolder(folder);
        return name;
    }
    return {};
}

void RemoveBackup(const std::string& backup) {
    ::unlink(backup.c_str());
    SyncFolder(fs::path(backup).parent_path());
}

// Writes into the existing file, which keeps its identity (hard links, a folder the user may
// not write). The old content goes to a backup first, flushed to disk, which is removed only
// once the new content is flushed: a kill or power loss between leaves it for the next load
// to point at. The file's own blocks are reserved for the new length first, so that a full
// disk or a file-size limit fails before a byte changes; a write that fails all the same puts
// the old bytes back.
std::string WriteInPlace(const std::string& path, std::string_view bytes, const SaveSteps& steps) {
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return ErrorText(errno);
    int err = 0;
    struct stat st {};
    bool ok = true;
    if (::fstat(fd, &st) != 0) {
        err = errno;
        ok = false;
    } else if (!S_ISREG(st.st_mode)) {
        err = EINVAL;
        ok = false;
    }
    std::string old;
    if (ok)
        ok = ReadAllAt(fd, old, static_cast<size_t>(st.st_size), err);
    std::string backup;
    if (ok) {
        int backupErr = 0;
        backup = MakeBackup(SaveBackupNames(path, UserDataFolder()), old, backupErr);
        if (backup.empty()) {
            ::close(fd);
            return std::string(kNoCopyOfOldContent) + " (" + ErrorText(backupErr) + ")";
        }
    }
    if (ok) {
        const off_t wanted = static_cast<off_t>(bytes.size());
        const int reserved = wanted > 0 ? ::posix_fallocate(fd, 0, wanted) : 0;
        if (reserved == EFBIG || reserved == ENOSPC || reserved == EDQUOT) {
            // A reservation that got part way may have lengthened the file.
            (void)::ftruncate(fd, st.st_size);
            err = reserved;
            ok = false;
        }
    }
    bool restored = true;
    if (ok) {
        // Overwrite, then cut: the file never passes through empty.
        ok = WriteAllAt(fd, bytes, err);
        if (ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
            err = errno;
            ok = false;
        }
        if (ok && steps.afterNewBytesInPlace)
            steps.afterNewBytesInPlace();
        if (ok && ::fsync(fd) != 0) {
            err = errno;
            ok = false;
        }
        if (!ok) {
            int ignored = 0;
            restored = WriteAllAt(fd, old, ignored) && ::ftruncate(fd, st.st_size) == 0 &&
                       ::fsync(fd) == 0;
        }
    }
    ok = CloseKeepingError(fd, ok, err);
    if (!backup.empty() && (ok || restored))
        RemoveBackup(backup);
    std::string reason = ok ? std::string{} : err == EINVAL ? "not a regular file" : ErrorText(err);
    if (!ok && !restored)
        reason += "; its old content is kept in " + PathForText(backup);
    return reason;
}

// Where a chain of symbolic links ends: the file they name, whether it exists or not, so
// that a save through a link writes the file it points to and keeps the link.
fs::path FollowLinks(fs::path path, std::error_code& ec) {
    for (int hop = 0; hop < 40; ++hop) {
        const fs::file_status status = fs::symlink_status(path, ec);
        if (!fs::is_symlink(status)) {
            ec.clear(); // a missing file is no error: it is made
            return path;
        }
        fs::path next = fs::read_symlink(path, ec);
        if (ec)
            return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

} // namespace

std::string WriteFileReplacing(const std::string& path, std::string_view bytes,
                               const SaveSteps& steps) {
    IgnoreFileSizeSignal();
    std::error_code ec;
    const fs::path target = FollowLinks(path, ec);
    if (ec)
        return ec.message();
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return "not a regular file";
        if (::access(target.c_str(), W_OK) != 0)
            return ErrorText(errno);
        if (old.st_nlink > 1 || ::access(folder.c_str(), W_OK) != 0)
            return WriteInPlace(target.string(), bytes, steps);
    }

    // ".NAME.1234abcd.tmp", with NAME cut so that the whole stays within the folder's limit.
    const std::string name = target.filename().string();
    const size_t room = NameMax(folder) - std::strlen("..12345678.tmp");
    const std::string stem = name.substr(0, std::min(name.size(), room));
    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", rd());
        temp = (folder / ("." + stem + suffix)).string();
        // Made with the old file's mode, so a private script is never readable by others.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    exists ? (old.st_mode & 0777) : 0666);
        if (fd < 0 && errno != EEXIST)
            return ErrorText(errno);
    }
    if (fd < 0)
        return "no temporary file name is free";

    int err = 0;
    bool ok = WriteAll(fd, bytes, err);
    if (ok && exists) {
        // Owner and group first, as setting them clears set-user-id bits; a process that
        // may not give the file away keeps its own.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    ok = CloseKeepingError(fd, ok, err);
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return ErrorText(err);
    }
    SyncFolder(folder);
    return {};
}

std::string UserDataFolder() {
    fs::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/')
        base = data;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
        base = fs::path(home) / ".local/share";
    else
        return {};
    return (base / "Cordaxa" / "Ryvane").string();
}

std::vector<std::string> SaveBackupNames(const std::string& file, const std::string& dataFolder) {
    std::error_code ec;
    fs::path target = FollowLinks(file, ec);
    fs::path real = fs::weakly_canonical(target, ec);
    if (ec)
        real = fs::absolute(target, ec);
    const fs::path folder = real.parent_path();
    const std::string name = real.filename().string();

    // The hash of the folder tells apart files of one name in different folders.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : folder.string())
        hash = (hash ^ c) * 1099511628211ull;
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "%016llx-", static_cast<unsigned long long>(hash));

    std::vector<std::string> names;
    auto add = [&](const fs::path& in, const std::string& front) {
        const size_t room = NameMax(in.empty() ? fs::path("/") : in);
        for (int n = 1; n <= 9; ++n) {
            const std::string end = n == 1 ? ".before-save" : ".before-save-" + std::to_string(n);
            const size_t keep =
                room > front.size() + end.size() ? room - front.size() - end.size() : 0;
            names.push_back((in / (front + name.substr(0, keep) + end)).string());
        }
    };
    add(folder, "");
    if (!dataFolder.empty())
        add(fs::path(dataFolder) / "save-backups", prefix);
    return names;
}

std::vector<std::string> InterruptedSaveBackups(const std::string& file,
                                                const std::string& dataFolder) {
    std::vector<std::string> found;
    for (const std::string& name : SaveBackupNames(file, dataFolder)) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            found.push_back(name);
    }
    return found;
}

} // namespace ry
