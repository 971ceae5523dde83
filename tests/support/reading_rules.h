#pragma once

// The rules a drawing keeps so that a reader names each path's source, target and trigger from
// the picture alone, checked on the drawing's geometry (as the picture export writes it):
//  - no two paths to different targets run along one line (or right beside each other);
//  - every label lies nearer its own path's line than any other line;
//  - no label or tag covers a line or a box;
//  - no line runs through a box;
//  - no problem tag is left out, and labels are left out only where counted.

#include "canvas/around_boxes.h"
#include "canvas/picture_geometry.h"
#include "canvas/routes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace ry::test {

struct PicturePath {
    int from = 0;              // the source module, an index into Picture::modules
    int to = -1;               // the target module; -1 for a path ending in a tag
    std::string target;        // what the tag names, for a path ending in one
    bool problem = false;      // a tag naming no module
    bool wantsLabel = false;   // the path has triggers to show
    std::vector<Point> points; // from the source's frame to the arrow's tip or the tag
    std::optional<Rect> label;
    std::optional<Rect> tag;
};

struct Picture {
    std::vector<Rect> modules;
    std::vector<PicturePath> paths;
};

struct ReadingFaults {
    int sharedRuns = 0;
    int labelsNearerAnother = 0;
    int labelsOverLines = 0;
    int labelsOverBoxes = 0;
    int linesThroughBoxes = 0;
    int problemTagsLeftOut = 0;
    int labelsLeftOut = 0;
    int labels = 0;                   // labels wanted
    std::vector<std::string> details; // the first few faults, described

    int Broken() const {
        return sharedRuns + labelsNearerAnother + labelsOverLines + labelsOverBoxes +
               linesThroughBoxes + problemTagsLeftOut;
    }
};

namespace reading {

inline std::string Describe(const Rect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + " " +
           std::to_string(r.Width) + "x" + std::to_string(r.Height) + ")";
}

// The squared distance between a rectangle's pixels and the pixels of a straight line.
inline std::int64_t Distance2(const Rect& r, Point a, Point b) {
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const std::int64_t dx = std::max({0, left - (r.Left + r.Width - 1), r.Left - right});
    const std::int64_t dy = std::max({0, top - (r.Top + r.Height - 1), r.Top - bottom});
    return dx * dx + dy * dy;
}

inline std::int64_t Distance2(const Rect& r, const std::vector<Point>& points) {
    std::int64_t best = INT64_MAX;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        best = std::min(best, Distance2(r, points[i], points[i + 1]));
    return best;
}

// Whether two lines run along one lane, or closer beside each other than kLaneSeparation, for
// more than a few pixels (two lines may meet where they cross or at a bend).
inline bool RunTogether(Point a1, Point a2, Point b1, Point b2) {
    if (a1.x == a2.x && b1.x == b2.x && std::abs(a1.x - b1.x) < kLaneSeparation) {
        const int lo = std::max(std::min(a1.y, a2.y), std::min(b1.y, b2.y));
        const int hi = std::min(std::max(a1.y, a2.y), std::max(b1.y, b2.y));
        return hi - lo > kLaneSpacing + 1;
    }
    if (a1.y == a2.y && b1.y == b2.y && std::abs(a1.y - b1.y) < kLaneSeparation) {
        const int lo = std::max(std::min(a1.x, a2.x), std::min(b1.x, b2.x));
        const int hi = std::min(std::max(a1.x, a2.x), std::max(b1.x, b2.x));
        return hi - lo > kLaneSpacing + 1;
    }
    return false;
}

inline bool SameTarget(const PicturePath& a, const PicturePath& b) {
    return a.to >= 0 ? a.to == b.to : (b.to < 0 && a.from == b.from && a.target == b.target);
}

} // namespace reading

// The drawing as the picture export gives it (modules and paths named by title).
inline Picture PictureOf(const PictureGeometry& geometry) {
    Picture picture;
    for (const PictureModule& m : geometry.modules)
        picture.modules.push_back(m.rect);
    auto indexOf = [&](const std::string& title) {
        for (std::size_t i = 0; i < geometry.modules.size(); ++i)
            if (geometry.modules[i].title == title)
                return static_cast<int>(i);
        return -1;
    };
    for (const ry::PicturePath& g : geometry.paths) {
        PicturePath p;
        p.from = indexOf(g.from);
        p.to = g.kind == PicturePathKind::Module ? indexOf(g.to) : -1;
        p.target = g.to;
        p.problem = g.kind == PicturePathKind::Missing;
        p.wantsLabel = !g.triggers.empty();
        p.points = g.points;
        if (g.label)
            p.label = g.label->rect;
        if (g.tag)
            p.tag = g.tag->rect;
        picture.paths.push_back(std::move(p));
    }
    return picture;
}

