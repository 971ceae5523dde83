// The Send Email and Pager Message dialogs.

#include "round_trip.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace ry::test {
namespace {

class MessageDialogTest : public RoundTripTest {
protected:
    static QRadioButton* Option(QWidget* d, int index) {
        return Child<QRadioButton>(
            d, QStringLiteral("optEmailMechanism(%1)").arg(index).toLatin1().constData());
    }
    static QWidget* MethodField(QWidget* d, const char* name, int method) {
        return Child<QWidget>(d,
                              QStringLiteral("%1_%2").arg(name).arg(method).toLatin1().constData());
    }
};

TEST_F(MessageDialogTest, SendMethodsAndTheirSmtpSettings) {
    ModuleRecord& m = Add("Send Email", "Mail");
    m.strEmailSendMethod_1 = "mapi";
    m.strEmailSendMethod_2 = "smtp";
    m.lEmailSmtpPort_1 = 0;
    m.lEmailSmtpPort_2 = 2525;
    m.iEmailSmtpUseAuth_2 = -1; // any value but 0 is set
    Show();
    ModuleDialog* d = Open("Mail");
    EXPECT_EQ(d->objectName(), "frmDbiEmail");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_TRUE(Option(d, 0)->isChecked());
    EXPECT_TRUE(Option(d, 3)->isChecked());
    EXPECT_EQ(stored.strEmailSendMethod_1, "MAPI");
    EXPECT_EQ(stored.strEmailSendMethod_2, "SMTP");
    EXPECT_EQ(stored.iEmailSmtpUseAuth_2, 1);
    EXPECT_EQ(Field(d, "txtSmtpPort_1")->text(), ""); // the default port
    EXPECT_EQ(Field(d, "txtSmtpPort_2")->text(), "2525");

    // Which SMTP controls can be used, for each choice. Under MAPI the alternate method keeps
    // its login as its authentication box says; the primary one has none.
    struct Case {
        bool smtp;
        bool authenticate;
        bool serverEnabled;
        bool loginEnabled[2]; // method 1, method 2
    } cases[] = {
        {false, false, false, {false, false}},
        {false, true, false, {false, true}},
        {true, false, true, {false, false}},
        {true, true, true, {true, true}},
    };
    for (int method = 1; method <= 2; ++method) {
        for (const Case& c : cases) {
            SCOPED_TRACE(QStringLiteral("method %1 smtp %2 auth %3")
                             .arg(method)
                             .arg(c.smtp)
                             .arg(c.authenticate)
                             .toStdString());
            // The box can be checked only under SMTP, so it is set first.
            Option(d, 2 * method - 1)->setChecked(true);
            Child<QCheckBox>(
                d, QStringLiteral("chkUseAutentication_%1").arg(method).toLatin1().constData())
                ->setChecked(c.authenticate);
            Option(d, 2 * method - (c.smtp ? 1 : 2))->setChecked(true);
            for (const char* name : {"txtSmtpServer", "txtSmtpPort", "chkUseAutentication"})
                EXPECT_EQ(MethodField(d, name, method)->isEnabled(), c.serverEnabled) << name;
            for (const char* name : {"txtSmtpLogin", "txtSmtpPassword"})
                EXPECT_EQ(MethodField(d, name, method)->isEnabled(), c.loginEnabled[method - 1])
                    << name;
        }
    }
}

TEST_F(MessageDialogTest, NumbersThatDoNotConvertKeepTheStoredValue) {
    ModuleRecord& m = Add("Send Email", "Mail");
    m.lEmailSendRetries = 5;
    m.lEmailRetriesDelay = 10;
    m.lEmailSmtpPort_1 = 0;
    m.lEmailSmtpPort_2 = 25;
    Show();
    ModuleDialog* d = Open("Mail");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    Field(d, "txtSendRetries")->setText("five");
    Field(d, "txtSendRetriesDelay")->setText("15");
    Field(d, "txtSmtpPort_1")->setText("");
    Field(d, "txtSmtpPort_2")->setText(""); // cleared: the default port, as its note says
    Field(d, "txtSoundFile(1)")->setText("Missed call");
    d->Apply();
    EXPECT_EQ(stored.lEmailSendRetries, 5);
    EXPECT_EQ(Field(d, "txtSendRetries")->text(), "5");
    EXPECT_EQ(stored.lEmailRetriesDelay, 15);
    EXPECT_EQ(stored.lEmailSmtpPort_1, 0);
    EXPECT_EQ(stored.lEmailSmtpPort_2, 0);
    EXPECT_EQ(stored.strEmailSubject, "Missed call");

    Field(d, "txtSmtpPort_1")->setText("port");
    Field(d, "txtSmtpPort_2")->setText("587");
    d->Apply();
    EXPECT_EQ(stored.lEmailSmtpPort_1, 0);
    EXPECT_EQ(Field(d, "txtSmtpPort_1")->text(), "");
    EXPECT_EQ(stored.lEmailSmtpPort_2, 587);
}

TEST_F(MessageDialogTest, PagerTypesShowTheirOwnValuesWithoutLoss) {
    ModuleRecord& pet = Add("Pager Message", "Pet");
    pet.PagerType = "RUN_PAGER_PET";
    pet.PagerTelNbr = "5550100";
    pet.PagerId = "ID-42";
    pet.PagerPassword = "secret";
    pet.PagerMessage = "Call the office";
    pet.PagerLineSelection = "1,2";
    Show();
    ModuleDialog* d = Open("Pet");
    EXPECT_EQ(d->objectName(), "frmDbiPage");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    auto* numeric = Child<QRadioButton>(d, "optPagerType(0)");
    auto* alpha = Child<QRadioButton>(d, "optPagerType(1)");
    auto* second = Child<QLabel>(d, "lblMisc(11)");
    EXPECT_TRUE(alpha->isChecked());
    EXPECT_EQ(second->text(), "Pager :");
    EXPECT_EQ(Field(d, "txtSoundFile(1)")->text(), "ID-42");
    EXPECT_EQ(Field(d, "txtSoundFile(2)")->text(), "secret");
    EXPECT_EQ(Field(d, "txtSoundFile(3)")->text(), "Call the office");
    EXPECT_EQ(Field(d, "txtSoundFile(6)")->text(), "1,2");

    numeric->setChecked(true);
    EXPECT_EQ(second->text(), "Message :");
    EXPECT_EQ(Field(d, "txtSoundFile(1)")->text(), "Call the office");
    EXPECT_FALSE(Field(d, "txtSoundFile(2)")->isEnabled());
    EXPECT_FALSE(Field(d, "txtSoundFile(3)")->isEnabled());
    Field(d, "txtSoundFile(1)")->setText("911");
    alpha->setChecked(true);
    EXPECT_EQ(Field(d, "txtSoundFile(1)")->text(), "ID-42");
    EXPECT_EQ(Field(d, "txtSoundFile(3)")->text(), "911"); // the message typed as numeric
    EXPECT_TRUE(Field(d, "txtSoundFile(2)")->isEnabled());

    // A numeric page stores no pager ID or password, and leaves those stored alone.
    numeric->setChecked(true);
    EXPECT_TRUE(d->IsDirty());
    d->Apply();
    EXPECT_EQ(stored.PagerType, "RUN_PAGER_NUMERIC");
    EXPECT_EQ(stored.PagerMessage, "911");
    EXPECT_EQ(stored.PagerId, "ID-42");
    EXPECT_EQ(stored.PagerPassword, "secret");
}

TEST_F(MessageDialogTest, PagerTypeOpenedFromWhatIsStored) {
    struct Case {
        const char* stored;
        int option;
        const char* applied;
    } cases[] = {
        {"RUN_PAGER_NUMERIC", 0, "RUN_PAGER_NUMERIC"},
        {"RUN_PAGER_PET", 1, "RUN_PAGER_PET"},
        {"run_pager_pet", 1, "RUN_PAGER_PET"}, // letter case does not change the kind
        {"", 0, "RUN_PAGER_NUMERIC"},          // a new module is a numeric pager
        {"RUN_PAGER_TAP", 0, "RUN_PAGER_NUMERIC"},
    };
    int n = 0;
    for (const Case& c : cases)
        Add("Pager Message", "Pager " + std::to_string(++n)).PagerType = c.stored;
    Show();
    n = 0;
    for (const Case& c : cases) {
        ModuleDialog* d = Open("Pager " + std::to_string(++n));
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(Child<QRadioButton>(
                        d, QStringLiteral("optPagerType(%1)").arg(c.option).toLatin1().constData())
                        ->isChecked())
            << c.stored;
        EXPECT_EQ(Tables().Module(d->ModuleIndex()).PagerType, c.applied) << c.stored;
        EXPECT_FALSE(d->IsDirty());
    }
}

TEST_F(MessageDialogTest, EveryFieldThroughTheFile) {
    Add("Send Email", "Mail");
    Add("Pager Message", "Pet").PagerType = "RUN_PAGER_PET";
    Add("Pager Message", "Numeric").PagerId = "kept";
    Show();
    ExpectRoundTrip("Mail", [&](ModuleDialog* d) {
        Field(d, "txtSoundFile(0)")->setText("desk@example.com");
        Field(d, "txtSoundFile(1)")->setText("Voicemail for [line]");
        Child<QPlainTextEdit>(d, "txtSoundFile(2)")->setPlainText("A new message.\nListen soon");
        Field(d, "txtSoundFile(3)")->setText("C:\\vm\\msg.wav");
        Child<QCheckBox>(d, "chkDelAfterSend")->setChecked(true);
        Field(d, "txtReturnAddress")->setText("lines@example.com");
        Field(d, "txtReturnName")->setText("Phone lines");
        Field(d, "txtCc")->setText("boss@example.com");
        Field(d, "txtBcc")->setText("log@example.com");
        Field(d, "txtSendRetries")->setText("7");
        Field(d, "txtSendRetriesDelay")->setText("3");
        for (int method = 1; method <= 2; ++method) {
            Option(d, 2 * method - 1)->setChecked(true);
            const QString n = QString::number(method);
            Field(d, ("txtSmtpServer_" + n).toLatin1().constData())
                ->setText("smtp" + n + ".example.com");
            Field(d, ("txtSmtpPort_" + n).toLatin1().constData())->setText("58" + n);
            Child<QCheckBox>(d, ("chkUseAutentication_" + n).toLatin1().constData())
                ->setChecked(true);
            Field(d, ("txtSmtpLogin_" + n).toLatin1().constData())->setText("user" + n);
            Field(d, ("txtSmtpPassword_" + n).toLatin1().constData())->setText("pass " + n);
        }
        Option(d, 2)->setChecked(true); // the second method by MAPI, its SMTP settings kept
        Field(d, "txtModTitle")->setText("Mail the desk");
    });
    ExpectRoundTrip("Pet", [&](ModuleDialog* d) {
        Field(d, "txtSoundFile(0)")->setText("5550199");
        Field(d, "txtSoundFile(1)")->setText("P-7");
        Field(d, "txtSoundFile(2)")->setText("pw");
        Field(d, "txtSoundFile(3)")->setText("Server down");
        Field(d, "txtSoundFile(6)")->setText("3");
        Field(d, "txtModTitle")->setText("Page support");
    });
    ExpectRoundTrip("Numeric", [&](ModuleDialog* d) {
        Field(d, "txtSoundFile(0)")->setText("5550123");
        Field(d, "txtSoundFile(1)")->setText("4242");
        Field(d, "txtSoundFile(6)")->setText("1-4");
        Field(d, "txtModTitle")->setText("Page on call");
    });
}

} // namespace
} // namespace ry::test
