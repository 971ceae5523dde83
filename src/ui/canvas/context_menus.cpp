#include "canvas/context_menus.h"

#include "canvas/path_commands.h"
#include "paths/produced_triggers.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>

namespace ry {

ContextMenus::ContextMenus(QWidget* owner)
    : QObject(owner), moduleMenu_(new QMenu(QStringLiteral("&Module"), owner)),
      scriptMenu_(new QMenu(QStringLiteral("&Script"), owner)) {
    QStyle* style = QApplication::style();

    moduleMenu_->setObjectName(QStringLiteral("keyRightClickInfo"));
    Add(moduleMenu_, QStringLiteral("Properties"), QStringLiteral("Properties"))
        ->setIcon(style->standardIcon(QStyle::SP_FileDialogDetailedView));
    Add(moduleMenu_, QStringLiteral("StartModule"), QStringLiteral("Make Start Module"))
        ->setIcon(style->standardIcon(QStyle::SP_MediaPlay));
    moduleMenu_->addSeparator();
    QMenu* height = moduleMenu_->addMenu(QStringLiteral("Module Height"));
    height->setObjectName(QStringLiteral("keyModHeight"));
    Add(height, QStringLiteral("HeightShort"), QStringLiteral("Short"));
    Add(height, QStringLiteral("HeightLong"), QStringLiteral("Long"));
    moduleMenu_->addSeparator();
    Add(moduleMenu_, QStringLiteral("Delete"), QStringLiteral("Delete"))
        ->setIcon(style->standardIcon(QStyle::SP_TrashIcon));
    moduleMenu_->addSeparator();
    for (int digit = 1; digit <= 9; ++digit)
        Add(moduleMenu_, QStringLiteral("on%1").arg(digit),
            QStringLiteral("On %1 goto...").arg(digit));
    Add(moduleMenu_, QStringLiteral("on0"), QStringLiteral("On 0 goto..."));
    Add(moduleMenu_, QStringLiteral("onStar"), QStringLiteral("On * goto..."));
    Add(moduleMenu_, QStringLiteral("onHash"), QStringLiteral("On # goto..."));
    Add(moduleMenu_, QStringLiteral("onSuccess"), QStringLiteral("On Success goto..."));
    Add(moduleMenu_, QStringLiteral("onFail"), QStringLiteral("On Fail goto..."));
    Add(moduleMenu_, QStringLiteral("onTimeout"), QStringLiteral("On Timeout goto..."));
    Add(moduleMenu_, QStringLiteral("onTrue"), QStringLiteral("On True goto..."));
    Add(moduleMenu_, QStringLiteral("onFalse"), QStringLiteral("On False goto..."));

    scriptMenu_->setObjectName(QStringLiteral("keyRightClickShowTop"));
    Add(scriptMenu_, QStringLiteral("ScriptProperties"), QStringLiteral("Script Properties"));
    scriptMenu_->addSeparator();
    Add(scriptMenu_, QStringLiteral("ScriptSave"), QStringLiteral("Save Script"))
        ->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
}

ContextMenus::~ContextMenus() = default;

QAction* ContextMenus::Add(QMenu* menu, const QString& key, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(key);
    items_[key] = action;
    connect(action, &QAction::triggered, this, [this, key] { emit itemChosen(key); });
    return action;
}

QAction* ContextMenus::Item(const QString& key) const {
    auto it = items_.find(key);
    return it == items_.end() ? nullptr : it->second;
}

void ContextMenus::FollowModuleType(std::string_view type) {
    for (int command = kFirstPathCommand; command <= kLastPathCommand; ++command)
        if (QAction* item = Item(PathCommandKey(command)))
            item->setEnabled(TypeProducesTrigger(type, PathCommandTrigger(command).toStdString()));
}

void ContextMenus::ShowModuleMenu(const QPoint& screenPos) {
    moduleMenu_->popup(screenPos);
}

void ContextMenus::ShowScriptMenu(const QPoint& screenPos) {
    scriptMenu_->popup(screenPos);
}

} // namespace ry
