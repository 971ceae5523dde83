#include "rys.h"

#include "script/protected_script.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ry {
namespace {

using test::ReadAll;
using test::TempDir;

int Rys(std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr) {
    std::ostringstream o, e;
    int code = cli::RunRys(args, o, e);
    if (out)
        *out = o.str();
    if (err)
        *err = e.str();
    return code;
}

const char* const kPlain = "Version=5.0\r\nStartModule=A\r\n\r\n[A]\r\nType=Play\r\nDispSize=69\r\n"
                           "Txt=Hello\r\nReplay=2,5\r\nstrTtsText=\r\n"
                           "ON {1}   GOTO [B]\r\ngoto [nowhere]\r\nPosition=0,0\r\n\r\n"
                           "[B]\r\nType=Hangup the Call\r\nDispSize=69\r\nTxt=Bye\r\n\r\n"
                           "Position=200,0\r\n";

TEST(RysProtect, RoundTripWithThePasswordInAnotherCase) {
    TempDir dir;
    std::string plain = dir.Write("in.rys", kPlain);
    std::string locked = dir.File("out.ryp");
    ASSERT_EQ(Rys({"protect", plain, locked, "--password", "Secret"}), 0);
    EXPECT_TRUE(DecryptScriptText(ReadAll(locked), ScriptKey())
                    .starts_with("Version=5.0\r\nPassword=SECRET\r\n"));

    std::string out, err;
    EXPECT_EQ(Rys({"dump", locked, "--password", "sEcReT"}, &out), 0);
    EXPECT_NE(out.find("\"Title\": \"B\""), std::string::npos);

    EXPECT_EQ(Rys({"dump", locked, "--password", "wrong"}, &out, &err), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("not loaded: wrong password"), std::string::npos) << err;
    EXPECT_EQ(Rys({"dump", locked}, &out, &err), 1) << "no password is the empty password";

    std::string back = dir.File("back.rys");
    ASSERT_EQ(Rys({"unprotect", locked, back, "--password", "secret"}), 0);
    std::string resaved = dir.File("resaved.rys");
    ASSERT_EQ(Rys({"resave", plain, resaved}), 0);
    EXPECT_EQ(ReadAll(back), ReadAll(resaved));
}

TEST(RysProtect, UsageMistakes) {
    TempDir dir;
    std::string plain = dir.Write("in.rys", kPlain);
    EXPECT_EQ(Rys({"protect", plain, dir.File("out.ryp")}), 2) << "no password";
    std::string err;
    EXPECT_EQ(Rys({"protect", plain, dir.File("out.ryp"), "--password", " notset "}, nullptr, &err),
              2);
    EXPECT_NE(err.find("\" notset \" cannot be a password: it marks a script that has none yet"),
              std::string::npos)
        << err;
    EXPECT_EQ(Rys({"protect", plain, dir.File("out.rys"), "--password", "x"}), 2);
    EXPECT_EQ(Rys({"unprotect", plain, dir.File("out.ryp"), "--password", "x"}), 2);
}

TEST(RysTidy, CheckReportsAndTidyRewrites) {
    TempDir dir;
    std::string file = dir.Write("s.rys", kPlain);
    std::string out;
    EXPECT_EQ(Rys({"tidy", file, "--check"}, &out), 1);
    EXPECT_EQ(out, file + ": A: paths would change\n");
    EXPECT_EQ(ReadAll(file), kPlain) << "--check writes nothing";

    EXPECT_EQ(Rys({"tidy", file}, &out), 0);
    EXPECT_EQ(out, file + ": A: paths changed\n");
    EXPECT_NE(ReadAll(file).find("strTtsText=\r\non {1} goto [B]\r\n\r\nPosition=0,0\r\n"),
              std::string::npos)
        << ReadAll(file);

    EXPECT_EQ(Rys({"tidy", file, "--check"}, &out), 0);
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace ry
