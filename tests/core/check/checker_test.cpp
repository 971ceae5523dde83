#include "check/checker.h"

#include "script/loader.h"
#include "script/module_types.h"

#include "core/script/script_builder.h"
#include "recording_host.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ry {
namespace {

using test::AddModule;
using test::NewScript;

using KindAndTitle = std::pair<ProblemKind, std::string>;

std::vector<KindAndTitle> KindsAndTitles(const std::vector<Problem>& problems) {
    std::vector<KindAndTitle> out;
    for (const Problem& p : problems)
        out.emplace_back(p.Kind, p.Title);
    return out;
}

std::vector<std::string> Reasons(const std::vector<Problem>& problems, ProblemKind kind) {
    std::vector<std::string> out;
    for (const Problem& p : problems)
        if (p.Kind == kind)
            out.push_back(p.Reason);
    return out;
}

// Each fixture holds one kind of problem; the clean one holds the cases that look like
// problems and are not: a prompt named in another letter case and with "\", one found only
// in the script's folder, result variables, a drive the engine's machine has, a file a Record
// module makes, fields the module's settings do not use, voicemail destinations, typed
// numbers and results, a gosub's return destination.
TEST(CheckFixtures, EachKindIsFoundAndTheCleanScriptHasNone) {
    using K = ProblemKind;
    const std::pair<const char*, std::vector<KindAndTitle>> cases[] = {
        {"clean.rys", {}},
        {"bad-start-module.rys", {{K::BadStartModule, ""}}},
        {"duplicate-title.rys", {{K::DuplicateTitle, "Menu"}, {K::Unreachable, "Menu"}}},
        {"unreachable.rys", {{K::Unreachable, "Forgotten"}}},
        {"hangup-with-paths.rys", {{K::HangupWithPaths, "Goodbye"}}},
        {"untidy-paths.rys", {{K::UntidyPaths, "Welcome"}}},
        {"unoffered-trigger.rys", {{K::UnofferedTrigger, "Welcome"}}},
        {"unknown-destination.rys", {{K::UnknownDestination, "Welcome"}}},
        {"missing-file.rys", {{K::MissingFile, "Welcome"}}},
        {"duplicate-trigger.rys", {{K::DuplicateTrigger, "Welcome"}}},
        {"no-paths.rys", {{K::NoPaths, "Menu"}}},
        {"empty-field.rys", {{K::EmptyField, "Welcome"}}},
    };
    auto tables = std::make_unique<ScriptTables>();
    test::RecordingHost host;
    for (const auto& [name, expected] : cases) {
        std::string file = std::string(RY_TEST_DATA_DIR "/check/") + name;
        std::int16_t script = RysScriptLoad(*tables, host, file);
        ASSERT_GE(script, 1) << name;
        CheckOptions options;
        options.WrittenStartModule = WrittenStartModuleOfFile(file);
        std::vector<Problem> problems = CheckScript(*tables, script, options);
        EXPECT_EQ(KindsAndTitles(problems), expected) << name;
        for (const Problem& p : problems) {
            EXPECT_EQ(p.Reason.find_first_of("\r\n"), std::string::npos) << p.Reason;
            if (p.Module >= 1) {
                EXPECT_EQ(tables->Module(p.Module).Title, p.Title) << name;
            }
        }
        tables->MemStructRys_FreeAll(script);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST(CheckFixtures, TheDuplicateIsTheLaterModule) {
    auto tables = std::make_unique<ScriptTables>();
    test::RecordingHost host;
    std::int16_t script =
        RysScriptLoad(*tables, host, RY_TEST_DATA_DIR "/check/duplicate-title.rys");
    ASSERT_GE(script, 1);
    std::vector<Problem> problems = CheckScript(*tables, script);
    ASSERT_EQ(problems.size(), 2u);
    std::int16_t second = tables->Module(tables->Script(script).FirstModule).NextModule;
    second = tables->Module(second).NextModule;
    EXPECT_EQ(problems[0].Module, second);
}

TEST(CheckStartModule, TheFileShowsWhatLoadingRepaired) {
    auto tables = std::make_unique<ScriptTables>();
    test::RecordingHost host;
    std::string file = RY_TEST_DATA_DIR "/check/bad-start-module.rys";
    std::int16_t script = RysScriptLoad(*tables, host, file);
    ASSERT_GE(script, 1);
    EXPECT_EQ(tables->Script(script).StartModule, "Welcome") << "the loader's repair";
    EXPECT_TRUE(CheckScript(*tables, script).empty()) << "the record alone looks fine";
    CheckOptions options;
    options.WrittenStartModule = WrittenStartModuleOfFile(file);
    EXPECT_EQ(Reasons(CheckScript(*tables, script, options), ProblemKind::BadStartModule),
              std::vector<std::string>{"start module [Old Menu] names no module; calls start at "
                                       "the first module, [Welcome]"});
}

TEST(CheckStartModule, WrittenStartModuleReadsAsTheLoaderDoes) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"StartModule=Old\r\n\r\n[A]\r\nType=Play\r\n", "Old"},
        {"startmodule= Old \r\n[A]\r\n", "Old"},
        // Without a start module a script starts at its first module.
        {"Version=5.0\r\n[A]\r\n[B]\r\n", "A"},
        {"StartModule=\r\n[A]\r\n[B]\r\n", "A"},
        // A later header line still counts, as it does when loading.
        {"[A]\r\nStartModule=B\r\n[B]\r\n", "B"},
        // Lines inside a continued box text are not keys.
        {"StartModule=A\r\n[A]\r\nTxt=one\\\r\nStartModule=X\r\n", "A"},
    };
    for (const auto& [text, start] : cases)
        EXPECT_EQ(WrittenStartModule(text), start) << text;
    EXPECT_EQ(WrittenStartModuleOfFile("/no/such/file.rys"), std::nullopt);
}

