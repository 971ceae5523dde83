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

std::vector<std::optional<std::string_view>> PathDestinations(std::string_view pathText) {
    constexpr auto npos = std::string_view::npos;
    std::vector<std::optional<std::string_view>> found;
    ForwardFind findClose(pathText, '}');
    ForwardFind findOpen(pathText, '[');
    ForwardFind findShut(pathText, ']');
    ForwardFind findLineEnd(pathText, '\r');

    std::size_t at = IFind(pathText, "on {");
    while (at != npos) {
        std::size_t close = findClose(at);
        if (close == npos)
            close = at;
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
        found.push_back(title);
        at = next < pathText.size() ? IFind(pathText, "on {", next) : npos;
    }
    return found;
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

std::vector<Connector> ScriptConnectors(const ScriptTables& tables, int script) {
    std::vector<Connector> connectors;
    if (!ScriptTables::IsScriptIndex(script))
        return connectors;
    TitleIndex index(tables, script);
    ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
        for (const auto& title : PathDestinations(rec.PathText)) {
            if (!title)
                continue;
            std::int16_t to = index.Find(*title);
            if (to >= 1)
                connectors.push_back({m, to});
        }
    });
    return connectors;
}

} // namespace ry
