#pragma once

// The whole canvas of one document in small, with the part its view shows marked. Dragging the
// mark, or pressing beside it, scrolls the view. The picture is the scene's own rendering, made
// again at most a few times a second while the canvas changes, so that a script of a thousand
// modules costs nothing while it is being edited; the mark is drawn over it on every paint.

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ry {

class CanvasView;

class CanvasOverview : public QWidget {
    Q_OBJECT
public:
    explicit CanvasOverview(QWidget* parent = nullptr);

    // The view shown; null shows nothing.
    void SetView(CanvasView* view);
    CanvasView* View() const { return view_; }

    // Canvas pixels to this widget's pixels and back.
    qreal Scale() const;
    QPointF ToWidget(const QPointF& canvasPoint) const;
    QPointF ToCanvas(const QPointF& widgetPoint) const;
    // The view's visible part as the mark shows it, in this widget's pixels.
    QRectF Mark() const;
    // Makes the picture of the canvas now (normally left to the timer).
    void RenderNow();

    QSize sizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ScheduleRender();
    void ScrollViewTo(const QPointF& widgetPoint);

    QPointer<CanvasView> view_;
    QMetaObject::Connection sceneChanged_;
    QMetaObject::Connection areaChanged_;
    QTimer renderTimer_;
    QPixmap picture_;
    bool dragging_ = false;
    QPointF grab_; // where the mark was grabbed, in canvas pixels from its top-left corner
};

} // namespace ry
