#include "base/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ry {

void CentreOnScreen(QWidget& window) {
    QScreen* screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.adjustSize();
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QRect FitOnScreen(const QRect& stored, const QRect& screen) {
    if (screen.isEmpty())
        return stored;
    QRect fitted(stored.topLeft(), stored.size().boundedTo(screen.size()));
    if (fitted.right() > screen.right())
        fitted.moveRight(screen.right());
    if (fitted.bottom() > screen.bottom())
        fitted.moveBottom(screen.bottom());
    if (fitted.left() < screen.left())
        fitted.moveLeft(screen.left());
    if (fitted.top() < screen.top())
        fitted.moveTop(screen.top());
    return fitted;
}

} // namespace ry
