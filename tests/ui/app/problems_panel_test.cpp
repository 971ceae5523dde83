// The "Problems" dock: what the checker finds in the active script, checked again after the
// edits, Applies and undos that change it, and a row that shows its module on the canvas.

#include "ui/canvas/editing_fixture.h"

#include "app/problems_panel.h"
#include "canvas/box_editor.h"
#include "canvas/box_geometry.h"
#include "dialogs/module_dialog.h"
#include "dialogs/module_dialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDockWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QUndoStack>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace ry::test {
namespace {

// Welcome leads to "Menu", which is no module: the module meant is "Menue", which nothing
// reaches. The script run at hang-up is no file. Otherwise the modules have what they need.
const char* const kScript = "Version=5.0\r\n"
                            "DefaultModuleDisplayHeight=long\r\n"
                            "StartModule=%START%\r\n"
                            "RunAtHangup=after.rys\r\n"
                            "StartWithoutAnswer=0\r\n"
                            "CtmAsiName=\r\n"
                            "\r\n"
                            "[Welcome]\r\n"
                            "Type=Play\r\n"
                            "DispSize=69\r\n"
                            "Txt=Hello\r\n"
                            "strTtsText=Hello\r\n"
                            "on {1} goto [Menu]\r\n"
                            "\r\n"
                            "Position=40,40\r\n"
                            "\r\n"
                            "[Menue]\r\n"
                            "Type=Get Numbers\r\n"
                            "DispSize=69\r\n"
                            "Txt=Pick one\r\n"
                            "on {success} goto [Voicemail Box 1]\r\n"
                            "\r\n"
                            "Position=300,400\r\n";

const std::string kHangupMissing = "(script): script run at hang-up \"after.rys\" not found";
const std::string kWelcomeToNowhere = "Welcome: path on {1} leads to [Menu], which names no module";
const std::string kMenueUnreached = "Menue: no path leads here from the start module [Welcome]";

using Rows = std::vector<std::string>;

class ProblemsPanelTest : public EditingTest {
protected:
    ProblemsPanel& Panel() {
        auto* panel = main_->findChild<ProblemsPanel*>(QStringLiteral("Problems"));
        EXPECT_NE(panel, nullptr);
        return *panel;
    }
    // The rows as the list shows them: "module: problem".
    Rows Shown() {
        QTreeWidget& list = Panel().List();
        EXPECT_EQ(list.objectName(), QStringLiteral("lstProblems"));
        Rows out;
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list.topLevelItem(row);
            out.push_back((item->text(0) + QStringLiteral(": ") + item->text(1)).toStdString());
        }
        return out;
    }
    // The panel checks once the events being handled are done.
    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // Opens kScript (its start module as given) as the active document.
    void Open(const std::string& start = "Welcome") {
        std::string text = kScript;
        text.replace(text.find("%START%"), 7, start);
        path_ = folder_->filePath(QStringLiteral("line.rys"));
        WriteFile(path_, text);
        // Written a while ago: a save gives the file another time of change, however soon.
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                     QFileDevice::FileModificationTime));
        file.close();
        main_->Documents().OpenScript(path_);
        ASSERT_EQ(Window().Caption(), path_);
        welcome_ = BoxTitled("Welcome");
        menue_ = BoxTitled("Menue");
        ASSERT_TRUE(welcome_ >= 1 && menue_ >= 1);
        Settle();
    }
    int BoxTitled(const std::string& title) {
        for (int box : Doc().Boxes())
            if (ModuleIn(box).Title == title)
                return box;
        return -1;
    }
    // The row of the first problem of the module in `box`.
    int RowOf(int box) {
        const std::vector<Problem>& problems = Panel().Problems();
        for (size_t row = 0; row < problems.size(); ++row)
            if (problems[row].Module == Doc().ModuleOfBox(box))
                return static_cast<int>(row);
        ADD_FAILURE() << "no row for box " << box;
        return -1;
    }
    void Activate(int row) {
        QTreeWidget& list = Panel().List();
        emit list.itemActivated(list.topLevelItem(row), 0);
    }
    void TypeTitle(int box, const QString& title) {
        Click(TitleOfBox(box));
        auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
        ASSERT_NE(field, nullptr);
        field->setText(title);
        QTest::keyClick(field, Qt::Key_Return);
    }
    ModuleDialog& OpenDialog(int box) {
        Window().DoBoxInfo_Click(box);
        ModuleDialog* dialog = designer_->Dialogs().DialogOfModule(Doc().ModuleOfBox(box));
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    static void ClickApply(ModuleDialog& dialog) {
        auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("cmdApply"));
        ASSERT_NE(apply, nullptr);
        ASSERT_TRUE(apply->isEnabled());
        apply->click();
    }
    QPoint ScrollPosition() {
        return {View().horizontalScrollBar()->value(), View().verticalScrollBar()->value()};
    }

    QString path_;
    int welcome_ = 0, menue_ = 0;
};

