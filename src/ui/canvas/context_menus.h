#pragma once

// The two menus of a canvas: "&Module", shown by a right press on a box, with the module's
// commands and the path commands; "&Script", shown by a right press on the empty canvas. Every
// item carries its key as its objectName ("Properties", "HeightShort", "on1", "onTimeout",
// "ScriptSave", ...), and choosing one reports that key. The path commands run from "On 1 goto..."
// to "On Timeout goto...", then "On True goto..." and "On False goto..." for the modules that
// come out true or false.

#include <QObject>
#include <QString>

#include <map>
#include <string_view>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace ry {

class ContextMenus : public QObject {
    Q_OBJECT
public:
    // The menus belong to `owner` (the document window).
    explicit ContextMenus(QWidget* owner);
    ~ContextMenus() override;

    QMenu& ModuleMenu() { return *moduleMenu_; }
    QMenu& ScriptMenu() { return *scriptMenu_; }
    // An item by its key; null for a key no item has.
    QAction* Item(const QString& key) const;
    // The path commands a module of the type can use are enabled, the others greyed out in
    // their places.
    void FollowModuleType(std::string_view type);

    // Opens a menu at a screen point and returns at once; the choice arrives as itemChosen.
    void ShowModuleMenu(const QPoint& screenPos);
    void ShowScriptMenu(const QPoint& screenPos);

signals:
    void itemChosen(const QString& key);

private:
    QAction* Add(QMenu* menu, const QString& key, const QString& caption);

    QMenu* moduleMenu_;
    QMenu* scriptMenu_;
    std::map<QString, QAction*> items_;
};

} // namespace ry
