#pragma once

// The second step of a layered layout: each box's layer, from the top. Every path (turned
// round where it runs back, so none loops) leads at least one layer down: a box sits one
// layer below the lowest box that leads to it. Boxes nothing leads to start at the top,
// except that such a box with paths only to boxes further down is drawn just above the
// highest of them, so it does not pull a long path across the drawing.

#include <utility>
#include <vector>

namespace ry {

// The layer of each of n boxes, 0 at the top, for paths that form no loop (from != to).
std::vector<int> AssignLayers(int n, const std::vector<std::pair<int, int>>& downward);

// The layer of each of n boxes by its distance (in paths) from the start box, then from boxes
// nothing leads to, then from whatever is left. A drawing of many crossing loops (where the
// longest way down runs through most boxes) stays shallow so: every path leads one layer
// down, back up, or along its layer.
std::vector<int> DistanceLayers(int n, const std::vector<std::pair<int, int>>& paths, int start);

// The layers' cost to draw: how many layers the paths pass, summed over the paths (one for a
// path to the next layer, none along a layer).
long long LayerSpan(const std::vector<int>& layerOf, const std::vector<std::pair<int, int>>& paths);

} // namespace ry