TEST_F(ProblemsPanelTest, ListsEachProblemWithItsModuleAndReason) {
    ASSERT_TRUE(Panel().isVisible());
    EXPECT_EQ(main_->MenuAction(QStringLiteral("mnuView(3)")), Panel().toggleViewAction());
    Open();
    EXPECT_EQ(Panel().Followed(), &Window());
    EXPECT_EQ(Shown(), (Rows{kHangupMissing, kWelcomeToNowhere, kMenueUnreached}));
}

// Each edit is made as the user makes it; the list follows once the events are handled, then
// follows the undo back to the problems and the redo forward again.
TEST_F(ProblemsPanelTest, FollowsEditsThatFixOrMakeProblemsAndTheirUndoAndRedo) {
    struct Case {
        const char* name;
        std::function<void()> edit;
        Rows after;
    };
    const Case cases[] = {
        {"the lost module renamed on its box to the title the path names",
         [this] { TypeTitle(menue_, QStringLiteral("Menu")); },
         {kHangupMissing}},
        {"a path to it added from the box menu",
         [this] {
             ChooseFromBoxMenu(welcome_, QStringLiteral("on5"));
             Click(FrameOf(menue_));
         },
         {kHangupMissing, kWelcomeToNowhere}},
        {"the unreached module deleted from its box menu",
         [this] { ChooseFromBoxMenu(menue_, QStringLiteral("Delete")); },
         {kHangupMissing, kWelcomeToNowhere}},
        {"the unreached module made the start module",
         [this] { ChooseFromBoxMenu(menue_, QStringLiteral("StartModule")); },
         {kHangupMissing, "Welcome: no path leads here from the start module [Menue]",
          kWelcomeToNowhere}},
        {"a dialog's Apply with the path corrected",
         [this] {
             ModuleDialog& dialog = OpenDialog(welcome_);
             auto* paths = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtPaths"));
             ASSERT_NE(paths, nullptr);
             paths->setPlainText(QStringLiteral("on {1} goto [Menue]\n"));
             ClickApply(dialog);
         },
         {kHangupMissing}},
        {"a dialog's Apply naming a sound file that is not there",
         [this] {
             ModuleDialog& dialog = OpenDialog(welcome_);
             auto* sound = dialog.findChild<QLineEdit*>(QStringLiteral("txtSoundFile(0)"));
             ASSERT_NE(sound, nullptr);
             sound->setText(QStringLiteral("nothere.wav"));
             ClickApply(dialog);
         },
         {kHangupMissing, kWelcomeToNowhere, "Welcome: sound file \"nothere.wav\" not found",
          kMenueUnreached}},
        {"the script properties without the hang-up script",
         [this] {
             prompter_.dialogs.push_back([](QDialog& dialog) {
                 dialog.findChild<QLineEdit*>(QStringLiteral("txtScriptAfterCall"))->clear();
                 dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
                 return int(QDialog::Accepted);
             });
             Choose(QStringLiteral("mnuEdit(4)"));
         },
         {kWelcomeToNowhere, kMenueUnreached}},
    };
    const Rows before{kHangupMissing, kWelcomeToNowhere, kMenueUnreached};
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Start("");
        Open();
        ASSERT_EQ(Shown(), before);
        // A step before the edit: no undo or redo below lands on the saved state, so the
        // modified mark stays set and the list has only the edits' own signals to follow.
        Doc().MoveModules({{Doc().ModuleOfBox(welcome_), {60, 60}}});
        QUndoStack& history = Doc().History();
        const int steps = history.index();

        tc.edit();
        Settle();
        EXPECT_EQ(Shown(), tc.after);
        ASSERT_GT(history.index(), steps) << "the edit is a step to undo";
        ASSERT_TRUE(Doc().Record().Modified);

        for (int round = 0; round < 2; ++round) {
            while (history.index() > steps)
                Choose(QStringLiteral("mnuUndo"));
            Settle();
            EXPECT_EQ(Shown(), before) << "undone";
            while (history.canRedo())
                Choose(QStringLiteral("mnuRedo"));
            Settle();
            EXPECT_EQ(Shown(), tc.after) << "redone";
        }
        designer_->Dialogs().CloseAll();
    }
}

