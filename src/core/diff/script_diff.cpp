#include "diff/script_diff.h"

#include "diff/module_settings.h"
#include "paths/destinations.h"
#include "paths/path_line.h"
#include "script/record_fields.h"
#include "script/text.h"

#include <algorithm>
#include <functional>
#include <map>
#include <unordered_map>

namespace ry {

namespace {

// One script's modules in chain order, with the paths that lead to each title.
struct Side {
    const ScriptTables& Tables;
    std::vector<std::int16_t> Modules;
    std::unordered_map<std::string, std::vector<std::int16_t>> ByTitle;
    // title -> (source module, trigger) of every path naming it
    std::unordered_map<std::string, std::vector<std::pair<std::int16_t, std::string>>> Referrers;

    Side(const ScriptTables& tables, std::int16_t script) : Tables(tables) {
        ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
            Modules.push_back(m);
            ByTitle[rec.Title].push_back(m);
            for (const PathLink& link : PathLinks(rec.PathText))
                if (link.Destination)
                    Referrers[std::string(*link.Destination)].emplace_back(
                        m, std::string(Trim(link.Trigger)));
        });
    }
    const ModuleRecord& Rec(std::int16_t m) const { return Tables.Module(m); }
};

// Which new module each old one became, both ways.
struct Matching {
    std::map<std::int16_t, std::int16_t> OldToNew;
    std::map<std::int16_t, std::int16_t> NewToOld;

    void Pair(std::int16_t o, std::int16_t n) {
        OldToNew[o] = n;
        NewToOld[n] = o;
    }
};

// The module's type and settings in one text: equal for modules that differ only in title,
// paths and place.
std::string SettingsKey(const ModuleRecord& m) {
    std::string key = m.Type;
    for (const ModuleSetting& s : ModuleSettings(m)) {
        key += '\0';
        key += s.Key;
        key += '\0';
        key += s.Value;
    }
    return key;
}

using Referrers = std::vector<std::pair<std::string, std::string>>; // (new source title, trigger)

// The paths into old module `o`, with their sources named as in the new script, supposing `o`
// became `n`; nothing when a source has no counterpart yet.
std::optional<Referrers> OldReferrers(const Side& oldSide, const Side& newSide,
                                      const Matching& match, std::int16_t o, std::int16_t n) {
    Referrers out;
    auto found = oldSide.Referrers.find(oldSide.Rec(o).Title);
    if (found == oldSide.Referrers.end())
        return out;
    for (const auto& [source, trigger] : found->second) {
        std::int16_t counterpart = source == o ? n : -1;
        if (auto it = match.OldToNew.find(source); it != match.OldToNew.end())
            counterpart = it->second;
        if (counterpart < 1)
            return std::nullopt;
        out.emplace_back(newSide.Rec(counterpart).Title, trigger);
    }
    std::sort(out.begin(), out.end());
    return out;
}

Referrers NewReferrers(const Side& side, std::int16_t n) {
    Referrers out;
    if (auto found = side.Referrers.find(side.Rec(n).Title); found != side.Referrers.end())
        for (const auto& [source, trigger] : found->second)
            out.emplace_back(side.Rec(source).Title, trigger);
    std::sort(out.begin(), out.end());
    return out;
}

Matching MatchModules(const Side& oldSide, const Side& newSide) {
    Matching match;
    for (const auto& [title, olds] : oldSide.ByTitle) {
        auto found = newSide.ByTitle.find(title);
        if (found == newSide.ByTitle.end())
            continue;
        for (size_t i = 0; i < olds.size() && i < found->second.size(); ++i)
            match.Pair(olds[i], found->second[i]);
    }
    // Renames, until no more are found: a rename of a source can reveal the rename of the
    // module it leads to. Only modules of one type and the same settings can be one module
    // renamed: they share a key, so each is compared with those few alone.
    std::unordered_map<std::string, std::vector<std::int16_t>> unmatchedNew;
    for (std::int16_t n : newSide.Modules)
        if (!match.NewToOld.count(n))
            unmatchedNew[SettingsKey(newSide.Rec(n))].push_back(n);
    std::vector<std::pair<std::int16_t, const std::vector<std::int16_t>*>> unmatchedOld;
    for (std::int16_t o : oldSide.Modules)
        if (!match.OldToNew.count(o))
            if (auto found = unmatchedNew.find(SettingsKey(oldSide.Rec(o)));
                found != unmatchedNew.end())
                unmatchedOld.emplace_back(o, &found->second);
    for (bool progress = true; progress;) {
        progress = false;
        for (const auto& [o, sameKey] : unmatchedOld) {
            if (match.OldToNew.count(o))
                continue;
            std::int16_t chosen = -1;
            int candidates = 0;
            for (std::int16_t n : *sameKey) {
                if (match.NewToOld.count(n))
                    continue;
                const auto before = OldReferrers(oldSide, newSide, match, o, n);
                if (before && *before == NewReferrers(newSide, n)) {
                    ++candidates;
                    if (chosen < 1)
                        chosen = n;
                }
            }
            if (candidates == 1) {
                match.Pair(o, chosen);
                progress = true;
            }
        }
    }
    return match;
}

