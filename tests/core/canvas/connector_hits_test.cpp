#include "canvas/connector_hits.h"

#include "canvas/box_geometry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace ry {
namespace {

TEST(SquaredDistanceToSegment, MeasuresToTheNearestPointOfTheLine) {
    struct Case {
        Point a, b, p;
        long long expected;
    } cases[] = {
        {{0, 0}, {10, 0}, {5, 3}, 9},    // beside a horizontal line
        {{0, 0}, {10, 0}, {-3, 4}, 25},  // beyond its start: to the end point
        {{0, 0}, {10, 0}, {14, 3}, 25},  // beyond its end
        {{4, 4}, {4, 4}, {7, 8}, 25},    // a single pixel
        {{0, 0}, {10, 10}, {10, 0}, 50}, // a slope: the foot is (5, 5)
        {{0, 0}, {3, 40}, {2, 20}, 1},   // a steep down route, not cut to its x steps
    };
    for (const Case& c : cases)
        EXPECT_EQ(SquaredDistanceToSegment(c.a, c.b, c.p), c.expected) << c.p.x << "," << c.p.y;
}

TEST(TouchesConnector, FindsEveryLineAndTheArrowButNotTheSpaceBetween) {
    // A side route with a vertical run: from the right of one box to the left of another
    // placed lower down.
    const Rect from{40, 40, kBoxWidth, kLongBoxHeight};
    const Rect to{400, 300, kBoxWidth, kLongBoxHeight};
    const ConnectorPath path = RouteConnector(from, to);
    ASSERT_GE(path.Segments().size(), 2u);
    for (const Segment& s : path.Segments()) {
        const Point middle{(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2};
        EXPECT_TRUE(TouchesConnector(path, middle, 0));
        // Across the line: 3 pixels off is on it, 5 is not.
        const bool level = s.from.y == s.to.y;
        auto across = [&](int d) {
            return level ? Point{middle.x, middle.y + d} : Point{middle.x + d, middle.y};
        };
        EXPECT_TRUE(TouchesConnector(path, across(3), 3)) << "near";
        EXPECT_TRUE(TouchesConnector(path, across(-3), 3)) << "near";
        if (std::abs(s.to.x - s.from.x) + std::abs(s.to.y - s.from.y) > 20) {
            EXPECT_FALSE(TouchesConnector(path, across(5), 3)) << "too far";
            EXPECT_FALSE(TouchesConnector(path, across(-5), 3)) << "too far";
        }
    }
    ASSERT_TRUE(path.HasArrow());
    EXPECT_TRUE(TouchesConnector(path, path.Arrow().corners[0], 0));
    // The middle of the area the route turns round is not on it.
    EXPECT_FALSE(TouchesConnector(path, {300, 100}, 3));
}

TEST(TouchesStub, FindsTheLineTheLabelAndTheTag) {
    const Rect box{40, 340, kBoxWidth, kLongBoxHeight};
    const Stub s = PlaceStub(box, 0, {20, 13}, {90, 14});
    EXPECT_TRUE(TouchesStub(s, {s.Line[0].x + 1, s.Line[0].y + 5}, 2));
    EXPECT_TRUE(TouchesStub(s, {s.Tag.Left + 40, s.Tag.Top + 7}, 0));
    EXPECT_TRUE(TouchesStub(s, {s.Label.Left + 2, s.Label.Top + 2}, 0));
    EXPECT_FALSE(TouchesStub(s, {s.Tag.Left + s.Tag.Width + 10, s.Tag.Top}, 2));
    EXPECT_FALSE(TouchesStub(s, {s.Line[0].x - 20, s.Line[1].y - 10}, 2));
}

TEST(PathLineOfLink, GivesTheWholeLineOfTheNthPath) {
    const std::string text = "on {1} goto [Menu]\r\n"
                             "  ON {timeout 5} goto [Voicemail Box 12]  \r\n"
                             "rem a note\r\n"
                             "on {2} goto [Menu]"; // the last line without its end
    EXPECT_EQ(PathLineOfLink(text, 0), "on {1} goto [Menu]");
    EXPECT_EQ(PathLineOfLink(text, 1), "ON {timeout 5} goto [Voicemail Box 12]");
    EXPECT_EQ(PathLineOfLink(text, 2), "on {2} goto [Menu]");
    EXPECT_EQ(PathLineOfLink(text, 3), "");
    EXPECT_EQ(PathLineOfLink(text, -1), "");
    EXPECT_EQ(PathLineOfLink("", 0), "");
    // Two paths on one line: both give that line.
    const std::string joined = "on {1} goto [A] on {2} goto [B]\r\n";
    EXPECT_EQ(PathLineOfLink(joined, 1), "on {1} goto [A] on {2} goto [B]");
}

} // namespace
} // namespace ry