// A script whose lines end in LF alone is read line by line, as the loader reads it, so its
// start module is not lost in one long line.
TEST(CheckStartModule, WrittenStartModuleOfAnLfFile) {
    test::TempDir dir;
    const std::string file =
        dir.Write("lf.rys", "Version=5.0\nStartModule=Menu\n\n[Welcome]\nType=Play\n[Menu]\n");
    EXPECT_EQ(WrittenStartModuleOfFile(file), "Menu");
}

// Fills the fields each type needs, with values no file look-up judges.
void FillNeededFields(ModuleRecord& m) {
    m.strTtsText = "Hello";
    m.RecFile = "message.wav";
    m.PlayFileSlot(1) = m.Type == kTypeRunProgram ? "tool.exe" : "";
    if (m.Type == kTypeEvaluate || m.Type == kTypeRunVbScript || m.Type == kTypeTransferCall)
        m.PlayFileSlot(1) = "1";
    m.PlayFileSlot(2) = m.Type == kTypeSayNumbers ? "[Amount]" : "";
    m.DbDatabase = "calls.mdb";
    m.DbSql = "SELECT 1";
    m.strEmailAddrTo = "desk@example.com";
    m.sDialPhone[0] = "555";
    m.sDncPhoneNumber = "555";
    m.PagerTelNbr = "555";
    m.PagerMessage = "1";
    m.strDdeLinkTopic = "System";
    m.strDdeCommand = "[Run]";
}

// In-memory scripts, one per case, in one set of tables.
class CheckTest : public ::testing::Test {
protected:
    std::unique_ptr<ScriptTables> t = std::make_unique<ScriptTables>();
    std::int16_t s = NewScript(*t);

