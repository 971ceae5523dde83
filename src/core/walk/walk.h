#pragma once

// A walk through a loaded script as a call would take it, one event at a time, without a
// telephone line: the caller or the line supplies each event ("1", "#", "timeout", "success",
// "Busy", a keyed number), and the first path of the current module whose trigger matches it
// is taken.
//
// The reading of the verbs is this walk's own; the engine's is its business:
//   goto [D]               enters D;
//   gosub [D]              remembers the calling module, or R when the line says
//                          "return [R]", and enters D;
//   return                 enters the module remembered last, forgetting it;
//   return [R]             enters R and forgets the module remembered last;
//   rvset [name]{value}    records the assignments in order.
//
// Given a clock, the walk answers a Time Switch itself (walk/time_switch.h) unless the event
// is "true" or "false", which still chooses the branch. Under the rule of the clock alone
// (TimeSwitchRule), a Time Switch takes no event: only a branch forced by the module's title
// overrides the clock, and a "true" or "false" given for a Time Switch ends the walk with
// WalkEnd::TimeSwitchEvent. A Transfer Call whose "success" no path takes has handed the call
// on.
//
// Text is Windows-1252, like the records it comes from.

#include "paths/destinations.h"
#include "script/datetime.h"
#include "script/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ry {

// Whether a trigger (the text between its braces) takes an event: the two compare equal once
// trimmed and in lower case, and the event "timeout" takes every trigger that begins with
// "timeout", whatever its seconds.
bool TriggerMatches(std::string_view trigger, std::string_view event);

// The events a trigger takes, as one key: two triggers of a module with the same key take the
// same events, so the later one is never taken. Every timeout has the key "timeout".
std::string TriggerKey(std::string_view trigger);

// The module a destination title leads to, or -1: the title read whole, inner brackets
// included, else up to its first "]" as the canvas reads it.
std::int16_t DestinationModule(const TitleIndex& titles, std::string_view title);

// How a walk ended.
enum class WalkEnd {
    None,               // still walking
    Hangup,             // at a "Hangup the Call" module
    Transferred,        // a Transfer Call succeeded with no path to take
    Voicemail,          // at a voicemail destination
    Return,             // at a return with nothing remembered
    NoPath,             // no path of the module takes the event
    UnknownDestination, // a destination that names no module
    NoMoreEvents,       // the events ran out
    StepLimit,          // kWalkStepLimit modules entered
    EmptyScript,        // the script has no module to start at
    TimeSwitchEvent,    // "true" or "false" given for a Time Switch the clock alone answers
};

// The end as a word for machines: "hangup", "transferred", "voicemail", "return", "no-path",
// "unknown-destination", "no-more-events", "step-limit", "empty-script"; empty for None.
std::string_view WalkEndName(WalkEnd end);
// The end a word names; nothing for a word that names none.
std::optional<WalkEnd> WalkEndFromName(std::string_view name);
// Whether a call that ends so went as a call should: a hangup, a transfer or voicemail.
bool WalkEndIsClean(WalkEnd end);

// A call that has entered this many modules is taken for one going round a loop.
inline constexpr std::size_t kWalkStepLimit = 1000;

// One module entered, and what happened there.
struct WalkStep {
    std::int16_t Module = -1;
    std::string Title;
    std::string Type;
    // The event taken at the module; nothing while the walk waits there, or when it ended on
    // entering.
    std::optional<std::string> Event;
    // The path taken with the event, in the normal form on one line (its assignment lines
    // joined with blanks); nothing when none was taken.
    std::optional<std::string> Path;
    // The event was the walk's own answer to a Time Switch at its clock, not one given.
    bool Answered = false;
    // The answer was forced by the module's title, whatever the clock.
    bool Forced = false;
    // For an answered Time Switch: why the clock chose its branch ("Saturday is not an open
    // day").
    std::string Why;
};

// How Time Switches are answered when a walk has a clock.
struct TimeSwitchRule {
    // The clock alone answers them: "true" and "false" are never their events.
    bool ClockOnly = false;
    // Branches chosen by hand, by the Time Switch's title (any letter case): true or false,
    // whatever the clock, at every visit.
    std::vector<std::pair<std::string, bool>> Forced;
};

// An assignment made on the way, with the step whose path made it.
struct WalkVariable {
    std::string Name;
    std::string Value;
    std::size_t Step = 0;

    friend bool operator==(const WalkVariable&, const WalkVariable&) = default;
};

struct WalkEnding {
    WalkEnd Reason = WalkEnd::None;
    // The module where the walk ended: the last one entered (-1 and empty when the script has
    // no modules); for TimeSwitchEvent, the Time Switch the event was given for.
    std::int16_t Module = -1;
    std::string Title;
    // For a voicemail end and an unknown destination: the destination, without brackets.
    std::string Destination;
};

