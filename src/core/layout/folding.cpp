#include "layout/folding.h"

#include <algorithm>
#include <cstddef>

namespace ry {

std::vector<std::pair<int, int>> Families(const LayeredGraph& g, const std::vector<int>& row) {
    std::vector<int> place(static_cast<std::size_t>(g.size()), 0);
    for (const auto& r : g.order)
        for (std::size_t i = 0; i < r.size(); ++i)
            place[static_cast<std::size_t>(r[i])] = static_cast<int>(i);
    auto parentOf = [&](int v) {
        const auto& up = g.up[static_cast<std::size_t>(v)];
        if (up.empty())
            return -1 - v;
        const int leftmost = *std::min_element(up.begin(), up.end(), [&](int a, int b) {
            return place[static_cast<std::size_t>(a)] < place[static_cast<std::size_t>(b)];
        });
        return g.origin[static_cast<std::size_t>(leftmost)];
    };
    std::vector<std::pair<int, int>> families;
    int last = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int parent = parentOf(row[i]);
        if (families.empty() || parent != last)
            families.emplace_back(static_cast<int>(i), static_cast<int>(i) + 1);
        else
            families.back().second = static_cast<int>(i) + 1;
        last = parent;
    }
    return families;
}

std::vector<int> FoldLayers(const LayeredGraph& g, int width, int gap, std::vector<int>& placeInRow,
                            std::vector<int>* foldedFrom) {
    std::vector<int> layerOf(static_cast<std::size_t>(g.boxes), 0);
    placeInRow.assign(static_cast<std::size_t>(g.boxes), 0);
    int next = 0;
    std::vector<int> boxes;
    if (foldedFrom)
        foldedFrom->clear();
    for (const auto& row : g.order) {
        boxes.clear();
        for (int v : row)
            if (!g.IsStandIn(v))
                boxes.push_back(v);
        if (boxes.empty())
            continue;
        int rowIndex = 0, used = 0, inRow = 0;
        auto put = [&](int v) {
            const int w = g.width[static_cast<std::size_t>(v)];
            if (inRow > 0 && used + gap + w > width) {
                ++rowIndex;
                used = inRow = 0;
            }
            used += (inRow ? gap : 0) + w;
            layerOf[static_cast<std::size_t>(v)] = next + rowIndex;
            placeInRow[static_cast<std::size_t>(v)] = inRow++;
        };
        for (auto [first, end] : Families(g, boxes)) {
            int span = -gap;
            for (int i = first; i < end; ++i)
                span += gap + g.width[static_cast<std::size_t>(boxes[static_cast<std::size_t>(i)])];
            // A family that does not fit what is left of this row starts the next.
            if (inRow > 0 && used + gap + span > width) {
                ++rowIndex;
                used = inRow = 0;
            }
            for (int i = first; i < end; ++i)
                put(boxes[static_cast<std::size_t>(i)]);
        }
        next += rowIndex + 1;
        if (foldedFrom)
            foldedFrom->insert(foldedFrom->end(), static_cast<std::size_t>(rowIndex + 1),
                               static_cast<int>(&row - g.order.data()));
    }
    return layerOf;
}

} // namespace ry
