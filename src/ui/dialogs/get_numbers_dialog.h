#pragma once

// The Get Numbers module's dialog: the prompt asking the caller for a number, the rule on
// the number's length, confirmation, and the sound files used while confirming.

#include "dialogs/module_dialog.h"

#include <array>

class QCheckBox;
class QRadioButton;

namespace ry {

class GetNumbersDialog : public ModuleDialog {
    Q_OBJECT
public:
    GetNumbersDialog(Designer& designer, const ModuleDialogSetup& setup,
                     const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    void LengthRuleChosen();

    std::array<SoundRow, 4> sounds_; // txtSoundFile(1) .. (4): PlayFile slots 1 .. 4
    QLineEdit* replayCount_;
    QLineEdit* pause_;
    std::array<QRadioButton*, 3> lengthRule_; // optNbrLen(0) .. (2)
    QLineEdit* digits_;
    QCheckBox* confirm_;
};

} // namespace ry
