// The fields of the Play, Record, Get Numbers, Say Numbers and Time Switch dialogs.

#include "dialog_fixture.h"
#include "dialogs/time_switch_dialog.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace ry::test {
namespace {

using TypeDialogTest = DialogTest;

TEST_F(TypeDialogTest, PlayFields) {
    ModuleRecord& m = Add("Play", "Main");
    m.PlayFileSlot(1) = "hello.wav";
    m.ReplayCount = 3;
    m.ReplayPause = 2;
    Show();
    ModuleDialog* d = Open("Main");
    EXPECT_EQ(Field(d, "txtSoundFile(0)")->text(), "hello.wav");
    EXPECT_EQ(Field(d, "txtReplayCount")->text(), "3");
    EXPECT_EQ(Field(d, "txtPauseTime")->text(), "2");
    Type(Field(d, "txtReplayCount"), "99");
    Type(Field(d, "txtPauseTime"), "-5");
    EXPECT_EQ(Field(d, "txtReplayCount")->text(), "20");
    EXPECT_EQ(Field(d, "txtPauseTime")->text(), "0");
    auto* speak = Child<QPlainTextEdit>(d, "txtSoundFile(1)");
    speak->setPlainText("Welcome to\nthe office");
    Field(d, "txtSoundFile(0)")->setText("other.wav");
    d->Apply();
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(stored.strTtsText, "Welcome to the office");
    EXPECT_EQ(speak->toPlainText(), "Welcome to the office");
    EXPECT_EQ(stored.PlayFileSlot(1), "other.wav");
    EXPECT_EQ(stored.ReplayCount, 20);
    EXPECT_EQ(stored.ReplayPause, 0);
    EXPECT_FALSE(d->IsDirty());
    // A count never normalised by leaving its field is taken as leaving it would make it.
    Field(d, "txtReplayCount")->setText("abc");
    d->Apply();
    EXPECT_EQ(stored.ReplayCount, 0);
    EXPECT_EQ(Field(d, "txtReplayCount")->text(), "0");
}

TEST_F(TypeDialogTest, RecordFields) {
    ModuleRecord& m = Add("Record", "Message");
    m.RecFile = "msg.wav";
    m.PlayTone = true;
    Show();
    ModuleDialog* d = Open("Message");
    EXPECT_EQ(d->objectName(), "frmDbiRec");
    EXPECT_EQ(Field(d, "txtSoundFile")->text(), "msg.wav");
    auto* beep = Child<QComboBox>(d, "cmbPlayBeep");
    EXPECT_EQ(beep->currentText(), "Play beep before recording");
    EXPECT_EQ(d->findChild<QPushButton*>("cmdRec"), nullptr);
    beep->setCurrentIndex(1);
    EXPECT_TRUE(d->IsDirty());
    // Select proposes a file to save, where a new name can be typed.
    prompter_.files = {"/tmp/new message.wav"};
    Child<QPushButton>(d, "cmdSoundFileSelect")->click();
    EXPECT_EQ(prompter_.fileRequests.back().kind, FileRequest::Save);
    d->Apply();
    EXPECT_FALSE(Tables().Module(d->ModuleIndex()).PlayTone);
    EXPECT_EQ(Tables().Module(d->ModuleIndex()).RecFile, "/tmp/new message.wav");
}

TEST_F(TypeDialogTest, GetNumbersLengthRule) {
    ModuleRecord& m = Add("Get Numbers", "Account");
    m.GetNbrLenEnforce = 5;
    m.GetNbrLenMax = 0;
    m.PlayFileSlot(4) = "wrong-length.wav";
    Show();
    ModuleDialog* d = Open("Account");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    auto* any = Child<QRadioButton>(d, "optNbrLen(0)");
    auto* exactly = Child<QRadioButton>(d, "optNbrLen(2)");
    EXPECT_TRUE(any->isChecked());
    EXPECT_EQ(stored.GetNbrLenEnforce, 0);
    EXPECT_EQ(Field(d, "txtNbrLen")->text(), "1");
    EXPECT_EQ(stored.GetNbrLenMax, 1);
    EXPECT_EQ(Field(d, "txtSoundFile(4)")->text(), "wrong-length.wav");
    EXPECT_FALSE(Field(d, "txtNbrLen")->isEnabled());

    exactly->setChecked(true);
    EXPECT_TRUE(Field(d, "txtNbrLen")->isEnabled());
    EXPECT_TRUE(d->IsDirty());
    Type(Field(d, "txtNbrLen"), "60");
    EXPECT_EQ(Field(d, "txtNbrLen")->text(), "50");
    Child<QCheckBox>(d, "chkNbrConfirm")->setChecked(true);
    d->Apply();
    EXPECT_EQ(stored.GetNbrLenEnforce, 2);
    EXPECT_TRUE(stored.Confirm);
    any->setChecked(true); // the digits stay stored, disabled
    d->Apply();
    EXPECT_EQ(stored.GetNbrLenEnforce, 0);
    EXPECT_EQ(stored.GetNbrLenMax, 50);
}

// A library with the engine's block layout.
std::string LibraryBlock(const std::string& name, const std::string& label) {
    return "'### say\r\n' Type: " + name + "\r\n'\r\n' Label:" + label +
           "\r\n'\r\n' Routine:Say\r\n";
}

TEST_F(TypeDialogTest, SayNumbersTypeFromTheLibrary) {
    WriteFile("system/vbs/lib_num2wav.vbs", "' say-number library\r\n" +
                                                LibraryBlock("Number", "Number :") +
                                                LibraryBlock("Amount - Dollars", "Dollars :") +
                                                LibraryBlock("Digits", "Digits :") +
                                                LibraryBlock("Amount - Dollars", "Amount :"));
    Add("Say Numbers", "Older").SayNbrType = "Amount Dollars";
    Add("Say Numbers", "Unknown").SayNbrType = "Euro";
    Show();
    ModuleDialog* older = Open("Older");
    auto* type = Child<QComboBox>(older, "cmbSayNbrType");
    EXPECT_EQ(Items(type),
              QStringList({"Number", "Amount - Dollars", "Digits", "Amount - Dollars"}));
    EXPECT_EQ(type->currentIndex(), 3); // the older name's current form, the last of its name
    EXPECT_EQ(Child<QLabel>(older, "lblNumberToSay")->text(), "Amount :");
    EXPECT_EQ(Tables().Module(older->ModuleIndex()).SayNbrType, "Amount - Dollars");
    Choose(type, "Number");
    EXPECT_EQ(Child<QLabel>(older, "lblNumberToSay")->text(), "Number :");
    EXPECT_TRUE(older->IsDirty());

    ModuleDialog* unknown = Open("Unknown");
    EXPECT_EQ(Child<QComboBox>(unknown, "cmbSayNbrType")->currentText(), "Digits");
}

TEST_F(TypeDialogTest, SayNumbersWithoutTheLibrary) {
    Add("Say Numbers", "New");
    Add("Say Numbers", "Custom").SayNbrType = "Euro";
    Show();
    ModuleDialog* fresh = Open("New");
    auto* type = Child<QComboBox>(fresh, "cmbSayNbrType");
    ASSERT_EQ(type->count(), 11);
    EXPECT_EQ(type->itemText(0), "Number");
    EXPECT_EQ(type->itemText(10), "Time 24 hour - HHNN");
    EXPECT_EQ(Tables().Module(fresh->ModuleIndex()).SayNbrType, "Digits");
    // A type only the engine's library knows is kept, not made "Digits" by opening.
    ModuleDialog* custom = Open("Custom");
    EXPECT_EQ(Child<QComboBox>(custom, "cmbSayNbrType")->currentText(), "Euro");
    EXPECT_EQ(Tables().Module(custom->ModuleIndex()).SayNbrType, "Euro");
}

TEST_F(TypeDialogTest, TimeSwitchDaysOfWeek) {
    ModuleRecord& weekend = Add("Time Switch", "Weekend");
    weekend.iTimeSwitch_Type = 1;
    weekend.sTimeSwitch_DaysSelected = "SaSu";
    weekend.dTimeSwitch_DateStart = {2024, 3, 9, 8, 30, 0};
    weekend.dTimeSwitch_DateEnd = {2024, 3, 10, 17, 45, 0};
    weekend.sTimeSwitch_DateTimeToTest = "  ";
    Add("Time Switch", "Lower").sTimeSwitch_DaysSelected = "sasu";
    Show();
    ModuleDialog* d = Open("Weekend");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_TRUE(Child<QRadioButton>(d, "optSwitchType(1)")->isChecked());
    for (int k = 1; k <= 7; ++k) {
        auto* day = Child<QCheckBox>(d, QStringLiteral("chkDay(%1)").arg(k).toLatin1().constData());
        EXPECT_EQ(day->isChecked(), k >= 6) << k;
        EXPECT_TRUE(day->isEnabled());
    }
    auto* from = Child<QDateTimeEdit>(d, "dtp(2)");
    EXPECT_EQ(from->text(), "8:30 AM");
    EXPECT_EQ(Child<QDateTimeEdit>(d, "dtp(0)")->text(), "8:30 AM 9-Mar-2024");
    EXPECT_FALSE(Child<QDateTimeEdit>(d, "dtp(0)")->isEnabled());
    EXPECT_EQ(stored.sTimeSwitch_DateTimeToTest, "");

    // The time picker holds the whole date and time: a new time keeps the stored date.
    from->setTime(QTime(9, 15));
    d->Apply();
    EXPECT_EQ(stored.dTimeSwitch_DateStart, (DateTime{2024, 3, 9, 9, 15, 0}));
    EXPECT_EQ(stored.dTimeSwitch_DateEnd, (DateTime{2024, 3, 10, 17, 45, 0}));

    // Switching to a date range keeps the days, disabled, and stores them.
    Child<QRadioButton>(d, "optSwitchType(0)")->setChecked(true);
    EXPECT_FALSE(Child<QCheckBox>(d, "chkDay(6)")->isEnabled());
    d->Apply();
    EXPECT_EQ(stored.iTimeSwitch_Type, 0);
    EXPECT_EQ(stored.sTimeSwitch_DaysSelected, "SaSu");
    EXPECT_EQ(stored.dTimeSwitch_DateStart, (DateTime{2024, 3, 9, 8, 30, 0})); // from dtp(0)

    // Day codes are matched exactly: lower case checks no box and stores none.
    ModuleDialog* lower = Open("Lower");
    EXPECT_TRUE(Child<QRadioButton>(lower, "optSwitchType(1)")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(lower, "chkDay(6)")->isChecked());
    EXPECT_EQ(Tables().Module(lower->ModuleIndex()).sTimeSwitch_DaysSelected, "");
}

TEST_F(TypeDialogTest, TimeSwitchTimesLandAsTyped) {
    Add("Time Switch", "Hours");
    Show();
    ModuleDialog* d = Open("Hours");
    struct Case {
        const char* picker;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"dtp(2)", "9:30 AM", "9:30 AM"},
        {"dtp(2)", "9:30 PM", "9:30 PM"},
        {"dtp(3)", "12:05 PM", "12:05 PM"},
        {"dtp(3)", "11:45 am", "11:45 AM"},
        {"dtp(2)", "7:05 P", "7:05 PM"},
        // A text that is no time leaves the value as it was.
        {"dtp(2)", "13:45 PM", "7:05 PM"},
        {"dtp(2)", "21:30", "9:30 PM"},
        {"dtp(0)", "9:30 PM 12-Dec-2026", "9:30 PM 12-Dec-2026"},
        {"dtp(1)", "10:00 AM 1-Jan-2027", "10:00 AM 1-Jan-2027"},
    };
    Child<QRadioButton>(d, "optSwitchType(0)")->setChecked(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        auto* picker = Child<QDateTimeEdit>(d, c.picker);
        picker->setEnabled(true);
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(picker, QLatin1String(c.typed));
        QTest::keyClick(picker, Qt::Key_Tab);
        EXPECT_EQ(picker->text(), QLatin1String(c.shown));
    }
    d->Apply();
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(stored.dTimeSwitch_DateStart, (DateTime{2026, 12, 12, 21, 30, 0}));
    EXPECT_EQ(stored.dTimeSwitch_DateEnd, (DateTime{2027, 1, 1, 10, 0, 0}));
}

TEST(TimeSwitchPicker, KeepsEveryPartOfTheValue) {
    for (const DateTime& value :
         {DateTime{2099, 12, 31, 23, 59, 0}, DateTime{1899, 12, 30, 0, 0, 0},
          DateTime{2024, 3, 31, 2, 30, 15}}) // an hour that some local zones skip
        EXPECT_EQ(FromPicker(ToPicker(value)), value);
}

} // namespace
} // namespace ry::test
