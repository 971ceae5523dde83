#pragma once

// The third step of a layered layout: the order of the nodes within each layer, chosen so
// that few paths cross. Layer by layer, down and then up, each node moves to the mean place
// of its neighbours in the layer before (barycentre), and neighbours that cross more paths
// than they would swapped are swapped. The sweeps repeat while they still help; the order
// with the fewest crossings found is kept.

#include "layout/layered_graph.h"

#include <atomic>
#include <cstdint>

namespace ry {

// How many pairs of paths cross between each layer and the next, counted on the straight
// lines between the nodes' places in their layers (paths that skip a layer, between the rows
// of a folded layer, are not counted).
std::int64_t CountLayerCrossings(const LayeredGraph& g);

// Reorders g.order for few crossings, at most `sweeps` rounds down and up. False when
// `cancel` was set while it ran.
bool ReduceCrossings(LayeredGraph& g, int sweeps, const std::atomic<bool>* cancel = nullptr);

} // namespace ry
