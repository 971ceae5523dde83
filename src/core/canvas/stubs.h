#pragma once

// The stub of a path whose destination names no module: a short line from the source box that
// ends in a small tag naming the destination. A module's stubs hang from the right part of its
// bottom edge, one below the other.

#include "canvas/labels.h"
#include "canvas/routes.h"

#include <array>

namespace ry {

struct Stub {
    // Down from the box's bottom edge to the stub's row, then right to the tag's left edge.
    std::array<Point, 3> Line{};
    Rect Label; // the trigger label, above the line's last run; empty for an empty size
    Rect Tag;   // the tag that names the destination

    // Everything the stub paints.
    Rect Bounds() const;
};

// Pixels between a stub's column and the box's right edge, and between the box's bottom and
// the first stub's row (more when a tall label needs it).
inline constexpr int kStubInset = 12;
inline constexpr int kStubDrop = 20;

// The `index`-th stub (from 0) of the box `source`, with a trigger label and a tag of the given
// sizes. Stubs of one box never overlap each other or the box.
Stub PlaceStub(const Rect& source, int index, Size label, Size tag);

} // namespace ry
