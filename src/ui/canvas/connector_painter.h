#pragma once

// Paints the connectors of a script from its path texts: one-pixel black lines (solid at any
// slope and zoom), black bend pixels and light grey arrow heads outlined in black, as the
// routes record them; beside each connector a label with its triggers; and for a path whose
// destination names no module, a short stub ending in a tag that names the destination.

#include "canvas/around_boxes.h"
#include "canvas/path_layout.h"
#include "canvas/routes.h"
#include "canvas/stubs.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

namespace ry {

class ScriptDocument;

// The colour of what the checker would call a problem: the tag of a destination that names no
// module.
inline const QColor kProblemColour(200, 30, 30);
// The other colours of connectors, labels and tags.
inline const QColor kArrowFill(221, 221, 221);
inline const QColor kLabelInk(20, 60, 140);
inline const QColor kLabelBack(255, 255, 255, 225);
inline const QColor kTagFill(232, 240, 252);
inline const QColor kProblemFill(255, 230, 228);

// Whether the painter draws a page (a printer, its preview, a PDF file, a recorded picture),
// which may be shown afterwards at any zoom: lines there are drawn one device pixel wide,
// as filled pixels would shrink below a screen pixel and vanish.
bool PaintsOnPaper(const QPainter& p);

// The font of trigger labels and tags.
QFont ConnectorTextFont();

// Paints one recorded connector: its lines, bend pixels and arrow head.
void PaintConnector(QPainter& painter, const ConnectorPath& path);

struct ConnectorOptions {
    // The trigger labels beside connectors and stubs.
    bool labels = true;
    RouteStyle style = RouteStyle::AroundBoxes;
    // Where a box's top-left corner is drawn now, given its box number; without it, where its
    // module stands. Boxes being dragged are drawn away from their modules' places.
    std::function<QPoint(int box)> boxPosition;
};

// One connector or stub as laid out: its route, and where its label and tag sit.
struct LaidConnector {
    std::int16_t from = -1;
    std::int16_t to = -1; // the destination module; -1 for a stub
    int line = 0;         // the first path of its group: which "on {" of the source's text
    std::string destination;
    bool problem = false; // a stub to a title no module bears
    ConnectorPath path;   // a connector's lines
    // The corners of its line, from the source's frame to the arrow's tip (a connector) or to
    // the tag (a stub), rounded bends taken sharp.
    std::vector<Point> points;
    Stub stub; // a stub's line, label and tag
    bool isStub = false;
    bool hasTag = false;   // a stub's tag found a free spot
    bool hasLabel = false; // the label found a free spot
    Rect label;
    QString labelText, tagText;
    Rect bounds; // everything painted
};

// Every connector and stub of a document with its label and tag placed, worked out once and
// kept until the drawing changes, as canvas/path_layout.h lays it out.
class ConnectorLayout {
public:
    void Build(const ScriptDocument& document, const ConnectorOptions& options);
    const std::vector<LaidConnector>& Items() const { return items_; }
    // Labels and tags left out for want of a free spot.
    int LeftOut() const { return layout_.LeftOut(); }

private:
    // A label's text as shown and its size, by its triggers.
    struct Measured {
        QString shown;
        Size size;
    };

    std::vector<LaidConnector> items_;
    PathLayout layout_; // the geometry, kept to lay out the next drawing faster
    std::unordered_map<std::string, Measured> measured_;
};

// Paints the connectors and stubs of a layout that touch `exposed` (canvas pixels), lines first
// and labels and tags over them.
void PaintConnectors(QPainter& painter, const ConnectorLayout& layout, const QRect& exposed);

// Lays out and paints in one go.
void PaintConnectors(QPainter& painter, const ScriptDocument& document, const QRect& exposed,
                     const ConnectorOptions& options = {});

} // namespace ry
