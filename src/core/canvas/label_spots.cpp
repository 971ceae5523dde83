#include "canvas/label_spots.h"

#include <algorithm>
#include <cstdlib>

namespace ry {

void TakenSpace::Take(const Rect& r) {
    if (r.Width <= 0 || r.Height <= 0)
        return;
    const int index = static_cast<int>(rects_.size());
    rects_.push_back(r);
    for (int cy = Cell(r.Top); cy <= Cell(r.Top + r.Height - 1); ++cy)
        for (int cx = Cell(r.Left); cx <= Cell(r.Left + r.Width - 1); ++cx)
            cells_[Key(cx, cy)].push_back(index);
}

bool TakenSpace::IsFree(const Rect& r) const {
    if (r.Width <= 0 || r.Height <= 0)
        return true;
    for (int cy = Cell(r.Top); cy <= Cell(r.Top + r.Height - 1); ++cy)
        for (int cx = Cell(r.Left); cx <= Cell(r.Left + r.Width - 1); ++cx) {
            const auto it = cells_.find(Key(cx, cy));
            if (it == cells_.end())
                continue;
            for (int i : it->second)
                if (Intersects(rects_[static_cast<std::size_t>(i)], r))
                    return false;
        }
    return true;
}

namespace {

// Room between a line and its label, and the arrow head's length, which labels keep clear of.
constexpr int kGap = 3;
constexpr int kArrowLength = 10;
// How far apart the spots along one line are.
constexpr int kStep = 8;

} // namespace

std::optional<Rect> PlaceFreeLabel(const ConnectorPath& path, Size size, const TakenSpace& taken,
                                   const std::optional<Rect>& preferred,
                                   const std::function<bool(const Rect&)>& clear, bool fromSource) {
    auto usable = [&](const Rect& r) {
        return r.Left >= 0 && r.Top >= 0 && taken.IsFree(r) && (!clear || clear(r));
    };
    if (preferred && usable(*preferred))
        return preferred;
    const int w = size.Width, h = size.Height;
    const auto& segments = path.Segments();
    for (std::size_t n = 0; n < segments.size(); ++n) {
        const std::size_t i = fromSource ? n : segments.size() - 1 - n;
        Point a = segments[i].from, b = segments[i].to;
        const bool last = i + 1 == segments.size();
        if (a.y == b.y || std::abs(b.x - a.x) >= std::abs(b.y - a.y)) {
            // Across: above and below, from the end back to the start.
            int lo = std::min(a.x, b.x), hi = std::max(a.x, b.x);
            if (last)
                (b.x >= a.x ? hi : lo) += b.x >= a.x ? -kArrowLength : kArrowLength;
            const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
            const bool east = (b.x >= a.x) != fromSource; // the end searched from
            for (int t = 0; t <= std::max(0, hi - lo - w); t += kStep) {
                const int left = east ? std::max(lo, hi - w - t) : std::min(hi - w, lo + t);
                for (const Rect r :
                     {Rect{left, top - kGap - h, w, h}, Rect{left, bottom + kGap + 1, w, h}})
                    if (usable(r))
                        return r;
            }
        } else {
            int lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
            if (last)
                (b.y >= a.y ? hi : lo) += b.y >= a.y ? -kArrowLength : kArrowLength;
            const bool south = (b.y >= a.y) != fromSource; // the end searched from
            const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
            for (int t = 0; t <= std::max(0, hi - lo - h); t += kStep) {
                const int top = south ? std::max(lo, hi - h - t) : std::min(hi - h, lo + t);
                for (const Rect r :
                     {Rect{right + kGap + 1, top, w, h}, Rect{left - kGap - w, top, w, h}})
                    if (usable(r))
                        return r;
            }
        }
    }
    return std::nullopt;
}

} // namespace ry
