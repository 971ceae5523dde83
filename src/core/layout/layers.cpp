#include "layout/layers.h"
#include "layout/walk_roots.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>

namespace ry {

std::vector<int> AssignLayers(int n, const std::vector<std::pair<int, int>>& downward) {
    const auto N = static_cast<std::size_t>(n < 0 ? 0 : n);
    std::vector<std::vector<int>> out(N), in(N);
    std::vector<int> waiting(N, 0);
    for (auto [from, to] : downward) {
        out[static_cast<std::size_t>(from)].push_back(to);
        in[static_cast<std::size_t>(to)].push_back(from);
        ++waiting[static_cast<std::size_t>(to)];
    }
    // Longest path from the top, in the order of a topological walk.
    std::vector<int> layer(N, 0), order;
    order.reserve(N);
    for (int v = 0; v < n; ++v)
        if (waiting[static_cast<std::size_t>(v)] == 0)
            order.push_back(v);
    for (std::size_t at = 0; at < order.size(); ++at) {
        const int v = order[at];
        for (int w : out[static_cast<std::size_t>(v)]) {
            layer[static_cast<std::size_t>(w)] = std::max(layer[static_cast<std::size_t>(w)],
                                                          layer[static_cast<std::size_t>(v)] + 1);
            if (--waiting[static_cast<std::size_t>(w)] == 0)
                order.push_back(w);
        }
    }
    // A box nothing leads to moves down next to the boxes it leads to.
    for (int v = 0; v < n; ++v) {
        const auto V = static_cast<std::size_t>(v);
        if (!in[V].empty() || out[V].empty())
            continue;
        int highest = INT_MAX;
        for (int w : out[V])
            highest = std::min(highest, layer[static_cast<std::size_t>(w)]);
        layer[V] = highest - 1;
    }
    return layer;
}

std::vector<int> DistanceLayers(int n, const std::vector<std::pair<int, int>>& paths, int start) {
    const auto N = static_cast<std::size_t>(n < 0 ? 0 : n);
    std::vector<std::vector<int>> out(N);
    std::vector<int> incoming(N, 0);
    for (auto [from, to] : paths) {
        if (from < 0 || to < 0 || from >= n || to >= n || from == to)
            continue;
        out[static_cast<std::size_t>(from)].push_back(to);
        ++incoming[static_cast<std::size_t>(to)];
    }
    std::vector<int> layer(N, -1), queue;
    queue.reserve(N);
    auto walkFrom = [&](int root) {
        if (layer[static_cast<std::size_t>(root)] >= 0)
            return;
        layer[static_cast<std::size_t>(root)] = 0;
        queue.assign(1, root);
        for (std::size_t at = 0; at < queue.size(); ++at) {
            const int v = queue[at];
            for (int w : out[static_cast<std::size_t>(v)])
                if (layer[static_cast<std::size_t>(w)] < 0) {
                    layer[static_cast<std::size_t>(w)] = layer[static_cast<std::size_t>(v)] + 1;
                    queue.push_back(w);
                }
        }
    };
    WalkFromRoots(n, start, incoming, walkFrom);
    return layer;
}

long long LayerSpan(const std::vector<int>& layerOf,
                    const std::vector<std::pair<int, int>>& paths) {
    long long span = 0;
    for (auto [from, to] : paths)
        span += std::abs(layerOf[static_cast<std::size_t>(to)] -
                         layerOf[static_cast<std::size_t>(from)]);
    return span;
}

} // namespace ry
