// The documents and the files on disk: names in any language, files that another program
// changed, protected scripts longer than their read, LF line ends.

#include "designer_fixture.h"

#include <QDir>

#include "app/toolbar.h"
#include "base/registry.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "script/protected_script.h"

#include "temp_dir.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

#include <sys/stat.h>

namespace ry::test {
namespace {

const QByteArray kScript = "Version=5.0\r\nStartModule=Desk\r\n\r\n[Desk]\r\nType=Play\r\n"
                           "Position=10,10\r\n";
const QByteArray kOtherScript = "Version=5.0\r\nStartModule=Night\r\n\r\n[Night]\r\nType=Play\r\n"
                                "Position=10,10\r\n\r\n[Bye]\r\nType=Hangup the Call\r\n"
                                "Position=10,200\r\n";

using DiskFiles = DesignerTest;

// Names outside Windows-1252, inside it, and in a folder's name reach the disk as they are.
TEST_F(DiskFiles, NamesInAnyLanguageOpenAndSaveUnderThemselves) {
    MakeMain();
    const QString unrelated = WriteFile(QStringLiteral("??.rys"), "unrelated");
    for (const QString& name : {QStringLiteral("日本.rys"), QStringLiteral("café.rys"),
                                QStringLiteral("Größe/desk.rys")}) {
        SCOPED_TRACE(name.toStdString());
        prompter_.messages.clear();
        const QString path = WriteFile(name, kScript);
        DocumentWindow* window = OpenInMain(path);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(prompter_.messages.empty()) << prompter_.MessageTexts().join("|").toStdString();
        EXPECT_EQ(Titles(), QStringList{"Desk"});
        EXPECT_EQ(Doc().Record().FileName, HostPath(path));
        EXPECT_EQ(D().Recent().At(1), path);

        // Save As a name of another script: that name, nothing else, is written.
        const QString copy =
            QFileInfo(path).path() + QStringLiteral("/中国 ") + QFileInfo(path).fileName();
        prompter_.files = {copy};
        ASSERT_EQ(SaveScript(D(), *window, 1), SaveOutcome::Saved);
        EXPECT_EQ(window->Caption(), copy);
        EXPECT_TRUE(Slurp(copy).startsWith("Version=5.0\r\n"));
        EXPECT_EQ(Slurp(path), kScript);
        EXPECT_EQ(D().Recent().At(1), copy);
        // The file dialogs start in the script's own folder.
        prompter_.files = {};
        SaveScript(D(), *window, 1);
        EXPECT_EQ(prompter_.fileRequests.back().folder, QFileInfo(copy).path() + "/");
    }
    EXPECT_EQ(Slurp(unrelated), "unrelated");
}

// A relative name, or one with blanks round it, opens the file it names in the folder the
// designer was started in, and from then on the script knows itself by its absolute name.
TEST_F(DiskFiles, ARelativeNameBecomesAbsoluteAndBlanksOfAnExistingNameStay) {
    MakeMain();
    const QString plain = WriteFile(QStringLiteral("A.rys"), kScript);
    const QString blank = WriteFile(QStringLiteral("b.rys "), kScript);
    const QString dash = WriteFile(QStringLiteral("-x.rys"), kScript);
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ProgramFolder()));
    for (const auto& [given, path] :
         {std::pair{QStringLiteral("A.rys"), plain}, std::pair{QStringLiteral("b.rys "), blank},
          std::pair{QStringLiteral("-x.rys"), dash}}) {
        SCOPED_TRACE(given.toStdString());
        Main().Documents().OpenScript(given);
        ASSERT_NE(Active(), nullptr);
        EXPECT_EQ(Active()->Caption(), path);
        EXPECT_EQ(Doc().Record().FileName, HostPath(path));
        EXPECT_EQ(D().Recent().At(1), path);
        // The call log viewer gets the name whole, never a word that looks like an option.
        launcher_->started.clear();
        Main()
            .findChild<MainToolbar*>(QStringLiteral("pictToolBar"))
            ->Button(QStringLiteral("Call Log"))
            ->trigger();
        ASSERT_EQ(launcher_->started.size(), 1u);
        EXPECT_EQ(launcher_->started[0].arguments, QStringList{path});
    }

