// The stages of the layered layout, each on a small graph where its fault would show: loops
// found and turned, layers, stand-in points of long paths, crossings counted and taken out,
// places across a layer, families kept together when a layer folds.

#include "layout/back_edges.h"
#include "layout/crossing_order.h"
#include "layout/folding.h"
#include "layout/layered_graph.h"
#include "layout/layers.h"
#include "layout/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace ry {
namespace {

using Edges = std::vector<std::pair<int, int>>;

Edges Turned(const Edges& edges, const std::vector<bool>& back) {
    Edges down;
    for (std::size_t e = 0; e < edges.size(); ++e)
        if (edges[e].first != edges[e].second)
            down.push_back(back[e] ? std::pair{edges[e].second, edges[e].first} : edges[e]);
    return down;
}

// Whether the paths form no loop: a topological walk reaches every box.
bool NoLoop(int n, const Edges& edges) {
    std::vector<int> waiting(static_cast<std::size_t>(n), 0);
    std::vector<std::vector<int>> out(static_cast<std::size_t>(n));
    for (auto [a, b] : edges) {
        out[static_cast<std::size_t>(a)].push_back(b);
        ++waiting[static_cast<std::size_t>(b)];
    }
    std::vector<int> ready;
    for (int v = 0; v < n; ++v)
        if (!waiting[static_cast<std::size_t>(v)])
            ready.push_back(v);
    int done = 0;
    while (!ready.empty()) {
        const int v = ready.back();
        ready.pop_back();
        ++done;
        for (int w : out[static_cast<std::size_t>(v)])
            if (--waiting[static_cast<std::size_t>(w)] == 0)
                ready.push_back(w);
    }
    return done == n;
}

TEST(BackEdges, RetriesAndFailToTheMenuRunBack) {
    // 0 Welcome -> 1 Menu -> 2 Sales, 3 Support; Sales fails back to Menu; Support retries
    // itself; Menu times out back to Welcome.
    const Edges edges{{0, 1}, {1, 2}, {1, 3}, {2, 1}, {3, 3}, {1, 0}, {2, 3}};
    const std::vector<bool> back = BackEdges(4, edges, 0);
    EXPECT_EQ(back, (std::vector<bool>{false, false, false, true, true, true, false}));
}

TEST(BackEdges, TheStartComesFirstWhereverItIsListed) {
    // A loop 0 -> 1 -> 2 -> 0 started at 2: the path into 2 is the one turned.
    const Edges edges{{0, 1}, {1, 2}, {2, 0}};
    EXPECT_EQ(BackEdges(3, edges, 2), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(BackEdges(3, edges, 0), (std::vector<bool>{false, false, true}));
}

TEST(BackEdges, TurningThemLeavesNoLoopOnRandomGraphs) {
    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        const int n = 1 + static_cast<int>(random() % 60);
        Edges edges;
        for (int e = 0; e < 3 * n; ++e)
            edges.emplace_back(static_cast<int>(random() % n), static_cast<int>(random() % n));
        const int start = round % 3 == 0 ? -1 : static_cast<int>(random() % n);
        EXPECT_TRUE(NoLoop(n, Turned(edges, BackEdges(n, edges, start)))) << "round " << round;
    }
}

TEST(Layers, EachPathLeadsDownAndLoneSourcesSitAboveTheirTargets) {
    // 0 -> 1 -> 2 -> 3, 0 -> 3 (across three layers); 4 leads only to 3, so it sits just
    // above 3 rather than at the top.
    const Edges down{{0, 1}, {1, 2}, {2, 3}, {0, 3}, {4, 3}};
    EXPECT_EQ(AssignLayers(5, down), (std::vector<int>{0, 1, 2, 3, 2}));
}

TEST(Layers, DistanceFromTheStartKeepsLoopsShallow) {
    // A ring 0 -> 1 -> ... -> 9 -> 0 with a short cut 0 -> 5.
    Edges ring;
    for (int v = 0; v < 10; ++v)
        ring.emplace_back(v, (v + 1) % 10);
    ring.emplace_back(0, 5);
    const std::vector<int> layer = DistanceLayers(10, ring, 0);
    EXPECT_EQ(layer, (std::vector<int>{0, 1, 2, 3, 4, 1, 2, 3, 4, 5}));
    EXPECT_EQ(LayerSpan(layer, {{0, 1}, {9, 0}, {1, 5}}), 1 + 5 + 0);
}

TEST(LayeredGraph, LongPathsPassThroughStandInPoints) {
    // 0 -> 2 spans two layers: one stand-in point in layer 1; the repeat is kept once.
    const LayeredGraph g =
        MakeLayeredGraph({155, 155, 155}, {0, 1, 2}, {{0, 1}, {0, 2}, {0, 2}, {1, 2}});
    ASSERT_EQ(g.size(), 4);
    EXPECT_TRUE(g.IsStandIn(3));
    EXPECT_EQ(g.layer[3], 1);
    EXPECT_EQ(g.origin[3], 0);
    EXPECT_EQ(g.down[3], std::vector<int>{2});
    EXPECT_EQ(g.up[2].size(), 2u);
    // Layer 1 holds the box and the stand-in, in the order the walk from 0 meets them.
    EXPECT_EQ(g.order[1], (std::vector<int>{1, 3}));
}

TEST(CrossingOrder, CountsAndTakesOutCrossings) {
    // Layer 0: 0 1 2; layer 1: 3 4 5, with 0 -> 5, 1 -> 4, 2 -> 3: three crossings pairwise.
    LayeredGraph g =
        MakeLayeredGraph(std::vector<int>(6, 155), {0, 0, 0, 1, 1, 1}, {{0, 5}, {1, 4}, {2, 3}});
    g.order = {{0, 1, 2}, {3, 4, 5}};
    EXPECT_EQ(CountLayerCrossings(g), 3);
    ASSERT_TRUE(ReduceCrossings(g, 4));
    EXPECT_EQ(CountLayerCrossings(g), 0);

    // Two menus whose items start interleaved: the sweeps put each menu's items together.
    LayeredGraph menus = MakeLayeredGraph(std::vector<int>(8, 155), {0, 0, 1, 1, 1, 1, 1, 1},
                                          {{0, 2}, {1, 3}, {0, 4}, {1, 5}, {0, 6}, {1, 7}});
    menus.order[1] = {2, 3, 4, 5, 6, 7};
    EXPECT_GT(CountLayerCrossings(menus), 0);
    ASSERT_TRUE(ReduceCrossings(menus, 8));
    EXPECT_EQ(CountLayerCrossings(menus), 0);

    std::atomic<bool> cancel = true;
    EXPECT_FALSE(ReduceCrossings(menus, 8, &cancel));
}

TEST(Placement, KeepsOrderAndGapsAndRunsLongPathsStraight) {
    // 0 leads to 1, 2, 3 below it and to 5 two layers down (through a stand-in).
    const LayeredGraph g = MakeLayeredGraph({155, 155, 155, 155, 155, 155}, {0, 1, 1, 1, 2, 2},
                                            {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {0, 5}});
    const std::vector<int> x = PlaceAcross(g, {50, 16});
    for (const auto& row : g.order)
        for (std::size_t i = 1; i < row.size(); ++i) {
            const int gap = g.IsStandIn(row[i]) || g.IsStandIn(row[i - 1]) ? 16 : 50;
            EXPECT_GE(x[static_cast<std::size_t>(row[i])],
                      x[static_cast<std::size_t>(row[i - 1])] +
                          g.width[static_cast<std::size_t>(row[i - 1])] + gap - 1);
        }
    // The parent stands over its three children (drawn a little towards its long path); 4
    // straight under 1.
    EXPECT_GT(x[0], x[1]);
    EXPECT_LT(x[0], x[3]);
    EXPECT_NEAR(x[4], x[1], 2);
    // The long path's lane lines up with the centre of the box it leads to.
    const int lane = g.size() - 1;
    ASSERT_TRUE(g.IsStandIn(lane));
    EXPECT_NEAR(x[static_cast<std::size_t>(lane)], x[5] + 155 / 2, 2);
}

TEST(Folding, RowsTakeWholeFamilies) {
    // Layer 1: a family of 2 (from 0), then one of 4 (from 1), then a lone box; rows hold 5
    // boxes. The family of 4 does not fit after the 2, so it starts the second row whole.
    std::vector<int> layer{0, 0, 1, 1, 1, 1, 1, 1, 1};
    Edges down{{0, 2}, {0, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}};
    const LayeredGraph g = MakeLayeredGraph(std::vector<int>(9, 100), layer, down);
    ASSERT_EQ(g.order[1], (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Families(g, g.order[1]), (std::vector<std::pair<int, int>>{{0, 2}, {2, 6}, {6, 7}}));
    std::vector<int> place;
    const std::vector<int> folded = FoldLayers(g, 5 * 100 + 4 * 10, 10, place);
    EXPECT_EQ(folded, (std::vector<int>{0, 0, 1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(place[4], 0);
    EXPECT_EQ(place[8], 4);
    // A family wider than a row is cut where it must be.
    const std::vector<int> narrow = FoldLayers(g, 3 * 100 + 2 * 10, 10, place);
    EXPECT_EQ(narrow, (std::vector<int>{0, 0, 1, 1, 2, 2, 2, 3, 3}));
}

} // namespace
} // namespace ry
