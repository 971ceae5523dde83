#pragma once

// The Dial and Conference module's dialog: the number dialled and joined to the call, the
// message the caller hears meanwhile, the longest time the three may talk, the code that
// ends the conference, and a warning message played before the time runs out.

#include "dialogs/module_dialog.h"

namespace ry {

class DialConferenceDialog : public ModuleDialog {
    Q_OBJECT
public:
    // The maximum time shown for a module that has none.
    static constexpr const char* kDefaultMaxTime = "60";

    DialConferenceDialog(Designer& designer, const ModuleDialogSetup& setup,
                         const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;
    bool SelectsFirstTabOnLoad() const override { return false; }

private:
    QLineEdit* phone_;       // txtPhone: sDncPhoneNumber
    QLineEdit* holdMessage_; // txtHoldMsg: sDncPlayWhileConnecting
    QLineEdit* maxTime_;     // txtMaxTime: sDncMaxConnectTime
    QLineEdit* endCode_;     // txtEndCode: sDncEndConnectCode
    QLineEdit* warning_;     // txtTimeWarningMsg: sDncTimeWarningMsg
    QLineEdit* warnAt_;      // txtTimeWarningPlayAt: sDncTimeWarningPlayAt
};

} // namespace ry
