#pragma once

// The scrolling view of a document's canvas.

#include <QGraphicsView>

namespace ry {

class CanvasScene;

class CanvasView : public QGraphicsView {
    Q_OBJECT
public:
    explicit CanvasView(CanvasScene* scene, QWidget* parent = nullptr);

    // Scrolls so that a canvas point is at the top-left corner of the visible area.
    void ScrollTo(const QPoint& canvasPoint);
    // The middle of the visible part of the canvas.
    QPoint VisibleCentre() const;
};

} // namespace ry
