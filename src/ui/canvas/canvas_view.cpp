#include "canvas/canvas_view.h"

#include "canvas/canvas_scene.h"

#include <QScrollBar>

namespace ry {

CanvasView::CanvasView(CanvasScene* scene, QWidget* parent) : QGraphicsView(scene, parent) {
    setObjectName(QStringLiteral("ShowTop"));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHint(QPainter::Antialiasing, false);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setOptimizationFlags(QGraphicsView::DontSavePainterState);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setDragMode(QGraphicsView::NoDrag);
    // No background brush of the view: the scene paints the white canvas and the connectors.
    setBackgroundBrush(Qt::NoBrush);
    setFrameShape(QFrame::NoFrame);
}

void CanvasView::ScrollTo(const QPoint& canvasPoint) {
    horizontalScrollBar()->setValue(canvasPoint.x());
    verticalScrollBar()->setValue(canvasPoint.y());
}

QPoint CanvasView::VisibleCentre() const {
    return mapToScene(viewport()->rect().center()).toPoint();
}

} // namespace ry
