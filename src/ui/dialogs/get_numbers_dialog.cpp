#include "dialogs/get_numbers_dialog.h"

#include "base/text_codec.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace ry {

GetNumbersDialog::GetNumbersDialog(Designer& designer, const ModuleDialogSetup& setup,
                                   const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Get Numbers"));
    QGridLayout* grid = PageGrid(page);
    sounds_[0] = AddSoundRow(grid, 0, QStringLiteral("Ask caller to enter number :"), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Replay count :"), page), 1, 0);
    replayCount_ = MakeNumberField(QStringLiteral("txtReplayCount"), page, 0, 20,
                                   QStringLiteral("Replay count"));
    grid->addWidget(replayCount_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pause between replays :"), page), 2, 0);
    pause_ = MakeNumberField(QStringLiteral("txtPauseTime"), page, 0, 60,
                             QStringLiteral("Replay pause"));
    grid->addWidget(pause_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("seconds"), page), 2, 2);

    auto* rules = new QButtonGroup(page);
    const QString captions[3] = {QStringLiteral("Number can be any length"),
                                 QStringLiteral("Number length must be equal to or less then:"),
                                 QStringLiteral("Number length must be exactly:")};
    for (int rule = 0; rule < 3; ++rule) {
        auto* option = new QRadioButton(captions[rule], page);
        option->setObjectName(Indexed(QStringLiteral("optNbrLen"), rule));
        rules->addButton(option, rule);
        lengthRule_[static_cast<size_t>(rule)] = option;
        WatchEdits(option);
        connect(option, &QRadioButton::toggled, this, &GetNumbersDialog::LengthRuleChosen);
    }
    // Listed as the engine checks them: exactly, at most, any.
    grid->addWidget(lengthRule_[2], 3, 0, 1, 2);
    grid->addWidget(lengthRule_[1], 4, 0, 1, 2);
    grid->addWidget(lengthRule_[0], 5, 0, 1, 2);
    digits_ = MakeNumberField(QStringLiteral("txtNbrLen"), page, 1, 50,
                              QStringLiteral("Numbver of digits in the number"));
    // The count and its unit share the buttons' column, which is wide enough for both.
    auto* count = new QHBoxLayout;
    count->addWidget(digits_);
    count->addWidget(new QLabel(QStringLiteral("digits"), page));
    count->addStretch(1);
    grid->addLayout(count, 3, 2);
    confirm_ = new QCheckBox(QStringLiteral("Confirm the entered number"), page);
    confirm_->setObjectName(QStringLiteral("chkNbrConfirm"));
    WatchEdits(confirm_);
    grid->addWidget(confirm_, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);

    QWidget* sounds = AddPage(QStringLiteral("Sound Files"),
                              QStringLiteral("Other sound files which can be used by this module"));
    QGridLayout* soundGrid = PageGrid(sounds);
    auto* heading = new QLabel(QStringLiteral("Sound files used when confirming entered number. "
                                              "If left blank, then the default system sound "
                                              "files will be used."),
                               sounds);
    heading->setWordWrap(true);
    soundGrid->addWidget(heading, 0, 0, 1, 3);
    const QString labels[3] = {
        QStringLiteral("Before saying the entered number :"),
        QStringLiteral("After saying the entered number :"),
        QStringLiteral("Message that the entered number was not correct length :")};
    for (int i = 2; i <= 4; ++i) {
        soundGrid->addWidget(new QLabel(labels[i - 2], sounds), 2 * i - 3, 0, 1, 3);
        sounds_[static_cast<size_t>(i - 1)] = AddSoundRow(soundGrid, 2 * i - 2, QString(), i, i);
    }
    soundGrid->setRowStretch(7, 1);
}

void GetNumbersDialog::LengthRuleChosen() {
    digits_->setEnabled(!lengthRule_[0]->isChecked());
}

void GetNumbersDialog::LoadFields(const ModuleRecord& m) {
    for (int slot = 1; slot <= 4; ++slot)
        sounds_[static_cast<size_t>(slot - 1)].file->setText(ToQt(m.PlayFileSlot(slot)));
    replayCount_->setText(QString::number(m.ReplayCount));
    pause_->setText(QString::number(m.ReplayPause));
    // A rule this designer does not know is "any length"; the closing Apply stores it so.
    const int rule = m.GetNbrLenEnforce < 0 || m.GetNbrLenEnforce > 2 ? 0 : m.GetNbrLenEnforce;
    lengthRule_[static_cast<size_t>(rule)]->setChecked(true);
    LengthRuleChosen();
    digits_->setText(QString::number(m.GetNbrLenMax));
    ClampField(digits_);
    confirm_->setChecked(m.Confirm);
}

void GetNumbersDialog::ApplyFields(ModuleRecord& m) {
    for (int slot = 1; slot <= 4; ++slot)
        m.PlayFileSlot(slot) = FromQt(sounds_[static_cast<size_t>(slot - 1)].file->text());
    m.ReplayCount = NumberValue(replayCount_);
    m.ReplayPause = NumberValue(pause_);
    m.GetNbrLenEnforce = 0;
    for (std::int16_t rule = 0; rule < 3; ++rule)
        if (lengthRule_[static_cast<size_t>(rule)]->isChecked())
            m.GetNbrLenEnforce = rule;
    m.GetNbrLenMax = NumberValue(digits_);
    m.Confirm = confirm_->isChecked();
}

} // namespace ry
