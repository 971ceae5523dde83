#pragma once

// Where this run of the designer keeps its files, on the desktop it runs on.

#include "settings/program_folder.h"

#include <QString>

namespace ry {

// The folders of this run (ChooseProgramFolders): $RYVANE_HOME, the executable's folder when
// it holds a program of its own, or the user's data folder (QStandardPaths::AppDataLocation)
// and the installed read-only data. Makes nothing.
ProgramFolders FindProgramFolders();

// Makes an installed program's user folder and its Scripts folder when they are missing.
// Returns false when they could not be made.
bool MakeUserFolders(const ProgramFolders& folders);

// The folders of a designer: `programFolder` for both when given; else those of this run,
// with an installed program's user folders made.
ProgramFolders DesignerFolders(const QString& programFolder);

} // namespace ry
