#pragma once

// Arrange: new places for module boxes so a script's flow reads from top to bottom. Boxes are
// put in layers by their distance from the start module, the boxes of each layer ordered so
// paths cross little, and the layers stacked with room between them for connectors and their
// labels. Only places are computed; the caller decides what to do with them.

#include "canvas/routes.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace ry {

class ScriptTables;

// Room left between boxes: beside each other for labels, between layers for connectors.
inline constexpr int kArrangeColumnGap = 50;
inline constexpr int kArrangeLayerGap = 70;
// The free border round the arranged boxes.
inline constexpr int kArrangeMargin = 20;

struct ArrangeGraph {
    // The height of each box (all are kBoxWidth wide).
    std::vector<int> heights;
    // Paths between boxes, as indices into `heights`; loops and repeats are allowed.
    std::vector<std::pair<int, int>> edges;
    // The box the flow starts at, or -1.
    int start = -1;
    // The width the layout should keep inside: a layer wider than this is folded into
    // several rows.
    int areaWidth = 2000;
};

// The top-left corner of each box, x and y at least kArrangeMargin; boxes never overlap.
// Nothing when `cancel` was set while it ran.
std::optional<std::vector<Point>> ArrangeBoxes(const ArrangeGraph& graph,
                                               const std::atomic<bool>* cancel = nullptr);

// A script's modules (or the given ones of it) as a graph for ArrangeBoxes: the modules in
// chain order, the paths between them, the start module when it is among them.
struct ArrangeInput {
    std::vector<std::int16_t> modules;
    ArrangeGraph graph;
};
ArrangeInput ArrangeInputOf(const ScriptTables& tables, int script,
                            const std::vector<std::int16_t>& only = {}, int areaWidth = 2000);

} // namespace ry
