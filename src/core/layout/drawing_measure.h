#pragma once

// Counts that say how easily a routed drawing reads: how often two connectors cross and how
// often a connector bends. Used to compare layouts (our Arrange against other layout
// engines) on the drawing as the canvas routes it.

#include "canvas/around_boxes.h"

#include <cstdint>
#include <vector>

namespace ry {

struct DrawingCounts {
    // Points where a line of one connector passes through a line of another: each pair of
    // lines crossing inside both counts once. Lines that meet at an end (a trunk joining
    // another, connectors leaving one point) or run along each other do not cross.
    std::int64_t crossings = 0;
    // Corners along the connectors, all of them and the most on one connector.
    std::int64_t bends = 0;
    int mostBends = 0;
    int connectors = 0;

    double MeanBends() const { return connectors ? static_cast<double>(bends) / connectors : 0.0; }
};

DrawingCounts MeasureDrawing(const std::vector<Polyline>& routes);

} // namespace ry
