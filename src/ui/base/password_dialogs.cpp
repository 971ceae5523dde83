#include "base/password_dialogs.h"

#include "base/designer.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "base/window_placement.h"
#include "script/text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ry {

PasswordDialog::PasswordDialog(const QString& name, QWidget* parent)
    : QDialog(parent), text_(new QLineEdit(this)) {
    setObjectName(name);
    setWindowTitle(QStringLiteral("Script Password"));
    text_->setObjectName(QStringLiteral("Text1"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    // Enter reaches OK through the text box alone, so that it cannot also press a default
    // button and confirm twice.
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(text_, &QLineEdit::returnPressed, ok, &QPushButton::click);

    auto* row = new QHBoxLayout;
    row->addWidget(text_, 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Protected Script's Password :"), this));
    layout->addLayout(row);
    text_->setFocus();
}

void PasswordDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

OpenPasswordDialog::OpenPasswordDialog(QWidget* parent)
    : PasswordDialog(QStringLiteral("frmPswdDecrypt"), parent) {
    text_->setEchoMode(QLineEdit::Password);
    text_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    setModal(true);
}

QString OpenPasswordDialog::Password() const {
    return result() == Accepted ? text_->text().trimmed().toUpper() : QString();
}

SavePasswordDialog::SavePasswordDialog(Designer& designer, QWidget* parent)
    : PasswordDialog(QStringLiteral("frmPassword"), parent), designer_(designer) {
    setModal(false);
}

SavePasswordDialog::~SavePasswordDialog() {
    CancelPending();
}

void SavePasswordDialog::SetScript(std::int16_t script) {
    disconnect(documentClosed_);
    script_ = script;
    text_->clear();
    text_->setFocus();
    if (const OpenDocument* document = designer_.OpenDocumentOfScript(script))
        documentClosed_ = connect(&designer_, &Designer::documentReleased, this,
                                  [this, slot = document->DocumentIndex()](int released) {
                                      if (released == slot)
                                          reject();
                                  });
}

void SavePasswordDialog::CancelPending() {
    disconnect(documentClosed_);
    if (script_ != 0 && designer_.Writer().PendingProtectedScript == script_)
        designer_.Writer().PendingProtectedScript = 0;
    script_ = 0;
}

void SavePasswordDialog::done(int result) {
    if (result != Accepted)
        CancelPending();
    QDialog::done(result);
}

void SavePasswordDialog::Ok() {
    // "NOTSET" is how a script says it has no password yet: the writer would take it as no
    // password at all and ask again, and OK would then close having saved nothing.
    if (ToUpperAnsi(Trim(FromQt(text_->text()))) == "NOTSET") {
        designer_.Message(QStringLiteral("\"NOTSET\" cannot be used as a password."),
                          MessageIcon::Exclamation, MessageButtons::Ok, this);
        text_->selectAll();
        return;
    }
    disconnect(documentClosed_);
    const std::int16_t script = script_;
    script_ = 0;
    if (script != 0 && designer_.Writer().PendingProtectedScript == script)
        CompleteProtectedSave(designer_, text_->text());
    accept();
}

} // namespace ry
