#include "canvas/around_boxes.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <queue>

namespace ry {

namespace {

// A connector leaves its source this far straight out before it may turn, and runs at least
// this far straight into its destination, so its arrow head and a rounded bend fit.
constexpr int kLead = 10;
constexpr int kApproach = 16;
// The lanes beside a box, this many pixels from its edge.
constexpr int kChannel = 12;
// What a bend costs, in pixels of length: a route takes a detour of up to this much to save one.
constexpr int kBendCost = 50;
// How far round the two ends of a connector its route is searched, then searched again.
constexpr int kReaches[] = {90, 400, 1600};

// Unit steps of the four directions: east, north, west, south.
constexpr int kDx[4] = {1, 0, -1, 0};
constexpr int kDy[4] = {0, -1, 0, 1};
enum Dir { kEast = 0, kNorth = 1, kWest = 2, kSouth = 3 };

int Sign(int v) {
    return (v > 0) - (v < 0);
}

int DirOf(Point a, Point b) {
    if (b.x > a.x)
        return kEast;
    if (b.x < a.x)
        return kWest;
    return b.y < a.y ? kNorth : kSouth;
}

Direction CompassOf(int dir) {
    switch (dir) {
    case kEast:
        return Direction::East;
    case kNorth:
        return Direction::North;
    case kWest:
        return Direction::West;
    default:
        return Direction::South;
    }
}

// Leaves out corners where the line runs straight on, and repeated points.
std::vector<Point> Simplified(const std::vector<Point>& in) {
    std::vector<Point> out;
    for (const Point& p : in) {
        if (!out.empty() && out.back() == p)
            continue;
        if (out.size() >= 2) {
            const Point a = out[out.size() - 2], b = out.back();
            if ((a.x == b.x && b.x == p.x) || (a.y == b.y && b.y == p.y)) {
                out.back() = p;
                continue;
            }
        }
        out.push_back(p);
    }
    return out;
}

bool Inside(const Rect& r, Point p) {
    return p.x >= r.Left && p.x < r.Left + r.Width && p.y >= r.Top && p.y < r.Top + r.Height;
}

} // namespace

BoxGrid::BoxGrid(const std::vector<Rect>* boxes) {
    if (boxes)
        Reset(*boxes);
}

void BoxGrid::Reset(const std::vector<Rect>& boxes) {
    boxes_ = &boxes;
    cells_.clear();
    seen_.assign(boxes.size(), 0);
    stamp_ = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Rect& r = boxes[i];
        if (r.Width <= 0 || r.Height <= 0)
            continue;
        for (int cy = Cell(r.Top); cy <= Cell(r.Top + r.Height - 1); ++cy)
            for (int cx = Cell(r.Left); cx <= Cell(r.Left + r.Width - 1); ++cx)
                cells_[Key(cx, cy)].push_back(static_cast<int>(i));
    }
}

Rect SegmentPixels(Point a, Point b) {
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return {left, top, std::abs(b.x - a.x) + 1, std::abs(b.y - a.y) + 1};
}

bool CrossesABox(const std::vector<Point>& points, const BoxGrid& grid) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        Point a = points[i], b = points[i + 1];
        if (i + 2 == points.size()) {
            // Up to the pixel before the tip.
            b.x -= Sign(b.x - a.x);
            b.y -= Sign(b.y - a.y);
        }
        bool hit = false;
        grid.ForEachIn(SegmentPixels(a, b), [&](int) { hit = true; });
        if (hit)
            return true;
    }
    return false;
}

