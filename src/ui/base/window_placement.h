#pragma once

// Where the designer's own windows appear on the screen.

class QWidget;

namespace ry {

// Moves a window to the middle of the screen it is on (the primary screen before it is shown).
void CentreOnScreen(QWidget& window);

} // namespace ry
