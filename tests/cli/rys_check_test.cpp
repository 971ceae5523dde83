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

std::string Fixture(std::string_view name) {
    return std::string(RY_TEST_DATA_DIR "/check/") + std::string(name);
}

TEST(RysCheck, ExitCodesAndLines) {
    const std::string clean = Fixture("clean.rys");
    const std::string trigger = Fixture("unoffered-trigger.rys");
    const std::string start = Fixture("bad-start-module.rys");
    std::string out, err;

    EXPECT_EQ(Rys({"check", clean}, &out, &err), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");

    EXPECT_EQ(Rys({"check", clean, trigger, start}, &out, &err), 1);
    EXPECT_EQ(out, trigger + ": Welcome: trigger {success} is not one a Play module offers\n" +
                       start +
                       ": (script): start module [Old Menu] names no module; calls start at the "
                       "first module, [Welcome]\n");
    EXPECT_EQ(err, "");

    // A script that does not load gives 2; the others are still checked.
    const std::string gone = Fixture("no-such-script.rys");
    EXPECT_EQ(Rys({"check", gone, trigger}, &out, &err), 2);
    EXPECT_EQ(out, trigger + ": Welcome: trigger {success} is not one a Play module offers\n");
    EXPECT_NE(err.find("rys: " + gone + ": not loaded: there is no such file"), std::string::npos)
        << err;
    EXPECT_EQ(Rys({"check", clean, gone}, &out, &err), 2);

    EXPECT_EQ(Rys({"check"}, &out, &err), 2);
    EXPECT_NE(err.find("check takes one or more script files"), std::string::npos);
    EXPECT_EQ(Rys({"check", clean, "--password"}, &out, &err), 2);
}

TEST(RysCheck, JsonInUtf8) {
    TempDir dir;
    // The title is Windows-1252 in the file: "Caf\xe9" is "Café".
    std::string file =
        dir.Write("s.rys", "StartModule=Caf\xe9\r\n\r\n[Caf\xe9]\r\nType=Play\r\nstrTtsText=Hi\r\n"
                           "on {1} goto [Nowhere \"1\"]\r\n\r\nPosition=0,0\r\n");
    std::string out;
    EXPECT_EQ(Rys({"check", "--json", file}, &out), 1);
    EXPECT_EQ(out, "[\n"
                   "  {\n"
                   "    \"file\": \"" +
                       file +
                       "\",\n"
                       "    \"module\": \"Caf\xc3\xa9\",\n"
                       "    \"moduleIndex\": 1,\n"
                       "    \"kind\": \"unknown-destination\",\n"
                       "    \"reason\": \"path on {1} leads to [Nowhere \\\"1\\\"], which names no "
                       "module\"\n"
                       "  }\n"
                       "]\n");

    EXPECT_EQ(Rys({"check", Fixture("clean.rys"), "--json"}, &out), 0);
    EXPECT_EQ(out, "[]\n");

    EXPECT_EQ(Rys({"check", "--json", Fixture("bad-start-module.rys")}, &out), 1);
    EXPECT_NE(out.find("\"module\": \"\",\n    \"moduleIndex\": -1,\n    \"kind\": "
                       "\"bad-start-module\""),
              std::string::npos)
        << out;
}

TEST(RysCheck, ProtectedScriptShowsItsWrittenStartModule) {
    // Saving makes the start module valid, so the protected file is written here directly.
    TempDir dir;
    std::string locked = dir.Write(
        "s.ryp",
        EncryptScriptText(InsertPasswordLine(ReadAll(Fixture("bad-start-module.rys")), "PW"),
                          ScriptKey()));
    std::string out, err;
    EXPECT_EQ(Rys({"check", locked, "--password", "pw"}, &out, &err), 1) << err;
    EXPECT_NE(out.find(": (script): start module [Old Menu] names no module"), std::string::npos)
        << out;
    EXPECT_EQ(Rys({"check", locked, "--password", "wrong"}, &out, &err), 2);
}

// Every sound-file slot a saved module keeps is looked for, not only those its dialog shows.
TEST(RysCheck, EverySoundFileSlotIsLookedFor) {
    TempDir dir;
    dir.Write("here.wav", "RIFF");
    const std::string file = dir.Write(
        "s.rys", "StartModule=P\r\n\r\n[P]\r\nType=Play\r\nPlayFile1=here.wav\r\n"
                 "PlayFile7=gone7.wav\r\non {1} goto [G]\r\n\r\nPosition=0,0\r\n\r\n"
                 "[G]\r\nType=Get Numbers\r\nPlayFile9=gone9.wav\r\non {1} goto [S]\r\n\r\n"
                 "Position=0,0\r\n\r\n[S]\r\nType=Say Numbers\r\nPlayFile2=[N]\r\n"
                 "PlayFile10=gone10.wav\r\nSayNbrType=Digits\r\non {1} goto [H]\r\n\r\n"
                 "Position=0,0\r\n\r\n[H]\r\nType=Hangup the Call\r\nPosition=0,0\r\n");
    std::string out, err;
    Rys({"check", file}, &out, &err);
    for (const char* line :
         {": P: sound file \"gone7.wav\" not found\n", ": G: sound file \"gone9.wav\" not found\n",
          ": S: sound file \"gone10.wav\" not found\n"})
        EXPECT_NE(out.find(file + line), std::string::npos) << line << "\n" << out;
    EXPECT_EQ(out.find("here.wav"), std::string::npos) << out;
    EXPECT_EQ(out.find("[N]"), std::string::npos) << out;
}

TEST(RysCheck, EachScriptGivesItsModulesBack) {
    // Two scripts of 600 modules fit the 1000 module records only one at a time.
    TempDir dir;
    std::string text = "StartModule=M0\r\n";
    for (int i = 0; i < 600; ++i)
        text += "[M" + std::to_string(i) + "]\r\nType=Play\r\nstrTtsText=Hi\r\non {1} goto [M" +
                std::to_string((i + 1) % 600) + "]\r\n\r\nPosition=0,0\r\n";
    std::string file = dir.Write("big.rys", text);
    std::string out, err;
    EXPECT_EQ(Rys({"check", file, file}, &out, &err), 0) << err;
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace ry
