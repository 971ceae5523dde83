#include "canvas/box_item.h"

#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_scene.h"
#include "canvas/connector_painter.h"
#include "canvas/script_document.h"
#include "script/module_types.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cmath>

// Resources of a static library are registered by hand.
static void InitUiResources() {
    Q_INIT_RESOURCE(resources);
}

namespace ry {

QRect BoxItem::TitleRect() {
    return {4, 5, 97, 17};
}
QRect BoxItem::IconRect() {
    return {105, 2, 48, 21};
}
QRect BoxItem::TextRect() {
    return {0, kShortBoxHeight, 154, 45};
}

const QPixmap& TypeIconPixmap(int iconIndex) {
    static std::array<QPixmap, 16> icons;
    static const bool registered = (InitUiResources(), true);
    (void)registered;
    const auto i = static_cast<size_t>(iconIndex < 0 || iconIndex > 15 ? 0 : iconIndex);
    if (icons[i].isNull()) {
        QSvgRenderer svg(QStringLiteral(":/icons/type%1.svg").arg(i));
        QPixmap pixmap(BoxItem::IconRect().size());
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        svg.render(&p);
        icons[i] = pixmap;
    }
    return icons[i];
}

namespace {

// The start mark: a green tab against the box's top edge (its bottom edge near the canvas's
// top). A child of the box, so it moves with it, but no part of the box for the mouse.
class StartMarkItem : public QGraphicsItem {
public:
    static constexpr int kWidth = 36;
    static constexpr int kHeight = 14;

    explicit StartMarkItem(QGraphicsItem* box) : QGraphicsItem(box) {
        setAcceptedMouseButtons(Qt::NoButton);
    }
    QRectF boundingRect() const override { return QRectF(0, 0, kWidth, kHeight); }
    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        p->fillRect(QRect(0, 0, kWidth, kHeight), QColor(30, 140, 60));
        QFont font = p->font();
        font.setPixelSize(10);
        font.setBold(true);
        p->setFont(font);
        p->setPen(Qt::white);
        p->drawText(QRect(0, 0, kWidth, kHeight), Qt::AlignCenter, QStringLiteral("Start"));
    }
};

} // namespace

BoxItem::BoxItem(ScriptDocument& document, int box) : document_(document), box_(box) {
    setFlag(ItemUsesExtendedStyleOption, false);
    setFlag(ItemSendsGeometryChanges, true);
    setCacheMode(DeviceCoordinateCache);
    Refresh();
}

void BoxItem::Refresh() {
    const std::int16_t module = document_.ModuleOfBox(box_);
    if (module < 1)
        return;
    const ModuleRecord& m = document_.Tables().Module(module);
    const int height = document_.BoxHeight(box_);
    if (height != height_) {
        prepareGeometryChange();
        height_ = height;
    }
    setPos(m.PositionX, m.PositionY);
    PlaceStartMark();
    update();
}

QRectF BoxItem::boundingRect() const {
    return QRectF(0, 0, kBoxWidth, height_);
}

QVariant BoxItem::itemChange(GraphicsItemChange change, const QVariant& value) {
    if (change == ItemPositionHasChanged) {
        if (auto* canvas = qobject_cast<CanvasScene*>(scene()))
            canvas->BoxMoved();
        PlaceStartMark();
    }
    return QGraphicsItem::itemChange(change, value);
}

void BoxItem::SetStartMark(bool shown) {
    if (shown == HasStartMark())
        return;
    if (shown) {
        startMark_ = new StartMarkItem(this);
        PlaceStartMark();
    } else {
        delete startMark_;
        startMark_ = nullptr;
    }
}

QRect BoxItem::StartMarkRect() const {
    if (pos().y() < StartMarkItem::kHeight)
        return {0, height_, StartMarkItem::kWidth, StartMarkItem::kHeight};
    return {0, -StartMarkItem::kHeight, StartMarkItem::kWidth, StartMarkItem::kHeight};
}

