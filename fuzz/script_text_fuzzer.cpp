// The script loader on any text, as a ".rys" file may hold it after a hand edit or damage.
// Besides running clean, a loaded script must be whole (its chain, its count, its start
// module), every record must come back to the free lists, and the saver's own output must be
// stable: saving, loading and saving again gives the same bytes. The checker, which reads
// what the loader made of the text, must name only modules of the script in one-line reasons.

#include "check/checker.h"
#include "fuzz_support.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    using namespace ry::fuzz;
    ScriptTables& tables = SharedTables();
    QuietHost host;

    const std::vector<std::int16_t> freeBefore = ModuleFreeList(tables);
    std::int16_t script = LoadText(tables, host, AsText(data, size));
    if (script < 1) {
        // Only running out of module records fails a load, and it gives back every record in
        // the order it had.
        RY_FUZZ_CHECK(ModuleFreeList(tables) == freeBefore);
        RY_FUZZ_CHECK(TablesAreWhole(tables));
        return 0;
    }
    CheckLoadedScript(tables, script);
    CheckOptions options;
    options.WrittenStartModule = WrittenStartModule(AsText(data, size));
    options.CheckFiles = false;
    for (const Problem& p : CheckScript(tables, script, options)) {
        RY_FUZZ_CHECK(p.Module == -1 || (ScriptTables::IsModuleIndex(p.Module) &&
                                         tables.Module(p.Module).ScriptIndex == script &&
                                         tables.Module(p.Module).Title == p.Title));
        RY_FUZZ_CHECK(p.Reason.find_first_of("\r\n") == std::string::npos);
    }
    const std::int16_t modules = tables.Script(script).ModuleCount;
    const std::string first = SaveAndRelease(tables, script);

    // The saved text may differ from the input (the saver writes its own layout), but once
    // saved, a script keeps its modules and its text settles: a VB Script text may gain one
    // line end on its first pass, so the second and third saves are compared.
    std::string previous = first;
    std::string texts[2];
    for (std::string& text : texts) {
        script = LoadText(tables, host, previous);
        RY_FUZZ_CHECK(script >= 1);
        CheckLoadedScript(tables, script);
        RY_FUZZ_CHECK(tables.Script(script).ModuleCount == modules);
        text = SaveAndRelease(tables, script);
        previous = text;
    }
    RY_FUZZ_CHECK(texts[0] == texts[1]);
    return 0;
}