    // A module with what its type needs to do its work, so that only the problem a test
    // makes shows.
    ModuleRecord& Add(std::string_view type, std::string_view title, std::string_view paths = "") {
        ModuleRecord& m = AddBare(type, title, paths);
        FillNeededFields(m);
        return m;
    }
    ModuleRecord& AddBare(std::string_view type, std::string_view title,
                          std::string_view paths = "") {
        ModuleRecord& m = AddModule(*t, s, type, title);
        m.PathText = std::string(paths);
        return m;
    }
    std::vector<Problem> Check(const CheckOptions& options = {}) {
        return CheckScript(*t, s, options);
    }
    void Fresh() {
        t->MemStructRys_FreeAll(s);
        s = NewScript(*t);
    }
};

TEST_F(CheckTest, TriggersAreComparedWithWhatTheTypeOffers) {
    struct Case {
        std::string_view type;
        std::string_view trigger;
        bool offered;
    };
    const Case cases[] = {
        {kTypePlay, "1", true},
        {kTypePlay, "#", true},
        {kTypePlay, "*", true},
        {kTypePlay, " 1 ", true},
        {kTypePlay, "timeout 5", true},
        {kTypePlay, "Timeout 5", true},
        {kTypePlay, "timeout", true},
        {kTypePlay, "timeout x", false},
        {kTypePlay, "12", false},
        {kTypePlay, "success", false},
        {kTypePlay, "", false},
        {kTypeRecord, "0", true},
        {kTypeRecord, "fail", false},
        {kTypeSayNumbers, "9", true},
        {kTypeSayNumbers, "success", true},
        {kTypeSayNumbers, "true", false},
        {kTypeRunProgram, "fail", true},
        {kTypeRunProgram, "timeout 10", true},
        {kTypeRunProgram, "1", false},
        {kTypeDatabaseQuery, "success", true},
        {kTypeSendEmail, "fail", true},
        {kTypeTransferCall, "success", true},
        {kTypeRunVbScript, "timeout 3", true},
        {kTypeDde, "SUCCESS", true},
        {kTypeDde, "true", false},
        {kTypeGetNumbers, "success", true},
        {kTypeGetNumbers, "*", true},
        {kTypeGetNumbers, "1234", true},
        {kTypeGetNumbers, "12#", true},
        {kTypeGetNumbers, "nonumbers", true},
        {kTypeGetNumbers, "exact_number", false},
        {kTypeGetNumbers, "true", false},
        {kTypePhoneMessage, "success", true},
        {kTypePhoneMessage, "timeout 5", false},
        {kTypePagerMessage, "fail", true},
        {kTypeDialAndConference, "Call End", true},
        {kTypeDialAndConference, "fast busy", true},
        {kTypeDialAndConference, "No Ring Tone", true},
        {kTypeDialAndConference, "timeout 30", true},
        {kTypeDialAndConference, "success", false},
        {kTypeEvaluate, "true", true},
        {kTypeEvaluate, "Gold", true},
        {kTypeEvaluate, "", true},
        {kTypeEvaluate, "Insert Result Here", false},
        {kTypeTimeSwitch, "false", true},
        {kTypeTimeSwitch, "insert result here", false},
        // The panel lists nothing for these; their triggers are typed freely.
        {kTypeTts, "anything", true},
        {"No Such Type", "anything", true},
    };
    for (const Case& c : cases) {
        Fresh();
        Add(c.type, "M", "on {" + std::string(c.trigger) + "} goto [M]\r\n");
        std::vector<std::string> found = Reasons(Check(), ProblemKind::UnofferedTrigger);
        EXPECT_EQ(found.size(), c.offered ? 0u : 1u) << c.type << " {" << c.trigger << "}";
    }
    Fresh();
    Add(kTypePlay, "M", "on {success} goto [M]\r\n");
    EXPECT_EQ(Reasons(Check(), ProblemKind::UnofferedTrigger),
              std::vector<std::string>{"trigger {success} is not one a Play module offers"});
    Fresh();
    Add(kTypeGetNumbers, "M", "on {exact_number} goto [M]\r\n");
    EXPECT_EQ(Reasons(Check(), ProblemKind::UnofferedTrigger),
              std::vector<std::string>{
                  "trigger {exact_number} is the trigger list's placeholder: type the number "
                  "instead"});
}