TEST_F(ProblemsPanelTest, ABurstOfEditsIsCheckedOnceWhenItIsOver) {
    Open();
    const int checks = Panel().CheckCount();
    TypeTitle(menue_, QStringLiteral("Menu"));
    ChooseFromBoxMenu(menue_, QStringLiteral("HeightShort"));
    Doc().MoveModules({{Doc().ModuleOfBox(menue_), {500, 500}}});
    EXPECT_EQ(Shown(), (Rows{kHangupMissing, kWelcomeToNowhere, kMenueUnreached}))
        << "nothing checked yet";
    Settle();
    EXPECT_EQ(Panel().CheckCount(), checks + 1);
    EXPECT_EQ(Shown(), Rows{kHangupMissing});
}

TEST_F(ProblemsPanelTest, AHiddenPanelChecksNothingUntilItIsShown) {
    Open();
    Choose(QStringLiteral("mnuView(3)"));
    ASSERT_FALSE(Panel().isVisible());
    const int checks = Panel().CheckCount();
    TypeTitle(menue_, QStringLiteral("Menu"));
    Settle();
    EXPECT_EQ(Panel().CheckCount(), checks);

    Choose(QStringLiteral("mnuView(3)"));
    ASSERT_TRUE(Panel().isVisible());
    Settle();
    EXPECT_EQ(Panel().CheckCount(), checks + 1);
    EXPECT_EQ(Shown(), Rows{kHangupMissing});
}

TEST_F(ProblemsPanelTest, FollowsTheActiveDocumentAndShowsNothingWithoutOne) {
    DocumentWindow* fresh = &Window();
    Settle();
    EXPECT_EQ(Panel().Followed(), fresh);
    const Rows freshRows = Shown();
    Open();
    DocumentWindow* opened = &Window();
    ASSERT_NE(opened, fresh);
    EXPECT_EQ(Shown(), (Rows{kHangupMissing, kWelcomeToNowhere, kMenueUnreached}));

    main_->BringToFront(fresh);
    Settle();
    EXPECT_EQ(Panel().Followed(), fresh);
    EXPECT_EQ(Shown(), freshRows);

    // An edit of a script in the background changes nothing here.
    opened->Document().RenameModule(opened->Document().ModuleOfBox(menue_), QStringLiteral("Menu"));
    Settle();
    EXPECT_EQ(Shown(), freshRows);
    main_->BringToFront(opened);
    Settle();
    EXPECT_EQ(Shown(), Rows{kHangupMissing});

    fresh->Discard();
    opened->Discard();
    Settle();
    ASSERT_EQ(main_->ActiveDocumentWindow(), nullptr);
    EXPECT_EQ(Panel().Followed(), nullptr);
    EXPECT_EQ(Shown(), Rows{});
    EXPECT_TRUE(Panel().Problems().empty());
}

// A start module that names no module is made the first module by the loader; only the file
// still tells, until the script starts elsewhere or is saved.
TEST_F(ProblemsPanelTest, AStartModuleLostInTheFileIsListedUntilTheScriptSettlesIt) {
    const std::string lost = "(script): start module [Lost] names no module; calls start at "
                             "the first module, [Welcome]";
    struct Case {
        const char* name;
        std::function<void()> edit;
        bool undoable;
    };
    const Case cases[] = {
        {"another start module chosen",
         [this] { ChooseFromBoxMenu(menue_, QStringLiteral("StartModule")); }, true},
        {"a module given the lost title", [this] { TypeTitle(menue_, QStringLiteral("Lost")); },
         true},
        {"the script saved as it was opened", [this] { Choose(QStringLiteral("mnuFile(6)")); },
         false},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Start("");
        Open("Lost");
        ASSERT_EQ(ToQt(Doc().Record().StartModule), QStringLiteral("Welcome"));
        ASSERT_FALSE(Shown().empty());
        EXPECT_EQ(Shown().front(), lost);

        tc.edit();
        Settle();
        ASSERT_FALSE(Shown().empty());
        EXPECT_NE(Shown().front(), lost);
        if (!tc.undoable)
            continue;
        const int steps = Doc().History().index();
        Choose(QStringLiteral("mnuUndo"));
        ASSERT_LT(Doc().History().index(), steps);
        Settle();
        ASSERT_FALSE(Shown().empty());
        EXPECT_EQ(Shown().front(), lost) << "the script starts where the loader put it again";
    }
}

