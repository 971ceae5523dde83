#include "canvas/canvas_interaction.h"

#include "base/designer.h"
#include "base/input_dialog.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "canvas/box_editor.h"
#include "canvas/box_geometry.h"
#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/connection_gestures.h"
#include "canvas/context_menus.h"
#include "canvas/document_window.h"
#include "canvas/free_spot.h"
#include "canvas/path_commands.h"
#include "canvas/script_document.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGraphicsRectItem>
#include <QGraphicsSceneHelpEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace ry {

CanvasInteraction::CanvasInteraction(DocumentWindow& window)
    : QObject(&window), window_(window), designer_(window.designer()), document_(window.Document()),
      scene_(window.Scene()), view_(window.View()), editor_(new BoxEditor(document_, view_, this)),
      menus_(new ContextMenus(&window)), connections_(new ConnectionGestures(window)) {
    scene_.installEventFilter(this);
    connect(menus_, &ContextMenus::itemChosen, this, &CanvasInteraction::MenuItemChosen);
    // A new tool drops a pending path command and shows its own pointer.
    connect(&designer_, &Designer::currentToolChanged, this,
            [this] { SetMousePointerForDoc(ToolPointer()); });
    connect(&document_, &ScriptDocument::boxRemoved, this, [this](int box) {
        if (drag_.active && drag_.box == box)
            CancelDrag();
        // A path command ends with the module it was to add its path to: the record may be
        // handed to a new module next.
        if (pending_ && !IsModuleOfScript(pathSource_))
            SetMousePointerForDoc(ToolPointer());
    });
    SetMousePointerForDoc(ToolPointer());
}

CanvasInteraction::~CanvasInteraction() = default;

// ---- Pointer and path commands.

int CanvasInteraction::ToolPointer() const {
    return designer_.IsArrowTool() ? kPointerArrow : kPointerCross;
}

void CanvasInteraction::SetMousePointerForDoc(int pointer, int command) {
    if (pointer == kPointerPathCommand) {
        if (command < kFirstPathCommand || command > kLastPathCommand)
            return;
        pending_ = command;
        pointer_ = pointer;
        view_.viewport()->setCursor(PathCommandCursor(command));
        return;
    }
    if (pointer == pointer_)
        return;
    pending_ = 0;
    pointer_ = pointer;
    view_.viewport()->setCursor(pointer == kPointerCross ? Qt::CrossCursor : Qt::ArrowCursor);
}

bool CanvasInteraction::FinishAnyPathCommands(int box, Qt::MouseButton button) {
    if (box < 1) {
        SetMousePointerForDoc(ToolPointer());
        return false;
    }
    if (pending_ < kFirstPathCommand || button != Qt::LeftButton)
        return false;
    const int command = pending_;
    const std::int16_t source = pathSource_;
    const std::int16_t destination = document_.ModuleOfBox(box);
    const QString trigger = command == kPathCommandTimeout
                                ? TimeoutTrigger(AskTimeoutSeconds(designer_, &window_))
                                : PathCommandTrigger(command);
    // The module the menu was opened on may have been deleted while the command waited.
    if (destination >= 1 && IsModuleOfScript(source))
        document_.AddPathLine(source,
                              PathCommandLine(trigger, ToQt(document_.Module(destination).Title)));
    SetMousePointerForDoc(ToolPointer());
    return true;
}

bool CanvasInteraction::IsModuleOfScript(std::int16_t module) const {
    bool found = false;
    ForEachModule(
        document_.Tables(), document_.Script(),
        [&](std::int16_t index, const ModuleRecord&) { found = found || index == module; });
    return found;
}

// ---- Mouse events of the canvas.

bool CanvasInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &scene_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
    case QEvent::GraphicsSceneMouseDoubleClick: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (!pending_ && !drag_.active && !band_.active &&
            connections_->Press(mouse, event->type() == QEvent::GraphicsSceneMouseDoubleClick)) {
            editor_->Commit();
        } else {
            Press(mouse);
        }
        event->accept();
        return true;
    }
    case QEvent::GraphicsSceneMouseMove: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (!connections_->Move(mouse))
            Move(mouse);
        event->accept();
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (!connections_->Release(mouse))
            Release(mouse);
        event->accept();
        return true;
    }
    case QEvent::GraphicsSceneHelp:
        return connections_->Help(static_cast<QGraphicsSceneHelpEvent*>(event));
    case QEvent::GraphicsSceneLeave:
        connections_->Leave();
        return QObject::eventFilter(watched, event);
    default:
        return QObject::eventFilter(watched, event);
    }
}

