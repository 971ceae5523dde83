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

} // namespace ry
