#include "canvas/change_marks.h"

#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/script_document.h"

#include <QPainter>

namespace ry {

namespace {

constexpr qreal kGap = 3;
constexpr qreal kPen = 3;

QRectF Around(const QRectF& box) {
    const qreal out = kGap + kPen / 2;
    return box.adjusted(-out, -out, out, out);
}

} // namespace

ChangeMarks::ChangeMarks(CanvasScene& scene) : scene_(scene) {
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
    setFlag(ItemIsSelectable, false);
    setFlag(ItemIsFocusable, false);
    setZValue(990); // under the Test Call highlight
    scene.addItem(this);
    // The marks follow the boxes; the canvas repaints what a move exposes, not the marks.
    connect(&scene.Document(), &ScriptDocument::boxChanged, this, [this] { update(); });
    connect(&scene.Document(), &ScriptDocument::boxRemoved, this, [this] { update(); });
}

void ChangeMarks::Show(ChangeMarkSet marks) {
    prepareGeometryChange();
    marks_ = std::move(marks);
    update();
}

QRectF ChangeMarks::boundingRect() const {
    return scene_.sceneRect();
}

void ChangeMarks::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::NoBrush);

    QPen gone(kRemoved, 2, Qt::DashLine);
    gone.setCosmetic(true);
    painter->setPen(gone);
    for (const ChangeMarkSet::GoneLink& l : marks_.removedPaths) {
        painter->drawLine(l.from, l.to);
        // An open arrow head at the destination, so the dashed line reads as a path.
        const QLineF line(l.to, l.from);
        if (line.length() > 12) {
            QLineF wing = line;
            wing.setLength(9);
            for (qreal angle : {-25.0, 25.0}) {
                QLineF side = wing;
                side.setAngle(line.angle() + angle);
                painter->drawLine(side);
            }
        }
    }
    for (const ChangeMarkSet::Ghost& g : marks_.removedBoxes) {
        painter->drawRect(g.rect);
        painter->drawText(
            g.rect.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop,
            painter->fontMetrics().elidedText(g.title, Qt::ElideRight, g.rect.width() - 8));
    }

    // An added path: its connector as laid out now, drawn over in green.
    QPen added(kAdded, kPen);
    added.setCapStyle(Qt::RoundCap);
    painter->setPen(added);
    for (const LaidConnector& c : scene_.Connectors().Items()) {
        if (c.isStub)
            continue;
        for (const ChangeMarkSet::Link& l : marks_.addedPaths)
            if (l.from == c.from && l.to == c.to)
                for (const Segment& s : c.path.Segments())
                    painter->drawLine(QPoint(s.from.x, s.from.y), QPoint(s.to.x, s.to.y));
    }

    auto frame = [&](int box, const QColor& colour) {
        if (const BoxItem* item = scene_.Item(box)) {
            painter->setPen(QPen(colour, kPen));
            painter->drawRoundedRect(Around(item->sceneBoundingRect()), 4, 4);
        }
    };
    for (int box : marks_.addedBoxes)
        frame(box, kAdded);
    for (int box : marks_.changedBoxes)
        frame(box, kChanged);
}

} // namespace ry
