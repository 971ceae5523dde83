#include "dialogs/dial_conference_dialog.h"

#include "base/text_codec.h"
#include "script/text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ry {

DialConferenceDialog::DialConferenceDialog(Designer& designer, const ModuleDialogSetup& setup,
                                           const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Make Call "));
    QGridLayout* grid = FramedGrid(page, QStringLiteral("Phone Call Details"));
    QWidget* frame = grid->parentWidget();
    auto field = [&](int row, const QString& label, const QString& name, const QString& unit) {
        grid->addWidget(new QLabel(label, frame), row, 0);
        QLineEdit* box = MakeLineEdit(name, frame);
        grid->addWidget(box, row, 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, frame), row, 2);
        return box;
    };
    phone_ = field(0, QStringLiteral("Phone :"), QStringLiteral("txtPhone"), {});
    holdMessage_ = AddFileRow(grid, 1, QStringLiteral("Hold Msg :"), QStringLiteral("txtHoldMsg"),
                              QStringLiteral("Command1"), QStringLiteral("Select"))
                       .file;
    maxTime_ = field(2, QStringLiteral("Max Time :"), QStringLiteral("txtMaxTime"),
                     QStringLiteral("minutes"));
    endCode_ = field(3, QStringLiteral("End Code :"), QStringLiteral("txtEndCode"), {});
    // The warning is a sound file like the hold message, chosen the same way.
    warning_ =
        AddFileRow(grid, 4, QStringLiteral("Time Msg :"), QStringLiteral("txtTimeWarningMsg"),
                   QStringLiteral("cmdWavSelect"), QStringLiteral("Select"))
            .file;
    warnAt_ = field(5, QStringLiteral("Play At :"), QStringLiteral("txtTimeWarningPlayAt"),
                    QStringLiteral("seconds"));
}

void DialConferenceDialog::LoadFields(const ModuleRecord& m) {
    phone_->setText(ToQt(m.sDncPhoneNumber));
    holdMessage_->setText(ToQt(m.sDncPlayWhileConnecting));
    maxTime_->setText(Trim(m.sDncMaxConnectTime).empty() ? QString::fromLatin1(kDefaultMaxTime)
                                                         : ToQt(m.sDncMaxConnectTime));
    endCode_->setText(ToQt(m.sDncEndConnectCode));
    warning_->setText(ToQt(m.sDncTimeWarningMsg));
    warnAt_->setText(ToQt(m.sDncTimeWarningPlayAt));
}

void DialConferenceDialog::ApplyFields(ModuleRecord& m) {
    // Every field is stored without blanks around it, and shown as stored.
    auto trimmed = [](QLineEdit* box) {
        std::string text(Trim(FromQt(box->text())));
        const QString shown = ToQt(text);
        if (shown != box->text())
            box->setText(shown);
        return text;
    };
    m.sDncPhoneNumber = trimmed(phone_);
    m.sDncPlayWhileConnecting = trimmed(holdMessage_);
    m.sDncMaxConnectTime = trimmed(maxTime_);
    m.sDncEndConnectCode = trimmed(endCode_);
    // The file does not hold these two: they last while the script is open.
    m.sDncTimeWarningMsg = trimmed(warning_);
    m.sDncTimeWarningPlayAt = trimmed(warnAt_);
}

} // namespace ry
