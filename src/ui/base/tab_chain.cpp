#include "base/tab_chain.h"

#include <QWidget>

namespace ry {

namespace {

// The widget whose successor in the focus chain is the dialog again.
QWidget* LastInChain(QWidget& dialog) {
    QWidget* last = &dialog;
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
        last = w;
    return last;
}

} // namespace

void OrderTabChain(QWidget& dialog, QWidget* first, const QList<QWidget*>& buttons) {
    // Qt chains widgets in the order they were made; a dialog makes its buttons before the
    // fields of its pages.
    if (first != nullptr)
        QWidget::setTabOrder(&dialog, first);
    for (QWidget* button : buttons) {
        QWidget* last = LastInChain(dialog);
        if (last != button)
            QWidget::setTabOrder(last, button);
    }
}

QList<QWidget*> TabChain(QWidget& dialog) {
    QList<QWidget*> chain;
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
    return chain;
}

} // namespace ry
