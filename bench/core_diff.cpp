// rys diff's comparison of two 1000-module scripts that differ in 50 places: settings changed,
// paths re-targeted, modules renamed, added and removed, boxes moved.

#include "script_generator.h"

#include "diff/script_diff.h"
#include "paths/rename.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace ry;

struct Versions {
    std::unique_ptr<ScriptTables> before = std::make_unique<ScriptTables>();
    std::unique_ptr<ScriptTables> after = std::make_unique<ScriptTables>();
    std::int16_t oldScript = bench::GenerateScript(*before, 1000);
    std::int16_t newScript = bench::GenerateScript(*after, 1000);

    Versions() {
        std::vector<std::int16_t> modules;
        ForEachModule(*after, newScript,
                      [&](std::int16_t m, const ModuleRecord&) { modules.push_back(m); });
        // Ten of each kind of change, spread over the script.
        for (int i = 0; i < 10; ++i) {
            ModuleRecord& setting = after->Module(modules[static_cast<size_t>(i * 97 + 1)]);
            setting.PlayFileSlot(1) += "-new";
            ModuleRecord& retarget = after->Module(modules[static_cast<size_t>(i * 97 + 20)]);
            retarget.PathText += "on {7} goto [" + after->Module(modules[0]).Title + "]\r\n";
            const std::int16_t renamed = modules[static_cast<size_t>(i * 97 + 40)];
            RenameModuleInPaths(*after, after->Module(renamed).Title,
                                after->Module(renamed).Title + " renamed", renamed, newScript);
            after->Module(modules[static_cast<size_t>(i * 97 + 60)]).PositionX += 50;
            after->Module(modules[static_cast<size_t>(i * 97 + 80)]).Txt = "changed";
        }
    }
};

void BM_Diff1000Modules50Changes(benchmark::State& state) {
    static Versions v;
    std::size_t lines = 0;
    for (auto _ : state) {
        const ScriptDiff diff = DiffScripts(*v.before, v.oldScript, *v.after, v.newScript);
        lines = DiffLines(diff, false).size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_Diff1000Modules50Changes)->Unit(benchmark::kMillisecond);

} // namespace
