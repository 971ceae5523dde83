#include "base/paste_guard.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace ry {

namespace {

// The text field `watched` belongs to: the field itself, or the field whose viewport it is.
QWidget* TextField(QObject* watched) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return nullptr;
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget) ||
        qobject_cast<QPlainTextEdit*>(widget))
        return widget;
    QWidget* parent = widget->parentWidget();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(parent);
        area && area->viewport() == widget &&
        (qobject_cast<QTextEdit*>(parent) || qobject_cast<QPlainTextEdit*>(parent)))
        return parent;
    return nullptr;
}

bool ClipboardEmpty(QClipboard::Mode mode) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return true;
    const QMimeData* data = clipboard->mimeData(mode);
    return !data || data->formats().isEmpty();
}

bool IsPasteKey(const QKeyEvent& key) {
    return key.matches(QKeySequence::Paste) ||
           (key.key() == Qt::Key_Insert && key.modifiers() == Qt::ShiftModifier);
}

} // namespace

PasteGuard::PasteGuard(QObject* parent) : QObject(parent) {
    if (qApp)
        qApp->installEventFilter(this);
}

PasteGuard::~PasteGuard() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool PasteGuard::IsEmptyPaste(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return IsPasteKey(*static_cast<QKeyEvent*>(event)) && TextField(watched) &&
               ClipboardEmpty(QClipboard::Clipboard);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection, where the system keeps one.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
               TextField(watched) &&
               ClipboardEmpty(QGuiApplication::clipboard()->supportsSelection()
                                  ? QClipboard::Selection
                                  : QClipboard::Clipboard);
    default:
        return false;
    }
}

bool PasteGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!IsEmptyPaste(watched, event))
        return QObject::eventFilter(watched, event);
    event->accept();
    return true;
}

} // namespace ry
