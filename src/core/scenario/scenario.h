#pragma once

// Scenario files: a script's calls written down as tests. A scenario is YAML (UTF-8) naming
// a script, relative to the file, and a list of calls, each with the events the caller and the
// line give and the end the call must reach:
//
//   script: office-line.rys
//   at: 2026-12-09 09:30             # clock for Time Switches; per call too
//   calls:
//     - name: sales answers
//       events: [timeout, 1, success]
//       force: {Office Hours: true}  # a Time Switch's branch, whatever the clock
//       end: hangup                  # a walk end word
//       visits: [Main Menu, Sales]   # entered in this order, not necessarily adjacent
//       module: Goodbye              # where the call ends
//       destination: Voicemail Box 200
//       variables: {Reason: sales busy}
//
// A call with a clock (its own `at` or the file's) leaves Time Switches to the clock: "true"
// and "false" are never their events, and `force` is the one way to choose a branch by hand.
// A key the format does not know is an error: a misspelt expectation must never pass. So is
// a name given twice, among the keys or the variables, and anything after the file's one YAML
// document (a second "---", or text after "...").

#include "script/datetime.h"
#include "walk/walk.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ry {

// Scenario files are small; a larger file is not read as one.
inline constexpr std::uint64_t kScenarioSizeLimit = 16u << 20;

// The most events a call may give (as many as a walk enters modules), and the most items of
// its visits and variables.
inline constexpr std::size_t kScenarioListLimit = kWalkStepLimit;

struct ScenarioCall {
    std::string Name; // UTF-8, as the file holds it
    // The rest is Windows-1252, as the script's own text.
    std::vector<std::string> Events;
    // Time Switch titles and the branch each takes, whatever the clock, in the file's order.
    std::vector<std::pair<std::string, bool>> Force;
    std::optional<DateTime> At;
    WalkEnd End = WalkEnd::None;
    std::optional<std::string> Module;
    std::optional<std::string> Destination;
    std::vector<std::string> Visits;
    std::vector<std::pair<std::string, std::string>> Variables; // in the file's order
    int Line = 0; // where the call begins in the file, from 1
};

struct Scenario {
    std::string Script; // the script's file name as written: host text, "/" or "\"
    std::optional<DateTime> At;
    std::vector<ScenarioCall> Calls;
};

struct ScenarioError {
    int Line = 0; // from 1; 0 when no line is to blame
    std::string Message;
};

// Reads a scenario file's text; on failure `error` says what and where.
std::optional<Scenario> ParseScenario(std::string_view text, ScenarioError& error);

// The clock a call runs at: its own, else the file's, else `now`.
DateTime ScenarioClock(const Scenario& scenario, const ScenarioCall& call, const DateTime& now);

// "2026-12-09 09:30" (seconds only when not zero), as `at` takes it.
std::string ScenarioClockText(const DateTime& clock);

// The call as one item of the calls list, each line indented by `indent` spaces, ending in a
// line end.
std::string ScenarioCallText(const ScenarioCall& call, int indent = 2);

// A new scenario file for the script `scriptName` holding one call.
std::string NewScenarioText(std::string_view scriptName, const ScenarioCall& call);

// `text` with the call added at the end of its calls list, keeping every other line and
// comment as it was; nothing when the file is not one this can append to (the calls list is
// not the file's last, or is written in brackets), with `error` saying why.
std::optional<std::string> AppendScenarioCall(std::string_view text, const ScenarioCall& call,
                                              ScenarioError& error);

} // namespace ry
