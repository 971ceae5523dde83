#pragma once

// What the pointer finds on a connector or a stub: whether a canvas point lies on one, and the
// text of the path line a connector stands for.

#include "canvas/routes.h"
#include "canvas/stubs.h"

#include <string_view>

namespace ry {

// The square of the distance from `p` to the nearest point of the line from `a` to `b`.
long long SquaredDistanceToSegment(Point a, Point b, Point p);

// Whether `p` lies within `tolerance` pixels of one of the connector's lines or bend pixels,
// or inside (or within `tolerance` of) its arrow head.
bool TouchesConnector(const ConnectorPath& path, Point p, int tolerance);

// Whether `p` lies within `tolerance` pixels of the stub's line, or on its label or its tag.
bool TouchesStub(const Stub& stub, Point p, int tolerance);

// The whole line of `pathText` that holds its `link`-th "on {" (counted from 0, any letter
// case, as the canvas counts them), without its line end and without blanks around it; empty
// when the text has fewer.
std::string_view PathLineOfLink(std::string_view pathText, int link);

} // namespace ry
