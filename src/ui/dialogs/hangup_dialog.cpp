#include "dialogs/hangup_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ry {

HangupDialog::HangupDialog(Designer& designer, const ModuleDialogSetup& setup,
                           const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    // The title above the tabs is all there is to edit; the page says so rather than
    // standing empty.
    QWidget* page = AddPage(QStringLiteral("Hangup Call"));
    auto* layout = new QVBoxLayout(page);
    QLabel* note = MakeLabel(QStringLiteral("lblHangup"),
                             QStringLiteral("The call is hung up when it reaches this module. "
                                            "No path leaves it."),
                             page);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);
    page->setMinimumHeight(120);
}

} // namespace ry
