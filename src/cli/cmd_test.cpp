#include "cli_host.h"
#include "commands.h"
#include "junit_writer.h"
#include "options.h"
#include "terminal_text.h"

#include "scenario/scenario.h"
#include "scenario/scenario_run.h"
#include "script/file_io.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>

namespace ry::cli {

namespace {

// The script a scenario names: relative to the scenario file's folder, "\" taken as "/".
std::string ScriptPathOf(const std::string& scenarioFile, std::string script) {
    std::replace(script.begin(), script.end(), '\\', '/');
    const std::filesystem::path path(script);
    if (path.is_absolute())
        return script;
    return (std::filesystem::path(scenarioFile).parent_path() / path).string();
}

struct FileOutcome {
    JUnitSuite suite;
    int passed = 0;
    int failed = 0;
};

// A file the run reads, which its report must never replace.
struct Input {
    std::string path;
    std::string what; // "the scenario file", "a script the scenarios name"
};

// Runs one scenario file; false when it could not be run (said on `err`). The script it
// names is added to `inputs`.
bool RunFile(const std::string& file, const std::string& password, const DateTime& now,
             FileOutcome& outcome, std::vector<Input>& inputs, std::ostream& out,
             std::ostream& err) {
    outcome.suite.Name = file;
    auto fail = [&](const std::string& why) {
        err << "rys: " << TerminalText(file) << ": " << TerminalText(why) << "\n";
        outcome.suite.Error = why;
        return false;
    };
    const FileRead read = ReadRegularFile(file, kScenarioSizeLimit);
    if (!read.Ok())
        return fail("cannot be read: " + FileReadProblem(read, kScenarioSizeLimit));
    ScenarioError error;
    const std::optional<Scenario> scenario = ParseScenario(read.bytes, error);
    if (!scenario)
        return fail((error.Line > 0 ? "line " + std::to_string(error.Line) + ": " : "") +
                    error.Message);

    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, password);
    const std::string scriptPath = ScriptPathOf(file, scenario->Script);
    inputs.push_back({scriptPath, "the script " + scenario->Script + " that " + file + " names"});
    std::string why;
    const std::optional<std::int16_t> script = LoadScript(*tables, host, scriptPath, why);
    if (!script)
        return fail("script " + scenario->Script + ": not loaded: " + why);
    for (const ScenarioCall& call : scenario->Calls) {
        const CallResult result =
            RunScenarioCall(*tables, *script, call, ScenarioClock(*scenario, call, now),
                            ScenarioCallHasClock(*scenario, call));
        if (result.Passed) {
            out << "ok " << TerminalText(call.Name) << "\n";
            ++outcome.passed;
        } else {
            out << "FAIL " << TerminalText(call.Name) << ": " << TerminalText(result.Failure)
                << "\n";
            ++outcome.failed;
        }
        outcome.suite.Cases.push_back({call.Name, result.Failure});
    }
    return true;
}

// The input that `report` is, by file identity (through links of either kind), if any.
const Input* InputAt(const std::string& report, const std::vector<Input>& inputs) {
    for (const Input& input : inputs) {
        std::error_code ec;
        if (std::filesystem::equivalent(report, input.path, ec) && !ec)
            return &input;
    }
    return nullptr;
}

} // namespace

// Runs the calls of each scenario file against its script. Exit status: 0 when every call
// passes, 1 when any fails, 2 when a file cannot be read, holds a key it should not, or names
// a script that does not load (the other files still run), or for a usage error.
int RunTest(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "test FILE... [--junit OUT.xml] [--password P]",
                               .options = {{"--password"}, {"--junit", "the file to write"}},
                               .minPositional = 1,
                               .maxPositional = kAnyNumber,
                               .countMessage = "test takes one or more scenario files"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    const auto password = read->Value("--password");
    const auto junit = read->Value("--junit");
    if (junit && junit->empty())
        return UsageError(err, syntax, "--junit needs the file to write");

    const DateTime now = DateTime::Now();
    std::vector<JUnitSuite> suites;
    int passed = 0, failed = 0;
    bool unreadable = false;
    std::vector<Input> inputs;
    for (const std::string& file : read->positional)
        inputs.push_back({file, "the scenario file " + file});
    // A report that would replace what the run reads is refused, before anything runs for
    // the scenario files, and before it is written for the scripts (known once read).
    auto overwritesInput = [&] {
        const Input* input = junit ? InputAt(*junit, inputs) : nullptr;
        if (input)
            err << "rys: " << TerminalText(*junit) << ": not written: it is "
                << TerminalText(input->what) << ", which the run reads\n";
        return input != nullptr;
    };
    if (overwritesInput())
        return 2;
    for (const std::string& file : read->positional) {
        FileOutcome outcome;
        if (!RunFile(file, password.value_or(""), now, outcome, inputs, out, err))
            unreadable = true;
        passed += outcome.passed;
        failed += outcome.failed;
        suites.push_back(std::move(outcome.suite));
    }
    out << passed << " passed, " << failed << " failed\n";
    if (junit) {
        if (overwritesInput())
            return 2;
        std::ostringstream xml;
        WriteJUnit(suites, xml);
        const std::string problem = WriteFileReplacing(*junit, xml.str());
        if (!problem.empty()) {
            err << "rys: " << *junit << ": not written: " << problem << "\n";
            return 2;
        }
    }
    return unreadable ? 2 : failed > 0 ? 1 : 0;
}

} // namespace ry::cli
