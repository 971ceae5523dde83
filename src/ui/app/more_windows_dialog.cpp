#include "app/more_windows_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace ry {

MoreWindowsDialog::MoreWindowsDialog(std::vector<ListedDocument> documents, int activeSlot,
                                     QWidget* parent)
    : QDialog(parent), documents_(std::move(documents)), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmMoreWindows"));
    setWindowTitle(QStringLiteral("More Windows"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("&Windows:"), this);
    label->setBuddy(list_);
    list_->setObjectName(QStringLiteral("lstWindows"));
    // Captions are file names of any length: the middle gives way, the file's name stays.
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformItemSizes(true);
    for (const ListedDocument& document : documents_) {
        auto* item = new QListWidgetItem(document.caption, list_);
        item->setToolTip(document.caption);
        if (document.slot == activeSlot)
            list_->setCurrentItem(item);
    }
    if (!list_->currentItem() && list_->count() > 0)
        list_->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(480, 320);
}

int MoreWindowsDialog::ChosenSlot() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(documents_.size()))
        return 0;
    return documents_[static_cast<size_t>(row)].slot;
}

} // namespace ry
