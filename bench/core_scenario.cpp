// Reading scenario files as large as rys test takes (16 MB): a file of many calls, each with
// the most events a call may give, and a file of one events list far past that limit, which
// must be refused at once rather than read whole.

#include "scenario/scenario.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace ry;

// Calls of `kScenarioListLimit` one-character events, written in brackets (two bytes an
// event, the most items a byte of the file can hold), up to about `bytes`.
std::string ManyCalls(std::size_t bytes) {
    std::string call = "  - {name: c, end: hangup, events: [1";
    for (std::size_t i = 1; i < kScenarioListLimit; ++i)
        call += ",1";
    call += "]}\n";
    std::string text = "script: a.rys\ncalls:\n";
    while (text.size() + call.size() <= bytes)
        text += call;
    return text;
}

// One call whose events list, one per line, fills about `bytes`.
std::string OneLongList(std::size_t bytes) {
    std::string text = "script: a.rys\ncalls:\n  - name: long\n    end: hangup\n    events:\n";
    while (text.size() < bytes)
        text += "      - timeout\n";
    return text;
}

void BM_ParseScenarioManyCalls(benchmark::State& state) {
    const std::string text = ManyCalls(static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        ScenarioError error;
        benchmark::DoNotOptimize(ParseScenario(text, error));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseScenarioManyCalls)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_RefuseScenarioLongEventList(benchmark::State& state) {
    const std::string text = OneLongList(std::size_t{16} << 20);
    for (auto _ : state) {
        ScenarioError error;
        if (ParseScenario(text, error))
            state.SkipWithError("a list past the limit was read");
    }
}
BENCHMARK(BM_RefuseScenarioLongEventList)->Unit(benchmark::kMillisecond);

} // namespace
