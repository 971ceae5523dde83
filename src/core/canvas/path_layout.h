#pragma once

// Every path of a drawing laid out: the connectors' routes, the stubs of paths to destinations
// that name no module, and where each trigger label and tag sits. In the classic style the
// connectors keep their three shapes and labels go to free spots beside them. Around the boxes
// (the default) each path leaves its source from its own port, with its label beside the source
// (canvas/ports.h), and goes on round the boxes, lines of different destinations spread apart;
// a box without room below it for its leads has its paths laid out one by one, each label on a
// free spot beside its route. Labels and tags never lie on a box or on each other; one that finds
// no spot is left out, except a problem's tag, which is always drawn.

#include "canvas/around_boxes.h"
#include "canvas/labels.h"
#include "canvas/ports.h"
#include "canvas/routes.h"
#include "canvas/stubs.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace ry {

// A box of the drawing: where it is drawn, and what names it from one layout to the next.
struct LayoutBox {
    Rect rect;
    int key = 0;
};

// One path (the paths of one module to one destination) to lay out.
struct PathToLay {
    int from = 0; // a box, by its index
    int to = -1;  // a box, by its index; -1 for a stub
    bool problem = false;
    Size label; // the trigger label's size; empty for none
    Size tag;   // a stub's tag's size
};

struct LaidPath {
    // The corners of its line, from the source's frame to the arrow's tip (a connector) or to
    // the tag (a stub), rounded bends taken sharp.
    std::vector<Point> points;
    ConnectorPath path; // a connector's drawing record
    Stub stub;          // a stub's line, label and tag
    bool hasTag = false;
    bool hasLabel = false;
    bool fromPort = false; // leaves from its own port, its label beside the source
    Rect label;
    Rect bounds; // everything painted
};

// Lays out a drawing again and again (a box dragged): routes a move does not touch are kept as
// they were laid out.
class PathLayout {
public:
    void Build(const std::vector<LayoutBox>& boxes, const std::vector<PathToLay>& paths,
               RouteStyle style);
    const std::vector<LaidPath>& Paths() const { return laid_; }
    // Labels and tags left out for want of a free spot.
    int LeftOut() const { return leftOut_; }

private:
    // A route as found before it was spread apart, with the boxes it was found between.
    struct KnownRoute {
        Rect from, to;
        Point leadEnd; // where its port's lead ends, when it leaves from one
        bool ported = false;
        Polyline route;
    };
    void RouteConnectors(const std::vector<LayoutBox>& boxes, const std::vector<PathToLay>& paths,
                         const std::vector<Rect>& obstacles,
                         std::vector<std::optional<PortLead>>& leads);

    std::vector<LaidPath> laid_;
    int leftOut_ = 0;
    std::unordered_map<std::uint64_t, KnownRoute> known_;
    std::unordered_map<int, Rect> lastBoxOf_;
    std::vector<Rect> lastExtras_; // the labels and tags lines kept out of, sorted
    RouteMemo laidOut_;            // the last layout of the routes, to keep them in their lanes
};

} // namespace ry
