// The "Test Call" dock: a call clicked through a script, followed on the canvas, traced, and
// started again by the edits that change what a call meets.

#include "designer_fixture.h"

#include "app/test_call_panel.h"
#include "base/text_codec.h"
#include "canvas/canvas_view.h"

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
    // Clicks the button of an offered event.
    void Press(const QString& event) {
        for (QPushButton* button : Panel().EventButtons()) {
            if (button->text() == event) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << event.toStdString() << " among "
                      << Offered().join(QStringLiteral(", ")).toStdString();
    }
    // Keys a number in on the dial pad and sends it.
    void Dial(const QString& keys) {
        for (QChar key : keys)
            Part<QPushButton>(("cmdKey(" + QString(key) + ")").toLatin1().constData()).click();
        EXPECT_EQ(Part<QLineEdit>("txtCallDigits").text(), keys);
        Part<QPushButton>("cmdCallSend").click();
    }
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
        Main().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
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
    EXPECT_EQ(Offered(), (QStringList{"timeout 0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
                                      "*", "#"}));
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
    Main().OpenScript(file);
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

} // namespace
} // namespace ry::test
