#include "canvas/canvas_scene.h"

#include "canvas/box_item.h"
#include "canvas/connector_painter.h"
#include "canvas/script_document.h"

#include <QPainter>

namespace ry {

CanvasScene::CanvasScene(ScriptDocument& document, const QSize& canvasSize, QObject* parent)
    : QGraphicsScene(parent), document_(document) {
    setSceneRect(0, 0, canvasSize.width(), canvasSize.height());
    setItemIndexMethod(BspTreeIndex);
    connect(&document, &ScriptDocument::boxAdded, this, &CanvasScene::AddBox);
    connect(&document, &ScriptDocument::boxRemoved, this, &CanvasScene::RemoveBox);
    connect(&document, &ScriptDocument::boxChanged, this, &CanvasScene::RefreshBox);
    connect(&document, &ScriptDocument::connectorsChanged, this, [this] { update(); });
    for (int box : document.Boxes())
        AddBox(box);
}

BoxItem* CanvasScene::Item(int box) const {
    auto it = items_.find(box);
    return it == items_.end() ? nullptr : it->second;
}

int CanvasScene::BoxAt(const QPointF& point) const {
    for (QGraphicsItem* item : items(point, Qt::IntersectsItemShape, Qt::DescendingOrder))
        if (item->type() == BoxItem::Type)
            return static_cast<BoxItem*>(item)->Box();
    return 0;
}

void CanvasScene::AddBox(int box) {
    if (items_.count(box))
        RemoveBox(box);
    auto* item = new BoxItem(document_, box);
    addItem(item);
    items_[box] = item;
}

void CanvasScene::RemoveBox(int box) {
    auto it = items_.find(box);
    if (it == items_.end())
        return;
    delete it->second;
    items_.erase(it);
    update();
}

void CanvasScene::RefreshBox(int box) {
    if (BoxItem* item = Item(box))
        item->Refresh();
}

void CanvasScene::drawBackground(QPainter* painter, const QRectF& rect) {
    const QRect exposed = rect.toAlignedRect();
    painter->fillRect(exposed, Qt::white);
    PaintConnectors(*painter, document_, exposed);
}

} // namespace ry
