#include "canvas/picture_geometry.h"

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace ry {

void PrintTo(const Point& p, std::ostream* os);

namespace {

// Whether every two neighbouring points lie on one level or upright line.
bool Orthogonal(const std::vector<Point>& points) {
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i].x != points[i - 1].x && points[i].y != points[i - 1].y)
            return false;
    return true;
}

TEST(ConnectorPoints, GiveTheRouteItsCornersBackFromTheDrawnLines) {
    struct Case {
        const char* name;
        Polyline route;
    } cases[] = {
        {"one line", {{{100, 50}, {100, 200}}, ArrowKind::South}},
        {"two rounded bends", {{{255, 134}, {269, 134}, {269, 300}, {400, 300}}, ArrowKind::East}},
        // Bends too close together to round are drawn square.
        {"short runs", {{{100, 100}, {100, 103}, {104, 103}, {104, 200}}, ArrowKind::South}},
        {"round a box",
         {{{178, 169}, {178, 183}, {40, 183}, {40, 20}, {300, 20}, {300, 60}}, ArrowKind::South}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConnectorPoints(DrawPolyline(c.route)), c.route.points);
    }
}

TEST(ConnectorPoints, RunFromTheSourcesFrameToTheArrowsTipInEveryClassicShape) {
    const Rect source{100, 100, kBoxWidth, kLongBoxHeight};
    struct Case {
        const char* name;
        Rect dest;
        Point from;
        bool straight; // one line, which may slope a little
    } cases[] = {
        {"down, straight", {100, 300, kBoxWidth, kLongBoxHeight}, BottomCentre(source), true},
        {"down, across", {400, 300, kBoxWidth, kLongBoxHeight}, BottomCentre(source), false},
        {"side, level", {400, 100, kBoxWidth, kLongBoxHeight}, RightMiddle(source), true},
        {"side, lower", {400, 160, kBoxWidth, kShortBoxHeight}, RightMiddle(source), false},
        {"loop, above", {40, 0, kBoxWidth, kShortBoxHeight}, BottomCentre(source), false},
        {"loop, itself", source, BottomCentre(source), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ConnectorPath path = RouteConnector(source, c.dest);
        const std::vector<Point> points = ConnectorPoints(path);
        ASSERT_GE(points.size(), 2u);
        EXPECT_EQ(points.front(), c.from);
        EXPECT_EQ(points.back(), path.Arrow().corners[0]);
        if (c.straight)
            EXPECT_EQ(points.size(), 2u);
        else
            EXPECT_TRUE(Orthogonal(points)) << testing::PrintToString(points);
    }
}

TEST(StubPoints, RunDownFromTheBoxAndAcrossToTheTag) {
    const Stub stub = PlaceStub({40, 340, kBoxWidth, kLongBoxHeight}, 0, {20, 13}, {90, 14});
    EXPECT_EQ(StubPoints(stub), (std::vector<Point>{{183, 409}, {183, 429}, {209, 429}}));
}

PictureGeometry Example() {
    PictureGeometry g;
    g.modules = {{"Main Menu", "Get Numbers", {40, 20, 155, 69}, true},
                 {"Caf\xE9 \"Hours\"", "Play", {40, 200, 155, 24}, false}};
    PicturePath toModule{"Main Menu", "Caf\xE9 \"Hours\"", PicturePathKind::Module, {"1", "2"}};
    toModule.points = {{118, 89}, {118, 200}};
    toModule.label = PictureText{"1, 2", {121, 95, 30, 13}};
    PicturePath toNowhere{"Main Menu", "Sales", PicturePathKind::Missing, {}};
    toNowhere.points = {{183, 89}, {183, 109}, {195, 109}};
    toNowhere.tag = PictureText{"Sales", {195, 102, 40, 14}};
    PicturePath voicemail{"Main Menu", "Voicemail Box 200\r\nnext", PicturePathKind::Tag, {"9"}};
    voicemail.points = {{183, 89}, {183, 140}, {195, 140}};
    g.paths = {toModule, toNowhere, voicemail};
    g.leftOut = 2;
    return g;
}

TEST(PictureJson, WritesTheSchemaInUtf8AndReadsBackTheSame) {
    const PictureGeometry g = Example();
    const std::string json = PictureJson(g);
    // Windows-1252 text arrives as UTF-8, quotes and line ends escaped.
    for (
        const char* part : {
            R"({"title": "Main Menu", "type": "Get Numbers", "rect": [40, 20, 155, 69], "start": true})",
            "\"title\": \"Caf\xC3\xA9 \\\"Hours\\\"\"",
            R"("kind": "module", "triggers": ["1", "2"], "points": [[118, 89], [118, 200]], )"
            R"("label": {"text": "1, 2", "rect": [121, 95, 30, 13]}, "tag": null})",
            R"("kind": "missing", "triggers": [])",
            R"("tag": {"text": "Sales", "rect": [195, 102, 40, 14]})",
            R"("to": "Voicemail Box 200\r\nnext", "kind": "tag")",
            R"("label": null, "tag": null})",
            "\"left_out\": 2\n}\n",
        })
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    std::string error;
    const std::optional<PictureGeometry> back = ReadPictureJson(json, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, g);

    // Nothing drawn is still a picture.
    const std::string empty = PictureJson({});
    EXPECT_EQ(empty, "{\n  \"modules\": [],\n  \"paths\": [],\n  \"left_out\": 0\n}\n");
    EXPECT_EQ(ReadPictureJson(empty), PictureGeometry{});
}

TEST(PictureJson, ReadingSaysWhatIsWrong) {
    struct Case {
        const char* json;
        const char* says;
    } cases[] = {
        {"[1, 2]", "\"modules\" is missing"},
        {R"({"modules": [], "paths": []})", "\"left_out\" is missing"},
        {R"({"modules": [{"title": "A", "type": "Play", "rect": [1, 2, 3], "start": false}],
             "paths": [], "left_out": 0})",
         "[x, y, w, h]"},
        {R"({"modules": [], "paths": [{"from": "A", "to": "B", "kind": "arrow", "triggers": [],
             "points": [], "label": null, "tag": null}], "left_out": 0})",
         "unknown kind \"arrow\""},
        {"{\"modules\": [", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        std::string error;
        EXPECT_FALSE(ReadPictureJson(c.json, &error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace ry