void BoxItem::PlaceStartMark() {
    if (startMark_)
        startMark_->setPos(StartMarkRect().topLeft());
}

BoxItem::Part BoxItem::PartAt(const QPointF& local) const {
    const QPoint p = local.toPoint();
    if (IconRect().contains(p))
        return Part::Icon;
    if (TitleRect().contains(p))
        return Part::Title;
    if (height_ > kShortBoxHeight && TextRect().contains(p))
        return Part::Text;
    return Part::Frame;
}

void BoxItem::paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) {
    const std::int16_t module = document_.ModuleOfBox(box_);
    if (module < 1)
        return;
    const ModuleRecord& m = document_.Tables().Module(module);
    const QPalette palette = QApplication::palette();
    const int w = kBoxWidth, h = height_;
    p->setRenderHint(QPainter::Antialiasing, false);
    QFont font = p->font();
    font.setPixelSize(11);
    p->setClipRect(QRect(0, 0, w, h));
    p->fillRect(QRect(0, 0, w, h), palette.color(QPalette::Button));

    const QColor ink = palette.color(QPalette::ButtonText);
    p->setPen(ink);
    p->setFont(font);
    const QFontMetrics metrics(font);
    p->drawText(TitleRect(), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(ToQt(m.Title), Qt::ElideRight, TitleRect().width()));
    p->drawPixmap(IconRect().topLeft(), TypeIconPixmap(TypeIconIndex(m.Type)));
    if (h > kShortBoxHeight) {
        QString text = ToQt(m.Txt);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        p->drawText(TextRect().adjusted(3, 2, -2, 0),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    }

    // The frame: a wide one with a line under the title row for a selected box, a thin one
    // otherwise, inside the box's edges. It is laid on whole device pixels: a line one canvas
    // pixel wide would fall between pixels at a zoom below 100% and vanish.
    const bool selected = m.BoxDisplayMode == 4;
    if (PaintsOnPaper(*p)) {
        // A page is shown again at any zoom: lines one device pixel wide stay whole there.
        p->save();
        p->setClipping(false);
        QPen pen(Qt::black, selected ? 2 : 1);
        pen.setCosmetic(true);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRectF(0, 0, w, h).adjusted(0.5, 0.5, -0.5, -0.5));
        if (selected)
            p->drawLine(QLineF(0, kShortBoxHeight + 0.5, w, kShortBoxHeight + 0.5));
        p->restore();
        return;
    }
    const QTransform toDevice = p->worldTransform();
    const QRectF mapped = toDevice.mapRect(QRectF(0, 0, w, h));
    // The pixels the box's fill covers: those whose centres lie inside it.
    const int left = qRound(mapped.left()), top = qRound(mapped.top());
    const QRect device(left, top, qRound(mapped.right()) - left, qRound(mapped.bottom()) - top);
    if (device.isEmpty())
        return;
    const qreal scale = std::max(std::abs(toDevice.m11()), std::abs(toDevice.m22()));
    const int thick = std::max(selected ? 2 : 1, qRound((selected ? 2 : 1) * scale));
    const int rule = top + qRound((kShortBoxHeight + 1) * std::abs(toDevice.m22()));
    p->save();
    p->resetTransform();
    p->setClipping(false);
    auto edge = [&](int x, int y, int width, int height) {
        p->fillRect(QRect(x, y, width, height).intersected(device), Qt::black);
    };
    edge(device.left(), device.top(), thick, device.height());
    edge(device.right() + 1 - thick, device.top(), thick, device.height());
    edge(device.left(), device.top(), device.width(), thick);
    edge(device.left(), device.bottom() + 1 - thick, device.width(), thick);
    if (selected) {
        const int ruleThick = std::max(2, qRound(4 * scale));
        edge(device.left(), rule - ruleThick / 2, device.width(), ruleThick);
    }
    p->restore();
}

} // namespace ry