TEST_F(CheckTest, DestinationsNameModulesOrTheVoicemailSystem) {
    const std::pair<std::string_view, std::vector<std::string>> cases[] = {
        {"on {1} goto [Menu]\r\n", {}},
        {"on {1} goto [menu]\r\n", {"path on {1} leads to [menu], which names no module"}},
        {"on {1} goto [Voicemail Box 200]\r\n", {}},
        {"on {1} goto [Voicemail Box Menu]\r\n", {}},
        {"on {1} goto [Voicemail Retrieve]\r\n", {}},
        {"on {1} goto [voicemail auto attendant]\r\n", {}},
        {"on {1} goto [Voicemail Box]\r\n",
         {"path on {1} leads to [Voicemail Box], which names no module"}},
        {"on {1} gosub [Sub] return [Menu]\r\n",
         {"path on {1} calls [Sub], which names no module"}},
        {"on {1} gosub [Menu] return [After]\r\n",
         {"path on {1} returns to [After], which names no module"}},
        {"on {1} return [After]\r\n", {"path on {1} returns to [After], which names no module"}},
        {"on {1} return\r\n", {}},
        {"on {1} goto [Menu] rvset\r\n[Where]{Nowhere}\r\n", {}},
        // Read as the drawing reads it, up to the first "]": the title a file's section
        // "[Sales [East]]" gives.
        {"on {1} goto [Sales [East]]\r\n", {}},
        {"on {1} goto [Sales [West]]\r\n",
         {"path on {1} leads to [Sales [West]], which names no module"}},
        // Reasons stay on one line.
        {"on {\r} goto [A\nB]\r\n", {"path on { } leads to [A B], which names no module"}},
    };
    for (const auto& [paths, expected] : cases) {
        Fresh();
        Add(kTypePlay, "Start", paths);
        Add(kTypePlay, "Menu", "on {1} goto [Start]\r\n");
        Add(kTypeHangup, "Sales [East");
        EXPECT_EQ(Reasons(Check(), ProblemKind::UnknownDestination), expected) << paths;
    }
}

TEST_F(CheckTest, ReachabilityFollowsEveryDestination) {
    // A gosub's return destination is reached too.
    Add(kTypePlay, "Start", "on {1} gosub [Sub] return [After]\r\n");
    Add(kTypeGetNumbers, "Sub", "on {success} return\r\n");
    Add(kTypeHangup, "After");
    EXPECT_EQ(Check(), std::vector<Problem>{});

    // A module titled like a voicemail destination is a module.
    Fresh();
    Add(kTypePlay, "Start", "on {1} goto [Voicemail Box 7]\r\n");
    Add(kTypeHangup, "Voicemail Box 7");
    EXPECT_EQ(Check(), std::vector<Problem>{});

    // The paths of a hang-up module are never taken.
    Fresh();
    Add(kTypePlay, "Start", "on {1} goto [Bye]\r\n");
    Add(kTypeHangup, "Bye", "on {success} goto [Hidden]\r\n");
    Add(kTypeHangup, "Hidden");
    EXPECT_EQ(KindsAndTitles(Check()),
              (std::vector<KindAndTitle>{{ProblemKind::HangupWithPaths, "Bye"},
                                         {ProblemKind::Unreachable, "Hidden"}}));

    // The start module is found in any letter case, as loading accepts it.
    Fresh();
    Add(kTypeHangup, "Other");
    Add(kTypePlay, "Welcome", "on {1} goto [Other]\r\n");
    t->Script(s).StartModule = "WELCOME";
    EXPECT_EQ(Check(), std::vector<Problem>{});
}

