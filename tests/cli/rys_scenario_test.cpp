#include "rys_run.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace ry {
namespace {

using test::ReadAll;
using test::Rys;
using test::RysRun;
using test::TempDir;

const std::string kExamples = RY_EXAMPLES_DIR;

// What an XML parser reads of a file at an XPath: the file must be well-formed XML.
std::string XPath(const std::string& file, const std::string& expression) {
    const std::string command = "xmllint --xpath '" + expression + "' '" + file + "' 2>&1";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

TEST(RysTest, TheExampleScenarioPasses) {
    const RysRun r = Rys({"test", kExamples + "/office-line.tests.yaml"});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "ok sales answers\n"
                     "ok sales busy, the caller leaves a message\n"
                     "ok caller asks for voicemail\n"
                     "ok open on monday from eight\n"
                     "ok open on tuesday\n"
                     "ok open on thursday\n"
                     "ok open on friday until half past five\n"
                     "ok closed on saturday\n"
                     "ok closed on sunday\n"
                     "ok closed from half past five\n"
                     "10 passed, 0 failed\n");
    EXPECT_EQ(r.err, "");
}

class RysTestFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.path() / "scripts");
        std::filesystem::copy_file(kExamples + "/office-line.rys",
                                   dir.File("scripts/office-line.rys"));
    }
    TempDir dir;
};

TEST_F(RysTestFiles, FailedCallsAreNamedWithWhatWasWantedAndTheRunFails) {
    // The script is found from the scenario's own folder, "\" as well as "/".
    const std::string file = dir.Write("front desk.yaml", R"(script: scripts\office-line.rys
at: 2026-12-09 09:30
calls:
  - name: sales answers
    events: [timeout, 1, success]
    end: hangup
  - name: wrong <end> & more
    events: [timeout, 1, success]
    end: hangup
    module: Sales
  - name: too many events
    events: [timeout, 2, "#", 5]
    end: hangup
)");
    const std::string junit = dir.File("out/results.xml");
    std::filesystem::create_directory(dir.path() / "out");
    const RysRun r = Rys({"test", file, "--junit", junit});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.out, "ok sales answers\n"
                     "FAIL wrong <end> & more: want end hangup at Sales, got hangup at Goodbye "
                     "after timeout, 1, success\n"
                     "FAIL too many events: want every event taken, got 5 left over\n"
                     "1 passed, 2 failed\n");

    EXPECT_EQ(XPath(junit, "count(/testsuites/testsuite)"), "1");
    EXPECT_EQ(XPath(junit, "string(/testsuites/@tests)"), "3");
    EXPECT_EQ(XPath(junit, "string(/testsuites/@failures)"), "2");
    EXPECT_EQ(XPath(junit, "string(/testsuites/testsuite/@name)"), file);
    EXPECT_EQ(XPath(junit, "count(//testcase)"), "3");
    EXPECT_EQ(XPath(junit, "count(//testcase[@name=\"sales answers\"]/failure)"), "0");
    EXPECT_EQ(XPath(junit, "string(//testcase[@name=\"wrong <end> & more\"]/failure/@message)"),
              "want end hangup at Sales, got hangup at Goodbye after timeout, 1, success");
}