Polyline ClassicPolyline(const Rect& source, const Rect& dest) {
    const Route route = ChooseRoute(source, dest);
    const int x1 = route.from.x, y1 = route.from.y, x2 = route.to.x, y2 = route.to.y;
    Polyline line;
    std::vector<Point>& p = line.points;
    switch (route.kind) {
    case RouteKind::Side:
        line.arrow = ArrowKind::East;
        if (std::abs(y2 - y1) > 8) {
            p = {{x1, y1}, {x1 + 14, y1}, {x1 + 14, y2}, {x2, y2}};
        } else {
            // A step instead of a slope, early enough to leave room for the arrow.
            const int xm = x1 + std::min(14, (x2 - x1) / 2);
            p = {{x1, y1}, {xm, y1}, {xm, y2}, {x2, y2}};
        }
        break;
    case RouteKind::Down:
        line.arrow = ArrowKind::South;
        if (std::abs(x2 - x1) > 18) {
            p = {{x1, y1}, {x1, y1 + 14}, {x2, y1 + 14}, {x2, y2}};
        } else {
            const int ym = y1 + std::min(14, (y2 - y1) / 2);
            p = {{x1, y1}, {x1, ym}, {x2, ym}, {x2, y2}};
        }
        break;
    case RouteKind::Loop: {
        line.arrow = ArrowKind::East;
        if (y2 > y1 + 4 && x2 - x1 > 14) {
            p = {{x1, y1}, {x1, y2}, {x2, y2}};
            break;
        }
        const auto [xa, yb] = LoopRunsFor(x1, y1, x2, y2);
        p = {{x1, y1}, {x1, yb}, {xa, yb}, {xa, y2}, {x2, y2}};
        break;
    }
    }
    p = Simplified(p);
    return line;
}

namespace {

// The search of one route on the lanes near its two ends.
class LaneSearch {
public:
    LaneSearch(const BoxGrid& grid, Point start, int startDir, Point goal, int goalDir)
        : grid_(grid), start_(start), startDir_(startDir), goal_(goal), goalDir_(goalDir) {}

    // The corner points from `start` to `goal`, searched within `reach` of them; empty when
    // no route stays clear of the boxes there.
    std::vector<Point> Search(int reach) {
        const int left = std::min(start_.x, goal_.x) - reach;
        const int top = std::min(start_.y, goal_.y) - reach;
        const int right = std::max(start_.x, goal_.x) + reach;
        const int bottom = std::max(start_.y, goal_.y) + reach;
        const Rect area{left, top, right - left + 1, bottom - top + 1};
        xs_ = {start_.x, goal_.x, left, right};
        ys_ = {start_.y, goal_.y, top, bottom};
        near_.clear();
        grid_.ForEachIn(area, [&](int i) {
            const Rect& r = grid_.Boxes()[static_cast<std::size_t>(i)];
            near_.push_back(r);
            for (int x : {r.Left - kChannel, r.Left + r.Width - 1 + kChannel})
                if (x > left && x < right)
                    xs_.push_back(x);
            for (int y : {r.Top - kChannel, r.Top + r.Height - 1 + kChannel})
                if (y > top && y < bottom)
                    ys_.push_back(y);
        });
        for (const Rect& r : near_)
            if (Inside(r, start_) || Inside(r, goal_))
                return {};
        Unique(xs_);
        Unique(ys_);
        nx_ = static_cast<int>(xs_.size());
        ny_ = static_cast<int>(ys_.size());
        MarkBlocked();
        return Shortest();
    }

private:
    static void Unique(std::vector<int>& v) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
    }
    static int IndexOf(const std::vector<int>& v, int value) {
        return static_cast<int>(std::lower_bound(v.begin(), v.end(), value) - v.begin());
    }

    // Which lane crossings lie in a box, and which steps between neighbouring crossings run
    // through one.
    void MarkBlocked() {
        const std::size_t n = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
        node_.assign(n, 0);
        across_.assign(n, 0); // from (i, j) to (i + 1, j)
        down_.assign(n, 0);   // from (i, j) to (i, j + 1)
        for (const Rect& r : near_) {
            const int right = r.Left + r.Width - 1, bottom = r.Top + r.Height - 1;
            // Lanes that cross the box, and the spans between lanes that reach into it.
            const int i0 = IndexOf(xs_, r.Left), i1 = IndexOf(xs_, right + 1);
            const int j0 = IndexOf(ys_, r.Top), j1 = IndexOf(ys_, bottom + 1);
            const int si0 = std::max(0, i0 - 1), sj0 = std::max(0, j0 - 1);
            for (int j = j0; j < j1; ++j)
                for (int i = si0; i < std::min(i1, nx_ - 1); ++i)
                    across_[At(i, j)] = 1;
            for (int i = i0; i < i1; ++i)
                for (int j = sj0; j < std::min(j1, ny_ - 1); ++j)
                    down_[At(i, j)] = 1;
            for (int j = j0; j < j1; ++j)
                for (int i = i0; i < i1; ++i)
                    node_[At(i, j)] = 1;
        }
    }

    std::size_t At(int i, int j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(nx_) +
               static_cast<std::size_t>(i);
    }

