#pragma once

// The open module dialogs as the rest of the designer reaches them. The dialogs' own table
// implements it; whoever composes the program makes one and installs it in the Designer, so
// the ground floor and the canvas never depend on the dialogs themselves.

#include <cstdint>

namespace ry {

class DocumentWindow;
class ModuleDialog;

class ModuleDialogHost {
public:
    virtual ~ModuleDialogHost() = default;

    // Opens the property dialog of `module`, shown in box `box` of `window`; a dialog already
    // open for the module is brought to the front instead.
    virtual void DbInfoFormShow(DocumentWindow& window, std::int16_t module, int box) = 0;
    // The same dialog on its Paths tab, with the line of the module's `link`-th path (counted
    // from 0, as the canvas counts them) selected.
    virtual void ShowPathLine(DocumentWindow& window, std::int16_t module, int box, int link) {
        (void)link;
        DbInfoFormShow(window, module, box);
    }
    // Closes the dialogs of a script without asking (its document goes without saving).
    virtual void CloseForScript(std::int16_t script) = 0;
    // Closes every open dialog; a dialog with unsaved changes asks first. False when the user
    // kept open a dialog of `script` (of any script when `script` is 0).
    virtual bool CloseAll(std::int16_t script = 0) = 0;
    // Before a script's document closes: each of its dialogs with unapplied edits asks
    // whether to apply them (Yes applies, No leaves them), and nothing closes. False when the
    // user cancelled; the dialogs then stay as they were.
    virtual bool SettleEdits(std::int16_t script) = 0;
    virtual ModuleDialog* DialogOfModule(std::int16_t module) const = 0;
    virtual int OpenCount() const = 0;
};

} // namespace ry
