#include "base/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

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

QPoint OffsetPlace(const QRect& previous, const QSize& size, const QRect& screen, int step) {
    QPoint next = previous.topLeft() + QPoint(step, step);
    if (screen.isEmpty())
        return next;
    // Past the bottom a new run starts at the top; a window too wide to move right keeps its
    // caption in sight by the step down alone.
    if (next.y() + size.height() > screen.bottom() + 1)
        return screen.topLeft();
    next.setX(std::max(screen.left(), std::min(next.x(), screen.right() + 1 - size.width())));
    return next;
}

} // namespace ry