void CanvasInteraction::Press(QGraphicsSceneMouseEvent* event) {
    // A press anywhere on the canvas ends an edit in a box field, as the focus moving to the
    // canvas would.
    editor_->Commit();
    if (drag_.active || band_.active)
        return; // a second button during a drag or a band
    iconPressBox_ = 0;
    const int box = scene_.BoxAt(event->scenePos());
    if (box >= 1)
        PressOnBox(event, box);
    else
        PressOnCanvas(event);
}

void CanvasInteraction::PressOnCanvas(QGraphicsSceneMouseEvent* event) {
    FinishAnyPathCommands(0, event->button());
    ActivateWindow();
    if (event->button() == Qt::RightButton) {
        menus_->ShowScriptMenu(event->screenPos());
        return;
    }
    const QPointF at = event->scenePos();
    // Beyond the canvas's edge (a window wider than the canvas) is not the canvas.
    if (event->button() != Qt::LeftButton || !scene_.sceneRect().contains(at))
        return;
    const QPoint point(qRound(at.x()), qRound(at.y()));
    if (designer_.IsArrowTool()) {
        // A click on the empty canvas clears the selection; a band then selects afresh.
        document_.DeselectAllBoxes();
        StartRubberBand(point);
        return;
    }
    document_.PlaceModule(point);
    SetMousePointerForDoc(kPointerCross);
}

void CanvasInteraction::PressOnBox(QGraphicsSceneMouseEvent* event, int box) {
    BoxItem* item = scene_.Item(box);
    const BoxItem::Part part =
        item ? item->PartAt(item->mapFromScene(event->scenePos())) : BoxItem::Part::Frame;
    ActivateWindow();
    if (FinishAnyPathCommands(box, event->button()))
        return;

    if (part == BoxItem::Part::Text && event->button() != Qt::LeftButton) {
        document_.SelectOnlyBox(box);
        if (event->button() == Qt::RightButton)
            ShowModuleMenu(event->screenPos());
        return;
    }
    // A press on a selected box keeps the selection, so that all of it can be dragged; the
    // icon always makes its box the only selected one.
    if (part == BoxItem::Part::Icon || !document_.IsSelected(box))
        document_.SelectOnlyBox(box);
    else
        document_.SetCurrentBox(box); // the box menu's commands act on the box pressed

    if (event->button() == Qt::LeftButton) {
        if (part == BoxItem::Part::Icon)
            iconPressBox_ = box; // the click opens the properties when released here
        else
            StartDrag(box, part, event->scenePos());
    } else if (event->button() == Qt::RightButton) {
        // Anywhere on the box: its frame, title, icon or text.
        ShowModuleMenu(event->screenPos());
    }
}

void CanvasInteraction::ShowModuleMenu(const QPoint& screenPos) {
    const std::int16_t module = document_.ModuleOfBox(document_.CurrentBox());
    menus_->FollowModuleType(module >= 1 ? document_.Module(module).Type : std::string());
    menus_->ShowModuleMenu(screenPos);
}

void CanvasInteraction::Move(QGraphicsSceneMouseEvent* event) {
    const QPointF at = event->scenePos();
    const QPoint point(qRound(at.x()), qRound(at.y()));
    if (band_.active) {
        UpdateRubberBand(point);
        return;
    }
    if (!drag_.active)
        return;
    const QPoint delta = point - drag_.last;
    if (delta.isNull())
        return;
    if (!drag_.moved) {
        // A press on the title or the text stays a click until the pointer passes the drag
        // distance; the boxes then catch up with it.
        if (drag_.clickPart &&
            (point - drag_.press).manhattanLength() < QApplication::startDragDistance())
            return;
        drag_.moved = true;
    }
    // Every selected box follows the pointer, none beyond the canvas's top or left edge.
    for (std::int16_t module : drag_.modules) {
        BoxItem* item = scene_.Item(document_.Module(module).BoxIndex);
        if (!item)
            continue;
        const QPoint to = item->pos().toPoint() + delta;
        item->setPos(std::max(0, to.x()), std::max(0, to.y()));
    }
    drag_.last = point;
}

