#pragma once

// The fourth step of a layered layout: where each node stands across its layer. The order in
// each layer is kept and neighbours keep their gap; within that, each node is drawn towards
// the mean of its neighbours in the layers above and below, alternately, so that short paths
// run straight down; a long path's chain of stand-in points forms one straight lane in line
// with the box it leads to, so the path turns once below its source and then runs straight
// down that lane.
// Each layer is solved exactly: the places nearest (in least squares) to where the nodes are
// drawn, in order, with the gaps kept.

#include "layout/layered_graph.h"

#include <vector>

namespace ry {

// The gap between two boxes side by side, and between a stand-in point and anything.
struct PlacementGaps {
    int boxes = 50;
    int lanes = 16;
};

// The left edge of each node, the leftmost node of the drawing at 0.
std::vector<int> PlaceAcross(const LayeredGraph& g, PlacementGaps gaps, int rounds = 8);

} // namespace ry
