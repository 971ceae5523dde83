#include "layout/arrange.h"

#include "canvas/box_geometry.h"
#include "paths/destinations.h"
#include "script/records.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace ry {

namespace {

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Each box's layer: its distance from the start box, then from boxes nothing leads to, then
// from whatever is left (boxes reached only through a loop), each in the order given.
std::vector<int> Layers(const ArrangeGraph& g, const std::vector<std::vector<int>>& out) {
    const int n = static_cast<int>(g.heights.size());
    std::vector<int> layer(static_cast<size_t>(n), -1);
    std::vector<int> incoming(static_cast<size_t>(n), 0);
    for (auto [from, to] : g.edges)
        if (from != to)
            ++incoming[static_cast<size_t>(to)];
    std::vector<int> queue;
    queue.reserve(static_cast<size_t>(n));
    auto walkFrom = [&](int root) {
        if (layer[static_cast<size_t>(root)] >= 0)
            return;
        layer[static_cast<size_t>(root)] = 0;
        queue.assign(1, root);
        for (size_t at = 0; at < queue.size(); ++at) {
            const int v = queue[at];
            for (int w : out[static_cast<size_t>(v)])
                if (layer[static_cast<size_t>(w)] < 0) {
                    layer[static_cast<size_t>(w)] = layer[static_cast<size_t>(v)] + 1;
                    queue.push_back(w);
                }
        }
    };
    if (g.start >= 0 && g.start < n)
        walkFrom(g.start);
    for (int v = 0; v < n; ++v)
        if (incoming[static_cast<size_t>(v)] == 0)
            walkFrom(v);
    for (int v = 0; v < n; ++v)
        walkFrom(v);
    return layer;
}

// Reorders each layer by the mean place of its neighbours in the layer before it (`down`) or
// after it; boxes without such neighbours keep their place.
void SweepOrder(std::vector<std::vector<int>>& layers, std::vector<double>& place,
                const std::vector<int>& layerOf, const std::vector<std::vector<int>>& near,
                bool down) {
    const int count = static_cast<int>(layers.size());
    std::vector<std::pair<double, int>> keyed;
    for (int step = 1; step < count; ++step) {
        const int l = down ? step : count - 1 - step;
        const int other = down ? l - 1 : l + 1;
        auto& row = layers[static_cast<size_t>(l)];
        keyed.clear();
        for (int v : row) {
            double sum = 0;
            int seen = 0;
            for (int w : near[static_cast<size_t>(v)])
                if (layerOf[static_cast<size_t>(w)] == other) {
                    sum += place[static_cast<size_t>(w)];
                    ++seen;
                }
            keyed.emplace_back(seen ? sum / seen : place[static_cast<size_t>(v)], v);
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i) {
            row[i] = keyed[i].second;
            place[static_cast<size_t>(row[i])] = static_cast<double>(i);
        }
    }
}

} // namespace

std::optional<std::vector<Point>> ArrangeBoxes(const ArrangeGraph& g,
                                               const std::atomic<bool>* cancel) {
    const int n = static_cast<int>(g.heights.size());
    std::vector<std::vector<int>> out(static_cast<size_t>(n)), near(static_cast<size_t>(n));
    for (auto [from, to] : g.edges) {
        if (from == to || from < 0 || to < 0 || from >= n || to >= n)
            continue;
        out[static_cast<size_t>(from)].push_back(to);
        near[static_cast<size_t>(from)].push_back(to);
        near[static_cast<size_t>(to)].push_back(from);
    }
    const std::vector<int> layerOf = Layers(g, out);
    const int layerCount = n ? *std::max_element(layerOf.begin(), layerOf.end()) + 1 : 0;
    std::vector<std::vector<int>> layers(static_cast<size_t>(layerCount));
    std::vector<double> place(static_cast<size_t>(n));
    for (int v = 0; v < n; ++v) {
        auto& row = layers[static_cast<size_t>(layerOf[static_cast<size_t>(v)])];
        place[static_cast<size_t>(v)] = static_cast<double>(row.size());
        row.push_back(v);
    }
    // A few sweeps each way take out most crossings; more seldom pay.
    for (int sweep = 0; sweep < 4; ++sweep) {
        if (Cancelled(cancel))
            return std::nullopt;
        SweepOrder(layers, place, layerOf, near, true);
        SweepOrder(layers, place, layerOf, near, false);
    }

    // Layers wider than the area fold into rows of as many boxes as fit.
    const int pitch = kBoxWidth + kArrangeColumnGap;
    const int perRow = std::max(1, (g.areaWidth - 2 * kArrangeMargin + kArrangeColumnGap) / pitch);
    std::vector<std::vector<int>> rows;
    for (const auto& layer : layers)
        for (size_t at = 0; at < layer.size(); at += static_cast<size_t>(perRow))
            rows.emplace_back(layer.begin() + static_cast<std::ptrdiff_t>(at),
                              layer.begin() +
                                  static_cast<std::ptrdiff_t>(std::min(layer.size(), at + perRow)));
    size_t widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, row.size());
    const int span = static_cast<int>(widest) * pitch - kArrangeColumnGap;

    // Across: each row centred first, then each box drawn towards the boxes above that lead
    // to it or that it leads to, keeping the gaps between neighbours.
    std::vector<Point> at(static_cast<size_t>(n));
    std::vector<int> rowOf(static_cast<size_t>(n));
    int y = kArrangeMargin;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (Cancelled(cancel))
            return std::nullopt;
        const auto& row = rows[r];
        const int width = static_cast<int>(row.size()) * pitch - kArrangeColumnGap;
        std::vector<int> x(row.size());
        for (size_t i = 0; i < row.size(); ++i) {
            const int v = row[i];
            rowOf[static_cast<size_t>(v)] = static_cast<int>(r);
            long sum = 0;
            int seen = 0;
            for (int w : near[static_cast<size_t>(v)])
                if (rowOf[static_cast<size_t>(w)] < static_cast<int>(r) &&
                    at[static_cast<size_t>(w)].y > 0) {
                    sum += at[static_cast<size_t>(w)].x;
                    ++seen;
                }
            x[i] = seen ? static_cast<int>(sum / seen)
                        : kArrangeMargin + (span - width) / 2 + static_cast<int>(i) * pitch;
        }
        // Keep the order and the gaps: push right, then pull back inside the span.
        for (size_t i = 0; i < x.size(); ++i) {
            x[i] = std::max(x[i], kArrangeMargin);
            if (i > 0)
                x[i] = std::max(x[i], x[i - 1] + pitch);
        }
        const int right = kArrangeMargin + span - kBoxWidth;
        for (size_t i = x.size(); i-- > 0;) {
            x[i] = std::min(x[i], right);
            if (i + 1 < x.size())
                x[i] = std::min(x[i], x[i + 1] - pitch);
        }
        int tallest = 0;
        for (size_t i = 0; i < row.size(); ++i) {
            at[static_cast<size_t>(row[i])] = {x[i], y};
            tallest = std::max(tallest, g.heights[static_cast<size_t>(row[i])]);
        }
        y += tallest + kArrangeLayerGap;
    }
    return at;
}

ArrangeInput ArrangeInputOf(const ScriptTables& tables, int script,
                            const std::vector<std::int16_t>& only, int areaWidth) {
    ArrangeInput input;
    input.graph.areaWidth = areaWidth;
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
