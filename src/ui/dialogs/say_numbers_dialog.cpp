#include "dialogs/say_numbers_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace ry {

namespace {

const QString kValueCaption = QStringLiteral("Number to say :");

} // namespace

std::vector<SayNumberType> ReadSayNumberLibrary(const QString& programFolder) {
    QFile library(programFolder + QStringLiteral("/system/vbs/lib_num2wav.vbs"));
    if (!library.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = library.readAll();
    return ParseSayNumberLibrary(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

SayNumbersDialog::SayNumbersDialog(Designer& designer, const ModuleDialogSetup& setup,
                                   const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Say Numbers"));
    QGridLayout* grid = PageGrid(page);
    before_ = AddSoundRow(grid, 0, QStringLiteral("Play before saying the number :"), 1, 1);
    valueLabel_ = MakeLabel(QStringLiteral("lblNumberToSay"), kValueCaption, page);
    grid->addWidget(valueLabel_, 1, 0);
    value_ = MakeLineEdit(QStringLiteral("txtSoundFile(2)"), page);
    grid->addWidget(value_, 1, 1);
    after_ = AddSoundRow(grid, 2, QStringLiteral("Play after saying the number :"), 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Say number as :"), page), 3, 0);
    type_ = new QComboBox(page);
    type_->setObjectName(QStringLiteral("cmbSayNbrType"));
    grid->addWidget(type_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Replay count :"), page), 4, 0);
    replayCount_ = MakeNumberField(QStringLiteral("txtReplayCount"), page, 0, 20,
                                   QStringLiteral("Replay count"));
    grid->addWidget(replayCount_, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pause between replays :"), page), 5, 0);
    pause_ = MakeNumberField(QStringLiteral("txtPauseTime"), page, 0, 60,
                             QStringLiteral("Replay pause"));
    grid->addWidget(pause_, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("seconds"), page), 5, 2);
    grid->setRowStretch(6, 1);

    // The library belongs to the engine's installation and is often absent: a designer
    // installed on its own still offers the current names.
    types_ = ReadSayNumberLibrary(designer.ProgramFolder());
    builtIn_ = types_.empty();
    if (builtIn_)
        types_ = BuiltInSayNumberTypes();
    for (const SayNumberType& type : types_)
        type_->addItem(ToQt(type.Name));
    type_->setCurrentIndex(-1);
    WatchEdits(type_);
    connect(type_, &QComboBox::currentIndexChanged, this, &SayNumbersDialog::TypeChosen);
}

void SayNumbersDialog::TypeChosen(int index) {
    if (index >= 0 && index < static_cast<int>(types_.size()))
        valueLabel_->setText(ToQt(types_[static_cast<size_t>(index)].Label));
}

void SayNumbersDialog::LoadFields(const ModuleRecord& m) {
    before_.file->setText(ToQt(m.PlayFileSlot(1)));
    value_->setText(ToQt(m.PlayFileSlot(2)));
    after_.file->setText(ToQt(m.PlayFileSlot(3)));
    replayCount_->setText(QString::number(m.ReplayCount));
    pause_->setText(QString::number(m.ReplayPause));
    std::vector<std::string> names;
    names.reserve(types_.size());
    for (const SayNumberType& type : types_)
        names.push_back(type.Name);
    int index = FindSayNumberType(names, m.SayNbrType);
    const bool olderName = ConvertSayNbrType(m.SayNbrType) != "Digits" || m.SayNbrType == "Digits";
    if (builtIn_ && !m.SayNbrType.empty() && !olderName &&
        (index < 0 || names[static_cast<size_t>(index)] != m.SayNbrType)) {
        // A type of the engine's library, which is not here to list it: kept, rather than
        // made "Digits" by merely opening the dialog.
        types_.push_back({m.SayNbrType, FromQt(kValueCaption), {}});
        type_->addItem(ToQt(m.SayNbrType));
        index = type_->count() - 1;
    }
    type_->setCurrentIndex(index);
}

void SayNumbersDialog::ApplyFields(ModuleRecord& m) {
    m.PlayFileSlot(1) = FromQt(before_.file->text());
    m.PlayFileSlot(2) = FromQt(value_->text());
    m.PlayFileSlot(3) = FromQt(after_.file->text());
    m.SayNbrType = FromQt(type_->currentText());
    m.ReplayCount = NumberValue(replayCount_);
    m.ReplayPause = NumberValue(pause_);
}

} // namespace ry
