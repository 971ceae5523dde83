#include "app/picture_scale_dialog.h"

#include "canvas/canvas_picture.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ry {

PictureScaleDialog::PictureScaleDialog(int scale, QWidget* parent)
    : QDialog(parent), scale_(new QComboBox(this)) {
    setObjectName(QStringLiteral("frmPictureScale"));
    setWindowTitle(QStringLiteral("PNG Picture Size"));
    scale_->setObjectName(QStringLiteral("cmbPictureScale"));
    scale_->addItem(QStringLiteral("1 × (as on screen)"), 1);
    for (int n = 2; n <= kMaxPictureScale; ++n)
        scale_->addItem(QStringLiteral("%1 ×").arg(n), n);
    scale_->setCurrentIndex(qBound(1, scale, kMaxPictureScale) - 1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Size:"), scale_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("How large should the picture be, compared with "
                                                "the drawing on screen?"),
                                 this));
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int PictureScaleDialog::Scale() const {
    return scale_->currentData().toInt();
}

} // namespace ry
