#include "scenario/scenario.h"

#include "script/text.h"
#include "walk/time_switch.h"

#include <yaml-cpp/depthguard.h>
#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <streambuf>

namespace ry {

namespace {

// A fault in the file, thrown from deep in the reading and caught once.
struct Fault {
    int line;
    std::string message;
};

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// One node of the file as read: a small tree kept only for the call being read, so that a
// large file costs little more than the calls it holds.
struct Item {
    enum class Kind : std::uint8_t { Null, Scalar, List, Map };
    Kind kind = Kind::Null;
    bool flow = false;
    int line = 0; // from 1
    std::string text;
    std::vector<Item> items; // a map's keys and values in turn

    // What the node costs to hold, counted in bytes of the file it could have come from.
    std::size_t Weight() const {
        std::size_t w = 1 + text.size();
        for (const Item& i : items)
            w += i.Weight();
        return w;
    }
};

[[noreturn]] void Fail(const Item& at, std::string message) {
    throw Fault{at.line, std::move(message)};
}

std::string ScalarOf(const Item& node, std::string_view key) {
    if (node.kind == Item::Kind::Null)
        return {};
    if (node.kind != Item::Kind::Scalar)
        Fail(node, Quoted(key) + " takes a single value");
    return node.text;
}

std::vector<std::string> ListOf(const Item& node, std::string_view key) {
    std::vector<std::string> out;
    if (node.kind == Item::Kind::Null)
        return out;
    if (node.kind != Item::Kind::List)
        Fail(node, Quoted(key) + " takes a list, such as [timeout, 1]");
    out.reserve(node.items.size());
    for (const Item& item : node.items)
        out.push_back(Utf8ToCp1252(ScalarOf(item, key)));
    return out;
}

DateTime ClockOf(const Item& node) {
    const std::optional<DateTime> clock = ParseClock(ScalarOf(node, "at"));
    if (!clock)
        Fail(node, "\"at\" takes a date and time as YYYY-MM-DD HH:MM");
    return *clock;
}

const std::initializer_list<std::string_view> kFileKeys = {"script", "at", "calls"};
const std::initializer_list<std::string_view> kCallKeys = {
    "name", "at", "events", "force", "end", "module", "destination", "visits", "variables"};

// A key checked against those the place allows.
std::string KeyOf(const Item& keyNode, std::string_view where,
                  std::initializer_list<std::string_view> allowed) {
    if (keyNode.kind != Item::Kind::Scalar)
        Fail(keyNode, "a key must be a name");
    const std::string& key = keyNode.text;
    if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
        std::string known;
        for (std::string_view k : allowed)
            known += (known.empty() ? "" : ", ") + std::string(k);
        Fail(keyNode, "unknown key " + Quoted(key) + " in the " + std::string(where) +
                          " (known keys: " + known + ")");
    }
    return key;
}

// Time Switch titles and their branches: {Office Hours: true}.
std::vector<std::pair<std::string, bool>> ForceOf(const Item& node) {
    if (node.kind != Item::Kind::Map)
        Fail(node, "\"force\" takes Time Switch titles and branches, such as "
                   "{Office Hours: true}");
    std::vector<std::pair<std::string, bool>> out;
    std::set<std::string> titles;
    for (std::size_t i = 0; i + 1 < node.items.size(); i += 2) {
        const Item& title = node.items[i];
        const Item& branch = node.items[i + 1];
        const std::string word = ToLowerAnsi(ScalarOf(branch, "force"));
        if (word != "true" && word != "false")
            Fail(branch, "\"force\" takes true or false for each Time Switch, such as "
                         "{Office Hours: true}");
        std::string name = Utf8ToCp1252(ScalarOf(title, "force"));
        if (!titles.insert(ToLowerAnsi(name)).second)
            Fail(title, "Time Switch " + Quoted(Cp1252ToUtf8(name)) + " given twice in \"force\"");
        out.emplace_back(std::move(name), word == "true");
    }
    return out;
}

ScenarioCall ReadCall(const Item& node) {
    if (node.kind != Item::Kind::Map)
        Fail(node, "each call is a mapping of its keys, such as name, events and end");
    ScenarioCall call;
    call.Line = node.line;
    bool hasEvents = false;
    std::set<std::string> seen;
    for (std::size_t i = 0; i + 1 < node.items.size(); i += 2) {
        const std::string key = KeyOf(node.items[i], "call", kCallKeys);
        if (!seen.insert(key).second)
            Fail(node.items[i], "key " + Quoted(key) + " given twice");
        const Item& value = node.items[i + 1];
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
            if (value.kind != Item::Kind::Map)
                Fail(value, "\"variables\" takes names and values, such as "
                            "{Reason: sales busy}");
            // Names are compared as the walk compares them: without regard to case.
            std::set<std::string> names;
            for (std::size_t v = 0; v + 1 < value.items.size(); v += 2) {
                std::string name = Utf8ToCp1252(ScalarOf(value.items[v], "variables"));
                if (!names.insert(ToLowerAnsi(name)).second)
                    Fail(value.items[v], "variable " + Quoted(Cp1252ToUtf8(name)) +
                                             " given twice in \"variables\"");
                call.Variables.emplace_back(
                    std::move(name), Utf8ToCp1252(ScalarOf(value.items[v + 1], "variables")));
            }
        }
    }
    if (call.Name.empty())
        Fail(node, "a call needs a name");
    if (!hasEvents)
        Fail(node, "call " + Quoted(call.Name) + " needs its events (events: [] for none)");
    if (call.End == WalkEnd::None)
        Fail(node, "call " + Quoted(call.Name) + " needs the end it must reach (end: hangup, ...)");
    return call;
}

