// File > Compare With...: the "Changes" dock lists how the open script differs from another
// version, marks it on the canvas, selects a change's module, and leaves the document as it was.

#include "designer_fixture.h"

#include "app/compare_panel.h"
#include "canvas/change_marks.h"

#include <QListWidget>
#include <QPushButton>
#include <QUndoStack>

namespace ry::test {
namespace {

const QString kExample = QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys");

class ComparePanelTest : public DesignerTest {
protected:
    ComparePanel& Panel() { return *Main().findChild<ComparePanel*>(QStringLiteral("Comparison")); }
    QStringList Rows() {
        QStringList out;
        for (int i = 0; i < Panel().List().count(); ++i)
            out << Panel().List().item(i)->text();
        return out;
    }
};

TEST_F(ComparePanelTest, ListsAndMarksTheChangesAndLeavesTheDocumentAlone) {
    MakeMain();
    // The other version: Sales had another extension, and Main Menu's key 2 went elsewhere.
    QByteArray older = Slurp(kExample);
    older.replace("strXferDestExt=201", "strXferDestExt=200");
    older.replace("on {2} goto [Leave Message]", "on {2} goto [Goodbye]");
    const QString other = WriteFile(QStringLiteral("older.rys"), older);
    DocumentWindow* window = OpenInMain(kExample);
    ASSERT_TRUE(window);
    const QByteArray before = Slurp(kExample);
    const int historyBefore = window->Document().History().count();

    prompter_.files.push_back(other);
    Choose(QStringLiteral("mnuCompare"));
    ASSERT_TRUE(Panel().Comparing());
    EXPECT_TRUE(Panel().isVisible());
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("Main Menu: on 2 → Leave Message, was Goodbye"),
                                   QStringLiteral("Sales: extension 200 → 201")}));

    ChangeMarks* marks = Panel().Marks();
    ASSERT_TRUE(marks);
    EXPECT_EQ(marks->Marks().changedBoxes.size(), 2u);
    EXPECT_EQ(marks->Marks().addedPaths.size(), 1u);
    EXPECT_EQ(marks->Marks().removedPaths.size(), 1u);

    // A row selects its module's box.
    Panel().ShowChange(1);
    const auto selected = window->Document().SelectedModules();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(D().Tables().Module(selected[0]).Title, "Sales");

    Panel().findChild<QPushButton*>(QStringLiteral("cmdCloseComparison"))->click();
    EXPECT_FALSE(Panel().Comparing());
    EXPECT_FALSE(Panel().isVisible());
    for (QGraphicsItem* item : window->Scene().items())
        EXPECT_NE(item->type(), ChangeMarks::Type);
    EXPECT_FALSE(window->Document().Record().Modified);
    EXPECT_EQ(window->Document().History().count(), historyBefore);
    EXPECT_EQ(Slurp(kExample), before);
}

TEST_F(ComparePanelTest, AddedAndRemovedModulesAndEditsComparedAgain) {
    MakeMain();
    QByteArray older = Slurp(kExample);
    older.replace("[Goodbye]\r\nType=Hangup the Call", "[Bye]\r\nType=Hangup the Call");
    const QString other = WriteFile(QStringLiteral("older.rys"), older);
    DocumentWindow* window = OpenInMain(kExample);
    ASSERT_TRUE(window);
    prompter_.files.push_back(other);
    Choose(QStringLiteral("mnuCompare"));
    // "Bye" is no module the paths of the older version name: not a rename.
    EXPECT_TRUE(Rows().contains(QStringLiteral("Goodbye: added (Hangup the Call)")));
    EXPECT_TRUE(Rows().contains(QStringLiteral("Bye: removed (Hangup the Call)")));
    ChangeMarks* marks = Panel().Marks();
    ASSERT_TRUE(marks);
    EXPECT_EQ(marks->Marks().addedBoxes.size(), 1u);
    ASSERT_EQ(marks->Marks().removedBoxes.size(), 1u);
    EXPECT_EQ(marks->Marks().removedBoxes[0].title, QStringLiteral("Bye"));

    // A moved box is compared again: one more line.
    const int rows = Panel().List().count();
    const std::int16_t first = window->Document().Record().FirstModule;
    window->Document().MoveModules({{first, QPoint(300, 0)}});
    EXPECT_EQ(Panel().List().count(), rows + 1);
    EXPECT_EQ(Panel().List().item(rows)->text(), QStringLiteral("1 box moved"));
}

TEST_F(ComparePanelTest, AFileThatDoesNotLoadIsSaidAndNothingIsCompared) {
    MakeMain();
    ASSERT_TRUE(OpenInMain(kExample));
    prompter_.files.push_back(ProgramFolder() + QStringLiteral("/missing.rys"));
    Choose(QStringLiteral("mnuCompare"));
    EXPECT_FALSE(Panel().Comparing());
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_TRUE(prompter_.messages[0].text.contains(QStringLiteral("Could not be compared")));

    // A new script has no saved version.
    Main().Documents().NewScript();
    Choose(QStringLiteral("mnuCompareSaved"));
    EXPECT_FALSE(Panel().Comparing());
    EXPECT_EQ(prompter_.messages.size(), 2u);
}

TEST_F(ComparePanelTest, TheSavedVersionOfTheOpenScript) {
    MakeMain();
    const QString file = WriteFile(QStringLiteral("office.rys"), Slurp(kExample));
    DocumentWindow* window = OpenInMain(file);
    ASSERT_TRUE(window);
    Choose(QStringLiteral("mnuCompareSaved"));
    ASSERT_TRUE(Panel().Comparing());
    EXPECT_EQ(Rows(), QStringList{QStringLiteral("No changes")});
}

} // namespace
} // namespace ry::test
