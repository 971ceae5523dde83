#pragma once

// What the fuzz targets share: a check that stops the run on a broken rule, a host that
// answers the core without showing anything, and the loader's steps on a text in memory.

#include "paths/destinations.h"
#include "script/host.h"
#include "script/loader.h"
#include "script/records.h"
#include "script/saver.h"
#include "script/text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace ry::fuzz {

// Aborts, so that libFuzzer reports the input like a crash and keeps it.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

#define RY_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::ry::fuzz::Fail(__FILE__, __LINE__, #condition);                                      \
    } while (false)

// Answers every question of the core and shows nothing; the password is the one the fuzz
// targets protect their scripts with.
class QuietHost : public Host {
public:
    std::string password;

    std::string AskOpenPassword() override { return password; }
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// One set of tables for a whole run: it is several megabytes, too much to build per input.
// Never destroyed, so that nothing runs after libFuzzer's own exit handlers.
inline ScriptTables& SharedTables() {
    static ScriptTables* tables = new ScriptTables();
    return *tables;
}

// The records free again: every module record and every script record.
inline bool TablesAreWhole(const ScriptTables& tables) {
    if (tables.MemStructRym_FreeCount() != kModuleCapacity)
        return false;
    int scripts = 0;
    for (int s = tables.ScriptFreeHead(); s >= 1 && scripts <= kScriptCapacity;
         s = tables.Script(s).NextFree)
        ++scripts;
    return scripts == kScriptCapacity;
}

// Interprets `text` as the loader does after reading a file: a fresh script record marked as
// read from a file. Returns the script, or -1 when the load failed (its records released).
inline std::int16_t LoadText(ScriptTables& tables, Host& host, std::string_view text) {
    std::int16_t script = tables.MemStructRys_Get();
    RY_FUZZ_CHECK(script >= 1);
    tables.Script(script).NotFromFile = false;
    if (InterpretScriptText(tables, host, script, text) != 0)
        return -1;
    return script;
}

inline std::vector<std::int16_t> ModuleFreeList(const ScriptTables& tables) {
    std::vector<std::int16_t> list;
    for (int m = tables.ModuleFreeHead(); m >= 1 && list.size() <= kModuleCapacity;
         m = tables.Module(m).NextModule)
        list.push_back(static_cast<std::int16_t>(m));
    return list;
}

inline void CheckLoadedScript(const ScriptTables& tables, std::int16_t script) {
    const ScriptRecord& s = tables.Script(script);
    RY_FUZZ_CHECK(!s.IsFree);
    int count = 0;
    std::int16_t last = -1;
    bool startFound = false;
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
        ++count;
        last = m;
        RY_FUZZ_CHECK(!rec.IsFree);
        RY_FUZZ_CHECK(rec.ScriptIndex == script);
        startFound = startFound || IEquals(rec.Title, s.StartModule);
    });
    RY_FUZZ_CHECK(count == s.ModuleCount);
    RY_FUZZ_CHECK(count <= kModuleCapacity);
    RY_FUZZ_CHECK(last == s.LastModule);
    // The start module names a module of the script whenever it has one.
    RY_FUZZ_CHECK(count == 0 || startFound);
    for (const Connector& c : ScriptConnectors(tables, script)) {
        RY_FUZZ_CHECK(ScriptTables::IsModuleIndex(c.From) && ScriptTables::IsModuleIndex(c.To));
        RY_FUZZ_CHECK(tables.Module(c.From).ScriptIndex == script);
        RY_FUZZ_CHECK(tables.Module(c.To).ScriptIndex == script);
    }
}

// The saver's text of the script; the script's records are released.
inline std::string SaveAndRelease(ScriptTables& tables, std::int16_t script) {
    std::string text = BuildScriptText(tables, script, RecordBoxes(tables));
    tables.MemStructRys_FreeAll(script);
    RY_FUZZ_CHECK(TablesAreWhole(tables));
    return text;
}

} // namespace ry::fuzz
