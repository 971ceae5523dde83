#pragma once

// The Make Call module's dialog: the call to place and up to two alternative contacts tried
// when it fails, each with its number, welcome message, the script or sound file for the
// answered call, the result variables handed to it, its lines and its redials.

#include "dialogs/module_dialog.h"

#include <array>

namespace ry {

class MakeCallDialog : public ModuleDialog {
    Q_OBJECT
public:
    // Contacts 0..2 of the module's six entries.
    static constexpr int kContacts = 3;

    MakeCallDialog(Designer& designer, const ModuleDialogSetup& setup,
                   const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    struct Contact {
        QLineEdit* phone = nullptr;     // txtPhone(i): sDialPhone
        QLineEdit* welcome = nullptr;   // txtWelc(i): sDialWelc
        QLineEdit* script = nullptr;    // txtScript(i): sDialScript
        QLineEdit* variables = nullptr; // txtVariables(i): sDialVariables
        QLineEdit* lines = nullptr;     // txtLineSelection(i): sDialLineSelection
        QLineEdit* retries = nullptr;   // txtReplayCount(i): sDialRetry
        QLineEdit* pause = nullptr;     // txtPauseTime(i): sDialDelay
    };
    std::array<Contact, kContacts> contacts_;
};

} // namespace ry
