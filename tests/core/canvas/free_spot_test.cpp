#include "canvas/free_spot.h"

#include <gtest/gtest.h>

#include <vector>

namespace ry {
namespace {

constexpr int kW = 155, kH = 69;

bool Overlaps(Point p, const std::vector<Rect>& taken) {
    for (const Rect& r : taken)
        if (Intersects(Rect{p.x, p.y, kW, kH}, r))
            return true;
    return false;
}

TEST(FreeSpot, FindsTheNearestFreeSpotInsideTheArea) {
    const std::vector<Rect> one{{300, 300, kW, kH}};
    // A wall of boxes along the canvas's top edge, and one filling the area's right part.
    const std::vector<Rect> wall{{0, 0, 2000, 100}};
    struct Case {
        const char* name;
        Point wanted;
        std::vector<Rect> taken;
        Point expected;
    } cases[] = {
        {"free where wanted", {100, 100}, one, {100, 100}},
        {"no boxes at all", {40, 50}, {}, {40, 50}},
        {"beyond the right and bottom edges comes back in",
         {2000, 2000},
         {},
         {1000 - kW, 800 - kH}},
        {"negative comes back to 0", {-30, -5}, {}, {0, 0}},
        // Up or down clears the box in 7 steps (up is searched first), left in 16.
        {"over a box moves the shortest way", {300, 300}, one, {300, 230}},
        {"pushed below a wall at the top", {50, 0}, wall, {50, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Point p = FreeSpot(c.wanted, kW, kH, c.taken, 1000, 800);
        EXPECT_EQ(p, c.expected);
        EXPECT_FALSE(Overlaps(p, c.taken));
    }
}

TEST(FreeSpot, KeepsItsGapAndStaysOnTheCanvas) {
    // A crowd of boxes around the wanted spot.
    std::vector<Rect> crowd;
    for (int x = 0; x < 600; x += 160)
        for (int y = 0; y < 400; y += 75)
            crowd.push_back({x, y, kW, kH});
    const Point p = FreeSpot({200, 150}, kW, kH, crowd, 1000, 800, 10);
    EXPECT_GE(p.x, 0);
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.x + kW, 1000);
    EXPECT_LE(p.y + kH, 800);
    EXPECT_FALSE(Overlaps(p, crowd));
    for (const Rect& r : crowd)
        EXPECT_FALSE(Intersects(Rect{p.x - 10, p.y - 10, kW + 20, kH + 20}, r));
}

TEST(FreeSpot, AFullAreaLeavesTheWantedSpot) {
    const std::vector<Rect> full{{0, 0, 1000, 800}};
    EXPECT_EQ(FreeSpot({120, 90}, kW, kH, full, 1000, 800), (Point{120, 90}));
    // A group larger than the area goes to its corner.
    EXPECT_EQ(FreeSpot({120, 90}, 2000, 2000, {}, 1000, 800), (Point{0, 0}));
}

} // namespace
} // namespace ry
