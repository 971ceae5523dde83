#pragma once

// The Run Program module's dialog: the command line of the program, the window it starts in,
// and whether the call waits for it while a sound plays.

#include "dialogs/module_dialog.h"

namespace ry {

class RunProgramDialog : public ModuleDialog {
    Q_OBJECT
public:
    RunProgramDialog(Designer& designer, const ModuleDialogSetup& setup,
                     const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    SoundRow program_; // txtSoundFile(0): PlayFile slot 1, the command line
    QComboBox* mode_;  // cmbRunMode: RunMode
    QComboBox* wait_;  // cmbRunWait: RunWait
    SoundRow sound_;   // txtSoundFile(1): PlayFile slot 2, played while the program runs
};

} // namespace ry
