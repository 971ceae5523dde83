#include "diff/module_settings.h"

#include "script/module_types.h"
#include "script/record_fields.h"

#include <array>
#include <string_view>
#include <type_traits>

namespace ry {

namespace {

constexpr std::array<std::string_view, 7> kDayCodes = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr std::string_view kEnDash = "\x96"; // "–" in Windows-1252

// Captions for the fields whose meaning is the same in every type.
struct Caption {
    std::string_view Field;
    std::string_view Text;
    bool Secret = false;
};
constexpr std::array kCaptions = {
    Caption{"Txt", "box text"},
    Caption{"DispSize", "box size"},
    Caption{"ReplayCount", "replays"},
    Caption{"ReplayPause", "pause between replays"},
    Caption{"RunMode", "window"},
    Caption{"RunWait", "wait"},
    Caption{"Confirm", "confirm"},
    Caption{"GetNbrLenEnforce", "length rule"},
    Caption{"GetNbrLenMax", "digits"},
    Caption{"RecFile", "record file"},
    Caption{"PlayTone", "beep"},
    Caption{"SayNbrType", "number type"},
    Caption{"DbDatabase", "database"},
    Caption{"DbUser", "user"},
    Caption{"DbConnectString", "connect string"},
    Caption{"DbSql", "SQL"},
    Caption{"strEmailAddrTo", "to"},
    Caption{"strEmailSubject", "subject"},
    Caption{"strEmailMessageText", "message"},
    Caption{"strEmailAttachmentFileName", "attachment"},
    Caption{"iEmailAttachmentDeleteAfterSend", "delete attachment after sending"},
    Caption{"strEmailReturnAddress", "return address"},
    Caption{"strEmailReturnName", "return name"},
    Caption{"strEmailCC", "cc"},
    Caption{"strEmailBCC", "bcc"},
    Caption{"lEmailSendRetries", "send retries"},
    Caption{"lEmailRetriesDelay", "retry delay"},
    Caption{"strEmailSendMethod_1", "send method 1"},
    Caption{"strEmailSmtpServ_1", "SMTP server 1"},
    Caption{"lEmailSmtpPort_1", "SMTP port 1"},
    Caption{"iEmailSmtpUseAuth_1", "SMTP authentication 1"},
    Caption{"strEmailSmtpAuthUser_1", "SMTP user 1"},
    Caption{"strEmailSmtpAuthPassword_1", "SMTP password 1", true},
    Caption{"strEmailSendMethod_2", "send method 2"},
    Caption{"strEmailSmtpServ_2", "SMTP server 2"},
    Caption{"lEmailSmtpPort_2", "SMTP port 2"},
    Caption{"iEmailSmtpUseAuth_2", "SMTP authentication 2"},
    Caption{"strEmailSmtpAuthUser_2", "SMTP user 2"},
    Caption{"strEmailSmtpAuthPassword_2", "SMTP password 2", true},
    Caption{"strTtsText", "text to speak"},
    Caption{"sTimeSwitch_DateTimeToTest", "time tested"},
    Caption{"iXferType", "transfer"},
    Caption{"sXfer2ndLegLinesListFile", "lines for the second leg"},
    Caption{"strDdeType", "DDE type"},
    Caption{"strDdeLinkTopic", "topic"},
    Caption{"strDdeLinkItem", "item"},
    Caption{"strDdeCommand", "command"},
    Caption{"sDialPhone", "phone"},
    Caption{"sDialWelc", "welcome"},
    Caption{"sDialScript", "script"},
    Caption{"sDialVariables", "variables"},
    Caption{"sDialLineSelection", "lines"},
    Caption{"sDialRetry", "retries"},
    Caption{"sDialDelay", "pause between redials"},
    Caption{"sDncPhoneNumber", "phone"},
    Caption{"sDncMaxConnectTime", "max time"},
    Caption{"sDncEndConnectCode", "end code"},
    Caption{"sDncPlayWhileConnecting", "hold message"},
    Caption{"PagerType", "pager type"},
    Caption{"PagerTelNbr", "pager number"},
    Caption{"PagerId", "pager id"},
    Caption{"PagerPassword", "pager password", true},
    Caption{"PagerMessage", "pager message"},
    Caption{"PagerLineSelection", "pager lines"},
    Caption{"ExprNewRV", "result variable"},
    Caption{"ExprStoreRV", "store result"},
};

// What the general string slots hold in each type that uses them.
struct SlotCaptions {
    std::string_view Type;
    std::array<std::string_view, 4> Slots; // slots 1..4; empty: the slot's plain name
};
constexpr std::array kSlotCaptions = {
    SlotCaptions{kTypePlay, {"sound file"}},
    SlotCaptions{kTypeRecord, {"sound file"}},
    SlotCaptions{kTypeGetNumbers, {"sound file", "sound file 2", "sound file 3", "sound file 4"}},
    SlotCaptions{kTypeSayNumbers, {"sound before", "number", "sound after"}},
    SlotCaptions{kTypeRunProgram, {"program", "play while running"}},
    SlotCaptions{kTypeRunVbScript, {"script", "play while running", "script file"}},
    SlotCaptions{kTypeDatabaseQuery, {"play while querying"}},
    SlotCaptions{kTypeEvaluate, {"expression"}},
    SlotCaptions{kTypeTransferCall, {"extension", "on-hold sound", "announce sound"}},
    SlotCaptions{kTypeTts, {"text"}},
};

// Fields left out: shown elsewhere, or never stored in the file.
constexpr std::array<std::string_view, 7> kNotSettings = {"Type",
                                                          "Title",
                                                          "PathText",
                                                          "PositionX",
                                                          "PositionY",
                                                          "sDncTimeWarningMsg",
                                                          "sDncTimeWarningPlayAt"};

// Fields a Time Switch shows as days and hours, or dates, rather than one by one.
constexpr std::array<std::string_view, 4> kTimeSwitchFields = {
    "iTimeSwitch_Type", "dTimeSwitch_DateStart", "dTimeSwitch_DateEnd", "sTimeSwitch_DaysSelected"};

template <class List> bool Contains(const List& list, std::string_view name) {
    for (std::string_view item : list)
        if (item == name)
            return true;
    return false;
}

const Caption* FindCaption(std::string_view field) {
    for (const Caption& c : kCaptions)
        if (c.Field == field)
            return &c;
    return nullptr;
}

std::string SlotCaption(std::string_view type, int slot) {
    for (const SlotCaptions& s : kSlotCaptions)
        if (s.Type == type && slot <= 4 && !s.Slots[static_cast<size_t>(slot - 1)].empty())
            return std::string(s.Slots[static_cast<size_t>(slot - 1)]);
    return "PlayFile" + std::to_string(slot);
}

std::string ValueText(const std::string& v) {
    return v;
}
std::string ValueText(bool v) {
    return v ? "yes" : "no";
}
template <class Int> std::enable_if_t<std::is_integral_v<Int>, std::string> ValueText(Int v) {
    return std::to_string(v);
}
std::string ValueText(const DateTime& v) {
    return FormatScriptDate(v);
}

std::string TimeOfDay(const DateTime& t) {
    return std::to_string(t.hour) + ":" + (t.minute < 10 ? "0" : "") + std::to_string(t.minute);
}

void AddTimeSwitch(const ModuleRecord& m, std::vector<ModuleSetting>& out) {
    if (m.iTimeSwitch_Type == 0) {
        out.push_back({"TimeSwitchKind", "kind", "dates"});
        out.push_back({"TimeSwitchDates", "dates",
                       FormatScriptDate(m.dTimeSwitch_DateStart) + " " + std::string(kEnDash) +
                           " " + FormatScriptDate(m.dTimeSwitch_DateEnd)});
        return;
    }
    out.push_back({"TimeSwitchKind", "kind",
                   m.iTimeSwitch_Type == 1 ? std::string("days and hours")
                                           : std::to_string(m.iTimeSwitch_Type)});
    out.push_back({"TimeSwitchDays", "days", DayRange(m.sTimeSwitch_DaysSelected)});
    out.push_back({"TimeSwitchHours", "hours",
                   TimeOfDay(m.dTimeSwitch_DateStart) + std::string(kEnDash) +
                       TimeOfDay(m.dTimeSwitch_DateEnd)});
}

} // namespace

std::string DayRange(std::string_view codes) {
    std::array<bool, 7> on{};
    for (size_t d = 0; d < kDayCodes.size(); ++d)
        on[d] = codes.find(kDayCodes[d]) != std::string_view::npos;
    std::string out;
    for (size_t d = 0; d < on.size();) {
        if (!on[d]) {
            ++d;
            continue;
        }
        size_t end = d;
        while (end + 1 < on.size() && on[end + 1])
            ++end;
        auto add = [&](std::string text) { out += (out.empty() ? "" : ", ") + text; };
        if (end - d >= 2) {
            add(std::string(kDayCodes[d]) + std::string(kEnDash) + std::string(kDayCodes[end]));
        } else {
            for (size_t i = d; i <= end; ++i)
                add(std::string(kDayCodes[i]));
        }
        d = end + 1;
    }
    return out.empty() ? "no day" : out;
}

std::vector<ModuleSetting> ModuleSettings(const ModuleRecord& m) {
    std::vector<ModuleSetting> out;
    const bool timeSwitch = m.Type == kTypeTimeSwitch;
    auto add = [&](std::string key, std::string caption, std::string value) {
        const Caption* known = FindCaption(key.substr(0, key.find(' ')));
        out.push_back(
            {std::move(key), std::move(caption), std::move(value), known && known->Secret});
    };
    VisitModuleFields(
        [&](const char* name, FieldKind kind, const auto& value) {
            const std::string_view field = name;
            if (kind != FieldKind::Content || Contains(kNotSettings, field) ||
                (timeSwitch && Contains(kTimeSwitchFields, field)))
                return;
            using V = std::decay_t<decltype(value)>;
            const Caption* known = FindCaption(field);
            const std::string caption = known ? std::string(known->Text) : std::string(field);
            if constexpr (std::is_same_v<V, std::array<std::string, 10>>) {
                for (size_t i = 0; i < value.size(); ++i)
                    add(std::string(field) + " " + std::to_string(i + 1),
                        SlotCaption(m.Type, static_cast<int>(i) + 1), value[i]);
            } else if constexpr (requires { value.size(); } && !std::is_same_v<V, std::string>) {
                for (size_t i = 0; i < value.size(); ++i)
                    add(std::string(field) + " " + std::to_string(i + 1),
                        caption + " " + std::to_string(i + 1), ValueText(value[i]));
            } else if (field == "iXferType" && m.iXferType >= 0 && m.iXferType < 6) {
                add(std::string(field), caption,
                    std::string(kTransferMethods[static_cast<size_t>(m.iXferType)]));
            } else {
                add(std::string(field), caption, ValueText(value));
            }
        },
        m);
    if (timeSwitch)
        AddTimeSwitch(m, out);
    return out;
}

} // namespace ry
