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
                     "ok closed on saturday\n"
                     "ok closed from half past five\n"
                     "5 passed, 0 failed\n");
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
