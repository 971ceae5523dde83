#pragma once

// Where the Window menu's Cascade puts the document windows, as a pure function of the area.

#include <QRect>
#include <QSize>

#include <vector>

namespace ry {

// The frames of `count` cascaded windows in `area`, bottom to top: each one `step` pixels right
// of and below the one beneath it, so that every title bar stays in sight. The windows share
// one size, as large as the cascade allows but no smaller than two thirds of the area's height
// (nor than `minimum`); when the area's height runs out, a new run starts at the top, to the
// right of the title bars of the runs before it.
std::vector<QRect> CascadeFrames(const QRect& area, int count, int step, const QSize& minimum);

} // namespace ry