// Where the file's parts stand, for adding a call to it; lines from 1, 0 when absent.
struct Layout {
    int callsLine = 0;     // the "calls" key
    int lastOtherLine = 0; // the last other key of the file
    int firstCallLine = 0;
    bool callsFlow = false;
};

// Reads the YAML events of one document into a Scenario as they come: each call is built as
// a small tree, read and let go, so no list or nesting grows past what a call may hold.
class ScenarioBuilder : public YAML::EventHandler {
public:
    explicit ScenarioBuilder(std::size_t fileSize) : aliasBudget_(fileSize + 4096) {}

    Scenario scenario;
    Layout layout;
    bool hasCalls = false;
    bool hasRoot = false;

    void OnDocumentStart(const YAML::Mark&) override {}
    void OnDocumentEnd() override {}

    void OnNull(const YAML::Mark& mark, YAML::anchor_t anchor) override {
        if (skipping_)
            return;
        Item item;
        item.line = LineOf(mark);
        Done(std::move(item), anchor);
    }
    void OnAlias(const YAML::Mark& mark, YAML::anchor_t anchor) override {
        if (skipping_)
            return;
        const auto it = anchors_.find(anchor);
        if (it == anchors_.end())
            throw Fault{LineOf(mark), "an alias names no anchor"};
        Charge(it->second, mark);
        Item copy = it->second;
        copy.line = LineOf(mark);
        Done(std::move(copy), YAML::NullAnchor);
    }
    void OnScalar(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                  const std::string& value) override {
        if (skipping_)
            return;
        Item item;
        item.kind = Item::Kind::Scalar;
        item.line = LineOf(mark);
        item.text = value;
        Done(std::move(item), anchor);
    }
    void OnSequenceStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                         YAML::EmitterStyle::value style) override {
        Open(Item::Kind::List, mark, anchor, style);
    }
    void OnSequenceEnd() override { Close(); }
    void OnMapStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                    YAML::EmitterStyle::value style) override {
        Open(Item::Kind::Map, mark, anchor, style);
    }
    void OnMapEnd() override { Close(); }

