#include "dialogs/dde_dialog.h"

#include "base/text_codec.h"
#include "script/text.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace ry {

DdeDialog::DdeDialog(Designer& designer, const ModuleDialogSetup& setup,
                     const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("DDE Details"));
    QGridLayout* grid = PageGrid(page);
    auto* group = new QButtonGroup(page);
    const QString captions[2] = {QStringLiteral("Execute Command"), QStringLiteral("Poke Data")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], page);
        option->setObjectName(Indexed(QStringLiteral("optDdeType"), i));
        group->addButton(option, i);
        type_[static_cast<size_t>(i)] = option;
        // The choice is stored by Apply, so it counts as a change.
        WatchEdits(option);
        connect(option, &QRadioButton::toggled, this, &DdeDialog::TypeChosen);
        grid->addWidget(option, 0, i);
    }
    const QString labels[2] = {QStringLiteral("DDE Topic :"), QStringLiteral("DDE Item :")};
    const QString tips[3] = {QStringLiteral("DDE Topic to use"), QStringLiteral("DDE Item to use"),
                             QStringLiteral("DDE Command to execute")};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = MakeLineEdit(Indexed(QStringLiteral("txtSoundFile"), i), page, tips[i]);
        SetFixedPitch(box);
        boxes_[static_cast<size_t>(i)] = box;
        grid->addWidget(box, 1 + i, 1);
        if (i < 2)
            grid->addWidget(new QLabel(labels[i], page), 1 + i, 0);
    }
    commandLabel_ = MakeLabel(QStringLiteral("lblMisc(12)"), QStringLiteral("Command :"), page);
    grid->addWidget(commandLabel_, 3, 0);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
}

void DdeDialog::TypeChosen() {
    commandLabel_->setText(type_[0]->isChecked() ? QStringLiteral("Command :")
                                                 : QStringLiteral("Data :"));
}

void DdeDialog::LoadFields(const ModuleRecord& m) {
    // Anything but "Execute", in any letter case, pokes.
    type_[ToUpperAnsi(m.strDdeType) == "EXECUTE" ? 0 : 1]->setChecked(true);
    TypeChosen();
    boxes_[0]->setText(ToQt(m.strDdeLinkTopic));
    boxes_[1]->setText(ToQt(m.strDdeLinkItem));
    boxes_[2]->setText(ToQt(m.strDdeCommand));
}

void DdeDialog::ApplyFields(ModuleRecord& m) {
    m.strDdeType = type_[0]->isChecked() ? "Execute" : "Poke";
    m.strDdeLinkTopic = FromQt(boxes_[0]->text());
    m.strDdeLinkItem = FromQt(boxes_[1]->text());
    m.strDdeCommand = FromQt(boxes_[2]->text());
}

} // namespace ry
