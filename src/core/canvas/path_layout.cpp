#include "canvas/path_layout.h"

#include "canvas/label_spots.h"

#include <algorithm>
#include <tuple>

namespace ry {

namespace {

Rect Grown(const Rect& r, int dx, int dy) {
    return {r.Left - dx, r.Top - dy, r.Width + 2 * dx, r.Height + 2 * dy};
}

bool Empty(const Rect& r) {
    return r.Width <= 0 || r.Height <= 0;
}

bool Before(const Rect& a, const Rect& b) {
    return std::tie(a.Left, a.Top, a.Width, a.Height) < std::tie(b.Left, b.Top, b.Width, b.Height);
}

// The leads of one box's paths, and what they take on the canvas: the lines a little wide, so
// that no other line runs close beside them, and room for a path going on from its lead to
// leave it straight.
std::vector<Rect> LeadRoom(const std::vector<PortLead>& leads, const std::vector<PathToLay>& paths,
                           const std::vector<std::size_t>& of) {
    std::vector<Rect> needs;
    for (std::size_t k = 0; k < leads.size(); ++k) {
        const PortLead& lead = leads[k];
        const auto& l = lead.Line;
        if (l[1].y > l[0].y)
            needs.push_back({l[0].x - 2, l[0].y + 2, 5, l[1].y - l[0].y + 1});
        const int out = paths[of[k]].to < 0 ? 0 : 12;
        needs.push_back({l[1].x + 1, l[1].y - 2, l[2].x - l[1].x - 1 + out, 5});
        needs.push_back(lead.Label);
        needs.push_back(lead.Tag);
    }
    return needs;
}

// The lines of the paths laid out so far, each a little wide, to keep labels clear of other
// paths' lines: a label a few pixels beside its own line lies nearer it than any other.
class LineSpace {
public:
    void Add(std::size_t owner, const std::vector<Point>& points) {
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const Rect pixels = SegmentPixels(points[k], points[k + 1]);
            rects_.push_back(Grown(pixels, kClear, kClear));
            owners_.push_back(owner);
        }
    }
    void Index() { grid_.Reset(rects_); }
    // Whether `r` keeps clear of every line but those of `owner`; `closer`, whether it only
    // covers none of them.
    bool Clear(const Rect& r, std::size_t owner, bool closer = false) const {
        const Rect area = closer ? Grown(r, -kClear, -kClear) : r;
        if (area.Width <= 0 || area.Height <= 0)
            return true;
        return !grid_.AnyIn(area,
                            [&](int i) { return owners_[static_cast<std::size_t>(i)] != owner; });
    }

private:
    // A label stands 3 pixels off its own line (4 rows or columns away).
    static constexpr int kClear = 4;
    std::vector<Rect> rects_;
    std::vector<std::size_t> owners_;
    // Lines are thin: small cells hold few of them, so a label's spot is tried against few.
    BoxGrid grid_{nullptr, 64};
};

} // namespace

