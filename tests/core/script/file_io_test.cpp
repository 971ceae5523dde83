#include "script/file_io.h"
#include "script/loader.h"
#include "script/protected_script.h"
#include "script/saver.h"
#include "script/text.h"
#include "settings/engine_settings.h"
#include "settings/profile_file.h"

#include "recording_host.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ry {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::RecordingHost;
using test::TempDir;

// Fails the test (by ending it) instead of letting a call that blocks hang the suite.
class Watchdog {
public:
    Watchdog() { ::alarm(20); }
    ~Watchdog() { ::alarm(0); }
};

// Files of the kinds that are not regular files, made in a folder.
struct SpecialFile {
    const char* name;
    std::function<std::string(const TempDir&)> make;
};

std::string MakeFifo(const TempDir& dir) {
    std::string p = dir.File("pipe.rys");
    ::mkfifo(p.c_str(), 0666);
    return p;
}

std::string MakeSocket(const TempDir& dir) {
    std::string p = dir.File("socket.rys");
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", p.c_str());
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::close(fd);
    return p;
}

const SpecialFile kSpecialFiles[] = {
    {"Fifo", MakeFifo},
    {"SymlinkToFifo",
     [](const TempDir& dir) {
         std::string p = dir.File("link.rys");
         fs::create_symlink(MakeFifo(dir), p);
         return p;
     }},
    {"Folder",
     [](const TempDir& dir) {
         fs::create_directory(dir.File("folder.rys"));
         return dir.File("folder.rys");
     }},
    {"Device", [](const TempDir&) { return std::string("/dev/null"); }},
    {"SymlinkToDevZero",
     [](const TempDir& dir) {
         std::string p = dir.File("zero.rys");
         fs::create_symlink("/dev/zero", p);
         return p;
     }},
    {"Socket", MakeSocket},
};

// A folder, a device, a socket or a pipe is refused at once, for reading and for writing,
// by the file layer, the script loader and the RY.INI calls.
TEST(FileIo, SpecialFilesAreRefusedWithoutBlocking) {
    for (const SpecialFile& c : kSpecialFiles) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string path = c.make(dir);
        Watchdog watchdog;

        FileRead read = ReadRegularFile(path, kScriptSizeLimit);
        EXPECT_EQ(read.status, FileReadStatus::NotRegular);
        EXPECT_EQ(FileReadProblem(read, kScriptSizeLimit), "not a regular file");

        auto tables = std::make_unique<ScriptTables>();
        RecordingHost host;
        EXPECT_LT(RysScriptLoad(*tables, host, path), 0);

        EXPECT_EQ(ReadProfileFile(path), std::nullopt);
        std::string reason;
        EXPECT_FALSE(WriteProfileString(path, "A", "k", "v", &reason));
        EXPECT_EQ(reason, "not a regular file");
        EXPECT_EQ(WriteFileReplacing(path, "x"), "not a regular file");
    }
}

// A file larger than the limit is not read at all (a sparse file takes no room on disk);
// a file that reports no size is stopped at the limit while read.
TEST(FileIo, SizeLimitsAreCheckedBeforeReading) {
    TempDir dir;
    std::string big = dir.File("big.rys");
    { std::ofstream(big, std::ios::binary) << "Version=5.0\r\n"; }
    fs::resize_file(big, kScriptSizeLimit + 1);

    FileRead read = ReadRegularFile(big, kScriptSizeLimit);
    EXPECT_EQ(read.status, FileReadStatus::TooLarge);
    EXPECT_TRUE(read.bytes.empty());
    EXPECT_EQ(FileReadProblem(read, kScriptSizeLimit), "larger than 64 MiB, the most that is read");

    auto tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    EXPECT_EQ(RysScriptLoad(*tables, host, big), kLoadFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], big + " is larger than 64 MiB, the most a script file may hold."
                                      "\r\nIt was not loaded.");

    // Exactly at the limit is read; the limit as such applies to any file.
    std::string small = dir.Write("small.txt", "12345");
    EXPECT_TRUE(ReadRegularFile(small, 5).Ok());
    EXPECT_EQ(ReadRegularFile(small, 4).status, FileReadStatus::TooLarge);
    // A file of no stated size that goes on and on (as files of /proc do) stops at the limit.
    if (fs::exists("/proc/self/status"))
        EXPECT_EQ(ReadRegularFile("/proc/self/status", 16).status, FileReadStatus::TooLarge);
}

