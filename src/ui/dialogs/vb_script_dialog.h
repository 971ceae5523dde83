#pragma once

// The Run VB Script module's dialog: the script text the engine runs, loaded from a file or
// typed, whether the call waits for it, and the sound played meanwhile.

#include "dialogs/module_dialog.h"

namespace ry {

class VbScriptDialog : public ModuleDialog {
    Q_OBJECT
public:
    // The most a script file loads into the box, in characters.
    static constexpr qint64 kLoadLimit = 60000;

    VbScriptDialog(Designer& designer, const ModuleDialogSetup& setup,
                   const ModuleDialogForm& form);

    // Asks for a script file and puts its text into the script box (cmdLoadVbs).
    void LoadVbs();

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    // The line of the script box holding the start of the selection, from 1, in
    // lblLineCount.
    void ShowCaretLine();

    QPlainTextEdit* script_; // txtSoundFile(0): PlayFile slot 1
    QLabel* lineCount_;      // lblLineCount
    QComboBox* wait_;        // cmbRunWait: RunWait
    SoundRow sound_;         // txtSoundFile(1): PlayFile slot 2
};

} // namespace ry
