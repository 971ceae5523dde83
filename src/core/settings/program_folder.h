#pragma once

// The program folder: where RY.INI, the help file and the system sounds live.

#include <string>
#include <string_view>

namespace ry {

// $RYVANE_HOME when it is set and not empty, otherwise the folder of the running executable;
// without a trailing "/" (except for the root folder itself). "" when neither can be found.
std::string ProgramFolder();

// The folder of the running executable, without a trailing "/"; "" when it cannot be found.
std::string ExecutableFolder();

// Whether `folder` holds a program of its own: a regular file RY.INI (in any letter case) or
// a folder "help". A build tree and an unpacked folder do; the "bin" folder of an installed
// program does not.
bool HoldsProgramFiles(std::string_view folder);

// Where the designer keeps its files.
struct ProgramFolders {
    // The program folder proper: RY.INI, the Scripts folder, the companion programs, the
    // engine's sounds and library.
    std::string home;
    // The read-only data the designer ships: the help pages and the example scripts. The
    // same as `home` unless the program is installed.
    std::string data;
    // `home` is the user's data folder of an installed program, made on first use.
    bool installed = false;
};

// What the choice of ProgramFolders rests on, gathered by the caller.
struct ProgramFolderFacts {
    std::string ryvaneHome;                    // $RYVANE_HOME; "" when not set
    std::string executableFolder;              // ExecutableFolder()
    bool executableFolderHoldsProgram = false; // HoldsProgramFiles(executableFolder)
    std::string userDataFolder; // the desktop's per-user data folder for this program
};

// Where an installed program's read-only data lies, relative to the folder of its executable.
inline constexpr std::string_view kInstalledDataFromExecutable = "../share/ryvane";

// $RYVANE_HOME when set; else the executable's folder when it holds a program of its own;
// else an installed program: `home` is the user's data folder and `data` is
// kInstalledDataFromExecutable from the executable's folder. Without a user's data folder
// the executable's folder is `home`. Folders come without a trailing "/".
ProgramFolders ChooseProgramFolders(const ProgramFolderFacts& facts);

// The path of the engine's configuration file in `folder`: an existing regular file named
// "RY.INI" in any letter case (the exact spelling first, then the first name in byte order),
// or `folder` + "/RY.INI" when there is none. "" when `folder` is empty.
std::string FindIniFile(std::string_view folder);

} // namespace ry