    // A* over (crossing, direction), a bend costing kBendCost; no turning back.
    std::vector<Point> Shortest() {
        const int si = IndexOf(xs_, start_.x), sj = IndexOf(ys_, start_.y);
        const int gi = IndexOf(xs_, goal_.x), gj = IndexOf(ys_, goal_.y);
        const std::size_t states =
            4 * static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
        constexpr int kNone = std::numeric_limits<int>::max();
        cost_.assign(states, kNone);
        from_.assign(states, -1);
        using Entry = std::pair<int, int>; // estimate, state
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
        auto estimate = [&](int i, int j) {
            return std::abs(xs_[static_cast<std::size_t>(i)] - goal_.x) +
                   std::abs(ys_[static_cast<std::size_t>(j)] - goal_.y);
        };
        const int first = static_cast<int>(At(si, sj)) * 4 + startDir_;
        cost_[static_cast<std::size_t>(first)] = 0;
        open.push({estimate(si, sj), first});
        int best = kNone, bestState = -1;
        while (!open.empty()) {
            const auto [f, state] = open.top();
            open.pop();
            if (f >= best)
                break;
            const int g = cost_[static_cast<std::size_t>(state)];
            if (f > g + estimate(state / 4 % nx_, state / 4 / nx_))
                continue; // a stale entry
            const int node = state / 4, dir = state % 4;
            const int i = node % nx_, j = node / nx_;
            if (i == gi && j == gj && dir != (goalDir_ + 2) % 4) {
                const int total = g + (dir == goalDir_ ? 0 : kBendCost);
                if (total < best) {
                    best = total;
                    bestState = state;
                }
                continue;
            }
            for (int d = 0; d < 4; ++d) {
                if (d == (dir + 2) % 4)
                    continue;
                const int ni = i + kDx[d], nj = j + kDy[d];
                if (ni < 0 || nj < 0 || ni >= nx_ || nj >= ny_)
                    continue;
                const bool blocked = d == kEast    ? across_[At(i, j)]
                                     : d == kWest  ? across_[At(ni, nj)]
                                     : d == kSouth ? down_[At(i, j)]
                                                   : down_[At(ni, nj)];
                if (blocked || node_[At(ni, nj)])
                    continue;
                const int step =
                    std::abs(xs_[static_cast<std::size_t>(ni)] - xs_[static_cast<std::size_t>(i)]) +
                    std::abs(ys_[static_cast<std::size_t>(nj)] - ys_[static_cast<std::size_t>(j)]);
                const int ng = g + step + (d == dir ? 0 : kBendCost);
                const int next = static_cast<int>(At(ni, nj)) * 4 + d;
                if (ng < cost_[static_cast<std::size_t>(next)]) {
                    cost_[static_cast<std::size_t>(next)] = ng;
                    from_[static_cast<std::size_t>(next)] = state;
                    open.push({ng + estimate(ni, nj), next});
                }
            }
        }
        if (bestState < 0)
            return {};
        std::vector<Point> points;
        for (int s = bestState; s >= 0; s = from_[static_cast<std::size_t>(s)]) {
            const int node = s / 4;
            points.push_back({xs_[static_cast<std::size_t>(node % nx_)],
                              ys_[static_cast<std::size_t>(node / nx_)]});
        }
        std::reverse(points.begin(), points.end());
        return points;
    }

    const BoxGrid& grid_;
    Point start_;
    int startDir_;
    Point goal_;
    int goalDir_;
    std::vector<Rect> near_;
    std::vector<int> xs_, ys_;
    int nx_ = 0, ny_ = 0;
    std::vector<unsigned char> node_, across_, down_;
    std::vector<int> cost_, from_;
};

} // namespace

Polyline RouteAround(const BoxGrid& grid, int from, int to) {
    const Rect& source = grid.Boxes()[static_cast<std::size_t>(from)];
    const Rect& dest = grid.Boxes()[static_cast<std::size_t>(to)];
    Polyline classic = ClassicPolyline(source, dest);
    if (classic.points.size() < 2 || !CrossesABox(classic.points, grid))
        return classic;

    const Point start = classic.points.front(), end = classic.points.back();
    const int startDir = DirOf(classic.points[0], classic.points[1]);
    const int endDir = classic.arrow == ArrowKind::East ? kEast : kSouth;
    const Point out{start.x + kDx[startDir] * kLead, start.y + kDy[startDir] * kLead};
    const Point in{end.x - kDx[endDir] * kApproach, end.y - kDy[endDir] * kApproach};
    LaneSearch search(grid, out, startDir, in, endDir);
    for (int reach : kReaches) {
        std::vector<Point> lanes = search.Search(reach);
        if (lanes.empty())
            continue;
        lanes.insert(lanes.begin(), start);
        lanes.push_back(end);
        Polyline routed{Simplified(lanes), classic.arrow};
        if (routed.points.size() <= ConnectorPath::kMaxSegments + 1)
            return routed;
        break;
    }
    return classic;
}

