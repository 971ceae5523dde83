// The main window's menus and the commands behind them.

#include "designer_fixture.h"
#include "recording_host.h"

#include "app/more_windows_dialog.h"
#include "base/help_topics.h"
#include "base/help_window.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/box_item.h"
#include "canvas/canvas_view.h"
#include "script/loader.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>

namespace ry::test {
namespace {

using MainWindowTest = DesignerTest;

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts) {
    MakeMain();
    struct Entry {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const Entry entries[] = {
        {"mnuTop(0)", "&File", {}},
        {"mnuFile(0)", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuFile(1)", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuFile(2)", "&Close", {}},
        {"mnuFile(4)", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"mnuFile(6)", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuFile(7)", "Save &As...", {}},
        {"mnuFile(8)", "Save A&ll", {}},
        {"mnuExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"mnuTop(1)", "&Edit", {}},
        {"mnuFind(0)", "&Find module", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"mnuEdit(0)", "&Copy module", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"mnuEdit(1)", "&Paste module", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"mnuEdit(2)", "&Delete module", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"mnuEdit(4)", "Script Proper&ties", QKeySequence(Qt::CTRL | Qt::Key_T)},
        {"mnuEdit(5)", "P&BX Command Strings", QKeySequence(Qt::CTRL | Qt::Key_B)},
        {"mnuTop(2)", "&View", {}},
        {"mnuView(1)", "&Status Bar", {}},
        {"mnuView(2)", "Module &Height", {}},
        {"mnuHeight(0)", "&Short", {}},
        {"mnuHeight(1)", "&Long", {}},
        {"mnuTop(3)", "&Window", {}},
        {"mnuWindow(0)", "&Cascade", {}},
        {"mnuWindow(1)", "Tile &Horizontal", {}},
        {"mnuWindow(2)", "Tile &Vertical", {}},
        {"mnuWindow(3)", "Arrange &Icons", {}},
        {"mnuTop(4)", "&Help", {}},
        {"mnuHelp(0)", "&Contents", QKeySequence(Qt::Key_F1)},
        {"mnuHelp(1)", "&Search For Help On...", {}},
        {"mnuHelp(3)", "&About Ryvane", {}},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        QAction* action = Menu(QLatin1String(e.name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->objectName(), QLatin1String(e.name));
        EXPECT_EQ(action->text(), QLatin1String(e.caption));
        EXPECT_EQ(action->shortcut(), e.shortcut);
        EXPECT_TRUE(action->isVisible());
    }
    for (const char* separator : {"mnuFile(3)", "mnuFile(5)", "mnuRecent(0)", "mnuRecent(11)",
                                  "mnuFind(1)", "mnuEdit(3)", "mnuWindow(4)", "mnuHelp(2)"})
        EXPECT_TRUE(Menu(QLatin1String(separator))->isSeparator()) << separator;
    // Lists that fill at run time start hidden.
    for (int n = 1; n <= 9; ++n)
        EXPECT_FALSE(Menu(QStringLiteral("mnuRecent(%1)").arg(n))->isVisible()) << n;
    EXPECT_TRUE(Menu(QStringLiteral("mnuWindList(1)"))->isVisible());
    EXPECT_FALSE(Menu(QStringLiteral("mnuWindList(2)"))->isVisible());
}

TEST_F(MainWindowTest, TheStatusBarShowsStatusTextAndHidesFromTheViewMenu) {
    MakeMain();
    D().ShowStatusText(QStringLiteral("Displaying Module 4"));
    auto* panel = Main().statusBar()->findChild<QLabel*>(QStringLiteral("sbStatusBar(1)"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), QStringLiteral("Displaying Module 4"));
    QAction* item = Menu(QStringLiteral("mnuView(1)"));
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(Main().statusBar()->isVisible());
    item->trigger();
    EXPECT_TRUE(Main().statusBar()->isVisible());
}

TEST_F(MainWindowTest, TheWindowListNamesTheFirstNineWindowsAndBringsTheChosenOneForward) {
    // A caption that holds another window's caption, as "x.rys.bak" holds "x.rys": each entry
    // brings its own window forward.
    const QByteArray script = QByteArrayLiteral("Version=5.0\r\n\r\n[A]\r\nType=Play\r\n");
    const QString plain = WriteFile(QStringLiteral("x.rys"), script);
    const QString longer = WriteFile(QStringLiteral("x.rys.bak"), script);
    MakeMain();
    Main().Documents().OpenScript(plain);
    Main().Documents().OpenScript(longer);
    for (int i = 0; i < 8; ++i)
        Main().NewScript();
    ASSERT_EQ(Windows().size(), 11u);

    QStringList shown;
    for (int n = 1; n <= 9; ++n) {
        QAction* entry = Menu(QStringLiteral("mnuWindList(%1)").arg(n));
        ASSERT_TRUE(entry->isVisible()) << n;
        shown << entry->text();
    }
    EXPECT_EQ(shown[0], QStringLiteral("&1 Ryvane Script 1"));
    EXPECT_EQ(shown[1], QStringLiteral("&2 ") + plain);
    EXPECT_EQ(shown[2], QStringLiteral("&3 ") + longer);
    EXPECT_EQ(shown[8], QStringLiteral("&9 Ryvane Script 9"));

    Choose(QStringLiteral("mnuWindList(3)"));
    EXPECT_EQ(Active()->Caption(), longer);
    Choose(QStringLiteral("mnuWindList(2)"));
    EXPECT_EQ(Active()->Caption(), plain);
    EXPECT_EQ(D().CurrentDocument(), 2);

    // Closing a window shortens the list.
    Choose(QStringLiteral("mnuFile(2)"));
    EXPECT_EQ(Menu(QStringLiteral("mnuWindList(2)"))->text(), QStringLiteral("&2 ") + longer);
    EXPECT_TRUE(Menu(QStringLiteral("mnuWindList(9)"))->isVisible());
}

// Documents past the ninth are reached through More Windows…, which lists every one.
TEST_F(MainWindowTest, MoreWindowsReachesEveryDocumentPastTheNinth) {
    MakeMain();
    for (int i = 0; i < 8; ++i)
        Main().NewScript();
    ASSERT_EQ(Windows().size(), 9u);
    EXPECT_FALSE(Menu(QStringLiteral("mnuWindMore"))->isVisible());
    Main().NewScript();
    Main().NewScript();
    ASSERT_EQ(Windows().size(), 11u);
    QAction* more = Menu(QStringLiteral("mnuWindMore"));
    EXPECT_TRUE(more->isVisible());
    EXPECT_EQ(more->text(), QStringLiteral("&More Windows…"));

    struct Case {
        const char* name;
        int row; // -1: Cancel
        QString active;
    };
    const Case cases[] = {
        {"the tenth", 9, QStringLiteral("Ryvane Script 10")},
        {"cancel", -1, QStringLiteral("Ryvane Script 10")},
        {"the first", 0, QStringLiteral("Ryvane Script 1")},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        QStringList listed;
        QString current;
        prompter_.dialogs.push_back([&](QDialog& dialog) {
            auto& more = dynamic_cast<MoreWindowsDialog&>(dialog);
            for (int row = 0; row < more.List().count(); ++row)
                listed << more.List().item(row)->text();
            current = more.List().currentItem()->text();
            if (tc.row < 0)
                return static_cast<int>(QDialog::Rejected);
            more.List().setCurrentRow(tc.row);
            return static_cast<int>(QDialog::Accepted);
        });
        const QString before = Active()->Caption();
        more->trigger();
        ASSERT_EQ(listed.size(), 11);
        EXPECT_EQ(listed[10], QStringLiteral("Ryvane Script 11"));
        EXPECT_EQ(current, before) << "the active document is chosen at the start";
        EXPECT_EQ(Active()->Caption(), tc.active);
    }

    // Back to nine documents, the menu lists them all and needs no dialog.
    Choose(QStringLiteral("mnuFile(2)"));
    Choose(QStringLiteral("mnuFile(2)"));
    EXPECT_FALSE(more->isVisible());
}

TEST_F(MainWindowTest, AfterAWindowClosesTheWindowInTheLowestSlotIsActive) {
    MakeMain();
    Main().NewScript();
    Main().NewScript();
    Main().BringToFront(Windows()[1]);
    Choose(QStringLiteral("mnuFile(2)"));
    QCoreApplication::processEvents();
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_EQ(Active(), Windows()[0]);
    EXPECT_EQ(D().CurrentDocument(), 1);
}

TEST_F(MainWindowTest, RecentFilesComeFirstWithoutRepeatsAndTheNinthDropsOut) {
    MakeMain();
    QStringList paths;
    for (int i = 1; i <= 10; ++i)
        paths << folder_.filePath(QStringLiteral("s%1.rys").arg(i));
    for (int i = 0; i < 9; ++i)
        D().Recent().Add(paths[i]);
    // s9 .. s1; adding the one at position 4 (s6) moves it to the front.
    D().Recent().Add(paths[5]);
    QStringList expected{paths[5], paths[8], paths[7], paths[6], paths[4],
                         paths[3], paths[2], paths[1], paths[0]};
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(D().Recent().At(n), expected[n - 1]) << n;
    // A tenth path pushes out the last.
    D().Recent().Add(paths[9]);
    expected.prepend(paths[9]);
    expected.removeLast();
    // The same path in other letters is another entry.
    const QString upper = paths[9].toUpper();
    D().Recent().Add(upper);
    expected.prepend(upper);
    expected.removeLast();
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(D().Recent().At(n), expected[n - 1]) << n;
        QAction* entry = Menu(QStringLiteral("mnuRecent(%1)").arg(n));
        EXPECT_TRUE(entry->isVisible());
        EXPECT_EQ(entry->text(), QStringLiteral("&%1 %2").arg(n).arg(expected[n - 1]));
    }

    // The next start reads the list from the registry.
    TearDown();
    MakeMain();
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(Menu(QStringLiteral("mnuRecent(%1)").arg(n))->text(),
                  QStringLiteral("&%1 %2").arg(n).arg(expected[n - 1]));
}

TEST_F(MainWindowTest, ARecentEntryOpensItsScriptAndEmptyPositionsStayHidden) {
    const QString path =
        WriteFile(QStringLiteral("front.rys"),
                  QByteArrayLiteral("Version=5.0\r\n\r\n[Front]\r\nType=Play\r\n"));
    MakeMain();
    D().Recent().Add(path);
    EXPECT_TRUE(Menu(QStringLiteral("mnuRecent(1)"))->isVisible());
    EXPECT_FALSE(Menu(QStringLiteral("mnuRecent(2)"))->isVisible());
    Choose(QStringLiteral("mnuRecent(1)"));
    EXPECT_EQ(Active()->Caption(), path);
    EXPECT_EQ(Titles(), QStringList{QStringLiteral("Front")});
}

TEST_F(MainWindowTest, OpenAsksForAScriptAndCancelDoesNothing) {
    const QString path = WriteFile(QStringLiteral("Scripts/desk.rys"),
                                   QByteArrayLiteral("Version=5.0\r\n\r\n[Desk]\r\nType=Play\r\n"));
    MakeMain();
    Choose(QStringLiteral("mnuFile(1)"));
    ASSERT_EQ(prompter_.fileRequests.size(), 1u);
    EXPECT_EQ(prompter_.fileRequests[0].title, QStringLiteral("Select Ryvane Script"));
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_EQ(D().Recent().At(1), QString());

    prompter_.files = {path};
    Choose(QStringLiteral("mnuFile(1)"));
    EXPECT_EQ(Active()->Caption(), path);
}

// Saves the active script under a new name, closes it and opens the file again.
TEST_F(MainWindowTest, SaveAsWritesTheScriptThatOpensAgainAsItWas) {
    MakeMain();
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    ScriptDocument& doc = Doc();
    // A change that only the canvas knows: a box moved.
    doc.MoveModules({{doc.ModuleOfBox(2), {77, 190}}});
    const QStringList titles = Titles();
    std::vector<std::pair<QPoint, int>> boxes;
    for (int box : doc.Boxes()) {
        const ModuleRecord& m = doc.Module(doc.ModuleOfBox(box));
        boxes.emplace_back(QPoint(m.PositionX, m.PositionY), doc.BoxHeight(box));
    }
    const QString copy = folder_.filePath(QStringLiteral("copy.rys"));
    prompter_.files = {copy};

    Choose(QStringLiteral("mnuFile(7)"));

    ASSERT_EQ(prompter_.fileRequests.size(), 1u);
    EXPECT_EQ(prompter_.fileRequests[0].kind, FileRequest::Save);
    EXPECT_EQ(prompter_.fileRequests[0].title, QStringLiteral("Save Script File"));
    EXPECT_EQ(Active()->Caption(), copy);
    EXPECT_EQ(Menu(QStringLiteral("mnuWindList(2)"))->text(), QStringLiteral("&2 ") + copy);
    EXPECT_EQ(D().Recent().At(1), copy);
    EXPECT_FALSE(Doc().Record().Modified);
    EXPECT_EQ(ToQt(Doc().Record().FileName), copy);

    Choose(QStringLiteral("mnuFile(2)"));
    EXPECT_TRUE(prompter_.messages.empty()) << "a saved script closes without a question";
    Main().Documents().OpenScript(copy);
    EXPECT_EQ(Titles(), titles);
    std::vector<std::pair<QPoint, int>> reopened;
    for (int box : Doc().Boxes()) {
        const ModuleRecord& m = Doc().Module(Doc().ModuleOfBox(box));
        reopened.emplace_back(QPoint(m.PositionX, m.PositionY), Doc().BoxHeight(box));
    }
    EXPECT_EQ(reopened, boxes);
}

TEST_F(MainWindowTest, SavingANewScriptAsksForItsNameAndCancelSavesNothing) {
    ASSERT_TRUE(QDir().mkpath(ProgramFolder() + QStringLiteral("/Scripts")));
    MakeMain();
    Doc().MarkModified();
    Choose(QStringLiteral("mnuFile(6)"));
    ASSERT_EQ(prompter_.fileRequests.size(), 1u);
    EXPECT_EQ(prompter_.fileRequests[0].folder, ProgramFolder() + QStringLiteral("/Scripts"));
    EXPECT_TRUE(Doc().Record().Modified);
    EXPECT_EQ(Active()->Caption(), QStringLiteral("Ryvane Script 1"));
    EXPECT_EQ(D().Recent().At(1), QString());

    const QString path = folder_.filePath(QStringLiteral("new.rys"));
    prompter_.files = {path};
    Choose(QStringLiteral("mnuFile(6)"));
    EXPECT_FALSE(Doc().Record().Modified);
    EXPECT_EQ(Active()->Caption(), path);
    EXPECT_EQ(Menu(QStringLiteral("mnuWindList(1)"))->text(), QStringLiteral("&1 ") + path);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(MainWindowTest, SaveAllSavesEveryOpenScript) {
    const QString path = WriteFile(QStringLiteral("kept.rys"),
                                   QByteArrayLiteral("Version=5.0\r\n\r\n[Kept]\r\nType=Play\r\n"));
    MakeMain();
    Main().Documents().OpenScript(path);
    Doc().MarkModified();
    Main().NewScript();
    Main().BringToFront(Windows()[0]);
    Choose(QStringLiteral("mnuFile(2)")); // slot 1 becomes empty
    const QString named = folder_.filePath(QStringLiteral("named.rys"));
    prompter_.files = {named};

    Choose(QStringLiteral("mnuFile(8)"));

    // Only the never-saved script asked for a name.
    ASSERT_EQ(prompter_.fileRequests.size(), 1u);
    for (DocumentWindow* window : Windows())
        EXPECT_FALSE(window->Document().Record().Modified) << window->Caption().toStdString();
    EXPECT_TRUE(QFileInfo::exists(named));
    EXPECT_EQ(Windows()[1]->Caption(), named);
    ScriptTables check;
    RecordingHost host;
    EXPECT_GE(RysScriptLoad(check, host, FromQt(path)), 1);
}

// Selects the module titled `title` in the active document as its only selected box.
void SelectOnly(ScriptDocument& doc, const std::string& title) {
    for (int box : doc.Boxes())
        if (doc.Module(doc.ModuleOfBox(box)).Title == title) {
            doc.SelectOnlyBox(box);
            return;
        }
    ADD_FAILURE() << "no module " << title;
}

TEST_F(MainWindowTest, PasteCopiesTheModuleAndNumbersItsTitle) {
    MakeMain();
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    ScriptDocument& doc = Doc();
    doc.Record().Modified = false;
    SelectOnly(doc, "Main Menu");
    const ModuleRecord original = doc.Module(doc.ModuleOfBox(doc.CurrentBox()));
    Choose(QStringLiteral("mnuEdit(0)"));
    ASSERT_TRUE(D().ModuleClipboard().has_value());

    Choose(QStringLiteral("mnuEdit(1)"));

    const int box = doc.CurrentBox();
    const std::int16_t k = doc.ModuleOfBox(box);
    const ModuleRecord& pasted = doc.Module(k);
    EXPECT_EQ(pasted.Title, "Main Menu_" + std::to_string(k));
    EXPECT_EQ(pasted.Type, original.Type);
    EXPECT_EQ(pasted.PathText, original.PathText);
    EXPECT_EQ(pasted.PlayFileSlot(1), original.PlayFileSlot(1));
    EXPECT_EQ(pasted.ScriptIndex, doc.Script());
    EXPECT_EQ(doc.Record().LastModule, k);
    EXPECT_EQ(pasted.NextModule, -1);
    EXPECT_TRUE(doc.Record().Modified);
    // The copy lands near the middle of what the window shows (the pointer is not over the
    // canvas), on the nearest spot where it covers no box.
    const QPoint centre = Active()->View().VisibleCentre();
    const QRect copy(pasted.PositionX, pasted.PositionY, kBoxWidth, doc.BoxHeight(box));
    EXPECT_LE((copy.center() - centre).manhattanLength(), 250);
    for (int other : doc.Boxes()) {
        const ModuleRecord& m = doc.Module(doc.ModuleOfBox(other));
        if (other != box) {
            EXPECT_FALSE(
                copy.intersects(QRect(m.PositionX, m.PositionY, kBoxWidth, doc.BoxHeight(other))))
                << m.Title;
        }
    }

    // A copy of the copy: the number after the "_" is replaced, not added to.
    Choose(QStringLiteral("mnuEdit(0)"));
    Choose(QStringLiteral("mnuEdit(1)"));
    const std::int16_t k2 = doc.ModuleOfBox(doc.CurrentBox());
    const ModuleRecord& again = doc.Module(k2);
    EXPECT_EQ(again.Title, "Main Menu_" + std::to_string(k2));
    // It does not hide the first copy.
    EXPECT_NE(QPoint(again.PositionX, again.PositionY), QPoint(pasted.PositionX, pasted.PositionY));
}

TEST_F(MainWindowTest, PastedTitles) {
    struct Case {
        std::string title;
        std::string pasted; // with # for the new record's number
    };
    const Case cases[] = {
        {"Menu", "Menu_#"},
        {"Menu_12", "Menu_#"},        // "_" among the last four characters
        {"Menu_123", "Menu_#"},       // still among them
        {"Menu_1234", "Menu_1234_#"}, // before them
        {"A_b", "A_#"},               // a short title: every character is among the last four
        {"_", "_#"},
        {"Sales_Desk", "Sales_Desk_#"},
    };
    MakeMain();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ModuleRecord record;
        record.Type = "Play";
        record.Title = c.title;
        const int box = Doc().PasteModule(record, {300, 300});
        const std::int16_t k = Doc().ModuleOfBox(box);
        std::string expected = c.pasted;
        expected.replace(expected.find('#'), 1, std::to_string(k));
        EXPECT_EQ(Doc().Module(k).Title, expected);
    }
}

TEST_F(MainWindowTest, DeleteRefusesToLeaveTheScriptWithoutAModule) {
    MakeMain();
    const QString refusal =
        QStringLiteral("Delete Module Error:\r\nThere must be at least one module in the script");
    // The only module.
    Doc().SelectOnlyBox(1);
    Choose(QStringLiteral("mnuEdit(2)"));
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text, refusal);
    EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(Doc().Boxes().size(), 1u);

    // Every module of a larger script.
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    for (int box : Doc().Boxes())
        Doc().SelectBox(box);
    Choose(QStringLiteral("mnuEdit(2)"));
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_EQ(prompter_.messages[1].text, refusal);
    EXPECT_EQ(Doc().Boxes().size(), 7u);
    EXPECT_FALSE(Doc().Record().Modified);
}

TEST_F(MainWindowTest, DeleteRemovesTheSelectedModulesAndMovesTheStart) {
    MakeMain();
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    ScriptDocument& doc = Doc();
    const auto freeBefore = D().Tables().MemStructRym_FreeCount();
    SelectOnly(doc, "Greeting"); // the start module, first in the chain
    const int greeting = doc.CurrentBox();
    int goodbye = 0;
    for (int box : doc.Boxes())
        if (doc.Module(doc.ModuleOfBox(box)).Title == "Goodbye") // the last in the chain
            goodbye = box;
    doc.SelectBox(goodbye);

    Choose(QStringLiteral("mnuEdit(2)"));

    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_EQ(Titles(),
              QStringList({"Office Hours", "Main Menu", "Sales", "After Hours", "Leave Message"}));
    const ScriptRecord& s = doc.Record();
    EXPECT_EQ(s.ModuleCount, 5);
    EXPECT_EQ(s.StartModule, "Office Hours");
    EXPECT_EQ(doc.Module(s.LastModule).Title, "Leave Message");
    EXPECT_EQ(doc.Boxes().size(), 5u);
    EXPECT_EQ(Active()->Scene().Item(greeting), nullptr);
    EXPECT_EQ(Active()->Scene().Item(goodbye), nullptr);
    EXPECT_TRUE(s.Modified);
    EXPECT_EQ(D().Tables().MemStructRym_FreeCount(), freeBefore + 2);
    // Paths that named them stay in the texts.
    EXPECT_NE(doc.Module(s.FirstModule).PathText.find("[Main Menu]"), std::string::npos);
}

TEST_F(MainWindowTest, ModuleHeightSetsNewBoxesAndTheSelectedOnes) {
    MakeMain();
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    ScriptDocument& doc = Doc();
    doc.Record().Modified = false;
    SelectOnly(doc, "Sales");
    const int sales = doc.CurrentBox();

    Choose(QStringLiteral("mnuHeight(0)"));

    EXPECT_EQ(D().DefaultDisplayHeight(), kShortBoxHeight);
    EXPECT_TRUE(Menu(QStringLiteral("mnuHeight(0)"))->isChecked());
    EXPECT_FALSE(Menu(QStringLiteral("mnuHeight(1)"))->isChecked());
    EXPECT_EQ(doc.BoxHeight(sales), kShortBoxHeight);
    EXPECT_EQ(doc.Module(doc.ModuleOfBox(sales)).DispSize, kShortBoxHeight);
    EXPECT_EQ(Active()->Scene().Item(sales)->boundingRect().height(), kShortBoxHeight);
    EXPECT_EQ(doc.BoxHeight(1), kLongBoxHeight);
    EXPECT_TRUE(doc.Record().Modified);
    D().SetCurrentTool(QStringLiteral("Record"));
    const int placed = doc.PlaceModule({500, 600});
    EXPECT_EQ(doc.BoxHeight(placed), kShortBoxHeight);

    Choose(QStringLiteral("mnuHeight(1)"));
    EXPECT_EQ(doc.BoxHeight(placed), kLongBoxHeight);
    EXPECT_EQ(doc.BoxHeight(sales), kShortBoxHeight) << "no longer selected";
    EXPECT_TRUE(Menu(QStringLiteral("mnuHeight(1)"))->isChecked());
}

TEST_F(MainWindowTest, PrintWritesTheCanvasToAPdfFile) {
    MakeMain();
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    const QString pdf = folder_.filePath(QStringLiteral("office.pdf"));

    // Cancelled: nothing printed.
    Choose(QStringLiteral("mnuFile(4)"));
    EXPECT_FALSE(QFileInfo::exists(pdf));

    prompter_.dialogs.push_back([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(print, nullptr);
        if (!print)
            return int(QDialog::Rejected);
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    });
    Choose(QStringLiteral("mnuFile(4)"));

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 2000); // boxes, text and icons, not an empty page
}

TEST_F(MainWindowTest, TileHorizontalStacksTheWindowsAndTileVerticalSetsThemSideBySide) {
    MakeMain();
    Main().resize(900, 700);
    Main().NewScript();
    QMdiArea& area = Main().MdiArea();
    const QRect inside = area.viewport()->rect();

    Choose(QStringLiteral("mnuWindow(1)"));
    QList<QMdiSubWindow*> frames = area.subWindowList();
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0]->geometry(), QRect(0, 0, inside.width(), inside.height() / 2));
    EXPECT_EQ(frames[1]->geometry().top(), inside.height() / 2);
    EXPECT_EQ(frames[1]->geometry().width(), inside.width());

