#pragma once

// Edit > Arrange Modules: the selected boxes (every box when fewer than two are selected) laid
// out from the top down, as one step of the document's history.

class QWidget;

namespace ry {

class Designer;
class DocumentWindow;

// Lays out on a worker thread over a copy of the script's paths, so the window keeps
// painting; a progress window with Cancel shows after half a second, and Cancel leaves every
// box where it was. Returns whether the boxes were moved.
bool ArrangeModules(QWidget* parent, Designer& designer, DocumentWindow& window);

} // namespace ry