namespace {

// One line of a route, as it lies in its lane.
struct LaneLine {
    int route = 0;
    int index = 0; // the line from points[index] to points[index + 1]
    int lane = 0;  // its x when upright, its y when level
    int low = 0;   // where it starts and ends along the lane
    int high = 0;
    int destination = 0;
    bool upright = false;
    bool last = false; // the arrow's line: never moved
};

// Lanes a line may move to, in the order tried: its own, then one to each side, further out,
// then, in a narrow gap between boxes, lanes closer together.
constexpr int kLaneOffsets[] = {0,
                                kLaneSpacing,
                                -kLaneSpacing,
                                2 * kLaneSpacing,
                                -2 * kLaneSpacing,
                                3 * kLaneSpacing,
                                -3 * kLaneSpacing,
                                4 * kLaneSpacing,
                                -4 * kLaneSpacing,
                                5 * kLaneSpacing,
                                -5 * kLaneSpacing,
                                6 * kLaneSpacing,
                                -6 * kLaneSpacing,
                                3,
                                -3,
                                7,
                                -7,
                                2,
                                -2};

// Whether the line `index` of a route, moved `offset` pixels aside, stays out of the boxes.
bool ClearWhenMoved(const Polyline& route, int index, bool upright, int offset,
                    const BoxGrid& grid) {
    Point a = route.points[static_cast<std::size_t>(index)];
    Point b = route.points[static_cast<std::size_t>(index) + 1];
    (upright ? a.x : a.y) += offset;
    (upright ? b.x : b.y) += offset;
    // Its first pixel lies on the source's edge when it is the route's first line, and must
    // stay on it: the pixel behind it is the source's.
    if (index == 0) {
        bool onSource = false;
        grid.ForEachIn({a.x - Sign(b.x - a.x), a.y - Sign(b.y - a.y), 1, 1},
                       [&](int) { onSource = true; });
        if (!onSource)
            return false;
        a.x += Sign(b.x - a.x);
        a.y += Sign(b.y - a.y);
    }
    bool hit = false;
    grid.ForEachIn(SegmentPixels(a, b), [&](int) { hit = true; });
    return !hit;
}

// One pass of SpreadApart; whether it moved a line.
bool SpreadOnce(std::vector<Polyline>& routes, const std::vector<int>& destination,
                const BoxGrid& grid) {
    std::vector<LaneLine> lines;
    for (std::size_t r = 0; r < routes.size(); ++r) {
        const std::vector<Point>& p = routes[r].points;
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            LaneLine l;
            l.route = static_cast<int>(r);
            l.index = static_cast<int>(i);
            l.upright = p[i].x == p[i + 1].x;
            if (!l.upright && p[i].y != p[i + 1].y)
                continue; // not orthogonal: left as it is
            l.lane = l.upright ? p[i].x : p[i].y;
            l.low = l.upright ? std::min(p[i].y, p[i + 1].y) : std::min(p[i].x, p[i + 1].x);
            l.high = l.upright ? std::max(p[i].y, p[i + 1].y) : std::max(p[i].x, p[i + 1].x);
            l.destination = destination[r];
            l.last = i + 2 == p.size();
            lines.push_back(l);
        }
    }
    // Lane by lane, along each lane from its start; a line moved aside must find its new
    // lane free of other destinations' lines already placed there.
    std::sort(lines.begin(), lines.end(), [](const LaneLine& a, const LaneLine& b) {
        if (a.upright != b.upright)
            return a.upright < b.upright;
        if (a.lane != b.lane)
            return a.lane < b.lane;
        if (a.last != b.last)
            return a.last > b.last; // the fixed lines take their lane first
        return a.low < b.low;
    });
    struct Taken {
        int low, high, destination;
    };
    // The lines placed so far, by orientation and lane.
    std::unordered_map<std::int64_t, std::vector<Taken>> placed;
    auto key = [](bool upright, int lane) {
        return (static_cast<std::int64_t>(upright) << 40) ^ static_cast<std::int64_t>(lane);
    };
    std::vector<std::pair<const LaneLine*, int>> moves;
    for (const LaneLine& l : lines) {
        // 0: a lane free of other destinations; 1: also holding a line of the same
        // destination it overlaps, to join as one trunk.
        auto fit = [&](int off) {
            const auto it = placed.find(key(l.upright, l.lane + off));
            if (it == placed.end())
                return 0;
            int joins = 0;
            for (const Taken& t : it->second) {
                if (t.low < l.high && l.low < t.high) {
                    if (t.destination != l.destination)
                        return -1;
                    joins = 1;
                } else if (t.destination == l.destination && t.low <= l.high && l.low <= t.high) {
                    joins = 1;
                }
            }
            return joins;
        };
        int offset = 0;
        if (!l.last) {
            int best = -1;
            for (std::size_t n = 0; n < std::size(kLaneOffsets); ++n) {
                const int off = kLaneOffsets[n];
                const int f = fit(off);
                if (f > best &&
                    (off == 0 || ClearWhenMoved(routes[static_cast<std::size_t>(l.route)], l.index,
                                                l.upright, off, grid))) {
                    best = f;
                    offset = off;
                    if (f == 1 || (f == 0 && n > 0))
                        break;
                }
            }
        }
        placed[key(l.upright, l.lane + offset)].push_back({l.low, l.high, l.destination});
        if (offset != 0)
            moves.emplace_back(&l, offset);
    }
    for (const auto& [l, offset] : moves) {
        std::vector<Point>& p = routes[static_cast<std::size_t>(l->route)].points;
        const auto i = static_cast<std::size_t>(l->index);
        (l->upright ? p[i].x : p[i].y) += offset;
        (l->upright ? p[i + 1].x : p[i + 1].y) += offset;
    }
    return !moves.empty();
}

} // namespace

