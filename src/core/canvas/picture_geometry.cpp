#include "canvas/picture_geometry.h"

#include "script/text.h"

#include <yaml-cpp/yaml.h>

#include <cstdio>

namespace ry {

namespace {

bool Level(const Segment& s) {
    return s.from.y == s.to.y;
}
bool Upright(const Segment& s) {
    return s.from.x == s.to.x;
}

void Add(std::vector<Point>& points, Point p) {
    if (points.empty() || !(points.back() == p))
        points.push_back(p);
}

// A JSON string of Windows-1252 text.
void Quoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : Cp1252ToUtf8(text)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void Key(std::string& out, std::string_view key) {
    Quoted(out, key);
    out += ": ";
}

void Number(std::string& out, int n) {
    out += std::to_string(n);
}

void RectJson(std::string& out, const Rect& r) {
    out += '[';
    Number(out, r.Left);
    out += ", ";
    Number(out, r.Top);
    out += ", ";
    Number(out, r.Width);
    out += ", ";
    Number(out, r.Height);
    out += ']';
}

void TextJson(std::string& out, const std::optional<PictureText>& text) {
    if (!text) {
        out += "null";
        return;
    }
    out += '{';
    Key(out, "text");
    Quoted(out, text->text);
    out += ", ";
    Key(out, "rect");
    RectJson(out, text->rect);
    out += '}';
}

// Reading back.

struct Malformed {
    std::string what;
};

const YAML::Node Field(const YAML::Node& node, const char* key) {
    if (!node.IsMap() || !node[key])
        throw Malformed{std::string("\"") + key + "\" is missing"};
    return node[key];
}

std::string TextOf(const YAML::Node& node, const char* key) {
    const YAML::Node value = Field(node, key);
    if (!value.IsScalar())
        throw Malformed{std::string("\"") + key + "\" is not a text"};
    return Utf8ToCp1252(value.Scalar());
}

int IntOf(const YAML::Node& node) {
    return node.as<int>();
}

Rect RectOf(const YAML::Node& node) {
    if (!node.IsSequence() || node.size() != 4)
        throw Malformed{"a rectangle is not [x, y, w, h]"};
    return {IntOf(node[0]), IntOf(node[1]), IntOf(node[2]), IntOf(node[3])};
}

std::optional<PictureText> OptionalTextOf(const YAML::Node& node, const char* key) {
    const YAML::Node value = Field(node, key);
    if (value.IsNull())
        return std::nullopt;
    return PictureText{TextOf(value, "text"), RectOf(Field(value, "rect"))};
}

PicturePathKind KindOf(const std::string& name) {
    for (PicturePathKind kind :
         {PicturePathKind::Module, PicturePathKind::Missing, PicturePathKind::Tag})
        if (PicturePathKindName(kind) == name)
            return kind;
    throw Malformed{"unknown kind \"" + name + "\""};
}

} // namespace

std::vector<Point> ConnectorPoints(const ConnectorPath& path) {
    std::vector<Point> points;
    const auto& segments = path.Segments();
    bool cornered = false; // the segment's start is the corner already added
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        if (!cornered)
            Add(points, s.from);
        cornered = false;
        Point end = s.to;
        // The pen jumped round a rounded bend: the corner lies where the lines would meet.
        if (i + 1 < segments.size() && !(segments[i + 1].from == s.to)) {
            const Segment& next = segments[i + 1];
            if (Level(s) && Upright(next)) {
                end = {next.from.x, s.to.y};
                cornered = true;
            } else if (Upright(s) && Level(next)) {
                end = {s.to.x, next.from.y};
                cornered = true;
            }
        }
        Add(points, end);
    }
    if (path.HasArrow())
        Add(points, path.Arrow().corners[0]);
    return points;
}

std::vector<Point> StubPoints(const Stub& stub) {
    std::vector<Point> points;
    for (const Point& p : stub.Line)
        Add(points, p);
    return points;
}

