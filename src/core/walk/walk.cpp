#include "walk/walk.h"

#include "paths/path_line.h"
#include "paths/path_text.h"
#include "script/module_types.h"
#include "script/text.h"
#include "walk/module_summary.h"
#include "walk/time_switch.h"

#include <array>

namespace ry {

namespace {

constexpr std::string_view kTimeout = "timeout";

// The caption Evaluate and Time Switch offer in the paths panel for a value typed in its
// place: no event of a call.
constexpr std::string_view kResultPlaceholder = "Insert Result Here";

constexpr std::array kEnds = {
    WalkEnd::Hangup,       WalkEnd::Transferred, WalkEnd::Voicemail,
    WalkEnd::Return,       WalkEnd::NoPath,      WalkEnd::UnknownDestination,
    WalkEnd::NoMoreEvents, WalkEnd::StepLimit,   WalkEnd::EmptyScript};
// Ends a call may want; a TimeSwitchEvent end is a fault of the events, never wanted.

bool IsTrueOrFalse(std::string_view event) {
    const std::string e = ToLowerAnsi(TrimBlanks(event));
    return e == "true" || e == "false";
}

// A path in the normal form on one line: "on {1} goto [A] rvset [n]{v}".
std::string OneLine(const PathParts& path) {
    std::string text = PathText(path);
    if (text.ends_with(kCrLf))
        text.resize(text.size() - kCrLf.size());
    return ReplaceAll(text, kCrLf, " ");
}

// The name and value of each [name]{value} of an assignment block.
void ReadAssignments(std::string_view block, std::size_t step, std::vector<WalkVariable>& out) {
    while (!block.empty()) {
        std::string_view line = TakeLine(block);
        std::size_t shut = line.find(']');
        std::size_t open = line.find('{', shut == std::string_view::npos ? 0 : shut);
        if (!line.starts_with('[') || shut == std::string_view::npos ||
            open == std::string_view::npos || !line.ends_with('}'))
            continue;
        out.push_back({std::string(line.substr(1, shut - 1)),
                       std::string(line.substr(open + 1, line.size() - open - 2)), step});
    }
}

} // namespace

bool TriggerMatches(std::string_view trigger, std::string_view event) {
    const std::string t = ToLowerAnsi(TrimBlanks(trigger));
    const std::string e = ToLowerAnsi(TrimBlanks(event));
    return t == e || (e == kTimeout && t.starts_with(kTimeout));
}

std::string TriggerKey(std::string_view trigger) {
    std::string key = ToLowerAnsi(TrimBlanks(trigger));
    if (key.starts_with(kTimeout))
        key = kTimeout;
    return key;
}

std::string_view WalkEndName(WalkEnd end) {
    switch (end) {
    case WalkEnd::None:
        return {};
    case WalkEnd::Hangup:
        return "hangup";
    case WalkEnd::Transferred:
        return "transferred";
    case WalkEnd::Voicemail:
        return "voicemail";
    case WalkEnd::Return:
        return "return";
    case WalkEnd::NoPath:
        return "no-path";
    case WalkEnd::UnknownDestination:
        return "unknown-destination";
    case WalkEnd::NoMoreEvents:
        return "no-more-events";
    case WalkEnd::StepLimit:
        return "step-limit";
    case WalkEnd::EmptyScript:
        return "empty-script";
    case WalkEnd::TimeSwitchEvent:
        return "time-switch-event";
    }
    return {};
}

std::optional<WalkEnd> WalkEndFromName(std::string_view name) {
    for (WalkEnd end : kEnds)
        if (WalkEndName(end) == name)
            return end;
    return std::nullopt;
}

bool WalkEndIsClean(WalkEnd end) {
    return end == WalkEnd::Hangup || end == WalkEnd::Transferred || end == WalkEnd::Voicemail;
}

std::int16_t DestinationModule(const TitleIndex& titles, std::string_view title) {
    std::int16_t m = titles.Find(title);
    if (m < 1) {
        std::size_t shut = title.find(']');
        if (shut != std::string_view::npos)
            m = titles.Find(title.substr(0, shut));
    }
    return m;
}

ScriptWalk::ScriptWalk(const ScriptTables& tables, std::int16_t script,
                       std::optional<DateTime> clock, TimeSwitchRule rule)
    : tables_(tables), titles_(tables, script), clock_(clock), rule_(std::move(rule)) {
    std::int16_t start = -1;
    std::int16_t first = -1;
    std::string startTitle;
    if (ScriptTables::IsScriptIndex(script)) {
        startTitle = tables.Script(script).StartModule;
        start = titles_.Find(startTitle);
        ForEachModule(tables, script, [&](std::int16_t m, const ModuleRecord& rec) {
            if (first < 1)
                first = m;
            if (start < 1 && IEquals(rec.Title, startTitle))
                start = m;
        });
    }
    if (start < 1)
        start = first;
    if (start < 1) {
        // A script without modules: the call has nowhere to start.
        Stop(WalkEnd::EmptyScript);
        return;
    }
    Enter(start);
}

void ScriptWalk::Enter(std::int16_t module) {
    const ModuleRecord& m = tables_.Module(module);
    WalkStep step;
    step.Module = module;
    step.Title = m.Title;
    step.Type = m.Type;
    steps_.push_back(std::move(step));
    if (m.Type == kTypeHangup)
        Stop(WalkEnd::Hangup);
    else if (steps_.size() >= kWalkStepLimit)
        Stop(WalkEnd::StepLimit);
}

void ScriptWalk::Stop(WalkEnd reason, std::string destination) {
    end_.Reason = reason;
    end_.Module = Current();
    end_.Title = steps_.empty() ? std::string() : steps_.back().Title;
    end_.Destination = std::move(destination);
}

void ScriptWalk::GoTo(std::string_view destination) {
    std::string_view title = destination.starts_with('[') && destination.ends_with(']')
                                 ? Undelimited(destination)
                                 : destination;
    // A module that bears a voicemail destination's title is a module, as the canvas draws it.
    if (std::int16_t to = DestinationModule(titles_, title); to >= 1)
        Enter(to);
    else if (IsVoicemailDestination(title))
        Stop(WalkEnd::Voicemail, std::string(title));
    else
        Stop(WalkEnd::UnknownDestination, std::string(title));
}

std::vector<std::string> ScriptWalk::OfferedEvents() const {
    std::vector<std::string> offered;
    if (Ended() || steps_.empty())
        return offered;
    auto taken = [&](std::string_view event) {
        for (const std::string& o : offered)
            if (TriggerMatches(o, event))
                return true;
        return false;
    };
    const ModuleRecord& m = tables_.Module(Current());
    for (const PathParts& p : ReadPaths(m.PathText)) {
        std::string_view trigger = TrimBlanks(Undelimited(p.Trigger));
        if (!taken(trigger))
            offered.emplace_back(trigger);
    }
    for (std::string_view caption : TriggerCaptions(m.Type)) {
        if (caption == kResultPlaceholder)
            continue;
        std::string event = cmbTrig2Act(caption);
        if (!taken(event))
            offered.push_back(std::move(event));
    }
    return offered;
}

std::optional<std::string> ScriptWalk::ClockAnswer() const {
    if (Ended() || steps_.empty() || !clock_)
        return std::nullopt;
    const ModuleRecord& m = tables_.Module(Current());
    if (m.Type != kTypeTimeSwitch)
        return std::nullopt;
    const std::optional<DateTime> moment = TimeSwitchMoment(m, *clock_);
    if (!moment)
        return std::nullopt;
    return std::string(TimeSwitchHolds(m, *moment) ? "true" : "false");
}

std::optional<ScriptWalk::SwitchAnswer> ScriptWalk::Answer() const {
    if (Ended() || steps_.empty())
        return std::nullopt;
    const ModuleRecord& m = tables_.Module(Current());
    if (m.Type != kTypeTimeSwitch)
        return std::nullopt;
    for (const auto& [title, branch] : rule_.Forced)
        if (IEquals(TrimBlanks(title), TrimBlanks(m.Title)))
            return SwitchAnswer{branch, true, {}};
    if (!clock_)
        return std::nullopt;
    const std::optional<DateTime> moment = TimeSwitchMoment(m, *clock_);
    if (!moment)
        return std::nullopt;
    TimeSwitchVerdict verdict = JudgeTimeSwitch(m, *moment);
    return SwitchAnswer{verdict.Holds, false, std::move(verdict.Why)};
}

void ScriptWalk::AnswerTimeSwitches(std::string_view event) {
    if (!rule_.ClockOnly && IsTrueOrFalse(event))
        return;
    // Each answer enters a module, so a ring of Time Switches stops at the step limit.
    while (!Ended()) {
        std::optional<SwitchAnswer> answer = Answer();
        if (!answer)
            return;
        const std::size_t at = steps_.size() - 1;
        switchPassed_ = Current();
        steps_[at].Forced = answer->Forced;
        steps_[at].Why = std::move(answer->Why);
        TakeHere(answer->Holds ? "true" : "false", true);
    }
}

bool ScriptWalk::Take(std::string_view event) {
    AnswerTimeSwitches(event);
    if (steps_.empty())
        return false;
    if (rule_.ClockOnly && IsTrueOrFalse(event) &&
        (!Ended() || (switchPassed_ >= 1 && end_.Reason != WalkEnd::TimeSwitchEvent))) {
        // Meant for a Time Switch: the one the walk waits at, or the one just passed when the
        // module after it has no use for the event (or the call ended there).
        const bool atSwitch = !Ended() && tables_.Module(Current()).Type == kTypeTimeSwitch;
        if (atSwitch || (switchPassed_ >= 1 && (Ended() || !PathTaking(event)))) {
            const std::int16_t module = atSwitch ? Current() : switchPassed_;
            Stop(WalkEnd::TimeSwitchEvent);
            end_.Module = module;
            end_.Title = tables_.Module(module).Title;
            return false;
        }
    }
    if (Ended())
        return false;
    switchPassed_ = -1;
    TakeHere(event, false);
    return true;
}

namespace {

// The first of `paths` whose trigger takes `event`.
const PathParts* FirstTaking(const std::vector<PathParts>& paths, std::string_view event) {
    for (const PathParts& p : paths)
        if (TriggerMatches(Undelimited(p.Trigger), event))
            return &p;
    return nullptr;
}

} // namespace

std::optional<std::string> ScriptWalk::PathTaking(std::string_view event) const {
    if (Ended() || steps_.empty())
        return std::nullopt;
    const std::vector<PathParts> paths = ReadPaths(tables_.Module(Current()).PathText);
    const PathParts* taken = FirstTaking(paths, event);
    return taken ? std::optional(OneLine(*taken)) : std::nullopt;
}

void ScriptWalk::TakeHere(std::string_view event, bool answered) {
    WalkStep& step = steps_.back();
    step.Event = std::string(event);
    step.Answered = answered;
    const std::vector<PathParts> paths = ReadPaths(tables_.Module(step.Module).PathText);
    const PathParts* taken = FirstTaking(paths, event);
    if (!taken) {
        // A transfer that went through hands the call on; it needs no path of its own.
        const bool transferred = tables_.Module(step.Module).Type == kTypeTransferCall &&
                                 TriggerMatches("success", event);
        Stop(transferred ? WalkEnd::Transferred : WalkEnd::NoPath);
        return;
    }
    step.Path = OneLine(*taken);
    ReadAssignments(taken->Assignments, steps_.size() - 1, variables_);

    if (taken->Verb == "gosub") {
        remembered_.push_back({taken->ReturnTo.empty() ? step.Module : std::int16_t{-1},
                               std::string(taken->ReturnTo)});
        GoTo(taken->Destination);
    } else if (taken->Verb == "return") {
        if (!taken->ReturnTo.empty()) {
            if (!remembered_.empty())
                remembered_.pop_back();
            GoTo(taken->ReturnTo);
        } else if (remembered_.empty()) {
            Stop(WalkEnd::Return);
        } else {
            Remembered back = std::move(remembered_.back());
            remembered_.pop_back();
            if (back.Module >= 1)
                Enter(back.Module);
            else
                GoTo(back.Destination);
        }
    } else {
        GoTo(taken->Destination);
    }
}

void ScriptWalk::Finish() {
    AnswerTimeSwitches({});
    if (!Ended())
        Stop(WalkEnd::NoMoreEvents);
}

std::string WalkedText(const ScriptTables& tables, std::int16_t script) {
    if (!ScriptTables::IsScriptIndex(script))
        return {};
    // Fields end with a NUL, which no field holds, so no two scripts run together alike.
    std::string text = tables.Script(script).StartModule + '\0';
    ForEachModule(tables, script, [&](std::int16_t index, const ModuleRecord& m) {
        text += std::to_string(index) + '\0' + m.Title + '\0' + m.Type + '\0' + m.PathText + '\0';
        for (const std::string& line : ModuleSummary(m))
            text += line + '\0';
        text += '\0';
    });
    return text;
}

WalkResult WalkScript(const ScriptTables& tables, std::int16_t script,
                      const std::vector<std::string>& events, std::optional<DateTime> clock,
                      TimeSwitchRule rule) {
    ScriptWalk walk(tables, script, clock, std::move(rule));
    std::size_t used = 0;
    while (used < events.size() && walk.Take(events[used]))
        ++used;
    walk.Finish();
    return {
        walk.Steps(), walk.Variables(), walk.End(),
        std::vector<std::string>(events.begin() + static_cast<std::ptrdiff_t>(used), events.end())};
}

std::string TimeSwitchEventText(const WalkResult& walk) {
    const std::string event =
        walk.UnusedEvents.empty() ? std::string("true") : std::string(walk.UnusedEvents.front());
    std::string clock;
    for (const WalkStep& step : walk.Steps)
        if (step.Module == walk.End.Module && step.Answered && step.Event)
            clock = " (" + *step.Event + (step.Why.empty() ? "" : ": " + step.Why) + ")";
    return "\"" + event + "\" was given for the Time Switch " + walk.End.Title +
           (clock.empty() ? std::string(", which only the clock or a forced branch answers")
                          : ", which the clock answers" + clock);
}

} // namespace ry