// An old title as the new script names the same module; titles of no module stay.
std::string NewName(const Side& oldSide, const Side& newSide, const Matching& match,
                    std::string_view oldTitle) {
    auto found = oldSide.ByTitle.find(std::string(oldTitle));
    if (found != oldSide.ByTitle.end())
        if (auto it = match.OldToNew.find(found->second.front()); it != match.OldToNew.end())
            return newSide.Rec(it->second).Title;
    return std::string(oldTitle);
}

// Whether every stored field but the title, paths and place is equal: most modules of two
// versions are, and need no settings listed.
bool SameStoredSettings(const ModuleRecord& a, const ModuleRecord& b) {
    bool same = true;
    VisitModuleFields(
        [&](const char* name, FieldKind kind, const auto& x, const auto& y) {
            if (!same || kind != FieldKind::Content)
                return;
            const std::string_view field = name;
            if (field != "Title" && field != "PathText" && field != "PositionX" &&
                field != "PositionY" && !(x == y))
                same = false;
        },
        a, b);
    return same;
}

std::vector<SettingChange> CompareSettings(const ModuleRecord& a, const ModuleRecord& b) {
    std::vector<SettingChange> out;
    if (SameStoredSettings(a, b))
        return out;
    const auto sa = ModuleSettings(a);
    const auto sb = ModuleSettings(b);
    std::map<std::string, const ModuleSetting*> before;
    for (const ModuleSetting& s : sa)
        before[s.Key] = &s;
    for (const ModuleSetting& s : sb) {
        auto found = before.find(s.Key);
        const std::string old = found == before.end() ? std::string() : found->second->Value;
        if (old != s.Value)
            out.push_back({s.Caption, old, s.Value, s.Secret});
        if (found != before.end())
            before.erase(found);
    }
    for (const auto& [key, s] : before) // a Time Switch's kind shows other settings
        if (!s->Value.empty())
            out.push_back({s->Caption, s->Value, "", s->Secret});
    return out;
}

struct Link {
    std::string Trigger;
    std::string Destination; // as the new script names it
    std::string Shown;       // as its own script names it
};

std::vector<Link> Links(std::string_view pathText,
                        const std::function<std::string(std::string_view)>& name) {
    std::vector<Link> out;
    for (const PathLink& l : PathLinks(pathText)) {
        std::string shown = l.Destination ? std::string(*l.Destination) : std::string();
        out.push_back({std::string(Trim(l.Trigger)), l.Destination ? name(shown) : shown, shown});
    }
    return out;
}

std::vector<PathChange> ComparePaths(const Side& oldSide, const Side& newSide,
                                     const Matching& match, const ModuleRecord& a,
                                     const ModuleRecord& b) {
    auto oldLinks =
        Links(a.PathText, [&](std::string_view t) { return NewName(oldSide, newSide, match, t); });
    auto newLinks = Links(b.PathText, [](std::string_view t) { return std::string(t); });
    const auto sameLinks = [&] {
        if (oldLinks.size() != newLinks.size())
            return false;
        for (size_t i = 0; i < oldLinks.size(); ++i)
            if (oldLinks[i].Trigger != newLinks[i].Trigger ||
                oldLinks[i].Destination != newLinks[i].Destination)
                return false;
        return true;
    }();

    std::vector<bool> oldUsed(oldLinks.size()), newUsed(newLinks.size());
    for (size_t j = 0; j < newLinks.size(); ++j)
        for (size_t i = 0; i < oldLinks.size(); ++i)
            if (!oldUsed[i] && oldLinks[i].Trigger == newLinks[j].Trigger &&
                oldLinks[i].Destination == newLinks[j].Destination) {
                oldUsed[i] = newUsed[j] = true;
                break;
            }
    std::vector<PathChange> out;
    for (size_t j = 0; j < newLinks.size(); ++j) {
        if (newUsed[j])
            continue;
        PathChange change{PathChange::Kind::Added, newLinks[j].Trigger, newLinks[j].Shown, {}};
        for (size_t i = 0; i < oldLinks.size(); ++i)
            if (!oldUsed[i] && IEquals(oldLinks[i].Trigger, newLinks[j].Trigger)) {
                oldUsed[i] = true;
                change.What = PathChange::Kind::Retargeted;
                change.OldDestination = oldLinks[i].Shown;
                break;
            }
        out.push_back(std::move(change));
    }
    for (size_t i = 0; i < oldLinks.size(); ++i)
        if (!oldUsed[i])
            out.push_back({PathChange::Kind::Removed, oldLinks[i].Trigger, oldLinks[i].Shown, {}});
    if (out.empty() && !sameLinks)
        out.push_back({PathChange::Kind::Reworded, {}, {}, {}});
    if (out.empty()) {
        // The same paths in the same order: anything else in the text (a comment, a blank
        // line) still changed the file's meaning for the engine's reader.
        std::string renamed = a.PathText;
        for (const Link& l : oldLinks)
            if (l.Destination != l.Shown)
                renamed = RenameInPathText(renamed, l.Shown, l.Destination);
        if (renamed != b.PathText)
            out.push_back({PathChange::Kind::Reworded, {}, {}, {}});
    }
    return out;
}

