#pragma once

// A drawing as geometry that other programs can read: every box, and every connector or stub
// with its line, its trigger label and its tag, in canvas pixels, as the canvas paints them.
// `rykem --export-picture X.json` writes it; tests of how a drawing reads take it back.

#include "canvas/routes.h"
#include "canvas/stubs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

// Texts here are Windows-1252, like the script they come from; the JSON is UTF-8.
struct PictureModule {
    std::string title;
    std::string type;
    Rect rect;
    bool start = false; // the module the script starts at

    friend bool operator==(const PictureModule&, const PictureModule&) = default;
};

// A path's far end: a module of the script, a title no module bears, or a destination of the
// voicemail system shown by a tag.
enum class PicturePathKind { Module, Missing, Tag };

// A label or a tag: its text as shown (cut short when long) and where it is drawn.
struct PictureText {
    std::string text;
    Rect rect;

    friend bool operator==(const PictureText&, const PictureText&) = default;
};

// Every path of one source to one destination.
struct PicturePath {
    std::string from; // the source module's title
    std::string to;   // the destination module's title, or the destination as the path names it
    PicturePathKind kind = PicturePathKind::Module;
    std::vector<std::string> triggers; // each once, in path order
    // From the source's frame to the arrow's tip (a stub: to its tag), where the line turns.
    std::vector<Point> points;
    std::optional<PictureText> label; // none when left out, or when no trigger is shown
    std::optional<PictureText> tag;   // a stub's tag; none for a connector or when left out

    friend bool operator==(const PicturePath&, const PicturePath&) = default;
};

struct PictureGeometry {
    std::vector<PictureModule> modules;
    std::vector<PicturePath> paths;
    int leftOut = 0; // labels and tags left out for want of a free spot

    friend bool operator==(const PictureGeometry&, const PictureGeometry&) = default;
};

// The points of a connector's line: where it leaves the source, where it turns and the arrow's
// tip. A rounded bend counts as the corner where its two lines would meet.
std::vector<Point> ConnectorPoints(const ConnectorPath& path);
// The points of a stub's line: from the source's bottom down, then across to its tag.
std::vector<Point> StubPoints(const Stub& stub);

// "module", "missing" or "tag".
std::string_view PicturePathKindName(PicturePathKind kind);

// The geometry as UTF-8 JSON:
//   {"modules": [{"title", "type", "rect": [x, y, w, h], "start"}],
//    "paths": [{"from", "to", "kind", "triggers": [...], "points": [[x, y], ...],
//               "label": {"text", "rect"} or null, "tag": {"text", "rect"} or null}],
//    "left_out": N}
// one module or path a line.
std::string PictureJson(const PictureGeometry& geometry);

// Reads what PictureJson wrote (any JSON of that shape); none for anything else, with the
// reason in `error`.
std::optional<PictureGeometry> ReadPictureJson(std::string_view json, std::string* error = nullptr);

} // namespace ry
