#include "dialogs/hangup_dialog.h"

namespace ry {

HangupDialog::HangupDialog(Designer& designer, const ModuleDialogSetup& setup,
                           const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    // The title above the tabs is all there is to edit.
    AddPage(QStringLiteral("Hangup Call"));
}

} // namespace ry
