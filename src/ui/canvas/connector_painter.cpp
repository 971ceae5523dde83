#include "canvas/connector_painter.h"

#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/labels.h"
#include "canvas/script_document.h"
#include "canvas/stubs.h"
#include "paths/destinations.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace ry {

namespace {

const QColor kArrowFill(221, 221, 221);
const QColor kLabelInk(20, 60, 140);
const QColor kLabelBack(255, 255, 255, 225);
const QColor kTagFill(232, 240, 252);
const QColor kProblemFill(255, 230, 228);

// Labels and tags longer than this are cut short with an ellipsis.
constexpr int kMaxTextWidth = 150;
// Below this scale text would be too small to read: stubs keep their tags, without text.
constexpr double kSmallestReadableScale = 0.5;

// Drawn smaller than a canvas pixel (a view zoomed out, the overview), a line of canvas pixels
// would cover no screen pixel at all: there it is drawn one screen pixel wide.
bool BelowCanvasPixel(const QPainter& p) {
    const QTransform& t = p.worldTransform();
    return std::abs(t.m11()) < 1.0 || std::abs(t.m22()) < 1.0;
}

// The pixels of a line from `from` up to, not including, `to`. Level and upright lines fill
// exactly those pixels; a sloping one (between nearly level or nearly upright boxes, by any
// slope) is drawn as a line, so that it stays whole at every zoom.
void PaintSegment(QPainter& p, const Segment& s, bool thin) {
    const Point a = s.from, b = s.to;
    if (!thin && a.y == b.y) {
        const int len = std::abs(b.x - a.x);
        p.fillRect(b.x < a.x ? b.x + 1 : a.x, a.y, len, 1, Qt::black);
    } else if (!thin && a.x == b.x) {
        const int len = std::abs(b.y - a.y);
        p.fillRect(a.x, b.y < a.y ? b.y + 1 : a.y, 1, len, Qt::black);
    } else {
        p.setPen(thin ? QPen(Qt::black, 0) : QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
    }
}

QRect QtRect(const Rect& r) {
    return {r.Left, r.Top, r.Width, r.Height};
}

Rect Grown(const Rect& r, int dx, int dy) {
    return {r.Left - dx, r.Top - dy, r.Width + 2 * dx, r.Height + 2 * dy};
}

// A text beside a connector or in a tag, painted after every line.
struct Caption {
    QRect rect;
    QString text;
    enum class Look { Label, Tag, ProblemTag } look = Look::Label;
};

// Measures label and tag texts in the canvas's label font.
class TextSizes {
public:
    TextSizes() : metrics_(Font()) {}

    static QFont Font() {
        QFont font;
        font.setPixelSize(11);
        return font;
    }
    // The text as shown (cut short when too long) and the size of its label.
    QString Fit(const QString& text) const {
        if (metrics_.horizontalAdvance(text) <= kMaxTextWidth)
            return text;
        return metrics_.elidedText(text, Qt::ElideRight, kMaxTextWidth);
    }
    Size LabelSize(const QString& shown) const {
        return {metrics_.horizontalAdvance(shown) + 4, metrics_.height()};
    }
    Size TagSize(const QString& shown) const {
        return {metrics_.horizontalAdvance(shown) + 10, metrics_.height() + 2};
    }

private:
    QFontMetrics metrics_;
};

void PaintCaptions(QPainter& p, const std::vector<Caption>& captions, bool withText) {
    if (captions.empty())
        return;
    p.setFont(TextSizes::Font());
    for (const Caption& c : captions) {
        switch (c.look) {
        case Caption::Look::Label:
            if (!withText)
                continue;
            p.fillRect(c.rect, kLabelBack);
            p.setPen(kLabelInk);
            break;
        case Caption::Look::Tag:
        case Caption::Look::ProblemTag: {
            const bool problem = c.look == Caption::Look::ProblemTag;
            p.setPen(QPen(problem ? kProblemColour : kLabelInk, 0));
            p.setBrush(problem ? kProblemFill : kTagFill);
            p.drawRoundedRect(QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            p.setPen(problem ? kProblemColour : kLabelInk);
            break;
        }
        }
        if (withText)
            p.drawText(c.rect, Qt::AlignCenter, c.text);
    }
}

} // namespace

void PaintConnector(QPainter& p, const ConnectorPath& path) {
    const bool thin = BelowCanvasPixel(p);
    for (const Segment& s : path.Segments())
        PaintSegment(p, s, thin);
    if (thin)
        p.setPen(QPen(Qt::black, 0));
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

void PaintConnectors(QPainter& p, const ScriptDocument& doc, const QRect& exposed,
                     const ConnectorOptions& options) {
    const ScriptTables& tables = doc.Tables();
    const Rect area{exposed.left(), exposed.top(), exposed.width(), exposed.height()};
    auto boxRect = [&](std::int16_t module, Rect& out) {
        const ModuleRecord& m = tables.Module(module);
        if (!doc.HasBox(m.BoxIndex) || doc.ModuleOfBox(m.BoxIndex) != module)
            return false;
        const QPoint at = options.boxPosition ? options.boxPosition(m.BoxIndex)
                                              : QPoint(m.PositionX, m.PositionY);
        out = {at.x(), at.y(), kBoxWidth, doc.BoxHeight(m.BoxIndex)};
        return true;
    };
    const bool readable =
        !BelowCanvasPixel(p) || std::abs(p.worldTransform().m11()) >= kSmallestReadableScale;
    const bool labels = options.labels && readable;
    // How far a label may stand from its connector's lines, or a stub's label and tag from the
    // stub's column: connectors this near the exposed area are worked out in full.
    const int reachX = kMaxTextWidth + 20, reachY = kLongBoxHeight + 30;
    const TextSizes sizes;
    std::vector<Caption> captions;
    std::unordered_map<std::int16_t, int> stubsOf; // stubs so far of each module

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const std::vector<PathGroup> groups = GroupPaths(ScriptPaths(tables, doc.Script()));
    for (const PathGroup& g : groups) {
        Rect from;
        if (!boxRect(g.From, from))
            continue;
        const bool hasLabel = labels && !g.Triggers.empty();
        if (g.kind == PathGroup::Kind::Module) {
            Rect to;
            if (!boxRect(g.To, to))
                continue;
            const ConnectorPath path = RouteConnector(from, to);
            const Rect bounds = path.Bounds();
            if (!Intersects(hasLabel ? Grown(bounds, reachX, reachY) : bounds, area))
                continue;
            Rect label;
            QString text;
            if (hasLabel) {
                text = sizes.Fit(ToQt(g.Triggers));
                label = PlaceLabel(path, sizes.LabelSize(text), from, to);
            }
            if (Intersects(bounds, area))
                PaintConnector(p, path);
            if (hasLabel && Intersects(label, area))
                captions.push_back({QtRect(label), text, Caption::Look::Label});
            continue;
        }
        // A destination that names no module: a stub below the box with a tag.
        const int index = stubsOf[g.From]++;
        const Rect reach{from.Left + from.Width - kStubInset, from.Top + from.Height, 2 * reachX,
                         kStubDrop + (index + 2) * reachY};
        if (!Intersects(reach, area))
            continue;
        const QString tagText = sizes.Fit(ToQt(g.Destination));
        const QString labelText = hasLabel ? sizes.Fit(ToQt(g.Triggers)) : QString();
        const Stub stub = PlaceStub(from, index, hasLabel ? sizes.LabelSize(labelText) : Size{},
                                    sizes.TagSize(tagText));
        if (!Intersects(stub.Bounds(), area))
            continue;
        const bool problem = g.kind == PathGroup::Kind::Unknown;
        const bool thin = BelowCanvasPixel(p);
        PaintSegment(p, {stub.Line[0], stub.Line[1]}, thin);
        PaintSegment(p, {stub.Line[1], stub.Line[2]}, thin);
        captions.push_back(
            {QtRect(stub.Tag), tagText, problem ? Caption::Look::ProblemTag : Caption::Look::Tag});
        if (hasLabel)
            captions.push_back({QtRect(stub.Label), labelText, Caption::Look::Label});
    }
    PaintCaptions(p, captions, readable);
    p.restore();
}

} // namespace ry
