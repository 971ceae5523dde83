#include "app/find_module_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ry {

FindModuleDialog::FindModuleDialog(Designer& designer, DocumentWindow& window, QWidget* parent)
    : QDialog(parent), designer_(designer), window_(&window), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmFindModule"));
    setWindowTitle(QStringLiteral("Find Module"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("Module Title :"), this);
    label->setBuddy(list_);
    list_->setObjectName(QStringLiteral("listAllModulesInScript"));
    auto* go = new QPushButton(QStringLiteral("Go To Module"), this);
    go->setObjectName(QStringLiteral("cmdGoTo"));
    go->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(go);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    ForEachModule(designer.Tables(), window.Script(), [&](std::int16_t, const ModuleRecord& m) {
        titles_.push_back(m.Title);
        list_->addItem(ToQt(m.Title));
    });
    if (list_->count() > 0)
        list_->setCurrentRow(0);

    connect(go, &QPushButton::clicked, this, &FindModuleDialog::GoToModule);
    connect(list_, &QListWidget::itemDoubleClicked, this, &FindModuleDialog::GoToModule);
}

void FindModuleDialog::GoToModule() {
    const int row = list_->currentRow();
    if (window_ && row >= 0 && row < static_cast<int>(titles_.size())) {
        const std::string& title = titles_[static_cast<size_t>(row)];
        bool found = false;
        ForEachModule(designer_.Tables(), window_->Script(),
                      [&](std::int16_t, const ModuleRecord& m) {
                          if (found || m.Title != title)
                              return;
                          found = true;
                          window_->View().ScrollTo(QPoint(m.PositionX, m.PositionY));
                      });
    }
    accept();
}

} // namespace ry
