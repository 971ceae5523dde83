#include "layout/arrange.h"

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"
#include "layout/drawing_measure.h"
#include "script/host.h"
#include "script/loader.h"
#include "script/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace ry {
namespace {

Rect BoxAt(const Point& p, int height) {
    return {p.x, p.y, kBoxWidth, height};
}

// Every box at the margin or further in, inside the width, and on no other box.
void ExpectTidy(const ArrangeGraph& g, const std::vector<Point>& at) {
    ASSERT_EQ(at.size(), g.heights.size());
    for (size_t i = 0; i < at.size(); ++i) {
        EXPECT_GE(at[i].x, kArrangeMargin);
        EXPECT_GE(at[i].y, kArrangeMargin);
        EXPECT_LE(at[i].x + kBoxWidth, g.areaWidth) << "box " << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Intersects(BoxAt(at[i], g.heights[i]), BoxAt(at[j], g.heights[j])))
                << "boxes " << j << " and " << i;
    }
}

TEST(Arrange, TreeRunsDownFromTheStart) {
    // 0 leads to 1..3, each of them to two more; the start is listed last but drawn on top.
    ArrangeGraph g;
    g.heights.assign(10, kLongBoxHeight);
    g.heights[4] = kShortBoxHeight;
    g.edges = {{9, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 4}, {1, 5}, {2, 6}, {2, 7}, {3, 8}};
    g.start = 9;
    auto arranged = ArrangeBoxes(g);
    ASSERT_TRUE(arranged);
    const auto* at = &arranged->at;
    ExpectTidy(g, *at);
    for (auto [from, to] : g.edges)
        EXPECT_GT((*at)[to].y, (*at)[from].y + g.heights[from]) << from << " -> " << to;
    // Children keep their parents' order from left to right.
    EXPECT_LT((*at)[4].x, (*at)[6].x);
    EXPECT_LT((*at)[6].x, (*at)[8].x);
}

