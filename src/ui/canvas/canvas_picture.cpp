#include "canvas/canvas_picture.h"

#include "script/file_io.h"

#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/connector_painter.h"
#include "canvas/drawing_geometry.h"
#include "canvas/picture_svg.h"
#include "canvas/script_document.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <vector>

namespace ry {

namespace {

constexpr qreal kMargin = 12;

bool IsPartOfABox(const QGraphicsItem* item) {
    return item->parentItem() && item->parentItem()->type() == BoxItem::Type;
}

// The drawing alone: the selection's look is taken off the boxes, items that only the mouse
// needs are hidden, and boxes are painted directly rather than from their screen cache, so
// that their texts stay texts. All of it comes back as it was afterwards.
class DrawingOnly {
public:
    explicit DrawingOnly(CanvasScene& scene) : document_(scene.Document()) {
        // First the selection: it takes the out-handles of selected boxes with it.
        selected_ = document_.SelectedModules();
        currentBox_ = document_.CurrentBox();
        document_.DeselectAllBoxes();
        for (QGraphicsItem* item : scene.items()) {
            if (item->type() == BoxItem::Type) {
                cached_.push_back({item, item->cacheMode()});
                item->setCacheMode(QGraphicsItem::NoCache);
            } else if (IsPartOfABox(item)) {
                continue; // the start mark belongs to the drawing
            } else if (item->isVisible()) {
                item->setVisible(false);
                hidden_.push_back(item);
            }
        }
    }
    ~DrawingOnly() {
        for (QGraphicsItem* item : hidden_)
            item->setVisible(true);
        for (const auto& [item, mode] : cached_)
            item->setCacheMode(mode);
        for (std::int16_t module : selected_)
            document_.SelectBox(document_.Module(module).BoxIndex);
        document_.SetCurrentBox(currentBox_);
    }
    DrawingOnly(const DrawingOnly&) = delete;
    DrawingOnly& operator=(const DrawingOnly&) = delete;

private:
    ScriptDocument& document_;
    std::vector<std::int16_t> selected_;
    int currentBox_ = 0;
    std::vector<QGraphicsItem*> hidden_;
    std::vector<std::pair<QGraphicsItem*, QGraphicsItem::CacheMode>> cached_;
};

} // namespace

QRectF DrawingArea(CanvasScene& scene) {
    // Every box, connector, label, stub and tag, wherever it lies: on the canvas or beyond its
    // edge (where Arrange or a script from elsewhere may have put boxes).
    QRectF area;
    for (QGraphicsItem* item : scene.items())
        if (item->type() == BoxItem::Type)
            area = area.united(item->sceneBoundingRect())
                       .united(item->mapRectToScene(item->childrenBoundingRect()));
    for (const LaidConnector& item : scene.Connectors().Items()) {
        Rect painted = Unite(item.bounds, item.hasLabel ? item.label : Rect{});
        if (item.isStub && item.hasTag)
            painted = Unite(painted, item.stub.Tag);
        // A line's pixel reaches one past its last coordinate.
        if (painted.Width > 0 && painted.Height > 0)
            area = area.united(
                QRectF(painted.Left, painted.Top, painted.Width + 1, painted.Height + 1));
    }
    if (area.isEmpty())
        return QRectF(0, 0, 320, 200).intersected(scene.sceneRect());
    return area.adjusted(-kMargin, -kMargin, kMargin, kMargin);
}

void PaintDrawing(QPainter& painter, CanvasScene& scene, const QRectF& area, const QRectF& target) {
    DrawingOnly only(scene);
    scene.render(&painter, target, area, Qt::IgnoreAspectRatio);
}

PictureFormat PictureFormatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("pdf"))
        return PictureFormat::Pdf;
    if (suffix == QLatin1String("json"))
        return PictureFormat::Json;
    return PictureFormat::Unknown;
}

bool WritePicture(CanvasScene& scene, const QString& fileName, const QString& title, QString* error,
                  int scale) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const PictureFormat format = PictureFormatOf(fileName);
    if (format == PictureFormat::Unknown)
        return fail(QStringLiteral("A picture is written as an .svg, .png, .pdf or .json file: ") +
                    fileName);
    const QRectF area = DrawingArea(scene);
    const QSize size = area.size().toSize();
    const QRectF target(QPointF(0, 0), area.size());

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Json) {
        const std::string json = PictureJson(DrawingGeometry(scene));
        bytes = QByteArray(json.data(), static_cast<qsizetype>(json.size()));
    } else if (format == PictureFormat::Svg) {
        DrawingOnly only(scene);
        bytes = DrawingSvg(scene, area, title);
    } else if (format == PictureFormat::Png) {
        scale = std::clamp(scale, 1, kMaxPictureScale);
        QImage image(size * scale, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, scale > 1);
            painter.setRenderHint(QPainter::TextAntialiasing, scale > 1);
            PaintDrawing(painter, scene, area,
                         QRectF(QPointF(0, 0), area.size() * static_cast<qreal>(scale)));
        }
        if (!image.save(&buffer, "PNG"))
            return fail(QStringLiteral("The picture could not be made: ") + fileName);
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setResolution(96);
        // One page the size of the drawing, a canvas pixel a pixel of a 96-dpi screen.
        pdf.setPageSize(QPageSize(QSizeF(area.width() * 0.75, area.height() * 0.75),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        PaintDrawing(painter, scene, area, target);
    }
    buffer.close();

    // The rules of a script's file: only a regular file is replaced, links are followed, and a
    // failed write leaves the old file as it was.
    const std::string problem =
        WriteFileReplacing(QFile::encodeName(fileName).toStdString(),
                           std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!problem.empty())
        return fail(QStringLiteral("The picture could not be written to ") + fileName +
                    QStringLiteral(": ") + QString::fromLocal8Bit(problem.c_str()));
    return true;
}

} // namespace ry
