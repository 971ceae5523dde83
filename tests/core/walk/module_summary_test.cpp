#include "walk/module_summary.h"

#include "script/module_types.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace ry {
namespace {

using Lines = std::vector<std::string>;

TEST(ModuleSummary, SaysWhatEachTypeDoesOnTheCall) {
    using Set = std::function<void(ModuleRecord&)>;
    struct Case {
        std::string_view type;
        Set set;
        Lines lines;
    };
    const Case cases[] = {
        {kTypePlay,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "prompts\\menu.wav";
             m.strTtsText = "Press 1\r\nfor sales";
             m.ReplayCount = 2;
             m.ReplayPause = 5;
         },
         {"Plays \"prompts\\menu.wav\"", "Speaks \"Press 1  for sales\"",
          "Replays it up to 2 times, 5 seconds apart"}},
        {kTypePlay, [](ModuleRecord& m) { m.ReplayCount = 0; }, {}},
        {kTypeRecord,
         [](ModuleRecord& m) {
             m.PlayTone = true;
             m.RecFile = "msg.wav";
         },
         {"Plays a beep", "Records the caller into \"msg.wav\""}},
        {kTypeGetNumbers,
         [](ModuleRecord& m) {
             m.ReplayCount = 0;
             m.GetNbrLenEnforce = 2;
             m.GetNbrLenMax = 4;
             m.Confirm = true;
         },
         {"Wants exactly 4 digits", "Says the number back to confirm it"}},
        {kTypeGetNumbers,
         [](ModuleRecord& m) {
             m.ReplayCount = 0;
             m.GetNbrLenEnforce = 1;
             m.GetNbrLenMax = 6;
         },
         {"Wants up to 6 digits"}},
        // One digit is one digit.
        {kTypeGetNumbers,
         [](ModuleRecord& m) {
             m.ReplayCount = 0;
             m.GetNbrLenEnforce = 2;
             m.GetNbrLenMax = 1;
         },
         {"Wants exactly 1 digit"}},
        {kTypeGetNumbers,
         [](ModuleRecord& m) {
             m.ReplayCount = 0;
             m.GetNbrLenEnforce = 1;
             m.GetNbrLenMax = 1;
         },
         {"Wants up to 1 digit"}},
        {kTypeSayNumbers,
         [](ModuleRecord& m) {
             m.PlayFileSlot(2) = "[Amount]";
             m.SayNbrType = "Amount - Dollars";
             m.PlayFileSlot(3) = "thanks.wav";
         },
         {"Says \"[Amount]\" as \"Amount - Dollars\"", "Then plays \"thanks.wav\""}},
        {kTypeDatabaseQuery,
         [](ModuleRecord& m) {
             m.DbSql = "SELECT 1";
             m.DbConnectString = "DSN=Calls";
         },
         {"Queries \"SELECT 1\" on \"DSN=Calls\""}},
        {kTypeEvaluate,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "[Amount] > 100";
             m.ExprNewRV = " Big ";
         },
         {"Evaluates \"[Amount] > 100\" into [Big]"}},
        {kTypeTimeSwitch,
         [](ModuleRecord& m) {
             m.iTimeSwitch_Type = 1;
             m.dTimeSwitch_DateStart = {2024, 1, 1, 8, 0, 0};
             m.dTimeSwitch_DateEnd = {2024, 1, 1, 17, 30, 0};
             m.sTimeSwitch_DaysSelected = "MoTuWeThFr";
         },
         {"True when the time of the call falls between 8:00 and 17:30 on Mo Tu We Th Fr"}},
        {kTypeTransferCall,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "201";
             m.iXferType = 1;
         },
         {"Transfers the call to \"201\" by PBX Announced Transfer"}},
        {kTypePhoneMessage,
         [](ModuleRecord& m) {
             m.sDialPhone = {"555", "", "556"};
             m.sDialScript[0] = "answer.rys";
         },
         {"Calls \"555\", then runs \"answer.rys\"", "Else calls \"556\""}},
        {kTypeDialAndConference,
         [](ModuleRecord& m) {
             m.sDncPhoneNumber = "555";
             m.sDncMaxConnectTime = "60";
         },
         {"Dials \"555\" and joins the caller to it for at most 60 minutes"}},
        {kTypeSendEmail,
         [](ModuleRecord& m) { m.strEmailAddrTo = "desk@example.com"; },
         {"Sends an e-mail to \"desk@example.com\""}},
        {kTypeDde,
         [](ModuleRecord& m) {
             m.strDdeType = "Execute";
             m.strDdeCommand = "[Open]";
             m.strDdeLinkTopic = "System";
         },
         {"Executes \"[Open]\" on \"System\""}},
        {kTypeHangup, [](ModuleRecord&) {}, {"Hangs up the call"}},
        {"No Such Type", [](ModuleRecord& m) { m.PlayFileSlot(1) = "x.wav"; }, {}},
    };
    for (const Case& c : cases) {
        ModuleRecord m;
        m.Type = std::string(c.type);
        c.set(m);
        EXPECT_EQ(ModuleSummary(m), c.lines) << c.type;
    }
}

