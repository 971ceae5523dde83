#pragma once

// The open module property dialogs of the whole program, at most one per module, in slots
// that are reused once their dialog closes.

#include "base/module_dialog_host.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

namespace ry {

class Designer;
class DocumentWindow;
class ModuleDialog;
class ScriptDocument;

// The table installs itself in the designer for its lifetime.
class ModuleDialogTable : public QObject, public ModuleDialogHost {
    Q_OBJECT
public:
    explicit ModuleDialogTable(Designer& designer, QObject* parent = nullptr);
    ~ModuleDialogTable() override;

    // Opens the property dialog of `module`, shown in box `box` of `window`, in the first free
    // slot, with the trigger captions of the module's type in its paths panel; a dialog
    // already open for the module is brought to the front instead.
    void DbInfoFormShow(DocumentWindow& window, std::int16_t module, int box) override;
    void ShowPathLine(DocumentWindow& window, std::int16_t module, int box, int link) override;
    // Closes the dialog of a module (it was deleted), without asking.
    void CloseForModule(std::int16_t module);
    // Closes the dialogs of a script without asking (its document goes without saving).
    void CloseForScript(std::int16_t script) override;
    // Closes every open dialog; a dialog with unsaved changes asks first. False when the user
    // kept open a dialog of `script` (of any script when `script` is 0).
    bool CloseAll(std::int16_t script = 0) override;
    bool SettleEdits(std::int16_t script) override;
    // A module of `script` was renamed to `title`: every open dialog of the script shows
    // fresh destinations and path texts.
    void RefreshAfterRename(std::int16_t script, std::int16_t module, const QString& title);

    // Slots, from 1; an empty slot holds null.
    int SlotCount() const { return static_cast<int>(slots_.size()); }
    ModuleDialog* DialogInSlot(int slot) const;
    ModuleDialog* DialogOfModule(std::int16_t module) const override;
    int OpenCount() const override;

private:
    void Follow(ScriptDocument& document);
    template <class F> void ForEachOfScript(std::int16_t script, F&& f);

    Designer& designer_;
    std::vector<QPointer<ModuleDialog>> slots_;
    QPointer<ModuleDialog> lastOpened_; // the next dialog opens offset from it
};

} // namespace ry
