#include "canvas/around_boxes.h"

#include "canvas/box_geometry.h"
#include "drawing_checks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ry {
namespace {

constexpr int W = kBoxWidth, H = kLongBoxHeight;

// Boxes spread at random over an area, never closer to each other than `gap`.
std::vector<Rect> RandomBoxes(int count, int width, int height, int gap, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> x(0, width - W), y(0, height - H);
    std::vector<Rect> boxes;
    for (int tries = 0; static_cast<int>(boxes.size()) < count && tries < 100000; ++tries) {
        const Rect r{x(random), y(random), W, tries % 3 == 0 ? kShortBoxHeight : H};
        const Rect clear{r.Left - gap, r.Top - gap, r.Width + 2 * gap, r.Height + 2 * gap};
        if (std::none_of(boxes.begin(), boxes.end(),
                         [&](const Rect& b) { return Intersects(b, clear); }))
            boxes.push_back(r);
    }
    return boxes;
}

std::vector<RouteEnds> RandomEnds(int boxes, int perBox, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> any(0, boxes - 1);
    std::vector<RouteEnds> ends;
    for (int b = 0; b < boxes; ++b)
        for (int k = 0; k < perBox; ++k)
            ends.push_back({b, any(random)});
    return ends;
}

// Every route of a drawing: clear of the boxes, orthogonal, leaving and entering where the
// classic shape does, and on no lane with (nor closer than kLaneSeparation beside) a route to
// another destination.
void ExpectReadable(const std::vector<Rect>& boxes, const std::vector<RouteEnds>& ends,
                    const std::vector<Polyline>& routes, int maxBends, int sharedAllowed = 0) {
    int shared = 0;
    ASSERT_EQ(routes.size(), ends.size());
    for (std::size_t i = 0; i < routes.size(); ++i) {
        SCOPED_TRACE("route " + std::to_string(i) + " from box " + std::to_string(ends[i].from) +
                     " to " + std::to_string(ends[i].to));
        const Rect& from = boxes[static_cast<std::size_t>(ends[i].from)];
        const Rect& to = boxes[static_cast<std::size_t>(ends[i].to)];
        const Polyline classic = ClassicPolyline(from, to);
        const Polyline& r = routes[i];
        ASSERT_GE(r.points.size(), 2u);
        EXPECT_TRUE(test::Orthogonal(r));
        EXPECT_EQ(r.points.back(), classic.points.back()) << "the arrow's tip";
        EXPECT_EQ(r.arrow, classic.arrow);
        // The start may slide along the side the classic shape leaves by.
        const Point start = r.points.front(), classicStart = classic.points.front();
        if (classicStart.y == from.Top + from.Height) {
            EXPECT_EQ(start.y, classicStart.y);
            EXPECT_GT(start.x, from.Left);
            EXPECT_LT(start.x, from.Left + from.Width - 1);
        } else {
            EXPECT_EQ(start.x, classicStart.x);
            EXPECT_GT(start.y, from.Top);
            EXPECT_LT(start.y, from.Top + from.Height - 1);
        }
        EXPECT_LE(static_cast<int>(r.points.size()) - 2, maxBends);
        if (from.Left != to.Left || from.Top != to.Top) { // not a box's path to itself
            EXPECT_EQ(test::LineThroughABox(r, boxes), "");
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (ends[k].to != ends[i].to && test::ShareALane(r, routes[k])) {
                ++shared;
                EXPECT_GT(sharedAllowed, 0) << "shares a lane with route " << k;
            }
        }
    }
    EXPECT_LE(shared, sharedAllowed);
}

TEST(RouteAround, ThreeTransfersStackedUnderAMenuEachReachTheirOwnBox) {
    // Main Menu with Sales beside it and Support and Operator below Sales: the classic route to
    // Operator runs down through Support.
    const std::vector<Rect> boxes{
        {456, 4, W, H}, {726, 4, W, H}, {726, 144, W, H}, {726, 284, W, H}};
    const std::vector<RouteEnds> ends{{0, 1}, {0, 2}, {0, 3}};
    EXPECT_NE(test::LineThroughABox(ClassicPolyline(boxes[0], boxes[3]), boxes), "");
    const std::vector<Polyline> routes = RouteAll(boxes, ends);
    ExpectReadable(boxes, ends, routes, 4);
    // The route to Operator still comes down onto its top.
    EXPECT_EQ(routes[2].points.back(), (Point{804, 284}));
    EXPECT_EQ(routes[2].arrow, ArrowKind::South);
}

TEST(RouteAround, KeepsTheClassicShapeWhereItRunsClear) {
    struct Case {
        const char* name;
        Rect source, dest;
    };
    const Case cases[] = {
        {"down with two bends", {100, 100, W, H}, {400, 300, W, H}},
        {"straight down", {100, 100, W, H}, {100, 300, W, H}},
        {"side with two bends", {100, 100, W, H}, {400, 150, W, H}},
        {"loop up to the left", {400, 100, W, H}, {100, 0, W, H}},
        {"a box to itself", {400, 100, W, H}, {400, 100, W, H}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Rect> boxes{c.source, c.dest};
        const BoxGrid grid(&boxes);
        const Polyline classic = ClassicPolyline(c.source, c.dest);
        EXPECT_EQ(RouteAround(grid, 0, c.source == c.dest ? 0 : 1), classic);
    }
}

TEST(RouteAround, GoesRoundABoxInTheWayWithFewBends) {
    // A box right between a source and the box straight below it.
    const std::vector<Rect> boxes{{100, 100, W, H}, {100, 400, W, H}, {100, 250, W, H}};
    const std::vector<RouteEnds> ends{{0, 1}};
    const std::vector<Polyline> routes = RouteAll(boxes, ends);
    ExpectReadable(boxes, ends, routes, 4);
    // No wider than the lane beside the box in the way.
    for (const Point& p : routes[0].points) {
        EXPECT_GE(p.x, 100 - 30);
        EXPECT_LE(p.x, 100 + W + 30);
    }
}

TEST(RouteAround, PathsToOneDestinationJoinAndOthersKeepApart) {
    // Two sources side by side above two destinations: the classic routes of the first
    // source's two paths leave through the same point and run along the same row.
    const std::vector<Rect> boxes{
        {100, 100, W, H}, {300, 100, W, H}, {600, 300, W, H}, {900, 300, W, H}};
    const std::vector<RouteEnds> ends{{0, 2}, {0, 3}, {1, 2}, {1, 3}};
    const std::vector<Polyline> routes = RouteAll(boxes, ends);
    ExpectReadable(boxes, ends, routes, 4);
    // Both paths into box 2 arrive at the same tip, as one trunk.
    EXPECT_EQ(routes[0].points.back(), routes[2].points.back());
}

TEST(RouteAround, RandomDrawingsStayReadable) {
    // Crowded drawings have long routes through narrow gaps, some of which carry more lines than
    // they have room for: there a few pairs of lines still run closer than reads as two.
    struct Case {
        int boxes, perBox;
        unsigned seed;
        int sharedAllowed;
    };
    for (const Case& c : {Case{40, 2, 1, 0}, Case{150, 2, 7, 40}, Case{150, 3, 11, 175}}) {
        SCOPED_TRACE(std::to_string(c.boxes) + " boxes, seed " + std::to_string(c.seed));
        const std::vector<Rect> boxes = RandomBoxes(c.boxes, 3600, 2400, 40, c.seed);
        const std::vector<RouteEnds> ends =
            RandomEnds(static_cast<int>(boxes.size()), c.perBox, c.seed);
        ExpectReadable(boxes, ends, RouteAll(boxes, ends), 14, c.sharedAllowed);
    }
}

TEST(SpreadApart, ABoxMovedLeavesTheRoutesItDoesNotTouchInTheirLanes) {
    // As while a box is dragged: laid out, one box moved, laid out again with the memo. Routes
    // whose own search comes out as before keep their shapes, but for the few a moved line
    // had to make way for.
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<Rect> boxes = RandomBoxes(100, 1950, 2000, 40, seed);
        const std::vector<RouteEnds> ends = RandomEnds(static_cast<int>(boxes.size()), 2, seed);
        std::vector<int> destination;
        for (const RouteEnds& e : ends)
            destination.push_back(e.to);
        RouteMemo memo;
        auto layOut = [&](std::vector<Polyline>& searched) {
            const BoxGrid grid(&boxes);
            searched.clear();
            for (const RouteEnds& e : ends)
                searched.push_back(RouteAround(grid, e.from, e.to));
            std::vector<Polyline> laid = searched;
            SpreadApart(laid, destination, grid, &memo);
            return laid;
        };
        std::vector<Polyline> searchedBefore, searchedAfter;
        const std::vector<Polyline> before = layOut(searchedBefore);
        boxes[0].Left += 30;
        boxes[0].Top += 20;
        const std::vector<Polyline> after = layOut(searchedAfter);
        // As readable as a layout from scratch (as crowded as the random drawings above).
        ExpectReadable(boxes, ends, after, 14, static_cast<int>(ends.size()) / 5);
        int untouched = 0, moved = 0;
        for (std::size_t i = 0; i < ends.size(); ++i)
            if (searchedBefore[i] == searchedAfter[i]) {
                ++untouched;
                moved += !(before[i] == after[i]);
            }
        EXPECT_GT(untouched, static_cast<int>(ends.size()) * 3 / 4);
        EXPECT_LE(moved * 20, untouched) << moved << " of " << untouched << " moved";
    }
}

TEST(SpreadApart, TwoLinesMovedAtOnceKeepTheirCornerOutOfBoxes) {
    // Two routes to different destinations along the same two lines. Moving the second route's
    // level line down and its upright line right keeps each clear on its own, but together they
    // move the corner between them, and the level line then reaches into the small box.
    const std::vector<Rect> boxes{{-10, -20, 40, 20}, {101, 53, 4, 5}};
    const std::vector<Polyline> shared{
        {{{0, 0}, {0, 50}, {100, 50}, {100, 150}, {300, 150}}, ArrowKind::East},
        {{{0, 0}, {0, 50}, {100, 50}, {100, 150}, {100, 300}}, ArrowKind::South}};
    std::vector<Polyline> routes = shared;
    const BoxGrid grid(&boxes);
    SpreadApart(routes, {1, 2}, grid);
    for (const Polyline& r : routes)
        EXPECT_EQ(test::LineThroughABox(r, boxes), "");
}

TEST(SpreadApart, NoLineIsMovedRightBesideABoxSide) {
    // Two routes down the same lane between two boxes 6 pixels off it on each side: a lane
    // kLaneSpacing aside would run a pixel from a box's side, where it reads as its frame.
    const std::vector<Rect> boxes{{60, -30, 80, 20},
                                  {30, 100, 65, 200},
                                  {106, 100, 65, 200},
                                  {60, 500, 80, 30},
                                  {200, 500, 80, 30}};
    std::vector<Polyline> routes{
        {{{100, -10}, {100, 50}, {90, 50}, {90, 80}, {100, 80}, {100, 500}}, ArrowKind::South},
        {{{100, -10}, {100, 50}, {90, 50}, {90, 80}, {100, 80}, {100, 400}, {240, 400}, {240, 500}},
         ArrowKind::South}};
    const BoxGrid grid(&boxes);
    SpreadApart(routes, {3, 4}, grid);
    for (const Polyline& r : routes) {
        EXPECT_EQ(test::LineThroughABox(r, boxes), "");
        for (std::size_t i = 1; i + 2 < r.points.size(); ++i) { // the lines between the ends
            const Point a = r.points[i], b = r.points[i + 1];
            Rect beside = SegmentPixels(a, b);
            const int clear = kLaneSeparation - 1;
            (a.x == b.x ? beside.Left : beside.Top) -= clear;
            (a.x == b.x ? beside.Width : beside.Height) += 2 * clear;
            for (const Rect& box : boxes)
                EXPECT_FALSE(Intersects(beside, box))
                    << "line " << i << " at " << a.x << "," << a.y;
        }
    }
}

TEST(SpreadApart, ALineInAGapTooNarrowForTwoFindsAnotherWay) {
    // Two routes from one box to two boxes below come down the same upright line through a gap
    // between two boxes that has room for that one line only.
    const std::vector<Rect> boxes{{0, -30, 40, 20},
                                  {-2, 100, 102, 60},
                                  {101, 100, 100, 60},
                                  {60, 440, 100, 30},
                                  {-100, 440, 140, 30}};
    std::vector<Polyline> routes{
        {{{20, -10}, {20, 40}, {100, 40}, {100, 440}}, ArrowKind::South},
        {{{20, -10}, {20, 40}, {100, 40}, {100, 300}, {-40, 300}, {-40, 440}}, ArrowKind::South}};
    for (const Polyline& r : routes)
        ASSERT_EQ(test::LineThroughABox(r, boxes), "");
    const std::vector<Polyline> before = routes;
    const BoxGrid grid(&boxes);
    SpreadApart(routes, {3, 4}, grid);
    for (std::size_t i = 0; i < routes.size(); ++i) {
        EXPECT_EQ(test::LineThroughABox(routes[i], boxes), "");
        EXPECT_TRUE(test::Orthogonal(routes[i]));
        EXPECT_EQ(routes[i].points.back(), before[i].points.back());
        EXPECT_LE(routes[i].points.size(), ConnectorPath::kMaxSegments + 1);
    }
    EXPECT_FALSE(test::ShareALane(routes[0], routes[1]));

    // Laid out again with what the searches found kept, the same routes come out.
    RouteMemo memo;
    std::vector<Polyline> first = before, again = before;
    SpreadApart(first, {3, 4}, grid, &memo);
    SpreadApart(again, {3, 4}, grid, &memo);
    EXPECT_EQ(first, routes);
    EXPECT_EQ(again, routes);
}

TEST(SpreadApart, LaidOutAgainWithTheMemoTheRoutesComeOutAsTheyDid) {
    const int L = kLongBoxHeight, S = kShortBoxHeight;
    struct Case {
        const char* name;
        std::vector<Rect> boxes;
        std::vector<RouteEnds> ends;
    };
    const Case cases[] = {
        {"two connectors from box 4 to box 2 stand alike; only one is searched again",
         {{487, 1213, W, L},
          {467, 467, W, L},
          {467, 467, W, L},
          {326, 1220, W, L},
          {217, 1524, W, S},
          {1696, 616, W, S},
          {302, 877, W, L}},
         {{4, 2}, {5, 1}, {2, 4}, {4, 2}}},
        {"boxes on top of each other: routes that cannot keep clear of them",
         {{487, 1213, W, L},
          {467, 467, W, L},
          {467, 467, W, L},
          {467, 467, W, L},
          {470, 470, W, S},
          {470, 470, W, S},
          {470, 470, W, S}},
         {{4, 3}, {0, 5}, {2, 6}, {3, 3}, {1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BoxGrid grid(&c.boxes);
        std::vector<Polyline> first;
        std::vector<int> destination;
        for (const RouteEnds& e : c.ends) {
            first.push_back(RouteAround(grid, e.from, e.to));
            destination.push_back(e.to);
        }
        std::vector<Polyline> again = first;
        RouteMemo memo;
        SpreadApart(first, destination, grid, &memo);
        SpreadApart(again, destination, grid, &memo);
        EXPECT_EQ(again, first);
    }
}

TEST(DrawPolyline, RoundsBendsWhereTheLinesAllowAndEndsInTheArrow) {
    const Polyline route{{{100, 100}, {100, 140}, {300, 140}, {300, 200}}, ArrowKind::South};
    const ConnectorPath path = DrawPolyline(route);
    ASSERT_EQ(path.Segments().size(), 3u);
    EXPECT_EQ(path.Segments()[0].from, (Point{100, 100}));
    EXPECT_EQ(path.Segments()[0].to, (Point{100, 136})); // 4 short of the bend
    EXPECT_EQ(path.Segments()[2].to, (Point{300, 200}));
    EXPECT_EQ(path.BendPixels().size(), 10u);
    ASSERT_TRUE(path.HasArrow());
    EXPECT_EQ(path.Arrow().corners[0], (Point{300, 200}));

    // A step of 3 pixels has no room for rounded bends: sharp corners.
    const Polyline step{{{100, 100}, {114, 100}, {114, 103}, {160, 103}}, ArrowKind::East};
    const ConnectorPath sharp = DrawPolyline(step);
    EXPECT_EQ(sharp.BendPixels().size(), 0u);
    ASSERT_EQ(sharp.Segments().size(), 3u);
    EXPECT_EQ(sharp.Segments()[1].from, (Point{114, 100}));
    EXPECT_EQ(sharp.Segments()[1].to, (Point{114, 103}));
}

} // namespace
} // namespace ry
