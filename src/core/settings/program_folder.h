#pragma once

// The program folder: where RY.INI, the help file and the system sounds live.

#include <string>
#include <string_view>

namespace ry {

// $RYVANE_HOME when it is set and not empty, otherwise the folder of the running executable;
// without a trailing "/" (except for the root folder itself). "" when neither can be found.
std::string ProgramFolder();

// The path of the engine's configuration file in `folder`: an existing regular file named
// "RY.INI" in any letter case (the exact spelling first, then the first name in byte order),
// or `folder` + "/RY.INI" when there is none. "" when `folder` is empty.
std::string FindIniFile(std::string_view folder);

} // namespace ry