TEST_F(CheckTest, StartModuleThatNamesNoModule) {
    Add(kTypePlay, "First", "on {1} goto [Second]\r\n");
    Add(kTypeHangup, "Second");
    t->Script(s).StartModule = "";
    EXPECT_EQ(Reasons(Check(), ProblemKind::BadStartModule),
              std::vector<std::string>{
                  "no start module is set; calls start at the first module, [First]"});
    t->Script(s).StartModule = "Gone";
    std::vector<Problem> problems = Check();
    ASSERT_EQ(problems.size(), 1u) << "reachability runs from the first module";
    EXPECT_EQ(problems[0].Module, -1);
    EXPECT_EQ(problems[0].Title, "");

    Fresh();
    EXPECT_EQ(Reasons(Check(), ProblemKind::BadStartModule),
              std::vector<std::string>{"the script has no modules"});
}

TEST_F(CheckTest, OddInputDoesNotTripTheChecker) {
    EXPECT_TRUE(CheckScript(*t, 0).empty());
    EXPECT_TRUE(CheckScript(*t, kScriptCapacity + 1).empty());

    // A chain that loops back is checked once around.
    Add(kTypePlay, "A", "on {1} goto [B]\r\n");
    Add(kTypePlay, "B", "on {1} goto [A]\r\n");
    t->Module(t->Script(s).LastModule).NextModule = t->Script(s).FirstModule;
    EXPECT_EQ(Check(), std::vector<Problem>{});

    // Path texts that are all brackets and braces, or very long.
    Fresh();
    Add(kTypeEvaluate, "A",
        "on {{{]]][[[}}} goto [[[[]]]\r\non {\r\n[]{}\r\n" + std::string(100000, '['));
    EXPECT_NO_THROW(Check());
}

TEST_F(CheckTest, LargeScriptIsCheckedWhole) {
    // 1000 modules in a row, each with three paths onward; only the last hangs up.
    for (int i = 0; i < ModuleLimit; ++i) {
        std::string paths;
        if (i + 1 < ModuleLimit)
            for (int k = 1; k <= 3 && i + k < ModuleLimit; ++k)
                paths += "on {" + std::to_string(k) + "} goto [M" + std::to_string(i + k) + "]\r\n";
        Add(i + 1 < ModuleLimit ? kTypePlay : kTypeHangup, "M" + std::to_string(i), paths);
    }
    EXPECT_EQ(Check(), std::vector<Problem>{});
    // With the first module going nowhere else, every other one is out of reach.
    t->Module(t->Script(s).FirstModule).PathText = "on {1} goto [M0]\r\n";
    EXPECT_EQ(Check().size(), static_cast<size_t>(ModuleLimit - 1));
}

TEST_F(CheckTest, APathWhoseTriggerAnEarlierOneTakesIsNeverTaken) {
    const std::pair<std::string_view, std::vector<std::string>> cases[] = {
        {"on {1} goto [M]\r\non {2} goto [M]\r\n", {}},
        {"on {1} goto [M]\r\non {1} gosub [M]\r\n",
         {"path on {1} is never taken: the earlier path on {1} takes the same events"}},
        // Compared trimmed and without letter case, as a call compares them.
        {"on {Busy} goto [M]\r\non { busy } goto [M]\r\n",
         {"path on { busy } is never taken: the earlier path on {Busy} takes the same events"}},
        // Every timeout is the one timeout of the module, whatever its seconds.
        {"on {timeout 5} goto [M]\r\non {Timeout 10} return\r\n",
         {"path on {Timeout 10} is never taken: the earlier path on {timeout 5} takes the same "
          "events"}},
        {"on {1} goto [M]\r\non {12} goto [M]\r\non {timeout} goto [M]\r\n", {}},
        // Each later repeat is reported against the first.
        {"on {#} goto [M]\r\non {#} goto [M]\r\non {#} goto [M]\r\n",
         {"path on {#} is never taken: the earlier path on {#} takes the same events",
          "path on {#} is never taken: the earlier path on {#} takes the same events"}},
    };
    for (const auto& [paths, expected] : cases) {
        Fresh();
        Add(kTypeDialAndConference, "M", paths);
        EXPECT_EQ(Reasons(Check(), ProblemKind::DuplicateTrigger), expected) << paths;
    }
}