// One row for every type of the catalogue, then the shortening rules.
TEST(ModuleSettingsLine, ShowsEachTypesKeySettingsOnOneLine) {
    using Set = std::function<void(ModuleRecord&)>;
    struct Case {
        std::string_view type;
        Set set;
        std::string line;
    };
    const Case cases[] = {
        {kTypePlay,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "C:\\ivr\\prompts\\menu.wav";
             m.PlayFileSlot(4) = "more.wav";
             m.PlayFileSlot(7) = "last.wav";
         },
         "menu.wav +2"},
        {kTypePlay, [](ModuleRecord& m) { m.strTtsText = "Press 1\r\nfor   sales"; },
         "\"Press 1 for sales\""},
        {kTypePlay, [](ModuleRecord&) {}, ""},
        {kTypeRecord,
         [](ModuleRecord& m) {
             m.RecFile = "/var/msgs/msg.wav";
             m.PlayTone = true;
         },
         "Into msg.wav \xB7 beep"},
        {kTypeGetNumbers,
         [](ModuleRecord& m) {
             m.GetNbrLenEnforce = 2;
             m.GetNbrLenMax = 4;
             m.Confirm = true;
             m.PathText = "on {success} goto [A]\r\non {Timeout 7} goto [B]\r\n";
         },
         "Exactly 4 digits \xB7 timeout 7 s \xB7 confirms"},
        {kTypeGetNumbers,
         [](ModuleRecord& m) {
             m.GetNbrLenEnforce = 1;
             m.GetNbrLenMax = 1;
         },
         "Up to 1 digit"},
        {kTypeGetNumbers, [](ModuleRecord& m) { m.PathText = "on {timeout} goto [B]\r\n"; },
         "Any length \xB7 timeout 0 s"},
        {kTypeSayNumbers,
         [](ModuleRecord& m) {
             m.SayNbrType = "Amount - Dollars";
             m.PlayFileSlot(2) = "[Balance]";
         },
         "Amount - Dollars: [Balance]"},
        {kTypeSayNumbers, [](ModuleRecord& m) { m.SayNbrType = "Digits"; }, "Digits"},
        {kTypeRunProgram, [](ModuleRecord& m) { m.PlayFileSlot(1) = "/opt/ivr/bin/lookup"; },
         "lookup"},
        {kTypeRunProgram,
         [](ModuleRecord& m) { m.PlayFileSlot(1) = "C:\\bin\\lookup.exe [Caller]"; },
         "C:\\bin\\lookup.exe [Caller]"},
        {kTypeDatabaseQuery,
         [](ModuleRecord& m) {
             m.DbDatabase = "calls";
             m.DbSql = "SELECT name\r\n  FROM people";
         },
         "calls: SELECT name FROM people"},
        {kTypeEvaluate,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "[Amount] > 100";
             m.ExprNewRV = " Big ";
         },
         "[Amount] > 100 into [Big]"},
        {kTypeSendEmail,
         [](ModuleRecord& m) {
             m.strEmailAddrTo = "desk@example.com";
             m.strEmailSubject = "Missed call";
         },
         "To desk@example.com \xB7 \"Missed call\""},
        {kTypeTimeSwitch,
         [](ModuleRecord& m) {
             m.iTimeSwitch_Type = 1;
             m.dTimeSwitch_DateStart = {2024, 1, 1, 8, 0, 0};
             m.dTimeSwitch_DateEnd = {2024, 1, 1, 17, 30, 0};
             m.sTimeSwitch_DaysSelected = "MoTuWeThFr";
         },
         "Mo-Fr 8:00-17:30"},
        {kTypeTimeSwitch,
         [](ModuleRecord& m) {
             m.iTimeSwitch_Type = 1;
             m.dTimeSwitch_DateStart = {2024, 1, 1, 22, 0, 0};
             m.dTimeSwitch_DateEnd = {2024, 1, 1, 6, 5, 0};
             m.sTimeSwitch_DaysSelected = "MoWeThFrSu";
         },
         "Mo We-Fr Su 22:00-6:05"},
        {kTypeTimeSwitch,
         [](ModuleRecord& m) {
             m.iTimeSwitch_Type = 1;
             m.sTimeSwitch_DaysSelected = "SaSu";
             m.sTimeSwitch_DateTimeToTest = "[When]";
         },
         "[When]: Sa Su 0:00-23:59"},
        {kTypeTimeSwitch,
         [](ModuleRecord& m) {
             m.iTimeSwitch_Type = 1;
             m.sTimeSwitch_DaysSelected = "";
         },
         "no day 0:00-23:59"},
        {kTypeTimeSwitch,
         [](ModuleRecord& m) {
             m.iTimeSwitch_Type = 0;
             m.dTimeSwitch_DateStart = {2026, 12, 24, 12, 0, 0};
         },
         "24 Dec 2026 12:00 - 31 Dec 2099 23:59"},
        {kTypeTts, [](ModuleRecord& m) { m.strTtsText = "Hello"; }, "\"Hello\""},
        {kTypeTransferCall,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "201";
             m.iXferType = 1;
         },
         "To 201 \xB7 PBX announced"},
        {kTypeTransferCall, [](ModuleRecord& m) { m.iXferType = 9; }, ""},
        {kTypePhoneMessage,
         [](ModuleRecord& m) {
             m.sDialPhone = {"", "555", "", "556"};
             m.sDialScript[1] = "scripts\\answer.rys";
         },
         "Calls 555 +1 \xB7 answer.rys"},
        {kTypeDialAndConference,
         [](ModuleRecord& m) {
             m.sDncPhoneNumber = "555";
             m.sDncMaxConnectTime = "60";
         },
         "Dials 555 \xB7 up to 60 min"},
        {kTypeRunVbScript, [](ModuleRecord& m) { m.PlayFileSlot(3) = "vbs\\check.vbs"; },
         "check.vbs"},
        {kTypeRunVbScript, [](ModuleRecord& m) { m.PlayFileSlot(1) = "MsgBox 1"; },
         "VB Script of its own"},
        {kTypeDde,
         [](ModuleRecord& m) {
             m.strDdeType = "Execute";
             m.strDdeLinkTopic = "System";
             m.strDdeCommand = "[Open]";
         },
         "Execute System \xB7 [Open]"},
        {kTypePagerMessage,
         [](ModuleRecord& m) {
             m.PagerTelNbr = "555";
             m.PagerMessage = "Call back";
         },
         "Pages 555 \xB7 \"Call back\""},
        {kTypeHangup, [](ModuleRecord&) {}, ""},
        {"No Such Type", [](ModuleRecord& m) { m.PlayFileSlot(1) = "x.wav"; }, ""},
    };
    std::set<std::string_view> covered;
    for (const Case& c : cases) {
        ModuleRecord m;
        m.Type = std::string(c.type);
        c.set(m);
        EXPECT_EQ(ModuleSettingsLine(m), c.line) << c.type;
        covered.insert(c.type);
    }
    for (std::string_view type : kAllModuleTypes)
        EXPECT_TRUE(covered.contains(type)) << type << " has no row";
}

} // namespace
} // namespace ry
