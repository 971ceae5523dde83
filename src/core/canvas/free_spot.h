#pragma once

// Where a group of boxes can go without covering any other box: the paste places its copy at
// the nearest such spot to where it was wanted.

#include "canvas/routes.h"

#include <vector>

namespace ry {

// The top-left corner nearest to `wanted` (by straight-line distance, on a grid of `step`
// pixels around it) where a rectangle of `width` by `height`, grown by `gap` on every side,
// overlaps none of `taken`, with the rectangle kept inside the area from (0, 0) to
// (areaWidth, areaHeight). `wanted` itself is first brought inside the area. When no spot is
// free, the result is that brought-in `wanted`: the group then covers something, as it would
// have without the search.
Point FreeSpot(Point wanted, int width, int height, const std::vector<Rect>& taken, int areaWidth,
               int areaHeight, int gap = 0, int step = 10);

} // namespace ry
