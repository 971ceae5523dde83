// Where a designer keeps its files: the folders it is given, $RYVANE_HOME, and the user's
// folders of an installed designer.

#include "base/designer.h"
#include "base/program_folders.h"

#include "fake_prompter.h"
#include "temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace ry::test {
namespace {

// Sets or clears $RYVANE_HOME for one test and puts it back afterwards.
class RyvaneHome {
public:
    explicit RyvaneHome(const char* value) {
        if (const char* saved = std::getenv("RYVANE_HOME"))
            saved_ = saved;
        if (value)
            ::setenv("RYVANE_HOME", value, 1);
        else
            ::unsetenv("RYVANE_HOME");
    }
    ~RyvaneHome() {
        if (saved_)
            ::setenv("RYVANE_HOME", saved_->c_str(), 1);
        else
            ::unsetenv("RYVANE_HOME");
    }

private:
    std::optional<std::string> saved_;
};

TEST(DesignerFolders, GivenFolderOrRyvaneHomeServesForBoth) {
    TempDir dir;
    const std::string given = dir.File("given");
    const std::string home = dir.File("home");
    RyvaneHome env(home.c_str());
    FakePrompter prompter;

    Designer withFolder(prompter, QString::fromStdString(given));
    EXPECT_EQ(withFolder.ProgramFolder().toStdString(), given);
    EXPECT_EQ(withFolder.DataFolder().toStdString(), given);

    Designer fromEnvironment(prompter);
    EXPECT_EQ(fromEnvironment.ProgramFolder().toStdString(), home);
    EXPECT_EQ(fromEnvironment.DataFolder().toStdString(), home);
    // Only an installed designer's own folders are made.
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(home)));
}

TEST(DesignerFolders, InstalledUsesTheUsersDataFolder) {
    RyvaneHome env(nullptr);
    const ProgramFolders folders = FindProgramFolders();
    const std::string exe = ExecutableFolder();
    const std::string userData =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    if (HoldsProgramFiles(exe)) {
        EXPECT_EQ(folders.home, exe);
        EXPECT_FALSE(folders.installed);
    } else {
        EXPECT_EQ(folders.home, userData);
        EXPECT_EQ(folders.data,
                  QDir::cleanPath(QString::fromStdString(exe) + "/../share/ryvane").toStdString());
        EXPECT_TRUE(folders.installed);
    }
}

TEST(MakeUserFolders, MakesAnInstalledDesignersFoldersOnly) {
    TempDir dir;
    const std::string user = dir.File("share/Cordaxa/Ryvane");
    EXPECT_TRUE(MakeUserFolders({user, "/usr/share/ryvane", true}));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(user + "/Scripts")).isDir());
    // Again: nothing to do.
    EXPECT_TRUE(MakeUserFolders({user, "/usr/share/ryvane", true}));

    const std::string own = dir.File("unpacked");
    EXPECT_TRUE(MakeUserFolders({own, own, false}));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(own)));

    // A file where the folder should be.
    dir.Write("blocked", "");
    EXPECT_FALSE(MakeUserFolders({dir.File("blocked"), "/usr/share/ryvane", true}));
}

} // namespace
} // namespace ry::test
