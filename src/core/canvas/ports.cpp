#include "canvas/ports.h"

#include "canvas/around_boxes.h"
#include "canvas/stubs.h"

#include <algorithm>

namespace ry {

Rect PortLead::Bounds() const {
    const Rect down = SegmentPixels(Line[0], Line[1]);
    const Rect run = SegmentPixels(Line[1], Line[2]);
    return Unite(Unite(Unite(down, run), Label), Tag);
}

std::vector<PortLead> PlacePorts(const Rect& source, const std::vector<PortCargo>& cargo) {
    const int n = static_cast<int>(cargo.size());
    std::vector<PortLead> leads(cargo.size());
    if (n == 0)
        return leads;
    int labelHeight = 0, tagHeight = 0;
    for (const PortCargo& c : cargo) {
        labelHeight = std::max(labelHeight, c.label.Height);
        tagHeight = std::max(tagHeight, c.tag.Height);
    }
    // Rows far enough apart that a label above one row's run clears the run and the tag of the
    // row above it by more than it clears its own run.
    const int tagBelow = tagHeight - tagHeight / 2;
    const int spacing = std::max({tagHeight + 3, labelHeight + tagBelow + 3, labelHeight + 5});
    const int right = source.Left + source.Width;
    const int bottom = source.Top + source.Height;
    // The first rows leave from the box's right side, as many as its height holds, none at its
    // middle, where lines come in to the boxes beside it; the others drop from its bottom edge,
    // each further left, and turn right below it.
    const int highest = source.Top + std::max(labelHeight + 3, tagHeight - tagHeight / 2 + 1);
    const int lowest = bottom - 3;
    int firstSide = HalfwayEven(source.Top, source.Height) - spacing / 2;
    while (firstSide - spacing >= highest)
        firstSide -= spacing;
    if (firstSide < highest)
        firstSide += spacing;
    const int sideRows = firstSide <= lowest ? 1 + (lowest - firstSide) / spacing : 0;
    const int side = std::min(n, sideRows);
    const int dropped = n - side;
    // Dropped ports closer together on a box with many paths, never closer than lines may run.
    const int room = source.Width - 2 * kStubInset;
    const int step = dropped > 1 ? std::clamp(room / (dropped - 1), 3, kPortStep) : kPortStep;
    const int firstBelow = bottom + std::max(kStubDrop, labelHeight + 5);
    auto start = [&](int k) {
        return k < side ? Point{right, firstSide + k * spacing}
                        : Point{right - kStubInset - (k - side) * step, bottom};
    };
    auto rowOf = [&](int k) { return k < side ? start(k).y : firstBelow + (k - side) * spacing; };
    // Every run reaches past every label; a higher row's run ends further right, so that a path
    // going on from a higher row passes the end of every lower one.
    int reach = 0;
    for (int k = 0; k < n; ++k) {
        const Size label = cargo[static_cast<std::size_t>(k)].label;
        reach = std::max(reach, start(k).x + std::max(12, label.Width > 0 ? label.Width + 6 : 0));
    }
    for (int k = 0; k < n; ++k) {
        PortLead& lead = leads[static_cast<std::size_t>(k)];
        const PortCargo& c = cargo[static_cast<std::size_t>(k)];
        const Point from = start(k);
        const int row = rowOf(k);
        const int end = reach + (n - 1 - k) * kPortStep;
        lead.Line = {from, Point{from.x, row}, Point{end, row}};
        if (c.label.Width > 0 && c.label.Height > 0)
            lead.Label = {from.x + 3, row - 1 - c.label.Height, c.label.Width, c.label.Height};
        if (c.tag.Width > 0 && c.tag.Height > 0)
            lead.Tag = {end, row - c.tag.Height / 2, c.tag.Width, c.tag.Height};
    }
    return leads;
}

} // namespace ry
