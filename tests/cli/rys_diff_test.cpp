// rys diff, git-diff and textconv on script files, and git using them in a repository.

#include "rys_run.h"
#include "temp_dir.h"

#include "script/text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

namespace ry {
namespace {

using test::ReadAll;
using test::Rys;
using test::TempDir;

const std::string kExample = std::string(RY_EXAMPLES_DIR) + "/office-line.rys";

bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// The example with one text replaced, written into `dir`.
std::string Changed(const TempDir& dir, std::string_view name, std::string_view from,
                    std::string_view to) {
    return dir.Write(name, ReplaceAll(ReadAll(kExample), from, to));
}

TEST(RysDiff, ExitStatusTellsMeaning) {
    TempDir dir;
    const std::string moved = Changed(dir, "moved.rys", "Position=300,340", "Position=320,360");
    const std::string other = Changed(dir, "other.rys", "strXferDestExt=201", "strXferDestExt=203");
    struct Row {
        std::string newer;
        int code;
        std::string out;
    };
    const std::vector<Row> rows = {
        {kExample, 0, ""},
        {moved, 0, "1 box moved\n"},
        {other, 1, "Sales: extension 201 → 203\n"},
        {dir.File("missing.rys"), 2, ""},
    };
    for (const Row& r : rows) {
        const auto run = Rys({"diff", kExample, r.newer});
        EXPECT_EQ(run.code, r.code) << r.newer << run.err;
        EXPECT_EQ(run.out, r.out) << r.newer;
    }
    EXPECT_EQ(Rys({"diff", kExample, moved, "--positions"}).out,
              "Sales: moved from 300, 340 to 320, 360\n");
    EXPECT_EQ(Rys({"diff", kExample}).code, 2);
}

TEST(RysDiff, ControlCharactersOfAValuePrintEscaped) {
    TempDir dir;
    const std::string other =
        Changed(dir, "other.rys", "strXferDestExt=201", "strXferDestExt=2\x1b]0;x\x07");
    const auto run = Rys({"diff", kExample, other});
    EXPECT_EQ(run.out, "Sales: extension 201 → 2\\x1b]0;x\\x07\n");
}

TEST(RysDiff, JsonGivesTheSameAsData) {
    TempDir dir;
    const std::string other =
        Changed(dir, "other.rys", "on {2} goto [Leave Message]", "on {2} goto [Goodbye]");
    const auto run = Rys({"diff", kExample, other, "--json"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Has(run.out, "\"same_meaning\": false")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"change\": \"retargeted\"")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"was\": \"Leave Message\"")) << run.out;
}

TEST(RysDiff, ProtectedScriptsCompareByContent) {
    TempDir dir;
    const std::string locked = dir.File("office.ryp");
    ASSERT_EQ(Rys({"protect", kExample, locked, "--password", "secret"}).code, 0);
    EXPECT_EQ(Rys({"diff", kExample, locked, "--password", "secret"}).code, 0);
    const auto wrong = Rys({"diff", kExample, locked, "--password", "wrong"});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_FALSE(wrong.err.empty());
}

TEST(RysDiff, GitDiffTakesGitsSevenArguments) {
    TempDir dir;
    const std::string other = Changed(dir, "other.rys", "strXferDestExt=201", "strXferDestExt=203");
    const auto run = Rys(
        {"git-diff", "office-line.rys", kExample, "0000000", "100644", other, "1111111", "100644"});
    EXPECT_EQ(run.code, 0); // git stops at any other status
    EXPECT_EQ(run.out, "rys diff a/office-line.rys b/office-line.rys\n"
                       "Sales: extension 201 → 203\n");
    const auto added = Rys({"git-diff", "new.rys", "/dev/null", ".", ".", kExample, "1", "100644"});
    EXPECT_EQ(added.code, 0);
    EXPECT_TRUE(Has(added.out, "new script\n"));
    EXPECT_TRUE(Has(added.out, "Greeting: added (Play)\n"));
}

TEST(RysDiff, TextconvListsModulesWithSettingsPathsAndPlace) {
    const auto run = Rys({"textconv", kExample});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Has(run.out, "[Sales] Transfer Call\n  box size: 69\n"
                             "  box text: Transfer to the sales desk.\n"))
        << run.out;
    // Settings as a new module of the type has them are left out.
    EXPECT_FALSE(Has(run.out, "transfer: PBX Blind Transfer")) << run.out;
    EXPECT_TRUE(Has(run.out, "  days: Mo–Fr\n  hours: 8:00–17:30\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "  extension: 201\n"));
    EXPECT_TRUE(Has(run.out, "  on fail → Leave Message\n  at 300, 340\n"));
}

// Output of a shell command run in `dir`.
std::string Shell(const TempDir& dir, const std::string& command) {
    const std::string full = "cd '" + dir.path().string() + "' && " + command + " 2>&1";
    std::string out;
    if (FILE* pipe = ::popen(full.c_str(), "r")) {
        std::array<char, 4096> buffer;
        while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            out.append(buffer.data(), n);
        ::pclose(pipe);
    }
    return out;
}

TEST(RysDiff, GitShowsScriptChangesThroughTheDriver) {
    TempDir dir;
    const std::string rys = RYS_BINARY;
    Shell(dir, "git init -q . && git config user.email t@example.org && git config user.name T");
    // The two lines the manual gives, with the built rys for the installed one.
    Shell(dir, "echo '*.rys diff=rys' > .gitattributes");
    Shell(dir, "git config diff.rys.command '" + rys +
                   " git-diff' && git config diff.rys.textconv '" + rys + " textconv'");
    std::filesystem::copy_file(kExample, dir.File("office-line.rys"));
    Shell(dir, "git add -A && git commit -q -m first");
    Changed(dir, "office-line.rys", "strXferDestExt=201", "strXferDestExt=203");

    const std::string diff = Shell(dir, "git diff");
    EXPECT_TRUE(Has(diff, "Sales: extension 201 → 203")) << diff;
    EXPECT_FALSE(Has(diff, "strXferDestExt")) << diff;

    Shell(dir, "git commit -q -am second");
    const std::string log = Shell(dir, "git log -p --no-ext-diff");
    EXPECT_TRUE(Has(log, "-  extension: 201")) << log;
    EXPECT_TRUE(Has(log, "+  extension: 203")) << log;
}

} // namespace
} // namespace ry
