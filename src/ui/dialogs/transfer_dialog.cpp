#include "dialogs/transfer_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ry {

TransferDialog::TransferDialog(Designer& designer, const ModuleDialogSetup& setup,
                               const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Transfer Call "));
    QGridLayout* grid = PageGrid(page);
    grid->addWidget(new QLabel(QStringLiteral("Phone :"), page), 0, 0);
    phone_ = MakeLineEdit(QStringLiteral("txtSoundFile"), page, QStringLiteral("Telephone number"));
    SetFixedPitch(phone_);
    grid->addWidget(phone_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Transfer :"), page), 1, 0, Qt::AlignTop);
    auto* group = new QButtonGroup(page);
    const char* captions[6] = {"PBX Blind Transfer",
                               "PBX Announced Transfer",
                               "3 Way Blind Conference Call",
                               "3 Way Announced Conference Call",
                               "CT Media Call Handoff to another Application",
                               "Dialout on another line and conference ( Dialogic only )"};
    for (int i = 0; i < 6; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), page);
        option->setObjectName(Indexed(QStringLiteral("optXferType"), i));
        group->addButton(option, i);
        types_[static_cast<size_t>(i)] = option;
        WatchEdits(option);
        connect(option, &QRadioButton::toggled, this, &TransferDialog::TypeChosen);
        grid->addWidget(option, 1 + i, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);

    QWidget* dial =
        AddPage(QStringLiteral("Dial and Conference"),
                QStringLiteral("Only used if Dialout and Conference option is selected"));
    QGridLayout* dialGrid = PageGrid(dial);
    onHold_ = AddFileRow(dialGrid, 0,
                         QStringLiteral("Oh-Hold sound file to play to caller, while dialing on "
                                        "2nd line :"),
                         QStringLiteral("txtPlayWhileDialing"), QStringLiteral("cmdSelectFile(1)"),
                         QStringLiteral("&Select"), {}, QStringLiteral("Label1"));
    lines_ = AddFileRow(
        dialGrid, 1,
        QStringLiteral("Which lines to use to make the outbound call (if left "
                       "blank then any available line will be used) :"),
        QStringLiteral("txtLineSelect"), QStringLiteral("cmdSelectFile(0)"),
        QStringLiteral("&Select"),
        [this](const QString& current) {
            return this->designer().Files().SelectFile_Text(this, current);
        },
        QStringLiteral("Label2"));
    auto* note = new QLabel(
        QStringLiteral("Note :\nDialout and Conference can only be done with these Dialogic "
                       "cards: D/41EPCI, D/41ESC, D/41JCTLS, D/120JCTLS, D/160SC-LS and all "
                       "digital cards: D/240SC, D/300SC etc"),
        dial);
    note->setWordWrap(true);
    dialGrid->addWidget(note, 2, 0, 1, 3);
    dialGrid->setColumnStretch(1, 1);
    dialGrid->setRowStretch(3, 1);

    QWidget* announce = AddPage(QStringLiteral("Announce Messages"));
    QGridLayout* announceGrid = PageGrid(announce);
    announce_ = AddFileRow(announceGrid, 0,
                           QStringLiteral("Sound file(s) to play to recipeint of Announced "
                                          "Transfer / Conference calls, asking them whether "
                                          "they would like to accept the call or not:"),
                           QStringLiteral("txtAnnounceMessage"), QStringLiteral("cmdSelectFile(3)"),
                           QStringLiteral("&Select"), {}, QStringLiteral("Label9"));
    announceGrid->setColumnStretch(1, 1);
    announceGrid->setRowStretch(1, 1);
}

int TransferDialog::SelectedType() const {
    for (int i = 0; i < 6; ++i)
        if (types_[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

void TransferDialog::TypeChosen() {
    const int type = SelectedType();
    // A setting of a type not chosen is kept, disabled, and still stored.
    const bool dialOut = type == 5;
    for (const FileRow* row : {&onHold_, &lines_}) {
        row->label->setEnabled(dialOut);
        row->file->setEnabled(dialOut);
        row->select->setEnabled(dialOut);
    }
    const bool announced = type == 1 || type == 3;
    announce_.label->setEnabled(announced);
    announce_.file->setEnabled(announced);
    announce_.select->setEnabled(announced);
}

void TransferDialog::LoadFields(const ModuleRecord& m) {
    phone_->setText(ToQt(m.PlayFileSlot(1)));
    onHold_.file->setText(ToQt(m.PlayFileSlot(2)));
    announce_.file->setText(ToQt(m.PlayFileSlot(3)));
    lines_.file->setText(ToQt(m.sXfer2ndLegLinesListFile));
    // A type this dialog does not list selects no option; it is kept until one is chosen.
    if (m.iXferType >= 0 && m.iXferType < 6)
        types_[static_cast<size_t>(m.iXferType)]->setChecked(true);
    TypeChosen();
}

void TransferDialog::ApplyFields(ModuleRecord& m) {
    m.PlayFileSlot(1) = FromQt(phone_->text());
    if (const int type = SelectedType(); type >= 0)
        m.iXferType = static_cast<std::int16_t>(type);
    m.sXfer2ndLegLinesListFile = FromQt(lines_.file->text());
    m.PlayFileSlot(2) = FromQt(onHold_.file->text());
    m.PlayFileSlot(3) = FromQt(announce_.file->text());
}

} // namespace ry
