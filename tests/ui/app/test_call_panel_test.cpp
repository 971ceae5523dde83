// The "Test Call" dock: a call clicked through a script, followed on the canvas, traced, and
// started again by the edits that change what a call meets.

#include "designer_fixture.h"

#include "app/test_call_panel.h"
#include "base/text_codec.h"
#include "canvas/canvas_view.h"
#include "scenario/scenario.h"

#include <QDateTime>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>

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

    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Greeting"));
    EXPECT_EQ(Text("lblCallType"), QStringLiteral("Play"));
    EXPECT_EQ(Text("lblCallDoes"), QStringLiteral("Plays \"prompts\\welcome.wav\""));
    // Keys are on the dial pad only.
    EXPECT_EQ(Offered(), (QStringList{"timeout 0"}));
    EXPECT_EQ(Panel().MarkedBox(), BoxTitled("Greeting"));

    Press(QStringLiteral("timeout 0"));
    EXPECT_EQ(Text("lblCallModule"), QStringLiteral("Office Hours"));
    EXPECT_EQ(Text("lblCallDoes"),
              QStringLiteral("True when the time of the call falls between 8:00 and 17:30 on "
                             "Mo Tu We Th Fr"));
    // The placeholder for a typed value is no event.
    EXPECT_EQ(Offered(), (QStringList{"true", "false"}));
    Press(QStringLiteral("true"));

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
    Press(QStringLiteral("timeout 0"));
    Press(QStringLiteral("true"));
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
    Press(QStringLiteral("true"));
    Doc().AddPathLine(Doc().ModuleOfBox(menu), QStringLiteral("on {7} goto [Goodbye]\r\n"));
    EXPECT_EQ(Panel().Starts(), starts + 3);
    Press(QStringLiteral("timeout 0"));
    Press(QStringLiteral("true"));
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
    // The clock's answer is said, and true and false still choose.
    EXPECT_TRUE(Text("lblCallState").endsWith(QStringLiteral("At the clock's time it is true.")))
        << Text("lblCallState").toStdString();
    Press(QStringLiteral("true"));
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
    EXPECT_TRUE(Text("lblCallState").endsWith(QStringLiteral("it is false.")));
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

    for (const char* e : {"timeout 0", "true", "1", "success"})
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
    for (const char* e : {"timeout 0", "true", "2"})
        Press(e);
    ASSERT_TRUE(Panel().SaveAsTest(QStringLiteral("leaves a message")));
    // A cancelled name saves nothing.
    EXPECT_FALSE(Panel().SaveAsTest());

    QFile file(tests);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ScenarioError error;
    const std::optional<Scenario> saved = ParseScenario(file.readAll().toStdString(), error);
    ASSERT_TRUE(saved) << error.Message;
    EXPECT_EQ(saved->Script, "office-line.rys");
    ASSERT_EQ(saved->Calls.size(), 2u);
    const ScenarioCall& first = saved->Calls[0];
    EXPECT_EQ(first.Name, "sales answers");
    EXPECT_EQ(first.Events, (std::vector<std::string>{"timeout 0", "true", "1", "success"}));
    EXPECT_EQ(first.End, WalkEnd::Hangup);
    EXPECT_EQ(first.Module, "Goodbye");
    EXPECT_EQ(first.At, (DateTime{2026, 12, 9, 9, 30, 0}));
    EXPECT_EQ(first.Visits, (std::vector<std::string>{"Greeting", "Office Hours", "Main Menu",
                                                      "Sales", "Goodbye"}));
    EXPECT_EQ(saved->Calls[1].End, WalkEnd::NoMoreEvents);
    EXPECT_EQ(saved->Calls[1].Module, "Leave Message");

    // Both pass; after an edit that takes Goodbye's name away the first fails.
    Part<QPushButton>("cmdCallRunTests").click();
    QTreeWidget& list = Panel().Tests();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("passed"));
    EXPECT_EQ(list.topLevelItem(1)->text(1), QStringLiteral("passed"));
    Doc().RenameModule(Doc().ModuleOfBox(BoxTitled("Goodbye")), QStringLiteral("Bye"));
    Part<QPushButton>("cmdCallRunTests").click();
    ASSERT_EQ(list.topLevelItemCount(), 2);
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

} // namespace
} // namespace ry::test
