// Protected scripts in the designer: the password asked for when one is saved under a new
// name (a dialog that is not modal, so the save waits for it), and the password asked for
// when one is opened.

#include "designer_fixture.h"

#include "base/password_dialogs.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "script/protected_script.h"

#include "temp_dir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace ry::test {
namespace {

class ProtectedScripts : public DesignerTest {
protected:
    // The password dialog of the save waiting for one; fails the test when none is shown.
    SavePasswordDialog& Prompt() {
        SavePasswordDialog* dialog = D().SavePasswordPrompt();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    static QLineEdit& Text1(QDialog& dialog) {
        return *dialog.findChild<QLineEdit*>(QStringLiteral("Text1"));
    }
    // Types into the shown password dialog and presses Enter, as the user would.
    void TypeAndEnter(const QString& password) {
        QLineEdit& text = Text1(Prompt());
        QTest::keyClicks(&text, password);
        QTest::keyClick(&text, Qt::Key_Return);
    }
    // Save As to `path`, leaving the script modified first so that the mark can be seen to
    // clear.
    SaveOutcome SaveAs(DocumentWindow& window, const QString& path) {
        window.Document().MarkModified();
        prompter_.files = {path};
        return SaveScript(D(), window, 1);
    }
    static std::string Deciphered(const QString& path) {
        return DecryptScriptText(ReadAll(FromQt(path)), ScriptKey());
    }
    // The answer to the open dialog's question: types `password` and presses OK.
    static std::function<int(QDialog&)> Answer(const QString& password) {
        return [password](QDialog& dialog) {
            Text1(dialog).setText(password);
            dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            return dialog.result();
        };
    }
};

TEST_F(ProtectedScripts, SavedUnderAPasswordOpenOnlyWithItInAnyLetterCase) {
    MakeMain();
    const QString path = folder_.filePath(QStringLiteral("guarded.ryp"));
    QSignalSpy modified(&Doc(), &ScriptDocument::modifiedChanged);

    ASSERT_EQ(SaveAs(*Active(), path), SaveOutcome::WaitingForPassword);
    SavePasswordDialog& prompt = Prompt();
    EXPECT_EQ(prompt.objectName(), QStringLiteral("frmPassword"));
    EXPECT_FALSE(prompt.isModal());
    EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Script Password"));
    EXPECT_EQ(Text1(prompt).echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(Doc().Record().Modified);

    TypeAndEnter(QStringLiteral(" Open Sesame "));

    EXPECT_EQ(D().SavePasswordPrompt(), nullptr);
    EXPECT_EQ(Deciphered(path).rfind("Version=5.0\r\nPassword=OPEN SESAME\r\n", 0), 0u);
    EXPECT_FALSE(Doc().Record().Modified);
    ASSERT_FALSE(modified.isEmpty());
    EXPECT_EQ(modified.last().at(0).toBool(), false);
    EXPECT_EQ(D().Writer().PendingProtectedScript, 0);

    // The password is known now: the next save under the same name does not ask.
    Doc().SetStartModule(QStringLiteral("Play 1"));
    EXPECT_EQ(SaveScript(D(), *Active(), 0), SaveOutcome::Saved);
    EXPECT_EQ(D().SavePasswordPrompt(), nullptr);

    Active()->Discard();
    prompter_.dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frmPswdDecrypt"));
        EXPECT_TRUE(dialog.isModal());
        QLineEdit& text = Text1(dialog);
        text.setText(QStringLiteral("open sesame"));
        EXPECT_EQ(text.displayText(), QString(11, QLatin1Char('*')));
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        return dialog.result();
    });
    Main().Documents().OpenScript(path);
    EXPECT_TRUE(prompter_.dialogs.empty());
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->Caption(), path);
    EXPECT_EQ(Doc().Record().Password, "OPEN SESAME");
    EXPECT_TRUE(prompter_.messages.empty()) << prompter_.MessageTexts().join('|').toStdString();
}

