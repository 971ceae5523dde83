#pragma once

// What rykem prints for --help and --version.

#include "settings/program_folder.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ry {

// The arguments after the program's name, as the system's encoding gives them.
QStringList CommandLineArguments(int argc, char** argv);

// The text for a command line (without the program's name) that is "--help" (or "-h") or
// "--version" alone; nothing when it names a script to open. The help names `folders`.
std::optional<QString> InfoOptionText(const QStringList& arguments, const ProgramFolders& folders);

} // namespace ry
