#include "canvas/picture_svg.h"

#include "base/text_codec.h"
#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/connector_painter.h"
#include "canvas/drawing_geometry.h"
#include "canvas/script_document.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QStyleOptionGraphicsItem>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace ry {

namespace {

QString Number(qreal v) {
    return QString::number(v, 'g', 10);
}

QString Colour(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QString PointsText(const std::vector<Point>& points) {
    QStringList parts;
    parts.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points)
        parts << Number(p.x) + QLatin1Char(',') + Number(p.y);
    return parts.join(QLatin1Char(' '));
}

// A box and what it carries (the start mark), painted by their own items.
void PaintItem(QPainter& painter, QGraphicsItem* item) {
    if (!item->isVisible())
        return;
    painter.save();
    painter.setTransform(item->sceneTransform(), true);
    QStyleOptionGraphicsItem option;
    option.exposedRect = item->boundingRect();
    option.rect = option.exposedRect.toAlignedRect();
    item->paint(&painter, &option, nullptr);
    painter.restore();
    for (QGraphicsItem* child : item->childItems())
        PaintItem(painter, child);
}

// What a painter draws, as the elements of an SVG picture in canvas pixels, written into
// `out` without a document or a root of their own.
void WriteBoxElements(QXmlStreamWriter& out, QGraphicsItem* box, const QRectF& area) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(area.size().toSize());
        svg.setViewBox(area);
        svg.setResolution(96);
        QPainter painter(&svg);
        PaintItem(painter, box);
    }
    QXmlStreamReader in(bytes);
    int depth = 0;   // below the root
    int skipped = 0; // inside the generator's own <title> or <desc>
    while (!in.atEnd()) {
        in.readNext();
        if (in.isStartElement()) {
            ++depth;
            if (depth == 1)
                continue;
            if (skipped > 0 || (depth == 2 && (in.name() == QLatin1String("title") ||
                                               in.name() == QLatin1String("desc")))) {
                ++skipped;
                continue;
            }
        } else if (in.isEndElement()) {
            --depth;
            if (depth == 0)
                continue;
            if (skipped > 0) {
                --skipped;
                continue;
            }
        } else if (depth < 2 || skipped > 0 || in.isStartDocument() || in.isEndDocument() ||
                   in.isDTD() || in.isComment() || in.isWhitespace()) {
            continue;
        }
        out.writeCurrentToken(in);
    }
}

// One line of text centred in `rect`, as the canvas draws it.
void WriteText(QXmlStreamWriter& out, const QRectF& rect, const QStringList& lines,
               const QColor& ink, const QFontMetricsF& metrics) {
    const qreal top = rect.top() + (rect.height() - metrics.height() * lines.size()) / 2;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        out.writeStartElement(QStringLiteral("text"));
        out.writeAttribute(QStringLiteral("x"), Number(rect.center().x()));
        out.writeAttribute(
            QStringLiteral("y"),
            Number(top + metrics.height() * static_cast<qreal>(i) + metrics.ascent()));
        out.writeAttribute(QStringLiteral("text-anchor"), QStringLiteral("middle"));
        out.writeAttribute(QStringLiteral("fill"), Colour(ink));
        out.writeCharacters(lines[i]);
        out.writeEndElement();
    }
}

QRectF QtRect(const Rect& r) {
    return QRectF(r.Left, r.Top, r.Width, r.Height);
}

QString PathTitle(const PicturePath& p) {
    QStringList triggers;
    for (const std::string& t : p.triggers)
        triggers << ToQt(t);
    const QString from = ToQt(p.from);
    return (triggers.isEmpty()
                ? from
                : from + QStringLiteral(": ") + triggers.join(QStringLiteral(", "))) +
           QStringLiteral(" → ") + ToQt(p.to);
}

