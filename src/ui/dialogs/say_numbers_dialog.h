#pragma once

// The Say Numbers module's dialog: the value to say, the way to say it (from the engine's
// say-number library), and sound files before and after.

#include "dialogs/module_dialog.h"
#include "script/say_number.h"

#include <array>
#include <vector>

namespace ry {

// The say-number types of the engine's library in the program folder
// ("system/vbs/lib_num2wav.vbs"); none when it is missing or unreadable.
std::vector<SayNumberType> ReadSayNumberLibrary(const QString& programFolder);

class SayNumbersDialog : public ModuleDialog {
    Q_OBJECT
public:
    SayNumbersDialog(Designer& designer, const ModuleDialogSetup& setup,
                     const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    void TypeChosen(int index);

    std::vector<SayNumberType> types_;
    bool builtIn_ = false; // the library lists no types: the built-in names are offered
    SoundRow before_;      // txtSoundFile(1): PlayFile slot 1
    QLineEdit* value_;     // txtSoundFile(2): PlayFile slot 2, the value to say
    QLabel* valueLabel_;
    SoundRow after_; // txtSoundFile(3): PlayFile slot 3
    QComboBox* type_;
    QLineEdit* replayCount_;
    QLineEdit* pause_;
};

} // namespace ry
