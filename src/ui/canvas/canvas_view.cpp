#include "canvas/canvas_view.h"

#include "canvas/canvas_scene.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

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
    // Scroll values are view pixels: canvas pixels times the zoom.
    const qreal scale = zoom_ / 100.0;
    horizontalScrollBar()->setValue(qRound(canvasPoint.x() * scale));
    verticalScrollBar()->setValue(qRound(canvasPoint.y() * scale));
}

QPoint CanvasView::VisibleCentre() const {
    return mapToScene(viewport()->rect().center()).toPoint();
}

QRectF CanvasView::VisibleArea() const {
    return mapToScene(viewport()->rect()).boundingRect().intersected(sceneRect());
}

const std::vector<int>& CanvasView::ZoomSteps() {
    static const std::vector<int> steps = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400};
    return steps;
}

void CanvasView::SetZoom(int percent, std::optional<QPoint> anchor) {
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == zoom_)
        return;
    const QPoint at = anchor.value_or(viewport()->rect().center());
    const QPointF canvasPoint = mapToScene(at);
    zoom_ = percent;
    const qreal scale = zoom_ / 100.0;
    setTransform(QTransform::fromScale(scale, scale));
    // The same canvas point under the anchor as before.
    horizontalScrollBar()->setValue(qRound(canvasPoint.x() * scale - at.x()));
    verticalScrollBar()->setValue(qRound(canvasPoint.y() * scale - at.y()));
    emit zoomChanged(zoom_);
    emit visibleAreaChanged();
}

void CanvasView::ZoomIn(std::optional<QPoint> anchor) {
    const auto& steps = ZoomSteps();
    auto next = std::upper_bound(steps.begin(), steps.end(), zoom_);
    if (next != steps.end())
        SetZoom(*next, anchor);
}

void CanvasView::ZoomOut(std::optional<QPoint> anchor) {
    const auto& steps = ZoomSteps();
    auto below = std::lower_bound(steps.begin(), steps.end(), zoom_);
    if (below != steps.begin())
        SetZoom(*std::prev(below), anchor);
}

void CanvasView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    // One step per notch of a wheel; touch pads send smaller deltas that add up.
    wheelRemainder_ += event->angleDelta().y();
    const QPoint anchor = event->position().toPoint();
    while (wheelRemainder_ >= QWheelEvent::DefaultDeltasPerStep) {
        wheelRemainder_ -= QWheelEvent::DefaultDeltasPerStep;
        ZoomIn(anchor);
    }
    while (wheelRemainder_ <= -QWheelEvent::DefaultDeltasPerStep) {
        wheelRemainder_ += QWheelEvent::DefaultDeltasPerStep;
        ZoomOut(anchor);
    }
    event->accept();
}

void CanvasView::scrollContentsBy(int dx, int dy) {
    QGraphicsView::scrollContentsBy(dx, dy);
    emit visibleAreaChanged();
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    emit visibleAreaChanged();
}

} // namespace ry
