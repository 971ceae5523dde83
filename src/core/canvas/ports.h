#pragma once

// Where the paths of one module leave it: each path (each destination, with every trigger that
// leads there) has its own port, in path order from the top: first down the box's right side, as
// many as its height holds, then along its bottom edge from the right. From its port a path's
// lead runs right along its own row (from a bottom port, first down to its row below the box),
// carrying the trigger label above that run, beside the box; there the path goes on to its
// destination, or ends in the tag of a destination that names no module. A lower row ends
// further left (and a lower bottom port lies further left), so no lead, label or tag of one box
// lies on another's, and a path going on from a higher row passes the ends of the lower ones.

#include "canvas/labels.h"
#include "canvas/routes.h"

#include <array>
#include <vector>

namespace ry {

struct PortLead {
    // From the port to the row (the same point for a port on the right side), then right to
    // where the path goes on.
    std::array<Point, 3> Line{};
    Rect Label; // above the row's run; empty for an empty size
    Rect Tag;   // at the run's end, for a path ending in a tag; empty otherwise

    // Everything the lead paints.
    Rect Bounds() const;
};

// What the lead of one path carries: the size of its trigger label (empty for none) and of its
// tag (empty for a path that goes on to a module).
struct PortCargo {
    Size label;
    Size tag;
};

// The pixels between two ports, and between the ends of two rows' runs.
inline constexpr int kPortStep = 5;

// The leads of the paths of box `source`, one for each cargo, in that order.
std::vector<PortLead> PlacePorts(const Rect& source, const std::vector<PortCargo>& cargo);

} // namespace ry
