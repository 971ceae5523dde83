#include "scenario/scenario.h"

#include "script/text.h"
#include "walk/time_switch.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>

namespace ry {

namespace {

// A fault in the file, thrown from deep in the reading and caught once.
struct Fault {
    int line;
    std::string message;
};

int LineOf(const YAML::Node& node) {
    const YAML::Mark mark = node.Mark();
    return mark.line >= 0 ? mark.line + 1 : 0;
}

[[noreturn]] void Fail(const YAML::Node& at, std::string message) {
    throw Fault{LineOf(at), std::move(message)};
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string ScalarOf(const YAML::Node& node, std::string_view key) {
    if (node.IsNull())
        return {};
    if (!node.IsScalar())
        Fail(node, Quoted(key) + " takes a single value");
    return node.Scalar();
}

std::vector<std::string> ListOf(const YAML::Node& node, std::string_view key) {
    std::vector<std::string> out;
    if (node.IsNull())
        return out;
    if (!node.IsSequence())
        Fail(node, Quoted(key) + " takes a list, such as [timeout, 1]");
    for (const YAML::Node& item : node)
        out.push_back(Utf8ToCp1252(ScalarOf(item, key)));
    return out;
}

DateTime ClockOf(const YAML::Node& node) {
    const std::optional<DateTime> clock = ParseClock(ScalarOf(node, "at"));
    if (!clock)
        Fail(node, "\"at\" takes a date and time as YYYY-MM-DD HH:MM");
    return *clock;
}

// The keys of a mapping, each checked against those the place allows and given only once.
template <typename Take>
void ForEachKey(const YAML::Node& map, std::string_view where,
                std::initializer_list<std::string_view> allowed, Take take) {
    if (!map.IsMap())
        Fail(map, where == "file" ? std::string("a scenario file is a mapping of \"script\", "
                                                "\"at\" and \"calls\"")
                                  : std::string("each call is a mapping of its keys, such as "
                                                "name, events and end"));
    std::set<std::string> seen;
    for (auto it = map.begin(); it != map.end(); ++it) {
        // The iterator hands out a proxy: its nodes are copied, not referred to.
        const YAML::Node keyNode = it->first;
        const YAML::Node value = it->second;
        if (!keyNode.IsScalar())
            Fail(keyNode, "a key must be a name");
        const std::string key = keyNode.Scalar();
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            std::string known;
            for (std::string_view k : allowed)
                known += (known.empty() ? "" : ", ") + std::string(k);
            Fail(keyNode, "unknown key " + Quoted(key) + " in the " + std::string(where) +
                              " (known keys: " + known + ")");
        }
        if (!seen.insert(key).second)
            Fail(keyNode, "key " + Quoted(key) + " given twice");
        take(key, value);
    }
}

// Time Switch titles and their branches: {Office Hours: true}.
std::vector<std::pair<std::string, bool>> ForceOf(const YAML::Node& node) {
    if (!node.IsMap())
        Fail(node, "\"force\" takes Time Switch titles and branches, such as "
                   "{Office Hours: true}");
    std::vector<std::pair<std::string, bool>> out;
    for (auto it = node.begin(); it != node.end(); ++it) {
        const YAML::Node title = it->first;
        const YAML::Node branch = it->second;
        const std::string word = ToLowerAnsi(ScalarOf(branch, "force"));
        if (word != "true" && word != "false")
            Fail(branch, "\"force\" takes true or false for each Time Switch, such as "
                         "{Office Hours: true}");
        out.emplace_back(Utf8ToCp1252(ScalarOf(title, "force")), word == "true");
    }
    return out;
}

ScenarioCall ReadCall(const YAML::Node& node) {
    ScenarioCall call;
    call.Line = LineOf(node);
    bool hasEvents = false;
    const std::initializer_list<std::string_view> keysACallMayHave = {
        "name", "at", "events", "force", "end", "module", "destination", "visits", "variables"};
    ForEachKey(node, "call", keysACallMayHave,
               [&](const std::string& key, const YAML::Node& value) {
                   if (key == "name") {
                       call.Name = ScalarOf(value, key);
                   } else if (key == "at") {
                       call.At = ClockOf(value);
                   } else if (key == "events") {
                       call.Events = ListOf(value, key);
                       hasEvents = true;
                   } else if (key == "force") {
                       call.Force = ForceOf(value);
                   } else if (key == "end") {
                       const std::string word = ScalarOf(value, key);
                       const std::optional<WalkEnd> end = WalkEndFromName(word);
                       if (!end)
                           Fail(value, "unknown end " + Quoted(word) +
                                           " (one of hangup, transferred, voicemail, return, "
                                           "no-path, unknown-destination, no-more-events, "
                                           "step-limit, empty-script)");
                       call.End = *end;
                   } else if (key == "module") {
                       call.Module = Utf8ToCp1252(ScalarOf(value, key));
                   } else if (key == "destination") {
                       call.Destination = Utf8ToCp1252(ScalarOf(value, key));
                   } else if (key == "visits") {
                       call.Visits = ListOf(value, key);
                   } else if (key == "variables") {
                       if (!value.IsMap())
                           Fail(value, "\"variables\" takes names and values, such as "
                                       "{Reason: sales busy}");
                       for (auto v = value.begin(); v != value.end(); ++v) {
                           const YAML::Node name = v->first;
                           const YAML::Node text = v->second;
                           call.Variables.emplace_back(Utf8ToCp1252(ScalarOf(name, "variables")),
                                                       Utf8ToCp1252(ScalarOf(text, "variables")));
                       }
                   }
               });
    if (call.Name.empty())
        Fail(node, "a call needs a name");
    if (!hasEvents)
        Fail(node, "call " + Quoted(call.Name) + " needs its events (events: [] for none)");
    if (call.End == WalkEnd::None)
        Fail(node, "call " + Quoted(call.Name) + " needs the end it must reach (end: hangup, ...)");
    return call;
}

Scenario ReadScenario(const YAML::Node& root) {
    if (!root.IsDefined() || root.IsNull())
        throw Fault{0, "the file is empty"};
    Scenario scenario;
    bool hasCalls = false;
    ForEachKey(root, "file", {"script", "at", "calls"},
               [&](const std::string& key, const YAML::Node& value) {
                   if (key == "script") {
                       scenario.Script = ScalarOf(value, key);
                   } else if (key == "at") {
                       scenario.At = ClockOf(value);
                   } else if (key == "calls") {
                       hasCalls = true;
                       if (value.IsNull())
                           return;
                       if (!value.IsSequence())
                           Fail(value, "\"calls\" takes a list of calls");
                       for (const YAML::Node& call : value)
                           scenario.Calls.push_back(ReadCall(call));
                   }
               });
    if (scenario.Script.empty())
        throw Fault{1, "the file needs the script it tests (script: NAME.rys)"};
    if (!hasCalls)
        throw Fault{1, "the file needs its calls (calls:)"};
    return scenario;
}

std::string Indented(const std::string& text, int indent, std::string_view lineEnd) {
    std::string out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out += std::string(static_cast<std::size_t>(indent), ' ') + line + std::string(lineEnd);
    return out;
}

std::string CallText(const ScenarioCall& call, int indent, std::string_view lineEnd) {
    YAML::Emitter e;
    e << YAML::BeginSeq << YAML::BeginMap;
    e << YAML::Key << "name" << YAML::Value << call.Name;
    if (call.At)
        e << YAML::Key << "at" << YAML::Value << ScenarioClockText(*call.At);
    e << YAML::Key << "events" << YAML::Value << YAML::Flow << YAML::BeginSeq;
    for (const std::string& event : call.Events)
        e << Cp1252ToUtf8(event);
    e << YAML::EndSeq;
    if (!call.Force.empty()) {
        e << YAML::Key << "force" << YAML::Value << YAML::Flow << YAML::BeginMap;
        for (const auto& [title, branch] : call.Force)
            e << YAML::Key << Cp1252ToUtf8(title) << YAML::Value << (branch ? "true" : "false");
        e << YAML::EndMap;
    }
    e << YAML::Key << "end" << YAML::Value << std::string(WalkEndName(call.End));
    if (call.Module)
        e << YAML::Key << "module" << YAML::Value << Cp1252ToUtf8(*call.Module);
    if (call.Destination)
        e << YAML::Key << "destination" << YAML::Value << Cp1252ToUtf8(*call.Destination);
    if (!call.Visits.empty()) {
        e << YAML::Key << "visits" << YAML::Value << YAML::Flow << YAML::BeginSeq;
        for (const std::string& title : call.Visits)
            e << Cp1252ToUtf8(title);
        e << YAML::EndSeq;
    }
    if (!call.Variables.empty()) {
        e << YAML::Key << "variables" << YAML::Value << YAML::Flow << YAML::BeginMap;
        for (const auto& [name, value] : call.Variables)
            e << YAML::Key << Cp1252ToUtf8(name) << YAML::Value << Cp1252ToUtf8(value);
        e << YAML::EndMap;
    }
    e << YAML::EndMap << YAML::EndSeq;
    return Indented(e.c_str(), indent, lineEnd);
}

} // namespace

std::optional<Scenario> ParseScenario(std::string_view text, ScenarioError& error) {
    try {
        return ReadScenario(YAML::Load(std::string(text)));
    } catch (const Fault& fault) {
        error = {fault.line, fault.message};
    } catch (const YAML::Exception& e) {
        error = {e.mark.line >= 0 ? e.mark.line + 1 : 0, e.msg};
    }
    return std::nullopt;
}

DateTime ScenarioClock(const Scenario& scenario, const ScenarioCall& call, const DateTime& now) {
    return call.At ? *call.At : scenario.At ? *scenario.At : now;
}

std::string ScenarioClockText(const DateTime& clock) {
    char text[32];
    if (clock.second != 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", clock.year, clock.month,
                      clock.day, clock.hour, clock.minute, clock.second);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", clock.year, clock.month,
                      clock.day, clock.hour, clock.minute);
    return text;
}

