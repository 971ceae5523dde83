#pragma once

// Scripts for the benchmarks: a large script of every module type (`modules` modules on a
// grid, each with about three paths to its neighbours), a script of menus with their items,
// and a script of modules with random paths.

#include "script/module_types.h"
#include "script/records.h"

#include <random>
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

// Adds one Transfer Call module at (x, y) with the given path text.
inline void AddModule(ScriptTables& tables, std::int16_t s, const std::string& title, int x, int y,
                      const std::string& paths) {
    const std::int16_t index = tables.MemStructRym_Get();
    if (index < 1)
        return;
    AppendModuleToScript(tables, s, index);
    ModuleRecord& m = tables.Module(index);
    m.Type = "Transfer Call";
    m.Title = title;
    m.DispSize = 69;
    m.PositionX = static_cast<std::int16_t>(x);
    m.PositionY = static_cast<std::int16_t>(y);
    m.PathText = paths;
}

// 84 modules: Welcome leads to Menu 0; each of 9 menus leads to its 8 items and on timeout to
// Operator; each item fails to the next menu (the last to Menu 0) and succeeds to Goodbye.
inline std::int16_t MenuScript(ScriptTables& tables) {
    const std::int16_t s = tables.MemStructRys_Get();
    AddModule(tables, s, "Welcome", 4, 4, "on {done} goto [Menu 0]\r\n");
    for (int m = 0; m < 9; ++m) {
        std::string paths;
        for (int t = 0; t < 8; ++t)
            paths += "on {" + std::to_string(t + 1) + "} goto [Item " + std::to_string(m) + "." +
                     std::to_string(t) + "]\r\n";
        paths += "on {timeout 0} goto [Operator]\r\n";
        AddModule(tables, s, "Menu " + std::to_string(m), 4 + m * 480, 200, paths);
        for (int t = 0; t < 8; ++t)
            AddModule(tables, s, "Item " + std::to_string(m) + "." + std::to_string(t),
                      274 + m * 480, 200 + t * 140,
                      "on {fail} goto [Menu " + std::to_string((m + 1) % 9) +
                          "]\r\non {success} goto [Goodbye]\r\n");
    }
    AddModule(tables, s, "Operator", 4, 1400, "");
    AddModule(tables, s, "Goodbye", 2000, 1400, "");
    tables.Script(s).StartModule = "Welcome";
    return s;
}

// `modules` modules on a grid, each with two paths to any module (itself too).
inline std::int16_t RandomScript(ScriptTables& tables, int modules) {
    const std::int16_t s = tables.MemStructRys_Get();
    std::mt19937 random(150);
    std::uniform_int_distribution<int> any(0, modules - 1);
    for (int i = 0; i < modules; ++i) {
        std::string paths;
        for (int k = 0; k < 2; ++k)
            paths += "on {" + std::to_string(k + 1) + "} goto [M" + std::to_string(any(random)) +
                     "]\r\n";
        AddModule(tables, s, "M" + std::to_string(i), 20 + (i % 15) * 240, 20 + (i / 15) * 160,
                  paths);
    }
    tables.Script(s).StartModule = "M0";
    return s;
}

} // namespace ry::bench
