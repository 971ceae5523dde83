#pragma once

// The Record module's dialog: the file the caller is recorded into, and whether a beep comes
// first.

#include "dialogs/module_dialog.h"

namespace ry {

class RecordDialog : public ModuleDialog {
    Q_OBJECT
public:
    RecordDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    SoundRow sound_;
    QComboBox* beep_;
};

} // namespace ry
