#include "options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace ry::cli {
namespace {

const Syntax kSyntax{.usage = "cmd FILE [FILE] [--json] [--password P] [--at WHEN]",
                     .flags = {"--json"},
                     .options = {{"--password"}, {"--at", "a date and time"}},
                     .minPositional = 1,
                     .maxPositional = 2,
                     .countMessage = "cmd takes one or two files"};

TEST(ReadCommandLine, FlagsOptionsAndPositionalsWhereverTheyStand) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> positional;
        bool json;
        const char* password; // nullptr: not given
    };
    const Case cases[] = {
        {{"a"}, {"a"}, false, nullptr},
        {{"--json", "a", "b"}, {"a", "b"}, true, nullptr},
        {{"a", "--json", "b", "--json"}, {"a", "b"}, true, nullptr},
        {{"a", "--password", "pw", "b"}, {"a", "b"}, false, "pw"},
        {{"--password", "", "a"}, {"a"}, false, ""},
        // A value is the next argument whatever it looks like.
        {{"a", "--password", "--json"}, {"a"}, false, "--json"},
        {{"--password", "x", "a", "--password", "y"}, {"a"}, false, "y"},
        // One dash is no option: a file "-x", or "-" for a stream.
        {{"-", "-x"}, {"-", "-x"}, false, nullptr},
        {{"-json", "--json"}, {"-json"}, true, nullptr},
        // After "--" everything is positional.
        {{"--", "--json", "--nope"}, {"--json", "--nope"}, false, nullptr},
        {{"--json", "a", "--", "--"}, {"a", "--"}, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::string fault;
        const auto read = ReadCommandLine(kSyntax, c.args, fault);
        ASSERT_TRUE(read) << fault;
        EXPECT_EQ(read->positional, c.positional);
        EXPECT_EQ(read->Flag("--json"), c.json);
        EXPECT_EQ(read->Value("--password"),
                  c.password ? std::optional<std::string>(c.password) : std::nullopt);
        EXPECT_EQ(read->Value("--at"), std::nullopt);
    }
}

TEST(ReadCommandLine, UsageFaults) {
    struct Case {
        std::vector<std::string> args;
        const char* fault;
    };
    const Case cases[] = {
        {{"a", "--password"}, "--password needs a value"},
        {{"a", "--at"}, "--at needs a date and time"},
        {{"a", "--jsn"}, "unknown option --jsn"},
        {{"--verbose=1", "a"}, "unknown option --verbose=1"},
        // The first fault on the line is the one told.
        {{"--nope", "a", "--password"}, "unknown option --nope"},
        {{}, "cmd takes one or two files"},
        {{"--json", "--password", "a"}, "cmd takes one or two files"},
        {{"a", "b", "c"}, "cmd takes one or two files"},
        {{"a", "--", "b", "-"}, "cmd takes one or two files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::string fault;
        EXPECT_FALSE(ReadCommandLine(kSyntax, c.args, fault));
        EXPECT_EQ(fault, c.fault);
    }
}

TEST(ReadCommandLine, AFaultPrintsTheMessageAndEachOfTheCommandsUsageLines) {
    std::ostringstream one, two;
    EXPECT_FALSE(ReadCommandLine(kSyntax, {"a", "--nope"}, one));
    EXPECT_EQ(one.str(), "rys: unknown option --nope\n"
                         "Usage: rys cmd FILE [FILE] [--json] [--password P] [--at WHEN]\n");
    const Syntax forms{.usage = "cmd get KEY\ncmd set KEY VALUE"};
    EXPECT_EQ(UsageError(two, forms, "cmd needs get or set"), 2);
    EXPECT_EQ(two.str(), "rys: cmd needs get or set\n"
                         "Usage: rys cmd get KEY\n"
                         "       rys cmd set KEY VALUE\n");
}

} // namespace
} // namespace ry::cli
