#include "layout/layered_graph.h"

#include <algorithm>
#include <cstddef>

namespace ry {

LayeredGraph MakeLayeredGraph(const std::vector<int>& widths, const std::vector<int>& layerOf,
                              const std::vector<std::pair<int, int>>& downward,
                              const std::vector<int>* rowsOf, bool standIns) {
    LayeredGraph g;
    g.boxes = static_cast<int>(widths.size());
    g.layer = layerOf;
    g.width = widths;
    g.origin.resize(widths.size());
    for (int v = 0; v < g.boxes; ++v)
        g.origin[static_cast<std::size_t>(v)] = v;
    g.up.resize(widths.size());
    g.down.resize(widths.size());
    std::vector<std::pair<int, int>> paths = downward;
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    // Keep the paths in their given order for the walk below: sorted only to drop repeats.
    std::vector<std::vector<int>> firstOut(widths.size());
    for (auto p : downward)
        firstOut[static_cast<std::size_t>(p.first)].push_back(p.second);
    auto link = [&](int a, int b) {
        g.down[static_cast<std::size_t>(a)].push_back(b);
        g.up[static_cast<std::size_t>(b)].push_back(a);
    };
    // Each path's first step, by source and target, so the walk can follow the chain.
    std::vector<std::vector<std::pair<int, int>>> stepTo(widths.size()); // target, first node
    for (auto [from, to] : paths) {
        int at = from;
        const int top = g.layer[static_cast<std::size_t>(from)];
        const int bottom = g.layer[static_cast<std::size_t>(to)];
        for (int l = top + 1; standIns && l < bottom; ++l) {
            if (rowsOf) {
                const auto& folded = *rowsOf;
                const int here = folded[static_cast<std::size_t>(l)];
                if (here == folded[static_cast<std::size_t>(top)] ||
                    here == folded[static_cast<std::size_t>(bottom)] ||
                    here == folded[static_cast<std::size_t>(l - 1)])
                    continue;
            }
            const int d = static_cast<int>(g.layer.size());
            g.layer.push_back(l);
            g.width.push_back(0);
            g.origin.push_back(from);
            g.up.emplace_back();
            g.down.emplace_back();
            link(at, d);
            if (at == from)
                stepTo[static_cast<std::size_t>(from)].emplace_back(to, d);
            at = d;
        }
        if (at == from)
            stepTo[static_cast<std::size_t>(from)].emplace_back(to, to);
        link(at, to);
    }

    int layers = 0;
    for (int l : g.layer)
        layers = std::max(layers, l + 1);
    g.order.assign(static_cast<std::size_t>(layers), {});
    std::vector<bool> placed(g.layer.size(), false);
    std::vector<int> stack;
    auto visit = [&](int root) {
        if (placed[static_cast<std::size_t>(root)])
            return;
        stack.assign(1, root);
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            if (placed[static_cast<std::size_t>(v)])
                continue;
            placed[static_cast<std::size_t>(v)] = true;
            g.order[static_cast<std::size_t>(g.layer[static_cast<std::size_t>(v)])].push_back(v);
            // Next steps in the paths' own order: pushed last first.
            std::vector<int> next;
            if (v < g.boxes) {
                for (int to : firstOut[static_cast<std::size_t>(v)])
                    for (auto [target, first] : stepTo[static_cast<std::size_t>(v)])
                        if (target == to) {
                            next.push_back(first);
                            break;
                        }
            } else {
                next = g.down[static_cast<std::size_t>(v)];
            }
            for (auto it = next.rbegin(); it != next.rend(); ++it)
                if (!placed[static_cast<std::size_t>(*it)])
                    stack.push_back(*it);
        }
    };
    for (int l = 0; l < layers; ++l)
        for (int v = 0; v < g.boxes; ++v)
            if (g.layer[static_cast<std::size_t>(v)] == l &&
                g.up[static_cast<std::size_t>(v)].empty())
                visit(v);
    for (int v = 0; v < g.size(); ++v)
        visit(v);
    return g;
}

} // namespace ry
