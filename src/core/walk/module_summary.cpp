#include "walk/module_summary.h"

#include "paths/path_text.h"
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
                 (known ? " by " + std::string(kTransferMethods[static_cast<size_t>(m.iXferType)])
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

namespace {

constexpr std::string_view kApart = " \xB7 ";

// A text on one line: line ends and runs of blanks become one blank each.
std::string OneLine(std::string_view text) {
    std::string out;
    for (char c : TrimBlanks(text)) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    return out;
}

// A file name without its folders: "sounds\\menu.wav" gives "menu.wav".
std::string WithoutFolder(std::string_view name) {
    std::string_view text = TrimBlanks(name);
    const size_t slash = text.find_last_of("\\/");
    return OneLine(slash == std::string_view::npos ? text : text.substr(slash + 1));
}

// The parts that are not empty, set apart.
std::string Joined(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& part : parts)
        if (!part.empty())
            out += (out.empty() ? std::string() : std::string(kApart)) + part;
    return out;
}

// The first sound file of the slots and how many more there are: "menu.wav +2".
std::string SoundFiles(const ModuleRecord& m, int first, int last) {
    std::string shown;
    int more = 0;
    for (int slot = first; slot <= last; ++slot) {
        const std::string& file = m.PlayFile[static_cast<size_t>(slot - 1)];
        if (!Filled(file))
            continue;
        if (shown.empty())
            shown = WithoutFolder(file);
        else
            ++more;
    }
    return more > 0 ? shown + " +" + std::to_string(more) : shown;
}

// The seconds of the module's first timeout path, as "timeout 5 s"; empty without one.
std::string TimeoutOfPaths(const ModuleRecord& m) {
    for (const PathParts& path : ReadPaths(m.PathText)) {
        const std::string trigger = ToLowerAnsi(TrimBlanks(Undelimited(path.Trigger)));
        if (trigger.rfind("timeout", 0) != 0)
            continue;
        const std::string_view seconds = TrimBlanks(std::string_view(trigger).substr(7));
        return "timeout " + std::string(seconds.empty() ? "0" : seconds) + " s";
    }
    return {};
}

std::string Quote(std::string_view text) {
    return Filled(text) ? "\"" + OneLine(text) + "\"" : std::string();
}

// Week days as ranges: "MoTuWeThFr" gives "Mo-Fr", "MoWeThFrSu" gives "Mo We-Fr Su".
std::string DayRanges(const std::string& selected) {
    std::string out;
    size_t day = 0;
    while (day < kDayCodes.size()) {
        if (selected.find(kDayCodes[day]) == std::string::npos) {
            ++day;
            continue;
        }
        size_t last = day;
        while (last + 1 < kDayCodes.size() &&
               selected.find(kDayCodes[last + 1]) != std::string::npos)
            ++last;
        out += (out.empty() ? "" : " ") + std::string(kDayCodes[day]);
        if (last > day + 1)
            out += "-" + std::string(kDayCodes[last]);
        else if (last == day + 1)
            out += " " + std::string(kDayCodes[last]);
        day = last + 1;
    }
    return out.empty() ? std::string("no day") : out;
}

std::string ShortDate(const DateTime& t) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string_view month =
        t.month >= 1 && t.month <= 12 ? kMonths[static_cast<size_t>(t.month - 1)] : "?";
    return std::to_string(t.day) + " " + std::string(month) + " " + std::to_string(t.year) + " " +
           TimeOfDay(t);
}

// The transfer methods in a few words.
constexpr std::array<std::string_view, 6> kShortTransferTypes = {
    "PBX blind",       "PBX announced",    "3-way blind",
    "3-way announced", "CT Media handoff", "dial out and conference"};

} // namespace

