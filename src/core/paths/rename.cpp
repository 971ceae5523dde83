#include "paths/rename.h"

#include "script/text.h"

#include <utility>

namespace ry {

std::string CleanModuleTitle(std::string_view title) {
    std::string clean;
    clean.reserve(title.size());
    for (char c : Trim(title)) {
        switch (c) {
        case '[':
        case ']':
        case '{':
        case '}':
        case '<':
        case '>':
            break;
        default:
            clean.push_back(c);
        }
    }
    return std::string(Trim(clean));
}

namespace {

// Replaces `from` by `to` until none is left. A replacement can make a new `from` only out of
// the inserted `to` and its neighbours; when `to` has no brackets (it is a cleaned title in
// brackets), that needs `from` to be longer than `to`, and then each round shortens the text.
// A `to` that holds `from` would make a new one each round, so it gets one round only.
std::string ReplaceRoundByRound(std::string text, std::string_view from, std::string_view to) {
    if (to.find(from) != std::string_view::npos)
        return ReplaceAll(text, from, to);
    while (text.find(from) != std::string::npos)
        text = ReplaceAll(text, from, to);
    return text;
}

} // namespace

// For an old title without "]" (no title read from a file or cleaned by a dialog has one) the
// replacements are made in one pass, whatever the depth of the brackets around the title.
// Then `from` holds no "]" but its last character, so no two occurrences overlap and the order
// of the replacements does not change the result. Each "]" written out is where an occurrence
// may end; a new one made by a replacement ends with the `to` just put in, so it is looked for
// right there, comparing only the part before that `to`. Characters compared without a match
// lie before a "]" that no later occurrence reaches across, so none is compared twice.
std::string ReplaceTitleReferences(std::string_view pathText, std::string_view oldTitle,
                                   std::string_view newTitle) {
    const std::string from = "[" + std::string(oldTitle) + "]";
    const std::string to = "[" + std::string(newTitle) + "]";
    if (from == to || pathText.find(from) == std::string_view::npos)
        return std::string(pathText);
    if (oldTitle.find(']') != std::string_view::npos)
        return ReplaceRoundByRound(std::string(pathText), from, to);
    const std::size_t n = from.size();
    const bool remade = to.size() < n && from.ends_with(to);
    std::string out;
    out.reserve(pathText.size());
    std::size_t open = 0; // out holds no "]" from here on, its last character excepted
    for (char c : pathText) {
        out.push_back(c);
        if (c != ']')
            continue;
        std::size_t compared = n;
        while (out.size() >= open + n &&
               out.compare(out.size() - n, compared, from, 0, compared) == 0) {
            out.resize(out.size() - n);
            out.append(to);
            if (!remade)
                break;
            compared = n - to.size();
        }
        open = out.size();
    }
    return out;
}

TitleChange RenameModuleInPaths(ScriptTables& tables, std::string_view oldTitle,
                                std::string_view newTitle, std::int16_t module,
                                std::int16_t script) {
    // Copies: either title may be a view of the very record this function renames.
    const std::string oldT(oldTitle);
    TitleChange change;
    change.Title = CleanModuleTitle(newTitle);
    if (change.Title == oldT)
        return change;
    change.Renamed = true;

    if (ScriptTables::IsScriptIndex(script)) {
        const std::string from = "[" + oldT + "]";
        ForEachModule(tables, script, [&](std::int16_t m, ModuleRecord& rec) {
            if (rec.PathText.find(from) == std::string::npos)
                return;
            rec.PathText = ReplaceTitleReferences(rec.PathText, oldT, change.Title);
            change.ChangedPaths.push_back(m);
        });
        ScriptRecord& s = tables.Script(script);
        if (s.StartModule == oldT) {
            s.StartModule = change.Title;
            change.StartModuleRenamed = true;
        }
    }
    if (ScriptTables::IsModuleIndex(module))
        tables.Module(module).Title = change.Title;
    return change;
}

TitleChange ApplyModuleTitle(ScriptTables& tables, std::int16_t module, std::int16_t script,
                             std::string_view enteredTitle) {
    if (!ScriptTables::IsModuleIndex(module))
        return {};
    const std::string old = tables.Module(module).Title;
    // A title that was not touched is left as it is, even one read from a file with brackets
    // in it: cleaning it would rename the module each time its dialog applies.
    if (Trim(enteredTitle) == old) {
        TitleChange same;
        same.Title = old;
        return same;
    }
    return RenameModuleInPaths(tables, old, enteredTitle, module, script);
}

} // namespace ry
