#include "app/program_info.h"

namespace ry {

QStringList CommandLineArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

std::optional<QString> InfoOptionText(const QStringList& arguments, const ProgramFolders& folders) {
    if (arguments.size() != 1)
        return std::nullopt;
    const QString& option = arguments.front();
    if (option == QLatin1String("--version"))
        return QStringLiteral("rykem " RY_PROGRAM_VERSION "\n");
    if (option != QLatin1String("--help") && option != QLatin1String("-h"))
        return std::nullopt;
    return QStringLiteral(
               "Usage: rykem [SCRIPT]\n"
               "       rykem --export-picture SCRIPT OUT\n"
               "Ryvane Script Designer: draws the call scripts that the Ryvane engine runs.\n"
               "\n"
               "  SCRIPT                    the path of a script (.rys or .ryp) to open\n"
               "  --help                    show this text\n"
               "  --version                 show the version\n"
               "  --export-picture SCRIPT OUT\n"
               "                            write the script's drawing to OUT (.svg, .png or\n"
               "                            .pdf), or its geometry (.json), without a window;\n"
               "                            exit 0 when written, 1 when the script does not\n"
               "                            load or OUT cannot be written\n"
               "  --route-style classic|around-boxes\n"
               "                            with --export-picture: how connectors are routed\n"
               "                            (around-boxes unless given)\n"
               "  --scale 1-4               with --export-picture to .png: the picture's size,\n"
               "                            in times the canvas's pixels (1 unless given)\n"
               "\n"
               "RY.INI, the Scripts folder and the engine's programs are kept in the program\n"
               "folder: $RYVANE_HOME when set, else rykem's own folder when it holds RY.INI or\n"
               "help/, else (installed) the user's data folder, with the help and examples\n"
               "read from share/ryvane beside rykem's folder.\n"
               "\n"
               "Program folder: %1\n"
               "Read-only data: %2\n")
        .arg(QString::fromStdString(folders.home), QString::fromStdString(folders.data));
}

} // namespace ry
