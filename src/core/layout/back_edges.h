#pragma once

// The first step of a layered layout: which paths run against the flow. A depth-first walk
// from the start box (then from boxes nothing leads to, then from whatever is left, each in
// the order given) follows the paths in their order; a path back to a box still on the walk's
// way (a retry, "fail" back to the main menu) closes a loop and runs against the flow. Laid
// out with those paths turned round, the drawing has no loops left, and the turned paths are
// drawn as paths back up.

#include <utility>
#include <vector>

namespace ry {

// For each path of `edges` (indices into n boxes), whether it runs back against the flow.
// A path from a box to itself counts as back. Turning every back path round leaves no loop.
std::vector<bool> BackEdges(int n, const std::vector<std::pair<int, int>>& edges, int start);

} // namespace ry
