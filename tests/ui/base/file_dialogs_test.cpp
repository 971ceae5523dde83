// The file dialogs: titles and filters, the folder each kind starts in, and sound files
// relative to the script.

#include "designer_fixture.h"

#include "base/executable_filter.h"
#include "base/text_codec.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>

#include <functional>

namespace ry::test {
namespace {

using FileDialogsTest = DesignerTest;
using Routine = std::function<QString(FileDialogs&, const QString&)>;

struct Kind {
    const char* name;
    Routine choose;
    int slot;
    FileRequest::Kind dialog;
    const char* title;
    const char* filter;
};

const Kind kKinds[] = {
    {"script save",
     [](FileDialogs& f, const QString& c) { return f.SelectFile_ScriptSave(nullptr, c); }, 0,
     FileRequest::Save, "Save Script File",
     "Ryvane Script (*.rys);;Ryvane Protected Script (*.ryp)"},
    {"sound save",
     [](FileDialogs& f, const QString& c) { return f.SelectFile_SoundSave(nullptr, c, 0); }, 0,
     FileRequest::Save, "Save Sound File", "Wave File (*.wav)"},
    {"sound", [](FileDialogs& f, const QString& c) { return f.SelectFile_Sound(nullptr, c, 0); }, 1,
     FileRequest::Open, "Select sound file",
     "Wave Files (*.wav);;Text To Speech (TTS) Text (*.txt)"},
    {"vb script",
     [](FileDialogs& f, const QString& c) { return f.SelectFile_VbScript(nullptr, c); }, 2,
     FileRequest::Open, "Select VB Script file", "VB Script Files (*.vbs)"},
    {"database", [](FileDialogs& f, const QString& c) { return f.SelectFile_Database(nullptr, c); },
     3, FileRequest::Open, "Select database file",
     "Access Database Files (*.mdb);;Excel Spreadsheet Files (*.xls)"},
    {"program", [](FileDialogs& f, const QString& c) { return f.SelectFile_Program(nullptr, c); },
     4, FileRequest::Open, "Select Program",
     "Executables (*);;Programs (*.exe *.com *.pif *.bat);;All Files (*.*)"},
    {"text", [](FileDialogs& f, const QString& c) { return f.SelectFile_Text(nullptr, c); }, 5,
     FileRequest::Open, "Select Text File", "Text Files (*.txt);;All Files (*.*)"},
    {"any", [](FileDialogs& f, const QString& c) { return f.SelectFile_Any(nullptr, c); }, 6,
     FileRequest::Open, "Select File", "All Files (*.*)"},
    {"script", [](FileDialogs& f, const QString& c) { return f.SelectFile_Script(nullptr, c); }, 7,
     FileRequest::Open, "Select Ryvane Script",
     "Ryvane Script (*.rys);;Ryvane Protected Script (*.ryp)"},
};

TEST_F(FileDialogsTest, EachKindHasItsTitleAndFilterAndRemembersItsOwnFolder) {
    MakeDesigner();
    const QString scripts = ProgramFolder() + QStringLiteral("/Scripts");
    const QString other = folder_.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkpath(scripts) && QDir().mkpath(other));
    for (const Kind& k : kKinds) {
        SCOPED_TRACE(k.name);
        prompter_.fileRequests.clear();
        // Cancelled: nothing chosen, nothing remembered.
        EXPECT_EQ(k.choose(D().Files(), QString()), QString());
        // Chosen in another folder.
        const QString chosen =
            other + QStringLiteral("/") + QLatin1String(k.name) + QStringLiteral(".x");
        prompter_.files = {chosen};
        EXPECT_EQ(k.choose(D().Files(), QString()), chosen);
        // The next dialog of the kind starts there, even with a current file elsewhere.
        k.choose(D().Files(), QStringLiteral("/elsewhere/file.x"));

        ASSERT_EQ(prompter_.fileRequests.size(), 3u);
        const FileRequest& first = prompter_.fileRequests[0];
        EXPECT_EQ(first.kind, k.dialog);
        EXPECT_EQ(first.title, QLatin1String(k.title));
        EXPECT_EQ(first.filter, QLatin1String(k.filter));
        // The save dialogs share their folder; every other kind starts from the program's
        // scripts folder until it has one of its own.
        if (k.slot != 0 || std::string(k.name) == "script save") {
            EXPECT_EQ(first.folder, scripts);
        }
        EXPECT_EQ(prompter_.fileRequests[2].folder, other + QStringLiteral("/"));
        EXPECT_EQ(D().Files().RememberedFolder(k.slot), other + QStringLiteral("/"));
    }
}

TEST_F(FileDialogsTest, WithNothingRememberedTheCurrentFilesFolderComesFirst) {
    MakeDesigner();
    const QString lists = folder_.filePath(QStringLiteral("data/lists/"));
    const QString office = folder_.filePath(QStringLiteral("lines/office/"));
    ASSERT_TRUE(QDir().mkpath(lists) && QDir().mkpath(office + QStringLiteral("prompts")) &&
                QDir().mkpath(ProgramFolder() + QStringLiteral("/Scripts")));
    D().Files().SelectFile_Text(nullptr, lists + QStringLiteral("lines.txt"));
    D().Files().SelectFile_Any(nullptr, QString());
    // A sound file named relative to its script: below the script's folder.
    const std::int16_t script = D().Tables().MemStructRys_Get();
    D().Tables().Script(script).FolderPath = office.toStdString();
    D().Files().SelectFile_Sound(nullptr, QStringLiteral("prompts\\menu.wav"), script);
    ASSERT_EQ(prompter_.fileRequests.size(), 3u);
    EXPECT_EQ(prompter_.fileRequests[0].folder, lists);
    EXPECT_EQ(prompter_.fileRequests[1].folder, ProgramFolder() + QStringLiteral("/Scripts"));
    EXPECT_EQ(prompter_.fileRequests[2].folder, office + QStringLiteral("prompts/"));
}

// The program's "Scripts" folder is often not there: a folder that is not would be taken for
// a file name typed into the dialog. Each dialog opens in a folder that exists.
TEST_F(FileDialogsTest, WithoutAScriptsFolderEachDialogOpensInAFolderThatExists) {
    const QString saved = folder_.filePath(QStringLiteral("lines/office/"));
    const QString earlier = folder_.filePath(QStringLiteral("earlier/"));
    ASSERT_TRUE(QDir().mkpath(saved) && QDir().mkpath(earlier));
    const QString path =
        WriteFile(QStringLiteral("lines/office/front.rys"),
                  QByteArrayLiteral("Version=5.0\r\n\r\n[Hello]\r\nType=Play\r\n"));
    MakeMain();
    // Nothing known yet: the program folder.
    D().Files().SelectFile_Script(nullptr, QString());
    D().Files().SelectFile_Program(nullptr, QString());
    // A file of a module: the active script's folder.
    Main().Documents().OpenScript(path);
    D().Files().SelectFile_Program(nullptr, QStringLiteral("/no/such/folder/x.exe"));
    D().Files().SelectFile_Sound(nullptr, QString(), Active()->Script());
    // A script: the active script's folder, then where the last one was chosen, in an
    // earlier run as well.
    prompter_.files = {earlier + QStringLiteral("one.rys")};
    D().Files().SelectFile_Script(nullptr, QString());
    main_.reset();
    MakeDesigner();
    D().Files().SelectFile_Script(nullptr, QString());

    const QStringList expected = {ProgramFolder(), ProgramFolder(), saved, saved, saved, earlier};
    QStringList folders;
    for (const FileRequest& request : prompter_.fileRequests)
        folders << request.folder;
    EXPECT_EQ(folders, expected);
}

TEST_F(FileDialogsTest, SoundFilesInsideTheScriptsFolderComeBackRelative) {
    MakeDesigner();
    ScriptTables& tables = D().Tables();
    const std::int16_t saved = tables.MemStructRys_Get();
    tables.Script(saved).FolderPath = "/lines/office/";
    const std::int16_t unsaved = tables.MemStructRys_Get();
    struct Case {
        const char* name;
        std::int16_t script;
        QString chosen;
        QString result;
    };
    const Case cases[] = {
        {"inside", saved, QStringLiteral("/lines/office/prompts/menu.wav"),
         QStringLiteral("prompts\\menu.wav")},
        {"further inside", saved, QStringLiteral("/lines/office/prompts/en/menu.wav"),
         QStringLiteral("prompts\\en\\menu.wav")},
        {"beside", saved, QStringLiteral("/lines/office/menu.wav"), QStringLiteral("menu.wav")},
        {"elsewhere", saved, QStringLiteral("/lines/shared/menu.wav"),
         QStringLiteral("/lines/shared/menu.wav")},
        {"another letter case", saved, QStringLiteral("/Lines/office/menu.wav"),
         QStringLiteral("/Lines/office/menu.wav")},
        {"a script never saved", unsaved, QStringLiteral("/lines/office/menu.wav"),
         QStringLiteral("/lines/office/menu.wav")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter_.files = {c.chosen, c.chosen};
        EXPECT_EQ(D().Files().SelectFile_Sound(nullptr, QString(), c.script), c.result);
        EXPECT_EQ(D().Files().SelectFile_SoundSave(nullptr, QString(), c.script), c.result);
    }
}

TEST_F(FileDialogsTest, ASavedScriptNameWithoutExtensionGetsTheChosenFiltersOne) {
    MakeDesigner();
    const QString rys = QStringLiteral("Ryvane Script (*.rys)");
    const QString ryp = QStringLiteral("Ryvane Protected Script (*.ryp)");
    struct Case {
        const char* name;
        QString chosen;
        QString filter;
        QString result;
    };
    const Case cases[] = {
        {"plain", QStringLiteral("/lines/office"), rys, QStringLiteral("/lines/office.rys")},
        {"protected", QStringLiteral("/lines/office"), ryp, QStringLiteral("/lines/office.ryp")},
        {"no filter reported", QStringLiteral("/lines/office"), QString(),
         QStringLiteral("/lines/office.rys")},
        {"own extension kept", QStringLiteral("/lines/office.txt"), ryp,
         QStringLiteral("/lines/office.txt")},
        {"dotted folder", QStringLiteral("/lines.old/office"), rys,
         QStringLiteral("/lines.old/office.rys")},
        {"cancelled", QString(), rys, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter_.files = {c.chosen};
        prompter_.selectedFilter = c.filter;
        EXPECT_EQ(D().Files().SelectFile_ScriptSave(nullptr, QString()), c.result);
    }
}

// A program on this system is any file its user may run, with or without an extension: the
// "Executables" filter shows those (and folders), other filters what their patterns match.
TEST_F(FileDialogsTest, TheExecutablesFilterShowsFilesThatMayBeRunAndFolders) {
    const QString tool = WriteFile(QStringLiteral("bin/tool"), "#!/bin/sh\n");
    const QString exe = WriteFile(QStringLiteral("bin/setup.exe"), "MZ");
    const QString notes = WriteFile(QStringLiteral("bin/notes"), "text");
    QDir().mkpath(folder_.filePath(QStringLiteral("bin/sub")));
    QFile::setPermissions(tool, QFile::permissions(tool) | QFileDevice::ExeOwner);
    QFile::setPermissions(exe, QFile::permissions(exe) & ~QFileDevice::ExeOwner &
                                   ~QFileDevice::ExeGroup & ~QFileDevice::ExeOther);
    if (QFileInfo(notes).isExecutable())
        GTEST_SKIP() << "the file system gives every file the execute permission";

    struct Case {
        const char* file;
        bool shown;
    };
    for (const Case tc : {Case{"bin/tool", true}, Case{"bin/setup.exe", false},
                          Case{"bin/notes", false}, Case{"bin/sub", true}})
        EXPECT_EQ(ShownAsExecutable(QFileInfo(folder_.filePath(QString::fromLatin1(tc.file)))),
                  tc.shown)
            << tc.file;

    // The dialog's list follows the chosen filter.
    const QString bin = folder_.filePath(QStringLiteral("bin"));
    QFileDialog dialog(nullptr, QStringLiteral("Select Program"), bin,
                       QtFileFilter(QStringLiteral("Executables|*|Programs|*.exe")));
    FilterExecutables(dialog);
    auto* proxy = qobject_cast<QSortFilterProxyModel*>(dialog.proxyModel());
    ASSERT_NE(proxy, nullptr);
    auto* files = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
    ASSERT_NE(files, nullptr);
    const QModelIndex folder = files->index(bin);
    auto listed = [&] {
        QStringList names;
        const QModelIndex parent = proxy->mapFromSource(folder);
        for (int row = 0; row < proxy->rowCount(parent); ++row)
            names << proxy->index(row, 0, parent).data().toString();
        names.sort();
        return names;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return files->rowCount(folder) == 4; }));
    EXPECT_EQ(listed(), QStringList({"sub", "tool"}));
    dialog.selectNameFilter(QStringLiteral("Programs (*.exe)"));
    emit dialog.filterSelected(QStringLiteral("Programs (*.exe)"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listed().size() == 2; }));
    EXPECT_EQ(listed(), QStringList({"setup.exe", "sub"}));
}

} // namespace
} // namespace ry::test
