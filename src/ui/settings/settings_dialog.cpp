#include "settings/settings_dialog.h"

#include "base/tab_chain.h"
#include "base/window_placement.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ry {

SettingsDialog::SettingsDialog(Designer& designer, const QString& name, const QString& caption,
                               QWidget* parent)
    : QDialog(parent), designer_(designer), layout_(new QVBoxLayout(this)),
      tabs_(new QTabWidget(this)), ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("Apply"), this)),
      help_(new QPushButton(QStringLiteral("&Help"), this)) {
    setObjectName(name);
    setWindowTitle(caption);
    // Modal to the window it was opened from only: the manual, a window of its own, stays
    // usable beside it.
    setWindowModality(Qt::WindowModal);
    tabs_->setObjectName(QStringLiteral("tbsOptions"));
    ok_->setObjectName(QStringLiteral("cmdOK"));
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    apply_->setObjectName(QStringLiteral("cmdApply"));
    help_->setObjectName(QStringLiteral("cmdHelp"));
    ok_->setDefault(true);
    apply_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    buttons->addWidget(help_);
    layout_->addWidget(tabs_, 1);
    layout_->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &SettingsDialog::ApplyClicked);
    connect(help_, &QPushButton::clicked, this, [this] { Help(); });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [this] { Help(); });
}

bool SettingsDialog::IsApplyEnabled() const {
    return apply_->isEnabled();
}

QVBoxLayout* SettingsDialog::AddPage(const QString& caption) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("picOptions(%1)").arg(tabs_->count()));
    auto* layout = new QVBoxLayout(page);
    tabs_->addTab(page, caption);
    return layout;
}

void SettingsDialog::AddBelowPages(QWidget* widget) {
    layout_->insertWidget(layout_->count() - 1, widget);
}

void SettingsDialog::Ok() {
    Store();
    accept();
}

void SettingsDialog::EnableApply() {
    apply_->setEnabled(true);
}

void SettingsDialog::ApplyClicked() {
    Store();
    apply_->setEnabled(false);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The pages' fields were made after the buttons.
    OrderTabChain(*this, nullptr, {ok_, cancel_, apply_, help_});
    CentreOnScreen(*this);
}

} // namespace ry