    // A name typed into the save dialog is made absolute too.
    prompter_.files = {QStringLiteral("copy.rys")};
    Choose(QStringLiteral("mnuFile(7)"));
    const QString copy = ProgramFolder() + QStringLiteral("/copy.rys");
    EXPECT_EQ(Doc().Record().FileName, HostPath(copy));
    EXPECT_EQ(D().Recent().At(1), copy);
    EXPECT_EQ(Slurp(dash), kScript);
    EXPECT_FALSE(Slurp(copy).isEmpty());
    QDir::setCurrent(before);
    EXPECT_EQ(ScriptPathOfCommandLine(blank), blank);
}

// A relative entry of the recent list, written by an older version, names a file in a folder
// nobody remembers: it is not offered.
TEST_F(DiskFiles, ARelativeRecentEntryIsNotOffered) {
    const QString a = WriteFile(QStringLiteral("a.rys"), kScript);
    {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser,
                         QStringLiteral("Software\\Cordaxa\\Ryvane\\Recent File List"), true);
        registry.WriteValue(QStringLiteral("File1"), QStringLiteral("a.rys"));
        registry.WriteValue(QStringLiteral("File2"), a);
    }
    MakeMain();
    EXPECT_EQ(D().Recent().At(1), QString());
    EXPECT_FALSE(Menu(QStringLiteral("mnuRecent(1)"))->isVisible());
    EXPECT_EQ(D().Recent().At(2), a);
}

// Special and oversized files fail to open at once, with a message, and the open scripts and
// their edits stay.
TEST_F(DiskFiles, SpecialAndHugeFilesFailToOpenWithAMessage) {
    MakeMain();
    Doc().MarkModified();
    const QString huge = WriteFile(QStringLiteral("huge.rys"), kScript);
    std::filesystem::resize_file(HostPath(huge), (64u << 20) + 1);
    const QString zero = folder_.filePath(QStringLiteral("zero.rys"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString fifo = folder_.filePath(QStringLiteral("pipe.rys"));
    ASSERT_EQ(::mkfifo(HostPath(fifo).c_str(), 0666), 0);
    for (const QString& path : {huge, zero, fifo}) {
        prompter_.messages.clear();
        Main().Documents().OpenScript(path);
        EXPECT_EQ(prompter_.MessageTexts().last(),
                  QStringLiteral("File: ") + path + QStringLiteral("\r\nCould not be loaded."));
        if (path == huge) {
            EXPECT_EQ(prompter_.MessageTexts().first(),
                      huge + " is larger than 64 MiB, the most a script file may hold.\r\nIt "
                             "was not loaded.");
        }
    }
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_TRUE(Windows()[0]->Document().Record().Modified);
}

TEST_F(DiskFiles, SavingOverAFileChangedOnDiskAsksFirst) {
    MakeMain();
    const QString path = WriteFile(QStringLiteral("desk.rys"), kScript);
    DocumentWindow* window = OpenInMain(path);
    ASSERT_NE(window, nullptr);
    WriteFile(QStringLiteral("desk.rys"), kOtherScript); // another designer saved it

    prompter_.answers = {MessageAnswer::No};
    EXPECT_EQ(SaveScript(D(), *window, 0), SaveOutcome::Cancelled);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text,
              path + " was changed on disk by another program since it was opened or saved "
                     "here.\r\nOverwrite those changes?");
    EXPECT_EQ(Slurp(path), kOtherScript);

    prompter_.answers = {MessageAnswer::Yes};
    EXPECT_EQ(SaveScript(D(), *window, 0), SaveOutcome::Saved);
    EXPECT_NE(Slurp(path), kOtherScript);
    // Its own save is no change behind its back.
    prompter_.messages.clear();
    EXPECT_EQ(SaveScript(D(), *window, 0), SaveOutcome::Saved);
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(DiskFiles, ReactivatedTheDesignerOffersToReloadAChangedFile) {
    MakeMain();
    const QString path = WriteFile(QStringLiteral("desk.rys"), kScript);
    ASSERT_NE(OpenInMain(path), nullptr);
    Main().Documents().CheckFilesChangedOnDisk();
    EXPECT_TRUE(prompter_.messages.empty()); // nothing changed

    WriteFile(QStringLiteral("desk.rys"), kOtherScript);
    prompter_.answers = {MessageAnswer::Yes};
    Main().Documents().CheckFilesChangedOnDisk();
    ASSERT_EQ(prompter_.MessageTexts(),
              QStringList{path + " was changed on disk by another program.\r\nLoad it again?"});
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Titles(), (QStringList{"Night", "Bye"}));
    EXPECT_EQ(Windows().size(), 2u); // the new script of the start, and the reloaded one

    // With unsaved edits it asks again before they are lost; a No keeps them, and the same
    // change is not asked about again.
    Doc().MarkModified();
    WriteFile(QStringLiteral("desk.rys"), kScript);
    prompter_.messages.clear();
    prompter_.answers = {MessageAnswer::Yes, MessageAnswer::No};
    Main().Documents().CheckFilesChangedOnDisk();
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_EQ(prompter_.messages[1].text,
              path + " has changes that are not saved.\r\nLoad the file again and lose them?");
    EXPECT_EQ(Titles(), (QStringList{"Night", "Bye"}));
    EXPECT_TRUE(Doc().Record().Modified);
    prompter_.messages.clear();
    Main().Documents().CheckFilesChangedOnDisk();
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(DiskFiles, AnOverlongProtectedScriptIsReportedAndNotSavedOverWithoutAsking) {
    MakeMain();
    std::string text = "Version=5.0";
    for (int i = 1; i <= 80; ++i)
        text += "\r\n\r\n[M" + std::to_string(i) +
                "]\r\nType=Play\r\nTxt=" + std::string(900, 'x') + "\r\nPosition=10," +
                std::to_string(i * 100);
    const std::string bytes = EncryptScriptText(InsertPasswordLine(text, "PW"), ScriptKey());
    const QString path = WriteFile(QStringLiteral("long.ryp"), QByteArray::fromStdString(bytes));
    prompter_.dialogs.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("pw"));
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        return dialog.result();
    });
    DocumentWindow* window = OpenInMain(path);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_TRUE(prompter_.messages[0].text.startsWith(
        path + " is " + QString::number(bytes.size()) +
        " bytes long, but a protected script is read only as far as 65000 bytes."));

    prompter_.answers = {MessageAnswer::No};
    EXPECT_EQ(SaveScript(D(), *window, 0), SaveOutcome::Cancelled);
    EXPECT_TRUE(prompter_.messages.back().text.endsWith("Save over it anyway?"));
    EXPECT_EQ(Slurp(path).toStdString(), bytes);

    // Under another name nothing is lost, and nothing is asked.
    const size_t asked = prompter_.messages.size();
    prompter_.files = {folder_.filePath(QStringLiteral("first part.rys"))};
    EXPECT_EQ(SaveScript(D(), *window, 1), SaveOutcome::Saved);
    EXPECT_EQ(prompter_.messages.size(), asked);
}

