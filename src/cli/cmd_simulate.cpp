#include "cli_host.h"
#include "commands.h"
#include "json_writer.h"
#include "options.h"
#include "terminal_text.h"

#include "script/text.h"
#include "walk/time_switch.h"
#include "walk/walk.h"

#include <memory>
#include <optional>
#include <ostream>

namespace ry::cli {

namespace {

// "Main Menu (Play): 1 -> on {1} goto [Sales]"; the module the walk stopped at shows what
// happened there, if anything.
void WriteText(const WalkResult& walk, std::ostream& out) {
    // Script text as the terminal shows it: UTF-8, control characters escaped.
    auto shown = [](std::string_view text) { return TerminalText(Cp1252ToUtf8(text)); };
    for (const WalkStep& step : walk.Steps) {
        out << shown(step.Title) << " (" << shown(step.Type) << ")";
        if (step.Event)
            out << ": " << shown(*step.Event) << " -> "
                << (step.Path ? shown(*step.Path) : std::string("no path"));
        out << "\n";
    }
    const WalkEnding& end = walk.End;
    out << "end: " << WalkEndName(end.Reason);
    if (end.Module >= 1)
        out << " at " << shown(end.Title);
    if (!end.Destination.empty())
        out << ": " << shown(end.Destination);
    out << "\n";
    if (!walk.UnusedEvents.empty()) {
        out << "unused events:";
        for (const std::string& event : walk.UnusedEvents)
            out << " " << shown(event);
        out << "\n";
    }
}

void TextOrNull(JsonWriter& json, std::string_view key, const std::optional<std::string>& text) {
    if (text)
        json.String(key, Cp1252ToUtf8(*text));
    else
        json.Null(key);
}

void WriteJson(const WalkResult& walk, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.BeginArray("steps");
    for (const WalkStep& step : walk.Steps) {
        json.BeginObject();
        json.String("module", Cp1252ToUtf8(step.Title));
        json.String("type", Cp1252ToUtf8(step.Type));
        TextOrNull(json, "event", step.Event);
        TextOrNull(json, "path", step.Path);
        json.EndObject();
    }
    json.EndArray();
    const WalkEnding& end = walk.End;
    json.BeginObject("end");
    json.String("reason", WalkEndName(end.Reason));
    TextOrNull(json, "module", end.Module >= 1 ? std::optional(end.Title) : std::nullopt);
    const bool named =
        end.Reason == WalkEnd::Voicemail || end.Reason == WalkEnd::UnknownDestination;
    TextOrNull(json, "destination", named ? std::optional(end.Destination) : std::nullopt);
    json.EndObject();
    json.BeginArray("variables");
    for (const WalkVariable& v : walk.Variables) {
        json.BeginObject();
        json.String("name", Cp1252ToUtf8(v.Name));
        json.String("value", Cp1252ToUtf8(v.Value));
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("unused_events");
    for (const std::string& event : walk.UnusedEvents)
        json.String(Cp1252ToUtf8(event));
    json.EndArray();
    json.EndObject();
}

} // namespace

// Walks a script with the events given, Time Switches answered at the clock of --at (default
// now). Exit status: 0 when the call ends at a hangup, a transfer or in voicemail with every
// event taken, 1 otherwise, 2 for a usage error or a script that does not load.
int RunSimulate(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{
        .usage = "simulate FILE [--json] [--at \"YYYY-MM-DD HH:MM\"] [--password P] EVENT...",
        .flags = {"--json"},
        .options = {{"--password"}, {"--at", "a date and time"}},
        .minPositional = 1,
        .maxPositional = kAnyNumber,
        .countMessage = "simulate takes a script file and the events of the call"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    std::optional<DateTime> clock = DateTime::Now();
    // A clock given answers every Time Switch: "true" or "false" for one is then a fault.
    TimeSwitchRule rule;
    if (const auto at = read->Value("--at")) {
        rule.ClockOnly = true;
        clock = ParseClock(*at);
        if (!clock)
            return UsageError(err, syntax, "--at takes a date and time as \"YYYY-MM-DD HH:MM\"");
    }

    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, read->Value("--password").value_or(""));
    const Args& positional = read->positional;
    auto script = LoadScriptForCommand(*tables, host, positional[0], err);
    if (!script)
        return 2;
    std::vector<std::string> events;
    for (auto it = positional.begin() + 1; it != positional.end(); ++it)
        events.push_back(Utf8ToCp1252(*it));
    const WalkResult walk = WalkScript(*tables, *script, events, clock, rule);
    if (walk.End.Reason == WalkEnd::TimeSwitchEvent)
        err << "rys: " << Cp1252ToUtf8(TimeSwitchEventText(walk))
            << "; leave out --at to choose its branch\n";
    if (read->Flag("--json"))
        WriteJson(walk, out);
    else
        WriteText(walk, out);
    return WalkEndIsClean(walk.End.Reason) && walk.UnusedEvents.empty() ? 0 : 1;
}

} // namespace ry::cli
