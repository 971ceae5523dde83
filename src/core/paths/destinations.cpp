#include "paths/destinations.h"

#include "script/text.h"

namespace ry {

namespace {

// Forward search for one character from non-decreasing start positions. Remembers its last
// answer, so a text with many "on {" and no "}" or "[" is not searched to its end once per
// path line.
class ForwardFind {
public:
    ForwardFind(std::string_view text, char c) : text_(text), c_(c) {}

    std::size_t operator()(std::size_t from) {
        if (!valid_ || from < from_ || (hit_ != std::string_view::npos && hit_ < from)) {
            hit_ = text_.find(c_, from);
            from_ = from;
            valid_ = true;
        }
        return hit_;
    }

private:
    std::string_view text_;
    char c_;
    bool valid_ = false;
    std::size_t from_ = 0;
    std::size_t hit_ = std::string_view::npos;
};

} // namespace

std::vector<PathLink> PathLinks(std::string_view pathText) {
    constexpr auto npos = std::string_view::npos;
    std::vector<PathLink> found;
    ForwardFind findClose(pathText, '}');
    ForwardFind findOpen(pathText, '[');
    ForwardFind findShut(pathText, ']');
    ForwardFind findLineEnd(pathText, '\r');

    std::size_t at = IFind(pathText, "on {");
    while (at != npos) {
        std::size_t close = findClose(at);
        std::string_view trigger;
        if (close == npos) {
            close = at;
        } else {
            trigger = pathText.substr(at + 4, close - at - 4);
            trigger = trigger.substr(0, trigger.find_first_of("\r\n"));
        }
        // Without a destination the scan resumes just past where "} goto" would end.
        std::size_t next = close + 5;
        std::optional<std::string_view> title;
        std::size_t open = findOpen(close);
        std::size_t lineEnd = findLineEnd(close);
        if (open != npos && (lineEnd == npos || open < lineEnd)) {
            std::size_t shut = findShut(open);
            if (shut != npos) {
                if (shut > open + 1)
                    title = pathText.substr(open + 1, shut - open - 1);
                next = shut;
            }
        }
        found.push_back({trigger, title});
        at = next < pathText.size() ? IFind(pathText, "on {", next) : npos;
    }
    return found;
}

std::vector<std::optional<std::string_view>> PathDestinations(std::string_view pathText) {
    std::vector<std::optional<std::string_view>> titles;
    for (const PathLink& link : PathLinks(pathText))
        titles.push_back(link.Destination);
    return titles;
}

bool IsVoicemailDestination(std::string_view title) {
    if (IEquals(title, "Voicemail Box Menu") || IEquals(title, "Voicemail Retrieve") ||
        IEquals(title, "Voicemail Auto Attendant"))
        return true;
    constexpr std::string_view box = "Voicemail Box ";
    return IStartsWith(title, box) && !TrimBlanks(title.substr(box.size())).empty();
}

TitleIndex::TitleIndex(const ScriptTables& tables, int script) {
    if (!ScriptTables::IsScriptIndex(script))
        return;
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
        byTitle_.try_emplace(rec.Title, m); // the first module in chain order keeps the title
    });
}

std::int16_t TitleIndex::Find(std::string_view title) const {
    auto it = byTitle_.find(title);
    return it == byTitle_.end() ? std::int16_t{-1} : it->second;
}

std::vector<ScriptPath> ScriptPaths(const ScriptTables& tables, int script) {
    std::vector<ScriptPath> paths;
    if (!ScriptTables::IsScriptIndex(script))
        return paths;
    TitleIndex index(tables, script);
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
        int line = 0;
        for (const PathLink& link : PathLinks(rec.PathText)) {
            if (link.Destination)
                paths.push_back(
                    {m, index.Find(*link.Destination), line, link.Trigger, *link.Destination});
            ++line;
        }
    });
    return paths;
}

std::vector<Connector> ScriptConnectors(const ScriptTables& tables, int script) {
    std::vector<Connector> connectors;
    for (const ScriptPath& p : ScriptPaths(tables, script))
        if (p.To >= 1)
            connectors.push_back({p.From, p.To});
    return connectors;
}

} // namespace ry
