// Start-up: the brand, the command line, and the main window's position in the registry.

#include "designer_fixture.h"

#include "base/registry.h"
#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <sys/stat.h>

#include <algorithm>
#include <functional>

namespace ry::test {
namespace {

using StartUp = DesignerTest;

TEST_F(StartUp, WithoutRyIniTheBrandIsRyvaneAndOneNewScriptIsOpen) {
    MakeMain();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ryvane[*]"));
    EXPECT_EQ(Menu(QStringLiteral("mnuHelp(3)"))->text(), QStringLiteral("&About Ryvane"));
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(Windows()[0]->Caption(), QStringLiteral("Ryvane Script 1"));
    EXPECT_EQ(D().Settings(), EngineSettings{});
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(StartUp, TheBrandOfRyIniNamesTheWindowsAndTitlesEveryMessage) {
    WriteFile(QStringLiteral("RY.INI"),
              QByteArrayLiteral("[Brand]\r\nName=Acme Lines\r\nHttp=https://acme.example/\r\n"));
    MakeMain();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Acme Lines[*]"));
    EXPECT_EQ(Windows()[0]->Caption(), QStringLiteral("Acme Lines Script 1"));
    EXPECT_EQ(Menu(QStringLiteral("mnuHelp(3)"))->text(), QStringLiteral("&About Acme Lines"));
    EXPECT_EQ(D().BrandUrl(), QStringLiteral("https://acme.example/"));

    Main().Documents().OpenScript(folder_.filePath(QStringLiteral("none.rys")));
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Acme Lines"));
}

TEST_F(StartUp, TheCommandLineIsThePathOfAScriptToOpen) {
    const QString path = WriteFile(QStringLiteral("my scripts/front desk.rys"),
                                   QByteArrayLiteral("Version=5.0\r\nStartModule=Hello\r\n\r\n"
                                                     "[Hello]\r\nType=Play\r\nDispSize=69\r\n"
                                                     "Txt=Hi\r\n\r\nPosition=10,10\r\n"));
    struct Case {
        const char* name;
        QString commandLine;
    };
    const Case cases[] = {
        {"as it stands", path},
        {"in double quotes", QStringLiteral("\"") + path + QStringLiteral("\"")},
        {"quoted, blanks around", QStringLiteral("  \"") + path + QStringLiteral("\"  ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeMain(c.commandLine);
        // The empty script of the start is closed: the script is the only window.
        ASSERT_EQ(Windows().size(), 1u);
        EXPECT_EQ(Windows()[0]->Caption(), path);
        EXPECT_EQ(Windows()[0]->DocumentIndex(), 1);
        EXPECT_EQ(Titles(), QStringList{QStringLiteral("Hello")});
        EXPECT_TRUE(prompter_.messages.empty());
        TearDown();
    }
}

TEST_F(StartUp, AStartModuleStoredInAnotherLetterCaseGetsItsStartMark) {
    const QString path = WriteFile(QStringLiteral("case.rys"),
                                   QByteArrayLiteral("Version=5.0\r\nStartModule=main MENU\r\n\r\n"
                                                     "[Hello]\r\nType=Play\r\nPosition=10,10\r\n"
                                                     "[Main Menu]\r\nType=Play\r\n"
                                                     "Position=300,10\r\n"));
    MakeMain(path);
    ASSERT_NE(Active(), nullptr);
    const int marked = Active()->Scene().StartBox();
    ASSERT_GE(marked, 1);
    EXPECT_EQ(Doc().Module(Doc().ModuleOfBox(marked)).Title, "Main Menu");
    EXPECT_TRUE(Active()->Scene().Item(marked)->HasStartMark());
}

TEST_F(StartUp, ScriptPathOfCommandLine) {
    EXPECT_EQ(ScriptPathOfCommandLine(QString()), QString());
    EXPECT_EQ(ScriptPathOfCommandLine(QStringLiteral("   ")), QString());
    EXPECT_EQ(ScriptPathOfCommandLine(QStringLiteral("\"/a b/c.rys\"")),
              QStringLiteral("/a b/c.rys"));
    // One quote at each end goes, whatever the other end holds.
    EXPECT_EQ(ScriptPathOfCommandLine(QStringLiteral("\"/a.rys")), QStringLiteral("/a.rys"));
    EXPECT_EQ(ScriptPathOfCommandLine(QStringLiteral("\"\"/a.rys\"\"")),
              QStringLiteral("\"/a.rys\""));
}

// Values written to the ScreenPos key before the start, and the position the window takes.
TEST_F(StartUp, TheWindowPositionIsReadFromTheRegistryWithinItsLimits) {
    struct Case {
        const char* name;
        std::vector<std::pair<QString, QString>> stored;
        QRect twips;
    };
    const Case cases[] = {
        {"nothing stored", {}, {1000, 1000, 6500, 6500}},
        {"as stored",
         {{"KemLeft", "1500"}, {"KemTop", "30000"}, {"KemWidth", "9000"}, {"KemHeight", "7500"}},
         {1500, 30000, 9000, 7500}},
        {"left and top below 0", {{"KemLeft", "-50"}, {"KemTop", "-1"}}, {0, 0, 6500, 6500}},
        {"left and top beyond 30000",
         {{"KemLeft", "40000"}, {"KemTop", "30001"}},
         {0, 0, 6500, 6500}},
        {"a minimised window's place",
         {{"KemLeft", "-48000"}, {"KemTop", "-48000"}},
         {0, 0, 6500, 6500}},
        {"too small", {{"KemWidth", "3000"}, {"KemHeight", "4999"}}, {1000, 1000, 5000, 5000}},
        {"not numbers", {{"KemLeft", "left"}, {"KemWidth", ""}}, {1000, 1000, 6500, 6500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSettings();
        {
            CRegistry registry;
            registry.OpenKey(kHkeyCurrentUser,
                             QStringLiteral("Software\\Cordaxa\\Ryvane\\ScreenPos"), true);
            for (const auto& [name, value] : c.stored)
                registry.WriteValue(name, value);
        }
        EXPECT_EQ(ReadWindowPosition(), c.twips);
    }

    ClearSettings();
    WriteWindowPosition({-50, 40000, 3000, 9000});
    MakeMain();
    // The platform may add its frame around the window.
    const QRect g = Main().geometry();
    EXPECT_LE(g.x(), 4);
    EXPECT_LE(g.y(), 4);
    // No narrower than the window's docks and status bar allow.
    EXPECT_NEAR(g.width(), std::max(5000 / kTwipsPerPixel, Main().minimumSizeHint().width()), 2);
    EXPECT_NEAR(g.height(), 9000 / kTwipsPerPixel, 2);
}

TEST_F(StartUp, ClosingTheProgramStoresTheWindowPosition) {
    MakeMain();
    Main().setGeometry(40, 60, 800, 600);
    ASSERT_TRUE(Main().close());
    EXPECT_EQ(ReadWindowPosition(), QRect(40 * 15, 60 * 15, 800 * 15, 600 * 15));
    CRegistry registry;
    registry.OpenKey(kHkeyCurrentUser, QStringLiteral("Software\\Cordaxa\\Ryvane\\ScreenPos"),
                     false);
    EXPECT_EQ(registry.ReadValue(QStringLiteral("KemLeft")), QStringLiteral("600"));
    EXPECT_EQ(registry.ReadValue(QStringLiteral("KemHeight")), QStringLiteral("9000"));
}

TEST_F(StartUp, TheDocksComeBackAsTheyWereLeft) {
    auto shown = [this](const char* dock) {
        auto* widget = Main().findChild<QDockWidget*>(QLatin1String(dock));
        EXPECT_NE(widget, nullptr) << dock;
        return widget && !widget->isHidden();
    };
    auto restart = [this] {
        ASSERT_TRUE(Main().close());
        main_.reset();
        MakeMain();
    };
    MakeMain();
    EXPECT_TRUE(shown("Problems"));
    EXPECT_TRUE(shown("Overview"));
    Main().MenuAction(QStringLiteral("mnuView(3)"))->trigger();
    EXPECT_FALSE(shown("Problems"));
    restart();
    EXPECT_FALSE(shown("Problems"));
    EXPECT_TRUE(shown("Overview"));

    // A layout that cannot be read leaves the docks as a first start makes them.
    {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, QStringLiteral("Software\\Cordaxa\\Ryvane\\ScreenPos"),
                         false);
        registry.WriteValue(QStringLiteral("Layout"), QStringLiteral("not a layout"));
    }
    main_.reset();
    MakeMain();
    EXPECT_TRUE(shown("Problems"));
    EXPECT_TRUE(shown("Overview"));
}

TEST_F(StartUp, ACancelledCloseKeepsTheProgramAndDoesNotStoreThePosition) {
    MakeMain();
    Doc().MarkModified();
    prompter_.answers = {MessageAnswer::Cancel};
    Main().setGeometry(40, 60, 800, 600);
    EXPECT_FALSE(Main().close());
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_EQ(ReadWindowPosition(), QRect(1000, 1000, 6500, 6500));
}

TEST_F(StartUp, ASettingsFileThatIsNotARegularFileIsTakenAsMissingAndNeverBlocks) {
    const QString file = UserSettingsFile();
    const QString pipe = QFileInfo(file).path() + QStringLiteral("/pipe");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    struct Case {
        const char* name;
        std::function<bool()> make;
    };
    const Case cases[] = {
        {"a named pipe", [&] { return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0; }},
        {"a folder", [&] { return QDir().mkpath(file); }},
        {"a link to a named pipe",
         [&] {
             return ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 &&
                    QFile::link(pipe, file);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        ASSERT_TRUE(c.make());
        struct Tidy {
            QString file, pipe;
            ~Tidy() {
                QDir(file).removeRecursively();
                QFile::remove(file);
                QFile::remove(pipe);
            }
        } tidy{file, pipe};
        prompter_.messages.clear();

        // Reading a pipe would wait for a writer for ever.
        MakeMain();
        D().WarnOfUnusableSettings();
        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_TRUE(prompter_.messages[0].text.contains(file))
            << prompter_.messages[0].text.toStdString();
        EXPECT_EQ(ReadWindowPosition(), QRect(1000, 1000, 6500, 6500));
        // Settings are written as usual, and the special file is left as it was.
        ASSERT_TRUE(Main().close());
        EXPECT_TRUE(QFileInfo(file).exists() && !QFileInfo(file).isFile());
        main_.reset();
        moduleDialogs_.reset(); // it refers to the designer
        designer_.reset();
    }
    // A regular file again: nothing to say.
    MakeDesigner();
    prompter_.messages.clear();
    D().WarnOfUnusableSettings();
    EXPECT_TRUE(prompter_.messages.empty());
}

} // namespace
} // namespace ry::test
