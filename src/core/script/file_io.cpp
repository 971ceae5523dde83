#include "script/file_io.h"

#include "script/datetime.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ry {

namespace fs = std::filesystem;

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

bool ReadFileBytes(const std::string& path, std::string& out, size_t limit) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buf[1 << 16];
    bool ok = true;
    while (out.size() < limit) {
        size_t want = sizeof buf;
        if (limit - out.size() < want)
            want = limit - out.size();
        size_t got = std::fread(buf, 1, want, f);
        out.append(buf, got);
        if (got < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return ok;
}

namespace {

std::string ErrorText(int err) {
    return std::strerror(err);
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

std::string WriteInPlace(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return ErrorText(errno);
    int err = 0;
    bool ok = WriteAll(fd, bytes, err);
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    return ok ? std::string{} : ErrorText(err);
}

} // namespace

std::string WriteFileReplacing(const std::string& path, std::string_view bytes) {
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::weakly_canonical(target, ec);
        if (ec)
            return ec.message();
    }

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return WriteInPlace(target.string(), bytes);

    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", rd());
        temp = (folder / ("." + target.filename().string() + suffix)).string();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return ErrorText(errno);
    }
    if (fd < 0)
        return "no temporary file name is free";

    int err = 0;
    bool ok = WriteAll(fd, bytes, err);
    if (ok && exists)
        ::fchmod(fd, old.st_mode & 07777);
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return ErrorText(err);
    }
    return {};
}

} // namespace ry
