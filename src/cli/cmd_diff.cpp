#include "cli_host.h"
#include "commands.h"
#include "json_writer.h"
#include "options.h"
#include "terminal_text.h"

#include "diff/module_settings.h"
#include "diff/script_diff.h"
#include "paths/destinations.h"
#include "script/text.h"

#include <cstdlib>
#include <memory>
#include <ostream>

namespace ry::cli {

namespace {

// A script read for comparing, in tables of its own: two 1000-module scripts do not fit in
// one pool. Git names "/dev/null" for the side of an added or deleted file: an empty script.
struct ReadScript {
    std::unique_ptr<ScriptTables> Tables = std::make_unique<ScriptTables>();
    std::int16_t Script = -1;
};

std::optional<ReadScript> ReadForDiff(const std::string& file, const std::string& password,
                                      std::ostream& err) {
    ReadScript read;
    if (file == "/dev/null") {
        read.Script = read.Tables->MemStructRys_Get();
        return read;
    }
    CliHost host(err, password);
    auto script = LoadScriptForCommand(*read.Tables, host, file, err);
    if (!script)
        return std::nullopt;
    read.Script = *script;
    return read;
}

// The password for protected scripts: the option, else RYS_PASSWORD (git passes no options).
std::string PasswordOf(const ReadArgs& read) {
    if (auto given = read.Value("--password"))
        return *given;
    const char* env = std::getenv("RYS_PASSWORD");
    return env ? env : "";
}

void WriteSetting(JsonWriter& json, const SettingChange& s) {
    json.BeginObject();
    json.String("setting", s.Caption);
    if (s.Secret) {
        json.Bool("secret", true);
    } else {
        json.String("old", Cp1252ToUtf8(s.Old));
        json.String("new", Cp1252ToUtf8(s.New));
    }
    json.EndObject();
}

std::string_view PathKindName(PathChange::Kind kind) {
    switch (kind) {
    case PathChange::Kind::Added:
        return "added";
    case PathChange::Kind::Removed:
        return "removed";
    case PathChange::Kind::Retargeted:
        return "retargeted";
    case PathChange::Kind::Reworded:
        break;
    }
    return "reworded";
}

std::string_view ModuleKindName(ModuleChange::Kind kind) {
    switch (kind) {
    case ModuleChange::Kind::Added:
        return "added";
    case ModuleChange::Kind::Removed:
        return "removed";
    case ModuleChange::Kind::Changed:
        break;
    }
    return "changed";
}

void WriteJson(const ScriptDiff& diff, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Bool("same_meaning", diff.SameMeaning());
    json.BeginArray("script");
    for (const SettingChange& s : diff.Properties)
        WriteSetting(json, s);
    json.EndArray();
    json.BeginArray("modules");
    for (const ModuleChange& m : diff.Modules) {
        json.BeginObject();
        json.String("module", Cp1252ToUtf8(m.Title));
        json.String("type", Cp1252ToUtf8(m.Type));
        json.String("change", ModuleKindName(m.What));
        if (m.Renamed())
            json.String("renamed_from", Cp1252ToUtf8(m.OldTitle));
        json.BeginArray("settings");
        for (const SettingChange& s : m.Settings)
            WriteSetting(json, s);
        json.EndArray();
        json.BeginArray("paths");
        for (const PathChange& p : m.Paths) {
            json.BeginObject();
            json.String("change", PathKindName(p.What));
            if (p.What != PathChange::Kind::Reworded) {
                json.String("trigger", Cp1252ToUtf8(p.Trigger));
                json.String("to", Cp1252ToUtf8(p.Destination));
            }
            if (p.What == PathChange::Kind::Retargeted)
                json.String("was", Cp1252ToUtf8(p.OldDestination));
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("moved");
    for (const BoxMove& b : diff.Moves) {
        json.BeginObject();
        json.String("module", Cp1252ToUtf8(b.Title));
        json.BeginArray("from");
        json.Number(b.OldX);
        json.Number(b.OldY);
        json.EndArray();
        json.BeginArray("to");
        json.Number(b.NewX);
        json.Number(b.NewY);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    out << "\n";
}

void WriteLines(const ScriptDiff& diff, bool positions, std::ostream& out) {
    for (const std::string& line : DiffLines(diff, positions))
        out << TerminalText(line) << "\n";
}

} // namespace

// Compares two scripts. Exit status: 0 when they mean the same (only boxes moved, or nothing),
// 1 when they differ, 2 when one cannot be read or the command line is wrong.
int RunDiff(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "diff OLD NEW [--json] [--positions] [--password P]",
                               .flags = {"--json", "--positions"},
                               .options = {{"--password"}},
                               .minPositional = 2,
                               .maxPositional = 2,
                               .countMessage = "diff takes two script files"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    const std::string password = PasswordOf(*read);
    auto before = ReadForDiff(read->positional[0], password, err);
    auto after = ReadForDiff(read->positional[1], password, err);
    if (!before || !after)
        return 2;
    const ScriptDiff diff =
        DiffScripts(*before->Tables, before->Script, *after->Tables, after->Script);
    if (read->Flag("--json"))
        WriteJson(diff, out);
    else
        WriteLines(diff, read->Flag("--positions"), out);
    return diff.SameMeaning() ? 0 : 1;
}

// Git's external diff: PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE. Git stops at a
// non-zero exit, so a difference exits 0; only a script that cannot be read exits 2 (with the
// text diff's reader left to git).
int RunGitDiff(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "git-diff PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX "
                                        "NEW-MODE [--positions] [--password P]",
                               .flags = {"--positions"},
                               .options = {{"--password"}},
                               .minPositional = 7,
                               .maxPositional = 7,
                               .countMessage = "git-diff takes git's seven arguments"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    const auto& a = read->positional;
    const std::string password = PasswordOf(*read);
    auto before = ReadForDiff(a[1], password, err);
    auto after = ReadForDiff(a[4], password, err);
    if (!before || !after)
        return 2;
    const ScriptDiff diff =
        DiffScripts(*before->Tables, before->Script, *after->Tables, after->Script);
    out << "rys diff a/" << a[0] << " b/" << a[0] << "\n";
    if (a[1] == "/dev/null")
        out << "new script\n";
    else if (a[4] == "/dev/null")
        out << "deleted script\n";
    WriteLines(diff, read->Flag("--positions"), out);
    if (diff.SameMeaning() && diff.Moves.empty())
        out << "no change in meaning\n";
    return 0;
}

// A script as plain lines for git's textconv, so that `git log -p` and blame read script
// changes: the script's properties, then each module with its settings, paths and place.
int RunTextconv(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "textconv FILE [--password P]",
                               .options = {{"--password"}},
                               .minPositional = 1,
                               .maxPositional = 1,
                               .countMessage = "textconv takes one script file"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    auto script = ReadForDiff(read->positional[0], PasswordOf(*read), err);
    if (!script)
        return 2;
    const ScriptTables& t = *script->Tables;
    const ScriptRecord& s = t.Script(script->Script);
    auto line = [&](std::string_view caption, std::string_view value) {
        if (!value.empty())
            out << TerminalText(
                       std::string(caption) + ": " +
                       Cp1252ToUtf8(ReplaceAll(ReplaceAll(value, "\r\n", "\\n"), "\n", "\\n")))
                << "\n";
    };
    line("start module", s.StartModule);
    line("run at hangup", s.RunAtHangup);
    line("start without answer", s.StartWithoutAnswer ? "yes" : "");
    line("CT Media application", s.CtmAsiName);
    line("box height", s.DefaultModuleDisplayHeight);
    ForEachModule(t, script->Script, [&](std::int16_t, const ModuleRecord& m) {
        out << "\n[" << TerminalText(Cp1252ToUtf8(m.Title)) << "] " << Cp1252ToUtf8(m.Type) << "\n";
        // Only what differs from a new module of the type: the rest is the same in every one.
        ModuleRecord fresh;
        fresh.Type = m.Type;
        const std::vector<ModuleSetting> defaults = ModuleSettings(fresh);
        const std::vector<ModuleSetting> settings = ModuleSettings(m);
        for (size_t i = 0; i < settings.size(); ++i) {
            const ModuleSetting& setting = settings[i];
            if (i < defaults.size() && defaults[i].Value == setting.Value)
                continue;
            line("  " + setting.Caption, setting.Secret ? "(hidden)" : setting.Value);
        }
        for (const PathLink& link : PathLinks(m.PathText))
            out << TerminalText("  on " + Cp1252ToUtf8(Trim(link.Trigger)) + " \xE2\x86\x92 " +
                                (link.Destination ? Cp1252ToUtf8(*link.Destination)
                                                  : std::string("(no destination)")))
                << "\n";
        out << "  at " << m.PositionX << ", " << m.PositionY << "\n";
    });
    return 0;
}

} // namespace ry::cli
