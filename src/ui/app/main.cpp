// rykem: the script designer.

#include "app/main_window.h"
#include "app/picture_command.h"
#include "app/program_info.h"
#include "base/designer.h"
#include "base/host_paths.h"
#include "base/program_folders.h"
#include "base/prompter.h"
#include "dialogs/module_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <optional>

int main(int argc, char** argv) {
    // Set before anything asks where the user's files are.
    QApplication::setOrganizationName(QStringLiteral("Cordaxa"));
    QApplication::setApplicationName(QStringLiteral("Ryvane"));
    QApplication::setDesktopFileName(QStringLiteral("com.cordaxa.ryvane"));
    // rykem --help and --version print and end, before anything needs a display.
    if (const std::optional<QString> info =
            ry::InfoOptionText(ry::CommandLineArguments(argc, argv), ry::FindProgramFolders())) {
        std::fputs(info->toLocal8Bit().constData(), stdout);
        return 0;
    }
    // rykem --export-picture SCRIPT OUT shows no window: it needs no display, and uses none.
    const bool exporting = argc >= 2 && std::strcmp(argv[1], ry::kExportPictureOption) == 0;
    if (exporting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (exporting) {
        QStringList args = QApplication::arguments();
        ry::RouteStyle style = ry::RouteStyle::AroundBoxes;
        int scale = 1;
        if (!ry::TakeRouteStyleOption(args, style) || !ry::TakeScaleOption(args, scale) ||
            args.size() != 4) {
            std::fputs("usage: rykem --export-picture SCRIPT OUT.svg|OUT.png|OUT.pdf|OUT.json "
                       "[--route-style classic|around-boxes] [--scale 1-4]\n",
                       stderr);
            return 2;
        }
        return ry::ExportPictureCommand(args[2], args[3], style, scale);
    }

    ry::QtPrompter prompter;
    ry::Designer designer(prompter);
    designer.ReadSettings();
    ry::ModuleDialogTable moduleDialogs(designer);

    // The command line is the path of a script to open, and nothing else.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    QString commandLine = args.join(QLatin1Char(' '));
    for (int i = 1; i < argc; ++i) {
        if (!ry::IsWholeHostName(QByteArray(argv[i]))) {
            // Its text would name another file, which a save would then write.
            designer.Message(QStringLiteral("The file name ") + QFile::decodeName(argv[i]) +
                             QStringLiteral(" is not valid text in this system's encoding, so "
                                            "it cannot be opened under its own name.\r\nRename "
                                            "the file and open it again."));
            commandLine.clear();
        }
    }
    ry::MainWindow window(designer, commandLine);
    window.show();
    designer.WarnOfUnusableSettings();
    return app.exec();
}
