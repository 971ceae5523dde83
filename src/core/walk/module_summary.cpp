#include "walk/module_summary.h"

#include "script/module_types.h"
#include "script/text.h"

#include <array>

namespace ry {

namespace {

// A value in double quotes, on one line.
std::string Quoted(std::string_view text) {
    std::string value(TrimBlanks(text));
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return "\"" + value + "\"";
}

bool Filled(std::string_view text) {
    return !TrimBlanks(text).empty();
}

std::string TimeOfDay(const DateTime& t) {
    std::string minute = std::to_string(t.minute);
    return std::to_string(t.hour) + ":" + (minute.size() < 2 ? "0" : "") + minute;
}

// The transfer methods as the Transfer Call dialog captions them.
constexpr std::array<std::string_view, 6> kTransferTypes = {
    "PBX Blind Transfer",
    "PBX Announced Transfer",
    "3 Way Blind Conference Call",
    "3 Way Announced Conference Call",
    "CT Media Call Handoff to another Application",
    "Dialout on another line and conference ( Dialogic only )",
};

constexpr std::array<std::string_view, 7> kDayCodes = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};

} // namespace

std::vector<std::string> ModuleSummary(const ModuleRecord& m) {
    std::vector<std::string> out;
    auto line = [&](bool when, std::string text) {
        if (when)
            out.push_back(std::move(text));
    };
    auto plays = [&](const std::string& file, std::string_view what = "Plays ") {
        line(Filled(file), std::string(what) + Quoted(file));
    };
    auto replays = [&] {
        line(m.ReplayCount > 0, "Replays it up to " + std::to_string(m.ReplayCount) + " times, " +
                                    std::to_string(m.ReplayPause) + " seconds apart");
    };
    const std::string& type = m.Type;
    if (type == kTypePlay) {
        plays(m.PlayFileSlot(1));
        line(Filled(m.strTtsText), "Speaks " + Quoted(m.strTtsText));
        replays();
    } else if (type == kTypeRecord) {
        line(m.PlayTone, "Plays a beep");
        line(true, "Records the caller" +
                       (Filled(m.RecFile) ? " into " + Quoted(m.RecFile) : std::string()));
    } else if (type == kTypeGetNumbers) {
        plays(m.PlayFileSlot(1));
        replays();
        const std::string digits =
            std::to_string(m.GetNbrLenMax) + (m.GetNbrLenMax == 1 ? " digit" : " digits");
        line(true, m.GetNbrLenEnforce == 2   ? "Wants exactly " + digits
                   : m.GetNbrLenEnforce == 1 ? "Wants up to " + digits
                                             : std::string("Wants a number of any length"));
        line(m.Confirm, "Says the number back to confirm it");
    } else if (type == kTypeSayNumbers) {
        plays(m.PlayFileSlot(1));
        line(Filled(m.PlayFileSlot(2)),
             "Says " + Quoted(m.PlayFileSlot(2)) +
                 (Filled(m.SayNbrType) ? " as " + Quoted(m.SayNbrType) : std::string()));
        plays(m.PlayFileSlot(3), "Then plays ");
    } else if (type == kTypeRunProgram) {
        line(Filled(m.PlayFileSlot(1)), "Runs " + Quoted(m.PlayFileSlot(1)) +
                                            (m.RunWait ? " and waits for it" : std::string()));
        plays(m.PlayFileSlot(2), "Plays meanwhile ");
    } else if (type == kTypeRunVbScript) {
        line(Filled(m.PlayFileSlot(3)), "Runs the VB Script file " + Quoted(m.PlayFileSlot(3)));
        line(Filled(m.PlayFileSlot(1)),
             "Runs its VB Script" + std::string(m.RunWait ? " and waits for it" : ""));
        plays(m.PlayFileSlot(2), "Plays meanwhile ");
    } else if (type == kTypeDatabaseQuery) {
        const std::string& source = Filled(m.DbDatabase) ? m.DbDatabase : m.DbConnectString;
        line(Filled(m.DbSql), "Queries " + Quoted(m.DbSql) +
                                  (Filled(source) ? " on " + Quoted(source) : std::string()));
        plays(m.PlayFileSlot(1), "Plays meanwhile ");
    } else if (type == kTypeEvaluate) {
        line(Filled(m.PlayFileSlot(1)),
             "Evaluates " + Quoted(m.PlayFileSlot(1)) +
                 (Filled(m.ExprNewRV) ? " into [" + std::string(TrimBlanks(m.ExprNewRV)) + "]"
                                      : std::string()));
    } else if (type == kTypeSendEmail) {
        line(Filled(m.strEmailAddrTo),
             "Sends an e-mail to " + Quoted(m.strEmailAddrTo) +
                 (Filled(m.strEmailSubject) ? ": " + Quoted(m.strEmailSubject) : std::string()));
    } else if (type == kTypeTimeSwitch) {
        const std::string moment = Filled(m.sTimeSwitch_DateTimeToTest)
                                       ? Quoted(m.sTimeSwitch_DateTimeToTest)
                                       : std::string("the time of the call");
        if (m.iTimeSwitch_Type == 0) {
            line(true, "True when " + moment + " falls between " +
                           FormatScriptDate(m.dTimeSwitch_DateStart) + " and " +
                           FormatScriptDate(m.dTimeSwitch_DateEnd));
        } else {
            std::string days;
            for (std::string_view code : kDayCodes)
                if (m.sTimeSwitch_DaysSelected.find(code) != std::string::npos)
                    days += (days.empty() ? "" : " ") + std::string(code);
            line(true, "True when " + moment + " falls between " +
                           TimeOfDay(m.dTimeSwitch_DateStart) + " and " +
                           TimeOfDay(m.dTimeSwitch_DateEnd) + " on " +
                           (days.empty() ? std::string("no day") : days));
        }
    } else if (type == kTypeTransferCall) {
        const bool known = m.iXferType >= 0 && m.iXferType < 6;
        line(Filled(m.PlayFileSlot(1)),
             "Transfers the call to " + Quoted(m.PlayFileSlot(1)) +
                 (known ? " by " + std::string(kTransferTypes[static_cast<size_t>(m.iXferType)])
                        : std::string()));
    } else if (type == kTypePhoneMessage || type == kTypeMakeCallOld) {
        for (size_t i = 0; i < 3; ++i) {
            if (!Filled(m.sDialPhone[i]))
                continue;
            line(true, std::string(out.empty() ? "Calls " : "Else calls ") +
                           Quoted(m.sDialPhone[i]) +
                           (Filled(m.sDialScript[i]) ? ", then runs " + Quoted(m.sDialScript[i])
                                                     : std::string()));
        }
    } else if (type == kTypeDialAndConference) {
        line(Filled(m.sDncPhoneNumber),
             "Dials " + Quoted(m.sDncPhoneNumber) + " and joins the caller to it" +
                 (Filled(m.sDncMaxConnectTime)
                      ? " for at most " + std::string(TrimBlanks(m.sDncMaxConnectTime)) + " minutes"
                      : std::string()));
        plays(m.sDncPlayWhileConnecting, "Plays meanwhile ");
    } else if (type == kTypePagerMessage) {
        line(Filled(m.PagerTelNbr),
             "Pages " + Quoted(m.PagerTelNbr) +
                 (Filled(m.PagerMessage) ? " with " + Quoted(m.PagerMessage) : std::string()));
    } else if (type == kTypeDde) {
        const bool execute = IEquals(m.strDdeType, "Execute");
        line(Filled(m.strDdeCommand),
             std::string(execute ? "Executes " : "Pokes ") + Quoted(m.strDdeCommand) +
                 (Filled(m.strDdeLinkTopic) ? " on " + Quoted(m.strDdeLinkTopic) : std::string()));
    } else if (type == kTypeHangup) {
        line(true, "Hangs up the call");
    }
    return out;
}

} // namespace ry
