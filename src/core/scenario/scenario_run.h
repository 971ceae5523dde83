#pragma once

// Running a scenario's calls against a loaded script.

#include "scenario/scenario.h"
#include "script/records.h"
#include "walk/walk.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ry {

struct CallResult {
    bool Passed = false;
    // What was wanted and what the walk did, for a call that failed:
    // "want end hangup at Goodbye, got no-path at Sales after 1, success". UTF-8.
    std::string Failure;
    WalkResult Walk;
};

// Whether the call runs at a clock it or its file gives (`at`): then the clock alone answers
// Time Switches, and "true" or "false" given for one is a fault of the call.
bool ScenarioCallHasClock(const Scenario& scenario, const ScenarioCall& call);

// Walks the call through the script at `clock`, its forced Time Switch branches taken, and
// compares the walk with what the call wants: its end (and the module and destination, when
// given), every event taken, the visits in order and the values of the variables. A forced
// title must name a Time Switch of the script. With `clockOnly`, Time Switches take no event
// (walk/walk.h).
CallResult RunScenarioCall(const ScriptTables& tables, std::int16_t script,
                           const ScenarioCall& call, const DateTime& clock, bool clockOnly);

// The call a walk made, to be kept as a test: its events as given, the branches it forced, the
// end it reached, where, and the modules it entered.
ScenarioCall CallOfWalk(std::string name, const std::vector<std::string>& events,
                        const WalkResult& walk, const DateTime& clock);

} // namespace ry
