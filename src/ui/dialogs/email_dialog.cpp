#include "dialogs/email_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/field_text.h"
#include "script/text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <type_traits>

namespace ry {

namespace {

// The record's fields of the two send methods, for reading (a const record) or writing.
template <class Record> struct SendMethodFields {
    template <class T> using Field = std::conditional_t<std::is_const_v<Record>, const T&, T&>;
    Field<std::string> sendMethod;
    Field<std::string> server;
    Field<std::int32_t> port;
    Field<std::int16_t> useAuth;
    Field<std::string> login;
    Field<std::string> password;
};

template <class Record> std::array<SendMethodFields<Record>, 2> SendMethodsOf(Record& m) {
    return {{{m.strEmailSendMethod_1, m.strEmailSmtpServ_1, m.lEmailSmtpPort_1,
              m.iEmailSmtpUseAuth_1, m.strEmailSmtpAuthUser_1, m.strEmailSmtpAuthPassword_1},
             {m.strEmailSendMethod_2, m.strEmailSmtpServ_2, m.lEmailSmtpPort_2,
              m.iEmailSmtpUseAuth_2, m.strEmailSmtpAuthUser_2, m.strEmailSmtpAuthPassword_2}}};
}

} // namespace

EmailDialog::EmailDialog(Designer& designer, const ModuleDialogSetup& setup,
                         const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* email = AddPage(QStringLiteral("Email"));
    QGridLayout* grid = FramedGrid(email, QStringLiteral("Message Details"));
    QWidget* frame = grid->parentWidget();
    grid->addWidget(new QLabel(QStringLiteral("To :"), frame), 0, 0);
    to_ = MakeLineEdit(QStringLiteral("txtSoundFile(0)"), frame);
    grid->addWidget(to_, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Subject :"), frame), 1, 0);
    subject_ = MakeLineEdit(QStringLiteral("txtSoundFile(1)"), frame);
    grid->addWidget(subject_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Message :"), frame), 2, 0, Qt::AlignTop);
    // The file keeps a message of several lines (continued lines), so the box takes them.
    message_ = MakeTextBox(QStringLiteral("txtSoundFile(2)"), frame);
    grid->addWidget(message_, 2, 1, 1, 2);
    attachment_ =
        AddFileRow(grid, 3, QStringLiteral("Attachment :"), QStringLiteral("txtSoundFile(3)"),
                   QStringLiteral("Command1"), QStringLiteral("&Select"),
                   [this](const QString& current) {
                       return this->designer().Files().SelectFile_Any(this, current);
                   })
            .file;
    deleteAfterSend_ = new QCheckBox(QStringLiteral("Delete attachment after sending"), frame);
    deleteAfterSend_->setObjectName(QStringLiteral("chkDelAfterSend"));
    WatchEdits(deleteAfterSend_);
    grid->addWidget(deleteAfterSend_, 4, 1, 1, 2);

    QWidget* misc = AddPage(QStringLiteral("Misc"));
    grid = FramedGrid(misc, QStringLiteral("Misc Settings"));
    frame = grid->parentWidget();
    auto row = [&](int r, const QString& label, const QString& name) {
        grid->addWidget(new QLabel(label, frame), r, 0);
        QLineEdit* field = MakeLineEdit(name, frame);
        grid->addWidget(field, r, 1);
        return field;
    };
    returnAddress_ = row(0, QStringLiteral("Return email :"), QStringLiteral("txtReturnAddress"));
    returnName_ = row(1, QStringLiteral("Senders name :"), QStringLiteral("txtReturnName"));
    cc_ = row(2, QStringLiteral("CC :"), QStringLiteral("txtCc"));
    bcc_ = row(3, QStringLiteral("BCC :"), QStringLiteral("txtBcc"));
    retries_ = row(4, QStringLiteral("Send retries :"), QStringLiteral("txtSendRetries"));
    retryDelay_ = row(5, QStringLiteral("Retry delay :"), QStringLiteral("txtSendRetriesDelay"));
    grid->addWidget(new QLabel(QStringLiteral("(delay between retries - in minutes)"), frame), 6,
                    1);

    BuildMethodPage(methods_[0], 1, QStringLiteral("Send Method 1"),
                    QStringLiteral("Method used to send email"),
                    QStringLiteral("Primary Email Sending Method"));
    BuildMethodPage(methods_[1], 2, QStringLiteral("Send Method 2"),
                    QStringLiteral("Alternate method to send email"),
                    QStringLiteral("Alternate Email Sending Method"));
}

void EmailDialog::BuildMethodPage(Method& method, int number, const QString& caption,
                                  const QString& toolTip, const QString& frameCaption) {
    QWidget* page = AddPage(caption, toolTip);
    QGridLayout* grid = FramedGrid(page, frameCaption);
    QWidget* frame = grid->parentWidget();
    const QString suffix = QStringLiteral("_%1").arg(number);
    const int first = 2 * (number - 1);
    auto* group = new QButtonGroup(frame);
    method.mapi = new QRadioButton(
        QStringLiteral("Use Simple MAPI to forward messages using locally installed email "
                       "software (eg: Eudora, Outlook)"),
        frame);
    method.mapi->setObjectName(Indexed(QStringLiteral("optEmailMechanism"), first));
    method.smtp =
        new QRadioButton(QStringLiteral("Use SMTP to forward email direct to mail server."), frame);
    method.smtp->setObjectName(Indexed(QStringLiteral("optEmailMechanism"), first + 1));
    for (QRadioButton* option : {method.mapi, method.smtp}) {
        group->addButton(option);
        WatchEdits(option);
        connect(option, &QRadioButton::toggled, this, [this, &method] { MethodChosen(method); });
    }
    grid->addWidget(method.mapi, 0, 0, 1, 3);
    grid->addWidget(
        new QLabel(QStringLiteral("Outlook Express cannot be used with this option."), frame), 1, 0,
        1, 3);
    grid->addWidget(method.smtp, 2, 0, 1, 3);

    method.smtpLabels[0] = new QLabel(QStringLiteral("SMTP server :"), frame);
    grid->addWidget(method.smtpLabels[0], 3, 0);
    method.server = MakeLineEdit(QStringLiteral("txtSmtpServer") + suffix, frame);
    grid->addWidget(method.server, 3, 1, 1, 2);
    method.smtpLabels[1] = new QLabel(QStringLiteral("SMTP port :"), frame);
    grid->addWidget(method.smtpLabels[1], 4, 0);
    method.port = MakeLineEdit(QStringLiteral("txtSmtpPort") + suffix, frame);
    grid->addWidget(method.port, 4, 1);
    method.smtpLabels[2] =
        new QLabel(QStringLiteral("(leave blank or 0 to use default port)"), frame);
    grid->addWidget(method.smtpLabels[2], 4, 2);
    method.useAuth =
        new QCheckBox(QStringLiteral("Use autherntication for SMTP connection"), frame);
    method.useAuth->setObjectName(QStringLiteral("chkUseAutentication") + suffix);
    WatchEdits(method.useAuth);
    connect(method.useAuth, &QCheckBox::toggled, this, [this, &method] { MethodChosen(method); });
    grid->addWidget(method.useAuth, 5, 0, 1, 3);
    method.loginLabel = new QLabel(QStringLiteral("Login / Password :"), frame);
    grid->addWidget(method.loginLabel, 6, 0);
    method.login = MakeLineEdit(QStringLiteral("txtSmtpLogin") + suffix, frame);
    grid->addWidget(method.login, 6, 1);
    method.password = MakeLineEdit(QStringLiteral("txtSmtpPassword") + suffix, frame);
    grid->addWidget(method.password, 6, 2);
}

void EmailDialog::MethodChosen(Method& method) {
    // Under MAPI nothing of SMTP applies to the primary method; the alternate method keeps its
    // login under MAPI as set by its authentication box (the engine may log in to the local
    // mail software with it). Under SMTP the login applies when the connection authenticates.
    const bool smtp = !method.mapi->isChecked();
    const bool alternate = &method == &methods_[1];
    method.server->setEnabled(smtp);
    method.port->setEnabled(smtp);
    method.useAuth->setEnabled(smtp);
    for (QLabel* label : method.smtpLabels)
        label->setEnabled(smtp);
    const bool login = (smtp || alternate) && method.useAuth->isChecked();
    method.login->setEnabled(login);
    method.password->setEnabled(login);
    method.loginLabel->setEnabled(login);
}

QString EmailDialog::PortText(std::int32_t port) {
    // 0 is the mail server's default port, shown as nothing.
    return port == 0 ? QString() : QString::number(port);
}

void EmailDialog::LoadFields(const ModuleRecord& m) {
    to_->setText(ToQt(m.strEmailAddrTo));
    subject_->setText(ToQt(m.strEmailSubject));
    message_->setPlainText(FromStored(m.strEmailMessageText));
    attachment_->setText(ToQt(m.strEmailAttachmentFileName));
    deleteAfterSend_->setChecked(m.iEmailAttachmentDeleteAfterSend != 0);
    returnAddress_->setText(ToQt(m.strEmailReturnAddress));
    returnName_->setText(ToQt(m.strEmailReturnName));
    cc_->setText(ToQt(m.strEmailCC));
    bcc_->setText(ToQt(m.strEmailBCC));
    retries_->setText(QString::number(m.lEmailSendRetries));
    retryDelay_->setText(QString::number(m.lEmailRetriesDelay));
    const auto stored = SendMethodsOf(m);
    for (size_t i = 0; i < methods_.size(); ++i) {
        Method& method = methods_[i];
        const auto& s = stored[i];
        method.server->setText(ToQt(s.server));
        method.port->setText(PortText(s.port));
        method.useAuth->setChecked(s.useAuth != 0);
        method.login->setText(ToQt(s.login));
        method.password->setText(ToQt(s.password));
        // Anything but MAPI, in any letter case, is SMTP.
        (ToUpperAnsi(s.sendMethod) == "MAPI" ? method.mapi : method.smtp)->setChecked(true);
        MethodChosen(method);
    }
}

void EmailDialog::ApplyFields(ModuleRecord& m) {
    m.strEmailAddrTo = FromQt(to_->text());
    m.strEmailSubject = FromQt(subject_->text());
    m.strEmailMessageText = ToStored(message_->toPlainText());
    m.strEmailAttachmentFileName = FromQt(attachment_->text());
    m.iEmailAttachmentDeleteAfterSend = deleteAfterSend_->isChecked() ? 1 : 0;
    m.strEmailReturnAddress = FromQt(returnAddress_->text());
    m.strEmailReturnName = FromQt(returnName_->text());
    m.strEmailCC = FromQt(cc_->text());
    m.strEmailBCC = FromQt(bcc_->text());
    // A number that does not convert keeps the stored one, which the box shows again.
    m.lEmailSendRetries = FieldInt32(FromQt(retries_->text()), m.lEmailSendRetries);
    retries_->setText(QString::number(m.lEmailSendRetries));
    m.lEmailRetriesDelay = FieldInt32(FromQt(retryDelay_->text()), m.lEmailRetriesDelay);
    retryDelay_->setText(QString::number(m.lEmailRetriesDelay));
    const auto targets = SendMethodsOf(m);
    for (size_t i = 0; i < methods_.size(); ++i) {
        Method& method = methods_[i];
        const auto& t = targets[i];
        t.sendMethod = method.mapi->isChecked() ? "MAPI" : "SMTP";
        t.server = FromQt(method.server->text());
        // A blank port is the default port, as the box's note says.
        t.port = FieldInt32(FromQt(method.port->text()), t.port);
        method.port->setText(PortText(t.port));
        t.useAuth = method.useAuth->isChecked() ? 1 : 0;
        t.login = FromQt(method.login->text());
        t.password = FromQt(method.password->text());
    }
}

} // namespace ry
