#include "settings/program_folder.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ry {
namespace {

namespace fs = std::filesystem;

TEST(ChooseProgramFolders, HomeThenOwnFolderThenInstalled) {
    struct Case {
        const char* what;
        ProgramFolderFacts facts;
        ProgramFolders expected;
    };
    const Case cases[] = {
        {"RYVANE_HOME wins over a folder with its own program",
         {"/opt/Ryvane//", "/work/build/src/ui", true, "/home/u/.local/share/Cordaxa/Ryvane"},
         {"/opt/Ryvane", "/opt/Ryvane", false}},
        {"RYVANE_HOME wins over an installed program",
         {"/srv/line", "/usr/bin", false, "/home/u/.local/share/Cordaxa/Ryvane"},
         {"/srv/line", "/srv/line", false}},
        {"a build tree or an unpacked folder",
         {"", "/work/build/src/ui/", true, "/home/u/.local/share/Cordaxa/Ryvane"},
         {"/work/build/src/ui", "/work/build/src/ui", false}},
        {"installed under /usr",
         {"", "/usr/bin", false, "/home/u/.local/share/Cordaxa/Ryvane/"},
         {"/home/u/.local/share/Cordaxa/Ryvane", "/usr/share/ryvane", true}},
        {"installed under another prefix",
         {"", "/tmp/p/bin/", false, "/home/u/.local/share/Cordaxa/Ryvane"},
         {"/home/u/.local/share/Cordaxa/Ryvane", "/tmp/p/share/ryvane", true}},
        {"installed in the root folder's bin",
         {"", "/bin", false, "/root/.local/share/Cordaxa/Ryvane"},
         {"/root/.local/share/Cordaxa/Ryvane", "/share/ryvane", true}},
        {"no user's data folder: the executable's folder, as before",
         {"", "/usr/bin", false, ""},
         {"/usr/bin", "/usr/bin", false}},
        {"no executable folder and no user's data folder", {"", "", false, ""}, {"", "", false}},
    };
    for (const Case& c : cases) {
        ProgramFolders got = ChooseProgramFolders(c.facts);
        EXPECT_EQ(got.home, c.expected.home) << c.what;
        EXPECT_EQ(got.data, c.expected.data) << c.what;
        EXPECT_EQ(got.installed, c.expected.installed) << c.what;
    }
}

TEST(HoldsProgramFiles, RyIniInAnyCaseOrAHelpFolder) {
    test::TempDir dir;
    const fs::path& root = dir.path();
    EXPECT_FALSE(HoldsProgramFiles(root.string()));
    EXPECT_FALSE(HoldsProgramFiles(""));

    // A folder named like the configuration file, or a file named like the help folder, is
    // not one.
    fs::create_directories(root / "a" / "RY.INI");
    test::TempDir other;
    other.Write("help", "not a folder");
    EXPECT_FALSE(HoldsProgramFiles((root / "a").string()));
    EXPECT_FALSE(HoldsProgramFiles(other.path().string()));

    fs::create_directories(root / "c");
    dir.Write("c/ry.ini", "");
    EXPECT_TRUE(HoldsProgramFiles((root / "c").string()));
    fs::create_directories(root / "d" / "help");
    EXPECT_TRUE(HoldsProgramFiles((root / "d").string() + "/"));
}

TEST(ExecutableFolder, IsTheFolderOfTheRunningProgram) {
    EXPECT_EQ(ExecutableFolder(), fs::read_symlink("/proc/self/exe").parent_path().string());
}

} // namespace
} // namespace ry