// The example's tests guard the office hours: with an open day unticked in the Time Switch,
// that day's calls fail and the run does.
TEST_F(RysTestFiles, TheExampleFailsWhenAnOpenDayIsUnticked) {
    const std::string script = ReadAll(kExamples + "/office-line.rys");
    const std::string tests = ReadAll(kExamples + "/office-line.tests.yaml");
    const std::string days = "sTimeSwitch_DaysSelected=MoTuWeThFr";
    ASSERT_NE(script.find(days), std::string::npos);
    struct Case {
        std::string selected;
        std::vector<std::string> failing;
    };
    const Case cases[] = {
        {"MoTuWeTh", {"open on friday until half past five"}},
        {"TuWeThFr", {"open on monday from eight"}},
        {"MoTuThFr",
         {"sales answers", "sales busy, the caller leaves a message", "caller asks for voicemail"}},
        {"MoTuWeThFrSu", {"closed on sunday"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        std::string changed = script;
        changed.replace(changed.find(days), days.size(), "sTimeSwitch_DaysSelected=" + c.selected);
        dir.Write("office-line.rys", changed);
        const RysRun r = Rys({"test", dir.Write("office-line.tests.yaml", tests)});
        EXPECT_EQ(r.code, 1) << r.out << r.err;
        for (const std::string& name : c.failing)
            EXPECT_NE(r.out.find("FAIL " + name + ": "), std::string::npos) << r.out;
        EXPECT_TRUE(r.out.ends_with(std::to_string(10 - c.failing.size()) + " passed, " +
                                    std::to_string(c.failing.size()) + " failed\n"))
            << r.out;
    }
}

// A call with a clock leaves the Time Switch to it: a clock-only call passes on a weekday and
// fails once the day is unticked; "true" or "false" given for the switch is a fault naming it,
// and `force` is the way to choose its branch by hand.
TEST_F(RysTestFiles, TimeSwitchesFollowTheCallsClock) {
    const std::string calls = R"(script: scripts/office-line.rys
calls:
  - name: clock only, wednesday
    at: 2026-12-09 09:30
    events: [timeout, 1, success]
    end: hangup
    visits: [Office Hours, Main Menu, Sales]
  - name: true given on saturday
    at: 2026-12-12 09:30
    events: [timeout, true, 9]
    end: voicemail
  - name: false given on wednesday
    at: 2026-12-09 09:30
    events: [timeout, false, timeout, timeout, timeout]
    end: hangup
  - name: forced open on saturday
    at: 2026-12-12 09:30
    events: [timeout, 9]
    force: {office hours: true}
    end: voicemail
  - name: forced for no switch
    at: 2026-12-12 09:30
    events: [timeout, timeout, "#"]
    force: {Office Hourz: true}
    end: hangup
  - name: no clock, true still chooses
    events: [timeout, true, 9]
    end: voicemail
)";
    const std::string file = dir.Write("clock.yaml", calls);
    const RysRun r = Rys({"test", file});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.out,
              "ok clock only, wednesday\n"
              "FAIL true given on saturday: \"true\" was given for the Time Switch Office Hours, "
              "which the clock answers (false: Saturday is not an open day); to choose its "
              "branch, write force: {Office Hours: true}\n"
              "FAIL false given on wednesday: \"false\" was given for the Time Switch Office "
              "Hours, which the clock answers (true: Wednesday 09:30 is within 08:00 to 17:30); "
              "to choose its branch, write force: {Office Hours: false}\n"
              "ok forced open on saturday\n"
              "FAIL forced for no switch: want a Time Switch Office Hourz to force, got no Time "
              "Switch of that title\n"
              "ok no clock, true still chooses\n"
              "3 passed, 3 failed\n");

    // Wednesday unticked: the clock-only call fails, the forced one does not care.
    std::string script = ReadAll(dir.File("scripts/office-line.rys"));
    const std::string days = "sTimeSwitch_DaysSelected=MoTuWeThFr";
    script.replace(script.find(days), days.size(), "sTimeSwitch_DaysSelected=MoTuThFr");
    dir.Write("scripts/office-line.rys", script);
    const RysRun shut = Rys({"test", file});
    EXPECT_NE(shut.out.find("FAIL clock only, wednesday: want end hangup, got no-path at After "
                            "Hours after timeout, 1"),
              std::string::npos)
        << shut.out;
    EXPECT_NE(shut.out.find("ok forced open on saturday\n"), std::string::npos) << shut.out;
}

