#include "canvas/canvas_scene.h"

#include "base/designer.h"
#include "canvas/box_item.h"
#include "canvas/connector_painter.h"
#include "canvas/script_document.h"

#include <QPainter>
#include <QUndoStack>

namespace ry {

CanvasScene::CanvasScene(ScriptDocument& document, const QSize& canvasSize, QObject* parent)
    : QGraphicsScene(parent), document_(document) {
    setSceneRect(0, 0, canvasSize.width(), canvasSize.height());
    setItemIndexMethod(BspTreeIndex);
    connect(&document, &ScriptDocument::boxAdded, this, &CanvasScene::AddBox);
    connect(&document, &ScriptDocument::boxRemoved, this, &CanvasScene::RemoveBox);
    connect(&document, &ScriptDocument::boxChanged, this, &CanvasScene::RefreshBox);
    connect(&document, &ScriptDocument::connectorsChanged, this, [this] {
        update();
        FollowStartModule();
    });
    connect(&document.History(), &QUndoStack::indexChanged, this, &CanvasScene::FollowStartModule);
    connect(&document.designer(), &Designer::pathLabelsChanged, this, [this] { update(); });
    for (int box : document.Boxes())
        AddBox(box);
}

bool CanvasScene::LabelsShown() const {
    return document_.designer().PathLabels();
}

void CanvasScene::BoxMoved() {
    // The whole canvas: a connector's lines and label may run far from both its boxes. Only
    // the part a view shows is painted again.
    update();
}

void CanvasScene::FollowStartModule() {
    const ScriptTables& tables = document_.Tables();
    const std::string& start = document_.Record().StartModule;
    int box = 0;
    ForEachModule(tables, document_.Script(), [&](std::int16_t m, const ModuleRecord& rec) {
        if (box == 0 && rec.Title == start && document_.HasBox(rec.BoxIndex) &&
            document_.ModuleOfBox(rec.BoxIndex) == m)
            box = rec.BoxIndex;
    });
    if (box == startBox_)
        return;
    if (BoxItem* old = Item(startBox_))
        old->SetStartMark(false);
    startBox_ = box;
    if (BoxItem* item = Item(box))
        item->SetStartMark(true);
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
    // Only a box bearing the start module's title can take the mark.
    const std::int16_t module = document_.ModuleOfBox(box);
    if (module >= 1 && document_.Tables().Module(module).Title == document_.Record().StartModule)
        FollowStartModule();
}

void CanvasScene::RemoveBox(int box) {
    auto it = items_.find(box);
    if (it == items_.end())
        return;
    delete it->second;
    items_.erase(it);
    update();
    if (box == startBox_) {
        startBox_ = 0;
        FollowStartModule();
    }
}

void CanvasScene::RefreshBox(int box) {
    if (BoxItem* item = Item(box))
        item->Refresh();
}

void CanvasScene::drawBackground(QPainter* painter, const QRectF& rect) {
    const QRect exposed = rect.toAlignedRect();
    painter->fillRect(exposed, Qt::white);
    ConnectorOptions options;
    options.labels = LabelsShown();
    options.boxPosition = [this](int box) {
        BoxItem* item = Item(box);
        return item ? item->pos().toPoint() : QPoint();
    };
    PaintConnectors(*painter, document_, exposed, options);
}

} // namespace ry
