#pragma once

// The manual's topics: the numbers by which the main window and the dialogs open their own
// page of the manual (the folder "help" of the program folder). This is the one table of
// them; the code names its topics from here, and a test reads it to see that every topic has
// its page. Standard C++ only, so that the test needs no Qt.

#include <string_view>

namespace ry::help {

inline constexpr int kMainWindow = 1501;
inline constexpr int kPbxStrings = 1508;
inline constexpr int kScriptProperties = 1509;
// The CT Media Options dialog had no topic of its own either; it is given the next free number.
inline constexpr int kCtMedia = 1510;
inline constexpr int kPlay = 2010;
inline constexpr int kRecord = 2020;
inline constexpr int kGetNumbers = 2030;
inline constexpr int kSayNumbers = 2040;
inline constexpr int kTransferCall = 2050;
inline constexpr int kMakeCall = 2060;
inline constexpr int kPagerMessage = 2070;
inline constexpr int kSendEmail = 2080;
inline constexpr int kDatabaseQuery = 2090;
inline constexpr int kRunProgram = 2100;
inline constexpr int kEvaluate = 2110;
inline constexpr int kRunVbScript = 2120;
inline constexpr int kDde = 2130;
inline constexpr int kHangup = 2140;
inline constexpr int kTimeSwitch = 2150;
// The Dial and Conference dialog had no topic of its own; it is given the next number.
inline constexpr int kDialAndConference = 2160;

// The page the manual opens at without a topic: its contents.
inline constexpr std::string_view kContentsPage = "index.html";

struct TopicPage {
    int topic;
    // A page of the help folder, "page.html" or "page.html#anchor".
    std::string_view page;
};

inline constexpr TopicPage kTopicPages[] = {
    {kMainWindow, kContentsPage},
    {kPbxStrings, "pbx-strings.html"},
    {kScriptProperties, "script-properties.html"},
    {kCtMedia, "ct-media.html"},
    {kPlay, "module-play.html"},
    {kRecord, "module-record.html"},
    {kGetNumbers, "module-get-numbers.html"},
    {kSayNumbers, "module-say-numbers.html"},
    {kTransferCall, "module-transfer-call.html"},
    {kMakeCall, "module-make-call.html"},
    {kPagerMessage, "module-pager-message.html"},
    {kSendEmail, "module-send-email.html"},
    {kDatabaseQuery, "module-database-query.html"},
    {kRunProgram, "module-run-program.html"},
    {kEvaluate, "module-evaluate.html"},
    {kRunVbScript, "module-run-vb-script.html"},
    {kDde, "module-dde.html"},
    {kHangup, "module-hangup.html"},
    {kTimeSwitch, "module-time-switch.html"},
    {kDialAndConference, "module-dial-and-conference.html"},
};

// The page of a topic; empty for a number that is no topic.
constexpr std::string_view PageOfTopic(int topic) {
    for (const TopicPage& t : kTopicPages)
        if (t.topic == topic)
            return t.page;
    return {};
}

} // namespace ry::help
