#include "rys_run.h"

#include "commands.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

namespace ry {
namespace {

using test::Rys;
using test::RysRun;

// Every command refuses an option it does not take and a wrong number of arguments with its
// own usage line, not the whole list of commands.
TEST(RysUsage, EveryCommandShowsItsOwnUsageLine) {
    struct Case {
        const char* usage; // how the command's usage line starts
        std::vector<std::string> unknownOption;
        std::vector<std::string> wrongCount;
    };
    const Case cases[] = {
        {"dump", {"dump", "a.rys", "--nope"}, {"dump", "a.rys", "b.rys"}},
        {"resave", {"resave", "a.rys", "b.rys", "--nope"}, {"resave", "a.rys"}},
        {"tidy", {"tidy", "--check", "a.rys", "--nope"}, {"tidy", "--check"}},
        {"protect",
         {"protect", "a.rys", "b.ryp", "--password", "p", "--nope"},
         {"protect", "a.rys", "--password", "p"}},
        {"unprotect",
         {"unprotect", "a.ryp", "b.rys", "--password", "p", "--nope"},
         {"unprotect", "a.ryp", "b.rys", "c.rys", "--password", "p"}},
        {"check", {"check", "a.rys", "--nope"}, {"check", "--json"}},
        {"simulate", {"simulate", "a.rys", "1", "--nope"}, {"simulate", "--json"}},
        {"test", {"test", "a.yaml", "--nope"}, {"test", "--junit", "out.xml"}},
        {"arrange", {"arrange", "a.rys", "b.rys", "--nope"}, {"arrange", "a.rys"}},
        {"diff", {"diff", "a.rys", "b.rys", "--nope"}, {"diff", "a.rys"}},
        {"git-diff",
         {"git-diff", "p", "a", "1", "1", "b", "2", "2", "--nope"},
         {"git-diff", "p", "a", "1", "1", "b", "2"}},
        {"textconv", {"textconv", "a.rys", "--nope"}, {"textconv", "a.rys", "b.rys"}},
        {"ini get", {"ini", "get", "RY.INI", "S", "k", "--nope"}, {"ini", "get", "RY.INI", "S"}},
        {"ini set",
         {"ini", "set", "RY.INI", "S", "k", "v", "--nope"},
         {"ini", "set", "RY.INI", "S", "k", "v", "w"}},
    };
    std::set<std::string> tested;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.usage);
        tested.insert(std::string(c.usage).substr(0, std::string(c.usage).find(' ')));
        const std::string usage = "\nUsage: rys " + std::string(c.usage) + " ";
        const RysRun unknown = Rys(c.unknownOption);
        EXPECT_EQ(unknown.code, 2);
        EXPECT_EQ(unknown.out, "");
        EXPECT_EQ(unknown.err.rfind("rys: unknown option --nope" + usage, 0), 0u) << unknown.err;
        const RysRun count = Rys(c.wrongCount);
        EXPECT_EQ(count.code, 2);
        EXPECT_EQ(count.out, "");
        EXPECT_EQ(count.err.rfind("rys: ", 0), 0u) << count.err;
        EXPECT_NE(count.err.find(usage), std::string::npos) << count.err;
        for (const RysRun* r : {&unknown, &count})
            EXPECT_EQ(r->err.find("Commands:"), std::string::npos) << r->err;
    }
    // A command added to the help text is added here too.
    const std::string help(cli::kUsage);
    const std::regex command("\n  ([a-z]+) ");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), command);
         it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(tested.count((*it)[1].str())) << (*it)[1].str();
}

TEST(RysUsage, IniWithoutAnActionShowsBothForms) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"ini"}, {"ini", "list"}}) {
        const RysRun r = Rys(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("\nUsage: rys ini get FILE SECTION KEY [--int DEFAULT]\n"
                             "       rys ini set FILE SECTION KEY VALUE\n"),
                  std::string::npos)
            << r.err;
    }
}

// A lone "--" ends the options, so a value may start with dashes.
TEST(RysUsage, AfterADoubleDashEveryArgumentIsPositional) {
    test::TempDir dir;
    const std::string ini = dir.File("RY.INI");
    EXPECT_EQ(Rys({"ini", "set", ini, "PBX", "Prefix", "--9"}).code, 2);
    ASSERT_EQ(Rys({"ini", "set", "--", ini, "PBX", "Prefix", "--9"}).code, 0);
    const RysRun get = Rys({"ini", "get", ini, "PBX", "Prefix"});
    EXPECT_EQ(get.code, 0);
    EXPECT_EQ(get.out, "--9\n");
}

} // namespace
} // namespace ry
