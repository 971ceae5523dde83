#include "rys_run.h"

#include "script/protected_script.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace ry {
namespace {

using test::ReadAll;
using test::Rys;
using test::RysRun;
using test::TempDir;

const std::string kOffice = RY_EXAMPLES_DIR "/office-line.rys";

TEST(RysSimulate, WalksTheExampleOneLinePerModule) {
    const std::string greeting = "Greeting (Play): timeout -> on {timeout 0} goto [Office Hours]\n";
    const std::string open = "Office Hours (Time Switch): true -> on {true} goto [Main Menu]\n";
    struct Case {
        std::vector<std::string> events;
        int code;
        std::string out;
    };
    const Case cases[] = {
        {{"timeout", "true", "1", "success"},
         0,
         greeting + open +
             "Main Menu (Play): 1 -> on {1} goto [Sales]\n"
             "Sales (Transfer Call): success -> on {success} goto [Goodbye]\n"
             "Goodbye (Hangup the Call)\n"
             "end: hangup at Goodbye\n"},
        {{"timeout", "true", "9"},
         0,
         greeting + open +
             "Main Menu (Play): 9 -> on {9} goto [Voicemail Box 200]\n"
             "end: voicemail at Main Menu: Voicemail Box 200\n"},
        {{"timeout", "true", "timeout", "5"},
         1,
         greeting + open +
             "Main Menu (Play): timeout -> on {timeout 5} goto [Main Menu]\n"
             "Main Menu (Play): 5 -> no path\n"
             "end: no-path at Main Menu\n"},
        {{"timeout", "false"},
         1,
         greeting + "Office Hours (Time Switch): false -> on {false} goto [After Hours]\n"
                    "After Hours (Play)\n"
                    "end: no-more-events at After Hours\n"},
        {{}, 1, "Greeting (Play)\nend: no-more-events at Greeting\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"simulate", kOffice};
        args.insert(args.end(), c.events.begin(), c.events.end());
        RysRun r = Rys(args);
        EXPECT_EQ(r.code, c.code) << r.out << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

TEST(RysSimulate, JsonInUtf8WithNullsAndVariables) {
    TempDir dir;
    // Windows-1252 in the file: "Caf\xe9" is "Café".
    std::string file = dir.Write(
        "s.rys", "StartModule=Caf\xe9\r\n\r\n[Caf\xe9]\r\nType=Evaluate\r\n"
                 "on {Gold} goto [Nowhere] rvset\r\n[Tier]{Gold \"1\"}\r\n[Who]{Z\xe9}\r\n"
                 "\r\nPosition=0,0\r\n");
    RysRun r = Rys({"simulate", "--json", file, "gold"});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.out, "{\n"
                     "  \"steps\": [\n"
                     "    {\n"
                     "      \"module\": \"Caf\xc3\xa9\",\n"
                     "      \"type\": \"Evaluate\",\n"
                     "      \"event\": \"gold\",\n"
                     "      \"path\": \"on {Gold} goto [Nowhere] rvset [Tier]{Gold \\\"1\\\"} "
                     "[Who]{Z\xc3\xa9}\"\n"
                     "    }\n"
                     "  ],\n"
                     "  \"end\": {\n"
                     "    \"reason\": \"unknown-destination\",\n"
                     "    \"module\": \"Caf\xc3\xa9\",\n"
                     "    \"destination\": \"Nowhere\"\n"
                     "  },\n"
                     "  \"variables\": [\n"
                     "    {\n"
                     "      \"name\": \"Tier\",\n"
                     "      \"value\": \"Gold \\\"1\\\"\"\n"
                     "    },\n"
                     "    {\n"
                     "      \"name\": \"Who\",\n"
                     "      \"value\": \"Z\xc3\xa9\"\n"
                     "    }\n"
                     "  ],\n"
                     "  \"unused_events\": []\n"
                     "}\n");

    // Events typed in UTF-8 are compared as the script holds its text.
    std::string accented =
        dir.Write("a.rys", "[A]\r\nType=Evaluate\r\non {\xe9t\xe9} goto [B]\r\n"
                           "\r\nPosition=0,0\r\n[B]\r\nType=Hangup the Call\r\n");
    EXPECT_EQ(Rys({"simulate", accented, "\xc3\x89T\xc3\x89"}).code, 0);

    // The module waited at has no event and no path; only voicemail and unknown destinations
    // name a destination.
    r = Rys({"simulate", kOffice, "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("\"event\": null,\n      \"path\": null"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"reason\": \"no-more-events\",\n    \"module\": \"Greeting\",\n"
                         "    \"destination\": null"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"variables\": []"), std::string::npos) << r.out;
}

TEST(RysSimulate, UsageErrorsAndScriptsThatDoNotLoad) {
    TempDir dir;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"simulate"}, {"simulate", "--json"}, {"simulate", kOffice, "--password"}}) {
        RysRun r = Rys(args);
        EXPECT_EQ(r.code, 2) << args.size();
        EXPECT_NE(r.err.find("Usage: rys"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    RysRun gone = Rys({"simulate", dir.File("missing.rys"), "1"});
    EXPECT_EQ(gone.code, 2);
    EXPECT_EQ(gone.out, "");
    EXPECT_NE(gone.err.find("not loaded: there is no such file"), std::string::npos) << gone.err;

    // A protected script opens with its password, and not without it.
    std::string locked = dir.Write(
        "s.ryp", EncryptScriptText(InsertPasswordLine(ReadAll(kOffice), "PW"), ScriptKey()));
    EXPECT_EQ(Rys({"simulate", locked, "--password", "pw", "timeout", "true", "9"}).code, 0);
    EXPECT_EQ(Rys({"simulate", locked, "--password", "wrong", "timeout"}).code, 2);
}

TEST(RysSimulate, TransfersLeftOverEventsAndTheClock) {
    TempDir dir;
    std::string transfer = dir.Write("t.rys", "[Desk]\r\nType=Transfer Call\r\n"
                                              "on {fail} goto [Desk]\r\n\r\nPosition=0,0\r\n");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string tail; // the end of the text output
    };
    const Case cases[] = {
        {{transfer, "success"}, 0, "end: transferred at Desk\n"},
        {{transfer, "success", "1", "#"}, 1, "end: transferred at Desk\nunused events: 1 #\n"},
        // Wednesday 09:30: open, so the switch goes on to the menu by itself.
        {{kOffice, "--at", "2026-12-09 09:30", "timeout", "1", "success"},
         0,
         "Office Hours (Time Switch): true -> on {true} goto [Main Menu]\n"
         "Main Menu (Play): 1 -> on {1} goto [Sales]\n"
         "Sales (Transfer Call): success -> on {success} goto [Goodbye]\n"
         "Goodbye (Hangup the Call)\nend: hangup at Goodbye\n"},
        // Saturday: shut.
        {{kOffice, "--at", "2026-12-12 09:30", "timeout", "timeout", "#"},
         0,
         "Office Hours (Time Switch): false -> on {false} goto [After Hours]\n"
         "After Hours (Play): timeout -> on {timeout 0} goto [Leave Message]\n"
         "Leave Message (Record): # -> on {#} goto [Goodbye]\n"
         "Goodbye (Hangup the Call)\nend: hangup at Goodbye\n"},
        // The clock given answers the switch: true on a Saturday is a fault naming it.
        {{kOffice, "--at", "2026-12-12 09:30", "timeout", "true", "9"},
         1,
         "end: time-switch-event at Office Hours\nunused events: true 9\n"},
        // Without a clock given, a true still chooses the branch.
        {{kOffice, "timeout", "true", "9"}, 0, "end: voicemail at Main Menu: Voicemail Box 200\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"simulate"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        RysRun r = Rys(args);
        EXPECT_EQ(r.code, c.code) << r.out << r.err;
        EXPECT_TRUE(r.out.ends_with(c.tail)) << r.out;
    }
    RysRun refused = Rys({"simulate", kOffice, "--at", "2026-12-12 09:30", "timeout", "true"});
    EXPECT_EQ(refused.err, "rys: \"true\" was given for the Time Switch Office Hours, which the "
                           "clock answers (false: Saturday is not an open day); leave out --at to "
                           "choose its branch\n");
    RysRun json = Rys({"simulate", "--json", transfer, "success", "1"});
    EXPECT_EQ(json.code, 1);
    EXPECT_NE(json.out.find("\"reason\": \"transferred\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"unused_events\": [\n    \"1\"\n  ]"), std::string::npos) << json.out;
    for (const char* at : {"12/09/2026 09:30", "now", ""}) {
        RysRun bad = Rys({"simulate", kOffice, "--at", at, "timeout"});
        EXPECT_EQ(bad.code, 2) << at;
        EXPECT_NE(bad.err.find("--at"), std::string::npos) << bad.err;
    }
    EXPECT_EQ(Rys({"simulate", kOffice, "--at"}).code, 2);
}

// The program itself: its exit status and output as a shell sees them.
TEST(RysSimulate, TheProgramExitsByHowTheCallEnded) {
    TempDir dir;
    const std::string out = dir.File("out.txt");
    auto run = [&](const std::string& events) {
        std::string command = std::string("'") + RYS_BINARY + "' simulate '" + kOffice + "' " +
                              events + " >'" + out + "' 2>&1";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("timeout true 1 success"), 0);
    EXPECT_NE(ReadAll(out).find("end: hangup at Goodbye\n"), std::string::npos) << ReadAll(out);
    EXPECT_EQ(run("timeout false"), 1);
    EXPECT_EQ(run("--json"), 1);
    EXPECT_NE(ReadAll(out).find("\"reason\": \"no-more-events\""), std::string::npos);
    EXPECT_EQ(run(""), 1);
    EXPECT_EQ(std::system(("'" + std::string(RYS_BINARY) + "' simulate >/dev/null 2>&1").c_str()) >>
                  8,
              2);
}

} // namespace
} // namespace ry
