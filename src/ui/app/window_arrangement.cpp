#include "app/window_arrangement.h"

#include <algorithm>

namespace ry {

std::vector<QRect> CascadeFrames(const QRect& area, int count, int step, const QSize& minimum) {
    std::vector<QRect> frames;
    if (count <= 0)
        return frames;
    step = std::max(step, 1);
    const int spread = (count - 1) * step;
    const int width = std::min(area.width(), std::max(minimum.width(), area.width() - spread));
    const int height = std::min(
        area.height(), std::max({minimum.height(), area.height() - spread, area.height() * 2 / 3}));
    // Windows per run down the area, and room to the right for the frames' left edges.
    const int run = std::max(1, (area.height() - height) / step + 1);
    const int across = std::max(1, area.width() - width + 1);
    frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // Past the area's right edge, which only a great many windows reach, the frames start
        // again from the left.
        const int x = (i * step) % across;
        const int y = (i % run) * step;
        frames.emplace_back(area.left() + x, area.top() + y, width, height);
    }
    return frames;
}

} // namespace ry
