#include "canvas/canvas_scene.h"

#include "base/designer.h"
#include "canvas/box_item.h"
#include "canvas/connector_painter.h"
#include "canvas/script_document.h"
#include "script/text.h"

#include <QPainter>
#include <QUndoStack>

#include <functional>
#include <string_view>

namespace ry {

CanvasScene::CanvasScene(ScriptDocument& document, const QSize& canvasSize, QObject* parent)
    : QGraphicsScene(parent), document_(document) {
    setSceneRect(0, 0, canvasSize.width(), canvasSize.height());
    setItemIndexMethod(BspTreeIndex);
    connect(&document, &ScriptDocument::boxAdded, this, &CanvasScene::AddBox);
    connect(&document, &ScriptDocument::boxRemoved, this, &CanvasScene::RemoveBox);
    connect(&document, &ScriptDocument::boxChanged, this, &CanvasScene::RefreshBox);
    connect(&document, &ScriptDocument::connectorsChanged, this, [this] {
        ConnectorsChanged();
        FollowStartModule();
    });
    connect(&document.History(), &QUndoStack::indexChanged, this, [this] {
        ConnectorsChanged();
        FollowStartModule();
    });
    connect(&document.designer(), &Designer::pathLabelsChanged, this,
            &CanvasScene::ConnectorsChanged);
    connect(&document.designer(), &Designer::routeStyleChanged, this,
            &CanvasScene::ConnectorsChanged);
    // Each box draws its settings line, or not, from its screen cache made afresh.
    connect(&document.designer(), &Designer::boxSettingsChanged, this, [this] {
        for (int box : document_.Boxes())
            if (BoxItem* item = Item(box))
                item->update();
    });
    for (int box : document.Boxes())
        AddBox(box);
}

bool CanvasScene::LabelsShown() const {
    return document_.designer().PathLabels();
}

void CanvasScene::BoxMoved() {
    ConnectorsChanged();
}

void CanvasScene::ConnectorsChanged() {
    connectorsStale_ = true;
    // The whole canvas: a connector's lines and label may run far from both its boxes. Only
    // the part a view shows is painted again.
    update();
}

ConnectorOptions CanvasScene::CurrentConnectorOptions() const {
    ConnectorOptions options;
    options.labels = LabelsShown();
    options.style = document_.designer().ConnectorRouteStyle();
    options.boxPosition = [this](int box) {
        BoxItem* item = Item(box);
        return item ? item->pos().toPoint() : QPoint();
    };
    return options;
}

std::size_t CanvasScene::ConnectorFingerprint() const {
    std::size_t h = LabelsShown() ? 1 : 2;
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(document_.designer().ConnectorRouteStyle()));
    const std::hash<std::string_view> text;
    ForEachModule(
        document_.Tables(), document_.Script(), [&](std::int16_t m, const ModuleRecord& rec) {
            mix(static_cast<std::size_t>(m));
            mix(text(rec.PathText));
            mix(text(rec.Title));
            mix(static_cast<std::size_t>(rec.BoxIndex));
            if (const BoxItem* item = Item(rec.BoxIndex)) {
                const QPoint at = item->pos().toPoint();
                mix(static_cast<std::size_t>(at.x()) * 65599u + static_cast<std::size_t>(at.y()));
                mix(static_cast<std::size_t>(document_.BoxHeight(rec.BoxIndex)));
            }
        });
    return h;
}

const ConnectorLayout& CanvasScene::Connectors() {
    const std::size_t fingerprint = ConnectorFingerprint();
    if (connectorsStale_ || fingerprint != fingerprint_) {
        connectors_.Build(document_, CurrentConnectorOptions());
        connectorsStale_ = false;
        fingerprint_ = fingerprint;
        if (connectors_.LeftOut() != leftOut_) {
            leftOut_ = connectors_.LeftOut();
            emit labelsLeftOutChanged(leftOut_);
        }
    }
    return connectors_;
}

void CanvasScene::FollowStartModule() {
    const ScriptTables& tables = document_.Tables();
    const std::string& start = document_.Record().StartModule;
    int box = 0;
    ForEachModule(tables, document_.Script(), [&](std::int16_t m, const ModuleRecord& rec) {
        // Titles match in any letter case, as the engine finds the start module.
        if (box == 0 && IEquals(rec.Title, start) && document_.HasBox(rec.BoxIndex) &&
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
    ConnectorsChanged();
    // Only a box bearing the start module's title can take the mark.
    const std::int16_t module = document_.ModuleOfBox(box);
    if (module >= 1 &&
        IEquals(document_.Tables().Module(module).Title, document_.Record().StartModule))
        FollowStartModule();
}

void CanvasScene::RemoveBox(int box) {
    auto it = items_.find(box);
    if (it == items_.end())
        return;
    delete it->second;
    items_.erase(it);
    ConnectorsChanged();
    if (box == startBox_) {
        startBox_ = 0;
        FollowStartModule();
    }
}

void CanvasScene::RefreshBox(int box) {
    if (BoxItem* item = Item(box))
        item->Refresh();
    ConnectorsChanged();
}

void CanvasScene::drawBackground(QPainter* painter, const QRectF& rect) {
    const QRect exposed = rect.toAlignedRect();
    painter->fillRect(exposed, Qt::white);
    PaintConnectors(*painter, Connectors(), exposed);
}

} // namespace ry
