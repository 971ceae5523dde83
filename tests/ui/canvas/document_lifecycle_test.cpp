// A document window's life: activation, the save question on closing, and the records it
// gives back.

#include "designer_fixture.h"

#include "canvas/box_geometry.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace ry::test {
namespace {

using DocumentLifecycle = DesignerTest;

const QByteArray kSaved = QByteArrayLiteral("Version=5.0\r\nDefaultModuleDisplayHeight=short\r\n"
                                            "StartModule=One\r\n\r\n[One]\r\nType=Play\r\n"
                                            "DispSize=69\r\n\r\nPosition=10,10\r\n\r\n"
                                            "[Two]\r\nType=Hangup the Call\r\nDispSize=69\r\n\r\n"
                                            "Position=10,200\r\n");

TEST_F(DocumentLifecycle, ClosingAsksToSaveOnlyUnsavedChangesNamingTheScript) {
    const QString path = WriteFile(QStringLiteral("desk.rys"), kSaved);
    struct Case {
        const char* name;
        bool openFile;
        bool modified;
        QString question; // "" when no question is expected
    };
    const Case cases[] = {
        {"new, unchanged", false, false, {}},
        {"saved, unchanged", true, false, {}},
        {"never saved", false, true, QStringLiteral("Would you like to save Ryvane Script 1 ?")},
        {"saved before", true, true, QStringLiteral("Would you like to save script\r\n") + path},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeMain(c.openFile ? path : QString());
        if (c.modified)
            Doc().MarkModified();
        prompter_.messages.clear();
        prompter_.answers = {MessageAnswer::No};

        Choose(QStringLiteral("mnuFile(2)"));

        EXPECT_TRUE(Windows().empty());
        if (c.question.isEmpty()) {
            EXPECT_TRUE(prompter_.messages.empty());
        } else {
            ASSERT_EQ(prompter_.messages.size(), 1u);
            EXPECT_EQ(prompter_.messages[0].text, c.question);
            EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Ryvane"));
            EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::YesNoCancel);
        }
        TearDown();
    }
}

TEST_F(DocumentLifecycle, CancelKeepsTheWindowAndEverythingInIt) {
    const QString path = WriteFile(QStringLiteral("desk.rys"), kSaved);
    MakeMain(path);
    DocumentWindow* window = Active();
    Doc().MarkModified();
    const auto freeModules = D().Tables().MemStructRym_FreeCount();
    prompter_.answers = {MessageAnswer::Cancel};

    Choose(QStringLiteral("mnuFile(2)"));

    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(Active(), window);
    EXPECT_EQ(Doc().Boxes().size(), 2u);
    EXPECT_TRUE(Doc().Record().Modified);
    EXPECT_EQ(D().Tables().MemStructRym_FreeCount(), freeModules);
    EXPECT_EQ(Menu(QStringLiteral("mnuWindList(1)"))->text(), QStringLiteral("&1 ") + path);
}

TEST_F(DocumentLifecycle, YesSavesBeforeClosingAndAFailedSaveKeepsTheWindow) {
    MakeMain();
    Doc().MarkModified();
    // Yes, then the name dialog cancelled: nothing saved, so the window stays.
    prompter_.answers = {MessageAnswer::Yes};
    Choose(QStringLiteral("mnuFile(2)"));
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_TRUE(Doc().Record().Modified);

    const QString path = folder_.filePath(QStringLiteral("kept.rys"));
    prompter_.answers = {MessageAnswer::Yes};
    prompter_.files = {path};
    Choose(QStringLiteral("mnuFile(2)"));
    EXPECT_TRUE(Windows().empty());
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(DocumentLifecycle, ClosingGivesBackTheScriptAndModuleRecords) {
    MakeDesigner();
    const auto freeModules = D().Tables().MemStructRym_FreeCount();
    const QString path = WriteFile(QStringLiteral("desk.rys"), kSaved);
    MakeMain(path);
    const std::int16_t script = Active()->Script();
    ASSERT_EQ(D().Tables().MemStructRym_FreeCount(), freeModules - 2);

    Choose(QStringLiteral("mnuFile(2)"));

    EXPECT_EQ(D().Tables().MemStructRym_FreeCount(), freeModules);
    EXPECT_TRUE(D().Tables().Script(script).IsFree);
    EXPECT_EQ(D().OpenDocumentCount(), 0);
    EXPECT_EQ(D().Document(1), nullptr);
}

TEST_F(DocumentLifecycle, TheActiveScriptSetsTheDefaultHeightOfNewBoxes) {
    const QString path = WriteFile(QStringLiteral("short.rys"), kSaved);
    MakeMain();
    DocumentWindow* longOne = Active();
    EXPECT_EQ(D().DefaultDisplayHeight(), kLongBoxHeight);
    Main().Documents().OpenScript(path);
    DocumentWindow* shortOne = Active();
    EXPECT_EQ(D().DefaultDisplayHeight(), kShortBoxHeight);
    EXPECT_TRUE(Menu(QStringLiteral("mnuHeight(0)"))->isChecked());

    Main().MdiArea().setActiveSubWindow(Main().FrameOf(longOne));
    EXPECT_EQ(D().CurrentDocument(), longOne->DocumentIndex());
    EXPECT_EQ(D().DefaultDisplayHeight(), kLongBoxHeight);
    EXPECT_TRUE(Menu(QStringLiteral("mnuHeight(1)"))->isChecked());

    Main().MdiArea().setActiveSubWindow(Main().FrameOf(shortOne));
    EXPECT_EQ(D().CurrentDocument(), shortOne->DocumentIndex());
    EXPECT_EQ(D().DefaultDisplayHeight(), kShortBoxHeight);
}

} // namespace
} // namespace ry::test