TEST_F(CheckTest, EveryModuleButAHangupOrATransferNeedsAPath) {
    for (std::string_view type : kAllModuleTypes) {
        Fresh();
        Add(type, "M");
        const bool leaves = type == kTypeHangup || type == kTypeTransferCall;
        EXPECT_EQ(Reasons(Check(), ProblemKind::NoPaths),
                  leaves
                      ? std::vector<std::string>{}
                      : std::vector<
                            std::string>{"the module has no paths, so the call has nowhere to go"})
            << type;
    }
    // Paths that tidying drops are no paths.
    Fresh();
    Add(kTypePlay, "M", "goto [M]\r\non {1} goto\r\n");
    EXPECT_EQ(KindsAndTitles(Check()), (std::vector<KindAndTitle>{{ProblemKind::UntidyPaths, "M"},
                                                                  {ProblemKind::NoPaths, "M"}}));
}

TEST_F(CheckTest, EachTypeNamesTheEmptyFieldsItNeeds) {
    const std::pair<std::string_view, std::vector<std::string>> cases[] = {
        {kTypePlay, {"neither \"Sound file to play\" nor \"Text to speak\" is filled in"}},
        {kTypeRecord, {"\"Sound file to record\" is empty"}},
        {kTypeGetNumbers, {}},
        {kTypeSayNumbers, {"\"Number to say\" is empty"}},
        {kTypeRunProgram, {"\"Program to run\" is empty"}},
        {kTypeDatabaseQuery,
         {"neither \"Database or ODBC Data Source\" nor \"Connect String\" is filled in",
          "\"SQL Query\" is empty"}},
        {kTypeEvaluate, {"\"Expression to Evaluate\" is empty"}},
        {kTypeSendEmail, {"\"To\" is empty"}},
        {kTypeTimeSwitch, {}},
        {kTypeTts, {}},
        {kTypeTransferCall, {"\"Phone\" is empty"}},
        {kTypePhoneMessage, {"\"Phone\" is empty"}},
        {kTypeMakeCallOld, {"\"Phone\" is empty"}},
        {kTypeDialAndConference, {"\"Phone\" is empty"}},
        {kTypeRunVbScript, {"\"VBScript\" is empty"}},
        {kTypeDde, {"\"DDE Topic\" is empty", "\"Data\" is empty"}},
        {kTypePagerMessage, {"\"Telephone\" is empty", "\"Message\" is empty"}},
        {kTypeHangup, {}},
    };
    for (const auto& [type, expected] : cases) {
        Fresh();
        AddBare(type, "M", "on {1} goto [M]\r\n");
        EXPECT_EQ(Reasons(Check(), ProblemKind::EmptyField), expected) << type;
        Fresh();
        Add(type, "M", "on {1} goto [M]\r\n");
        EXPECT_EQ(Reasons(Check(), ProblemKind::EmptyField), std::vector<std::string>{}) << type;
    }

    // Blanks are nothing; either of two fields will do; the caption follows the settings.
    using Set = std::function<void(ModuleRecord&)>;
    const std::tuple<std::string_view, Set, std::vector<std::string>> settings[] = {
        {kTypePlay,
         [](ModuleRecord& m) { m.strTtsText = "  \t"; },
         {"neither \"Sound file to play\" nor \"Text to speak\" is filled in"}},
        {kTypePlay, [](ModuleRecord& m) { m.PlayFileSlot(1) = "[Greeting]"; }, {}},
        {kTypeDatabaseQuery,
         [](ModuleRecord& m) {
             m.DbConnectString = "DSN=Calls";
             m.DbSql = "SELECT 1";
         },
         {}},
        {kTypeDde,
         [](ModuleRecord& m) {
             m.strDdeType = "EXECUTE";
             m.strDdeLinkTopic = "System";
         },
         {"\"Command\" is empty"}},
        {kTypePagerMessage,
         [](ModuleRecord& m) {
             m.PagerType = "RUN_PAGER_PET";
             m.PagerTelNbr = "555";
             m.PagerMessage = "Call back";
         },
         {"\"Pager\" is empty"}},
        {kTypePhoneMessage,
         [](ModuleRecord& m) { m.sDialPhone[1] = "555"; },
         {"\"Phone\" is empty"}},
    };
    for (const auto& [type, set, expected] : settings) {
        Fresh();
        set(AddBare(type, "M", "on {1} goto [M]\r\n"));
        EXPECT_EQ(Reasons(Check(), ProblemKind::EmptyField), expected) << type;
    }
}

