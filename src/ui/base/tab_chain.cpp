#include "base/tab_chain.h"

#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace ry {

namespace {

// Lays out every part of the dialog, the pages of its tabs included, so that each widget's
// place is known before the dialog is first shown.
void LayOutAll(QWidget& widget) {
    if (QLayout* layout = widget.layout())
        layout->activate();
    for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            LayOutAll(*child);
}

// Whether `a` comes before `b` as a page is read: by rows from the top, then from the left.
// Widgets whose tops lie within a few pixels stand on one row.
bool ReadsBefore(const QPoint& a, const QPoint& b) {
    constexpr int kRowSlack = 6;
    if (std::abs(a.y() - b.y()) > kRowSlack)
        return a.y() < b.y();
    return a.x() < b.x();
}

void ChainByPlaces(QWidget& dialog, QWidget* first, const QList<QWidget*>& buttons) {
    // Qt chains widgets in the order they were made, which is not the order they are seen in:
    // a dialog makes its buttons before the fields of its pages, and a page's fields in any
    // order. The chain is made again from where the fields stand.
    LayOutAll(dialog);
    struct Field {
        QWidget* widget;
        QPoint at;
    };
    QList<Field> fields;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        // A combo box's list is a window of its own.
        if (w->window() != dialog.window() || w == first || buttons.contains(w) ||
            !(w->focusPolicy() & Qt::TabFocus))
            continue;
        // Tab passes over a widget with a focus proxy (a tab widget, a spin box, the field of
        // a combo box), and its proxy (the tab bar, the spin box's field, the combo box) takes
        // the place. Placing only these keeps Qt from moving a compound widget's whole range.
        if (w->focusProxy() != nullptr)
            continue;
        fields.append({w, w->mapTo(&dialog, QPoint(0, 0))});
    }
    std::stable_sort(fields.begin(), fields.end(),
                     [](const Field& a, const Field& b) { return ReadsBefore(a.at, b.at); });
    QList<QWidget*> chain;
    if (first != nullptr)
        chain << first;
    for (const Field& f : fields)
        chain << f.widget;
    chain << buttons;
    if (!chain.isEmpty())
        QWidget::setTabOrder(&dialog, chain.first());
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

// Orders the chain again each time the dialog is shown, once its fields stand where the user
// sees them: a dialog shows other fields, or other sizes, from one module to the next.
class TabChainKeeper : public QObject {
public:
    TabChainKeeper(QWidget& dialog, QWidget* first, const QList<QWidget*>& buttons)
        : QObject(&dialog), dialog_(dialog), first_(first), buttons_(buttons) {
        dialog.installEventFilter(this);
    }
    void Order() { ChainByPlaces(dialog_, first_, buttons_); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show)
            Order();
        return false;
    }

private:
    QWidget& dialog_;
    QPointer<QWidget> first_;
    QList<QWidget*> buttons_;
};

} // namespace

void OrderTabChain(QWidget& dialog, QWidget* first, const QList<QWidget*>& buttons) {
    TabChainKeeper* keeper = nullptr;
    for (QObject* child : dialog.children())
        if (auto* k = dynamic_cast<TabChainKeeper*>(child))
            keeper = k;
    if (keeper == nullptr)
        keeper = new TabChainKeeper(dialog, first, buttons);
    keeper->Order();
}

QList<QWidget*> TabChain(QWidget& dialog) {
    QList<QWidget*> chain;
    // As the Tab key goes: a widget with a focus proxy is passed over, its proxy stands for it.
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->focusProxy() == nullptr)
            chain << w;
    return chain;
}

} // namespace ry
