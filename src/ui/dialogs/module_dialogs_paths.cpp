// Opening a module's dialog on one of its path lines (a double click on a connector).

#include "base/text_codec.h"
#include "canvas/connector_hits.h"
#include "dialogs/module_dialog.h"
#include "dialogs/module_dialogs.h"
#include "dialogs/paths_panel.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextCursor>

namespace ry {

void ModuleDialogTable::ShowPathLine(DocumentWindow& window, std::int16_t module, int box,
                                     int link) {
    DbInfoFormShow(window, module, box);
    ModuleDialog* dialog = DialogOfModule(module);
    if (!dialog || !dialog->Paths())
        return;
    dialog->SelectTab(dialog->Tabs().count() - 1); // the Paths tab comes last
    // The line as the dialog shows it now, unapplied edits and all. The text is single-byte,
    // so a byte's place in it is its character's place.
    QPlainTextEdit& edit = dialog->Paths()->Text();
    const std::string text = FromQt(edit.toPlainText());
    const std::string_view line = PathLineOfLink(text, link);
    if (line.empty())
        return;
    const int start = static_cast<int>(line.data() - text.data());
    QTextCursor cursor(edit.document());
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(line.size()), QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    edit.setFocus(Qt::OtherFocusReason);
}

} // namespace ry
