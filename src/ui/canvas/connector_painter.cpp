#include "canvas/connector_painter.h"

#include "canvas/box_geometry.h"
#include "canvas/script_document.h"
#include "paths/destinations.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ry {

namespace {

const QColor kArrowFill(221, 221, 221);

// Drawn smaller than a canvas pixel (a view zoomed out, the overview), a line of canvas pixels
// would cover no screen pixel at all: there it is drawn one screen pixel wide.
bool BelowCanvasPixel(const QPainter& p) {
    const QTransform& t = p.worldTransform();
    return std::abs(t.m11()) < 1.0 || std::abs(t.m22()) < 1.0;
}

// The pixels of a line from `from` up to, not including, `to`.
void PaintSegment(QPainter& p, const Segment& s, bool thin) {
    const Point a = s.from, b = s.to;
    if (thin) {
        p.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
        return;
    }
    if (a.y == b.y) {
        const int len = std::abs(b.x - a.x);
        p.fillRect(b.x < a.x ? b.x + 1 : a.x, a.y, len, 1, Qt::black);
    } else if (a.x == b.x) {
        const int len = std::abs(b.y - a.y);
        p.fillRect(a.x, b.y < a.y ? b.y + 1 : a.y, 1, len, Qt::black);
    } else {
        // The slight slope of the straight line between nearly level boxes: step along x.
        const int dx = b.x > a.x ? 1 : -1;
        const int steps = std::abs(b.x - a.x);
        for (int i = 0; i < steps; ++i) {
            const int x = a.x + i * dx;
            const double t = static_cast<double>(i) / steps;
            const int y = static_cast<int>(std::lround(a.y + t * (b.y - a.y)));
            p.fillRect(x, y, 1, 1, Qt::black);
        }
    }
}

} // namespace

void PaintConnector(QPainter& p, const ConnectorPath& path) {
    const bool thin = BelowCanvasPixel(p);
    if (thin)
        p.setPen(QPen(Qt::black, 0));
    for (const Segment& s : path.Segments())
        PaintSegment(p, s, thin);
    for (const Point& px : path.BendPixels()) {
        if (thin)
            p.drawPoint(px.x, px.y);
        else
            p.fillRect(px.x, px.y, 1, 1, Qt::black);
    }
    if (path.HasArrow()) {
        const auto& c = path.Arrow().corners;
        const QPoint points[3] = {{c[0].x, c[0].y}, {c[1].x, c[1].y}, {c[2].x, c[2].y}};
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(kArrowFill);
        p.drawPolygon(points, 3);
    }
}

void PaintConnectors(QPainter& p, const ScriptDocument& doc, const QRect& exposed) {
    const ScriptTables& tables = doc.Tables();
    const Rect area{exposed.left(), exposed.top(), exposed.width(), exposed.height()};
    auto boxRect = [&](std::int16_t module, Rect& out) {
        const ModuleRecord& m = tables.Module(module);
        if (!doc.HasBox(m.BoxIndex) || doc.ModuleOfBox(m.BoxIndex) != module)
            return false;
        out = {static_cast<int>(m.PositionX), static_cast<int>(m.PositionY), kBoxWidth,
               doc.BoxHeight(m.BoxIndex)};
        return true;
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const Connector& c : ScriptConnectors(tables, doc.Script())) {
        Rect from, to;
        if (!boxRect(c.From, from) || !boxRect(c.To, to))
            continue;
        const ConnectorPath path = RouteConnector(from, to);
        if (Intersects(path.Bounds(), area))
            PaintConnector(p, path);
    }
    p.restore();
}

} // namespace ry
