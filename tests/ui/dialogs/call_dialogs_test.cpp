// The Transfer Call, Make Call and Dial and Conference dialogs.

#include "round_trip.h"

#include <QPushButton>
#include <QRadioButton>

namespace ry::test {
namespace {

class CallDialogTest : public RoundTripTest {
protected:
    static QRadioButton* TransferType(QWidget* d, int index) {
        return Child<QRadioButton>(
            d, QStringLiteral("optXferType(%1)").arg(index).toLatin1().constData());
    }
    // Whether the dial-out settings and the announce message can be used.
    static void ExpectUsable(QWidget* d, bool dialOut, bool announce) {
        for (const char* name : {"txtPlayWhileDialing", "txtLineSelect", "cmdSelectFile(0)",
                                 "cmdSelectFile(1)", "Label1", "Label2"})
            EXPECT_EQ(Child<QWidget>(d, name)->isEnabled(), dialOut) << name;
        for (const char* name : {"txtAnnounceMessage", "cmdSelectFile(3)", "Label9"})
            EXPECT_EQ(Child<QWidget>(d, name)->isEnabled(), announce) << name;
    }
    static QLineEdit* ContactField(QWidget* d, const char* name, int contact) {
        return Field(d, QStringLiteral("%1(%2)").arg(name).arg(contact).toLatin1().constData());
    }
};

TEST_F(CallDialogTest, TransferTypeDecidesWhichSettingsApply) {
    Add("Transfer Call", "Announced").iXferType = 3;
    ModuleRecord& dialOut = Add("Transfer Call", "Dial out");
    dialOut.iXferType = 5;
    dialOut.sXfer2ndLegLinesListFile = "lines.txt";
    dialOut.PlayFileSlot(2) = "hold.wav";
    Show();
    ModuleDialog* announced = Open("Announced");
    EXPECT_EQ(announced->objectName(), "frmDbiXfer");
    EXPECT_TRUE(TransferType(announced, 3)->isChecked());
    EXPECT_EQ(TransferType(announced, 3)->text(), "3 Way Announced Conference Call");
    ExpectUsable(announced, false, true);

    ModuleDialog* d = Open("Dial out");
    ExpectUsable(d, true, false);
    TransferType(d, 0)->setChecked(true);
    EXPECT_TRUE(d->IsDirty());
    ExpectUsable(d, false, false);
    EXPECT_EQ(Field(d, "txtLineSelect")->text(), "lines.txt");
    d->Apply();
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(stored.iXferType, 0);
    EXPECT_EQ(stored.sXfer2ndLegLinesListFile, "lines.txt");
    EXPECT_EQ(stored.PlayFileSlot(2), "hold.wav");
}

TEST_F(CallDialogTest, TransferTypeOutsideTheListIsKeptUntilOneIsChosen) {
    Add("Transfer Call", "Future").iXferType = 8;
    Show();
    ModuleDialog* d = Open("Future");
    ASSERT_NE(d, nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(TransferType(d, i)->isChecked()) << i;
    ExpectUsable(d, false, false);
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(stored.iXferType, 8);
    TransferType(d, 1)->setChecked(true);
    ExpectUsable(d, false, true);
    d->Apply();
    EXPECT_EQ(stored.iXferType, 1);
}

TEST_F(CallDialogTest, TransferFilesChosenByKind) {
    Add("Transfer Call", "Transfer").iXferType = 5;
    Show();
    ModuleDialog* d = Open("Transfer");
    prompter_.files = {"/etc/lines.txt", "/sounds/hold.wav"};
    Child<QPushButton>(d, "cmdSelectFile(0)")->click();
    Child<QPushButton>(d, "cmdSelectFile(1)")->click();
    EXPECT_EQ(Field(d, "txtLineSelect")->text(), "/etc/lines.txt");
    EXPECT_EQ(Field(d, "txtPlayWhileDialing")->text(), "/sounds/hold.wav");
    ASSERT_EQ(prompter_.fileRequests.size(), 2u);
    EXPECT_TRUE(prompter_.fileRequests[0].filter.contains("*.txt"));
    EXPECT_TRUE(prompter_.fileRequests[1].filter.contains("*.wav"));
    // The number is stored as typed.
    Field(d, "txtSoundFile")->setText(" 201 ");
    d->Apply();
    EXPECT_EQ(Tables().Module(d->ModuleIndex()).PlayFileSlot(1), " 201 ");
}

TEST_F(CallDialogTest, MakeCallRetriesAndPauses) {
    Add("Phone Message", "Call out");
    Show();
    ModuleDialog* d = Open("Call out");
    EXPECT_EQ(d->objectName(), "frmDbiDialout");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    ContactField(d, "txtPhone", 0)->setText("5550100");
    ContactField(d, "txtReplayCount", 0)->setText("3");
    ContactField(d, "txtPauseTime", 0)->setText("abc"); // no number: the stored one stays
    for (int contact = 1; contact <= 2; ++contact) {
        ContactField(d, "txtReplayCount", contact)->setText("");
        ContactField(d, "txtPauseTime", contact)->setText(" ");
    }
    d->Apply();
    EXPECT_EQ(stored.sDialPhone[0], "5550100");
    EXPECT_EQ(stored.sDialRetry[0], 3);
    EXPECT_EQ(stored.sDialDelay[0], 5);
    EXPECT_EQ(ContactField(d, "txtPauseTime", 0)->text(), "5");
    for (size_t contact = 1; contact <= 2; ++contact) {
        EXPECT_EQ(stored.sDialPhone[contact], "");
        EXPECT_EQ(stored.sDialScript[contact], "");
        EXPECT_EQ(stored.sDialRetry[contact], 0);
        EXPECT_EQ(stored.sDialDelay[contact], 0);
    }
    // The answered call runs a script or plays a sound file.
    prompter_.files = {"/scripts/after.rys"};
    Child<QPushButton>(d, "Command2(1)")->click();
    EXPECT_EQ(ContactField(d, "txtScript", 1)->text(), "/scripts/after.rys");
    EXPECT_TRUE(prompter_.fileRequests.back().filter.contains("*.rys"));
}

TEST_F(CallDialogTest, DialAndConferenceTrimsAndDefaultsTheMaximumTime) {
    ModuleRecord& m = Add("Dial and Conference", "Conference");
    m.sDncMaxConnectTime = "  ";
    Show();
    ModuleDialog* d = Open("Conference");
    EXPECT_EQ(d->objectName(), "frmDbiDialAndConferece");
    EXPECT_TRUE(Child<QPushButton>(d, "cmdHelp")->isEnabled()); // its page of the manual
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(Field(d, "txtMaxTime")->text(), "60");
    EXPECT_EQ(stored.sDncMaxConnectTime, "60");
    Field(d, "txtPhone")->setText("  5550100 ");
    Field(d, "txtTimeWarningPlayAt")->setText(" 30 ");
    d->Apply();
    EXPECT_EQ(stored.sDncPhoneNumber, "5550100");
    EXPECT_EQ(Field(d, "txtPhone")->text(), "5550100");
    EXPECT_EQ(stored.sDncTimeWarningPlayAt, "30");
    prompter_.files = {"/sounds/one-minute.wav"};
    Child<QPushButton>(d, "cmdWavSelect")->click();
    EXPECT_EQ(Field(d, "txtTimeWarningMsg")->text(), "/sounds/one-minute.wav");
}

TEST_F(CallDialogTest, EveryFieldThroughTheFile) {
    Add("Transfer Call", "Transfer");
    Add("Phone Message", "Call out");
    Add("Dial and Conference", "Conference");
    Show();
    // The file keeps no replay values for a transfer; loading gives it the type's own.
    ExpectRoundTrip("Transfer",
                    [&](ModuleDialog* d) {
                        Field(d, "txtSoundFile")->setText("2001");
                        TransferType(d, 5)->setChecked(true);
                        Field(d, "txtPlayWhileDialing")->setText("hold.wav");
                        Field(d, "txtLineSelect")->setText("C:\\lines.txt");
                        Field(d, "txtAnnounceMessage")->setText("accept.wav");
                        Field(d, "txtModTitle")->setText("To sales");
                    },
                    {"ReplayCount", "ReplayPause"});
    ExpectRoundTrip("Call out", [&](ModuleDialog* d) {
        for (int i = 0; i < 3; ++i) {
            const QString n = QString::number(i);
            ContactField(d, "txtPhone", i)->setText("555010" + n);
            ContactField(d, "txtWelc", i)->setText("welcome" + n + ".wav");
            ContactField(d, "txtScript", i)->setText("after" + n + ".rys");
            ContactField(d, "txtVariables", i)->setText("[name],[id" + n + "]");
            ContactField(d, "txtLineSelection", i)->setText(n);
            ContactField(d, "txtReplayCount", i)->setText(QString::number(4 + i));
            ContactField(d, "txtPauseTime", i)->setText(QString::number(10 + i));
        }
        Field(d, "txtModTitle")->setText("Call the manager");
    });
    const std::int16_t conference = ModuleTitled("Conference");
    ExpectRoundTrip("Conference",
                    [&](ModuleDialog* d) {
                        Field(d, "txtPhone")->setText("5550111");
                        Field(d, "txtHoldMsg")->setText("connecting.wav");
                        Field(d, "txtMaxTime")->setText("15");
                        Field(d, "txtEndCode")->setText("##");
                        Field(d, "txtTimeWarningMsg")->setText("one-minute.wav");
                        Field(d, "txtTimeWarningPlayAt")->setText("60");
                        Field(d, "txtModTitle")->setText("Join the expert");
                    },
                    {"sDncTimeWarningMsg", "sDncTimeWarningPlayAt"});
    // The time warning lasts while the script is open; the file does not hold it.
    EXPECT_EQ(Tables().Module(conference).sDncTimeWarningMsg, "one-minute.wav");
    EXPECT_EQ(Tables().Module(conference).sDncTimeWarningPlayAt, "60");
    EXPECT_EQ(SaveAndLoad(conference).sDncTimeWarningMsg, "");
}

} // namespace
} // namespace ry::test
