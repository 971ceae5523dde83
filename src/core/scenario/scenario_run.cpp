#include "scenario/scenario_run.h"

#include "script/module_types.h"
#include "script/text.h"

#include <algorithm>
#include <cstddef>

namespace ry {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return ToLowerAnsi(a) == ToLowerAnsi(b);
}

// `text` (UTF-8) cut to about `limit` bytes, saying how much was left out.
std::string Shortened(std::string text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    const std::size_t left = text.size() - cut;
    text.resize(cut);
    return text + "... (" + std::to_string(left) + " more bytes)";
}

// A failure message stays readable: long lists show their first and last few items, long
// items and long messages are cut, each saying how much was left out.
constexpr std::size_t kItemLimit = 80;
constexpr std::size_t kFailureLimit = 2000;

std::string Joined(const std::vector<std::string>& items) {
    constexpr std::size_t kFirst = 6, kLast = 4;
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i == kFirst && items.size() > kFirst + kLast + 1) {
            out += ", ... " + std::to_string(items.size() - kFirst - kLast) + " more ...";
            i = items.size() - kLast - 1;
            continue;
        }
        out += (out.empty() ? "" : ", ") + Shortened(Cp1252ToUtf8(items[i]), kItemLimit);
    }
    return out;
}

// "no-path at Sales", "voicemail at Main Menu to Voicemail Box 200".
std::string EndText(WalkEnd end, const std::optional<std::string>& module,
                    const std::optional<std::string>& destination) {
    std::string out(WalkEndName(end));
    if (module && !module->empty())
        out += " at " + Cp1252ToUtf8(*module);
    if (destination && !destination->empty())
        out += " to " + Cp1252ToUtf8(*destination);
    return out;
}

// Whether `wanted` are entered in this order among `entered`.
bool VisitedInOrder(const std::vector<std::string>& wanted,
                    const std::vector<std::string>& entered) {
    std::size_t next = 0;
    for (const std::string& title : entered)
        if (next < wanted.size() && SameText(title, wanted[next]))
            ++next;
    return next == wanted.size();
}

// Whether the script has a Time Switch of this title.
bool HasTimeSwitch(const ScriptTables& tables, std::int16_t script, std::string_view title) {
    bool found = false;
    ForEachModule(tables, script, [&](std::int16_t, const ModuleRecord& m) {
        found =
            found || (m.Type == kTypeTimeSwitch && IEquals(TrimBlanks(m.Title), TrimBlanks(title)));
    });
    return found;
}

} // namespace

bool ScenarioCallHasClock(const Scenario& scenario, const ScenarioCall& call) {
    return call.At.has_value() || scenario.At.has_value();
}

CallResult RunScenarioCall(const ScriptTables& tables, std::int16_t script,
                           const ScenarioCall& call, const DateTime& clock, bool clockOnly) {
    CallResult result;
    result.Walk = WalkScript(tables, script, call.Events, clock, {clockOnly, call.Force});
    const WalkResult& walk = result.Walk;
    const WalkEnding& end = walk.End;
    const std::vector<std::string> taken(call.Events.begin(),
                                         call.Events.end() -
                                             static_cast<std::ptrdiff_t>(walk.UnusedEvents.size()));
    std::vector<std::string> entered;
    for (const WalkStep& step : walk.Steps)
        entered.push_back(step.Title);

    std::vector<std::string> faults;
    // A branch forced for a title no Time Switch bears would never be taken.
    for (const auto& [title, branch] : call.Force)
        if (!HasTimeSwitch(tables, script, title))
            faults.push_back("want a Time Switch " + Cp1252ToUtf8(title) +
                             " to force, got no Time Switch of that title");
    const bool endWrong = end.Reason != call.End ||
                          (call.Module && !SameText(end.Title, *call.Module)) ||
                          (call.Destination && !SameText(end.Destination, *call.Destination));
    if (end.Reason == WalkEnd::TimeSwitchEvent) {
        // The events themselves are at fault, whatever the call wants.
        const std::string title = Cp1252ToUtf8(end.Title);
        const std::string event = walk.UnusedEvents.empty()
                                      ? std::string("true")
                                      : ToLowerAnsi(TrimBlanks(walk.UnusedEvents.front()));
        faults.push_back(Cp1252ToUtf8(TimeSwitchEventText(walk)) +
                         "; to choose its branch, write force: {" + title + ": " + event + "}");
    } else if (endWrong) {
        const std::optional<std::string> gotModule =
            end.Module >= 1 ? std::optional(end.Title) : std::nullopt;
        const std::optional<std::string> gotDestination =
            end.Destination.empty() ? std::nullopt : std::optional(end.Destination);
        faults.push_back("want end " + EndText(call.End, call.Module, call.Destination) + ", got " +
                         EndText(end.Reason, gotModule, gotDestination) + " after " +
                         (taken.empty() ? std::string("no events") : Joined(taken)));
    }
    if (!walk.UnusedEvents.empty() && end.Reason != WalkEnd::TimeSwitchEvent)
        faults.push_back("want every event taken, got " + Joined(walk.UnusedEvents) + " left over");
    if (!VisitedInOrder(call.Visits, entered))
        faults.push_back("want visits " + Joined(call.Visits) + ", got " + Joined(entered));
    for (const auto& [name, value] : call.Variables) {
        const WalkVariable* last = nullptr;
        for (const WalkVariable& v : walk.Variables)
            if (SameText(v.Name, name))
                last = &v;
        if (!last)
            faults.push_back("want " + Cp1252ToUtf8(name) + " = " + Cp1252ToUtf8(value) + ", got " +
                             Cp1252ToUtf8(name) + " never set");
        else if (last->Value != value)
            faults.push_back("want " + Cp1252ToUtf8(name) + " = " + Cp1252ToUtf8(value) + ", got " +
                             Cp1252ToUtf8(name) + " = " + Cp1252ToUtf8(last->Value));
    }
    result.Passed = faults.empty();
    for (const std::string& fault : faults)
        result.Failure += (result.Failure.empty() ? "" : "; ") + fault;
    result.Failure = Shortened(std::move(result.Failure), kFailureLimit);
    return result;
}

ScenarioCall CallOfWalk(std::string name, const std::vector<std::string>& events,
                        const WalkResult& walk, const DateTime& clock) {
    ScenarioCall call;
    call.Name = std::move(name);
    call.Events = events;
    call.At = clock;
    call.End = walk.End.Reason;
    if (walk.End.Module >= 1)
        call.Module = walk.End.Title;
    if (!walk.End.Destination.empty())
        call.Destination = walk.End.Destination;
    for (const WalkStep& step : walk.Steps) {
        call.Visits.push_back(step.Title);
        // A branch chosen by hand is kept as one, never as an event.
        const bool known = std::any_of(call.Force.begin(), call.Force.end(),
                                       [&](const auto& f) { return IEquals(f.first, step.Title); });
        if (step.Forced && step.Event && !known)
            call.Force.emplace_back(step.Title, *step.Event == "true");
    }
    return call;
}

} // namespace ry