private:
    struct Frame {
        Item item;
        YAML::anchor_t anchor = YAML::NullAnchor;
        std::string key;        // the key the node stands under, if any
        bool callsList = false; // the file's calls: its items are read as they end
    };

    static int LineOf(const YAML::Mark& mark) { return mark.line >= 0 ? mark.line + 1 : 0; }

    // The key the next node of the open map stands under, or "" when it is a key or in a list.
    std::string KeyAhead() const {
        if (open_.empty() || open_.back().item.kind != Item::Kind::Map)
            return {};
        const auto& items = open_.back().item.items;
        return items.size() % 2 == 1 ? items.back().text : std::string();
    }

    // The fault of a list or mapping where the file has none, or "".
    std::string Misplaced(Item::Kind kind, const std::string& key) const {
        const bool atKey = !open_.empty() && open_.back().item.kind == Item::Kind::Map &&
                           open_.back().item.items.size() % 2 == 0;
        if (open_.empty())
            return kind == Item::Kind::Map
                       ? ""
                       : "a scenario file is a mapping of \"script\", \"at\" and \"calls\"";
        if (atKey)
            return "a key must be a name";
        if (open_.size() == 1 && (key != "calls" || kind != Item::Kind::List))
            return key == "calls" ? "\"calls\" takes a list of calls"
                                  : Quoted(key) + " takes a single value";
        if (open_.size() == 2 && kind != Item::Kind::Map)
            return "each call is a mapping of its keys, such as name, events and end";
        if (open_.size() >= 4)
            return Quoted(open_.back().key) + " takes a single value";
        return {};
    }

    void Open(Item::Kind kind, const YAML::Mark& mark, YAML::anchor_t anchor,
              YAML::EmitterStyle::value style) {
        const int line = LineOf(mark);
        if (skipping_) {
            ++skipDepth_;
            return;
        }
        Frame frame;
        frame.item.kind = kind;
        frame.item.line = line;
        frame.item.flow = style == YAML::EmitterStyle::Flow;
        frame.anchor = anchor;
        frame.key = KeyAhead();
        // Only the places a scenario has for them take lists and mappings: the file, its
        // calls, each call and the call's events, force, visits and variables. Anything else is
        // passed over unread and refused where it ends, unless the reader finds a fault in
        // it first (an unclosed bracket, nesting too deep), which is then the one named.
        const std::string misplaced = Misplaced(kind, frame.key);
        if (!misplaced.empty()) {
            skipping_ = Fault{line, misplaced};
            skipDepth_ = 1;
            return;
        }
        if (open_.empty())
            hasRoot = true;
        if (open_.size() == 1) {
            frame.callsList = true;
            layout.callsFlow = frame.item.flow;
        }
        open_.push_back(std::move(frame));
    }

    void Close() {
        if (skipping_) {
            if (--skipDepth_ == 0)
                throw *skipping_;
            return;
        }
        Frame frame = std::move(open_.back());
        open_.pop_back();
        Done(std::move(frame.item), frame.anchor);
    }

    // A node read whole: kept for its aliases, then given to the node it belongs to.
    void Done(Item item, YAML::anchor_t anchor) {
        if (anchor != YAML::NullAnchor) {
            Charge(item, YAML::Mark::null_mark());
            anchors_[anchor] = item;
        }
        if (open_.empty()) {
            if (item.kind != Item::Kind::Map)
                throw Fault{item.line, item.kind == Item::Kind::Null
                                           ? "the file is empty"
                                           : "a scenario file is a mapping of \"script\", "
                                             "\"at\" and \"calls\""};
            return;
        }
        Frame& parent = open_.back();
        if (parent.callsList) {
            if (layout.firstCallLine == 0)
                layout.firstCallLine = item.line;
            scenario.Calls.push_back(ReadCall(item));
            return;
        }
        if (open_.size() == 1) {
            TakeFileItem(std::move(item));
            return;
        }
        // A call's keys are checked as they come, so that nothing unknown is read whole.
        if (open_.size() == 3 && parent.item.items.size() % 2 == 0) {
            const std::string key = KeyOf(item, "call", kCallKeys);
            for (std::size_t k = 0; k < parent.item.items.size(); k += 2)
                if (parent.item.items[k].text == key)
                    throw Fault{item.line, "key " + Quoted(key) + " given twice"};
        }
        // A call's own lists and mappings hold what a call may, no more.
        const std::size_t count = parent.item.kind == Item::Kind::Map
                                      ? parent.item.items.size() / 2 + 1
                                      : parent.item.items.size() + 1;
        if (count > kScenarioListLimit) {
            const std::string what =
                parent.key.empty() ? std::string("a list") : Quoted(parent.key);
            throw Fault{parent.item.line,
                        what + " holds more than " + std::to_string(kScenarioListLimit) +
                            " items: a call takes at most " + std::to_string(kScenarioListLimit) +
                            (parent.key == "events" ? " events" : " of each")};
        }
        parent.item.items.push_back(std::move(item));
    }

    // A key or value of the file's own mapping, read as it comes.
    void TakeFileItem(Item item) {
        std::vector<Item>& items = open_.back().item.items;
        if (items.size() % 2 == 0) {
            const std::string key = KeyOf(item, "file", kFileKeys);
            if (!seen_.insert(key).second)
                throw Fault{item.line, "key " + Quoted(key) + " given twice"};
            if (key == "calls")
                layout.callsLine = item.line;
            else
                layout.lastOtherLine = std::max(layout.lastOtherLine, item.line);
            items.push_back(std::move(item));
            return;
        }
        const std::string key = items.back().text;
        if (key == "script") {
            scenario.Script = ScalarOf(item, key);
            if (scenario.Script.find('\0') != std::string::npos)
                throw Fault{item.line, "the script's name holds a NUL character (\\0)"};
        } else if (key == "at") {
            scenario.At = ClockOf(item);
        } else if (key == "calls") {
            hasCalls = true;
            if (item.kind != Item::Kind::Null && item.kind != Item::Kind::List)
                Fail(item, "\"calls\" takes a list of calls");
        }
        items.push_back(Item{}); // the value is read; its place is kept
    }

    // Aliases copy what they name: the copies may come to no more than the file itself could
    // hold, so that a few lines cannot stand for gigabytes.
    void Charge(const Item& item, const YAML::Mark& mark) {
        const std::size_t weight = item.Weight();
        if (weight > aliasBudget_)
            throw Fault{LineOf(mark) > 0 ? LineOf(mark) : item.line,
                        "anchors and aliases (&, *) repeat more than the file's size allows"};
        aliasBudget_ -= weight;
    }

    std::vector<Frame> open_;
    std::optional<Fault> skipping_; // the fault of the misplaced list or mapping being passed
    int skipDepth_ = 0;
    std::map<YAML::anchor_t, Item> anchors_;
    std::set<std::string> seen_;
    std::size_t aliasBudget_;
};