TEST(Arrange, GraphsOfEveryShapeGiveNoOverlaps) {
    struct Case {
        const char* name;
        int boxes;
        int paths;
        int start;
        int width;
        bool star = false; // box 0 leads to all others
    };
    const Case cases[] = {
        {"empty", 0, 0, -1, 2000},
        {"one box", 1, 0, 0, 2000},
        {"no paths, no start", 30, 0, -1, 2000},
        {"a wide layer folds into rows", 40, 39, 0, 2000, true},
        {"narrower than a box", 5, 4, 0, 100},
        {"random loops", 300, 1200, 7, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArrangeGraph g;
        g.heights.assign(static_cast<size_t>(c.boxes), kLongBoxHeight);
        g.start = c.start;
        g.areaWidth = c.width;
        std::mt19937 random(5);
        for (int i = 0; i < c.paths; ++i)
            if (c.star)
                g.edges.emplace_back(0, i + 1);
            else
                g.edges.emplace_back(static_cast<int>(random() % c.boxes),
                                     static_cast<int>(random() % c.boxes));
        g.areaHeight = 30000;
        auto arranged = ArrangeBoxes(g);
        ASSERT_TRUE(arranged);
        if (c.width < kBoxWidth)
            g.areaWidth = kBoxWidth + 2 * kArrangeMargin; // one column, as narrow as it gets
        ExpectTidy(g, arranged->at);
    }
}

// The connectors of the arranged boxes in their classic shapes, one for each pair of boxes a
// path joins, in the order the script gives them.
std::vector<Polyline> ClassicDrawing(const ArrangeGraph& g, const std::vector<Point>& at,
                                     std::vector<Rect>& boxes) {
    boxes.clear();
    for (std::size_t i = 0; i < at.size(); ++i)
        boxes.push_back(BoxAt(at[i], g.heights[i]));
    std::vector<std::pair<int, int>> pairs;
    std::vector<Polyline> routes;
    for (auto [from, to] : g.edges)
        if (std::find(pairs.begin(), pairs.end(), std::pair{from, to}) == pairs.end()) {
            pairs.emplace_back(from, to);
            routes.push_back(ClassicPolyline(boxes[static_cast<std::size_t>(from)],
                                             boxes[static_cast<std::size_t>(to)]));
        }
    return routes;
}

TEST(Arrange, TheExampleHasNoCrossingsAndItsLoopsRunBack) {
    ScriptTables tables;
    Host host;
    const std::int16_t script =
        RysScriptLoad(tables, host, std::string(RY_EXAMPLES_DIR) + "/office-line.rys");
    ASSERT_GE(script, 1);
    const ArrangeInput input = ArrangeInputOf(tables, script);
    const auto arranged = ArrangeBoxes(input.graph);
    ASSERT_TRUE(arranged);
    EXPECT_TRUE(arranged->fits);
    ExpectTidy(input.graph, arranged->at);
    // Every connector keeps its plain shape, clear of the boxes, and none crosses another.
    std::vector<Rect> boxes;
    const std::vector<Polyline> classic = ClassicDrawing(input.graph, arranged->at, boxes);
    const BoxGrid grid(&boxes);
    for (const Polyline& route : classic)
        if (route.points.front() != route.points.back()) // not the loop back into Main Menu
            EXPECT_FALSE(CrossesABox(route.points, grid));
    const DrawingCounts counts = MeasureDrawing(classic);
    EXPECT_EQ(counts.crossings, 0);
    EXPECT_LE(counts.mostBends, 6);
    // The start on top; every path that is not a loop leads down.
    const auto start = static_cast<std::size_t>(input.graph.start);
    for (std::size_t i = 0; i < arranged->at.size(); ++i)
        if (i != start)
            EXPECT_GT(arranged->at[i].y, arranged->at[start].y);
}

TEST(Arrange, AMenusItemsStaySideBySideUnderIt) {
    // Three menus of five items each; every item fails back to the first menu. Rows hold
    // eight boxes, so the layer of 15 items folds, but no menu's items are parted.
    ArrangeGraph g;
    g.heights.assign(19, kLongBoxHeight);
    g.start = 0;
    g.areaWidth = 8 * (kBoxWidth + kArrangeColumnGap) + 2 * kArrangeMargin;
    g.areaHeight = 4000;
    for (int m = 0; m < 3; ++m) {
        g.edges.emplace_back(0, 1 + m);
        for (int i = 0; i < 5; ++i) {
            g.edges.emplace_back(1 + m, 4 + 5 * m + i);
            g.edges.emplace_back(4 + 5 * m + i, 0);
        }
    }
    const auto arranged = ArrangeBoxes(g);
    ASSERT_TRUE(arranged);
    ASSERT_TRUE(arranged->fits);
    ExpectTidy(g, arranged->at);
    for (int m = 0; m < 3; ++m) {
        const Point first = arranged->at[static_cast<std::size_t>(4 + 5 * m)];
        for (int i = 1; i < 5; ++i) {
            const Point item = arranged->at[static_cast<std::size_t>(4 + 5 * m + i)];
            EXPECT_EQ(item.y, first.y) << "menu " << m << " item " << i;
            EXPECT_GT(item.y, arranged->at[static_cast<std::size_t>(1 + m)].y);
        }
    }
}

TEST(Arrange, KeepsInsideTheAreaOrSaysWhatRoomItNeeds) {
    struct Case {
        const char* name;
        int boxes, width, height;
        bool fits;
        bool chain; // else a star
    };
    const Case cases[] = {
        {"a chain taller than the area folds into bands", 30, 2000, 1000, true, true},
        {"a wide star folds into rows", 40, 1000, 2000, true, false},
        {"too many boxes for the area", 400, 1000, 1000, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArrangeGraph g;
        g.heights.assign(static_cast<std::size_t>(c.boxes), kLongBoxHeight);
        g.start = 0;
        g.areaWidth = c.width;
        g.areaHeight = c.height;
        for (int i = 1; i < c.boxes; ++i)
            g.edges.emplace_back(c.chain ? i - 1 : 0, i);
        const auto arranged = ArrangeBoxes(g);
        ASSERT_TRUE(arranged);
        EXPECT_EQ(arranged->fits, c.fits);
        int right = 0, bottom = 0;
        for (std::size_t i = 0; i < arranged->at.size(); ++i) {
            right = std::max(right, arranged->at[i].x + kBoxWidth + kArrangeMargin);
            bottom = std::max(bottom, arranged->at[i].y + g.heights[i] + kArrangeMargin);
        }
        EXPECT_EQ(arranged->width, right);
        EXPECT_EQ(arranged->height, bottom);
        if (c.fits) {
            ExpectTidy(g, arranged->at);
            EXPECT_LE(bottom, c.height);
        } else {
            EXPECT_TRUE(right > c.width || bottom > c.height);
            EXPECT_EQ(RoomNeededMessage(*arranged, c.width, c.height),
                      "The arranged modules need " + std::to_string(right) + " x " +
                          std::to_string(bottom) + " pixels; the design area is 1000 x 1000.");
        }
    }
}

TEST(Arrange, CancelGivesNothing) {
    ArrangeGraph g;
    g.heights.assign(3, kLongBoxHeight);
    std::atomic<bool> cancel = true;
    EXPECT_FALSE(ArrangeBoxes(g, &cancel));
}

TEST(Arrange, InputTakesTheGivenModulesAndTheStartInAnyCase) {
    auto tables = std::make_unique<ScriptTables>();
    std::int16_t s = tables->MemStructRys_Get();
    std::vector<std::int16_t> modules;
    for (const char* title : {"Welcome", "Menu", "Sales", "Bye"}) {
        std::int16_t m = tables->MemStructRym_Get();
        AppendModuleToScript(*tables, s, m);
        tables->Module(m).Title = title;
        tables->Module(m).DispSize = 24;
        modules.push_back(m);
    }
    tables->Module(modules[0]).PathText = "on {1} goto [Menu]\r\n";
    tables->Module(modules[1]).PathText = "on {1} goto [Sales]\r\non {2} goto [Bye]\r\n";
    tables->Module(modules[2]).PathText = "on {fail} goto [Nowhere]\r\n";
    tables->Script(s).StartModule = "MENU";

    ArrangeInput all = ArrangeInputOf(*tables, s);
    EXPECT_EQ(all.modules, modules);
    EXPECT_EQ(all.graph.start, 1);
    EXPECT_EQ(all.graph.heights, std::vector<int>(4, kShortBoxHeight));
    EXPECT_EQ(all.graph.edges, (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {1, 3}}));

    ArrangeInput some = ArrangeInputOf(*tables, s, {modules[3], modules[0], modules[1]});
    EXPECT_EQ(some.modules, (std::vector<std::int16_t>{modules[0], modules[1], modules[3]}));
    EXPECT_EQ(some.graph.start, 1);
    EXPECT_EQ(some.graph.edges, (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}}));
}

} // namespace
} // namespace ry
