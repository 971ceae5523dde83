#pragma once

// The Transfer Call module's dialog: the number the call goes to and one of six ways of
// handing it on, with the settings of a dial-out on a second line and the message asking the
// recipient of an announced transfer.

#include "dialogs/module_dialog.h"

#include <array>

class QRadioButton;

namespace ry {

class TransferDialog : public ModuleDialog {
    Q_OBJECT
public:
    TransferDialog(Designer& designer, const ModuleDialogSetup& setup,
                   const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    // The selected type, or -1 when none is.
    int SelectedType() const;
    // The settings of the other tabs can be used only with the types that use them.
    void TypeChosen();

    QLineEdit* phone_;                   // txtSoundFile: PlayFile slot 1
    std::array<QRadioButton*, 6> types_; // optXferType(0) .. (5): iXferType
    FileRow onHold_;                     // txtPlayWhileDialing: PlayFile slot 2
    FileRow lines_;                      // txtLineSelect: sXfer2ndLegLinesListFile
    FileRow announce_;                   // txtAnnounceMessage: PlayFile slot 3
};

} // namespace ry