// The files a module names, looked up as playing looks them up.
TEST_F(CheckTest, NamedFilesAreLookedUpAsPlayingDoes) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "prompts");
    std::filesystem::create_directories(dir.path() / "tools");
    dir.Write("prompts/Hello.wav", "RIFF");
    dir.Write("top.wav", "RIFF");
    dir.Write("caf\xc3\xa9.wav", "RIFF"); // named in UTF-8 on disk
    dir.Write("tools/my tool.sh", "#!");
    dir.Write("tools/run.sh", "#!");
    const std::string folder = dir.path().string() + "/";

    using Set = std::function<void(ModuleRecord&)>;
    auto slot = [](int n, std::string v) {
        return Set([=](ModuleRecord& m) { m.PlayFileSlot(n) = v; });
    };
    struct Case {
        std::string_view type;
        Set set;
        bool missing;
        const char* note;
    };
    const Case cases[] = {
        {kTypePlay, slot(1, "prompts\\hello.WAV"), false, "letter case and \\ as on Windows"},
        {kTypePlay, slot(1, "top.wav"), false, "in the script's folder"},
        {kTypePlay, slot(1, "/elsewhere/top.wav"), false, "its file name in the script's folder"},
        {kTypePlay, slot(1, "C:\\Prompts\\Gone.wav"), false, "a drive of the engine's machine"},
        {kTypePlay, slot(1, "\\\\server\\prompts\\gone.wav"), false, "a Windows share"},
        {kTypePlay, slot(1, "[Greeting]"), false, "a result variable"},
        {kTypePlay, slot(1, "prompts\\[Lang]\\hello.wav"), false, "a result variable"},
        {kTypePlay, slot(1, "%PROMPTS%\\gone.wav"), false, "an environment variable"},
        {kTypePlay, slot(1, "caf\xe9.wav"), false, "Windows-1252 name, UTF-8 on disk"},
        {kTypePlay, slot(1, "  "), false, "blank"},
        {kTypePlay, slot(1, "prompts\\gone.wav"), true, "missing"},
        {kTypeDatabaseQuery, slot(1, "gone.wav"), false, "sound while querying, not kept"},
        {kTypeGetNumbers, slot(4, "gone.wav"), true, "length message"},
        // Every slot the script file keeps for the module is a sound it plays, shown in its
        // dialog or not.
        {kTypeGetNumbers, slot(5, "gone.wav"), true, "a slot the dialog does not show"},
        {kTypeGetNumbers, slot(10, "gone.wav"), true, "the last slot"},
        {kTypePlay, slot(2, "gone.wav"), true, "a second sound"},
        {kTypePlay, slot(10, "gone.wav"), true, "the last slot"},
        {kTypeSayNumbers, slot(2, "gone.wav"), false, "the number to say"},
        {kTypeSayNumbers, slot(3, "gone.wav"), true, "after the number"},
        {kTypeSayNumbers, slot(4, "gone.wav"), true, "a slot the dialog does not show"},
        {kTypeSayNumbers, slot(10, "gone.wav"), true, "the last slot"},
        {kTypeEvaluate, slot(1, "gone.wav"), false, "the expression"},
        {kTypeTransferCall, slot(1, "gone.wav"), false, "the number to transfer to"},
        {kTypeRunProgram, slot(1, "tools/my tool.sh --fast"), false, "a path with a blank"},
        {kTypeRunProgram, slot(1, "\"tools/my tool.sh\" -x"), false, "a quoted path"},
        {kTypeRunProgram, slot(1, "tools/run.sh [Caller]"), false, "arguments"},
        {kTypeRunProgram, slot(1, "notepad.exe gone.txt"), false, "found through the PATH"},
        {kTypeRunProgram, slot(1, "tools\\gone.exe /x"), true, "missing program"},
        {kTypeRunProgram, slot(1, "\"tools/gone.sh\""), true, "missing quoted program"},
        {kTypeRunProgram, slot(2, "gone.wav"), true, "hold sound"},
        {kTypeRunVbScript, slot(1, "gone.vbs"), false, "the script text"},
        {kTypeRunVbScript, slot(3, "gone.vbs"), true, "the file to run"},
        {kTypeTransferCall, slot(2, "gone.wav"), false, "on-hold sound of a blind transfer"},
        {kTypeTransferCall,
         [](ModuleRecord& m) {
             m.iXferType = 5;
             m.PlayFileSlot(2) = "gone.wav";
             m.PlayFileSlot(3) = "gone.wav";
         },
         true, "on-hold sound of a dial-out (announce unused)"},
        {kTypeTransferCall,
         [](ModuleRecord& m) {
             m.iXferType = 3;
             m.PlayFileSlot(3) = "gone.wav";
         },
         true, "announce sound"},
        {kTypePhoneMessage,
         [](ModuleRecord& m) {
             m.sDialPhone[0] = "555";
             m.sDialWelc[0] = "top.wav";
             m.sDialScript[0] = "gone.rys";
             m.sDialWelc[1] = "gone.wav"; // a contact without a number
         },
         true, "script of the answered call"},
        {kTypeDialAndConference, [](ModuleRecord& m) { m.sDncPlayWhileConnecting = "gone.wav"; },
         true, "hold sound"},
        {kTypeDialAndConference, [](ModuleRecord& m) { m.sDncTimeWarningMsg = "gone.wav"; }, false,
         "not kept in the file"},
        {kTypeRecord, [](ModuleRecord& m) { m.RecFile = "gone.wav"; }, false, "made by recording"},
        {kTypeSendEmail, [](ModuleRecord& m) { m.strEmailAttachmentFileName = "gone.wav"; }, false,
         "attachment"},
    };
    for (const Case& c : cases) {
        Fresh();
        t->Script(s).FolderPath = folder;
        c.set(Add(c.type, "M"));
        std::vector<std::string> found = Reasons(Check(), ProblemKind::MissingFile);
        EXPECT_EQ(found.size(), c.missing ? 1u : 0u) << c.type << ": " << c.note;
    }

    // A file recorded by a Record module exists once a call has been there.
    Fresh();
    t->Script(s).FolderPath = folder;
    Add(kTypeRecord, "Rec", "on {#} goto [M]\r\n").RecFile = "msgs\\new.wav";
    Add(kTypePlay, "M", "on {1} goto [Rec]\r\n").PlayFileSlot(1) = "Msgs/NEW.wav";
    EXPECT_EQ(Check(), std::vector<Problem>{});

    // The script run at hang-up, and the reasons given.
    Fresh();
    t->Script(s).FolderPath = folder;
    t->Script(s).RunAtHangup = "after\\gone.rys";
    Add(kTypePlay, "M", "on {1} goto [M]\r\n").PlayFileSlot(1) = "prompts\\gone.wav";
    std::vector<Problem> problems = Check();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], (Problem{ProblemKind::MissingFile, -1, "",
                                    "script run at hang-up \"after\\gone.rys\" not found"}));
    EXPECT_EQ(problems[1].Reason, "sound file \"prompts\\gone.wav\" not found");
    CheckOptions noFiles;
    noFiles.CheckFiles = false;
    EXPECT_EQ(Check(noFiles), std::vector<Problem>{});
}

} // namespace
} // namespace ry
