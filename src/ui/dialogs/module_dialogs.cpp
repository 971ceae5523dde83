#include "dialogs/module_dialogs.h"

#include "base/designer.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "dialogs/dialog_factory.h"
#include "dialogs/module_dialog.h"
#include "dialogs/paths_panel.h"
#include "paths/path_line.h"

namespace ry {

ModuleDialogTable::ModuleDialogTable(Designer& designer, QObject* parent)
    : QObject(parent), designer_(designer) {
    designer_.SetModuleDialogs(this);
}

ModuleDialogTable::~ModuleDialogTable() {
    if (designer_.HasModuleDialogs(this))
        designer_.SetModuleDialogs(nullptr);
}

ModuleDialog* ModuleDialogTable::DialogInSlot(int slot) const {
    if (slot < 1 || slot > SlotCount())
        return nullptr;
    return slots_[static_cast<size_t>(slot - 1)];
}

ModuleDialog* ModuleDialogTable::DialogOfModule(std::int16_t module) const {
    for (const auto& dialog : slots_)
        if (dialog && dialog->ModuleIndex() == module)
            return dialog;
    return nullptr;
}

int ModuleDialogTable::OpenCount() const {
    int n = 0;
    for (const auto& dialog : slots_)
        n += dialog ? 1 : 0;
    return n;
}

void ModuleDialogTable::DbInfoFormShow(DocumentWindow& window, std::int16_t module, int box) {
    if (!ScriptTables::IsModuleIndex(module))
        return;
    int slot = 0;
    for (int s = 1; s <= SlotCount(); ++s) {
        ModuleDialog* dialog = DialogInSlot(s);
        if (dialog && dialog->ModuleIndex() == module) {
            dialog->show();
            dialog->raise();
            dialog->activateWindow();
            return;
        }
        if (!dialog && slot == 0)
            slot = s;
    }
    if (slot == 0) {
        slots_.emplace_back();
        slot = SlotCount();
    }
    const ModuleRecord& record = designer_.Tables().Module(module);
    ModuleDialogSetup setup;
    setup.window = &window;
    setup.module = module;
    setup.script = window.Script();
    setup.box = box;
    setup.slot = slot;
    setup.opensBeside = lastOpened_;
    ModuleDialog* dialog = CreateModuleDialog(designer_, record.Type, setup);
    slots_[static_cast<size_t>(slot - 1)] = dialog;
    lastOpened_ = dialog;
    connect(dialog, &ModuleDialog::closed, this, [this, dialog](int closedSlot) {
        if (DialogInSlot(closedSlot) == dialog)
            slots_[static_cast<size_t>(closedSlot - 1)] = nullptr;
    });
    Follow(window.Document());
    if (PathsPanel* paths = dialog->Paths())
        paths->SetTriggers(TriggerCaptions(record.Type));
    dialog->Load();
}

template <class F> void ModuleDialogTable::ForEachOfScript(std::int16_t script, F&& f) {
    // A copy: a dialog may close while the others are visited.
    const std::vector<QPointer<ModuleDialog>> open = slots_;
    for (const auto& dialog : open)
        if (dialog && dialog->ScriptIndex() == script)
            f(*dialog);
}

void ModuleDialogTable::Follow(ScriptDocument& document) {
    // Once per document: the open dialogs follow what the canvas does to titles and modules.
    static const char* const kFollowed = "ryModuleDialogsFollow";
    if (document.property(kFollowed).toBool())
        return;
    document.setProperty(kFollowed, true);
    ScriptDocument* doc = &document;
    connect(doc, &ScriptDocument::titleRenamed, this,
            [this, doc](std::int16_t module, const QString& title) {
                RefreshAfterRename(doc->Script(), module, title);
            });
    connect(doc, &ScriptDocument::boxAdded, this, [this, doc](int) {
        ForEachOfScript(doc->Script(), [](ModuleDialog& d) { d.RefreshDestinations(); });
    });
    connect(doc, &ScriptDocument::boxRemoved, this, [this, doc](int box) {
        // A module whose box goes away is being deleted: its dialog would edit a free record.
        ForEachOfScript(doc->Script(), [box](ModuleDialog& d) {
            if (d.BoxIndex() == box)
                d.CloseWithoutAsking();
            else
                d.RefreshDestinations();
        });
    });
    connect(doc, &ScriptDocument::connectorsChanged, this, [this, doc] {
        ForEachOfScript(doc->Script(), [](ModuleDialog& d) { d.StoredPathsChanged(); });
    });
    connect(doc, &ScriptDocument::moduleRestored, this, [this](std::int16_t module) {
        if (ModuleDialog* dialog = DialogOfModule(module))
            dialog->ModuleRestored();
    });
}

void ModuleDialogTable::RefreshAfterRename(std::int16_t script, std::int16_t module,
                                           const QString& title) {
    ForEachOfScript(script, [&](ModuleDialog& d) { d.TitleRenamed(module, title); });
}

void ModuleDialogTable::CloseForModule(std::int16_t module) {
    if (ModuleDialog* dialog = DialogOfModule(module))
        dialog->CloseWithoutAsking();
}

void ModuleDialogTable::CloseForScript(std::int16_t script) {
    ForEachOfScript(script, [](ModuleDialog& d) { d.CloseWithoutAsking(); });
}

bool ModuleDialogTable::CloseAll(std::int16_t script) {
    bool keptOpen = false;
    const std::vector<QPointer<ModuleDialog>> open = slots_;
    for (const auto& dialog : open) {
        if (!dialog)
            continue;
        const std::int16_t itsScript = dialog->ScriptIndex();
        if (!dialog->close() && (script == 0 || itsScript == script))
            keptOpen = true;
    }
    return !keptOpen;
}

bool ModuleDialogTable::SettleEdits(std::int16_t script) {
    bool cancelled = false;
    ForEachOfScript(script, [&](ModuleDialog& d) {
        if (!cancelled && !d.SettleEdits())
            cancelled = true;
    });
    return !cancelled;
}

} // namespace ry
