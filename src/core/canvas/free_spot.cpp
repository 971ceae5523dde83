#include "canvas/free_spot.h"

#include <algorithm>
#include <cmath>

namespace ry {

Point FreeSpot(Point wanted, int width, int height, const std::vector<Rect>& taken, int areaWidth,
               int areaHeight, int gap, int step) {
    const int maxLeft = std::max(0, areaWidth - width);
    const int maxTop = std::max(0, areaHeight - height);
    const Point start{std::clamp(wanted.x, 0, maxLeft), std::clamp(wanted.y, 0, maxTop)};
    step = std::max(1, step);
    auto fits = [&](Point p) {
        const Rect group{p.x - gap, p.y - gap, width + 2 * gap, height + 2 * gap};
        return std::none_of(taken.begin(), taken.end(),
                            [&](const Rect& r) { return Intersects(group, r); });
    };
    if (fits(start))
        return start;

    // Square rings of grid points around the start, nearest ring first. A point of ring r lies
    // at least r steps away, so the search ends once that exceeds the best distance found.
    const long long rings = std::max(maxLeft, maxTop) / step + 1;
    long long best = -1;
    Point found = start;
    for (long long r = 1; r <= rings; ++r) {
        const long long nearest = r * step;
        if (best >= 0 && nearest * nearest > best)
            break;
        for (long long dy = -r; dy <= r; ++dy) {
            // Only the ring's edge: its inside was searched before.
            const long long dxStep = (dy == -r || dy == r) ? 1 : 2 * r;
            for (long long dx = -r; dx <= r; dx += dxStep) {
                const long long x = start.x + dx * step;
                const long long y = start.y + dy * step;
                if (x < 0 || y < 0 || x > maxLeft || y > maxTop)
                    continue;
                const long long d = (dx * dx + dy * dy) * step * step;
                if (best >= 0 && d >= best)
                    continue;
                const Point p{static_cast<int>(x), static_cast<int>(y)};
                if (fits(p)) {
                    best = d;
                    found = p;
                }
            }
        }
    }
    return found;
}

} // namespace ry
