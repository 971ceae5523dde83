#pragma once

// Checks of a drawn canvas shared by the routing and label tests: lines through boxes, lines of
// different destinations on one lane, rectangles on top of each other.

#include "canvas/around_boxes.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace ry::test {

// The first line of a route that paints a pixel inside a box, described; empty when none does.
// The route's first pixel (on its source's edge) and its tip (on its destination's) are left
// out.
inline std::string LineThroughABox(const Polyline& route, const std::vector<Rect>& boxes) {
    const auto& p = route.points;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        Point a = p[i], b = p[i + 1];
        if (i + 2 == p.size()) {
            b.x -= (b.x > a.x) - (b.x < a.x);
            b.y -= (b.y > a.y) - (b.y < a.y);
        }
        const Rect pixels = SegmentPixels(a, b);
        for (std::size_t k = 0; k < boxes.size(); ++k)
            if (Intersects(pixels, boxes[k]))
                return "line " + std::to_string(i) + " (" + std::to_string(a.x) + "," +
                       std::to_string(a.y) + ")-(" + std::to_string(b.x) + "," +
                       std::to_string(b.y) + ") runs through box " + std::to_string(k);
    }
    return {};
}

// Whether two routes run along the same lane, or closer beside each other than kLaneSeparation,
// for more than a few pixels (two lines moved apart may still meet at a bend).
inline bool ShareALane(const Polyline& a, const Polyline& b) {
    for (std::size_t i = 0; i + 1 < a.points.size(); ++i)
        for (std::size_t k = 0; k + 1 < b.points.size(); ++k) {
            const Point a1 = a.points[i], a2 = a.points[i + 1];
            const Point b1 = b.points[k], b2 = b.points[k + 1];
            if (a1.x == a2.x && b1.x == b2.x && std::abs(a1.x - b1.x) < kLaneSeparation) {
                const int lo = std::max(std::min(a1.y, a2.y), std::min(b1.y, b2.y));
                const int hi = std::min(std::max(a1.y, a2.y), std::max(b1.y, b2.y));
                if (hi - lo > kLaneSpacing + 1)
                    return true;
            } else if (a1.y == a2.y && b1.y == b2.y && std::abs(a1.y - b1.y) < kLaneSeparation) {
                const int lo = std::max(std::min(a1.x, a2.x), std::min(b1.x, b2.x));
                const int hi = std::min(std::max(a1.x, a2.x), std::max(b1.x, b2.x));
                if (hi - lo > kLaneSpacing + 1)
                    return true;
            }
        }
    return false;
}

inline bool Orthogonal(const Polyline& route) {
    for (std::size_t i = 0; i + 1 < route.points.size(); ++i)
        if (route.points[i].x != route.points[i + 1].x &&
            route.points[i].y != route.points[i + 1].y)
            return false;
    return true;
}

} // namespace ry::test
