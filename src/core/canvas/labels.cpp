#include "canvas/labels.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace ry {

std::vector<PathGroup> GroupPaths(const std::vector<ScriptPath>& paths) {
    std::vector<PathGroup> groups;
    std::vector<std::vector<std::string_view>> triggers; // each group's, each once
    // A module's groups by destination module, and by destination text for the rest.
    std::unordered_map<std::uint32_t, std::size_t> byModule;
    std::unordered_map<std::int16_t, std::unordered_map<std::string_view, std::size_t>> byText;
    for (const ScriptPath& p : paths) {
        std::size_t* at = nullptr;
        std::size_t fresh = groups.size();
        if (p.To >= 1) {
            const auto key = static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.From)) << 16 |
                             static_cast<std::uint16_t>(p.To);
            at = &byModule.try_emplace(key, fresh).first->second;
        } else {
            at = &byText[p.From].try_emplace(p.Destination, fresh).first->second;
        }
        if (*at == fresh) {
            PathGroup g;
            g.kind = p.To >= 1                               ? PathGroup::Kind::Module
                     : IsVoicemailDestination(p.Destination) ? PathGroup::Kind::Voicemail
                                                             : PathGroup::Kind::Unknown;
            g.From = p.From;
            g.To = p.To;
            g.Destination = p.Destination;
            g.Line = p.Line;
            groups.push_back(std::move(g));
            triggers.emplace_back();
        }
        // Each trigger once: two lines with the same trigger still read as one.
        std::vector<std::string_view>& seen = triggers[*at];
        if (p.Trigger.empty() || std::find(seen.begin(), seen.end(), p.Trigger) != seen.end())
            continue;
        seen.push_back(p.Trigger);
        PathGroup& g = groups[*at];
        if (!g.Triggers.empty())
            g.Triggers += ", ";
        g.Triggers += p.Trigger;
    }
    return groups;
}

namespace {

// Room between a line and its label.
constexpr int kGap = 3;
// The arrow head's length: the label keeps clear of it.
constexpr int kArrowLength = 10;

Rect Inflated(const Rect& r, int by) {
    return {r.Left - by, r.Top - by, r.Width + 2 * by, r.Height + 2 * by};
}

// The places beside one line, in the order they are tried: near its start, then at its
// middle (the other way round when `middleFirst`); for each, above then below a line that runs
// more across than down, right then left of one that runs more down than across.
void PlacesBeside(const Segment& s, Size label, bool middleFirst, std::vector<Rect>& out) {
    const Point a = s.from, b = s.to;
    const int w = label.Width, h = label.Height;
    const int minX = std::min(a.x, b.x), maxX = std::max(a.x, b.x);
    const int minY = std::min(a.y, b.y), maxY = std::max(a.y, b.y);
    if (maxX - minX >= maxY - minY) {
        const int nearStart = b.x >= a.x ? a.x + kGap + 1 : a.x - kGap - 1 - w;
        const int middle = (a.x + b.x) / 2 - w / 2;
        for (int left : {middleFirst ? middle : nearStart, middleFirst ? nearStart : middle}) {
            out.push_back({left, minY - kGap - h, w, h});
            out.push_back({left, maxY + kGap + 1, w, h});
        }
    } else {
        const int nearStart = b.y >= a.y ? a.y + kGap : a.y - kGap - h;
        const int middle = (a.y + b.y) / 2 - h / 2;
        for (int top : {middleFirst ? middle : nearStart, middleFirst ? nearStart : middle}) {
            out.push_back({maxX + kGap + 1, top, w, h});
            out.push_back({minX - kGap - w, top, w, h});
        }
    }
}

// The last line without the part the arrow head covers.
Segment ShortenedByArrow(const Segment& s) {
    const int dx = s.to.x - s.from.x, dy = s.to.y - s.from.y;
    Segment cut = s;
    if (std::abs(dx) >= std::abs(dy)) {
        const int keep = std::max(0, std::abs(dx) - kArrowLength);
        cut.to.x = s.from.x + (dx >= 0 ? keep : -keep);
        cut.to.y = dx == 0 ? s.to.y : s.from.y + dy * keep / std::abs(dx);
    } else {
        const int keep = std::max(0, std::abs(dy) - kArrowLength);
        cut.to.y = s.from.y + (dy >= 0 ? keep : -keep);
        cut.to.x = s.from.x + dx * keep / std::abs(dy);
    }
    return cut;
}

} // namespace

Rect PlaceLabel(const ConnectorPath& path, Size label, const Rect& source, const Rect& dest) {
    std::vector<Rect> places;
    places.reserve(4 * ConnectorPath::kMaxSegments);
    const auto& segments = path.Segments();
    // A straight connector is labelled at its middle, clear of the bends of the routes that
    // leave the same side of the box; a bent one just after the bend into its last line.
    const bool straight = segments.size() == 1;
    for (std::size_t i = segments.size(); i-- > 0;)
        PlacesBeside(i + 1 == segments.size() ? ShortenedByArrow(segments[i]) : segments[i], label,
                     straight, places);

    const Rect own = Inflated(source, 1), other = Inflated(dest, 1);
    auto onCanvas = [](const Rect& r) { return r.Left >= 0 && r.Top >= 0; };
    for (const Rect& r : places)
        if (onCanvas(r) && !Intersects(r, own) && !Intersects(r, other))
            return r;
    for (const Rect& r : places)
        if (onCanvas(r) && !Intersects(r, own))
            return r;
    // Hemmed in on every side: above the source box, or below it at the canvas's top.
    Rect above{std::max(0, source.Left), source.Top - kGap - label.Height, label.Width,
               label.Height};
    if (above.Top < 0)
        above.Top = source.Top + source.Height + kGap;
    return above;
}

} // namespace ry
