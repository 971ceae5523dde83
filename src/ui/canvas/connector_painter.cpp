#include "canvas/connector_painter.h"

#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/script_document.h"
#include "paths/destinations.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <vector>

namespace ry {

namespace {

// Labels and tags longer than this are cut short with an ellipsis.
constexpr int kMaxTextWidth = 150;
// Below this scale text would be too small to read: stubs keep their tags, without text.
constexpr double kSmallestReadableScale = 0.5;

// One device pixel wide at any scale. A pen of width 0 is that on screen too, but a PDF file
// makes it the thinnest line its reader can draw, a hair on paper.
QPen ThinPen(const QColor& colour) {
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    return pen;
}

// Drawn smaller than a canvas pixel (a view zoomed out, the overview), a line of canvas pixels
// would cover no screen pixel at all: there it is drawn one screen pixel wide.
// On paper (a printer, its preview, a PDF file) the page is shown afterwards at any zoom: a
// filled pixel there would shrink below a screen pixel, so lines are drawn one device pixel
// wide whatever the scale.
bool BelowCanvasPixel(const QPainter& p) {
    const QTransform& t = p.worldTransform();
    return std::abs(t.m11()) < 1.0 || std::abs(t.m22()) < 1.0 || PaintsOnPaper(p);
}

// The pixels of a line from `from` up to, not including, `to`. Level and upright lines fill
// exactly those pixels; a sloping one (between nearly level or nearly upright boxes, by any
// slope) is drawn as a line, so that it stays whole at every zoom.
void PaintSegment(QPainter& p, const Segment& s, bool thin) {
    const Point a = s.from, b = s.to;
    if (!thin && a.y == b.y) {
        const int len = std::abs(b.x - a.x);
        p.fillRect(b.x < a.x ? b.x + 1 : a.x, a.y, len, 1, Qt::black);
    } else if (!thin && a.x == b.x) {
        const int len = std::abs(b.y - a.y);
        p.fillRect(a.x, b.y < a.y ? b.y + 1 : a.y, 1, len, Qt::black);
    } else {
        p.setPen(thin ? ThinPen(Qt::black) : QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
    }
}

QRect QtRect(const Rect& r) {
    return {r.Left, r.Top, r.Width, r.Height};
}

// A text beside a connector or in a tag, painted after every line.
struct Caption {
    QRect rect;
    QString text;
    enum class Look { Label, Tag, ProblemTag } look = Look::Label;
};

// Measures label and tag texts in the canvas's label font.
class TextSizes {
public:
    TextSizes() : metrics_(Font()) {}

    static QFont Font() { return ConnectorTextFont(); }
    // The text as shown (cut short when too long) and the size of its label.
    QString Fit(const QString& text) const {
        if (metrics_.horizontalAdvance(text) <= kMaxTextWidth)
            return text;
        return metrics_.elidedText(text, Qt::ElideRight, kMaxTextWidth);
    }
    Size LabelSize(const QString& shown) const {
        return {metrics_.horizontalAdvance(shown) + 4, metrics_.height()};
    }
    // A tag holds one line of text for each line of its destination.
    QString FitLines(const QString& text) const {
        QStringList lines = QString(text)
                                .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                .split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = Fit(line);
        return lines.join(QLatin1Char('\n'));
    }
    Size TagSize(const QString& shown) const {
        int width = 0;
        const QStringList lines = shown.split(QLatin1Char('\n'));
        for (const QString& line : lines)
            width = std::max(width, metrics_.horizontalAdvance(line));
        return {width + 10, static_cast<int>(lines.size()) * metrics_.height() + 2};
    }

private:
    QFontMetrics metrics_;
};

void PaintCaptions(QPainter& p, const std::vector<Caption>& captions, bool withText) {
    if (captions.empty())
        return;
    p.setFont(TextSizes::Font());
    for (const Caption& c : captions) {
        switch (c.look) {
        case Caption::Look::Label:
            if (!withText)
                continue;
            p.fillRect(c.rect, kLabelBack);
            p.setPen(kLabelInk);
            break;
        case Caption::Look::Tag:
        case Caption::Look::ProblemTag: {
            const bool problem = c.look == Caption::Look::ProblemTag;
            p.setPen(ThinPen(problem ? kProblemColour : kLabelInk));
            p.setBrush(problem ? kProblemFill : kTagFill);
            p.drawRoundedRect(QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            p.setPen(problem ? kProblemColour : kLabelInk);
            break;
        }
        }
        if (withText)
            p.drawText(c.rect, Qt::AlignCenter, c.text);
    }
}

} // namespace

bool PaintsOnPaper(const QPainter& p) {
    const QPaintDevice* device = p.device();
    const QPaintEngine* engine = p.paintEngine();
    return (device && device->devType() == QInternal::Printer) ||
           (engine &&
            (engine->type() == QPaintEngine::Pdf || engine->type() == QPaintEngine::Picture));
}

QFont ConnectorTextFont() {
    QFont font;
    font.setPixelSize(11);
    return font;
}

void PaintConnector(QPainter& p, const ConnectorPath& path) {
    const bool thin = BelowCanvasPixel(p);
    for (const Segment& s : path.Segments())
        PaintSegment(p, s, thin);
    if (thin)
        p.setPen(ThinPen(Qt::black));
    for (const Point& px : path.BendPixels()) {
        if (thin)
            p.drawPoint(px.x, px.y);
        else
            p.fillRect(px.x, px.y, 1, 1, Qt::black);
    }
    if (path.HasArrow()) {
        const auto& c = path.Arrow().corners;
        const QPoint points[3] = {{c[0].x, c[0].y}, {c[1].x, c[1].y}, {c[2].x, c[2].y}};
        p.setPen(ThinPen(Qt::black));
        p.setBrush(kArrowFill);
        p.drawPolygon(points, 3);
    }
}

void ConnectorLayout::Build(const ScriptDocument& doc, const ConnectorOptions& options) {
    items_.clear();
    const ScriptTables& tables = doc.Tables();
    // The boxes where they are drawn now, and each module's among them.
    std::vector<LayoutBox> boxes;
    std::unordered_map<std::int16_t, int> boxOf;
    ForEachModule(tables, doc.Script(), [&](std::int16_t module, const ModuleRecord& m) {
        if (!doc.HasBox(m.BoxIndex) || doc.ModuleOfBox(m.BoxIndex) != module)
            return;
        const QPoint at = options.boxPosition ? options.boxPosition(m.BoxIndex)
                                              : QPoint(m.PositionX, m.PositionY);
        boxOf[module] = static_cast<int>(boxes.size());
        boxes.push_back({{at.x(), at.y(), kBoxWidth, doc.BoxHeight(m.BoxIndex)}, module});
    });
    const std::vector<PathGroup> groups = GroupPaths(ScriptPaths(tables, doc.Script()));
    std::vector<PathToLay> paths;
    const TextSizes sizes;
    for (const PathGroup& g : groups) {
        const auto from = boxOf.find(g.From);
        if (from == boxOf.end())
            continue;
        LaidConnector item;
        item.from = g.From;
        item.line = g.Line;
        item.destination = std::string(g.Destination);
        PathToLay path;
        path.from = from->second;
        if (g.kind == PathGroup::Kind::Module) {
            const auto found = boxOf.find(g.To);
            if (found == boxOf.end())
                continue;
            item.to = g.To;
            path.to = found->second;
        } else {
            item.isStub = true;
            item.problem = path.problem = g.kind == PathGroup::Kind::Unknown;
            item.tagText = sizes.FitLines(ToQt(g.Destination));
            path.tag = sizes.TagSize(item.tagText);
        }
        if (options.labels && !g.Triggers.empty()) {
            auto it = measured_.find(g.Triggers);
            if (it == measured_.end()) {
                const QString shown = sizes.Fit(ToQt(g.Triggers));
                it = measured_.emplace(g.Triggers, Measured{shown, sizes.LabelSize(shown)}).first;
            }
            item.labelText = it->second.shown;
            path.label = it->second.size;
        }
        items_.push_back(std::move(item));
        paths.push_back(path);
    }
    layout_.Build(boxes, paths, options.style);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const LaidPath& laid = layout_.Paths()[i];
        LaidConnector& item = items_[i];
        item.path = laid.path;
        item.points = laid.points;
        item.stub = laid.stub;
        item.hasTag = laid.hasTag;
        item.hasLabel = laid.hasLabel;
        item.label = laid.label;
        item.bounds = laid.bounds;
    }
}

void PaintConnectors(QPainter& p, const ConnectorLayout& layout, const QRect& exposed) {
    const Rect area{exposed.left(), exposed.top(), exposed.width(), exposed.height()};
    const bool thin = BelowCanvasPixel(p);
    const bool readable = !thin || std::abs(p.worldTransform().m11()) >= kSmallestReadableScale;
    std::vector<Caption> captions;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const LaidConnector& item : layout.Items()) {
        if (!Intersects(item.bounds, area))
            continue;
        if (!item.isStub) {
            PaintConnector(p, item.path);
        } else {
            PaintSegment(p, {item.stub.Line[0], item.stub.Line[1]}, thin);
            PaintSegment(p, {item.stub.Line[1], item.stub.Line[2]}, thin);
            if (item.hasTag)
                captions.push_back({QtRect(item.stub.Tag), item.tagText,
                                    item.problem ? Caption::Look::ProblemTag : Caption::Look::Tag});
        }
        if (item.hasLabel && Intersects(item.label, area))
            captions.push_back({QtRect(item.label), item.labelText, Caption::Look::Label});
    }
    PaintCaptions(p, captions, readable);
    p.restore();
}

void PaintConnectors(QPainter& p, const ScriptDocument& doc, const QRect& exposed,
                     const ConnectorOptions& options) {
    ConnectorLayout layout;
    layout.Build(doc, options);
    PaintConnectors(p, layout, exposed);
}

} // namespace ry
