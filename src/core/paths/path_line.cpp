#include "paths/path_line.h"

#include "paths/path_text.h"
#include "paths/rename.h"
#include "script/module_types.h"
#include "script/text.h"

namespace ry {

namespace {

constexpr std::array<std::string_view, 12> kDigits = {"Digit 1", "Digit 2", "Digit 3", "Digit 4",
                                                      "Digit 5", "Digit 6", "Digit 7", "Digit 8",
                                                      "Digit 9", "Digit 0", "Digit *", "Digit #"};

bool IsOneOf(std::string_view type, std::initializer_list<std::string_view> types) {
    for (std::string_view t : types)
        if (t == type)
            return true;
    return false;
}

} // namespace

std::vector<std::string_view> TriggerCaptions(std::string_view type) {
    std::vector<std::string_view> out;
    if (IsOneOf(type, {kTypePlay, kTypeRecord})) {
        out.assign(kDigits.begin(), kDigits.end());
        out.push_back("Timeout");
    } else if (type == kTypeSayNumbers) {
        out.assign(kDigits.begin(), kDigits.end());
        out.insert(out.end(), {"Success", "Fail", "Timeout"});
    } else if (IsOneOf(type, {kTypeRunProgram, kTypeDatabaseQuery, kTypeSendEmail,
                              kTypeTransferCall, kTypeRunVbScript, kTypeDde})) {
        out = {"Success", "Fail", "Timeout"};
    } else if (type == kTypeGetNumbers) {
        out = {"Success", "Fail", "Timeout", "Digit *", "exact_number"};
    } else if (IsOneOf(type, {kTypePhoneMessage, kTypePagerMessage})) {
        out = {"Success", "Fail"};
    } else if (type == kTypeDialAndConference) {
        out = {"Call End", "Busy", "Timeout", "Error", "No Line", "No Ring Tone", "Fast Busy"};
    } else if (IsOneOf(type, {kTypeEvaluate, kTypeTimeSwitch})) {
        out = {"True", "False", "Insert Result Here"};
    }
    return out;
}

PathLine BuildPathLine(const PathLineFields& f) {
    PathLine out;
    out.Timeout = std::string(f.Timeout);
    if (f.Destination.empty()) {
        out.Missing = PathLine::Problem::NoDestination;
        return out;
    }
    const bool voicemailBox = f.Destination == kVoicemailDestinations[0];
    if (voicemailBox && Trim(f.BoxNumber).empty()) {
        out.Missing = PathLine::Problem::NoBoxNumber;
        return out;
    }
    if (ToLowerAnsi(f.Trigger) == "timeout") {
        if (Trim(out.Timeout).empty())
            out.Timeout = "0";
        out.Line = "on {timeout " + std::string(Trim(out.Timeout)) + "} ";
    } else {
        out.Line = "on {" + cmbTrig2Act(f.Trigger) + "} ";
    }
    if (voicemailBox)
        out.Line += "goto [Voicemail Box " + std::string(Trim(f.BoxNumber)) + "]";
    else
        out.Line += "goto [" + std::string(f.Destination) + "]";
    return out;
}

std::string RenameInPathText(std::string_view pathText, std::string_view oldTitle,
                             std::string_view newTitle) {
    return ReplaceTitleReferences(pathText, oldTitle, newTitle);
}

std::string AppendPathLine(std::string_view pathText, std::string_view line) {
    std::string out(pathText);
    if (!out.empty() && out.back() != '\n')
        out += kCrLf;
    out += line;
    out += kCrLf;
    return out;
}

} // namespace ry
