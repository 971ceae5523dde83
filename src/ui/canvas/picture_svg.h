#pragma once

// The drawing as an SVG picture that browsers and other tools can read: each box and each path
// a group (<g>) whose <title> names it ("Main Menu", "Main Menu: 2 → Leave Message"), shown
// on hover; connector lines as polylines and every text as text.

#include <QByteArray>
#include <QRectF>
#include <QString>

namespace ry {

class CanvasScene;

// The SVG of `area` of the canvas (canvas pixels), titled `title`. Boxes are drawn by their
// own items as they stand, so the scene is to show the drawing alone (no selection, no
// handles) while this runs.
QByteArray DrawingSvg(CanvasScene& scene, const QRectF& area, const QString& title);

} // namespace ry
