#include "canvas/routes.h"

#include <algorithm>
#include <cstdlib>

namespace ry {

void ConnectorPath::MoveTo(Point p) {
    pen_ = p;
}

void ConnectorPath::LineTo(Point p) {
    if (p != pen_) {
        segments_.push_back({pen_, p});
        Cover(pen_);
        Cover(p);
    }
    pen_ = p;
}

void ConnectorPath::SetArrow(const ArrowHead& arrow) {
    arrow_ = arrow;
    hasArrow_ = true;
    for (const Point& p : arrow.corners)
        Cover(p);
}

Rect ConnectorPath::Bounds() const {
    if (minX_ > maxX_)
        return {};
    return {minX_, minY_, maxX_ - minX_ + 1, maxY_ - minY_ + 1};
}

Route ChooseRoute(const Rect& source, const Rect& dest) {
    const Point right1 = RightMiddle(source);
    const Point bottom1 = BottomCentre(source);
    const Point left2 = LeftMiddle(dest);
    const Point top2 = TopCentre(dest);

    const int below = top2.y - bottom1.y;
    if (below >= 28 || (std::abs(top2.x - bottom1.x) <= 18 && below > 10))
        return {RouteKind::Down, bottom1, top2};
    const int rightOf = left2.x - right1.x;
    if (rightOf >= 28 || (std::abs(left2.y - right1.y) <= 18 && rightOf > 10))
        return {RouteKind::Side, right1, left2};
    return {RouteKind::Loop, bottom1, left2};
}

void DrawSideRoute(ConnectorPath& path, int x1, int y1, int x2, int y2) {
    path.MoveTo({x1, y1});
    if (std::abs(y2 - y1) > 8) {
        if (y2 < y1) {
            DrawCorner(path, x1 + 10, y1, Direction::East, Direction::North);
            DrawCorner(path, x1 + 14, y2 + 4, Direction::North, Direction::East);
        } else {
            DrawCorner(path, x1 + 10, y1, Direction::East, Direction::South);
            DrawCorner(path, x1 + 14, y2 - 4, Direction::South, Direction::East);
        }
    }
    path.LineTo({x2, y2});
    DrawArrowHead(path, x2, y2, ArrowKind::East);
}

void DrawDownRoute(ConnectorPath& path, int x1, int y1, int x2, int y2) {
    path.MoveTo({x1, y1});
    if (std::abs(x2 - x1) > 18) {
        if (x2 < x1) {
            DrawCorner(path, x1, y1 + 10, Direction::South, Direction::West);
            DrawCorner(path, x2 + 4, y1 + 14, Direction::West, Direction::South);
        } else {
            DrawCorner(path, x1, y1 + 10, Direction::South, Direction::East);
            DrawCorner(path, x2 - 4, y1 + 14, Direction::East, Direction::South);
        }
    }
    path.LineTo({x2, y2});
    DrawArrowHead(path, x2, y2, ArrowKind::South);
}

LoopRuns LoopRunsFor(int x1, int y1, int x2, int y2) {
    // The column of the vertical run: 14 pixels left of the destination when that clears the
    // source's left half, else well left of the source when going up, else just left of both.
    int xa;
    if (x2 - 14 < x1 && x2 - 14 <= x1 - 91)
        xa = x2 - 14;
    else if (y2 < y1)
        xa = x1 - 91;
    else
        xa = std::min(x2 - 14, x1 - 8);

    // The row of the horizontal run, below the source, kept clear of the last run into the
    // destination so the two bends there do not run into each other.
    int yb = y1 + 14;
    if (std::abs(yb - y2) < 8)
        yb = y2 + 8;
    return {xa, yb};
}

void DrawLoopRoute(ConnectorPath& path, int x1, int y1, int x2, int y2) {
    path.MoveTo({x1, y1});

    // Clearly below and to the right: one bend down into the destination's left side.
    if (y2 > y1 + 4 && x2 - x1 > 14) {
        DrawCorner(path, x1, y2 - 4, Direction::South, Direction::East);
        path.LineTo({x2, y2});
        DrawArrowHead(path, x2, y2, ArrowKind::East);
        return;
    }

    const auto [xa, yb] = LoopRunsFor(x1, y1, x2, y2);

    DrawCorner(path, x1, yb - 4, Direction::South, Direction::West);
    if (yb > y2) {
        DrawCorner(path, xa + 4, yb, Direction::West, Direction::North);
        DrawCorner(path, xa, y2 + 4, Direction::North, Direction::East);
    } else {
        DrawCorner(path, xa + 4, yb, Direction::West, Direction::South);
        DrawCorner(path, xa, y2 - 4, Direction::South, Direction::East);
    }
    path.LineTo({x2, y2});
    DrawArrowHead(path, x2, y2, ArrowKind::East);
}

namespace {

// The four pixels after the bend point and where the pen goes next, for one turn.
struct Turn {
    std::array<Point, 4> pixels;
    Point penOffset;
};

constexpr Turn kEastNorth{{{{1, -1}, {2, -1}, {3, -2}, {3, -3}}}, {4, -4}};
constexpr Turn kEastSouth{{{{1, 1}, {2, 1}, {3, 2}, {3, 3}}}, {4, 4}};
constexpr Turn kSouthEast{{{{1, 1}, {1, 2}, {2, 3}, {3, 3}}}, {4, 4}};
constexpr Turn kSouthWest{{{{-1, 1}, {-1, 2}, {-2, 3}, {-3, 3}}}, {-4, 4}};
constexpr Turn kWestNorth{{{{-1, -1}, {-2, -1}, {-3, -2}, {-3, -3}}}, {-4, -4}};
constexpr Turn kWestSouth{{{{-1, 1}, {-2, 1}, {-3, 2}, {-3, 3}}}, {-4, 4}};
constexpr Turn kNorthEast{{{{1, -1}, {1, -2}, {2, -3}, {3, -3}}}, {4, -4}};
constexpr Turn kNorthWest{{{{-1, -1}, {-1, -2}, {-2, -3}, {-3, -3}}}, {-4, -4}};

const Turn& TurnFor(Direction in, Direction out) {
    switch (in) {
    case Direction::East:
        return out == Direction::North ? kEastNorth : kEastSouth;
    case Direction::South:
        return out == Direction::East ? kSouthEast : kSouthWest;
    case Direction::West:
        return out == Direction::North ? kWestNorth : kWestSouth;
    case Direction::North:
        break;
    }
    return out == Direction::East ? kNorthEast : kNorthWest;
}

} // namespace

void DrawCorner(ConnectorPath& path, int x, int y, Direction in, Direction out) {
    const Turn& turn = TurnFor(in, out);
    path.LineTo({x, y});
    path.SetBlackPixel({x, y});
    for (const Point& d : turn.pixels)
        path.SetBlackPixel({x + d.x, y + d.y});
    path.MoveTo({x + turn.penOffset.x, y + turn.penOffset.y});
}

void DrawArrowHead(ConnectorPath& path, int x, int y, ArrowKind kind) {
    if (kind == ArrowKind::East)
        path.SetArrow({kind, {{{x, y}, {x - 10, y - 5}, {x - 10, y + 5}}}});
    else
        path.SetArrow({kind, {{{x, y}, {x - 5, y - 10}, {x + 5, y - 10}}}});
}

ConnectorPath RouteConnector(const Rect& source, const Rect& dest) {
    ConnectorPath path;
    const Route route = ChooseRoute(source, dest);
    const Point a = route.from;
    const Point b = route.to;
    switch (route.kind) {
    case RouteKind::Down:
        DrawDownRoute(path, a.x, a.y, b.x, b.y);
        break;
    case RouteKind::Side:
        DrawSideRoute(path, a.x, a.y, b.x, b.y);
        break;
    case RouteKind::Loop:
        DrawLoopRoute(path, a.x, a.y, b.x, b.y);
        break;
    }
    return path;
}

} // namespace ry
