#include "layout/drawing_measure.h"

#include <algorithm>
#include <cstddef>

namespace ry {

namespace {

struct Line {
    Point a, b;
    int route;
};

std::int64_t Cross(Point o, Point a, Point b) {
    return static_cast<std::int64_t>(a.x - o.x) * (b.y - o.y) -
           static_cast<std::int64_t>(a.y - o.y) * (b.x - o.x);
}

int Sign(std::int64_t v) {
    return (v > 0) - (v < 0);
}

// Whether two straight lines cross at a point inside both (not at an end of either).
bool CrossInside(const Line& p, const Line& q) {
    const int d1 = Sign(Cross(p.a, p.b, q.a)), d2 = Sign(Cross(p.a, p.b, q.b));
    const int d3 = Sign(Cross(q.a, q.b, p.a)), d4 = Sign(Cross(q.a, q.b, p.b));
    return d1 * d2 < 0 && d3 * d4 < 0;
}

} // namespace

DrawingCounts MeasureDrawing(const std::vector<Polyline>& routes) {
    DrawingCounts counts;
    std::vector<Line> across, down, other; // horizontal, vertical, sloping
    for (std::size_t r = 0; r < routes.size(); ++r) {
        const auto& pts = routes[r].points;
        ++counts.connectors;
        int bends = 0;
        Point lastStep{0, 0};
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const Point a = pts[i - 1], b = pts[i];
            if (a == b)
                continue;
            const Point step{(b.x > a.x) - (b.x < a.x), (b.y > a.y) - (b.y < a.y)};
            const bool sloping = a.x != b.x && a.y != b.y;
            if (!(lastStep == Point{0, 0}) && (sloping || !(step == lastStep)))
                ++bends;
            lastStep = sloping ? Point{2, 2} : step;
            const Line line{a, b, static_cast<int>(r)};
            if (a.y == b.y)
                across.push_back(
                    {{std::min(a.x, b.x), a.y}, {std::max(a.x, b.x), a.y}, line.route});
            else if (a.x == b.x)
                down.push_back({{a.x, std::min(a.y, b.y)}, {a.x, std::max(a.y, b.y)}, line.route});
            else
                other.push_back(line);
        }
        counts.bends += bends;
        counts.mostBends = std::max(counts.mostBends, bends);
    }
    std::sort(down.begin(), down.end(), [](const Line& p, const Line& q) { return p.a.x < q.a.x; });
    for (const Line& h : across) {
        auto it = std::upper_bound(down.begin(), down.end(), h.a.x,
                                   [](int x, const Line& v) { return x < v.a.x; });
        for (; it != down.end() && it->a.x < h.b.x; ++it)
            if (it->route != h.route && it->a.y < h.a.y && h.a.y < it->b.y)
                ++counts.crossings;
    }
    for (std::size_t i = 0; i < other.size(); ++i) {
        for (const auto* lines : {&across, &down})
            for (const Line& l : *lines)
                if (l.route != other[i].route && CrossInside(other[i], l))
                    ++counts.crossings;
        for (std::size_t k = 0; k < i; ++k)
            if (other[k].route != other[i].route && CrossInside(other[i], other[k]))
                ++counts.crossings;
    }
    return counts;
}

} // namespace ry
