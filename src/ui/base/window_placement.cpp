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

} // namespace ry
