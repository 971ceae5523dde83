#pragma once

// Paints the connectors of a script from its path texts, as the raster device of the original
// designer drew them: one-pixel black lines whose end point is left to what follows, black
// bend pixels and light grey arrow heads outlined in black.

#include "canvas/routes.h"

#include <QRect>

class QPainter;

namespace ry {

class ScriptDocument;

// Paints one recorded connector.
void PaintConnector(QPainter& painter, const ConnectorPath& path);

// Paints every connector of the document that touches `exposed` (canvas pixels). Routes are
// recomputed from the records on every call.
void PaintConnectors(QPainter& painter, const ScriptDocument& document, const QRect& exposed);

} // namespace ry
