#pragma once

// Connectors routed around the boxes: orthogonal lines that leave the source and enter the
// destination where the classic shapes do, but never run through a box. Each connector is
// first tried in its classic shape; when that crosses a box, the shortest route with few
// bends is searched on a sparse grid of lanes beside the boxes near it. Afterwards lines of
// connectors to different destinations that share a lane are spread apart, so that each can
// be followed; lines to the same destination stay together as one trunk.

#include "canvas/routes.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ry {

// How the canvas draws its connectors.
enum class RouteStyle {
    AroundBoxes, // routed round every box, lines spread apart
    Classic,     // the three fixed shapes, from the two boxes alone
};

// The corner points of one orthogonal connector, from where it leaves the source box to the
// tip of its arrow on the destination box.
struct Polyline {
    std::vector<Point> points;
    ArrowKind arrow = ArrowKind::South;

    friend bool operator==(const Polyline&, const Polyline&) = default;
};

// The boxes of a canvas, found by area: a coarse grid of cells, each listing the boxes that
// reach into it.
class BoxGrid {
public:
    // `cell`: the side of a grid cell; smaller for many thin rectangles (lines) than for boxes.
    explicit BoxGrid(const std::vector<Rect>* boxes = nullptr, int cell = 256);
    void Reset(const std::vector<Rect>& boxes);

    // Calls f(index) once for every box that shares a pixel with `area`.
    template <class F> void ForEachIn(const Rect& area, F&& f) const {
        ++stamp_;
        Visit(area, [&](int i) {
            if (seen_[static_cast<std::size_t>(i)] == stamp_)
                return false;
            seen_[static_cast<std::size_t>(i)] = stamp_;
            f(i);
            return false;
        });
    }
    // Whether a box shares a pixel with `area`; stops at the first found.
    bool AnyIn(const Rect& area) const {
        return Visit(area, [](int) { return true; });
    }
    // Whether a box sharing a pixel with `area` satisfies `test`; stops at the first that does.
    template <class F> bool AnyIn(const Rect& area, F&& test) const {
        return Visit(area, [&](int i) { return test(i); });
    }
    const std::vector<Rect>& Boxes() const { return *boxes_; }

private:
    // Calls stop(index) for the boxes sharing a pixel with `area`, in the cells it covers (a
    // box once for each), until stop returns true; whether it did.
    template <class F> bool Visit(const Rect& area, F&& stop) const {
        if (!boxes_ || area.Width <= 0 || area.Height <= 0)
            return false;
        const int x0 = Cell(area.Left), x1 = Cell(area.Left + area.Width - 1);
        const int y0 = Cell(area.Top), y1 = Cell(area.Top + area.Height - 1);
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx) {
                const auto it = cells_.find(Key(cx, cy));
                if (it == cells_.end())
                    continue;
                for (int i : it->second)
                    if (Intersects((*boxes_)[static_cast<std::size_t>(i)], area) && stop(i))
                        return true;
            }
        return false;
    }

    int Cell(int v) const { return v >= 0 ? v / cell_ : -((-v + cell_ - 1) / cell_); }
    static std::int64_t Key(int cx, int cy) {
        return (static_cast<std::int64_t>(cx) << 32) ^ static_cast<std::uint32_t>(cy);
    }

    int cell_ = 256;
    const std::vector<Rect>* boxes_ = nullptr;
    std::unordered_map<std::int64_t, std::vector<int>> cells_;
    mutable std::vector<unsigned> seen_;
    mutable unsigned stamp_ = 0;
};

// The pixels a straight piece of line from a to b paints, both ends included.
Rect SegmentPixels(Point a, Point b);

// Whether the orthogonal line through `points` paints a pixel inside a box of `grid`, leaving
// out its last pixel (an arrow's tip lies on its destination's edge) and its first `skipped`
// lines (a port's lead, which is kept out of others' way as a box is).
bool CrossesABox(const std::vector<Point>& points, const BoxGrid& grid, int skipped = 0);

// The classic route of a connector as corner points: the same ends and runs as the classic
// shapes, with each rounded bend taken as one sharp corner, and the sloping line between
// nearly level boxes made a step.
Polyline ClassicPolyline(const Rect& source, const Rect& dest);

// The route of one connector from box `from` to box `to` of the grid (they may be the same
// box): the classic shape when it runs clear of every box, else the shortest orthogonal route
// with a penalty for each bend, searched among the boxes near the two ends. The classic shape
// is kept when no clear route exists (boxes overlapping an end).
Polyline RouteAround(const BoxGrid& grid, int from, int to);

// The route of a connector that leaves its source along a port's lead (from the source's edge
// to where the lead ends heading east, see canvas/ports.h) and goes on round the boxes to box
// `to`: into its top when that lies well below the lead's end, else into its left side. The
// lead's points come first. Empty when no route clear of the boxes is found.
Polyline RouteFromLead(const BoxGrid& grid, const std::vector<Point>& lead, int to);

// How SpreadApart last laid out each route, by the route as it was given: a canvas laid out
// again and again (a box dragged) keeps one, so that routes a move does not touch stay as they
// were laid out, and only the others are spread and searched again.
class RouteMemo {
public:
    struct Found {
        Polyline raw, laid; // laid without points: as raw
        int destination = 0;
        bool taken = false;
        int next = -1; // the next kept with the same key
    };
    // The layout of a route given as `raw`, once for each time it was kept (two connectors
    // may stand alike); null when none is left.
    Found* Take(const Polyline& raw, int destination);
    void Keep(Polyline raw, int destination, Polyline laid);
    void Reserve(std::size_t routes);

private:
    static std::uint64_t Key(const Polyline& route, int destination);
    std::vector<Found> found_;
    std::unordered_map<std::uint64_t, int> first_; // by key, the last kept (chained by next)
};

// Moves lines of connectors to different destinations apart where they run along the same
// lane, by a few pixels at a time, keeping them orthogonal and out of the boxes. Lines of
// connectors to the same destination may share a lane. The last line of each connector, the
// one its arrow sits on, is not moved. A line that finds no free lane so (a gap between boxes
// too narrow for one more) has the part of its route round it searched again, keeping off
// other destinations' lines. `destination` gives each route's destination key; `memo`, when
// given, holds the last layout and is replaced by this one. `pinned`, when given, holds for each
// route how many of its first lines stay where they are (a port's lead carrying its label);
// the line after them moves only so far that the lead keeps its length.
void SpreadApart(std::vector<Polyline>& routes, const std::vector<int>& destination,
                 const BoxGrid& grid, RouteMemo* memo = nullptr,
                 const std::vector<int>* pinned = nullptr);

// The pixels between lines that share a lane after spreading.
inline constexpr int kLaneSpacing = 5;
// Lines of different destinations closer than this read as one: spreading keeps them further
// apart (in a narrow gap, closer than kLaneSpacing).
inline constexpr int kLaneSeparation = 3;

// The drawing record of a route: its lines with small rounded bends where the lines beside a
// bend are long enough for one (a sharp corner otherwise), and the arrow head. A route with
// more bends than a record holds is drawn in its classic shape.
ConnectorPath DrawPolyline(const Polyline& route);

// Every connector between the boxes, routed around them and spread apart: `ends` holds each
// connector's source and destination box.
struct RouteEnds {
    int from = 0;
    int to = 0;
};
std::vector<Polyline> RouteAll(const std::vector<Rect>& boxes, const std::vector<RouteEnds>& ends);

} // namespace ry
