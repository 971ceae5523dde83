#include "canvas/routes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace ry {

void PrintTo(const Point& p, std::ostream* os) {
    *os << "(" << p.x << "," << p.y << ")";
}
void PrintTo(const Segment& s, std::ostream* os) {
    PrintTo(s.from, os);
    *os << "-";
    PrintTo(s.to, os);
}
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.Left << "," << r.Top << "," << r.Width << "," << r.Height << "}";
}

namespace {

template <class T, std::size_t N> std::vector<T> ToVector(const FixedList<T, N>& list) {
    return std::vector<T>(list.begin(), list.end());
}

// The bend points of a path: the first pixel each bend paints.
std::vector<Point> BendPoints(const ConnectorPath& path) {
    std::vector<Point> points;
    for (std::size_t i = 0; i < path.BendPixels().size(); i += 5)
        points.push_back(path.BendPixels()[i]);
    return points;
}

TEST(RouteAnchors, HalvesGoToTheEvenNeighbour) {
    struct Case {
        Rect box;
        Point rightMiddle;
        Point bottomCentre;
    };
    const Case cases[] = {
        // 34.5 and 77.5 past an even edge: the middle rounds down, the centre up.
        {{100, 100, 155, 69}, {255, 134}, {178, 169}},
        // Past an odd edge the other way round.
        {{101, 101, 155, 69}, {256, 136}, {178, 170}},
        // A short box has no half.
        {{100, 101, 155, 24}, {255, 113}, {178, 125}},
        // Negative edges round the same way, not towards zero.
        {{-3, -100, 155, 69}, {152, -66}, {74, -31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.box));
        EXPECT_EQ(RightMiddle(c.box), c.rightMiddle);
        EXPECT_EQ(LeftMiddle(c.box), (Point{c.box.Left, c.rightMiddle.y}));
        EXPECT_EQ(BottomCentre(c.box), c.bottomCentre);
        EXPECT_EQ(TopCentre(c.box), (Point{c.bottomCentre.x, c.box.Top}));
    }
}

TEST(RouteCorner, EachTurnPaintsItsCurveAndMovesThePen) {
    using D = Direction;
    struct Case {
        D in;
        D out;
        std::vector<Point> pixels; // after the bend point (50, 60)
        Point pen;
    };
    const Case cases[] = {
        {D::East, D::North, {{51, 59}, {52, 59}, {53, 58}, {53, 57}}, {54, 56}},
        {D::East, D::South, {{51, 61}, {52, 61}, {53, 62}, {53, 63}}, {54, 64}},
        {D::South, D::East, {{51, 61}, {51, 62}, {52, 63}, {53, 63}}, {54, 64}},
        {D::South, D::West, {{49, 61}, {49, 62}, {48, 63}, {47, 63}}, {46, 64}},
        {D::West, D::North, {{49, 59}, {48, 59}, {47, 58}, {47, 57}}, {46, 56}},
        {D::West, D::South, {{49, 61}, {48, 61}, {47, 62}, {47, 63}}, {46, 64}},
        {D::North, D::East, {{51, 59}, {51, 58}, {52, 57}, {53, 57}}, {54, 56}},
        {D::North, D::West, {{49, 59}, {49, 58}, {48, 57}, {47, 57}}, {46, 56}},
        // An outgoing direction that is not the first turn takes the second one.
        {D::East, D::West, {{51, 61}, {52, 61}, {53, 62}, {53, 63}}, {54, 64}},
        {D::North, D::South, {{49, 59}, {49, 58}, {48, 57}, {47, 57}}, {46, 56}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "in " << static_cast<int>(c.in) << " out " << static_cast<int>(c.out));
        ConnectorPath path;
        path.MoveTo({20, 60});
        DrawCorner(path, 50, 60, c.in, c.out);

        std::vector<Point> expected{{50, 60}};
        expected.insert(expected.end(), c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(ToVector(path.BendPixels()), expected);
        EXPECT_EQ(ToVector(path.Segments()), (std::vector<Segment>{{{20, 60}, {50, 60}}}));
        EXPECT_EQ(path.Pen(), c.pen);
    }
}

TEST(RouteArrowHead, TipOnTheEndPointPointingEastOrSouth) {
    ConnectorPath east;
    DrawArrowHead(east, 100, 50, ArrowKind::East);
    EXPECT_EQ(east.Arrow(), (ArrowHead{ArrowKind::East, {{{100, 50}, {90, 45}, {90, 55}}}}));

    ConnectorPath south;
    DrawArrowHead(south, 100, 50, ArrowKind::South);
    EXPECT_EQ(south.Arrow(), (ArrowHead{ArrowKind::South, {{{100, 50}, {95, 40}, {105, 40}}}}));
    EXPECT_EQ(south.Bounds(), (Rect{95, 40, 11, 11}));
}

// Every row routes from the source box S below to a destination box; the numbers were worked
// out by hand from the route rules. S has right middle (555, 134), bottom centre (478, 169).
constexpr Rect kSource{400, 100, 155, 69};

struct RouteCase {
    const char* name;
    Rect source;
    Rect dest;
    RouteKind kind;
    std::vector<Segment> segments;
    std::vector<Point> bends;
};

const std::vector<RouteCase>& RouteCases() {
    using K = RouteKind;
    static const std::vector<RouteCase> cases = {
        // Down routes.
        {"top exactly 28 below, far to the side: down with two bends",
         kSource,
         {900, 197, 155, 69},
         K::Down,
         {{{478, 169}, {478, 179}}, {{482, 183}, {974, 183}}, {{978, 187}, {978, 197}}},
         {{478, 179}, {974, 183}}},
        {"far below to the left: down, bending west",
         kSource,
         {100, 300, 155, 69},
         K::Down,
         {{{478, 169}, {478, 179}}, {{474, 183}, {182, 183}}, {{178, 187}, {178, 300}}},
         {{478, 179}, {182, 183}}},
        {"centred 18 to the side, 11 below: one straight line",
         kSource,
         {418, 180, 155, 69},
         K::Down,
         {{{478, 169}, {496, 180}}},
         {}},
        // A box is 155 wide, so its centre is always even; a 154 wide one reaches 19.
        {"centred 19 to the side, 28 below: two bends",
         kSource,
         {420, 197, 154, 69},
         K::Down,
         {{{478, 169}, {478, 179}}, {{482, 183}, {493, 183}}, {{497, 187}, {497, 197}}},
         {{478, 179}, {493, 183}}},
        {"centred 19 to the side, 11 below: not straight below, loops",
         kSource,
         {420, 180, 154, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {410, 183}},
          {{406, 187}, {406, 210}},
          {{410, 214}, {420, 214}}},
         {{478, 179}, {410, 183}, {406, 210}}},
        {"centred right below, only 10 below: loops",
         kSource,
         {400, 179, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {390, 183}},
          {{386, 187}, {386, 210}},
          {{390, 214}, {400, 214}}},
         {{478, 179}, {390, 183}, {386, 210}}},

        // Side routes.
        {"top 27 below, far to the right: side route",
         kSource,
         {900, 196, 155, 69},
         K::Side,
         {{{555, 134}, {565, 134}}, {{569, 138}, {569, 226}}, {{573, 230}, {900, 230}}},
         {{565, 134}, {569, 226}}},
        {"left side exactly 28 right, far above: side route going up",
         kSource,
         {583, 0, 155, 69},
         K::Side,
         {{{555, 134}, {565, 134}}, {{569, 130}, {569, 38}}, {{573, 34}, {583, 34}}},
         {{565, 134}, {569, 38}}},
        {"middles 8 apart: one straight line",
         kSource,
         {700, 130, 155, 24},
         K::Side,
         {{{555, 134}, {700, 142}}},
         {}},
        {"middles 9 apart: two bends",
         kSource,
         {700, 131, 155, 24},
         K::Side,
         {{{555, 134}, {565, 134}}, {{569, 138}, {569, 139}}, {{573, 143}, {700, 143}}},
         {{565, 134}, {569, 139}}},
        {"level, 11 to the right: one straight line",
         kSource,
         {566, 100, 155, 69},
         K::Side,
         {{{555, 134}, {566, 134}}},
         {}},
        // The bends of so near a neighbour lie past its left side, so the last run turns back.
        {"11 to the right, middles 18 apart: side route with two bends",
         kSource,
         {566, 140, 155, 24},
         K::Side,
         {{{555, 134}, {565, 134}}, {{569, 138}, {569, 148}}, {{573, 152}, {566, 152}}},
         {{565, 134}, {569, 148}}},

        // Loop routes.
        {"top 27 below, far to the left: loop down the destination's left",
         kSource,
         {100, 196, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {90, 183}},
          {{86, 187}, {86, 226}},
          {{90, 230}, {100, 230}}},
         {{478, 179}, {90, 183}, {86, 226}}},
        {"left side 27 right, far above: loop up well left of the source",
         kSource,
         {582, 0, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {391, 183}},
          {{387, 179}, {387, 38}},
          {{391, 34}, {582, 34}}},
         {{478, 179}, {391, 183}, {387, 38}}},
        {"level, only 10 to the right: loop",
         kSource,
         {565, 100, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {391, 183}},
          {{387, 179}, {387, 138}},
          {{391, 134}, {565, 134}}},
         {{478, 179}, {391, 183}, {387, 138}}},
        {"11 to the right, middles 19 apart: loop",
         kSource,
         {566, 141, 155, 24},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {391, 183}},
          {{387, 179}, {387, 157}},
          {{391, 153}, {566, 153}}},
         {{478, 179}, {391, 183}, {387, 157}}},
        {"level, far to the left: run 14 left of the destination",
         kSource,
         {100, 100, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {90, 183}},
          {{86, 179}, {86, 138}},
          {{90, 134}, {100, 134}}},
         {{478, 179}, {90, 183}, {86, 138}}},
        {"above, near to the left: run 91 left of the source's centre",
         kSource,
         {402, 0, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {391, 183}},
          {{387, 179}, {387, 38}},
          {{391, 34}, {402, 34}}},
         {{478, 179}, {391, 183}, {387, 38}}},
        {"overlapping, up and to the right",
         kSource,
         {450, 120, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {391, 183}},
          {{387, 179}, {387, 158}},
          {{391, 154}, {450, 154}}},
         {{478, 179}, {391, 183}, {387, 158}}},
        {"overlapping, middle just below the source: run 8 left of the source's centre",
         kSource,
         {490, 136, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}}, {{470, 179}, {470, 174}}, {{474, 170}, {490, 170}}},
         {{478, 179}, {474, 183}, {470, 174}}},
        {"overlapping, below and more than 14 right: one bend",
         kSource,
         {500, 150, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 180}}, {{482, 184}, {500, 184}}},
         {{478, 180}}},
        {"loop row within 8 of the destination's middle: moved 8 below it",
         kSource,
         {480, 145, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 184}}, {{474, 188}, {470, 188}}, {{470, 180}, {480, 180}}},
         {{478, 184}, {470, 188}, {466, 184}}},
        {"loop row exactly 8 above the destination's middle: kept",
         kSource,
         {480, 179, 155, 24},
         K::Loop,
         {{{478, 169}, {478, 179}}, {{474, 183}, {470, 183}}, {{470, 191}, {480, 191}}},
         {{478, 179}, {470, 183}, {466, 187}}},
        {"middle only 4 below the source's bottom: no single bend",
         kSource,
         {500, 161, 155, 24},
         K::Loop,
         {{{478, 169}, {478, 179}}, {{470, 179}, {470, 177}}, {{474, 173}, {500, 173}}},
         {{478, 179}, {474, 183}, {470, 177}}},
        {"below but only 14 right of the centre: no single bend, row moved",
         kSource,
         {492, 150, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 188}}, {{474, 184}, {492, 184}}},
         {{478, 188}, {474, 192}, {470, 188}}},
        {"a box to itself: round its lower left into its left side",
         kSource,
         kSource,
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {390, 183}},
          {{386, 179}, {386, 138}},
          {{390, 134}, {400, 134}}},
         {{478, 179}, {390, 183}, {386, 138}}},
        {"a box at an odd left edge to itself: still 14 left of it",
         {401, 100, 155, 69},
         {401, 100, 155, 69},
         K::Loop,
         {{{478, 169}, {478, 179}},
          {{474, 183}, {391, 183}},
          {{387, 179}, {387, 138}},
          {{391, 134}, {401, 134}}},
         {{478, 179}, {391, 183}, {387, 138}}},
        {"a short box to itself",
         {400, 100, 155, 24},
         {400, 100, 155, 24},
         K::Loop,
         {{{478, 124}, {478, 134}},
          {{474, 138}, {390, 138}},
          {{386, 134}, {386, 116}},
          {{390, 112}, {400, 112}}},
         {{478, 134}, {390, 138}, {386, 116}}},
    };
    return cases;
}

