#include "base/program_folders.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdlib>

namespace ry {

ProgramFolders FindProgramFolders() {
    ProgramFolderFacts facts;
    if (const char* home = std::getenv("RYVANE_HOME"); home != nullptr)
        facts.ryvaneHome = home;
    facts.executableFolder = ExecutableFolder();
    facts.executableFolderHoldsProgram = HoldsProgramFiles(facts.executableFolder);
    facts.userDataFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    return ChooseProgramFolders(facts);
}

bool MakeUserFolders(const ProgramFolders& folders) {
    if (!folders.installed)
        return true;
    return QDir().mkpath(QString::fromStdString(folders.home) + QStringLiteral("/Scripts"));
}

ProgramFolders DesignerFolders(const QString& programFolder) {
    if (!programFolder.isEmpty())
        return {programFolder.toStdString(), programFolder.toStdString(), false};
    ProgramFolders folders = FindProgramFolders();
    MakeUserFolders(folders);
    return folders;
}

} // namespace ry