inline ReadingFaults CheckReadingRules(const Picture& picture) {
    using namespace reading;
    ReadingFaults f;
    auto note = [&](const std::string& what) {
        if (f.details.size() < 12)
            f.details.push_back(what);
    };
    const auto& paths = picture.paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const PicturePath& p = paths[i];
        const std::string name = "path " + std::to_string(i) + " (" + std::to_string(p.from) +
                                 " to " + (p.to >= 0 ? std::to_string(p.to) : p.target) + ")";
        // Lines through boxes: the first pixel lies on the source's frame and the tip on the
        // target's; every other pixel stays out of every box.
        for (std::size_t s = 0; s + 1 < p.points.size(); ++s) {
            Point a = p.points[s], b = p.points[s + 1];
            if (s == 0) {
                a.x += (b.x > a.x) - (b.x < a.x);
                a.y += (b.y > a.y) - (b.y < a.y);
            }
            if (s + 2 == p.points.size() && p.to >= 0) {
                b.x -= (b.x > a.x) - (b.x < a.x);
                b.y -= (b.y > a.y) - (b.y < a.y);
            }
            if (a == p.points[s + 1] && s == 0 && p.points.size() == 2)
                continue;
            const Rect pixels = SegmentPixels(a, b);
            const auto hit = std::find_if(picture.modules.begin(), picture.modules.end(),
                                          [&](const Rect& m) { return Intersects(pixels, m); });
            if (hit != picture.modules.end()) {
                ++f.linesThroughBoxes;
                note(name + ": line " + std::to_string(s) + " runs through box " + Describe(*hit));
                break;
            }
        }
        // Shared runs with paths to other targets.
        for (std::size_t k = 0; k < i; ++k) {
            if (SameTarget(p, paths[k]))
                continue;
            bool shared = false;
            for (std::size_t s = 0; s + 1 < p.points.size() && !shared; ++s)
                for (std::size_t t = 0; t + 1 < paths[k].points.size() && !shared; ++t)
                    shared = RunTogether(p.points[s], p.points[s + 1], paths[k].points[t],
                                         paths[k].points[t + 1]);
            if (shared) {
                ++f.sharedRuns;
                note(name + " runs along path " + std::to_string(k));
            }
        }
        if (p.problem && !p.tag) {
            ++f.problemTagsLeftOut;
            note(name + ": its problem tag is left out");
        }
        if (p.wantsLabel) {
            ++f.labels;
            if (!p.label)
                ++f.labelsLeftOut;
        }
        // Labels and tags: on no box and no line; a label nearer its own line than another.
        for (const bool isLabel : {true, false}) {
            const std::optional<Rect>& text = isLabel ? p.label : p.tag;
            if (!text)
                continue;
            for (const Rect& m : picture.modules)
                if (Intersects(*text, m)) {
                    ++f.labelsOverBoxes;
                    note(name + ": text " + Describe(*text) + " on box " + Describe(m));
                    break;
                }
            for (std::size_t k = 0; k < paths.size(); ++k) {
                const auto& q = paths[k].points;
                bool over = false;
                for (std::size_t s = 0; s + 1 < q.size() && !over; ++s) {
                    Point a = q[s], b = q[s + 1];
                    // A tag sits at the end of its own line.
                    if (k == i && !isLabel && s + 2 == q.size()) {
                        b.x -= (b.x > a.x) - (b.x < a.x);
                        b.y -= (b.y > a.y) - (b.y < a.y);
                    }
                    over = Intersects(*text, SegmentPixels(a, b));
                }
                if (over) {
                    ++f.labelsOverLines;
                    note(name + ": text " + Describe(*text) + " over the line of path " +
                         std::to_string(k));
                    break;
                }
            }
            if (!isLabel)
                continue;
            const std::int64_t own = Distance2(*text, p.points);
            for (std::size_t k = 0; k < paths.size(); ++k) {
                if (k == i)
                    continue;
                const std::int64_t other = Distance2(*text, paths[k].points);
                if (other < own || (other == own && !SameTarget(p, paths[k]))) {
                    ++f.labelsNearerAnother;
                    note(name + ": label " + Describe(*text) + " lies nearer path " +
                         std::to_string(k));
                    break;
                }
            }
        }
    }
    return f;
}

} // namespace ry::test
