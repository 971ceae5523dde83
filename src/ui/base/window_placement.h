#pragma once

// Where the designer's own windows appear on the screen.

#include <QRect>

class QWidget;

namespace ry {

// Moves a window to the middle of the screen it is on (the primary screen before it is shown).
void CentreOnScreen(QWidget& window);

// A stored window rectangle as it may be restored on `screen` (the available area): no larger
// than the area, and moved inside it. A position stored at another scale or on a larger
// screen would otherwise come back partly off the screen.
QRect FitOnScreen(const QRect& stored, const QRect& screen);

// Where a window of `size` opens beside the window at `previous`: `step` pixels down and right
// of it, as far right as `screen` (the available area) allows, or at the screen's top-left
// when it would reach past the bottom.
QPoint OffsetPlace(const QRect& previous, const QSize& size, const QRect& screen, int step);

} // namespace ry
