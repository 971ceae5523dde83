#include "canvas/connector_hits.h"

#include "paths/destinations.h"
#include "script/text.h"

#include <algorithm>

namespace ry {

namespace {

bool Inside(const Rect& r, Point p, int tolerance) {
    return r.Width > 0 && r.Height > 0 && p.x >= r.Left - tolerance &&
           p.x < r.Left + r.Width + tolerance && p.y >= r.Top - tolerance &&
           p.y < r.Top + r.Height + tolerance;
}

long long Square(long long v) {
    return v * v;
}

} // namespace

long long SquaredDistanceToSegment(Point a, Point b, Point p) {
    const long long dx = b.x - a.x, dy = b.y - a.y;
    const long long length2 = dx * dx + dy * dy;
    if (length2 == 0)
        return Square(p.x - a.x) + Square(p.y - a.y);
    const long long along = (p.x - a.x) * dx + (p.y - a.y) * dy;
    if (along <= 0)
        return Square(p.x - a.x) + Square(p.y - a.y);
    if (along >= length2)
        return Square(p.x - b.x) + Square(p.y - b.y);
    // The distance to the line through a and b: cross product squared over the length squared,
    // rounded up so that a point just beyond the tolerance stays beyond it.
    const long long cross = (p.x - a.x) * dy - (p.y - a.y) * dx;
    return (cross * cross + length2 - 1) / length2;
}

bool TouchesConnector(const ConnectorPath& path, Point p, int tolerance) {
    const long long limit = Square(std::max(0, tolerance));
    for (const Segment& s : path.Segments())
        if (SquaredDistanceToSegment(s.from, s.to, p) <= limit)
            return true;
    for (const Point& bend : path.BendPixels())
        if (SquaredDistanceToSegment(bend, bend, p) <= limit)
            return true;
    if (!path.HasArrow())
        return false;
    const auto& c = path.Arrow().corners;
    const int left = std::min({c[0].x, c[1].x, c[2].x});
    const int top = std::min({c[0].y, c[1].y, c[2].y});
    const Rect arrow{left, top, std::max({c[0].x, c[1].x, c[2].x}) - left + 1,
                     std::max({c[0].y, c[1].y, c[2].y}) - top + 1};
    return Inside(arrow, p, tolerance);
}

bool TouchesStub(const Stub& stub, Point p, int tolerance) {
    const long long limit = Square(std::max(0, tolerance));
    for (std::size_t i = 0; i + 1 < stub.Line.size(); ++i)
        if (SquaredDistanceToSegment(stub.Line[i], stub.Line[i + 1], p) <= limit)
            return true;
    return Inside(stub.Label, p, 0) || Inside(stub.Tag, p, tolerance);
}

std::string_view PathLineOfLink(std::string_view pathText, int link) {
    constexpr auto npos = std::string_view::npos;
    if (link < 0)
        return {};
    // The links as the canvas reads them, so that the count agrees with its paths.
    const std::vector<PathLink> links = PathLinks(pathText);
    if (static_cast<std::size_t>(link) >= links.size())
        return {};
    // The n-th "on {" that PathLinks found starts where its trigger's view starts, less 4.
    std::size_t at = npos;
    const std::string_view trigger = links[static_cast<std::size_t>(link)].Trigger;
    if (!trigger.empty() || trigger.data() != nullptr)
        at = static_cast<std::size_t>(trigger.data() - pathText.data());
    if (at == npos || at < 4 || at > pathText.size()) {
        // A trigger without "}" has no view into the text: count the "on {" from the start.
        at = 0;
        for (int n = 0; n <= link; ++n) {
            at = IFind(pathText, "on {", n == 0 ? 0 : at + 4);
            if (at == npos)
                return {};
        }
        at += 4;
    }
    at -= 4;
    std::size_t start = pathText.rfind('\n', at);
    start = start == npos ? 0 : start + 1;
    std::size_t end = pathText.find_first_of("\r\n", at);
    if (end == npos)
        end = pathText.size();
    return TrimBlanks(pathText.substr(start, end - start));
}

} // namespace ry
