#include "dialogs/record_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>

namespace ry {

RecordDialog::RecordDialog(Designer& designer, const ModuleDialogSetup& setup,
                           const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Record "));
    QGridLayout* grid = PageGrid(page);
    // The file may not exist yet: the dialog proposes a file to save, where a new name can
    // be typed.
    sound_ = AddSoundRow(grid, 0, QStringLiteral("Sound file to record :"), -1, -1, false,
                         [this](const QString& current) {
                             return this->designer().Files().SelectFile_SoundSave(this, current,
                                                                                  ScriptIndex());
                         });
    sound_.file->setToolTip(QStringLiteral("Filename of sound file to record"));
    beep_ = new QComboBox(page);
    beep_->setObjectName(QStringLiteral("cmbPlayBeep"));
    beep_->setToolTip(QStringLiteral("Before recording"));
    beep_->addItem(QStringLiteral("Play beep before recording"));
    beep_->addItem(QStringLiteral("Do not play beep before recording"));
    WatchEdits(beep_);
    grid->addWidget(beep_, 1, 1);
    grid->setRowStretch(2, 1);
}

void RecordDialog::LoadFields(const ModuleRecord& m) {
    sound_.file->setText(ToQt(m.RecFile));
    beep_->setCurrentIndex(m.PlayTone ? 0 : 1);
}

void RecordDialog::ApplyFields(ModuleRecord& m) {
    m.RecFile = FromQt(sound_.file->text());
    m.PlayTone = beep_->currentText().left(2) == QLatin1String("Pl");
}

} // namespace ry
