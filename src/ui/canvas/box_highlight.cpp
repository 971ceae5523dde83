#include "canvas/box_highlight.h"

#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/script_document.h"

#include <QPainter>
#include <QPainterPath>

namespace ry {

namespace {

// Outside the box's own frame, so that the box's selection look still shows.
constexpr qreal kGap = 3;
constexpr qreal kPen = 4;
// A colour of its own: orange is a selected connector's, green the start mark's, red a
// problem's.
constexpr QColor kColour(140, 60, 210);

} // namespace

BoxHighlight::BoxHighlight(CanvasScene& scene) : scene_(scene) {
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
    setFlag(ItemIsSelectable, false);
    setFlag(ItemIsFocusable, false);
    setZValue(1000);
    setVisible(false);
    scene.addItem(this);
    ScriptDocument& document = scene.Document();
    connect(&document, &ScriptDocument::boxChanged, this, [this](int box) {
        if (box == box_)
            Follow();
    });
    connect(&document, &ScriptDocument::boxRemoved, this, [this](int box) {
        if (box == box_)
            Mark(0);
    });
}

void BoxHighlight::Mark(int box) {
    box_ = scene_.Item(box) ? box : 0;
    Follow();
}

void BoxHighlight::Follow() {
    const BoxItem* item = box_ ? scene_.Item(box_) : nullptr;
    if (!item) {
        box_ = 0;
        setVisible(false);
        return;
    }
    prepareGeometryChange();
    const qreal out = kGap + kPen / 2;
    frame_ = item->sceneBoundingRect().adjusted(-out, -out, out, out);
    setVisible(true);
    update();
}

QColor BoxHighlight::Colour() {
    return kColour;
}

QRectF BoxHighlight::boundingRect() const {
    return frame_.adjusted(-kPen, -kPen, kPen, kPen);
}

void BoxHighlight::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (!box_)
        return;
    painter->setRenderHint(QPainter::Antialiasing, true);
    // The start mark stays in sight: the frame leaves its place, with a pixel to spare.
    if (const BoxItem* item = scene_.Item(box_); item && item->HasStartMark()) {
        const QRectF mark =
            item->mapRectToScene(QRectF(item->StartMarkRect())).adjusted(-1, -1, 1, 1);
        QPainterPath around;
        around.addRect(boundingRect());
        QPainterPath hole;
        hole.addRect(mark);
        painter->setClipPath(around.subtracted(hole));
    }
    painter->setPen(QPen(kColour, kPen));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(frame_, 4, 4);
}

} // namespace ry
