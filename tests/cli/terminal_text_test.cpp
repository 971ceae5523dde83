#include "rys_run.h"
#include "terminal_text.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

using test::ReadAll;
using test::Rys;
using test::RysRun;
using test::TempDir;

TEST(TerminalText, ControlCharactersAreEscapedAndPrintableTextIsKept) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"Main Menu", "Main Menu"},
        {"Caf\xC3\xA9 \xE2\x82\xAC 5, \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\x9E", // é € 日本 📞
         "Caf\xC3\xA9 \xE2\x82\xAC 5, \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\x9E"},
        {"\x1b]0;owned\x07title", "\\x1b]0;owned\\x07title"}, // retitles the window
        {"a\x1b[2Jb", "a\\x1b[2Jb"},                          // clears the screen
        {std::string("nul\0tab\tcr\rlf\ndel\x7f", 18), "nul\\x00tab\\x09cr\\x0dlf\\x0adel\\x7f"},
        {"\xC2\x9B"
         "31m",
         "\\u009b31m"},                                               // the one-character CSI (C1)
        {"\xC2\xA0\xC2\xA9", "\xC2\xA0\xC2\xA9"},                     // no-break space and (c) stay
        {"bad \xFF\xE9 end\xE2\x82", "bad \\xff\\xe9 end\\xe2\\x82"}, // not UTF-8
        {"back\\slash", "back\\slash"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::TerminalText(c.text), c.shown) << c.text;
}

// A script whose module title and paths hold terminal controls, and a scenario for it whose
// call name does.
class RysTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        script = dir.Write("esc.rys", "Version=5.0\r\nStartModule=Menu\x1b"
                                      "c\x07\r\n\r\n"
                                      "[Menu\x1b"
                                      "c\x07]\r\nType=Play\r\nDispSize=69\r\n"
                                      "Txt=Menu\r\non {timeout 0} goto [Nowhere\x1b"
                                      "c]\r\n\r\n"
                                      "Position=0,0\r\n\r\n");
        scenario = dir.Write("esc.yaml", "script: esc.rys\ncalls:\n"
                                         "  - name: \"\\e]0;owned\\a call\"\n"
                                         "    events: [timeout]\n    end: hangup\n");
    }
    TempDir dir;
    std::string script, scenario;
};

TEST_F(RysTerminal, TitlesAndCallNamesReachTheTerminalEscaped) {
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{"simulate", script, "timeout"},
         "Menu\\x1bc\\x07 (Play): timeout -> on {timeout 0} goto [Nowhere\\x1bc]\n"
         "end: unknown-destination at Menu\\x1bc\\x07: Nowhere\\x1bc\n"},
        {{"check", script}, script + ": Menu\\x1bc\\x07: "},
        {{"test", scenario},
         "FAIL \\x1b]0;owned\\x07 call: want end hangup, got "
         "unknown-destination at Menu\\x1bc\\x07 to Nowhere\\x1bc after "
         "timeout\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const RysRun r = Rys(c.args);
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find('\x07'), std::string::npos) << r.out;
    }
    // The machine-read outputs keep the text itself, escaped as their formats escape it.
    EXPECT_NE(Rys({"simulate", script, "--json", "timeout"}).out.find("\"Menu\\u001bc\\u0007\""),
              std::string::npos);
    const std::string junit = dir.File("results.xml");
    Rys({"test", scenario, "--junit", junit});
    EXPECT_NE(ReadAll(junit).find("name=\"?]0;owned? call\""), std::string::npos) << ReadAll(junit);
}

} // namespace
} // namespace ry
