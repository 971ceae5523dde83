#include "canvas/canvas_overview.h"

#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"

#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ry {

namespace {

// The picture is made at most this often while the canvas keeps changing (a drag).
constexpr int kRenderDelayMs = 250;

} // namespace

CanvasOverview::CanvasOverview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picOverview"));
    setMinimumSize(80, 60);
    setCursor(Qt::PointingHandCursor);
    renderTimer_.setSingleShot(true);
    renderTimer_.setInterval(kRenderDelayMs);
    connect(&renderTimer_, &QTimer::timeout, this, &CanvasOverview::RenderNow);
}

void CanvasOverview::SetView(CanvasView* view) {
    if (view == view_)
        return;
    disconnect(sceneChanged_);
    disconnect(areaChanged_);
    view_ = view;
    dragging_ = false;
    picture_ = QPixmap();
    if (view_) {
        sceneChanged_ = connect(view_->scene(), &QGraphicsScene::changed, this,
                                &CanvasOverview::ScheduleRender);
        areaChanged_ =
            connect(view_, &CanvasView::visibleAreaChanged, this, qOverload<>(&QWidget::update));
        RenderNow();
    }
    update();
}

qreal CanvasOverview::Scale() const {
    if (!view_ || !view_->scene())
        return 1.0;
    const QRectF canvas = view_->scene()->sceneRect();
    if (canvas.isEmpty())
        return 1.0;
    return std::min(width() / canvas.width(), height() / canvas.height());
}

QPointF CanvasOverview::ToWidget(const QPointF& canvasPoint) const {
    return canvasPoint * Scale();
}

QPointF CanvasOverview::ToCanvas(const QPointF& widgetPoint) const {
    return widgetPoint / Scale();
}

QRectF CanvasOverview::Mark() const {
    if (!view_)
        return {};
    const QRectF area = view_->VisibleArea();
    return QRectF(ToWidget(area.topLeft()), ToWidget(area.bottomRight()));
}

void CanvasOverview::ScheduleRender() {
    // A change during the delay waits for the picture already planned: at most one picture
    // per delay, however many changes.
    if (isVisible() && !renderTimer_.isActive())
        renderTimer_.start();
}

void CanvasOverview::RenderNow() {
    renderTimer_.stop();
    if (!view_ || !view_->scene() || width() < 1 || height() < 1) {
        picture_ = QPixmap();
        return;
    }
    QGraphicsScene& scene = *view_->scene();
    const QRectF canvas = scene.sceneRect();
    const QSize size = (canvas.size() * Scale()).toSize().expandedTo(QSize(1, 1));
    QPixmap picture(size);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        scene.render(&painter, QRectF(QPointF(0, 0), size), canvas, Qt::IgnoreAspectRatio);
    }
    picture_ = picture;
    update();
}

void CanvasOverview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid));
    if (!view_)
        return;
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
    const QRectF mark = Mark();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(QColor(0, 90, 200, 40));
    p.setPen(QPen(QColor(0, 90, 200), 0));
    p.drawRect(mark.adjusted(0, 0, -1, -1));
}

void CanvasOverview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ScheduleRender();
}

void CanvasOverview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Changes made while hidden made no picture.
    ScheduleRender();
}

void CanvasOverview::ScrollViewTo(const QPointF& widgetPoint) {
    if (!view_)
        return;
    const QPointF topLeft = ToCanvas(widgetPoint) - grab_;
    view_->ScrollTo(topLeft.toPoint());
}

void CanvasOverview::mousePressEvent(QMouseEvent* event) {
    if (!view_ || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF at = event->position();
    const QRectF area = view_->VisibleArea();
    // Grabbed on the mark: it follows from where it was held; beside it: it centres there.
    if (Mark().contains(at))
        grab_ = ToCanvas(at) - area.topLeft();
    else
        grab_ = QPointF(area.width() / 2, area.height() / 2);
    dragging_ = true;
    ScrollViewTo(at);
    event->accept();
}

void CanvasOverview::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        ScrollViewTo(event->position());
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CanvasOverview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace ry
