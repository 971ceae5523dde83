#pragma once

// The scrolling view of a document's canvas, at a zoom of its own. Everything stored stays in
// canvas pixels; only the view scales.

#include <QGraphicsView>

#include <optional>
#include <vector>

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
    // The part of the canvas the view shows, in canvas pixels.
    QRectF VisibleArea() const;

    // ---- Zoom, in percent of canvas pixels.
    static const std::vector<int>& ZoomSteps();
    static constexpr int kMinZoom = 25;
    static constexpr int kMaxZoom = 400;
    int Zoom() const { return zoom_; }
    // Sets the zoom (kept within kMinZoom..kMaxZoom), keeping the canvas point under the
    // viewport point `anchor` where it is; without one, the middle of the view.
    void SetZoom(int percent, std::optional<QPoint> anchor = std::nullopt);
    // The next step up or down from the current zoom.
    void ZoomIn(std::optional<QPoint> anchor = std::nullopt);
    void ZoomOut(std::optional<QPoint> anchor = std::nullopt);

signals:
    void zoomChanged(int percent);
    // The visible part of the canvas moved or changed size.
    void visibleAreaChanged();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int zoom_ = 100;
    int wheelRemainder_ = 0;
};

} // namespace ry