TEST_F(ProtectedScripts, AWrongOrMissingPasswordOpensNothingAndKeepsNoRecord) {
    const std::string text = "Version=5.0\r\nStartModule=Hello\r\n\r\n[Hello]\r\nType=Play\r\n"
                             "Txt=Hi\r\nPosition=10,10";
    const QString path = WriteFile(
        QStringLiteral("locked.ryp"),
        QByteArray::fromStdString(EncryptScriptText(InsertPasswordLine(text, "KEY"), ScriptKey())));
    MakeMain();

    const struct {
        const char* name;
        std::function<int(QDialog&)> answer;
    } cases[] = {
        {"another password", Answer(QStringLiteral("KEYS"))},
        {"nothing typed", Answer(QString())},
        {"closed without OK", [](QDialog&) { return int(QDialog::Rejected); }},
        {"the password typed, then Cancel",
         [](QDialog& dialog) {
             Text1(dialog).setText(QStringLiteral("key"));
             dialog.reject();
             return dialog.result();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptTables& tables = D().Tables();
        const auto freeModules = tables.MemStructRym_FreeCount();
        const auto scriptHead = tables.ScriptFreeHead(), moduleHead = tables.ModuleFreeHead();
        const int documents = D().OpenDocumentCount();
        prompter_.messages.clear();
        prompter_.dialogs = {c.answer};

        Main().Documents().OpenScript(path);

        EXPECT_TRUE(prompter_.dialogs.empty());
        EXPECT_EQ(prompter_.MessageTexts(),
                  QStringList{QStringLiteral("File: ") + path +
                              QStringLiteral("\r\nCould not be loaded.")});
        EXPECT_EQ(D().OpenDocumentCount(), documents);
        EXPECT_EQ(tables.MemStructRym_FreeCount(), freeModules);
        EXPECT_EQ(tables.ScriptFreeHead(), scriptHead);
        EXPECT_EQ(tables.ModuleFreeHead(), moduleHead);
        for (int s = 1; s <= kScriptCapacity; ++s)
            if (s != Active()->Script()) {
                ASSERT_TRUE(tables.Script(s).IsFree) << s;
            }
    }
}

TEST_F(ProtectedScripts, ClosingThePasswordDialogWithoutOkWritesNothing) {
    MakeMain();
    const QString path = folder_.filePath(QStringLiteral("never.ryp"));
    ASSERT_EQ(SaveAs(*Active(), path), SaveOutcome::WaitingForPassword);
    QTest::keyClicks(&Text1(Prompt()), QStringLiteral("typed"));
    Prompt().close();

    EXPECT_EQ(D().SavePasswordPrompt(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(D().Writer().PendingProtectedScript, 0);
    EXPECT_TRUE(Doc().Record().Modified);

    // Still no password: the next save asks again, with an empty box.
    EXPECT_EQ(SaveScript(D(), *Active(), 0), SaveOutcome::WaitingForPassword);
    EXPECT_TRUE(Text1(Prompt()).text().isEmpty());
}

TEST_F(ProtectedScripts, WhatIsEditedWhileTheDialogIsOpenIsWrittenToo) {
    MakeMain();
    const QString path = folder_.filePath(QStringLiteral("late.ryp"));
    ASSERT_EQ(SaveAs(*Active(), path), SaveOutcome::WaitingForPassword);
    // The dialog does not block the window: the user goes on working, then confirms. The
    // modified mark is cleared, so the file must hold the change.
    Doc().SetScriptProperties(QStringLiteral("Play 1"), QStringLiteral("after.rys"), true);
    TypeAndEnter(QStringLiteral("pw"));

    EXPECT_NE(Deciphered(path).find("\r\nRunAtHangup=after.rys\r\n"), std::string::npos);
    EXPECT_FALSE(Doc().Record().Modified);
}

TEST_F(ProtectedScripts, TheWaitingSaveFollowsItsDocument) {
    MakeMain();
    const QString path = folder_.filePath(QStringLiteral("closing.ryp"));
    ASSERT_EQ(SaveAs(*Active(), path), SaveOutcome::WaitingForPassword);
    Prompt().close();

    // Closing with Yes: the save waits for the password, so the window stays open.
    prompter_.answers = {MessageAnswer::Yes};
    Main().CloseActive();
    ASSERT_EQ(D().OpenDocumentCount(), 1);
    EXPECT_NE(D().SavePasswordPrompt(), nullptr);
    TypeAndEnter(QStringLiteral("pw"));
    EXPECT_TRUE(QFileInfo::exists(path));
    // Saved now: closing asks nothing.
    prompter_.messages.clear();
    Main().CloseActive();
    EXPECT_EQ(D().OpenDocumentCount(), 0);
    EXPECT_TRUE(prompter_.messages.empty());

    // A document that goes away without saving takes its waiting save with it.
    Main().NewScript();
    const QString other = folder_.filePath(QStringLiteral("dropped.ryp"));
    ASSERT_EQ(SaveAs(*Active(), other), SaveOutcome::WaitingForPassword);
    const std::int16_t script = Active()->Script();
    Active()->Discard();
    EXPECT_EQ(D().SavePasswordPrompt(), nullptr);
    EXPECT_EQ(D().Writer().PendingProtectedScript, 0);
    EXPECT_TRUE(D().Tables().Script(script).IsFree);
    EXPECT_FALSE(QFileInfo::exists(other));
}

TEST_F(ProtectedScripts, ASecondProtectedSaveTakesTheDialogOver) {
    MakeMain();
    DocumentWindow* first = Active();
    Main().NewScript();
    DocumentWindow* second = Active();
    const QString a = folder_.filePath(QStringLiteral("a.ryp"));
    const QString b = folder_.filePath(QStringLiteral("b.ryp"));

    ASSERT_EQ(SaveAs(*first, a), SaveOutcome::WaitingForPassword);
    SavePasswordDialog* dialog = &Prompt();
    QTest::keyClicks(&Text1(*dialog), QStringLiteral("for a"));
    ASSERT_EQ(SaveAs(*second, b), SaveOutcome::WaitingForPassword);

    // One dialog, now for the second script, without the text typed for the first.
    EXPECT_EQ(&Prompt(), dialog);
    EXPECT_EQ(Prompt().Script(), second->Script());
    EXPECT_TRUE(Text1(Prompt()).text().isEmpty());
    TypeAndEnter(QStringLiteral("for b"));

    EXPECT_TRUE(QFileInfo::exists(b));
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_TRUE(first->Document().Record().Modified);
    EXPECT_FALSE(second->Document().Record().Modified);
}

TEST_F(ProtectedScripts, NotsetIsNoPassword) {
    MakeMain();
    const QString path = folder_.filePath(QStringLiteral("notset.ryp"));
    ASSERT_EQ(SaveAs(*Active(), path), SaveOutcome::WaitingForPassword);

    // The script's mark for "no password yet": it would be saved as none and the dialog
    // would close as if the file were written.
    TypeAndEnter(QStringLiteral("NotSet"));
    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{QStringLiteral("\"NOTSET\" cannot be used as a password.")});
    EXPECT_NE(D().SavePasswordPrompt(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(path));

    Text1(Prompt()).clear();
    TypeAndEnter(QStringLiteral("set"));
    EXPECT_EQ(Deciphered(path).rfind("Version=5.0\r\nPassword=SET\r\n", 0), 0u);
}

} // namespace
} // namespace ry::test