void CanvasInteraction::Release(QGraphicsSceneMouseEvent* event) {
    // Bands and drags belong to the left button; another one let go ends neither.
    if ((band_.active || drag_.active) && event->button() != Qt::LeftButton)
        return;
    if (band_.active) {
        EndRubberBand();
        return;
    }
    if (drag_.active) {
        // A click on the title or the text, without moving, opens it for editing.
        const std::optional<BoxItem::Part> clicked = drag_.moved ? std::nullopt : drag_.clickPart;
        const int box = drag_.box;
        if (clicked)
            CancelDrag(); // a click moves nothing
        else
            HandleDragDrop(event->scenePos());
        if (clicked == BoxItem::Part::Title) {
            editor_->EditTitle(box);
        } else if (clicked == BoxItem::Part::Text) {
            document_.SelectOnlyBox(box);
            editor_->EditText(box);
        }
        return;
    }
    const int iconBox = iconPressBox_;
    iconPressBox_ = 0;
    if (iconBox >= 1 && event->button() == Qt::LeftButton &&
        scene_.BoxAt(event->scenePos()) == iconBox) {
        BoxItem* item = scene_.Item(iconBox);
        if (item && item->PartAt(item->mapFromScene(event->scenePos())) == BoxItem::Part::Icon)
            window_.DoBoxInfo_Click(iconBox);
    }
}

// ---- Dragging.

void CanvasInteraction::StartDrag(int box, BoxItem::Part part, const QPointF& canvasPoint) {
    BoxItem* item = scene_.Item(box);
    if (!item)
        return;
    drag_.active = true;
    drag_.box = box;
    drag_.grab = canvasPoint - item->pos();
    drag_.last = QPoint(qRound(canvasPoint.x()), qRound(canvasPoint.y()));
    drag_.press = drag_.last;
    drag_.moved = false;
    drag_.clickPart = std::nullopt;
    if (part == BoxItem::Part::Title || part == BoxItem::Part::Text)
        drag_.clickPart = part;
    drag_.modules = document_.SelectedModules();
    connections_->SetBoxDragging(true);
    RaiseDraggedBoxes(true);
}

void CanvasInteraction::RaiseDraggedBoxes(bool raised) {
    // Boxes being dragged pass over the others, and take their place among them again when
    // dropped.
    for (std::int16_t module : drag_.modules)
        if (BoxItem* item = scene_.Item(document_.Module(module).BoxIndex))
            item->setZValue(raised ? kDraggedBoxZ : 0);
}

void CanvasInteraction::CancelDrag() {
    drag_.active = false;
    RaiseDraggedBoxes(false);
    drag_.modules.clear();
    connections_->SetBoxDragging(false);
    // Boxes that followed the pointer go back to where their modules are.
    for (int box : document_.Boxes())
        if (BoxItem* item = scene_.Item(box))
            item->Refresh();
}

void CanvasInteraction::HandleDragDrop(const QPointF& canvasPoint) {
    if (!drag_.active)
        return;
    drag_.active = false;
    connections_->SetBoxDragging(false);
    RaiseDraggedBoxes(false);
    const QSize canvas = designer_.CanvasSize();
    const int maxLeft = canvas.width() - kBoxWidth;
    const int maxTop = canvas.height() - designer_.DefaultDisplayHeight();
    auto keepOnCanvas = [&](QPoint p) {
        return QPoint(std::min(std::max(0, p.x()), maxLeft), std::min(std::max(0, p.y()), maxTop));
    };

    const std::int16_t grabbed = document_.ModuleOfBox(drag_.box);
    std::vector<ScriptDocument::Move> moves;
    for (std::int16_t module : drag_.modules) {
        const ModuleRecord& m = document_.Module(module);
        QPoint to;
        if (module == grabbed) {
            const QPointF topLeft = canvasPoint - drag_.grab;
            to = QPoint(qRound(topLeft.x()), qRound(topLeft.y()));
        } else if (BoxItem* item = scene_.Item(m.BoxIndex)) {
            to = item->pos().toPoint();
        } else {
            continue;
        }
        // The other boxes are kept on the canvas too: one dropped beyond its right or bottom
        // edge could not be reached again.
        to = keepOnCanvas(to);
        if (to != QPoint(m.PositionX, m.PositionY))
            moves.push_back({module, to});
    }
    drag_.modules.clear();
    // A drop where the boxes were is no change.
    if (!moves.empty())
        document_.MoveModules(moves);
    // Boxes whose module did not move return to their place.
    for (int box : document_.Boxes())
        if (BoxItem* item = scene_.Item(box))
            item->Refresh();
}

void CanvasInteraction::EndGestures() {
    if (drag_.active)
        CancelDrag();
    if (band_.active)
        EndRubberBand();
    connections_->Cancel();
}

void CanvasInteraction::Escape() {
    EndGestures();
    connections_->Select(std::nullopt);
    SetMousePointerForDoc(ToolPointer()); // a pending path command ends
    designer_.SetCurrentTool(QLatin1String(kArrowTool));
}

// ---- Rubber band.

