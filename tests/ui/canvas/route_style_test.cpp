// View > Route Style on the canvas: connectors around the boxes or in the classic shapes, the
// choice remembered; labels and tags on free spots, the ones left out counted in the status
// bar; a tag with one line of text per line of its destination.

#include "editing_fixture.h"

#include "canvas/canvas_scene.h"
#include "canvas/connector_painter.h"

#include <QLabel>
#include <QStatusBar>

namespace ry::test {
namespace {

class RouteStyles : public EditingTest {
protected:
    // Main Menu with three transfers stacked in one column beside it.
    std::vector<int> StackedTransfers() {
        std::vector<int> boxes = ThreeBoxes({726, 4}, {726, 144}, {726, 284});
        boxes.insert(boxes.begin(), Place(QStringLiteral("Play"), {456, 4}));
        std::string paths;
        int key = 1;
        for (std::size_t i = 1; i < boxes.size(); ++i)
            paths +=
                "on {" + std::to_string(key++) + "} goto [" + ModuleIn(boxes[i]).Title + "]\r\n";
        ModuleIn(boxes[0]).PathText = paths;
        return boxes;
    }
    const LaidConnector* ConnectorTo(int box) {
        for (const LaidConnector& c : Window().Scene().Connectors().Items())
            if (c.to == Doc().ModuleOfBox(box))
                return &c;
        return nullptr;
    }
    bool RunsThrough(const LaidConnector& c, int box) {
        const Rect r{PositionOf(box).x(), PositionOf(box).y(), 155, Doc().BoxHeight(box)};
        for (const Segment& s : c.path.Segments())
            if (Intersects({std::min(s.from.x, s.to.x), std::min(s.from.y, s.to.y),
                            std::abs(s.to.x - s.from.x) + 1, std::abs(s.to.y - s.from.y) + 1},
                           r))
                return true;
        return false;
    }
};

TEST_F(RouteStyles, AroundBoxesByDefaultClassicOnRequestAndRemembered) {
    const std::vector<int> boxes = StackedTransfers();
    QAction* around = Menu(QStringLiteral("mnuRouteAroundBoxes"));
    QAction* classic = Menu(QStringLiteral("mnuRouteClassic"));
    ASSERT_NE(around, nullptr);
    ASSERT_NE(classic, nullptr);
    EXPECT_TRUE(around->isChecked());
    EXPECT_EQ(designer_->ConnectorRouteStyle(), RouteStyle::AroundBoxes);
    // Around the boxes the connector to the last transfer passes the middle one by.
    const LaidConnector* last = ConnectorTo(boxes[3]);
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(RunsThrough(*last, boxes[2]));

    classic->trigger();
    EXPECT_EQ(designer_->ConnectorRouteStyle(), RouteStyle::Classic);
    last = ConnectorTo(boxes[3]);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(RunsThrough(*last, boxes[2])) << "the classic down route, as ever";

    Start("");
    EXPECT_TRUE(Menu(QStringLiteral("mnuRouteClassic"))->isChecked());
    EXPECT_EQ(designer_->ConnectorRouteStyle(), RouteStyle::Classic);
    Menu(QStringLiteral("mnuRouteAroundBoxes"))->trigger();
    Start("");
    EXPECT_EQ(designer_->ConnectorRouteStyle(), RouteStyle::AroundBoxes);
}

TEST_F(RouteStyles, LabelsKeepOffBoxesAndEachOtherAndTheLeftOutAreCounted) {
    const std::vector<int> boxes = StackedTransfers();
    // Every label placed lies on no box and no other label.
    std::vector<Rect> taken;
    for (int box : Doc().Boxes())
        taken.push_back({PositionOf(box).x(), PositionOf(box).y(), 155, Doc().BoxHeight(box)});
    int labels = 0;
    for (const LaidConnector& c : Window().Scene().Connectors().Items()) {
        if (!c.hasLabel)
            continue;
        ++labels;
        for (const Rect& r : taken)
            EXPECT_FALSE(Intersects(c.label, r));
        taken.push_back(c.label);
    }
    EXPECT_EQ(labels, 3);
    EXPECT_EQ(Window().Scene().Connectors().LeftOut(), 0);
    auto* count = main_->statusBar()->findChild<QLabel*>(QStringLiteral("lblLabelsLeftOut"));
    ASSERT_NE(count, nullptr);
    EXPECT_TRUE(count->isHidden());

    // A box just beside another: its connector is too short to carry a label beside it.
    const int near = Place(QStringLiteral("Play"), {40 + 155 + 12, 600});
    const int left = Place(QStringLiteral("Play"), {40, 600});
    ModuleIn(left).PathText = "on {1} goto [" + ModuleIn(near).Title + "]\r\non {2} goto [" +
                              ModuleIn(near).Title + "]\r\n";
    const int leftOut = Window().Scene().Connectors().LeftOut();
    EXPECT_EQ(leftOut, 1);
    EXPECT_FALSE(count->isHidden());
    EXPECT_EQ(count->text(), QStringLiteral("1 label left out"));
}

TEST_F(RouteStyles, ATagHoldsOneLineOfTextPerLine) {
    const std::vector<int> boxes = ThreeBoxes({40, 40}, {400, 40}, {40, 400});
    // The "[" is closed only on the next line: the destination runs over two lines.
    ModuleIn(boxes[0]).PathText =
        "on {1} goto [Sales\r\non {2} goto [" + ModuleIn(boxes[1]).Title + "]\r\n";
    const LaidConnector* stub = nullptr;
    for (const LaidConnector& c : Window().Scene().Connectors().Items())
        if (c.isStub)
            stub = &c;
    ASSERT_NE(stub, nullptr);
    ASSERT_TRUE(stub->hasTag);
    EXPECT_EQ(stub->tagText.count(QLatin1Char('\n')), 1);
    const QFontMetrics metrics([] {
        QFont f;
        f.setPixelSize(11);
        return f;
    }());
    EXPECT_GE(stub->stub.Tag.Height, 2 * metrics.height());
}

} // namespace
} // namespace ry::test
