#include "base/input_dialog.h"

#include "base/designer.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace ry {

InputDialog::InputDialog(QWidget* parent)
    : QDialog(parent), description_(new QLabel(this)), field_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmInputData"));
    setWindowTitle(QStringLiteral("More Information needed"));
    setModal(true);

    auto* frame = new QGroupBox(QStringLiteral("Required Information"), this);
    description_->setObjectName(QStringLiteral("lblInfoDesc"));
    field_->setObjectName(QStringLiteral("txtInputField"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(description_);
    frameLayout->addWidget(field_);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &InputDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
}

void InputDialog::accept() {
    value_ = field_->text();
    QDialog::accept();
}

QString AskTimeoutSeconds(Designer& designer, QWidget* parent) {
    InputDialog dialog(parent);
    dialog.Description().setText(QStringLiteral("Please enter the timeout (in seconds) :"));
    // Seconds only: the answer goes between the braces of a path line.
    dialog.Field().setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), &dialog));
    designer.Prompts().Exec(dialog);
    return dialog.Value();
}

} // namespace ry