void CanvasInteraction::StartRubberBand(const QPoint& canvasPoint) {
    band_.active = true;
    band_.start = band_.end = canvasPoint;
    if (!band_.item) {
        band_.item = new QGraphicsRectItem;
        QPen pen(Qt::black, 0, Qt::DotLine);
        pen.setCosmetic(true);
        band_.item->setPen(pen);
        band_.item->setBrush(Qt::NoBrush);
        band_.item->setZValue(1e9);
        band_.item->setAcceptedMouseButtons(Qt::NoButton);
        scene_.addItem(band_.item);
    }
    band_.item->setRect(QRectF(canvasPoint, canvasPoint));
    band_.item->show();
}

void CanvasInteraction::UpdateRubberBand(const QPoint& canvasPoint) {
    band_.end = canvasPoint;
    const int x0 = std::min(band_.start.x(), band_.end.x());
    const int x1 = std::max(band_.start.x(), band_.end.x());
    const int y0 = std::min(band_.start.y(), band_.end.y());
    const int y1 = std::max(band_.start.y(), band_.end.y());
    if (band_.item)
        band_.item->setRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
    // Only a box's top-left corner counts, and only strictly inside the band.
    ForEachModule(document_.Tables(), document_.Script(), [&](std::int16_t, const ModuleRecord& m) {
        const bool inside =
            x0 < m.PositionX && m.PositionX < x1 && y0 < m.PositionY && m.PositionY < y1;
        if (inside)
            document_.SelectBox(m.BoxIndex);
        else
            document_.DeselectBox(m.BoxIndex);
    });
}

void CanvasInteraction::EndRubberBand() {
    band_.active = false;
    if (band_.item)
        band_.item->hide();
}

// ---- Paste.

QPoint CanvasInteraction::PasteSpot(int width, int height) const {
    QWidget* viewport = view_.viewport();
    const QPoint pointer = viewport->mapFromGlobal(QCursor::pos());
    const QPointF atPointer = view_.mapToScene(pointer);
    QPoint wanted;
    if (viewport->isVisible() && viewport->rect().contains(pointer) &&
        scene_.sceneRect().contains(atPointer))
        wanted = atPointer.toPoint();
    else
        wanted = view_.VisibleCentre() - QPoint(width / 2, height / 2);
    std::vector<Rect> boxes;
    for (int box : document_.Boxes()) {
        const ModuleRecord& m = document_.Tables().Module(document_.ModuleOfBox(box));
        boxes.push_back({m.PositionX, m.PositionY, kBoxWidth, document_.BoxHeight(box)});
    }
    const QSize canvas = designer_.CanvasSize();
    // A little room around the copy, so that it does not stick to a box beside it.
    constexpr int kGap = 10;
    const Point spot = FreeSpot({wanted.x(), wanted.y()}, width, height, boxes, canvas.width(),
                                canvas.height(), kGap);
    return {spot.x, spot.y};
}

// ---- Window and menu commands.

void CanvasInteraction::ActivateWindow() {
    if (designer_.CurrentDocument() == window_.DocumentIndex())
        return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window_.parentWidget()))
        if (QMdiArea* area = frame->mdiArea())
            area->setActiveSubWindow(frame);
    window_.Activated();
}

bool CanvasInteraction::TriggerMainCommand(const char* name) {
    QWidget* top = window_.window();
    if (top == &window_)
        return false;
    QAction* action = top->findChild<QAction*>(QLatin1String(name));
    if (!action)
        return false;
    action->trigger();
    return true;
}

void CanvasInteraction::MenuItemChosen(const QString& key) {
    const int box = document_.CurrentBox();
    pathSource_ = document_.ModuleOfBox(box);

    if (const int command = PathCommandOfKey(key)) {
        if (pathSource_ >= 1)
            SetMousePointerForDoc(kPointerPathCommand, command);
        return;
    }
    if (key == QLatin1String("Properties")) {
        window_.DoBoxInfo_Click(box);
    } else if (key == QLatin1String("StartModule")) {
        // The title as it stands in the box: a title being typed is applied first.
        editor_->Commit();
        if (pathSource_ >= 1)
            document_.SetStartModule(ToQt(document_.Module(pathSource_).Title));
    } else if (key == QLatin1String("HeightShort") || key == QLatin1String("HeightLong")) {
        if (document_.HasBox(box))
            document_.SetBoxHeight(box, key == QLatin1String("HeightShort") ? kShortBoxHeight
                                                                            : kLongBoxHeight);
    } else if (key == QLatin1String("Delete")) {
        // The main window's Delete module, which deletes every selected module.
        if (!TriggerMainCommand("mnuEdit(2)"))
            document_.DeleteSelectedModules();
    } else if (key == QLatin1String("ScriptProperties")) {
        TriggerMainCommand("mnuEdit(4)");
    } else if (key == QLatin1String("ScriptSave")) {
        SaveScript(designer_, window_, 0);
    }
}

} // namespace ry