TEST(FileIo, AnRyIniOverItsLimitIsReadAsMissingAndNeverWritten) {
    TempDir dir;
    std::string ini = dir.Write("RY.INI", "[Brand]\r\nName=Big\r\n");
    fs::resize_file(ini, kProfileSizeLimit + 1);

    std::string problem;
    EXPECT_EQ(ReadProfileFile(ini, &problem), std::nullopt);
    EXPECT_EQ(problem, "larger than 16 MiB, the most that is read");
    std::string reason;
    EXPECT_FALSE(WriteProfileString(ini, "Brand", "Name", "x", &reason));
    EXPECT_EQ(reason, problem);
    EXPECT_EQ(fs::file_size(ini), kProfileSizeLimit + 1);

    RecordingHost host;
    IniFile file(host);
    EngineSettings settings;
    settings.BrandName = "changed";
    file.ReadAllSettings(settings, dir.path().string());
    file.ReadBrand(settings);
    EXPECT_EQ(settings, EngineSettings{}); // every default, as for a missing file
    ASSERT_EQ(host.messages.size(), 1u);   // once, not for each of its values
    EXPECT_EQ(host.messages[0], ini + ": larger than 16 MiB, the most that is read.\r\n"
                                      "Its settings are not read, and it is not written.");
    file.IniWriteString("Brand", "Name", "x");
    EXPECT_EQ(file.LastIniWriteResult(), 0);
    EXPECT_EQ(file.LastIniWriteError(), problem);
}

// The uid of an ordinary user: this one, or "nobody" when the tests run as root.
std::optional<uid_t> OrdinaryUser() {
    if (::geteuid() != 0)
        return ::geteuid();
    if (const passwd* pw = ::getpwnam("nobody"))
        return pw->pw_uid;
    return std::nullopt;
}

// Runs `work` as an ordinary user and returns its result, -1 when it could not run so.
// Write permission means nothing to root, who may write any file; so under root the work runs
// in a child process that has given root up for "nobody".
int AsOrdinaryUser(const std::function<int()>& work) {
    if (::geteuid() != 0)
        return work();
    const passwd* pw = ::getpwnam("nobody");
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(pw->pw_gid) != 0 || ::setuid(pw->pw_uid) != 0)
            ::_exit(100);
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A folder of the ordinary user's (or not), with one file of theirs in it, and a data folder
// of theirs (UseDataFolder) where a save in place keeps the old content when the folder is
// not theirs to write.
struct UserFolder {
    TempDir dir;
    std::string file;
    std::string data;

    UserFolder(uid_t user, mode_t folderMode, mode_t fileMode) {
        fs::permissions(dir.path(), fs::perms(0755)); // reachable by the user
        data = (dir.path() / "data").string();
        fs::create_directory(data);
        EXPECT_EQ(::chown(data.c_str(), user, static_cast<gid_t>(-1)), 0);
        fs::path folder = dir.path() / "scripts";
        fs::create_directory(folder);
        file = (folder / "s.rys").string();
        { std::ofstream(file, std::ios::binary) << "old"; }
        EXPECT_EQ(::chown(file.c_str(), user, static_cast<gid_t>(-1)), 0);
        ::chmod(file.c_str(), fileMode);
        ::chmod(folder.c_str(), folderMode);
    }
    ~UserFolder() { ::chmod(fs::path(file).parent_path().c_str(), 0755); }
    // For the process that saves as the user.
    void UseDataFolder() const { ::setenv("XDG_DATA_HOME", data.c_str(), 1); }
    std::string DataFolder() const { return data + "/Cordaxa/Ryvane"; }
};

