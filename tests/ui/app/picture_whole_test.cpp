// A picture and a printed page hold the whole drawing, every line of it visible: boxes beyond
// the canvas's edge, connector lines at any zoom of a print preview, and an SVG picture that
// tools read box by box and path by path.

#include "designer_fixture.h"

#include "app/main_window.h"
#include "canvas/canvas_picture.h"
#include "canvas/canvas_scene.h"
#include "canvas/drawing_geometry.h"
#include "script/text.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>
#include <string>

namespace ry::test {
namespace {

const QString kExample = QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys");

QString Utf8(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

QString PointsOf(const std::vector<Point>& points) {
    QStringList parts;
    for (const Point& p : points)
        parts << QStringLiteral("%1,%2").arg(p.x).arg(p.y);
    return parts.join(QLatin1Char(' '));
}

// The groups of an SVG picture: each <g class=...>'s title, and the polylines and texts inside.
struct Group {
    QString kind, title;
    QStringList polylines, texts;
    int paths = 0; // <path> elements
};

std::vector<Group> GroupsOf(const QByteArray& svg, QString* error) {
    std::vector<Group> groups;
    QXmlStreamReader in(svg);
    int depth = 0, groupDepth = -1;
    QString element;
    while (!in.atEnd()) {
        in.readNext();
        if (in.isStartElement()) {
            ++depth;
            element = in.name().toString();
            const QString cls = in.attributes().value(QLatin1String("class")).toString();
            if (element == QLatin1String("g") && groupDepth < 0 && !cls.isEmpty()) {
                groups.push_back({cls, {}, {}, {}, 0});
                groupDepth = depth;
            } else if (groupDepth >= 0 && element == QLatin1String("polyline")) {
                groups.back().polylines
                    << in.attributes().value(QLatin1String("points")).toString();
            } else if (groupDepth >= 0 && element == QLatin1String("path")) {
                ++groups.back().paths;
            }
        } else if (in.isEndElement()) {
            if (depth == groupDepth)
                groupDepth = -1;
            --depth;
            element.clear();
        } else if (in.isCharacters() && !in.isWhitespace() && groupDepth >= 0) {
            if (element == QLatin1String("title") && groups.back().title.isEmpty())
                groups.back().title = in.text().toString();
            else if (element == QLatin1String("text"))
                groups.back().texts << in.text().toString().trimmed();
        }
    }
    if (in.hasError())
        *error = in.errorString();
    return groups;
}

using PictureWholeTest = DesignerTest;

TEST_F(PictureWholeTest, AnSvgPictureHasAGroupWithATitleForEachBoxAndPath) {
    MakeMain();
    DocumentWindow* window = OpenInMain(kExample);
    ASSERT_NE(window, nullptr);
    const QString file = folder_.filePath(QStringLiteral("office.svg"));
    ASSERT_TRUE(WritePicture(window->Scene(), file, QStringLiteral("office-line.rys"), nullptr));
    const QByteArray svg = Slurp(file);
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    QString error;
    const std::vector<Group> groups = GroupsOf(svg, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    const PictureGeometry g = DrawingGeometry(window->Scene());
    std::map<QString, const Group*> byTitle;
    int modules = 0, paths = 0;
    for (const Group& group : groups) {
        byTitle[group.title] = &group;
        modules += group.kind == QLatin1String("module");
        paths += group.kind == QLatin1String("path");
    }
    EXPECT_EQ(modules, static_cast<int>(g.modules.size()));
    EXPECT_EQ(paths, static_cast<int>(g.paths.size()));
    for (const PictureModule& m : g.modules) {
        const auto it = byTitle.find(Utf8(m.title));
        ASSERT_NE(it, byTitle.end()) << m.title;
        EXPECT_EQ(it->second->kind, QStringLiteral("module"));
        // The box's title is text of its group.
        EXPECT_TRUE(it->second->texts.contains(Utf8(m.title)))
            << it->second->texts.join('|').toStdString();
    }
    // A path's group: its line as one polyline from the geometry, its label and tag as text,
    // nothing drawn as a shape of outlines.
    ASSERT_TRUE(byTitle.count(QStringLiteral("Main Menu: 2 → Leave Message")));
    for (const PicturePath& p : g.paths) {
        QStringList triggers;
        for (const std::string& t : p.triggers)
            triggers << Utf8(t);
        const QString title =
            Utf8(p.from) +
            (triggers.isEmpty() ? QString()
                                : QStringLiteral(": ") + triggers.join(QStringLiteral(", "))) +
            QStringLiteral(" → ") + Utf8(p.to);
        SCOPED_TRACE(title.toStdString());
        const auto it = byTitle.find(title);
        ASSERT_NE(it, byTitle.end());
        const Group& group = *it->second;
        EXPECT_EQ(group.polylines, QStringList{PointsOf(p.points)});
        EXPECT_EQ(group.paths, 0);
        if (p.label)
            EXPECT_TRUE(group.texts.contains(Utf8(p.label->text)));
        if (p.tag)
            EXPECT_TRUE(group.texts.contains(Utf8(p.tag->text)));
    }
}

TEST_F(PictureWholeTest, PicturesAndPrintsHoldBoxesBeyondTheCanvasEdge) {
    // The canvas is 2000 by 2000 pixels; the last box stands beyond its corner, with a path to
    // it and one to a title no module bears.
    const QByteArray script =
        "Version=5.0\r\n\r\n"
        "[Near]\r\nType=Play\r\nDispSize=69\r\nTxt=\r\non {1} goto [Far]\r\n\r\n"
        "Position=40,40\r\n\r\n"
        "[Far]\r\nType=Play\r\nDispSize=69\r\nTxt=\r\non {2} goto [Gone]\r\n\r\n"
        "Position=2400,2300\r\n\r\n";
    MakeMain();
    DocumentWindow* window = OpenInMain(WriteFile(QStringLiteral("far.rys"), script));
    ASSERT_NE(window, nullptr);
    CanvasScene& scene = window->Scene();
    const QRectF area = DrawingArea(scene);
    const PictureGeometry g = DrawingGeometry(scene);
    ASSERT_EQ(g.modules.size(), 2u);
    ASSERT_EQ(g.paths.size(), 2u);
    auto holds = [&](const Rect& r) {
        return area.contains(QRectF(r.Left, r.Top, r.Width, r.Height));
    };
    for (const PictureModule& m : g.modules)
        EXPECT_TRUE(holds(m.rect)) << m.title;
    for (const PicturePath& p : g.paths) {
        for (const Point& pt : p.points)
            EXPECT_TRUE(area.contains(QPointF(pt.x, pt.y))) << p.to;
        if (p.tag)
            EXPECT_TRUE(holds(p.tag->rect));
        if (p.label)
            EXPECT_TRUE(holds(p.label->rect));
    }
    // The far box is drawn in the PNG picture: its frame where it stands.
    const QString png = folder_.filePath(QStringLiteral("far.png"));
    ASSERT_TRUE(WritePicture(scene, png, QStringLiteral("far"), nullptr));
    const QImage image(png);
    ASSERT_EQ(image.size(), area.size().toSize());
    const Rect far = g.modules[1].rect;
    int dark = 0;
    for (int y = far.Top; y < far.Top + far.Height; ++y) {
        const QPoint at = QPoint(far.Left, y) - area.topLeft().toPoint();
        dark += image.valid(at) && qGray(image.pixel(at)) < 128;
    }
    EXPECT_GT(dark, far.Height / 2) << "the far box's left edge";
}

// Every connector line and box frame of a page, replayed as a print preview replays it at a small
// zoom, still has dark pixels along it.
TEST_F(PictureWholeTest, APrintedPageShowsConnectorLinesAndBoxFramesAtEveryZoom) {
    MakeMain();
    DocumentWindow* window = OpenInMain(kExample);
    ASSERT_NE(window, nullptr);
    CanvasScene& scene = window->Scene();
    const QRectF area = DrawingArea(scene);
    // The preview records each page as a picture and shows it scaled.
    QPicture page;
    {
        QPainter painter(&page);
        PaintDrawing(painter, scene, area, QRectF(QPointF(0, 0), area.size()));
    }
    const PictureGeometry g = DrawingGeometry(scene);
    for (const double zoom : {0.39, 0.5, 0.75, 1.0}) {
        SCOPED_TRACE(zoom);
        QImage image((area.size() * zoom).toSize() + QSize(2, 2), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.scale(zoom, zoom);
            painter.drawPicture(0, 0, page);
        }
        // Each connector's lines and each box's frame.
        std::vector<std::vector<Point>> lines;
        for (const PicturePath& p : g.paths)
            lines.push_back(p.points);
        for (const PictureModule& m : g.modules) {
            const Rect& r = m.rect;
            const int right = r.Left + r.Width - 1, bottom = r.Top + r.Height - 1;
            lines.push_back({{r.Left, r.Top},
                             {right, r.Top},
                             {right, bottom},
                             {r.Left, bottom},
                             {r.Left, r.Top}});
        }
        int samples = 0, seen = 0;
        for (const std::vector<Point>& line : lines) {
            for (std::size_t i = 1; i < line.size(); ++i) {
                const Point a = line[i - 1], b = line[i];
                const int length = std::abs(b.x - a.x) + std::abs(b.y - a.y);
                for (int t = 4; t + 4 < length; t += 6) {
                    const double x = a.x + (b.x - a.x) * t / double(length) - area.left();
                    const double y = a.y + (b.y - a.y) * t / double(length) - area.top();
                    const QPoint at(int(x * zoom), int(y * zoom));
                    bool dark = false;
                    for (int dy = -1; dy <= 1 && !dark; ++dy)
                        for (int dx = -1; dx <= 1 && !dark; ++dx)
                            dark = image.valid(at + QPoint(dx, dy)) &&
                                   qGray(image.pixel(at + QPoint(dx, dy))) < 100;
                    ++samples;
                    seen += dark;
                }
            }
        }
        ASSERT_GT(samples, 50);
        // Only labels, laid over their lines' ends, may hide a little of a line.
        EXPECT_GE(seen, samples * 95 / 100) << seen << " of " << samples;
    }
}

// The page's header holds the file name and the date inside the printable part of the page,
// as the preview shows it.
TEST_F(PictureWholeTest, ThePrintHeadersDateStaysOnThePage) {
    MakeMain();
    DocumentWindow* window = OpenInMain(kExample);
    ASSERT_NE(window, nullptr);
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintPreviewWidget preview(&printer);
    preview.resize(900, 1200);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* target) { PrintCanvas(*window, *target, QDate(2026, 12, 31)); });
    preview.setZoomMode(QPrintPreviewWidget::FitToWidth);
    preview.show();
    preview.updatePreview();
    QApplication::processEvents();
    const QImage shot = preview.grab().toImage();
    // The page: the white area amid the grey, its edges found half way down and its top in
    // its margin's column; the header is its first lines of text.
    const QRgb white = qRgb(255, 255, 255);
    const int middle = shot.height() / 2;
    int left = -1, right = -1, top = -1;
    for (int x = 0; x < shot.width() - 30; ++x) // not the scroll bar
        if (shot.pixel(x, middle) == white) {
            if (left < 0)
                left = x;
            right = x;
        }
    ASSERT_GE(left, 0);
    for (int y = 0; y < middle && top < 0; ++y)
        if (shot.pixel(left + 2, y) == white)
            top = y;
    ASSERT_GE(top, 0);
    const QPageLayout layout = printer.pageLayout();
    const QRect paper = layout.fullRectPixels(printer.resolution());
    const QRect printable = layout.paintRectPixels(printer.resolution());
    const double scale = double(right - left + 1) / paper.width();
    const int printableRight = left + int((printable.left() + printable.width()) * scale);
    // The header's ink: its rightmost pixel that is not white. The preview shows what lies
    // beyond the printable part faded, not gone, so a cut date still leaves its trace there.
    int ink = -1;
    const int headerTop = top + int(printable.top() * scale);
    for (int y = headerTop; y < headerTop + int(24 * scale) + 4; ++y)
        for (int x = left; x <= right; ++x)
            if (qGray(shot.pixel(x, y)) < 235)
                ink = std::max(ink, x);
    ASSERT_GT(ink, (left + right) / 2) << "the date at the right";
    EXPECT_LE(ink, printableRight + 1) << "the page's printable part ends at " << printableRight;
}

} // namespace
} // namespace ry::test
