// The DDE and Hangup dialogs.

#include "round_trip.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

namespace ry::test {
namespace {

using DdeHangupDialogTest = RoundTripTest;

TEST_F(DdeHangupDialogTest, DdeTypeFromWhatIsStored) {
    struct Case {
        const char* stored;
        int option;
        const char* label;
        const char* applied;
    } cases[] = {
        {"Execute", 0, "Command :", "Execute"},
        {"execute", 0, "Command :", "Execute"},
        {"poke", 1, "Data :", "Poke"},
        {"Request", 1, "Data :", "Poke"}, // anything else pokes
        {"", 1, "Data :", "Poke"},
    };
    int n = 0;
    for (const Case& c : cases)
        Add("DDE", "Link " + std::to_string(++n)).strDdeType = c.stored;
    Show();
    n = 0;
    for (const Case& c : cases) {
        ModuleDialog* d = Open("Link " + std::to_string(++n));
        ASSERT_NE(d, nullptr);
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(d->objectName(), "frmDbiDde");
        EXPECT_TRUE(Child<QRadioButton>(
                        d, QStringLiteral("optDdeType(%1)").arg(c.option).toLatin1().constData())
                        ->isChecked());
        EXPECT_EQ(Child<QLabel>(d, "lblMisc(12)")->text(), c.label);
        EXPECT_EQ(Tables().Module(d->ModuleIndex()).strDdeType, c.applied);
    }
    // The label follows the choice, which is a change to apply.
    ModuleDialog* d = Open("Link 3");
    Child<QRadioButton>(d, "optDdeType(0)")->setChecked(true);
    EXPECT_EQ(Child<QLabel>(d, "lblMisc(12)")->text(), "Command :");
    EXPECT_TRUE(d->IsDirty());
}

TEST_F(DdeHangupDialogTest, LongValuesSurviveOpening) {
    const std::string command(40000, 'c'); // beyond a line edit's usual limit
    Add("DDE", "Link").strDdeCommand = command;
    Show();
    ModuleDialog* d = Open("Link");
    EXPECT_EQ(Tables().Module(d->ModuleIndex()).strDdeCommand, command);
}

TEST_F(DdeHangupDialogTest, HangupDialogEditsTheTitleAlone) {
    Add("Play", "Welcome").PathText = "on {1} goto [Bye]\r\non {2} goto [Bye]\r\n";
    Add("Time Switch", "Hours").PathText = "on {true} goto [Bye]\r\n";
    // A path a hand-edited file gave the hang-up module is left as it is.
    Add("Hangup the Call", "Bye").PathText = "on {success} goto [Welcome]\r\n";
    Show();
    ModuleDialog* d = Open("Bye");
    EXPECT_EQ(d->objectName(), "frmDbiHangupCall");
    EXPECT_EQ(d->Paths(), nullptr);
    auto& tabs = d->Tabs();
    ASSERT_EQ(tabs.count(), 1);
    EXPECT_EQ(tabs.tabText(0), "Hangup Call");
    EXPECT_FALSE(d->IsDirty());

    Field(d, "txtModTitle")->setText(" Goodbye <all> ");
    EXPECT_TRUE(d->IsDirty());
    d->Ok();
    EXPECT_EQ(Tables().Module(ModuleTitled("Welcome")).PathText,
              "on {1} goto [Goodbye all]\r\non {2} goto [Goodbye all]\r\n");
    EXPECT_EQ(Tables().Module(ModuleTitled("Hours")).PathText, "on {true} goto [Goodbye all]\r\n");
    const std::int16_t bye = ModuleTitled("Goodbye all");
    ASSERT_GE(bye, 1);
    EXPECT_EQ(Tables().Module(bye).PathText, "on {success} goto [Welcome]\r\n");
}

TEST_F(DdeHangupDialogTest, EveryFieldThroughTheFile) {
    Add("DDE", "Link");
    Add("Hangup the Call", "Bye");
    Show();
    ExpectRoundTrip("Link", [&](ModuleDialog* d) {
        Child<QRadioButton>(d, "optDdeType(0)")->setChecked(true);
        Field(d, "txtSoundFile(0)")->setText("Excel|System");
        Field(d, "txtSoundFile(1)")->setText("R1C1");
        Field(d, "txtSoundFile(2)")->setText("[Open(\"calls.xls\")]");
        Field(d, "txtModTitle")->setText("Open the sheet");
    });
    ExpectRoundTrip("Bye", [&](ModuleDialog* d) { Field(d, "txtModTitle")->setText("Goodbye"); });
}

} // namespace
} // namespace ry::test
