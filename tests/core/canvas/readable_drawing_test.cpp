// Whole drawings routed around their boxes with their labels placed, as the canvas lays them
// out: the stacked column of transfers, a script of menus and transfers, a script of random
// paths and the office-line example. No line runs through a box, nor along (or right beside) a
// line to another box, no label lies on a box or on another label, and labels are left out only
// on crowded drawings.

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"
#include "canvas/label_spots.h"
#include "canvas/labels.h"
#include "canvas/path_layout.h"
#include "drawing_checks.h"
#include "paths/destinations.h"
#include "reading_rules.h"
#include "script/host.h"
#include "script/loader.h"
#include "script/records.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace ry {
namespace {

// A script built in the tables: modules at given places with given path texts.
struct ScriptBuilder {
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    std::int16_t script = tables->MemStructRys_Get();

    void Add(const std::string& title, int x, int y, const std::string& paths) {
        const std::int16_t m = tables->MemStructRym_Get();
        ASSERT_GE(m, 1);
        AppendModuleToScript(*tables, script, m);
        ModuleRecord& r = tables->Module(m);
        r.Type = "Transfer Call";
        r.Title = title;
        r.PositionX = static_cast<std::int16_t>(x);
        r.PositionY = static_cast<std::int16_t>(y);
        r.DispSize = kLongBoxHeight;
        r.PathText = paths;
    }
};

struct Outcome {
    int labels = 0;
    int leftOut = 0;
};

// Routes every connector of the script, places each label (7 pixels a character) on a free spot
// beside its connector, and checks the drawing.
Outcome CheckDrawing(const ScriptTables& tables, int script) {
    std::vector<Rect> boxes;
    std::unordered_map<std::int16_t, int> boxOf;
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& r) {
        boxOf[m] = static_cast<int>(boxes.size());
        boxes.push_back({r.PositionX, r.PositionY, kBoxWidth, BoxHeightFor(r.DispSize)});
    });
    std::vector<RouteEnds> ends;
    std::vector<std::string> texts;
    for (const PathGroup& g : GroupPaths(ScriptPaths(tables, script)))
        if (g.kind == PathGroup::Kind::Module) {
            ends.push_back({boxOf.at(g.From), boxOf.at(g.To)});
            texts.push_back(g.Triggers);
        }
    const std::vector<Polyline> routes = RouteAll(boxes, ends);
    TakenSpace taken;
    for (const Rect& b : boxes)
        taken.Take({b.Left - 1, b.Top - 1, b.Width + 2, b.Height + 2});
    Outcome outcome;
    std::vector<Rect> labels;
    for (std::size_t i = 0; i < routes.size(); ++i) {
        if (ends[i].from != ends[i].to) {
            EXPECT_EQ(test::LineThroughABox(routes[i], boxes), "") << "route " << i;
        }
        for (std::size_t k = 0; k < i; ++k)
            if (ends[k].to != ends[i].to) {
                EXPECT_FALSE(test::ShareALane(routes[i], routes[k]))
                    << "routes " << i << " and " << k << " to different boxes share a lane";
            }
        if (texts[i].empty())
            continue;
        ++outcome.labels;
        const Size size{7 * static_cast<int>(texts[i].size()) + 4, 13};
        const std::optional<Rect> spot = PlaceFreeLabel(DrawPolyline(routes[i]), size, taken);
        if (!spot) {
            ++outcome.leftOut;
            continue;
        }
        taken.Take(*spot);
        labels.push_back(*spot);
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (const Rect& b : boxes)
            EXPECT_FALSE(Intersects(labels[i], b)) << "label " << i << " on a box";
        for (std::size_t k = 0; k < i; ++k)
            EXPECT_FALSE(Intersects(labels[i], labels[k])) << "labels " << i << " and " << k;
    }
    return outcome;
}

// Lays out the script as the canvas does by default (labels 7 pixels a character, tags 80 wide)
// and checks the reading rules on it.
test::ReadingFaults CheckReading(const ScriptTables& tables, int script) {
    std::vector<LayoutBox> boxes;
    std::unordered_map<std::int16_t, int> boxOf;
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& r) {
        boxOf[m] = static_cast<int>(boxes.size());
        boxes.push_back({{r.PositionX, r.PositionY, kBoxWidth, BoxHeightFor(r.DispSize)}, m});
    });
    std::vector<PathToLay> paths;
    test::Picture picture;
    for (const LayoutBox& b : boxes)
        picture.modules.push_back(b.rect);
    for (const PathGroup& g : GroupPaths(ScriptPaths(tables, script))) {
        PathToLay p;
        p.from = boxOf.at(g.From);
        if (g.kind == PathGroup::Kind::Module) {
            p.to = boxOf.at(g.To);
        } else {
            p.problem = g.kind == PathGroup::Kind::Unknown;
            p.tag = {80, 15};
        }
        if (!g.Triggers.empty())
            p.label = {7 * static_cast<int>(g.Triggers.size()) + 4, 13};
        paths.push_back(p);
        test::PicturePath pp;
        pp.from = p.from;
        pp.to = p.to;
        pp.target = std::string(g.Destination);
        pp.problem = p.problem;
        pp.wantsLabel = !g.Triggers.empty();
        picture.paths.push_back(pp);
    }
    PathLayout layout;
    layout.Build(boxes, paths, RouteStyle::AroundBoxes);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const LaidPath& laid = layout.Paths()[i];
        picture.paths[i].points = laid.points;
        if (laid.hasLabel)
            picture.paths[i].label = laid.label;
        if (laid.hasTag)
            picture.paths[i].tag = laid.stub.Tag;
    }
    const test::ReadingFaults f = test::CheckReadingRules(picture);
    for (const std::string& d : f.details)
        ADD_FAILURE() << d;
    EXPECT_EQ(f.Broken(), 0) << f.sharedRuns << " shared, " << f.labelsNearerAnother
                             << " nearer another, " << f.labelsOverLines << " over lines, "
                             << f.labelsOverBoxes << " over boxes, " << f.linesThroughBoxes
                             << " through boxes, " << f.problemTagsLeftOut << " tags left out";
    EXPECT_EQ(f.labelsLeftOut, layout.LeftOut());
    return f;
}

