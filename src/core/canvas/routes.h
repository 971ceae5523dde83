#pragma once

// The geometry of a connector line between two module boxes: which of the three route shapes
// it takes, where it bends and where its arrow head sits. Everything here is computed from the
// two box rectangles alone, so the canvas can rebuild every connector on each repaint without
// keeping anything between repaints.
//
// A route is recorded the way a raster device draws it: a pen that moves and draws lines,
// single pixels set at the bends, and one filled triangle. The painter replays the record:
//  - a segment paints the pixels of the line from `from` up to but not including `to`
//    (the end point is painted by whatever comes next: a bend pixel or the arrow's outline);
//    segments are horizontal or vertical, except the single straight line between nearly
//    level boxes, which may slope by up to 8 pixels;
//  - every bend pixel is painted black;
//  - the arrow is a triangle filled with the light grey brush and outlined with the pen.
// Coordinates are canvas pixels, x to the right and y downwards. The canvas stores positions
// as 16-bit values; the arithmetic here is done in int so a box near the end of that range
// cannot wrap a route around.

#include <array>
#include <cassert>
#include <cstddef>
#include <limits>

namespace ry {

struct Point {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(const Point&, const Point&) = default;
};

// A box rectangle, or any pixel rectangle: covers x in [Left, Left + Width) and y in
// [Top, Top + Height). A rectangle with no width or no height is empty.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// Whether two rectangles share at least one pixel; an empty rectangle shares none.
constexpr bool Intersects(const Rect& a, const Rect& b) {
    return a.Width > 0 && a.Height > 0 && b.Width > 0 && b.Height > 0 &&
           a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

// The point halfway along a box edge falls on a half pixel for odd sizes (a long box is 69
// pixels high, every box 155 wide). An exact half goes to the even neighbour, the rounding of
// every other whole-number conversion in the script tools, so connectors of existing scripts
// keep landing on the same pixels.
constexpr int HalfwayEven(int start, int length) {
    const int twice = 2 * start + length;
    if (twice % 2 == 0)
        return twice / 2;
    const int below = (twice - 1) / 2; // exact: twice - 1 is even
    return below % 2 == 0 ? below : below + 1;
}

// Where connectors leave and enter a box.
constexpr Point RightMiddle(const Rect& r) {
    return {r.Left + r.Width, HalfwayEven(r.Top, r.Height)};
}
constexpr Point LeftMiddle(const Rect& r) {
    return {r.Left, HalfwayEven(r.Top, r.Height)};
}
constexpr Point BottomCentre(const Rect& r) {
    return {HalfwayEven(r.Left, r.Width), r.Top + r.Height};
}
constexpr Point TopCentre(const Rect& r) {
    return {HalfwayEven(r.Left, r.Width), r.Top};
}

// The direction a line runs in or out of a bend, in degrees as on a compass rose drawn on the
// screen: north is up.
enum class Direction { East = 0, North = 90, West = 180, South = 270 };

// East: the arrow enters a box through its left side. South: through its top.
enum class ArrowKind { East, South };

// A small list with its room inside, so that a route costs no allocation.
template <class T, std::size_t N> class FixedList {
public:
    void push_back(const T& value) {
        assert(size_ < N && "a route never records more than this");
        if (size_ < N)
            items_[size_++] = value;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T& operator[](std::size_t i) const { return items_[i]; }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + size_; }

private:
    std::array<T, N> items_{};
    std::size_t size_ = 0;
};

// One drawn line. `to` is not painted by the line itself.
struct Segment {
    Point from;
    Point to;

    friend constexpr bool operator==(const Segment&, const Segment&) = default;
};

struct ArrowHead {
    ArrowKind kind = ArrowKind::South;
    std::array<Point, 3> corners{}; // the tip first

    friend constexpr bool operator==(const ArrowHead&, const ArrowHead&) = default;
};

// The record of one connector, filled by the Draw* functions below through the same few
// calls a raster device offers.
class ConnectorPath {
public:
    // The longest classic route (the loop) draws four lines and bends three times, five pixels
    // a bend; a route around boxes may bend more often.
    static constexpr std::size_t kMaxSegments = 24;
    static constexpr std::size_t kMaxBendPixels = 5 * (kMaxSegments - 1);

    // Moves the pen without drawing.
    void MoveTo(Point p);
    // Draws from the pen to p (p itself not painted) and leaves the pen at p. A line to the
    // pen's own position paints nothing and is not recorded.
    void LineTo(Point p);
    // Paints one pixel black, whatever colour the lines are drawn in.
    void SetBlackPixel(Point p) {
        bendPixels_.push_back(p);
        Cover(p);
    }
    // The arrow head; a connector has one, drawn last.
    void SetArrow(const ArrowHead& arrow);

    Point Pen() const { return pen_; }
    const FixedList<Segment, kMaxSegments>& Segments() const { return segments_; }
    const FixedList<Point, kMaxBendPixels>& BendPixels() const { return bendPixels_; }
    bool HasArrow() const { return hasArrow_; }
    const ArrowHead& Arrow() const { return arrow_; }

    // The smallest rectangle holding every pixel the connector paints (segments, bend pixels
    // and the arrow); empty when nothing is painted. The painter skips a connector whose
    // bounds miss the area being repainted.
    Rect Bounds() const;

private:
    // Inline: it runs for every point of every connector on each repaint.
    void Cover(Point p) {
        minX_ = p.x < minX_ ? p.x : minX_;
        maxX_ = p.x > maxX_ ? p.x : maxX_;
        minY_ = p.y < minY_ ? p.y : minY_;
        maxY_ = p.y > maxY_ ? p.y : maxY_;
    }

    FixedList<Segment, kMaxSegments> segments_;
    FixedList<Point, kMaxBendPixels> bendPixels_;
    ArrowHead arrow_;
    bool hasArrow_ = false;
    Point pen_;
    // Nothing covered yet while the minimum lies past the maximum.
    int minX_ = std::numeric_limits<int>::max();
    int minY_ = std::numeric_limits<int>::max();
    int maxX_ = std::numeric_limits<int>::min();
    int maxY_ = std::numeric_limits<int>::min();
};

// The three route shapes.
enum class RouteKind {
    Down, // bottom centre of the source to the top centre of the destination
    Side, // right middle of the source to the left middle of the destination
    Loop, // bottom centre of the source round to the left middle of the destination
};

struct Route {
    RouteKind kind = RouteKind::Loop;
    Point from;
    Point to;

    friend constexpr bool operator==(const Route&, const Route&) = default;
};

// Picks the shape from where the destination box lies relative to the source box: well below
// it, or nearly straight below, goes down; well to the right, or nearly level to the right,
// goes sideways; anything else (overlapping, above, to the left, the box itself) loops.
Route ChooseRoute(const Rect& source, const Rect& dest);

// From (x1, y1) on a source's right side to (x2, y2) on a destination's left side. Ends
// further apart than 8 pixels vertically are joined by a vertical run 14 pixels right of the
// source; closer ones by one straight line.
void DrawSideRoute(ConnectorPath& path, int x1, int y1, int x2, int y2);
// From (x1, y1) at a source's bottom to (x2, y2) at a destination's top. Ends further apart
// than 18 pixels horizontally are joined by a horizontal run 14 pixels below the source;
// closer ones by one straight line.
void DrawDownRoute(ConnectorPath& path, int x1, int y1, int x2, int y2);
// From (x1, y1) at a source's bottom to (x2, y2) on a destination's left side, going round
// the source's lower left when the destination is not clearly below and to the right.
void DrawLoopRoute(ConnectorPath& path, int x1, int y1, int x2, int y2);

// Where the loop route from (x1, y1) at a source's bottom to (x2, y2) on a destination's left
// side runs when it goes round: the column of its vertical run and the row of its horizontal
// run.
struct LoopRuns {
    int column = 0;
    int row = 0;
};
LoopRuns LoopRunsFor(int x1, int y1, int x2, int y2);

// A small rounded bend: a line from the pen to (x, y), that pixel and four more painted black
// along the curve, and the pen moved without drawing to 4 pixels further along both axes,
// where the outgoing line starts. The curve depends on the incoming direction and on whether
// the outgoing one is the first of that direction's two turns (east: north; south: east;
// west: north; north: east); any other outgoing direction takes the second turn.
void DrawCorner(ConnectorPath& path, int x, int y, Direction in, Direction out);

// The filled arrow with its tip at (x, y): 10 pixels long and 10 wide, pointing east or south.
void DrawArrowHead(ConnectorPath& path, int x, int y, ArrowKind kind);

// The whole connector from the source box to the destination box.
ConnectorPath RouteConnector(const Rect& source, const Rect& dest);

} // namespace ry
