// The companion programs, sound playback and help.

#include "designer_fixture.h"

#include "base/text_codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace ry::test {
namespace {

using Companions = DesignerTest;

TEST_F(Companions, ProgramsStartFromTheProgramFolderOrAreReportedMissing) {
    MakeDesigner();
    struct Case {
        const char* name;
        void (ry::Companions::*run)();
        const char* program;
    };
    const Case cases[] = {
        {"setup wizard", &ry::Companions::RunSetupAide, "SetupAide.exe"},
        {"engine", &ry::Companions::RunEngine, "RyMulti.exe"},
        {"voicemail manager", &ry::Companions::RunVoicemailManager, "RyVmMgr.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = ProgramFolder() + QStringLiteral("/") + QLatin1String(c.program);
        prompter_.messages.clear();
        launcher_->started.clear();

        launcher_->startable = {};
        (D().Programs().*c.run)();
        ASSERT_EQ(launcher_->started.size(), 1u);
        EXPECT_EQ(launcher_->started[0].program, path);
        EXPECT_TRUE(launcher_->started[0].arguments.isEmpty());
        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Ryvane"));
        EXPECT_EQ(prompter_.messages[0].text, path + QStringLiteral("\r\nCould not be found."));
        EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::Ok);

        launcher_->startable = {path};
        (D().Programs().*c.run)();
        EXPECT_EQ(launcher_->started.size(), 2u);
        EXPECT_EQ(prompter_.messages.size(), 1u);
    }
}

// A script whose folder is set as a saved script's is.
std::int16_t ScriptInFolder(Designer& designer, const QString& folder) {
    ScriptTables& tables = designer.Tables();
    const std::int16_t script = tables.MemStructRys_Get();
    tables.Script(script).FolderPath = FromQt(folder + QStringLiteral("/"));
    return script;
}

TEST_F(Companions, SoundFilesAreFoundAsNamedOrBesideTheScript) {
    MakeDesigner();
    const QString scripts = folder_.filePath(QStringLiteral("scripts"));
    const QString beside = WriteFile(QStringLiteral("scripts/welcome.wav"), "RIFF");
    const QString below = WriteFile(QStringLiteral("scripts/prompts/menu.wav"), "RIFF");
    const QString elsewhere = WriteFile(QStringLiteral("sounds/hold.wav"), "RIFF");
    const std::int16_t script = ScriptInFolder(D(), scripts);

    struct Case {
        const char* name;
        QString file;
        QString played; // "" when a message is expected instead
        QString message;
    };
    const Case cases[] = {
        {"a full path", elsewhere, elsewhere, {}},
        {"a name beside the script", QStringLiteral("welcome.wav"), beside, {}},
        {"a full path elsewhere whose file lies beside the script",
         QStringLiteral("/nowhere/welcome.wav"),
         beside,
         {}},
        {"relative to the script's folder", QStringLiteral("prompts/menu.wav"), below, {}},
        {"written on Windows", QStringLiteral("prompts\\menu.wav"), below, {}},
        {"no name", QString(), {}, QStringLiteral("No sound file specified")},
        {"a name that cannot be looked up",
         QStringLiteral("bad") + QChar(0) + QStringLiteral(".wav"),
         {},
         QStringLiteral("Invalid Filename")},
        {"found nowhere",
         QStringLiteral("prompts\\gone.wav"),
         {},
         QStringLiteral("Sound file: prompts\\gone.wav\r\nCould not be found. Looked for:\r\n") +
             scripts + QStringLiteral("/prompts/gone.wav\r\n") + scripts +
             QStringLiteral("/gone.wav")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter_.messages.clear();
        launcher_->played.clear();
        D().Programs().PlaySoundFile(c.file, script);
        if (c.played.isEmpty()) {
            EXPECT_TRUE(launcher_->played.isEmpty());
            ASSERT_EQ(prompter_.messages.size(), 1u);
            EXPECT_EQ(prompter_.messages[0].text, c.message);
            EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Ryvane"));
        } else {
            EXPECT_TRUE(prompter_.messages.empty())
                << prompter_.MessageTexts().join('|').toStdString();
            EXPECT_EQ(launcher_->played, QStringList{c.played});
        }
    }

    // A new script has no folder: only the name as given counts.
    prompter_.messages.clear();
    const std::int16_t unsaved = D().Tables().MemStructRys_Get();
    D().Programs().PlaySoundFile(QStringLiteral("welcome.wav"), unsaved);
    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{QStringLiteral("Sound file: welcome.wav\r\nCould not be found. Looked "
                                         "for:\r\n") +
                          QDir::current().absoluteFilePath(QStringLiteral("welcome.wav"))});
}

TEST_F(Companions, TheDesktopSaysWhenNoBrowserOpensAWebAddress) {
    // xdg-open ends with an error when it finds no browser; the desktop launcher waits for
    // that rather than taking the start of xdg-open for an opened page.
    const QByteArray path = qgetenv("PATH");
    struct Case {
        const char* name;
        const char* opener; // the script standing in for xdg-open; nullptr: none at all
        bool opened;
    };
    const Case cases[] = {
        {"a browser opens it", "#!/bin/sh\nexit 0\n", true},
        {"no browser", "#!/bin/sh\nexit 3\n", false},
        {"no xdg-open", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir bin;
        ASSERT_TRUE(bin.isValid());
        if (c.opener != nullptr) {
            QFile script(bin.filePath(QStringLiteral("xdg-open")));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(c.opener);
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        const bool opened =
            MakeDesktopLauncher()->OpenUrl(QUrl(QStringLiteral("https://example.com/")));
        qputenv("PATH", path);
        EXPECT_EQ(opened, c.opened);
    }
}

} // namespace
} // namespace ry::test
