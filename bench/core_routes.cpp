// The connector geometry of a full canvas: 1000 boxes and 3000 connectors, all routed on every
// repaint. The painter's budget for a whole 1280 x 900 repaint is 8 ms, so routing should take
// a small part of it.

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"
#include "canvas/label_spots.h"
#include "canvas/labels.h"
#include "canvas/path_layout.h"
#include "canvas/routes.h"
#include "paths/destinations.h"
#include "script_generator.h"

#include <benchmark/benchmark.h>

#include <random>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using ry::Rect;

constexpr int kBoxes = 1000;
constexpr int kConnectors = 3000;

// Boxes scattered over a 6000 x 4000 canvas, every third box short. Two of each box's three
// connectors go to a box close by (so all three route shapes and both bend directions occur),
// one to any box, and some lead back to the box itself.
std::vector<std::pair<Rect, Rect>> MakeConnectors() {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> x(0, 6000 - ry::kBoxWidth);
    std::uniform_int_distribution<int> y(0, 4000 - ry::kLongBoxHeight);
    std::vector<Rect> boxes;
    for (int i = 0; i < kBoxes; ++i) {
        const int height = i % 3 == 0 ? ry::kShortBoxHeight : ry::kLongBoxHeight;
        boxes.push_back({x(random), y(random), ry::kBoxWidth, height});
    }

    std::uniform_int_distribution<int> any(0, kBoxes - 1);
    std::uniform_int_distribution<int> near(-250, 250);
    std::vector<std::pair<Rect, Rect>> connectors;
    for (int i = 0; i < kConnectors; ++i) {
        const Rect& source = boxes[static_cast<std::size_t>(i % kBoxes)];
        Rect dest = boxes[static_cast<std::size_t>(any(random))];
        if (i % 3 != 0)
            dest = {source.Left + near(random), source.Top + near(random), ry::kBoxWidth,
                    ry::kLongBoxHeight};
        if (i % 50 == 0)
            dest = source;
        connectors.emplace_back(source, dest);
    }
    return connectors;
}

void BM_RouteAllConnectors(benchmark::State& state) {
    const auto connectors = MakeConnectors();
    for (auto _ : state) {
        for (const auto& [source, dest] : connectors) {
            ry::ConnectorPath path = ry::RouteConnector(source, dest);
            benchmark::DoNotOptimize(path);
        }
    }
    state.SetItemsProcessed(state.iterations() * kConnectors);
}
BENCHMARK(BM_RouteAllConnectors)->Unit(benchmark::kMicrosecond);

// What a repaint does before painting: route every connector and keep those that reach the
// visible part of the canvas.
void BM_RouteAndCullToView(benchmark::State& state) {
    const auto connectors = MakeConnectors();
    const Rect view{2000, 1500, 1280, 900};
    for (auto _ : state) {
        int visible = 0;
        for (const auto& [source, dest] : connectors) {
            const ry::ConnectorPath path = ry::RouteConnector(source, dest);
            visible += ry::Intersects(path.Bounds(), view) ? 1 : 0;
        }
        benchmark::DoNotOptimize(visible);
        state.counters["visible"] = visible;
    }
    state.SetItemsProcessed(state.iterations() * kConnectors);
}
BENCHMARK(BM_RouteAndCullToView)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// Every connector of the 1000-module benchmark script routed around the boxes and spread
// apart, with a label on a free spot beside each (7 pixels a character): under 150 ms.
void BM_RouteAroundBoxesWithLabels(benchmark::State& state) {
    ry::ScriptTables tables;
    const std::int16_t script = ry::bench::GenerateScript(tables, 1000);
    std::vector<ry::Rect> boxes;
    std::unordered_map<std::int16_t, int> boxOf;
    ry::ForEachModule(tables, script, [&](std::int16_t m, const ry::ModuleRecord& r) {
        boxOf[m] = static_cast<int>(boxes.size());
        boxes.push_back({r.PositionX, r.PositionY, ry::kBoxWidth, ry::BoxHeightFor(r.DispSize)});
    });
    const std::vector<ry::PathGroup> groups = ry::GroupPaths(ry::ScriptPaths(tables, script));
    int left = 0;
    for (auto _ : state) {
        std::vector<ry::RouteEnds> ends;
        std::vector<const ry::PathGroup*> of;
        for (const ry::PathGroup& g : groups)
            if (g.kind == ry::PathGroup::Kind::Module) {
                ends.push_back({boxOf[g.From], boxOf[g.To]});
                of.push_back(&g);
            }
        const std::vector<ry::Polyline> routes = ry::RouteAll(boxes, ends);
        ry::TakenSpace taken;
        for (const ry::Rect& b : boxes)
            taken.Take({b.Left - 1, b.Top - 1, b.Width + 2, b.Height + 2});
        left = 0;
        for (std::size_t i = 0; i < routes.size(); ++i) {
            const ry::ConnectorPath path = ry::DrawPolyline(routes[i]);
            const ry::Size size{7 * static_cast<int>(of[i]->Triggers.size()) + 4, 13};
            if (const auto spot = ry::PlaceFreeLabel(path, size, taken))
                taken.Take(*spot);
            else
                ++left;
        }
        benchmark::DoNotOptimize(routes.data());
    }
    state.counters["connectors"] = static_cast<double>(groups.size());
    state.counters["left_out"] = left;
}
BENCHMARK(BM_RouteAroundBoxesWithLabels)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// A script's drawing as the canvas lays it out: its boxes, and each path with a label of 7
// pixels a character and, ending in a tag, a tag 80 pixels wide.
struct Drawing {
    std::vector<ry::LayoutBox> boxes;
    std::vector<ry::PathToLay> paths;
};

