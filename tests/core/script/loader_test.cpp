#include "script/loader.h"

#include "recording_host.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ry {
namespace {

using test::RecordingHost;
using test::TempDir;

class LoaderTest : public ::testing::Test {
protected:
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    TempDir dir;

    std::int16_t Load(std::string_view text, std::string_view name = "s.rys") {
        return RysScriptLoad(*tables, host, dir.Write(name, text));
    }
    const ModuleRecord& First(std::int16_t script) {
        return tables->Module(tables->Script(script).FirstModule);
    }
};

// One module section "[M]" with the given lines after its title.
std::string Section(std::string_view lines) {
    return "Version=5.0\r\n\r\n[M]\r\n" + std::string(lines);
}

struct FieldCase {
    const char* name;
    std::string lines;
    std::function<void(const ModuleRecord&)> check;
};

class LoaderFieldTest : public LoaderTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(LoaderFieldTest, ReadsTheValue) {
    std::int16_t s = Load(Section(GetParam().lines));
    ASSERT_GE(s, 1);
    GetParam().check(First(s));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LoaderFieldTest,
    ::testing::Values(
        FieldCase{"ContinuedWithBackslashAndSlash", "Txt=one\\\r\ntwo/\r\n  three  \r\n",
                  [](auto& m) { EXPECT_EQ(m.Txt, "one\r\ntwo\r\nthree"); }},
        FieldCase{"ContinuedIntoAnEmptyLine", "Txt=a\\\r\nb\\\r\n\r\nType=Play\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.Txt, "a\r\nb\r\n");
                      EXPECT_EQ(m.Type, "Play");
                  }},
        FieldCase{"LowerCaseKey", "txt=hello\r\ntype=Record\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.Txt, "hello");
                      EXPECT_EQ(m.Type, "Record");
                  }},
        FieldCase{"MessageBodyEndingInSlashSwallowsTheNextLine",
                  "strEmailMessageText=Dear/\r\nstrEmailAttachmentFileName=a.txt\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.strEmailMessageText, "Dear\r\nstrEmailAttachmentFileName=a.txt");
                      EXPECT_EQ(m.strEmailAttachmentFileName, "");
                  }},
        FieldCase{"ReplayWithoutCommaChangesNothing", "Replay=7\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.ReplayCount, 2);
                      EXPECT_EQ(m.ReplayPause, 5);
                  }},
        FieldCase{"ReplayPauseFromThreeCharacters", "Replay=3,1234\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.ReplayCount, 3);
                      EXPECT_EQ(m.ReplayPause, 123);
                  }},
        FieldCase{"ReplayTakesWholeParts", "Replay=2.9,4.5\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.ReplayCount, 2);
                      EXPECT_EQ(m.ReplayPause, 4);
                  }},
        FieldCase{"ReplayConvertsEachNumberOnItsOwn", "Replay=x,9\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.ReplayCount, 2);
                      EXPECT_EQ(m.ReplayPause, 9);
                  }},
        FieldCase{"Widths", "GetNbrLenEnforce=35\r\nRunMode=123\r\nVbsWait=456\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.GetNbrLenEnforce, 3);
                      EXPECT_EQ(m.RunMode, 12);
                      EXPECT_EQ(m.RunWait, 45);
                  }},
        FieldCase{"OldGetNumbersKey", "Get Numbers=2\r\n",
                  [](auto& m) { EXPECT_EQ(m.GetNbrLenEnforce, 2); }},
        FieldCase{"PlayFileSlots", "PlayFile11=x.wav\r\nPlayFile2=missing.wav\r\nPlayFile=y\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PlayFileSlot(2), "missing.wav");
                      for (int n : {1, 3, 10})
                          EXPECT_EQ(m.PlayFileSlot(n), "");
                  }},
        FieldCase{"NegativePositionBecomesZero", "Position=-5,20\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PositionX, 0);
                      EXPECT_EQ(m.PositionY, 20);
                  }},
        FieldCase{"PositionWithoutComma", "Position=35\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PositionX, 0);
                      EXPECT_EQ(m.PositionY, 35);
                  }},
        FieldCase{"PositionRoundsHalfToEven", "Position=10.5,11.5\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PositionX, 10);
                      EXPECT_EQ(m.PositionY, 12);
                  }},
        FieldCase{"IntRoundsHalfToEvenAndIgnoresOverflow",
                  "iXferType=2.5\r\nExprStoreRV=99999\r\nlEmailSmtpPort_1=70000\r\n"
                  "iTimeSwitch_Type=abc\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.iXferType, 2);
                      EXPECT_EQ(m.ExprStoreRV, 0);
                      EXPECT_EQ(m.lEmailSmtpPort_1, 70000);
                      EXPECT_EQ(m.iTimeSwitch_Type, 1);
                  }},
        FieldCase{"MakeCallEntries",
                  "sDialPhone7=555\r\nsDialPhone2=123\r\nsDialRetry1=often\r\nsDialRetry0=4\r\n"
                  "sDialDelay 3=9\r\nsDialDelay4=8\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.sDialPhone[2], "123");
                      EXPECT_EQ(m.sDialRetry[1], 2);
                      EXPECT_EQ(m.sDialRetry[0], 4);
                      EXPECT_EQ(m.sDialDelay[3], 9);
                      EXPECT_EQ(m.sDialDelay[4], 5) << "the key has a space before its digit";
                  }},
        FieldCase{"MakeCallBecomesPhoneMessage", "Type=Make Call\r\n",
                  [](auto& m) { EXPECT_EQ(m.Type, "Phone Message"); }},
        FieldCase{"TransferCallSetsItsReplay", "Replay=7,7\r\nType=Transfer Call\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.ReplayCount, 2);
                      EXPECT_EQ(m.ReplayPause, 1);
                  }},
        FieldCase{"OnOffKeys", "Confirm=on\r\nPlayTone=ONE\r\n",
                  [](auto& m) {
                      EXPECT_TRUE(m.Confirm);
                      EXPECT_TRUE(m.PlayTone);
                  }},
        FieldCase{"Dates",
                  "dTimeSwitch_DateStart=05 March 2024 08:30:00\r\n"
                  "dTimeSwitch_DateEnd=not a date\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.dTimeSwitch_DateStart, (DateTime{2024, 3, 5, 8, 30, 0}));
                      EXPECT_EQ(m.dTimeSwitch_DateEnd, (DateTime{2099, 12, 31, 23, 59, 0}));
                  }},
        FieldCase{"LineWithoutEquals", "Type\r\nRecFile\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.Type, "Type");
                      EXPECT_EQ(m.RecFile, "");
                  }},
        FieldCase{"PathLinesRunToPosition", "on {1} goto [A]\r\n[Count]{1}\r\nPosition=5,6\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PathText, "on {1} goto [A]\r\n[Count]{1}");
                      EXPECT_EQ(m.PositionX, 5);
                  }},
        FieldCase{"ScriptTextUpToHoldSound",
                  "VbScript=Dim a\r\n  a = 1\r\n\r\nVbsHoldPlay= hold.wav \r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PlayFileSlot(1), "Dim a\r\n  a = 1\r\n\r\n");
                      EXPECT_EQ(m.PlayFileSlot(2), "hold.wav");
                  }},
        FieldCase{"ScriptTextWithoutHoldSoundKeepsPathsAndPosition",
                  "VbScript=x = 1\r\non {success} goto [B]\r\nPosition=7,8\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PlayFileSlot(1), "x = 1\r\n");
                      EXPECT_EQ(m.PathText, "on {success} goto [B]");
                      EXPECT_EQ(m.PositionY, 8);
                  }},
        FieldCase{"ContinuedScriptText", "VbScript=a\\\r\n b \r\nRunWait=0\r\n",
                  [](auto& m) {
                      EXPECT_EQ(m.PlayFileSlot(1), "a\r\n b \r\n");
                      EXPECT_EQ(m.RunWait, 0);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoaderTest, HeaderAndChain) {
    std::int16_t s = Load("Version=5.0\r\nDefaultModuleDisplayHeight=short\r\n"
                          "StartModule=Second\r\nRunAtHangup=after.rys\r\nStartWithoutAnswer=1\r\n"
                          "CtmAsiName=App\r\n\r\n[ First ]\r\nType=Play\r\n\r\n[Second]\r\n"
                          "Type=Record\r\n");
    ASSERT_GE(s, 1);
    const ScriptRecord& r = tables->Script(s);
    EXPECT_EQ(r.DefaultModuleDisplayHeight, "short");
    EXPECT_EQ(r.StartModule, "Second");
    EXPECT_EQ(r.RunAtHangup, "after.rys");
    EXPECT_TRUE(r.StartWithoutAnswer);
    EXPECT_EQ(r.CtmAsiName, "App");
    EXPECT_EQ(r.ModuleCount, 2);
    EXPECT_FALSE(r.NotFromFile);
    EXPECT_EQ(r.FolderPath, dir.path().string() + "/");
    EXPECT_EQ(First(s).Title, "First");
    EXPECT_EQ(tables->Module(First(s).NextModule).Title, "Second");
    EXPECT_EQ(r.LastModule, First(s).NextModule);
    EXPECT_EQ(host.statusTexts.back(), "Loading Module 2");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LoaderTest, StartModuleIsMadeValid) {
    struct Case {
        const char* header;
        const char* expected;
    } cases[] = {
        {"StartModule=Nowhere\r\n", "Menu"},
        {"StartModule=main\r\n", "main"}, // matched ignoring case, kept as written
        {"", "Menu"},
    };
    for (const Case& c : cases) {
        std::int16_t s = Load("Version=5.0\r\n" + std::string(c.header) +
                              "[Menu]\r\nType=Play\r\n[Main]\r\nType=Play\r\n");
        ASSERT_GE(s, 1);
        EXPECT_EQ(tables->Script(s).StartModule, c.expected) << c.header;
    }
}

TEST_F(LoaderTest, NewerVersionIsReportedAndStillLoads) {
    std::int16_t s = Load("Version=6.1\r\n[A]\r\n");
    ASSERT_GE(s, 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "This RYS file was saved using\r\nversion 6.1 of Ryvane.");
}

TEST_F(LoaderTest, FileNameRules) {
    std::string file = dir.Write("a.rys", "Version=5.0\r\n[A]\r\n");
    EXPECT_GE(RysScriptLoad(*tables, host, file + "|extra|text"), 1);
    EXPECT_EQ(RysScriptLoad(*tables, host, ""), kLoadBadFileName);
    EXPECT_EQ(RysScriptLoad(*tables, host, dir.File("missing.rys")), kLoadBadFileName);
    EXPECT_EQ(RysScriptLoad(*tables, host, dir.File("*.rys")), kLoadBadFileName);
    EXPECT_EQ(RysScriptLoad(*tables, host, dir.path().string() + "/"), kLoadBadFileName);
    EXPECT_EQ(RysScriptLoad(*tables, host, dir.path().string()), kLoadBadFileName);
}

TEST_F(LoaderTest, WindowsFolderOfTheFileName) {
    std::string file;
    EXPECT_EQ(SplitPath("C:\\Scripts\\main.rys", &file), "C:\\Scripts\\");
    EXPECT_EQ(file, "main.rys");
    EXPECT_EQ(SplitPath("scripts/sub\\x.rys", &file), "scripts/sub\\");
    EXPECT_EQ(SplitPath("x.rys", &file), "");
    EXPECT_EQ(file, "x.rys");
}

TEST_F(LoaderTest, The101stScriptIsRefused) {
    std::string file = dir.Write("a.rys", "Version=5.0\r\n");
    for (int i = 0; i < kScriptCapacity; ++i)
        ASSERT_EQ(RysScriptLoad(*tables, host, file), i + 1);
    EXPECT_EQ(RysScriptLoad(*tables, host, file), kLoadBadFileName);
}

TEST_F(LoaderTest, ModulePoolExhaustionFailsAndRestoresTheFreeLists) {
    // Use 998 records in a first script, leaving 2, then free a few in a scrambled order.
    std::string big = "Version=5.0\r\n";
    for (int i = 0; i < 998; ++i)
        big += "[M" + std::to_string(i) + "]\r\n";
    std::int16_t first = Load(big, "big.rys");
    ASSERT_EQ(first, 1);
    EXPECT_EQ(tables->MemStructRym_FreeCount(), 2);

    std::vector<std::int16_t> before;
    for (int m = tables->ModuleFreeHead(); m >= 1; m = tables->Module(m).NextModule)
        before.push_back(static_cast<std::int16_t>(m));

    std::int16_t failed = Load("Version=5.0\r\n[A]\r\n[B]\r\n[C]\r\n", "three.rys");
    EXPECT_EQ(failed, kLoadModuleLimit);
    EXPECT_EQ(LoadFailureReason(failed), "this version has a limit of 1000 modules per script");

    std::vector<std::int16_t> after;
    for (int m = tables->ModuleFreeHead(); m >= 1; m = tables->Module(m).NextModule)
        after.push_back(static_cast<std::int16_t>(m));
    EXPECT_EQ(after, before);
    EXPECT_EQ(tables->ScriptFreeHead(), 2) << "the script record is free again";
    EXPECT_TRUE(tables->Script(2).IsFree);
}

TEST_F(LoaderTest, BadInputNeverBreaksTheLoader) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    std::string lfOnly = "Version=5.0\n[A]\nType=Play\nTxt=x\\\n";
    std::string longLine = "Version=5.0\r\n[A]\r\nTxt=" + std::string(10 * 1024 * 1024, 'x') +
                           "\\\r\nPlayFile1=" + std::string(1000, '9') + "\r\n";
    std::string continuedToTheEnd = "[A]\r\nTxt=a\\\r\n";
    std::string pathsToTheEnd = "[A]\r\non {1} goto [B]\r\n[B]\r\n";
    for (const std::string& text :
         {std::string(), garbage, lfOnly, longLine, continuedToTheEnd, pathsToTheEnd,
          std::string("no sections at all\r\nStartModule=X\r\n")}) {
        auto t = std::make_unique<ScriptTables>();
        std::int16_t s = RysScriptLoad(*t, host, dir.Write("bad.rys", text));
        EXPECT_GE(s, 1);
    }
}

TEST_F(LoaderTest, EveryLineEndOfAMixedFileIsALineEnd) {
    // Mostly LF: the LFs end lines too, and the user is told.
    std::int16_t s = Load("Version=5.0\n[A]\nType=Play\r\n");
    ASSERT_GE(s, 1);
    EXPECT_EQ(tables->Script(s).ModuleCount, 1);
    EXPECT_EQ(tables->Script(s).Version, "5.0");
    EXPECT_EQ(host.messages.size(), 1u);

    // Mostly CR LF: a lone LF ends its line all the same, and the user is told.
    host.messages.clear();
    s = Load("Version=5.0\nB\r\n\r\n[A]\r\nType=Play\r\n");
    ASSERT_GE(s, 1);
    EXPECT_EQ(tables->Script(s).ModuleCount, 1);
    EXPECT_EQ(tables->Script(s).Version, "5.0");
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(LoaderTest, UnreadableFileFailsAndReleasesTheScript) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    std::string file = dir.Write("locked.rys", "Version=5.0\r\n[A]\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_EQ(RysScriptLoad(*tables, host, file), kLoadFailed);
    EXPECT_TRUE(tables->Script(1).IsFree);
}

} // namespace
} // namespace ry