void SpreadApart(std::vector<Polyline>& routes, const std::vector<int>& destination,
                 const BoxGrid& grid) {
    // A line moved aside lengthens or shortens the lines at its ends, which may then reach
    // into a lane taken by another destination: a further pass sees them as they now are.
    constexpr int kPasses = 5;
    for (int pass = 0; pass < kPasses; ++pass)
        if (!SpreadOnce(routes, destination, grid))
            break;
}

ConnectorPath DrawPolyline(const Polyline& route) {
    ConnectorPath path;
    const std::vector<Point>& p = route.points;
    if (p.size() < 2)
        return path;
    path.MoveTo(p.front());
    auto length = [&](std::size_t i) {
        return std::abs(p[i + 1].x - p[i].x) + std::abs(p[i + 1].y - p[i].y);
    };
    // A rounded bend takes 4 pixels of the lines on both its sides.
    std::vector<bool> rounded(p.size(), false);
    for (std::size_t k = 1; k + 1 < p.size(); ++k) {
        const int before = length(k - 1) - (k >= 2 && rounded[k - 1] ? 4 : 0);
        const int after = length(k) - (k + 2 < p.size() ? 4 : 0);
        rounded[k] = before >= 5 && after >= 5 && (k + 2 < p.size() || after >= 14);
    }
    for (std::size_t k = 1; k + 1 < p.size(); ++k) {
        const int in = DirOf(p[k - 1], p[k]), out = DirOf(p[k], p[k + 1]);
        if (rounded[k])
            DrawCorner(path, p[k].x - 4 * kDx[in], p[k].y - 4 * kDy[in], CompassOf(in),
                       CompassOf(out));
        else
            path.LineTo(p[k]);
    }
    path.LineTo(p.back());
    DrawArrowHead(path, p.back().x, p.back().y, route.arrow);
    return path;
}

std::vector<Polyline> RouteAll(const std::vector<Rect>& boxes, const std::vector<RouteEnds>& ends) {
    const BoxGrid grid(&boxes);
    std::vector<Polyline> routes;
    std::vector<int> destination;
    routes.reserve(ends.size());
    destination.reserve(ends.size());
    for (const RouteEnds& e : ends) {
        routes.push_back(RouteAround(grid, e.from, e.to));
        destination.push_back(e.to);
    }
    SpreadApart(routes, destination, grid);
    return routes;
}

} // namespace ry
