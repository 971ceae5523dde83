#include "layout/back_edges.h"
#include "layout/walk_roots.h"

#include <cstddef>

namespace ry {

std::vector<bool> BackEdges(int n, const std::vector<std::pair<int, int>>& edges, int start) {
    const auto N = static_cast<std::size_t>(n < 0 ? 0 : n);
    std::vector<std::vector<int>> out(N); // edge indices, in the order given
    std::vector<int> incoming(N, 0);
    std::vector<bool> back(edges.size(), false);
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const auto [from, to] = edges[e];
        if (from < 0 || to < 0 || from >= n || to >= n)
            continue;
        if (from == to) {
            back[e] = true;
            continue;
        }
        out[static_cast<std::size_t>(from)].push_back(static_cast<int>(e));
        ++incoming[static_cast<std::size_t>(to)];
    }
    enum : char { Unseen, OnWay, Done };
    std::vector<char> state(N, Unseen);
    std::vector<std::pair<int, std::size_t>> stack; // box, next of its paths to follow
    auto walkFrom = [&](int root) {
        if (state[static_cast<std::size_t>(root)] != Unseen)
            return;
        state[static_cast<std::size_t>(root)] = OnWay;
        stack.assign(1, {root, 0});
        while (!stack.empty()) {
            auto& [v, next] = stack.back();
            const auto& paths = out[static_cast<std::size_t>(v)];
            if (next == paths.size()) {
                state[static_cast<std::size_t>(v)] = Done;
                stack.pop_back();
                continue;
            }
            const int e = paths[next++];
            const int w = edges[static_cast<std::size_t>(e)].second;
            const char s = state[static_cast<std::size_t>(w)];
            if (s == OnWay) {
                back[static_cast<std::size_t>(e)] = true;
            } else if (s == Unseen) {
                state[static_cast<std::size_t>(w)] = OnWay;
                stack.emplace_back(w, 0);
            }
        }
    };
    WalkFromRoots(n, start, incoming, walkFrom);
    return back;
}

} // namespace ry