TEST(ReadableDrawing, ThreeTransfersStackedUnderAMenu) {
    ScriptBuilder s;
    s.Add("Main Menu", 456, 4,
          "on {1} goto [Sales]\r\non {2} goto [Support]\r\non {0} goto [Operator]\r\n");
    s.Add("Sales", 726, 4, "");
    s.Add("Support", 726, 144, "");
    s.Add("Operator", 726, 284, "");
    const Outcome o = CheckDrawing(*s.tables, s.script);
    EXPECT_EQ(o.labels, 3);
    EXPECT_EQ(o.leftOut, 0);
    EXPECT_EQ(CheckReading(*s.tables, s.script).labelsLeftOut, 0);
}

TEST(ReadableDrawing, NineMenusOfEightTransfers) {
    // Each menu beside its column of transfers; every transfer fails to the next menu and
    // succeeds to Goodbye, under the columns.
    ScriptBuilder s;
    s.Add("Welcome", 4, 4, "on {done} goto [Menu 0]\r\n");
    for (int m = 0; m < 9; ++m) {
        std::string paths;
        for (int t = 0; t < 8; ++t)
            paths += "on {" + std::to_string(t + 1) + "} goto [Transfer " + std::to_string(m) +
                     "." + std::to_string(t) + "]\r\n";
        paths += "on {timeout 0} goto [Operator]\r\n";
        s.Add("Menu " + std::to_string(m), 4 + m * 480, 200, paths);
        for (int t = 0; t < 8; ++t)
            s.Add("Transfer " + std::to_string(m) + "." + std::to_string(t), 274 + m * 480,
                  200 + t * 140,
                  "on {fail} goto [Menu " + std::to_string((m + 1) % 9) +
                      "]\r\non {success} goto [Goodbye]\r\n");
    }
    s.Add("Operator", 4, 1400, "");
    s.Add("Goodbye", 2000, 1400, "");
    ASSERT_EQ(s.tables->Script(s.script).ModuleCount, 84);
    const Outcome o = CheckDrawing(*s.tables, s.script);
    EXPECT_LE(4 * o.leftOut, o.labels) << o.leftOut << " of " << o.labels << " left out";
    const test::ReadingFaults f = CheckReading(*s.tables, s.script);
    EXPECT_LE(20 * f.labelsLeftOut, f.labels) << f.labelsLeftOut << " of " << f.labels;
}

TEST(ReadableDrawing, ModulesWithRandomPaths) {
    ScriptBuilder s;
    std::mt19937 random(150);
    std::uniform_int_distribution<int> any(0, 149);
    for (int i = 0; i < 150; ++i) {
        std::string paths;
        for (int k = 0; k < 2; ++k)
            paths += "on {" + std::to_string(k + 1) + "} goto [M" + std::to_string(any(random)) +
                     "]\r\n";
        s.Add("M" + std::to_string(i), 20 + (i % 15) * 240, 20 + (i / 15) * 160, paths);
    }
    const Outcome o = CheckDrawing(*s.tables, s.script);
    EXPECT_LE(4 * o.leftOut, o.labels) << o.leftOut << " of " << o.labels << " left out";
    const test::ReadingFaults f = CheckReading(*s.tables, s.script);
    EXPECT_LE(20 * f.labelsLeftOut, f.labels) << f.labelsLeftOut << " of " << f.labels;
}

TEST(ReadableDrawing, TheOfficeLineExample) {
    ScriptTables tables;
    Host host;
    const std::int16_t script =
        RysScriptLoad(tables, host, std::string(RY_EXAMPLES_DIR) + "/office-line.rys");
    ASSERT_GE(script, 1);
    const Outcome o = CheckDrawing(tables, script);
    EXPECT_GT(o.labels, 0);
    EXPECT_EQ(o.leftOut, 0);
    EXPECT_EQ(CheckReading(tables, script).labelsLeftOut, 0);
}

} // namespace
} // namespace ry
