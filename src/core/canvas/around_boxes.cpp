#include "canvas/around_boxes.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <queue>
#include <tuple>

namespace ry {

namespace {

// A connector leaves its source this far straight out before it may turn, and runs at least
// this far straight into its destination, so its arrow head and a rounded bend fit.
constexpr int kLead = 10;
// A path going on from a port's lead runs this far straight on before it may turn; spreading
// may move its turn back towards the lead's label, up to a few pixels short of it.
constexpr int kPortLead = kLead;
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

BoxGrid::BoxGrid(const std::vector<Rect>* boxes, int cell) : cell_(cell) {
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

bool CrossesABox(const std::vector<Point>& points, const BoxGrid& grid, int skipped) {
    for (std::size_t i = static_cast<std::size_t>(std::max(0, skipped)); i + 1 < points.size();
         ++i) {
        Point a = points[i], b = points[i + 1];
        if (i + 2 == points.size()) {
            // Up to the pixel before the tip.
            b.x -= Sign(b.x - a.x);
            b.y -= Sign(b.y - a.y);
        }
        if (grid.AnyIn(SegmentPixels(a, b)))
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

// A straight line of a route along its lane: x when upright, y when level, and its extent
// along the lane.
struct Run {
    bool upright = false;
    int lane = 0;
    int low = 0;
    int high = 0;
    int index = 0; // the line's index in its route
};

// The search of one route on the lanes near its two ends.
class LaneSearch {
public:
    LaneSearch(const BoxGrid& grid, Point start, int startDir, Point goal, int goalDir)
        : grid_(grid), start_(start), startDir_(startDir), goal_(goal), goalDir_(goalDir) {}

    // Lines of other routes the route must not run along (it may cross them): it keeps at
    // least kLaneSpacing pixels from each, on lanes added beside them.
    void KeepOff(const std::vector<Run>* runs) { runs_ = runs; }
    // The lane crossings and other routes' lines the last search looked at: what it cost.
    long Crossings() const { return crossings_; }
    // Gives up a search over more lane crossings than this.
    void Bound(long crossings, long expanded) {
        maxCrossings_ = crossings;
        maxExpanded_ = expanded;
    }

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
        // Boxes on one spot block the same lanes: each is marked once.
        std::sort(near_.begin(), near_.end(), [](const Rect& a, const Rect& b) {
            return std::tie(a.Left, a.Top, a.Width, a.Height) <
                   std::tie(b.Left, b.Top, b.Width, b.Height);
        });
        near_.erase(std::unique(near_.begin(), near_.end()), near_.end());
        for (const Rect& r : near_)
            if (Inside(r, start_) || Inside(r, goal_))
                return {};
        Unique(xs_);
        Unique(ys_);
        nearRuns_.clear();
        if (runs_) {
            for (const Run& run : *runs_)
                if (run.upright
                        ? run.lane > left - kLaneSpacing && run.lane < right + kLaneSpacing &&
                              run.low < bottom && run.high > top
                        : run.lane > top - kLaneSpacing && run.lane < bottom + kLaneSpacing &&
                              run.low < right && run.high > left)
                    nearRuns_.push_back(run);
            AddLanesBesideRuns(left, top, right, bottom);
        }
        nx_ = static_cast<int>(xs_.size());
        ny_ = static_cast<int>(ys_.size());
        crossings_ = static_cast<long>(nx_) * ny_ + static_cast<long>(nearRuns_.size());
        if (static_cast<long>(nx_) * ny_ > maxCrossings_)
            return {};
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
    // Whether a lane of `lanes` (sorted) lies closer than kLaneSpacing to `lane`.
    static bool LaneNear(const std::vector<int>& lanes, int lane) {
        const auto it = std::lower_bound(lanes.begin(), lanes.end(), lane - kLaneSpacing + 1);
        return it != lanes.end() && *it < lane + kLaneSpacing;
    }

    // A line of another route on (or close beside) a lane closes that lane along it; a lane on
    // each side of it, kLaneSpacing away, lets the route run beside it instead. Those lanes
    // may be closed by further lines in turn, which then add theirs.
    void AddLanesBesideRuns(int left, int top, int right, int bottom) {
        std::vector<char> done(nearRuns_.size(), 0);
        for (bool added = true; added;) {
            added = false;
            for (std::size_t k = 0; k < nearRuns_.size(); ++k) {
                const Run& run = nearRuns_[k];
                std::vector<int>& lanes = run.upright ? xs_ : ys_;
                if (done[k] || !LaneNear(lanes, run.lane))
                    continue;
                done[k] = 1;
                const int lo = run.upright ? left : top, hi = run.upright ? right : bottom;
                for (int lane : {run.lane - kLaneSpacing, run.lane + kLaneSpacing})
                    if (lane > lo && lane < hi &&
                        !std::binary_search(lanes.begin(), lanes.end(), lane)) {
                        lanes.insert(std::lower_bound(lanes.begin(), lanes.end(), lane), lane);
                        added = true;
                    }
            }
        }
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
        // Steps along a lane closer than kLaneSpacing to another route's line beside them.
        for (const Run& run : nearRuns_) {
            const std::vector<int>& lanes = run.upright ? xs_ : ys_;
            const std::vector<int>& along = run.upright ? ys_ : xs_;
            const int l0 = IndexOf(lanes, run.lane - kLaneSpacing + 1);
            const int l1 = IndexOf(lanes, run.lane + kLaneSpacing);
            const int a0 = std::max(0, IndexOf(along, run.low) - 1);
            const int a1 = IndexOf(along, run.high);
            for (int l = l0; l < l1; ++l)
                for (int a = a0; a < a1 && a + 1 < static_cast<int>(along.size()); ++a) {
                    if (along[static_cast<std::size_t>(a) + 1] <= run.low ||
                        along[static_cast<std::size_t>(a)] >= run.high)
                        continue;
                    if (run.upright)
                        down_[At(l, a)] = 1;
                    else
                        across_[At(a, l)] = 1;
                }
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
        // The length still to go, and the bends that heading `dir` at least still takes: one
        // when the goal lies off the line ahead, two when it lies behind.
        auto estimate = [&](int i, int j, int dir) {
            const int dx = goal_.x - xs_[static_cast<std::size_t>(i)];
            const int dy = goal_.y - ys_[static_cast<std::size_t>(j)];
            const int ahead = dx * kDx[dir] + dy * kDy[dir]; // along the heading
            const int aside = dx * kDy[dir] - dy * kDx[dir]; // across it
            const int bends = aside != 0 ? (ahead >= 0 ? 1 : 2) : (ahead >= 0 ? 0 : 2);
            return std::abs(dx) + std::abs(dy) + bends * kBendCost;
        };
        const int first = static_cast<int>(At(si, sj)) * 4 + startDir_;
        cost_[static_cast<std::size_t>(first)] = 0;
        open.push({estimate(si, sj, startDir_), first});
        int best = kNone, bestState = -1;
        long expanded = 0;
        while (!open.empty()) {
            const auto [f, state] = open.top();
            open.pop();
            if (++expanded > maxExpanded_)
                break;
            if (f >= best)
                break;
            const int g = cost_[static_cast<std::size_t>(state)];
            if (f > g + estimate(state / 4 % nx_, state / 4 / nx_, state % 4))
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
                    open.push({ng + estimate(ni, nj, d), next});
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
    const std::vector<Run>* runs_ = nullptr;
    std::vector<Run> nearRuns_;
    long crossings_ = 0;
    long maxCrossings_ = std::numeric_limits<long>::max();
    long maxExpanded_ = std::numeric_limits<long>::max();
    std::vector<Rect> near_;
    std::vector<int> xs_, ys_;
    int nx_ = 0, ny_ = 0;
    std::vector<unsigned char> node_, across_, down_;
    std::vector<int> cost_, from_;
};

} // namespace

namespace {

// The route from `start`, leaving in direction `startDir`, to the arrow's tip `end`, searched
// round the boxes; empty when none is found with few enough bends to draw.
Polyline SearchRoute(const BoxGrid& grid, Point start, int startDir, Point end, ArrowKind arrow,
                     int lead = kLead) {
    const int endDir = arrow == ArrowKind::East ? kEast : kSouth;
    const Point out{start.x + kDx[startDir] * lead, start.y + kDy[startDir] * lead};
    const Point in{end.x - kDx[endDir] * kApproach, end.y - kDy[endDir] * kApproach};
    LaneSearch search(grid, out, startDir, in, endDir);
    for (int reach : kReaches) {
        std::vector<Point> lanes = search.Search(reach);
        if (lanes.empty())
            continue;
        lanes.insert(lanes.begin(), start);
        lanes.push_back(end);
        Polyline routed{Simplified(lanes), arrow};
        if (routed.points.size() <= ConnectorPath::kMaxSegments + 1)
            return routed;
        break;
    }
    return {};
}

} // namespace

Polyline RouteAround(const BoxGrid& grid, int from, int to) {
    const Rect& source = grid.Boxes()[static_cast<std::size_t>(from)];
    const Rect& dest = grid.Boxes()[static_cast<std::size_t>(to)];
    Polyline classic = ClassicPolyline(source, dest);
    if (classic.points.size() < 2 || !CrossesABox(classic.points, grid))
        return classic;
    Polyline routed =
        SearchRoute(grid, classic.points[0], DirOf(classic.points[0], classic.points[1]),
                    classic.points.back(), classic.arrow);
    return routed.points.empty() ? classic : routed;
}

Polyline RouteFromLead(const BoxGrid& grid, const std::vector<Point>& lead, int to) {
    if (lead.size() < 2)
        return {};
    const Rect& dest = grid.Boxes()[static_cast<std::size_t>(to)];
    const Point start = lead.back();
    const bool below = dest.Top - start.y >= 28;
    const ArrowKind arrow = below ? ArrowKind::South : ArrowKind::East;
    Polyline routed = SearchRoute(grid, start, DirOf(lead[lead.size() - 2], start),
                                  below ? TopCentre(dest) : LeftMiddle(dest), arrow, kPortLead);
    if (routed.points.empty())
        return {};
    std::vector<Point> points(lead.begin(), lead.end() - 1);
    points.insert(points.end(), routed.points.begin(), routed.points.end());
    routed.points = Simplified(points);
    if (routed.points.size() > ConnectorPath::kMaxSegments + 1)
        return {};
    return routed;
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
    bool last = false; // the arrow's line, or a line of a route that stays: never moved
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
                                -7};

// Whether the line `index` of a route, moved `offset` pixels aside, stays clear of the boxes.
bool ClearWhenMoved(const Polyline& route, int index, bool upright, int offset,
                    const BoxGrid& grid) {
    Point a = route.points[static_cast<std::size_t>(index)];
    Point b = route.points[static_cast<std::size_t>(index) + 1];
    (upright ? a.x : a.y) += offset;
    (upright ? b.x : b.y) += offset;
    // Its first pixel lies on the source's edge when it is the route's first line, and must
    // stay on it: the pixel behind it is the source's.
    if (index == 0) {
        if (!grid.AnyIn({a.x - Sign(b.x - a.x), a.y - Sign(b.y - a.y), 1, 1}))
            return false;
        a.x += Sign(b.x - a.x);
        a.y += Sign(b.y - a.y);
    }
    // Nor may it come closer to a box's side than lines may to each other: it would read as
    // the box's frame.
    Rect pixels = SegmentPixels(a, b);
    constexpr int kClear = kLaneSeparation - 1;
    if (upright) {
        pixels.Left -= kClear;
        pixels.Width += 2 * kClear;
    } else {
        pixels.Top -= kClear;
        pixels.Height += 2 * kClear;
    }
    return !grid.AnyIn(pixels);
}

// Whether the line `index` of a route whose first `pinned` lines stay, moved `offset` pixels
// aside, keeps the last of those reaching `reach` along its way (past the lead's label).
bool KeepsLead(const Polyline& route, int index, int pinned, int reach, bool upright, int offset) {
    if (pinned == 0 || index != pinned)
        return true;
    const Point a = route.points[static_cast<std::size_t>(index) - 1];
    const Point b = route.points[static_cast<std::size_t>(index)];
    const int along = upright ? Sign(b.x - a.x) : Sign(b.y - a.y);
    const int now = upright ? b.x : b.y;
    return along * (now + offset - reach) >= 0;
}

// Where the first line of each route after its pinned ones may start at the nearest: as it was
// given, less the room a path leaving a port's lead has to turn back towards the lead.
std::vector<int> LeadReaches(const std::vector<Polyline>& routes, const std::vector<int>& pinned) {
    std::vector<int> reach(routes.size(), 0);
    for (std::size_t r = 0; r < routes.size(); ++r) {
        const auto& p = routes[r].points;
        const auto k = static_cast<std::size_t>(pinned[r]);
        if (pinned[r] == 0 || k + 1 >= p.size())
            continue;
        const bool level = p[k - 1].y == p[k].y;
        const int along = level ? Sign(p[k].x - p[k - 1].x) : Sign(p[k].y - p[k - 1].y);
        reach[r] = (level ? p[k].x : p[k].y) - along * (kPortLead - kLaneSeparation);
    }
    return reach;
}

// One pass of SpreadApart; whether it moved a line. `stuck` counts the lines left on a lane
// another destination's line runs on or close beside.
bool SpreadOnce(std::vector<Polyline>& routes, const std::vector<int>& destination,
                const BoxGrid& grid, const std::vector<char>& fixed, const std::vector<int>& pinned,
                const std::vector<int>& reach, int& stuck) {
    stuck = 0;
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
            l.last = i + 2 == p.size() || fixed[r] || static_cast<int>(i) < pinned[r];
            lines.push_back(l);
        }
    }
    // The lines that stay take their lanes first; then the others lane by lane, along each
    // lane from its start. A line moved aside must find its new lane free of other
    // destinations' lines already placed there.
    std::sort(lines.begin(), lines.end(), [](const LaneLine& a, const LaneLine& b) {
        if (a.last != b.last)
            return a.last > b.last;
        if (a.upright != b.upright)
            return a.upright < b.upright;
        if (a.lane != b.lane)
            return a.lane < b.lane;
        return a.low < b.low;
    });
    struct Taken {
        int lane, low, high, destination;
    };
    // The lines placed so far, by orientation and by runs of kBucket lanes, so that the lanes
    // near one are found in one or two look-ups.
    constexpr int kBucket = 8;
    std::unordered_map<std::int64_t, std::vector<Taken>> placed;
    auto bucketOf = [](int lane) {
        return lane >= 0 ? lane / kBucket : -((-lane + kBucket - 1) / kBucket);
    };
    auto key = [](bool upright, int bucket) {
        return static_cast<std::int64_t>(bucket) * 2 + (upright ? 1 : 0);
    };
    std::vector<std::pair<const LaneLine*, int>> moves;
    for (const LaneLine& l : lines) {
        // 1: the lane holds a line of the same destination it overlaps, to join as one trunk;
        // 0: free of other destinations; -1: another destination's line runs closer than
        // kLaneSeparation beside it, so the two read as one; -2: one runs on the lane itself.
        auto fit = [&](int off) {
            const int lane = l.lane + off;
            bool joins = false, beside = false;
            const int first = bucketOf(lane - kLaneSeparation + 1);
            const int last = bucketOf(lane + kLaneSeparation - 1);
            for (int b = first; b <= last; ++b) {
                const auto it = placed.find(key(l.upright, b));
                if (it == placed.end())
                    continue;
                for (const Taken& t : it->second) {
                    const int apart = std::abs(t.lane - lane);
                    if (apart >= kLaneSeparation)
                        continue;
                    const int overlap = std::min(t.high, l.high) - std::max(t.low, l.low);
                    const bool same = t.destination == l.destination;
                    if (apart != 0)
                        beside = beside || (!same && overlap > kLaneSpacing + 1);
                    else if (!same && overlap > 0)
                        return -2;
                    else if (same && overlap >= 0)
                        joins = true;
                }
            }
            return beside ? -1 : joins ? 1 : 0;
        };
        int offset = 0;
        if (!l.last) {
            int best = -3;
            for (std::size_t n = 0; n < std::size(kLaneOffsets); ++n) {
                const int off = kLaneOffsets[n];
                const int f = fit(off);
                if (f > best &&
                    (off == 0 ||
                     (KeepsLead(routes[static_cast<std::size_t>(l.route)], l.index,
                                pinned[static_cast<std::size_t>(l.route)],
                                reach[static_cast<std::size_t>(l.route)], l.upright, off) &&
                      ClearWhenMoved(routes[static_cast<std::size_t>(l.route)], l.index, l.upright,
                                     off, grid)))) {
                    best = f;
                    offset = off;
                    if (f == 1 || (f == 0 && n > 0))
                        break;
                }
            }
            stuck += best < 0;
        } else if (l.index + 2 ==
                   static_cast<int>(routes[static_cast<std::size_t>(l.route)].points.size())) {
            stuck += fit(0) < 0; // an arrow's line, left on another destination's lane
        }
        placed[key(l.upright, bucketOf(l.lane + offset))].push_back(
            {l.lane + offset, l.low, l.high, l.destination});
        if (offset != 0)
            moves.emplace_back(&l, offset);
    }
    // Each line was checked alone; a move also lengthens the lines at its ends, and two moved
    // lines of one route meet at a corner both moved. A route that now runs into a box, where
    // it did not, is put back as it was.
    std::unordered_map<int, Polyline> before;
    for (const auto& [l, offset] : moves) {
        before.try_emplace(l->route, routes[static_cast<std::size_t>(l->route)]);
        std::vector<Point>& p = routes[static_cast<std::size_t>(l->route)].points;
        const auto i = static_cast<std::size_t>(l->index);
        (l->upright ? p[i].x : p[i].y) += offset;
        (l->upright ? p[i + 1].x : p[i + 1].y) += offset;
    }
    bool moved = false;
    for (auto& [route, was] : before) {
        Polyline& now = routes[static_cast<std::size_t>(route)];
        const int pins = pinned[static_cast<std::size_t>(route)];
        if (CrossesABox(now.points, grid, pins) && !CrossesABox(was.points, grid, pins))
            now = std::move(was);
        else
            moved = true;
    }
    return moved;
}

std::vector<Run> RunsOf(const Polyline& route) {
    std::vector<Run> runs;
    const std::vector<Point>& p = route.points;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const int index = static_cast<int>(i);
        if (p[i].x == p[i + 1].x)
            runs.push_back(
                {true, p[i].x, std::min(p[i].y, p[i + 1].y), std::max(p[i].y, p[i + 1].y), index});
        else if (p[i].y == p[i + 1].y)
            runs.push_back(
                {false, p[i].y, std::min(p[i].x, p[i + 1].x), std::max(p[i].x, p[i + 1].x), index});
    }
    return runs;
}

// The lines of every route, by lane, to find those sharing one.
class LaneIndex {
public:
    explicit LaneIndex(const std::vector<int>& destination) : destination_(destination) {}

    void Add(int route, const std::vector<Run>& runs) {
        for (const Run& run : runs)
            lanes_[Key(run)].push_back({run.low, run.high, route});
    }
    void Remove(int route, const std::vector<Run>& runs) {
        for (const Run& run : runs)
            std::erase_if(lanes_[Key(run)], [&](const Entry& e) { return e.route == route; });
    }
    // Where `run`, a line of `route`, runs along lines of routes to other destinations for
    // more than the width of a crossing: from the first such pixel to the last, along the lane;
    // an empty span (low > high) where it runs along none.
    std::pair<int, int> Shared(int route, const Run& run) const {
        std::pair<int, int> span{1, 0};
        const int to = destination_[static_cast<std::size_t>(route)];
        for (int near = 1 - kLaneSeparation; near < kLaneSeparation; ++near) {
            const auto it = lanes_.find(Key(run.upright, run.lane + near));
            if (it == lanes_.end())
                continue;
            for (const Entry& e : it->second) {
                const int low = std::max(e.low, run.low), high = std::min(e.high, run.high);
                if (e.route == route || destination_[static_cast<std::size_t>(e.route)] == to ||
                    high - low <= kLaneSpacing + 1)
                    continue;
                span = span.first > span.second
                           ? std::pair{low, high}
                           : std::pair{std::min(span.first, low), std::max(span.second, high)};
            }
        }
        return span;
    }
    bool Shares(int route, const Run& run) const {
        const auto [low, high] = Shared(route, run);
        return low <= high;
    }
    int SharedLines(int route, const std::vector<Run>& runs) const {
        return static_cast<int>(std::count_if(runs.begin(), runs.end(),
                                              [&](const Run& r) { return Shares(route, r); }));
    }

private:
    struct Entry {
        int low, high, route;
    };
    static std::int64_t Key(bool upright, int lane) {
        return (static_cast<std::int64_t>(upright) << 40) ^ static_cast<std::int64_t>(lane);
    }
    static std::int64_t Key(const Run& run) { return Key(run.upright, run.lane); }
    const std::vector<int>& destination_;
    std::unordered_map<std::int64_t, std::vector<Entry>> lanes_;
};

// Where a part of a route searched again starts or ends: the corners of the route kept before
// (or after) it end (or start) at corner `keep`, and the search starts (or ends) at `at`,
// heading `dir`.
struct Cut {
    int keep = 0;
    Point at;
    int dir = 0;
};

// The most lane crossings a part searched again may span: the search of a part across a
// crowded drawing costs too much to run on every move of a box.
constexpr long kMaxResearched = 60000;
constexpr long kMaxExpanded = 20000;
// What searching shared lines again may cost in all, in lane crossings and lines looked at, for
// each route and at least: a drawing where everything meets (boxes piled nearly on one spot) is
// laid out in good time, the lines left then staying on their shared lanes.
constexpr long kRerouteBudgetEach = 4'000'000;
constexpr long kRerouteBudgetLeast = 1'000'000;

// `route` with the part between two cuts searched again, keeping off `keepOff`; empty when no
// such part is found, or the route it makes has too many bends or runs into a box.
Polyline Research(const Polyline& route, const Cut& start, const Cut& end, const BoxGrid& grid,
                  const std::vector<Run>& keepOff, int pinned, long& spent) {
    LaneSearch search(grid, start.at, start.dir, end.at, end.dir);
    search.KeepOff(&keepOff);
    search.Bound(kMaxResearched, kMaxExpanded);
    const std::vector<Point> part = search.Search(kReaches[0]);
    spent += search.Crossings();
    if (part.empty())
        return {};
    const std::vector<Point>& p = route.points;
    std::vector<Point> points(p.begin(), p.begin() + start.keep + 1);
    points.insert(points.end(), part.begin(), part.end());
    points.insert(points.end(), p.begin() + end.keep, p.end());
    Polyline again{Simplified(points), route.arrow};
    if (again.points.size() > ConnectorPath::kMaxSegments + 1 ||
        CrossesABox(again.points, grid, pinned))
        return {};
    return again;
}

// The cuts round the corners `first` to `last` of a route: the search goes on from a corner as
// the route came in and ends heading as it goes on; from the route's start it first leaves the
// source straight, and it ends running straight into the destination.
std::pair<Cut, Cut> CornerCuts(const Polyline& route, int first, int last) {
    const std::vector<Point>& p = route.points;
    const auto at = [&](int i) { return p[static_cast<std::size_t>(i)]; };
    const int tip = static_cast<int>(p.size()) - 1;
    Cut start, end;
    if (first > 0) {
        start = {first, at(first), DirOf(at(first - 1), at(first))};
    } else {
        const int dir = DirOf(at(0), at(1));
        start = {0, {at(0).x + kDx[dir] * kLead, at(0).y + kDy[dir] * kLead}, dir};
    }
    if (last < tip) {
        end = {last, at(last), DirOf(at(last), at(last + 1))};
    } else {
        const int dir = route.arrow == ArrowKind::East ? kEast : kSouth;
        end = {tip, {at(tip).x - kDx[dir] * kApproach, at(tip).y - kDy[dir] * kApproach}, dir};
    }
    return {start, end};
}

// The most bends a route searched again may take, unless it had more before: every step aside
// adds some, and a route with many is hard to follow.
constexpr std::size_t kMostBends = 12;

// How far before and after the piece a line shares its step aside starts and ends: room for
// its bends.
constexpr int kPieceMargin = 20;

// The cuts round the piece of line `line` of a route from `low` to `high` along its lane, with
// a margin; where the margin reaches past the line's end, the cut is at its corner.
std::pair<Cut, Cut> PieceCuts(const Polyline& route, int line, int low, int high) {
    const std::vector<Point>& p = route.points;
    const Point a = p[static_cast<std::size_t>(line)], b = p[static_cast<std::size_t>(line) + 1];
    const bool upright = a.x == b.x;
    const int dir = DirOf(a, b);
    const int from = upright ? a.y : a.x, to = upright ? b.y : b.x;
    const int forward = to > from ? 1 : -1;
    // Along the line: where the piece starts and ends, the margin added.
    const int first = (forward > 0 ? low : high) - forward * kPieceMargin;
    const int second = (forward > 0 ? high : low) + forward * kPieceMargin;
    auto point = [&](int along) { return upright ? Point{a.x, along} : Point{along, a.y}; };
    std::pair<Cut, Cut> cuts = CornerCuts(route, line, line + 1);
    if ((first - from) * forward > 0 && (to - first) * forward > 0 && line > 0)
        cuts.first = {line, point(first), dir};
    if ((to - second) * forward > 0 && (second - from) * forward > 0 &&
        line + 2 < static_cast<int>(p.size()))
        cuts.second = {line + 1, point(second), dir};
    return cuts;
}

// `route` with the piece of its line `line` from `low` to `high` along the lane (a margin
// added) moved `offset` pixels aside, joined to the rest of the line by two short steps; where
// the margin reaches a corner, the corner moves with it. Empty where the piece would move the
// route's start off its source or come too close to its arrow.
Polyline StepAside(const Polyline& route, int line, int low, int high, int offset) {
    const std::vector<Point>& p = route.points;
    const auto i = static_cast<std::size_t>(line);
    const Point a = p[i], b = p[i + 1];
    const bool upright = a.x == b.x;
    const int from = upright ? a.y : a.x, to = upright ? b.y : b.x;
    const int forward = to > from ? 1 : -1;
    int first = (forward > 0 ? low : high) - forward * kPieceMargin;
    int second = (forward > 0 ? high : low) + forward * kPieceMargin;
    const bool last = i + 2 == p.size();
    if ((first - from) * forward <= 0) {
        if (line == 0)
            return {};
        first = from;
    }
    if ((to - second) * forward <= (last ? kApproach : 0)) {
        if (last)
            return {};
        second = to;
    }
    auto at = [&](int along, int aside) {
        return upright ? Point{a.x + aside, along} : Point{along, a.y + aside};
    };
    std::vector<Point> points(p.begin(), p.begin() + line + 1);
    points.insert(points.end(),
                  {at(first, 0), at(first, offset), at(second, offset), at(second, 0)});
    points.insert(points.end(), p.begin() + line + 1, p.end());
    return {Simplified(points), route.arrow};
}

// Lines still sharing a lane with another destination's route after spreading (stuck in a gap
// too narrow for one more lane) are searched again with the part of the route round them,
// keeping off every other destination's lines; a new route is taken when fewer of its lines
// share a lane.
void RerouteShared(std::vector<Polyline>& routes, const std::vector<int>& destination,
                   const BoxGrid& grid, const std::vector<char>& stays,
                   const std::vector<int>& pinned) {
    std::vector<std::vector<Run>> runs(routes.size());
    LaneIndex index(destination);
    for (std::size_t r = 0; r < routes.size(); ++r) {
        runs[r] = RunsOf(routes[r]);
        index.Add(static_cast<int>(r), runs[r]);
    }
    constexpr int kSpans[] = {1, 2};
    std::vector<Run> keepOff;
    long spent = 0;
    const long budget =
        std::max(kRerouteBudgetLeast, kRerouteBudgetEach * static_cast<long>(routes.size()));
    for (std::size_t r = 0; r < routes.size(); ++r) {
        const int route = static_cast<int>(r);
        if (routes[r].points.size() < 2 || routes[r].points.front() == routes[r].points.back())
            continue;
        int shared = index.SharedLines(route, runs[r]);
        if (shared == 0)
            continue;
        if (stays[r])
            continue; // laid out so before, and no search then did better
        if (spent > budget)
            break;
        keepOff.clear();
        for (std::size_t k = 0; k < routes.size(); ++k)
            if (destination[k] != destination[r])
                keepOff.insert(keepOff.end(), runs[k].begin(), runs[k].end());
        spent += static_cast<long>(keepOff.size());
        std::vector<int> tried; // lines that found no better route
        while (shared > 0 && spent <= budget) {
            const auto stuck = std::find_if(runs[r].begin(), runs[r].end(), [&](const Run& run) {
                return run.index >= pinned[r] && index.Shares(route, run) &&
                       std::find(tried.begin(), tried.end(), run.index) == tried.end();
            });
            if (stuck == runs[r].end())
                break;
            const int line = stuck->index;
            bool better = false;
            auto take = [&](Polyline again) {
                if (again.points.empty() ||
                    again.points.size() > std::max(routes[r].points.size(), kMostBends + 2) ||
                    CrossesABox(again.points, grid, pinned[r]))
                    return false;
                std::vector<Run> againRuns = RunsOf(again);
                const int now = index.SharedLines(route, againRuns);
                if (now >= shared)
                    return false;
                index.Remove(route, runs[r]);
                index.Add(route, againRuns);
                runs[r] = std::move(againRuns);
                routes[r] = std::move(again);
                shared = now;
                return true;
            };
            // First a step aside along the shared piece alone, onto a lane beside it or onto one
            // searched for; then the corners round it searched again.
            const auto [low, high] = index.Shared(route, *stuck);
            for (int offset : kLaneOffsets) {
                if (better)
                    break;
                if (offset != 0)
                    better = take(StepAside(routes[r], line, low, high, offset));
            }
            const auto [pieceStart, pieceEnd] = PieceCuts(routes[r], line, low, high);
            if (!better)
                better = take(
                    Research(routes[r], pieceStart, pieceEnd, grid, keepOff, pinned[r], spent));
            const int tip = static_cast<int>(routes[r].points.size()) - 1;
            for (int span : kSpans) {
                if (better)
                    break;
                const auto [start, end] = CornerCuts(routes[r], std::max(pinned[r], line - span),
                                                     std::min(tip, line + 1 + span));
                better = take(Research(routes[r], start, end, grid, keepOff, pinned[r], spent));
            }
            if (better)
                tried.clear(); // the lines are counted anew
            else
                tried.push_back(line);
        }
    }
}

} // namespace

RouteMemo::Found* RouteMemo::Take(const Polyline& raw, int destination) {
    const auto it = first_.find(Key(raw, destination));
    if (it == first_.end())
        return nullptr;
    // Kept in order, chained from the last: the earliest untaken is the one to give.
    Found* earliest = nullptr;
    for (int i = it->second; i >= 0; i = found_[static_cast<std::size_t>(i)].next) {
        Found& f = found_[static_cast<std::size_t>(i)];
        if (!f.taken && f.destination == destination && f.raw == raw)
            earliest = &f;
    }
    if (earliest)
        earliest->taken = true;
    return earliest;
}

void RouteMemo::Keep(Polyline raw, int destination, Polyline laid) {
    const std::uint64_t key = Key(raw, destination);
    const auto [it, added] = first_.try_emplace(key, static_cast<int>(found_.size()));
    found_.push_back(
        {std::move(raw), std::move(laid), destination, false, added ? -1 : it->second});
    it->second = static_cast<int>(found_.size()) - 1;
}

void RouteMemo::Reserve(std::size_t routes) {
    found_.reserve(routes);
    first_.reserve(routes);
}

std::uint64_t RouteMemo::Key(const Polyline& route, int destination) {
    std::uint64_t h = 1469598103934665603ull ^ static_cast<std::uint32_t>(destination);
    auto mix = [&](std::uint64_t v) { h = (h ^ v) * 1099511628211ull; };
    mix(static_cast<std::uint64_t>(route.arrow));
    for (const Point& p : route.points)
        mix(static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x)) << 32 |
            static_cast<std::uint32_t>(p.y));
    return h;
}

void SpreadApart(std::vector<Polyline>& routes, const std::vector<int>& destination,
                 const BoxGrid& grid, RouteMemo* memo, const std::vector<int>* pinned) {
    const std::vector<int> none(pinned ? 0 : routes.size(), 0);
    const std::vector<int>& pins = pinned ? *pinned : none;
    // A route given as it was at the last layout stays as that layout left it: a move elsewhere
    // leaves it be, and the routes the move changed make way round it.
    std::vector<Polyline> raw;
    std::vector<char> known(routes.size(), 0);
    if (memo) {
        raw = routes;
        for (std::size_t r = 0; r < routes.size(); ++r) {
            const RouteMemo::Found* found = memo->Take(routes[r], destination[r]);
            if (!found)
                continue;
            if (!found->laid.points.empty()) { // else laid out as given
                // A box moved onto it since: laid out anew.
                if (CrossesABox(found->laid.points, grid, pins[r]) &&
                    !CrossesABox(routes[r].points, grid, pins[r]))
                    continue;
                routes[r] = found->laid;
            }
            known[r] = 1;
        }
    }
    // A line moved aside lengthens or shortens the lines at its ends, which may then reach
    // into a lane taken by another destination: a further pass sees them as they now are.
    // A pass that moves nothing counts the lines it found no free lane for; when there are
    // none, no line needs searching again. Routes laid out before stay as they were.
    constexpr int kPasses = 5;
    const std::vector<int> reach = LeadReaches(routes, pins);
    int stuckLines = 0;
    bool settled = false;
    for (int pass = 0; pass < kPasses && !settled; ++pass)
        settled = !SpreadOnce(routes, destination, grid, known, pins, reach, stuckLines);
    if (!settled || stuckLines > 0)
        RerouteShared(routes, destination, grid, known, pins);
    if (memo) {
        RouteMemo now;
        now.Reserve(routes.size());
        for (std::size_t r = 0; r < routes.size(); ++r) {
            Polyline laid = routes[r] == raw[r] ? Polyline{} : routes[r];
            now.Keep(std::move(raw[r]), destination[r], std::move(laid));
        }
        *memo = std::move(now);
    }
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
