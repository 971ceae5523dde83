#pragma once

// The order in which the layered layout's walks start: from the start box, then from each box
// nothing leads to, then from every box (those reached only through a loop), each in the
// order given. `walkFrom` is called for each and skips boxes already walked.

#include <cstddef>
#include <vector>

namespace ry {

template <class Walk>
void WalkFromRoots(int n, int start, const std::vector<int>& incoming, Walk&& walkFrom) {
    if (start >= 0 && start < n)
        walkFrom(start);
    for (int v = 0; v < n; ++v)
        if (incoming[static_cast<std::size_t>(v)] == 0)
            walkFrom(v);
    for (int v = 0; v < n; ++v)
        walkFrom(v);
}

} // namespace ry
