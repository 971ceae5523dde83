// Loading, saving and checking a 1000-module script.

#include "script_generator.h"

#include "check/checker.h"
#include "script/host.h"
#include "script/loader.h"
#include "script/saver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using namespace ry;

struct Fixture {
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    Host host;
    std::string file;
    std::string text;

    Fixture() {
        std::int16_t s = bench::GenerateScript(*tables, 1000);
        text = BuildScriptText(*tables, s, RecordBoxes(*tables)) + "\r\n";
        file = (std::filesystem::temp_directory_path() / "ry-bench-1000.rys").string();
        std::ofstream(file, std::ios::binary) << text;
        tables->MemStructRys_FreeAll(s);
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

void BM_Load1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        std::int16_t s = RysScriptLoad(*f.tables, f.host, f.file);
        benchmark::DoNotOptimize(s);
        state.PauseTiming();
        f.tables->MemStructRys_FreeAll(s);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
}
BENCHMARK(BM_Load1000Modules)->Unit(benchmark::kMillisecond);

void BM_BuildText1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    std::int16_t s = RysScriptLoad(*f.tables, f.host, f.file);
    RecordBoxes boxes(*f.tables);
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildScriptText(*f.tables, s, boxes));
    f.tables->MemStructRys_FreeAll(s);
}
BENCHMARK(BM_BuildText1000Modules)->Unit(benchmark::kMillisecond);

// The whole save: text, temporary file, flush to disk, rename.
void BM_Save1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    std::int16_t s = RysScriptLoad(*f.tables, f.host, f.file);
    f.tables->Script(s).FileName = f.file + ".out";
    RecordBoxes boxes(*f.tables);
    ProtectedWriter writer;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveScriptFile(*f.tables, f.host, boxes, writer, s));
    f.tables->MemStructRys_FreeAll(s);
    std::filesystem::remove(f.file + ".out");
}
BENCHMARK(BM_Save1000Modules)->Unit(benchmark::kMillisecond);

void BM_LoadAndSave1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    RecordBoxes boxes(*f.tables);
    ProtectedWriter writer;
    for (auto _ : state) {
        std::int16_t s = RysScriptLoad(*f.tables, f.host, f.file);
        f.tables->Script(s).FileName = f.file + ".out";
        benchmark::DoNotOptimize(SaveScriptFile(*f.tables, f.host, boxes, writer, s));
        state.PauseTiming();
        f.tables->MemStructRys_FreeAll(s);
        state.ResumeTiming();
    }
    std::filesystem::remove(f.file + ".out");
}
BENCHMARK(BM_LoadAndSave1000Modules)->Unit(benchmark::kMillisecond);

// The whole check, as the designer's problem list makes it after each edit: destinations,
// reachability, titles, triggers, tidy paths and the files the modules name.
void BM_Check1000Modules(benchmark::State& state) {
    Fixture& f = Shared();
    std::int16_t s = RysScriptLoad(*f.tables, f.host, f.file);
    std::size_t problems = 0;
    for (auto _ : state)
        problems = CheckScript(*f.tables, s).size();
    state.counters["problems"] = static_cast<double>(problems);
    f.tables->MemStructRys_FreeAll(s);
}
BENCHMARK(BM_Check1000Modules)->Unit(benchmark::kMillisecond);

} // namespace
