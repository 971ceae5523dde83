// The router on any boxes and connectors, overlapping boxes and boxes off the canvas included:
// every route runs in upright and level lines, ends at the tip of its classic shape with the
// same arrow and has no more lines than a drawing record holds; laid out again with the memo of
// the first layout, the routes come out the same.

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"
#include "fuzz_support.h"

#include <cstdint>
#include <vector>

namespace {

constexpr int kMostBoxes = 12;
constexpr std::size_t kMostConnectors = 30;

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    int Byte() { return at < size ? data[at++] : 0; }
    int Word() { return Byte() << 8 | Byte(); }
    bool More() const { return at < size; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    Reader in{data, size};
    // A few boxes close together, so that routes meet, cross and share lanes, and each input
    // runs in well under a millisecond.
    const int count = 1 + in.Byte() % kMostBoxes;
    std::vector<Rect> boxes;
    for (int i = 0; i < count; ++i) {
        const int x = in.Word() % 900 - 40, y = in.Word() % 900 - 40;
        boxes.push_back({x, y, kBoxWidth, in.Byte() % 2 ? kLongBoxHeight : kShortBoxHeight});
    }
    std::vector<RouteEnds> ends;
    std::vector<int> destination;
    while (in.More() && ends.size() < kMostConnectors) {
        const int from = in.Byte() % count, to = in.Byte() % count;
        ends.push_back({from, to});
        destination.push_back(to);
    }

    const std::vector<Polyline> routes = RouteAll(boxes, ends);
    RY_FUZZ_CHECK(routes.size() == ends.size());
    for (std::size_t i = 0; i < routes.size(); ++i) {
        const Polyline& r = routes[i];
        const Polyline classic = ClassicPolyline(boxes[static_cast<std::size_t>(ends[i].from)],
                                                 boxes[static_cast<std::size_t>(ends[i].to)]);
        RY_FUZZ_CHECK(r.points.size() >= 2);
        RY_FUZZ_CHECK(r.points.size() <= ConnectorPath::kMaxSegments + 1);
        RY_FUZZ_CHECK(r.points.back() == classic.points.back());
        RY_FUZZ_CHECK(r.arrow == classic.arrow);
        for (std::size_t k = 0; k + 1 < r.points.size(); ++k)
            RY_FUZZ_CHECK(r.points[k].x == r.points[k + 1].x || r.points[k].y == r.points[k + 1].y);
    }

    // As a canvas lays them out on each move: the same routes, with the last layout's memo.
    const BoxGrid grid(&boxes);
    std::vector<Polyline> first;
    for (const RouteEnds& e : ends)
        first.push_back(RouteAround(grid, e.from, e.to));
    std::vector<Polyline> again = first;
    RouteMemo memo;
    SpreadApart(first, destination, grid, &memo);
    RY_FUZZ_CHECK(first == routes);
    SpreadApart(again, destination, grid, &memo);
    RY_FUZZ_CHECK(again == routes);
    return 0;
}
