// rykem: the script designer.

#include "app/main_window.h"
#include "base/designer.h"
#include "base/prompter.h"
#include "dialogs/module_dialogs.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Cordaxa"));
    QApplication::setApplicationName(QStringLiteral("Ryvane"));

    ry::QtPrompter prompter;
    ry::Designer designer(prompter);
    designer.ReadSettings();
    ry::ModuleDialogTable moduleDialogs(designer);

    // The command line is the path of a script to open, and nothing else.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    ry::MainWindow window(designer, args.join(QLatin1Char(' ')));
    window.show();
    return app.exec();
}
