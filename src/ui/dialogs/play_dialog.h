#pragma once

// The Play module's dialog: a sound file, a text to speak, and how often to play them.

#include "dialogs/module_dialog.h"

namespace ry {

class PlayDialog : public ModuleDialog {
    Q_OBJECT
public:
    PlayDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    SoundRow sound_;
    QPlainTextEdit* speak_;
    QLineEdit* replayCount_;
    QLineEdit* pause_;
};

} // namespace ry
