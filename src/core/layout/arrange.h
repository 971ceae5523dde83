#pragma once

// Arrange: new places for module boxes so a script's flow reads from top to bottom, as a
// layered drawing. Paths that run back against the flow (retries, "fail" back to a menu) are
// found first and drawn as paths back up; every other path leads down at least one layer;
// paths across several layers take part in the ordering through stand-in points; the boxes
// of each layer are ordered so few paths cross, and placed so paths run straight down. A
// layer wider than the area folds into rows without parting a family (the boxes one box
// leads to stay side by side), and a drawing taller than the area folds into bands side by
// side. Only places are computed; the caller decides what to do with them.

#include "canvas/routes.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ry {

class ScriptTables;

// Room left between boxes: beside each other for labels, between layers for connectors.
inline constexpr int kArrangeColumnGap = 50;
inline constexpr int kArrangeLayerGap = 70;
// The free border round the arranged boxes.
inline constexpr int kArrangeMargin = 20;
// Room between the bands of a drawing folded for its height, for the paths between them.
inline constexpr int kArrangeBandGap = 100;

struct ArrangeGraph {
    // The height of each box (all are kBoxWidth wide).
    std::vector<int> heights;
    // Paths between boxes, as indices into `heights`; loops and repeats are allowed.
    std::vector<std::pair<int, int>> edges;
    // The box the flow starts at, or -1.
    int start = -1;
    // The area the layout should keep inside (the canvas): a layer wider than this is
    // folded into rows, a drawing taller than this into bands side by side.
    int areaWidth = 2000;
    int areaHeight = 2000;
};

struct Arrangement {
    // The top-left corner of each box, x and y at least kArrangeMargin; boxes never overlap.
    std::vector<Point> at;
    // The room the boxes take, their margin included.
    int width = 0;
    int height = 0;
    // Whether that room lies within the area; when not, `at` is the most compact layout found.
    bool fits = true;
};

// Nothing when `cancel` was set while it ran.
std::optional<Arrangement> ArrangeBoxes(const ArrangeGraph& graph,
                                        const std::atomic<bool>* cancel = nullptr);

// What to tell the user when an arrangement does not fit the area: "The arranged modules need
// 2400 x 3100 pixels; the design area is 2000 x 2000."
std::string RoomNeededMessage(const Arrangement& arrangement, int areaWidth, int areaHeight);

// A script's modules (or the given ones of it) as a graph for ArrangeBoxes: the modules in
// chain order, the paths between them, the start module when it is among them.
struct ArrangeInput {
    std::vector<std::int16_t> modules;
    ArrangeGraph graph;
};
ArrangeInput ArrangeInputOf(const ScriptTables& tables, int script,
                            const std::vector<std::int16_t>& only = {}, int areaWidth = 2000,
                            int areaHeight = 2000);

} // namespace ry
