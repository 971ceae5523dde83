#pragma once

// The dialog of a module type whose own fields this designer does not edit yet: the frame
// alone (title, paths, Apply / OK / Cancel / Help). Every setting of the module is kept as
// it is.

#include "dialogs/module_dialog.h"

#include <string_view>

namespace ry {

class PlaceholderDialog : public ModuleDialog {
    Q_OBJECT
public:
    PlaceholderDialog(Designer& designer, const ModuleDialogSetup& setup,
                      const ModuleDialogForm& form, std::string_view type);

protected:
    void LoadFields(const ModuleRecord&) override {}
    void ApplyFields(ModuleRecord&) override {}
};

} // namespace ry