// The middle of Menue's box (at 300,400, long) on the canvas.
const QPointF kMenueCentre(300 + kBoxWidth / 2.0, 400 + kLongBoxHeight / 2.0);

// Where the middle of the view can come closest to `point`: a view never scrolls past the
// canvas's edges.
QPointF ClosestCentre(const CanvasView& view, const QPointF& point) {
    const QRectF shown = view.VisibleArea();
    const QRectF canvas = view.sceneRect();
    const qreal halfW = shown.width() / 2, halfH = shown.height() / 2;
    return {std::clamp(point.x(), canvas.left() + halfW, canvas.right() - halfW),
            std::clamp(point.y(), canvas.top() + halfH, canvas.bottom() - halfH)};
}

// Activating a row shows the module's box in the middle of the visible canvas, at any zoom,
// as the only selected box.
TEST_F(ProblemsPanelTest, ARowShowsItsModuleInTheMiddleAsTheOnlySelectedBox) {
    for (int zoom : {100, 50, 67, 200, 300}) {
        SCOPED_TRACE(zoom);
        Start("");
        Open();
        View().SetZoom(zoom);
        ASSERT_EQ(View().Zoom(), zoom);
        View().ScrollTo({0, 0});
        Doc().SelectOnlyBox(welcome_);

        Activate(RowOf(menue_));
        const QPointF centre = View().VisibleArea().center();
        const QPointF expected = ClosestCentre(View(), kMenueCentre);
        EXPECT_NEAR(centre.x(), expected.x(), 2);
        EXPECT_NEAR(centre.y(), expected.y(), 2);
        EXPECT_EQ(SelectedBoxes(), std::vector<int>{menue_});
    }
}

TEST_F(ProblemsPanelTest, ADoubleClickOnARowCentresItsModule) {
    Open();
    QTreeWidget& list = Panel().List();
    QTreeWidgetItem* item = list.topLevelItem(RowOf(menue_));
    list.scrollToItem(item);
    const QPoint at = list.visualItemRect(item).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    const QPointF centre = View().VisibleArea().center();
    const QPointF expected = ClosestCentre(View(), kMenueCentre);
    EXPECT_NEAR(centre.x(), expected.x(), 2);
    EXPECT_NEAR(centre.y(), expected.y(), 2);
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{menue_});
}

TEST_F(ProblemsPanelTest, ARowOfTheWholeScriptShowsNothing) {
    Open();
    View().ScrollTo({100, 100});
    Doc().SelectOnlyBox(welcome_);
    ASSERT_EQ(Panel().Problems().front().Module, -1);
    Activate(0);
    EXPECT_EQ(ScrollPosition(), QPoint(100, 100));
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{welcome_});
}

// The list trails an edit until the events are handled: a row activated meanwhile must not
// show whatever module now holds the record, nor touch a window that is going.
TEST_F(ProblemsPanelTest, ARowWhoseModuleIsGoneShowsNothing) {
    struct Case {
        const char* name;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"deleted",
         [this] {
             Doc().SelectOnlyBox(menue_);
             ASSERT_TRUE(Doc().DeleteSelectedModules());
         }},
        {"deleted, its record taken by a new module",
         [this] {
             const std::int16_t record = Doc().ModuleOfBox(menue_);
             Doc().SelectOnlyBox(menue_);
             ASSERT_TRUE(Doc().DeleteSelectedModules());
             const int placed = Place(QStringLiteral("Play"), {900, 900});
             ASSERT_EQ(Doc().ModuleOfBox(placed), record);
         }},
        {"renamed",
         [this] { Doc().RenameModule(Doc().ModuleOfBox(menue_), QStringLiteral("Other")); }},
        {"its script closed", [this] { Window().Discard(); }},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Start("");
        Open();
        const int row = RowOf(menue_);
        View().ScrollTo({100, 100});
        tc.edit();
        DocumentWindow* window = main_->ActiveDocumentWindow();
        const QPoint scroll = window ? ScrollPosition() : QPoint();
        if (window)
            Doc().DeselectAllBoxes();

        Activate(row);
        Panel().ShowProblem(row);
        if (window) {
            EXPECT_EQ(ScrollPosition(), scroll);
            EXPECT_EQ(SelectedBoxes(), std::vector<int>{});
        }
        Settle();
        for (const std::string& shown : Shown())
            EXPECT_NE(shown.rfind("Menue:", 0), 0u) << shown;
    }
}

} // namespace
} // namespace ry::test