    Choose(QStringLiteral("mnuWindow(2)"));
    EXPECT_EQ(frames[0]->geometry(), QRect(0, 0, inside.width() / 2, inside.height()));
    EXPECT_EQ(frames[1]->geometry().left(), inside.width() / 2);
    EXPECT_EQ(frames[1]->geometry().height(), inside.height());

    // Minimised windows line up along the bottom.
    frames[0]->showMinimized();
    frames[1]->showMinimized();
    Choose(QStringLiteral("mnuWindow(3)"));
    EXPECT_EQ(frames[0]->geometry().bottom(), inside.bottom());
    EXPECT_EQ(frames[0]->geometry().left(), 0);
    EXPECT_EQ(frames[1]->geometry().left(), frames[0]->geometry().right() + 1);
}

TEST_F(MainWindowTest, CascadeLeavesEveryTitleBarInSightAndTheActiveWindowOnTop) {
    MakeMain();
    Main().resize(900, 700);
    QMdiArea& area = Main().MdiArea();
    // A few windows, then more than one run down the area can hold.
    for (const int windows : {3, 14}) {
        SCOPED_TRACE(windows);
        while (area.subWindowList().size() < windows)
            Main().NewScript();
        area.subWindowList().first()->showMaximized();
        QMdiSubWindow* active = area.subWindowList()[1];
        area.setActiveSubWindow(active);

        Choose(QStringLiteral("mnuWindow(0)"));
        const QList<QMdiSubWindow*> stack = area.subWindowList(QMdiArea::StackingOrder);
        ASSERT_EQ(stack.size(), windows);
        EXPECT_EQ(stack.last(), active);
        EXPECT_EQ(area.activeSubWindow(), active);
        const QRect inside = area.viewport()->rect();
        const int titleBar = Main().style()->pixelMetric(QStyle::PM_TitleBarHeight);
        for (int i = 0; i < windows; ++i) {
            const QRect frame = stack[i]->geometry();
            EXPECT_FALSE(stack[i]->isMaximized());
            EXPECT_TRUE(inside.contains(frame)) << i;
            EXPECT_EQ(frame.size(), stack.first()->size()) << i;
            if (windows == 3) { // a few windows keep most of the area
                EXPECT_GE(frame.width(), inside.width() * 2 / 3) << i;
            }
            // The caption's start is covered by no window above this one.
            const QPoint caption = frame.topLeft() + QPoint(titleBar, titleBar / 2);
            for (int j = i + 1; j < windows; ++j)
                EXPECT_FALSE(stack[j]->geometry().contains(caption)) << i << " under " << j;
        }
    }
}

TEST_F(MainWindowTest, HelpOpensTheManualAtItsContentsAndSearchInItsSearchField) {
    MakeMain();
    WriteFile(QStringLiteral("help/index.html"),
              "<html><head><title>Contents</title></head><body>Manual</body></html>");
    Choose(QStringLiteral("mnuHelp(0)"));
    HelpWindow* help = D().Programs().OpenHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("index.html"));
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Ryvane Help"));
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(MainWindow::kHelpTopic, help::kMainWindow);

    Choose(QStringLiteral("mnuHelp(1)"));
    EXPECT_EQ(D().Programs().OpenHelpWindow(), help);
    EXPECT_EQ(help->focusWidget(), help->findChild<QLineEdit*>(QStringLiteral("txtSearch")));
    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_TRUE(launcher_->opened.empty());
}

} // namespace
} // namespace ry::test
