#include "dialogs/pager_dialog.h"

#include "base/text_codec.h"
#include "script/text.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ry {

namespace {

// The box indexes as the boxes are named: telephone, second box, password, message, lines.
constexpr std::array<int, 5> kBoxIndex = {0, 1, 2, 3, 6};

} // namespace

PagerDialog::PagerDialog(Designer& designer, const ModuleDialogSetup& setup,
                         const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Pager Details"));
    auto* layout = new QVBoxLayout(page);
    frame_ = new QGroupBox(QStringLiteral("Numeric Pager Details"), page);
    frame_->setObjectName(QStringLiteral("fraSample1"));
    layout->addWidget(frame_);
    auto* grid = new QGridLayout(frame_);
    auto* types = new QButtonGroup(frame_);
    const QString captions[2] = {QStringLiteral("Numeric"), QStringLiteral("Alphanumeric (PET)")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], frame_);
        option->setObjectName(Indexed(QStringLiteral("optPagerType"), i));
        types->addButton(option, i);
        type_[static_cast<size_t>(i)] = option;
        // The type decides what Apply stores, so choosing one is a change to keep.
        WatchEdits(option);
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                TypeChosen();
        });
        grid->addWidget(option, 0, i);
    }
    for (size_t b = 0; b < boxes_.size(); ++b) {
        boxes_[b] = MakeLineEdit(Indexed(QStringLiteral("txtSoundFile"), kBoxIndex[b]), frame_);
        connect(boxes_[b], &QLineEdit::textChanged, this,
                [this, b] { BoxEdited(static_cast<int>(b)); });
    }
    grid->addWidget(new QLabel(QStringLiteral("Telephone :"), frame_), 1, 0);
    grid->addWidget(boxes_[0], 1, 1);
    secondLabel_ = MakeLabel(QStringLiteral("lblMisc(11)"), QStringLiteral("Message :"), frame_);
    grid->addWidget(secondLabel_, 2, 0);
    grid->addWidget(boxes_[1], 2, 1);
    petLabels_[0] = new QLabel(QStringLiteral("Password :"), frame_);
    grid->addWidget(petLabels_[0], 3, 0);
    grid->addWidget(boxes_[2], 3, 1);
    petLabels_[1] = new QLabel(QStringLiteral("Message :"), frame_);
    grid->addWidget(petLabels_[1], 4, 0);
    grid->addWidget(boxes_[3], 4, 1);
    grid->setColumnStretch(1, 1);

    auto* lines = new QGroupBox(QStringLiteral("Line Selection "), page);
    auto* linesGrid = new QGridLayout(lines);
    linesGrid->addWidget(new QLabel(QStringLiteral("Lines Used :"), lines), 0, 0);
    linesGrid->addWidget(boxes_[4], 0, 1);
    auto* note = new QLabel(QStringLiteral("On which lines can the outgoing call be made. If "
                                           "outgoing call can be made on any line then this text "
                                           "box can be left blank"),
                            lines);
    note->setWordWrap(true);
    linesGrid->addWidget(note, 1, 0, 1, 2);
    linesGrid->setColumnStretch(1, 1);
    layout->addWidget(lines);
    layout->addStretch(1);
}

bool PagerDialog::IsPet() const {
    return type_[1]->isChecked();
}

void PagerDialog::TypeChosen() {
    const bool pet = IsPet();
    boxes_[2]->setEnabled(pet);
    boxes_[3]->setEnabled(pet);
    for (QLabel* label : petLabels_)
        label->setEnabled(pet);
    secondLabel_->setText(pet ? QStringLiteral("Pager :") : QStringLiteral("Message :"));
    // The PET boxes are empty while unused, so no value shows twice (the numeric message sits
    // in the second box).
    showing_ = true;
    boxes_[0]->setText(working_.telephone);
    boxes_[1]->setText(pet ? working_.pagerId : working_.message);
    boxes_[2]->setText(pet ? working_.password : QString());
    boxes_[3]->setText(pet ? working_.message : QString());
    boxes_[4]->setText(working_.lines);
    showing_ = false;
}

void PagerDialog::BoxEdited(int box) {
    if (showing_)
        return;
    const QString text = boxes_[static_cast<size_t>(box)]->text();
    switch (box) {
    case 0:
        working_.telephone = text;
        break;
    case 1:
        (IsPet() ? working_.pagerId : working_.message) = text;
        break;
    case 2:
        working_.password = text;
        break;
    case 3:
        working_.message = text;
        break;
    default:
        working_.lines = text;
        break;
    }
}

void PagerDialog::LoadFields(const ModuleRecord& m) {
    working_ = {ToQt(m.PagerTelNbr), ToQt(m.PagerId), ToQt(m.PagerPassword), ToQt(m.PagerMessage),
                ToQt(m.PagerLineSelection)};
    // A module without a type of either kind (a new one) opens as a numeric pager, the kind
    // this dialog starts with; the letter case of a stored type does not matter.
    const bool pet = IEquals(m.PagerType, kPet);
    QRadioButton* chosen = type_[pet ? 1 : 0];
    if (chosen->isChecked())
        TypeChosen();
    else
        chosen->setChecked(true);
}

void PagerDialog::ApplyFields(ModuleRecord& m) {
    m.PagerTelNbr = FromQt(working_.telephone);
    m.PagerMessage = FromQt(working_.message);
    if (IsPet()) {
        m.PagerType = kPet;
        m.PagerId = FromQt(working_.pagerId);
        m.PagerPassword = FromQt(working_.password);
    } else {
        // A numeric page has no pager ID or password; those stored are kept for PET.
        m.PagerType = kNumeric;
    }
    m.PagerLineSelection = FromQt(working_.lines);
}

} // namespace ry
