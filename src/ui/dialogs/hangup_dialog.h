#pragma once

// The Hangup the Call module's dialog: the module ends the call and has no paths, so the
// dialog edits its title alone.

#include "dialogs/module_dialog.h"

namespace ry {

class HangupDialog : public ModuleDialog {
    Q_OBJECT
public:
    HangupDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord&) override {}
    void ApplyFields(ModuleRecord&) override {}
};

} // namespace ry
