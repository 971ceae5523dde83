// What rys does with files that are not ordinary scripts: special files, files over the size
// limits, LF line ends, protected scripts longer than their read.

#include "rys.h"

#include "script/protected_script.h"
#include "script/text.h"
#include "settings/profile_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace ry {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;

struct RysRun {
    int code;
    std::string out, err;
};

RysRun Rys(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = cli::RunRys(args, out, err);
    return {code, out.str(), err.str()};
}

bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

TEST(RysFiles, SpecialAndOversizedFilesFailAtOnce) {
    TempDir dir;
    std::string fifo = dir.File("x.rys");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    std::string big = dir.Write("big.rys", "Version=5.0\r\n");
    fs::resize_file(big, (64u << 20) + 1);
    std::string out = dir.File("out.rys");
    ::alarm(20); // a command that blocks ends the test instead of hanging it

    for (const std::string& file : {fifo, big}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(Rys({"dump", file}).code, 1);
        EXPECT_EQ(Rys({"check", file}).code, 2);
        EXPECT_EQ(Rys({"resave", file, out}).code, 1);
    }
    RysRun r = Rys({"dump", big});
    EXPECT_TRUE(Has(r.err, "big.rys is larger than 64 MiB")) << r.err;

    // A special file is never written, nor waited on.
    std::string good = dir.Write("good.rys", "Version=5.0\r\n\r\n[A]\r\nType=Play\r\n");
    r = Rys({"resave", good, fifo});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Has(r.err, "not saved")) << r.err;
    EXPECT_EQ(Rys({"ini", "get", fifo, "A", "k"}).code, 1);
    ::alarm(0);
    EXPECT_FALSE(fs::exists(out));
}

TEST(RysFiles, AnIniFileOverItsLimitIsNeitherReadNorWritten) {
    TempDir dir;
    std::string ini = dir.Write("RY.INI", "[A]\r\nk=1\r\n");
    fs::resize_file(ini, kProfileSizeLimit + 1);
    for (const auto& args : {std::vector<std::string>{"ini", "get", ini, "A", "k"},
                             std::vector<std::string>{"ini", "set", ini, "A", "k", "2"}}) {
        RysRun r = Rys(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(Has(r.err, "larger than 16 MiB")) << r.err;
    }
    EXPECT_EQ(fs::file_size(ini), kProfileSizeLimit + 1);
}

TEST(RysFiles, DumpReadsLfLineEndsAndSaysSo) {
    TempDir dir;
    std::string file = dir.Write("lf.rys", "Version=5.0\n\n[A]\nType=Play\n\n[B]\nType=Hangup\n");
    RysRun r = Rys({"dump", file});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(Has(r.out, "\"ModuleCount\": 2")) << r.out;
    EXPECT_TRUE(Has(r.err, "ends its lines with LF alone")) << r.err;
}

// A CR LF script with one module appended in LF lines: rewriting it in place keeps that
// module whole, and says the file mixed its line ends.
TEST(RysFiles, RewritingAScriptWithMixedLineEndsKeepsEveryModule) {
    const std::string text = "Version=5.0\r\nStartModule=A\r\n\r\n[A]\r\nType=Hangup\r\n"
                             "Position=10,20\r\n\n[Extra]\nType=Play\nTxt=hello\n"
                             "PlayFile1=extra.wav\nPosition=300,400\n";
    for (const char* command : {"arrange", "resave"}) {
        SCOPED_TRACE(command);
        TempDir dir;
        const std::string file = dir.Write("mixed.rys", text);
        RysRun r = Rys({command, file, file});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(Has(r.err, "mixes its line ends (CR LF and LF)")) << r.err;
        const std::string saved = ReadAll(file);
        EXPECT_TRUE(Has(saved, "[Extra]\r\nType=Play\r\n")) << saved;
        EXPECT_TRUE(Has(saved, "Txt=hello\r\n")) << saved;
        EXPECT_TRUE(Has(saved, "PlayFile1=extra.wav\r\n")) << saved;
        if (std::string(command) == "resave") {
            EXPECT_TRUE(Has(saved, "Position=300,400")) << saved;
        }
    }
}

TEST(RysFiles, AProtectedScriptLongerThanItsReadIsWarnedOf) {
    TempDir dir;
    std::string text = "Version=5.0";
    for (int i = 1; i <= 80; ++i)
        text += "\r\n\r\n[M" + std::to_string(i) + "]\r\nType=Play\r\nTxt=" + std::string(900, 'x');
    std::string ryp =
        dir.Write("long.ryp", EncryptScriptText(InsertPasswordLine(text, "PW"), ScriptKey()));
    RysRun dump = Rys({"dump", ryp, "--password", "PW"});
    RysRun plain = Rys({"unprotect", ryp, dir.File("plain.rys"), "--password", "PW"});
    for (const RysRun& r : {dump, plain}) {
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(Has(r.err, "read only as far as 65000 bytes")) << r.err;
        EXPECT_TRUE(Has(r.err, "The end of the script was not read")) << r.err;
    }
}

} // namespace
} // namespace ry
