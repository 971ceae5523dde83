#pragma once

// The Tab key's order in a dialog: its fields as the dialog made them, then its buttons.

#include <QList>

class QWidget;

namespace ry {

// Moves `first` to the start of the dialog's chain (after the dialog itself) and `buttons` to
// its end, in the order given; the fields between keep their order.
void OrderTabChain(QWidget& dialog, QWidget* first, const QList<QWidget*>& buttons);

// The widgets that take the focus by Tab in the dialog, in the order the Tab key goes.
QList<QWidget*> TabChain(QWidget& dialog);

} // namespace ry
