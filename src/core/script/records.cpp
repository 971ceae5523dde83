#include "script/records.h"

namespace ry {

void ScriptTables::MemStructInit() {
    for (int i = 1; i <= kScriptCapacity; ++i) {
        ScriptRecord& s = Script(i);
        s = ScriptRecord{};
        s.FirstModule = -1;
        s.IsFree = true;
        s.NextFree = static_cast<std::int16_t>(i == kScriptCapacity ? 0 : i + 1);
    }
    scriptFreeHead_ = 1;
    for (int i = 1; i <= kModuleCapacity; ++i) {
        ModuleRecord& m = Module(i);
        m.NextModule = static_cast<std::int16_t>(i == kModuleCapacity ? 0 : i + 1);
        m.IsFree = true;
    }
    moduleFreeHead_ = 1;
}

std::int16_t ScriptTables::MemStructRys_Get() {
    if (scriptFreeHead_ < 1)
        return -1;
    std::int16_t index = scriptFreeHead_;
    ScriptRecord& s = Script(index);
    scriptFreeHead_ = s.NextFree;
    s.IsFree = false;
    MemStructRys_Clear(index);
    return index;
}

void ScriptTables::MemStructRys_Clear(std::int16_t script) {
    ScriptRecord& s = Script(script);
    // DefaultModuleDisplayHeight, StartWithoutAnswer, FileDateTime, DocState and Password
    // keep their values.
    s.Version.clear();
    s.StartModule.clear();
    s.RunAtHangup.clear();
    s.CtmAsiName.clear();
    s.FileName.clear();
    s.FolderPath.clear();
    s.NotFromFile = true;
    s.ModuleCount = 0;
    s.FirstModule = -1;
    s.LastModule = -1;
    s.DocumentIndex = -1;
    s.Modified = false;
    s.NextFree = -1;
}

void ScriptTables::MemStructRys_Free(std::int16_t script) {
    ScriptRecord& s = Script(script);
    if (s.IsFree)
        return;
    MemStructRys_Clear(script);
    s.IsFree = true;
    s.NextFree = scriptFreeHead_;
    scriptFreeHead_ = script;
}

void ScriptTables::MemStructRys_FreeAll(std::int16_t script) {
    ScriptRecord& s = Script(script);
    if (s.NotFromFile)
        return;
    s.DefaultModuleDisplayHeight = "long";
    s.StartModule.clear();
    s.RunAtHangup.clear();
    s.FileName.clear();
    s.CtmAsiName.clear();
    s.ModuleCount = 0;
    std::int16_t m = s.FirstModule;
    s.FirstModule = -1;
    for (int guard = 0; IsModuleIndex(m) && guard < kModuleCapacity; ++guard) {
        std::int16_t next = Module(m).NextModule;
        if (Module(m).IsFree)
            break; // a chain never runs into the free list; stop rather than corrupt it
        MemStructRym_Free(m);
        m = next;
    }
    MemStructRys_Free(script);
}

std::int16_t ScriptTables::MemStructRym_Get() {
    if (moduleFreeHead_ < 1)
        return -1;
    std::int16_t index = moduleFreeHead_;
    ModuleRecord& m = Module(index);
    moduleFreeHead_ = m.NextModule;
    m.NextModule = -1;
    m.IsFree = false;
    MemStructRym_ClearRym(index);
    return index;
}

bool ScriptTables::MemStructRym_Take(std::int16_t module) {
    if (!IsModuleIndex(module) || !Module(module).IsFree)
        return false;
    std::int16_t previous = -1;
    int m = moduleFreeHead_;
    for (int guard = 0; m != module && IsModuleIndex(m) && guard < kModuleCapacity; ++guard) {
        previous = static_cast<std::int16_t>(m);
        m = Module(m).NextModule;
    }
    if (m != module)
        return false; // marked free but not on the list: handing it out would corrupt the list
    ModuleRecord& taken = Module(module);
    if (previous >= 1)
        Module(previous).NextModule = taken.NextModule;
    else
        moduleFreeHead_ = taken.NextModule;
    taken.NextModule = -1;
    taken.IsFree = false;
    MemStructRym_ClearRym(module);
    return true;
}

void ScriptTables::MemStructRym_ClearRym(std::int16_t module) {
    // Copying from one default record reuses the strings' buffers instead of building a new
    // record each time.
    static const ModuleRecord defaults;
    ModuleRecord& m = Module(module);
    const bool isFree = m.IsFree;
    const std::int16_t boxDisplayMode = m.BoxDisplayMode;
    m = defaults;
    m.dTimeSwitch_DateStart = DateTime::Today();
    m.IsFree = isFree;
    m.BoxDisplayMode = boxDisplayMode;
    m.BoxIndex = -1;
    m.NextModule = -1;
}

void ScriptTables::MemStructRym_Free(std::int16_t module) {
    ModuleRecord& m = Module(module);
    if (m.IsFree)
        return;
    m.IsFree = true;
    m.NextModule = moduleFreeHead_;
    moduleFreeHead_ = module;
}

std::int16_t ScriptTables::MemStructRym_FreeCount() const {
    std::int16_t count = 0;
    for (int m = moduleFreeHead_; m >= 1 && count < kModuleCapacity; m = Module(m).NextModule)
        ++count;
    return count;
}

void AppendModuleToScript(ScriptTables& tables, std::int16_t script, std::int16_t module) {
    ScriptRecord& s = tables.Script(script);
    if (ScriptTables::IsModuleIndex(s.LastModule))
        tables.Module(s.LastModule).NextModule = module;
    else
        s.FirstModule = module;
    s.LastModule = module;
    ++s.ModuleCount;
    tables.Module(module).ScriptIndex = script;
}

} // namespace ry
