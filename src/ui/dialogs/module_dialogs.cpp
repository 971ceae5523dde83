#include "dialogs/module_dialogs.h"

namespace ry {

void ModuleDialogTable::DbInfoFormShow(DocumentWindow&, std::int16_t, int) {}

void ModuleDialogTable::CloseForModule(std::int16_t) {}

bool ModuleDialogTable::CloseAll() {
    return true;
}

void ModuleDialogTable::RefreshAfterRename() {}

} // namespace ry