std::string ScenarioCallText(const ScenarioCall& call, int indent) {
    return CallText(call, indent, "\n");
}

std::string NewScenarioText(std::string_view scriptName, const ScenarioCall& call) {
    YAML::Emitter e;
    e << YAML::BeginMap << YAML::Key << "script" << YAML::Value << std::string(scriptName)
      << YAML::EndMap;
    return std::string(e.c_str()) + "\ncalls:\n" + ScenarioCallText(call, 2);
}

std::optional<std::string> AppendScenarioCall(std::string_view text, const ScenarioCall& call,
                                              ScenarioError& error) {
    const std::optional<Scenario> before = ParseScenario(text, error);
    if (!before)
        return std::nullopt;
    const YAML::Node root = YAML::Load(std::string(text));
    int lastOther = -1;
    YAML::Node calls;
    int callsLine = -1;
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (it->first.Scalar() == "calls") {
            calls = it->second;
            callsLine = it->first.Mark().line;
        } else {
            lastOther = std::max(lastOther, it->first.Mark().line);
        }
    }
    if (!calls.IsSequence() || calls.size() == 0 || calls.Style() == YAML::EmitterStyle::Flow ||
        callsLine < lastOther) {
        error = {callsLine + 1, "the calls list is not a list of calls, one per \"-\", at the "
                                "end of the file, so the call cannot be added to it"};
        return std::nullopt;
    }
    // The new call goes in as far as the first one is.
    const int firstLine = calls[0].Mark().line;
    std::size_t start = 0;
    for (int line = 0; line < firstLine && start != std::string_view::npos; ++line) {
        start = text.find('\n', start);
        if (start != std::string_view::npos)
            ++start;
    }
    const std::size_t dash = text.find_first_not_of(' ', start);
    const int indent = dash == std::string_view::npos ? 2 : static_cast<int>(dash - start);
    const std::string_view lineEnd = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";

    std::string out(text);
    if (!out.empty() && out.back() != '\n')
        out += lineEnd;
    out += CallText(call, indent, lineEnd);
    // Never hand back a file that lost a call on the way.
    const std::optional<Scenario> after = ParseScenario(out, error);
    if (!after || after->Calls.size() != before->Calls.size() + 1) {
        error = {0, "the call could not be added to the file as it is written"};
        return std::nullopt;
    }
    return out;
}

} // namespace ry