Drawing DrawingOf(const ry::ScriptTables& tables, std::int16_t script) {
    Drawing d;
    std::unordered_map<std::int16_t, int> boxOf;
    ry::ForEachModule(tables, script, [&](std::int16_t m, const ry::ModuleRecord& r) {
        boxOf[m] = static_cast<int>(d.boxes.size());
        d.boxes.push_back(
            {{r.PositionX, r.PositionY, ry::kBoxWidth, ry::BoxHeightFor(r.DispSize)}, m});
    });
    for (const ry::PathGroup& g : ry::GroupPaths(ry::ScriptPaths(tables, script))) {
        ry::PathToLay p;
        p.from = boxOf.at(g.From);
        if (g.kind == ry::PathGroup::Kind::Module)
            p.to = boxOf.at(g.To);
        else
            p.tag = {80, 15};
        p.problem = g.kind == ry::PathGroup::Kind::Unknown;
        if (!g.Triggers.empty())
            p.label = {7 * static_cast<int>(g.Triggers.size()) + 4, 13};
        d.paths.push_back(p);
    }
    return d;
}

Drawing GeneratedDrawing(int modules) {
    ry::ScriptTables tables;
    const std::int16_t script = ry::bench::GenerateScript(tables, modules);
    return DrawingOf(tables, script);
}

// Every path of the 1000-module script laid out as the canvas lays it out by default, labels
// at the ports: under 150 ms.
void BM_LayOutEveryPathWithLabels(benchmark::State& state) {
    const Drawing d = GeneratedDrawing(1000);
    int left = 0;
    for (auto _ : state) {
        ry::PathLayout layout;
        layout.Build(d.boxes, d.paths, ry::RouteStyle::AroundBoxes);
        left = layout.LeftOut();
        benchmark::DoNotOptimize(layout.Paths().data());
    }
    state.counters["paths"] = static_cast<double>(d.paths.size());
    state.counters["left_out"] = left;
}
BENCHMARK(BM_LayOutEveryPathWithLabels)->Unit(benchmark::kMillisecond);

// One step of dragging a box across the 1000-module script: the layout kept from the step
// before, the box 8 pixels further: under 8 ms.
void BM_DragStep(benchmark::State& state) {
    Drawing d = GeneratedDrawing(1000);
    ry::PathLayout layout;
    layout.Build(d.boxes, d.paths, ry::RouteStyle::AroundBoxes);
    ry::Rect& dragged = d.boxes[420].rect;
    int step = 0;
    for (auto _ : state) {
        dragged.Left += ++step % 20 < 10 ? 8 : -8;
        layout.Build(d.boxes, d.paths, ry::RouteStyle::AroundBoxes);
        benchmark::DoNotOptimize(layout.Paths().data());
    }
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

// 1000 boxes all on one spot, each with the generated script's paths: under 2 s.
void BM_BoxesOnOneSpot(benchmark::State& state) {
    Drawing d = GeneratedDrawing(1000);
    for (ry::LayoutBox& b : d.boxes) {
        b.rect.Left = 300;
        b.rect.Top = 300;
    }
    for (auto _ : state) {
        ry::PathLayout layout;
        layout.Build(d.boxes, d.paths, ry::RouteStyle::AroundBoxes);
        benchmark::DoNotOptimize(layout.Paths().data());
    }
}
BENCHMARK(BM_BoxesOnOneSpot)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
