// The open documents' life through the shell: the questions of closing them all, saving all,
// the recent files, and what a new script starts with.

#include "designer_fixture.h"
#include "script_bytes.h"

#include "base/registry.h"

namespace ry::test {
namespace {

class DocumentLife : public DesignerTest {
protected:
    QString Script(const QString& name) {
        return WriteFile(name, ScriptBytes({{"Hello", 20, 20}}));
    }
};

TEST_F(DocumentLife, ExitAsksEveryQuestionBeforeClosingAnythingAndACancelClosesNothing) {
    MakeMain();
    Main().NewScript();
    Doc().MarkModified();
    Main().NewScript();
    Doc().MarkModified();
    ASSERT_EQ(Windows().size(), 3u);

    // The first script is unmodified, the second answered No, the third Cancel.
    prompter_.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    EXPECT_FALSE(Main().close());
    EXPECT_EQ(prompter_.messages.size(), 2u);
    ASSERT_EQ(Windows().size(), 3u);
    EXPECT_TRUE(Windows()[1]->Document().Record().Modified);
    EXPECT_FALSE(HasStoredWindowPosition());

    prompter_.messages.clear();
    prompter_.answers = {MessageAnswer::No, MessageAnswer::No};
    EXPECT_TRUE(Main().close());
    EXPECT_EQ(prompter_.messages.size(), 2u);
    EXPECT_TRUE(Windows().empty());
}

TEST_F(DocumentLife, SaveAllSavesEveryModifiedScriptHoweverManyAreOpen) {
    MakeMain();
    Active()->Discard();
    for (int i = 1; i <= 30; ++i) {
        Main().Documents().OpenScript(Script(QStringLiteral("s%1.rys").arg(i)));
        Doc().MarkModified();
    }
    ASSERT_EQ(Windows().size(), 30u);
    Choose(QStringLiteral("mnuFile(8)"));
    int modified = 0;
    for (DocumentWindow* window : Windows())
        modified += window->Document().Record().Modified ? 1 : 0;
    EXPECT_EQ(modified, 0);
    EXPECT_TRUE(prompter_.fileRequests.empty());
}

TEST_F(DocumentLife, ARecentFileListWithAHoleOpensWhatEachEntryShows) {
    const QString a = Script(QStringLiteral("a.rys"));
    const QString b = Script(QStringLiteral("b.rys"));
    const QString c = Script(QStringLiteral("c.rys"));
    {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser,
                         QStringLiteral("Software\\Cordaxa\\Ryvane\\Recent File List"), true);
        registry.WriteValue(QStringLiteral("File1"), a);
        registry.WriteValue(QStringLiteral("File2"), QString());
        registry.WriteValue(QStringLiteral("File3"), b);
    }
    MakeMain();
    auto shown = [this] {
        QStringList out;
        for (int n = 1; n <= RecentFiles::kCount; ++n)
            if (QAction* entry = Menu(QStringLiteral("mnuRecent(%1)").arg(n)); entry->isVisible())
                out << entry->text();
        return out;
    };
    EXPECT_EQ(shown(), QStringList({QStringLiteral("&1 ") + a, QStringLiteral("&3 ") + b}));

    // A new entry moves the hole along: the place it leaves shows nothing stale.
    Main().Documents().OpenScript(c);
    EXPECT_EQ(shown(), QStringList({QStringLiteral("&1 ") + c, QStringLiteral("&2 ") + a,
                                    QStringLiteral("&4 ") + b}));
    Choose(QStringLiteral("mnuRecent(4)"));
    EXPECT_EQ(Active()->Caption(), b);
    EXPECT_EQ(Windows().size(), 3u);
    EXPECT_EQ(shown().filter(b).size(), 1);
}

TEST_F(DocumentLife, ANewScriptStartsWithoutTheLastScriptsStartWithoutAnswer) {
    MakeMain();
    Doc().SetScriptProperties(QStringLiteral("Play 1"), QString(), true);
    ASSERT_TRUE(Doc().Record().StartWithoutAnswer);
    prompter_.answers = {MessageAnswer::No};
    Choose(QStringLiteral("mnuFile(2)"));
    ASSERT_TRUE(Windows().empty());
    Choose(QStringLiteral("mnuFile(0)"));
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_FALSE(Doc().Record().StartWithoutAnswer);
}

} // namespace
} // namespace ry::test
