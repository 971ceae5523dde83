#pragma once

// The open module property dialogs of the whole program, at most one per module, in slots
// that are reused once their dialog closes.

#include <QObject>

#include <cstdint>

namespace ry {

class Designer;
class DocumentWindow;

class ModuleDialogTable : public QObject {
    Q_OBJECT
public:
    explicit ModuleDialogTable(Designer& designer, QObject* parent = nullptr)
        : QObject(parent), designer_(designer) {}

    // Opens the property dialog of `module`, shown in box `box` of `window`; a dialog already
    // open for the module is brought to the front instead.
    void DbInfoFormShow(DocumentWindow& window, std::int16_t module, int box);
    // Closes the dialog of a module (it was deleted), without asking.
    void CloseForModule(std::int16_t module);
    // Closes every open dialog; a dialog with unsaved changes asks first. False when the user
    // kept one open.
    bool CloseAll();
    // A module was renamed: every open dialog shows fresh destinations and path texts.
    void RefreshAfterRename();

private:
    Designer& designer_;
};

} // namespace ry
