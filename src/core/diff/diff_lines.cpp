#include "diff/script_diff.h"

#include "script/text.h"

namespace ry {

namespace {

constexpr std::string_view kArrow = "\xE2\x86\x92"; // →
constexpr size_t kLongestValue = 120;

// A value on one line, in UTF-8: line ends shown as "\n", long ones cut.
std::string Shown(std::string_view value) {
    if (value.empty())
        return "(empty)";
    std::string text = ReplaceAll(ReplaceAll(value, "\r\n", "\\n"), "\n", "\\n");
    if (text.size() > kLongestValue)
        text = text.substr(0, kLongestValue) + "...";
    return Cp1252ToUtf8(text);
}

std::string Title(std::string_view title) {
    return Cp1252ToUtf8(title);
}

std::string PathLineText(const PathChange& p) {
    const std::string to =
        p.Destination.empty() ? std::string("(no destination)") : Title(p.Destination);
    std::string text = "on " + Cp1252ToUtf8(p.Trigger) + " " + std::string(kArrow) + " " + to;
    switch (p.What) {
    case PathChange::Kind::Added:
        return text + ", added";
    case PathChange::Kind::Removed:
        return text + ", removed";
    case PathChange::Kind::Retargeted:
        return text + ", was " +
               (p.OldDestination.empty() ? std::string("(no destination)")
                                         : Title(p.OldDestination));
    case PathChange::Kind::Reworded:
        break;
    }
    return "paths reworded, the same destinations";
}

std::string SettingText(const SettingChange& s) {
    if (s.Secret)
        return s.Caption + " changed";
    return s.Caption + " " + Shown(s.Old) + " " + std::string(kArrow) + " " + Shown(s.New);
}

} // namespace

std::vector<std::string> DiffLines(const ScriptDiff& diff, bool positions) {
    std::vector<std::string> lines;
    for (DiffEntry& e : DiffEntries(diff, positions))
        lines.push_back(std::move(e.Line));
    return lines;
}

std::vector<DiffEntry> DiffEntries(const ScriptDiff& diff, bool positions) {
    std::vector<DiffEntry> entries;
    for (const SettingChange& p : diff.Properties)
        entries.push_back({"script: " + SettingText(p)});
    for (const ModuleChange& m : diff.Modules) {
        const std::string head = Title(m.Title) + ": ";
        auto add = [&](std::string line) {
            entries.push_back({std::move(line), m.Module, m.What == ModuleChange::Kind::Removed});
        };
        switch (m.What) {
        case ModuleChange::Kind::Added:
            add(head + "added (" + Cp1252ToUtf8(m.Type) + ")");
            break;
        case ModuleChange::Kind::Removed:
            add(head + "removed (" + Cp1252ToUtf8(m.Type) + ")");
            break;
        case ModuleChange::Kind::Changed:
            if (m.Renamed())
                add(head + "renamed from " + Title(m.OldTitle));
            break;
        }
        for (const SettingChange& s : m.Settings)
            add(head + SettingText(s));
        for (const PathChange& p : m.Paths)
            add(head + PathLineText(p));
    }
    if (positions) {
        for (const BoxMove& b : diff.Moves)
            entries.push_back({Title(b.Title) + ": moved from " + std::to_string(b.OldX) + ", " +
                                   std::to_string(b.OldY) + " to " + std::to_string(b.NewX) + ", " +
                                   std::to_string(b.NewY),
                               b.Module});
    } else if (!diff.Moves.empty()) {
        entries.push_back({std::to_string(diff.Moves.size()) +
                           (diff.Moves.size() == 1 ? " box moved" : " boxes moved")});
    }
    return entries;
}

} // namespace ry