void WritePath(QXmlStreamWriter& out, const PicturePath& p, const LaidConnector& item,
               const QFontMetricsF& metrics) {
    out.writeStartElement(QStringLiteral("g"));
    out.writeAttribute(QStringLiteral("class"), QStringLiteral("path"));
    out.writeTextElement(QStringLiteral("title"), PathTitle(p));
    // Lines on the middle of their pixels, as the canvas fills them.
    out.writeStartElement(QStringLiteral("polyline"));
    out.writeAttribute(QStringLiteral("points"), PointsText(p.points));
    out.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#000000"));
    out.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));
    out.writeAttribute(QStringLiteral("transform"), QStringLiteral("translate(0.5,0.5)"));
    out.writeEndElement();
    if (!item.isStub && item.path.HasArrow()) {
        const auto& c = item.path.Arrow().corners;
        out.writeStartElement(QStringLiteral("polygon"));
        out.writeAttribute(QStringLiteral("points"), PointsText({c[0], c[1], c[2]}));
        out.writeAttribute(QStringLiteral("fill"), Colour(kArrowFill));
        out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#000000"));
        out.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));
        out.writeAttribute(QStringLiteral("transform"), QStringLiteral("translate(0.5,0.5)"));
        out.writeEndElement();
    }
    if (p.tag) {
        const bool problem = p.kind == PicturePathKind::Missing;
        const QRectF r = QtRect(p.tag->rect);
        out.writeStartElement(QStringLiteral("rect"));
        out.writeAttribute(QStringLiteral("x"), Number(r.left() + 0.5));
        out.writeAttribute(QStringLiteral("y"), Number(r.top() + 0.5));
        out.writeAttribute(QStringLiteral("width"), Number(r.width() - 1));
        out.writeAttribute(QStringLiteral("height"), Number(r.height() - 1));
        out.writeAttribute(QStringLiteral("rx"), QStringLiteral("3"));
        out.writeAttribute(QStringLiteral("fill"), Colour(problem ? kProblemFill : kTagFill));
        out.writeAttribute(QStringLiteral("stroke"), Colour(problem ? kProblemColour : kLabelInk));
        out.writeEndElement();
        WriteText(out, r, ToQt(p.tag->text).split(QLatin1Char('\n')),
                  problem ? kProblemColour : kLabelInk, metrics);
    }
    if (p.label) {
        const QRectF r = QtRect(p.label->rect);
        out.writeStartElement(QStringLiteral("rect"));
        out.writeAttribute(QStringLiteral("x"), Number(r.left()));
        out.writeAttribute(QStringLiteral("y"), Number(r.top()));
        out.writeAttribute(QStringLiteral("width"), Number(r.width()));
        out.writeAttribute(QStringLiteral("height"), Number(r.height()));
        out.writeAttribute(QStringLiteral("fill"), Colour(kLabelBack));
        out.writeAttribute(QStringLiteral("fill-opacity"), Number(kLabelBack.alphaF()));
        out.writeEndElement();
        WriteText(out, r, {ToQt(p.label->text)}, kLabelInk, metrics);
    }
    out.writeEndElement();
}

} // namespace

QByteArray DrawingSvg(CanvasScene& scene, const QRectF& area, const QString& title) {
    const PictureGeometry geometry = DrawingGeometry(scene);
    const std::vector<LaidConnector>& items = scene.Connectors().Items();
    const QFont font = ConnectorTextFont();
    const QFontMetricsF metrics(font);

    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    out.setAutoFormatting(true);
    out.setAutoFormattingIndent(1);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("svg"));
    out.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    // The boxes' type icons are images.
    out.writeNamespace(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("xlink"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    out.writeAttribute(QStringLiteral("width"), Number(area.width()));
    out.writeAttribute(QStringLiteral("height"), Number(area.height()));
    out.writeAttribute(QStringLiteral("viewBox"),
                       QStringLiteral("%1 %2 %3 %4")
                           .arg(Number(area.left()), Number(area.top()), Number(area.width()),
                                Number(area.height())));
    out.writeTextElement(QStringLiteral("title"), title);
    out.writeStartElement(QStringLiteral("rect"));
    out.writeAttribute(QStringLiteral("x"), Number(area.left()));
    out.writeAttribute(QStringLiteral("y"), Number(area.top()));
    out.writeAttribute(QStringLiteral("width"), Number(area.width()));
    out.writeAttribute(QStringLiteral("height"), Number(area.height()));
    out.writeAttribute(QStringLiteral("fill"), QStringLiteral("#ffffff"));
    out.writeEndElement();

    // Connectors under the boxes, as on the canvas; their labels and tags in one font.
    out.writeStartElement(QStringLiteral("g"));
    out.writeAttribute(QStringLiteral("font-family"), font.family());
    out.writeAttribute(QStringLiteral("font-size"), QString::number(font.pixelSize()));
    for (std::size_t i = 0; i < geometry.paths.size() && i < items.size(); ++i)
        WritePath(out, geometry.paths[i], items[i], metrics);
    out.writeEndElement();

    ScriptDocument& document = scene.Document();
    for (const int box : document.Boxes()) {
        BoxItem* item = scene.Item(box);
        if (!item)
            continue;
        out.writeStartElement(QStringLiteral("g"));
        out.writeAttribute(QStringLiteral("class"), QStringLiteral("module"));
        out.writeTextElement(QStringLiteral("title"),
                             ToQt(document.Tables().Module(document.ModuleOfBox(box)).Title));
        WriteBoxElements(out, item, area);
        out.writeEndElement();
    }
    out.writeEndElement();
    out.writeEndDocument();
    return bytes;
}

} // namespace ry