TEST_F(DiskFiles, AnLfScriptIsReadAndSavedWithCrLfSaidOnce) {
    MakeMain();
    QByteArray lf = kOtherScript;
    lf.replace("\r\n", "\n");
    const QString path = WriteFile(QStringLiteral("lf.rys"), lf);
    DocumentWindow* window = OpenInMain(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Titles(), (QStringList{"Night", "Bye"}));
    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{path + " ends its lines with LF alone. It was read with LF as the line "
                                 "end, and it will be saved with CR LF line ends."});
    ASSERT_EQ(SaveScript(D(), *window, 0), SaveOutcome::Saved);
    EXPECT_EQ(prompter_.messages.size(), 1u);
    EXPECT_TRUE(Slurp(path).contains("[Night]\r\nType=Play\r\n"));
}

// A CR LF script with a module appended in LF lines opens with that module whole, says that
// it mixes its line ends, and Save keeps the module.
TEST_F(DiskFiles, AScriptMixingLineEndsKeepsEveryModuleThroughSave) {
    MakeMain();
    const QString path = WriteFile(QStringLiteral("mixed.rys"),
                                   kOtherScript + "\n[Extra]\nType=Play\nTxt=hello\n"
                                                  "PlayFile1=extra.wav\nPosition=300,40\n");
    DocumentWindow* window = OpenInMain(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Titles(), (QStringList{"Night", "Bye", "Extra"}));
    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{path + " mixes its line ends (CR LF and LF). Every one of them was read "
                                 "as a line end, and it will be saved with CR LF line ends."});
    ASSERT_EQ(SaveScript(D(), *window, 0), SaveOutcome::Saved);
    const QByteArray saved = Slurp(path);
    EXPECT_TRUE(saved.contains("[Extra]\r\nType=Play\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("PlayFile1=extra.wav\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Position=300,40")) << saved.toStdString();
}

} // namespace
} // namespace ry::test
