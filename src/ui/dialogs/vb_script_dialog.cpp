#include "dialogs/vb_script_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/field_text.h"
#include "script/text.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace ry {

VbScriptDialog::VbScriptDialog(Designer& designer, const ModuleDialogSetup& setup,
                               const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Run VB Script"));
    QGridLayout* grid = PageGrid(page);
    grid->addWidget(new QLabel(QStringLiteral("VBScript :"), page), 0, 0);
    auto* load = new QPushButton(QStringLiteral("&Load VBS"), page);
    load->setObjectName(QStringLiteral("cmdLoadVbs"));
    load->setAutoDefault(false);
    connect(load, &QPushButton::clicked, this, &VbScriptDialog::LoadVbs);
    grid->addWidget(load, 0, 2);
    script_ = MakeTextBox(QStringLiteral("txtSoundFile(0)"), page, true);
    // Lines of code stay lines: the line number shown is the line of the script.
    script_->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addWidget(script_, 1, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(
        MakeLabel(QStringLiteral("lblLineCountDesc"), QStringLiteral("Line number :"), page));
    lineCount_ = MakeLabel(QStringLiteral("lblLineCount"), QStringLiteral("1"), page);
    lineRow->addWidget(lineCount_);
    lineRow->addStretch(1);
    grid->addLayout(lineRow, 2, 0, 1, 3);
    wait_ = new QComboBox(page);
    wait_->setObjectName(QStringLiteral("cmbRunWait"));
    wait_->addItem(QStringLiteral("Do not wait for VB Script to complete."));
    wait_->addItem(QStringLiteral("Wait until VB Script completes."));
    WatchEdits(wait_);
    grid->addWidget(wait_, 3, 0, 1, 3);
    // The caret's line follows every move of the caret or of the selection at once.
    connect(script_, &QPlainTextEdit::cursorPositionChanged, this, &VbScriptDialog::ShowCaretLine);
    connect(script_, &QPlainTextEdit::selectionChanged, this, &VbScriptDialog::ShowCaretLine);

    QWidget* play = AddPage(QStringLiteral("Play"));
    QGridLayout* playGrid = PageGrid(play);
    playGrid->addWidget(new QLabel(QStringLiteral("Play while called VB Script is running"), play),
                        0, 0, 1, 3);
    sound_ = AddSoundRow(playGrid, 1, QString(), 1, 1);
    playGrid->setColumnStretch(1, 1);
    playGrid->setRowStretch(2, 1);
}

void VbScriptDialog::ShowCaretLine() {
    const QTextCursor cursor = script_->textCursor();
    const int line = script_->document()->findBlock(cursor.selectionStart()).blockNumber() + 1;
    const QString shown = QString::number(line);
    if (lineCount_->text() != shown)
        lineCount_->setText(shown);
}

void VbScriptDialog::LoadVbs() {
    const QString file = designer().Files().SelectFile_VbScript(this, QString());
    if (file.isEmpty())
        return;
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        // The script in the box stays as it was.
        designer().Message(QStringLiteral("File: ") + file +
                               QStringLiteral("\r\nCould not be loaded."),
                           MessageIcon::None, MessageButtons::Ok, this);
        return;
    }
    // What can be read is taken; a read that fails part way gives what came before.
    const QByteArray bytes = input.read(kLoadLimit);
    script_->setPlainText(
        FromStored(std::string(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

void VbScriptDialog::LoadFields(const ModuleRecord& m) {
    wait_->setCurrentIndex(RunWaitListIndex(m.RunWait));
    script_->setPlainText(FromStored(RemoveLeadingBlankLines(m.PlayFileSlot(1))));
    sound_.file->setText(ToQt(Trim(m.PlayFileSlot(2))));
    ShowCaretLine();
}

void VbScriptDialog::ApplyFields(ModuleRecord& m) {
    m.PlayFileSlot(1) = ToStored(script_->toPlainText());
    m.PlayFileSlot(2) = FromQt(sound_.file->text());
    m.RunWait = static_cast<std::int16_t>(
        RunWaitListIndex(static_cast<std::int16_t>(wait_->currentIndex())));
}

} // namespace ry
