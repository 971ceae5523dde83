// The scenario file reader on any text: a file either reads or says why not, with a line no
// further than the file's end, and a call can always be added to a file that reads, or the
// addition is refused with a reason.

#include "fuzz_support.h"
#include "scenario/scenario.h"
#include "walk/time_switch.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)ParseClock(text);

    ScenarioError error;
    const std::optional<Scenario> scenario = ParseScenario(text, error);
    if (!scenario) {
        RY_FUZZ_CHECK(!error.Message.empty());
        // CR LF, LF and a lone CR each end a line.
        int lines = 2;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n' ||
                (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                ++lines;
        RY_FUZZ_CHECK(error.Line >= 0 && error.Line <= lines);
        return 0;
    }
    RY_FUZZ_CHECK(!scenario->Script.empty());
    for (const ScenarioCall& call : scenario->Calls)
        RY_FUZZ_CHECK(!call.Name.empty() && call.End != WalkEnd::None);

    ScenarioCall call;
    call.Name = "added";
    call.Events = {"#", "1"};
    call.End = WalkEnd::Hangup;
    ScenarioError appendError;
    if (const std::optional<std::string> added = AppendScenarioCall(text, call, appendError)) {
        const std::optional<Scenario> after = ParseScenario(*added, appendError);
        RY_FUZZ_CHECK(after && after->Calls.size() == scenario->Calls.size() + 1);
        RY_FUZZ_CHECK(added->compare(0, text.size(), text) == 0);
    } else {
        RY_FUZZ_CHECK(!appendError.Message.empty());
    }
    return 0;
}
