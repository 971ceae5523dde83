// Connectors as the canvas paints them: whole lines at any slope and zoom, trigger labels that
// View > Path Labels turns off and on, stubs with tags for destinations that name no module,
// the start mark, and connectors that follow boxes being dragged.

#include "editing_fixture.h"

#include "canvas/box_geometry.h"
#include "canvas/connector_painter.h"
#include "canvas/routes.h"
#include "canvas/stubs.h"

#include <QImage>
#include <QPainter>
#include <QUndoStack>

namespace ry::test {
namespace {

class Connectors : public EditingTest {
protected:
    // How many pixels of `area` (canvas pixels) show `colour`, or a colour it accepts.
    int Count(const QRect& area, QColor colour) {
        return CountIf(area, [&](QRgb c) { return c == colour.rgb(); });
    }
    template <class Accept> int CountIf(const QRect& area, Accept accept) {
        const QImage image = Render(area);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += accept(image.pixel(x, y));
        return n;
    }
    // The blue of labels and voicemail tags, smoothed edges of the letters included.
    static bool Blue(QRgb c) { return qBlue(c) - qRed(c) > 60; }
    // The red of a problem.
    static bool Red(QRgb c) { return qRed(c) - qBlue(c) > 100; }
    std::int16_t ModuleOf(int box) { return Doc().ModuleOfBox(box); }
    void SetPaths(int box, const std::string& paths) {
        ModuleIn(box).PathText = paths;
        Window().Scene().update();
    }
};

// One connector painted on white at a scale, as a view zoomed to it shows it.
QImage PaintAt(const ConnectorPath& path, double scale, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    PaintConnector(painter, path);
    return image;
}

TEST(ConnectorLines, NearlyUprightAndNearlyLevelLinesAreWholeAtEveryZoom) {
    // Down routes within 18 pixels of straight below, and side routes within 8 pixels of
    // level, are one sloping line.
    struct Case {
        const char* what;
        bool down;
        int x1, y1, x2, y2;
    };
    const Case cases[] = {
        {"down, 2 px across", true, 100, 20, 102, 120},
        {"down, 18 px across", true, 100, 20, 82, 120},
        {"side, 8 px up", false, 20, 60, 180, 52},
    };
    for (const Case& c : cases)
        for (double scale : {1.0, 2.0, 3.0}) {
            SCOPED_TRACE(testing::Message() << c.what << " at " << scale);
            ConnectorPath path;
            if (c.down)
                DrawDownRoute(path, c.x1, c.y1, c.x2, c.y2);
            else
                DrawSideRoute(path, c.x1, c.y1, c.x2, c.y2);
            const QImage image = PaintAt(path, scale, QSize(220, 140) * scale);
            // Every screen row (column) the line runs through, up to the arrow, holds a black
            // pixel.
            const int from = static_cast<int>((c.down ? c.y1 : c.x1) * scale);
            const int to = static_cast<int>(((c.down ? c.y2 : c.x2) - 10) * scale);
            int gaps = 0;
            for (int i = from; i < to; ++i) {
                bool black = false;
                const int across = c.down ? image.width() : image.height();
                for (int j = 0; j < across && !black; ++j)
                    black = image.pixel(c.down ? j : i, c.down ? i : j) == qRgb(0, 0, 0);
                gaps += !black;
            }
            EXPECT_EQ(gaps, 0);
        }
}

TEST_F(Connectors, EachConnectorCarriesItsTriggersWhilePathLabelsIsOn) {
    const std::vector<int> boxes = ThreeBoxes({40, 40}, {400, 40}, {40, 300});
    SetPaths(boxes[0], "on {1} goto [" + ModuleIn(boxes[1]).Title + "]\r\non {2} goto [" +
                           ModuleIn(boxes[1]).Title + "]\r\n");
    const QRect between(195, 40, 205, 69); // the gap the connector crosses
    QAction* item = Menu(QStringLiteral("mnuPathLabels"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(item->isChecked()) << "labels start on";
    EXPECT_GT(CountIf(between, Blue), 0);

    item->trigger();
    EXPECT_FALSE(designer_->PathLabels());
    EXPECT_EQ(CountIf(between, Blue), 0);

    // The choice outlives the program.
    Start("");
    item = Menu(QStringLiteral("mnuPathLabels"));
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(designer_->PathLabels());
    item->trigger();
    Start("");
    EXPECT_TRUE(Menu(QStringLiteral("mnuPathLabels"))->isChecked());
    EXPECT_TRUE(designer_->PathLabels());
}

TEST_F(Connectors, APathToNoModuleEndsInATagThatNamesItsDestination) {
    const std::vector<int> boxes = ThreeBoxes({40, 40}, {400, 40}, {40, 400});
    const Rect source{40, 40, kBoxWidth, kLongBoxHeight};
    // Beside the box's right side and below its bottom right, where its stubs leave it.
    const QRect stubs(source.Left + source.Width + 1, source.Top + 1, 200, source.Height + 80);
    EXPECT_EQ(Count(stubs, Qt::black), 0);

    SetPaths(boxes[0], "on {9} goto [Voicemail Box 200]\r\n");
    EXPECT_GT(Count(stubs, Qt::black), 0) << "the stub's line";
    EXPECT_GT(CountIf(stubs, Blue), 0) << "its tag and label";
    EXPECT_EQ(CountIf(stubs, Red), 0) << "a voicemail destination is no problem";

    SetPaths(boxes[0], "on {9} goto [Voicemail Box 200]\r\non {1} goto [Nowhere]\r\n");
    EXPECT_GT(CountIf(stubs, Red), 0) << "an unknown title's tag";

    // A module takes the title: the stub becomes a connector.
    Doc().RenameModule(ModuleOf(boxes[2]), QStringLiteral("Nowhere"));
    EXPECT_EQ(CountIf(stubs, Red), 0);
}

TEST_F(Connectors, TheStartMarkFollowsScriptPropertiesRenamesAndUndo) {
    const std::vector<int> boxes = ThreeBoxes({40, 40}, {400, 40}, {40, 300});
    CanvasScene& scene = Window().Scene();
    auto marked = [&] {
        std::vector<int> out;
        for (int box : boxes)
            if (scene.Item(box)->HasStartMark())
                out.push_back(box);
        return out;
    };
    EXPECT_EQ(scene.StartBox(), boxes[0]);
    EXPECT_EQ(marked(), std::vector<int>{boxes[0]});
    // Drawn green above the box, and no part of it for the mouse.
    const QColor green(30, 140, 60);
    EXPECT_GT(Count(QRect(40, 26, 36, 14), green), 0);
    EXPECT_EQ(scene.BoxAt(QPointF(50, 30)), 0);

    Doc().SetScriptProperties(TitleOf(boxes[2]), QString(), false);
    EXPECT_EQ(marked(), std::vector<int>{boxes[2]});
    EXPECT_EQ(Count(QRect(40, 26, 36, 14), green), 0);
    EXPECT_GT(Count(QRect(40, 286, 36, 14), green), 0);

    // Renaming the start module keeps the mark on it; the start module follows the title.
    Doc().RenameModule(ModuleOf(boxes[2]), QStringLiteral("Entry"));
    EXPECT_EQ(marked(), std::vector<int>{boxes[2]});
    EXPECT_EQ(Doc().Record().StartModule, "Entry");

    Doc().Undo(); // the rename
    EXPECT_EQ(marked(), std::vector<int>{boxes[2]});
    Doc().Undo(); // the properties
    EXPECT_EQ(marked(), std::vector<int>{boxes[0]});
    Doc().Redo();
    EXPECT_EQ(marked(), std::vector<int>{boxes[2]});

    // A start module no box shows: no mark.
    Doc().SetScriptProperties(QStringLiteral("Gone"), QString(), false);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(scene.StartBox(), 0);
}

TEST_F(Connectors, ConnectorsFollowBoxesWhileTheyAreDragged) {
    const std::vector<int> boxes = ThreeBoxes({40, 40}, {400, 40}, {40, 400});
    SetPaths(boxes[0], "on {1} goto [" + ModuleIn(boxes[1]).Title + "]\r\n");
    const Rect source{40, 40, kBoxWidth, kLongBoxHeight};
    auto arrowMiddle = [](const Rect& from, const Rect& to) {
        const ConnectorPath route = RouteConnector(from, to);
        const auto& c = route.Arrow().corners;
        return QPoint((c[0].x + c[1].x + c[2].x) / 3, (c[0].y + c[1].y + c[2].y) / 3);
    };
    const QRect area(0, 0, 800, 500);
    const QRgb grey = qRgb(221, 221, 221);
    const QPoint before = arrowMiddle(source, {400, 40, kBoxWidth, kLongBoxHeight});
    const QPoint after = arrowMiddle(source, {420, 240, kBoxWidth, kLongBoxHeight});
    EXPECT_EQ(Render(area).pixel(before), grey);

    // Halfway through a drag: the box is not dropped, its module has not moved.
    Press(TitleOfBox(boxes[1]) + QPoint(30, 0));
    MoveTo(TitleOfBox(boxes[1]) + QPoint(40, 100));
    MoveTo(TitleOfBox(boxes[1]) + QPoint(50, 200));
    ASSERT_TRUE(Canvas().Dragging());
    EXPECT_EQ(PositionOf(boxes[1]), QPoint(400, 40));
    QImage during = Render(area);
    EXPECT_NE(during.pixel(before), grey);
    EXPECT_EQ(during.pixel(after), grey);

    Release(TitleOfBox(boxes[1]) + QPoint(50, 200));
    EXPECT_EQ(PositionOf(boxes[1]), QPoint(420, 240));
    EXPECT_EQ(Render(area).pixel(after), grey);
}

} // namespace
} // namespace ry::test
