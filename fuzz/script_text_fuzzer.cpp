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

namespace {

// The loader's reading of the lines without the step that settles the start module.
std::string WrittenStart(ry::ScriptTables& tables, ry::Host& host, std::string_view text) {
    std::int16_t script = tables.MemStructRys_Get();
    tables.Script(script).NotFromFile = false;
    std::int16_t module = -1;
    while (!text.empty()) {
        std::string_view line = ry::Trim(ry::TakeLine(text));
        if (ry::ProcessRysEntry(tables, host, script, module, line, text) < 0)
            break;
    }
    std::string start = tables.Script(script).StartModule;
    tables.MemStructRys_FreeAll(script);
    RY_FUZZ_CHECK(ry::fuzz::TablesAreWhole(tables));
    return start;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    using namespace ry::fuzz;
    ScriptTables& tables = SharedTables();
    QuietHost host;

    // The start module as the file writes it, read before the loader settles it. The checker's
    // own reading builds tables of its own, megabytes per input, so it is compared on short
    // inputs only.
    const std::string written = WrittenStart(tables, host, AsText(data, size));
    if (size <= 256)
        RY_FUZZ_CHECK(WrittenStartModule(AsText(data, size)) == written);

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
    options.CheckFiles = false;
    options.WrittenStartModule = written;
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
