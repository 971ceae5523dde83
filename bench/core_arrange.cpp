// Arrange: a whole script laid out from the top down, from the script's records to the new
// places. Targets: a 100-module tree-like script under 300 ms, the 1000-module benchmark
// script with 4000 paths under 3 s.
//
// Beside the time, each case lays the same script out with Graphviz `dot` (same box sizes,
// same paths, dot's ranks with our gaps) and routes both layouts' connectors with our router
// (RouteAll), then counts on both routed drawings, the same way (MeasureDrawing): crossings
// (a line of one connector through a line of another), bends per connector (mean and most),
// and the room the boxes take (area_px, the boxes' bounding rectangle). Counters: crossings,
// bends_mean, bends_max, area_px and fits for our layout in the designer's smallest canvas
// (2000 x 2000: folded to fit, or the most compact layout found when it cannot); the same
// with spare_ in front for our layout with room to spare (as dot's, unfolded); and with dot_
// in front for dot's (-1 when dot is missing or took longer than its time limit);
// spare_crossings_vs_dot is ours with room to spare over dot's.
// Targets: 0 crossings on the example, at most 1.5 x dot's on the menus and random paths,
// bends mean <= 1.5 and max <= 6.

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"
#include "dot_layout.h"
#include "layout/arrange.h"
#include "layout/drawing_measure.h"
#include "script/host.h"
#include "script/loader.h"
#include "script_generator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>

namespace {

// A menu tree: each module leads to up to three below it, and every tenth one back to the top.
std::int16_t TreeScript(ry::ScriptTables& tables, int modules) {
    const std::int16_t s = ry::bench::GenerateScript(tables, modules);
    int i = 0;
    ry::ForEachModule(tables, s, [&](std::int16_t, ry::ModuleRecord& m) {
        m.PathText.clear();
        for (int child = 3 * i + 1; child <= 3 * i + 3 && child < modules; ++child)
            m.PathText += "on {" + std::to_string(child - 3 * i) + "} goto [Module " +
                          std::to_string(child) + "]\r\n";
        if (i % 10 == 9)
            m.PathText += "on {fail} goto [Module 0]\r\n";
        ++i;
    });
    return s;
}

// The benchmark script's three paths per module and one more to any module: 4000 paths.
std::int16_t BenchmarkScript(ry::ScriptTables& tables, int modules) {
    const std::int16_t s = ry::bench::GenerateScript(tables, modules);
    std::mt19937 random(24);
    ry::ForEachModule(tables, s, [&](std::int16_t, ry::ModuleRecord& m) {
        m.PathText += "on {2} goto [Module " + std::to_string(random() % modules) + "]\r\n";
    });
    return s;
}

std::int16_t MenuScript(ry::ScriptTables& tables, int) {
    return ry::bench::MenuScript(tables);
}

std::int16_t RandomScript(ry::ScriptTables& tables, int modules) {
    return ry::bench::RandomScript(tables, modules);
}

std::int16_t ExampleScript(ry::ScriptTables& tables, int) {
    ry::Host host;
    return ry::RysScriptLoad(tables, host, std::string(RY_EXAMPLES_DIR) + "/office-line.rys");
}

// The drawing of boxes at the given places as the canvas routes it: one connector for each
// pair of boxes a path joins.
ry::DrawingCounts Measure(const ry::ArrangeGraph& g, const std::vector<ry::Point>& at,
                          double& area) {
    std::vector<ry::Rect> boxes;
    int left = INT32_MAX, top = INT32_MAX, right = 0, bottom = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        boxes.push_back({at[i].x, at[i].y, ry::kBoxWidth, g.heights[i]});
        left = std::min(left, at[i].x);
        top = std::min(top, at[i].y);
        right = std::max(right, at[i].x + ry::kBoxWidth);
        bottom = std::max(bottom, at[i].y + g.heights[i]);
    }
    area = at.empty() ? 0 : static_cast<double>(right - left) * (bottom - top);
    // One connector a pair, in the order the script gives the paths, as the canvas routes them.
    std::set<std::pair<int, int>> seen;
    std::vector<ry::RouteEnds> ends;
    for (auto [from, to] : g.edges)
        if (seen.insert({from, to}).second)
            ends.push_back({from, to});
    return ry::MeasureDrawing(ry::RouteAll(boxes, ends));
}

template <std::int16_t (*Make)(ry::ScriptTables&, int)> void BM_Arrange(benchmark::State& state) {
    auto tables = std::make_unique<ry::ScriptTables>();
    const std::int16_t s = Make(*tables, static_cast<int>(state.range(0)));
    if (s < 1) {
        state.SkipWithError("no script");
        return;
    }
    std::optional<ry::Arrangement> arranged;
    for (auto _ : state) {
        const ry::ArrangeInput input = ry::ArrangeInputOf(*tables, s);
        arranged = ry::ArrangeBoxes(input.graph);
        benchmark::DoNotOptimize(arranged);
    }
    // In the designer's smallest canvas, 2000 x 2000 (where it fits: the layout found, the
    // most compact one when it does not).
    ry::ArrangeGraph g = ry::ArrangeInputOf(*tables, s).graph;
    double area = 0;
    const ry::DrawingCounts ours = Measure(g, arranged->at, area);
    state.counters["modules"] = static_cast<double>(g.heights.size());
    state.counters["connectors"] = ours.connectors;
    state.counters["crossings"] = static_cast<double>(ours.crossings);
    state.counters["bends_mean"] = ours.MeanBends();
    state.counters["bends_max"] = ours.mostBends;
    state.counters["area_px"] = area;
    state.counters["fits"] = arranged->fits;
    // With room to spare, as dot lays it out: no folding.
    g.areaWidth = g.areaHeight = 32000;
    const auto free = ry::ArrangeBoxes(g);
    double freeArea = 0;
    const ry::DrawingCounts spare = Measure(g, free->at, freeArea);
    state.counters["spare_crossings"] = static_cast<double>(spare.crossings);
    state.counters["spare_bends_mean"] = spare.MeanBends();
    state.counters["spare_bends_max"] = spare.mostBends;
    state.counters["spare_area_px"] = freeArea;

    const auto dot = ry::bench::DotPlaces(g, 60);
    double dotArea = 0;
    const ry::DrawingCounts theirs = dot ? Measure(g, *dot, dotArea) : ry::DrawingCounts{};
    state.counters["dot_crossings"] = dot ? static_cast<double>(theirs.crossings) : -1;
    state.counters["dot_bends_mean"] = dot ? theirs.MeanBends() : -1;
    state.counters["dot_bends_max"] = dot ? theirs.mostBends : -1;
    state.counters["dot_area_px"] = dot ? dotArea : -1;
    state.counters["spare_crossings_vs_dot"] =
        dot ? static_cast<double>(spare.crossings) / std::max<std::int64_t>(1, theirs.crossings)
            : -1;
}

} // namespace

BENCHMARK(BM_Arrange<ExampleScript>)
    ->Name("Arrange/Example")
    ->Arg(7)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arrange<MenuScript>)->Name("Arrange/Menus")->Arg(84)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arrange<RandomScript>)
    ->Name("Arrange/RandomPaths")
    ->Arg(150)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arrange<TreeScript>)->Name("Arrange/Tree")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arrange<BenchmarkScript>)
    ->Name("Arrange/BenchmarkScript")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
