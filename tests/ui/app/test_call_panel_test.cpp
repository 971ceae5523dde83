// The "Test Call" dock: a call clicked through a script, followed on the canvas, traced, and
// started again by the edits that change what a call meets.

#include "designer_fixture.h"

#include "app/test_call_panel.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/box_highlight.h"
#include "canvas/canvas_view.h"
#include "scenario/scenario.h"

#include <QDateTime>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>

#include <cmath>
#include <string>
#include <vector>

namespace ry::test {
namespace {

class TestCallPanelTest : public DesignerTest {
protected:
    TestCallPanel& Panel() {
        auto* panel = Main().findChild<TestCallPanel*>(QStringLiteral("TestCall"));
        EXPECT_NE(panel, nullptr);
        return *panel;
    }
    template <class T> T& Part(const char* name) {
        auto* part = Panel().findChild<T*>(QLatin1String(name));
        EXPECT_NE(part, nullptr) << name;
        return *part;
    }
    QString Text(const char* label) { return Part<QLabel>(label).text(); }
    QStringList Offered() {
        QStringList out;
        for (QPushButton* button : Panel().EventButtons())
            out << button->text();
        return out;
    }
    QPushButton& Key(QChar key) {
        return Part<QPushButton>(("cmdKey(" + QString(key) + ")").toLatin1().constData());
    }
    // Clicks the button of an offered event, or the dial pad's key.
    void Press(const QString& event) {
        for (QPushButton* button : Panel().EventButtons()) {
            if (button->text() == event) {
                button->click();
                return;
            }
        }
        if (event.size() == 1 && QStringLiteral("0123456789*#").contains(event)) {
            Key(event[0]).click();
            return;
        }
        ADD_FAILURE() << "no button " << event.toStdString() << " among "
                      << Offered().join(QStringLiteral(", ")).toStdString();
    }
    // Keys a number in on the dial pad, and sends it when the module gathers it.
    void Dial(const QString& keys) {
        for (QChar key : keys)
            Key(key).click();
        if (!Part<QLineEdit>("txtCallDigits").text().isEmpty()) {
            EXPECT_EQ(Part<QLineEdit>("txtCallDigits").text(), keys);
            Part<QPushButton>("cmdCallSend").click();
        }
    }
    // A Wednesday morning, when the example's office is open.
    static QDateTime OpenHours() { return QDateTime(QDate(2026, 12, 9), QTime(9, 30)); }
    int BoxTitled(const std::string& title) {
        for (int box : Doc().Boxes())
            if (Doc().Module(Doc().ModuleOfBox(box)).Title == title)
                return box;
        return 0;
    }
    std::vector<std::string> TraceModules() {
        std::vector<std::string> out;
        QTreeWidget& trace = Panel().Trace();
        for (int row = 0; row < trace.topLevelItemCount(); ++row)
            out.push_back(trace.topLevelItem(row)->text(0).toStdString());
        return out;
    }
    std::vector<int> SelectedBoxes() {
        std::vector<int> out;
        for (int box : Doc().Boxes())
            if (Doc().IsSelected(box))
                out.push_back(box);
        return out;
    }
    bool BoxInView(int box) {
        const ModuleRecord& m = Doc().Module(Doc().ModuleOfBox(box));
        return Active()->View().VisibleArea().contains(QPointF(m.PositionX + 5, m.PositionY + 5));
    }
    void OpenExample() {
        MakeMain();
        Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
        ASSERT_NE(Active(), nullptr);
    }
    void OpenTestCall() {
        auto* toolbar = Main().findChild<QToolBar*>(QStringLiteral("pictToolBar"));
        ASSERT_NE(toolbar, nullptr);
        QAction* button = toolbar->findChild<QAction*>(QStringLiteral("Test Call"));
        ASSERT_NE(button, nullptr);
        button->trigger();
        ASSERT_TRUE(Panel().isVisible());
    }
};

TEST_F(TestCallPanelTest, ClicksThroughTheExampleToItsHangup) {
    OpenExample();
    EXPECT_FALSE(Panel().isVisible()) << "the panel waits to be opened";
    OpenTestCall();
    EXPECT_EQ(Panel().Followed(), Active());
    Panel().SetClock(OpenHours());

    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Greeting"));
    EXPECT_EQ(Text("lblCallType"), QStringLiteral("Play"));
    EXPECT_EQ(Text("lblCallDoes"), QStringLiteral("Plays \"prompts\\welcome.wav\""));
    // Keys are on the dial pad only.
    EXPECT_EQ(Offered(), (QStringList{"timeout 0"}));
    EXPECT_EQ(Panel().MarkedBox(), BoxTitled("Greeting"));

    // The clock answers the Time Switch at once, and the panel says why.
    EXPECT_FALSE(Part<QLabel>("lblCallSwitch").isVisible());
    Press(QStringLiteral("timeout 0"));
    EXPECT_EQ(Text("lblCallSwitch"),
              QStringLiteral("Office Hours took true: Wednesday 09:30 is within 08:00 to 17:30."));

    // The main menu waits for a key; the dial pad sends it.
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Main Menu"));
    EXPECT_EQ(Text("lblCallState"),
              QStringLiteral("Waiting at Main Menu for the caller or the line."));
    EXPECT_EQ(Panel().MarkedBox(), BoxTitled("Main Menu"));
    EXPECT_TRUE(BoxInView(BoxTitled("Main Menu")));
    Dial(QStringLiteral("1"));
    EXPECT_EQ(Part<QLineEdit>("txtCallDigits").text(), QString());

    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Sales"));
    EXPECT_EQ(Text("lblCallDoes"),
              QStringLiteral("Transfers the call to \"201\" by PBX Blind Transfer"));
    Press(QStringLiteral("success"));

    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Goodbye"));
    EXPECT_EQ(Text("lblCallState"), QStringLiteral("The call ends: Goodbye hangs up."));
    EXPECT_TRUE(Offered().isEmpty());
    EXPECT_FALSE(Part<QWidget>("fraDialPad").isEnabled());
    EXPECT_EQ(Panel().MarkedBox(), BoxTitled("Goodbye"));
    ASSERT_NE(Panel().Walk(), nullptr);
    EXPECT_EQ(Panel().Walk()->End().Reason, WalkEnd::Hangup);

    // The trace: each module, the event taken there and the path it chose.
    EXPECT_EQ(TraceModules(), (std::vector<std::string>{"Greeting", "Office Hours", "Main Menu",
                                                        "Sales", "Goodbye"}));
    QTreeWidget& trace = Panel().Trace();
    EXPECT_EQ(trace.topLevelItem(1)->text(1), QStringLiteral("true (clock)"));
    EXPECT_EQ(trace.topLevelItem(1)->toolTip(1),
              QStringLiteral("Wednesday 09:30 is within 08:00 to 17:30"));
    EXPECT_EQ(trace.topLevelItem(2)->text(1), QStringLiteral("1"));
    EXPECT_EQ(trace.topLevelItem(2)->text(2), QStringLiteral("on {1} goto [Sales]"));

    // A row selects its module's box and brings it into view.
    Active()->View().ScrollTo({2000, 2000});
    trace.scrollToItem(trace.topLevelItem(1));
    const QRect row = trace.visualItemRect(trace.topLevelItem(1));
    ASSERT_FALSE(row.isEmpty());
    QTest::mouseClick(trace.viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{BoxTitled("Office Hours")});
    EXPECT_TRUE(BoxInView(BoxTitled("Office Hours")));

    // Restart begins the call again.
    Part<QPushButton>("cmdCallRestart").click();
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Greeting"));
    EXPECT_EQ(TraceModules(), std::vector<std::string>{"Greeting"});
    EXPECT_TRUE(Part<QWidget>("fraDialPad").isEnabled());
    EXPECT_EQ(Panel().MarkedBox(), BoxTitled("Greeting"));
}

TEST_F(TestCallPanelTest, OtherEndsAndTheVariablesSet) {
    MakeMain();
    const QString file = WriteFile(QStringLiteral("s.rys"),
                                   "StartModule=Menu\r\n"
                                   "[Menu]\r\nType=Play\r\nstrTtsText=Hello\r\n"
                                   "on {1} gosub [Ask] return [Bye] rvset\r\n[Tries]{1}\r\n"
                                   "on {9} goto [Voicemail Box 7]\r\n\r\nPosition=0,0\r\n"
                                   "[Ask]\r\nType=Get Numbers\r\n"
                                   "on {1234} return rvset\r\n[Pin]{ok}\r\n\r\nPosition=300,0\r\n"
                                   "[Bye]\r\nType=Hangup the Call\r\nPosition=600,0\r\n");
    Main().Documents().OpenScript(file);
    OpenTestCall();

    Press(QStringLiteral("1"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Ask"));
    Dial(QStringLiteral("1234"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Bye"));
    // Each assignment under the step that made it.
    QTreeWidget& trace = Panel().Trace();
    ASSERT_EQ(trace.topLevelItemCount(), 3);
    ASSERT_EQ(trace.topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(trace.topLevelItem(0)->child(0)->text(2), QStringLiteral("[Tries] = 1"));
    EXPECT_EQ(trace.topLevelItem(1)->child(0)->text(2), QStringLiteral("[Pin] = ok"));
    // A variable's row selects its step's box.
    trace.setCurrentItem(trace.topLevelItem(1)->child(0));
    emit trace.itemClicked(trace.topLevelItem(1)->child(0), 0);
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{BoxTitled("Ask")});

    const std::pair<QString, QString> ends[] = {
        {QStringLiteral("9"), QStringLiteral("The call goes to voicemail: [Voicemail Box 7].")},
        {QStringLiteral("5"), QStringLiteral("The call stops at Menu: no path takes \"5\".")},
    };
    for (const auto& [key, said] : ends) {
        Part<QPushButton>("cmdCallRestart").click();
        Dial(key);
        EXPECT_EQ(Text("lblCallState"), said);
        EXPECT_TRUE(Offered().isEmpty());
    }
}

TEST_F(TestCallPanelTest, AnEditThatChangesTheCallStartsItAgain) {
    OpenExample();
    OpenTestCall();
    Panel().SetClock(OpenHours());
    Press(QStringLiteral("timeout 0"));
    ASSERT_EQ(Text("lblCallModule"), QStringLiteral("Main Menu"));
    const int starts = Panel().Starts();

    // A box moved changes nothing of the call; the mark follows the box.
    const int menu = BoxTitled("Main Menu");
    Doc().MoveModules({{Doc().ModuleOfBox(menu), {700, 700}}});
    EXPECT_EQ(Panel().Starts(), starts);
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Main Menu"));
    EXPECT_EQ(Panel().MarkedBox(), menu);

    // A rename does: the call starts again at the start module, and so after its undo.
    Doc().RenameModule(Doc().ModuleOfBox(menu), QStringLiteral("Menu"));
    EXPECT_EQ(Panel().Starts(), starts + 1);
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Greeting"));
    EXPECT_EQ(TraceModules(), std::vector<std::string>{"Greeting"});
    Choose(QStringLiteral("mnuUndo"));
    EXPECT_EQ(Panel().Starts(), starts + 2);

    // The walk reads the document as it is, unsaved edits included.
    Press(QStringLiteral("timeout 0"));
    Doc().AddPathLine(Doc().ModuleOfBox(menu), QStringLiteral("on {7} goto [Goodbye]\r\n"));
    EXPECT_EQ(Panel().Starts(), starts + 3);
    Press(QStringLiteral("timeout 0"));
    Press(QStringLiteral("7"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Goodbye"));

    // Hidden, the panel marks nothing; shown again, it marks the box the call is at.
    Choose(QStringLiteral("mnuView(4)"));
    EXPECT_FALSE(Panel().isVisible());
    EXPECT_EQ(Panel().MarkedBox(), 0);
    Choose(QStringLiteral("mnuView(4)"));
    EXPECT_EQ(Panel().MarkedBox(), BoxTitled("Goodbye"));

    // Another script window starts a call of its own; closing the last leaves none.
    Main().NewScript();
    EXPECT_EQ(Panel().Followed(), Active());
    EXPECT_TRUE(Text("lblCallModule").startsWith(QStringLiteral("Play "))) << "its first module";
    for (DocumentWindow* window : Windows())
        window->Discard();
    EXPECT_EQ(Panel().Walk(), nullptr);
    EXPECT_TRUE(Offered().isEmpty());
}

TEST_F(TestCallPanelTest, ThePanelSharesTheOverviewsPlaceAndNeverStretchesTheWindow) {
    MakeMain();
    const int before = Main().minimumSizeHint().height();
    OpenTestCall();
    auto* overview = Main().findChild<QDockWidget*>(QStringLiteral("Overview"));
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(Main().tabifiedDockWidgets(&Panel()).contains(overview));
    EXPECT_LE(Main().minimumSizeHint().height(), before + 40);
}

TEST_F(TestCallPanelTest, OneDialPadWhoseKeysShowWhichHaveAPath) {
    OpenExample();
    OpenTestCall();
    Panel().SetClock(OpenHours());
    Press(QStringLiteral("timeout 0"));
    ASSERT_EQ(Text("lblCallModule"), QStringLiteral("Main Menu"));

    for (QPushButton* button : Panel().EventButtons())
        EXPECT_NE(button->text().size(), 1) << "a key among the event buttons";
    struct Case {
        QChar key;
        bool path;
    };
    for (const Case c : {Case{'1', true}, {'2', true}, {'9', true}, {'3', false}, {'#', false}}) {
        EXPECT_EQ(TestCallPanel::ShowsPath(Key(c.key)), c.path) << QString(c.key).toStdString();
        EXPECT_EQ(Key(c.key).isFlat(), !c.path);
    }
    for (QPushButton* button : Panel().EventButtons())
        if (button->text() == QStringLiteral("timeout 5")) {
            EXPECT_TRUE(TestCallPanel::ShowsPath(*button));
        }

    // A key is the caller's choice at once.
    Key('1').click();
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Sales"));
    EXPECT_EQ(Part<QLineEdit>("txtCallDigits").text(), QString());

    // On a Saturday the same switch answers false.
    Panel().SetClock(QDateTime(QDate(2026, 12, 12), QTime(9, 30)));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Greeting")) << "a new clock starts again";
    Press(QStringLiteral("timeout 0"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("After Hours"));
    EXPECT_EQ(Text("lblCallSwitch"),
              QStringLiteral("Office Hours took false: Saturday is not an open day."));
}

// A Time Switch takes no event: its branch is forced by hand, the call walked again with it,
// and the clock can be given the switch back.
TEST_F(TestCallPanelTest, ATimeSwitchsBranchIsForcedByHand) {
    OpenExample();
    OpenTestCall();
    Panel().SetClock(QDateTime(QDate(2026, 12, 12), QTime(9, 30)));
    Press(QStringLiteral("timeout 0"));
    ASSERT_EQ(Text("lblCallModule"), QStringLiteral("After Hours"));
    QPushButton& force = Part<QPushButton>("cmdCallForce");
    EXPECT_EQ(force.text(), QStringLiteral("Force &True"));
    force.click();
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Main Menu"));
    EXPECT_EQ(Text("lblCallSwitch"), QStringLiteral("Office Hours took true, forced by hand."));
    EXPECT_EQ(Panel().Trace().topLevelItem(1)->text(1), QStringLiteral("true (forced)"));
    EXPECT_EQ(Panel().Forced(),
              (std::vector<std::pair<std::string, bool>>{{"Office Hours", true}}));
    // The call goes on from there; the clock takes the switch back, with the same events.
    Press(QStringLiteral("9"));
    EXPECT_EQ(Panel().Walk()->End().Reason, WalkEnd::Voicemail);
    EXPECT_EQ(force.text(), QStringLiteral("Use the Cloc&k"));
    force.click();
    EXPECT_TRUE(Panel().Forced().empty());
    EXPECT_EQ(TraceModules(),
              (std::vector<std::string>{"Greeting", "Office Hours", "After Hours"}));
    EXPECT_EQ(Panel().Walk()->End().Reason, WalkEnd::NoPath) << "9 at After Hours";

    // A switch whose moment the clock cannot read waits; its true and false force it.
    const std::int16_t hours = Doc().ModuleOfBox(BoxTitled("Office Hours"));
    ModuleRecord edited = Doc().Module(hours);
    edited.sTimeSwitch_DateTimeToTest = "[When]";
    Doc().ApplyModule(hours, edited, std::nullopt, QStringLiteral("Office Hours"));
    Press(QStringLiteral("timeout 0"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Office Hours"));
    EXPECT_EQ(Text("lblCallDoes").toStdString(),
              "True when \"[When]\" falls between 8:00 and 17:30 on Mo Tu We Th Fr");
    // The placeholder for a typed value is no event.
    EXPECT_EQ(Offered(), (QStringList{"true", "false"}));
    EXPECT_TRUE(Text("lblCallSwitch").startsWith(QStringLiteral("The clock cannot answer")));
    Press(QStringLiteral("false"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("After Hours"));
    EXPECT_EQ(Panel().Forced(),
              (std::vector<std::pair<std::string, bool>>{{"Office Hours", false}}));
}

TEST_F(TestCallPanelTest, AWalkSavedAsATestRunsAndAFailedOneIsWalkedAgain) {
    QFile example(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    const QString script = WriteFile(QStringLiteral("line/office-line.rys"), example.readAll());
    const QString tests = folder_.filePath(QStringLiteral("line/office-line.tests.yaml"));
    MakeMain();
    Main().Documents().OpenScript(script);
    OpenTestCall();
    Panel().SetClock(OpenHours());

    // Before any test is saved there is nothing to run.
    Part<QPushButton>("cmdCallRunTests").click();
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_TRUE(prompter_.messages[0].text.contains(QStringLiteral("no tests yet")));

    for (const char* e : {"timeout 0", "1", "success"})
        Press(e);
    // The name is asked for.
    prompter_.dialogs.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("txtInputField"))
            ->setText(QStringLiteral("sales answers"));
        dialog.accept();
        return QDialog::Accepted;
    });
    Part<QPushButton>("cmdCallSaveTest").click();
    ASSERT_TRUE(QFileInfo::exists(tests));
    // A call still waiting is kept with the end it has reached so far.
    Part<QPushButton>("cmdCallRestart").click();
    for (const char* e : {"timeout 0", "2"})
        Press(e);
    ASSERT_TRUE(Panel().SaveAsTest(QStringLiteral("leaves a message")));
    // A branch forced on a Saturday is kept as forced, never as an event.
    Panel().SetClock(QDateTime(QDate(2026, 12, 12), QTime(9, 30)));
    Press(QStringLiteral("timeout 0"));
    Part<QPushButton>("cmdCallForce").click();
    Press(QStringLiteral("9"));
    ASSERT_TRUE(Panel().SaveAsTest(QStringLiteral("forced open")));
    Panel().SetClock(OpenHours());
    // A cancelled name saves nothing.
    EXPECT_FALSE(Panel().SaveAsTest());

    QFile file(tests);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ScenarioError error;
    const std::optional<Scenario> saved = ParseScenario(file.readAll().toStdString(), error);
    ASSERT_TRUE(saved) << error.Message;
    EXPECT_EQ(saved->Script, "office-line.rys");
    ASSERT_EQ(saved->Calls.size(), 3u);
    const ScenarioCall& first = saved->Calls[0];
    EXPECT_EQ(first.Name, "sales answers");
    EXPECT_EQ(first.Events, (std::vector<std::string>{"timeout 0", "1", "success"}));
    EXPECT_TRUE(first.Force.empty());
    EXPECT_EQ(saved->Calls[2].Events, (std::vector<std::string>{"timeout 0", "9"}));
    EXPECT_EQ(saved->Calls[2].Force,
              (std::vector<std::pair<std::string, bool>>{{"Office Hours", true}}));
    EXPECT_EQ(first.End, WalkEnd::Hangup);
    EXPECT_EQ(first.Module, "Goodbye");
    EXPECT_EQ(first.At, (DateTime{2026, 12, 9, 9, 30, 0}));
    EXPECT_EQ(first.Visits, (std::vector<std::string>{"Greeting", "Office Hours", "Main Menu",
                                                      "Sales", "Goodbye"}));
    EXPECT_EQ(saved->Calls[1].End, WalkEnd::NoMoreEvents);
    EXPECT_EQ(saved->Calls[1].Module, "Leave Message");

    // All pass; after an edit that takes Goodbye's name away the first fails, at once: the
    // list and the status bar never keep a result for the script as it was.
    Part<QPushButton>("cmdCallRunTests").click();
    QTreeWidget& list = Panel().Tests();
    auto* status = Main().statusBar()->findChild<QLabel*>(QStringLiteral("sbStatusBar(1)"));
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("passed"));
    EXPECT_EQ(list.topLevelItem(1)->text(1), QStringLiteral("passed"));
    EXPECT_EQ(list.topLevelItem(2)->text(1), QStringLiteral("passed"));
    EXPECT_EQ(status->text(), QStringLiteral("Tests: 3 passed, 0 failed."));
    EXPECT_TRUE(Panel().TestsCurrent());
    Doc().RenameModule(Doc().ModuleOfBox(BoxTitled("Goodbye")), QStringLiteral("Bye"));
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("failed"));
    EXPECT_EQ(status->text(), QStringLiteral("Tests: 2 passed, 1 failed."));
    EXPECT_TRUE(Panel().TestsCurrent());
    // Deleting a connector is an edit like any other; so is its undo.
    const int menu = BoxTitled("Main Menu");
    Doc().RemovePaths(Doc().ModuleOfBox(menu), {2}); // on {9} goto [Voicemail Box 200]
    EXPECT_EQ(list.topLevelItem(2)->text(1), QStringLiteral("failed"));
    EXPECT_EQ(status->text(), QStringLiteral("Tests: 1 passed, 2 failed."));
    Choose(QStringLiteral("mnuUndo"));
    EXPECT_EQ(list.topLevelItem(2)->text(1), QStringLiteral("passed"));
    Part<QPushButton>("cmdCallRunTests").click();
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("failed"));
    EXPECT_EQ(list.topLevelItem(0)->foreground(0).color(), QColor(200, 0, 0));
    EXPECT_TRUE(list.topLevelItem(0)->toolTip(0).startsWith(
        QStringLiteral("want end hangup at Goodbye, got hangup at Bye")))
        << list.topLevelItem(0)->toolTip(0).toStdString();
    EXPECT_EQ(list.topLevelItem(1)->text(1), QStringLiteral("passed"));

    // A double-click walks the failed call again, at its own clock.
    Panel().SetClock(QDateTime(QDate(2026, 12, 12), QTime(9, 30)));
    emit list.itemActivated(list.topLevelItem(0), 0);
    EXPECT_EQ(Panel().Clock(), OpenHours());
    EXPECT_EQ(TraceModules(),
              (std::vector<std::string>{"Greeting", "Office Hours", "Main Menu", "Sales", "Bye"}));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Bye"));
}

TEST_F(TestCallPanelTest, TestsNeedASavedScriptAndAFileThatReads) {
    MakeMain(); // an untitled script
    OpenTestCall();
    EXPECT_FALSE(Panel().SaveAsTest(QStringLiteral("x")));
    Part<QPushButton>("cmdCallRunTests").click();
    ASSERT_EQ(prompter_.messages.size(), 2u);
    for (const auto& m : prompter_.messages)
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("Save the script first")));

    // A file with a misspelt key is neither run nor added to.
    prompter_.messages.clear();
    const QString script =
        WriteFile(QStringLiteral("a.rys"), "StartModule=A\r\n[A]\r\nType=Hangup the Call\r\n"
                                           "Position=0,0\r\n");
    const QByteArray damaged = "script: a.rys\ncalls:\n  - name: x\n    events: []\n"
                               "    end: hangup\n    modul: A\n";
    const QString tests = WriteFile(QStringLiteral("a.tests.yaml"), damaged);
    Main().Documents().OpenScript(script);
    Part<QPushButton>("cmdCallRunTests").click();
    EXPECT_FALSE(Panel().SaveAsTest(QStringLiteral("y")));
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_TRUE(
        prompter_.messages[0].text.contains(QStringLiteral("line 6: unknown key \"modul\"")))
        << prompter_.messages[0].text.toStdString();
    EXPECT_TRUE(prompter_.messages[1].text.startsWith(QStringLiteral("The call was not saved")));
    QFile file(tests);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

// The mark of the module the call is at has a colour of its own, not a selected connector's
// orange, and leaves the green start mark in sight.
TEST_F(TestCallPanelTest, TheCallsMarkHasItsOwnColourAndLeavesTheStartMarkInSight) {
    OpenExample();
    OpenTestCall();
    const int greeting = BoxTitled("Greeting");
    ASSERT_EQ(Panel().MarkedBox(), greeting);
    const ModuleRecord& m = Doc().Module(Doc().ModuleOfBox(greeting));
    const QRect area(m.PositionX - 10, m.PositionY - 20, kBoxWidth + 20, 40);
    const QImage image = RenderCanvas(*Active(), area);
    const QColor mark = BoxHighlight::Colour();
    // The frame's top edge runs 5 pixels above the box: over the start mark's place at its
    // left, in the open further right.
    const QColor onTag = image.pixelColor(10 + 3, 20 - 5);
    const QColor onFrame = image.pixelColor(10 + 120, 20 - 5);
    EXPECT_EQ(onFrame, mark);
    EXPECT_EQ(onTag, QColor(30, 140, 60)) << onTag.name().toStdString();
    // Not the orange of a selected connector (hue 29), nor the start mark's green.
    EXPECT_GT(std::abs(mark.hue() - 29), 60);
    EXPECT_GT(std::abs(mark.hue() - QColor(30, 140, 60).hue()), 60);
}

// Every control of the panel stays within its visible width, whatever the window's width and
// however long a title: nothing is cut off at the right edge or hidden behind a scroll bar.
TEST_F(TestCallPanelTest, EveryControlFitsThePanelsWidth) {
    MakeMain();
    const std::string longTitle(300, 'W');
    const QString file = WriteFile(
        QStringLiteral("long.rys"),
        QByteArray("StartModule=") + longTitle.c_str() + "\r\n[" + longTitle.c_str() +
            "]\r\nType=Get Numbers\r\nGetNbrLenEnforce=2\r\nGetNbrLenMax=4\r\n"
            "PlayFile1=prompts\\a_very_long_file_name_without_any_blank_in_it_at_all_x.wav\r\n"
            "on {success} goto [Bye]\r\non {exact_number} goto [Bye]\r\n"
            "on {a trigger with a long text of its own} goto [Bye]\r\n\r\nPosition=0,0\r\n"
            "[Bye]\r\nType=Hangup the Call\r\nPosition=300,0\r\n");
    Main().Documents().OpenScript(file);
    OpenTestCall();
    auto* scroll = Panel().findChild<QScrollArea*>(QStringLiteral("scrCallPanel"));
    ASSERT_NE(scroll, nullptr);
    for (const int width : {1280, 1600}) {
        SCOPED_TRACE(width);
        Main().resize(width, 900);
        Main().show();
        QCoreApplication::processEvents();
        Panel().Restart();
        QCoreApplication::processEvents();
        ASSERT_FALSE(Panel().EventButtons().empty());
        EXPECT_LT(Panel().width(), width / 2);
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << "no sideways scrolling";
        const QRect visible = scroll->viewport()->rect();
        for (QWidget* control : Panel().findChildren<QWidget*>()) {
            // The dock's own title buttons are no part of the scrolled content.
            if (!control->isVisible() || !scroll->viewport()->isAncestorOf(control) ||
                !(qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                  qobject_cast<QLabel*>(control)))
                continue;
            const QRect at(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
            EXPECT_GE(at.left(), visible.left()) << control->objectName().toStdString();
            EXPECT_LE(at.right(), visible.right()) << control->objectName().toStdString();
        }
        for (QPushButton* button : Panel().EventButtons())
            EXPECT_FALSE(button->text().trimmed().isEmpty());
        EXPECT_TRUE(Text("lblCallModule").endsWith(QChar(0x2026)));
        EXPECT_EQ(Part<QLabel>("lblCallModule").toolTip(), QString::fromStdString(longTitle));
    }
}

} // namespace
} // namespace ry::test
