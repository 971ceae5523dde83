#include "canvas/path_layout.h"

#include "canvas/box_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace ry {
namespace {

const Size kLabel{20, 13};
const Size kTag{90, 15};

TEST(PathLayout, PathsWithRoomLeaveFromTheirPortsInPathOrderWithTheirLabels) {
    // A menu with room around it: two connectors and a stub, in that order.
    const std::vector<LayoutBox> boxes = {{{40, 40, kBoxWidth, kLongBoxHeight}, 1},
                                          {{500, 40, kBoxWidth, kLongBoxHeight}, 2},
                                          {{500, 400, kBoxWidth, kLongBoxHeight}, 3}};
    const std::vector<PathToLay> paths = {
        {0, 1, false, kLabel, {}}, {0, 2, false, kLabel, {}}, {0, -1, false, kLabel, kTag}};
    PathLayout layout;
    layout.Build(boxes, paths, RouteStyle::AroundBoxes);
    ASSERT_EQ(layout.Paths().size(), 3u);
    EXPECT_EQ(layout.LeftOut(), 0);
    int row = 0;
    for (const LaidPath& p : layout.Paths()) {
        EXPECT_TRUE(p.fromPort);
        EXPECT_TRUE(p.hasLabel);
        // Just above the path's first run to the right, which starts at the source.
        std::size_t k = 0;
        while (k + 1 < p.points.size() && p.points[k].y != p.points[k + 1].y)
            ++k;
        ASSERT_LT(k + 1, p.points.size());
        const Point run = p.points[k];
        EXPECT_LE(run.x, 40 + kBoxWidth);
        EXPECT_GT(p.points[k + 1].x, run.x);
        EXPECT_EQ(p.label.Top + p.label.Height, run.y - 1);
        EXPECT_GT(p.label.Left, run.x);
        EXPECT_GT(run.y, row) << "each row below the one before";
        row = run.y;
    }
    EXPECT_TRUE(layout.Paths()[2].hasTag);
    // The classic style keeps its shapes: no ports.
    layout.Build(boxes, paths, RouteStyle::Classic);
    for (const LaidPath& p : layout.Paths())
        EXPECT_FALSE(p.fromPort);
}

TEST(PathLayout, AProblemTagIsDrawnWhereNoRoomIsLeftOthersAreCounted) {
    // A box hemmed in: boxes right beside it and right below it leave no room for leads or
    // stubs. Its path to a title no module bears still shows its red tag; the voicemail tag and
    // the labels that find no room are counted as left out.
    std::vector<LayoutBox> boxes = {{{200, 200, kBoxWidth, kLongBoxHeight}, 1}};
    int key = 2;
    for (int dx : {-160, 0, 160})
        for (int dy : {-72, 72, 144, 216})
            boxes.push_back({{200 + dx, 200 + dy, kBoxWidth, kLongBoxHeight}, key++});
    boxes.push_back({{200 + 160, 200, kBoxWidth, kLongBoxHeight}, key++});
    const std::vector<PathToLay> paths = {{0, -1, true, kLabel, kTag},
                                          {0, -1, false, kLabel, kTag}};
    PathLayout layout;
    layout.Build(boxes, paths, RouteStyle::AroundBoxes);
    ASSERT_EQ(layout.Paths().size(), 2u);
    EXPECT_TRUE(layout.Paths()[0].hasTag) << "a problem is never left out";
    EXPECT_FALSE(layout.Paths()[1].hasTag);
    EXPECT_GE(layout.LeftOut(), 1);
}

} // namespace
} // namespace ry
