#pragma once

// The trigger labels of the connectors: which paths share a connector, the text their label
// shows, and where the label sits beside the connector's route. The route itself is not
// changed; a label is placed beside one of its lines.

#include "canvas/routes.h"
#include "paths/destinations.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

struct Size {
    int Width = 0;
    int Height = 0;
};

// The smallest rectangle holding both; an empty one adds nothing.
constexpr Rect Unite(const Rect& a, const Rect& b) {
    if (a.Width <= 0 || a.Height <= 0)
        return b;
    if (b.Width <= 0 || b.Height <= 0)
        return a;
    const int left = a.Left < b.Left ? a.Left : b.Left;
    const int top = a.Top < b.Top ? a.Top : b.Top;
    const int right = a.Left + a.Width > b.Left + b.Width ? a.Left + a.Width : b.Left + b.Width;
    const int bottom = a.Top + a.Height > b.Top + b.Height ? a.Top + a.Height : b.Top + b.Height;
    return {left, top, right - left, bottom - top};
}

// The paths of one module that end at the same place: one connector to a module, or one stub
// to a destination that names no module.
struct PathGroup {
    enum class Kind {
        Module,    // `To` is a module of the script: a connector
        Voicemail, // a destination of the voicemail system: a stub
        Unknown,   // a title no module bears: a stub, shown as a problem
    };
    Kind kind = Kind::Module;
    std::int16_t From = -1;
    std::int16_t To = -1;         // the module, for Kind::Module
    std::string_view Destination; // as the first of its paths writes it
    // Every trigger of the group, in path order, each once, joined by ", ": "1, 2".
    std::string Triggers;
    // The first path of the group: which "on {" of the source's path text it is.
    int Line = 0;
};

// The script's paths grouped by where they end, in the order each group first appears. Paths
// of one module to the same module form one group; so do those to the same destination text
// that names no module.
std::vector<PathGroup> GroupPaths(const std::vector<ScriptPath>& paths);

// Where the label of a connector goes: beside one of the route's lines, preferring the last
// one (the part that leads to this destination alone), near where it starts (at its middle
// first when the route is one straight line), then the earlier lines. The label covers neither the
// source box nor the destination box when any of those places allows it, and it never covers the
// source box; it keeps to x and y of 0 or more. `label` is the text's size in canvas pixels.
Rect PlaceLabel(const ConnectorPath& path, Size label, const Rect& source, const Rect& dest);

} // namespace ry
