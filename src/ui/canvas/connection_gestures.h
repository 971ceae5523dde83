#pragma once

// Connecting boxes with the mouse, and connectors as things the pointer can find.
//
// A box under the pointer, and every selected box, shows an out-handle beside the middle of
// its right edge (not a module whose type has no triggers, such as Hangup the Call). Dragging
// from the handle draws a line to the pointer; letting go over a box offers the triggers of
// the source module's type, and the one chosen is added to the source's paths as one line
// ("on {1} goto [Menu]") by the same document operation as the box menu's path commands, so
// it is one step of the history. A timeout asks for its seconds first, a result value for the
// value. Letting go elsewhere, or Escape, gives the connection up. While the line is drawn,
// the box under the pointer wears a frame as the drop target.
//
// A connector or stub under the pointer is drawn highlighted and shows its path lines as a
// tooltip; a double click on it opens the source module's dialog on its Paths tab with the
// first of those lines selected.
//
// A click on a connector or stub selects it (the boxes are deselected); a click anywhere else
// drops that selection. The selected one is drawn in the selection colour with its arrow head
// (a stub: its tag) filled as a grip. Delete takes its paths out of the source module, and
// dragging its grip onto another box leads its paths there; each is one step of the history.

#include <QObject>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QGraphicsLineItem;
class QGraphicsPathItem;
class QGraphicsSceneHelpEvent;
class QGraphicsSceneMouseEvent;
class QMenu;

namespace ry {

class CanvasScene;
class Designer;
class DocumentWindow;
class ScriptDocument;

// A connector or stub found under the pointer: the paths of one module that end at the same
// place.
struct ConnectorHit {
    std::int16_t from = -1;
    std::int16_t to = -1;   // the destination module; -1 for a stub
    int link = 0;           // the first path of the group: which "on {" of the source's text
    QString lines;          // each path line of the group, one per line
    std::vector<int> links; // every path of the group: which "on {" of the source's text
    QPainterPath shape;     // its lines and arrow (or tag), for the highlight
    QPainterPath grip;      // its arrow head (a stub: its tag), dragged to lead it elsewhere
};

class ConnectionGestures : public QObject {
    Q_OBJECT
public:
    explicit ConnectionGestures(DocumentWindow& window);
    ~ConnectionGestures() override;

    // Mouse events of the canvas, offered before anything else; each returns true when it
    // took the event.
    bool Press(QGraphicsSceneMouseEvent* event, bool doubleClick);
    bool Move(QGraphicsSceneMouseEvent* event);
    bool Release(QGraphicsSceneMouseEvent* event);
    // A tooltip asked for: the path lines of the connector under the pointer.
    bool Help(QGraphicsSceneHelpEvent* event);
    // The pointer left the canvas: no box or connector is under it any more.
    void Leave();

    // ---- Handles.
    // The box whose out-handle lies under a canvas point; 0 when none does.
    int HandleAt(const QPointF& point) const;
    // The middle of a box's handle, whether shown or not.
    QPointF HandleCentre(int box) const;
    bool HasHandle(int box) const;
    // Boxes being dragged hide their handles and any highlight until they are dropped.
    void SetBoxDragging(bool dragging);

    // ---- Connecting.
    bool Connecting() const { return connecting_; }
    // The menu of triggers offered after a drop on a box; its actions are named by caption.
    QMenu* TriggerMenu() const { return menu_; }
    // Escape: a connection being drawn or led elsewhere, or the trigger menu, is given up.
    // False when there was none.
    bool Cancel();
    // The box framed as where a connection being drawn or led elsewhere would end; 0 for none.
    int DropTarget() const { return dropTarget_; }

    // ---- Connectors under the pointer.
    std::optional<ConnectorHit> ConnectorAt(const QPointF& point) const;
    // The connector highlighted now.
    const std::optional<ConnectorHit>& Hovered() const { return hovered_; }

    // ---- The selected connector.
    const std::optional<ConnectorHit>& Selected() const { return selected_; }
    // Selects `hit` (the boxes are deselected then), or none.
    void Select(const std::optional<ConnectorHit>& hit);
    // Delete: the selected connector's paths are taken out of its source module. False when
    // none is selected.
    bool DeleteSelected();
    // Whether the selected connector's grip is being dragged to another box.
    bool Retargeting() const { return retargeting_; }

private:
    void UpdateHover(const QPointF& point);
    void ShowHandle(int box, bool shown);
    void RefreshHandle(int box);
    void Highlight(const std::optional<ConnectorHit>& hit);
    // The line from `from` to the pointer at `to`, and the drop target under the pointer.
    void ShowLine(const QPointF& from, const QPointF& to);
    void ShowDropTarget(int box);
    void DrawSelection();
    // Let go over `target` with the selected connector's grip.
    void FinishRetarget(int target);
    // Let go over `target`: the menu of the source's triggers.
    void FinishConnection(int target, const QPoint& screenPoint);
    void AddConnection(std::int16_t from, std::int16_t to, const QString& caption);
    bool HasTriggers(int box) const;
    bool IsModuleOfScript(std::int16_t module) const;

    DocumentWindow& window_;
    Designer& designer_;
    ScriptDocument& document_;
    CanvasScene& scene_;

    int hoveredBox_ = 0;
    bool boxDragging_ = false;
    std::optional<ConnectorHit> hovered_;
    QGraphicsPathItem* highlight_ = nullptr;

    bool connecting_ = false;
    int sourceBox_ = 0;
    QGraphicsLineItem* line_ = nullptr;
    QMenu* menu_ = nullptr;
    int dropTarget_ = 0;
    QGraphicsPathItem* dropFrame_ = nullptr;

    std::optional<ConnectorHit> selected_;
    QGraphicsPathItem* selection_ = nullptr;
    QGraphicsPathItem* grip_ = nullptr;
    bool retargeting_ = false;
};

} // namespace ry
