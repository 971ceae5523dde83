#include "layout/crossing_order.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace ry {

namespace {

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// The crossings between one layer and the next, each path given as (place above, place
// below): the paths sorted by their upper ends, the inversions of their lower ends counted
// with an accumulator tree.
std::int64_t CountBetween(std::vector<std::pair<int, int>>& paths, int belowCount) {
    if (paths.size() < 2)
        return 0;
    std::sort(paths.begin(), paths.end());
    int first = 1;
    while (first < belowCount)
        first *= 2;
    std::vector<int> tree(static_cast<std::size_t>(2 * first - 1), 0);
    --first;
    std::int64_t crossings = 0;
    for (const auto& p : paths) {
        int index = p.second + first;
        ++tree[static_cast<std::size_t>(index)];
        while (index > 0) {
            if (index % 2)
                crossings += tree[static_cast<std::size_t>(index + 1)];
            index = (index - 1) / 2;
            ++tree[static_cast<std::size_t>(index)];
        }
    }
    return crossings;
}

std::int64_t CrossingsBelow(const LayeredGraph& g, std::size_t l, const std::vector<int>& place,
                            std::vector<std::pair<int, int>>& paths) {
    paths.clear();
    for (int v : g.order[l])
        for (int w : g.down[static_cast<std::size_t>(v)])
            if (g.layer[static_cast<std::size_t>(w)] == static_cast<int>(l) + 1)
                paths.emplace_back(place[static_cast<std::size_t>(v)],
                                   place[static_cast<std::size_t>(w)]);
    return CountBetween(paths, static_cast<int>(g.order[l + 1].size()));
}

void NotePlaces(const LayeredGraph& g, std::vector<int>& place) {
    place.resize(static_cast<std::size_t>(g.size()));
    for (const auto& row : g.order)
        for (std::size_t i = 0; i < row.size(); ++i)
            place[static_cast<std::size_t>(row[i])] = static_cast<int>(i);
}

// Sorts one layer by the mean place of each node's neighbours in the adjacent layer; nodes
// without such neighbours keep their place.
void SortByBarycentre(const LayeredGraph& g, std::vector<int>& row, std::vector<int>& place,
                      bool fromAbove, std::vector<std::pair<double, int>>& keyed) {
    keyed.clear();
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int v = row[i];
        const auto& near =
            fromAbove ? g.up[static_cast<std::size_t>(v)] : g.down[static_cast<std::size_t>(v)];
        double sum = 0;
        for (int w : near)
            sum += place[static_cast<std::size_t>(w)];
        keyed.emplace_back(near.empty() ? static_cast<double>(i) : sum / near.size(), v);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        row[i] = keyed[i].second;
        place[static_cast<std::size_t>(row[i])] = static_cast<int>(i);
    }
}

// Crossings between the paths of neighbours u (left) and v in the adjacent layer `near`.
std::int64_t PairCrossings(const std::vector<int>& nu, const std::vector<int>& nv,
                           const std::vector<int>& place) {
    std::int64_t c = 0;
    for (int a : nu)
        for (int b : nv)
            if (place[static_cast<std::size_t>(a)] > place[static_cast<std::size_t>(b)])
                ++c;
    return c;
}

// Swaps neighbours in a layer while that takes out crossings with both adjacent layers.
void Transpose(LayeredGraph& g, std::vector<int>& place) {
    for (int round = 0; round < 4; ++round) {
        bool better = false;
        for (auto& row : g.order) {
            if (row.size() > 400)
                continue; // a pass over such a layer costs more than it gains
            for (std::size_t i = 0; i + 1 < row.size(); ++i) {
                const auto u = static_cast<std::size_t>(row[i]),
                           v = static_cast<std::size_t>(row[i + 1]);
                const std::int64_t now = PairCrossings(g.up[u], g.up[v], place) +
                                         PairCrossings(g.down[u], g.down[v], place);
                const std::int64_t swapped = PairCrossings(g.up[v], g.up[u], place) +
                                             PairCrossings(g.down[v], g.down[u], place);
                if (swapped < now) {
                    std::swap(row[i], row[i + 1]);
                    place[u] = static_cast<int>(i + 1);
                    place[v] = static_cast<int>(i);
                    better = true;
                }
            }
        }
        if (!better)
            return;
    }
}

} // namespace

std::int64_t CountLayerCrossings(const LayeredGraph& g) {
    std::vector<int> place;
    NotePlaces(g, place);
    std::vector<std::pair<int, int>> paths;
    std::int64_t total = 0;
    for (std::size_t l = 0; l + 1 < g.order.size(); ++l)
        total += CrossingsBelow(g, l, place, paths);
    return total;
}

bool ReduceCrossings(LayeredGraph& g, int sweeps, const std::atomic<bool>* cancel) {
    if (Cancelled(cancel))
        return false;
    std::vector<int> place;
    NotePlaces(g, place);
    auto best = g.order;
    std::int64_t fewest = CountLayerCrossings(g);
    std::vector<std::pair<double, int>> keyed;
    int stale = 0;
    for (int sweep = 0; sweep < sweeps && fewest > 0 && stale < 2; ++sweep) {
        if (Cancelled(cancel))
            return false;
        for (std::size_t l = 1; l < g.order.size(); ++l)
            SortByBarycentre(g, g.order[l], place, true, keyed);
        for (std::size_t l = g.order.size() - 1; l-- > 0;)
            SortByBarycentre(g, g.order[l], place, false, keyed);
        Transpose(g, place);
        const std::int64_t now = CountLayerCrossings(g);
        if (now < fewest) {
            fewest = now;
            best = g.order;
            stale = 0;
        } else {
            ++stale;
        }
    }
    g.order = std::move(best);
    return true;
}

} // namespace ry
