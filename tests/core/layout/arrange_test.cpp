#include "layout/arrange.h"

#include "canvas/box_geometry.h"
#include "script/records.h"

#include <gtest/gtest.h>

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
    auto at = ArrangeBoxes(g);
    ASSERT_TRUE(at);
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
        auto at = ArrangeBoxes(g);
        ASSERT_TRUE(at);
        if (c.width < kBoxWidth)
            g.areaWidth = kBoxWidth + 2 * kArrangeMargin; // one column, as narrow as it gets
        ExpectTidy(g, *at);
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
