#pragma once

// Which dialog edits a module of which type.

#include "dialogs/module_dialog.h"

#include <string_view>

namespace ry {

class Designer;

// The form of the dialog for a module type: its name, help topic and whether it has paths.
// A type the catalogue does not list gets the DDE module's form.
ModuleDialogForm FormOfType(std::string_view type);

// A new dialog for a module of `type`, not yet loaded; it belongs to the setup's document
// window.
ModuleDialog* CreateModuleDialog(Designer& designer, std::string_view type,
                                 const ModuleDialogSetup& setup);

} // namespace ry
