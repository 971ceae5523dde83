// The shell as a newcomer meets it: the first start's window, the modified mark and the named
// undo steps, and the faults of closing a document with its dialogs and of script properties.

#include "designer_fixture.h"
#include "script_bytes.h"

#include "canvas/box_geometry.h"
#include "canvas/canvas_view.h"
#include "dialogs/module_dialog.h"

#include <QComboBox>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QUndoStack>

#include <functional>

namespace ry::test {
namespace {

class ShellTest : public DesignerTest {
protected:
    QString
    Script(const QString& name,
           const std::vector<std::tuple<const char*, int, int>>& modules = {{"Hello", 20, 20}},
           const char* start = nullptr) {
        return WriteFile(name, ScriptBytes(modules, start));
    }
    QMdiSubWindow* Frame(DocumentWindow* window) { return Main().FrameOf(window); }
    void Restart() {
        ASSERT_TRUE(Main().close());
        main_.reset();
        MakeMain();
    }
    // Opens the dialog of the first box of `window`, as a click on its icon does.
    ModuleDialog* OpenDialog(DocumentWindow* window) {
        Main().BringToFront(window);
        const int box = window->Document().Boxes().front();
        window->DoBoxInfo_Click(box);
        return D().Dialogs().DialogOfModule(window->Document().ModuleOfBox(box));
    }
};

// ---- The first start.

TEST_F(ShellTest, AFirstStartTakesFourFifthsOfTheScreenInItsMiddle) {
    EXPECT_EQ(FirstStartGeometry(QRect(0, 0, 1600, 1000)), QRect(160, 100, 1280, 800));
    EXPECT_EQ(FirstStartGeometry(QRect(0, 40, 1920, 1040)), QRect(192, 144, 1536, 832));

    ASSERT_FALSE(HasStoredWindowPosition());
    MakeMain();
    const QRect expected =
        FirstStartGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    const QRect g = Main().geometry();
    EXPECT_EQ(Main().frameGeometry().topLeft(), expected.topLeft());
    EXPECT_EQ(g.width(), std::max(expected.width(), Main().minimumSizeHint().width()));
    EXPECT_EQ(g.height(), std::max(expected.height(), Main().minimumSizeHint().height()));

    // The docks leave the canvas most of the room.
    auto* overview = Main().findChild<QDockWidget*>(QStringLiteral("Overview"));
    auto* problems = Main().findChild<QDockWidget*>(QStringLiteral("Problems"));
    ASSERT_TRUE(overview && problems);
    EXPECT_LE(overview->width(), g.width() / 3);
    EXPECT_LE(problems->height(), g.height() / 4);

    // Once the window was closed, its place is stored and read with the usual limits.
    Main().setGeometry(30, 40, 700, 500);
    Restart();
    EXPECT_TRUE(HasStoredWindowPosition());
    EXPECT_EQ(Main().geometry().topLeft(), QPoint(30, 40));
    EXPECT_EQ(Main().geometry().width(), 700);
}

TEST_F(ShellTest, DocumentWindowsOpenLargeEnoughToShowTheirBoxes) {
    const QString path = Script(QStringLiteral("wide.rys"), {{"Near", 20, 20}, {"Far", 560, 330}});
    MakeMain();
    QCoreApplication::processEvents();
    // The first script of the start fills most of the area.
    QSize area = Main().MdiArea().viewport()->size();
    EXPECT_GE(Frame(Active())->width(), area.width() * 3 / 4);
    EXPECT_GE(Frame(Active())->height(), area.height() * 3 / 4);

    Main().resize(1300, 900);
    QCoreApplication::processEvents();
    area = Main().MdiArea().viewport()->size();
    Main().Documents().OpenScript(path);
    ASSERT_EQ(Active()->Caption(), path);
    QCoreApplication::processEvents();
    // From Near's top-left corner to Far's bottom-right one.
    const QRectF boxes(QPointF(20, 20), QPointF(560 + kBoxWidth, 330 + kLongBoxHeight));
    const QRectF shown = Active()->View().VisibleArea();
    EXPECT_TRUE(shown.contains(boxes)) << shown.width() << "x" << shown.height();
    EXPECT_LE(Frame(Active())->width(), area.width());
    EXPECT_LE(Frame(Active())->height(), area.height());

    // An area smaller than 400x300 (a small screen at scale 2) still holds the whole frame,
    // its buttons included.
    Main().resize(560, 420);
    QCoreApplication::processEvents();
    area = Main().MdiArea().viewport()->size();
    ASSERT_LT(area.width(), 400);
    const QString other = Script(QStringLiteral("other.rys"), {{"Far", 560, 330}});
    Main().Documents().OpenScript(other);
    ASSERT_EQ(Active()->Caption(), other);
    QCoreApplication::processEvents();
    EXPECT_LE(Frame(Active())->width(), area.width());
    EXPECT_LE(Frame(Active())->height(), area.height());
}

// ---- The modified mark and the named steps.

TEST_F(ShellTest, AModifiedScriptShowsTheMarkInItsCaptionAndTheMainTitle) {
    const QString path = Script(QStringLiteral("marked.rys"));
    MakeMain();
    DocumentWindow* first = Active();
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Ryvane Script 1[*]"));
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ryvane[*]"));
    EXPECT_FALSE(first->isWindowModified());
    EXPECT_FALSE(Main().isWindowModified());

    Doc().MoveModules({{Doc().ModuleOfBox(1), QPoint(200, 200)}});
    EXPECT_TRUE(first->isWindowModified());
    EXPECT_TRUE(Frame(first)->isWindowModified());
    EXPECT_TRUE(Main().isWindowModified());

    // The main title follows the active script.
    Main().Documents().OpenScript(path);
    DocumentWindow* second = Active();
    EXPECT_EQ(second->Caption(), path);
    EXPECT_FALSE(second->isWindowModified());
    EXPECT_FALSE(Main().isWindowModified());
    Main().BringToFront(first);
    EXPECT_TRUE(Main().isWindowModified());

    // Undone back to how it was: no mark.
    Choose(QStringLiteral("mnuUndo"));
    EXPECT_FALSE(first->isWindowModified());
    EXPECT_FALSE(Frame(first)->isWindowModified());
    EXPECT_FALSE(Main().isWindowModified());

    // A "[*]" in a caption is the caption's own text, not the mark.
    first->SetCaption(QStringLiteral("a [*] b"));
    EXPECT_EQ(first->Caption(), QStringLiteral("a [*] b"));
    EXPECT_EQ(first->windowTitle(), QStringLiteral("a [*][*] b[*]"));
}

TEST_F(ShellTest, TheMainTitleMarksTheActiveScriptAfterAnotherCloses) {
    MakeMain();
    DocumentWindow* first = Active();
    Doc().MoveModules({{Doc().ModuleOfBox(1), QPoint(200, 200)}});
    Main().NewScript();
    ASSERT_NE(Active(), first);
    EXPECT_FALSE(Main().isWindowModified());
    Choose(QStringLiteral("mnuFile(2)")); // Close
    QCoreApplication::processEvents();
    ASSERT_EQ(Active(), first);
    EXPECT_TRUE(Main().isWindowModified());
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ryvane[*]"));
}

TEST_F(ShellTest, UndoAndRedoNameTheirStep) {
    MakeMain();
    QAction* undo = Menu(QStringLiteral("mnuUndo"));
    QAction* redo = Menu(QStringLiteral("mnuRedo"));
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo"));
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo"));

    Doc().MoveModules({{Doc().ModuleOfBox(1), QPoint(200, 200)}});
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Move Modules"));
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo"));
    Doc().RenameModule(Doc().ModuleOfBox(1), QStringLiteral("Q&A"));
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Rename"));

    undo->trigger();
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Move Modules"));
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo Rename"));
    undo->trigger();
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo Move Modules"));
}

// ---- Closing.

TEST_F(ShellTest, ClosingADocumentClosesOnlyItsDialogsAndOnlyWhenItCloses) {
    MakeMain();
    DocumentWindow* first = Active();
    Main().NewScript();
    DocumentWindow* second = Active();
    ModuleDialog* ofFirst = OpenDialog(first);
    ModuleDialog* ofSecond = OpenDialog(second);
    ASSERT_TRUE(ofFirst && ofSecond);
    ASSERT_EQ(D().Dialogs().OpenCount(), 2);
    // Opening a dialog is no change; an edit is.
    EXPECT_FALSE(first->Document().Record().Modified);
    first->Document().MoveModules(
        {{first->Document().ModuleOfBox(first->Document().Boxes().front()), QPoint(300, 300)}});
    ASSERT_TRUE(first->Document().Record().Modified);

    // Cancel at the script's question: both dialogs stay.
    Main().BringToFront(first);
    prompter_.answers = {MessageAnswer::Cancel};
    Choose(QStringLiteral("mnuFile(2)"));
    EXPECT_EQ(Windows().size(), 2u);
    EXPECT_EQ(D().Dialogs().OpenCount(), 2);

    // Unapplied edits: Yes applies them before the script's question; a Cancel there keeps
    // the dialog open with its edits applied.
    ofFirst->findChild<QLineEdit*>(QStringLiteral("txtModTitle"))->setText(QStringLiteral("Hi"));
    prompter_.messages.clear();
    prompter_.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    Choose(QStringLiteral("mnuFile(2)"));
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_EQ(prompter_.messages[0].text, QStringLiteral("Save changes to the module?"));
    EXPECT_EQ(D().Dialogs().DialogOfModule(ofFirst->ModuleIndex()), ofFirst);
    EXPECT_FALSE(ofFirst->IsDirty());
    EXPECT_EQ(first->Document().Module(ofFirst->ModuleIndex()).Title, "Hi");

    // The close goes ahead: its own dialog goes, the other script's stays.
    prompter_.answers = {MessageAnswer::No};
    Choose(QStringLiteral("mnuFile(2)"));
    EXPECT_EQ(Windows(), std::vector<DocumentWindow*>{second});
    EXPECT_EQ(D().Dialogs().OpenCount(), 1);
    EXPECT_EQ(D().Dialogs().DialogOfModule(ofSecond->ModuleIndex()), ofSecond);
}

// ---- The script's properties and the toolbar.

TEST_F(ShellTest, ScriptPropertiesShowTheStartTheLoaderChoseAndKeepIt) {
    // "p1" names P1 as the loader reads it: letter case does not count.
    const QString path =
        Script(QStringLiteral("start.rys"), {{"Intro", 20, 20}, {"P1", 220, 20}}, "p1");
    MakeMain();
    Main().Documents().OpenScript(path);
    ASSERT_EQ(Doc().Record().StartModule, "p1");
    auto properties = [this](const std::function<void(QDialog&)>& fill) {
        prompter_.dialogs.push_back([fill](QDialog& dialog) {
            fill(dialog);
            dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            return dialog.result();
        });
        Choose(QStringLiteral("mnuEdit(4)"));
    };
    QString chosen;
    properties([&](QDialog& dialog) {
        chosen = dialog.findChild<QComboBox*>(QStringLiteral("cmbStartModule"))->currentText();
    });
    EXPECT_EQ(chosen, QStringLiteral("P1"));
    EXPECT_EQ(Doc().Record().StartModule, "p1"); // as the file has it, never empty

    properties([](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("cmbStartModule"))->setCurrentIndex(0);
    });
    EXPECT_EQ(Doc().Record().StartModule, "Intro");
}

TEST_F(ShellTest, ViewToolbarShowsTheToolbarAsRestored) {
    MakeMain();
    QAction* item = Menu(QStringLiteral("mnuView(0)"));
    auto* toolbar = Main().findChild<QToolBar*>(QStringLiteral("pictToolBar"));
    ASSERT_TRUE(toolbar);
    ASSERT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(toolbar->isHidden());

    Restart();
    item = Menu(QStringLiteral("mnuView(0)"));
    toolbar = Main().findChild<QToolBar*>(QStringLiteral("pictToolBar"));
    EXPECT_TRUE(toolbar->isHidden());
    EXPECT_FALSE(item->isChecked());
    // One click shows it again.
    item->trigger();
    EXPECT_FALSE(toolbar->isHidden());
    EXPECT_TRUE(item->isChecked());
}

} // namespace
} // namespace ry::test