// Reads `text` in place as a stream, without a copy.
class ViewBuffer : public std::streambuf {
public:
    explicit ViewBuffer(std::string_view text) {
        char* begin = const_cast<char*>(text.data());
        setg(begin, begin, begin + text.size());
    }
};

// A second document, if the file holds one: its first event gives its line.
class DocumentFinder : public YAML::EventHandler {
public:
    void OnDocumentStart(const YAML::Mark& mark) override {
        throw Fault{mark.line >= 0 ? mark.line + 1 : 0,
                    "a scenario file holds one YAML document: a second one begins here "
                    "(after \"---\" or \"...\")"};
    }
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark&, YAML::anchor_t) override {}
    void OnAlias(const YAML::Mark&, YAML::anchor_t) override {}
    void OnScalar(const YAML::Mark&, const std::string&, YAML::anchor_t,
                  const std::string&) override {}
    void OnSequenceStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                         YAML::EmitterStyle::value) override {}
    void OnSequenceEnd() override {}
    void OnMapStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                    YAML::EmitterStyle::value) override {}
    void OnMapEnd() override {}
};

// Lone carriage returns (old Mac line ends) read as line ends; CR LF and LF stay as they are.
// Nothing is copied when there is no lone CR.
std::string_view WithLineEnds(std::string_view text, std::string& store) {
    bool lone = false;
    for (std::size_t i = text.find('\r'); i != std::string_view::npos && !lone;
         i = text.find('\r', i + 1))
        lone = i + 1 == text.size() || text[i + 1] != '\n';
    if (!lone)
        return text;
    store.assign(text);
    for (std::size_t i = 0; i < store.size(); ++i)
        if (store[i] == '\r' && (i + 1 == store.size() || store[i + 1] != '\n'))
            store[i] = '\n';
    return store;
}

Scenario ReadScenario(std::string_view text, Layout& layout) {
    std::string store;
    ViewBuffer buffer(WithLineEnds(text, store));
    std::istream in(&buffer);
    YAML::Parser parser(in);
    ScenarioBuilder builder(text.size());
    if (!parser.HandleNextDocument(builder) || !builder.hasRoot)
        throw Fault{0, "the file is empty"};
    DocumentFinder next;
    parser.HandleNextDocument(next);
    Scenario scenario = std::move(builder.scenario);
    if (scenario.Script.empty())
        throw Fault{1, "the file needs the script it tests (script: NAME.rys)"};
    if (!builder.hasCalls)
        throw Fault{1, "the file needs its calls (calls:)"};
    layout = builder.layout;
    return scenario;
}

std::optional<Scenario> ParseWithLayout(std::string_view text, ScenarioError& error,
                                        Layout& layout) {
    try {
        return ReadScenario(text, layout);
    } catch (const Fault& fault) {
        error = {fault.line, fault.message};
    } catch (const YAML::DeepRecursion& e) {
        error = {e.mark.line >= 0 ? e.mark.line + 1 : 0,
                 "nested too deeply: a scenario file's lists and mappings go four levels deep "
                 "(file, calls, call, events)"};
    } catch (const YAML::Exception& e) {
        error = {e.mark.line >= 0 ? e.mark.line + 1 : 0, e.msg};
    }
    return std::nullopt;
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
    Layout layout;
    return ParseWithLayout(text, error, layout);
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
    Layout layout;
    const std::optional<Scenario> before = ParseWithLayout(text, error, layout);
    if (!before)
        return std::nullopt;
    if (before->Calls.empty() || layout.callsFlow || layout.callsLine < layout.lastOtherLine) {
        error = {layout.callsLine, "the calls list is not a list of calls, one per \"-\", at "
                                   "the end of the file, so the call cannot be added to it"};
        return std::nullopt;
    }
    // The new call goes in as far as the first one is.
    const int firstLine = layout.firstCallLine - 1;
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
