#pragma once

// The Evaluate module's dialog: an expression for the engine to evaluate, the result variable
// that receives its value, and whether the result goes into the log.

#include "dialogs/module_dialog.h"

class QCheckBox;

namespace ry {

class EvaluateDialog : public ModuleDialog {
    Q_OBJECT
public:
    EvaluateDialog(Designer& designer, const ModuleDialogSetup& setup,
                   const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    QPlainTextEdit* expression_; // txtSoundFile: PlayFile slot 1
    QLineEdit* resultVariable_;  // txtNewRV: ExprNewRV
    QCheckBox* storeInLog_;      // chkStoreRVinLog: ExprStoreRV
};

} // namespace ry
