#include "layout/arrange.h"

#include "canvas/box_geometry.h"
#include "layout/back_edges.h"
#include "layout/crossing_order.h"
#include "layout/folding.h"
#include "layout/layered_graph.h"
#include "layout/layers.h"
#include "layout/placement.h"
#include "paths/destinations.h"
#include "script/records.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace ry {

namespace {

// Layers the paths pass, for each box, beyond which the drawing is too deep to lay out by the
// longest way down.
constexpr long long kDeepSpanPerBox = 50;

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// One layout of the ordered graph, folded for a row width: the boxes' places and the room
// they take, in bands side by side when the layers are taller than `bandHeight`.
Arrangement Lay(const LayeredGraph& ordered, const std::vector<std::pair<int, int>>& downward,
                const ArrangeGraph& in, int rowWidth, int bandHeight, bool lanes,
                const std::atomic<bool>* cancel, bool& cancelled) {
    const int n = ordered.boxes;
    std::vector<int> placeInRow;
    std::vector<int> foldedFrom;
    const std::vector<int> layerOf =
        FoldLayers(ordered, rowWidth, kArrangeColumnGap, placeInRow, &foldedFrom);
    LayeredGraph g =
        MakeLayeredGraph(std::vector<int>(ordered.width.begin(), ordered.width.begin() + n),
                         layerOf, downward, &foldedFrom, lanes);
    // Start from the order found before folding: rows keep it.
    for (auto& row : g.order) {
        std::vector<int> boxes;
        for (int v : row)
            if (!g.IsStandIn(v))
                boxes.push_back(v);
        std::sort(boxes.begin(), boxes.end(), [&](int a, int b) {
            return placeInRow[static_cast<std::size_t>(a)] <
                   placeInRow[static_cast<std::size_t>(b)];
        });
        std::size_t next = 0;
        for (int& v : row)
            if (!g.IsStandIn(v))
                v = boxes[next++];
    }
    if (!ReduceCrossings(g, 6, cancel)) {
        cancelled = true;
        return {};
    }
    const std::vector<int> x = PlaceAcross(g, {kArrangeColumnGap, 16});

    // Layers from the top, each as tall as its tallest box; folded into bands of the area's
    // height.
    const int layers = static_cast<int>(g.order.size());
    std::vector<int> tallest(static_cast<std::size_t>(layers), 0);
    for (int v = 0; v < n; ++v) {
        auto& t = tallest[static_cast<std::size_t>(layerOf[static_cast<std::size_t>(v)])];
        t = std::max(t, in.heights[static_cast<std::size_t>(v)]);
    }
    const int room = std::max(1, bandHeight);
    std::vector<int> bandOf(static_cast<std::size_t>(layers)),
        top(static_cast<std::size_t>(layers));
    // A band ends before a layer folded into rows when all its rows do not fit what is left,
    // so a menu's items stay in one band with their menu's row when they can.
    auto groupHeight = [&](int first) {
        int h = tallest[static_cast<std::size_t>(first)];
        for (int l = first + 1; l < layers && foldedFrom[static_cast<std::size_t>(l)] ==
                                                  foldedFrom[static_cast<std::size_t>(first)];
             ++l)
            h += kArrangeLayerGap + tallest[static_cast<std::size_t>(l)];
        return h;
    };
    int band = 0, y = 0;
    for (int l = 0; l < layers; ++l) {
        const int h = tallest[static_cast<std::size_t>(l)];
        const bool groupStarts = l == 0 || foldedFrom[static_cast<std::size_t>(l)] !=
                                               foldedFrom[static_cast<std::size_t>(l - 1)];
        const int need = groupStarts && groupHeight(l) <= room ? groupHeight(l) : h;
        if (y > 0 && y + need > room) {
            ++band;
            y = 0;
        }
        bandOf[static_cast<std::size_t>(l)] = band;
        top[static_cast<std::size_t>(l)] = y;
        y += h + kArrangeLayerGap;
    }
    std::vector<int> bandLeft(static_cast<std::size_t>(band + 1), INT_MAX),
        bandRight(static_cast<std::size_t>(band + 1), INT_MIN);
    for (int v = 0; v < g.size(); ++v) {
        const auto b = static_cast<std::size_t>(
            bandOf[static_cast<std::size_t>(g.layer[static_cast<std::size_t>(v)])]);
        bandLeft[b] = std::min(bandLeft[b], x[static_cast<std::size_t>(v)]);
        bandRight[b] = std::max(bandRight[b], x[static_cast<std::size_t>(v)] +
                                                  g.width[static_cast<std::size_t>(v)]);
    }
    std::vector<int> shift(bandLeft.size());
    int left = kArrangeMargin;
    for (std::size_t b = 0; b < bandLeft.size(); ++b) {
        if (bandLeft[b] > bandRight[b])
            continue;
        shift[b] = left - bandLeft[b];
        left += bandRight[b] - bandLeft[b] + kArrangeBandGap;
    }

    Arrangement a;
    a.at.resize(static_cast<std::size_t>(n));
    for (int v = 0; v < n; ++v) {
        const int l = layerOf[static_cast<std::size_t>(v)];
        const Point p{x[static_cast<std::size_t>(v)] +
                          shift[static_cast<std::size_t>(bandOf[static_cast<std::size_t>(l)])],
                      kArrangeMargin + top[static_cast<std::size_t>(l)]};
        a.at[static_cast<std::size_t>(v)] = p;
        a.width = std::max(a.width, p.x + kBoxWidth + kArrangeMargin);
        a.height =
            std::max(a.height, p.y + in.heights[static_cast<std::size_t>(v)] + kArrangeMargin);
    }
    a.fits = a.width <= in.areaWidth && a.height <= in.areaHeight;
    return a;
}

} // namespace