// A walk over one script of the tables. It reads the records as they are at each step and
// keeps the index of titles it was started with: after an edit of the script, start a new
// walk. Titles and texts in the steps are copies, so the trace outlives the records.
class ScriptWalk {
public:
    // Enters the start module: the one the script's start module names (exactly, else in any
    // letter case, as loading accepts it), else the first module, as loading makes it.
    ScriptWalk(const ScriptTables& tables, std::int16_t script,
               std::optional<DateTime> clock = std::nullopt, TimeSwitchRule rule = {});

    bool Ended() const { return end_.Reason != WalkEnd::None; }
    const WalkEnding& End() const { return end_; }
    // The module the walk is at: the last one entered; -1 when none was.
    std::int16_t Current() const {
        return steps_.empty() ? std::int16_t{-1} : steps_.back().Module;
    }

    // The events to offer at the current module: the triggers of its own paths in path order
    // (trimmed, as written between the braces), then those its type offers in the paths panel
    // that no earlier event already takes. None once the walk has ended.
    std::vector<std::string> OfferedEvents() const;

    // The path of the current module that takes `event`, in the normal form on one line;
    // nothing when none does or the walk has ended.
    std::optional<std::string> PathTaking(std::string_view event) const;

    // The clock Time Switches are answered at; nothing leaves them to the events.
    const std::optional<DateTime>& Clock() const { return clock_; }
    // The branch the clock chooses at the current module when it is a Time Switch: "true" or
    // "false"; nothing otherwise or when the walk cannot tell.
    std::optional<std::string> ClockAnswer() const;
    // Passes the Time Switches the clock (or a forced branch) answers, from the current module
    // on, without waiting for the next event.
    void PassTimeSwitches() { AnswerTimeSwitches({}); }

    // Takes one event at the current module, after passing the Time Switches the clock
    // answers. Whether the event was taken: false once the walk has ended, before or on the
    // way.
    bool Take(std::string_view event);
    // The events have run out: the walk passes the Time Switches the clock answers, and one
    // still going ends with NoMoreEvents.
    void Finish();

    const std::vector<WalkStep>& Steps() const { return steps_; }
    const std::vector<WalkVariable>& Variables() const { return variables_; }

private:
    // Where a return goes: the calling module, or the destination its gosub line named.
    struct Remembered {
        std::int16_t Module = -1;
        std::string Destination;
    };

    void Enter(std::int16_t module);
    // Follows a destination written in brackets (or a bare title).
    void GoTo(std::string_view destination);
    void Stop(WalkEnd reason, std::string destination = {});
    // Takes the event at the current module, with nothing answered first.
    void TakeHere(std::string_view event, bool answered);
    // Passes the Time Switches the clock answers, unless `event` chooses the branch itself.
    void AnswerTimeSwitches(std::string_view event);
    // The branch taken at the current module when it is a Time Switch: forced, else the
    // clock's; nothing when neither tells.
    struct SwitchAnswer {
        bool Holds = false;
        bool Forced = false;
        std::string Why;
    };
    std::optional<SwitchAnswer> Answer() const;

    const ScriptTables& tables_;
    TitleIndex titles_;
    std::vector<WalkStep> steps_;
    std::vector<WalkVariable> variables_;
    std::vector<Remembered> remembered_;
    WalkEnding end_;
    std::optional<DateTime> clock_;
    TimeSwitchRule rule_;
    // The last Time Switch answered since an event was taken; -1 for none.
    std::int16_t switchPassed_ = -1;
};

// What a walk, and the summaries of the modules it enters, read of a script, as one text: an
// edit that leaves it as it was (a box moved, a box's text) changes nothing of a call.
std::string WalkedText(const ScriptTables& tables, std::int16_t script);

struct WalkResult {
    std::vector<WalkStep> Steps;
    std::vector<WalkVariable> Variables;
    WalkEnding End;
    // The events given that the walk never took: it ended before them.
    std::vector<std::string> UnusedEvents;
};

// A whole walk: the events taken in turn until the walk ends or they run out.
WalkResult WalkScript(const ScriptTables& tables, std::int16_t script,
                      const std::vector<std::string>& events,
                      std::optional<DateTime> clock = std::nullopt, TimeSwitchRule rule = {});

// Why a walk ended with WalkEnd::TimeSwitchEvent: "\"true\" was given for the Time Switch
// Office Hours, which the clock answers (false: Saturday is not an open day)".
std::string TimeSwitchEventText(const WalkResult& walk);

} // namespace ry
