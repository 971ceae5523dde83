// A walk through a 1000-module script, one event at a time, and the check that looks for the
// paths a call never takes, the modules it cannot leave and the fields a module lacks.

#include "script_generator.h"

#include "check/checker.h"
#include "scenario/scenario.h"
#include "scenario/scenario_run.h"
#include "walk/walk.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace ry;

struct Fixture {
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    std::int16_t script = bench::GenerateScript(*tables, 1000);
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

// One event taken: the module's paths read, the trigger matched, the destination found and
// entered. From the first module, "timeout" goes 40 modules on each time and reaches a hang-up
// after 14 steps; the walk then starts again, out of the timing.
void BM_WalkStep1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    auto walk = std::make_unique<ScriptWalk>(*f.tables, f.script);
    std::size_t steps = 0;
    for (auto _ : state) {
        walk->Take("timeout");
        ++steps;
        if (walk->Ended()) {
            state.PauseTiming();
            walk = std::make_unique<ScriptWalk>(*f.tables, f.script);
            state.ResumeTiming();
        }
    }
    state.counters["steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_WalkStep1000Modules)->Unit(benchmark::kMicrosecond);

// What the Test Call panel asks at each module: the events to offer.
void BM_OfferedEvents1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    ScriptWalk walk(*f.tables, f.script);
    for (auto _ : state)
        benchmark::DoNotOptimize(walk.OfferedEvents());
}
BENCHMARK(BM_OfferedEvents1000Modules)->Unit(benchmark::kMicrosecond);

// The whole check of the script as the designer's problem list makes it, every kind included,
// with a repeated timeout in every module, so that each has a path that is never taken; the
// argument 1 looks the named files up on disk, 0 leaves them.
void BM_CheckWithEveryKind1000Modules(benchmark::State& state) {
    auto tables = std::make_unique<ScriptTables>();
    std::int16_t s = bench::GenerateScript(*tables, 1000);
    ForEachModule(*tables, s, [](std::int16_t, ModuleRecord& m) {
        m.PathText += "on {timeout 9} goto [Module 0]\r\n";
    });
    CheckOptions options;
    options.CheckFiles = state.range(0) != 0;
    std::size_t problems = 0;
    for (auto _ : state)
        problems = CheckScript(*tables, s, options).size();
    state.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(BM_CheckWithEveryKind1000Modules)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What rys test does beyond loading the script: a scenario file of 100 calls read, and each
// call walked and compared with what it wants. Each call keys 1 to 20 times, then times out
// until the walk reaches a module with no path for it or the events run out.
void BM_ScenarioRun100Calls1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    std::string text = "script: bench.rys\nat: 2026-12-09 09:30\ncalls:\n";
    for (int c = 0; c < 100; ++c) {
        ScenarioCall call;
        call.Name = "call " + std::to_string(c);
        for (int k = 0; k < 1 + c % 20; ++k)
            call.Events.push_back("1");
        for (int k = 0; k < 10; ++k)
            call.Events.push_back("timeout");
        call.End = WalkEnd::Hangup;
        call.Visits = {"Module 1", "Module 2"};
        text += ScenarioCallText(call);
    }
    int failed = 0;
    for (auto _ : state) {
        ScenarioError error;
        const std::optional<Scenario> scenario = ParseScenario(text, error);
        failed = 0;
        for (const ScenarioCall& call : scenario->Calls)
            failed += RunScenarioCall(*f.tables, f.script, call,
                                      ScenarioClock(*scenario, call, DateTime{}),
                                      ScenarioCallHasClock(*scenario, call))
                              .Passed
                          ? 0
                          : 1;
    }
    state.counters["failed"] = failed;
}
BENCHMARK(BM_ScenarioRun100Calls1000Modules)->Unit(benchmark::kMillisecond);

} // namespace
