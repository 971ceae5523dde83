#include "dialogs/run_program_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/field_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ry {

RunProgramDialog::RunProgramDialog(Designer& designer, const ModuleDialogSetup& setup,
                                   const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Run Program"));
    auto* layout = new QVBoxLayout(page);

    auto* details = new QGroupBox(QStringLiteral("Program details"), page);
    QGridLayout* grid = PageGrid(details);
    program_ = AddSoundRow(grid, 0, QString(), 0, 0, false, [this](const QString& current) {
        return this->designer().Files().SelectFile_Program(this, current);
    });
    program_.file->setToolTip(QStringLiteral("Program to run"));
    program_.select->setToolTip(QString());
    SetFixedPitch(program_.file);
    mode_ = new QComboBox(details);
    mode_->setObjectName(QStringLiteral("cmbRunMode"));
    // The entries in the order of the stored run modes 0..5.
    for (const char* text :
         {"Focus: New window, New window is: Hidden", "Focus: New window, New window is: Standard",
          "Focus: New window, New window is: Icon", "Focus: New window, New window is: Maximized",
          "Focus: Current window, New window is: Standard",
          "Focus: Current window, New window is: Icon"})
        mode_->addItem(QString::fromLatin1(text));
    WatchEdits(mode_);
    grid->addWidget(mode_, 1, 1);
    wait_ = new QComboBox(details);
    wait_->setObjectName(QStringLiteral("cmbRunWait"));
    wait_->addItem(QStringLiteral("Do not wait for program to complete."));
    wait_->addItem(QStringLiteral("Wait until program completes."));
    WatchEdits(wait_);
    grid->addWidget(wait_, 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addWidget(details);

    auto* play = new QGroupBox(QStringLiteral("Play while called program is running "), page);
    QGridLayout* playGrid = PageGrid(play);
    sound_ = AddSoundRow(playGrid, 0, QStringLiteral("Sound file"), 1, 1);
    playGrid->setColumnStretch(1, 1);
    layout->addWidget(play);
    layout->addStretch(1);
}

void RunProgramDialog::LoadFields(const ModuleRecord& m) {
    program_.file->setText(ToQt(m.PlayFileSlot(1)));
    sound_.file->setText(ToQt(m.PlayFileSlot(2)));
    mode_->setCurrentIndex(RunModeListIndex(m.RunMode));
    wait_->setCurrentIndex(RunWaitListIndex(m.RunWait));
}

void RunProgramDialog::ApplyFields(ModuleRecord& m) {
    m.PlayFileSlot(1) = FromQt(program_.file->text());
    m.PlayFileSlot(2) = FromQt(sound_.file->text());
    m.RunMode = static_cast<std::int16_t>(
        RunModeListIndex(static_cast<std::int16_t>(mode_->currentIndex())));
    m.RunWait = static_cast<std::int16_t>(
        RunWaitListIndex(static_cast<std::int16_t>(wait_->currentIndex())));
}

} // namespace ry
