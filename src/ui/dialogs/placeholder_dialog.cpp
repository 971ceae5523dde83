#include "dialogs/placeholder_dialog.h"

#include "app/text_codec.h"

#include <QGridLayout>
#include <QLabel>

namespace ry {

PlaceholderDialog::PlaceholderDialog(Designer& designer, const ModuleDialogSetup& setup,
                                     const ModuleDialogForm& form, std::string_view type)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(ToQt(type));
    auto* note =
        new QLabel(QStringLiteral("The settings of this module are kept as they are."), page);
    note->setWordWrap(true);
    PageGrid(page)->addWidget(note, 0, 0);
}

} // namespace ry