std::string_view PicturePathKindName(PicturePathKind kind) {
    switch (kind) {
    case PicturePathKind::Module:
        return "module";
    case PicturePathKind::Missing:
        return "missing";
    case PicturePathKind::Tag:
        return "tag";
    }
    return "module";
}

std::string PictureJson(const PictureGeometry& g) {
    std::string out = "{\n  \"modules\": [";
    for (std::size_t i = 0; i < g.modules.size(); ++i) {
        const PictureModule& m = g.modules[i];
        out += i == 0 ? "\n    {" : ",\n    {";
        Key(out, "title");
        Quoted(out, m.title);
        out += ", ";
        Key(out, "type");
        Quoted(out, m.type);
        out += ", ";
        Key(out, "rect");
        RectJson(out, m.rect);
        out += ", ";
        Key(out, "start");
        out += m.start ? "true" : "false";
        out += '}';
    }
    out += g.modules.empty() ? "],\n  \"paths\": [" : "\n  ],\n  \"paths\": [";
    for (std::size_t i = 0; i < g.paths.size(); ++i) {
        const PicturePath& p = g.paths[i];
        out += i == 0 ? "\n    {" : ",\n    {";
        Key(out, "from");
        Quoted(out, p.from);
        out += ", ";
        Key(out, "to");
        Quoted(out, p.to);
        out += ", ";
        Key(out, "kind");
        Quoted(out, PicturePathKindName(p.kind));
        out += ", ";
        Key(out, "triggers");
        out += '[';
        for (std::size_t t = 0; t < p.triggers.size(); ++t) {
            if (t > 0)
                out += ", ";
            Quoted(out, p.triggers[t]);
        }
        out += "], ";
        Key(out, "points");
        out += '[';
        for (std::size_t k = 0; k < p.points.size(); ++k) {
            out += k > 0 ? ", [" : "[";
            Number(out, p.points[k].x);
            out += ", ";
            Number(out, p.points[k].y);
            out += ']';
        }
        out += "], ";
        Key(out, "label");
        TextJson(out, p.label);
        out += ", ";
        Key(out, "tag");
        TextJson(out, p.tag);
        out += '}';
    }
    out += g.paths.empty() ? "],\n  \"left_out\": " : "\n  ],\n  \"left_out\": ";
    Number(out, g.leftOut);
    out += "\n}\n";
    return out;
}

std::optional<PictureGeometry> ReadPictureJson(std::string_view json, std::string* error) {
    try {
        const YAML::Node root = YAML::Load(std::string(json));
        PictureGeometry g;
        for (const YAML::Node& m : Field(root, "modules")) {
            g.modules.push_back({TextOf(m, "title"), TextOf(m, "type"), RectOf(Field(m, "rect")),
                                 Field(m, "start").as<bool>()});
        }
        for (const YAML::Node& p : Field(root, "paths")) {
            PicturePath path;
            path.from = TextOf(p, "from");
            path.to = TextOf(p, "to");
            path.kind = KindOf(TextOf(p, "kind"));
            for (const YAML::Node& t : Field(p, "triggers"))
                path.triggers.push_back(Utf8ToCp1252(t.as<std::string>()));
            for (const YAML::Node& point : Field(p, "points")) {
                if (!point.IsSequence() || point.size() != 2)
                    throw Malformed{"a point is not [x, y]"};
                path.points.push_back({IntOf(point[0]), IntOf(point[1])});
            }
            path.label = OptionalTextOf(p, "label");
            path.tag = OptionalTextOf(p, "tag");
            g.paths.push_back(std::move(path));
        }
        g.leftOut = Field(root, "left_out").as<int>();
        return g;
    } catch (const Malformed& m) {
        if (error)
            *error = m.what;
    } catch (const YAML::Exception& e) {
        if (error)
            *error = e.what();
    }
    return std::nullopt;
}

} // namespace ry
