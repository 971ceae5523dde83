#pragma once

// Folding a wide layer into rows. The boxes of a layer, in their order, are cut into
// families: boxes side by side that the same box leads to (a menu's items). Rows are filled
// with whole families as far as they fit the width, so a menu's items stay together beside
// each other; only a family wider than a whole row is cut, where it must.

#include "layout/layered_graph.h"

#include <vector>

namespace ry {

// The families of one ordered layer: for each, its first and one-past-last place in `row`.
// A box's family is named by the box its leftmost path from above comes from (a long path
// counts from its source box); boxes with no path from above stand alone.
std::vector<std::pair<int, int>> Families(const LayeredGraph& g, const std::vector<int>& row);

// A new layer for each box (the boxes only, stand-in points dropped): each layer of the
// ordered graph folded into rows of boxes no wider than `width`, with `gap` between boxes
// side by side. Layers that fit stay as they are; later layers move down by the rows added.
// `placeInRow` gets, for each box, its place from the left within its new layer.
// `foldedFrom` gets, for each new layer, the layer it was folded from.
std::vector<int> FoldLayers(const LayeredGraph& g, int width, int gap, std::vector<int>& placeInRow,
                            std::vector<int>* foldedFrom = nullptr);

} // namespace ry
