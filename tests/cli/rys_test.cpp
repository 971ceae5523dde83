#include "rys_run.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

namespace ry {
namespace {

using test::ReadAll;
using test::Rys;
using test::RysRun;
using test::TempDir;

const char* const kScript = "Version=5.0\r\nStartModule=Caf\xe9\r\nStartWithoutAnswer=1\r\n\r\n"
                            "[Caf\xe9]\r\nType=Play\r\nDispSize=0\r\nTxt=one\\\r\ntwo \"q\"\r\n"
                            "PlayFile2=b.wav\r\nReplay=3,4\r\nPosition=10,20\r\n";

TEST(RysDump, PrintsTheRecordsAsJson) {
    TempDir dir;
    RysRun r = Rys({"dump", dir.Write("s.rys", kScript)});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* expected :
         {"\"StartModule\": \"Caf\xc3\xa9\"", "\"StartWithoutAnswer\": true", "\"Modules\": [",
          "\"Title\": \"Caf\xc3\xa9\"", "\"Txt\": \"one\\r\\ntwo \\\"q\\\"\"", "\"ReplayCount\": 3",
          "\"PositionY\": 20", "\"dTimeSwitch_DateEnd\": \"2099-12-31T23:59:00\"",
          "\"PlayFile\": [\n        \"\",\n        \"b.wav\"", "\"Confirm\": false"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
}

// File and folder names are the host's text and print as they are; only record text is
// converted from Windows-1252.
TEST(RysDump, PrintsFileNamesAsTheHostGivesThem) {
    TempDir dir;
    const std::string path = dir.Write("caf\xc3\xa9.rys", kScript);
    RysRun r = Rys({"dump", path});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"FileName\": \"" + path + "\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\xc3\x83\xc2\xa9"), std::string::npos) << r.out;
}

TEST(RysDump, FailedLoadPrintsOneLineAndNothingOnStdout) {
    TempDir dir;
    RysRun r = Rys({"dump", dir.File("missing.rys")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_NE(r.err.find("missing.rys: not loaded: there is no such file"), std::string::npos)
        << r.err;
}

TEST(RysDump, AFailedLoadSaysWhyInWords) {
    TempDir dir;
    const std::string folder = dir.File("folder.rys");
    std::filesystem::create_directory(folder);
    const std::string locked = dir.Write("locked.rys", "Version=5.0\r\n");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    const bool rootReadsAnyway = std::ifstream(locked).good();
    const std::string fifo = dir.File("pipe.rys");
    ::mkfifo(fifo.c_str(), 0666);
    const std::string loop = dir.File("loop.rys");
    std::filesystem::create_symlink("loop2.rys", loop);
    std::filesystem::create_symlink("loop.rys", dir.File("loop2.rys"));
    const std::string big = dir.Write("big.rys", "Version=5.0\r\n");
    std::filesystem::resize_file(big, (64u << 20) + 1);
    struct Case {
        std::string file;
        const char* cause;
    };
    const Case cases[] = {
        {dir.File("missing.rys"), "there is no such file"},
        {folder, "it is a folder, not a file"},
        {"/dev/null", "it is a device, not a file"},
        {fifo, "it is a named pipe (FIFO), not a file"},
        {loop, "too many levels of symbolic links (the links lead round in a loop)"},
        {locked + "/x.rys", "there is no such file (a part of its path is not a folder)"},
        {big, "it is larger than 64 MiB, the most a script file may hold"},
        {locked, "the file cannot be read (no permission)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.file == locked && rootReadsAnyway)
            continue;
        RysRun r = Rys({"dump", c.file});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find(c.file + ": not loaded: " + c.cause), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("load result"), std::string::npos) << r.err;
    }
}

TEST(Rys, UsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"dump"},
                                               {"dump", "a", "b"},
                                               {"resave", "a"},
                                               {"dump", "a", "--password"}}) {
        RysRun r = Rys(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("Usage: rys"), std::string::npos);
    }
    RysRun help = Rys({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("dump FILE"), std::string::npos);
    RysRun version = Rys({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("rys [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
}

TEST(RysResave, WritesWhatTheDesignerWouldAfterOpening) {
    TempDir dir;
    std::string out = dir.File("out.rys");
    RysRun r = Rys({"resave", dir.Write("in.rys", kScript), out});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string text = ReadAll(out);
    // DispSize 0 takes the default height; the box text is the module's text.
    EXPECT_NE(text.find("[Caf\xe9]\r\nType=Play\r\nDispSize=69\r\nTxt=one\\\r\ntwo \"q\"\r\n"
                        "PlayFile2=b.wav\r\nReplay=3,4\r\nstrTtsText=\r\n\r\nPosition=10,20\r\n"),
              std::string::npos)
        << text;
    std::string again = dir.File("again.rys");
    ASSERT_EQ(Rys({"resave", out, again}).code, 0);
    EXPECT_EQ(ReadAll(again), text);
}

TEST(RysResave, ShortDefaultHeightAndFailures) {
    TempDir dir;
    std::string in = dir.Write("in.rys", "Version=5.0\r\nDefaultModuleDisplayHeight=short\r\n"
                                         "[A]\r\nDispSize=0\r\n[B]\r\nDispSize=47\r\n"
                                         "[C]\r\nDispSize=46\r\n");
    std::string out = dir.File("out.rys");
    ASSERT_EQ(Rys({"resave", in, out}).code, 0);
    std::string text = ReadAll(out);
    EXPECT_NE(text.find("[A]\r\nType=\r\nDispSize=24"), std::string::npos);
    EXPECT_NE(text.find("[B]\r\nType=\r\nDispSize=69"), std::string::npos);
    EXPECT_NE(text.find("[C]\r\nType=\r\nDispSize=24"), std::string::npos);

    RysRun bad = Rys({"resave", in, dir.File("no/such/folder.rys")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("not saved"), std::string::npos);
}

} // namespace
} // namespace ry
