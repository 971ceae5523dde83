#include "canvas/box_item.h"

#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/script_document.h"
#include "script/module_types.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

#include <array>

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

BoxItem::BoxItem(ScriptDocument& document, int box) : document_(document), box_(box) {
    setFlag(ItemUsesExtendedStyleOption, false);
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
    update();
}

QRectF BoxItem::boundingRect() const {
    return QRectF(0, 0, kBoxWidth, height_);
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
    p->setClipRect(QRect(0, 0, w, h));
    p->fillRect(QRect(0, 0, w, h), palette.color(QPalette::Button));

    const QColor ink = palette.color(QPalette::ButtonText);
    p->setPen(ink);
    QFont font = p->font();
    font.setPixelSize(11);
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
    // otherwise. Lines run along the box's edges and are clipped to it.
    const bool selected = m.BoxDisplayMode == 4;
    p->setPen(QPen(Qt::black, selected ? 4 : 2, Qt::SolidLine, Qt::FlatCap));
    p->drawLine(0, 0, 0, h);
    p->drawLine(0, 0, w, 0);
    p->drawLine(0, h, w, h);
    p->drawLine(w, 0, w, h);
    if (selected)
        p->drawLine(0, kShortBoxHeight + 1, w, kShortBoxHeight + 1);
}

} // namespace ry
