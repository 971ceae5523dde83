// The rename rule on any script: the input's first line is a title entered for one of its
// modules (its first byte picks the module), the rest is the script text. After the rename no
// path text may still lead to the old title, and nothing but the renamed references, the
// module's title and the start module may change. The paths panel's rename of a text being
// edited must give the same texts.

#include "fuzz_support.h"
#include "paths/path_line.h"
#include "paths/rename.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The references replaced round by round until none is left: the plain reading of the rule,
// against which the rename's own way is checked on texts small enough for it.
std::string ReplacedRoundByRound(std::string text, std::string_view from, std::string_view to) {
    while (text.find(from) != std::string::npos)
        text = ry::ReplaceAll(text, from, to);
    return text;
}

bool HasDelimiter(std::string_view title) {
    return title.find_first_of("[]{}<>") != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    using namespace ry::fuzz;
    if (size < 1)
        return 0;
    ScriptTables& tables = SharedTables();
    QuietHost host;
    std::string_view text = AsText(data + 1, size - 1);
    const std::string entered(TakeLine(text));

    const std::string cleaned = CleanModuleTitle(entered);
    RY_FUZZ_CHECK(!HasDelimiter(cleaned) && Trim(cleaned) == cleaned);
    RY_FUZZ_CHECK(CleanModuleTitle(cleaned) == cleaned);

    std::int16_t script = LoadText(tables, host, text);
    if (script < 1)
        return 0;
    std::vector<std::int16_t> chain;
    std::vector<std::string> titles, paths;
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
        chain.push_back(m);
        titles.push_back(rec.Title);
        paths.push_back(rec.PathText);
    });
    if (chain.empty()) {
        tables.MemStructRys_FreeAll(script);
        return 0;
    }
    const std::size_t picked = data[0] % chain.size();
    const std::int16_t module = chain[picked];
    const std::string old = titles[picked];
    const std::string start = tables.Script(script).StartModule;

    TitleChange change = ApplyModuleTitle(tables, module, script, entered);

    // An untouched title, or one that cleans to the old one, changes nothing.
    const bool renamed = Trim(entered) != old && cleaned != old;
    RY_FUZZ_CHECK(change.Renamed == renamed);
    RY_FUZZ_CHECK(change.Title == (renamed ? cleaned : old));
    RY_FUZZ_CHECK(tables.Module(module).Title == change.Title);
    const bool startFollows = renamed && start == old;
    RY_FUZZ_CHECK(change.StartModuleRenamed == startFollows);
    RY_FUZZ_CHECK(tables.Script(script).StartModule == (startFollows ? cleaned : start));

    const std::string reference = "[" + old + "]";
    std::vector<std::int16_t> changed;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const ModuleRecord& rec = tables.Module(chain[i]);
        if (i != picked)
            RY_FUZZ_CHECK(rec.Title == titles[i]);
        if (rec.PathText != paths[i])
            changed.push_back(chain[i]);
        // No path is left leading to the old title, and only paths that led there change.
        if (renamed)
            RY_FUZZ_CHECK(rec.PathText.find(reference) == std::string::npos);
        if (!renamed || paths[i].find(reference) == std::string::npos)
            RY_FUZZ_CHECK(rec.PathText == paths[i]);
        else if (paths[i].size() <= 4096)
            RY_FUZZ_CHECK(rec.PathText ==
                          ReplacedRoundByRound(paths[i], reference, "[" + cleaned + "]"));
        // A paths panel being edited follows the same rule, also when the title stays.
        RY_FUZZ_CHECK(RenameInPathText(paths[i], old, change.Title) == rec.PathText);
    }
    RY_FUZZ_CHECK(change.ChangedPaths == changed);

    tables.MemStructRys_FreeAll(script);
    RY_FUZZ_CHECK(TablesAreWhole(tables));
    return 0;
}
