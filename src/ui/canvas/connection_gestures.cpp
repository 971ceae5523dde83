#include "canvas/connection_gestures.h"

#include "base/designer.h"
#include "base/input_dialog.h"
#include "base/module_dialog_host.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/connector_hits.h"
#include "canvas/document_window.h"
#include "canvas/labels.h"
#include "canvas/path_commands.h"
#include "canvas/script_document.h"
#include "canvas/stubs.h"
#include "paths/destinations.h"
#include "paths/path_line.h"
#include "paths/path_text.h"
#include "script/text.h"

#include <QAction>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsPathItem>
#include <QGraphicsSceneHelpEvent>
#include <QGraphicsSceneMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainterPath>
#include <QPen>
#include <QToolTip>

#include <unordered_map>

namespace ry {

namespace {

const QColor kHandleFill(40, 120, 220);
const QColor kHighlight(40, 120, 220, 170);
const QColor kSelected(230, 110, 0);
const QColor kDropFrame(40, 160, 70);
constexpr qreal kHandleRadius = 6;
// How far from a connector's line the pointer may be and still find it.
constexpr int kConnectorReach = 3;
// The caption of the Evaluate and Time Switch trigger whose word the user types.
constexpr std::string_view kResultCaption = "Insert Result Here";

// The out-handle: a small disc beside a box's right edge, a child of the box's item so that it
// follows the box and goes with it.
class HandleItem : public QGraphicsEllipseItem {
public:
    explicit HandleItem(QGraphicsItem* box) : QGraphicsEllipseItem(box) {
        setRect(-kHandleRadius, -kHandleRadius, 2 * kHandleRadius, 2 * kHandleRadius);
        setPen(QPen(Qt::white, 1.5));
        setBrush(kHandleFill);
        setAcceptedMouseButtons(Qt::NoButton);
        setToolTip(QStringLiteral("Drag to a module to add a path"));
    }
    enum { Type = UserType + 7 };
    int type() const override { return Type; }
};

HandleItem* HandleOf(BoxItem* item) {
    if (!item)
        return nullptr;
    for (QGraphicsItem* child : item->childItems())
        if (child->type() == HandleItem::Type)
            return static_cast<HandleItem*>(child);
    return nullptr;
}

QPainterPath ArrowGrip(const ConnectorPath& path) {
    QPainterPath grip;
    if (path.HasArrow()) {
        const auto& c = path.Arrow().corners;
        grip.moveTo(c[0].x, c[0].y);
        grip.lineTo(c[1].x, c[1].y);
        grip.lineTo(c[2].x, c[2].y);
        grip.closeSubpath();
    }
    return grip;
}

QPainterPath ConnectorShape(const ConnectorPath& path) {
    QPainterPath shape;
    for (const Segment& s : path.Segments()) {
        shape.moveTo(s.from.x + 0.5, s.from.y + 0.5);
        shape.lineTo(s.to.x + 0.5, s.to.y + 0.5);
    }
    shape.addPath(ArrowGrip(path));
    return shape;
}

// A stub's tag; empty when it has none.
QPainterPath TagGrip(const Stub& stub) {
    QPainterPath grip;
    if (stub.Tag.Width > 0 && stub.Tag.Height > 0)
        grip.addRoundedRect(QRectF(stub.Tag.Left, stub.Tag.Top, stub.Tag.Width, stub.Tag.Height), 3,
                            3);
    return grip;
}

QPainterPath StubShape(const Stub& stub) {
    QPainterPath shape;
    shape.moveTo(stub.Line[0].x + 0.5, stub.Line[0].y + 0.5);
    for (std::size_t i = 1; i < stub.Line.size(); ++i)
        shape.lineTo(stub.Line[i].x + 0.5, stub.Line[i].y + 0.5);
    shape.addPath(TagGrip(stub));
    return shape;
}

} // namespace

ConnectionGestures::ConnectionGestures(DocumentWindow& window)
    : QObject(&window), window_(window), designer_(window.designer()), document_(window.Document()),
      scene_(window.Scene()) {
    // Handles and connectors answer the pointer passing over them, no button pressed.
    window.View().viewport()->setMouseTracking(true);
    connect(&document_, &ScriptDocument::boxChanged, this, [this](int box) {
        RefreshHandle(box);
        Highlight(std::nullopt); // the connector may have moved
    });
    connect(&document_, &ScriptDocument::boxAdded, this, &ConnectionGestures::RefreshHandle);
    connect(&document_, &ScriptDocument::boxRemoved, this, [this](int box) {
        // The handle went with the box's item.
        if (hoveredBox_ == box)
            hoveredBox_ = 0;
        if (connecting_ && sourceBox_ == box)
            Cancel();
        Highlight(std::nullopt);
    });
    connect(&document_, &ScriptDocument::connectorsChanged, this, [this] {
        Highlight(std::nullopt);
        Select(std::nullopt); // its paths changed, or went
    });
    // A box moved or made another height: the selected connector's lines went elsewhere.
    connect(&document_, &ScriptDocument::boxChanged, this, [this] { Select(std::nullopt); });
    connect(&document_, &ScriptDocument::boxRemoved, this, [this] { Select(std::nullopt); });
}

ConnectionGestures::~ConnectionGestures() = default;

// ---- Mouse events.

bool ConnectionGestures::Press(QGraphicsSceneMouseEvent* event, bool doubleClick) {
    if (event->button() != Qt::LeftButton) {
        Select(std::nullopt); // the menus act on boxes and the script, never on a connector
        return false;
    }
    const QPointF at = event->scenePos();
    if (const int box = HandleAt(at)) {
        connecting_ = true;
        sourceBox_ = box;
        Highlight(std::nullopt);
        Select(std::nullopt);
        ShowLine(HandleCentre(box), at);
        return true;
    }
    const bool onBox = scene_.BoxAt(at) >= 1;
    const std::optional<ConnectorHit> hit = onBox ? std::nullopt : ConnectorAt(at);
    if (doubleClick && hit) {
        const int box = document_.Tables().Module(hit->from).BoxIndex;
        designer_.Dialogs().ShowPathLine(window_, hit->from, box, hit->link);
        return true;
    }
    // The grip of the selected connector lies over its target box's edge: it comes first.
    if (selected_ && !selected_->grip.isEmpty() &&
        selected_->grip.boundingRect()
            .adjusted(-kConnectorReach, -kConnectorReach, kConnectorReach, kConnectorReach)
            .contains(at)) {
        retargeting_ = true;
        Highlight(std::nullopt);
        ShowLine(selected_->grip.boundingRect().center(), at);
        return true;
    }
    if (hit) {
        Select(hit);
        return true;
    }
    Select(std::nullopt);
    return false;
}

void ConnectionGestures::ShowLine(const QPointF& from, const QPointF& to) {
    if (!line_) {
        line_ = new QGraphicsLineItem;
        QPen pen(kHandleFill, 2, Qt::DashLine);
        pen.setCosmetic(true);
        line_->setPen(pen);
        line_->setZValue(1e9);
        line_->setAcceptedMouseButtons(Qt::NoButton);
        scene_.addItem(line_);
    }
    line_->setLine(QLineF(from, to));
    line_->show();
    ShowDropTarget(scene_.BoxAt(to));
}

bool ConnectionGestures::Move(QGraphicsSceneMouseEvent* event) {
    if (connecting_ || retargeting_) {
        if (line_)
            ShowLine(line_->line().p1(), event->scenePos());
        return true;
    }
    if (event->buttons() == Qt::NoButton && !boxDragging_)
        UpdateHover(event->scenePos());
    return false;
}

bool ConnectionGestures::Release(QGraphicsSceneMouseEvent* event) {
    if (!connecting_ && !retargeting_)
        return false;
    if (event->button() == Qt::LeftButton) {
        const bool retarget = retargeting_;
        connecting_ = retargeting_ = false;
        if (line_)
            line_->hide();
        ShowDropTarget(0);
        // Let go over no box: nothing is connected.
        const int target = scene_.BoxAt(event->scenePos());
        if (target >= 1 && retarget)
            FinishRetarget(target);
        else if (target >= 1)
            FinishConnection(target, event->screenPos());
    }
    return true;
}

bool ConnectionGestures::Help(QGraphicsSceneHelpEvent* event) {
    const QPointF at = event->scenePos();
    if (scene_.BoxAt(at) >= 1 || HandleAt(at) >= 1)
        return false;
    const std::optional<ConnectorHit> hit = ConnectorAt(at);
    if (!hit)
        return false;
    QToolTip::showText(event->screenPos(), hit->lines, window_.View().viewport());
    event->accept();
    return true;
}

void ConnectionGestures::Leave() {
    if (connecting_ || retargeting_)
        return;
    const int old = hoveredBox_;
    hoveredBox_ = 0;
    RefreshHandle(old);
    Highlight(std::nullopt);
}

void ConnectionGestures::UpdateHover(const QPointF& point) {
    int box = HandleAt(point);
    if (box < 1)
        box = scene_.BoxAt(point);
    if (box != hoveredBox_) {
        const int old = hoveredBox_;
        hoveredBox_ = box;
        RefreshHandle(old);
        RefreshHandle(box);
    }
    std::optional<ConnectorHit> hit;
    if (box < 1)
        hit = ConnectorAt(point);
    const bool same = hit.has_value() == hovered_.has_value() &&
                      (!hit || (hit->from == hovered_->from && hit->link == hovered_->link));
    if (!same)
        Highlight(hit);
}

// ---- Handles.

bool ConnectionGestures::HasTriggers(int box) const {
    const std::int16_t module = document_.ModuleOfBox(box);
    return module >= 1 && !TriggerCaptions(document_.Tables().Module(module).Type).empty();
}

QPointF ConnectionGestures::HandleCentre(int box) const {
    const std::int16_t module = document_.ModuleOfBox(box);
    if (module < 1)
        return {};
    const BoxItem* item = scene_.Item(box);
    const QPointF at = item ? item->pos()
                            : QPointF(document_.Tables().Module(module).PositionX,
                                      document_.Tables().Module(module).PositionY);
    return at + QPointF(kBoxWidth + kHandleRadius, document_.BoxHeight(box) / 2.0);
}

void ConnectionGestures::ShowHandle(int box, bool shown) {
    BoxItem* item = scene_.Item(box);
    HandleItem* handle = HandleOf(item);
    if (!shown) {
        delete handle;
        return;
    }
    if (!item)
        return;
    if (!handle)
        handle = new HandleItem(item);
    handle->setPos(kBoxWidth + kHandleRadius, document_.BoxHeight(box) / 2.0);
}

void ConnectionGestures::RefreshHandle(int box) {
    if (box < 1 || !document_.HasBox(box))
        return;
    const bool shown =
        !boxDragging_ && (box == hoveredBox_ || document_.IsSelected(box)) && HasTriggers(box);
    ShowHandle(box, shown);
}

bool ConnectionGestures::HasHandle(int box) const {
    return HandleOf(scene_.Item(box)) != nullptr;
}

int ConnectionGestures::HandleAt(const QPointF& point) const {
    for (QGraphicsItem* item : scene_.items(point, Qt::IntersectsItemShape, Qt::DescendingOrder))
        if (item->type() == HandleItem::Type && item->parentItem() &&
            item->parentItem()->type() == BoxItem::Type)
            return static_cast<BoxItem*>(item->parentItem())->Box();
    return 0;
}

void ConnectionGestures::SetBoxDragging(bool dragging) {
    boxDragging_ = dragging;
    if (dragging)
        Highlight(std::nullopt);
    for (int box : document_.Boxes())
        RefreshHandle(box);
}

// ---- Connecting.

bool ConnectionGestures::Cancel() {
    if (connecting_ || retargeting_) {
        connecting_ = retargeting_ = false;
        if (line_)
            line_->hide();
        ShowDropTarget(0);
        return true;
    }
    if (menu_ && menu_->isVisible()) {
        menu_->hide();
        return true;
    }
    return false;
}

void ConnectionGestures::FinishConnection(int target, const QPoint& screenPoint) {
    const std::int16_t from = document_.ModuleOfBox(sourceBox_);
    const std::int16_t to = document_.ModuleOfBox(target);
    if (from < 1 || to < 1)
        return;
    delete menu_;
    menu_ = new QMenu(&window_);
    menu_->setObjectName(QStringLiteral("mnuConnect"));
    for (std::string_view caption : TriggerCaptions(document_.Tables().Module(from).Type)) {
        const QString text = ToQt(caption);
        QAction* action =
            menu_->addAction(text == ToQt(kResultCaption)  ? QStringLiteral("Result...")
                             : IEquals(caption, "timeout") ? QStringLiteral("Timeout...")
                                                           : text);
        action->setObjectName(text);
        connect(action, &QAction::triggered, this,
                [this, from, to, text] { AddConnection(from, to, text); });
    }
    menu_->popup(screenPoint);
}

void ConnectionGestures::AddConnection(std::int16_t from, std::int16_t to, const QString& caption) {
    // An undo while the menu was open may have taken either module away.
    if (!IsModuleOfScript(from) || !IsModuleOfScript(to))
        return;
    QString trigger;
    if (caption.compare(QLatin1String("timeout"), Qt::CaseInsensitive) == 0) {
        trigger = TimeoutTrigger(AskTimeoutSeconds(designer_, &window_));
    } else if (caption == ToQt(kResultCaption)) {
        InputDialog dialog(&window_);
        dialog.Description().setText(QStringLiteral("Please enter the result :"));
        designer_.Prompts().Exec(dialog);
        // The word goes between braces on one line: braces, brackets and line breaks cannot.
        for (const QChar c : dialog.Value())
            if (!QStringLiteral("{}[]\r\n").contains(c))
                trigger += c;
        trigger = trigger.trimmed();
        if (trigger.isEmpty())
            return;
    } else {
        trigger = ToQt(cmbTrig2Act(FromQt(caption)));
    }
    document_.AddPathLine(from, PathCommandLine(trigger, ToQt(document_.Module(to).Title)));
}

bool ConnectionGestures::IsModuleOfScript(std::int16_t module) const {
    // The document's modules are those its boxes show.
    if (!ScriptTables::IsModuleIndex(module))
        return false;
    const int box = document_.Tables().Module(module).BoxIndex;
    return document_.HasBox(box) && document_.ModuleOfBox(box) == module;
}

// ---- Connectors under the pointer.

std::optional<ConnectorHit> ConnectionGestures::ConnectorAt(const QPointF& point) const {
    const ScriptTables& tables = document_.Tables();
    const Point p{qRound(point.x()), qRound(point.y())};
    const std::vector<ScriptPath> paths = ScriptPaths(tables, document_.Script());
    QPainterPath shape;
    QPainterPath grip;
    // The connectors as the painter draws them, in the style and with the labels it shows.
    for (const LaidConnector& g : scene_.Connectors().Items()) {
        bool touched = false;
        if (!g.isStub) {
            touched = TouchesConnector(g.path, p, kConnectorReach);
            if (!touched && g.hasLabel) {
                const Rect& r = g.label;
                touched = p.x >= r.Left && p.x < r.Left + r.Width && p.y >= r.Top &&
                          p.y < r.Top + r.Height;
            }
            if (touched) {
                shape = ConnectorShape(g.path);
                grip = ArrowGrip(g.path);
            }
        } else {
            Stub stub = g.stub;
            if (!g.hasLabel)
                stub.Label = {};
            if (!g.hasTag)
                stub.Tag = {};
            touched = TouchesStub(stub, p, kConnectorReach);
            if (touched) {
                shape = StubShape(stub);
                grip = TagGrip(stub);
            }
        }
        if (!touched)
            continue;
        ConnectorHit hit;
        hit.shape = shape;
        hit.grip = grip;
        hit.from = g.from;
        hit.to = g.to;
        hit.link = g.line;
        const std::string& text = tables.Module(g.from).PathText;
        QStringList lines;
        for (const ScriptPath& path : paths) {
            const bool same = path.From == g.from &&
                              (hit.to >= 1 ? path.To == hit.to
                                           : path.To < 1 && path.Destination == g.destination);
            if (!same)
                continue;
            hit.links.push_back(path.Line);
            const QString line = ToQt(PathLineOfLink(text, path.Line));
            if (!line.isEmpty() && !lines.contains(line))
                lines << line;
        }
        hit.lines = lines.join(QLatin1Char('\n'));
        return hit;
    }
    return std::nullopt;
}

void ConnectionGestures::Highlight(const std::optional<ConnectorHit>& hit) {
    hovered_ = hit;
    if (!hit) {
        if (highlight_)
            highlight_->hide();
        return;
    }
    if (!highlight_) {
        highlight_ = new QGraphicsPathItem;
        highlight_->setPen(QPen(kHighlight, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        highlight_->setZValue(-1); // over the connectors, under the boxes
        highlight_->setAcceptedMouseButtons(Qt::NoButton);
        scene_.addItem(highlight_);
    }
    highlight_->setPath(hit->shape);
    highlight_->show();
}

} // namespace ry

namespace ry {

// ---- The drop target.

void ConnectionGestures::ShowDropTarget(int box) {
    if (box == dropTarget_)
        return;
    dropTarget_ = box;
    const BoxItem* item = scene_.Item(box);
    if (!item) {
        dropTarget_ = 0;
        if (dropFrame_)
            dropFrame_->hide();
        return;
    }
    if (!dropFrame_) {
        dropFrame_ = new QGraphicsPathItem;
        QPen pen(kDropFrame, 3);
        pen.setCosmetic(true);
        dropFrame_->setPen(pen);
        dropFrame_->setZValue(1e9 - 1); // over the boxes, under the line being drawn
        dropFrame_->setAcceptedMouseButtons(Qt::NoButton);
        scene_.addItem(dropFrame_);
    }
    QPainterPath frame;
    frame.addRoundedRect(item->sceneBoundingRect().adjusted(-3, -3, 3, 3), 3, 3);
    dropFrame_->setPath(frame);
    dropFrame_->show();
}

// ---- The selected connector.

void ConnectionGestures::Select(const std::optional<ConnectorHit>& hit) {
    if (!hit && !selected_)
        return;
    if (hit) {
        // Boxes and a connector are not selected together: Delete acts on one kind.
        selected_.reset();
        document_.DeselectAllBoxes();
    }
    selected_ = hit;
    DrawSelection();
}

void ConnectionGestures::DrawSelection() {
    if (!selected_) {
        if (selection_)
            selection_->hide();
        return;
    }
    if (!selection_) {
        selection_ = new QGraphicsPathItem;
        QPen pen(kSelected, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setCosmetic(true);
        selection_->setPen(pen);
        selection_->setZValue(-0.5); // over the hover highlight, under the boxes
        selection_->setAcceptedMouseButtons(Qt::NoButton);
        scene_.addItem(selection_);
        grip_ = new QGraphicsPathItem(selection_);
        grip_->setPen(QPen(kSelected, 1));
        grip_->setBrush(kSelected);
        grip_->setAcceptedMouseButtons(Qt::NoButton);
        grip_->setToolTip(QStringLiteral("Drag to another module to lead these paths there"));
    }
    selection_->setPath(selected_->shape);
    grip_->setPath(selected_->grip);
    selection_->show();
}

bool ConnectionGestures::DeleteSelected() {
    if (!selected_)
        return false;
    const ConnectorHit hit = *selected_;
    Select(std::nullopt);
    if (IsModuleOfScript(hit.from))
        document_.RemovePaths(hit.from, hit.links);
    return true;
}

void ConnectionGestures::FinishRetarget(int target) {
    if (!selected_)
        return;
    const ConnectorHit hit = *selected_;
    const std::int16_t to = document_.ModuleOfBox(target);
    // Onto the box it leads to already: nothing changes.
    if (to < 1 || to == hit.to || !IsModuleOfScript(hit.from))
        return;
    document_.RetargetPaths(hit.from, hit.links, ToQt(document_.Module(to).Title));
}

} // namespace ry
