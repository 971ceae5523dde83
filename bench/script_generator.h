#pragma once

// A large script of every module type for the benchmarks: `modules` modules on a grid, each
// with about three paths to its neighbours.

#include "script/module_types.h"
#include "script/records.h"

#include <string>

namespace ry::bench {

inline std::int16_t GenerateScript(ScriptTables& tables, int modules) {
    std::int16_t s = tables.MemStructRys_Get();
    ScriptRecord& r = tables.Script(s);
    r.NotFromFile = false;
    r.DefaultModuleDisplayHeight = "long";
    auto title = [](int i) { return "Module " + std::to_string(i); };
    for (int i = 0; i < modules; ++i) {
        std::int16_t index = tables.MemStructRym_Get();
        if (index < 1)
            break;
        AppendModuleToScript(tables, s, index);
        ModuleRecord& m = tables.Module(index);
        std::string_view type = kAllModuleTypes[static_cast<size_t>(i) % kAllModuleTypes.size()];
        m.Type = std::string(type);
        m.Title = title(i);
        m.Txt = std::string(TypeDescription(type));
        m.DispSize = 69;
        m.PositionX = (i % 40) * 200;
        m.PositionY = (i / 40) * 120;
        m.PlayFileSlot(1) = "prompts\\module" + std::to_string(i) + ".wav";
        m.PlayFileSlot(2) = "prompts\\hold.wav";
        m.strEmailMessageText = "Line one\r\nLine two";
        m.DbSql = "SELECT Name FROM Customers WHERE Id = [CallerId]";
        m.PathText = "on {1} goto [" + title((i + 1) % modules) + "]\r\n" +
                     "on {timeout 5} goto [" + title((i + 40) % modules) + "]\r\n" +
                     "on {fail} goto [" + title((i + modules - 1) % modules) + "]\r\n";
    }
    r.StartModule = title(0);
    return s;
}

} // namespace ry::bench