TEST_F(RysTestFiles, AFileThatCannotBeRunEndsWith2AndTheOthersStillRun) {
    const std::string good = dir.Write("good.yaml", "script: scripts/office-line.rys\n"
                                                    "calls:\n"
                                                    "  - name: voicemail\n"
                                                    "    events: [timeout, true, 9]\n"
                                                    "    end: voicemail\n");
    struct Case {
        const char* what;
        std::string file;
        std::string err;
    };
    const Case cases[] = {
        {"an unknown key",
         dir.Write("typo.yaml", "script: scripts/office-line.rys\ncalls:\n"
                                "  - name: x\n    events: []\n"
                                "    end: hangup\n    modul: Goodbye\n"),
         "typo.yaml: line 6: unknown key \"modul\" in the call"},
        {"a missing file", dir.File("none.yaml"), "none.yaml: cannot be read"},
        {"a folder", dir.File("scripts"), "scripts: cannot be read: not a regular file"},
        {"a script that is not there",
         dir.Write("lost.yaml", "script: lost.rys\ncalls:\n  - name: x\n    events: []\n"
                                "    end: hangup\n"),
         "lost.yaml: script lost.rys: not loaded: there is no such file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string junit = dir.File("results.xml");
        const RysRun r = Rys({"test", c.file, good, "--junit", junit});
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "ok voicemail\n1 passed, 0 failed\n");
        EXPECT_EQ(XPath(junit, "count(/testsuites/testsuite)"), "2");
        EXPECT_EQ(XPath(junit, "count(/testsuites/testsuite[1]/testcase/error)"), "1");
        EXPECT_EQ(XPath(junit, "string(/testsuites/@errors)"), "1");
    }
}

TEST_F(RysTestFiles, AReportIsNeverWrittenOverWhatTheRunReads) {
    const std::string scenarioText = "script: scripts/office-line.rys\ncalls:\n"
                                     "  - name: voicemail\n"
                                     "    events: [timeout, true, 9]\n"
                                     "    end: voicemail\n";
    const std::string scenario = dir.Write("calls.yaml", scenarioText);
    const std::string other = dir.Write("other.yaml", scenarioText);
    const std::string script = dir.File("scripts/office-line.rys");
    const std::string scriptBytes = ReadAll(script);
    namespace fs = std::filesystem;
    fs::create_symlink(scenario, dir.File("link-to-calls.xml"));
    fs::create_hard_link(script, dir.File("hard-link-to-script.xml"));
    fs::create_symlink(dir.path() / "scripts", dir.File("scripts-link"));
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::string report;
        std::string says;
    };
    const Case cases[] = {
        {"the scenario file", {scenario}, scenario, "it is the scenario file"},
        {"another scenario file of the run",
         {other, scenario},
         scenario,
         "it is the scenario file"},
        {"the scenario file by another name",
         {scenario},
         dir.File("scripts/../calls.yaml"),
         "it is the scenario file"},
        {"a symbolic link to the scenario file",
         {scenario},
         dir.File("link-to-calls.xml"),
         "it is the scenario file"},
        {"the script", {scenario}, script, "it is the script scripts/office-line.rys"},
        {"the script through a linked folder",
         {scenario},
         dir.File("scripts-link/office-line.rys"),
         "it is the script"},
        {"a hard link to the script",
         {scenario},
         dir.File("hard-link-to-script.xml"),
         "it is the script"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{"test"};
        args.insert(args.end(), c.files.begin(), c.files.end());
        args.insert(args.end(), {"--junit", c.report});
        const RysRun r = Rys(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err.find("rys: " + c.report + ": not written: "), 0u) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(scenario), scenarioText);
        EXPECT_EQ(ReadAll(script), scriptBytes);
    }
    // A report beside them is written.
    const RysRun r = Rys({"test", scenario, "--junit", dir.File("calls.xml")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(XPath(dir.File("calls.xml"), "string(/testsuites/@tests)"), "1");
}

TEST_F(RysTestFiles, UsageErrors) {
    const std::string good = dir.Write("good.yaml", "script: scripts/office-line.rys\ncalls:\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"test"},
                                                 {"test", good, "--junit"},
                                                 {"test", good, "--password"},
                                                 {"test", good, "--jnuit", "x.xml"}}) {
        const RysRun r = Rys(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_EQ(r.err.rfind("rys: ", 0), 0u) << r.err;
    }
    // A results file that cannot be written is no success.
    const RysRun r = Rys({"test", good, "--junit", dir.File("no/such/folder.xml")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("not written"), std::string::npos) << r.err;
}

} // namespace
} // namespace ry