std::optional<Arrangement> ArrangeBoxes(const ArrangeGraph& g, const std::atomic<bool>* cancel) {
    if (Cancelled(cancel))
        return std::nullopt;
    const int n = static_cast<int>(g.heights.size());
    if (n == 0)
        return Arrangement{};
    std::vector<std::pair<int, int>> edges;
    for (auto [from, to] : g.edges)
        if (from >= 0 && to >= 0 && from < n && to < n && from != to)
            edges.emplace_back(from, to);
    // Paths back against the flow are laid out turned round; each box a layer below the
    // lowest that leads to it. When loops cross each other so much that this runs deep (the
    // longest way down passing most boxes, the paths passing hundreds of layers), the boxes
    // are layered by their distance from the start instead, and paths along a layer are left
    // to the router.
    const std::vector<bool> back = BackEdges(n, edges, g.start);
    std::vector<std::pair<int, int>> downward;
    downward.reserve(edges.size());
    for (std::size_t e = 0; e < edges.size(); ++e)
        downward.push_back(back[e] ? std::pair{edges[e].second, edges[e].first} : edges[e]);
    std::vector<int> layerOf = AssignLayers(n, downward);
    if (LayerSpan(layerOf, downward) > kDeepSpanPerBox * static_cast<long long>(n)) {
        layerOf = DistanceLayers(n, edges, g.start);
        downward.clear();
        for (auto [from, to] : edges) {
            const int a = layerOf[static_cast<std::size_t>(from)],
                      b = layerOf[static_cast<std::size_t>(to)];
            if (a != b)
                downward.push_back(a < b ? std::pair{from, to} : std::pair{to, from});
        }
    }
    LayeredGraph ordered = MakeLayeredGraph(
        std::vector<int>(static_cast<std::size_t>(n), kBoxWidth), layerOf, downward);
    if (!ReduceCrossings(ordered, 12, cancel))
        return std::nullopt;

    // The layers as they are first, rows as wide as the area holds; then folded into bands
    // of the area's height, with narrower rows when the bands are too wide, down to one box a
    // row; then packed as tightly as a grid, long paths left to find their way between the
    // boxes. The most compact layout when none fits; only the first when the boxes with their
    // gaps alone need more room than the area.
    const int widest = std::max(kBoxWidth, g.areaWidth - 2 * kArrangeMargin);
    const int tallest = std::max(1, g.areaHeight - 2 * kArrangeMargin);
    double least = 0;
    for (int h : g.heights)
        least += static_cast<double>(kBoxWidth + kArrangeColumnGap) * (h + kArrangeLayerGap);
    const bool hopeless = least > static_cast<double>(g.areaWidth) * g.areaHeight;
    struct Try {
        int parts; // of the widest row, in quarters; 0: one box a row; -1: not in bands
        bool lanes;
    };
    static constexpr Try kTries[] = {{-1, true}, {4, true},  {3, true},  {2, true},  {1, true},
                                     {0, true},  {4, false}, {2, false}, {1, false}, {0, false}};
    std::optional<Arrangement> best;
    double bestExcess = 0;
    for (const Try& t : kTries) {
        const int rowWidth = t.parts < 0 ? widest : t.parts ? widest * t.parts / 4 : kBoxWidth;
        bool cancelled = false;
        Arrangement a = Lay(ordered, downward, g, std::max(kBoxWidth, rowWidth),
                            t.parts < 0 ? INT_MAX : tallest, t.lanes, cancel, cancelled);
        if (cancelled)
            return std::nullopt;
        if (a.fits)
            return a;
        const double excess = std::max(static_cast<double>(a.width) / std::max(1, g.areaWidth),
                                       static_cast<double>(a.height) / std::max(1, g.areaHeight));
        if (!best || excess < bestExcess) {
            best = std::move(a);
            bestExcess = excess;
        }
        if (hopeless)
            break;
    }
    return best;
}

std::string RoomNeededMessage(const Arrangement& a, int areaWidth, int areaHeight) {
    return "The arranged modules need " + std::to_string(a.width) + " x " +
           std::to_string(a.height) + " pixels; the design area is " + std::to_string(areaWidth) +
           " x " + std::to_string(areaHeight) + ".";
}

ArrangeInput ArrangeInputOf(const ScriptTables& tables, int script,
                            const std::vector<std::int16_t>& only, int areaWidth, int areaHeight) {
    ArrangeInput input;
    input.graph.areaWidth = areaWidth;
    input.graph.areaHeight = areaHeight;
    std::unordered_map<std::int16_t, int> index;
    const std::string& start = tables.Script(script).StartModule;
    auto sameTitle = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) {
                   return std::tolower(static_cast<unsigned char>(p)) ==
                          std::tolower(static_cast<unsigned char>(q));
               });
    };
    int exactStart = -1, otherCaseStart = -1;
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
        if (!only.empty() && std::find(only.begin(), only.end(), m) == only.end())
            return;
        const int i = static_cast<int>(input.modules.size());
        index.emplace(m, i);
        input.modules.push_back(m);
        input.graph.heights.push_back(BoxHeightFor(rec.DispSize));
        if (exactStart < 0 && rec.Title == start)
            exactStart = i;
        if (otherCaseStart < 0 && sameTitle(rec.Title, start))
            otherCaseStart = i;
    });
    input.graph.start = exactStart >= 0 ? exactStart : otherCaseStart;
    for (const Connector& c : ScriptConnectors(tables, script)) {
        auto from = index.find(c.From), to = index.find(c.To);
        if (from != index.end() && to != index.end())
            input.graph.edges.emplace_back(from->second, to->second);
    }
    return input;
}

} // namespace ry
