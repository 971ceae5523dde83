#pragma once

// A layered drawing in the making: boxes in layers, each path leading exactly one layer down.
// A path across several layers is a chain through stand-in points, one in each layer it
// passes, so that it takes part in ordering and placing like any box and keeps a lane free.

#include <utility>
#include <vector>

namespace ry {

struct LayeredGraph {
    // Nodes 0..boxes-1 are the boxes; the others are stand-in points of long paths.
    int boxes = 0;
    std::vector<int> layer;
    std::vector<int> width;
    // For a stand-in point, the box its path comes from; for a box, itself.
    std::vector<int> origin;
    std::vector<std::vector<int>> up, down; // neighbours one layer up and one down
    // The nodes of each layer from left to right.
    std::vector<std::vector<int>> order;

    int size() const { return static_cast<int>(layer.size()); }
    bool IsStandIn(int v) const { return v >= boxes; }
};

// The layered graph of `widths.size()` boxes in the given layers with the given downward paths
// (each to a lower layer; repeats are kept once). Each layer starts in the order a depth-first
// walk from the top meets its nodes, so that boxes reached from one box start side by side.
// `rowsOf`, when given, names for each layer the layer it was folded from: a long path gets
// a stand-in point only in the first row of each folded layer it passes, none in the rows of
// its own ends' layers (it runs between the boxes of those rows, as in a grid). Without
// `standIns`, long paths get none: the boxes pack as tightly as a grid.
LayeredGraph MakeLayeredGraph(const std::vector<int>& widths, const std::vector<int>& layerOf,
                              const std::vector<std::pair<int, int>>& downward,
                              const std::vector<int>* rowsOf = nullptr, bool standIns = true);

} // namespace ry
