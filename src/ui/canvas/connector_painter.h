#pragma once

// Paints the connectors of a script from its path texts: one-pixel black lines (solid at any
// slope and zoom), black bend pixels and light grey arrow heads outlined in black, as the
// routes record them; beside each connector a label with its triggers; and for a path whose
// destination names no module, a short stub ending in a tag that names the destination.

#include "canvas/routes.h"

#include <QColor>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>

class QPainter;

namespace ry {

class ScriptDocument;

// The colour of what the checker would call a problem: the tag of a destination that names no
// module.
inline const QColor kProblemColour(200, 30, 30);

// Paints one recorded connector: its lines, bend pixels and arrow head.
void PaintConnector(QPainter& painter, const ConnectorPath& path);

struct ConnectorOptions {
    // The trigger labels beside connectors and stubs.
    bool labels = true;
    // Where a box's top-left corner is drawn now, given its box number; without it, where its
    // module stands. Boxes being dragged are drawn away from their modules' places.
    std::function<QPoint(int box)> boxPosition;
};

// Paints every connector and stub of the document that touches `exposed` (canvas pixels),
// lines first and labels and tags over them. Everything is worked out again from the records
// on every call.
void PaintConnectors(QPainter& painter, const ScriptDocument& document, const QRect& exposed,
                     const ConnectorOptions& options = {});

} // namespace ry
