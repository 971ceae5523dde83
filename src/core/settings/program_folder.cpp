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

} // namespace

std::string ProgramFolder() {
    if (const char* home = std::getenv("RYVANE_HOME"); home != nullptr && *home != '\0')
        return WithoutTrailingSeparators(home);
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return {};
    return WithoutTrailingSeparators(exe.parent_path().string());
}

std::string FindIniFile(std::string_view folderText) {
    constexpr std::string_view kName = "RY.INI";
    if (folderText.empty())
        return {};
    std::string folder = WithoutTrailingSeparators(std::string(folderText));
    std::string prefix = folder == "/" ? folder : folder + "/";

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
            return prefix + name;
        if (found.empty() || name < found)
            found = name;
    }
    return prefix + (found.empty() ? std::string(kName) : found);
}

} // namespace ry