std::string ModuleSettingsLine(const ModuleRecord& m) {
    const std::string& type = m.Type;
    if (type == kTypePlay)
        return Joined({SoundFiles(m, 1, 10), Quote(m.strTtsText)});
    if (type == kTypeTts)
        return Quote(m.strTtsText);
    if (type == kTypeRecord)
        return Joined({Filled(m.RecFile) ? "Into " + WithoutFolder(m.RecFile) : std::string(),
                       m.PlayTone ? "beep" : ""});
    if (type == kTypeGetNumbers) {
        const int n = m.GetNbrLenMax;
        const std::string digits = std::to_string(n) + (n == 1 ? " digit" : " digits");
        return Joined({m.GetNbrLenEnforce == 2   ? "Exactly " + digits
                       : m.GetNbrLenEnforce == 1 ? "Up to " + digits
                                                 : std::string("Any length"),
                       TimeoutOfPaths(m), m.Confirm ? "confirms" : ""});
    }
    if (type == kTypeSayNumbers) {
        const std::string value = OneLine(m.PlayFileSlot(2));
        const std::string kind = OneLine(m.SayNbrType);
        return kind.empty() || value.empty() ? kind + value : kind + ": " + value;
    }
    if (type == kTypeRunProgram) {
        // A bare path is named by its file; a command line with arguments is shown whole.
        const std::string program = OneLine(m.PlayFileSlot(1));
        return program.find(' ') == std::string::npos ? WithoutFolder(program) : program;
    }
    if (type == kTypeRunVbScript) {
        if (Filled(m.PlayFileSlot(3)))
            return WithoutFolder(m.PlayFileSlot(3));
        return Filled(m.PlayFileSlot(1)) ? "VB Script of its own" : "";
    }
    if (type == kTypeDatabaseQuery) {
        const std::string source = OneLine(m.DbDatabase);
        const std::string sql = OneLine(m.DbSql);
        return source.empty() || sql.empty() ? source + sql : source + ": " + sql;
    }
    if (type == kTypeEvaluate)
        return OneLine(m.PlayFileSlot(1)) +
               (Filled(m.ExprNewRV) ? " into [" + OneLine(m.ExprNewRV) + "]" : std::string());
    if (type == kTypeSendEmail)
        return Joined({Filled(m.strEmailAddrTo) ? "To " + OneLine(m.strEmailAddrTo) : "",
                       Quote(m.strEmailSubject)});
    if (type == kTypeTimeSwitch) {
        const std::string range =
            m.iTimeSwitch_Type == 0
                ? ShortDate(m.dTimeSwitch_DateStart) + " - " + ShortDate(m.dTimeSwitch_DateEnd)
                : DayRanges(m.sTimeSwitch_DaysSelected) + " " + TimeOfDay(m.dTimeSwitch_DateStart) +
                      "-" + TimeOfDay(m.dTimeSwitch_DateEnd);
        return Filled(m.sTimeSwitch_DateTimeToTest)
                   ? OneLine(m.sTimeSwitch_DateTimeToTest) + ": " + range
                   : range;
    }
    if (type == kTypeTransferCall) {
        const bool known = m.iXferType >= 0 && m.iXferType < 6;
        return Joined(
            {Filled(m.PlayFileSlot(1)) ? "To " + OneLine(m.PlayFileSlot(1)) : std::string(),
             known ? std::string(kShortTransferTypes[static_cast<size_t>(m.iXferType)]) : ""});
    }
    if (type == kTypePhoneMessage || type == kTypeMakeCallOld) {
        std::string number;
        int more = 0;
        size_t first = 0;
        for (size_t i = 0; i < m.sDialPhone.size(); ++i) {
            if (!Filled(m.sDialPhone[i]))
                continue;
            if (number.empty()) {
                number = OneLine(m.sDialPhone[i]);
                first = i;
            } else {
                ++more;
            }
        }
        if (number.empty())
            return {};
        return Joined({"Calls " + number + (more > 0 ? " +" + std::to_string(more) : ""),
                       WithoutFolder(m.sDialScript[first])});
    }
    if (type == kTypeDialAndConference)
        return Joined(
            {Filled(m.sDncPhoneNumber) ? "Dials " + OneLine(m.sDncPhoneNumber) : std::string(),
             Filled(m.sDncMaxConnectTime) ? "up to " + OneLine(m.sDncMaxConnectTime) + " min"
                                          : std::string()});
    if (type == kTypePagerMessage)
        return Joined({Filled(m.PagerTelNbr) ? "Pages " + OneLine(m.PagerTelNbr) : std::string(),
                       Quote(m.PagerMessage)});
    if (type == kTypeDde)
        return Joined({OneLine(m.strDdeType + " " + m.strDdeLinkTopic), OneLine(m.strDdeCommand)});
    return {};
}

} // namespace ry