void PathLayout::Build(const std::vector<LayoutBox>& boxes, const std::vector<PathToLay>& paths,
                       RouteStyle style) {
    laid_.assign(paths.size(), LaidPath{});
    leftOut_ = 0;
    std::vector<Rect> rects;
    rects.reserve(boxes.size());
    for (const LayoutBox& b : boxes)
        rects.push_back(b.rect);
    TakenSpace taken;
    for (const Rect& b : rects)
        taken.Take(Grown(b, 1, 1));

    // Around the boxes every path leaves its source from its own port, with its label beside
    // the source: a box's leads are laid out together when they all find room below it.
    std::vector<std::optional<PortLead>> leads(paths.size());
    std::vector<Rect> obstacles = rects; // what lines keep out of: boxes, then labels and tags
    if (style == RouteStyle::AroundBoxes) {
        std::vector<std::vector<std::size_t>> pathsOf(boxes.size());
        for (std::size_t i = 0; i < paths.size(); ++i)
            pathsOf[static_cast<std::size_t>(paths[i].from)].push_back(i);
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            const std::vector<std::size_t>& of = pathsOf[b];
            if (of.empty())
                continue;
            std::vector<PortCargo> cargo;
            for (std::size_t i : of)
                cargo.push_back({paths[i].label, paths[i].to < 0 ? paths[i].tag : Size{}});
            const std::vector<PortLead> placed = PlacePorts(rects[b], cargo);
            const std::vector<Rect> needs = LeadRoom(placed, paths, of);
            if (!std::all_of(needs.begin(), needs.end(),
                             [&](const Rect& r) { return Empty(r) || taken.IsFree(r); }))
                continue; // no room below this box: its paths are laid out one by one
            for (const Rect& r : needs)
                if (!Empty(r))
                    taken.Take(r);
            for (std::size_t k = 0; k < placed.size(); ++k) {
                const PortLead& lead = placed[k];
                leads[of[k]] = lead;
                // Other lines keep off the lead, up to where its path goes on, and clear of a
                // label, not only off it; its own run passes just below it.
                const auto& l = lead.Line;
                if (l[1].y > l[0].y)
                    obstacles.push_back({l[0].x - 2, l[0].y, 5, l[1].y - l[0].y + 3});
                obstacles.push_back({l[1].x - 2, l[1].y - 2, l[2].x - l[1].x + 2, 5});
                if (!Empty(lead.Label))
                    obstacles.push_back({lead.Label.Left - 3, lead.Label.Top - 3,
                                         lead.Label.Width + 6, lead.Label.Height + 3});
                if (!Empty(lead.Tag))
                    obstacles.push_back(Grown(lead.Tag, 3, 3));
            }
        }
    }

    // The stubs of boxes without room for their leads, below them.
    std::unordered_map<int, int> stubsOf; // stub rows used so far under each box
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const PathToLay& p = paths[i];
        if (p.to >= 0 || leads[i])
            continue;
        LaidPath& laid = laid_[i];
        const Rect& from = rects[static_cast<std::size_t>(p.from)];
        const bool hasLabel = !Empty(Rect{0, 0, p.label.Width, p.label.Height});
        int& row = stubsOf[p.from];
        // The first row below the box whose tag and label find room, a few rows down at most.
        constexpr int kRowsTried = 6;
        bool placed = false;
        for (int k = 0; k < kRowsTried && !placed; ++k) {
            // Around the boxes each stub drops a little further left than the one above it,
            // so that no two run down one line.
            Rect column = from;
            if (style == RouteStyle::AroundBoxes)
                column.Width = std::max(2 * kStubInset, column.Width - kPortStep * (row + k));
            const Stub stub = PlaceStub(column, row + k, p.label, p.tag);
            if (taken.IsFree(stub.Tag) && (!hasLabel || taken.IsFree(stub.Label))) {
                laid.stub = stub;
                row += k + 1;
                placed = true;
            }
        }
        if (!placed) {
            laid.stub = PlaceStub(from, row++, p.label, p.tag);
            // A problem is never left out: its tag is drawn over whatever lies there.
            laid.hasTag = p.problem;
            leftOut_ += (hasLabel ? 1 : 0) + (p.problem ? 0 : 1);
        } else {
            laid.hasTag = true;
            taken.Take(laid.stub.Tag);
            if (hasLabel) {
                laid.hasLabel = true;
                laid.label = laid.stub.Label;
                taken.Take(laid.label);
            }
        }
        laid.bounds = laid.stub.Bounds();
        laid.points = {laid.stub.Line.begin(), laid.stub.Line.end()};
        if (style == RouteStyle::AroundBoxes) {
            // Lines keep off the stub as off a lead.
            const auto& l = laid.stub.Line;
            obstacles.push_back({l[0].x - 2, l[0].y, 5, l[1].y - l[0].y + 3});
            obstacles.push_back({l[1].x - 2, l[1].y - 2, l[2].x - l[1].x + 2, 5});
            if (laid.hasLabel)
                obstacles.push_back({laid.label.Left - 3, laid.label.Top - 3, laid.label.Width + 6,
                                     laid.label.Height + 3});
            if (laid.hasTag)
                obstacles.push_back(Grown(laid.stub.Tag, 3, 3));
        }
    }

    if (style == RouteStyle::Classic) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (paths[i].to < 0)
                continue;
            const Rect& from = rects[static_cast<std::size_t>(paths[i].from)];
            const Rect& to = rects[static_cast<std::size_t>(paths[i].to)];
            laid_[i].path = RouteConnector(from, to);
            laid_[i].points = ClassicPolyline(from, to).points;
        }
    } else {
        RouteConnectors(boxes, paths, obstacles, leads);
    }

    LineSpace lines;
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (paths[i].to >= 0 || leads[i])
            lines.Add(i, paths[i].to >= 0
                             ? laid_[i].points
                             : std::vector<Point>(leads[i]->Line.begin(), leads[i]->Line.end()));
    lines.Index();

    // Paths at their ports, with their labels and tags there; then the others' tags, then
    // their labels, each on a spot no box, lead, tag or label takes, clear of other lines.
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!leads[i])
            continue;
        LaidPath& laid = laid_[i];
        const PortLead& lead = *leads[i];
        laid.fromPort = true;
        if (paths[i].to < 0) {
            laid.stub.Line = lead.Line;
            laid.stub.Tag = lead.Tag;
            laid.stub.Label = lead.Label;
            laid.points = {lead.Line.begin(), lead.Line.end()};
            laid.hasTag = true;
            laid.bounds = laid.stub.Bounds();
        } else {
            laid.bounds = laid.path.Bounds();
        }
        if (!Empty(lead.Label)) {
            laid.hasLabel = true;
            laid.label = lead.Label;
            laid.bounds = Unite(laid.bounds, lead.Label);
        }
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const PathToLay& p = paths[i];
        if (p.to < 0 || leads[i])
            continue;
        LaidPath& laid = laid_[i];
        laid.bounds = laid.path.Bounds();
        if (Empty(Rect{0, 0, p.label.Width, p.label.Height}))
            continue;
        std::optional<Rect> preferred;
        if (style == RouteStyle::Classic)
            preferred = PlaceLabel(laid.path, p.label, rects[static_cast<std::size_t>(p.from)],
                                   rects[static_cast<std::size_t>(p.to)]);
        // Around the boxes a label stands as near its source as it may, in the classic style
        // near where its line comes in; clear of other lines, else at least on none, and only
        // where no such spot is left, on the first free one.
        const bool fromSource = style == RouteStyle::AroundBoxes;
        std::optional<Rect> spot = PlaceFreeLabel(
            laid.path, p.label, taken, preferred, [&](const Rect& r) { return lines.Clear(r, i); },
            fromSource);
        if (!spot)
            spot = PlaceFreeLabel(
                laid.path, p.label, taken, preferred,
                [&](const Rect& r) { return lines.Clear(r, i, true); }, fromSource);
        if (!spot)
            spot = PlaceFreeLabel(laid.path, p.label, taken, preferred, {}, fromSource);
        if (!spot) {
            ++leftOut_;
            continue;
        }
        laid.hasLabel = true;
        laid.label = *spot;
        taken.Take(*spot);
        laid.bounds = Unite(laid.bounds, *spot);
    }
}

