#include "walk/walk.h"

#include "script/module_types.h"

#include "core/script/script_builder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ry {
namespace {

struct Mod {
    std::string_view type;
    std::string_view title;
    std::string_view paths;
};

struct Case {
    const char* what;
    std::vector<Mod> modules; // the first is the start module
    std::vector<std::string> events;
    std::vector<std::string> entered; // the titles of the modules entered, in order
    WalkEnd end;
    std::string endTitle;
    std::string destination = {};
};

class WalkTest : public ::testing::Test {
protected:
    std::unique_ptr<ScriptTables> t = std::make_unique<ScriptTables>();
    std::int16_t s = -1;

    void Build(const std::vector<Mod>& modules) {
        if (s >= 1)
            t->MemStructRys_FreeAll(s);
        s = test::NewScript(*t);
        for (const Mod& m : modules)
            test::AddModule(*t, s, m.type, m.title).PathText = std::string(m.paths);
    }
};

std::vector<std::string> Titles(const std::vector<WalkStep>& steps) {
    std::vector<std::string> out;
    for (const WalkStep& step : steps)
        out.push_back(step.Title);
    return out;
}

constexpr std::string_view Play = kTypePlay;
constexpr std::string_view Hangup = kTypeHangup;

TEST_F(WalkTest, FollowsTheRulesOfTheCall) {
    using E = WalkEnd;
    const Case cases[] = {
        {"goto to a hangup",
         {{Play, "A", "on {1} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"1"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"events left over after the end are not taken",
         {{Play, "A", "on {1} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"1", "1", "1"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"the events run out",
         {{Play, "A", "on {1} goto [B]\r\n"}, {Hangup, "B", ""}},
         {},
         {"A"},
         E::NoMoreEvents,
         "A"},
        {"no path takes the event",
         {{Play, "A", "on {1} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"2"},
         {"A"},
         E::NoPath,
         "A"},
        {"triggers and events compare trimmed and without letter case",
         {{kTypeDialAndConference, "A", "on { Busy } goto [B]\r\n"}, {Hangup, "B", ""}},
         {"BUSY "},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"the first matching path wins",
         {{Play, "A", "on {1} goto [B]\r\non {1} goto [C]\r\n"},
          {Hangup, "B", ""},
          {Hangup, "C", ""}},
         {"1"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"timeout takes a timeout of any seconds",
         {{Play, "A", "on {1} goto [C]\r\non {timeout 5} goto [B]\r\n"},
          {Hangup, "B", ""},
          {Hangup, "C", ""}},
         {"timeout"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"a timeout with its seconds is compared whole",
         {{Play, "A", "on {timeout 5} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"Timeout 5"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"other seconds are another event",
         {{Play, "A", "on {timeout 5} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"timeout 10"},
         {"A"},
         E::NoPath,
         "A"},
        {"a keyed number, and a path text that was never tidied",
         {{kTypeGetNumbers, "A", "ON {1234}  GOTO  [B]"}, {Hangup, "B", ""}},
         {"1234"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"a voicemail box",
         {{Play, "A", "on {9} goto [Voicemail Box 200]\r\n"}},
         {"9"},
         {"A"},
         E::Voicemail,
         "A",
         "Voicemail Box 200"},
        {"the voicemail menu",
         {{Play, "A", "on {8} goto [Voicemail Box Menu]\r\n"}},
         {"8"},
         {"A"},
         E::Voicemail,
         "A",
         "Voicemail Box Menu"},
        {"a module titled like a voicemail box is a module",
         {{Play, "A", "on {9} goto [Voicemail Box 7]\r\n"}, {Hangup, "Voicemail Box 7", ""}},
         {"9"},
         {"A", "Voicemail Box 7"},
         E::Hangup,
         "Voicemail Box 7"},
        {"a destination that names no module",
         {{Play, "A", "on {1} goto [Salse]\r\n"}, {Hangup, "Sales", ""}},
         {"1"},
         {"A"},
         E::UnknownDestination,
         "A",
         "Salse"},
        {"titles compare with letter case",
         {{Play, "A", "on {1} goto [sales]\r\n"}, {Hangup, "Sales", ""}},
         {"1"},
         {"A"},
         E::UnknownDestination,
         "A",
         "sales"},
        {"gosub remembers the caller; return goes back to it",
         {{Play, "Main", "on {1} gosub [Sub]\r\non {2} goto [Bye]\r\n"},
          {kTypeRunProgram, "Sub", "on {success} return\r\n"},
          {Hangup, "Bye", ""}},
         {"1", "success", "2"},
         {"Main", "Sub", "Main", "Bye"},
         E::Hangup,
         "Bye"},
        {"gosub with a return destination returns there",
         {{Play, "Main", "on {1} gosub [Sub] return [After]\r\n"},
          {kTypeRunProgram, "Sub", "on {success} return\r\n"},
          {Hangup, "After", ""}},
         {"1", "success"},
         {"Main", "Sub", "After"},
         E::Hangup,
         "After"},
        {"calls nest; each return goes back one call",
         {{Play, "Main", "on {1} gosub [One]\r\non {2} goto [Bye]\r\n"},
          {Play, "One", "on {1} gosub [Two]\r\non {2} return\r\n"},
          {Play, "Two", "on {1} return\r\n"},
          {Hangup, "Bye", ""}},
         {"1", "1", "1", "2", "2"},
         {"Main", "One", "Two", "One", "Main", "Bye"},
         E::Hangup,
         "Bye"},
        {"return [R] goes to R and forgets the caller",
         {{Play, "Main", "on {1} gosub [Sub]\r\n"},
          {Play, "Sub", "on {1} return [Other]\r\n"},
          {Play, "Other", "on {1} return\r\n"}},
         {"1", "1", "1"},
         {"Main", "Sub", "Other"},
         E::Return,
         "Other"},
        {"a return with nothing remembered ends the walk",
         {{Play, "A", "on {1} return\r\n"}},
         {"1"},
         {"A"},
         E::Return,
         "A"},
        {"return [R] with nothing remembered still goes to R",
         {{Play, "A", "on {1} return [B]\r\n"}, {Hangup, "B", ""}},
         {"1"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"a gosub to a voicemail box",
         {{Play, "A", "on {1} gosub [Voicemail Retrieve]\r\n"}},
         {"1"},
         {"A"},
         E::Voicemail,
         "A",
         "Voicemail Retrieve"},
        {"a loop comes round again",
         {{Play, "A", "on {1} goto [B]\r\n"}, {Play, "B", "on {1} goto [A]\r\n"}},
         {"1", "1", "1"},
         {"A", "B", "A", "B"},
         E::NoMoreEvents,
         "B"},
        {"a successful transfer with no path hands the call on",
         {{kTypeTransferCall, "A", "on {fail} goto [B]\r\n"}, {Hangup, "B", ""}},
         {" Success "},
         {"A"},
         E::Transferred,
         "A"},
        {"a successful transfer with a path takes it",
         {{kTypeTransferCall, "A", "on {success} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"success"},
         {"A", "B"},
         E::Hangup,
         "B"},
        {"a failed transfer with no path is a hole",
         {{kTypeTransferCall, "A", "on {success} goto [B]\r\n"}, {Hangup, "B", ""}},
         {"fail"},
         {"A"},
         E::NoPath,
         "A"},
        {"success at another module with no path is a hole",
         {{kTypeRunProgram, "A", ""}},
         {"success"},
         {"A"},
         E::NoPath,
         "A"},
        {"a script that starts at a hangup",
         {{Hangup, "Bye", "on {1} goto [Bye]\r\n"}},
         {"1"},
         {"Bye"},
         E::Hangup,
         "Bye"},
    };
    for (const Case& c : cases) {
        Build(c.modules);
        WalkResult r = WalkScript(*t, s, c.events);
        EXPECT_EQ(Titles(r.Steps), c.entered) << c.what;
        EXPECT_EQ(r.End.Reason, c.end) << c.what;
        EXPECT_EQ(r.End.Title, c.endTitle) << c.what;
        EXPECT_EQ(r.End.Destination, c.destination) << c.what;
        ASSERT_FALSE(r.Steps.empty()) << c.what;
        EXPECT_EQ(r.End.Module, r.Steps.back().Module) << c.what;
    }
}

TEST_F(WalkTest, EventsLeftOverAreReported) {
    Build({{Play, "A", "on {1} goto [B]\r\n"}, {Hangup, "B", ""}});
    EXPECT_EQ(WalkScript(*t, s, {"1", "2", "3"}).UnusedEvents,
              (std::vector<std::string>{"2", "3"}));
    EXPECT_TRUE(WalkScript(*t, s, {"1"}).UnusedEvents.empty());
    // The event no path takes was taken: the walk ended on it.
    EXPECT_EQ(WalkScript(*t, s, {"7", "1"}).UnusedEvents, std::vector<std::string>{"1"});
}

// A Time Switch open 08:00 to 17:00 on weekdays, between a start and two ends.
class WalkClockTest : public WalkTest {
protected:
    void SetUp() override {
        Build({{Play, "Start", "on {1} goto [Hours]\r\n"},
               {kTypeTimeSwitch, "Hours", "on {true} goto [Open]\r\non {false} goto [Shut]\r\n"},
               {Play, "Open", "on {1} goto [Bye]\r\n"},
               {Hangup, "Shut", ""},
               {Hangup, "Bye", ""}});
        ModuleRecord& hours = t->Module(DestinationModule(TitleIndex(*t, s), "Hours"));
        hours.iTimeSwitch_Type = 1;
        hours.dTimeSwitch_DateStart = {2024, 1, 1, 8, 0, 0};
        hours.dTimeSwitch_DateEnd = {2024, 1, 1, 17, 0, 0};
        hours.sTimeSwitch_DaysSelected = "MoTuWeThFr";
    }
    // Wednesday and Saturday mornings.
    const DateTime wednesday{2026, 12, 9, 9, 30, 0};
    const DateTime saturday{2026, 12, 12, 9, 30, 0};
};

TEST_F(WalkClockTest, TheClockAnswersATimeSwitchAndTrueOrFalseStillChoose) {
    struct Case {
        const char* what;
        std::optional<DateTime> clock;
        std::vector<std::string> events;
        std::vector<std::string> entered;
        WalkEnd end;
        std::vector<std::string> unused = {};
    };
    const Case cases[] = {
        {"open: the next event is taken after the switch",
         wednesday,
         {"1", "1"},
         {"Start", "Hours", "Open", "Bye"},
         WalkEnd::Hangup},
        {"shut: the switch's answer leads to a hangup, the event is left over",
         saturday,
         {"1", "1"},
         {"Start", "Hours", "Shut"},
         WalkEnd::Hangup,
         {"1"}},
        {"the events run out at the switch: the clock still answers it",
         saturday,
         {"1"},
         {"Start", "Hours", "Shut"},
         WalkEnd::Hangup},
        {"false chooses the branch whatever the clock",
         wednesday,
         {"1", "FALSE"},
         {"Start", "Hours", "Shut"},
         WalkEnd::Hangup},
        {"true chooses the branch whatever the clock",
         saturday,
         {"1", "true", "1"},
         {"Start", "Hours", "Open", "Bye"},
         WalkEnd::Hangup},
        {"without a clock the switch waits for its event",
         std::nullopt,
         {"1", "1"},
         {"Start", "Hours"},
         WalkEnd::NoPath},
    };
    for (const Case& c : cases) {
        WalkResult r = WalkScript(*t, s, c.events, c.clock);
        EXPECT_EQ(Titles(r.Steps), c.entered) << c.what;
        EXPECT_EQ(r.End.Reason, c.end) << c.what;
        EXPECT_EQ(r.UnusedEvents, c.unused) << c.what;
    }

    // The answered step says so; a given true or false does not.
    WalkResult r = WalkScript(*t, s, {"1", "1"}, wednesday);
    EXPECT_EQ(r.Steps[1].Event, "true");
    EXPECT_TRUE(r.Steps[1].Answered);
    EXPECT_FALSE(r.Steps[0].Answered);
    r = WalkScript(*t, s, {"1", "true", "1"}, saturday);
    EXPECT_FALSE(r.Steps[1].Answered);

    // What the panel shows at the switch before taking anything.
    ScriptWalk walk(*t, s, saturday);
    walk.Take("1");
    EXPECT_EQ(walk.ClockAnswer(), "false");
    EXPECT_EQ(walk.Current(), DestinationModule(TitleIndex(*t, s), "Hours"));
}

// Under the clock alone a Time Switch takes no event: "true" or "false" meant for it ends the
// walk naming it, a branch forced by title wins over the clock, and a module after the switch
// that takes true or false still gets them.
TEST_F(WalkClockTest, TheClockAloneAnswersTimeSwitchesAndOnlyAForceOverridesIt) {
    const TimeSwitchRule clockOnly{true, {}};
    const TimeSwitchRule forcedOpen{true, {{" hours ", true}}};
    struct Case {
        const char* what;
        DateTime clock;
        TimeSwitchRule rule;
        std::vector<std::string> events;
        std::vector<std::string> entered;
        WalkEnd end;
        std::vector<std::string> unused = {};
    };
    const Case cases[] = {
        {"open by the clock",
         wednesday,
         clockOnly,
         {"1", "1"},
         {"Start", "Hours", "Open", "Bye"},
         WalkEnd::Hangup},
        {"true on a saturday is refused",
         saturday,
         clockOnly,
         {"1", "true", "1"},
         {"Start", "Hours", "Shut"},
         WalkEnd::TimeSwitchEvent,
         {"true", "1"}},
        {"false on a wednesday is refused",
         wednesday,
         clockOnly,
         {"1", "FALSE"},
         {"Start", "Hours", "Open"},
         WalkEnd::TimeSwitchEvent,
         {"FALSE"}},
        {"forced open on a saturday",
         saturday,
         forcedOpen,
         {"1", "1"},
         {"Start", "Hours", "Open", "Bye"},
         WalkEnd::Hangup},
        {"a forced switch still takes no event",
         saturday,
         forcedOpen,
         {"1", "true"},
         {"Start", "Hours", "Open"},
         WalkEnd::TimeSwitchEvent,
         {"true"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WalkResult r = WalkScript(*t, s, c.events, c.clock, c.rule);
        EXPECT_EQ(Titles(r.Steps), c.entered);
        EXPECT_EQ(r.End.Reason, c.end);
        EXPECT_EQ(r.UnusedEvents, c.unused);
        if (c.end == WalkEnd::TimeSwitchEvent)
            EXPECT_EQ(r.End.Title, "Hours");
    }

    // The steps say how each switch was answered, and why.
    WalkResult r = WalkScript(*t, s, {"1"}, saturday, clockOnly);
    EXPECT_TRUE(r.Steps[1].Answered);
    EXPECT_FALSE(r.Steps[1].Forced);
    EXPECT_EQ(r.Steps[1].Why, "Saturday is not an open day");
    r = WalkScript(*t, s, {"1", "true"}, saturday, clockOnly);
    EXPECT_EQ(TimeSwitchEventText(r), "\"true\" was given for the Time Switch Hours, which the "
                                      "clock answers (false: Saturday is not an open day)");
    r = WalkScript(*t, s, {"1"}, saturday, forcedOpen);
    EXPECT_TRUE(r.Steps[1].Forced);
    EXPECT_EQ(r.Steps[1].Event, "true");

    // The walk passes a switch as soon as it is asked, before any further event.
    ScriptWalk walk(*t, s, saturday, clockOnly);
    walk.Take("1");
    walk.PassTimeSwitches();
    EXPECT_EQ(walk.End().Reason, WalkEnd::Hangup);

    // An Evaluate after the switch takes its own true and false.
    Build({{Play, "Start", "on {1} goto [Hours]\r\n"},
           {kTypeTimeSwitch, "Hours", "on {true} goto [Check]\r\non {false} goto [Check]\r\n"},
           {kTypeEvaluate, "Check", "on {true} goto [Bye]\r\n"},
           {Hangup, "Bye", ""}});
    r = WalkScript(*t, s, {"1", "true"}, saturday, clockOnly);
    EXPECT_EQ(r.End.Reason, WalkEnd::Hangup);
    // A switch whose moment the walk cannot read waits for a force; true is refused there.
    t->Module(DestinationModule(TitleIndex(*t, s), "Hours")).sTimeSwitch_DateTimeToTest = "[When]";
    r = WalkScript(*t, s, {"1", "true"}, saturday, clockOnly);
    EXPECT_EQ(r.End.Reason, WalkEnd::TimeSwitchEvent);
    EXPECT_EQ(r.End.Title, "Hours");
    EXPECT_EQ(TimeSwitchEventText(r), "\"true\" was given for the Time Switch Hours, which only "
                                      "the clock or a forced branch answers");
    r = WalkScript(*t, s, {"1", "true"}, saturday, {true, {{"Hours", false}}});
    EXPECT_EQ(r.End.Reason, WalkEnd::Hangup);
}

TEST_F(WalkClockTest, ARingOfTimeSwitchesStopsAtTheStepLimit) {
    Build({{kTypeTimeSwitch, "A", "on {true} goto [A]\r\non {false} goto [A]\r\n"}});
    WalkResult r = WalkScript(*t, s, {"1"}, wednesday);
    EXPECT_EQ(r.End.Reason, WalkEnd::StepLimit);
    EXPECT_EQ(r.UnusedEvents, std::vector<std::string>{"1"});
}

TEST_F(WalkTest, StepsRecordTheEventAndThePathTaken) {
    Build({{Play, "A", "ON {1}  GOTO  [B] rvset [Count]{1} [Name]{Bob}"},
           {kTypeGetNumbers, "B", "on {success} goto [C] rvset\r\n[Count]{2}\r\n"},
           {Play, "C", "on {1} goto [A]\r\n"}});
    WalkResult r = WalkScript(*t, s, {"1", "success", "7"});
    ASSERT_EQ(r.Steps.size(), 3u);
    EXPECT_EQ(r.Steps[0].Type, "Play");
    EXPECT_EQ(r.Steps[0].Event, "1");
    EXPECT_EQ(r.Steps[0].Path, "on {1} goto [B] rvset [Count]{1} [Name]{Bob}");
    EXPECT_EQ(r.Steps[1].Type, "Get Numbers");
    EXPECT_EQ(r.Steps[1].Path, "on {success} goto [C] rvset [Count]{2}");
    // No path took the last event.
    EXPECT_EQ(r.Steps[2].Event, "7");
    EXPECT_EQ(r.Steps[2].Path, std::nullopt);
    EXPECT_EQ(r.End.Reason, WalkEnd::NoPath);
    // Every assignment in the order made, a name set twice included.
    EXPECT_EQ(r.Variables, (std::vector<WalkVariable>{
                               {"Count", "1", 0}, {"Name", "Bob", 0}, {"Count", "2", 1}}));

    // The module the walk waits at has no event yet.
    r = WalkScript(*t, s, {"1"});
    EXPECT_EQ(r.Steps.back().Event, std::nullopt);
    EXPECT_EQ(r.End.Reason, WalkEnd::NoMoreEvents);
}

TEST_F(WalkTest, AnEndlessLoopStopsAtTheStepLimit) {
    Build({{Play, "A", "on {1} goto [B]\r\n"}, {Play, "B", "on {1} goto [A]\r\n"}});
    WalkResult r = WalkScript(*t, s, std::vector<std::string>(5000, "1"));
    EXPECT_EQ(r.Steps.size(), kWalkStepLimit);
    EXPECT_EQ(r.End.Reason, WalkEnd::StepLimit);
    EXPECT_EQ(r.End.Title, "B");
    EXPECT_EQ(r.Steps.back().Event, std::nullopt);

    // Calls that never return stop there too, whatever they remembered.
    Build({{Play, "A", "on {1} gosub [A]\r\n"}});
    r = WalkScript(*t, s, std::vector<std::string>(5000, "1"));
    EXPECT_EQ(r.End.Reason, WalkEnd::StepLimit);

    // One step short of the limit the walk goes on.
    Build({{Play, "A", "on {1} goto [A]\r\n"}});
    r = WalkScript(*t, s, std::vector<std::string>(kWalkStepLimit - 2, "1"));
    EXPECT_EQ(r.End.Reason, WalkEnd::NoMoreEvents);
}

TEST_F(WalkTest, StartsWhereLoadingStartsTheCall) {
    const std::vector<Mod> modules = {{Hangup, "First", ""}, {Hangup, "Welcome", ""}};
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Welcome", "Welcome"},
        {"WELCOME", "Welcome"}, // in any letter case, as loading takes it
        {"Gone", "First"},      // a start module that names none: the first module
        {"", "First"},
    };
    for (const auto& [start, entered] : cases) {
        Build(modules);
        t->Script(s).StartModule = std::string(start);
        WalkResult r = WalkScript(*t, s, {});
        ASSERT_EQ(r.Steps.size(), 1u) << start;
        EXPECT_EQ(r.Steps[0].Title, entered) << start;
    }

    // A script without modules ends at once, with an end of its own; its events go unused.
    Build({});
    t->Script(s).StartModule = "Gone";
    WalkResult r = WalkScript(*t, s, {"1"});
    EXPECT_TRUE(r.Steps.empty());
    EXPECT_EQ(r.End.Reason, WalkEnd::EmptyScript);
    EXPECT_EQ(r.End.Module, -1);
    EXPECT_EQ(r.End.Destination, "");
    EXPECT_EQ(r.UnusedEvents, std::vector<std::string>{"1"});
    EXPECT_EQ(WalkScript(*t, 0, {}).End.Reason, WalkEnd::EmptyScript);
}

TEST_F(WalkTest, OffersTheModulesTriggersThenItsTypes) {
    const std::pair<Mod, std::vector<std::string>> cases[] = {
        {{Play, "M", "on {1} goto [M]\r\non { timeout 5 } goto [M]\r\non {1} goto [M]\r\n"},
         {"1", "timeout 5", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#"}},
        {{kTypeEvaluate, "M", "on {Gold} goto [M]\r\non {TRUE} goto [M]\r\n"},
         {"Gold", "TRUE", "false"}},
        // The placeholder for a typed value is no event.
        {{kTypeTimeSwitch, "M", ""}, {"true", "false"}},
        {{kTypeDialAndConference, "M", ""},
         {"Call End", "Busy", "timeout", "Error", "No Line", "No Ring Tone", "Fast Busy"}},
        {{kTypeGetNumbers, "M", "on {42} goto [M]\r\n"},
         {"42", "success", "fail", "timeout", "*", "exact_number"}},
        {{kTypeTts, "M", "on {done} goto [M]\r\n"}, {"done"}},
        {{Hangup, "M", "on {1} goto [M]\r\n"}, {}},
    };
    for (const auto& [module, offered] : cases) {
        Build({module});
        EXPECT_EQ(ScriptWalk(*t, s).OfferedEvents(), offered) << module.type;
    }
}

TEST_F(WalkTest, PathTakingNamesThePathAnEventWouldTake) {
    Build({{Play, "A", "on {timeout 5} goto [B]\r\non {1} goto [B] rvset [N]{1}\r\n"},
           {Hangup, "B", ""}});
    ScriptWalk walk(*t, s);
    EXPECT_EQ(walk.PathTaking("1"), "on {1} goto [B] rvset [N]{1}");
    EXPECT_EQ(walk.PathTaking("timeout"), "on {timeout 5} goto [B]");
    EXPECT_EQ(walk.PathTaking("2"), std::nullopt);
    walk.Take("1");
    EXPECT_EQ(walk.PathTaking("1"), std::nullopt) << "the call has ended";
}

TEST_F(WalkTest, WalkedTextChangesWithWhatACallMeets) {
    Build({{Play, "A", "on {1} goto [B]\r\n"}, {Hangup, "B", ""}});
    const std::string before = WalkedText(*t, s);
    ModuleRecord& a = t->Module(t->Script(s).FirstModule);
    a.PositionX = 500;
    a.Txt = "Another box text";
    EXPECT_EQ(WalkedText(*t, s), before) << "a move and a box text change no call";
    const std::vector<std::function<void(ModuleRecord&)>> edits = {
        [](ModuleRecord& m) { m.PathText = "on {2} goto [B]\r\n"; },
        [](ModuleRecord& m) { m.Title = "A2"; },
        [](ModuleRecord& m) { m.Type = std::string(kTypeGetNumbers); },
        [](ModuleRecord& m) { m.strTtsText = "Hello"; },
    };
    for (const auto& edit : edits) {
        ModuleRecord saved = a;
        edit(a);
        EXPECT_NE(WalkedText(*t, s), before);
        a = saved;
    }
    t->Script(s).StartModule = "B";
    EXPECT_NE(WalkedText(*t, s), before);
    EXPECT_EQ(WalkedText(*t, 0), "");
}

TEST(TriggerRules, MatchingAndKeys) {
    const std::tuple<std::string_view, std::string_view, bool> matches[] = {
        {"1", "1", true},
        {" # ", "#", true},
        {"Busy", "busy", true},
        {"1", "2", false},
        {"timeout 5", "timeout", true},
        {"timeout", "TIMEOUT", true},
        {"timeout 5", "timeout 5", true},
        {"timeout 5", "timeout 10", false},
        {"timeout", "timeout 5", false},
        {"12", "1", false},
        {"", "", true},
    };
    for (const auto& [trigger, event, match] : matches)
        EXPECT_EQ(TriggerMatches(trigger, event), match) << trigger << " / " << event;

    EXPECT_EQ(TriggerKey(" Success "), "success");
    EXPECT_EQ(TriggerKey("Timeout 5"), TriggerKey("timeout 10"));
    EXPECT_NE(TriggerKey("1"), TriggerKey("12"));
    for (WalkEnd end : {WalkEnd::Hangup, WalkEnd::Transferred, WalkEnd::Voicemail, WalkEnd::Return,
                        WalkEnd::NoPath, WalkEnd::UnknownDestination, WalkEnd::NoMoreEvents,
                        WalkEnd::StepLimit, WalkEnd::EmptyScript}) {
        EXPECT_FALSE(WalkEndName(end).empty());
        EXPECT_EQ(WalkEndFromName(WalkEndName(end)), end);
    }
    EXPECT_EQ(WalkEndFromName("hang-up"), std::nullopt);
    EXPECT_EQ(WalkEndFromName(""), std::nullopt);
    EXPECT_EQ(WalkEndName(WalkEnd::UnknownDestination), "unknown-destination");
}

} // namespace
} // namespace ry
