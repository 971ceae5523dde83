#include "canvas/labels.h"

#include "canvas/box_geometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ry {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

TEST(GroupPaths, PathsEndingAtTheSamePlaceShareOneGroup) {
    // Modules 1 and 2; "Gone" names no module.
    const std::vector<ScriptPath> paths = {
        {1, 2, 0, "1", "Two"},
        {1, 2, 1, "2", "Two"},
        {1, 1, 2, "timeout 5", "One"},
        {2, 2, 0, "1", "Two"}, // another module's path to the same place: its own group
        {1, 2, 3, "1", "Two"}, // the same trigger again reads once
        {1, 2, 4, "", "Two"},  // no trigger adds nothing to the text
        {1, -1, 5, "9", "Voicemail Box 200"},
        {1, -1, 6, "#", "voicemail box 200"}, // another text: another stub
        {1, -1, 7, "fail", "Gone"},
        {1, -1, 8, "success", "Gone"},
    };
    const std::vector<PathGroup> groups = GroupPaths(paths);
    struct Expected {
        PathGroup::Kind kind;
        std::int16_t from, to;
        std::string_view destination, triggers;
        int line;
    };
    using K = PathGroup::Kind;
    const Expected expected[] = {
        {K::Module, 1, 2, "Two", "1, 2", 0},
        {K::Module, 1, 1, "One", "timeout 5", 2},
        {K::Module, 2, 2, "Two", "1", 0},
        {K::Voicemail, 1, -1, "Voicemail Box 200", "9", 5},
        {K::Voicemail, 1, -1, "voicemail box 200", "#", 6},
        {K::Unknown, 1, -1, "Gone", "fail, success", 7},
    };
    ASSERT_EQ(groups.size(), std::size(expected));
    for (std::size_t i = 0; i < groups.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(groups[i].kind, expected[i].kind);
        EXPECT_EQ(groups[i].From, expected[i].from);
        EXPECT_EQ(groups[i].To, expected[i].to);
        EXPECT_EQ(groups[i].Destination, expected[i].destination);
        EXPECT_EQ(groups[i].Triggers, expected[i].triggers);
        EXPECT_EQ(groups[i].Line, expected[i].line);
    }
}

TEST(GroupPaths, ATriggerThatOnlyBeginsLikeAnotherIsKept) {
    const std::vector<ScriptPath> paths = {{1, 2, 0, "1, 2", "Two"}, {1, 2, 1, "1", "Two"}};
    EXPECT_EQ(GroupPaths(paths).at(0).Triggers, "1, 2, 1");
}

Rect Box(int left, int top, int height = kLongBoxHeight) {
    return {left, top, kBoxWidth, height};
}

Rect LabelFor(const Rect& source, const Rect& dest, Size size = {40, 13}) {
    return PlaceLabel(RouteConnector(source, dest), size, source, dest);
}

TEST(PlaceLabel, SitsBesideTheLineThatLeadsToTheDestination) {
    const Rect source = Box(40, 340);
    struct Case {
        const char* what;
        Rect dest;
        Rect label;
    };
    const Case cases[] = {
        // Level to the right, one straight line from (195, 374): above its middle.
        {"side, straight", Box(300, 340), {222, 358, 40, 13}},
        // Higher to the right: above the last run (y 294), just after the bend.
        {"side, bent", Box(560, 260), {217, 278, 40, 13}},
        // Straight below, one line down from (118, 409): right of its middle.
        {"down, straight", Box(40, 480), {122, 433, 40, 13}},
        // Below and to the right: right of the last run down at x 638, below its bend.
        {"down, bent", Box(560, 480), {642, 430, 40, 13}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelFor(source, c.dest), c.label) << c.what;
}

TEST(PlaceLabel, NeverCoversItsOwnBoxAndAvoidsTheDestination) {
    // The destination all round the source, overlapping it included, and the source itself.
    const Rect source = Box(300, 300);
    const Size sizes[] = {{8, 13}, {60, 13}, {150, 13}};
    for (Size size : sizes)
        for (int dy = -200; dy <= 200; dy += 7)
            for (int dx = -400; dx <= 400; dx += 11) {
                const Rect dest = Box(source.Left + dx, source.Top + dy);
                const Rect label = LabelFor(source, dest, size);
                SCOPED_TRACE(testing::Message()
                             << "dx " << dx << " dy " << dy << " width " << size.Width);
                EXPECT_FALSE(Intersects(label, source));
                EXPECT_GE(label.Left, 0);
                EXPECT_GE(label.Top, 0);
                // Boxes with room for the label between them.
                const int gapX = std::abs(dx) - kBoxWidth, gapY = std::abs(dy) - kLongBoxHeight;
                if (gapX > size.Width + 24 || gapY > 2 * size.Height + 20) {
                    EXPECT_FALSE(Intersects(label, dest));
                }
            }
    // A path to the box itself: beside the loop round its lower left.
    const Rect self = LabelFor(source, source);
    EXPECT_FALSE(Intersects(self, source));
    EXPECT_LT(self.Left, source.Left);
}

TEST(PlaceLabel, StaysOnTheCanvasNearItsTopLeftCorner) {
    // A loop from a box at the very corner has no room left of it.
    for (const Rect& dest : {Box(0, 0), Box(0, 0, kShortBoxHeight)}) {
        const Rect label = LabelFor(dest, dest, {60, 13});
        EXPECT_GE(label.Left, 0);
        EXPECT_GE(label.Top, 0);
        EXPECT_FALSE(Intersects(label, dest));
    }
}

} // namespace
} // namespace ry
