#pragma once

// The scenario file kept beside a script, as the Test Call panel saves calls into it and runs
// them: "office-line.tests.yaml" beside "office-line.rys".

#include "scenario/scenario.h"

#include <QString>

#include <optional>

namespace ry {

// The scenario file of the script at `scriptPath` (host text).
QString ScenarioFileOf(const QString& scriptPath);

struct ScenarioRead {
    std::optional<Scenario> scenario;
    QString problem; // why there is none: "" when the file is missing
};

// Reads and parses a scenario file; a missing file is no scenario and no problem.
ScenarioRead ReadScenarioFile(const QString& file);

// Adds the call at the end of the file, which is made for the script at `scriptPath` when it
// is missing; every other line of an existing file stays. "" when done, otherwise why not.
QString AddCallToScenarioFile(const QString& file, const QString& scriptPath,
                              const ScenarioCall& call);

} // namespace ry
