// The file layer's checks (regular file, size limit, permission, owner, hard links, folder
// flush, file stamp) against the bare reads and writes they wrap, on the file of a
// 1000-module script. Compare BM_ReadChecked with BM_ReadBare and BM_WriteChecked with
// BM_WriteBare: the checks are a few system calls next to the read or the flush to disk.

#include "script_generator.h"

#include "script/file_io.h"
#include "script/saver.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace ry;

struct Fixture {
    std::string file;
    std::string text;

    Fixture() {
        auto tables = std::make_unique<ScriptTables>();
        std::int16_t s = bench::GenerateScript(*tables, 1000);
        text = BuildScriptText(*tables, s, RecordBoxes(*tables)) + "\r\n";
        file = (std::filesystem::temp_directory_path() / "ry-bench-files-1000.rys").string();
        std::ofstream(file, std::ios::binary) << text;
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

// The read as it was before the checks: open, read to the end.
std::string BareRead(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    char buf[1 << 16];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, got);
    std::fclose(f);
    return out;
}

void BM_ReadBare(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(BareRead(f.file));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
}
BENCHMARK(BM_ReadBare)->Unit(benchmark::kMicrosecond);

void BM_ReadChecked(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadRegularFile(f.file, kScriptSizeLimit));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
}
BENCHMARK(BM_ReadChecked)->Unit(benchmark::kMicrosecond);

// The write as it was before the checks: temporary file, flush, rename.
void BareWrite(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::fsync(fd);
    ::close(fd);
    std::rename(temp.c_str(), path.c_str());
}

void BM_WriteBare(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string out = f.file + ".bare";
    for (auto _ : state)
        BareWrite(out, f.text);
    std::filesystem::remove(out);
}
BENCHMARK(BM_WriteBare)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteChecked(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string out = f.file + ".checked";
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteFileReplacing(out, f.text));
    std::filesystem::remove(out);
}
BENCHMARK(BM_WriteChecked)->Unit(benchmark::kMillisecond)->UseRealTime();

// The question asked before each save: has the file changed behind the designer's back?
void BM_StampCheck(benchmark::State& state) {
    Fixture& f = Shared();
    ScriptRecord s;
    s.FileName = f.file;
    s.DiskStamp = StampOfFile(f.file);
    for (auto _ : state)
        benchmark::DoNotOptimize(ScriptFileChangedOnDisk(s));
}
BENCHMARK(BM_StampCheck)->Unit(benchmark::kMicrosecond);

} // namespace