void CompareProperties(const ScriptRecord& a, const ScriptRecord& b, const Side& oldSide,
                       const Side& newSide, const Matching& match,
                       std::vector<SettingChange>& out) {
    auto compare = [&](std::string caption, std::string old, std::string now) {
        if (old != now)
            out.push_back({std::move(caption), std::move(old), std::move(now)});
    };
    const std::string startAsNew = NewName(oldSide, newSide, match, a.StartModule);
    if (startAsNew != b.StartModule)
        out.push_back({"start module", a.StartModule, b.StartModule});
    compare("run at hangup", a.RunAtHangup, b.RunAtHangup);
    compare("start without answer", a.StartWithoutAnswer ? "yes" : "no",
            b.StartWithoutAnswer ? "yes" : "no");
    compare("CT Media application", a.CtmAsiName, b.CtmAsiName);
    compare("box height", a.DefaultModuleDisplayHeight, b.DefaultModuleDisplayHeight);
    compare("version", a.Version, b.Version);
}

} // namespace

ScriptDiff DiffScripts(const ScriptTables& oldTables, std::int16_t oldScript,
                       const ScriptTables& newTables, std::int16_t newScript) {
    const Side oldSide(oldTables, oldScript);
    const Side newSide(newTables, newScript);
    const Matching match = MatchModules(oldSide, newSide);

    ScriptDiff diff;
    CompareProperties(oldTables.Script(oldScript), newTables.Script(newScript), oldSide, newSide,
                      match, diff.Properties);
    for (std::int16_t n : newSide.Modules) {
        const ModuleRecord& now = newSide.Rec(n);
        ModuleChange change;
        change.Title = now.Title;
        change.Type = now.Type;
        change.Module = n;
        auto found = match.NewToOld.find(n);
        if (found == match.NewToOld.end()) {
            change.What = ModuleChange::Kind::Added;
            for (const Link& l :
                 Links(now.PathText, [](std::string_view t) { return std::string(t); }))
                change.Paths.push_back({PathChange::Kind::Added, l.Trigger, l.Shown, {}});
            diff.Modules.push_back(std::move(change));
            continue;
        }
        const ModuleRecord& before = oldSide.Rec(found->second);
        if (before.Title != now.Title)
            change.OldTitle = before.Title;
        if (before.Type != now.Type)
            change.Settings.push_back({"type", before.Type, now.Type});
        for (SettingChange& s : CompareSettings(before, now))
            change.Settings.push_back(std::move(s));
        change.Paths = ComparePaths(oldSide, newSide, match, before, now);
        if (change.Renamed() || !change.Settings.empty() || !change.Paths.empty())
            diff.Modules.push_back(std::move(change));
        if (before.PositionX != now.PositionX || before.PositionY != now.PositionY)
            diff.Moves.push_back(
                {now.Title, n, before.PositionX, before.PositionY, now.PositionX, now.PositionY});
    }
    for (std::int16_t o : oldSide.Modules)
        if (!match.OldToNew.count(o)) {
            ModuleChange change;
            change.What = ModuleChange::Kind::Removed;
            change.Title = oldSide.Rec(o).Title;
            change.Type = oldSide.Rec(o).Type;
            change.Module = o;
            diff.Modules.push_back(std::move(change));
        }
    return diff;
}

} // namespace ry
