#pragma once

// The Pager Message module's dialog: a numeric page (a number to dial and a message of
// digits) or an alphanumeric one by the PET protocol (pager ID, password and a text message),
// and the lines the outgoing call may use.
//
// The boxes change meaning with the pager type, so the dialog keeps the module's values in
// working fields while it is open: switching the type back and forth loses nothing.

#include "dialogs/module_dialog.h"

#include <array>

class QGroupBox;
class QRadioButton;

namespace ry {

class PagerDialog : public ModuleDialog {
    Q_OBJECT
public:
    PagerDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

    // The stored pager types.
    static constexpr const char* kNumeric = "RUN_PAGER_NUMERIC";
    static constexpr const char* kPet = "RUN_PAGER_PET";

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    bool IsPet() const;
    // Shows the working fields in the boxes for the chosen type, and enables the PET boxes
    // for PET only.
    void TypeChosen();
    // A box was edited: its text goes into the working field it shows.
    void BoxEdited(int box);

    struct Working {
        QString telephone;
        QString pagerId;
        QString password;
        QString message;
        QString lines;
    };
    Working working_;
    bool showing_ = false; // the boxes are being filled from the working fields

    QGroupBox* frame_;                  // fraSample1
    std::array<QRadioButton*, 2> type_; // optPagerType(0) Numeric, (1) PET
    std::array<QLineEdit*, 5> boxes_;   // txtSoundFile(0), (1), (2), (3), (6)
    QLabel* secondLabel_;               // lblMisc(11)
    std::array<QLabel*, 2> petLabels_;  // "Password :", "Message :"
};

} // namespace ry
