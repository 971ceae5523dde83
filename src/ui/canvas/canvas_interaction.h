#pragma once

// What the mouse does on a document's canvas: placing a module with a module tool, selecting
// with a rubber band, selecting and dragging boxes, opening a box's fields and menus, and
// finishing the menu's path commands on the destination box. It also keeps the canvas's mouse
// pointer. Every change to the script goes through the document's operations.

#include "canvas/box_item.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <optional>
#include <vector>

class QGraphicsRectItem;
class QGraphicsSceneMouseEvent;

namespace ry {

class BoxEditor;
class CanvasScene;
class CanvasView;
class ConnectionGestures;
class ContextMenus;
class Designer;
class DocumentWindow;
class ScriptDocument;

class CanvasInteraction : public QObject {
    Q_OBJECT
public:
    explicit CanvasInteraction(DocumentWindow& window);
    ~CanvasInteraction() override;

    BoxEditor& Editor() { return *editor_; }
    ContextMenus& Menus() { return *menus_; }
    // Out-handles, connecting by dragging, and connectors under the pointer.
    ConnectionGestures& Connections() { return *connections_; }

    // ---- Pointer and path commands.
    // kPointerArrow or kPointerCross: that pointer on the canvas, and no pending path command
    // (nothing happens when the canvas shows it already). kPointerPathCommand: `command`
    // (1..15) becomes the pending path command and the canvas shows its cursor.
    void SetMousePointerForDoc(int pointer, int command = 0);
    int Pointer() const { return pointer_; }
    // The pointer that goes with the palette's current tool.
    int ToolPointer() const;
    // 0 = none; 1..15 = waiting for its destination box.
    int PendingCommand() const { return pending_; }
    std::int16_t PathSourceModule() const { return pathSource_; }
    // Called first by every press. On a box (box >= 1) with a pending command and the left
    // button: adds the command's path from the source module to the box's module, ends the
    // command and returns true, so the press does nothing else. On the empty canvas (box 0):
    // drops any pending command. Otherwise returns false.
    bool FinishAnyPathCommands(int box, Qt::MouseButton button);

    // ---- Dragging boxes.
    bool Dragging() const { return drag_.active; }
    // The stacking of boxes being dragged, over every other box (whose stacking is 0).
    static constexpr qreal kDraggedBoxZ = 1;
    // Ends a drag at a canvas point: the grabbed box lands there, kept on the canvas, and
    // every dragged box is moved in the document.
    void HandleDragDrop(const QPointF& canvasPoint);

    // ---- Rubber band.
    bool RubberBandActive() const { return band_.active; }
    // The band's corners as drawn (start and end, in canvas pixels).
    QRect RubberBand() const { return QRect(band_.start, band_.end); }

    // Where a paste puts a group of boxes `width` by `height` (its top-left corner): at the
    // mouse pointer when it is over the canvas, else in the middle of what the canvas shows,
    // moved to the nearest spot where it covers no box.
    QPoint PasteSpot(int width, int height) const;

    // An item of the canvas menus was chosen: acts on the document's current box.
    void MenuItemChosen(const QString& key);

    // Drops a drag (the boxes go back to their modules' places) or a rubber band in progress,
    // before an undo or redo changes the document under them.
    void EndGestures();
    // Escape: a connection being drawn or a pending path command is given up, and the palette
    // returns to the Arrow tool.
    void Escape();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Press(QGraphicsSceneMouseEvent* event);
    void PressOnCanvas(QGraphicsSceneMouseEvent* event);
    void PressOnBox(QGraphicsSceneMouseEvent* event, int box);
    // The box menu for the current box's module, its path commands following the type.
    void ShowModuleMenu(const QPoint& screenPos);
    void Move(QGraphicsSceneMouseEvent* event);
    void Release(QGraphicsSceneMouseEvent* event);
    void StartDrag(int box, BoxItem::Part part, const QPointF& canvasPoint);
    void CancelDrag();
    void RaiseDraggedBoxes(bool raised);
    void StartRubberBand(const QPoint& canvasPoint);
    void UpdateRubberBand(const QPoint& canvasPoint);
    void EndRubberBand();
    void ActivateWindow();
    bool IsModuleOfScript(std::int16_t module) const;
    // A command of the main window by its menu name ("mnuEdit(2)"), if the window has one.
    bool TriggerMainCommand(const char* name);

    DocumentWindow& window_;
    Designer& designer_;
    ScriptDocument& document_;
    CanvasScene& scene_;
    CanvasView& view_;
    BoxEditor* editor_;
    ContextMenus* menus_;
    ConnectionGestures* connections_;

    int pointer_ = 0;
    int pending_ = 0;
    std::int16_t pathSource_ = -1;

    struct Drag {
        bool active = false;
        int box = 0;
        QPointF grab; // where the box was grabbed, in box pixels
        QPoint last;  // the pointer's last canvas position
        QPoint press; // where the button went down
        bool moved = false;
        // A press on the title or the text that ends without passing the drag distance is a
        // click, which opens that part for editing.
        std::optional<BoxItem::Part> clickPart;
        std::vector<std::int16_t> modules; // every selected module, moved together
    } drag_;

    struct Band {
        bool active = false;
        QPoint start;
        QPoint end;
        QGraphicsRectItem* item = nullptr;
    } band_;

    int iconPressBox_ = 0;
};

} // namespace ry
