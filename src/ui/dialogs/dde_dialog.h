#pragma once

// The DDE module's dialog: a command to execute in, or data to poke into, another
// application, by DDE topic and item. Modules of a type this designer has no dialog for
// (such as "TTS") open it too.

#include "dialogs/module_dialog.h"

#include <array>

class QRadioButton;

namespace ry {

class DdeDialog : public ModuleDialog {
    Q_OBJECT
public:
    DdeDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;
    bool SelectsFirstTabOnLoad() const override { return false; }

private:
    // The third box holds a command to execute or the data to poke; its label says which.
    void TypeChosen();

    std::array<QRadioButton*, 2> type_; // optDdeType(0) Execute, (1) Poke
    std::array<QLineEdit*, 3> boxes_;   // txtSoundFile(0) topic, (1) item, (2) command/data
    QLabel* commandLabel_;              // lblMisc(12)
};

} // namespace ry
