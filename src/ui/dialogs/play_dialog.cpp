#include "dialogs/play_dialog.h"

#include "base/text_codec.h"
#include "script/field_text.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ry {

PlayDialog::PlayDialog(Designer& designer, const ModuleDialogSetup& setup,
                       const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Play"));
    QGridLayout* grid = PageGrid(page);
    sound_ = AddSoundRow(grid, 0, QStringLiteral("Sound file to play :"), 0, -1);
    sound_.file->setToolTip(QStringLiteral("Sound file"));
    grid->addWidget(new QLabel(QStringLiteral("Text to speak :"), page), 1, 0, Qt::AlignTop);
    speak_ = MakeTextBox(QStringLiteral("txtSoundFile(1)"), page);
    speak_->setMaximumHeight(80);
    grid->addWidget(speak_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Replay count :"), page), 2, 0);
    replayCount_ = MakeNumberField(QStringLiteral("txtReplayCount"), page, 0, 20,
                                   QStringLiteral("Replay count"));
    grid->addWidget(replayCount_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pause between replays :"), page), 3, 0);
    pause_ = MakeNumberField(QStringLiteral("txtPauseTime"), page, 0, 60,
                             QStringLiteral("Replay pause"));
    grid->addWidget(pause_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("seconds"), page), 3, 2);
    grid->setRowStretch(4, 1);
}

void PlayDialog::LoadFields(const ModuleRecord& m) {
    sound_.file->setText(ToQt(m.PlayFileSlot(1)));
    speak_->setPlainText(FromStored(m.strTtsText));
    replayCount_->setText(QString::number(m.ReplayCount));
    pause_->setText(QString::number(m.ReplayPause));
}

void PlayDialog::ApplyFields(ModuleRecord& m) {
    m.PlayFileSlot(1) = FromQt(sound_.file->text());
    m.strTtsText = FoldLineBreaks(ToStored(speak_->toPlainText()), " ");
    const QString folded = FromStored(m.strTtsText);
    if (folded != speak_->toPlainText())
        speak_->setPlainText(folded);
    m.ReplayCount = NumberValue(replayCount_);
    m.ReplayPause = NumberValue(pause_);
}

} // namespace ry
