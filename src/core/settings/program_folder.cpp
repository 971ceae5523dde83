#include "settings/program_folder.h"

#include "script/text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ry {

namespace {

std::string WithoutTrailingSeparators(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The name of the regular file "RY.INI" (in any letter case) in `folder`: the exact spelling
// first, then the first name in byte order; "" when there is none.
std::string ExistingIniName(const std::string& folder) {
    constexpr std::string_view kName = "RY.INI";
    // The folder keeps its letter case: on this file system another spelling names another
    // folder. Only the file name is matched without regard to case.
    std::string found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!IEquals(name, kName))
            continue;
        std::error_code typeError;
        if (!std::filesystem::is_regular_file(it->path(), typeError))
            continue;
        if (name == kName)
            return name;
        if (found.empty() || name < found)
            found = name;
    }
    return found;
}

} // namespace

std::string ProgramFolder() {
    if (const char* home = std::getenv("RYVANE_HOME"); home != nullptr && *home != '\0')
        return WithoutTrailingSeparators(home);
    return ExecutableFolder();
}

std::string ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return {};
    return WithoutTrailingSeparators(exe.parent_path().string());
}

bool HoldsProgramFiles(std::string_view folderText) {
    if (folderText.empty())
        return false;
    std::string folder(folderText);
    std::error_code ec;
    return !ExistingIniName(folder).empty() ||
           std::filesystem::is_directory(std::filesystem::path(folder) / "help", ec);
}

ProgramFolders ChooseProgramFolders(const ProgramFolderFacts& facts) {
    if (!facts.ryvaneHome.empty()) {
        std::string home = WithoutTrailingSeparators(facts.ryvaneHome);
        return {home, home, false};
    }
    std::string exe = WithoutTrailingSeparators(facts.executableFolder);
    if (facts.executableFolderHoldsProgram || facts.userDataFolder.empty() || exe.empty())
        return {exe, exe, false};
    std::string data =
        (std::filesystem::path(exe) / kInstalledDataFromExecutable).lexically_normal().string();
    return {WithoutTrailingSeparators(facts.userDataFolder), WithoutTrailingSeparators(data), true};
}

std::string FindIniFile(std::string_view folderText) {
    if (folderText.empty())
        return {};
    std::string folder = WithoutTrailingSeparators(std::string(folderText));
    std::string prefix = folder == "/" ? folder : folder + "/";
    std::string found = ExistingIniName(folder);
    return prefix + (found.empty() ? std::string("RY.INI") : found);
}

} // namespace ry
