// Edit > Arrange Modules: every box or the selected ones laid out from the start down, one step
// of the history.

#include "ui/canvas/editing_fixture.h"

#include "canvas/box_geometry.h"
#include "canvas/routes.h"

#include <QUndoStack>

namespace ry::test {
namespace {

class ArrangeModulesTest : public EditingTest {
protected:
    // Four boxes piled on one spot, the first (the start) leading to the others.
    std::vector<int> PiledUp() {
        std::vector<int> boxes = ThreeBoxes({0, 0}, {0, 0}, {0, 0});
        boxes.push_back(Place(QStringLiteral("Play"), {0, 0}));
        Doc().DeselectAllBoxes();
        std::string paths;
        for (size_t i = 1; i < boxes.size(); ++i)
            paths += "on {" + std::to_string(i) + "} goto [" + ModuleIn(boxes[i]).Title + "]\r\n";
        ModuleIn(boxes[0]).PathText = paths;
        Doc().Record().StartModule = ModuleIn(boxes[0]).Title;
        return boxes;
    }
    Rect BoxRect(int box) {
        return {PositionOf(box).x(), PositionOf(box).y(), kBoxWidth,
                BoxHeightFor(ModuleIn(box).DispSize)};
    }
};

TEST_F(ArrangeModulesTest, TheWholeScriptWithoutOverlapsAndOneUndoPutsItBack) {
    const std::vector<int> boxes = PiledUp();
    const int steps = Doc().History().count();
    Choose(QStringLiteral("mnuArrange"));
    EXPECT_EQ(Doc().History().count(), steps + 1);
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_GE(PositionOf(boxes[i]).x(), 0);
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Intersects(BoxRect(boxes[i]), BoxRect(boxes[j]))) << j << " and " << i;
        if (i > 0) {
            EXPECT_GT(PositionOf(boxes[i]).y(), PositionOf(boxes[0]).y()) << "below the start";
        }
    }
    EXPECT_TRUE(Doc().Record().Modified);

    Choose(QStringLiteral("mnuUndo"));
    for (int box : boxes)
        EXPECT_EQ(PositionOf(box), QPoint(0, 0));
}

TEST_F(ArrangeModulesTest, OnlyTheSelectedBoxesMove) {
    const std::vector<int> boxes = PiledUp();
    Doc().SelectBox(boxes[1]);
    Doc().SelectBox(boxes[2]);
    Choose(QStringLiteral("mnuArrange"));
    EXPECT_EQ(PositionOf(boxes[0]), QPoint(0, 0));
    EXPECT_EQ(PositionOf(boxes[3]), QPoint(0, 0));
    EXPECT_FALSE(Intersects(BoxRect(boxes[1]), BoxRect(boxes[2])));
}

TEST_F(ArrangeModulesTest, MoreBoxesThanTheCanvasHoldsSaysTheRoomNeededAndMovesNothing) {
    // 250 boxes in a ring cannot lie side by side on the 2000 x 2000 canvas with room for
    // their paths.
    std::vector<int> boxes;
    for (int i = 0; i < 250; ++i)
        boxes.push_back(Place(QStringLiteral("Play"), {0, 0}));
    for (std::size_t i = 0; i < boxes.size(); ++i)
        ModuleIn(boxes[i]).PathText =
            "on {1} goto [" + ModuleIn(boxes[(i + 1) % boxes.size()]).Title + "]\r\n";
    Doc().DeselectAllBoxes();
    const int steps = Doc().History().count();
    Choose(QStringLiteral("mnuArrange"));
    const QStringList shown = prompter_.MessageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("The arranged modules need ")))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral(" pixels; the design area is 2000 x 2000.")))
        << shown[0].toStdString();
    EXPECT_EQ(Doc().History().count(), steps);
    for (int box : boxes)
        EXPECT_EQ(PositionOf(box), QPoint(0, 0));
}

} // namespace
} // namespace ry::test
