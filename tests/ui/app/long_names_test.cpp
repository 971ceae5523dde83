// Names of any length, in any letters, never make a window wider than the screen: module
// titles of 300 characters in every dialog that shows or lists them, and long file names in
// the lists of scripts and windows. Long names are shortened where they are shown.

#include "designer_fixture.h"

#include "app/more_windows_dialog.h"
#include "dialogs/module_dialog.h"
#include "script/module_types.h"
#include "settings/ct_media_dialog.h"
#include "settings/doc_properties_dialog.h"
#include "settings/pbx_config_dialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <string>

namespace ry::test {
namespace {

using LongNames = DesignerTest;

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// What a dialog shows as its size once on the screen.
struct Seen {
    int width = 0;
    int minimumWidth = 0;
    bool okInSight = false;
};

Seen Measure(QWidget& dialog) {
    dialog.show();
    QCoreApplication::processEvents();
    Seen seen{dialog.frameGeometry().width(), dialog.minimumSizeHint().width(), true};
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(&dialog))
            continue;
        const QRect onDialog(button->mapTo(&dialog, QPoint(0, 0)), button->size());
        if (button->text() == QStringLiteral("OK") && !dialog.rect().contains(onDialog))
            seen.okInSight = false;
    }
    return seen;
}

// Records what a modal dialog shows, then closes it.
std::function<int(QDialog&)> MeasureInto(Seen& seen) {
    return [&seen](QDialog& dialog) {
        seen = Measure(dialog);
        return static_cast<int>(QDialog::Rejected);
    };
}

void ExpectWithinScreen(const Seen& seen, const char* what) {
    EXPECT_GT(seen.width, 0) << what << ": never shown";
    EXPECT_LE(seen.width, Available().width()) << what;
    EXPECT_LE(seen.minimumWidth, Available().width()) << what;
    EXPECT_TRUE(seen.okInSight) << what;
}

TEST_F(LongNames, NoDialogGrowsPastTheScreenWithATitleOf300Characters) {
    struct Case {
        const char* name;
        QByteArray title; // as the script holds it, in Windows-1252
    };
    QByteArray accented;
    while (accented.size() < 300)
        accented += "\xc4\xd6\xdc\x8c\x80\xc6"; // ÄÖÜŒ€Æ
    accented.truncate(300);
    const Case cases[] = {
        {"ascii", QByteArray(300, 'W')},
        {"accented", accented},
    };
    // A file name near the longest one a folder takes, in a folder of a long name too.
    const QString longFile = QString(80, QChar(0x00d6)) + QStringLiteral("/") +
                             QString(120, QLatin1Char('W')) + QStringLiteral(".rys");
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        main_.reset();
        moduleDialogs_.reset(); // it refers to the designer
        designer_.reset();
        // A script of every type, its start module bearing the long title; each module leads
        // to it, so every paths list holds it.
        QByteArray bytes = "Version=5.0\r\nStartModule=" + tc.title + "\r\n\r\n[" + tc.title +
                           "]\r\nType=Play\r\nPosition=20,20\r\n";
        int x = 220;
        for (std::string_view type : kAllModuleTypes) {
            bytes += "\r\n[" + QByteArray(type.data(), static_cast<int>(type.size())) +
                     "]\r\nType=" + QByteArray(type.data(), static_cast<int>(type.size())) +
                     "\r\non {1} goto [" + tc.title + "]\r\nPosition=" + QByteArray::number(x) +
                     ",20\r\n";
            x += 200;
        }
        const QString path = WriteFile(longFile, bytes);
        WriteFile(QStringLiteral("RY.INI"),
                  "[CTMedia]\r\nLoadScript1=" + QFile::encodeName(path) + "\r\n");
        MakeMain();
        ASSERT_NE(OpenInMain(path), nullptr);
        ASSERT_EQ(Doc().Record().StartModule, tc.title.toStdString());
        const int screen = Available().width();

        Seen seen;
        prompter_.dialogs = {MeasureInto(seen)};
        ShowScriptProperties(D(), *Active());
        ExpectWithinScreen(seen, "Script Properties");

        prompter_.dialogs = {MeasureInto(seen)};
        ShowCtMediaScripts(D(), *Active());
        ExpectWithinScreen(seen, "CT Media scripts");

        prompter_.dialogs = {MeasureInto(seen)};
        ShowPbxConfig(D(), &Main());
        ExpectWithinScreen(seen, "PBX strings");

        prompter_.dialogs = {MeasureInto(seen)};
        Choose(QStringLiteral("mnuFind(0)"));
        ExpectWithinScreen(seen, "Find Module");

        {
            MoreWindowsDialog more({{1, path}, {2, QStringLiteral("Ryvane Script 2")}}, 1);
            seen = Measure(more);
            seen.okInSight = true; // its buttons are a button box's: checked by the width
            ExpectWithinScreen(seen, "More Windows");
        }

        // Every module dialog: the long title's own, and each other listing it in its paths.
        for (int box : Doc().Boxes()) {
            const std::int16_t module = Doc().ModuleOfBox(box);
            SCOPED_TRACE(Doc().Module(module).Type);
            Active()->DoBoxInfo_Click(box);
            ModuleDialog* dialog = D().Dialogs().DialogOfModule(module);
            ASSERT_NE(dialog, nullptr);
            for (int tab = 0; tab < dialog->Tabs().count(); ++tab) {
                dialog->SelectTab(tab);
                ExpectWithinScreen(Measure(*dialog), "module dialog");
            }
            dialog->CloseWithoutAsking();
        }

        // The main window, whose caption and status bar hold the file name, fits too.
        D().ShowStatusText(QStringLiteral("Picture written to ") + path);
        QCoreApplication::processEvents();
        EXPECT_LE(Main().minimumSizeHint().width(), screen);
        prompter_.dialogs.clear();
    }
}

} // namespace
} // namespace ry::test
