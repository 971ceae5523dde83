#include "layout/placement.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

namespace ry {

namespace {

// The places nearest `want` (weighted least squares) with x[i + 1] - x[i] >= gap[i]: pool
// adjacent violators on the places less their least offsets.
void NearestInOrder(const std::vector<double>& want, const std::vector<double>& weight,
                    const std::vector<double>& gap, std::vector<double>& x) {
    const std::size_t n = want.size();
    std::vector<double> offset(n, 0);
    for (std::size_t i = 1; i < n; ++i)
        offset[i] = offset[i - 1] + gap[i - 1];
    struct Block {
        double sum, weight;
        std::size_t first, count;
    };
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < n; ++i) {
        blocks.push_back({(want[i] - offset[i]) * weight[i], weight[i], i, 1});
        while (blocks.size() > 1) {
            Block& b = blocks.back();
            Block& a = blocks[blocks.size() - 2];
            if (a.sum / a.weight <= b.sum / b.weight)
                break;
            a.sum += b.sum;
            a.weight += b.weight;
            a.count += b.count;
            blocks.pop_back();
        }
    }
    x.resize(n);
    for (const Block& b : blocks)
        for (std::size_t i = b.first; i < b.first + b.count; ++i)
            x[i] = b.sum / b.weight + offset[i];
}

} // namespace

std::vector<int> PlaceAcross(const LayeredGraph& g, PlacementGaps gaps, int rounds) {
    const auto N = static_cast<std::size_t>(g.size());
    std::vector<double> centre(N, 0);
    auto gapBetween = [&](int a, int b) {
        const bool boxes = !g.IsStandIn(a) && !g.IsStandIn(b);
        return (g.width[static_cast<std::size_t>(a)] + g.width[static_cast<std::size_t>(b)]) / 2.0 +
               (boxes ? gaps.boxes : gaps.lanes);
    };
    for (const auto& row : g.order)
        for (std::size_t i = 1; i < row.size(); ++i)
            centre[static_cast<std::size_t>(row[i])] =
                centre[static_cast<std::size_t>(row[i - 1])] + gapBetween(row[i - 1], row[i]);

    std::vector<double> want, weight, gap, x;
    auto solveLayer = [&](const std::vector<int>& row, bool fromAbove, bool fromBelow) {
        want.assign(row.size(), 0);
        weight.assign(row.size(), 0);
        gap.assign(row.size(), 0);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const auto v = static_cast<std::size_t>(row[i]);
            bool above = fromAbove, below = fromBelow;
            double sum = 0;
            double count = 0;
            // A long path's lane lines up with the box it leads to: drawn straight down from
            // the turn below its source, it then meets no box on its way.
            if (g.IsStandIn(row[i])) {
                above = false;
                below = true;
            }
            // A box a long path leads to stays in line with that path's lane: the path comes
            // down on the box's middle.
            bool lane = false;
            for (int w : g.up[v])
                lane = lane || (!g.IsStandIn(row[i]) && g.IsStandIn(w));
            if (lane) {
                above = true;
                below = false;
            }
            if (above)
                for (int w : g.up[v])
                    if (!lane || g.IsStandIn(w)) {
                        sum += centre[static_cast<std::size_t>(w)];
                        ++count;
                    }
            if (below)
                for (int w : g.down[v]) {
                    sum += centre[static_cast<std::size_t>(w)];
                    ++count;
                }
            if (count == 0) {
                want[i] = centre[v];
                weight[i] = 0.01;
            } else {
                want[i] = sum / count;
                // A long path's lane weighs more: it should run straight.
                weight[i] = g.IsStandIn(row[i]) || lane ? 16.0 : count;
            }
            if (i + 1 < row.size())
                gap[i] = gapBetween(row[i], row[i + 1]);
        }
        NearestInOrder(want, weight, gap, x);
        for (std::size_t i = 0; i < row.size(); ++i)
            centre[static_cast<std::size_t>(row[i])] = x[i];
    };
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t l = 1; l < g.order.size(); ++l)
            solveLayer(g.order[l], true, false);
        for (std::size_t l = g.order.size() - 1; l-- > 0;)
            solveLayer(g.order[l], false, true);
    }
    for (const auto& row : g.order)
        solveLayer(row, true, true);

    double left = 0;
    bool any = false;
    for (std::size_t v = 0; v < N; ++v) {
        const double l = centre[v] - g.width[v] / 2.0;
        left = any ? std::min(left, l) : l;
        any = true;
    }
    std::vector<int> at(N);
    for (std::size_t v = 0; v < N; ++v)
        at[v] = static_cast<int>(std::lround(centre[v] - g.width[v] / 2.0 - left));
    return at;
}

} // namespace ry
