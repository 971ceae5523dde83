#pragma once

// Builds scripts in the tables the way the canvas does, for tests and benchmarks.

#include "script/module_types.h"
#include "script/records.h"

#include <string>
#include <string_view>

namespace ry::test {

inline std::int16_t NewScript(ScriptTables& tables) {
    std::int16_t s = tables.MemStructRys_Get();
    ScriptRecord& r = tables.Script(s);
    r.NotFromFile = false;
    r.Version = "5.0";
    r.DefaultModuleDisplayHeight = "long";
    return s;
}

inline ModuleRecord& AddModule(ScriptTables& tables, std::int16_t script, std::string_view type,
                               std::string_view title, int x = 0, int y = 0) {
    std::int16_t m = tables.MemStructRym_Get();
    AppendModuleToScript(tables, script, m);
    ModuleRecord& r = tables.Module(m);
    r.Type = std::string(type);
    r.Title = std::string(title);
    r.Txt = std::string(TypeDescription(type));
    r.DispSize = 69;
    r.PositionX = x;
    r.PositionY = y;
    if (tables.Script(script).StartModule.empty())
        tables.Script(script).StartModule = r.Title;
    return r;
}

} // namespace ry::test
