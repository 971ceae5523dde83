// Arrange: a whole script laid out from the top down, from the script's records to the new
// places. Targets: a 100-module tree-like script under 300 ms, the 1000-module benchmark
// script with 4000 paths under 3 s.

#include "layout/arrange.h"
#include "script_generator.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

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

template <std::int16_t (*Make)(ry::ScriptTables&, int)> void BM_Arrange(benchmark::State& state) {
    auto tables = std::make_unique<ry::ScriptTables>();
    const std::int16_t s = Make(*tables, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ry::ArrangeInput input = ry::ArrangeInputOf(*tables, s);
        benchmark::DoNotOptimize(ry::ArrangeBoxes(input.graph));
    }
}

} // namespace

BENCHMARK(BM_Arrange<TreeScript>)->Name("Arrange/Tree")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arrange<BenchmarkScript>)
    ->Name("Arrange/BenchmarkScript")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
