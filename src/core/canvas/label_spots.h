#pragma once

// Free spots for labels and tags: every rectangle already taken on the canvas (boxes, tags,
// labels placed before) is kept in a coarse grid, and a label goes to the first spot beside its
// own connector that takes none of them, or nowhere.

#include "canvas/labels.h"
#include "canvas/routes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace ry {

class TakenSpace {
public:
    void Take(const Rect& r);
    // Whether `r` shares no pixel with a rectangle taken.
    bool IsFree(const Rect& r) const;
    void Clear() {
        cells_.clear();
        rects_.clear();
    }

private:
    static constexpr int kCell = 64;
    static int Cell(int v) { return v >= 0 ? v / kCell : -((-v + kCell - 1) / kCell); }
    static std::int64_t Key(int cx, int cy) {
        return (static_cast<std::int64_t>(cx) << 32) ^ static_cast<std::uint32_t>(cy);
    }
    std::unordered_map<std::int64_t, std::vector<int>> cells_;
    std::vector<Rect> rects_;
};

// The first free spot for a label of `size` beside the connector: `preferred` first when given
// (the classic place), then along its lines from the arrow back to the source, on both sides
// of each line, near the line's end first; or, `fromSource`, along its lines from the source
// on, near each line's start first. Spots keep to x and y of 0 or more, and `clear`, when
// given, accepts them too. Nothing when every spot is taken.
std::optional<Rect> PlaceFreeLabel(const ConnectorPath& path, Size size, const TakenSpace& taken,
                                   const std::optional<Rect>& preferred = std::nullopt,
                                   const std::function<bool(const Rect&)>& clear = {},
                                   bool fromSource = false);

} // namespace ry
