#include "canvas/stubs.h"

#include <algorithm>
#include <cstdlib>

namespace ry {

Rect Stub::Bounds() const {
    const int left = Line[0].x, right = Line[2].x;
    const Rect line{std::min(left, right), Line[0].y, std::abs(right - left) + 1,
                    Line[1].y - Line[0].y + 1};
    return Unite(Unite(line, Label), Tag);
}

Stub PlaceStub(const Rect& source, int index, Size label, Size tag) {
    // Rows far enough apart that a label above one row's line clears the tag of the row
    // before it.
    const int below = tag.Height - tag.Height / 2;
    const int spacing = std::max(tag.Height + 2, label.Height + below + 3);
    const int x = source.Left + source.Width - kStubInset;
    const int bottom = source.Top + source.Height;
    const int row = bottom + std::max(kStubDrop, label.Height + 5) + std::max(0, index) * spacing;
    // The last run is long enough to carry the label.
    const int run = std::max(12, label.Width + 6);

    Stub s;
    s.Line = {Point{x, bottom}, Point{x, row}, Point{x + run, row}};
    if (label.Width > 0 && label.Height > 0)
        s.Label = {x + 3, row - 1 - label.Height, label.Width, label.Height};
    s.Tag = {x + run, row - tag.Height / 2, tag.Width, tag.Height};
    return s;
}

} // namespace ry
