#include "walk/module_summary.h"

#include "script/module_types.h"

#include <gtest/gtest.h>

#include <functional>

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

} // namespace
} // namespace ry