TEST(FileIoSave, AReadOnlyFileIsRefusedEvenInAWritableFolder) {
    auto user = OrdinaryUser();
    if (!user)
        GTEST_SKIP() << "no ordinary user to write as";
    UserFolder f(*user, 0777, 0444);
    int r = AsOrdinaryUser(
        [&] { return WriteFileReplacing(f.file, "new") == "Permission denied" ? 0 : 1; });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ReadAll(f.file), "old");
    EXPECT_EQ(fs::status(f.file).permissions() & fs::perms::all, fs::perms(0444));

    // RY.INI takes the same rule.
    std::string ini = (fs::path(f.file).parent_path() / "RY.INI").string();
    { std::ofstream(ini, std::ios::binary) << "[A]\r\nk=1\r\n"; }
    ::chown(ini.c_str(), *user, static_cast<gid_t>(-1));
    ::chmod(ini.c_str(), 0444);
    r = AsOrdinaryUser([&] {
        std::string reason;
        return !WriteProfileString(ini, "A", "k", "2", &reason) && reason == "Permission denied"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ReadAll(ini), "[A]\r\nk=1\r\n");
}

TEST(FileIoSave, AWritableFileInAFolderThatIsNotIsWrittenInPlace) {
    auto user = OrdinaryUser();
    if (!user)
        GTEST_SKIP() << "no ordinary user to write as";
    UserFolder f(*user, 0555, 0644);
    const auto inode = StampOfFile(f.file).inode;
    int r = AsOrdinaryUser([&] {
        f.UseDataFolder();
        return WriteFileReplacing(f.file, "new").empty() ? 0 : 1;
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ReadAll(f.file), "new");
    EXPECT_EQ(StampOfFile(f.file).inode, inode);
    // The old content was kept in the user's data folder while the file was written, and
    // removed once the new content was on disk.
    EXPECT_TRUE(fs::is_directory(f.DataFolder() + "/save-backups"));
    EXPECT_TRUE(fs::is_empty(f.DataFolder() + "/save-backups"));

    // Where no copy of the old content can be kept, the file is not written.
    fs::remove_all(f.data + "/Cordaxa");
    ::chmod(f.data.c_str(), 0555);
    std::string error;
    r = AsOrdinaryUser([&] {
        f.UseDataFolder();
        return WriteFileReplacing(f.file, "newer")
                       .starts_with(
                           "its old content could not be kept safe while it is written in place (")
                   ? 0
                   : 1;
    });
    EXPECT_EQ(r, 0);
    // Saving the script says so.
    r = AsOrdinaryUser([&] {
        f.UseDataFolder();
        auto tables = std::make_unique<ScriptTables>();
        RecordingHost host;
        const std::int16_t s = RysScriptLoad(*tables, host, f.file);
        host.messages.clear();
        RecordBoxes boxes(*tables);
        ProtectedWriter writer;
        if (s < 1 || SaveScriptFile(*tables, host, boxes, writer, s) != kSaveFailed)
            return 1;
        return host.messages ==
                       std::vector<std::string>{
                           "Error opening " + f.file +
                           "\r\nFile not saved.\r\nIts old content could not be kept safe while "
                           "it is written in place (Permission denied)."}
                   ? 0
                   : 2;
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ReadAll(f.file), "new");
}

TEST(FileIoSave, KeepsOwnerGroupModeAndHardLinks) {
    TempDir dir;
    std::string file = dir.Write("s.rys", "old");
    ::chmod(file.c_str(), 0640);
    struct stat before {};
    if (::geteuid() == 0) // root saves someone else's file: it stays theirs
        ::chown(file.c_str(), 65534, 65534);
    ::stat(file.c_str(), &before);
    ASSERT_EQ(WriteFileReplacing(file, "new"), "");
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(ReadAll(file), "new");
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);

    // Hard links stay joined: every name shows the new bytes.
    std::string other = dir.File("other.rys");
    fs::create_hard_link(file, other);
    ASSERT_EQ(WriteFileReplacing(other, "newer"), "");
    EXPECT_EQ(ReadAll(file), "newer");
    EXPECT_EQ(fs::hard_link_count(file), 2u);
}

TEST(FileIoSave, ATargetNameAtTheFileSystemLimitCanBeSaved) {
    TempDir dir;
    for (size_t length : {241u, 242u, 250u, 255u}) {
        std::string name = std::string(length - 4, 'n') + ".rys";
        std::string path = dir.File(name);
        ASSERT_EQ(WriteFileReplacing(path, "one"), "") << length;
        ASSERT_EQ(WriteFileReplacing(path, "two"), "") << length; // over the existing file
        EXPECT_EQ(ReadAll(path), "two");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
}

// With a file-size limit the write fails like any other: reported, the old file whole and no
// temporary file left, instead of the program being killed by SIGXFSZ.
TEST(FileIoSave, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    TempDir dir;
    std::string file = dir.Write("s.rys", "old");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit low = saved;
    low.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    std::string error = WriteFileReplacing(file, std::string(5000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(ReadAll(file), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A file written in place (several hard links, or a folder the user may not write) keeps its
// old bytes when the write fails part way.
TEST(FileIoSave, AFailedWriteInPlaceKeepsTheOldBytes) {
    const std::string big(5000, 'x');
    auto failsUnderLimit = [&](const std::string& file) {
        rlimit low{};
        ::getrlimit(RLIMIT_FSIZE, &low);
        low.rlim_cur = 2000;
        if (::setrlimit(RLIMIT_FSIZE, &low) != 0)
            return 2;
        return WriteFileReplacing(file, big) == "File too large" ? 0 : 1;
    };
    {
        SCOPED_TRACE("hard links");
        TempDir dir;
        std::string file = dir.Write("a.rys", "old bytes");
        fs::create_hard_link(file, dir.File("b.rys"));
        pid_t pid = ::fork(); // the limit stays with the child
        if (pid == 0)
            ::_exit(failsUnderLimit(file));
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(ReadAll(file), "old bytes");
        EXPECT_EQ(ReadAll(dir.File("b.rys")), "old bytes");
    }
    if (auto user = OrdinaryUser()) {
        SCOPED_TRACE("folder the user may not write");
        UserFolder f(*user, 0555, 0644);
        EXPECT_EQ(AsOrdinaryUser([&] {
                      f.UseDataFolder();
                      return failsUnderLimit(f.file);
                  }),
                  0);
        EXPECT_EQ(ReadAll(f.file), "old");
    }
}

// A save in place killed after the new bytes went over the old ones, before they reached the
// disk: the old content is in a backup, beside the file or in the user's data folder when
// the file's folder is not the user's to write, and the next load says where it is.
TEST(FileIoSave, AKillDuringASaveInPlaceLeavesTheOldContentAndTheNextLoadSaysWhere) {
    std::string oldScript = "Version=5.0\r\n\r\n[Old]\r\nType=Play\r\nTxt=";
    oldScript += std::string(3000, 'o') + "\r\n";
    const std::string newScript = "Version=5.0\r\n\r\n[New]\r\nType=Hangup\r\n";
    // Runs the save in a child that the save's own step kills; true when it died so.
    auto killedDuringSave = [&](const std::string& file, const UserFolder* asUser) {
        pid_t pid = ::fork();
        if (pid == 0) {
            if (asUser) {
                const passwd* pw = ::getpwnam("nobody");
                if (::geteuid() == 0 && (::setgid(pw->pw_gid) != 0 || ::setuid(pw->pw_uid) != 0))
                    ::_exit(100);
                asUser->UseDataFolder();
            }
            SaveSteps steps;
            steps.afterNewBytesInPlace = [] { ::raise(SIGKILL); };
            WriteFileReplacing(file, newScript, steps);
            ::_exit(1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    };
    struct Case {
        const char* name;
        bool inUserFolder; // else a file with two hard links in the test's own folder
    } cases[] = {{"hard links", false}, {"folder the user may not write", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::optional<UserFolder> folder;
        std::string file;
        std::string dataFolder = dir.File("no-data");
        if (c.inUserFolder) {
            auto user = OrdinaryUser();
            if (!user)
                continue;
            folder.emplace(*user, 0555, 0644);
            file = folder->file;
            dataFolder = folder->DataFolder();
            { std::ofstream(file, std::ios::binary) << oldScript; }
        } else {
            file = dir.Write("a.rys", oldScript);
            fs::create_hard_link(file, dir.File("b.rys"));
        }
        ASSERT_TRUE(killedDuringSave(file, folder ? &*folder : nullptr));

        const std::vector<std::string> backups = InterruptedSaveBackups(file, dataFolder);
        ASSERT_EQ(backups.size(), 1u);
        EXPECT_EQ(ReadAll(backups[0]), oldScript);
        EXPECT_EQ(fs::status(backups[0]).permissions() & fs::perms::all, fs::perms(0600));
        if (c.inUserFolder) {
            EXPECT_EQ(fs::path(backups[0]).parent_path(), fs::path(dataFolder) / "save-backups");
        } else {
            EXPECT_EQ(backups[0], file + ".before-save");
        }
        EXPECT_TRUE(ReadAll(file).starts_with(newScript));

        // The next load says that the save was interrupted, and where the old content is.
        const char* savedData = std::getenv("XDG_DATA_HOME");
        const std::string restore = savedData ? savedData : "";
        if (folder)
            folder->UseDataFolder();
        auto tables = std::make_unique<ScriptTables>();
        RecordingHost host;
        ASSERT_GE(RysScriptLoad(*tables, host, file), 1);
        if (savedData)
            ::setenv("XDG_DATA_HOME", restore.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(host.messages,
                  std::vector<std::string>{
                      file +
                      ": a save of this file was interrupted before it finished, so it may hold "
                      "part of the new content.\r\nIts content from before that save is kept in " +
                      backups[0] +
                      ". Check the script, and remove that copy once you no longer need it."});

        // A save that finishes removes its own copy and leaves the earlier one alone.
        const int r =
            !folder ? (WriteFileReplacing(file, newScript).empty() ? 0 : 1) : AsOrdinaryUser([&] {
                folder->UseDataFolder();
                return WriteFileReplacing(file, newScript).empty() ? 0 : 1;
            });
        EXPECT_EQ(r, 0);
        EXPECT_EQ(ReadAll(file), newScript);
        EXPECT_EQ(InterruptedSaveBackups(file, dataFolder), backups);
    }
}

// A link whose file is missing is a name for that file: the save makes it and keeps the link.
TEST(FileIoSave, ASaveThroughADanglingLinkMakesItsFile) {
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    fs::create_symlink("real/s.rys", dir.path() / "link.rys");
    fs::create_symlink("link.rys", dir.path() / "second.rys");
    ASSERT_EQ(WriteFileReplacing(dir.File("second.rys"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "second.rys"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.rys"));
    EXPECT_EQ(ReadAll(dir.File("real/s.rys")), "new");

    fs::create_symlink("loop.rys", dir.path() / "loop.rys");
    EXPECT_NE(WriteFileReplacing(dir.File("loop.rys"), "x"), "");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "loop.rys"));
}

// The temporary file of a private script is private from the moment it exists.
TEST(FileIoSave, TheTemporaryFileOfAPrivateScriptIsNeverReadableByOthers) {
    TempDir dir;
    std::string file = dir.Write("s.rys", "old");
    ::chmod(file.c_str(), 0600);
    int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_CREATE), 0);
    std::atomic<mode_t> seen{0};
    std::thread watcher([&] {
        alignas(inotify_event) char buffer[4096];
        ssize_t n = ::read(watch, buffer, sizeof buffer);
        if (n > 0) {
            auto* event = reinterpret_cast<inotify_event*>(buffer);
            struct stat st {};
            if (event->len > 0 && ::stat((dir.path() / event->name).c_str(), &st) == 0)
                seen = st.st_mode & 0777;
        }
    });
    // Long enough to write that the watcher looks while the file is still being filled.
    ASSERT_EQ(WriteFileReplacing(file, std::string(32 << 20, 'x')), "");
    watcher.join();
    ::close(watch);
    EXPECT_EQ(seen.load(), 0600u);
}

// What the saver needs to tell a file changed behind its back from its own.
TEST(FileIo, TheStampTellsAnotherWriteFromTheScriptsOwn) {
    TempDir dir;
    auto tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    std::string path = dir.Write("s.rys", "Version=5.0\r\n\r\n[A]\r\nType=Play\r\n");
    std::int16_t s = RysScriptLoad(*tables, host, path);
    ASSERT_GE(s, 1);
    ScriptRecord& script = tables->Script(s);
    EXPECT_TRUE(script.DiskStamp.Known());
    EXPECT_FALSE(ScriptFileChangedOnDisk(script));

    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    ASSERT_EQ(SaveScriptFile(*tables, host, boxes, writer, s), kSaveWritten);
    EXPECT_FALSE(ScriptFileChangedOnDisk(script)); // its own save

    // Another program writes the same size within the same second: the identity or the
    // time in nanoseconds still tells.
    std::string again = ReadAll(path);
    ASSERT_EQ(WriteFileReplacing(path, again), "");
    EXPECT_TRUE(ScriptFileChangedOnDisk(script));

    fs::remove(path); // gone: saving loses nothing
    EXPECT_FALSE(ScriptFileChangedOnDisk(script));
}

// A protected script of "Version=5.0" and `modules` modules, enciphered.
std::string ProtectedBytes(int modules, std::string_view password) {
    std::string text = "Version=5.0";
    for (int i = 1; i <= modules; ++i)
        text += "\r\n\r\n[Module " + std::to_string(i) +
                "]\r\nType=Play\r\nTxt=" + std::string(900, 'x') + "\r\nPosition=1," +
                std::to_string(i);
    return EncryptScriptText(InsertPasswordLine(text, password), ScriptKey());
}

TEST(FileIo, AProtectedFileLongerThanItsReadIsReported) {
    TempDir dir;
    auto tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    host.password = "PW";
    const std::string bytes = ProtectedBytes(80, "PW");
    ASSERT_GT(bytes.size(), kProtectedReadLimit);
    std::string path = dir.Write("long.ryp", bytes);
    std::int16_t s = RysScriptLoad(*tables, host, path);
    ASSERT_GE(s, 1);
    EXPECT_LT(tables->Script(s).ModuleCount, 80);
    EXPECT_TRUE(tables->Script(s).ReadCutShort);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], path + " is " + std::to_string(bytes.size()) +
                                    " bytes long, but a protected script is read only as far "
                                    "as 65000 bytes.\r\nThe end of the script was not read; "
                                    "saving over this file would lose it.");

    // One that fits says nothing.
    host.messages.clear();
    std::int16_t fits =
        RysScriptLoad(*tables, host, dir.Write("short.ryp", ProtectedBytes(3, "PW")));
    ASSERT_GE(fits, 1);
    EXPECT_FALSE(tables->Script(fits).ReadCutShort);
    EXPECT_TRUE(host.messages.empty());
}

TEST(FileIo, AScriptWithLfLineEndsIsReadLineByLineAndSaidOnce) {
    TempDir dir;
    auto tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    const std::string crlf = "Version=5.0\r\nStartModule=B\r\n\r\n[A]\r\nType=Play\r\nTxt=one\\\r\n"
                             "two\r\nPosition=1,2\r\n\r\n[B]\r\nType=Hangup\r\n";
    std::string path = dir.Write("lf.rys", ReplaceAll(crlf, "\r\n", "\n"));
    std::int16_t s = RysScriptLoad(*tables, host, path);
    ASSERT_GE(s, 1);
    const ScriptRecord& script = tables->Script(s);
    EXPECT_EQ(script.ModuleCount, 2);
    EXPECT_EQ(script.StartModule, "B");
    EXPECT_EQ(tables->Module(script.FirstModule).Txt, "one\r\ntwo");
    EXPECT_TRUE(script.ReadWithOtherLineEnds);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{path + " ends its lines with LF alone. It was read with "
                                              "LF as the line end, and it will be saved with CR "
                                              "LF line ends."});

    // Saved with CR LF; then it reads as any other file.
    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    ASSERT_EQ(SaveScriptFile(*tables, host, boxes, writer, s), kSaveWritten);
    EXPECT_FALSE(tables->Script(s).ReadWithOtherLineEnds);
    EXPECT_NE(ReadAll(path).find("[B]\r\nType=Hangup\r\n"), std::string::npos);

    // A file that holds CR LF as well still has its lone LFs read as line ends.
    host.messages.clear();
    std::int16_t mixed =
        RysScriptLoad(*tables, host, dir.Write("mixed.rys", "Version=5.0\r\n\n[A]\nType=Play\r\n"));
    ASSERT_GE(mixed, 1);
    EXPECT_TRUE(tables->Script(mixed).ReadWithOtherLineEnds);
    EXPECT_EQ(tables->Module(tables->Script(mixed).FirstModule).Type, "Play");
    EXPECT_EQ(host.messages.size(), 1u);
}

// Whatever line ends a script was written with, its modules come back, and the user is told
// once when they were not CR LF; a text that gives nothing of a script is said to be none.
TEST(FileIo, AScriptIsReadWithTheLineEndsItHolds) {
    const std::string crlf = "Version=5.0\r\nStartModule=B\r\n\r\n[A]\r\nType=Play\r\n"
                             "Position=1,2\r\n\r\n[B]\r\nType=Hangup\r\n";
    std::string mostlyLf = ReplaceAll(crlf, "\r\n", "\n");
    mostlyLf.replace(mostlyLf.find("\n"), 1, "\r\n"); // one CR LF among the LFs
    struct Case {
        const char* name;
        std::string text;
        int modules;
        const char* says; // the one message, "" for none
    } cases[] = {
        {"CR LF", crlf, 2, ""},
        {"CR alone", ReplaceAll(crlf, "\r\n", "\r"), 2,
         " ends its lines with CR alone. It was read with CR as the line end, and it will be "
         "saved with CR LF line ends."},
        {"mostly LF", mostlyLf, 2,
         " mixes its line ends (CR LF and LF). Every one of them was read as a line end, and it "
         "will be saved with CR LF line ends."},
        {"no script", "just some words\r\nand more\r\n", 0,
         " holds no modules and no script settings that could be read: it may not be a script. "
         "Saving it would replace it with an empty script."},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto tables = std::make_unique<ScriptTables>();
        RecordingHost host;
        const std::string path = dir.Write("s.rys", c.text);
        const std::int16_t s = RysScriptLoad(*tables, host, path);
        ASSERT_GE(s, 1);
        EXPECT_EQ(tables->Script(s).ModuleCount, c.modules);
        if (*c.says) {
            EXPECT_EQ(host.messages, std::vector<std::string>{path + c.says});
        } else {
            EXPECT_TRUE(host.messages.empty());
        }
        if (c.modules == 2) {
            EXPECT_EQ(tables->Script(s).StartModule, "B");
        }
    }
}

// A script pieced together from files with different line ends (a module appended by an
// editor that writes LF, a merge) loses nothing: every CR LF, LF and lone CR ends a line,
// whichever is the most common, and the message names the kinds it held.
TEST(FileIo, EveryKindOfLineEndEndsALineWhateverTheOthers) {
    const std::string crlfScript = "Version=5.0\r\nStartModule=A\r\n\r\n[A]\r\nType=Hangup\r\n"
                                   "Position=10,20\r\n";
    const std::string extra = "\n[Extra]\nType=Play\nTxt=one\\\ntwo\nPlayFile1=hello.wav\n"
                              "Position=300,400\n";
    struct Case {
        const char* name;
        std::string text;
        const char* kinds; // in the message; "" for no message
    } cases[] = {
        {"the issue's: CR LF script, one module appended in LF lines", crlfScript + extra,
         "CR LF and LF"},
        {"all CR LF", crlfScript + ReplaceAll(extra, "\n", "\r\n"), ""},
        {"module in lone CR lines", crlfScript + ReplaceAll(extra, "\n", "\r"), "CR LF and CR"},
        {"LF script, module in CR LF lines",
         ReplaceAll(crlfScript, "\r\n", "\n") + ReplaceAll(extra, "\n", "\r\n"), "CR LF and LF"},
        {"all three", ReplaceAll(crlfScript, "\r\n", "\r") + extra + "\r\n", "CR LF, LF and CR"},
        {"LF alone", ReplaceAll(crlfScript, "\r\n", "\n") + extra, "LF"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto tables = std::make_unique<ScriptTables>();
        RecordingHost host;
        const std::string path = dir.Write("mixed.rys", c.text);
        const std::int16_t s = RysScriptLoad(*tables, host, path);
        ASSERT_GE(s, 1);
        const ScriptRecord& script = tables->Script(s);
        ASSERT_EQ(script.ModuleCount, 2);
        const ModuleRecord& a = tables->Module(script.FirstModule);
        EXPECT_EQ(a.Type, "Hangup");
        EXPECT_EQ(a.PositionX, 10);
        const ModuleRecord& m = tables->Module(a.NextModule);
        EXPECT_EQ(m.Title, "Extra");
        EXPECT_EQ(m.Type, "Play");
        EXPECT_EQ(m.Txt, "one\r\ntwo");
        EXPECT_EQ(m.PlayFileSlot(1), "hello.wav");
        EXPECT_EQ(m.PositionX, 300);
        EXPECT_EQ(m.PositionY, 400);
        const std::string kinds = c.kinds;
        if (kinds.empty()) {
            EXPECT_TRUE(host.messages.empty());
        } else if (kinds.find(' ') == std::string::npos) {
            EXPECT_EQ(host.messages,
                      std::vector<std::string>{path + " ends its lines with " + kinds +
                                               " alone. It was read with " + kinds +
                                               " as the line end, and it will be "
                                               "saved with CR LF line ends."});
        } else {
            EXPECT_EQ(host.messages,
                      std::vector<std::string>{path + " mixes its line ends (" + kinds +
                                               "). Every one of them was read as a line end, and "
                                               "it will be saved with CR LF line ends."});
        }

        // Saved, the module is kept, and every line ends with CR LF.
        RecordBoxes boxes(*tables);
        ProtectedWriter writer;
        ASSERT_EQ(SaveScriptFile(*tables, host, boxes, writer, s), kSaveWritten);
        const std::string saved = ReadAll(path);
        EXPECT_NE(saved.find("[Extra]\r\nType=Play\r\n"), std::string::npos);
        EXPECT_NE(saved.find("PlayFile1=hello.wav\r\n"), std::string::npos);
        EXPECT_EQ(ReplaceAll(saved, "\r\n", "").find_first_of("\r\n"), std::string::npos);
    }
}

} // namespace
} // namespace ry