void PathLayout::RouteConnectors(const std::vector<LayoutBox>& boxes,
                                 const std::vector<PathToLay>& paths,
                                 const std::vector<Rect>& obstacles,
                                 std::vector<std::optional<PortLead>>& leads) {
    // What moved, appeared or changed since the last layout (boxes, labels and tags): a route
    // found before is kept when its two boxes stand where they stood, it leaves from the same
    // lead, and none of these lies in its way now.
    std::vector<Rect> changed;
    std::unordered_map<int, Rect> boxNow;
    for (const LayoutBox& b : boxes) {
        boxNow[b.key] = b.rect;
        const auto was = lastBoxOf_.find(b.key);
        if (was == lastBoxOf_.end() || !(was->second == b.rect))
            changed.push_back(b.rect);
    }
    std::vector<Rect> extras(obstacles.begin() + static_cast<std::ptrdiff_t>(boxes.size()),
                             obstacles.end());
    std::sort(extras.begin(), extras.end(), Before);
    for (const Rect& r : extras)
        if (!std::binary_search(lastExtras_.begin(), lastExtras_.end(), r, Before))
            changed.push_back(r);
    const BoxGrid changedGrid(&changed);
    const BoxGrid grid(&obstacles);
    // Boxes on one spot are one destination: lines into them cannot be told apart anyway.
    std::vector<int> spotOf(boxes.size());
    {
        std::vector<int> order(boxes.size());
        for (std::size_t b = 0; b < boxes.size(); ++b)
            order[b] = static_cast<int>(b);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            const Rect &ra = boxes[static_cast<std::size_t>(a)].rect,
                       &rb = boxes[static_cast<std::size_t>(b)].rect;
            return Before(ra, rb) || (ra == rb && a < b);
        });
        for (std::size_t k = 0; k < order.size(); ++k) {
            const auto b = static_cast<std::size_t>(order[k]);
            spotOf[b] = k > 0 && boxes[static_cast<std::size_t>(order[k - 1])].rect == boxes[b].rect
                            ? spotOf[static_cast<std::size_t>(order[k - 1])]
                            : order[k];
        }
    }
    std::unordered_map<std::uint64_t, KnownRoute> known;
    std::vector<Polyline> routes;
    std::vector<int> destination, pinned;
    std::vector<std::size_t> routeOf; // the path each route draws; none for a stub's lead
    routes.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const PathToLay& p = paths[i];
        if (p.to < 0) {
            // A stub's lead is not moved, and other lines keep off it.
            Polyline lead{leads[i]
                              ? std::vector<Point>(leads[i]->Line.begin(), leads[i]->Line.end())
                              : laid_[i].points,
                          ArrowKind::East};
            if (lead.points.size() < 2)
                continue;
            if (lead.points[0] == lead.points[1])
                lead.points.erase(lead.points.begin());
            pinned.push_back(static_cast<int>(lead.points.size()) - 1);
            routes.push_back(std::move(lead));
            destination.push_back(-1 - static_cast<int>(i));
            routeOf.push_back(paths.size());
            continue;
        }
        const LayoutBox& fromBox = boxes[static_cast<std::size_t>(p.from)];
        const LayoutBox& toBox = boxes[static_cast<std::size_t>(p.to)];
        const std::uint64_t key =
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(fromBox.key)) << 32 |
            static_cast<std::uint32_t>(toBox.key);
        const Point leadEnd = leads[i] ? leads[i]->Line[2] : Point{};
        const auto was = known_.find(key);
        Polyline route;
        if (was != known_.end() && was->second.from == fromBox.rect &&
            was->second.to == toBox.rect && was->second.leadEnd == leadEnd &&
            was->second.ported == leads[i].has_value() &&
            (changed.empty() || !CrossesABox(was->second.route.points, changedGrid)))
            route = was->second.route;
        else if (leads[i])
            route = RouteFromLead(grid, {leads[i]->Line.begin(), leads[i]->Line.end()}, p.to);
        if (route.points.empty()) {
            // No way on from the lead: the path leaves as it would without ports, and its label
            // finds a spot beside it.
            leads[i].reset();
            route = RouteAround(grid, p.from, p.to);
        }
        known[key] = {fromBox.rect, toBox.rect, leadEnd, leads[i].has_value(), route};
        routes.push_back(std::move(route));
        destination.push_back(spotOf[static_cast<std::size_t>(p.to)]);
        pinned.push_back(!leads[i] ? 0 : leads[i]->Line[0] == leads[i]->Line[1] ? 1 : 2);
        routeOf.push_back(i);
    }
    known_ = std::move(known);
    lastBoxOf_ = std::move(boxNow);
    lastExtras_ = std::move(extras);
    SpreadApart(routes, destination, grid, &laidOut_, &pinned);
    for (std::size_t r = 0; r < routes.size(); ++r) {
        if (routeOf[r] >= paths.size())
            continue;
        LaidPath& laid = laid_[routeOf[r]];
        laid.path = DrawPolyline(routes[r]);
        laid.points = std::move(routes[r].points);
    }
}

} // namespace ry