TEST(RouteConnector, TableOfPositions) {
    for (const RouteCase& c : RouteCases()) {
        SCOPED_TRACE(c.name);
        const Route route = ChooseRoute(c.source, c.dest);
        EXPECT_EQ(route.kind, c.kind);

        const ConnectorPath path = RouteConnector(c.source, c.dest);
        EXPECT_EQ(ToVector(path.Segments()), c.segments);
        EXPECT_EQ(BendPoints(path), c.bends);
        EXPECT_EQ(path.BendPixels().size(), 5 * c.bends.size());

        // The route ends on the destination's edge with the arrow kind that enters it there.
        ASSERT_TRUE(path.HasArrow());
        const Point end = c.kind == RouteKind::Down ? TopCentre(c.dest) : LeftMiddle(c.dest);
        EXPECT_EQ(route.to, end);
        EXPECT_EQ(path.Arrow().corners[0], end);
        EXPECT_EQ(path.Arrow().kind,
                  c.kind == RouteKind::Down ? ArrowKind::South : ArrowKind::East);
        EXPECT_EQ(path.Segments()[path.Segments().size() - 1].to, end);
        EXPECT_EQ(path.Segments()[0].from, route.from);
    }
}

TEST(RouteConnector, BoundsHoldEveryPaintedPointAndNoMore) {
    for (const RouteCase& c : RouteCases()) {
        SCOPED_TRACE(c.name);
        const ConnectorPath path = RouteConnector(c.source, c.dest);
        std::vector<Point> points(path.BendPixels().begin(), path.BendPixels().end());
        for (const Segment& s : path.Segments()) {
            points.push_back(s.from);
            points.push_back(s.to);
        }
        points.insert(points.end(), path.Arrow().corners.begin(), path.Arrow().corners.end());

        const Rect b = path.Bounds();
        for (const Point& p : points) {
            EXPECT_TRUE(Intersects(b, {p.x, p.y, 1, 1})) << testing::PrintToString(p);
        }
        auto byX = [](Point a, Point b) { return a.x < b.x; };
        auto byY = [](Point a, Point b) { return a.y < b.y; };
        EXPECT_EQ(b.Left, std::min_element(points.begin(), points.end(), byX)->x);
        EXPECT_EQ(b.Top, std::min_element(points.begin(), points.end(), byY)->y);
        EXPECT_EQ(b.Left + b.Width - 1, std::max_element(points.begin(), points.end(), byX)->x);
        EXPECT_EQ(b.Top + b.Height - 1, std::max_element(points.begin(), points.end(), byY)->y);
    }

    // Worked by hand: from the source's bottom centre (478, 169) to the arrow's right corner
    // (983, 187) and its tip at (978, 197), both ends painted.
    EXPECT_EQ(RouteConnector(kSource, {900, 197, 155, 69}).Bounds(), (Rect{478, 169, 506, 29}));
    EXPECT_EQ(ConnectorPath{}.Bounds(), Rect{});
}

TEST(RouteBounds, RectsIntersectOnASharedPixel) {
    const Rect r{10, 20, 5, 5}; // x 10..14, y 20..24
    EXPECT_TRUE(Intersects(r, {14, 24, 1, 1}));
    EXPECT_FALSE(Intersects(r, {15, 20, 10, 10}));
    EXPECT_FALSE(Intersects(r, {0, 25, 100, 10}));
    EXPECT_FALSE(Intersects(r, {5, 15, 5, 20}));
    EXPECT_FALSE(Intersects(r, {12, 22, 0, 1}));
    EXPECT_TRUE(Intersects({0, 0, 100, 100}, r));
}

} // namespace
} // namespace ry
